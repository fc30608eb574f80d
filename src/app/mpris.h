#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

class QTreeWidgetItem;

namespace quorvel {

class Form1;

// Media keys and desktop players' controls: the player on the session bus as an MPRIS media
// player ("org.mpris.MediaPlayer2" and its "Player" interface). Play, pause and stop act on the
// player control; next and previous choose the next or previous channel of the current
// category in the tree, which plays it as any choice there does; the volume is the player's;
// the metadata name the channel, its category and the programme on now (as the artist, so the
// desktop's controls show channel and programme, updated when it changes); Raise brings the window back, also from the
// boss key. Without a session bus none of this exists, and nothing is said about it.
class Mpris : public QObject {
    Q_OBJECT
public:
    explicit Mpris(Form1& form);
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

private:
    QTreeWidgetItem* CurrentChannel() const;
    // The first category with channels; its first channel (the category makes its nodes).
    QTreeWidgetItem* FirstCategory() const;
    QTreeWidgetItem* FirstChannel() const;
    void Choose(QTreeWidgetItem* channel);
    void Step(int step);
    void Changed(const QString& interface, const QVariantMap& properties);
    void PlayerChanged();
    // The programme on now, as the metadata give it; empty when the guide has none.
    QString ProgrammeNow() const;
    void ProgrammeMayHaveChanged();

    Form1& form_;
    QString service_;
    QString programmeTold_; // the programme the last metadata named
};

} // namespace quorvel
