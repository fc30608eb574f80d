#pragma once

#include <QImage>
#include <QRect>

class QPainter;

namespace quorvel {

class ActiveSkinObject;
class SkinForm;

// Draws the frame: the skinned frame as four pieces (top, bottom, left, right) composed from the
// skin's picture with the objects drawn on them and kept until the frame changes, the plain
// frame without a skin, and the client area's background.
class FramePainter {
public:
    explicit FramePainter(SkinForm& frame);

    // The frame must be drawn anew: the pieces are composed again at the next paint.
    void SendNcPaint();
    // The whole frame, as a paint of the form draws it.
    void PaintFrame(QPainter& painter);
    void PaintSkinnedFrame(QPainter& painter);
    void PaintDefaultFrame(QPainter& painter);
    void PaintClientBackground(QPainter& painter, const QRect& client);
    // Draws that one object into its piece and on the window at once.
    void PaintObjectNow(ActiveSkinObject& object);
    // The caption takes the form's activation; repaint: with its morph and the frame redrawn.
    void UpdateCaptionActive(bool repaint);
    // The form's icon at the small-icon size.
    QImage SmallIcon();

private:
    void ComposePieces();
    bool InLowerPiece(const ActiveSkinObject& object) const;
    void DrawObjectOn(QPainter& piecePainter, ActiveSkinObject& object, bool update);

    SkinForm& frame_;
    // Top, bottom, left and right, at the screen's pixel density.
    QImage pieces_[4];
    bool piecesValid_ = false;
    QImage smallIcon_;
};

} // namespace quorvel
