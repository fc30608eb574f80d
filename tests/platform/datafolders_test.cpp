#include "base/exception.h"
#include "envscope.h"
#include "platform/datafolders.h"
#include "scratchdir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using quorvel::DataFolders;
using quorvel::UserDataHome;

namespace {

void MakeDirs(const std::string& dir) { std::filesystem::create_directories(dir); }

unsigned Mode(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 0777) : 0;
}

// An installation prefix as the package lays it out: the program in bin, the pages and the
// default catalogue in share/quorvel.
struct Installation {
    ScratchDir root;
    std::string bin = root.Path() + "/usr/bin/";
    std::string share = root.Path() + "/usr/share/quorvel/";
    std::string home = root.Path() + "/home/viewer/.local/share/";

    Installation()
    {
        MakeDirs(bin);
        MakeDirs(share);
        ScratchDir::Spit(share + "TVAPI.dat", "<html>start</html>");
        ScratchDir::Spit(share + "VisibleAPI.dat", "[Layer1]\nNews=\n");
    }
};

} // namespace

TEST(DataFolders, APortableFolderKeepsEverythingBesideTheProgram)
{
    ScratchDir dir;
    ScratchDir::Spit(dir.File("TVAPI.dat"), "page");
    const DataFolders f = DataFolders::Choose(dir.Path(), "/home/viewer/.local/share/", true);
    const std::string own = dir.Path() + "/";
    EXPECT_EQ(f.programDir, own);
    EXPECT_EQ(f.pagesDir, own);
    EXPECT_EQ(f.dataDir, own);
    EXPECT_FALSE(f.Installed());
    // Nothing is copied or made for a portable folder: the program writes its own defaults.
    EXPECT_EQ(f.Seeded("VisibleAPI.dat"), own + "VisibleAPI.dat");
    EXPECT_FALSE(std::filesystem::exists(own + "VisibleAPI.dat"));
    // A portable folder that happens to be called bin, beside an installation, stays portable.
    Installation inst;
    ScratchDir::Spit(inst.bin + "TVAPI.dat", "page");
    EXPECT_FALSE(DataFolders::Choose(inst.bin, inst.home, true).Installed());
}

TEST(DataFolders, AnInstalledProgramReadsItsPagesFromShareAndKeepsDataInTheUsersFolder)
{
    Installation inst;
    // Root may write the program's folder; the installed layout decides all the same.
    for (bool writable : {false, true}) {
        const DataFolders f = DataFolders::Choose(inst.bin, inst.home, writable);
        EXPECT_EQ(f.pagesDir, inst.root.Path() + "/usr/share/quorvel/");
        EXPECT_EQ(f.dataDir, inst.home + "quorvel/");
        EXPECT_TRUE(f.Installed());
    }
    // A folder that cannot be written, with its pages in it: pages from there, data at home.
    ScratchDir readOnly;
    ScratchDir::Spit(readOnly.File("TVAPI.dat"), "page");
    const DataFolders r = DataFolders::Choose(readOnly.Path() + "/", inst.home, false);
    EXPECT_EQ(r.pagesDir, readOnly.Path() + "/");
    EXPECT_EQ(r.dataDir, inst.home + "quorvel/");
    // No home to keep the channels in: said, not guessed.
    EXPECT_THROW(DataFolders::Choose(inst.bin, "", true), quorvel::Exception);
}

TEST(DataFolders, SeedingCopiesTheDefaultOnceIntoAPrivateFolderAndNeverReplacesTheUsersFile)
{
    Installation inst;
    const DataFolders f = DataFolders::Choose(inst.bin, inst.home, false);
    const std::string mine = f.Seeded("VisibleAPI.dat");
    EXPECT_EQ(mine, inst.home + "quorvel/VisibleAPI.dat");
    EXPECT_EQ(ScratchDir::Slurp(mine), "[Layer1]\nNews=\n");
    EXPECT_EQ(Mode(inst.home + "quorvel"), 0700u);
    EXPECT_EQ(Mode(inst.root.Path() + "/home/viewer/.local"), 0700u);
    // Only the file itself is left: no scratch copy beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(inst.home + "quorvel"),
                            std::filesystem::directory_iterator()),
              1);

    // The user's channels survive an upgrade that installs a newer default.
    ScratchDir::Spit(mine, "[Layer1]\nMine=\n");
    ScratchDir::Spit(inst.share + "VisibleAPI.dat", "[Layer1]\nNews=\nSports=\n");
    EXPECT_EQ(f.Seeded("VisibleAPI.dat"), mine);
    EXPECT_EQ(ScratchDir::Slurp(mine), "[Layer1]\nMine=\n");
    EXPECT_EQ(ScratchDir::Slurp(inst.share + "VisibleAPI.dat"), "[Layer1]\nNews=\nSports=\n");

    // A second user of the machine starts from the defaults of the day, apart from the first.
    const std::string otherHome = inst.root.Path() + "/home/other/.local/share/";
    const DataFolders other = DataFolders::Choose(inst.bin, otherHome, false);
    EXPECT_EQ(ScratchDir::Slurp(other.Seeded("VisibleAPI.dat")), "[Layer1]\nNews=\nSports=\n");
    EXPECT_EQ(ScratchDir::Slurp(mine), "[Layer1]\nMine=\n");

    // No installed default: the folder is made for the program to write its own.
    EXPECT_FALSE(std::filesystem::exists(f.Seeded("other.dat")));
    EXPECT_TRUE(std::filesystem::is_directory(f.dataDir));
}

TEST(DataFolders, ADataFolderThatCannotBeMadeIsReportedByName)
{
    Installation inst;
    MakeDirs(inst.home);
    ScratchDir::Spit(inst.home + "quorvel", "a file where the folder should be");
    const DataFolders f = DataFolders::Choose(inst.bin, inst.home, false);
    try {
        f.Seeded("VisibleAPI.dat");
        FAIL() << "a file in the folder's place went unnoticed";
    } catch (const quorvel::Exception& e) {
        EXPECT_NE(e.Message().find(inst.home + "quorvel"), std::string::npos) << e.Message();
    }
}

TEST(DataFolders, TheUsersDataHomeFollowsTheDesktopsRule)
{
    EnvScope home("HOME", "/home/viewer");
    {
        EnvScope data("XDG_DATA_HOME", "/srv/data");
        EXPECT_EQ(UserDataHome(), "/srv/data/");
    }
    for (const char* ignored : {"relative/data", ""}) {
        EnvScope data("XDG_DATA_HOME", ignored);
        EXPECT_EQ(UserDataHome(), "/home/viewer/.local/share/");
    }
    EnvScope data("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(UserDataHome(), "/home/viewer/.local/share/");

    // The whole decision for a program installed under a prefix, from the environment.
    Installation inst;
    EnvScope xdg("XDG_DATA_HOME", inst.home.c_str());
    EXPECT_EQ(DataFolders::For(inst.bin).dataDir, inst.home + "quorvel/");
}
