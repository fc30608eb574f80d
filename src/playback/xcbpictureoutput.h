#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

struct xcb_connection_t;

namespace quorvel {

// Pictures drawn in memory put straight onto a window of the X server. Where OpenGL is drawn in
// software, every GL picture is rasterized by the processor at the buffer swap (4 ms for a small
// video window on two cores): a picture scaled in memory and put on the window takes a fraction
// of that. Takes 32-bit pixels, blue first in memory (mpv's "bgr0"), as a 24-bit window on a
// little-endian server holds them.
class XcbPictureOutput {
public:
    // For the window, on the application's X connection (xcb may be used from any thread).
    // Null where the desktop is no X server, or the window's pixels are laid out otherwise.
    static std::unique_ptr<XcbPictureOutput> For(std::uint32_t window);
    // Whether the desktop is an X server that takes such pictures at all.
    static bool Available();
    ~XcbPictureOutput();
    XcbPictureOutput(const XcbPictureOutput&) = delete;
    XcbPictureOutput& operator=(const XcbPictureOutput&) = delete;

    std::uint32_t Window() const { return window_; }
    // Puts the picture at the window's top left: rows of w pixels, `stride` bytes apart.
    void Put(const std::uint8_t* pixels, int w, int h, std::size_t stride);

private:
    XcbPictureOutput(xcb_connection_t* connection, std::uint32_t window, std::uint32_t gc, std::size_t maxBytes);

    xcb_connection_t* connection_;
    std::uint32_t window_;
    std::uint32_t gc_;
    // The most pixel bytes one request may carry.
    std::size_t maxBytes_;
};

} // namespace quorvel
