// Playlists as providers write them, and inputs that are no channel playlist at all.
#include "base/exception.h"
#include "import/m3uplaylist.h"

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
    const auto p = Parse("#EXTM3U\n#EXTINF:-1 group-title=\"T\xE9l\xE9\",Fran\xE7" "ais\nhttp://h/f\n");
    ASSERT_EQ(p.Entries().size(), 1u);
    EXPECT_EQ(p.Entries()[0].title, "Fran\xC3\xA7" "ais");
    EXPECT_EQ(p.Entries()[0].group, "T\xC3\xA9l\xC3\xA9");
    // Valid UTF-8 stays as it is.
    const auto u = Parse("#EXTM3U\n#EXTINF:-1,\xE4\xB8\xAD\xE6\x96\x87\nhttp://h/z\n");
    EXPECT_EQ(u.Entries()[0].title, "\xE4\xB8\xAD\xE6\x96\x87");
}

TEST(M3uPlaylist, RelativeAddressesStartFromThePlaylist)
{
    const auto local = Parse("#EXTM3U\n#EXTINF:-1,A\nstreams/a.ts\n#EXTINF:-1,B\n/abs/b.ts\n#EXTINF:-1,C\nrtp://@239.0.0.1:5000\n");
    EXPECT_EQ(local.Entries()[0].address, "/srv/lists/streams/a.ts");
    EXPECT_EQ(local.Entries()[1].address, "/abs/b.ts");
    EXPECT_EQ(local.Entries()[2].address, "rtp://@239.0.0.1:5000");
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
