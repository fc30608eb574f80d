#pragma once

#include "skin/data/skindata.h"

#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QString>
#include <QWidget>

#include <optional>

namespace quorvel {

// A control that draws itself from a control section of the skin, found by name in its skin
// data, and follows that skin data's changes: it forgets its section before a change and takes
// the new skin after it. Without a section (no skin data, no skin loaded, or no section of that name) it draws
// its default look. A paint copies the control's whole image, built off-screen and kept until
// something it shows changes, in one piece; the control never erases its background.
class SkinControl : public QWidget {
    Q_OBJECT
public:
    explicit SkinControl(QWidget* parent = nullptr);

    SkinData* GetSkinData() const { return skinData_; }
    // Stores the skin data (forgotten when it is destroyed), follows its changes and applies
    // its skin.
    virtual void SetSkinData(SkinData* data);
    QString SkinDataName() const { return skinDataName_; }
    // Only stores the name; the next ApplySkin or paint looks it up.
    virtual void SetSkinDataName(const QString& name);
    // The section's index among the skin's control sections; -1 for none.
    int SkinIndex() const { return skinIndex_; }
    // The window region taken from the skin's mask, while one is installed.
    const std::optional<QRegion>& SkinRegion() const { return skinRegion_; }

    // Looks the section up again; runs before every paint and in ApplySkin.
    virtual void ReadSkinSection();
    // The control's whole image without and with a section, into an image of its size.
    virtual void DrawDefaultImage(QImage& image);
    virtual void DrawSkinImage(QImage& image);
    // Takes the section again, sizes the control by it and repaints.
    virtual void ApplySkin();
    // The skin data is about to change: no section until the next ApplySkin.
    virtual void ForgetSkinSection();

    // The image a paint copies, built when it is out of date.
    const QImage& ControlImage();

signals:
    void mouseEnter();
    void mouseLeave();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

    // Something the image shows changed: the next paint builds it again.
    void InvalidateImage() { imageValid_ = false; }
    // Installs the region as the control's shape, or removes the shape.
    void SetSkinRegion(std::optional<QRegion> region);

    int skinIndex_ = -1;

private:
    void SkinDataChanged(SkinMessage kind);

    QPointer<SkinData> skinData_;
    QMetaObject::Connection skinChanges_;
    QString skinDataName_;
    std::string sectionName_; // the name as the skin data's lists spell it
    std::optional<QRegion> skinRegion_;
    QImage image_;
    bool imageValid_ = false;
};

} // namespace quorvel
