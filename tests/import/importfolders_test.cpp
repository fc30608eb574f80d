// quorvel-import installed under a prefix, as the package lays it out: the catalogue it changes
// by default is the user's, started from the installed one, and nothing under the prefix changes.
#include "scratchdir.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

struct Installed {
    ScratchDir root;
    std::string bin = root.Path() + "/usr/bin/";
    std::string share = root.Path() + "/usr/share/quorvel/";
    std::string home = root.Path() + "/home/viewer";
    std::string data = home + "/.local/share/quorvel/";

    Installed()
    {
        fs::create_directories(bin);
        fs::create_directories(share);
        fs::create_directories(home);
        fs::copy_file(QUORVEL_IMPORT_EXE, bin + "quorvel-import");
        ScratchDir::Spit(share + "TVAPI.dat", "<html></html>");
        ScratchDir::Spit(share + "VisibleAPI.dat", "[Layer1]\nNews=\nSports=\n\n[Layer2]\n\n[Programs]\n");
        ScratchDir::Spit(root.File("tv.m3u"),
                         "#EXTM3U\n#EXTINF:-1 group-title=\"Kids\",Toons\nhttp://127.0.0.1:9/toons.m3u8\n");
    }

    // Runs the installed command with the user's environment; returns its status and output.
    std::pair<int, std::string> Run(const QStringList& arguments) const
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("XDG_DATA_HOME"));
        env.insert(QStringLiteral("HOME"), QString::fromStdString(home));
        process.setProcessEnvironment(env);
        process.start(QString::fromStdString(bin + "quorvel-import"), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitCode(),
                process.readAllStandardOutput().toStdString() + process.readAllStandardError().toStdString()};
    }
};

} // namespace

TEST(ImportFolders, AnInstalledImportChangesTheUsersCopyOfTheInstalledCatalogue)
{
    Installed inst;
    const QString playlist = QString::fromStdString(inst.root.File("tv.m3u"));

    // The help names the user's catalogue; a dry run reads the installed one and writes nothing.
    EXPECT_NE(inst.Run({QStringLiteral("--help")}).second.find(inst.data + "VisibleAPI.dat"), std::string::npos);
    const auto [dryStatus, dry] = inst.Run({playlist, QStringLiteral("--dry-run")});
    EXPECT_EQ(dryStatus, 0) << dry;
    EXPECT_NE(dry.find("Would add 1 channel"), std::string::npos) << dry;
    EXPECT_FALSE(fs::exists(inst.home + "/.local"));

    const auto [status, out] = inst.Run({playlist});
    ASSERT_EQ(status, 0) << out;
    EXPECT_NE(out.find("catalogue " + inst.data + "VisibleAPI.dat"), std::string::npos) << out;
    const std::string catalogue = ScratchDir::Slurp(inst.data + "VisibleAPI.dat");
    EXPECT_EQ(catalogue.rfind("[Layer1]\nNews=\nSports=\nKids=\n", 0), 0u) << catalogue;
    EXPECT_NE(catalogue.find("Toons=http://127.0.0.1:9/toons.m3u8"), std::string::npos) << catalogue;

    // The installation is as it was: the installed catalogue unchanged, nothing new beside it.
    EXPECT_EQ(ScratchDir::Slurp(inst.share + "VisibleAPI.dat"), "[Layer1]\nNews=\nSports=\n\n[Layer2]\n\n[Programs]\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(inst.share), fs::directory_iterator()), 2);
    EXPECT_EQ(std::distance(fs::directory_iterator(inst.bin), fs::directory_iterator()), 1);
}
