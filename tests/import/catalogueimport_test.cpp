// Merging playlists into catalogues: what the player's tree then shows, what stays, what is
// refused, and names that would not survive the file as they are.
#include "base/exception.h"
#include "base/profiletext.h"
#include "catalogue/channelcatalogue.h"
#include "import/catalogueimport.h"
#include "import/safename.h"
#include "platform/inifile.h"
#include "scratchdir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quorvel;

namespace {

M3uPlaylist Playlist(const std::string& text) { return M3uPlaylist(text, QUrl::fromLocalFile("/lists/tv.m3u")); }

std::string Entry(const std::string& title, const std::string& group, const std::string& address)
{
    return "#EXTINF:-1" + (group.empty() ? std::string() : " group-title=\"" + group + "\"") + "," + title + "\n" +
           address + "\n";
}

class CatalogueImportTest : public ::testing::Test {
protected:
    std::string Catalogue() const { return dir.File("VisibleAPI.dat"); }
    ImportReport Import(const std::string& playlist)
    {
        CatalogueImport import(Catalogue());
        import.Add(Playlist("#EXTM3U\n" + playlist));
        import.Write();
        return import.Report();
    }
    std::vector<ChannelCategory> Tree() const { return ChannelCatalogue(Catalogue()).ReadTree(); }
    std::string Address(const std::string& channel) const
    {
        return ChannelCatalogue(Catalogue()).StreamAddress(channel);
    }

    ScratchDir dir;
};

} // namespace

TEST(SafeName, NamesThatWouldBreakTheFileAreMadeSafe)
{
    EXPECT_EQ(SafeName("[UK] BBC One"), "(UK) BBC One");
    EXPECT_EQ(SafeName(";; Hidden"), "Hidden");
    EXPECT_EQ(SafeName("; [HD] x"), "(HD) x");
    EXPECT_EQ(SafeName("A=B"), "A-B");
    EXPECT_EQ(SafeName("Line\r\nbreak\tand\x7f"
                       "del"),
              "Line  break and del");
    EXPECT_EQ(SafeName("  padded  "), "padded");
    EXPECT_EQ(SafeName("\"Quoted\""), "Quoted");
    EXPECT_EQ(SafeName("'; x'"), "x");
    EXPECT_EQ(SafeName(" ; ; "), "");
    EXPECT_EQ(SafeName("News (Live) [HD], 1"), "News (Live) [HD], 1");
    // Long names are cut between characters, never inside one.
    std::string chinese;
    for (int i = 0; i < 100; ++i)
        chinese += "\xE4\xB8\xAD";
    const std::string cut = SafeName(chinese);
    EXPECT_LE(cut.size(), MaxNameBytes);
    EXPECT_EQ(cut.size() % 3, 0u);
    // Names already safe are known as such without making them.
    for (const std::string name : {"", "x", "BBC One", "News (Live) [HD], 1", "[UK] x", "x]", ";x", "x;", " x", "x ",
                                   "\"x\"", "\"x", "'x'", "'", "a=b", "a\tb", "a\x7f", "\x01", "音乐"})
        EXPECT_EQ(IsSafeName(name), SafeName(name) == name) << name;
    EXPECT_FALSE(IsSafeName(chinese));
    EXPECT_TRUE(IsSafeName(cut));
}

TEST(SafeName, SafeNamesReadBackExactlyAsWritten)
{
    ScratchDir dir;
    const std::string file = dir.File("c.dat");
    const std::vector<std::string> nasty = {"[UK] One", ";Two",       "Th=ree", " Four ", "\"Five\"", "Six\nSeven",
                                            "'Eight'",  "Nine ; ten", "[",      "=",      "\t[x]=y;"};
    std::vector<std::pair<std::string, std::string>> channels;
    for (const auto& n : nasty) {
        const std::string safe = SafeName(n);
        if (!safe.empty())
            channels.emplace_back(safe, safe);
    }
    IniFile(file).WriteSectionValues("Layer2", channels);
    const auto back = IniFile(file).ReadSectionValues("Layer2");
    EXPECT_EQ(back, channels);
}

TEST_F(CatalogueImportTest, FreshCatalogueFollowsThePlaylistOrder)
{
    const auto report =
        Import(Entry("One", "News", "http://127.0.0.1/1") + Entry("Two", "Sports", "http://127.0.0.1/2") +
               Entry("Three", "News;Sports", "http://127.0.0.1/3") + Entry("Four", "", "http://127.0.0.1/4"));
    EXPECT_EQ(report.Added(), 4);
    EXPECT_EQ(report.NewCategories(), 3);
    const std::vector<ChannelCategory> expected = {
        {"News", {"One", "Three"}}, {"Sports", {"Two"}}, {"Undefined", {"Four"}}};
    EXPECT_EQ(Tree(), expected);
    EXPECT_EQ(Address("Three"), "http://127.0.0.1/3");
}

