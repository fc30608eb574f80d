#pragma once

class QKeyEvent;

namespace quorvel {

// A key press or release as the pane's shortcut filter judges it: the message kind, the
// key's virtual-key code and the modifier keys held at that moment.
struct KeyMessage {
    static constexpr unsigned WM_KEYDOWN = 0x100;
    static constexpr unsigned WM_KEYUP = 0x101;
    static constexpr unsigned WM_SYSKEYDOWN = 0x104;
    static constexpr unsigned WM_SYSKEYUP = 0x105;

    unsigned message = WM_KEYDOWN;
    unsigned virtualKey = 0;
    bool ctrl = false;
    bool shift = false;
    bool alt = false;

    // Alt without Ctrl, and F10, make system keys; a key press or a shortcut check is a key
    // down. Keys without a virtual-key code get 0.
    static KeyMessage FromEvent(const QKeyEvent& event);
    // The virtual-key code of a toolkit key: letters as upper-case letters, digits as digits,
    // the function, editing and navigation keys and the punctuation keys of a US keyboard.
    static unsigned VirtualKeyOf(int qtKey);
};

} // namespace quorvel
