#include "base/exception.h"
#include "provider/accountinfo.h"
#include "provider/accountmessages.h"
#include "provider/livelists.h"

#include <QDateTime>

#include <gtest/gtest.h>

namespace quorvel {
namespace {

const QTimeZone kUtc = QTimeZone::utc();

qint64 At(int y, int m, int d, int h = 12) { return QDateTime(QDate(y, m, d), QTime(h, 0), kUtc).toSecsSinceEpoch(); }

std::string Failure(const std::function<void()>& read)
{
    try {
        read();
    } catch (const Exception& e) {
        return e.Message();
    }
    return "no failure";
}

TEST(AccountInfo, ReadsNumbersAsStringsAndStringsAsNumbers)
{
    const AccountInfo info =
        AccountInfo::Read(R"({"user_info":{"auth":1,"status":"Active","exp_date":"1796342400","active_cons":1,)"
                          R"("max_connections":"2","is_trial":"0","allowed_output_formats":["ts"]},)"
                          R"("server_info":{"timezone":"Europe/Berlin","port":8080}})");
    EXPECT_EQ(info.state, AccountInfo::State::Active);
    EXPECT_EQ(info.expiresAt, 1796342400);
    EXPECT_EQ(info.activeConnections, 1);
    EXPECT_EQ(info.maxConnections, 2);
    EXPECT_EQ(info.timeZone, "Europe/Berlin");
    EXPECT_EQ(info.LiveExtension(), "ts");
    EXPECT_FALSE(info.AtConnectionLimit());

    // Missing, null and nonsense fields read as not said.
    const AccountInfo sparse =
        AccountInfo::Read(R"({"user_info":{"status":"Active","exp_date":null,"max_connections":"many"}})");
    EXPECT_EQ(sparse.expiresAt, 0);
    EXPECT_EQ(sparse.maxConnections, 0);
    EXPECT_EQ(sparse.LiveExtension(), "m3u8");
    EXPECT_TRUE(AccountInfo::Read(R"({"user_info":{"max_connections":1}})").AtConnectionLimit());
    EXPECT_TRUE(AccountInfo::Read(R"({"user_info":{"max_connections":"3","active_cons":"3"}})").AtConnectionLimit());
}

TEST(AccountInfo, WrongLoginsAndAnswersThatAreNoPanels)
{
    EXPECT_EQ(AccountInfo::Read(R"({"user_info":{"auth":0}})").state, AccountInfo::State::WrongLogin);
    EXPECT_EQ(AccountInfo::Read(R"({"auth":"0"})").state, AccountInfo::State::WrongLogin);
    EXPECT_EQ(AccountInfo::Read("[]").state, AccountInfo::State::WrongLogin);

    EXPECT_NE(Failure([] { AccountInfo::Read("<html><body>Login</body></html>"); }).find("web page"),
              std::string::npos);
    EXPECT_NE(Failure([] { AccountInfo::Read(R"({"user_info":{"auth":1,"status":"Act)"); }).find("cut short"),
              std::string::npos);
    EXPECT_NE(Failure([] { AccountInfo::Read("   "); }).find("empty"), std::string::npos);
    EXPECT_NE(Failure([] { AccountInfo::Read(R"({"hello":1})"); }).find("no account information"), std::string::npos);
    EXPECT_NE(Failure([] { AccountInfo::Read("42"); }).find("The server's answer"), std::string::npos);
}

TEST(LiveLists, ToleratesWhatPanelsSend)
{
    const auto categories =
        ReadLiveCategories(R"([{"category_id":"5","category_name":"News"},{"category_id":7,"category_name":"Sport"},)"
                           R"({"category_name":"no id"},"junk"])");
    ASSERT_EQ(categories.size(), 2u);
    EXPECT_EQ(categories[1].id, "7");
    EXPECT_EQ(categories[1].name, "Sport");

    int skipped = -1;
    const auto streams = ReadLiveStreams(
        R"({"0":{"num":"3","name":"One","stream_id":"101","stream_icon":"http://l/1.png","epg_channel_id":"one.uk",)"
        R"("category_id":5,"tv_archive":"1","tv_archive_duration":"7"},)"
        R"("1":{"num":null,"name":12,"stream_id":102,"tv_archive":0},)"
        R"("2":{"name":"no id"},"3":{"stream_id":"x"}})",
        &skipped);
    ASSERT_EQ(streams.size(), 2u);
    EXPECT_EQ(skipped, 2);
    EXPECT_EQ(streams[0].number, 3);
    EXPECT_EQ(streams[0].streamId, 101);
    EXPECT_EQ(streams[0].icon, "http://l/1.png");
    EXPECT_EQ(streams[0].epgId, "one.uk");
    EXPECT_EQ(streams[0].categoryId, "5");
    EXPECT_TRUE(streams[0].archive);
    EXPECT_EQ(streams[0].archiveDays, 7);
    EXPECT_EQ(streams[1].name, "12");
    EXPECT_EQ(streams[1].number, 0);

    EXPECT_NE(Failure([] { ReadLiveStreams(R"({"user_info":{"auth":0}})"); }).find("did not take the login"),
              std::string::npos);
    EXPECT_NE(Failure([] { ReadLiveStreams(R"([{"stream_id":1},{"stream_id":)"); }).find("cut short"),
              std::string::npos);
    EXPECT_NE(Failure([] { ReadLiveCategories("\"text\""); }).find("answer for the live categories"),
              std::string::npos);
}

TEST(AccountMessages, SaysWhyAnAccountCannotBeUsed)
{
    AccountInfo info;
    info.state = AccountInfo::State::Expired;
    info.expiresAt = At(2026, 12, 3);
    EXPECT_EQ(AccountMessages::Problem(info, At(2026, 12, 9), kUtc),
              "The provider says this account expired on 3 December 2026.");
    // "Active" past its own date is expired all the same.
    info.state = AccountInfo::State::Active;
    EXPECT_EQ(AccountMessages::Problem(info, At(2026, 12, 9), kUtc),
              "The provider says this account expired on 3 December 2026.");
    EXPECT_TRUE(AccountMessages::Problem(info, At(2026, 12, 1), kUtc).isEmpty());
    info.state = AccountInfo::State::Disabled;
    EXPECT_EQ(AccountMessages::Problem(info, At(2026, 12, 1), kUtc), "The provider says this account is disabled.");
    info.state = AccountInfo::State::WrongLogin;
    EXPECT_EQ(AccountMessages::Problem(info, At(2026, 12, 1), kUtc),
              "The provider does not know this user name and password.");
}

TEST(AccountMessages, ExpiryNoticeOnceADayInTheLastWeek)
{
    AccountInfo info;
    info.state = AccountInfo::State::Active;
    info.expiresAt = At(2026, 12, 10);
    EXPECT_EQ(AccountMessages::NoticeDay(info, At(2026, 12, 2), 0, kUtc), 0); // eight days before
    const qint64 day = AccountMessages::NoticeDay(info, At(2026, 12, 3, 13), 0, kUtc);
    EXPECT_EQ(day, QDate(2026, 12, 3).toJulianDay());
    EXPECT_EQ(AccountMessages::NoticeDay(info, At(2026, 12, 3, 20), day, kUtc), 0); // told today already
    EXPECT_EQ(AccountMessages::NoticeDay(info, At(2026, 12, 4, 8), day, kUtc), QDate(2026, 12, 4).toJulianDay());
    EXPECT_EQ(AccountMessages::Notice(info, At(2026, 12, 7), kUtc),
              "The provider says this account expires on 10 December 2026, in 3 days.");
    EXPECT_EQ(AccountMessages::NoticeDay(info, At(2026, 12, 11), 0, kUtc), 0); // expired: no notice, a problem
    info.expiresAt = 0;
    EXPECT_EQ(AccountMessages::NoticeDay(info, At(2026, 12, 3), 0, kUtc), 0);
}

} // namespace
} // namespace quorvel
