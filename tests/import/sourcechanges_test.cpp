// What a change of the sources keeps beside the catalogue: the channel numbers a viewer knows,
// the entries it skipped with their lines, and a change cut short completed or undone.
#include "catalogue/channelnumbers.h"
#include "catalogue/channeltree.h"
#include "import/playlistsources.h"
#include "import/stagedcatalogue.h"
#include "scratchdir.h"
#include "userdata/channelnumberstore.h"
#include "userdata/pendingcatalogue.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace quorvel;

namespace {

std::string Entry(const std::string& title, const std::string& group, const std::string& address,
                  const std::string& chno = "")
{
    return "#EXTINF:-1 group-title=\"" + group + "\"" + (chno.empty() ? "" : " tvg-chno=\"" + chno + "\"") + "," +
           title + "\n" + address + "\n";
}

class SourceChangesTest : public ::testing::Test {
protected:
    std::string Catalogue() const { return dir.File("VisibleAPI.dat"); }
    QString Write(const std::string& name, const std::string& text)
    {
        ScratchDir::Spit(dir.File(name), text);
        return QString::fromStdString(dir.File(name));
    }
    // The numbers as the window works them out: kept ones, given ones, places.
    ChannelNumbers Numbers(PlaylistSources& sources) const
    {
        std::unordered_map<std::string, std::string, FoldedNameHash, FoldedNameEqual> given;
        for (auto& [name, number] : sources.Database().GivenChannelNumbers())
            given.try_emplace(name, number);
        ChannelNumbers::Kept kept;
        for (auto& [name, number] : ChannelNumberStore::Read(sources.Database()))
            kept.emplace(name, number);
        return ChannelNumbers::Of(ChannelTree::Read(Catalogue()), given, kept);
    }

    ScratchDir dir;
};

} // namespace

TEST_F(SourceChangesTest, ChannelsKeepTheirNumbersWhenAnotherPlaylistComes)
{
    // An empty category first: channels later put there stand before the first playlist's.
    ScratchDir::Spit(Catalogue(), "[Layer1]\nFilms=\nNews=\n[Layer2]\n[Programs]\n");
    std::string first = "#EXTM3U\n";
    for (int i = 0; i < 5; ++i)
        first += Entry("A" + std::to_string(i), "News", "http://h/a" + std::to_string(i));
    PlaylistSources sources(Catalogue());
    sources.Read(Write("a.m3u", first));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Numbers(sources).NumberOf("A" + std::to_string(i)), i + 1);

    // Its own numbers, and channels in front of the first playlist's by place.
    const QString b = Write(
        "b.m3u", "#EXTM3U\n" + Entry("B0", "Films", "http://h/b0", "1") + Entry("B1", "Films", "http://h/b1", "3") +
                     Entry("B2", "Films", "http://h/b2", "9") + Entry("B3", "Films", "http://h/b3"));
    sources.Read(b);
    const ChannelNumbers after = Numbers(sources);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(after.NumberOf("A" + std::to_string(i)), i + 1) << "a known channel moved";
    EXPECT_EQ(after.NumberOf("B0"), 6) << "1 is taken: the next free number above it";
    EXPECT_EQ(after.NumberOf("B1"), 7);
    EXPECT_EQ(after.NumberOf("B2"), 9);
    EXPECT_EQ(after.NumberOf("B3"), 10) << "its place is taken: after the highest in use";
    EXPECT_EQ(ChannelNumberStore::Read(sources.Database()).size(), 9u);

    // The first playlist goes: the second's channels keep what they were given.
    sources.Remove(*sources.Find(QStringLiteral("1")));
    EXPECT_EQ(Numbers(sources).NumberOf("B0"), 6);
    EXPECT_EQ(Numbers(sources).NumberOf("A0"), 0);
    EXPECT_EQ(ChannelNumberStore::Read(sources.Database()).size(), 4u);
}

