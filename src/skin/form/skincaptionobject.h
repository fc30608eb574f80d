#pragma once

#include "skin/form/activeskinobject.h"

#include <QFont>

namespace quorvel {

class DataSkinCaption;

// The caption area with the form's text. Its hot flag is the form's activation.
class SkinCaptionObject : public ActiveSkinObject {
public:
    SkinCaptionObject(SkinObjectOwner& owner, const DataSkinCaption& data, const SkinPictures& pictures);

    void DrawOn(QPainter& canvas, bool update) override;
    void HandleMouseDown(int x, int y, Qt::MouseButton button) override;
    void HandleMouseUp(int x, int y, Qt::MouseButton button) override;
    void HandleMouseEnter() override;
    void HandleMouseLeave() override;

    // Where the text goes, in object coordinates, at the object's present size.
    SkinRect TextRect() const;
    // The caption's background at the object's size, cut from a picture.
    QImage CaptionBackground(const QImage& picture, const SkinRect& from) const;
    // Writes the form's caption with its offset, in the active or inactive colours.
    void DrawCaptionText(QPainter& canvas, int offsetX, int offsetY, bool active) const;

    SkinRect SkinTextRect;
    QFont Font;
    SkinColor FontColor = 0, ActiveFontColor = 0;
    TextAlignment Alignment = TextAlignment::Center;
    bool Shadow = false;
    SkinColor ShadowColor = 0, ActiveShadowColor = 0;
    SkinRect FrameRect, ActiveFrameRect, FrameTextRect;
    int FrameLeftOffset = 0, FrameRightOffset = 0;

private:
    // Background and text in the inactive (A) or active (B) look.
    QImage Composed(bool active) const;
    void ApplyInactiveLook(QImage& image) const;
};

} // namespace quorvel
