// Guides written to hurt: entities, texts of megabytes, files that are no guides.
#include "guide/xmltvparser.h"
#include "guidetext.h"

#include <chrono>
#include <gtest/gtest.h>

using namespace quorvel;
using namespace quorvel::test;

namespace {

const std::vector<WantedChannel> kC = {WantedChannel{"C", "c", "", std::nullopt}};

std::string WithDoctype(const std::string& doctype, const std::string& body)
{
    return "<?xml version=\"1.0\"?>\n" + doctype + "\n<tv>" + body + "</tv>";
}

} // namespace

TEST(HostileGuide, EntityDeclarationsAreRefusedAndNothingIsFetched)
{
    const std::string body = ChannelXml("c", {"C"}) + ProgrammeXml("c", 0, 30, "&e;");
    for (const char* doctype : {
             "<!DOCTYPE tv [<!ENTITY e \"text\">]>",
             "<!DOCTYPE tv [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>",
             "<!DOCTYPE tv [<!ENTITY e SYSTEM \"http://127.0.0.1:9/x\">]>",
             "<!DOCTYPE tv [<!ENTITY % p SYSTEM \"http://127.0.0.1:9/p.dtd\"> %p;]>",
         }) {
        const ReadResult r = ReadGuide(WithDoctype(doctype, body), kC, 16);
        EXPECT_FALSE(r.outcome.complete) << doctype;
        EXPECT_NE(r.outcome.problem.find("entities"), std::string::npos) << r.outcome.problem;
        EXPECT_EQ(r.list.Size(), 0u);
    }
    // A document type that only names the format's DTD is read without it.
    const ReadResult named = ReadGuide(WithDoctype("<!DOCTYPE tv SYSTEM \"http://127.0.0.1:9/xmltv.dtd\">",
                                                   ChannelXml("c", {"C"}) + ProgrammeXml("c", 0, 30, "P")),
                                       kC);
    EXPECT_TRUE(named.outcome.complete) << named.outcome.problem;
    EXPECT_EQ(named.list.Size(), 1u);
}

TEST(HostileGuide, AnExpansionBombIsRefusedAtOnce)
{
    std::string doctype = "<!DOCTYPE tv [<!ENTITY l0 \"lol\">";
    for (int i = 1; i < 30; ++i)
        doctype += "<!ENTITY l" + std::to_string(i) + " \"" + [&] {
            std::string refs;
            for (int k = 0; k < 10; ++k)
                refs += "&l" + std::to_string(i - 1) + ";";
            return refs;
        }() + "\">";
    doctype += "]>";
    const auto begin = std::chrono::steady_clock::now();
    const ReadResult r = ReadGuide(WithDoctype(doctype, ProgrammeXml("c", 0, 30, "&l29;")), kC, 4096);
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(1));
    EXPECT_FALSE(r.outcome.complete);
    EXPECT_EQ(r.list.Size(), 0u);
}

TEST(HostileGuide, TextsOfMegabytesAreCut)
{
    const std::string huge(3 << 20, 'T');
    std::string cyrillic;
    while (cyrillic.size() < (1 << 20))
        cyrillic += "Ж";
    const std::string guide = Tv(ChannelXml("c", {huge, "C"}) + "<programme start=\"" + GuideTime(0) + "\" stop=\"" +
                                 GuideTime(30) + "\" channel=\"c\"><title>" + huge + "</title><sub-title>" + cyrillic +
                                 "</sub-title><desc>" + huge + "</desc><category>" + huge + "</category></programme>");
    const ReadResult r = ReadGuide(guide, kC, 65536);
    EXPECT_TRUE(r.outcome.complete) << r.outcome.problem;
    ASSERT_EQ(r.list.Size(), 1u);
    const Programme& p = r.list.Of(0)[0];
    EXPECT_LE(p.title.size(), XmltvParser::kTitleLimit);
    EXPECT_GT(p.title.size(), XmltvParser::kTitleLimit - 8);
    EXPECT_EQ(p.title.substr(p.title.size() - 3), "\xE2\x80\xA6");
    EXPECT_LE(p.subTitle.size(), XmltvParser::kSubTitleLimit);
    EXPECT_EQ(p.subTitle.substr(0, p.subTitle.size() - 3).size() % 2, 0u); // whole letters only
    EXPECT_LE(p.description.size(), XmltvParser::kDescriptionLimit);
    EXPECT_LE(p.category.size(), XmltvParser::kCategoryLimit);
}

TEST(HostileGuide, WhatIsNoGuideIsSaidSo)
{
    const struct {
        std::string bytes;
        const char* says;
    } cases[] = {
        {"", "empty"},
        {"<html><body>Not found</body></html>", "no programme guide"},
        {"#EXTM3U\n#EXTINF:-1,C\nhttp://x/\n", "no programme guide"},
        {"\xfd"
         "7zXZ\0\0\0\0",
         "packed in a way"},
        {"<?xml version=\"1.0\" encoding=\"x-made-up\"?><tv></tv>", "encoding not read here"},
        {Gzip("not xml at all"), "no programme guide"},
        {Tv(ChannelXml("c", {"C"}) + "<programme start=\"x\"></tv>"), "broken at line"},
        {"<tv><" + std::string(20 << 20, 'a'), "more than"},
    };
    for (const auto& c : cases) {
        const ReadResult r = ReadGuide(c.bytes, kC, 1 << 16);
        EXPECT_FALSE(r.outcome.complete);
        EXPECT_NE(r.outcome.problem.find(c.says), std::string::npos) << r.outcome.problem;
    }
}

TEST(HostileGuide, BadTimesAndMissingAttributesDropOnlyTheirProgramme)
{
    const std::string guide =
        Tv(ChannelXml("c", {"C"}) + "<programme start=\"tomorrow\" channel=\"c\"><title>bad start</title></programme>" +
           "<programme stop=\"" + GuideTime(10) + "\" channel=\"c\"><title>no start</title></programme>" +
           "<programme start=\"" + GuideTime(0) + "\"><title>no channel</title></programme>" + "<programme start=\"" +
           GuideTime(0) + "\" stop=\"soon\" channel=\"c\"><title>bad stop</title></programme>" +
           ProgrammeXml("c", 20, 30, "good"));
    const ReadResult r = ReadGuide(guide, kC);
    EXPECT_TRUE(r.outcome.complete);
    EXPECT_EQ(r.Titles(0), (std::vector<std::string>{"bad stop", "good"}));
    EXPECT_EQ(r.list.Of(0)[0].stop, kNow + 20 * 60);
}
