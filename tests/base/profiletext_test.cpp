#include "base/profiletext.h"

#include <gtest/gtest.h>

using quorvel::ProfileText;

TEST(ProfileText, FinerTextRules)
{
    const ProfileText t("; a comment\r\n"
                        "\r\n"
                        "  [ Layer2 ]  \r\n"
                        "  CCTV 1  =  News (Live)  \r\n"
                        "; Hidden=yes\r\n"
                        "Quoted=\"  spaced  \"\r\n"
                        "Single='x'\r\n"
                        "Half=\"open\r\n"
                        "Bare line\r\n"
                        "Empty=\r\n"
                        "=no name\r\n"
                        "[Other]\n"
                        "K=v");
    // A line without "=" is no key: not listed, not read.
    EXPECT_EQ(t.Keys("layer2"), (std::vector<std::string>{"CCTV 1", "Quoted", "Single", "Half", "Empty"}));
    EXPECT_EQ(t.Value("LAYER2", "cctv 1").value(), "News (Live)");
    EXPECT_EQ(t.Value("Layer2", "Quoted").value(), "  spaced  ");
    EXPECT_EQ(t.Value("Layer2", "Single").value(), "x");
    EXPECT_EQ(t.Value("Layer2", "Half").value(), "\"open");
    EXPECT_FALSE(t.Value("Layer2", "Bare line").has_value());
    EXPECT_EQ(t.Value("Layer2", "Empty").value(), "");
    EXPECT_FALSE(t.Value("Layer2", "Hidden").has_value());
    EXPECT_EQ(t.Value("other", "k").value(), "v");
    EXPECT_FALSE(t.Value("Missing", "k").has_value());
    EXPECT_TRUE(t.Keys("Missing").empty());
    // Views of the entries say what the copies say.
    const auto entries = t.Entries("layer2");
    const auto views = t.EntryViews("layer2");
    ASSERT_EQ(views.size(), entries.size());
    for (std::size_t i = 0; i < views.size(); ++i) {
        EXPECT_EQ(views[i].first, entries[i].first);
        EXPECT_EQ(views[i].second, entries[i].second);
    }
    EXPECT_TRUE(t.EntryViews("Missing").empty());
}

TEST(ProfileText, DuplicatesReadTheFirstAndListEveryLine)
{
    const ProfileText t("[S]\nA=1\na=2\n[s]\nB=3\n");
    EXPECT_EQ(t.Keys("S"), (std::vector<std::string>{"A", "a"}));
    EXPECT_EQ(t.Value("S", "A").value(), "1");
    // Read in listing order, the second line of a name still answers with the first's value.
    EXPECT_EQ(t.Value("S", "a").value(), "1");
    EXPECT_FALSE(t.Value("S", "B").has_value());
    const ProfileText u("[S]\nX=1\nY=2\nZ=3\n");
    EXPECT_EQ(u.Value("S", "z").value(), "3");
    EXPECT_EQ(u.Value("S", "x").value(), "1");
    EXPECT_EQ(u.Value("S", "y").value(), "2");
    EXPECT_EQ(u.Value("S", "z").value(), "3");
}

TEST(ProfileText, HeaderWithoutBracketIsNotASection)
{
    const ProfileText t("[S]\nA=1\n[Broken\nB=2\n");
    EXPECT_EQ(t.Keys("S"), (std::vector<std::string>{"A", "B"}));
    EXPECT_TRUE(t.Keys("Broken").empty());
}

TEST(ProfileText, WithValueKeepsEverythingElse)
{
    const ProfileText t("; top\r\n[A]\r\nx = 1 ; not a comment\r\n\r\n[B]\r\ny=2\r\n");
    EXPECT_EQ(t.WithValue("a", "X", "9"), "; top\r\n[A]\r\nx=9\r\n\r\n[B]\r\ny=2\r\n");
    EXPECT_EQ(t.WithValue("A", "new", ""), "; top\r\n[A]\r\nx = 1 ; not a comment\r\nnew=\r\n\r\n[B]\r\ny=2\r\n");
    EXPECT_EQ(t.WithValue("C", "z", "3"),
              "; top\r\n[A]\r\nx = 1 ; not a comment\r\n\r\n[B]\r\ny=2\r\n\r\n[C]\r\nz=3\r\n");
}

TEST(ProfileText, WithValueOnLastLineWithoutLineEnd)
{
    EXPECT_EQ(ProfileText("[A]\nx=1").WithValue("A", "y", "2"), "[A]\nx=1\ny=2\n");
    EXPECT_EQ(ProfileText("[A]\nx=1").WithValue("A", "x", "2"), "[A]\nx=2");
    EXPECT_EQ(ProfileText("[A]").WithValue("A", "x", "1"), "[A]\nx=1\n");
    EXPECT_EQ(ProfileText("").WithValue("A", "x", "1"), "[A]\nx=1\n");
}

