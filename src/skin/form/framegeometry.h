#pragma once

#include "skin/data/skinwindowdata.h"
#include "skin/definition/skinvalues.h"
#include "skin/render/skinutils.h"

#include <array>

namespace quorvel {

// Where the parts of a skinned frame lie at the frame's present size, in window coordinates
// (origin at the window's top-left corner, frame included).
struct FrameGeometry {
    SkinPoint LeftTop, RightTop, LeftBottom, RightBottom;
    SkinRect ClientRect;
    SkinRect CaptionRect;
    SkinRect ButtonsRect;
    SkinRect MaskArea;
    std::array<SkinPoint, 4> HitPoints{}; // left top, right top, left bottom, right bottom
    int ButtonsOffset = 0;
    bool ButtonsInLeft = false;
};

// The frame's parts for a frame of width x height from a frame picture of pictureWidth x
// pictureHeight: the right-hand parts move with the width, the lower parts with the height.
FrameGeometry ComputeFrameGeometry(const FormInfo& info, int pictureWidth, int pictureHeight, int width, int height);

// The frame widths around the client area (the answer to the window system's question of how
// big the client is): left, top, right, bottom.
struct FrameInsets {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const FrameInsets&) const = default;
};
FrameInsets SkinnedFrameInsets(const FormInfo& info, int pictureWidth, int pictureHeight);

// The geometry the piece builders take: a whole picture at its own size with its client
// rectangle (source) and the frame's parts at the present size (target).
PieceGeometry FramePieceGeometry(const QImage& picture, const FormInfo& info, const SkinRect& sourceClient,
                                 const FrameGeometry& geometry, const SkinRect& targetClient, int width, int height);

} // namespace quorvel
