#include "archive/archiveaddress.h"
#include "archive/archivetemplate.h"
#include "archive/providertime.h"
#include "archive/redactedaddress.h"
#include "envscope.h"

#include <ctime>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace quorvel;

namespace {

constexpr std::int64_t k20261207_1830 = 1796668200;
constexpr std::int64_t k20270101_0020 = 1798762800;
// A programme from 18:30 to 20:00 UTC, watched at 19:32:05.
constexpr ArchiveTimes kEvening = {k20261207_1830, k20261207_1830 + 5400, k20261207_1830 + 3725, 0};

ArchiveTimes WithOffset(ArchiveTimes times, int minutes)
{
    times.offsetMinutes = minutes;
    return times;
}

Catchup Mode(CatchupMode mode, const char* source = "")
{
    Catchup catchup;
    catchup.mode = mode;
    catchup.days = 3;
    catchup.source = source;
    return catchup;
}

} // namespace

TEST(ArchiveAddress, EachModeFromTheLiveAddress)
{
    struct Row {
        Catchup catchup;
        const char* live;
        const char* archive; // kEvening's
    };
    const Row rows[] = {
        {Mode(CatchupMode::Default, "http://arc/{utc}-{duration}.ts"), "http://live/1.ts",
         "http://arc/1796668200-5400.ts"},
        {Mode(CatchupMode::Append, "?start={utc}&end={utcend}"), "http://h/ch1.m3u8",
         "http://h/ch1.m3u8?start=1796668200&end=1796673600"},
        {Mode(CatchupMode::Shift), "http://h/ch1.m3u8", "http://h/ch1.m3u8?utc=1796668200&lutc=1796671925"},
        {Mode(CatchupMode::Shift), "http://h/ch1.m3u8?token=a",
         "http://h/ch1.m3u8?token=a&utc=1796668200&lutc=1796671925"},
        {Mode(CatchupMode::Shift), "http://h/ch1?", "http://h/ch1?utc=1796668200&lutc=1796671925"},
        {Mode(CatchupMode::Flussonic), "http://f:8080/news/mpegts?token=t",
         "http://f:8080/news/timeshift_abs-1796668200.ts?token=t"},
        {Mode(CatchupMode::Flussonic), "https://f/a/news/index.m3u8", "https://f/a/news/timeshift_rel-3725.m3u8"},
        {Mode(CatchupMode::Flussonic), "http://f/news/mono.m3u8?token=t",
         "http://f/news/mono-timeshift_rel-3725.m3u8?token=t"},
        {Mode(CatchupMode::Xc), "http://x:8000/live/me/pw/42.ts",
         "http://x:8000/timeshift/me/pw/90/2026-12-07:18-30/42.ts"},
        {Mode(CatchupMode::Xc), "https://x/me/pw/42", "https://x/timeshift/me/pw/90/2026-12-07:18-30/42.ts"},
        {Mode(CatchupMode::Xc), "http://x/live/me/pw/42.m3u8", "http://x/timeshift/me/pw/90/2026-12-07:18-30/42.m3u8"},
        // Braces of the live address are no placeholders.
        {Mode(CatchupMode::Append, "&t={utc}"), "http://h/{utc}?a", "http://h/%7Butc%7D?a&t=1796668200"},
    };
    for (const Row& row : rows) {
        const ArchiveTemplate made = MakeArchiveTemplate(row.catchup, row.live);
        ASSERT_TRUE(made.reason.empty()) << row.live << ": " << made.reason;
        const ArchiveAddress address = ExpandArchiveTemplate(made.text, kEvening);
        EXPECT_EQ(address.address, row.archive) << made.text;
        EXPECT_TRUE(address.unknownPlaceholders.empty()) << made.text;
    }
}

