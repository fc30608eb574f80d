// Playback without a window: request options, outcomes in plain words, stopping and closing.
#include "playback/loadoptions.h"
#include "playback/mpvcore.h"
#include "playback/playbackfailure.h"
#include "playback/playersession.h"
#include "servedhls.h"

#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>
#include <memory>
#include <mpv/client.h>

using quorvel::LoadOptions;
using quorvel::PlaybackFailure;
using quorvel::PlayerSession;
using quorvel::RequestOptions;

TEST(PlaybackFailure, TheHeadlineSaysThePlainCauseAndMpvsWordsGoBelow)
{
    struct Case {
        int error;
        const char* logged;
        const char* cause;
    };
    const Case cases[] = {
        {MPV_ERROR_LOADING_FAILED, "tcp: Connection to tcp://127.0.0.1:1 failed: Connection refused",
         "the server refused the connection"},
        {MPV_ERROR_LOADING_FAILED, "http: HTTP error 404 Not Found", "the address was not found"},
        {MPV_ERROR_LOADING_FAILED, "Failed to resolve hostname nowhere.invalid", "the address was not found"},
        {MPV_ERROR_LOADING_FAILED, "Cannot open file '/tmp/x.ts': No such file or directory",
         "the address was not found"},
        {MPV_ERROR_LOADING_FAILED, "http: HTTP error 403 Forbidden; Failed to open http://a/b.m3u8.",
         "the server refused to send the stream"},
        {MPV_ERROR_LOADING_FAILED, "", "the stream could not be opened"},
        // Digits of the quoted address are not a status.
        {MPV_ERROR_LOADING_FAILED, "http: HTTP error 404 Not Found; Failed to open http://127.0.0.1:40309/a.m3u8.",
         "the address was not found"},
        {MPV_ERROR_LOADING_FAILED, "Failed to open http://h:4040/403/401.ts.", "the stream could not be opened"},
        {MPV_ERROR_AO_INIT_FAILED, "Playback open error: No such file or directory",
         "there is no sound device to play it on"},
        {MPV_ERROR_UNKNOWN_FORMAT, "", "the stream is in a form the player cannot read"},
    };
    for (const Case& c : cases) {
        const QStringList logged = *c.logged ? QStringList{QString::fromUtf8(c.logged)} : QStringList();
        const PlaybackFailure f = PlaybackFailure::FromMpv(c.error, logged);
        EXPECT_EQ(f.headline, QString("Cannot play this channel: ") + c.cause) << c.logged;
        EXPECT_TRUE(f.details.startsWith(QString::fromUtf8(mpv_error_string(c.error)))) << f.details.toStdString();
        EXPECT_TRUE(f.details.contains(c.logged));
        EXPECT_TRUE(f.canRetry);
    }
    // mpv quotes the address it failed on; a provider's login in it is not shown.
    const PlaybackFailure provider = PlaybackFailure::FromMpv(
        MPV_ERROR_LOADING_FAILED, {QStringLiteral("Failed to open http://h:8080/live/anna/s3cret/7.ts.")});
    EXPECT_FALSE(provider.details.contains(QStringLiteral("s3cret"))) << provider.details.toStdString();
    EXPECT_EQ(PlaybackFailure::StoppedSending().headline, "Cannot play this channel: the stream stopped sending");
}

TEST(LoadOptions, EachOptionIsOneHeaderLineAndEmptyOnesAreNotSent)
{
    EXPECT_TRUE(LoadOptions({}).empty());
    using Options = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(LoadOptions({"Agent/1.0", "", ""}), (Options{{"user-agent", "Agent/1.0"}}));
    // A line break cannot start a header of its own; a comma stays inside the Origin field.
    EXPECT_EQ(LoadOptions({"A\r\nX-Evil: 1", " http://ref/\n", "http://a,b"}),
              (Options{{"user-agent", "A  X-Evil: 1"},
                       {"referrer", "http://ref/"},
                       {"http-header-fields-append", "Origin: http://a,b"}}));
    EXPECT_TRUE(LoadOptions({"\r\n", " ", "\t"}).empty());
}

