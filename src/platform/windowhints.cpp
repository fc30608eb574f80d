#include "platform/windowhints.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace quorvel {

namespace {

// The WM_HINTS property: nine 32-bit fields (flags, input, initial state, icon pixmap, icon
// window, icon x and y, icon mask, window group).
constexpr int kHintFields = 9;
constexpr uint32_t kStateHint = 1u << 1;
constexpr uint32_t kNormalState = 1;

} // namespace

void ClearIconicStartHint(QWidget* window)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || !window || !window->internalWinId())
        return;
    const auto id = static_cast<xcb_window_t>(window->internalWinId());
    std::array<uint32_t, kHintFields> hints{};
    const auto cookie = xcb_get_property(connection, 0, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 0, kHintFields);
    if (xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr)) {
        if (reply->format == 32) {
            const int count = std::min(xcb_get_property_value_length(reply) / 4, kHintFields);
            std::memcpy(hints.data(), xcb_get_property_value(reply), static_cast<std::size_t>(count) * 4);
        }
        std::free(reply);
    }
    if ((hints[0] & kStateHint) && hints[2] == kNormalState)
        return;
    hints[0] |= kStateHint;
    hints[2] = kNormalState;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 32, kHintFields,
                        hints.data());
    xcb_flush(connection);
}

bool KeepContentsWhenCovered(QWindow* window)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || !window || !window->handle())
        return false;
    // The screens of a server all keep contents alike.
    const xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(connection));
    if (!screen.rem || screen.data->backing_stores == XCB_BACKING_STORE_NOT_USEFUL)
        return false;
    const uint32_t keep = XCB_BACKING_STORE_WHEN_MAPPED;
    xcb_change_window_attributes(connection, static_cast<xcb_window_t>(window->winId()), XCB_CW_BACKING_STORE, &keep);
    xcb_flush(connection);
    return true;
}

} // namespace quorvel
