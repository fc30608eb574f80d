// Playlists as providers write them, and inputs that are no channel playlist at all.
#include "base/exception.h"
#include "import/m3uplaylist.h"
#include "scratchdir.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace quorvel;

namespace {

M3uPlaylist Parse(const std::string& bytes, const QUrl& base = QUrl::fromLocalFile("/srv/lists/tv.m3u"))
{
    return M3uPlaylist(bytes, base);
}

} // namespace

TEST(M3uPlaylist, QuotedAttributesMayHoldCommasAndEquals)
{
    const auto p = Parse("#EXTM3U x-tvg-url=\"http://e/g.xml,http://e/h.xml\"\n"
                         "#EXTINF:-1 tvg-id=\"a.b\" tvg-logo=\"http://l/x.png?w=1,h=2\" group-title=\"Films, Series\","
                         "The Title, Part 2 [HD] (1080p)\n"
                         "http://127.0.0.1/a.m3u8\n"
                         "#EXTINF:0 group-title=Sport tvg-name=Arena,Arena 1\n"
                         "http://127.0.0.1/b.m3u8\n");
    ASSERT_EQ(p.Entries().size(), 2u);
    EXPECT_EQ(p.Entries()[0].title, "The Title, Part 2 [HD] (1080p)");
    EXPECT_EQ(p.Entries()[0].group, "Films, Series");
    EXPECT_EQ(p.Entries()[0].address, "http://127.0.0.1/a.m3u8");
    EXPECT_EQ(p.Entries()[1].title, "Arena 1");
    EXPECT_EQ(p.Entries()[1].group, "Sport");
}

TEST(M3uPlaylist, GroupsFromGroupTitleThenExtGrp)
{
    EXPECT_EQ(M3uPlaylist::GroupOf("News;World;Live", ""), "News");
    EXPECT_EQ(M3uPlaylist::GroupOf(" ; World ", "X"), "World");
    EXPECT_EQ(M3uPlaylist::GroupOf("", "  Kids "), "Kids");
    EXPECT_EQ(M3uPlaylist::GroupOf(";", ""), "");

    const auto p = Parse("#EXTM3U\n"
                         "#EXTINF:-1,No group\nhttp://h/0\n"
                         "#EXTGRP:Music\n"
                         "#EXTINF:-1,One\nhttp://h/1\n"
                         "#EXTINF:-1 group-title=\"Radio;Music\",Two\nhttp://h/2\n"
                         "#EXTINF:-1,Three\n#EXTGRP:Talk\nhttp://h/3\n");
    ASSERT_EQ(p.Entries().size(), 4u);
    EXPECT_EQ(p.Entries()[0].group, "");
    EXPECT_EQ(p.Entries()[1].group, "Music");
    EXPECT_EQ(p.Entries()[2].group, "Radio");
    // A group line between a title and its address belongs to that entry.
    EXPECT_EQ(p.Entries()[3].group, "Talk");
}

TEST(M3uPlaylist, BomCrLfOptionsAndNoFinalLineBreak)
{
    const auto p = Parse("\xEF\xBB\xBF#EXTM3U\r\n\r\n# a comment\r\n"
                         "#EXTINF:-1 group-title=\"A\",First\r\n"
                         "#EXTVLCOPT:http-user-agent=Mozilla/5.0\r\n"
                         "#KODIPROP:inputstream=inputstream.adaptive\r\n"
                         "http://h/first.m3u8\r\n"
                         "#EXTINF:-1,Last\r\n"
                         "  http://h/last.m3u8  ");
    ASSERT_EQ(p.Entries().size(), 2u);
    EXPECT_EQ(p.Entries()[0].address, "http://h/first.m3u8");
    EXPECT_EQ(p.Entries()[0].line, 7);
    EXPECT_EQ(p.Entries()[1].title, "Last");
    EXPECT_EQ(p.Entries()[1].address, "http://h/last.m3u8");
    // A BOM-less file with old Mac line ends reads the same.
    const auto cr = Parse("#EXTM3U\r#EXTINF:-1,X\rhttp://h/x\r");
    ASSERT_EQ(cr.Entries().size(), 1u);
    EXPECT_EQ(cr.Entries()[0].title, "X");
    EXPECT_EQ(cr.Entries()[0].address, "http://h/x");
    // Mixed: LF then CR is two line ends, CR CR LF two as well.
    const auto mixed = Parse("#EXTM3U\n\r#extinf:-1,A\r\r\nhttp://h/a\n#EXTINF:-1,B\rhttp://h/b");
    ASSERT_EQ(mixed.Entries().size(), 2u);
    EXPECT_EQ(mixed.Entries()[0].title, "A");
    EXPECT_EQ(mixed.Entries()[0].line, 5);
    EXPECT_EQ(mixed.Entries()[1].address, "http://h/b");
    EXPECT_EQ(mixed.Entries()[1].line, 7);
}

