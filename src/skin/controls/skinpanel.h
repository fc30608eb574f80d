#pragma once

#include <QString>
#include <QWidget>

namespace quorvel {

// A container drawn from a skin section; without a skin it is a button-face panel with a
// one-pixel border. Children marked with an alignment are laid out in its client rectangle.
class SkinPanel : public QWidget {
    Q_OBJECT
public:
    enum class BorderStyle { bvNone, bvFrame, bvRaised, bvLowered };

    explicit SkinPanel(QWidget* parent = nullptr);

    QString SkinDataName() const { return skinDataName_; }
    void SetSkinDataName(const QString& name) { skinDataName_ = name; }
    BorderStyle Border() const { return borderStyle_; }
    void SetBorderStyle(BorderStyle style);
    bool CaptionMode() const { return captionMode_; }
    void SetCaptionMode(bool on);
    int DefaultCaptionHeight() const { return defaultCaptionHeight_; }
    void SetDefaultCaptionHeight(int height);

    // Where aligned children go, in the panel's own coordinates.
    QRect ClientRect() const;
    // Lays the aligned children out again.
    void Realign();

signals:
    // The panel's size changed (its OnResize).
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void childEvent(QChildEvent* event) override;

private:
    void DrawDefaultImage(QPainter& p) const;

    QString skinDataName_ = QStringLiteral("panel");
    BorderStyle borderStyle_ = BorderStyle::bvFrame;
    bool captionMode_ = false;
    int defaultCaptionHeight_ = 22;
};

// The unskinned client rectangle of a panel of the given size.
QRect DefaultPanelClientRect(const QSize& size, SkinPanel::BorderStyle border, bool captionMode, int captionHeight);

} // namespace quorvel
