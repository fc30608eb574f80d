#pragma once

namespace quorvel {

// The frame's own window state; rolling up is a separate flag.
enum class FrameState { Normal, Minimized, Maximized };

// The caption buttons and system menu items a frame may have.
enum class BorderIcon { SystemMenu, Minimize, Maximize, RollUp, MinimizeToTray };

// A set of border icons.
struct BorderIcons {
    bool systemMenu = true, minimize = true, maximize = true, rollUp = true, minimizeToTray = false;
    bool Has(BorderIcon icon) const;
};

// What a point of the window is, as the frame answers it.
enum HitTestCode : int {
    HTNOWHERE = 0,
    HTCLIENT = 1,
    HTCAPTION = 2,
    HTLEFT = 10,
    HTRIGHT = 11,
    HTTOP = 12,
    HTTOPLEFT = 13,
    HTTOPRIGHT = 14,
    HTBOTTOM = 15,
    HTBOTTOMLEFT = 16,
    HTBOTTOMRIGHT = 17,
    // Any other part of the frame: the frame's own pointer handling takes it.
    HTOBJECT = 19,
};

} // namespace quorvel
