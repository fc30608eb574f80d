#include "base/exception.h"
#include "platform/inifile.h"
#include "platform/profilestore.h"
#include "scratchdir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using quorvel::EIniFileException;
using quorvel::IniFile;

namespace {

std::vector<std::string> List(const IniFile& ini, const std::string& section)
{
    std::vector<std::string> keys{"stale"};
    ini.ListKeys(section, keys);
    return keys;
}

} // namespace

TEST(IniFile, MissingThingsReadAsDefaultsAndListEmpty)
{
    ScratchDir dir;
    IniFile missing(dir.File("none.ini"));
    EXPECT_TRUE(List(missing, "S").empty());
    EXPECT_EQ(missing.ReadValue("S", "k", "dflt"), "dflt");
    ScratchDir::Spit(dir.File("a.ini"), "[Empty]\n[S]\nk=v\n");
    IniFile a(dir.File("a.ini"));
    EXPECT_TRUE(List(a, "Empty").empty());
    EXPECT_TRUE(List(a, "Nope").empty());
    EXPECT_EQ(a.ReadValue("Empty", "k", ""), "");
    EXPECT_EQ(a.ReadValue("S", "missing", ""), "");
    // Reading creates nothing.
    EXPECT_NE(::access(dir.File("none.ini").c_str(), F_OK), 0);
}

TEST(IniFile, WritesKeepOrderAndReplaceInPlace)
{
    ScratchDir dir;
    IniFile ini(dir.File("cat.dat"));
    std::vector<std::string> names;
    for (int i = 0; i < 15; ++i) {
        names.push_back("Key " + std::to_string(i));
        ini.WriteValue("Layer1", names.back(), "");
    }
    EXPECT_EQ(List(ini, "Layer1"), names);
    EXPECT_EQ(ini.ReadValue("Layer1", "Key 7", "dflt"), "");
    ini.WriteValue("Other", "x", "1");
    ini.WriteValue("Layer1", "key 3", "second");
    EXPECT_EQ(List(ini, "Layer1"), names);
    EXPECT_EQ(ini.ReadValue("LAYER1", "KEY 3", ""), "second");
    ini.WriteValue("Layer1", "Late", "z");
    EXPECT_EQ(List(ini, "Layer1").back(), "Late");
    EXPECT_EQ(List(ini, "Other"), std::vector<std::string>{"x"});
}

TEST(IniFile, LongValuesAreCutListingsAreWhole)
{
    ScratchDir dir;
    const std::string file = dir.File("big.ini");
    std::string text = "[S]\nlong=" + std::string(3000, 'a') + "\n";
    std::vector<std::string> expected;
    // Far more than a 16 KiB listing buffer would hold, with long names.
    for (int i = 0; i < 3000; ++i) {
        expected.push_back("Channel number " + std::to_string(i) + std::string(20, 'x'));
        text += expected.back() + "=http://127.0.0.1/" + std::to_string(i) + "\n";
    }
    ScratchDir::Spit(file, text);
    IniFile ini(file);
    EXPECT_EQ(ini.ReadValue("S", "long", "").size(), IniFile::MaxValueLength);
    EXPECT_EQ(ini.ReadValue("S", "nothing", std::string(3000, 'd')).size(), IniFile::MaxValueLength);
    auto keys = List(ini, "S");
    ASSERT_EQ(keys.size(), 3001u);
    EXPECT_EQ(std::vector<std::string>(keys.begin() + 1, keys.end()), expected);
    const auto all = ini.ReadSectionValues("S");
    ASSERT_EQ(all.size(), 3001u);
    EXPECT_EQ(all[0].second.size(), IniFile::MaxValueLength);
    EXPECT_EQ(all[2999].second, "http://127.0.0.1/2998");
}

TEST(IniFile, SeesChangesMadeByOthersBetweenCalls)
{
    ScratchDir dir;
    const std::string file = dir.File("ads.ini");
    ScratchDir::Spit(file, "[S]\na=1\n");
    IniFile ini(file);
    EXPECT_EQ(ini.ReadValue("S", "a", ""), "1");
    // Same size, written in place within the same clock tick.
    ScratchDir::Spit(file, "[S]\na=2\n");
    EXPECT_EQ(ini.ReadValue("S", "a", ""), "2");
    ::unlink(file.c_str());
    EXPECT_EQ(ini.ReadValue("S", "a", "gone"), "gone");
}

