// The quorvel-import program as a user runs it.
#include "catalogue/channelcatalogue.h"
#include "scratchdir.h"
#include "testhttpserver.h"

#include <QProcess>
#include <QTest>

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace quorvel;

namespace {

struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the program while this test's event loop keeps serving.
Result RunImport(const QStringList& arguments, const std::function<void()>& inChild = {})
{
    QProcess process;
    if (inChild)
        process.setChildProcessModifier(inChild);
    process.start(QStringLiteral(QUORVEL_IMPORT_EXE), arguments);
    EXPECT_TRUE(QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 120000));
    Result r;
    r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.out = QString::fromUtf8(process.readAllStandardOutput());
    r.err = QString::fromUtf8(process.readAllStandardError());
    return r;
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

const char* kPlaylist = "#EXTM3U\n"
                        "#EXTINF:-1 group-title=\"News\",Morning, Live\nhttp://127.0.0.1:9/morning.m3u8\n"
                        "#EXTINF:-1 group-title=\"News\",Evening\nhttp://127.0.0.1:9/evening.m3u8\n"
                        "#EXTINF:-1 group-title=\"Kids\",Toons\nfd://0\n";

} // namespace

TEST(ImportCommand, ImportsPrintsPerCategoryAndDryRunWritesNothing)
{
    ScratchDir dir;
    ScratchDir::Spit(dir.File("tv.m3u"), kPlaylist);
    const std::string catalogue = dir.File("VisibleAPI.dat");

    const Result dry = RunImport({Q(dir.File("tv.m3u")), QStringLiteral("--dry-run"), QStringLiteral("--verbose"),
                                  QStringLiteral("--catalogue"), Q(catalogue)});
    EXPECT_EQ(dry.exitCode, 0) << dry.err.toStdString();
    EXPECT_TRUE(dry.out.contains(QStringLiteral("  line 7: \"fd://0\" (an address the player does not open)\n")))
        << dry.out.toStdString();
    EXPECT_TRUE(dry.out.contains(QStringLiteral("Dry run, nothing written"))) << dry.out.toStdString();
    EXPECT_TRUE(dry.out.contains(QStringLiteral("Would add 2 channels")));
    EXPECT_FALSE(std::filesystem::exists(catalogue));

    const Result done = RunImport({Q(dir.File("tv.m3u")), QStringLiteral("--catalogue=") + Q(catalogue)});
    EXPECT_EQ(done.exitCode, 0) << done.err.toStdString();
    EXPECT_TRUE(done.out.contains(QStringLiteral("  News (new category): 2 added\n"))) << done.out.toStdString();
    EXPECT_TRUE(done.out.contains(QStringLiteral("  Kids: 1 skipped (address the player does not open)\n")));
    EXPECT_TRUE(
        done.out.contains(QStringLiteral("Skipped 1 entry: 1 with an address the player does not open (\"fd://0\")")));
    // No progress line where the output is no terminal.
    EXPECT_TRUE(done.err.isEmpty()) << done.err.toStdString();
    const std::vector<ChannelCategory> expected = {{"News", {"Morning, Live", "Evening"}}};
    EXPECT_EQ(ChannelCatalogue(catalogue).ReadTree(), expected);
}