namespace {

bool IsSegment(const ServedHls::Request& r) { return r.path.endsWith(".ts"); }

QString Header(const ServedHls::Request& r, const char* name) { return r.headers.value(name).toString(); }

} // namespace

TEST(PlayerSessionHeadless, RequestOptionsGoWithEveryRequestOfTheirChannelOnly)
{
    const QString agent = "QuorvelTest/2.0 (X11; \"quoted\", comma)";
    const QString referrer = "http://portal.example/watch?id=1,2";
    ServedHls server({"--agent", agent, "--referrer", referrer});
    ASSERT_TRUE(server.Started());
    PlayerSession session(QStringLiteral("null"));
    QSignalSpy states(&session, &PlayerSession::stateChanged);

    // The channel's options: the playlist and its segments all carry them, commas and quotes
    // whole, and nothing of them turns into a header or an option of its own.
    session.SetURL(server.Url(), RequestOptions{agent.toStdString(), referrer.toStdString(), "http://portal.example"});
    EXPECT_EQ(session.CurrentState(), PlayerSession::State::Connecting);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (const auto& r : server.Requests())
                if (IsSegment(r))
                    return true;
            return false;
        },
        20000));
    for (const auto& r : server.Requests()) {
        EXPECT_EQ(Header(r, "User-Agent"), agent) << r.path.toStdString();
        EXPECT_EQ(Header(r, "Referer"), referrer) << r.path.toStdString();
        EXPECT_EQ(Header(r, "Origin"), "http://portal.example") << r.path.toStdString();
        EXPECT_FALSE(r.headers.contains("comma")) << r.path.toStdString();
    }
    // The playlist is fetched once before the first segment: each fetch is a round trip to the
    // server before the first picture.
    int playlists = 0;
    for (const auto& r : server.Requests()) {
        if (IsSegment(r))
            break;
        playlists += r.path.contains(".m3u8");
    }
    EXPECT_EQ(playlists, 1);

    // The next channel has none: it sends neither, and the server refuses it.
    server.ForgetRequests();
    session.SetURL(server.Url());
    ASSERT_TRUE(QTest::qWaitFor([&] { return session.CurrentState() == PlayerSession::State::Failed; }, 20000));
    EXPECT_EQ(session.Failure().headline, "Cannot play this channel: the server refused to send the stream");
    EXPECT_TRUE(session.Failure().details.contains("403")) << session.Failure().details.toStdString();
    ASSERT_FALSE(server.Requests().isEmpty());
    for (const auto& r : server.Requests()) {
        EXPECT_NE(Header(r, "User-Agent"), agent);
        EXPECT_FALSE(r.headers.contains("Referer"));
        EXPECT_FALSE(r.headers.contains("Origin"));
    }
    // Retry keeps the options of the channel it opens again.
    session.SetURL(server.Url(), RequestOptions{agent.toStdString(), referrer.toStdString(), ""});
    server.ForgetRequests();
    session.Retry();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !server.Requests().isEmpty(); }, 20000));
    EXPECT_EQ(Header(server.Requests().first(), "User-Agent"), agent);
}

TEST(PlayerSessionHeadless, EveryCoreNamesTheCauseOfItsFailureNotOnlyTheFirstStarted)
{
    // libav tells its complaints through one hook for the whole process (a second core plays
    // the channels opened ahead), and mpv gives it to one core at a time.
    auto first = std::make_unique<PlayerSession>(QStringLiteral("null"));
    PlayerSession second(QStringLiteral("null"));
    const auto headline = [](PlayerSession& session) {
        session.SetURL("http://127.0.0.1:1/live.m3u8");
        EXPECT_TRUE(QTest::qWaitFor([&] { return session.CurrentState() == PlayerSession::State::Failed; }, 15000));
        return session.Failure().headline;
    };
    EXPECT_EQ(headline(second), "Cannot play this channel: the server refused the connection");
    first.reset();
    EXPECT_EQ(headline(second), "Cannot play this channel: the server refused the connection");
}

