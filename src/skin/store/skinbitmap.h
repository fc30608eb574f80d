#pragma once

#include <cstdint>
#include <string>

namespace quorvel {

class Stream;

// A bitmap of the skin, kept as the complete BMP file image it came as. The headers are checked
// when it is read; drawing code decodes the bytes when it needs the pixels.
class SkinBitmap {
public:
    // Largest side accepted; no skin picture comes near it.
    static constexpr int MaxSide = 16384;
    // No image is shorter than its file header and the shortest info header.
    static constexpr int MinImageLength = 14 + 12;

    bool Empty() const { return bytes_.empty(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int BitCount() const { return bitCount_; }
    const std::string& Bytes() const { return bytes_; }
    void Clear();

    // Reads one BMP file image from the stream: the headers say where it ends, and the stream
    // is left right after it. Throws EInvalidGraphic for anything that is not a sane BMP image.
    void LoadFromStream(Stream& stream);
    // Reads a BMP file, no further than its headers say the image reaches; throws EFOpenError,
    // EInvalidGraphic, or EInvalidSkin for an image larger than limit bytes.
    void LoadFromFile(const std::string& path, std::int64_t limit);
    // Writes the BMP file image, its file header's length field equal to its size.
    void SaveToStream(Stream& stream) const;

    // The length a BMP file image has according to its headers, from at least its first 54
    // bytes (or the full headers); throws EInvalidGraphic when they make no sense.
    static std::int64_t ImageLength(const unsigned char* headers, std::int64_t available);

private:
    std::string bytes_;
    int width_ = 0;
    int height_ = 0;
    int bitCount_ = 0;
};

} // namespace quorvel