TEST(ProfileText, GarbageNeverBreaksTheReader)
{
    std::string garbage;
    for (int i = 0; i < 5000; ++i)
        garbage.push_back(static_cast<char>((i * 7919) % 256));
    garbage += std::string("\n[S]\nK\0ey=V\n", 12);
    const ProfileText t(garbage);
    for (const auto& k : t.Keys("S"))
        EXPECT_EQ(k.find('\0'), std::string::npos);
    EXPECT_EQ(t.Keys("S"), (std::vector<std::string>{"K"}));
}

TEST(ProfileText, LinesWithoutEqualsSignAreNoKeys)
{
    // Notes and names typed by hand without "=": skipped, as the platform's readers do.
    const ProfileText t("[Layer1]\n# added by hand\nSports=\nMovies\n  \t\n[Broken\nKids=\n=no name\n");
    EXPECT_EQ(t.Keys("Layer1"), (std::vector<std::string>{"Sports", "Kids"}));
    EXPECT_EQ(t.Entries("Layer1").size(), 2u);
    EXPECT_FALSE(t.Value("Layer1", "Movies").has_value());
    EXPECT_FALSE(t.Value("Layer1", "# added by hand").has_value());
    // A key written under a note's name is a new line; the note stays as it was.
    EXPECT_EQ(t.WithValue("Layer1", "Movies", "1"),
              "[Layer1]\n# added by hand\nSports=\nMovies\n  \t\n[Broken\nKids=\nMovies=1\n=no name\n");
}

TEST(ProfileText, CarriageReturnAloneEndsALine)
{
    // CR, LF and CR LF line ends, also mixed in one file, all read the same.
    for (const char* eol : {"\r", "\n", "\r\n"}) {
        const std::string e = eol;
        const ProfileText t("[Layer1]" + e + "Sports=" + e + "Kids=" + e + "[Layer2]" + e + "Football=Sports" + e +
                            "Cartoons=Kids");
        EXPECT_EQ(t.Keys("Layer1"), (std::vector<std::string>{"Sports", "Kids"})) << int(eol[0]);
        EXPECT_EQ(t.Value("Layer2", "Football").value(), "Sports");
        EXPECT_EQ(t.Value("Layer2", "Cartoons").value(), "Kids");
    }
    const ProfileText mixed("[S]\ra=1\r\nb=2\nc=3\r\r\nd=4");
    EXPECT_EQ(mixed.Keys("S"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(mixed.Value("S", "c").value(), "3");
    // Writing keeps a file's CR line ends, and the bytes of every other line.
    const ProfileText cr("[A]\rx=1\r[B]\ry=2");
    EXPECT_EQ(cr.WithValue("A", "x", "9"), "[A]\rx=9\r[B]\ry=2");
    EXPECT_EQ(cr.WithValue("A", "z", "3"), "[A]\rx=1\rz=3\r[B]\ry=2");
    EXPECT_EQ(cr.WithValue("B", "z", "3"), "[A]\rx=1\r[B]\ry=2\rz=3\r");
    EXPECT_EQ(cr.WithValue("C", "z", "3"), "[A]\rx=1\r[B]\ry=2\r\r[C]\rz=3\r");
}

// Many keys of several sections at once come out exactly as writing them one by one would:
// in-place updates keep their spelling, new keys follow the section's last key, a key named
// twice (in any case) keeps its first place and last value, new sections go at the end.
TEST(ProfileText, WithValuesMatchesKeyByKeyWrites)
{
    const std::vector<std::string> bases = {
        "",
        "[A]",
        "[A]\nx=1",
        "; top\r\n[A]\r\nx = 1\r\n\r\n[B]\r\ny=2\r\n[a]\r\nz=3\r\n",
        "k=0\n[Layer1]\nNews=\n[Layer2]\nOne=News\n\n[Programs]\nOne=http://h/1\n",
        "[A]\rx=1\r[B]\ry=2",
        "[A]\nnote typed by hand\nx=1\nnew\n[c]\rlast",
    };
    const std::vector<std::string> sections = {"A", "a", "B", "C", "c", "Layer2", "Programs", "D"};
    const std::vector<std::string> keys = {"x", "X", "y", "z", "new", "NEW", "One", "two"};
    std::uint32_t seed = 7;
    auto next = [&seed](std::size_t n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<std::size_t>((seed >> 16) % n);
    };
    for (const auto& base : bases) {
        for (int round = 0; round < 200; ++round) {
            std::vector<quorvel::SectionValues> edits;
            const std::size_t groups = 1 + next(4);
            for (std::size_t g = 0; g < groups; ++g) {
                quorvel::SectionValues edit{sections[next(sections.size())], {}};
                const std::size_t count = next(5);
                for (std::size_t k = 0; k < count; ++k)
                    edit.entries.emplace_back(keys[next(keys.size())], "v" + std::to_string(next(100)));
                edits.push_back(edit);
            }
            std::string expected = base;
            for (const auto& edit : edits)
                for (const auto& [key, value] : edit.entries)
                    expected = ProfileText(expected).WithValue(edit.section, key, value);
            ASSERT_EQ(ProfileText(base).WithValues(edits), expected) << "base: " << base << " round " << round;
        }
    }
}