TEST_F(CatalogueImportTest, ExistingCategoriesAndChannelsKeepTheirPlace)
{
    ScratchDir::Spit(Catalogue(), "[Layer1]\r\nNew Channels=\r\nSports=\r\nKids=\r\n\r\n[Layer2]\r\nArena=Sports\r\n"
                                  "\r\n[Programs]\r\nArena=http://127.0.0.1/arena\r\n");
    const auto report = Import(
        Entry("Arena", "Sports", "http://127.0.0.1/arena") + Entry("Goal", "SPORTS", "http://127.0.0.1/goal") +
        Entry("Toons", "Cartoons", "http://127.0.0.1/toons") + Entry("Arena", "Sports", "http://127.0.0.1/arena"));
    EXPECT_EQ(report.Added(), 2);
    EXPECT_EQ(report.Present(), 1);
    EXPECT_EQ(report.Duplicates(), 1);
    // "SPORTS" is the catalogue's "Sports": a second key in other case would not even be
    // written, and its channels would show nowhere.
    const std::vector<ChannelCategory> expected = {
        {"New Channels", {}}, {"Sports", {"Arena", "Goal"}}, {"Kids", {}}, {"Cartoons", {"Toons"}}};
    EXPECT_EQ(Tree(), expected);
    // The file keeps its own line ends.
    EXPECT_NE(ScratchDir::Slurp(Catalogue()).find("Goal=Sports\r\n"), std::string::npos);

    // The same playlist again changes nothing at all.
    const std::string before = ScratchDir::Slurp(Catalogue());
    CatalogueImport again(Catalogue());
    again.Add(Playlist(Entry("Arena", "Sports", "http://127.0.0.1/arena") +
                       Entry("Goal", "SPORTS", "http://127.0.0.1/goal")));
    EXPECT_FALSE(again.HasChanges());
    EXPECT_EQ(again.Report().Present(), 2);
    again.Write();
    EXPECT_EQ(ScratchDir::Slurp(Catalogue()), before);
}

TEST_F(CatalogueImportTest, SameNamesGetDistinctNamesAndMovedStreamsTheirNewAddress)
{
    ScratchDir::Spit(Catalogue(),
                     "[Layer1]\nNews=\nMovies=\n[Layer2]\nCinema=Movies\nDaily=News\n[Programs]\n"
                     "Cinema=http://127.0.0.1/cinema\nDaily=http://127.0.0.1/old\nOrphan=http://127.0.0.1/o\n");
    const auto report = Import(Entry("Daily", "News", "http://127.0.0.1/new") + // moved stream
                               Entry("Cinema", "News", "http://127.0.0.1/c2") + // name taken elsewhere
                               Entry("daily", "News", "http://127.0.0.1/d2") +  // other case, same name
                               Entry("Orphan", "News", "http://127.0.0.1/o2") + // someone's hand-written key
                               Entry("Daily", "News", "http://127.0.0.1/d3"));
    EXPECT_EQ(report.Updated(), 1);
    EXPECT_EQ(report.Added(), 4);
    const std::vector<ChannelCategory> expected = {
        {"News", {"Daily", "Cinema (2)", "daily (2)", "Orphan (2)", "Daily (3)"}}, {"Movies", {"Cinema"}}};
    EXPECT_EQ(Tree(), expected);
    EXPECT_EQ(Address("Daily"), "http://127.0.0.1/new");
    EXPECT_EQ(Address("Cinema"), "http://127.0.0.1/cinema");
    EXPECT_EQ(Address("daily (2)"), "http://127.0.0.1/d2");
    EXPECT_EQ(Address("Orphan"), "http://127.0.0.1/o");
    EXPECT_EQ(Address("Daily (3)"), "http://127.0.0.1/d3");

    // Again, in the same order: each finds its own channel, nothing moves or doubles.
    CatalogueImport again(Catalogue());
    again.Add(Playlist(Entry("Daily", "News", "http://127.0.0.1/new") + Entry("Cinema", "News", "http://127.0.0.1/c2") +
                       Entry("daily", "News", "http://127.0.0.1/d2") + Entry("Orphan", "News", "http://127.0.0.1/o2") +
                       Entry("Daily", "News", "http://127.0.0.1/d3")));
    EXPECT_FALSE(again.HasChanges());
}

