#pragma once

#include "skin/form/framegeometry.h"
#include "skin/form/framehittest.h"

#include <QRect>
#include <QRegion>
#include <QSize>

namespace quorvel {

class SkinForm;

// Where the frame's parts lie: the client area inside the frame, the skinned frame's geometry
// at the window's size, the objects placed on it, the window's outline from the skin's mask,
// and the smallest and largest sizes the window may take.
class FrameLayout {
public:
    explicit FrameLayout(SkinForm& frame);

    // The size the frame was last laid out for.
    int FrameWidth = 0, FrameHeight = 0;
    FrameGeometry Geometry;
    MaskStrips Strips;

    // The client area of a window of a size, and the window size that gives the client area
    // that size.
    QRect ClientRectFor(QSize window) const;
    QSize WindowSizeForClient(QSize client) const;
    // Sizes the window so that its client area has this size.
    void SetFormClientSize(QSize client);
    // Puts the client area where the frame leaves room for it.
    void PlaceClientArea();

    void ComputeFrameGeometry();
    void PlaceObjects();
    // Geometry, placement and outline again, and the frame drawn anew.
    void RebuildFrame();
    void BuildFrameRegion();
    // Sets or removes the window's outline: the one place that does.
    void ApplyRegion(const QRegion* region);
    const QRegion& FrameRegion() const { return region_; }
    bool HasFrameRegion() const { return hasRegion_; }
    // Lays the frame out and draws it again for the size the window has.
    void NudgeWidth();
    // The window has a new size.
    void HandleSize();
    // A hidden window hears of its new size only when it is shown; the frame follows at once.
    void SyncSize();
    // The plain frame's caption text rectangle, with its buttons placed.
    SkinRect DefaultCaptionTextRect();

    int MinTrackWidth() const;
    int MinTrackHeight() const;
    QSize MaxTrackSize() const;
    void ApplyTrackSizes();

private:
    SkinForm& frame_;
    QRegion region_;
    bool hasRegion_ = false;
};

} // namespace quorvel
