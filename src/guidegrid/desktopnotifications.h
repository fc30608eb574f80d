#pragma once

#include "userdata/reminderstore.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <map>

class QDBusMessage;
class QDBusPendingCallWatcher;

namespace quorvel {

// Tells a reminder on the desktop through its notification service (org.freedesktop.Notifications
// on the session bus) with a "Watch" action; the viewer choosing it asks for the channel. Where no
// service answers, nothing is shown and nothing fails.
class DesktopNotifications : public QObject {
    Q_OBJECT
public:
    explicit DesktopNotifications(QObject* parent = nullptr);

    void Tell(const Reminder& reminder, const QString& when);

signals:
    void watchChosen(const QString& category, const QString& channel);

private slots:
    // The service's ActionInvoked and NotificationClosed signals (string-connected: the bus
    // offers no other way).
    void ActionInvoked(const QDBusMessage& message);
    void Closed(const QDBusMessage& message);

private:
    std::map<std::uint32_t, Reminder> shown_;
};

} // namespace quorvel
