#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>

namespace quorvel {

class WatchSession;

// Media keys and desktop players' controls: the player on the session bus as an MPRIS media
// player ("org.mpris.MediaPlayer2" and its "Player" interface), every call handed to the watch
// session. Next and previous go round the category as a remote control does; the metadata name
// the channel, its own category and the programme on now (as the artist, so the desktop's
// controls show channel and programme, updated when it changes). Without a session bus none of
// this exists, and nothing is said about it.
class Mpris : public QObject {
    Q_OBJECT
public:
    // The title of the programme on now on a channel, empty when the guide has none.
    using ProgrammeLookup = std::function<QString(const QString& channel)>;
    // The kept file of a channel's logo, empty while there is none.
    using ArtLookup = std::function<QString(const QString& channel)>;

    Mpris(WatchSession& session, ProgrammeLookup programmeNow, ArtLookup art = {});
    ~Mpris() override;

    bool IsRegistered() const { return !service_.isEmpty(); }
    QString ServiceName() const { return service_; }

    // What the bus interfaces call.
    void Raise();
    void Quit();
    void Next();
    void Previous();
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    QString PlaybackStatus() const;
    QVariantMap Metadata() const;
    double Volume() const;
    void SetVolume(double volume);
    qlonglong Position() const;
    bool CanGoNext() const;
    bool CanGoPrevious() const;
    bool CanPlay() const;
    bool CanPause() const;

    // The guide was read again, or time went on: tells the desktop when the programme changed.
    void ProgrammeMayHaveChanged();
    // A logo came: tells the desktop when the playing channel's is among them.
    void ArtMayHaveChanged();

private:
    void Changed(const QString& interface, const QVariantMap& properties);
    void PlayerChanged();
    QString ProgrammeNow() const;

    WatchSession& session_;
    ProgrammeLookup programmeNow_;
    ArtLookup art_;
    QString service_;
    QString programmeTold_; // the programme the last metadata named
    QString artTold_;       // and the logo it gave
};

} // namespace quorvel
