#include "provider/passwordbook.h"
#include "provider/providerlogin.h"

#include <QUrlQuery>

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(ProviderLogin, ServerTypedAnyWayIsThePanelsFolder)
{
    EXPECT_EQ(ProviderLogin("panel.example:8080", "u", "p").Server(), "http://panel.example:8080");
    EXPECT_EQ(ProviderLogin("https://panel.example/iptv/get.php?x=1", "u", "p").Server(), "https://panel.example/iptv");
    EXPECT_EQ(ProviderLogin("HTTP://panel.example:80/player_api.php", "u", "p").Server(), "http://panel.example:80");
    EXPECT_FALSE(ProviderLogin("ftp://panel.example", "u", "p").IsValid());
    EXPECT_FALSE(ProviderLogin("panel.example", "", "p").IsValid());
}

TEST(ProviderLogin, PlaylistAddressesOfPanelsAreRecognised)
{
    const auto login = ProviderLogin::FromPlaylistAddress(
        "http://panel.example:8080/get.php?username=anna&password=s%26cret&type=m3u_plus&output=ts");
    ASSERT_TRUE(login);
    EXPECT_EQ(login->User(), "anna");
    EXPECT_EQ(login->Password(), "s&cret");
    EXPECT_EQ(login->Server(), "http://panel.example:8080");
    EXPECT_FALSE(ProviderLogin::FromPlaylistAddress("http://panel.example/list.m3u?username=a&password=b"));
    EXPECT_FALSE(ProviderLogin::FromPlaylistAddress("http://panel.example/get.php?username=a"));
}

TEST(ProviderLogin, TheLocationHoldsNoPasswordAndNamesTheAccount)
{
    const ProviderLogin login("panel.example:8080", "anna b", "pa/ss word");
    const QString location = login.Location();
    EXPECT_FALSE(location.contains("ss"));
    const auto back = ProviderLogin::FromLocation(location);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->User(), "anna b");
    EXPECT_EQ(back->Server(), login.Server());
    EXPECT_TRUE(back->Password().isEmpty());
    EXPECT_FALSE(ProviderLogin::FromLocation(login.ApiAddress().toString()));

    const QUrlQuery query(login.ApiAddress("get_live_streams"));
    EXPECT_EQ(query.queryItemValue("password", QUrl::FullyDecoded), "pa/ss word");
    EXPECT_EQ(query.queryItemValue("action"), "get_live_streams");
}

TEST(ProviderLogin, ChannelAddressesGetThePasswordOnlyWhenOpened)
{
    const ProviderLogin login("panel.example:8080", "anna", "pa/ss");
    const QString kept = login.KeptLiveAddress(101, "m3u8");
    EXPECT_EQ(kept, "http://panel.example:8080/live/anna/%E2%80%A2%E2%80%A2%E2%80%A2/101.m3u8");
    const QString opened = login.Opened(kept);
    EXPECT_EQ(opened, "http://panel.example:8080/live/anna/pa%2Fss/101.m3u8");
    EXPECT_EQ(login.Kept(opened), kept);
    // Another account's addresses, or any other, are left alone both ways.
    const ProviderLogin other("panel.example:8080", "bob", "x");
    EXPECT_EQ(other.Opened(kept), kept);
    EXPECT_EQ(other.Kept(opened), opened);
    EXPECT_EQ(login.Opened("http://elsewhere/live.m3u8"), "http://elsewhere/live.m3u8");
}

TEST(PasswordBook, OpensOnlyTheAddressesOfAccountsItKnows)
{
    const ProviderLogin anna("panel.example:8080", "anna", "pw1");
    const ProviderLogin bob("panel.example:8080", "bob", "pw2");
    PasswordBook book;
    book.Put(anna.Location(), "pw1");
    book.Put(bob.Location(), "pw2");
    EXPECT_EQ(book.Find(bob), "pw2");
    const QString kept = anna.KeptLiveAddress(7, "ts");
    EXPECT_EQ(book.Opened(kept), "http://panel.example:8080/live/anna/pw1/7.ts");
    EXPECT_EQ(book.Kept(book.Opened(kept)), kept);
    EXPECT_FALSE(book.SingleConnection(kept));
    book.SetSingleConnection(anna.Location(), true);
    EXPECT_TRUE(book.SingleConnection(kept));
    EXPECT_TRUE(book.SingleConnection(book.Opened(kept)));
    EXPECT_FALSE(book.SingleConnection(bob.KeptLiveAddress(7, "ts")));
    book.Forget(anna.Location());
    EXPECT_EQ(book.Opened(kept), kept);
    EXPECT_TRUE(book.Find(anna).isEmpty());
}

} // namespace
} // namespace quorvel
