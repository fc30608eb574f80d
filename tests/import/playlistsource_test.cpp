// Reading playlists from files and from web addresses served on 127.0.0.1.
#include "base/exception.h"
#include "import/playlistsource.h"
#include "scratchdir.h"
#include "testhttpserver.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace quorvel;

namespace {

std::string Failure(PlaylistSource& source, const PlaylistSource::Options& options = {})
{
    try {
        source.Read(options);
    } catch (const Exception& e) {
        return e.Message();
    }
    return "read";
}

} // namespace

TEST(PlaylistSource, FollowsRedirectsAndReportsWhereItEnded)
{
    TestHttpServer server;
    server.Serve("/lists/tv.m3u", {200, "#EXTM3U\n#EXTINF:-1,A\nlive/a.m3u8\n", {}, false});
    server.Serve("/get.php?user=x", {302, {}, "/short", false});
    server.Serve("/short", {301, {}, server.Url("/lists/tv.m3u").toUtf8(), false});
    PlaylistSource source(server.Url("/get.php?user=x"));
    EXPECT_TRUE(source.IsRemote());
    PlaylistSource::Options options;
    qint64 seen = 0;
    options.progress = [&seen](qint64 received, qint64) { seen = received; };
    EXPECT_EQ(source.Read(options), "#EXTM3U\n#EXTINF:-1,A\nlive/a.m3u8\n");
    EXPECT_EQ(source.Base(), QUrl(server.Url("/lists/tv.m3u")));
    EXPECT_GT(seen, 0);
    // Qt's HTTP client sometimes sends a request on two connections at once (seen with the
    // redirect's); the server answers both alike. What counts is the way taken.
    QList<QString> way = server.Requests();
    way.erase(std::unique(way.begin(), way.end()), way.end());
    EXPECT_EQ(way, (QList<QString>{"/get.php?user=x", "/short", "/lists/tv.m3u"}));
}

TEST(PlaylistSource, ServerFailuresNameTheirCause)
{
    TestHttpServer server;
    server.Serve("/silent", {200, {}, {}, true});
    server.Serve("/loop", {302, {}, "/loop", false});
    PlaylistSource missing(server.Url("/missing.m3u"));
    EXPECT_NE(Failure(missing).find("the server answered 404"), std::string::npos) << Failure(missing);

    PlaylistSource silent(server.Url("/silent"));
    PlaylistSource::Options quick;
    quick.timeoutMs = 1000;
    EXPECT_NE(Failure(silent, quick).find("no answer from the server for 1 s"), std::string::npos);

    PlaylistSource loop(server.Url("/loop"));
    EXPECT_NE(Failure(loop).find("redirects too many times"), std::string::npos) << Failure(loop);

    server.Serve("/big", {200, QByteArray(4096, '#'), {}, false});
    PlaylistSource big(server.Url("/big"));
    PlaylistSource::Options small;
    small.maxBytes = 1000;
    EXPECT_NE(Failure(big, small).find("larger than any playlist"), std::string::npos);

    // Nothing listens on a port just closed.
    QString closedPort;
    {
        TestHttpServer gone;
        closedPort = gone.Url("/x");
    }
    PlaylistSource refused(closedPort);
    EXPECT_NE(Failure(refused).find("Cannot read http://127.0.0.1:"), std::string::npos) << Failure(refused);
}

TEST(PlaylistSource, LocalFilesAndWhatIsNoFile)
{
    ScratchDir dir;
    ScratchDir::Spit(dir.File("tv.m3u"), "#EXTM3U\n");
    PlaylistSource file(QString::fromStdString(dir.File("tv.m3u")));
    EXPECT_FALSE(file.IsRemote());
    EXPECT_EQ(file.Read({}), "#EXTM3U\n");
    EXPECT_EQ(file.Base(), QUrl::fromLocalFile(QString::fromStdString(dir.File("tv.m3u"))));
    PlaylistSource asUrl(QUrl::fromLocalFile(QString::fromStdString(dir.File("tv.m3u"))).toString());
    EXPECT_EQ(asUrl.Read({}), "#EXTM3U\n");

    PlaylistSource missing(QString::fromStdString(dir.File("none.m3u")));
    EXPECT_NE(Failure(missing).find("No such file"), std::string::npos);
    PlaylistSource folder(QString::fromStdString(dir.Path()));
    EXPECT_NE(Failure(folder).find("it is a folder"), std::string::npos);
    PlaylistSource ftp(QStringLiteral("ftp://127.0.0.1/tv.m3u"));
    EXPECT_NE(Failure(ftp).find("only files and http or https addresses"), std::string::npos);
}
