#include "platform/portalhotkeyservice.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QHash>
#include <QStringList>

namespace quorvel {

// One shortcut as the portal passes it: its id and its properties.
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

} // namespace quorvel

Q_DECLARE_METATYPE(quorvel::PortalShortcut)

namespace quorvel {
namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kShortcuts = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");
const QString kSession = QStringLiteral("org.freedesktop.portal.Session");
const QString kRegistry = QStringLiteral("org.freedesktop.host.portal.Registry");
const QString kResponse = QStringLiteral("Response");

// A portal started by the question itself may take a moment; a desktop without one answers at once.
constexpr int kOfferedTimeoutMs = 5000;
constexpr int kCloseTimeoutMs = 500;

// The key as the desktop portal's shortcut triggers write it ("CTRL+SHIFT+Home"); empty for a key this
// service does not know.
QString Trigger(unsigned modifiers, unsigned virtualKey)
{
    if (virtualKey != HotKeyService::VK_HOME)
        return {};
    QStringList parts;
    if (modifiers & 2)
        parts << QStringLiteral("CTRL");
    if (modifiers & 1)
        parts << QStringLiteral("ALT");
    if (modifiers & 4)
        parts << QStringLiteral("SHIFT");
    if (modifiers & 8)
        parts << QStringLiteral("LOGO");
    parts << QStringLiteral("Home");
    return parts.join(QLatin1Char('+'));
}

// A map argument of a received message (it arrives still marshalled).
bool Marshalled(const QVariant& value) { return value.metaType() == QMetaType::fromType<QDBusArgument>(); }

QVariantMap MapArgument(const QVariant& value)
{
    if (Marshalled(value))
        return qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
    return value.toMap();
}

// The session handle the portal answers with: a string, or an object path from some portals.
QString PathText(const QVariant& value)
{
    if (value.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.toString();
}

} // namespace

bool PortalHotKeyService::Offered(const QDBusConnection& bus)
{
    if (!bus.isConnected())
        return false;
    QDBusMessage ask = QDBusMessage::createMethodCall(
        kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    ask << kShortcuts << QStringLiteral("version");
    return bus.call(ask, QDBus::Block, kOfferedTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

PortalHotKeyService::PortalHotKeyService(const QDBusConnection& bus, const QString& applicationId)
    : bus_(bus), applicationId_(applicationId)
{
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
    bus_.connect(kService, kPath, kShortcuts, QStringLiteral("Activated"), this, SLOT(Activated(QDBusMessage)));
}

PortalHotKeyService::~PortalHotKeyService() { CloseSession(); }

int PortalHotKeyService::GlobalAddAtom(const char* name)
{
    // The same name gives the same value within the program, which is all a portal shortcut needs.
    const int value = static_cast<int>(qHash(QByteArrayView(name), 0) & 0x3FFF);
    atomNames_[value] = QString::fromUtf8(name);
    return 0xC000 + value;
}

bool PortalHotKeyService::RegisterHotKey(QWidget* window, int id, unsigned modifiers, unsigned virtualKey)
{
    if (keys_.count(id) || Trigger(modifiers, virtualKey).isEmpty() || !bus_.isConnected() || state_ == State::Failed)
        return false;
    const auto name = atomNames_.find(id);
    const QString shortcutId = name != atomNames_.end() ? name->second : QStringLiteral("hotkey%1").arg(id);
    keys_[id] = Key{window, modifiers, virtualKey, shortcutId};
    if (state_ == State::Idle)
        CreateSession();
    else if (state_ == State::Ready)
        BindShortcuts();
    return true;
}

bool PortalHotKeyService::UnregisterHotKey(QWidget* window, int id)
{
    const auto it = keys_.find(id);
    if (it == keys_.end() || it->second.window != window)
        return false;
    keys_.erase(it);
    // The portal binds a session's shortcuts for good; with none left the session goes.
    if (keys_.empty())
        CloseSession();
    return true;
}

void PortalHotKeyService::CreateSession()
{
    state_ = State::Creating;
    // The portal knows a program outside a sandbox by its application id only when told; a
    // portal without the registry, or that knows the program otherwise, answers with an error
    // and the session is asked for all the same.
    QDBusMessage registration = QDBusMessage::createMethodCall(kService, kPath, kRegistry, QStringLiteral("Register"));
    registration << applicationId_ << QVariantMap();
    auto* registered = new QDBusPendingCallWatcher(bus_.asyncCall(registration), this);
    connect(registered, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        const QString token = QStringLiteral("quorvel%1").arg(++tokens_);
        const char* slot = SLOT(SessionResponse(QDBusMessage));
        const QString expected = ExpectResponse(token, slot);
        QDBusMessage create =
            QDBusMessage::createMethodCall(kService, kPath, kShortcuts, QStringLiteral("CreateSession"));
        create << QVariantMap{{QStringLiteral("handle_token"), token},
                              {QStringLiteral("session_handle_token"), QStringLiteral("quorvel%1").arg(++tokens_)}};
        auto* started = new QDBusPendingCallWatcher(bus_.asyncCall(create), this);
        connect(started, &QDBusPendingCallWatcher::finished, this,
                [this, expected, slot](QDBusPendingCallWatcher* request) { RequestStarted(request, expected, slot); });
    });
}

void PortalHotKeyService::BindShortcuts()
{
    QList<PortalShortcut> shortcuts;
    const QString program = QGuiApplication::applicationDisplayName();
    for (const auto& [id, key] : keys_)
        shortcuts.append({key.shortcutId,
                          {{QStringLiteral("description"),
                            QStringLiteral("Hide %1 and mute its sound, or bring both back").arg(program)},
                           {QStringLiteral("preferred_trigger"), Trigger(key.modifiers, key.virtualKey)}}});
    const QString token = QStringLiteral("quorvel%1").arg(++tokens_);
    const char* slot = SLOT(BindResponse(QDBusMessage));
    const QString expected = ExpectResponse(token, slot);
    QDBusMessage bind = QDBusMessage::createMethodCall(kService, kPath, kShortcuts, QStringLiteral("BindShortcuts"));
    bind << QVariant::fromValue(QDBusObjectPath(session_)) << QVariant::fromValue(shortcuts) << QString()
         << QVariantMap{{QStringLiteral("handle_token"), token}};
    auto* started = new QDBusPendingCallWatcher(bus_.asyncCall(bind), this);
    connect(started, &QDBusPendingCallWatcher::finished, this,
            [this, expected, slot](QDBusPendingCallWatcher* request) { RequestStarted(request, expected, slot); });
}

QString PortalHotKeyService::ExpectResponse(const QString& token, const char* slot)
{
    // The answer may come before the call returns: the request's path is known from the token
    // beforehand, and listened to first.
    QString sender = bus_.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    const QString path = kPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
    bus_.connect(kService, path, kRequest, kResponse, this, slot);
    return path;
}

void PortalHotKeyService::RequestStarted(QDBusPendingCallWatcher* call, const QString& expected, const char* slot)
{
    call->deleteLater();
    const QDBusPendingReply<QDBusObjectPath> reply = *call;
    if (reply.isError()) {
        bus_.disconnect(kService, expected, kRequest, kResponse, this, slot);
        if (state_ == State::Creating)
            state_ = State::Failed;
        RefuseAll();
        return;
    }
    // An older portal names the request its own way.
    const QString path = reply.value().path();
    if (path != expected) {
        bus_.disconnect(kService, expected, kRequest, kResponse, this, slot);
        bus_.connect(kService, path, kRequest, kResponse, this, slot);
    }
}

void PortalHotKeyService::SessionResponse(const QDBusMessage& message)
{
    bus_.disconnect(kService, message.path(), kRequest, kResponse, this, SLOT(SessionResponse(QDBusMessage)));
    const QVariantList arguments = message.arguments();
    const QString session = arguments.size() == 2 && arguments[0].toUInt() == 0
                                ? PathText(MapArgument(arguments[1]).value(QStringLiteral("session_handle")))
                                : QString();
    if (session.isEmpty()) {
        state_ = State::Failed;
        RefuseAll();
        return;
    }
    session_ = session;
    state_ = State::Ready;
    if (!keys_.empty())
        BindShortcuts();
}

void PortalHotKeyService::BindResponse(const QDBusMessage& message)
{
    bus_.disconnect(kService, message.path(), kRequest, kResponse, this, SLOT(BindResponse(QDBusMessage)));
    const QVariantList arguments = message.arguments();
    if (arguments.size() != 2 || arguments[0].toUInt() != 0) {
        RefuseAll();
        return;
    }
    // The shortcuts the desktop bound; a key among them may have another trigger, which is the
    // viewer's choice. One left out was declined.
    QStringList bound;
    const QVariant list = MapArgument(arguments[1]).value(QStringLiteral("shortcuts"));
    if (Marshalled(list))
        for (const PortalShortcut& shortcut : qdbus_cast<QList<PortalShortcut>>(list.value<QDBusArgument>()))
            bound << shortcut.id;
    for (auto& [id, key] : keys_)
        if (!bound.contains(key.shortcutId))
            Refuse(id, key);
}

void PortalHotKeyService::Activated(const QDBusMessage& message)
{
    const QVariantList arguments = message.arguments();
    if (arguments.size() < 2 || session_.isEmpty() || PathText(arguments[0]) != session_)
        return;
    const QString shortcut = arguments[1].toString();
    for (const auto& [id, key] : keys_) {
        if (key.shortcutId == shortcut) {
            emit hotKey(key.window, id, key.modifiers, key.virtualKey);
            return;
        }
    }
}

void PortalHotKeyService::RefuseAll()
{
    for (auto& [id, key] : keys_)
        Refuse(id, key);
}

void PortalHotKeyService::Refuse(int id, Key& key)
{
    if (key.told)
        return;
    key.told = true;
    emit notWholeDesktop(key.window, id);
}

void PortalHotKeyService::CloseSession()
{
    if (session_.isEmpty())
        return;
    // Waited for briefly, so that a program about to end has sent it; one that ends without it
    // closes its sessions by leaving the bus anyway.
    bus_.call(QDBusMessage::createMethodCall(kService, session_, kSession, QStringLiteral("Close")), QDBus::Block,
              kCloseTimeoutMs);
    session_.clear();
    state_ = State::Idle;
}

} // namespace quorvel
