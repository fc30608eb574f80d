#pragma once

#include "skin/form/framegeometry.h"
#include "skin/form/framehittest.h"
#include "skin/form/frameobjects.h"
#include "skin/form/framestate.h"
#include "skin/form/skinobjectowner.h"
#include "skin/render/skinpictures.h"

#include <QFont>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QRegion>
#include <functional>

class QMenu;
class QPainter;
class QTimer;
class QWidget;

namespace quorvel {

class FrameClient;
class SkinData;
class SkinMenu;
class SkinMenuMode;

// Takes a form's whole frame over: the form becomes a frameless window whose outer strip is
// drawn from the skin's frame picture, cut to the skin's mask, with the caption text and the
// caption buttons as skin objects; the form's controls live in the client area inside it.
// It answers what each point of the frame is, moves the window by its caption and keeps its
// own window states: normal, minimized, maximized and rolled up. Without a skin it draws a plain
// frame of its own.
class SkinForm : public QObject, public SkinObjectOwner {
    Q_OBJECT
public:
    explicit SkinForm(QWidget* form);
    ~SkinForm() override;

    QWidget* Form() const { return form_; }
    // The widget that holds the form's controls; it covers the client area.
    QWidget* ClientArea() const;

    // Settings, as the form's layout gives them.
    int ClientWidth = 0, ClientHeight = 0;
    bool HideCaptionButtons = false;
    bool AlwaysShowInTray = false;
    QImage LogoBitMap;
    bool LogoBitMapTransparent = false;
    bool UseSkinFontInMenu = true;
    bool MaximizeOnFullScreen = false;
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    int AlphaBlendValue = 200;
    bool ShowObjectHint = false;
    bool UseDefaultObjectHint = true;
    bool MenusAlphaBlend = false;
    bool MenusAlphaBlendAnimation = false;
    int MenusAlphaBlendValue = 200;
    QFont DefCaptionFont, DefInActiveCaptionFont, DefMenuItemFont;
    QColor DefCaptionFontColor, DefInActiveCaptionFontColor;
    int DefMenuItemHeight = 20;
    bool UseDefaultSysMenu = true;
    int MinHeight = 0, MinWidth = 0;
    bool Magnetic = false;
    int MagneticSize = 5;
    // The border lets the user size the window by its edges; the player's window has a single,
    // fixed border.
    bool Sizeable = false;
    // The application's main window: minimizing it minimizes the application.
    bool MainForm = true;

    void SetBorderIcons(const BorderIcons& icons);
    const BorderIcons& GetBorderIcons() const { return borderIcons_; }
    void SetShowIcon(bool value);
    void SetAlwaysMinimizeToTray(bool value) { alwaysMinimizeToTray_ = value; }
    void SetSkinData(SkinData* data);
    SkinData* GetSkinData() const;

    // Events.
    std::function<void()> OnActivate, OnDeActivate, OnChangeSkinData, OnChangeRollUpState;
    std::function<void()> OnMinimizeToTray, OnRestoreFromTray, OnSkinMenuOpen, OnSkinMenuClose;
    std::function<void(const std::string& id, int x, int y, const SkinRect& rect, Qt::MouseButton button)>
        OnMouseDownEvent, OnMouseUpEvent;
    std::function<void(const std::string& id, int x, int y, const SkinRect& rect)> OnMouseMoveEvent;
    std::function<void(const std::string& id)> OnMouseEnterEvent, OnMouseLeaveEvent;
    std::function<void(const std::string& id, QPainter& canvas, const SkinRect& rect)> OnPaintEvent;
    std::function<void(const std::string& id, bool& objectVisible)> OnActivateCustomObject;

    // Menus: the application's own system menu (none: the frame's standard one), the skin the
    // popups are drawn from (none: the frame's), and the menu engine.
    QMenu* SystemMenu = nullptr;
    SkinData* MenusSkinData = nullptr;
    QMenu* DefaultSystemMenu = nullptr;
    SkinMenu* Menu = nullptr;
    // The system menu for the frame's present state.
    QMenu* GetSystemMenuItems();
    void BuildSystemMenu();
    // Shows the menu's items as skinned popups at the anchor (screen coordinates).
    void PopupSkinMenu(QMenu* menu, const QRect& anchor, bool openUpwards);
    // The system menu at a screen point, as a right press on the caption opens it.
    void PopupSystemMenu(const QPoint& screenPoint);
    bool InSkinMenuMode() const;

    // Frame state.
    bool SkinInUse = false;
    bool FormActive = false;
    bool RolledUpMaximized = false;
    int HeightBeforeRollUp = 0;
    QRect NormalBounds; // null when not saved
    bool InSizeMove = false;
    int FrameWidth = 0, FrameHeight = 0;
    FrameGeometry Geometry;
    MaskStrips Strips;
    FrameObjects Objects;
    int HotIndex = -1, PrevHotIndex = -1, PressedIndex = -1;
    QTimer* LeaveTimer = nullptr;
    QTimer* MorphTimer = nullptr;
    QTimer* AnimateTimer = nullptr;
    bool SkinMenuOpen = false;
    bool KeyboardMenuLoop = false;