TEST(PlayerSessionHeadless, AnAddressThatCannotOpenSaysWhyAndCloseForgetsIt)
{
    PlayerSession session(QStringLiteral("null"));
    session.SetChannelName("News");
    session.SetURL("http://127.0.0.1:1/live.m3u8");
    ASSERT_TRUE(QTest::qWaitFor([&] { return session.CurrentState() == PlayerSession::State::Failed; }, 15000));
    EXPECT_EQ(session.Failure().headline, "Cannot play this channel: the server refused the connection");
    EXPECT_TRUE(session.Failure().details.contains("Connection refused"));
    EXPECT_TRUE(session.Failure().canRetry);
    EXPECT_EQ(session.ShownName(), "News");

    // Retry opens it at once: connecting, then the new outcome.
    session.Retry();
    EXPECT_EQ(session.CurrentState(), PlayerSession::State::Connecting);
    ASSERT_TRUE(QTest::qWaitFor([&] { return session.CurrentState() == PlayerSession::State::Failed; }, 15000));

    // A server that answers, but not with this address.
    ServedHls server;
    ASSERT_TRUE(server.Started());
    session.SetURL(QString(server.Url()).replace("vod.m3u8", "gone.m3u8"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return session.CurrentState() == PlayerSession::State::Failed; }, 15000));
    EXPECT_EQ(session.Failure().headline, "Cannot play this channel: the address was not found");
    EXPECT_TRUE(session.Failure().details.contains("404")) << session.Failure().details.toStdString();

    session.SetURL("fd://0");
    EXPECT_EQ(session.CurrentState(), PlayerSession::State::Failed);
    EXPECT_FALSE(session.Failure().canRetry);
    session.Retry(); // not a stream address: nothing opens
    EXPECT_EQ(session.CurrentState(), PlayerSession::State::Failed);

    session.SetURL("http://127.0.0.1:1/again.m3u8", RequestOptions{"A", "", ""});
    session.Close();
    EXPECT_EQ(session.CurrentState(), PlayerSession::State::Idle);
    EXPECT_TRUE(session.URL().isEmpty());
    EXPECT_TRUE(session.Options().Empty());
    // What the closed address does afterwards speaks for nothing.
    QTest::qWait(1500);
    EXPECT_EQ(session.CurrentState(), PlayerSession::State::Idle);
}

TEST(PlayerSessionHeadless, APictureToldOfBeforeTheNewAddressWasOpenIsNotItsFirst)
{
    // The window tells of its pictures queued: one mpv told of before the address was given,
    // or before this thread knew it open (the old channel's last, on its way), comes late.
    ServedHls server;
    ASSERT_TRUE(server.Started());
    PlayerSession session(QStringLiteral("null"));
    // Pictures go nowhere: none is drawn but those told of here.
    ASSERT_GE(mpv_set_property_string(session.Core().Handle(), "vo", "null"), 0);
    const qint64 beforeOpening = QDeadlineTimer::current().deadlineNSecs();
    session.SetURL(server.Url());
    const qint64 opening = QDeadlineTimer::current().deadlineNSecs();
    ASSERT_TRUE(QTest::qWaitFor([&] { return session.Core().Entry().opened; }, 15000));
    ASSERT_EQ(session.CurrentState(), PlayerSession::State::Connecting);
    const qint64 openedAt = session.Core().Entry().openedAt;
    ASSERT_LT(opening, openedAt);
    session.PictureShown(beforeOpening, true);
    session.PictureShown(opening, false);
    EXPECT_EQ(session.CurrentState(), PlayerSession::State::Connecting);
    // One mpv sent after it let the old picture go is the new channel's, and so is any told of
    // once the address was known open.
    session.PictureShown(opening, true);
    EXPECT_EQ(session.CurrentState(), PlayerSession::State::Playing);
    session.SetURL(server.Url());
    ASSERT_TRUE(QTest::qWaitFor([&] { return session.Core().Entry().opened; }, 15000));
    session.PictureShown(session.Core().Entry().openedAt + 1, false);
    EXPECT_EQ(session.CurrentState(), PlayerSession::State::Playing);
}
