#pragma once

#include "guide/programme.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <string>

class QTimer;

namespace quorvel {

class GuideManager;
class MediaPlayer;
class ViewerDatabase;
class WatchSession;
struct SourceChannel;

// Plays programmes of the guide from the provider's archive: a past one within the channel's
// archive days, the one on now from its start. What plays is the watch session's to know
// (WatchSession::FromArchive); this puts the archive's address to the player, offers "Live"
// while it plays, follows a programme's end with the channel's next one, and says so when the
// archive has no recording (an error, or no picture within kOpenLimitMs).
class ArchivePlayer : public QObject {
    Q_OBJECT
public:
    static constexpr int kOpenLimitMs = 10000;

    // The channels' archives are read from the viewer's database beside the catalogue.
    ArchivePlayer(MediaPlayer* player, WatchSession* session, GuideManager* guide, std::string catalogueFile,
                  QObject* parent = nullptr);
    ~ArchivePlayer() override;

    // How many days back the channel's archive reaches; 0 when it has none.
    int ArchiveDays(const QString& channel) const;
    // Plays the channel's programme from the archive, or live for a programme not yet begun;
    // gives what the viewer should read instead when it cannot ("Starts tomorrow at 20:00").
    QString Play(const QString& channel, const Programme& programme);

private:
    std::optional<SourceChannel> ArchiveOf(const QString& channel) const;
    void Follow(int state);
    void PlayNext();
    void NoRecording(const QString& why);

    MediaPlayer* player_;
    WatchSession* session_;
    GuideManager* guide_;
    std::string catalogue_;
    mutable std::unique_ptr<ViewerDatabase> db_; // this thread's connection, opened on first use
    QTimer* openLimit_;
};

} // namespace quorvel
