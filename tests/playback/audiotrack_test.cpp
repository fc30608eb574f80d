// What the control bar calls a sound track (the track list itself is read from real streams in
// the player's window tests).
#include "playback/audiotrack.h"

#include <gtest/gtest.h>

using namespace quorvel;

TEST(AudioTrackLabel, LanguageInWordsThenTitleElseNumber)
{
    EXPECT_EQ(AudioTrackLabel({1, QStringLiteral("eng"), QString(), false}), QStringLiteral("English"));
    EXPECT_EQ(AudioTrackLabel({1, QStringLiteral("de"), QStringLiteral("Kommentar"), false}),
              QStringLiteral("German — Kommentar"));
    EXPECT_EQ(AudioTrackLabel({1, QStringLiteral("eng"), QStringLiteral("english"), false}), QStringLiteral("English"));
    EXPECT_EQ(AudioTrackLabel({1, QStringLiteral("xx9"), QString(), false}), QStringLiteral("xx9"));
    EXPECT_EQ(AudioTrackLabel({4, QString(), QStringLiteral("Director"), false}), QStringLiteral("Director"));
    EXPECT_EQ(AudioTrackLabel({4, QString(), QString(), false}), QStringLiteral("Track 4"));
}
