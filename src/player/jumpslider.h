#pragma once

#include <QSlider>

namespace quorvel {

// A slider whose track jumps to the pointer on a left press, as a player's seek and volume bars
// do, instead of paging one step towards it; the press then goes on as a drag of the handle.
class JumpSlider : public QSlider {
    Q_OBJECT
public:
    explicit JumpSlider(Qt::Orientation orientation, QWidget* parent = nullptr);

    // The value under a point of the slider, as the handle's centre would have it there.
    int ValueAt(const QPoint& point) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace quorvel
