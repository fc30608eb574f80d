#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace quorvel {

struct LiveCategory {
    QString id;
    QString name;
};

struct LiveStream {
    qint64 streamId = 0;
    int number = 0; // "num": the panel's channel number, 0 when none
    QString name;
    QString categoryId;
    QString icon;  // "stream_icon", an address as given
    QString epgId; // "epg_channel_id"
    bool archive = false;
    int archiveDays = 0;
};

// The live lists of a panel: get_live_categories and get_live_streams. Entries that are no
// objects, and streams without a usable id, are left out (counted in skipped); an answer that is
// no list throws Exception in plain words. A panel may send a list as an object keyed by index.
std::vector<LiveCategory> ReadLiveCategories(const QByteArray& answer);
std::vector<LiveStream> ReadLiveStreams(const QByteArray& answer, int* skipped = nullptr);

} // namespace quorvel
