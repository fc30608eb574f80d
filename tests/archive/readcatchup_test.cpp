#include "archive/readcatchup.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <utility>

using namespace quorvel;

namespace {

using Pairs = std::initializer_list<std::pair<const char*, const char*>>;

CatchupAttributes Attributes(Pairs pairs)
{
    CatchupAttributes attributes;
    for (const auto& [name, value] : pairs)
        EXPECT_TRUE(TakeCatchupAttribute(attributes, name, value)) << name;
    return attributes;
}

} // namespace

TEST(ReadCatchup, ChannelOverDefaults)
{
    struct Row {
        Pairs channel;
        Pairs defaults;
        CatchupMode mode;
        int days;
        int correction;
        const char* source;
    };
    const Row rows[] = {
        {{{"tvg-rec", "3"}}, {}, CatchupMode::Shift, 3, 0, ""},
        {{{"TimeShift", " 2 "}}, {}, CatchupMode::Shift, 2, 0, ""},
        {{}, {{"catchup", "flussonic"}, {"catchup-days", "7"}}, CatchupMode::Flussonic, 7, 0, ""},
        {{{"catchup", "xc"}}, {{"catchup", "shift"}, {"catchup-days", "4"}}, CatchupMode::Xc, 4, 0, ""},
        {{{"catchup-type", "FS"}}, {}, CatchupMode::Flussonic, kDefaultCatchupDays, 0, ""},
        {{{"catchup", "flussonic-hls"}, {"catchup-type", "xc"}}, {}, CatchupMode::Flussonic, 5, 0, ""},
        {{{"catchup-type", "flussonic-ts"}}, {{"catchup", "xc"}}, CatchupMode::Flussonic, 5, 0, ""},
        // The channel's own days win, whichever attribute gives them.
        {{{"catchup-days", "1"}}, {{"catchup", "shift"}, {"catchup-days", "9"}}, CatchupMode::Shift, 1, 0, ""},
        {{{"tvg-rec", "2"}}, {{"catchup", "xc"}, {"catchup-days", "9"}}, CatchupMode::Xc, 2, 0, ""},
        {{{"catchup-source", "http://a/{utc}"}}, {}, CatchupMode::Default, 5, 0, "http://a/{utc}"},
        {{{"catchup", "default"}},
         {{"catchup-source", "https://a/${start}"}},
         CatchupMode::Default,
         5,
         0,
         "https://a/${start}"},
        // A tail in the default mode is appended.
        {{{"catchup", "default"}, {"catchup-source", "?utc={utc}"}}, {}, CatchupMode::Append, 5, 0, "?utc={utc}"},
        {{{"catchup", "append"}, {"catchup-source", " &s={utc} "}}, {}, CatchupMode::Append, 5, 0, "&s={utc}"},
        {{{"catchup", "shift"}, {"catchup-correction", "5.5"}}, {}, CatchupMode::Shift, 5, 330, ""},
        {{{"catchup", "shift"}}, {{"catchup-correction", "+5:30"}}, CatchupMode::Shift, 5, 330, ""},
        {{{"catchup", "shift"}, {"catchup-correction", "-1.25"}}, {}, CatchupMode::Shift, 5, -75, ""},
        {{{"catchup", "shift"}, {"catchup-correction", "-0:45"}}, {}, CatchupMode::Shift, 5, -45, ""},
        {{{"catchup", "shift"}, {"catchup-correction", "-24"}}, {}, CatchupMode::Shift, 5, -1440, ""},
        {{{"catchup", "shift"}, {"catchup-correction", ".01"}}, {}, CatchupMode::Shift, 5, 1, ""},
    };
    for (const Row& row : rows) {
        const CatchupOutcome outcome = ReadCatchup(Attributes(row.channel), Attributes(row.defaults));
        ASSERT_EQ(outcome.state, CatchupState::Ready) << outcome.reason;
        EXPECT_EQ(outcome.catchup.mode, row.mode);
        EXPECT_EQ(outcome.catchup.days, row.days);
        EXPECT_EQ(outcome.catchup.correctionMinutes, row.correction);
        EXPECT_EQ(outcome.catchup.source, row.source);
    }
}

