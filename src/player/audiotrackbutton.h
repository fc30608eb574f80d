#pragma once

#include "playback/audiotrack.h"

#include <QToolButton>

class QActionGroup;
class QMenu;

namespace quorvel {

// The control bar's choice of sound track: a small button naming the track's language, with a
// menu of every track by language and name. Shown only while there is more than one to choose.
class AudioTrackButton : public QToolButton {
    Q_OBJECT
public:
    explicit AudioTrackButton(QWidget* parent);

    void ShowTracks(const AudioTracks& tracks);
    const AudioTracks& Tracks() const { return tracks_; }
    QMenu* Menu() const { return menu_; }

signals:
    void trackChosen(const quorvel::AudioTrack& track);

private:
    QMenu* menu_;
    QActionGroup* group_ = nullptr;
    AudioTracks tracks_;
};

} // namespace quorvel
