#pragma once

#include "skin/store/skinbitmap.h"

#include <string>
#include <vector>

namespace quorvel {

class Stream;

// What a skin container holds: the frame bitmaps, the numbered pictures and the lines of the
// skin definition.
struct SkinContainer {
    static constexpr std::int32_t Version = 3;

    std::int32_t version = Version;
    SkinBitmap picture;
    SkinBitmap inactivePicture;
    SkinBitmap mask;
    std::vector<SkinBitmap> pictures;
    std::vector<std::string> definition;

    // Reads a container from the stream's position. A version above 3 stops after the version
    // (nothing else is read; the result says so). Throws on damaged content.
    static SkinContainer Read(Stream& stream);
    // Writes the container, byte for byte in the container layout, at version 3.
    void Write(Stream& stream) const;
};

// Splits text into lines at CR LF, a lone CR or a lone LF; a last line without a break counts.
std::vector<std::string> SplitLines(const std::string& text);

} // namespace quorvel
