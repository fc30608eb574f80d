#include "player/audiotrackbutton.h"

#include <QActionGroup>
#include <QMenu>

namespace quorvel {

AudioTrackButton::AudioTrackButton(QWidget* parent) : QToolButton(parent), menu_(new QMenu(this))
{
    setObjectName(QStringLiteral("audioTrackButton"));
    setFocusPolicy(Qt::NoFocus);
    setAutoRaise(true);
    setPopupMode(QToolButton::InstantPopup);
    setToolTip(tr("Sound track"));
    setStyleSheet(QStringLiteral("QToolButton { color: #c8ccd4; font-size: 10px; font-weight: bold; padding: 2px 4px; }"
                                 "QToolButton::menu-indicator { image: none; width: 0; }"));
    menu_->setStyleSheet(QStringLiteral("QMenu { background: #1c1e24; color: #e0e3e8; border: 1px solid #3c404a; }"
                                        "QMenu::item { padding: 4px 18px 4px 22px; }"
                                        "QMenu::item:selected { background: #3a3f4b; }"));
    setMenu(menu_);
    hide();
}

void AudioTrackButton::ShowTracks(const AudioTracks& tracks)
{
    if (tracks == tracks_)
        return;
    tracks_ = tracks;
    menu_->clear();
    // The list changes with every channel: the choices' group goes with the choices.
    delete group_;
    group_ = new QActionGroup(menu_);
    QString shown;
    for (const AudioTrack& track : tracks_) {
        QAction* a = menu_->addAction(AudioTrackLabel(track));
        a->setCheckable(true);
        a->setChecked(track.selected);
        group_->addAction(a);
        connect(a, &QAction::triggered, this, [this, track] { emit trackChosen(track); });
        if (track.selected)
            shown = track.language.isEmpty() ? QString::number(track.id) : track.language.left(3).toUpper();
    }
    setText(shown.isEmpty() ? QStringLiteral("♪") : shown);
    setVisible(tracks_.size() > 1);
}

} // namespace quorvel
