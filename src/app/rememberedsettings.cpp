#include "app/rememberedsettings.h"

#include "app/channeltreeview.h"
#include "base/exception.h"
#include "channelmodel/channelmodel.h"
#include "skin/form/framewindowstates.h"
#include "skin/form/skinform.h"
#include "watching/channellist.h"
#include "watching/watchsession.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>

#include <cstdio>

namespace quorvel {
namespace {

constexpr const char* kVolume = "volume";
constexpr const char* kMute = "mute";
constexpr const char* kWindowX = "window.x";
constexpr const char* kWindowY = "window.y";
constexpr const char* kMaximized = "window.maximized";
constexpr const char* kOpenCategories = "tree.open";
constexpr const char* kCategory = "tree.category";
constexpr const char* kChannel = "tree.channel";

// How much of the caption must lie on a screen for the window to be put back there: enough to
// see it and take it with the pointer.
constexpr int kCaptionHeight = 30;
constexpr QSize kReachable(64, 16);

QString Text(const SettingsStore::Values& values, const char* key)
{
    const auto it = values.find(key);
    return it == values.end() ? QString() : QString::fromStdString(it->second);
}

bool Number(const SettingsStore::Values& values, const char* key, int& out)
{
    bool ok = false;
    const int n = Text(values, key).toInt(&ok);
    if (ok)
        out = n;
    return ok;
}

std::string Flag(bool on) { return on ? "1" : "0"; }

bool OnSomeScreen(const QRect& window)
{
    const QRect caption(window.topLeft(), QSize(window.width(), kCaptionHeight));
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect seen = caption & screen->availableGeometry();
        if (seen.width() >= kReachable.width() && seen.height() >= kReachable.height())
            return true;
    }
    return false;
}

} // namespace

RememberedSettings::RememberedSettings(Parts parts, const std::string& catalogueFile)
    : QObject(&parts.window), parts_(std::move(parts)), store_(std::make_unique<SettingsStore>(catalogueFile)),
      timer_(new QTimer(this))
{
    timer_->setSingleShot(true);
    timer_->setInterval(kSaveDelayMs);
    connect(timer_, &QTimer::timeout, this, &RememberedSettings::SaveNow);
}

RememberedSettings::~RememberedSettings() { parts_.window.removeEventFilter(this); }

void RememberedSettings::Restore()
{
    try {
        stored_ = store_->Read();
    } catch (const Exception& e) {
        std::fprintf(stderr, "quorvel: %s\n", e.what());
    }
    const SettingsStore::Values& values = stored_;
    PlaybackControl& player = parts_.session.Player();
    try {
        int volume = 0;
        if (Number(values, kVolume, volume))
            player.SetVolume(volume / 100.0);
        if (values.count(kMute))
            player.SetMuted(Text(values, kMute) == QLatin1String("1"));
        volume_ = static_cast<int>(player.Volume() * 100.0 + 0.5);
        mute_ = player.Muted();
        muteKnown_ = true;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quorvel: the sound as last left cannot be set: %s\n", e.what());
    }
    connect(&player, &PlaybackControl::volumeChanged, this, [this](double volume) {
        volume_ = static_cast<int>(volume * 100.0 + 0.5);
        Schedule();
    });
    connect(&player, &PlaybackControl::muteChanged, this, [this](bool muted) {
        // The boss key mutes a hidden window for as long as it is hidden: not the viewer's choice.
        if (!parts_.window.isVisible())
            return;
        mute_ = muted;
        muteKnown_ = true;
        Schedule();
    });
    RestoreWindow(values);
    RestoreTree(values);
    parts_.window.installEventFilter(this);
    ChannelTreeView* tree = &parts_.tree;
    connect(tree, &QTreeView::expanded, this, &RememberedSettings::Schedule);
    connect(tree, &QTreeView::collapsed, this, &RememberedSettings::Schedule);
    connect(tree, &ChannelTreeView::itemSelectionChanged, this, &RememberedSettings::Schedule);
}

void RememberedSettings::RestoreWindow(const SettingsStore::Values& values)
{
    int x = 0;
    int y = 0;
    // A place on a screen that is no longer there keeps the window where a first start puts it.
    if (Number(values, kWindowX, x) && Number(values, kWindowY, y) &&
        OnSomeScreen(QRect(QPoint(x, y), parts_.window.size())))
        parts_.window.move(x, y);
    if (Text(values, kMaximized) == QLatin1String("1"))
        parts_.frame.SetFrameState(FrameState::Maximized);
}

