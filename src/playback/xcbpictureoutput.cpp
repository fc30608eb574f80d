#include "playback/xcbpictureoutput.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdlib>
#include <xcb/xcb.h>

namespace quorvel {

namespace {

xcb_connection_t* Connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// 24 bits of colour in 32-bit pixels, least significant byte first; a window with alpha would
// take mpv's unset fourth byte for its transparency.
bool TakesBgr0(xcb_connection_t* connection, std::uint8_t depth)
{
    const xcb_setup_t* setup = xcb_get_setup(connection);
    if (depth != 24 || setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST)
        return false;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it))
        if (it.data->depth == depth)
            return it.data->bits_per_pixel == 32 && it.data->scanline_pad == 32;
    return false;
}

} // namespace

bool XcbPictureOutput::Available()
{
    xcb_connection_t* connection = Connection();
    if (!connection)
        return false;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    return screen && TakesBgr0(connection, screen->root_depth);
}

std::unique_ptr<XcbPictureOutput> XcbPictureOutput::For(std::uint32_t window)
{
    xcb_connection_t* connection = Connection();
    if (!connection || !window)
        return nullptr;
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    if (!geometry)
        return nullptr;
    const std::uint8_t depth = geometry->depth;
    std::free(geometry);
    if (!TakesBgr0(connection, depth))
        return nullptr;
    const std::uint32_t gc = xcb_generate_id(connection);
    xcb_create_gc(connection, gc, window, 0, nullptr);
    // In 4-byte units, the request's own fields included.
    const std::size_t maxBytes = std::size_t(xcb_get_maximum_request_length(connection)) * 4 - 64;
    return std::unique_ptr<XcbPictureOutput>(new XcbPictureOutput(connection, window, gc, maxBytes));
}

XcbPictureOutput::XcbPictureOutput(xcb_connection_t* connection, std::uint32_t window, std::uint32_t gc,
                                   std::size_t maxBytes)
    : connection_(connection), window_(window), gc_(gc), maxBytes_(maxBytes)
{
}

XcbPictureOutput::~XcbPictureOutput()
{
    // The connection goes with the application object.
    if (!qGuiApp)
        return;
    xcb_free_gc(connection_, gc_);
    xcb_flush(connection_);
}

void XcbPictureOutput::Put(const std::uint8_t* pixels, int w, int h, std::size_t stride)
{
    if (w <= 0 || h <= 0)
        return;
    const std::size_t row = std::size_t(w) * 4;
    const int rowsEach = static_cast<int>(std::max<std::size_t>(1, maxBytes_ / row));
    for (int y = 0; y < h; y += rowsEach) {
        const int rows = std::min(rowsEach, h - y);
        // The server takes rows back to back; a picture with padding between its rows goes a
        // row at a time.
        const int count = stride == row ? rows : 1;
        for (int r = 0; r < rows; r += count)
            xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window_, gc_, static_cast<std::uint16_t>(w),
                          static_cast<std::uint16_t>(count), 0, static_cast<std::int16_t>(y + r), 0, 24,
                          static_cast<std::uint32_t>(row * count), pixels + stride * std::size_t(y + r));
    }
    xcb_flush(connection_);
}

} // namespace quorvel
