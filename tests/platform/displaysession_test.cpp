#include "envscope.h"
#include "platform/displaysession.h"

#include <gtest/gtest.h>

using quorvel::DisplaySession;

TEST(DisplaySession, AWaylandDesktopWithXWaylandGetsTheX11ClientWhateverItAsksQtFor)
{
    const struct {
        bool wayland, xServer;
        const char* requested;
        const char* chosen;
    } cases[] = {
        {true, true, "", "xcb"},        // GNOME or Plasma on Wayland, XWayland running
        {true, true, "wayland", "xcb"}, // a desktop that asks every Qt program for Wayland
        {true, true, "wayland-egl", "xcb"},
        {true, true, "wayland;xcb", "xcb"},
        {true, true, "offscreen", ""}, // asked for on purpose: kept
        {true, false, "", "wayland"},  // no X server: the Wayland client is the one way
        {true, false, "wayland", ""},
        {false, true, "", ""}, // X11 as ever
        {false, true, "xcb", ""},
        {false, false, "", ""},
    };
    for (const auto& c : cases) {
        DisplaySession session;
        session.wayland = c.wayland;
        session.xServer = c.xServer;
        session.requestedPlatform = c.requested;
        EXPECT_EQ(session.ChosenPlatform(), QByteArray(c.chosen))
            << c.wayland << c.xServer << " requested " << c.requested;
    }
}

TEST(DisplaySession, TheSessionIsReadFromTheEnvironment)
{
    EnvScope display("DISPLAY", ":5");
    EnvScope type("XDG_SESSION_TYPE", nullptr);
    EnvScope platform("QT_QPA_PLATFORM", " wayland ");
    {
        EnvScope socket("WAYLAND_DISPLAY", nullptr);
        EXPECT_FALSE(DisplaySession::FromEnvironment().wayland);
        EnvScope waylandType("XDG_SESSION_TYPE", "Wayland");
        EXPECT_TRUE(DisplaySession::FromEnvironment().wayland);
    }
    EnvScope socket("WAYLAND_DISPLAY", "wayland-0");
    const DisplaySession session = DisplaySession::FromEnvironment();
    EXPECT_TRUE(session.wayland);
    EXPECT_TRUE(session.xServer);
    EXPECT_EQ(session.requestedPlatform, QByteArray("wayland"));
    char name[] = "quorvel";
    char own[] = "--own";
    char* argv[] = {name, own, nullptr};
    QByteArray chosen;
    const std::vector<char*> arguments = quorvel::WithChosenPlatform(2, argv, chosen);
    ASSERT_EQ(arguments.size(), 5u);
    EXPECT_STREQ(arguments[0], "quorvel");
    EXPECT_STREQ(arguments[1], "-platform");
    EXPECT_STREQ(arguments[2], "xcb");
    EXPECT_STREQ(arguments[3], "--own");
    EXPECT_EQ(arguments[4], nullptr);
    // Programs this one starts choose for themselves.
    EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), QByteArray(" wayland "));
}
