#pragma once

#include "platform/displaysession.h"
#include "platform/hotkeyservice.h"

#include <QDBusConnection>
#include <QString>

#include <map>

class QDBusMessage;
class QDBusPendingCallWatcher;

namespace quorvel {

// Hot keys on a Wayland desktop, through the desktop portal's global shortcuts: the program
// names its shortcuts with a preferred key and a description, the desktop binds them (it may
// ask the viewer, or bind another key) and says when one is pressed. A program outside a
// sandbox first tells the portal its application id, which names its desktop file.
class PortalHotKeyService : public HotKeyService {
    Q_OBJECT
public:
    // Whether a desktop portal on the bus offers global shortcuts (it may start on this call).
    static bool Offered(const QDBusConnection& bus);

    explicit PortalHotKeyService(const QDBusConnection& bus, const QString& applicationId = kApplicationId);
    ~PortalHotKeyService() override;

    int GlobalAddAtom(const char* name) override;
    // True when the portal was asked to bind the key; its refusal comes later, as notWholeDesktop.
    bool RegisterHotKey(QWidget* window, int id, unsigned modifiers, unsigned virtualKey) override;
    bool UnregisterHotKey(QWidget* window, int id) override;

private slots:
    // Connected by name: Qt's bus connects signals to slots that way only.
    void SessionResponse(const QDBusMessage& message);
    void BindResponse(const QDBusMessage& message);
    void Activated(const QDBusMessage& message);

private:
    struct Key {
        QWidget* window;
        unsigned modifiers;
        unsigned virtualKey;
        QString shortcutId;
        bool told = false; // notWholeDesktop was emitted for it
    };
    void CreateSession();
    void BindShortcuts();
    // Listens for the answer to a request with that token; returns the request's object path.
    QString ExpectResponse(const QString& token, const char* slot);
    void RequestStarted(QDBusPendingCallWatcher* call, const QString& expected, const char* slot);
    void RefuseAll();
    void Refuse(int id, Key& key);
    void CloseSession();

    QDBusConnection bus_;
    QString applicationId_;
    std::map<int, QString> atomNames_;
    std::map<int, Key> keys_;
    enum class State { Idle, Creating, Ready, Failed } state_ = State::Idle;
    QString session_;
    int tokens_ = 0;
};

} // namespace quorvel
