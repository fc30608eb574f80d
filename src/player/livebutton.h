#pragma once

#include <QToolButton>

namespace quorvel {

// "Live" on the control bar: shown while what plays is behind the channel's live picture (a
// programme from the archive, a paused channel), and a click asks for the live picture again.
// What going live means is the owner's; the button only shows and asks.
class LiveButton : public QToolButton {
    Q_OBJECT
public:
    explicit LiveButton(QWidget* parent);

    // Shown or hidden, with what a click does in its tooltip.
    void Offer(bool offered, const QString& tip = QString());

signals:
    void liveRequested();
};

} // namespace quorvel
