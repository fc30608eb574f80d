#pragma once

#include "watching/playbackcontrol.h"

#include <QPointer>

namespace quorvel {

class MediaPlayer;

// The media player control as the watch session steers it. The player may go before this
// object does (the window lets it go on closing): then nothing plays and commands do nothing.
class MediaPlayerControl : public PlaybackControl {
    Q_OBJECT
public:
    explicit MediaPlayerControl(MediaPlayer* player, QObject* parent = nullptr);

    Status CurrentStatus() const override;
    QString Address() const override;
    qint64 Position() const override;
    double Volume() const override;
    bool Muted() const override;
    void SetPaused(bool paused) override;
    void Restart() override;
    void Stop() override;
    void SetVolume(double volume) override;
    void SetMuted(bool muted) override;

private:
    QPointer<MediaPlayer> player_;
};

} // namespace quorvel