TEST(ReadCatchup, NothingToReachIsNone)
{
    // Aggregates, so that the lists live as long as the table.
    struct Row {
        Pairs channel;
        Pairs defaults;
    };
    const Row rows[] = {
        {{}, {}},
        {{{"catchup", ""}, {"catchup-source", " "}}, {}},
        {{{"catchup-days", "7"}}, {{"catchup-correction", "2"}}},
        {{{"tvg-rec", "0"}}, {{"catchup", "xc"}}},
        {{{"catchup-days", "0"}}, {{"catchup", "shift"}}},
    };
    for (const auto& [channel, defaults] : rows)
        EXPECT_EQ(ReadCatchup(Attributes(channel), Attributes(defaults)).state, CatchupState::None);
    CatchupAttributes attributes;
    EXPECT_FALSE(TakeCatchupAttribute(attributes, "tvg-shift", "2"));
}

TEST(ReadCatchup, RefusedWithTheReason)
{
    struct Row {
        Pairs channel;
        const char* reason;
    };
    const Row rows[] = {
        {{{"catchup", "vod"}}, "unknown catch-up mode: 'vod'"},
        {{{"catchup", "shift"}, {"catchup-days", "x"}}, "catchup-days is not a number: 'x'"},
        {{{"tvg-rec", "seven"}}, "tvg-rec is not a number: 'seven'"},
        {{{"catchup", "shift"}, {"catchup-days", "3.5"}}, "catchup-days is not a number: '3.5'"},
        {{{"timeshift", "-2"}}, "timeshift is out of range (0 to 3650): '-2'"},
        {{{"tvg-rec", "99999999999999"}}, "tvg-rec is out of range (0 to 3650): '99999999999999'"},
        {{{"tvg-rec", "1"}, {"catchup-correction", "abc"}}, "catchup-correction is not a number: 'abc'"},
        {{{"tvg-rec", "1"}, {"catchup-correction", "1e3"}}, "catchup-correction is not a number: '1e3'"},
        {{{"tvg-rec", "1"}, {"catchup-correction", "5:3"}}, "catchup-correction is not a number: '5:3'"},
        {{{"tvg-rec", "1"}, {"catchup-correction", "25"}}, "catchup-correction is beyond 24 hours either way: '25'"},
        {{{"tvg-rec", "1"}, {"catchup-correction", "-24.5"}},
         "catchup-correction is beyond 24 hours either way: '-24.5'"},
        {{{"catchup", "append"}}, "catch-up mode 'append' needs a catchup-source"},
        {{{"catchup", "default"}}, "catch-up mode 'default' needs a catchup-source"},
        {{{"catchup-source", "http://a/{utc"}}, "catchup-source has unbalanced braces: 'http://a/{utc'"},
        {{{"catchup-source", "http://a/{{utc}}"}}, "catchup-source has unbalanced braces: 'http://a/{{utc}}'"},
        {{{"catchup", "append"}, {"catchup-source", "?a=utc}"}}, "catchup-source has unbalanced braces: '?a=utc}'"},
        {{{"catchup-source", "rtmp://a/{utc}"}}, "catchup-source is not an http/https address: 'rtmp://a/{utc}'"},
        {{{"catchup-source", "http:///{utc}"}}, "catchup-source has no host: 'http:///{utc}'"},
        // The source's credentials stay out of the reason.
        {{{"catchup-source", "http://me:secret@a/live/me/secret/1.ts?{utc"}},
         "catchup-source has unbalanced braces: 'http://***@a/live/***/***/1.ts?{utc'"},
    };
    for (const auto& [channel, reason] : rows) {
        const CatchupOutcome outcome = ReadCatchup(Attributes(channel), {});
        EXPECT_EQ(outcome.state, CatchupState::Refused) << reason;
        EXPECT_EQ(outcome.reason, reason);
    }
    // A reason stays one short line whatever the playlist holds.
    const CatchupOutcome outcome = ReadCatchup(Attributes({{"tvg-rec", "1\n2"}}), {});
    EXPECT_EQ(outcome.reason, "tvg-rec is not a number: '1?2'");
    const std::string longValue(500, 'x');
    EXPECT_LT(ReadCatchup(Attributes({{"tvg-rec", longValue.c_str()}}), {}).reason.size(), 120u);
}
