#include "archive/archiveaddress.h"

#include "archive/providertime.h"

#include <algorithm>
#include <string>
#include <unordered_set>

namespace quorvel {

namespace {

constexpr std::int64_t kLatest = 253402300799; // the last second of 9999
constexpr std::int64_t kDay = 86400;

// The moments with every difference between them safe to take.
struct Moments {
    std::int64_t start;
    std::int64_t end;
    std::int64_t now;
    int offsetMinutes;
};

Moments Clamped(const ArchiveTimes& times)
{
    const auto clamp = [](std::int64_t t) { return std::clamp<std::int64_t>(t, 0, kLatest); };
    return {clamp(times.start), clamp(times.end), clamp(times.now), times.offsetMinutes};
}

void AppendPadded(std::string& out, int value, int width)
{
    const std::string digits = std::to_string(value);
    if (digits.size() < static_cast<std::size_t>(width))
        out.append(static_cast<std::size_t>(width) - digits.size(), '0');
    out += digits;
}

// One of the letters Y m d H M S of the moment on the provider's clock; false for another letter.
bool AppendField(std::string& out, char letter, const CivilTime& civil)
{
    switch (letter) {
    case 'Y':
        AppendPadded(out, civil.year, 4);
        return true;
    case 'm':
        AppendPadded(out, civil.month, 2);
        return true;
    case 'd':
        AppendPadded(out, civil.day, 2);
        return true;
    case 'H':
        AppendPadded(out, civil.hour, 2);
        return true;
    case 'M':
        AppendPadded(out, civil.minute, 2);
        return true;
    case 'S':
        AppendPadded(out, civil.second, 2);
        return true;
    default:
        return false;
    }
}

// The format's letters replaced, the rest kept; false when it has no letter to replace.
bool AppendFormatted(std::string& out, std::string_view format, std::int64_t t, int offsetMinutes)
{
    const CivilTime civil = ProviderCivilTime(t, offsetMinutes);
    bool any = false;
    for (const char c : format) {
        if (AppendField(out, c, civil))
            any = true;
        else
            out += c;
    }
    return any;
}

// A divisor of 1 to 999999999 written in digits.
std::int64_t Divisor(std::string_view text)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string_view::npos)
        return 0;
    return std::stoll(std::string(text));
}

bool AppendQuotient(std::string& out, std::int64_t value, std::string_view divisorText)
{
    const std::int64_t divisor = Divisor(divisorText);
    if (divisor == 0)
        return false;
    out += std::to_string(value / divisor);
    return true;
}

// The value of "{name}" or "{name:argument}"; false when it has none.
bool AppendBraced(std::string& out, std::string_view name, std::string_view argument, bool hasArgument,
                  const Moments& m)
{
    const std::int64_t duration = std::max<std::int64_t>(m.end - m.start, 0);
    if (hasArgument) {
        if (name == "utc")
            return AppendFormatted(out, argument, m.start, m.offsetMinutes);
        if (name == "utcend")
            return AppendFormatted(out, argument, m.end, m.offsetMinutes);
        if (name == "duration")
            return AppendQuotient(out, duration, argument);
        if (name == "offset")
            return AppendQuotient(out, m.now - m.start, argument);
        return false;
    }
    if (name == "utc")
        out += std::to_string(m.start);
    else if (name == "utcend")
        out += std::to_string(m.end);
    else if (name == "lutc")
        out += std::to_string(m.now);
    else if (name == "duration")
        out += std::to_string(duration);
    else if (name.size() == 1)
        return AppendField(out, name.front(), ProviderCivilTime(m.start, m.offsetMinutes));
    else
        return false;
    return true;
}

// The value of "${name}" or "${name:format}"; false when it has none.
bool AppendDollar(std::string& out, std::string_view name, std::string_view argument, bool hasArgument,
                  const Moments& m)
{
    if (hasArgument) {
        if (name == "start")
            return AppendFormatted(out, argument, m.start, m.offsetMinutes);
        if (name == "end")
            return AppendFormatted(out, argument, m.end, m.offsetMinutes);
        return false;
    }
    if (name == "start")
        out += std::to_string(m.start);
    else if (name == "end")
        out += std::to_string(m.end);
    else if (name == "now" || name == "timestamp")
        out += std::to_string(m.now);
    else if (name == "offset")
        out += std::to_string(m.now - m.start);
    else
        return false;
    return true;
}

} // namespace

ArchiveAddress ExpandArchiveTemplate(std::string_view archiveTemplate, const ArchiveTimes& times)
{
    const Moments m = Clamped(times);
    ArchiveAddress result;
    std::string& out = result.address;
    out.reserve(archiveTemplate.size() + 32);
    std::unordered_set<std::string_view> reported;
    std::size_t i = 0;
    while (i < archiveTemplate.size()) {
        const char c = archiveTemplate[i];
        const bool dollar = c == '$' && i + 1 < archiveTemplate.size() && archiveTemplate[i + 1] == '{';
        if (c != '{' && !dollar) {
            out += c;
            ++i;
            continue;
        }
        // A placeholder runs to the first "}", unless another "{" comes first: then this brace
        // is plain text and the placeholder, if any, starts there.
        const std::size_t open = dollar ? i + 1 : i;
        const std::size_t close = archiveTemplate.find('}', open + 1);
        const std::size_t nextOpen = archiveTemplate.find('{', open + 1);
        if (close == std::string_view::npos || nextOpen < close) {
            out += c;
            ++i;
            continue;
        }
        const std::string_view inner = archiveTemplate.substr(open + 1, close - open - 1);
        const std::size_t colon = inner.find(':');
        const std::string_view name = inner.substr(0, colon);
        const std::string_view argument =
            colon == std::string_view::npos ? std::string_view() : inner.substr(colon + 1);
        const bool hasArgument = colon != std::string_view::npos;
        std::string value;
        const bool known = dollar ? AppendDollar(value, name, argument, hasArgument, m)
                                  : AppendBraced(value, name, argument, hasArgument, m);
        const std::string_view written = archiveTemplate.substr(i, close + 1 - i);
        if (known) {
            out += value;
        } else {
            out += written;
            if (reported.insert(written).second)
                result.unknownPlaceholders.emplace_back(written);
        }
        i = close + 1;
    }
    return result;
}

bool CanPlayFromArchive(const Catchup& catchup, std::int64_t start, std::int64_t now)
{
    if (catchup.days <= 0)
        return false;
    const std::int64_t s = std::clamp<std::int64_t>(start, 0, kLatest);
    const std::int64_t n = std::clamp<std::int64_t>(now, 0, kLatest);
    return s <= n && n - s <= std::int64_t{catchup.days} * kDay;
}

std::optional<ArchiveAddress> StartOverAddress(std::string_view archiveTemplate, const Catchup& catchup,
                                               const ArchiveTimes& times)
{
    if (!(times.start <= times.now && times.now < times.end) || !CanPlayFromArchive(catchup, times.start, times.now))
        return std::nullopt;
    return ExpandArchiveTemplate(archiveTemplate, times);
}

} // namespace quorvel
