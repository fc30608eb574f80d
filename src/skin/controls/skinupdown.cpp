#include "skin/controls/skinupdown.h"

#include "skin/data/dataskincontrols.h"
#include "skin/data/skindata.h"
#include "skin/render/skinutils.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace quorvel {
namespace {

} // namespace

SkinUpDown::SkinUpDown(QWidget* parent) : SkinCustomControl(parent)
{
    SetSkinDataName(QStringLiteral("hupdown"));
    setMouseTracking(true);
    resize(40, 20);
    repeat_.setSingleShot(false);
    connect(&repeat_, &QTimer::timeout, this, &SkinUpDown::Repeat);
}

void SkinUpDown::SetMin(int min)
{
    min_ = min;
    SetPosition(position_);
    InvalidateImage();
    update();
}

void SkinUpDown::SetMax(int max)
{
    max_ = max;
    SetPosition(position_);
    InvalidateImage();
    update();
}

void SkinUpDown::SetPosition(int position)
{
    const int kept = std::max(min_, std::min(max_, position));
    if (kept == position_)
        return;
    position_ = kept;
    InvalidateImage(); // the arrows show where the ends are
    update();
}

void SkinUpDown::SetIncrement(int increment) { increment_ = increment; }

void SkinUpDown::ReadSkinSection()
{
    SkinCustomControl::ReadSkinSection();
    const SkinData* data = GetSkinData();
    const DataSkinUpDownControl* s = data && SkinIndex() >= 0
                                         ? dynamic_cast<const DataSkinUpDownControl*>(
                                               data->SkinControls[static_cast<std::size_t>(SkinIndex())].get())
                                         : nullptr;
    const SkinRect none;
    const SkinRect up = s ? s->upButtonRect : none, activeUp = s ? s->activeUpButtonRect : none,
                   downUp = s ? s->downUpButtonRect : none, down = s ? s->downButtonRect : none,
                   activeDown = s ? s->activeDownButtonRect : none, downDown = s ? s->downDownButtonRect : none;
    if (up == upRect_ && activeUp == activeUpRect_ && downUp == downUpRect_ && down == downRect_ &&
        activeDown == activeDownRect_ && downDown == downDownRect_)
        return;
    upRect_ = up;
    activeUpRect_ = activeUp;
    downUpRect_ = downUp;
    downRect_ = down;
    activeDownRect_ = activeDown;
    downDownRect_ = downDown;
    InvalidateImage();
}

QRect SkinUpDown::ButtonRect(Button button) const
{
    if (button == Button::None)
        return {};
    const SkinRect& skinned = button == Button::Up ? upRect_ : downRect_;
    if (SkinIndex() >= 0 && !skinned.IsEmpty())
        return ToQRect(skinned);
    const int half = width() / 2;
    return button == Button::Down ? QRect(0, 0, half, height()) : QRect(half, 0, width() - half, height());
}

SkinUpDown::Button SkinUpDown::ButtonAt(const QPoint& pos) const
{
    if (!rect().contains(pos))
        return Button::None;
    if (ButtonRect(Button::Down).contains(pos))
        return Button::Down;
    if (ButtonRect(Button::Up).contains(pos))
        return Button::Up;
    return Button::None;
}

void SkinUpDown::DrawDefaultImage(QImage& image)
{
    const QPalette& pal = palette();
    const QColor face = pal.color(QPalette::Button), light = pal.color(QPalette::Light),
                 shadow = pal.color(QPalette::Dark), text = pal.color(QPalette::ButtonText);
    image.fill(face);
    QPainter p(&image);
    for (Button b : {Button::Down, Button::Up}) {
        const QRect r = ButtonRect(b);
        const bool down = pressed_ == b && hot_ == b;
        const QColor topLeft = down ? shadow : light, bottomRight = down ? light : shadow;
        p.fillRect(r.left(), r.top(), r.width(), 1, topLeft);
        p.fillRect(r.left(), r.top(), 1, r.height(), topLeft);
        p.fillRect(r.left(), r.bottom(), r.width(), 1, bottomRight);
        p.fillRect(r.right(), r.top(), 1, r.height(), bottomRight);
        // An arrow that can go no further is greyed.
        const bool atEnd = b == Button::Down ? position_ <= min_ : position_ >= max_;
        const SkinRect area{r.left() + (down ? 1 : 0), r.top() + (down ? 1 : 0), r.right() + 1 + (down ? 1 : 0),
                            r.bottom() + 1 + (down ? 1 : 0)};
        DrawArrow(p, area, atEnd ? shadow : text, b == Button::Down ? ArrowDirection::Left : ArrowDirection::Right);
    }
}

void SkinUpDown::DrawSkinImage(QImage& image)
{
    SkinCustomControl::DrawSkinImage(image);
    const QImage& picture = CopiedSection().picture;
    if (picture.isNull())
        return;
    QPainter p(&image);
    for (Button b : {Button::Down, Button::Up}) {
        const SkinRect& place = b == Button::Up ? upRect_ : downRect_;
        const SkinRect& state = pressed_ == b && hot_ == b ? (b == Button::Up ? downUpRect_ : downDownRect_)
                                : hot_ == b && pressed_ == Button::None
                                    ? (b == Button::Up ? activeUpRect_ : activeDownRect_)
                                    : SkinRect{};
        if (!state.IsEmpty())
            CopyPart(p, picture, state,
                     SkinRect{place.left, place.top, place.left + state.Width(), place.top + state.Height()});
    }
}

void SkinUpDown::Step(Button button)
{
    const int before = position_;
    if (button == Button::Up)
        SetPosition(position_ + increment_);
    else if (button == Button::Down)
        SetPosition(position_ - increment_);
    if (position_ != before)
        emit changed();
}

void SkinUpDown::SetHot(Button button)
{
    if (button == hot_)
        return;
    hot_ = button;
    InvalidateImage();
    update();
}

void SkinUpDown::SetPressed(Button button)
{
    if (button == pressed_)
        return;
    pressed_ = button;
    InvalidateImage();
    update();
}

void SkinUpDown::Repeat()
{
    repeat_.setInterval(RepeatInterval);
    if (pressed_ != Button::None && hot_ == pressed_)
        Step(pressed_);
}

void SkinUpDown::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        SkinCustomControl::mousePressEvent(event);
        return;
    }
    const Button b = ButtonAt(event->position().toPoint());
    SetHot(b);
    SetPressed(b);
    if (b == Button::None)
        return;
    repeat_.start(RepeatDelay);
    Step(b);
}

void SkinUpDown::mouseMoveEvent(QMouseEvent* event)
{
    // While a button is held only that one lights up, and only while the pointer is over it.
    const Button b = ButtonAt(event->position().toPoint());
    SetHot(pressed_ == Button::None || b == pressed_ ? b : Button::None);
    SkinCustomControl::mouseMoveEvent(event);
}

void SkinUpDown::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        repeat_.stop();
        SetPressed(Button::None);
        SetHot(ButtonAt(event->position().toPoint()));
    }
    SkinCustomControl::mouseReleaseEvent(event);
}

void SkinUpDown::leaveEvent(QEvent* event)
{
    SetHot(Button::None);
    SkinCustomControl::leaveEvent(event);
}

} // namespace quorvel
