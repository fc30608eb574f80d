#pragma once

#include "skin/controls/skincontrol.h"
#include "skin/definition/skinvalues.h"
#include "skin/render/skinutils.h"

#include <QFont>

namespace quorvel {

class DataSkinCustomControl;

// A skinned control whose section gives a picture, corner points and a client rectangle: its
// image is rebuilt at any size from the skin's pieces, and the pieces decide which sizes it may
// take (ResizeKind).
class SkinCustomControl : public SkinControl {
    Q_OBJECT
public:
    explicit SkinCustomControl(QWidget* parent = nullptr);

    // The size taken when no section is found; 0 leaves that side as it is.
    int DefaultWidth() const { return defaultWidth_; }
    int DefaultHeight() const { return defaultHeight_; }
    void SetDefaultWidth(int width);
    void SetDefaultHeight(int height);
    const QFont& DefaultFont() const { return defaultFont_; }
    void SetDefaultFont(const QFont& font);
    bool UseSkinFont() const { return useSkinFont_; }
    void SetUseSkinFont(bool use);

    // How the skin image follows the control's size:
    //  -1 no image ("skinrect" empty);
    //   0 fixed at the size of "skinrect";
    //   1 any size: corners kept, edges and client area repeated;
    //   2 height fixed: the two ends kept, the middle repeated across;
    //   3 width fixed: the two ends kept, the middle repeated down.
    int ResizeKind() const { return section_.resizeKind; }
    // The corner points and the client rectangle moved to the control's size.
    SkinPoint StretchedLeftTop() const { return Stretched().leftTop; }
    SkinPoint StretchedRightTop() const { return Stretched().rightTop; }
    SkinPoint StretchedLeftBottom() const { return Stretched().leftBottom; }
    SkinPoint StretchedRightBottom() const { return Stretched().rightBottom; }
    SkinRect StretchedClientRect() const { return Stretched().clientRect; }

    void ReadSkinSection() override;
    void DrawSkinImage(QImage& image) override;
    void ApplySkin() override;
    void ForgetSkinSection() override;

    // Runs after every new skin section (nothing here).
    virtual void SkinChangedHook();
    // The default font changed (nothing here).
    virtual void DefaultFontChanged();
    // The size the section lets the control take for the requested one.
    virtual void CalcSkinSize(int& width, int& height);
    // Installs the control's shape from the section's mask at its size, or removes it.
    virtual void UpdateSkinRegion();

    // The piece geometry of the section at the given size, as the image builders take it.
    struct Section {
        QImage picture, mask; // the section's pictures; null for none
        SkinRect skinRect;
        SkinPoint leftTop, rightTop, leftBottom, rightBottom;
        SkinRect clientRect;
        int resizeKind = -1;
        bool operator==(const Section& other) const;
    };
    const Section& CopiedSection() const { return section_; }
    // The kind of sizing the copied values give.
    static int ResizeKindOf(const Section& section);
    // The section's piece geometry at the control's size, as the image builders take it.
    PieceGeometry Pieces(const QImage& picture) const;

signals:
    void resized();

protected:
    void resizeEvent(QResizeEvent* event) override;
    // The section when it is one with corner points and a client rectangle.
    const DataSkinCustomControl* CustomSection() const;
    // The fixed sizes of the section become the control's size limits.
    void ApplySizeLimits();
    // The section moved to the control's size: corner points in the order left-top, right-top,
    // left-bottom, right-bottom, and the client rectangle.
    struct StretchedPieces {
        SkinPoint leftTop, rightTop, leftBottom, rightBottom;
        SkinRect clientRect;
    };
    StretchedPieces Stretched() const;

private:
    int defaultWidth_ = 0;
    int defaultHeight_ = 0;
    QFont defaultFont_;
    bool useSkinFont_ = true;
    Section section_;
    bool limitsFromSkin_ = false;
};

// The corner points and client rectangle of the section moved to a control of W x H.
void StretchSection(const SkinCustomControl::Section& s, int W, int H, SkinPoint& leftTop, SkinPoint& rightTop,
                    SkinPoint& leftBottom, SkinPoint& rightBottom, SkinRect& clientRect);
// The size the section lets a control take for the requested one.
void ForceSkinSize(const SkinCustomControl::Section& s, int& width, int& height);

} // namespace quorvel
