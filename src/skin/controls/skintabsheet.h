#pragma once

#include <QPointer>
#include <QWidget>

namespace quorvel {

class SkinPageControl;

// One page of a SkinPageControl. It fills the control's page area, is hidden until its page is
// active, and fills its background with the page texture of the control's skin section.
class SkinTabSheet : public QWidget {
    Q_OBJECT
public:
    explicit SkinTabSheet(const QString& caption, QWidget* parent = nullptr);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    SkinPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(SkinPageControl* control) { pageControl_ = control; }

signals:
    // The page became showing: selected, or shown again with its window (its OnShow).
    void shown();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QString caption_;
    QPointer<SkinPageControl> pageControl_;
};

} // namespace quorvel
