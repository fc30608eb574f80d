#include "app/rememberedsettings.h"

#include "app/channelnodes.h"
#include "app/form1.h"
#include "base/exception.h"
#include "playback/mpvcore.h"
#include "playback/playersettings.h"
#include "player/mediaplayer.h"
#include "skin/form/framewindowstates.h"
#include "skin/form/skinform.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeWidget>

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

RememberedSettings::RememberedSettings(Form1& form, const std::string& catalogueFile)
    : QObject(&form), form_(form), store_(std::make_unique<SettingsStore>(catalogueFile)), timer_(new QTimer(this))
{
    timer_->setSingleShot(true);
    timer_->setInterval(kSaveDelayMs);
    connect(timer_, &QTimer::timeout, this, &RememberedSettings::SaveNow);
}

RememberedSettings::~RememberedSettings() { form_.removeEventFilter(this); }

void RememberedSettings::Restore()
{
    try {
        stored_ = store_->Read();
    } catch (const Exception& e) {
        std::fprintf(stderr, "quorvel: %s\n", e.what());
    }
    const SettingsStore::Values& values = stored_;
    if (MediaPlayer* player = form_.MediaPlayer1) {
        try {
            int volume = 0;
            if (Number(values, kVolume, volume))
                player->Settings().SetVolume(volume);
            if (values.count(kMute))
                player->Settings().SetMute(Text(values, kMute) == QLatin1String("1"));
            volume_ = player->Settings().Volume();
            mute_ = player->Settings().Mute();
            muteKnown_ = true;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "quorvel: the sound as last left cannot be set: %s\n", e.what());
        }
        connect(&player->Core(), &MpvCore::volumeChanged, this, [this](double volume) {
            volume_ = static_cast<int>(volume + 0.5);
            Schedule();
        });
        connect(&player->Core(), &MpvCore::muteChanged, this, [this](bool muted) {
            // The boss key mutes a hidden window for as long as it is hidden: not the viewer's choice.
            if (!form_.isVisible())
                return;
            mute_ = muted;
            muteKnown_ = true;
            Schedule();
        });
    }
    RestoreWindow(values);
    RestoreTree(values);
    form_.installEventFilter(this);
    if (QTreeWidget* tree = form_.TreeView1) {
        connect(tree, &QTreeWidget::itemExpanded, this, &RememberedSettings::Schedule);
        connect(tree, &QTreeWidget::itemCollapsed, this, &RememberedSettings::Schedule);
        connect(tree, &QTreeWidget::itemSelectionChanged, this, &RememberedSettings::Schedule);
    }
}

void RememberedSettings::RestoreWindow(const SettingsStore::Values& values)
{
    int x = 0;
    int y = 0;
    // A place on a screen that is no longer there keeps the window where a first start puts it.
    if (Number(values, kWindowX, x) && Number(values, kWindowY, y) && OnSomeScreen(QRect(QPoint(x, y), form_.size())))
        form_.move(x, y);
    if (Text(values, kMaximized) == QLatin1String("1") && form_.SkinForm1)
        form_.SkinForm1->SetFrameState(FrameState::Maximized);
}

void RememberedSettings::RestoreTree(const SettingsStore::Values& values)
{
    QTreeWidget* tree = form_.TreeView1;
    if (!tree)
        return;
    const QStringList open = Text(values, kOpenCategories).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        if (open.contains(tree->topLevelItem(i)->text(0)))
            tree->topLevelItem(i)->setExpanded(true);
    const QString category = Text(values, kCategory);
    const QString channel = Text(values, kChannel);
    QTreeWidgetItem* node = nullptr;
    if (!channel.isEmpty())
        node = FindChannelNode(tree, category, channel);
    for (int i = 0; !node && !category.isEmpty() && i < tree->topLevelItemCount(); ++i)
        if (tree->topLevelItem(i)->text(0) == category)
            node = tree->topLevelItem(i);
    if (!node)
        return;
    {
        // Selected, not played: a start that plays by itself is no start the viewer asked for.
        const QSignalBlocker quiet(tree);
        tree->setCurrentItem(node);
    }
    tree->scrollToItem(node);
    if (node->parent()) {
        restoredCategory_ = node->parent()->text(0);
        restoredChannel_ = node->text(0);
        connect(tree, &QTreeWidget::itemClicked, this, &RememberedSettings::PlayRestored);
        connect(tree, &QTreeWidget::itemActivated, this, &RememberedSettings::PlayRestored);
        connect(tree, &QTreeWidget::itemSelectionChanged, this, [this] {
            restoredChannel_.clear();
            restoredCategory_.clear();
        });
    }
}

void RememberedSettings::PlayRestored(QTreeWidgetItem* item)
{
    // The selection is already the one a click would make, so the tree says nothing of it:
    // the channel is played here.
    if (restoredChannel_.isEmpty() || !item || !item->parent() || !item->isSelected() ||
        item->text(0) != restoredChannel_ || item->parent()->text(0) != restoredCategory_)
        return;
    restoredChannel_.clear();
    restoredCategory_.clear();
    if (!form_.Playing)
        form_.TreeView1Change();
}

void RememberedSettings::TrackPlace()
{
    // Only a window the viewer sees as it will be next time: not minimized, hidden or covered by
    // a full-screen player.
    if (!form_.SkinForm1 || !form_.isVisible() || form_.isMinimized() || form_.isFullScreen() ||
        (form_.MediaPlayer1 && form_.MediaPlayer1->IsFullScreen()))
        return;
    maximized_ = form_.SkinForm1->GetFrameState() == FrameState::Maximized;
    const QRect normal = form_.SkinForm1->States().NormalBounds;
    place_ = maximized_ && !normal.isNull() ? normal.topLeft() : form_.pos();
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
    if (const QTreeWidget* tree = form_.TreeView1) {
        QStringList open;
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            if (tree->topLevelItem(i)->isExpanded())
                open << tree->topLevelItem(i)->text(0);
        values[kOpenCategories] = open.join(QLatin1Char('\n')).toStdString();
        const auto selected = tree->selectedItems();
        const QTreeWidgetItem* node = selected.isEmpty() ? nullptr : selected.first();
        values[kCategory] = !node ? std::string() : (node->parent() ? node->parent() : node)->text(0).toStdString();
        values[kChannel] = node && node->parent() ? node->text(0).toStdString() : std::string();
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
    if (watched == &form_) {
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
