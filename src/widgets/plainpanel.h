#pragma once

#include <QWidget>

namespace quorvel {

// A plain button-face panel without bevels that lays out its aligned children.
class PlainPanel : public QWidget {
    Q_OBJECT
public:
    explicit PlainPanel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};

} // namespace quorvel
