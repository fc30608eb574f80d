// The global hot key under an X server that repeats held keys (started with -ardelay 200
// -arinterval 40): however long Home is held, one press is one hot-key message.
#include "platform/hotkeyservice.h"
#include "xkbrepeat.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QThread>
#include <QWidget>

#include <gtest/gtest.h>
#include <memory>
#include <xcb/xcb.h>

using quorvel::HotKeyService;

namespace {

bool Xdotool(const QStringList& arguments) { return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0; }

// Every event the server sent before this call is in Qt's hands once it returns: a round trip
// on the program's own connection, then the event queue drained.
void Settle()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11->connection();
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
}

// Keeps the event loop running for the given time, as a key is held.
void Hold(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

template <class Condition>
bool WaitFor(Condition done, int ms = 10000)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

} // namespace

// Servers deliver a held key's repeats as more presses (detectable auto-repeat, which Qt asks
// for) or as pairs of release and press: both are tried.
class XcbHotKey : public ::testing::TestWithParam<bool> { };

TEST_P(XcbHotKey, AHeldKeyTogglesOnceHoweverLongItIsHeld)
{
    ASSERT_TRUE(SetDetectableAutoRepeat(GetParam()));
    const auto service = quorvel::CreateHotKeyService();
    QWidget window;
    window.show();
    const int id = service->GlobalAddAtom("MyHotKey") - 0xC000;
    ASSERT_TRUE(service->RegisterHotKey(&window, id, 0, HotKeyService::VK_HOME));
    int presses = 0;
    QObject::connect(service.get(), &HotKeyService::hotKey, &window, [&](QWidget* w, int, unsigned m, unsigned k) {
        EXPECT_EQ(w, &window);
        EXPECT_EQ(m, 0u);
        EXPECT_EQ(k, HotKeyService::VK_HOME);
        ++presses;
    });
    Settle();

    // Shorter than the repeat delay, a few repeats, some forty repeats.
    int expected = 0;
    for (int ms : {50, 600, 1800, 50}) {
        ASSERT_TRUE(Xdotool({"keydown", "Home"}));
        ++expected;
        EXPECT_TRUE(WaitFor([&] { return presses >= expected; })) << "hold of " << ms << " ms";
        Hold(ms);
        ASSERT_TRUE(Xdotool({"keyup", "Home"}));
        Settle();
        EXPECT_EQ(presses, expected) << "hold of " << ms << " ms";
    }
    // Quick presses one after the other each count.
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(Xdotool({"key", "Home"}));
        ++expected;
        EXPECT_TRUE(WaitFor([&] { return presses >= expected; }));
    }
    Settle();
    EXPECT_EQ(presses, expected);
    EXPECT_TRUE(service->UnregisterHotKey(&window, id));
    SetDetectableAutoRepeat(true);
}

INSTANTIATE_TEST_SUITE_P(Repeats, XcbHotKey, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "AsPresses" : "AsReleaseAndPress"; });