TEST(ImportCommand, BadInputEndsWithAClearMessageAndTouchesNothing)
{
    ScratchDir dir;
    const std::string catalogue = dir.File("VisibleAPI.dat");
    ScratchDir::Spit(catalogue, "[Layer1]\nMine=\n");
    ScratchDir::Spit(dir.File("empty.m3u"), " \n\n");
    ScratchDir::Spit(dir.File("page.m3u"), "<html><body>Sorry</body></html>\n");
    ScratchDir::Spit(dir.File("header.m3u"), "#EXTM3U\n# nothing else\n");
    ScratchDir::Spit(dir.File("refused.m3u"), "#EXTM3U\n#EXTINF:-1,X\nfd://3\n");
    const struct {
        std::string playlist;
        const char* message;
    } cases[] = {
        {dir.File("missing.m3u"), "No such file or directory"},      {dir.File("empty.m3u"), "it is empty"},
        {dir.File("page.m3u"), "it is not an M3U playlist (line 1"}, {dir.File("header.m3u"), "it holds no channels"},
        {dir.File("refused.m3u"), "every entry was skipped"},        {dir.Path(), "it is a folder"},
    };
    for (const auto& c : cases) {
        const Result r = RunImport({Q(c.playlist), QStringLiteral("--catalogue"), Q(catalogue)});
        EXPECT_EQ(r.exitCode, 1) << c.playlist;
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("quorvel-import: "))) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
    }
    EXPECT_EQ(ScratchDir::Slurp(catalogue), "[Layer1]\nMine=\n");

    EXPECT_EQ(RunImport({}).exitCode, 2);
    EXPECT_EQ(RunImport({QStringLiteral("--frobnicate"), Q(dir.File("x.m3u"))}).exitCode, 2);
    EXPECT_EQ(RunImport({Q(dir.File("a.m3u")), Q(dir.File("b.m3u"))}).exitCode, 2);
    const Result help = RunImport({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: quorvel-import PLAYLIST")));
    // The default catalogue is the player's, beside the program.
    EXPECT_TRUE(help.out.contains(QFileInfo(QStringLiteral(QUORVEL_IMPORT_EXE)).absolutePath() + "/VisibleAPI.dat"));
}

TEST(ImportCommand, PlaylistServedOnLoopbackAndBehindARedirect)
{
    TestHttpServer server;
    server.Serve("/tv.m3u", {200, "#EXTM3U\n#EXTINF:-1 group-title=\"Web\",Served\nstreams/served.m3u8\n", {}, false});
    server.Serve("/get?token=1", {302, {}, server.Url("/tv.m3u").toUtf8(), false});
    ScratchDir dir;
    const std::string catalogue = dir.File("VisibleAPI.dat");
    const Result direct = RunImport({server.Url("/tv.m3u"), QStringLiteral("--catalogue"), Q(catalogue)});
    EXPECT_EQ(direct.exitCode, 0) << direct.err.toStdString();
    EXPECT_EQ(ChannelCatalogue(catalogue).StreamAddress("Served"), server.Url("/streams/served.m3u8").toStdString());

    const std::string second = dir.File("second.dat");
    const Result redirected = RunImport({server.Url("/get?token=1"), QStringLiteral("--catalogue"), Q(second)});
    EXPECT_EQ(redirected.exitCode, 0) << redirected.err.toStdString();
    // Relative addresses start from where the redirect ended.
    EXPECT_EQ(ChannelCatalogue(second).StreamAddress("Served"), server.Url("/streams/served.m3u8").toStdString());

    const Result missing = RunImport({server.Url("/gone.m3u"), QStringLiteral("--catalogue"), Q(second)});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("the server answered 404 Not Found"))) << missing.err.toStdString();
}

TEST(ImportCommand, ACatalogueThatCannotBeReadStopsTheImportBeforeAnyDownload)
{
    TestHttpServer server;
    server.Serve("/tv.m3u", {200, kPlaylist, {}, false});
    ScratchDir dir;
    const std::string catalogue = dir.File("VisibleAPI.dat");
    std::filesystem::create_directory(catalogue);
    const Result r = RunImport({server.Url("/tv.m3u"), QStringLiteral("--catalogue"), Q(catalogue)});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("is not a regular file; it was left as it is"))) << r.err.toStdString();
    EXPECT_TRUE(server.Requests().isEmpty());
    EXPECT_TRUE(std::filesystem::is_directory(catalogue));
}

TEST(ImportCommand, AnImportCutShortLeavesTheOldCatalogueWhole)
{
    ScratchDir dir;
    const std::string catalogue = dir.File("VisibleAPI.dat");
    std::string old = "[Layer1]\nNews=\n[Layer2]\n";
    for (int i = 0; i < 2000; ++i)
        old += "Old " + std::to_string(i) + "=News\n";
    ScratchDir::Spit(catalogue, old);
    std::string playlist = "#EXTM3U\n";
    for (int i = 0; i < 2000; ++i)
        playlist += "#EXTINF:-1 group-title=\"News\",New " + std::to_string(i) + "\nhttp://127.0.0.1/" +
                    std::to_string(i) + "\n";
    ScratchDir::Spit(dir.File("tv.m3u"), playlist);
    // The new catalogue cannot be written whole: the disk "fills" after 32 KiB.
    const Result r = RunImport({Q(dir.File("tv.m3u")), QStringLiteral("--catalogue"), Q(catalogue)}, [] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{32768, 32768};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Unable to write to ") + Q(catalogue))) << r.err.toStdString();
    EXPECT_EQ(ScratchDir::Slurp(catalogue), old);
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path()))
        ++files;
    EXPECT_EQ(files, 2); // the catalogue and the playlist: no half-written copy left behind
}

