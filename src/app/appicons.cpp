#include "app/appicons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace quorvel {
namespace {

// A TV set on a 64 x 64 grid: glossy dark cabinet, blue screen with a play mark, two antennas.
QPixmap DrawTv(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    p.setPen(QPen(QColor(60, 64, 72), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(32, 16), QPointF(20, 4));
    p.drawLine(QPointF(32, 16), QPointF(44, 4));

    QLinearGradient cabinet(0, 14, 0, 58);
    cabinet.setColorAt(0, QColor(78, 84, 96));
    cabinet.setColorAt(1, QColor(22, 24, 30));
    p.setPen(QPen(QColor(12, 12, 16), 1.5));
    p.setBrush(cabinet);
    p.drawRoundedRect(QRectF(4, 14, 56, 40), 7, 7);

    QLinearGradient screen(0, 19, 0, 49);
    screen.setColorAt(0, QColor(90, 170, 255));
    screen.setColorAt(1, QColor(20, 70, 170));
    p.setPen(Qt::NoPen);
    p.setBrush(screen);
    p.drawRoundedRect(QRectF(9, 19, 46, 30), 4, 4);

    QPainterPath play;
    play.moveTo(27, 26);
    play.lineTo(39, 34);
    play.lineTo(27, 42);
    play.closeSubpath();
    p.setBrush(QColor(255, 255, 255, 230));
    p.drawPath(play);

    // Gloss over the upper half of the screen.
    p.setBrush(QColor(255, 255, 255, 45));
    p.drawRoundedRect(QRectF(9, 19, 46, 13), 4, 4);

    p.setBrush(QColor(30, 32, 38));
    p.drawRect(QRectF(18, 54, 6, 5));
    p.drawRect(QRectF(40, 54, 6, 5));
    return pm;
}

} // namespace

QIcon ApplicationIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(DrawTv(size));
    return icon;
}

QPixmap ChannelNodeImage()
{
    // At 16 pixels the antennas would blur; a simpler screen reads better.
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 44, 52), 1));
    p.setBrush(QColor(58, 62, 72));
    p.drawRoundedRect(QRectF(0.5, 2.5, 15, 10), 2, 2);
    QLinearGradient screen(0, 4, 0, 11);
    screen.setColorAt(0, QColor(110, 185, 255));
    screen.setColorAt(1, QColor(30, 90, 190));
    p.setPen(Qt::NoPen);
    p.setBrush(screen);
    p.drawRect(QRectF(2, 4, 12, 7));
    p.setBrush(QColor(58, 62, 72));
    p.drawRect(QRectF(5, 13, 6, 2));
    return pm;
}

} // namespace quorvel
