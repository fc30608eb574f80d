#include "skin/form/defaultframe.h"

#include "skin/form/frameobjects.h"
#include "skin/form/skinstdbuttonobject.h"
#include "skin/render/skinutils.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPalette>

namespace quorvel {
namespace {

void Bevel(QPainter& p, int l, int t, int r, int b, const QColor& topLeft, const QColor& bottomRight)
{
    DrawPixelLine(p, l, t, r - 1, t, topLeft);
    DrawPixelLine(p, l, t, l, b - 1, topLeft);
    DrawPixelLine(p, l, b - 1, r, b - 1, bottomRight);
    DrawPixelLine(p, r - 1, t, r - 1, b - 1, bottomRight);
}

} // namespace

SkinRect DefaultFrame::Layout(FrameObjects& objects, int W, bool showIcon, QSize smallIcon)
{
    const int S = ButtonSize;
    int right = W - 3;
    for (SkinCommand c : {SkinCommand::Close, SkinCommand::Maximize, SkinCommand::Minimize, SkinCommand::RollUp,
                          SkinCommand::MinimizeToTray}) {
        for (int i = 0; i < objects.Count(); ++i) {
            auto* b = dynamic_cast<SkinStdButtonObject*>(objects.At(i));
            if (b && b->Visible && b->ImagesInStatePicture && b->Command == c) {
                b->ObjectRect = SkinRect{right - S, 4, right, 4 + S};
                right -= S;
            }
        }
    }
    int left = 3;
    for (int i = 0; i < objects.Count(); ++i) {
        auto* b = dynamic_cast<SkinStdButtonObject*>(objects.At(i));
        if (b && b->Visible && b->ImagesInStatePicture && b->Command == SkinCommand::SysMenu) {
            const QSize s = showIcon ? smallIcon : QSize(S, S);
            b->ObjectRect = SkinRect{3, 4, 3 + s.width(), 4 + s.height()};
            left = b->ObjectRect.right;
        }
    }
    return SkinRect{left, 3, right, CaptionHeight};
}

void DefaultFrame::Paint(QPainter& painter, int W, int H, const SkinRect& text, const QString& caption,
                         const QFont& font, const QColor& textColour, FrameObjects& objects)
{
    const int C = CaptionHeight;
    const QPalette palette;
    const QColor face = palette.color(QPalette::Button);
    if (W - 6 < 1)
        return;
    QImage bar(W - 6, C, QImage::Format_RGB32);
    bar.fill(face);
    QPainter p(&bar);
    if (C - 4 > 1) {
        for (int i = 0; i < C - 5; ++i) {
            const QColor colour = palette.color(i % 2 == 0 ? QPalette::Light : QPalette::Dark);
            DrawPixelLine(p, text.left + 2 - 3, 2 + i, text.right - 3 - 3, 2 + i, colour);
        }
    }
    if (!caption.isEmpty()) {
        p.setFont(font);
        const QFontMetrics metrics(font, &bar);
        const QString shown = ShortenCaption(caption, metrics, text.Width() + 3);
        const int w = metrics.horizontalAdvance(shown);
        const int L = text.left - 3, R = text.right - 3;
        const int x0 = L + (R - L + 3) / 2 - (w + 5) / 2;
        const QRect box(x0, 0, w + 5, C);
        p.fillRect(box, face);
        p.setClipRect(box);
        p.setPen(textColour);
        p.drawText(x0 + 3, C / 2 - metrics.height() / 2 + metrics.ascent(), shown);
        p.setClipping(false);
    }
    p.translate(-3, -3);
    for (int i = 0; i < objects.Count(); ++i)
        if (ActiveSkinObject* o = objects.At(i); o->Visible)
            o->DrawOn(p, true);
    p.end();

    painter.save();
    painter.setClipRegion(QRegion(0, 0, W, H) - QRegion(3, C + 3, W - 6, H - C - 6));
    painter.drawImage(3, 3, bar);
    Bevel(painter, 0, 0, W, H, palette.color(QPalette::Midlight), palette.color(QPalette::Shadow));
    Bevel(painter, 1, 1, W - 1, H - 1, palette.color(QPalette::Light), palette.color(QPalette::Dark));
    Bevel(painter, 2, 2, W - 2, H - 2, face, face);
    painter.restore();
}

} // namespace quorvel
