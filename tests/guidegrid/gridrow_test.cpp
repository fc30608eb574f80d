// The grid's rows as drawn from a guide however odd, the rows' cache, and the channels' rows.
#include "guidegrid/gridcache.h"
#include "guidegrid/gridchannels.h"
#include "guidegrid/gridrow.h"
#include "scratchdir.h"

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

using Cell = GuideStore::Cell;

std::vector<std::string> Drawn(const std::vector<GridCell>& row)
{
    std::vector<std::string> out;
    for (const GridCell& c : row)
        out.push_back(c.title.toStdString() + " " + std::to_string(c.start) + "-" + std::to_string(c.stop));
    return out;
}

} // namespace

TEST(GridRow, BadGuidesDrawWithinTheirPlaces)
{
    // An overlap is cut at the next start, a gap stays, a programme of no length (or running
    // backwards) goes, a slot's programmes join, and a programme of two days stays whole.
    const std::vector<Cell> guide = {
        {0, 100, 0, "Ended"},
        {100, 300, 0, "Overlaps"},
        {200, 260, 0, "News"},
        {200, 240, 1, "Weather"},
        {260, 260, 0, "Nothing"},
        {400, 350, 0, "Backwards"},
        {500, 500 + 2 * 86400, 0, "Two days"},
    };
    EXPECT_EQ(Drawn(ArrangeRow(guide, 100)),
              (std::vector<std::string>{"Overlaps 100-200", "News / Weather 200-260", "Two days 500-173300"}));
    // The first programme on at `from` stays although it began before.
    EXPECT_EQ(Drawn(ArrangeRow(guide, 50)).front(), "Ended 0-100");

    const auto row = ArrangeRow(guide, 0);
    ASSERT_NE(CellAt(row, 199), nullptr);
    EXPECT_EQ(CellAt(row, 199)->title, "Overlaps");
    EXPECT_EQ(CellAt(row, 260), nullptr); // the gap
    EXPECT_EQ(CellAt(row, -5), nullptr);
    EXPECT_EQ(CellAt(row, 86400)->title, "Two days");
}

TEST(GridCache, ReadsOnlyRowsItLacksAndAScreenAround)
{
    std::vector<std::string> asked;
    std::pair<std::int64_t, std::int64_t> span;
    GridCache cache([&](const std::vector<std::string>& names, std::int64_t from, std::int64_t to) {
        asked.insert(asked.end(), names.begin(), names.end());
        span = {from, to};
        std::vector<std::vector<Cell>> out;
        for (const std::string& n : names)
            out.push_back({{from, to, 0, n}});
        return out;
    });
    auto name = [](int row) { return QString::number(row); };
    cache.Need(10, 20, 100, 1000, 2000, name);
    // A screen of rows and a screen of time on each side.
    EXPECT_EQ(asked.size(), 30u);
    EXPECT_EQ(asked.front(), "0");
    EXPECT_EQ(span, std::make_pair(std::int64_t(0), std::int64_t(3000)));
    EXPECT_EQ(cache.Row(5).front().title, "5");
    asked.clear();
    cache.Need(15, 25, 100, 500, 2500, name); // within the margin: nothing read
    EXPECT_TRUE(asked.empty());
    cache.Need(25, 35, 100, 500, 2500, name); // rows beyond it: only those missing
    EXPECT_EQ(asked.size(), 15u);
    EXPECT_EQ(asked.front(), "30");
    EXPECT_TRUE(cache.Row(0).empty()); // dropped, far above
    asked.clear();
    cache.Need(25, 35, 100, 2500, 4000, name); // another time: every row read again
    EXPECT_EQ(asked.size(), 30u);
    asked.clear();
    cache.Need(95, 105, 100, 2500, 4000, name); // the end of the rows bounds them
    EXPECT_EQ(asked.back(), "99");
}

TEST(GridChannels, TreeOrderCategoriesFavouritesAndFinding)
{
    ScratchDir dir;
    const std::string file = dir.File("VisibleAPI.dat");
    ScratchDir::Spit(file, "[Layer1]\nNews=\nSports=\nNews=\n\n[Layer2]\nBBC One=News\nEurosport=Sports\n"
                           "CNN=News\nOdd=Nowhere\n\n[Programs]\n");
    GridChannels rows(file, {"cnn", "Gone", "Eurosport"});
    EXPECT_EQ(rows.Categories(), (QStringList{"News", "Sports"}));
    auto names = [&] {
        QStringList out;
        for (int r = 0; r < rows.Count(); ++r)
            out << rows.At(r).name;
        return out;
    };
    EXPECT_EQ(names(), (QStringList{"BBC One", "CNN", "Eurosport"}));
    EXPECT_EQ(rows.At(2).category, "Sports");
    rows.Filter(GridChannels::kFavourites, QString());
    EXPECT_EQ(names(), (QStringList{"CNN", "Eurosport"}));
    rows.Filter(GridChannels::kFavourites + 1, QStringLiteral(" one"));
    EXPECT_EQ(names(), (QStringList{"BBC One"}));
    rows.Filter(GridChannels::kAll, QStringLiteral("O"));
    EXPECT_EQ(names(), (QStringList{"BBC One", "Eurosport"}));
    EXPECT_EQ(rows.RowOf(QStringLiteral("eurosport")), 1);
    rows.Filter(99, QString());
    EXPECT_EQ(rows.Count(), 3);
}
