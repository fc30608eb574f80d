#pragma once

#include "skin/controls/skincustomcontrol.h"

#include <QTimer>

namespace quorvel {

// A pair of scroll buttons side by side that step a position between Min and Max: the left one
// ("down") takes Increment off, the right one ("up") adds it. Held down, a button repeats.
// Drawn from an "updown" section of the skin (each button with its normal, hot and pressed
// image), otherwise as two plain buttons with arrows.
class SkinUpDown : public SkinCustomControl {
    Q_OBJECT
public:
    enum class Button { None, Down, Up };

    explicit SkinUpDown(QWidget* parent = nullptr);

    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    int Increment() const { return increment_; }
    void SetMin(int min);
    void SetMax(int max);
    // Sets the position, kept within Min and Max; raises no change.
    void SetPosition(int position);
    void SetIncrement(int increment);

    // The button under the point, in the control's coordinates.
    Button ButtonAt(const QPoint& pos) const;
    // Where a button lies: from the section when skinned, else the left or right half.
    QRect ButtonRect(Button button) const;
    Button HotButton() const { return hot_; }
    Button PressedButton() const { return pressed_; }

    void ReadSkinSection() override;
    void DrawDefaultImage(QImage& image) override;
    void DrawSkinImage(QImage& image) override;

    // Milliseconds before a held button repeats, and between repeats.
    static constexpr int RepeatDelay = 400;
    static constexpr int RepeatInterval = 80;

signals:
    // The position changed by a button (OnChange).
    void changed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void Step(Button button);
    void SetHot(Button button);
    void SetPressed(Button button);
    void Repeat();

    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int increment_ = 1;
    Button hot_ = Button::None;
    Button pressed_ = Button::None;
    QTimer repeat_;
    // The section's button images, relative to "skinrect" (places) or in the picture (states).
    SkinRect upRect_, activeUpRect_, downUpRect_, downRect_, activeDownRect_, downDownRect_;
};

} // namespace quorvel
