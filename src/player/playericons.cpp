#include "player/playericons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace quorvel {
namespace {

void Draw(QPainter& p, PlayerGlyph glyph, const QColor& colour)
{
    // Drawn on a 16 x 16 grid.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    switch (glyph) {
    case PlayerGlyph::Play: {
        QPainterPath path;
        path.moveTo(4, 2.5);
        path.lineTo(13.5, 8);
        path.lineTo(4, 13.5);
        path.closeSubpath();
        p.drawPath(path);
        break;
    }
    case PlayerGlyph::Pause:
        p.drawRect(QRectF(3.5, 2.5, 3.2, 11));
        p.drawRect(QRectF(9.3, 2.5, 3.2, 11));
        break;
    case PlayerGlyph::Stop:
        p.drawRect(QRectF(3.5, 3.5, 9, 9));
        break;
    case PlayerGlyph::Sound:
    case PlayerGlyph::Muted: {
        QPainterPath speaker;
        speaker.moveTo(2, 6);
        speaker.lineTo(5, 6);
        speaker.lineTo(9, 2.5);
        speaker.lineTo(9, 13.5);
        speaker.lineTo(5, 10);
        speaker.lineTo(2, 10);
        speaker.closeSubpath();
        p.drawPath(speaker);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(colour, 1.4, Qt::SolidLine, Qt::RoundCap));
        if (glyph == PlayerGlyph::Sound) {
            p.drawArc(QRectF(7, 5, 5, 6), -60 * 16, 120 * 16);
            p.drawArc(QRectF(7, 3, 8, 10), -60 * 16, 120 * 16);
        } else {
            p.drawLine(QPointF(10.5, 5.5), QPointF(14.5, 10.5));
            p.drawLine(QPointF(14.5, 5.5), QPointF(10.5, 10.5));
        }
        break;
    }
    case PlayerGlyph::FullScreen:
    case PlayerGlyph::LeaveFullScreen: {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::SquareCap));
        const bool out = glyph == PlayerGlyph::FullScreen;
        const qreal a = out ? 2.5 : 6, b = out ? 6 : 2.5;
        // Four corners pointing outwards (enter) or inwards (leave).
        p.drawPolyline(QPolygonF({{a, b}, {a, a}, {b, a}}));
        p.drawPolyline(QPolygonF({{16 - a, b}, {16 - a, a}, {16 - b, a}}));
        p.drawPolyline(QPolygonF({{a, 16 - b}, {a, 16 - a}, {b, 16 - a}}));
        p.drawPolyline(QPolygonF({{16 - a, 16 - b}, {16 - a, 16 - a}, {16 - b, 16 - a}}));
        break;
    }
    }
}

QPixmap Render(PlayerGlyph glyph, const QColor& colour, int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.scale(size / 16.0, size / 16.0);
    Draw(p, glyph, colour);
    return pm;
}

} // namespace

QIcon PlayerIcon(PlayerGlyph glyph)
{
    QIcon icon;
    for (int size : {16, 24, 32}) {
        icon.addPixmap(Render(glyph, QColor(230, 230, 230), size), QIcon::Normal);
        icon.addPixmap(Render(glyph, QColor(255, 255, 255), size), QIcon::Active);
        icon.addPixmap(Render(glyph, QColor(110, 110, 110), size), QIcon::Disabled);
    }
    return icon;
}

} // namespace quorvel