    // The window size that gives the client area that size, and the client area of a window
    // of a size.
    QSize WindowSizeForClient(QSize client) const;
    QRect ClientRectFor(QSize window) const;
    // Sizes the window so that its client area has this size.
    void SetFormClientSize(QSize client);

    // Geometry, painting and outline.
    void ComputeFrameGeometry();
    void PlaceObjects();
    void RebuildFrame();
    void BuildFrameRegion();
    void PaintSkinnedFrame(QPainter& painter);
    void PaintDefaultFrame(QPainter& painter);
    void PaintClientBackground(QPainter& painter, const QRect& client);
    void UpdateCaptionActive(bool repaint);
    void ApplyFrameSkin();
    void NudgeWidth();
    // The frame must be drawn anew.
    void SendNcPaint();

    // Objects.
    void CreateObjectsFromSkin();
    void CreateDefaultObjects();
    void ApplyButtonVisibility();
    void AssignStandardHints();
    void ResetHoverState();

    // Input.
    int HitTest(int x, int y);
    int SkinnedHitTest(int x, int y);
    int DefaultHitTest(int x, int y);
    void HoverTracking(int x, int y, bool inside);
    void Press(Qt::MouseButton button, int x, int y);
    void Release(Qt::MouseButton button, int x, int y);
    void CaptionDoubleClick();
    // The ticks of the three timers.
    void LeaveTimerTick();
    void MorphTimerTick();
    void AnimateTimerTick();
    int MinTrackWidth() const;
    int MinTrackHeight() const;
    QSize MaxTrackSize() const;

    // Window states.
    void SetRollUp(bool value) override;
    void RestoreFromTray();

    // What objects ask of their frame.
    void PaintObjectNow(ActiveSkinObject& object) override;
    bool IsActiveForDrawing() const override;
    FrameState GetFrameState() const override { return frameState_; }
    void SetFrameState(FrameState state) override;
    bool RolledUp() const override { return rolledUp_; }
    bool AlwaysMinimizeToTray() const override { return alwaysMinimizeToTray_; }
    void MinimizeToTray() override;
    bool ShowIcon() const override { return showIcon_; }
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

    // The frame pieces as last composed (top, bottom, left, right), for tests and benchmarks.
    const QImage& Piece(int index) const { return pieces_[index]; }
    const QRegion& FrameRegion() const { return region_; }
    bool HasFrameRegion() const { return hasRegion_; }
    const SkinPictures& Pictures() const { return pictures_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The form shows without any border of its own: full screen.
    bool NoBorder() const;
    HitTestState HitState(int x, int y) const;
    bool SkinUsable() const;
    void HandleSize();
    void SyncSize();
    void HandleShow();
    void HandleActivation(bool active);
    void HandleSkinMessage(int message, SkinData* data);
    // Tells the form's skinned controls of a skin change: forget their sections before it,
    // take the new skin after it.
    void WalkSkinnedControls(QWidget* parent, SkinData* data, bool forget);
    void HandleWindowState();
    bool HandleMouse(QEvent* event);
    void EnterSizeMove();
    void ExitSizeMove();
    void PlaceClientArea();
    void ApplyTrackSizes();
    void ApplyRegion(const QRegion* region);
    void ComposePieces();
    bool InLowerPiece(const ActiveSkinObject& object) const;
    void DrawObjectOn(QPainter& piecePainter, ActiveSkinObject& object, bool update);
    void DrawObjectIntoPiece(ActiveSkinObject& object, bool update);
    QRect DefaultClientRect(QSize window) const;
    SkinRect DefaultCaptionTextRect();
    void MinimizeOtherForm();

    void LeaveSkinMenuMode();
    void RunSystemCommand(const std::string& item);

    QWidget* form_;
    FrameClient* client_ = nullptr;
    SkinMenuMode* menuMode_ = nullptr;
    QPointer<SkinData> skinData_;
    SkinPictures pictures_;
    BorderIcons borderIcons_{false, true, true, true, false};
    FrameState frameState_ = FrameState::Normal;
    bool rolledUp_ = false;
    bool showIcon_ = false;
    bool alwaysMinimizeToTray_ = false;
    QImage smallIcon_;
    // The composed frame: top, bottom, left and right pieces, at the screen's pixel density.
    QImage pieces_[4];
    bool piecesValid_ = false;
    QRegion region_;
    bool hasRegion_ = false;
    // A press on the caption that may become a move of the window.
    bool captionPressed_ = false;
    bool movingByHand_ = false;
    QPoint pressScreenPos_;
    QPoint pressWindowPos_;
};

} // namespace quorvel
