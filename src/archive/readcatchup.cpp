#include "archive/readcatchup.h"

#include "archive/addressparts.h"
#include "archive/redactedaddress.h"
#include "base/blanks.h"
#include "base/foldednames.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <utility>

namespace quorvel {

namespace {

// A value together with the attribute that gave it, for the reason when it is wrong.
struct Given {
    std::string_view value;
    std::string_view name;
};

Given FirstGiven(std::initializer_list<Given> candidates)
{
    for (const Given& g : candidates) {
        const std::string_view trimmed = TrimBlanks(g.value);
        if (!trimmed.empty())
            return {trimmed, g.name};
    }
    return {};
}

// A value quoted for a one-line reason: short, and with no control characters.
std::string Quoted(std::string_view value)
{
    constexpr std::size_t kShown = 60;
    std::string out = "'";
    for (std::size_t i = 0; i < value.size() && i < kShown; ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        out += c < 0x20 || c == 0x7f ? '?' : static_cast<char>(c);
    }
    if (value.size() > kShown)
        out += "...";
    return out + "'";
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits, an optional "+" before them; none when that is not all there is or it is too large.
std::optional<std::int64_t> WholeNumber(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty() || text.size() > 12)
        return std::nullopt;
    std::int64_t n = 0;
    for (const char c : text) {
        if (!IsDigit(c))
            return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

// Hours as "5", "-3", "5.5", "+5:30" or "-0:45", in whole minutes (rounded half away from zero);
// none when it is not a number or is far beyond a day either way.
std::optional<std::int64_t> CorrectionMinutes(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::size_t mark = text.find_first_of(".:");
    const std::string_view whole = text.substr(0, mark);
    const std::string_view part = mark == std::string_view::npos ? std::string_view() : text.substr(mark + 1);
    if (whole.empty() && part.empty())
        return std::nullopt;
    const std::optional<std::int64_t> hours = whole.empty() ? std::optional<std::int64_t>(0) : WholeNumber(whole);
    if (!hours || (!whole.empty() && whole.front() == '+'))
        return std::nullopt;
    std::int64_t minutes = *hours * 60;
    if (mark != std::string_view::npos && text[mark] == ':') {
        const std::optional<std::int64_t> m = part.size() == 2 ? WholeNumber(part) : std::nullopt;
        if (!m || *m >= 60 || part.front() == '+')
            return std::nullopt;
        minutes += *m;
    } else if (mark != std::string_view::npos) {
        // Only the first digits of the fraction can change whole minutes; the rest must be digits.
        if (part.empty() && whole.empty())
            return std::nullopt;
        std::int64_t tenThousandths = 0;
        std::int64_t scale = 1000;
        for (const char c : part) {
            if (!IsDigit(c))
                return std::nullopt;
            tenThousandths += (c - '0') * scale;
            scale /= 10;
        }
        minutes += (tenThousandths * 60 + 5000) / 10000;
    }
    return negative ? -minutes : minutes;
}

// Every "{" closed by a "}" before the next "{", and no "}" without its "{".
bool BracesBalance(std::string_view text)
{
    bool open = false;
    for (const char c : text) {
        if (c == '{') {
            if (open)
                return false;
            open = true;
        } else if (c == '}') {
            if (!open)
                return false;
            open = false;
        }
    }
    return !open;
}

CatchupOutcome Refused(std::string reason)
{
    CatchupOutcome outcome;
    outcome.state = CatchupState::Refused;
    outcome.reason = std::move(reason);
    return outcome;
}

} // namespace

CatchupOutcome ReadCatchup(const CatchupAttributes& channel, const CatchupAttributes& defaults)
{
    const Given mode = FirstGiven({{channel.catchup, "catchup"},
                                   {channel.catchupType, "catchup-type"},
                                   {defaults.catchup, "catchup"},
                                   {defaults.catchupType, "catchup-type"}});
    const Given shiftDays = FirstGiven({{channel.timeshift, "timeshift"},
                                        {channel.tvgRec, "tvg-rec"},
                                        {defaults.timeshift, "timeshift"},
                                        {defaults.tvgRec, "tvg-rec"}});
    // Days of the channel itself come before the playlist's, whichever attribute gives them.
    const Given days = FirstGiven({{channel.days, "catchup-days"},
                                   {channel.timeshift, "timeshift"},
                                   {channel.tvgRec, "tvg-rec"},
                                   {defaults.days, "catchup-days"},
                                   {defaults.timeshift, "timeshift"},
                                   {defaults.tvgRec, "tvg-rec"}});
    const Given source = FirstGiven({{channel.source, "catchup-source"}, {defaults.source, "catchup-source"}});
    const Given correction =
        FirstGiven({{channel.correction, "catchup-correction"}, {defaults.correction, "catchup-correction"}});

    CatchupOutcome outcome;
    Catchup& catchup = outcome.catchup;
    if (!mode.value.empty()) {
        const std::optional<CatchupMode> named = CatchupModeNamed(mode.value);
        if (!named)
            return Refused("unknown catch-up mode: " + Quoted(mode.value));
        catchup.mode = *named;
    } else if (!shiftDays.value.empty()) {
        catchup.mode = CatchupMode::Shift;
    } else if (!source.value.empty()) {
        catchup.mode = CatchupMode::Default;
    } else {
        return outcome; // days or a correction alone say nothing of where the archive is
    }

    if (days.value.empty()) {
        catchup.days = kDefaultCatchupDays;
    } else {
        const std::optional<std::int64_t> n = WholeNumber(days.value);
        std::string_view unsigned_ = days.value;
        if (unsigned_.front() == '-' || unsigned_.front() == '+')
            unsigned_.remove_prefix(1);
        if (unsigned_.empty() || unsigned_.find_first_not_of("0123456789") != std::string_view::npos)
            return Refused(std::string(days.name) + " is not a number: " + Quoted(days.value));
        if (!n || *n > kMaxCatchupDays)
            return Refused(std::string(days.name) + " is out of range (0 to " + std::to_string(kMaxCatchupDays) +
                           "): " + Quoted(days.value));
        if (*n == 0)
            return outcome; // the playlist's way of saying this channel has no archive
        catchup.days = static_cast<int>(*n);
    }

    if (!correction.value.empty()) {
        const std::optional<std::int64_t> minutes = CorrectionMinutes(correction.value);
        if (!minutes)
            return Refused("catchup-correction is not a number: " + Quoted(correction.value));
        if (*minutes > 24 * 60 || *minutes < -24 * 60)
            return Refused("catchup-correction is beyond 24 hours either way: " + Quoted(correction.value));
        catchup.correctionMinutes = static_cast<int>(*minutes);
    }

    if (catchup.mode == CatchupMode::Default || catchup.mode == CatchupMode::Append) {
        const std::string name(CatchupModeName(catchup.mode));
        if (source.value.empty())
            return Refused("catch-up mode '" + name + "' needs a catchup-source");
        if (source.value.size() > kMaxCatchupSource)
            return Refused("catchup-source is too long (" + std::to_string(source.value.size()) +
                           " characters, at most " + std::to_string(kMaxCatchupSource) + ")");
        const std::string shown = Quoted(RedactedArchiveAddress(source.value));
        if (!BracesBalance(source.value))
            return Refused("catchup-source has unbalanced braces: " + shown);
        if (catchup.mode == CatchupMode::Default) {
            const std::optional<AddressParts> parts = SplitAddress(source.value);
            if (parts && !IsWebScheme(parts->scheme))
                return Refused("catchup-source is not an http/https address: " + shown);
            if (parts && parts->authority.empty())
                return Refused("catchup-source has no host: " + shown);
            // A tail such as "?utc={utc}" is what the append mode does with it.
            if (!parts)
                catchup.mode = CatchupMode::Append;
        }
        catchup.source = source.value;
    }
    outcome.state = CatchupState::Ready;
    return outcome;
}

} // namespace quorvel
