#pragma once

#include <QPointer>
#include <QWidget>

namespace quorvel {

class SkinForm;

// The client area of a skinned form: it holds the form's controls, lines up the aligned ones
// at every size and paints the background the frame gives it.
class FrameClient : public QWidget {
    Q_OBJECT
public:
    FrameClient(SkinForm& frame, QWidget* form);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPointer<SkinForm> frame_;
};

} // namespace quorvel
