#include "player/livebutton.h"

namespace quorvel {

LiveButton::LiveButton(QWidget* parent) : QToolButton(parent)
{
    setObjectName(QStringLiteral("liveButton"));
    setText(tr("Live"));
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setAutoRaise(true);
    setToolTip(tr("Back to the channel live"));
    // The keys stay with the picture, as for every button of the bar.
    setFocusPolicy(Qt::NoFocus);
    setStyleSheet(QStringLiteral("QToolButton#liveButton { color: #ffffff; background: #b3261e; font-size: 11px;"
                                 " font-weight: bold; padding: 1px 6px; border-radius: 3px; }"
                                 "QToolButton#liveButton:hover { background: #d0352c; }"));
    hide();
    connect(this, &QToolButton::clicked, this, &LiveButton::liveRequested);
}

void LiveButton::Offer(bool offered, const QString& tip)
{
    setToolTip(tip.isEmpty() ? tr("Back to the channel live") : tip);
    setVisible(offered);
}

} // namespace quorvel
