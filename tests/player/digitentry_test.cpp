// Channel numbers typed digit by digit, judged on a clock the test holds.
#include "player/digitentry.h"

#include <gtest/gtest.h>

using quorvel::DigitEntry;

TEST(DigitEntry, NumberCountsOnceTypingStopsForThePause)
{
    DigitEntry e;
    EXPECT_FALSE(e.Active());
    EXPECT_EQ(e.Due(0), std::nullopt) << "nothing typed, nothing due";
    EXPECT_EQ(e.Type(5, 1000), std::nullopt);
    EXPECT_EQ(e.Type(7, 2400), std::nullopt) << "within the pause: the number goes on";
    EXPECT_EQ(e.Digits(), "57");
    EXPECT_EQ(e.Due(2400 + DigitEntry::kPauseMs - 1), std::nullopt) << "the pause counts from the last digit";
    EXPECT_EQ(e.Due(2400 + DigitEntry::kPauseMs), 57);
    EXPECT_FALSE(e.Active());
    EXPECT_EQ(e.Due(99999), std::nullopt) << "a number counts once";
}

TEST(DigitEntry, EnterTakesItAtOnceAndEscapeDropsIt)
{
    DigitEntry e;
    EXPECT_EQ(e.Commit(), std::nullopt) << "Enter with nothing typed chooses nothing";
    e.Type(0, 0);
    e.Type(4, 10);
    EXPECT_EQ(e.Digits(), "04");
    EXPECT_EQ(e.Commit(), 4) << "leading zeros are just typing";
    e.Type(9, 20);
    e.Cancel();
    EXPECT_FALSE(e.Active());
    EXPECT_EQ(e.Due(100000), std::nullopt);
    EXPECT_EQ(e.Commit(), std::nullopt);
    // A lone zero is channel 0, which the caller then finds nowhere.
    e.Type(0, 0);
    EXPECT_EQ(e.Commit(), 0);
}

TEST(DigitEntry, TheLastDigitTakesTheNumberAndTheNextStartsAnew)
{
    DigitEntry e;
    for (int i = 1; i < DigitEntry::kMaxDigits; ++i)
        EXPECT_EQ(e.Type(9, i), std::nullopt);
    EXPECT_EQ(e.Type(8, 10), 99998);
    EXPECT_FALSE(e.Active());
    EXPECT_EQ(e.Type(3, 11), std::nullopt);
    EXPECT_EQ(e.Digits(), "3");
    // Anything that is not a digit is not typing: it neither adds nor restarts the pause.
    EXPECT_EQ(e.Type(10, 500), std::nullopt);
    EXPECT_EQ(e.Type(-1, 500), std::nullopt);
    EXPECT_EQ(e.Digits(), "3");
    EXPECT_EQ(e.Deadline(), 11 + DigitEntry::kPauseMs);
}
