// Finding channels by a part of their name, as one types.
#include "catalogue/channelfinder.h"

#include <gtest/gtest.h>
#include <random>

using quorvel::ChannelFinder;
using Match = ChannelFinder::Match;

namespace {

std::vector<std::vector<QString>> Tree()
{
    return {
        {QStringLiteral("BBC One"), QStringLiteral("bbc two"), QStringLiteral("Arte")},
        {},
        {QStringLiteral("Первый канал"), QStringLiteral("РОССИЯ 1"), QStringLiteral("ΕΡΤ Ελληνική")},
        {QStringLiteral("中央电视台"), QStringLiteral("Café Noir"), QStringLiteral("CAFÉ Blanc")},
    };
}

// What any search must return: every channel whose folded name holds the folded text.
std::vector<Match> Expected(const std::vector<std::vector<QString>>& tree, const QString& text)
{
    std::vector<Match> out;
    for (std::uint32_t c = 0; c < tree.size(); ++c)
        for (std::uint32_t i = 0; i < tree[c].size(); ++i)
            if (tree[c][i].toCaseFolded().contains(text.toCaseFolded()))
                out.push_back(Match{c, i});
    return out;
}

} // namespace

TEST(ChannelFinder, AnyLetterCaseInAnyScriptInTreeOrder)
{
    ChannelFinder finder(Tree());
    EXPECT_EQ(finder.ChannelCount(), 9u);
    EXPECT_EQ(finder.Find(QStringLiteral("BBC")), (std::vector<Match>{{0, 0}, {0, 1}}));
    EXPECT_EQ(finder.Find(QStringLiteral("россия")), (std::vector<Match>{{2, 1}}));
    EXPECT_EQ(finder.Find(QStringLiteral("ПЕРВЫЙ")), (std::vector<Match>{{2, 0}}));
    EXPECT_EQ(finder.Find(QStringLiteral("ελλην")), (std::vector<Match>{{2, 2}}));
    EXPECT_EQ(finder.Find(QStringLiteral("电视")), (std::vector<Match>{{3, 0}}));
    EXPECT_EQ(finder.Find(QStringLiteral("café")), (std::vector<Match>{{3, 1}, {3, 2}}));
    EXPECT_EQ(finder.Find(QString()).size(), 9u);
    EXPECT_TRUE(finder.Find(QStringLiteral("zzz")).empty());
}

TEST(ChannelFinder, AMatchNeverSpansTwoNames)
{
    ChannelFinder finder({{QStringLiteral("ab"), QStringLiteral("cd")}, {QStringLiteral("ef")}});
    EXPECT_TRUE(finder.Find(QStringLiteral("bc")).empty());
    EXPECT_TRUE(finder.Find(QStringLiteral("de")).empty());
    EXPECT_TRUE(finder.Find(QStringLiteral("b\nc")).empty());
    EXPECT_EQ(finder.Find(QStringLiteral("f")), (std::vector<Match>{{1, 0}}));
    // The same text twice in one name is one match.
    ChannelFinder twice({{QStringLiteral("aXaXa"), QStringLiteral("a")}});
    EXPECT_EQ(twice.Find(QStringLiteral("a")), (std::vector<Match>{{0, 0}, {0, 1}}));
}

TEST(ChannelFinder, TypingOnAndBackGivesWhatAFreshSearchGives)
{
    // Random names from a small alphabet, so that texts hit often and narrowing matters.
    std::mt19937 random(11);
    const QString letters = QStringLiteral("abAB ЖжΣσ");
    std::vector<std::vector<QString>> tree(20);
    for (auto& category : tree) {
        const int count = static_cast<int>(random() % 60);
        for (int i = 0; i < count; ++i) {
            QString name;
            const int length = 1 + static_cast<int>(random() % 8);
            for (int k = 0; k < length; ++k)
                name += letters.at(static_cast<qsizetype>(random() % letters.size()));
            category.push_back(name);
        }
    }
    ChannelFinder finder(tree);
    QString text;
    for (int step = 0; step < 3000; ++step) {
        const auto r = random() % 10;
        if (r < 6 || text.isEmpty())
            text += letters.at(static_cast<qsizetype>(random() % letters.size())); // type on
        else if (r < 9)
            text.chop(1); // back
        else
            text.remove(0, 1); // cut at the front
        if (text.size() > 4)
            text.clear();
        ASSERT_EQ(finder.Find(text), Expected(tree, text)) << "step " << step << " text " << text.toStdString();
    }
}
