#pragma once

#include "skin/controls/skincustomcontrol.h"

#include <QImage>
#include <QList>
#include <QPointer>
#include <QString>

#include <string>

namespace quorvel {

// A container drawn from a "panel" section of the skin; without one it is a button-face panel
// with a one-pixel border. It can show a caption strip with a glyph, a check box that enables
// its children, and an arrow that rolls it up to its caption. Children marked with an alignment
// are laid out in its client rectangle.
class SkinPanel : public SkinCustomControl {
    Q_OBJECT
public:
    enum class BorderStyle { bvNone, bvFrame, bvRaised, bvLowered };

    explicit SkinPanel(QWidget* parent = nullptr);

    BorderStyle Border() const { return borderStyle_; }
    void SetBorderStyle(BorderStyle style);
    bool CaptionMode() const { return captionMode_; }
    virtual void SetCaptionMode(bool on);
    int DefaultCaptionHeight() const { return defaultCaptionHeight_; }
    virtual void SetDefaultCaptionHeight(int height);
    TextAlignment DefaultAlignment() const { return defaultAlignment_; }
    void SetDefaultAlignment(TextAlignment alignment);
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    // Equal-width images side by side: the first normal, the second (when there are two) for a
    // disabled panel. The colour of the bottom-left pixel is see-through.
    const QImage& Glyph() const { return glyph_; }
    void SetGlyph(const QImage& glyph);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int count);
    int Spacing() const { return spacing_; }
    void SetSpacing(int spacing);
    bool CheckedMode() const { return checkedMode_; }
    void SetCheckedMode(bool on);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    bool AutoEnabledControls() const { return autoEnabledControls_; }
    void SetAutoEnabledControls(bool on) { autoEnabledControls_ = on; }
    bool RollUpMode() const { return rollUpMode_; }
    void SetRollUpMode(bool on);
    bool RollUpState() const { return rollUpState_; }
    void SetRollUpState(bool rolledUp);
    // The height before rolling up; -1 while not rolled up.
    int RealHeight() const { return realHeight_; }

    // Where aligned children go, in the panel's own coordinates.
    QRect ClientRect() const;
    // The caption strip at the panel's size (skinned).
    SkinRect StretchedCaptionRect() const;
    // Lays the aligned children out again.
    void Realign();

    // The section's panel keys, as the panel copied them.
    struct PanelSection {
        int bgPictureIndex = -1;
        QImage bgPicture;
        SkinRect captionRect;
        TextAlignment alignment = TextAlignment::Center;
        std::string fontName;
        int fontHeight = 12;
        FontStyle fontStyle;
        SkinColor fontColor = 0;
        SkinRect checkImageRect, uncheckImageRect;
        bool operator==(const PanelSection& other) const;
    };
    const PanelSection& CopiedPanelSection() const { return panelSection_; }

    void ReadSkinSection() override;
    void DrawDefaultImage(QImage& image) override;
    void DrawSkinImage(QImage& image) override;
    void ApplySkin() override;
    void DefaultFontChanged() override;

signals:
    // Raised after every assignment of Checked.
    void checked();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void childEvent(QChildEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Changed(bool realign);
    // The height a rolled-up panel keeps.
    int RolledUpHeight() const;
    // Glyph and text in the area, aligned, vertically centred.
    void DrawCaptionText(QPainter& p, const QRect& area, TextAlignment alignment, int leftInset) const;

    BorderStyle borderStyle_ = BorderStyle::bvFrame;
    bool captionMode_ = false;
    int defaultCaptionHeight_ = 22;
    TextAlignment defaultAlignment_ = TextAlignment::Left;
    QString caption_;
    QImage glyph_;
    int numGlyphs_ = 1;
    int spacing_ = 2;
    bool checkedMode_ = false;
    bool checked_ = false;
    bool autoEnabledControls_ = true;
    bool rollUpMode_ = false;
    bool rollUpState_ = false;
    int realHeight_ = -1;
    QList<QPointer<QWidget>> hiddenByRollUp_;
    PanelSection panelSection_;
};

// The unskinned client rectangle of a panel of the given size.
QRect DefaultPanelClientRect(const QSize& size, SkinPanel::BorderStyle border, bool captionMode, int captionHeight);
// A rectangle of the skin image at the control's size: a part within a corner region moves with
// it, a part that spans a growing middle grows with it.
SkinRect StretchPanelRect(const SkinRect& r, const SkinCustomControl::Section& s, int W, int H);

} // namespace quorvel
