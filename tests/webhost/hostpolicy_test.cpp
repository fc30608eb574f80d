// What a web pane lets its pages do, without a page.
#include "webhost/hostpolicy.h"

#include <QKeyEvent>
#include <QUrl>

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

bool Refused(const HostPolicy& policy, int key, Qt::KeyboardModifiers mods, QEvent::Type type = QEvent::KeyPress)
{
    const QKeyEvent event(type, key, mods);
    return policy.RefusesKey(event);
}

} // namespace

TEST(HostPolicy, CtrlShortcutsOfTheListedKeysAreRefusedCtrlShiftPasses)
{
    HostPolicy policy;
    EXPECT_EQ(policy.RefusedCtrlKeys, "N");
    EXPECT_TRUE(Refused(policy, Qt::Key_N, Qt::ControlModifier));
    // The toolkit's shortcut check comes first and is refused too.
    EXPECT_TRUE(Refused(policy, Qt::Key_N, Qt::ControlModifier, QEvent::ShortcutOverride));
    // Alt is not looked at: Ctrl+Alt+N is Ctrl+N.
    EXPECT_TRUE(Refused(policy, Qt::Key_N, Qt::ControlModifier | Qt::AltModifier));
    EXPECT_FALSE(Refused(policy, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier));
    EXPECT_FALSE(Refused(policy, Qt::Key_N, Qt::AltModifier));
    EXPECT_FALSE(Refused(policy, Qt::Key_N, Qt::NoModifier));
    EXPECT_FALSE(Refused(policy, Qt::Key_M, Qt::ControlModifier));
    EXPECT_FALSE(Refused(policy, Qt::Key_N, Qt::ControlModifier, QEvent::KeyRelease));

    // Keys are named by upper-case letters: a lower-case entry is no key.
    policy.RefusedCtrlKeys = "n";
    EXPECT_FALSE(Refused(policy, Qt::Key_N, Qt::ControlModifier));
    policy.RefusedCtrlKeys.clear();
    EXPECT_FALSE(Refused(policy, Qt::Key_N, Qt::ControlModifier));
    policy.RefusedCtrlKeys = "NP7";
    EXPECT_TRUE(Refused(policy, Qt::Key_P, Qt::ControlModifier));
    EXPECT_TRUE(Refused(policy, Qt::Key_7, Qt::ControlModifier));
    // Keys that are no letter or digit never match, whatever their codes spell.
    policy.RefusedCtrlKeys = "N!p";
    EXPECT_FALSE(Refused(policy, Qt::Key_Exclam, Qt::ControlModifier));
    EXPECT_FALSE(Refused(policy, Qt::Key_F1, Qt::ControlModifier));
    EXPECT_FALSE(Refused(policy, 0, Qt::ControlModifier));
}

TEST(HostPolicy, UserAgentIsOneLineOfText)
{
    HostPolicy policy;
    EXPECT_EQ(policy.UserAgentHeader(), "");
    const auto header = [&](const QString& agent) {
        policy.UserAgent = agent;
        return policy.UserAgentHeader();
    };
    EXPECT_EQ(header("abc\r\n"), "abc");
    // Whatever follows a line end never becomes a header of its own.
    EXPECT_EQ(header("abc\r\nCookie: x=1\r\n"), "abc");
    EXPECT_EQ(header("Quorvel/1.12 (X11)\n"), "Quorvel/1.12 (X11)");
    EXPECT_EQ(header("caf\u00e9\r\n"), "");
    EXPECT_EQ(header("tab\there"), "");
    EXPECT_EQ(header("\r\n"), "");
}

TEST(HostPolicy, PanesFollowWebAndLocalAddressesNewWindowsOnlyWebOnes)
{
    for (const char* address :
         {"http://a/", "HTTPS://a/", "file:///tmp/TVAPI.dat", "data:text/html,x", "blob:http://a/1", "about:blank"}) {
        EXPECT_TRUE(HostPolicy::Navigates(QUrl(address))) << address;
    }
    for (const char* address : {"mailto:a@b", "quorveltest://run", "ftp://a/", "javascript:alert(1)",
                                "chrome://settings", "view-source:http://a/", ""}) {
        EXPECT_FALSE(HostPolicy::Navigates(QUrl(address))) << address;
    }
    EXPECT_TRUE(HostPolicy::OpensInBrowser(QUrl("http://a/?x=1&y=2")));
    EXPECT_TRUE(HostPolicy::OpensInBrowser(QUrl("HTTPS://a/")));
    for (const char* address : {"file:///etc/hostname", "data:text/html,x", "about:blank", "quorveltest://window"})
        EXPECT_FALSE(HostPolicy::OpensInBrowser(QUrl(address))) << address;
}

TEST(HostPolicy, DialogCaptionsLoseTheBrowsersBrandAndScriptsAndErrorsGo)
{
    EXPECT_EQ(HostPolicy::DialogCaption("Microsoft Internet Explorer"), "");
    EXPECT_EQ(HostPolicy::DialogCaption("Internet Explorer - Quorvel"), " - Quorvel");
    // Only the first of each, case-sensitive.
    EXPECT_EQ(HostPolicy::DialogCaption("Microsoft Microsoft Internet Explorer Internet Explorer"),
              "Microsoft  Internet Explorer");
    EXPECT_EQ(HostPolicy::DialogCaption("microsoft internet explorer"), "microsoft internet explorer");
    EXPECT_EQ(HostPolicy::DialogCaption("Microsoft"), "Microsoft");

    using V = HostPolicy::DialogVerdict;
    EXPECT_EQ(HostPolicy::VerdictFor("Internet Explorer Script Error"), V::Close);
    EXPECT_EQ(HostPolicy::VerdictFor("javascript"), V::Close);
    EXPECT_EQ(HostPolicy::VerdictFor("Runtime eRRor"), V::End);
    EXPECT_EQ(HostPolicy::VerdictFor("Quorvel Online TV v1.12"), V::Keep);
    EXPECT_EQ(HostPolicy::VerdictFor(""), V::Keep);
}
