#include "guide/xmltvtime.h"

namespace quorvel {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int Number(std::string_view text, std::size_t at, std::size_t digits)
{
    int n = 0;
    for (std::size_t i = at; i < at + digits; ++i)
        n = n * 10 + (text[i] - '0');
    return n;
}

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool Equal(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char c = a[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != b[i])
            return false;
    }
    return true;
}

struct NamedZone {
    const char* name;
    int minutes; // east of UTC
};

// The zone names guides are written with, as XMLTV's own tools read them. Some names stand for
// several zones around the world; each is taken as those tools take it. IST is Irish Summer
// Time (+01:00), not India's (+05:30): the guides of Ireland and Britain write it, and India's
// guides give numeric offsets.
constexpr NamedZone kNamedZones[] = {
    {"Z", 0},      {"UT", 0},     {"UTC", 0},     {"GMT", 0},     {"WET", 0},    {"BST", 60},   {"IST", 60},
    {"WEST", 60},  {"CET", 60},   {"MET", 60},    {"MEZ", 60},    {"CEST", 120}, {"MEST", 120}, {"MESZ", 120},
    {"EET", 120},  {"EEST", 180}, {"MSK", 180},   {"MSD", 240},   {"AST", -240}, {"ADT", -180}, {"NST", -210},
    {"NDT", -150}, {"EST", -300}, {"EDT", -240},  {"CST", -360},  {"CDT", -300}, {"MST", -420}, {"MDT", -360},
    {"PST", -480}, {"PDT", -420}, {"AKST", -540}, {"AKDT", -480}, {"HST", -600}, {"AWST", 480}, {"JST", 540},
    {"KST", 540},  {"ACST", 570}, {"ACDT", 630},  {"AEST", 600},  {"AEDT", 660}, {"NZST", 720}, {"NZDT", 780},
};

// The zone's distance from UTC in seconds, or nothing for text that is no zone.
std::optional<int> ZoneOffset(std::string_view zone)
{
    if (zone.empty())
        return 0;
    for (const NamedZone& named : kNamedZones)
        if (Equal(zone, named.name))
            return named.minutes * 60;
    if (zone[0] != '+' && zone[0] != '-')
        return std::nullopt;
    const int sign = zone[0] == '-' ? -1 : 1;
    std::string_view rest = zone.substr(1);
    int hours = 0;
    int minutes = 0;
    auto allDigits = [](std::string_view s) {
        for (char c : s)
            if (!IsDigit(c))
                return false;
        return true;
    };
    if (rest.size() == 4 && allDigits(rest)) {
        hours = Number(rest, 0, 2);
        minutes = Number(rest, 2, 2);
    } else if (rest.size() == 5 && rest[2] == ':' && allDigits(rest.substr(0, 2)) && allDigits(rest.substr(3))) {
        hours = Number(rest, 0, 2);
        minutes = Number(rest, 3, 2);
    } else if (rest.size() == 2 && allDigits(rest)) {
        hours = Number(rest, 0, 2);
    } else {
        return std::nullopt;
    }
    // The world's zones lie between -12:00 and +14:00.
    if (hours > 14 || minutes > 59)
        return std::nullopt;
    return sign * (hours * 3600 + minutes * 60);
}

} // namespace

std::int64_t UtcSeconds(int year, int month, int day, int hour, int minute, int second)
{
    // Days since 1970-01-01 of a proleptic Gregorian date, counted in 400-year eras that start
    // on 1 March so that the leap day falls at an era-year's end.
    const int y = month <= 2 ? year - 1 : year;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const std::int64_t days = std::int64_t(era) * 146097 + dayOfEra - 719468;
    return days * 86400 + hour * 3600 + minute * 60 + second;
}

std::optional<std::int64_t> ParseGuideTime(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && IsSpace(text[at]))
        ++at;
    std::size_t digits = 0;
    while (at + digits < text.size() && IsDigit(text[at + digits]))
        ++digits;
    if (digits != 8 && digits != 10 && digits != 12 && digits != 14)
        return std::nullopt;
    const int year = Number(text, at, 4);
    const int month = Number(text, at + 4, 2);
    const int day = Number(text, at + 6, 2);
    const int hour = digits >= 10 ? Number(text, at + 8, 2) : 0;
    const int minute = digits >= 12 ? Number(text, at + 10, 2) : 0;
    int second = digits >= 14 ? Number(text, at + 12, 2) : 0;
    if (year < 1900 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
        minute > 59 || second > 60)
        return std::nullopt;
    // A leap second is the last second of its minute to us.
    if (second == 60)
        second = 59;
    std::size_t end = text.size();
    at += digits;
    while (at < end && IsSpace(text[at]))
        ++at;
    while (end > at && IsSpace(text[end - 1]))
        --end;
    const std::optional<int> offset = ZoneOffset(text.substr(at, end - at));
    if (!offset)
        return std::nullopt;
    return UtcSeconds(year, month, day, hour, minute, second) - *offset;
}

} // namespace quorvel
