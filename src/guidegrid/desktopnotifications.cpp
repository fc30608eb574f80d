#include "guidegrid/desktopnotifications.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QPointer>
#include <QVariantMap>

namespace quorvel {
namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kWatch = QStringLiteral("watch");

} // namespace

DesktopNotifications::DesktopNotifications(QObject* parent) : QObject(parent)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this, SLOT(ActionInvoked(QDBusMessage)));
    bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this, SLOT(Closed(QDBusMessage)));
}

void DesktopNotifications::Tell(const Reminder& reminder, const QString& when)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    const QString channel = QString::fromStdString(reminder.channel);
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("tv.quorvel.Quorvel"));
    hints.insert(QStringLiteral("category"), QStringLiteral("x-quorvel.reminder"));
    call << QStringLiteral("Quorvel Online TV") << 0u << QStringLiteral("tv.quorvel.Quorvel")
         << tr("%1 starts %2").arg(QString::fromStdString(reminder.title), when) << tr("On %1").arg(channel)
         << QStringList{kWatch, tr("Watch")} << hints << -1;
    // Asked without waiting: a slow or missing service never holds up the window.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, reminder](QDBusPendingCallWatcher* done) {
        const QDBusPendingReply<std::uint32_t> reply = *done;
        if (!reply.isError())
            shown_[reply.value()] = reminder;
        done->deleteLater();
    });
}

void DesktopNotifications::ActionInvoked(const QDBusMessage& message)
{
    const QList<QVariant> args = message.arguments();
    if (args.size() < 2 || args[1].toString() != kWatch)
        return;
    const auto it = shown_.find(args[0].toUInt());
    if (it == shown_.end())
        return;
    const Reminder reminder = it->second;
    emit watchChosen(QString::fromStdString(reminder.category), QString::fromStdString(reminder.channel));
}

void DesktopNotifications::Closed(const QDBusMessage& message)
{
    const QList<QVariant> args = message.arguments();
    if (!args.isEmpty())
        shown_.erase(args[0].toUInt());
}

} // namespace quorvel
