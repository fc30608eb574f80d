#include "skin/store/skincontainer.h"

#include "skin/io/skinerrors.h"
#include "skin/io/stream.h"
#include "skin/store/skinlimits.h"

namespace quorvel {
namespace {

std::int32_t ReadInt32(Stream& s)
{
    unsigned char b[4];
    s.ReadBuffer(b, 4);
    return static_cast<std::int32_t>(b[0] | b[1] << 8 | b[2] << 16 | std::uint32_t(b[3]) << 24);
}

void WriteInt32(Stream& s, std::int32_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    const unsigned char b[4] = {static_cast<unsigned char>(u), static_cast<unsigned char>(u >> 8),
                                static_cast<unsigned char>(u >> 16), static_cast<unsigned char>(u >> 24)};
    s.WriteBuffer(b, 4);
}

// A flag byte (non-zero: no image) and, for 0, the image.
void ReadFlagged(Stream& s, SkinBitmap& bitmap)
{
    unsigned char flag = 0;
    s.ReadBuffer(&flag, 1);
    bitmap.Clear();
    if (flag == 0)
        bitmap.LoadFromStream(s);
}

void WriteFlagged(Stream& s, const SkinBitmap& bitmap)
{
    const unsigned char flag = bitmap.Empty() ? 1 : 0;
    s.WriteBuffer(&flag, 1);
    if (!bitmap.Empty())
        bitmap.SaveToStream(s);
}

} // namespace

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

SkinContainer SkinContainer::Read(Stream& stream)
{
    SkinContainer c;
    c.version = ReadInt32(stream);
    if (c.version > Version)
        return c;
    ReadFlagged(stream, c.picture);
    ReadFlagged(stream, c.inactivePicture);
    ReadFlagged(stream, c.mask);
    if (c.version == 2) {
        SkinBitmap scratch;
        ReadFlagged(stream, scratch);
        ReadFlagged(stream, scratch);
    }
    const std::int32_t count = ReadInt32(stream);
    // Every image takes at least its two headers, so a count beyond what is left is damage,
    // found before any image is read.
    const std::int64_t length = stream.Length();
    if (count > 0 && length >= 0 && count > (length - stream.Position()) / SkinBitmap::MinImageLength)
        throw EInvalidSkin("The skin is damaged: it lists " + std::to_string(count) +
                           " pictures, more than its container holds");
    for (std::int32_t i = 0; i < count; ++i)
        c.pictures.emplace_back().LoadFromStream(stream);
    std::string rest;
    char buffer[4096];
    for (;;) {
        const std::int64_t n = stream.Read(buffer, sizeof buffer);
        if (n <= 0)
            break;
        rest.append(buffer, static_cast<std::size_t>(n));
        if (static_cast<std::int64_t>(rest.size()) > MaxSkinDefinitionSize)
            throw EInvalidSkin("The skin is damaged: its definition is longer than a skin's can be");
    }
    c.definition = SplitLines(rest);
    return c;
}

void SkinContainer::Write(Stream& stream) const
{
    WriteInt32(stream, Version);
    WriteFlagged(stream, picture);
    WriteFlagged(stream, inactivePicture);
    WriteFlagged(stream, mask);
    WriteInt32(stream, static_cast<std::int32_t>(pictures.size()));
    for (const auto& p : pictures)
        p.SaveToStream(stream);
    for (const auto& line : definition) {
        stream.WriteBuffer(line.data(), static_cast<std::int64_t>(line.size()));
        stream.WriteBuffer("\r\n", 2);
    }
}

} // namespace quorvel