TEST(ArchiveAddress, LiveAddressesThatDoNotFitTheMode)
{
    const std::pair<CatchupMode, const char*> rows[] = {
        {CatchupMode::Flussonic, "http://f/news/playlist.m3u8"},
        {CatchupMode::Flussonic, "http://f/mpegts"},
        {CatchupMode::Flussonic, "rtsp://f/news/mpegts"},
        {CatchupMode::Flussonic, "news/mpegts"},
        {CatchupMode::Xc, "http://x/me/42.ts"},
        {CatchupMode::Xc, "http://x/a/b/me/pw/42"},
        {CatchupMode::Xc, "udp://x/me/pw/42"},
        {CatchupMode::Xc, "http://x/me/pw/.ts"},
        {CatchupMode::Shift, ""},
        {CatchupMode::Append, "http://h/a"},
    };
    for (const auto& [mode, live] : rows) {
        const ArchiveTemplate made = MakeArchiveTemplate(Mode(mode), live);
        EXPECT_TRUE(made.text.empty()) << live;
        EXPECT_FALSE(made.reason.empty()) << live;
    }
}

TEST(ArchiveAddress, EachPlaceholder)
{
    struct Row {
        const char* in;
        ArchiveTimes times;
        const char* out;
    };
    const ArchiveTimes newYear = {k20270101_0020, k20270101_0020 + 600, k20270101_0020 + 60, 0};
    const Row rows[] = {
        {"{utc} ${start}", kEvening, "1796668200 1796668200"},
        {"{utcend} ${end}", kEvening, "1796673600 1796673600"},
        {"{lutc} ${now} ${timestamp}", kEvening, "1796671925 1796671925 1796671925"},
        {"{duration} {duration:60} {duration:7}", kEvening, "5400 90 771"},
        {"{offset:1} {offset:60} ${offset}", kEvening, "3725 62 3725"},
        {"{Y}-{m}-{d} {H}:{M}:{S}", kEvening, "2026-12-07 18:30:00"},
        {"{utc:YmdHMS}/{utcend:YmdHMS}", kEvening, "20261207183000/20261207200000"},
        {"${start:Y-m-d:H-M}_${end:H.M.S}", kEvening, "2026-12-07:18-30_20.00.00"},
        // A half-hour zone, across midnight into the next day.
        {"{Y}{m}{d}{H}{M} {utcend:H:M}", WithOffset(kEvening, 330), "202612080000 01:30"},
        {"{Y}{m}{d}{H}{M}", WithOffset(kEvening, -90), "202612071700"},
        // Back across midnight, the month and the year.
        {"{Y}-{m}-{d} {H}:{M}", WithOffset(newYear, -60), "2026-12-31 23:20"},
        {"{Y}-{m}-{d} {H}:{M} {utc}", WithOffset(kEvening, 24 * 60 + 330), "2026-12-09 00:00 1796668200"},
        // A programme not yet started and one that ends before it starts.
        {"{offset:1}", {100, 200, 40, 0}, "-60"},
        {"{duration}", {100, 50, 40, 0}, "0"},
        // Times beyond the calendar's years stay within them.
        {"{Y}{m}{d} {utc}", {-5, 0, 0, 0}, "19700101 0"},
        {"{utc:Y} {utcend:Y}", {INT64_MAX, INT64_MIN, 0, 0}, "9999 1970"},
        {"{Y}", {INT64_MAX, 0, 0, INT32_MAX}, "9999"},
        {"{Y}", {0, 0, 0, INT32_MIN}, "1970"},
        {"{utc} {offset:1}", {INT64_MIN, 0, INT64_MAX, 0}, "0 253402300799"},
    };
    for (const Row& row : rows) {
        const ArchiveAddress address = ExpandArchiveTemplate(row.in, row.times);
        EXPECT_EQ(address.address, row.out) << row.in;
        EXPECT_TRUE(address.unknownPlaceholders.empty()) << row.in;
    }
}

