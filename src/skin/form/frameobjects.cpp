#include "skin/form/frameobjects.h"

#include "skin/data/dataskinobjects.h"
#include "skin/data/resourcestrdata.h"
#include "skin/data/skindata.h"
#include "skin/form/skinanimateobject.h"
#include "skin/form/skincaptionobject.h"
#include "skin/form/skinstdbuttonobject.h"
#include "skin/form/userobject.h"
#include "skin/render/skinpictures.h"
#include "skin/render/skinutils.h"

#include <QCoreApplication>

#include <array>

namespace quorvel {
namespace {

bool InArea(const SkinPoint& p, const SkinRect& a) { return PointHitsRect(p.x, p.y, a); }

SkinRect Moved(SkinRect r, int dx, int dy) { return SkinRect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

// Where a rectangle of the frame picture goes on a frame of another size: with the corner it
// lies in, or growing along the side it spans.
SkinRect FollowFrame(const SkinRect& r, const FormInfo& info, int PW, int PH, int dx, int dy)
{
    const SkinPoint &LT = info.lefttoppoint, &RT = info.righttoppoint, &LB = info.leftbottompoint,
                    &RB = info.rightbottompoint;
    const SkinRect LTA{0, 0, LT.x, LT.y}, RTA{RT.x, 0, PW, RT.y}, LBA{0, LB.y, LB.x, PH}, RBA{RB.x, RB.y, PW, PH};
    const SkinPoint tl{r.left, r.top}, br{r.right, r.bottom};
    auto whole = [&](const SkinRect& a) { return InArea(tl, a) && InArea(br, a); };
    if (whole(LTA))
        return r;
    if (whole(RTA))
        return Moved(r, dx, 0);
    if (whole(LBA))
        return Moved(r, 0, dy);
    if (whole(RBA))
        return Moved(r, dx, dy);
    SkinRect n = r;
    if (InArea(tl, LTA) && InArea(br, RBA)) {
        n.right += dx;
        n.bottom += dy;
    } else if (InArea(tl, LTA) && InArea(br, RTA)) {
        n.right += dx;
    } else if (InArea(tl, LBA) && InArea(br, RBA)) {
        n.right += dx;
        n = Moved(n, 0, dy);
    } else if (InArea(tl, LTA) && InArea(br, LBA)) {
        n.bottom += dy;
    } else if (InArea(tl, RTA) && InArea(br, RBA)) {
        n = Moved(n, dx, 0);
        n.bottom += dy;
    }
    return n;
}

struct HintText {
    SkinCommand command;
    const char* name;
    const char* builtIn;
};

constexpr std::array<HintText, 6> kHints = {{
    {SkinCommand::Close, "CLOSEBUTTON_HINT", "关闭"},
    {SkinCommand::Maximize, "MAXBUTTON_HINT", "最大化"},
    {SkinCommand::Minimize, "MINBUTTON_HINT", "最小化"},
    {SkinCommand::SysMenu, "MENUBUTTON_HINT", "系统菜单"},
    {SkinCommand::RollUp, "ROLLUPBUTTON_HINT", "卷起"},
    {SkinCommand::MinimizeToTray, "TRAYBUTTON_HINT", "最小化到系统托盘区"},
}};

bool Allowed(SkinCommand command, const BorderIcons& icons)
{
    switch (command) {
    case SkinCommand::Close:
        return true;
    case SkinCommand::Maximize:
        return icons.Has(BorderIcon::Maximize);
    case SkinCommand::Minimize:
        return icons.Has(BorderIcon::Minimize);
    case SkinCommand::SysMenu:
        return icons.Has(BorderIcon::SystemMenu);
    case SkinCommand::RollUp:
        return icons.Has(BorderIcon::RollUp);
    case SkinCommand::MinimizeToTray:
        return icons.Has(BorderIcon::MinimizeToTray);
    case SkinCommand::Default:
        return false;
    }
    return false;
}

} // namespace

SkinCommand ObjectCommand(const ActiveSkinObject& object)
{
    if (const auto* b = dynamic_cast<const SkinStdButtonObject*>(&object))
        return b->Command;
    if (const auto* a = dynamic_cast<const SkinAnimateObject*>(&object))
        return a->Command;
    return SkinCommand::Default;
}

bool IsCaptionButtonKind(const ActiveSkinObject& object)
{
    return dynamic_cast<const SkinStdButtonObject*>(&object) || dynamic_cast<const SkinAnimateObject*>(&object);
}

ActiveSkinObject* FrameObjects::At(int index) const
{
    return index >= 0 && index < Count() ? objects_[static_cast<std::size_t>(index)].get() : nullptr;
}

int FrameObjects::IndexOf(const ActiveSkinObject* object) const
{
    for (int i = 0; i < Count(); ++i)
        if (objects_[static_cast<std::size_t>(i)].get() == object)
            return i;
    return -1;
}

void FrameObjects::Clear() { objects_.clear(); }

void FrameObjects::CreateFromSkin(SkinObjectOwner& owner, const SkinData& data, const SkinPictures& pictures)
{
    Clear();
    for (const auto& section : data.SkinObjects) {
        const DataSkinObject* s = section.get();
        // Menus and menu bars draw these sections themselves.
        if (dynamic_cast<const DataSkinMenuItem*>(s) || dynamic_cast<const DataSkinMainMenuItem*>(s) ||
            dynamic_cast<const DataSkinMainMenuBarButton*>(s))
            continue;
        // A standard button is tested before the plain button it derives from.
        if (const auto* std = dynamic_cast<const DataSkinStdButton*>(s))
            objects_.push_back(std::make_unique<SkinStdButtonObject>(owner, *std, pictures));
        else if (const auto* button = dynamic_cast<const DataSkinButton*>(s))
            objects_.push_back(std::make_unique<SkinButtonObject>(owner, *button, pictures));
        else if (const auto* caption = dynamic_cast<const DataSkinCaption*>(s))
            objects_.push_back(std::make_unique<SkinCaptionObject>(owner, *caption, pictures));
        else if (const auto* animate = dynamic_cast<const DataSkinAnimate*>(s))
            objects_.push_back(std::make_unique<SkinAnimateObject>(owner, *animate, pictures));
        else if (const auto* user = dynamic_cast<const DataUserObject*>(s))
            objects_.push_back(std::make_unique<UserObject>(owner, *user, pictures));
    }
}

void FrameObjects::CreateDefault(SkinObjectOwner& owner)
{
    Clear();
    const std::pair<const char*, SkinCommand> buttons[] = {
        {"closebutton", SkinCommand::Close},     {"maxbutton", SkinCommand::Maximize},
        {"minbutton", SkinCommand::Minimize},    {"rollupbutton", SkinCommand::RollUp},
        {"sysmenubutton", SkinCommand::SysMenu}, {"traybutton", SkinCommand::MinimizeToTray},
    };
    for (const auto& [name, command] : buttons)
        objects_.push_back(std::make_unique<SkinStdButtonObject>(owner, name, command));
}

void FrameObjects::ApplyButtonVisibility(const Visibility& rules)
{
    for (const auto& o : objects_) {
        const auto* animate = dynamic_cast<const SkinAnimateObject*>(o.get());
        if (!IsCaptionButtonKind(*o))
            continue;
        if (rules.hideCaptionButtons) {
            o->Enabled = false;
            o->Visible = !o->ImagesInStatePicture;
            continue;
        }
        if (animate && !animate->ButtonStyle)
            continue;
        const SkinCommand command = ObjectCommand(*o);
        if (command == SkinCommand::Default) {
            o->Visible = rules.activateCustomObject && rules.activateCustomObject(o->IDName);
        } else if (!Allowed(command, rules.borderIcons)) {
            // Drawn from the frame picture it stays, inert; from a state picture it goes.
            o->Enabled = false;
            o->Visible = !o->ImagesInStatePicture;
        }
    }
}

void FrameObjects::AssignStandardHints(const ResourceStrData* strings)
{
    for (const auto& o : objects_) {
        if (!IsCaptionButtonKind(*o))
            continue;
        const SkinCommand command = ObjectCommand(*o);
        for (const HintText& h : kHints)
            if (h.command == command)
                o->Hint = strings ? strings->GetResStr(h.name)
                                  : QCoreApplication::translate("FrameHints", h.builtIn).toStdString();
    }
}

void FrameObjects::Place(const FrameGeometry& g, const FormInfo& info, int PW, int PH, bool showIcon, QSize smallIcon)
{
    const int dx = g.RightBottom.x - info.rightbottompoint.x;
    const int dy = g.RightBottom.y - info.rightbottompoint.y;
    for (const auto& o : objects_)
        if (!o->ImagesInStatePicture)
            o->ObjectRect = FollowFrame(o->NormalRect, info, PW, PH, dx, dy);

    std::vector<ActiveSkinObject*> buttons;
    for (const auto& o : objects_)
        if (IsCaptionButtonKind(*o) && o->Visible && o->ImagesInStatePicture)
            buttons.push_back(o.get());
    const SkinRect anchor = !g.ButtonsRect.IsEmpty() ? g.ButtonsRect : g.CaptionRect;
    if (anchor.IsEmpty())
        return;
    auto sizeOf = [&](const ActiveSkinObject* b) {
        if (ObjectCommand(*b) == SkinCommand::SysMenu && showIcon && dynamic_cast<const SkinStdButtonObject*>(b))
            return QSize(smallIcon.width(), smallIcon.height());
        return QSize(b->NormalRect.Width(), b->NormalRect.Height());
    };
    auto first = [&](SkinCommand c) -> ActiveSkinObject* {
        for (ActiveSkinObject* b : buttons)
            if (ObjectCommand(*b) == c)
                return b;
        return nullptr;
    };
    // The row: one button per command in this order, then every application button.
    std::vector<ActiveSkinObject*> row;
    for (SkinCommand c : {SkinCommand::Close, SkinCommand::Maximize, SkinCommand::Minimize, SkinCommand::RollUp,
                          SkinCommand::MinimizeToTray})
        if (ActiveSkinObject* b = first(c))
            row.push_back(b);
    for (ActiveSkinObject* b : buttons)
        if (ObjectCommand(*b) == SkinCommand::Default)
            row.push_back(b);
    const int o = g.ButtonsOffset, Y = anchor.top;
    SkinCaptionObject* caption = FirstCaption();
    ActiveSkinObject* sysMenu = first(SkinCommand::SysMenu);
    if (!g.ButtonsInLeft) {
        int X = anchor.right;
        for (ActiveSkinObject* b : row) {
            const QSize s = sizeOf(b);
            b->ObjectRect = SkinRect{X - s.width(), Y, X, Y + s.height()};
            X -= o + s.width();
        }
        if (g.ButtonsRect.IsEmpty() && caption)
            caption->ObjectRect.right = X + o;
        if (sysMenu) {
            const QSize s = sizeOf(sysMenu);
            const SkinRect& c = g.CaptionRect;
            X = c.left;
            const int top = c.top + c.Height() / 2 - s.height() / 2;
            sysMenu->ObjectRect = SkinRect{X, top, X + s.width(), top + s.height()};
            X += o + s.width();
            if (caption)
                caption->ObjectRect.left = X - o;
        }
    } else {
        int X = anchor.left;
        for (ActiveSkinObject* b : row) {
            const QSize s = sizeOf(b);
            b->ObjectRect = SkinRect{X, Y, X + s.width(), Y + s.height()};
            X += o + s.width();
        }
        if (g.ButtonsRect.IsEmpty()) {
            if (sysMenu) {
                const QSize s = sizeOf(sysMenu);
                sysMenu->ObjectRect = SkinRect{X, Y, X + s.width(), Y + s.height()};
                X += o + s.width();
            }
            if (caption)
                caption->ObjectRect.left = X + o;
        }
    }
}

void FrameObjects::ResetHoverState()
{
    for (const auto& o : objects_) {
        if (auto* a = dynamic_cast<SkinAnimateObject*>(o.get())) {
            a->PointerInside = a->Hot = false;
            a->Frame = 1;
        } else if (!dynamic_cast<SkinCaptionObject*>(o.get())) {
            o->Hot = o->PointerInside = false;
            o->MorphAmount = 0;
        }
    }
}

bool FrameObjects::MorphTick()
{
    bool stepped = false;
    for (std::size_t i = 0; i < objects_.size(); ++i) {
        ActiveSkinObject* o = objects_[i].get();
        if (o->Morphing && o->MorphStepPending()) {
            o->MorphStep();
            stepped = true;
        }
    }
    return stepped;
}

bool FrameObjects::AnimateTick()
{
    bool playing = false;
    for (const auto& o : objects_)
        if (auto* a = dynamic_cast<SkinAnimateObject*>(o.get()); a && a->Hot) {
            a->AnimateStep();
            playing = true;
        }
    return playing;
}

SkinCaptionObject* FrameObjects::FirstCaption() const
{
    for (const auto& o : objects_)
        if (auto* c = dynamic_cast<SkinCaptionObject*>(o.get()))
            return c;
    return nullptr;
}

bool FrameObjects::PointOnCaption(int x, int y) const
{
    for (const auto& o : objects_)
        if (dynamic_cast<const SkinCaptionObject*>(o.get())) {
            const SkinRect& r = o->ObjectRect;
            if (PointHitsRect(x, y, r))
                return true;
        }
    return false;
}

} // namespace quorvel
