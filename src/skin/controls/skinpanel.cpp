#include "skinpanel.h"

#include "alignment.h"

#include <QChildEvent>
#include <QPainter>

namespace quorvel {

QRect DefaultPanelClientRect(const QSize& size, SkinPanel::BorderStyle border, bool captionMode, int captionHeight)
{
    QRect r(QPoint(0, 0), size);
    if (border != SkinPanel::BorderStyle::bvNone)
        r.adjust(1, 1, -1, -1);
    if (captionMode)
        r.setTop(r.top() + captionHeight);
    return r;
}

SkinPanel::SkinPanel(QWidget* parent) : QWidget(parent)
{
    // Every pixel comes from the panel's own paint.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(150, 150);
}

void SkinPanel::SetBorderStyle(BorderStyle style)
{
    borderStyle_ = style;
    Realign();
    update();
}

void SkinPanel::SetCaptionMode(bool on)
{
    captionMode_ = on;
    Realign();
    update();
}

void SkinPanel::SetDefaultCaptionHeight(int height)
{
    defaultCaptionHeight_ = height;
    if (captionMode_) {
        Realign();
        update();
    }
}

QRect SkinPanel::ClientRect() const
{
    return DefaultPanelClientRect(size(), borderStyle_, captionMode_, defaultCaptionHeight_);
}

void SkinPanel::Realign() { AlignChildren(this, ClientRect()); }

void SkinPanel::DrawDefaultImage(QPainter& p) const
{
    const QPalette& pal = palette();
    const int w = width(), h = height();
    p.fillRect(rect(), pal.color(QPalette::Button));
    const QColor shadow = pal.color(QPalette::Dark), light = pal.color(QPalette::Light);
    QColor topLeft, bottomRight;
    switch (borderStyle_) {
    case BorderStyle::bvNone: return;
    case BorderStyle::bvFrame: topLeft = bottomRight = shadow; break;
    case BorderStyle::bvRaised: topLeft = light; bottomRight = shadow; break;
    case BorderStyle::bvLowered: topLeft = shadow; bottomRight = light; break;
    }
    p.fillRect(0, 0, w, 1, topLeft);
    p.fillRect(0, 0, 1, h, topLeft);
    p.fillRect(0, h - 1, w, 1, bottomRight);
    p.fillRect(w - 1, 0, 1, h, bottomRight);
}

void SkinPanel::paintEvent(QPaintEvent*)
{
    if (width() <= 0 || height() <= 0)
        return;
    QPainter p(this);
    DrawDefaultImage(p);
}

void SkinPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Realign();
    emit resized();
}

void SkinPanel::childEvent(QChildEvent* event)
{
    QWidget::childEvent(event);
    if (event->type() == QEvent::ChildPolished)
        Realign();
}

} // namespace quorvel
