#include "app/mpris.h"

#include "app/categorynode.h"
#include "app/favouritesview.h"
#include "app/form1.h"
#include "app/guidemanager.h"
#include "app/mprisadaptors.h"
#include "platform/hotkeyservice.h"
#include "playback/mpvcore.h"
#include "player/mediaplayer.h"
#include "widgets/errorbox.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <unistd.h>

namespace quorvel {
namespace {

const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");

bool IsChannel(const QTreeWidgetItem* item) { return item && item->parent() && !item->parent()->parent(); }

} // namespace

Mpris::Mpris(Form1& form) : QObject(nullptr), form_(form)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    new MprisRootAdaptor(this, *this);
    new MprisPlayerAdaptor(this, *this);
    if (!bus.registerObject(kPath, this, QDBusConnection::ExportAdaptors))
        return;
    // A second player running takes a name of its own, as the media player interface asks.
    QString name = QStringLiteral("org.mpris.MediaPlayer2.quorvel");
    if (!bus.registerService(name)) {
        name += QStringLiteral(".instance%1").arg(::getpid());
        if (!bus.registerService(name)) {
            bus.unregisterObject(kPath);
            return;
        }
    }
    service_ = name;

    // After the tree's own handler: by then the new channel's address is the player's.
    connect(form_.TreeView1, &QTreeWidget::itemSelectionChanged, this, &Mpris::PlayerChanged);
    if (MediaPlayer* player = form_.MediaPlayer1) {
        MpvCore& core = player->Core();
        connect(&core, &MpvCore::pauseChanged, this, &Mpris::PlayerChanged);
        connect(&core, &MpvCore::idleChanged, this, &Mpris::PlayerChanged);
        connect(&core, &MpvCore::volumeChanged, this, [this] {
            Changed(kPlayer, {{QStringLiteral("Volume"), Volume()}});
        });
    }
    // A programme ends while the channel plays on: looked at twice a minute, and whenever a
    // guide was stored.
    if (GuideManager* guide = form_.Guide1)
        connect(guide, &GuideManager::Changed, this, &Mpris::ProgrammeMayHaveChanged);
    auto* programmeClock = new QTimer(this);
    connect(programmeClock, &QTimer::timeout, this, &Mpris::ProgrammeMayHaveChanged);
    programmeClock->start(30000);
}

Mpris::~Mpris()
{
    if (service_.isEmpty())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(service_);
    bus.unregisterObject(kPath);
}

