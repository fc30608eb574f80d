#include "guide/guidenames.h"

namespace quorvel {
namespace {

bool IsSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A no-break space (U+00A0) as guides write it between words of a name.
bool IsNoBreakSpace(std::string_view s, std::size_t at)
{
    return at + 1 < s.size() && static_cast<unsigned char>(s[at]) == 0xC2 &&
           static_cast<unsigned char>(s[at + 1]) == 0xA0;
}

std::string_view Trim(std::string_view s)
{
    for (;;) {
        if (!s.empty() && IsSpace(static_cast<unsigned char>(s.front())))
            s.remove_prefix(1);
        else if (IsNoBreakSpace(s, 0))
            s.remove_prefix(2);
        else
            break;
    }
    for (;;) {
        if (!s.empty() && IsSpace(static_cast<unsigned char>(s.back())))
            s.remove_suffix(1);
        else if (s.size() >= 2 && IsNoBreakSpace(s, s.size() - 2))
            s.remove_suffix(2);
        else
            break;
    }
    return s;
}

// The lower-case form of a letter of the two-byte range of UTF-8; other characters as they are.
unsigned LowerCase(unsigned cp)
{
    if ((cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) || (cp >= 0x391 && cp <= 0x3A9 && cp != 0x3A2) ||
        (cp >= 0x410 && cp <= 0x42F))
        return cp + 0x20;
    if (cp >= 0x400 && cp <= 0x40F)
        return cp + 0x50;
    if (((cp >= 0x100 && cp <= 0x137) || (cp >= 0x14A && cp <= 0x177)) && cp % 2 == 0)
        return cp + 1;
    if (((cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E)) && cp % 2 == 1)
        return cp + 1;
    if (cp == 0x178)
        return 0xFF;
    // Greek capitals with an accent.
    if (cp == 0x386)
        return 0x3AC;
    if (cp >= 0x388 && cp <= 0x38A)
        return cp + 37;
    if (cp == 0x38C)
        return 0x3CC;
    if (cp == 0x38E || cp == 0x38F)
        return cp + 63;
    return cp;
}

} // namespace

void FoldGuideName(std::string_view name, bool underscoresAsSpaces, std::string& out)
{
    out.clear();
    name = Trim(name);
    for (std::size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (c >= 'A' && c <= 'Z') {
            out.push_back(static_cast<char>(c - 'A' + 'a'));
        } else if (c == '_' && underscoresAsSpaces) {
            out.push_back(' ');
        } else if ((c & 0xE0) == 0xC0 && i + 1 < name.size() &&
                   (static_cast<unsigned char>(name[i + 1]) & 0xC0) == 0x80) {
            const unsigned cp = LowerCase(((c & 0x1Fu) << 6) | (static_cast<unsigned char>(name[i + 1]) & 0x3Fu));
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
            ++i;
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    if (underscoresAsSpaces) {
        // "Channel_One_" reads as "Channel One", without the blank its last underscore became.
        std::string_view trimmed = Trim(out);
        if (trimmed.size() != out.size())
            out = std::string(trimmed);
    }
}

std::string FoldGuideName(std::string_view name, bool underscoresAsSpaces)
{
    std::string out;
    FoldGuideName(name, underscoresAsSpaces, out);
    return out;
}

void CutText(std::string& text, std::size_t limit)
{
    static constexpr std::string_view kEllipsis = "\xE2\x80\xA6";
    if (text.size() <= limit)
        return;
    std::size_t at = limit >= kEllipsis.size() ? limit - kEllipsis.size() : 0;
    while (at > 0 && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
        --at;
    text.resize(at);
    if (limit >= kEllipsis.size())
        text += kEllipsis;
}

} // namespace quorvel
