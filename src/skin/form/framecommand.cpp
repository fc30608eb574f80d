#include "skin/form/framecommand.h"

#include "skin/form/skinobjectowner.h"

namespace quorvel {

bool RunFrameCommand(SkinObjectOwner& frame, SkinCommand command)
{
    const FrameState state = frame.GetFrameState();
    switch (command) {
    case SkinCommand::Close:
        frame.CloseForm();
        return true;
    case SkinCommand::Maximize:
        frame.SetFrameState(state == FrameState::Maximized ? FrameState::Normal : FrameState::Maximized);
        return true;
    case SkinCommand::Minimize:
        if (frame.AlwaysMinimizeToTray())
            frame.MinimizeToTray();
        else
            frame.SetFrameState(state == FrameState::Minimized ? FrameState::Normal : FrameState::Minimized);
        return true;
    case SkinCommand::RollUp:
        frame.SetRollUp(!frame.RolledUp());
        return true;
    case SkinCommand::MinimizeToTray:
        frame.MinimizeToTray();
        return true;
    case SkinCommand::SysMenu:
    case SkinCommand::Default:
        return false;
    }
    return false;
}

} // namespace quorvel
