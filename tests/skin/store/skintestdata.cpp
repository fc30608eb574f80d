#include "skintestdata.h"

#include "skin/io/stream.h"

#include <cstdint>

namespace {

void Put32(std::string& s, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s[at + i] = static_cast<char>(v >> (8 * i));
}

void Put16(std::string& s, std::size_t at, std::uint16_t v)
{
    s[at] = static_cast<char>(v);
    s[at + 1] = static_cast<char>(v >> 8);
}

} // namespace

std::string MakeBmp(int width, int height, int bitCount)
{
    const int colours = bitCount <= 8 ? 1 << bitCount : 0;
    const int stride = ((width * bitCount + 31) / 32) * 4;
    const std::size_t offBits = 54 + colours * 4;
    const std::size_t total = offBits + static_cast<std::size_t>(stride) * height;
    std::string s(total, '\0');
    s[0] = 'B';
    s[1] = 'M';
    Put32(s, 2, static_cast<std::uint32_t>(total));
    Put32(s, 10, static_cast<std::uint32_t>(offBits));
    Put32(s, 14, 40);
    Put32(s, 18, static_cast<std::uint32_t>(width));
    Put32(s, 22, static_cast<std::uint32_t>(height));
    Put16(s, 26, 1);
    Put16(s, 28, static_cast<std::uint16_t>(bitCount));
    for (std::size_t i = offBits; i < total; ++i)
        s[i] = static_cast<char>(i * 31);
    return s;
}

quorvel::SkinBitmap MakeBitmap(int width, int height, int bitCount)
{
    quorvel::MemoryStream stream(MakeBmp(width, height, bitCount));
    quorvel::SkinBitmap b;
    b.LoadFromStream(stream);
    return b;
}
