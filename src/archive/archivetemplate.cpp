#include "archive/archivetemplate.h"

#include "archive/addressparts.h"

#include <vector>

namespace quorvel {

namespace {

// Text of the live address as it goes into a template: its braces escaped as URLs allow, so the
// address cannot pose as a placeholder.
std::string Literal(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '{')
            out += "%7B";
        else if (c == '}')
            out += "%7D";
        else
            out += c;
    }
    return out;
}

ArchiveTemplate Made(std::string text) { return {std::move(text), {}}; }
ArchiveTemplate Refused(std::string reason) { return {{}, std::move(reason)}; }

std::string Origin(const AddressParts& parts) { return Literal(parts.scheme) + "://" + Literal(parts.authority); }

std::string QueryOf(const AddressParts& parts) { return parts.hasQuery ? "?" + Literal(parts.query) : std::string(); }

std::vector<std::string_view> Segments(std::string_view path)
{
    std::vector<std::string_view> segments;
    if (path.empty())
        return segments;
    path.remove_prefix(1);
    while (true) {
        const std::size_t slash = path.find('/');
        segments.push_back(path.substr(0, slash));
        if (slash == std::string_view::npos)
            break;
        path.remove_prefix(slash + 1);
    }
    return segments;
}

ArchiveTemplate Shifted(std::string_view live)
{
    const std::size_t hash = live.find('#');
    const std::string_view head = live.substr(0, hash);
    const std::string_view tail = hash == std::string_view::npos ? std::string_view() : live.substr(hash);
    std::string joint;
    if (head.find('?') == std::string_view::npos)
        joint = "?";
    else if (head.back() != '?' && head.back() != '&')
        joint = "&";
    return Made(Literal(head) + joint + "utc={utc}&lutc={lutc}" + Literal(tail));
}

ArchiveTemplate Flussonic(std::string_view live)
{
    const std::optional<AddressParts> parts = SplitAddress(live);
    const std::size_t last = parts ? parts->path.rfind('/') : std::string_view::npos;
    if (!parts || !IsWebScheme(parts->scheme) || parts->authority.empty() || last == std::string_view::npos ||
        last == 0)
        return Refused("flussonic catch-up needs an http/https address ending in /mpegts, /index.m3u8 or /mono.m3u8");
    const std::string_view stream = parts->path.substr(last + 1);
    const std::string head = Origin(*parts) + Literal(parts->path.substr(0, last + 1));
    if (stream == "mpegts")
        return Made(head + "timeshift_abs-{utc}.ts" + QueryOf(*parts));
    if (stream == "index.m3u8")
        return Made(head + "timeshift_rel-{offset:1}.m3u8" + QueryOf(*parts));
    if (stream == "mono.m3u8")
        return Made(head + "mono-timeshift_rel-{offset:1}.m3u8" + QueryOf(*parts));
    return Refused("flussonic catch-up needs an http/https address ending in /mpegts, /index.m3u8 or /mono.m3u8");
}

ArchiveTemplate Xc(std::string_view live)
{
    const char* const kNeeds = "xc catch-up needs an address http(s)://host[/live]/user/pass/id";
    const std::optional<AddressParts> parts = SplitAddress(live);
    if (!parts || !IsWebScheme(parts->scheme) || parts->authority.empty())
        return Refused(kNeeds);
    std::vector<std::string_view> segments = Segments(parts->path);
    if (segments.size() == 4 && segments.front() == "live")
        segments.erase(segments.begin());
    if (segments.size() != 3 || segments[0].empty() || segments[1].empty())
        return Refused(kNeeds);
    const std::string_view file = segments[2];
    const std::size_t dot = file.rfind('.');
    const std::string_view id = file.substr(0, dot);
    const std::string_view extension = dot == std::string_view::npos ? std::string_view() : file.substr(dot + 1);
    if (id.empty())
        return Refused(kNeeds);
    const char* const kind = extension == "m3u8" ? ".m3u8" : ".ts";
    return Made(Origin(*parts) + "/timeshift/" + Literal(segments[0]) + "/" + Literal(segments[1]) +
                "/{duration:60}/{Y}-{m}-{d}:{H}-{M}/" + Literal(id) + kind + QueryOf(*parts));
}

} // namespace

ArchiveTemplate MakeArchiveTemplate(const Catchup& catchup, std::string_view liveAddress)
{
    if (liveAddress.empty())
        return Refused("the channel has no address");
    if ((catchup.mode == CatchupMode::Default || catchup.mode == CatchupMode::Append) && catchup.source.empty())
        return Refused("catch-up mode '" + std::string(CatchupModeName(catchup.mode)) + "' needs a catchup-source");
    switch (catchup.mode) {
    case CatchupMode::Default:
        return Made(catchup.source);
    case CatchupMode::Append:
        return Made(Literal(liveAddress) + catchup.source);
    case CatchupMode::Shift:
        return Shifted(liveAddress);
    case CatchupMode::Flussonic:
        return Flussonic(liveAddress);
    case CatchupMode::Xc:
        return Xc(liveAddress);
    }
    return Refused("unknown catch-up mode");
}

} // namespace quorvel
