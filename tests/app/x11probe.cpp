#include "x11probe.h"

#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <cstdlib>
#include <initializer_list>
#include <xcb/xcb.h>

bool OtherClientCanGrabHome()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    xcb_connection_t* c = XGetXCBConnection(display);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const auto keycode = static_cast<xcb_keycode_t>(XKeysymToKeycode(display, XK_Home));
    xcb_generic_error_t* error =
        xcb_request_check(c, xcb_grab_key_checked(c, 1, root, 0, keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    const bool granted = error == nullptr;
    std::free(error);
    XCloseDisplay(display);
    return granted;
}

HomeHolder::HomeHolder()
{
    Display* display = XOpenDisplay(nullptr);
    display_ = display;
    if (!display)
        return;
    xcb_connection_t* c = XGetXCBConnection(display);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const auto keycode = static_cast<xcb_keycode_t>(XKeysymToKeycode(display, XK_Home));
    bool ok = true;
    const uint16_t lockSets[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2, XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
    for (uint16_t locks : lockSets) {
        xcb_generic_error_t* error = xcb_request_check(
            c, xcb_grab_key_checked(c, 1, root, locks, keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        ok = ok && !error;
        std::free(error);
    }
    holds_ = ok;
}

HomeHolder::~HomeHolder()
{
    if (display_)
        XCloseDisplay(static_cast<Display*>(display_));
}