QTreeWidgetItem* Mpris::CurrentChannel() const
{
    const auto selected = form_.TreeView1->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

QTreeWidgetItem* Mpris::FirstCategory() const
{
    QTreeWidget* tree = form_.TreeView1;
    for (int c = 0; c < tree->topLevelItemCount(); ++c)
        if (CategoryNode::ChannelCount(tree->topLevelItem(c)) > 0)
            return tree->topLevelItem(c);
    return nullptr;
}

QTreeWidgetItem* Mpris::FirstChannel() const
{
    QTreeWidgetItem* category = FirstCategory();
    if (!category)
        return nullptr;
    // A category not opened yet makes its channel nodes now: one of them is to be chosen.
    CategoryNode::MakeChannels(category);
    return category->child(0);
}

void Mpris::Choose(QTreeWidgetItem* channel)
{
    if (!channel)
        return;
    channel->parent()->setExpanded(true);
    // Choosing it in the tree plays it, as a choice there by hand does.
    form_.TreeView1->setCurrentItem(channel);
    form_.TreeView1->scrollToItem(channel);
}

void Mpris::Step(int step)
{
    QTreeWidgetItem* current = CurrentChannel();
    if (!current) {
        Choose(FirstChannel());
        return;
    }
    // A chosen category steps into its own channels.
    if (!IsChannel(current)) {
        CategoryNode::MakeChannels(current);
        if (current->childCount() > 0)
            Choose(current->child(step > 0 ? 0 : current->childCount() - 1));
        return;
    }
    // Round the category, as a remote control goes round the channels.
    QTreeWidgetItem* category = current->parent();
    const int count = category->childCount();
    int next = category->indexOfChild(current);
    // A favourite whose channel is gone plays nothing: it is stepped over.
    for (int tries = 0; tries < count; ++tries) {
        next = (next + step + count) % count;
        if (!FavouritesView::IsGone(category->child(next)))
            break;
    }
    Choose(category->child(next));
}

void Mpris::Next() { Step(1); }

void Mpris::Previous() { Step(-1); }

void Mpris::Raise()
{
    // A window the boss key hid comes back as the key's second press brings it: with its sound.
    if (!form_.isVisible())
        form_.FormHotKey(0, HotKeyService::VK_HOME);
    form_.setWindowState(form_.windowState() & ~Qt::WindowMinimized);
    form_.show();
    form_.raise();
    form_.activateWindow();
}

void Mpris::Quit() { form_.close(); }

void Mpris::Play()
{
    RunHandler([this] {
        MediaPlayer* player = form_.MediaPlayer1;
        if (!player)
            return;
        if (!IsChannel(CurrentChannel())) {
            Choose(FirstChannel());
            return;
        }
        // The channel a restart left selected has not been asked for yet: play it.
        if (player->URL().isEmpty()) {
            form_.TreeView1Change();
            return;
        }
        if (player->Core().Flag(MpvProperty::IdleActive))
            player->Retry(); // stopped: start the channel again, as it was asked for
        else
            player->Core().SetFlag(MpvProperty::Pause, false);
    });
}

void Mpris::Pause()
{
    RunHandler([this] {
        if (MediaPlayer* player = form_.MediaPlayer1; player && !player->Core().Flag(MpvProperty::IdleActive))
            player->Core().SetFlag(MpvProperty::Pause, true);
    });
}

void Mpris::PlayPause()
{
    if (PlaybackStatus() == QLatin1String("Playing"))
        Pause();
    else
        Play();
}

void Mpris::Stop()
{
    RunHandler([this] {
        if (MediaPlayer* player = form_.MediaPlayer1)
            player->Core().Stop();
    });
}

QString Mpris::PlaybackStatus() const
{
    MediaPlayer* player = form_.MediaPlayer1;
    if (!player || !form_.Playing || player->URL().isEmpty() || player->Core().FlagOr(MpvProperty::IdleActive, true))
        return QStringLiteral("Stopped");
    return player->Core().FlagOr(MpvProperty::Pause, false) ? QStringLiteral("Paused") : QStringLiteral("Playing");
}

QVariantMap Mpris::Metadata() const
{
    QTreeWidgetItem* channel = CurrentChannel();
    MediaPlayer* player = form_.MediaPlayer1;
    if (!IsChannel(channel) || !player)
        return {{QStringLiteral("mpris:trackid"),
                 QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack")))}};
    QTreeWidgetItem* category = channel->parent();
    const int categoryIndex = form_.TreeView1->indexOfTopLevelItem(category);
    const QString track =
        QStringLiteral("/org/quorvel/Channel/c%1_%2").arg(categoryIndex).arg(category->indexOfChild(channel));
    QVariantMap metadata{
        {QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(track))},
        {QStringLiteral("xesam:title"), channel->text(0)},
        {QStringLiteral("xesam:album"), category->text(0)},
        {QStringLiteral("xesam:url"), player->URL()},
    };
    if (const QString programme = ProgrammeNow(); !programme.isEmpty())
        metadata.insert(QStringLiteral("xesam:artist"), QStringList{programme});
    return metadata;
}

QString Mpris::ProgrammeNow() const
{
    QTreeWidgetItem* channel = CurrentChannel();
    if (!IsChannel(channel) || !form_.Guide1)
        return {};
    const auto programmes = form_.Guide1->Now(channel->text(0));
    return programmes.now ? QString::fromStdString(programmes.now->title) : QString();
}

void Mpris::ProgrammeMayHaveChanged()
{
    if (ProgrammeNow() != programmeTold_)
        PlayerChanged();
}

double Mpris::Volume() const
{
    MediaPlayer* player = form_.MediaPlayer1;
    return player ? player->Core().DoubleOr(MpvProperty::Volume, 0.0) / 100.0 : 0.0;
}

void Mpris::SetVolume(double volume)
{
    RunHandler([this, volume] {
        if (MediaPlayer* player = form_.MediaPlayer1)
            player->Core().SetDouble(MpvProperty::Volume, std::clamp(volume, 0.0, 1.0) * 100.0);
    });
}

qlonglong Mpris::Position() const
{
    // Nothing playing, or a live channel not started yet, has no position: desktop widgets ask
    // for it all the same.
    MediaPlayer* player = form_.MediaPlayer1;
    if (!player || PlaybackStatus() == QLatin1String("Stopped"))
        return 0;
    return static_cast<qlonglong>(std::max(0.0, player->Core().DoubleOr(MpvProperty::TimePos, 0.0)) * 1e6);
}

bool Mpris::CanGoNext() const { return FirstCategory() != nullptr; }

bool Mpris::CanGoPrevious() const { return FirstCategory() != nullptr; }

bool Mpris::CanPlay() const { return form_.MediaPlayer1 && FirstCategory() != nullptr; }

bool Mpris::CanPause() const { return form_.MediaPlayer1 && form_.Playing; }

void Mpris::PlayerChanged()
{
    programmeTold_ = ProgrammeNow();
    Changed(kPlayer, {
                         {QStringLiteral("PlaybackStatus"), PlaybackStatus()},
                         {QStringLiteral("Metadata"), Metadata()},
                         {QStringLiteral("CanPause"), CanPause()},
                     });
}

void Mpris::Changed(const QString& interface, const QVariantMap& properties)
{
    QDBusMessage signal = QDBusMessage::createSignal(kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << interface << properties << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

} // namespace quorvel
