#include "skin/form/frameskin.h"

#include "skin/form/frameinput.h"
#include "skin/form/framelayout.h"
#include "skin/form/framepainter.h"
#include "skin/form/skinform.h"

#include <QTimer>
#include <QWidget>

namespace quorvel {

FrameSkin::FrameSkin(SkinForm& frame) : frame_(frame) { }

FrameSkin::~FrameSkin() { QObject::disconnect(changes_); }

void FrameSkin::SetSkinData(SkinData* data)
{
    QObject::disconnect(changes_);
    skinData_ = data;
    if (data)
        changes_ = QObject::connect(data, &SkinData::skinChanged, &frame_,
                                    [this](SkinMessage kind) { SkinDataChanged(kind); });
    ApplyFrameSkin();
}

bool FrameSkin::Usable() const { return skinData_ && !skinData_->Empty && !pictures_.Picture().isNull(); }

void FrameSkin::SkinDataChanged(SkinMessage kind)
{
    switch (kind) {
    case SKINMSG_BEFORE_CHANGE: {
        // The objects of the old skin go before its pictures do.
        SkinInUse = false;
        FrameInput& input = frame_.Input();
        input.LeaveTimer->stop();
        input.MorphTimer->stop();
        input.AnimateTimer->stop();
        Objects.Clear();
        input.ForgetObjects();
        break;
    }
    case SKINMSG_CHANGED:
        ApplyFrameSkin();
        break;
    case SKINMSG_STRINGS_CHANGED:
        AssignStandardHints();
        break;
    default:
        break;
    }
}

void FrameSkin::ApplyFrameSkin()
{
    frame_.Input().ForgetObjects();
    pictures_ = skinData_ && !skinData_->Empty ? SkinPictures(*skinData_) : SkinPictures();
    SkinInUse = Usable();
    FrameLayout& layout = frame_.Layout();
    if (SkinInUse) {
        CreateObjectsFromSkin();
        ApplyButtonVisibility();
    } else {
        Objects.Clear();
        layout.BuildFrameRegion();
    }
    if (!frame_.NoBorder())
        FitToTrackSizes();
    QWidget* form = frame_.Form();
    layout.FrameWidth = form->width();
    layout.FrameHeight = form->height();
    if (SkinInUse)
        layout.RebuildFrame();
    layout.PlaceClientArea();
    form->update();
    frame_.Painter().UpdateCaptionActive(true);
    frame_.Input().LeaveTimer->start();
}

void FrameSkin::FitToTrackSizes()
{
    // The size must still fit the track sizes of the new frame.
    FrameLayout& layout = frame_.Layout();
    QWidget* form = frame_.Form();
    layout.ApplyTrackSizes();
    const QRect b = form->geometry();
    const int minW = layout.MinTrackWidth(), minH = layout.MinTrackHeight();
    if (b.width() < minW && b.height() < minH)
        form->resize(minW, minH);
    else if (b.height() < minH)
        form->resize(b.width(), minH);
    else if (b.width() < minW)
        form->resize(minW, b.height());
    const FrameState state = frame_.GetFrameState();
    if ((frame_.RolledUp() || state == FrameState::Minimized) && form->height() != minH)
        form->resize(form->width(), minH);
    if (state == FrameState::Minimized && form->width() != minW)
        form->resize(minW, form->height());
}

void FrameSkin::CreateObjectsFromSkin()
{
    if (skinData_)
        Objects.CreateFromSkin(frame_, *skinData_, pictures_);
}

void FrameSkin::CreateDefaultObjects()
{
    Objects.CreateDefault(frame_);
    ApplyButtonVisibility();
}

void FrameSkin::ApplyButtonVisibility()
{
    if (Objects.Empty())
        return;
    FrameObjects::Visibility rules;
    rules.hideCaptionButtons = frame_.Settings.HideCaptionButtons;
    rules.borderIcons = frame_.GetBorderIcons();
    if (frame_.OnActivateCustomObject)
        rules.activateCustomObject = [this](const std::string& id) {
            bool visible = false;
            frame_.OnActivateCustomObject(id, visible);
            return visible;
        };
    Objects.ApplyButtonVisibility(rules);
    AssignStandardHints();
}

void FrameSkin::AssignStandardHints()
{
    if (skinData_)
        Objects.AssignStandardHints(skinData_->GetResourceStrData());
}

} // namespace quorvel
