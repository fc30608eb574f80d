#pragma once

#include "base/requestoptions.h"

#include <QHash>
#include <QImage>
#include <QObject>
#include <QString>

#include <string>

namespace quorvel {

class LogoCache;

// Each channel's logo as its playlist names it, answered from the logo cache: the tree, the
// zap card and the media keys ask by channel name. Read again from the viewer's database after
// the playlists were read.
class ChannelLogos : public QObject {
    Q_OBJECT
public:
    // The logos are kept in the desktop's cache folder (see LogoCache).
    explicit ChannelLogos(std::string catalogueFile, QObject* parent = nullptr);

    void Reload();
    // The channel's logo at most side pixels wide and high; null until it is there (asking
    // starts its fetch), and for a channel without one.
    QImage Logo(const QString& channel, int side);
    // The kept file of the channel's logo, empty when there is none yet.
    QString File(const QString& channel);
    bool Has(const QString& channel) const;

signals:
    // A logo came: what shows logos asks again.
    void changed();

private:
    struct Entry {
        QString address;
        RequestOptions options;
    };
    const Entry* Find(const QString& channel) const;

    LogoCache* cache_;
    std::string catalogue_;
    QHash<QString, Entry> byName_; // folded channel name
};

} // namespace quorvel
