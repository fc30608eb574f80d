#include "skin/form/skinstdbuttonobject.h"

#include "skin/data/dataskinobjects.h"
#include "skin/form/framecommand.h"
#include "skin/form/skinobjectowner.h"
#include "skin/render/skinutils.h"

#include <QPainter>
#include <QPalette>

namespace quorvel {

SkinStdButtonObject::SkinStdButtonObject(SkinObjectOwner& owner, std::string idName, SkinCommand command)
    : SkinButtonObject(owner, std::move(idName)), Command(command)
{
    ImagesInStatePicture = true;
    NormalRect = HotRect = DownRect = SkinRect{0, 0, 1, 1};
}

SkinStdButtonObject::SkinStdButtonObject(SkinObjectOwner& owner, const DataSkinStdButton& data,
                                         const SkinPictures& pictures)
    : SkinButtonObject(owner, data, pictures), HasSkinData(true), Command(data.command), RestoreRect(data.restoreRect),
      RestoreActiveRect(data.restoreActiveRect), RestoreDownRect(data.restoreDownRect),
      RestoreInactiveRect(data.restoreInactiveRect)
{
}

bool SkinStdButtonObject::ShowsFormIcon() const
{
    return Command == SkinCommand::SysMenu && OwnerFrame.ShowIcon() && ImagesInStatePicture;
}

bool SkinStdButtonObject::MorphStepPending() const
{
    if (ShowsFormIcon())
        return false;
    return SkinButtonObject::MorphStepPending();
}

bool SkinStdButtonObject::RestoreStateReached() const
{
    switch (Command) {
    case SkinCommand::Maximize:
        return OwnerFrame.GetFrameState() == FrameState::Maximized;
    case SkinCommand::Minimize:
        return OwnerFrame.GetFrameState() == FrameState::Minimized;
    case SkinCommand::RollUp:
        return OwnerFrame.RolledUp();
    default:
        return false;
    }
}

void SkinStdButtonObject::DrawOn(QPainter& canvas, bool update)
{
    if (!HasSkinData) {
        DrawDefaultButton(canvas);
        return;
    }
    const bool active = OwnerFrame.IsActiveForDrawing();
    if (Enabled && (active || InactiveRect.IsEmpty())) {
        if (ShowsFormIcon()) {
            canvas.drawImage(ObjectRect.left, ObjectRect.top, OwnerFrame.SmallIcon());
            MorphAmount = 0;
            return;
        }
        if (!RestoreRect.IsEmpty() && RestoreStateReached()) {
            if (!active && !RestoreInactiveRect.IsEmpty())
                CopyImage(canvas, StatePicture, RestoreInactiveRect);
            else if (Down && PointerInside && !RestoreDownRect.IsEmpty())
                CopyImage(canvas, StatePicture, RestoreDownRect);
            else if (MorphUnderWay())
                DrawBlend(canvas, StatePicture, RestoreRect, StatePicture, RestoreActiveRect);
            else if (Hot && !RestoreActiveRect.IsEmpty())
                CopyImage(canvas, StatePicture, RestoreActiveRect);
            else
                CopyImage(canvas, StatePicture, RestoreRect);
            return;
        }
    }
    DrawButton(canvas, update);
}

void SkinStdButtonObject::DrawDefaultButton(QPainter& canvas)
{
    if (Command == SkinCommand::SysMenu && OwnerFrame.ShowIcon()) {
        canvas.drawImage(ObjectRect.left, ObjectRect.top, OwnerFrame.SmallIcon());
        return;
    }
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w < 1 || h < 1)
        return;
    const QPalette palette;
    QImage bitmap(w, h, QImage::Format_RGB32);
    const bool pressed = Down && PointerInside;
    const QColor navy(0, 0, 128);
    if (pressed || PointerInside) {
        bitmap.fill(navy);
        QPainter fill(&bitmap);
        fill.fillRect(1, 1, w - 2, h - 2, pressed ? QColor(133, 147, 181) : QColor(182, 189, 210));
    } else {
        bitmap.fill(palette.color(QPalette::Button));
    }
    const int a = pressed ? w / 2 - 4 : w / 2 - 5;
    const int b = pressed ? h / 2 - 3 : h / 2 - 4;
    const QColor ink = palette.color(Enabled ? QPalette::ButtonText : QPalette::Dark);
    QPainter p(&bitmap);
    const FrameState state = OwnerFrame.GetFrameState();
    switch (Command) {
    case SkinCommand::Close:
        DrawCaptionGlyph(p, a, b, ink, CaptionGlyph::Close);
        break;
    case SkinCommand::Maximize:
        DrawCaptionGlyph(p, a, b, ink, state == FrameState::Maximized ? CaptionGlyph::Restore : CaptionGlyph::Maximize);
        break;
    case SkinCommand::Minimize:
        DrawCaptionGlyph(p, a, b, ink, state == FrameState::Minimized ? CaptionGlyph::Restore : CaptionGlyph::Minimize);
        break;
    case SkinCommand::SysMenu:
        DrawCaptionGlyph(p, a, b, ink, CaptionGlyph::SysMenu);
        break;
    case SkinCommand::RollUp:
        DrawCaptionGlyph(p, a, b, ink, OwnerFrame.RolledUp() ? CaptionGlyph::RollDown : CaptionGlyph::RollUp);
        break;
    case SkinCommand::MinimizeToTray:
        DrawCaptionGlyph(p, a, b, ink, CaptionGlyph::ToTray);
        break;
    case SkinCommand::Default:
        break;
    }
    p.end();
    canvas.drawImage(ObjectRect.left, ObjectRect.top, bitmap);
}

void SkinStdButtonObject::HandleMouseDown(int, int, Qt::MouseButton button)
{
    // A caption button reports no press of its own.
    if (!Enabled || button != Qt::LeftButton || Down)
        return;
    SetDown(true);
    if (Command == SkinCommand::SysMenu) {
        HasMenu = true;
        OwnerFrame.TrackMenu(*this, true);
    }
}

void SkinStdButtonObject::HandleMouseUp(int x, int y, Qt::MouseButton button)
{
    const bool run = Hot && button == Qt::LeftButton;
    if (Command == SkinCommand::Close) {
        // Drawn released, and its release reported, before the window goes.
        ButtonMouseUp(x, y, button);
        if (run)
            RunCommand();
        return;
    }
    if (run)
        RunCommand();
    ButtonMouseUp(x, y, button);
}

void SkinStdButtonObject::HandleDoubleClick()
{
    if (Command == SkinCommand::SysMenu)
        OwnerFrame.CloseForm();
}

void SkinStdButtonObject::RunCommand() { RunFrameCommand(OwnerFrame, Command); }

} // namespace quorvel
