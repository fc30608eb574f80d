#include "player/recordbutton.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace quorvel {
namespace {

QIcon RecordIcon(bool recording)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe0, 0x30, 0x30));
    if (recording)
        p.drawRoundedRect(QRectF(8, 8, 16, 16), 2, 2);
    else
        p.drawEllipse(QRectF(7, 7, 18, 18));
    return QIcon(pixmap);
}

} // namespace

RecordButton::RecordButton(QWidget* parent) : QToolButton(parent)
{
    setObjectName(QStringLiteral("recordButton"));
    setIconSize(QSize(16, 16));
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setIcon(RecordIcon(false));
    setToolTip(tr("Record (Ctrl+R)"));
}

void RecordButton::ShowRecording(bool recording)
{
    if (recording == recording_)
        return;
    recording_ = recording;
    setIcon(RecordIcon(recording));
    setToolTip(recording ? tr("Stop recording (Ctrl+R)") : tr("Record (Ctrl+R)"));
}

} // namespace quorvel
