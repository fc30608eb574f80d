#include "base/nameindex.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using quorvel::NameIndex;

TEST(NameIndex, ExactOrAnyCaseAndTheFirstNameKeepsItsNumber)
{
    NameIndex exact(false);
    NameIndex anyCase(true);
    const std::vector<std::string> names = {"News", "news", "NEWS", "Sports", "", "Новости", "a=b"};
    for (std::uint32_t i = 0; i < names.size(); ++i) {
        exact.Insert(names[i], i);
        anyCase.Insert(names[i], i);
    }
    EXPECT_EQ(exact.Size(), 7u);
    EXPECT_EQ(anyCase.Size(), 5u);
    EXPECT_EQ(exact.Find("news"), 1u);
    EXPECT_EQ(exact.Find("nEws"), NameIndex::npos);
    EXPECT_EQ(anyCase.Find("nEws"), 0u);
    EXPECT_EQ(anyCase.Find("SPORTS"), 3u);
    EXPECT_EQ(anyCase.Find(""), 4u);
    // Only ASCII letters fold, as in profile names.
    EXPECT_EQ(anyCase.Find("новости"), NameIndex::npos);
    EXPECT_EQ(anyCase.Find("Новости"), 5u);
    // The name one stands for is the first one's.
    EXPECT_EQ(anyCase.Insert("NEWS", 99), 0u);
    EXPECT_EQ(NameIndex(true).Find("anything"), NameIndex::npos);
}

TEST(NameIndex, TwoPartNamesAreTheWholeName)
{
    NameIndex index(true);
    const std::string stored = "Daily (2)";
    index.Insert(stored, 7);
    EXPECT_EQ(index.Hash("DAILY", " (2)"), index.Hash("daily (2)"));
    EXPECT_EQ(index.Find("daily", " (2)"), 7u);
    EXPECT_EQ(index.Find("Daily (", "2)"), 7u);
    EXPECT_EQ(index.Find("Daily", " (3)"), NameIndex::npos);
    EXPECT_EQ(index.Find("Daily", ""), NameIndex::npos);
    EXPECT_EQ(index.Find("Daily (2)", " "), NameIndex::npos);
}

TEST(NameIndex, ManyNamesOfEveryLengthAllFoundAfterGrowing)
{
    // Lengths around the eight-byte steps of the hash, letters that differ only in case, and
    // bytes next to "A" and "Z".
    std::vector<std::string> names;
    for (int i = 0; i < 20000; ++i) {
        std::string name = "@Z[" + std::to_string(i);
        name.resize(static_cast<std::size_t>(i % 19) + name.size(), static_cast<char>('A' + i % 26));
        names.push_back(name);
    }
    NameIndex index(true);
    for (std::uint32_t i = 0; i < names.size(); ++i)
        ASSERT_EQ(index.Insert(names[i], i), i) << names[i];
    for (std::uint32_t i = 0; i < names.size(); ++i) {
        std::string lower = names[i];
        for (char& c : lower)
            c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        ASSERT_EQ(index.Find(lower), i) << names[i];
        // "@", "[" and "`" sit next to the letters and must not fold.
        std::string shifted = names[i];
        shifted[0] = '`';
        ASSERT_EQ(index.Find(shifted), NameIndex::npos);
    }
}