TEST(M3uPlaylist, TitlesFallBackAndTitlesWithoutAddressAreCounted)
{
    const auto p = Parse("#EXTM3U\n"
                         "#EXTINF:-1 tvg-name=\"From Name\",\nhttp://h/1\n"
                         "#EXTINF:-1 tvg-logo=\"unclosed,Lost\nhttp://h/2\n"
                         "#EXTINF:-1,Orphan\n"
                         "#EXTINF:-1,Kept\nhttp://h/3\n"
                         "#EXTINF:-1,Tail without address\n");
    ASSERT_EQ(p.Entries().size(), 3u);
    EXPECT_EQ(p.Entries()[0].title, "From Name");
    EXPECT_EQ(p.Entries()[1].title, "http://h/2");
    EXPECT_EQ(p.Entries()[2].title, "Kept");
    EXPECT_EQ(p.WithoutAddress(), 2);
}

TEST(M3uPlaylist, TextThatIsNotUtf8IsReadAsLatin1)
{
    const auto p = Parse("#EXTM3U\n#EXTINF:-1 group-title=\"T\xE9l\xE9\",Fran\xE7"
                         "ais\nhttp://h/f\n");
    ASSERT_EQ(p.Entries().size(), 1u);
    EXPECT_EQ(p.Entries()[0].title, "Fran\xC3\xA7"
                                    "ais");
    EXPECT_EQ(p.Entries()[0].group, "T\xC3\xA9l\xC3\xA9");
    // Valid UTF-8 stays as it is.
    const auto u = Parse("#EXTM3U\n#EXTINF:-1,\xE4\xB8\xAD\xE6\x96\x87\nhttp://h/z\n");
    EXPECT_EQ(u.Entries()[0].title, "\xE4\xB8\xAD\xE6\x96\x87");
}

TEST(M3uPlaylist, RelativeAddressesStartFromThePlaylist)
{
    // Beside a local playlist a relative address counts only when it names a file that is there.
    ScratchDir dir;
    std::filesystem::create_directory(dir.File("streams"));
    ScratchDir::Spit(dir.File("streams/a.ts"), "x");
    const auto local = Parse("#EXTM3U\n#EXTINF:-1,A\nstreams/a.ts\n#EXTINF:-1,Gone\nstreams/gone.ts\n"
                             "#EXTINF:-1,B\n/abs/b.ts\n#EXTINF:-1,C\nrtp://@239.0.0.1:5000\n",
                             QUrl::fromLocalFile(QString::fromStdString(dir.File("tv.m3u"))));
    ASSERT_EQ(local.Entries().size(), 3u);
    EXPECT_EQ(local.Entries()[0].address, dir.File("streams/a.ts"));
    EXPECT_EQ(local.Entries()[1].address, "/abs/b.ts");
    EXPECT_EQ(local.Entries()[2].address, "rtp://@239.0.0.1:5000");
    EXPECT_EQ(local.NotAddresses(), 1);
    const auto remote = M3uPlaylist("#EXTM3U\n#EXTINF:-1,A\nlive/a.m3u8\n#EXTINF:-1,B\n/b.m3u8\n",
                                    QUrl("http://127.0.0.1:8080/lists/tv.m3u?token=1"));
    EXPECT_EQ(remote.Entries()[0].address, "http://127.0.0.1:8080/lists/live/a.m3u8");
    EXPECT_EQ(remote.Entries()[1].address, "http://127.0.0.1:8080/b.m3u8");
}

TEST(M3uPlaylist, PlainListsOfAddressesAreAccepted)
{
    const auto p = Parse("http://h/one.m3u8\n\nrtsp://h/two\n/media/three.ts\n");
    ASSERT_EQ(p.Entries().size(), 3u);
    EXPECT_EQ(p.Entries()[0].title, "http://h/one.m3u8");
    EXPECT_EQ(p.Entries()[0].group, "");
}

