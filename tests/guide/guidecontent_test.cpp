// Telling a guide from a playlist by the first bytes, whatever the name.
#include "guide/guidecontent.h"
#include "guidetext.h"

#include <gtest/gtest.h>

using namespace quorvel;
using namespace quorvel::test;

TEST(GuideContent, XmltvPlainOrPackedIsAGuideWhateverStandsBeforeItsFirstElement)
{
    const std::string tv = Tv(ProgrammeXml("a", 0, 30, "News"));
    EXPECT_TRUE(GuideContent::IsGuide(tv));
    EXPECT_TRUE(GuideContent::IsGuide("\xEF\xBB\xBF  \r\n<tv>"));
    EXPECT_TRUE(GuideContent::IsGuide("<?xml version=\"1.0\"?>\n<!-- made <tonight> -->\n"
                                      "<!DOCTYPE tv SYSTEM \"xmltv.dtd\">\n<tv generator-info-name=\"x\">"));
    // A document type with declarations inside, its brackets holding ">".
    EXPECT_TRUE(GuideContent::IsGuide("<!DOCTYPE tv [ <!ENTITY a \"b\"> ]>\n<tv/>"));
    // Packed, and packed but cut short after its first kilobytes.
    std::string large = "<?xml version=\"1.0\"?>\n<tv>\n";
    while (large.size() < 300000)
        large += ProgrammeXml("a", 0, 30, "A programme of some length");
    const std::string packed = Gzip(large);
    EXPECT_TRUE(GuideContent::IsGuide(packed));
    EXPECT_TRUE(GuideContent::IsGuide(packed.substr(0, 200)));
}

TEST(GuideContent, PlaylistsAndOtherPagesAreNoGuide)
{
    EXPECT_FALSE(GuideContent::IsGuide("#EXTM3U x-tvg-url=\"http://h/tv.xml\"\n#EXTINF:-1,<tv>\nhttp://h/a\n"));
    EXPECT_FALSE(GuideContent::IsGuide(Gzip("#EXTM3U\n#EXTINF:-1,A\nhttp://h/a\n")));
    EXPECT_FALSE(GuideContent::IsGuide("<!DOCTYPE html><html><body><tv></tv></body></html>"));
    EXPECT_FALSE(GuideContent::IsGuide("<tvguide>"));
    EXPECT_FALSE(GuideContent::IsGuide("<!-- a comment that never ends <tv>"));
    EXPECT_FALSE(GuideContent::IsGuide(""));
    EXPECT_FALSE(GuideContent::IsGuide("\x1f\x8b"));
}
