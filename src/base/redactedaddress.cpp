#include "base/redactedaddress.h"

#include <array>
#include <cctype>

namespace quorvel {
namespace {

constexpr std::string_view kHidden = "***";

bool IsSchemeChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.'; }

// Where an address written in a text ends: at a blank, a quote or an angle bracket.
bool EndsAddress(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) || c == '"' || c == '\'' || c == '<' || c == '>';
}

bool IsSecretName(std::string_view name)
{
    std::string lower;
    for (const char c : name)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    static constexpr std::array<std::string_view, 8> kSecrets = {"user",  "login",  "pass", "pwd",
                                                                 "token", "secret", "key",  "auth"};
    for (const std::string_view secret : kSecrets)
        if (lower.find(secret) != std::string::npos)
            return true;
    return false;
}

// Panels put the login into the path of their streams ("/live/USER/PASSWORD/1.ts", likewise
// "/movie/", "/series/", "/timeshift/"): both go. Appends the path's start, hidden, and gives how
// much of the path that took (0 for any other path).
std::size_t PathWithLogin(std::string_view path, std::string& out)
{
    for (const std::string_view kind : {"/live/", "/movie/", "/series/", "/timeshift/"}) {
        if (path.substr(0, kind.size()) != kind)
            continue;
        const std::size_t user = path.find('/', kind.size());
        const std::size_t password = user == std::string_view::npos ? user : path.find('/', user + 1);
        if (user == kind.size() || password == std::string_view::npos || password == user + 1)
            return 0;
        out += kind;
        out += kHidden;
        out += '/';
        out += kHidden;
        return password;
    }
    return 0;
}

// One address, from its scheme to its end.
std::string RedactOne(std::string_view address)
{
    const std::size_t authority = address.find("://") + 3;
    const std::size_t hostEnd = std::min(address.find_first_of("/?#", authority), address.size());
    std::string out(address.substr(0, authority));
    const std::string_view host = address.substr(authority, hostEnd - authority);
    if (const std::size_t at = host.rfind('@'); at != std::string_view::npos) {
        out += kHidden;
        out += host.substr(at);
    } else {
        out += host;
    }
    const std::size_t query = address.find('?', hostEnd);
    const std::size_t fragment = std::min(address.find('#', hostEnd), address.size());
    const std::size_t pathEnd = std::min(query, fragment);
    const std::size_t pathStart = PathWithLogin(address.substr(hostEnd, pathEnd - hostEnd), out);
    if (query == std::string_view::npos || query > fragment) {
        out += address.substr(hostEnd + pathStart);
        return out;
    }
    out += address.substr(hostEnd + pathStart, query + 1 - hostEnd - pathStart);
    std::size_t part = query + 1;
    while (part <= fragment) {
        const std::size_t end = std::min(address.find_first_of("&;", part), fragment);
        const std::string_view parameter = address.substr(part, end - part);
        const std::size_t equals = parameter.find('=');
        if (equals != std::string_view::npos && IsSecretName(parameter.substr(0, equals))) {
            out += parameter.substr(0, equals + 1);
            out += kHidden;
        } else {
            out += parameter;
        }
        if (end < fragment)
            out += address[end];
        part = end + 1;
    }
    out += address.substr(fragment);
    return out;
}

} // namespace

std::string RedactedAddress(std::string_view text)
{
    std::string out;
    std::size_t done = 0;
    for (std::size_t mark = text.find("://"); mark != std::string_view::npos; mark = text.find("://", mark + 3)) {
        std::size_t start = mark;
        while (start > done && IsSchemeChar(text[start - 1]))
            --start;
        if (start == mark)
            continue;
        std::size_t end = mark + 3;
        while (end < text.size() && !EndsAddress(text[end]))
            ++end;
        // Punctuation after an address belongs to the sentence around it ("cannot read http://h/g: …").
        while (end > mark + 3 && std::string_view(".,:;)]").find(text[end - 1]) != std::string_view::npos)
            --end;
        out += text.substr(done, start - done);
        out += RedactOne(text.substr(start, end - start));
        done = end;
        mark = std::max(mark, end > 3 ? end - 3 : 0);
    }
    out += text.substr(done);
    return out;
}

} // namespace quorvel
