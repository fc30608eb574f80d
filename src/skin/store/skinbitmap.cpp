#include "skin/store/skinbitmap.h"

#include "skin/io/skinerrors.h"
#include "skin/io/stream.h"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace quorvel {
namespace {

constexpr int kFileHeader = 14;

std::uint32_t U32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24; }
std::int32_t I32(const unsigned char* p) { return static_cast<std::int32_t>(U32(p)); }
std::uint16_t U16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

void PutU32(unsigned char* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

[[noreturn]] void Invalid() { throw EInvalidGraphic("Bitmap image is not valid"); }

struct Geometry {
    std::int64_t length;
    int width;
    int height;
    int bitCount;
};

Geometry Describe(const unsigned char* h, std::int64_t available)
{
    if (available < kFileHeader + 12 || h[0] != 'B' || h[1] != 'M')
        Invalid();
    const std::uint32_t infoSize = U32(h + kFileHeader);
    const std::uint32_t offBits = U32(h + 10);
    std::int64_t width, height;
    int planes, bitCount;
    std::uint32_t compression = 0, sizeImage = 0, clrUsed = 0;
    if (infoSize == 12) { // the old core header
        width = U16(h + 18);
        height = U16(h + 20);
        planes = U16(h + 22);
        bitCount = U16(h + 24);
    } else if (infoSize >= 40 && infoSize <= 124) {
        if (available < kFileHeader + 40)
            Invalid();
        width = I32(h + 18);
        height = I32(h + 22);
        planes = U16(h + 26);
        bitCount = U16(h + 28);
        compression = U32(h + 30);
        sizeImage = U32(h + 34);
        clrUsed = U32(h + 46);
    } else {
        Invalid();
    }
    if (height < 0)
        height = -height; // rows stored top-down
    if (planes != 1 || width <= 0 || height <= 0 || width > SkinBitmap::MaxSide || height > SkinBitmap::MaxSide)
        Invalid();
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        Invalid();
    std::int64_t pixels;
    if (compression == 0 || compression == 3) { // plain rows, or rows with bit-field masks
        pixels = ((width * bitCount + 31) / 32) * 4 * height;
    } else if ((compression == 1 || compression == 2) && sizeImage > 0) { // run-length coded
        pixels = sizeImage;
    } else {
        Invalid();
    }
    std::int64_t headers = kFileHeader + infoSize;
    if (compression == 3 && infoSize == 40)
        headers += 12;
    if (bitCount <= 8) {
        const std::int64_t colours = clrUsed ? clrUsed : (1LL << bitCount);
        if (colours > 256)
            Invalid();
        headers += colours * (infoSize == 12 ? 3 : 4);
    }
    // The pixels start where the file header says, which may not point into the headers.
    if (offBits < headers && offBits != 0)
        Invalid();
    const std::int64_t start = offBits ? offBits : headers;
    if (start > 64LL * 1024 * 1024)
        Invalid();
    return Geometry{start + pixels, static_cast<int>(width), static_cast<int>(height), bitCount};
}

} // namespace

std::int64_t SkinBitmap::ImageLength(const unsigned char* headers, std::int64_t available)
{
    return Describe(headers, available).length;
}

void SkinBitmap::Clear()
{
    bytes_.clear();
    width_ = height_ = bitCount_ = 0;
}

void SkinBitmap::LoadFromStream(Stream& stream)
{
    // File header and the longest info header, then the rest as the headers describe it.
    unsigned char head[kFileHeader + 40];
    const std::int64_t start = stream.Position();
    const std::int64_t got = stream.Read(head, sizeof head);
    const Geometry g = Describe(head, got);
    // Never allocate for more than the stream holds: headers may claim anything.
    const std::int64_t length = stream.Length();
    if (length >= 0 && g.length > length - start)
        Invalid();
    std::string bytes(static_cast<std::size_t>(g.length), '\0');
    const std::int64_t have = std::min(got, g.length);
    std::memcpy(bytes.data(), head, static_cast<std::size_t>(have));
    if (have < got) // a small image with a short header: what follows it belongs to the stream
        stream.SetPosition(start + have);
    const std::int64_t rest = g.length - have;
    if (rest > 0 && stream.Read(bytes.data() + have, rest) != rest) {
        stream.SetPosition(start);
        throw EInvalidGraphic("Bitmap image is not valid");
    }
    // The image written back carries its true length.
    PutU32(reinterpret_cast<unsigned char*>(bytes.data()) + 2, static_cast<std::uint32_t>(g.length));
    bytes_ = std::move(bytes);
    width_ = g.width;
    height_ = g.height;
    bitCount_ = g.bitCount;
}

void SkinBitmap::LoadFromFile(const std::string& path, std::int64_t limit)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw EFOpenError("Cannot open file \"" + path + "\"");
    // The headers say how long the image is: nothing past it is read, so a file without an end
    // (a device, a pipe) or a huge one costs no more than the image it claims to be.
    std::string bytes(kFileHeader + 40, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const std::int64_t got = in.gcount();
    const std::int64_t length = Describe(reinterpret_cast<const unsigned char*>(bytes.data()), got).length;
    if (length > limit)
        throw EInvalidSkin("The picture \"" + path + "\" is larger than a skin can hold");
    if (length > got) {
        bytes.resize(static_cast<std::size_t>(length));
        in.read(bytes.data() + got, static_cast<std::streamsize>(length - got));
        bytes.resize(static_cast<std::size_t>(got + in.gcount()));
    }
    MemoryStream stream(std::move(bytes));
    LoadFromStream(stream);
}

void SkinBitmap::SaveToStream(Stream& stream) const
{
    stream.WriteBuffer(bytes_.data(), static_cast<std::int64_t>(bytes_.size()));
}

} // namespace quorvel
