#include "skin/form/skinform.h"

#include "skin/data/skindata.h"
#include "skin/form/frameclient.h"
#include "skin/form/frameinput.h"
#include "skin/form/framelayout.h"
#include "skin/form/framemenus.h"
#include "skin/form/framepainter.h"
#include "skin/form/frameskin.h"
#include "skin/form/framewindowstates.h"

#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace quorvel {

SkinForm::SkinForm(QWidget* form)
    : QObject(form), form_(form), layout_(std::make_unique<FrameLayout>(*this)),
      painter_(std::make_unique<FramePainter>(*this)), skin_(std::make_unique<FrameSkin>(*this)),
      states_(std::make_unique<FrameWindowStates>(*this)), menus_(std::make_unique<FrameMenus>(*this)),
      input_(std::make_unique<FrameInput>(*this)), Menu(menus_->Menu), SkinMenuOpen(menus_->SkinMenuOpen)
{
    // The window system's frame gives way to ours.
    form_->setWindowFlags(form_->windowFlags() | Qt::Window | Qt::FramelessWindowHint);
    form_->setAttribute(Qt::WA_OpaquePaintEvent);
    form_->setMouseTracking(true);
    client_ = new FrameClient(*this, form_);
    form_->installEventFilter(this);
    skin_->CreateDefaultObjects();
    layout_->PlaceClientArea();
}

SkinForm::~SkinForm()
{
    form_->removeEventFilter(this);
    // The skin data's signal stops reaching the frame before any other part goes.
    skin_.reset();
}

QWidget* SkinForm::ClientArea() const { return client_; }

void SkinForm::SetBorderIcons(const BorderIcons& icons)
{
    borderIcons_ = icons;
    skin_->CreateDefaultObjects();
    skin_->ApplyButtonVisibility();
}

void SkinForm::SetSkinData(SkinData* data) { skin_->SetSkinData(data); }

SkinData* SkinForm::GetSkinData() const { return skin_->Data(); }

void SkinForm::SetFormClientSize(QSize client) { layout_->SetFormClientSize(client); }

bool SkinForm::NoBorder() const { return form_->windowState() & Qt::WindowFullScreen; }

void SkinForm::PopupSkinMenu(QMenu* menu, const QRect& anchor, bool openUpwards)
{
    menus_->PopupSkinMenu(menu, anchor, openUpwards);
}

void SkinForm::PopupSystemMenu(const QPoint& screenPoint) { menus_->PopupSystemMenu(screenPoint); }

bool SkinForm::InSkinMenuMode() const { return menus_->InSkinMenuMode(); }

// ---------------------------------------------------------------------------------------------
// What objects ask

void SkinForm::PaintObjectNow(ActiveSkinObject& object) { painter_->PaintObjectNow(object); }

bool SkinForm::IsActiveForDrawing() const { return form_->isActiveWindow(); }

FrameState SkinForm::GetFrameState() const { return states_->GetFrameState(); }

void SkinForm::SetFrameState(FrameState state) { states_->SetFrameState(state); }

bool SkinForm::RolledUp() const { return states_->RolledUp(); }

void SkinForm::SetRollUp(bool value) { states_->SetRollUp(value); }

void SkinForm::CloseForm() { form_->close(); }

void SkinForm::StartMorphTimer() { input_->StartMorphTimer(); }

void SkinForm::StartAnimateTimer() { input_->StartAnimateTimer(); }

QString SkinForm::FormCaption() const { return form_->windowTitle(); }

QImage SkinForm::SmallIcon() { return painter_->SmallIcon(); }

const FormInfo* SkinForm::SkinFormInfo() const { return skin_->SkinInUse ? &skin_->Data()->Info : nullptr; }

void SkinForm::TrackMenu(ActiveSkinObject& object, bool systemMenu) { menus_->TrackMenu(object, systemMenu); }

void SkinForm::FireMouseDown(const std::string& id, int x, int y, const SkinRect& rect, Qt::MouseButton button)
{
    if (OnMouseDownEvent)
        OnMouseDownEvent(id, x, y, rect, button);
}

void SkinForm::FireMouseUp(const std::string& id, int x, int y, const SkinRect& rect, Qt::MouseButton button)
{
    if (OnMouseUpEvent)
        OnMouseUpEvent(id, x, y, rect, button);
}

void SkinForm::FireMouseMove(const std::string& id, int x, int y, const SkinRect& rect)
{
    if (OnMouseMoveEvent)
        OnMouseMoveEvent(id, x, y, rect);
}

void SkinForm::FireMouseEnter(const std::string& id)
{
    if (OnMouseEnterEvent)
        OnMouseEnterEvent(id);
}

void SkinForm::FireMouseLeave(const std::string& id)
{
    if (OnMouseLeaveEvent)
        OnMouseLeaveEvent(id);
}

void SkinForm::FirePaint(const std::string& id, QPainter& canvas, const SkinRect& rect)
{
    if (OnPaintEvent)
        OnPaintEvent(id, canvas, rect);
}

// ---------------------------------------------------------------------------------------------
// Events of the form

void SkinForm::HandleShow()
{
    layout_->ApplyTrackSizes();
    layout_->NudgeWidth();
}

void SkinForm::HandleActivation()
{
    // As the window system tells it: first the frame's activation, then the window's.
    painter_->UpdateCaptionActive(true);
    input_->ResetHoverState();
    painter_->UpdateCaptionActive(true);
}

bool SkinForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != form_)
        return QObject::eventFilter(watched, event);
    if (event->type() == SkinMessageEvent::EventType()) {
        // The skinned menu tells its form that its last popup closed.
        if (static_cast<SkinMessageEvent*>(event)->Message == SKINMSG_MENU_CLOSED)
            menus_->LeaveSkinMenuMode();
        return false;
    }
    switch (event->type()) {
    case QEvent::Resize:
        layout_->HandleSize();
        break;
    case QEvent::Show:
        HandleShow();
        break;
    case QEvent::WindowActivate:
        HandleActivation();
        break;
    case QEvent::WindowDeactivate:
        HandleActivation();
        break;
    case QEvent::WindowTitleChange:
        painter_->SendNcPaint();
        break;
    case QEvent::WindowStateChange:
        states_->HandleWindowState();
        break;
    case QEvent::Hide:
        input_->LeaveTimer->stop();
        break;
    case QEvent::Paint: {
        if (NoBorder())
            return true;
        QPainter painter(form_);
        painter_->PaintFrame(painter);
        return true;
    }
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return input_->HandleMouse(event);
    default:
        break;
    }
    return false;
}

} // namespace quorvel