TEST(M3uPlaylist, WhatIsNoChannelPlaylistIsRefusedWithItsReason)
{
    auto message = [](const std::string& bytes) {
        try {
            Parse(bytes);
        } catch (const Exception& e) {
            return e.Message();
        }
        return std::string("accepted");
    };
    EXPECT_NE(message("<!DOCTYPE html>\n<html><body>Not found</body></html>\n").find("not an M3U playlist (line 1"),
              std::string::npos);
    EXPECT_NE(message("[Layer1]\nNews=\n").find("not an M3U playlist"), std::string::npos);
    EXPECT_NE(message(std::string("#EXTM3U\n\0\x01\x02", 11)).find("binary"), std::string::npos);
    EXPECT_NE(message("#EXTM3U\n#EXT-X-TARGETDURATION:6\n#EXTINF:6.0,\nseg1.ts\n").find("single stream"),
              std::string::npos);
    EXPECT_NE(message("#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=1\nlow.m3u8\n").find("single stream"), std::string::npos);
}

TEST(M3uPlaylist, RequestOptionsInEachOfTheirForms)
{
    const auto p =
        Parse("#EXTM3U x-tvg-url=\"http://g/a.xml, http://g/b.xml.gz\" url-tvg=\"http://g/a.xml\" "
              "user-agent=\"HeaderAgent/1\"\n"
              // Option lines before the address.
              "#EXTINF:-1 tvg-id=\"one.tv\" tvg-name=\"One HD\" tvg-chno=\"101\" tvg-shift=\"-2\" "
              "tvg-logo=\"http://l/one.png\",One\n"
              "#EXTVLCOPT:http-user-agent=VlcAgent/2 (X11; Linux)\n"
              "#EXTVLCOPT:http-referrer=http://ref.example/\n"
              "#EXTVLCOPT:http-origin=http://origin.example\n"
              "http://h/one.m3u8\n"
              // Attributes, in both spellings.
              "#EXTINF:-1 http-user-agent=\"AttrAgent\" referrer=\"http://r2/\",Two\n"
              "http://h/two.m3u8\n"
              "#EXTINF:-1 user-agent=\"Other\" http-referrer=\"http://r3/\",Three\n"
              "http://h/three.m3u8\n"
              // The address suffix, percent-encoded; it is no part of the address.
              "#EXTINF:-1,Four\n"
              "http://h/four.m3u8?a=1|User-Agent=Suffix%20Agent%2F3&Referer=http%3A%2F%2Fr4%2F&Origin=http://o4\n"
              // Nothing of its own: the header's user agent only.
              "#EXTINF:-1,Five\nhttp://h/five.m3u8\n"
              // The suffix is stronger than an option line, which is stronger than an attribute.
              "#EXTINF:-1 user-agent=\"Weak\",Six\n#EXTVLCOPT:http-user-agent=Middle\n"
              "http://h/six|User-Agent=Strong\n");
    ASSERT_EQ(p.Entries().size(), 6u);
    EXPECT_EQ(p.GuideAddresses(), (std::vector<std::string>{"http://g/a.xml", "http://g/b.xml.gz"}));
    EXPECT_EQ(p.HeaderUserAgent(), "HeaderAgent/1");
    const auto& one = p.Entries()[0];
    EXPECT_EQ(one.options, (RequestOptions{"VlcAgent/2 (X11; Linux)", "http://ref.example/", "http://origin.example"}));
    EXPECT_EQ(one.tvgId, "one.tv");
    EXPECT_EQ(one.tvgName, "One HD");
    EXPECT_EQ(one.tvgChno, "101");
    EXPECT_EQ(one.tvgShift, "-2");
    EXPECT_EQ(one.tvgLogo, "http://l/one.png");
    EXPECT_EQ(p.Entries()[1].options, (RequestOptions{"AttrAgent", "http://r2/", ""}));
    EXPECT_EQ(p.Entries()[2].options, (RequestOptions{"Other", "http://r3/", ""}));
    EXPECT_EQ(p.Entries()[3].address, "http://h/four.m3u8?a=1");
    EXPECT_EQ(p.Entries()[3].options, (RequestOptions{"Suffix Agent/3", "http://r4/", "http://o4"}));
    EXPECT_EQ(p.Entries()[4].options, (RequestOptions{"HeaderAgent/1", "", ""}));
    EXPECT_EQ(p.Entries()[5].options.userAgent, "Strong");
    // Option lines belong to the entry they stand in, not to the ones after it.
    const auto q =
        Parse("#EXTM3U\n#EXTINF:-1,A\n#EXTVLCOPT:http-referrer=http://r/\nhttp://h/a\n#EXTINF:-1,B\nhttp://h/b\n");
    EXPECT_EQ(q.Entries()[1].options, RequestOptions{});
    // A value never carries a line break or a NUL into a request.
    RequestOptions o;
    EXPECT_EQ(M3uPlaylist::SplitOptions("http://h/x|User-Agent=a%0D%0AX-Evil:%201%00", o), "http://h/x");
    EXPECT_EQ(o.userAgent.find_first_of(std::string("\r\n\0", 3)), std::string::npos);
    // A "|" not followed by options is part of the address.
    RequestOptions none;
    EXPECT_EQ(M3uPlaylist::SplitOptions("http://h/a|b", none), "http://h/a|b");
    EXPECT_TRUE(none.Empty());
}

