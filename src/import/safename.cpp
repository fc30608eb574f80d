#include "import/safename.h"

namespace quorvel {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void Trim(std::string& s)
{
    std::size_t b = 0;
    while (b < s.size() && IsBlank(s[b]))
        ++b;
    std::size_t e = s.size();
    while (e > b && IsBlank(s[e - 1]))
        --e;
    s = s.substr(b, e - b);
}

} // namespace

std::string SafeName(std::string_view name)
{
    std::string s(name);
    for (char& c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F)
            c = ' ';
        else if (c == '=')
            c = '-';
    }
    if (s.size() > MaxNameBytes) {
        std::size_t cut = MaxNameBytes;
        while (cut > 0 && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80)
            --cut;
        s.resize(cut);
    }
    // Each step may uncover what another one removes ("; [HD] x", "\" ;y\""): repeat until none applies.
    for (;;) {
        Trim(s);
        if (s.empty())
            return s;
        if (s.front() == ';') {
            s.erase(0, s.find_first_not_of(';'));
            continue;
        }
        if (s.front() == '[') {
            s.front() = '(';
            if (const auto close = s.find(']'); close != std::string::npos)
                s[close] = ')';
            continue;
        }
        if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front()) {
            s = s.substr(1, s.size() - 2);
            continue;
        }
        break;
    }
    return s;
}

bool IsSafeName(std::string_view name)
{
    if (name.size() > MaxNameBytes)
        return false;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || c == '=')
            return false;
    }
    if (name.empty())
        return true;
    if (IsBlank(name.front()) || IsBlank(name.back()) || name.front() == ';' || name.front() == '[')
        return false;
    return !(name.size() >= 2 && (name.front() == '"' || name.front() == '\'') && name.back() == name.front());
}

std::string ShortText(std::string_view text, std::size_t most)
{
    std::size_t cut = text.size();
    if (cut > most) {
        cut = most;
        // Back to the start of a character: continuation bytes are 10xxxxxx.
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut;
    }
    std::string out(text.substr(0, cut));
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    if (cut < text.size())
        out += "...";
    return out;
}

} // namespace quorvel
