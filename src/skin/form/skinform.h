#pragma once

#include "skin/form/framesettings.h"
#include "skin/form/framestate.h"
#include "skin/form/skinobjectowner.h"

#include <QObject>

#include <functional>
#include <memory>

class QMenu;
class QPainter;
class QWidget;

namespace quorvel {

class FrameClient;
class FrameInput;
class FrameLayout;
class FrameMenus;
class FramePainter;
class FrameSkin;
class FrameWindowStates;
class SkinData;
class SkinMenu;

// Takes a form's whole frame over: the form becomes a frameless window whose outer strip is
// drawn from the skin's frame picture, cut to the skin's mask, with the caption text and the
// caption buttons as skin objects; the form's controls live in the client area inside it.
// Without a skin it draws a plain frame of its own.
//
// The frame is made of parts, each with one concern, that this class creates and wires
// together: the layout (geometry, placement, outline, track sizes), the painter (the frame's
// pieces and the client background), the skin (objects from the skin data, following its
// changes), the window states (maximize, minimize, roll-up), the menus (system menu, skin menu
// mode) and the input (hit testing, hover, press and release, moving by the caption). The
// form's events reach the parts from here.
class SkinForm : public QObject, public SkinObjectOwner {
    Q_OBJECT
    // First: the parts exist before the public names bound to them.
    QWidget* form_;
    FrameClient* client_ = nullptr;
    BorderIcons borderIcons_{false, true, true, true, false};
    std::unique_ptr<FrameLayout> layout_;
    std::unique_ptr<FramePainter> painter_;
    std::unique_ptr<FrameSkin> skin_;
    std::unique_ptr<FrameWindowStates> states_;
    std::unique_ptr<FrameMenus> menus_;
    std::unique_ptr<FrameInput> input_;

public:
    explicit SkinForm(QWidget* form);
    ~SkinForm() override;

    QWidget* Form() const { return form_; }
    // The widget that holds the form's controls; it covers the client area.
    QWidget* ClientArea() const;

    // Settings, as the form's layout gives them.
    FrameSettings Settings;

    void SetBorderIcons(const BorderIcons& icons);
    const BorderIcons& GetBorderIcons() const { return borderIcons_; }
    void SetSkinData(SkinData* data);
    SkinData* GetSkinData() const;
    // Sizes the window so that its client area has this size.
    void SetFormClientSize(QSize client);

    // Events.
    std::function<void()> OnActivate, OnDeActivate, OnChangeRollUpState, OnSkinMenuOpen, OnSkinMenuClose;
    std::function<void(const std::string&id, int x, int y, const SkinRect&rect, Qt::MouseButton button)>
        OnMouseDownEvent, OnMouseUpEvent;
    std::function<void(const std::string& id, int x, int y, const SkinRect& rect)> OnMouseMoveEvent;
    std::function<void(const std::string&id)> OnMouseEnterEvent, OnMouseLeaveEvent;
    std::function<void(const std::string& id, QPainter& canvas, const SkinRect& rect)> OnPaintEvent;
    std::function<void(const std::string& id, bool& objectVisible)> OnActivateCustomObject;

    // The parts.
    FrameLayout& Layout() const { return *layout_; }
    FramePainter& Painter() const { return *painter_; }
    FrameSkin& Skin() const { return *skin_; }
    FrameWindowStates& States() const { return *states_; }
    FrameMenus& Menus() const { return *menus_; }
    FrameInput& Input() const { return *input_; }

    // The menu engine, and whether a skinned menu of the frame is open (the menus' own).
    SkinMenu* const Menu;
    const bool& SkinMenuOpen;
    // Shows the menu's items as skinned popups at the anchor (screen coordinates).
    void PopupSkinMenu(QMenu* menu, const QRect& anchor, bool openUpwards);
    // The system menu at a screen point, as a right press on the caption opens it.
    void PopupSystemMenu(const QPoint& screenPoint);
    bool InSkinMenuMode() const;

    // The form shows without any border of its own: full screen.
    bool NoBorder() const;

    // What objects ask of their frame.
    void PaintObjectNow(ActiveSkinObject& object) override;
    bool IsActiveForDrawing() const override;
    FrameState GetFrameState() const override;
    void SetFrameState(FrameState state) override;
    bool RolledUp() const override;
    void SetRollUp(bool value) override;
    // There is no tray icon to minimize to.
    bool AlwaysMinimizeToTray() const override { return false; }
    void MinimizeToTray() override { }
    // The caption shows no icon of the form's.
    bool ShowIcon() const override { return false; }
    void CloseForm() override;
    void StartMorphTimer() override;
    void StartAnimateTimer() override;
    QString FormCaption() const override;
    QImage SmallIcon() override;
    const FormInfo* SkinFormInfo() const override;
    void TrackMenu(ActiveSkinObject& object, bool systemMenu) override;
    void FireMouseDown(const std::string& id, int x, int y, const SkinRect& rect, Qt::MouseButton button) override;
    void FireMouseUp(const std::string& id, int x, int y, const SkinRect& rect, Qt::MouseButton button) override;
    void FireMouseMove(const std::string& id, int x, int y, const SkinRect& rect) override;
    void FireMouseEnter(const std::string& id) override;
    void FireMouseLeave(const std::string& id) override;
    void FirePaint(const std::string& id, QPainter& canvas, const SkinRect& rect) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void HandleShow();
    void HandleActivation();
};

} // namespace quorvel