TEST(IniFile, WritePreservesFileBytesAndPermissions)
{
    ScratchDir dir;
    const std::string file = dir.File("p.ini");
    ScratchDir::Spit(file, "; keep me\r\n[S]\r\na=1\r\n\xE4\xB8\xAD=\xB2\xE2\r\n");
    ::chmod(file.c_str(), 0640);
    IniFile ini(file);
    ini.WriteValue("S", "b", "\xC4\xE3");
    EXPECT_EQ(ScratchDir::Slurp(file), "; keep me\r\n[S]\r\na=1\r\n\xE4\xB8\xAD=\xB2\xE2\r\nb=\xC4\xE3\r\n");
    struct stat st;
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(IniFile, WriteFollowsSymlinkToItsFile)
{
    ScratchDir dir;
    ScratchDir::Spit(dir.File("real.ini"), "[S]\na=1\n");
    ASSERT_EQ(::symlink("real.ini", dir.File("link.ini").c_str()), 0);
    IniFile(dir.File("link.ini")).WriteValue("S", "a", "2");
    EXPECT_EQ(ScratchDir::Slurp(dir.File("real.ini")), "[S]\na=2\n");
    struct stat st;
    ASSERT_EQ(::lstat(dir.File("link.ini").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}

TEST(IniFile, FailedWritesRaiseAndLeaveTheOldFile)
{
    ScratchDir dir;
    const std::string sub = dir.Path() + "/ro";
    ASSERT_EQ(::mkdir(sub.c_str(), 0755), 0);
    const std::string file = sub + "/VisibleAPI.dat";
    ScratchDir::Spit(file, "[S]\na=1\n");
    ::chmod(sub.c_str(), 0555);
    IniFile ini(file);
    if (::geteuid() != 0) {
        try {
            ini.WriteValue("S", "a", "2");
            FAIL() << "write into a read-only directory succeeded";
        } catch (const EIniFileException& e) {
            EXPECT_EQ(e.Message(), "Unable to write to " + file);
        }
        EXPECT_EQ(ScratchDir::Slurp(file), "[S]\na=1\n");
    }
    // A path below a plain file cannot be written, not even by root.
    ScratchDir::Spit(dir.File("plain"), "x");
    EXPECT_THROW(IniFile(dir.File("plain") + "/x.ini").WriteValue("S", "a", "1"), EIniFileException);
    // A dangling link into a place that cannot hold files fails and stays a link.
    ASSERT_EQ(::symlink((dir.File("plain") + "/x.ini").c_str(), dir.File("dangling.ini").c_str()), 0);
    EXPECT_THROW(IniFile(dir.File("dangling.ini")).WriteValue("S", "a", "1"), EIniFileException);
    struct stat st;
    ASSERT_EQ(::lstat(dir.File("dangling.ini").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    // A directory is not a profile file: reads give nothing, writes fail.
    IniFile folder(dir.Path());
    EXPECT_TRUE(List(folder, "S").empty());
    EXPECT_THROW(folder.WriteValue("S", "a", "1"), EIniFileException);
    // Text that would break the line structure is refused, file untouched.
    ::chmod(sub.c_str(), 0755);
    EXPECT_THROW(ini.WriteValue("S", "a", "1\n[Evil]\nx=1"), EIniFileException);
    EXPECT_THROW(ini.WriteValue("S]\n[T", "a", "1"), EIniFileException);
    EXPECT_THROW(ini.WriteValue("S", "a=b", "1"), EIniFileException);
    EXPECT_EQ(ScratchDir::Slurp(file), "[S]\na=1\n");
    // No temporary files are left behind.
    ini.WriteValue("S", "a", "3");
    int entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(sub))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(IniFile, SectionWritesLandWholeOrNotAtAll)
{
    ScratchDir dir;
    const std::vector<std::pair<std::string, std::string>> entries{{"New", ""}, {"b", "two"}, {"C", "3"}};
    // The same bytes as one write per key, on a missing file and on one holding some of them.
    for (const std::string& start : {std::string(), std::string("; mine\r\n[S]\r\nB = old\r\n[T]\r\nx=1\r\n")}) {
        const std::string one = dir.File("one.ini"), all = dir.File("all.ini");
        std::filesystem::remove(one);
        std::filesystem::remove(all);
        if (!start.empty()) {
            ScratchDir::Spit(one, start);
            ScratchDir::Spit(all, start);
        }
        for (const auto& [key, value] : entries)
            IniFile(one).WriteValue("S", key, value);
        IniFile(all).WriteSectionValues("S", entries);
        EXPECT_EQ(ScratchDir::Slurp(all), ScratchDir::Slurp(one));
    }
    // One refused entry refuses them all: the file is as it was.
    const std::string file = dir.File("all.ini");
    const std::string before = ScratchDir::Slurp(file);
    EXPECT_THROW(IniFile(file).WriteSectionValues("S", {{"fine", "1"}, {"bad=key", "2"}}), EIniFileException);
    EXPECT_EQ(ScratchDir::Slurp(file), before);
    try {
        IniFile(dir.Path()).WriteSectionValues("S", entries);
        FAIL() << "a directory was written as a profile file";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + dir.Path());
    }
}

TEST(IniFile, UnreadableFileIsNeverOverwritten)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    ScratchDir dir;
    const std::string file = dir.File("secret.ini");
    ScratchDir::Spit(file, "[S]\na=1\n");
    ::chmod(file.c_str(), 0200);
    IniFile ini(file);
    EXPECT_TRUE(List(ini, "S").empty());
    EXPECT_THROW(ini.WriteValue("S", "b", "2"), EIniFileException);
    ::chmod(file.c_str(), 0600);
    EXPECT_EQ(ScratchDir::Slurp(file), "[S]\na=1\n");
}

TEST(IniFile, HugeSingleLineAndNulBytes)
{
    ScratchDir dir;
    const std::string file = dir.File("huge.ini");
    std::string text = "[S]\nk=" + std::string(50 * 1024 * 1024, 'z');
    text += std::string("\nn\0ul=x\n", 8);
    ScratchDir::Spit(file, text);
    IniFile ini(file);
    EXPECT_EQ(ini.ReadValue("S", "k", "").size(), IniFile::MaxValueLength);
    EXPECT_EQ(List(ini, "S"), (std::vector<std::string>{"k", "n"}));
}
