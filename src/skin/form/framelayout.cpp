#include "skin/form/framelayout.h"

#include "skin/data/skindata.h"
#include "skin/form/defaultframe.h"
#include "skin/form/framepainter.h"
#include "skin/form/frameskin.h"
#include "skin/form/framewindowstates.h"
#include "skin/form/monitorarea.h"
#include "skin/form/skinform.h"
#include "skin/render/skinutils.h"

#include <QWidget>

#include <algorithm>

namespace quorvel {

FrameLayout::FrameLayout(SkinForm& frame) : frame_(frame) { }

QRect FrameLayout::ClientRectFor(QSize window) const
{
    if (frame_.NoBorder())
        return QRect(QPoint(0, 0), window);
    const FrameSkin& skin = frame_.Skin();
    if (!skin.SkinInUse) {
        const int C = DefaultFrame::CaptionHeight;
        return QRect(3, C + 3, std::max(0, window.width() - 6), std::max(0, window.height() - C - 6));
    }
    const QImage& picture = skin.Pictures().Picture();
    const FrameInsets in = SkinnedFrameInsets(skin.Data()->Info, picture.width(), picture.height());
    const int right = std::max(in.left, window.width() - in.right);
    const int bottom = std::max(in.top, window.height() - in.bottom);
    return QRect(in.left, in.top, right - in.left, bottom - in.top);
}

QSize FrameLayout::WindowSizeForClient(QSize client) const
{
    const QRect probe = ClientRectFor(QSize(10000, 10000));
    return QSize(client.width() + 10000 - probe.width(), client.height() + 10000 - probe.height());
}

void FrameLayout::SetFormClientSize(QSize client)
{
    const QSize size = WindowSizeForClient(client);
    ApplyTrackSizes();
    frame_.Form()->resize(size);
    SyncSize();
}

void FrameLayout::SyncSize()
{
    const QWidget* form = frame_.Form();
    if (FrameWidth != form->width() || FrameHeight != form->height() ||
        frame_.ClientArea()->geometry() != ClientRectFor(form->size()))
        HandleSize();
}

void FrameLayout::PlaceClientArea()
{
    const QRect r = ClientRectFor(frame_.Form()->size());
    if (frame_.ClientArea()->geometry() != r)
        frame_.ClientArea()->setGeometry(r);
}

void FrameLayout::ComputeFrameGeometry()
{
    const FrameSkin& skin = frame_.Skin();
    if (!skin.Usable())
        return;
    if (FrameWidth == 0 || FrameHeight == 0) {
        FrameWidth = frame_.Form()->width();
        FrameHeight = frame_.Form()->height();
    }
    const QImage& picture = skin.Pictures().Picture();
    Geometry =
        quorvel::ComputeFrameGeometry(skin.Data()->Info, picture.width(), picture.height(), FrameWidth, FrameHeight);
}

void FrameLayout::PlaceObjects()
{
    FrameSkin& skin = frame_.Skin();
    if (!skin.Usable())
        return;
    const QImage& picture = skin.Pictures().Picture();
    skin.Objects.Place(Geometry, skin.Data()->Info, picture.width(), picture.height(), frame_.ShowIcon(),
                       frame_.SmallIcon().size());
}

void FrameLayout::RebuildFrame()
{
    if (!frame_.Skin().Usable())
        return;
    ComputeFrameGeometry();
    PlaceObjects();
    BuildFrameRegion();
    frame_.Painter().SendNcPaint();
}

void FrameLayout::NudgeWidth()
{
    // Changing the width by a pixel and back would do the same through the window system, and
    // would make every control in the window lay itself out twice.
    FrameWidth = frame_.Form()->width();
    FrameHeight = frame_.Form()->height();
    HandleSize();
}

void FrameLayout::ApplyRegion(const QRegion* region)
{
    QWidget* form = frame_.Form();
    if (region) {
        region_ = *region;
        hasRegion_ = true;
        form->setMask(region_);
    } else {
        if (hasRegion_ || !form->mask().isEmpty())
            form->clearMask();
        region_ = QRegion();
        hasRegion_ = false;
    }
}

void FrameLayout::BuildFrameRegion()
{
    if (frame_.NoBorder()) {
        ApplyRegion(nullptr);
        return;
    }
    const FrameSkin& skin = frame_.Skin();
    const QImage& mask = skin.Pictures().Mask();
    if (!skin.Data() || mask.isNull()) {
        ApplyRegion(nullptr);
        Strips = MaskStrips{};
        return;
    }
    const FormInfo& info = skin.Data()->Info;
    const PieceGeometry g =
        FramePieceGeometry(mask, info, info.maskrectarea, Geometry, Geometry.MaskArea, FrameWidth, FrameHeight);
    Strips = MaskStrips{};
    BuildMaskStrips(mask, g, Strips.top, Strips.bottom, Strips.left, Strips.right);
    const SkinRect& a = Geometry.MaskArea;
    QRegion region(ToQRect(a));
    if (!Strips.top.isNull())
        region += RegionFromMask(Strips.top);
    if (!Strips.bottom.isNull())
        region += RegionFromMask(Strips.bottom).translated(0, a.bottom);
    if (!Strips.left.isNull())
        region += RegionFromMask(Strips.left).translated(0, a.top);
    if (!Strips.right.isNull())
        region += RegionFromMask(Strips.right).translated(a.right, a.top);
    ApplyRegion(&region);
}

void FrameLayout::HandleSize()
{
    FrameWidth = frame_.Form()->width();
    FrameHeight = frame_.Form()->height();
    PlaceClientArea();
    const FrameSkin& skin = frame_.Skin();
    if (!skin.SkinInUse)
        frame_.Painter().SendNcPaint();
    else if (skin.Data() && FrameWidth >= MinTrackWidth() && FrameHeight >= MinTrackHeight())
        RebuildFrame();
    else
        BuildFrameRegion();
}

SkinRect FrameLayout::DefaultCaptionTextRect()
{
    return DefaultFrame::Layout(frame_.Skin().Objects, frame_.Form()->width(), frame_.ShowIcon(),
                                frame_.SmallIcon().size());
}

int FrameLayout::MinTrackWidth() const
{
    const FrameSkin& skin = frame_.Skin();
    const int minWidth = frame_.Settings.MinWidth;
    if (skin.SkinInUse) {
        const int w = skin.Pictures().Picture().width();
        return minWidth > w && frame_.GetFrameState() != FrameState::Minimized ? minWidth : w;
    }
    return minWidth > 0 ? minWidth : 120;
}

int FrameLayout::MinTrackHeight() const
{
    const FrameSkin& skin = frame_.Skin();
    int h = DefaultFrame::CaptionHeight + 6;
    if (skin.SkinInUse)
        h = skin.Pictures().Picture().height() - skin.Data()->Info.clientrect.Height();
    const int minHeight = frame_.Settings.MinHeight;
    if (minHeight > h && !frame_.RolledUp() && frame_.GetFrameState() != FrameState::Minimized)
        h = minHeight;
    return h;
}

QSize FrameLayout::MaxTrackSize() const
{
    const QRect area = MonitorWorkArea(frame_.Form(), true);
    return area.isEmpty() ? QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX) : area.size();
}

void FrameLayout::ApplyTrackSizes()
{
    // The player's full screen lifts the window's limits while it lasts.
    if (frame_.NoBorder())
        return;
    QWidget* form = frame_.Form();
    form->setMinimumSize(MinTrackWidth(), MinTrackHeight());
    const QSize max = MaxTrackSize();
    form->setMaximumSize(std::max(max.width(), form->width()), std::max(max.height(), form->height()));
}

} // namespace quorvel