TEST_F(SourceChangesTest, SkippedEntriesAreListedWithLineTextAndReason)
{
    std::string accents;
    for (int i = 0; i < 40; ++i)
        accents += "\xC3\xA9";                                          // é: two bytes, never cut between them
    const QString a = Write("a.m3u", "#EXTM3U\n"                        // 1
                                     "#EXTINF:-1,Good\nhttp://h/good\n" // 2, 3
                                     "#EXTINF:-1,Good\nhttp://h/good\n" // 4, 5: twice
                                     "#EXTINF:-1,Bad\nfd://0\n"         // 6, 7: refused
                                     "#EXTINF:-1," +
                                         accents +
                                         "\n"                                 // 8: no address
                                         "#EXTINF:-1,Last\nhttp://h/last\n"); // 9, 10
    PlaylistSources sources(Catalogue());
    const ImportReport report = sources.Read(a).report;
    ASSERT_EQ(report.skipped.size(), 3u);
    EXPECT_EQ(report.skipped[0].line, 5);
    EXPECT_EQ(report.skipped[0].text, "Good");
    EXPECT_EQ(report.skipped[0].why, SkippedEntry::Why::Duplicate);
    EXPECT_EQ(report.skipped[1].line, 7);
    EXPECT_EQ(report.skipped[1].text, "fd://0");
    EXPECT_EQ(report.skipped[1].why, SkippedEntry::Why::Refused);
    EXPECT_EQ(report.skipped[2].line, 8);
    EXPECT_EQ(report.skipped[2].why, SkippedEntry::Why::WithoutAddress);
    EXPECT_EQ(report.skipped[2].text, accents.substr(0, 60) + "...");
    EXPECT_EQ(static_cast<int>(report.skipped.size()), report.Skipped());
}

TEST_F(SourceChangesTest, AChangeCutShortIsCompletedOnlyWhenTheDatabaseNamedIt)
{
    PlaylistSources sources(Catalogue());
    sources.Read(Write("a.m3u", "#EXTM3U\n" + Entry("X", "News", "http://h/x")));
    const std::string before = ScratchDir::Slurp(Catalogue());
    const std::string staged = StagedCatalogue::StagedFileOf(Catalogue());
    const std::string next = before + "; the next catalogue\n";

    // Staged, never committed to (or named by a note left from an earlier change): undone.
    for (const bool staleNote : {false, true}) {
        ScratchDir::Spit(staged, next);
        if (staleNote)
            PendingCatalogue::Note(sources.Database(), Catalogue(), StagedCatalogue::ChecksumOf(before));
        EXPECT_NE(sources.Repair().find("it was undone"), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(staged));
        EXPECT_EQ(ScratchDir::Slurp(Catalogue()), before);
        EXPECT_FALSE(PendingCatalogue::Noted(sources.Database(), Catalogue()).has_value());
    }
    // Committed to: put in place, said once.
    ScratchDir::Spit(staged, next);
    PendingCatalogue::Note(sources.Database(), Catalogue(), StagedCatalogue::ChecksumOf(next));
    EXPECT_NE(sources.Repair().find("it was completed"), std::string::npos);
    EXPECT_EQ(ScratchDir::Slurp(Catalogue()), next);
    EXPECT_FALSE(std::filesystem::exists(staged));
    EXPECT_EQ(sources.Repair(), "");
    EXPECT_EQ(sources.TakeRepairs().size(), 3u);
    EXPECT_TRUE(sources.TakeRepairs().empty());
}

TEST_F(SourceChangesTest, ACatalogueBehindALinkIsChangedWhereItLies)
{
    std::filesystem::create_directory(dir.File("real"));
    ScratchDir::Spit(dir.File("real/VisibleAPI.dat"), "[Layer1]\nNews=\n[Layer2]\n[Programs]\n");
    std::filesystem::create_symlink("real/VisibleAPI.dat", Catalogue());
    PlaylistSources sources(Catalogue());
    EXPECT_TRUE(sources.Read(Write("a.m3u", "#EXTM3U\n" + Entry("X", "News", "http://h/x"))).written);
    EXPECT_TRUE(std::filesystem::is_symlink(Catalogue()));
    EXPECT_NE(ScratchDir::Slurp(dir.File("real/VisibleAPI.dat")).find("X=http://h/x"), std::string::npos);
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.File("real")))
        ++files;
    EXPECT_EQ(files, 1) << "nothing staged is left beside it";
}
