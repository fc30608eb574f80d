#include "platform/xcbhotkeyservice.h"

#include <QGuiApplication>
#include <QWidget>

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <cstdlib>
#include <xcb/xcb.h>

namespace quorvel {
namespace {

// A press that follows the last press or repeat of a held key this much later is a new press
// whose release was lost (a grab broken while the key was down): longer than any repeat delay
// a desktop lets one set.
constexpr xcb_timestamp_t kLostReleaseMs = 2500;

// The lock modifiers a hot key ignores: Caps Lock and Num Lock (Mod2 on every common layout).
constexpr uint16_t kIgnoredLocks[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2, XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};

KeySym KeySymOf(unsigned virtualKey)
{
    switch (virtualKey) {
    case HotKeyService::VK_HOME:
        return XK_Home;
    default:
        return NoSymbol;
    }
}

uint16_t XModifiersOf(unsigned modifiers)
{
    uint16_t x = 0;
    if (modifiers & 1)
        x |= XCB_MOD_MASK_1; // Alt
    if (modifiers & 2)
        x |= XCB_MOD_MASK_CONTROL;
    if (modifiers & 4)
        x |= XCB_MOD_MASK_SHIFT;
    if (modifiers & 8)
        x |= XCB_MOD_MASK_4; // the Windows key
    return x;
}

} // namespace

XcbHotKeyService::XcbHotKeyService(bool wholeDesktop) : wholeDesktop_(wholeDesktop)
{
    if (auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        connection_ = x11->connection();
        if (connection_)
            root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    }
    if (connection_)
        qGuiApp->installNativeEventFilter(this);
}

XcbHotKeyService::~XcbHotKeyService()
{
    for (const auto& [id, grab] : grabs_)
        Ungrab(grab);
    if (connection_) {
        xcb_flush(connection_);
        qGuiApp->removeNativeEventFilter(this);
    }
}

int XcbHotKeyService::GlobalAddAtom(const char* name)
{
    // Atoms live as long as the X server; fold the value into the application range.
    unsigned value = 0;
    if (connection_) {
        auto cookie = xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name);
        if (auto* reply = xcb_intern_atom_reply(connection_, cookie, nullptr)) {
            value = reply->atom;
            std::free(reply);
        }
    }
    return 0xC000 + static_cast<int>(value & 0x3FFF);
}

bool XcbHotKeyService::RegisterHotKey(QWidget* window, int id, unsigned modifiers, unsigned virtualKey)
{
    if (!connection_ || grabs_.count(id))
        return false;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    const KeySym sym = KeySymOf(virtualKey);
    if (!x11 || !x11->display() || sym == NoSymbol)
        return false;
    const xcb_keycode_t keycode = static_cast<xcb_keycode_t>(XKeysymToKeycode(x11->display(), sym));
    if (keycode == 0)
        return false;
    const Grab grab{window, modifiers, virtualKey, keycode, XModifiersOf(modifiers)};
    bool refused = false;
    for (uint16_t locks : kIgnoredLocks) {
        auto cookie = xcb_grab_key_checked(connection_, 1, root_, grab.xModifiers | locks, keycode, XCB_GRAB_MODE_ASYNC,
                                           XCB_GRAB_MODE_ASYNC);
        // Another client holding the same grab gives BadAccess.
        if (xcb_generic_error_t* error = xcb_request_check(connection_, cookie)) {
            refused = true;
            std::free(error);
        }
    }
    if (refused) {
        Ungrab(grab);
        return false;
    }
    grabs_[id] = grab;
    if (!wholeDesktop_)
        emit notWholeDesktop(window, id);
    return true;
}

bool XcbHotKeyService::UnregisterHotKey(QWidget* window, int id)
{
    const auto it = grabs_.find(id);
    if (it == grabs_.end() || it->second.window != window)
        return false;
    Ungrab(it->second);
    grabs_.erase(it);
    return true;
}

void XcbHotKeyService::Ungrab(const Grab& grab)
{
    for (uint16_t locks : kIgnoredLocks)
        xcb_ungrab_key(connection_, grab.keycode, root_, grab.xModifiers | locks);
    xcb_flush(connection_);
}

bool XcbHotKeyService::NewPress(Grab& grab, std::uint32_t time)
{
    // Server times are milliseconds that wrap around: differences are taken unsigned.
    const bool repeat = grab.down ? time - grab.lastPress < kLostReleaseMs
                                  : grab.released && time == grab.lastRelease; // a release-and-press pair
    grab.down = true;
    grab.lastPress = time;
    return !repeat;
}

bool XcbHotKeyService::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    const uint8_t type = event->response_type & 0x7f;
    if (type == XCB_KEY_RELEASE) {
        // Releases carry the modifiers of the moment; the key alone says which grab it ends.
        auto* key = reinterpret_cast<xcb_key_release_event_t*>(event);
        bool ours = false;
        for (auto& [id, grab] : grabs_) {
            if (grab.keycode == key->detail && grab.down) {
                grab.down = false;
                grab.released = true;
                grab.lastRelease = key->time;
                ours = true;
            }
        }
        return ours;
    }
    if (type != XCB_KEY_PRESS)
        return false;
    auto* key = reinterpret_cast<xcb_key_press_event_t*>(event);
    const uint16_t state = key->state & ~(XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2) &
                           (XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4);
    for (auto& [id, grab] : grabs_) {
        if (grab.keycode == key->detail && grab.xModifiers == state) {
            if (NewPress(grab, key->time))
                emit hotKey(grab.window, id, grab.modifiers, grab.virtualKey);
            return true; // the key belongs to the hot key, also inside this program
        }
    }
    return false;
}

} // namespace quorvel
