#pragma once

#include <QWidget>

namespace quorvel {

// One page of a SkinPageControl. It fills the control's page area and is hidden until its
// page is active.
class SkinTabSheet : public QWidget {
    Q_OBJECT
public:
    explicit SkinTabSheet(const QString& caption, QWidget* parent = nullptr);

    QString Caption() const { return caption_; }

signals:
    // The page became showing: selected, or shown again with its window (its OnShow).
    void shown();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QString caption_;
};

} // namespace quorvel
