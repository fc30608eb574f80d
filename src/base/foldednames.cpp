#include "base/foldednames.h"

namespace quorvel {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

bool NamesEqual(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

std::size_t FoldedNameHash::operator()(std::string_view name) const
{
    // FNV-1a over the lower-cased bytes.
    std::size_t h = 1469598103934665603ull;
    for (char c : name)
        h = (h ^ static_cast<unsigned char>(Lower(c))) * 1099511628211ull;
    return h;
}

bool FoldedNameEqual::operator()(std::string_view a, std::string_view b) const { return NamesEqual(a, b); }

} // namespace quorvel
