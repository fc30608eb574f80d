#include "skin/form/framepainter.h"

#include "skin/data/skindata.h"
#include "skin/form/defaultframe.h"
#include "skin/form/framelayout.h"
#include "skin/form/frameskin.h"
#include "skin/form/skincaptionobject.h"
#include "skin/form/skinform.h"
#include "skin/render/effectbmp.h"
#include "skin/render/skinutils.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QWidget>

namespace quorvel {
namespace {

// A piece of the frame at the screen's pixel density: the skin's pixels doubled (or more) as
// whole blocks, so that they line up with the window's outline, and room for sharp text.
QImage AtDensity(const QImage& piece, qreal ratio)
{
    if (piece.isNull() || ratio <= 1.0)
        return piece;
    QImage dense = piece.scaled(qRound(piece.width() * ratio), qRound(piece.height() * ratio), Qt::IgnoreAspectRatio,
                                Qt::FastTransformation);
    dense.setDevicePixelRatio(ratio);
    return dense;
}

} // namespace

FramePainter::FramePainter(SkinForm& frame) : frame_(frame) { }

void FramePainter::SendNcPaint()
{
    piecesValid_ = false;
    QRegion outside(frame_.Form()->rect());
    outside -= QRegion(frame_.ClientArea()->geometry());
    frame_.Form()->update(outside);
}

void FramePainter::ComposePieces()
{
    piecesValid_ = false;
    for (QImage& piece : pieces_)
        piece = QImage();
    FrameLayout& layout = frame_.Layout();
    if (layout.FrameWidth == 0 || layout.FrameHeight == 0) {
        layout.FrameWidth = frame_.Form()->width();
        layout.FrameHeight = frame_.Form()->height();
    }
    if (layout.FrameWidth < layout.MinTrackWidth() || layout.FrameHeight < layout.MinTrackHeight())
        return;
    layout.ComputeFrameGeometry();
    layout.PlaceObjects();
    const FrameSkin& skin = frame_.Skin();
    const FormInfo& info = skin.Data()->Info;
    const bool active = frame_.IsActiveForDrawing();
    const SkinPictures& pictures = skin.Pictures();
    const QImage& source =
        !active && !pictures.InActivePicture().isNull() ? pictures.InActivePicture() : pictures.Picture();
    const PieceGeometry g = FramePieceGeometry(source, info, info.clientrect, layout.Geometry,
                                               layout.Geometry.ClientRect, layout.FrameWidth, layout.FrameHeight);
    BuildFramePieces(g, pieces_[0], pieces_[1], pieces_[2], pieces_[3]);
    const qreal ratio = frame_.Form()->devicePixelRatioF();
    if (ratio > 1.0)
        for (QImage& piece : pieces_)
            piece = AtDensity(piece, ratio);
    piecesValid_ = true;
    // One painter per piece for all the objects on it.
    for (const bool lower : {false, true}) {
        QImage& piece = pieces_[lower ? 1 : 0];
        if (piece.isNull())
            continue;
        QPainter painter(&piece);
        for (int i = 0; i < skin.Objects.Count(); ++i)
            if (ActiveSkinObject* o = skin.Objects.At(i); o->Visible && InLowerPiece(*o) == lower)
                DrawObjectOn(painter, *o, false);
    }
    if (!active && info.autorenderinginactiveimage) {
        for (QImage& piece : pieces_) {
            if (piece.isNull())
                continue;
            EffectBmp effect(piece);
            effect.ApplyInactiveEffect(info.inactiveeffect);
            const qreal r = piece.devicePixelRatio();
            piece = effect.Image().convertToFormat(QImage::Format_RGB32);
            piece.setDevicePixelRatio(r);
        }
    }
}

bool FramePainter::InLowerPiece(const ActiveSkinObject& object) const
{
    // Objects reaching below the top of the client area belong to the bottom piece.
    return object.ObjectRect.bottom > frame_.Layout().Geometry.ClientRect.top;
}

void FramePainter::DrawObjectOn(QPainter& piecePainter, ActiveSkinObject& object, bool update)
{
    piecePainter.save();
    if (InLowerPiece(object))
        piecePainter.translate(0, -frame_.Layout().Geometry.ClientRect.bottom);
    piecePainter.setClipRect(ToQRect(object.ObjectRect));
    object.DrawOn(piecePainter, update);
    piecePainter.restore();
}

void FramePainter::PaintFrame(QPainter& painter)
{
    if (frame_.Skin().SkinInUse)
        PaintSkinnedFrame(painter);
    else
        PaintDefaultFrame(painter);
}

void FramePainter::PaintSkinnedFrame(QPainter& painter)
{
    if (!piecesValid_)
        ComposePieces();
    if (!piecesValid_) {
        // Too small for the skin's frame: a plain dark edge rather than whatever was there.
        painter.fillRect(frame_.Form()->rect(), Qt::black);
        return;
    }
    // The pieces lie around the client area, never on it: no clipping is needed to keep it.
    const FrameLayout& layout = frame_.Layout();
    painter.save();
    const QImage &top = pieces_[0], &bottom = pieces_[1], &left = pieces_[2], &right = pieces_[3];
    const int topHeight = qRound(top.height() / top.devicePixelRatio());
    const int bottomHeight = qRound(bottom.height() / bottom.devicePixelRatio());
    const int rightWidth = qRound(right.width() / right.devicePixelRatio());
    painter.drawImage(0, 0, top);
    painter.drawImage(0, topHeight, left);
    painter.drawImage(layout.FrameWidth - rightWidth, topHeight, right);
    painter.drawImage(0, layout.FrameHeight - bottomHeight, bottom);
    painter.restore();
}

void FramePainter::PaintDefaultFrame(QPainter& painter)
{
    FrameSkin& skin = frame_.Skin();
    if (skin.Objects.Empty())
        skin.CreateDefaultObjects();
    const SkinRect text = frame_.Layout().DefaultCaptionTextRect();
    const bool active = frame_.IsActiveForDrawing();
    const FrameSettings& s = frame_.Settings;
    DefaultFrame::Paint(painter, frame_.Form()->width(), frame_.Form()->height(), text, frame_.FormCaption(),
                        active ? s.DefCaptionFont : s.DefInActiveCaptionFont,
                        active ? s.DefCaptionFontColor : s.DefInActiveCaptionFontColor, skin.Objects);
}

void FramePainter::PaintClientBackground(QPainter& painter, const QRect& client)
{
    const QColor face = QPalette().color(QPalette::Button);
    auto tile = [&](const QImage& picture, const QRect& part) {
        if (picture.isNull() || part.isEmpty() || client.isEmpty()) {
            painter.fillRect(client, face);
            return;
        }
        const QImage piece = picture.copy(part);
        for (int y = 0; y <= client.height() / piece.height(); ++y)
            for (int x = 0; x <= client.width() / piece.width(); ++x)
                painter.drawImage(x * piece.width(), y * piece.height(), piece);
    };
    const FrameSkin& skin = frame_.Skin();
    if (!skin.SkinInUse) {
        painter.fillRect(client, face);
    } else if (skin.Data()->Info.bgpictureindex < 0) {
        const SkinRect& c = skin.Data()->Info.clientrect;
        if (c.IsEmpty())
            painter.fillRect(client, face);
        else
            tile(skin.Pictures().Picture(), ToQRect(c));
    } else {
        const QImage& bg = skin.Pictures().Numbered(skin.Data()->Info.bgpictureindex);
        tile(bg, bg.rect());
    }
}

void FramePainter::PaintObjectNow(ActiveSkinObject& object)
{
    if (frame_.NoBorder())
        return;
    if (frame_.Skin().SkinInUse && piecesValid_) {
        QImage& piece = pieces_[InLowerPiece(object) ? 1 : 0];
        if (!piece.isNull()) {
            QPainter painter(&piece);
            DrawObjectOn(painter, object, true);
        }
    }
    frame_.Form()->update(ToQRect(object.ObjectRect));
}

void FramePainter::UpdateCaptionActive(bool repaint)
{
    const bool a = frame_.IsActiveForDrawing();
    const FrameObjects& objects = frame_.Skin().Objects;
    for (int i = 0; i < objects.Count(); ++i) {
        auto* caption = dynamic_cast<SkinCaptionObject*>(objects.At(i));
        if (!caption || caption->Hot == a)
            continue;
        caption->Hot = a;
        if (repaint) {
            if (caption->Morphing)
                frame_.StartMorphTimer();
        } else if (caption->Morphing) {
            caption->MorphAmount = a ? 1 : 0;
        }
        break;
    }
    if (repaint)
        SendNcPaint();
    if (a) {
        if (frame_.OnActivate)
            frame_.OnActivate();
    } else if (frame_.OnDeActivate) {
        frame_.OnDeActivate();
    }
}

QImage FramePainter::SmallIcon()
{
    if (smallIcon_.isNull()) {
        QWidget* form = frame_.Form();
        int size = form->style()->pixelMetric(QStyle::PM_SmallIconSize);
        if (size <= 0)
            size = DefaultFrame::ButtonSize;
        QIcon icon = form->windowIcon();
        if (icon.isNull())
            icon = QApplication::windowIcon();
        if (icon.isNull())
            icon = form->style()->standardIcon(QStyle::SP_DesktopIcon);
        smallIcon_ = icon.pixmap(size, size).toImage().scaled(size, size);
    }
    return smallIcon_;
}

} // namespace quorvel
