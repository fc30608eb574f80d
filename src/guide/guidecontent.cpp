#include "guide/guidecontent.h"

#include "guide/gunzip.h"

#include <algorithm>
#include <string>

namespace quorvel {
namespace {

constexpr std::size_t kLooked = 8 * 1024;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNameEnd(char c) { return IsBlank(c) || c == '>' || c == '/'; }

// XML whose first element is <tv>: a declaration, comments, a document type and blanks may
// stand before it.
bool IsXmltv(std::string_view text)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::size_t at = 0;
    for (;;) {
        while (at < text.size() && IsBlank(text[at]))
            ++at;
        if (at >= text.size() || text[at] != '<')
            return false;
        const std::string_view rest = text.substr(at);
        std::string_view end;
        if (rest.substr(0, 4) == "<!--")
            end = "-->";
        else if (rest.substr(0, 2) == "<?" || rest.substr(0, 2) == "<!")
            end = ">";
        else
            return rest.size() > 3 && rest.substr(0, 3) == "<tv" && IsNameEnd(rest[3]);
        std::size_t from = at;
        // A document type with declarations of its own ends after its closing bracket.
        if (rest.substr(0, 9) == "<!DOCTYPE") {
            const std::size_t bracket = rest.find('[');
            if (bracket != std::string_view::npos && bracket < rest.find('>'))
                from = text.find(']', at + bracket);
            if (from == std::string_view::npos)
                return false;
        }
        const std::size_t close = text.find(end, from);
        if (close == std::string_view::npos)
            return false;
        at = close + end.size();
    }
}

} // namespace

bool GuideContent::IsGuide(std::string_view head)
{
    if (head.size() >= 2 && head[0] == '\x1f' && head[1] == '\x8b') {
        std::string text;
        Gunzip gunzip;
        gunzip.Feed(head.data(), head.size(), [&text](const char* data, std::size_t size) {
            text.append(data, std::min(size, kLooked - text.size()));
            return text.size() < kLooked;
        });
        return IsXmltv(text);
    }
    return IsXmltv(head.substr(0, kLooked));
}

} // namespace quorvel