TEST(ArchiveAddress, UnknownPlaceholdersStayAndAreReportedOnce)
{
    const ArchiveAddress address =
        ExpandArchiveTemplate("http://a/{x}/{utc}/{x}/${foo}/{duration:0}/{utc:abc}/{Y:}/${start:}/{lutc:H}", kEvening);
    EXPECT_EQ(address.address, "http://a/{x}/1796668200/{x}/${foo}/{duration:0}/{utc:abc}/{Y:}/${start:}/{lutc:H}");
    const std::vector<std::string> unknown = {"{x}",  "${foo}",    "{duration:0}", "{utc:abc}",
                                              "{Y:}", "${start:}", "{lutc:H}"};
    EXPECT_EQ(address.unknownPlaceholders, unknown);
    // Braces that make no placeholder are plain text.
    const ArchiveAddress stray = ExpandArchiveTemplate("a{b{utc}c} $x ${ {", kEvening);
    EXPECT_EQ(stray.address, "a{b1796668200c} $x ${ {");
    EXPECT_TRUE(stray.unknownPlaceholders.empty());
}

TEST(ArchiveAddress, WhatTheArchiveHoldsAndStartingOver)
{
    Catchup catchup = Mode(CatchupMode::Shift);
    const std::int64_t now = k20261207_1830;
    EXPECT_TRUE(CanPlayFromArchive(catchup, now - 3 * 86400, now));
    EXPECT_FALSE(CanPlayFromArchive(catchup, now - 3 * 86400 - 1, now));
    EXPECT_TRUE(CanPlayFromArchive(catchup, now, now));
    EXPECT_FALSE(CanPlayFromArchive(catchup, now + 1, now));
    EXPECT_FALSE(CanPlayFromArchive(Catchup{}, now - 60, now));

    const ArchiveTemplate made = MakeArchiveTemplate(catchup, "http://h/1.ts");
    const std::optional<ArchiveAddress> over = StartOverAddress(made.text, catchup, kEvening);
    ASSERT_TRUE(over);
    EXPECT_EQ(over->address, "http://h/1.ts?utc=1796668200&lutc=1796671925");
    ArchiveTimes past = kEvening;
    past.now = past.end;
    EXPECT_FALSE(StartOverAddress(made.text, catchup, past));
    ArchiveTimes coming = kEvening;
    coming.now = coming.start - 1;
    EXPECT_FALSE(StartOverAddress(made.text, catchup, coming));
}

TEST(ArchiveAddress, ProviderOffsetFromTheLocalZone)
{
    const Catchup catchup = Mode(CatchupMode::Shift);
    {
        EnvScope zone("TZ", "IST-5:30");
        tzset();
        EXPECT_EQ(LocalOffsetMinutes(k20261207_1830), 330);
        EXPECT_EQ(ProviderOffsetMinutes(catchup, k20261207_1830, -60), 270);
    }
    {
        // Central Europe: summer time counts at the programme's own moment.
        EnvScope zone("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
        tzset();
        EXPECT_EQ(LocalOffsetMinutes(k20261207_1830), 60);
        EXPECT_EQ(LocalOffsetMinutes(k20261207_1830 - 150 * 86400), 120);
    }
    tzset();
}

TEST(ArchiveAddress, CredentialsRedacted)
{
    const std::pair<const char*, const char*> rows[] = {
        {"http://me:pw@h:81/a/b.ts", "http://***@h:81/a/b.ts"},
        {"http://x/live/me/pw/42.ts", "http://x/live/***/***/42.ts"},
        {"http://x/me/pw/42.m3u8", "http://x/***/***/42.m3u8"},
        {"http://x/timeshift/me/pw/{duration:60}/{Y}-{m}-{d}:{H}-{M}/42.ts",
         "http://x/timeshift/***/***/{duration:60}/{Y}-{m}-{d}:{H}-{M}/42.ts"},
        {"HTTP://x/Movie/me/pw/7.mkv#t", "HTTP://x/Movie/***/***/7.mkv#t"},
        {"http://x/get.php?username=me&Password=pw&type=m3u", "http://x/get.php?username=***&Password=***&type=m3u"},
        {"?user=me&utc={utc}", "?user=***&utc={utc}"},
        {"http://f/news/index.m3u8?token=t", "http://f/news/index.m3u8?token=***"},
        {"http://h/hls/ch1/index.m3u8", "http://h/hls/ch1/index.m3u8"},
        {"not an address", "not an address"},
    };
    for (const auto& [in, out] : rows)
        EXPECT_EQ(RedactedArchiveAddress(in), out);
}