void RememberedSettings::RestoreTree(const SettingsStore::Values& values)
{
    ChannelTreeView* tree = &parts_.tree;
    ChannelModel& model = tree->Channels();
    const QStringList open = Text(values, kOpenCategories).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (int i = 0; i < model.CategoryCount(); ++i)
        if (open.contains(model.CategoryTitle(i)))
            tree->expand(model.Category(i));
    const QString category = Text(values, kCategory);
    const QString channel = Text(values, kChannel);
    QModelIndex node;
    if (!channel.isEmpty())
        node = model.FindChannel(category, channel);
    if (!node.isValid() && !category.isEmpty())
        node = model.FindCategory(category);
    if (!node.isValid())
        return;
    {
        // Selected, not played: a start that plays by itself is no start the viewer asked for.
        const QSignalBlocker quiet(tree);
        tree->setCurrentIndex(node);
    }
    tree->scrollTo(node);
    if (node.parent().isValid()) {
        restoredCategory_ = ChannelModel::NameOf(node.parent());
        restoredChannel_ = ChannelModel::NameOf(node);
        connect(tree, &QAbstractItemView::clicked, this, &RememberedSettings::PlayRestored);
        connect(tree, &QAbstractItemView::activated, this, &RememberedSettings::PlayRestored);
        connect(tree, &ChannelTreeView::itemSelectionChanged, this, [this] {
            restoredChannel_.clear();
            restoredCategory_.clear();
        });
    }
}

void RememberedSettings::PlayRestored(const QModelIndex& row)
{
    // The selection is already the one a click would make, so the tree says nothing of it:
    // the channel is played here.
    if (restoredChannel_.isEmpty() || !row.isValid() || !row.parent().isValid() ||
        !parts_.tree.selectionModel()->isSelected(row) || ChannelModel::NameOf(row) != restoredChannel_ ||
        ChannelModel::NameOf(row.parent()) != restoredCategory_)
        return;
    restoredChannel_.clear();
    restoredCategory_.clear();
    if (!parts_.session.Playing().IsChannel())
        parts_.session.Channels().PlaySelected();
}

void RememberedSettings::TrackPlace()
{
    // Only a window the viewer sees as it will be next time: not minimized, hidden or covered by
    // a full-screen player.
    const QWidget& window = parts_.window;
    if (!window.isVisible() || window.isMinimized() || window.isFullScreen() ||
        (parts_.playerFullScreen && parts_.playerFullScreen()))
        return;
    maximized_ = parts_.frame.GetFrameState() == FrameState::Maximized;
    const QRect normal = parts_.frame.States().NormalBounds;
    place_ = maximized_ && !normal.isNull() ? normal.topLeft() : window.pos();
    placeKnown_ = true;
}

void RememberedSettings::Schedule() { timer_->start(); }

SettingsStore::Values RememberedSettings::Current() const
{
    SettingsStore::Values values;
    if (volume_ >= 0)
        values[kVolume] = std::to_string(volume_);
    if (muteKnown_)
        values[kMute] = Flag(mute_);
    if (placeKnown_) {
        values[kWindowX] = std::to_string(place_.x());
        values[kWindowY] = std::to_string(place_.y());
        values[kMaximized] = Flag(maximized_);
    }
    {
        const ChannelTreeView& tree = parts_.tree;
        const ChannelModel& model = tree.Channels();
        QStringList open;
        for (int i = 0; i < model.CategoryCount(); ++i)
            if (tree.isExpanded(model.Category(i)))
                open << model.CategoryTitle(i);
        values[kOpenCategories] = open.join(QLatin1Char('\n')).toStdString();
        const QModelIndex node = tree.Selected();
        const QModelIndex category = node.parent().isValid() ? node.parent() : node;
        values[kCategory] = ChannelModel::NameOf(category).toStdString();
        values[kChannel] = node.parent().isValid() ? ChannelModel::NameOf(node).toStdString() : std::string();
    }
    return values;
}

void RememberedSettings::SaveNow()
{
    timer_->stop();
    TrackPlace();
    SettingsStore::Values changed;
    for (const auto& [key, value] : Current()) {
        const auto it = stored_.find(key);
        if (it == stored_.end() || it->second != value)
            changed[key] = value;
    }
    if (changed.empty())
        return;
    try {
        store_->Store(changed);
        for (const auto& [key, value] : changed)
            stored_[key] = value;
    } catch (const Exception& e) {
        // Told once: the program works on without them.
        if (!failed_)
            std::fprintf(stderr, "quorvel: %s\n", e.what());
        failed_ = true;
    }
}

bool RememberedSettings::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &parts_.window) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowStateChange:
        case QEvent::Show:
            TrackPlace();
            Schedule();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quorvel