TEST(M3uPlaylist, PastedListsDecorationsAndGroupLinesAsTheyCirculate)
{
    const auto p = Parse("#EXTM3U user-agent=\"First\"\n"
                         "=====sudan=====\n"
                         "#EXTGRP:Sudan\n#EXTINF:-1,Khartoum\nhttp://h/k\n"
                         "#EXTINF:-1,After\nhttp://h/after\n"
                         "Channels updated every day!\n"
                         "#EXTINF:-1,Dangling\n"
                         // A second list pasted below: its header starts afresh.
                         "#EXTM3U\n"
                         "------ news ------\n"
                         "#EXTINF:-1,Second\nhttp://h/second\n");
    ASSERT_EQ(p.Entries().size(), 3u);
    EXPECT_EQ(p.Entries()[0].title, "Khartoum");
    EXPECT_EQ(p.Entries()[0].group, "Sudan");
    EXPECT_EQ(p.Entries()[0].options.userAgent, "First");
    // The group line named the group of its own entry only.
    EXPECT_EQ(p.Entries()[1].group, "");
    EXPECT_EQ(p.Entries()[1].options.userAgent, "First");
    EXPECT_EQ(p.Entries()[2].title, "Second");
    EXPECT_EQ(p.Entries()[2].options.userAgent, "");
    EXPECT_EQ(p.NotAddresses(), 3);
    EXPECT_EQ(p.WithoutAddress(), 1);
    // Against a web playlist a relative address resolves; a decoration still does not.
    const auto web =
        M3uPlaylist("#EXTM3U\n=====x=====\n#EXTINF:-1,R\nlive/r.m3u8\n", QUrl("http://127.0.0.1:1/l/tv.m3u"));
    ASSERT_EQ(web.Entries().size(), 1u);
    EXPECT_EQ(web.Entries()[0].address, "http://127.0.0.1:1/l/live/r.m3u8");
}

TEST(M3uPlaylist, LinesOfMegabytesAreSkippedAndCounted)
{
    const std::string huge(3 << 20, 'A');
    const auto p = Parse("#EXTM3U\n#EXTINF:-1," + huge + "\nhttp://h/a\n#EXTINF:-1,B\nhttp://h/" + huge + "\n" +
                         "#EXTINF:-1,C\nhttp://h/c\n");
    EXPECT_EQ(p.TooLongLines(), 2);
    ASSERT_EQ(p.Entries().size(), 2u);
    EXPECT_EQ(p.Entries()[0].title, "http://h/a"); // its title line was skipped
    EXPECT_EQ(p.Entries()[1].title, "C");
}

TEST(M3uPlaylist, CatchupAttributesOverTheHeadersUntilTheNextList)
{
    const auto p = Parse("#EXTM3U catchup-type=\"flussonic\" catchup-days=\"4\"\n"
                         "#EXTINF:-1,F\nhttp://f/news/index.m3u8\n"
                         "#EXTINF:-1 timeshift=\"2\" catchup=\"\",Own\nhttp://f/own/mono.m3u8\n"
                         "#EXTINF:-1 catchup-correction=\"10000\",Far\nhttp://f/far/index.m3u8\n"
                         "#EXTM3U\n"
                         "#EXTINF:-1,Plain\nhttp://f/plain/index.m3u8\n");
    ASSERT_EQ(p.Entries().size(), 4u);
    EXPECT_EQ(p.Entries()[0].catchup.state, CatchupState::Ready);
    EXPECT_EQ(p.Entries()[0].catchup.catchup.mode, CatchupMode::Flussonic);
    EXPECT_EQ(p.Entries()[0].catchup.catchup.days, 4);
    // An empty catchup is no mode: the header's stays, the channel's own days count.
    EXPECT_EQ(p.Entries()[1].catchup.catchup.mode, CatchupMode::Flussonic);
    EXPECT_EQ(p.Entries()[1].catchup.catchup.days, 2);
    EXPECT_EQ(p.Entries()[2].catchup.state, CatchupState::Refused);
    EXPECT_EQ(p.Entries()[2].catchup.reason, "catchup-correction is beyond 24 hours either way: '10000'");
    EXPECT_EQ(p.Entries()[3].catchup.state, CatchupState::None);
}
