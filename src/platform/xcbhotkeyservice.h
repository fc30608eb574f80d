#pragma once

#include "platform/hotkeyservice.h"

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <map>

// xcb's connection, kept out of this header; its key codes, times and windows are plain numbers.
struct xcb_connection_t;

namespace quorvel {

// Hot keys on X11: a passive grab of the key on the root window, also with Caps Lock and
// Num Lock set (which are no modifiers of a hot key), read from the event stream before Qt
// dispatches it.
class XcbHotKeyService : public HotKeyService, public QAbstractNativeEventFilter {
public:
    // wholeDesktop: false where the X server is XWayland under a Wayland desktop, which passes
    // keys to X11 clients only while one of their windows has the focus.
    explicit XcbHotKeyService(bool wholeDesktop = true);
    ~XcbHotKeyService() override;

    int GlobalAddAtom(const char* name) override;
    bool RegisterHotKey(QWidget* window, int id, unsigned modifiers, unsigned virtualKey) override;
    bool UnregisterHotKey(QWidget* window, int id) override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    struct Grab {
        QWidget* window;
        unsigned modifiers;  // hot-key model
        unsigned virtualKey; // hot-key model
        std::uint8_t keycode;
        uint16_t xModifiers;
        // One physical press is one message: a held key repeats (as more presses, or as
        // release and press pairs of one server time), and those repeats are no presses.
        bool down = false;
        std::uint32_t lastPress = 0; // the press or repeat seen last
        bool released = false;
        std::uint32_t lastRelease = 0;
    };
    // Whether a press of the grab's key is a new press (and not a repeat of a held one).
    static bool NewPress(Grab& grab, std::uint32_t time);
    void Ungrab(const Grab& grab);

    bool wholeDesktop_;
    xcb_connection_t* connection_ = nullptr;
    std::uint32_t root_ = 0;
    std::map<int, Grab> grabs_;
};

} // namespace quorvel
