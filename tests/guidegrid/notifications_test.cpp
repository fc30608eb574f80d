// A reminder told through the desktop's notification service, on a bus of the test's own: what
// the service is asked to show, and its Watch action asking for the channel.
#include "guidegrid/desktopnotifications.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

// The notification service as a desktop has it, keeping what it was asked.
class FakeService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList summaries;
    QStringList actions;
    QVariantMap hints;

public slots:
    Q_SCRIPTABLE uint Notify(const QString&, uint, const QString&, const QString& summary, const QString&,
                             const QStringList& actionList, const QVariantMap& hintMap, int)
    {
        summaries << summary;
        actions = actionList;
        hints = hintMap;
        return 41;
    }
};

} // namespace

TEST(DesktopNotifications, AReminderShowsWithAWatchActionThatAsksForTheChannel)
{
    // A private session bus, set before anything in this process reaches for one.
    QProcess daemon;
    daemon.start(QStringLiteral("dbus-daemon"),
                 {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    if (!daemon.waitForStarted(5000))
        GTEST_SKIP() << "no dbus-daemon";
    ASSERT_TRUE(daemon.waitForReadyRead(5000));
    qputenv("DBUS_SESSION_BUS_ADDRESS", daemon.readLine().trimmed());
    QDBusConnection bus = QDBusConnection::sessionBus();
    ASSERT_TRUE(bus.isConnected());
    FakeService service;
    ASSERT_TRUE(bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &service,
                                   QDBusConnection::ExportScriptableSlots));
    ASSERT_TRUE(bus.registerService(QStringLiteral("org.freedesktop.Notifications")));

    DesktopNotifications notifications;
    QSignalSpy watch(&notifications, &DesktopNotifications::watchChosen);
    notifications.Tell({"Beta", "News", 1'800'000'000, "Late Film"}, QStringLiteral("20:00"));
    QTRY_COMPARE(service.summaries.size(), 1);
    EXPECT_TRUE(service.summaries[0].contains(QStringLiteral("Late Film")));
    EXPECT_EQ(service.actions, (QStringList{QStringLiteral("watch"), QStringLiteral("Watch")}));
    EXPECT_EQ(service.hints.value(QStringLiteral("desktop-entry")).toString(), QStringLiteral("tv.quorvel.Quorvel"));
    QTest::qWait(100); // the reply with the notification's id comes back

    auto signal = [&](const char* name, const QVariantList& args) {
        QDBusMessage m =
            QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
                                       QStringLiteral("org.freedesktop.Notifications"), QString::fromLatin1(name));
        m.setArguments(args);
        bus.send(m);
    };
    // Another program's notification, or another action, asks for nothing.
    signal("ActionInvoked", {7u, QStringLiteral("watch")});
    signal("ActionInvoked", {41u, QStringLiteral("default")});
    signal("ActionInvoked", {41u, QStringLiteral("watch")});
    QTRY_COMPARE(watch.count(), 1);
    EXPECT_EQ(watch.at(0).at(0).toString(), QStringLiteral("News"));
    EXPECT_EQ(watch.at(0).at(1).toString(), QStringLiteral("Beta"));
    // Once closed, it is forgotten.
    signal("NotificationClosed", {41u, 2u});
    signal("ActionInvoked", {41u, QStringLiteral("watch")});
    QTest::qWait(200);
    EXPECT_EQ(watch.count(), 1);

    daemon.terminate();
    daemon.waitForFinished(3000);
}

#include "notifications_test.moc"
