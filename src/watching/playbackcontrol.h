#pragma once

#include <QObject>
#include <QString>

namespace quorvel {

// The player as the session steers it. Every query answers in every state without failing
// (desktop widgets ask at any moment, also while nothing plays); a command the player refuses
// throws Exception.
class PlaybackControl : public QObject {
    Q_OBJECT
public:
    enum class Status { Stopped, Playing, Paused };

    using QObject::QObject;
    ~PlaybackControl() override;

    virtual Status CurrentStatus() const = 0;
    // The address last put, empty before the first channel.
    virtual QString Address() const = 0;
    // Microseconds into what plays; 0 where there is none.
    virtual qint64 Position() const = 0;
    // 0 to 1.
    virtual double Volume() const = 0;
    virtual bool Muted() const = 0;

    virtual void SetPaused(bool paused) = 0;
    // Opens the address again, as it was asked for (after a stop or a failure).
    virtual void Restart() = 0;
    virtual void Stop() = 0;
    virtual void SetVolume(double volume) = 0;
    virtual void SetMuted(bool muted) = 0;

signals:
    void statusChanged();
    void volumeChanged(double volume);
    void muteChanged(bool muted);
};

} // namespace quorvel