TEST_F(CatalogueImportTest, AddressesThePlayerRefusesAreSkippedAndCounted)
{
    const std::string tooLong = "http://127.0.0.1/" + std::string(3000, 'a');
    const auto report = Import(Entry("Fd", "Bad", "fd://3") + Entry("Lavfi", "Bad", "lavfi://testsrc") +
                               Entry("Av", "Bad", "av://v4l2:/dev/video0") + Entry("Long", "Bad", tooLong) +
                               Entry("Udp", "Good", "udp://@239.1.1.1:1234") +
                               Entry("Quoted", "Good", "\"http://127.0.0.1/q\"") + "#EXTINF:-1,No address\n");
    EXPECT_EQ(report.Refused(), 3);
    EXPECT_EQ(report.TooLong(), 1);
    EXPECT_EQ(report.withoutAddress, 1);
    EXPECT_EQ(report.Added(), 2);
    ASSERT_EQ(report.refusedExamples.size(), 3u);
    EXPECT_EQ(report.refusedExamples[0], "fd://3");
    // A category whose every channel was refused is not created.
    const std::vector<ChannelCategory> expected = {{"Good", {"Udp", "Quoted"}}};
    EXPECT_EQ(Tree(), expected);
    EXPECT_EQ(Address("Quoted"), "http://127.0.0.1/q");
}

TEST_F(CatalogueImportTest, UnsafeNamesStillShowInTheTree)
{
    Import(Entry("[UK] BBC=One", "[EU] Europe", "http://127.0.0.1/bbc") +
           Entry("; Hidden", "  ", "http://127.0.0.1/h"));
    const std::vector<ChannelCategory> expected = {{"(EU) Europe", {"(UK) BBC-One"}}, {"Undefined", {"Hidden"}}};
    EXPECT_EQ(Tree(), expected);
    EXPECT_EQ(Address("(UK) BBC-One"), "http://127.0.0.1/bbc");
}

TEST_F(CatalogueImportTest, AFolderInTheCataloguesPlaceIsRefused)
{
    ASSERT_EQ(::mkdir(Catalogue().c_str(), 0700), 0);
    EXPECT_THROW(CatalogueImport{Catalogue()}, Exception);
}

TEST_F(CatalogueImportTest, ACatalogueThatCannotBeReadIsNeverReplaced)
{
    const std::string file = dir.File("locked.dat");
    ScratchDir::Spit(file, "[Layer1]\nMine=\n");
    ::chmod(file.c_str(), 0);
    if (::access(file.c_str(), R_OK) == 0)
        GTEST_SKIP() << "permissions do not stop this user";
    EXPECT_THROW(CatalogueImport{file}, Exception);
    ::chmod(file.c_str(), 0600);
    EXPECT_EQ(ScratchDir::Slurp(file), "[Layer1]\nMine=\n");
}

TEST_F(CatalogueImportTest, AHundredThousandChannelsInTwoHundredGroups)
{
    std::string text = "#EXTM3U\n";
    for (int i = 0; i < 100000; ++i)
        text += Entry("Channel " + std::to_string(i), "Group " + std::to_string(i % 200),
                      "http://127.0.0.1:8080/live/" + std::to_string(i) + ".m3u8");
    CatalogueImport import(Catalogue());
    std::size_t lastDone = 0;
    import.Add(Playlist(text), [&lastDone](std::size_t done, std::size_t total) {
        EXPECT_GT(done, lastDone);
    EXPECT_EQ(total, 100000u);
    lastDone = done;
});
EXPECT_EQ(lastDone, 100000u);
import.Write();
const auto tree = Tree();
ASSERT_EQ(tree.size(), 200u);
for (int g = 0; g < 200; g += 37) {
    EXPECT_EQ(tree[g].name, "Group " + std::to_string(g));
    ASSERT_EQ(tree[g].channels.size(), 500u);
    EXPECT_EQ(tree[g].channels[0], "Channel " + std::to_string(g));
    EXPECT_EQ(tree[g].channels[499], "Channel " + std::to_string(g + 200 * 499));
}
EXPECT_EQ(Address("Channel 99999"), "http://127.0.0.1:8080/live/99999.m3u8");
CatalogueImport again(Catalogue());
again.Add(Playlist(text));
EXPECT_FALSE(again.HasChanges());
EXPECT_EQ(again.Report().Present(), 100000);
}
