#pragma once

#include <QLineEdit>

namespace quorvel {

// A single-line edit that reports clicks: a left button pressed and released over it.
class EditLine : public QLineEdit {
    Q_OBJECT
public:
    explicit EditLine(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

} // namespace quorvel