TEST(ImportCommand, BadSourcesOnLoopbackAreRefusedWithTheirReasonAndChangeNothing)
{
    TestHttpServer server;
    std::string noise(100 << 20, '\0');
    std::uint32_t x = 12345;
    for (char& c : noise) {
        x = x * 1664525u + 1013904223u;
        c = static_cast<char>(x >> 24);
    }
    std::string longLines = "#EXTM3U\n";
    for (int i = 0; i < 3; ++i)
        longLines += "#EXTINF:-1," + std::string(4 << 20, 'n') + "\n" + "http://h/" + std::string(4 << 20, 'a') + "\n";
    server.Serve("/page", {200, "<!DOCTYPE html>\n<html><body>Welcome</body></html>\n", {}, false});
    server.Serve("/none.m3u", {200, "#EXTM3U\n=====sudan=====\nJust a note\n", {}, false});
    server.Serve("/noise", {200, QByteArray::fromStdString(noise), {}, false});
    server.Serve("/long.m3u", {200, QByteArray::fromStdString(longLines), {}, false});
    server.Serve("/error.m3u", {500, "oops", {}, false});
    ScratchDir dir;
    const std::string catalogue = dir.File("VisibleAPI.dat");
    ScratchDir::Spit(catalogue, "[Layer1]\nMine=\n");
    const struct {
        const char* path;
        const char* message;
    } cases[] = {
        {"/page", "it is not an M3U playlist (line 1"},
        {"/none.m3u", "it holds no channels"},
        {"/noise", "binary data"},
        {"/long.m3u", "lines too long"},
        {"/error.m3u", "the server answered 500"},
    };
    for (const auto& c : cases) {
        const Result r = RunImport({server.Url(c.path), QStringLiteral("--catalogue"), Q(catalogue)});
        EXPECT_EQ(r.exitCode, 1) << c.path;
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << c.path << ": " << r.err.toStdString();
    }
    EXPECT_EQ(ScratchDir::Slurp(catalogue), "[Layer1]\nMine=\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("viewer.db")));
}

TEST(ImportCommand, SourcesAreListedRefreshedAndRemovedByScripts)
{
    TestHttpServer server;
    server.Serve("/tv.m3u", {200,
                             "#EXTM3U url-tvg=\"http://127.0.0.1:9/tv.xml.gz\"\n"
                             "#EXTINF:-1 group-title=\"Web\",Kept\nhttp://127.0.0.1:9/kept\n"
                             "#EXTINF:-1 group-title=\"Web\",Going\nhttp://127.0.0.1:9/going\n",
                             {},
                             false});
    ScratchDir dir;
    const std::string catalogue = dir.File("VisibleAPI.dat");
    const QStringList at = {QStringLiteral("--catalogue"), Q(catalogue)};
    ASSERT_EQ(RunImport(QStringList{server.Url("/tv.m3u")} + at).exitCode, 0);
    ScratchDir::Spit(dir.File("local.m3u"), "#EXTM3U\n#EXTINF:-1,Local\nhttp://127.0.0.1:9/local\n");
    ASSERT_EQ(RunImport(QStringList{QStringLiteral("add"), Q(dir.File("local.m3u"))} + at).exitCode, 0);

    const Result list = RunImport(QStringList{QStringLiteral("list")} + at);
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_TRUE(list.out.contains(QStringLiteral("1  ") + server.Url("/tv.m3u"))) << list.out.toStdString();
    EXPECT_TRUE(list.out.contains(QStringLiteral("2  ") + Q(dir.File("local.m3u"))));
    EXPECT_TRUE(list.out.contains(QStringLiteral("2 channels")));
    // The playlist's guide came along, as one added in the player does.
    EXPECT_TRUE(list.out.contains(QStringLiteral("programme guide http://127.0.0.1:9/tv.xml.gz\n")));

    server.Serve("/tv.m3u", {200,
                             "#EXTM3U\n#EXTINF:-1 group-title=\"Web\",Kept\nhttp://127.0.0.1:9/moved\n"
                             "#EXTINF:-1 group-title=\"Web\",New\nhttp://127.0.0.1:9/new\n",
                             {},
                             false});
    ScratchDir::Spit(dir.File("local.m3u"), "not a playlist at all\n");
    const Result refresh = RunImport(QStringList{QStringLiteral("refresh")} + at);
    EXPECT_EQ(refresh.exitCode, 1); // one of the two failed
    EXPECT_TRUE(refresh.err.contains(QStringLiteral("its channels were left as they were")))
        << refresh.err.toStdString();
    EXPECT_TRUE(refresh.out.contains(QStringLiteral("Removed 1 channel"))) << refresh.out.toStdString();
    const ChannelCatalogue c(catalogue);
    EXPECT_EQ(c.StreamAddress("Kept"), "http://127.0.0.1:9/moved");
    EXPECT_EQ(c.StreamAddress("New"), "http://127.0.0.1:9/new");
    EXPECT_EQ(c.StreamAddress("Going"), "");
    EXPECT_EQ(c.StreamAddress("Local"), "http://127.0.0.1:9/local");
    EXPECT_TRUE(
        RunImport(QStringList{QStringLiteral("list")} + at).out.contains(QStringLiteral("the last refresh failed")));

    EXPECT_EQ(RunImport(QStringList{QStringLiteral("remove"), QStringLiteral("7")} + at).exitCode, 1);
    EXPECT_EQ(RunImport(QStringList{QStringLiteral("remove")} + at).exitCode, 2);
    const Result removed = RunImport(QStringList{QStringLiteral("remove"), QStringLiteral("1")} + at);
    EXPECT_EQ(removed.exitCode, 0) << removed.err.toStdString();
    EXPECT_EQ(c.StreamAddress("Kept"), "");
    EXPECT_EQ(c.StreamAddress("Local"), "http://127.0.0.1:9/local");
    const std::vector<ChannelCategory> tree = c.ReadTree();
    EXPECT_TRUE(std::none_of(tree.begin(), tree.end(), [](const auto& t) { return t.name == "Web"; }));
}
