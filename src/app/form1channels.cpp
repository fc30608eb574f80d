// The main window's channels: what a choice in the tree plays, and the ways to another channel.
#include "app/channellogos.h"
#include "app/channelnodes.h"
#include "app/channelzapper.h"
#include "app/favouritesview.h"
#include "app/form1.h"
#include "app/gonefavourite.h"
#include "app/guidemanager.h"
#include "app/playlistmanager.h"
#include "app/treechannellist.h"
#include "catalogue/channelcatalogue.h"
#include "platform/inifile.h"
#include "player/mediaplayer.h"
#include "player/zapcard.h"
#include "watching/watchsession.h"
#include "widgets/editline.h"
#include "widgets/errorbox.h"

#include <QDateTime>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace quorvel {

namespace {

// The zap card's logo, kept larger than it is shown so that it scales down sharply.
constexpr int kCardLogoSide = 64;

} // namespace

ProgrammeInfo Form1::ProgrammeInfoOf(const GuideStore::NowAndNext& programmes)
{
    ProgrammeInfo info;
    if (programmes.now) {
        const Programme& now = *programmes.now;
        info.nowTitle = QString::fromStdString(now.title);
        info.nowSpan = GuideManager::Span(now.start, now.stop);
        if (now.stop > now.start)
            info.progress = double(QDateTime::currentSecsSinceEpoch() - now.start) / double(now.stop - now.start);
    }
    if (programmes.next)
        info.nextLine = tr("Next: %1 %2")
                            .arg(GuideManager::Span(programmes.next->start, programmes.next->stop),
                                 QString::fromStdString(programmes.next->title));
    return info;
}

void Form1::TreeView1Change()
{
    RunHandler([this] {
        if (!MediaPlayer1)
            return;
        const auto selected = TreeView1->selectedItems();
        QTreeWidgetItem* node = selected.isEmpty() ? nullptr : selected.first();
        // Only a channel plays; a category changes nothing.
        if (!node || !node->parent() || node->parent()->parent())
            return;
        // A favourite whose channel is gone has nothing to play.
        if (FavouritesView::IsGone(node))
            return;
        const ChannelCatalogue catalogue(CatalogueFile());
        if (MediaPlayer1->isHidden())
            MediaPlayer1->show();
        const QString name = node->text(0);
        const std::string address = catalogue.StreamAddress(name.toLocal8Bit().toStdString());
        // A channel being recorded is left only when the viewer agrees.
        if (MediaPlayer1->URL() != QString::fromLocal8Bit(address) && !MediaPlayer1->LeaveRecording()) {
            // The recorded channel plays on and is the tree's choice again, without being
            // opened anew (which would end the recording).
            const QSignalBlocker block(TreeView1);
            channelList_->Choose(session_->Playing());
            return;
        }
        MediaPlayer1->SetChannelName(name);
        // What the channel's server demands to see (user agent, referrer), as its playlist said.
        const auto optionsOf = [this](const QString& channel) {
            return Playlists1 ? Playlists1->RequestOptionsFor(channel) : RequestOptions{};
        };
        MediaPlayer1->SetURL(QString::fromLocal8Bit(address), optionsOf(name));
        watchedRecorded_.clear();
        // A step to the neighbouring channel may be surfing: the player is told the one after.
        const WatchSession::Step step = session_->Played(TreeChannelList::RefOf(node));
        const QString after = step.after.name;
        MediaPlayer1->Zapped(step.direction,
                             after.isEmpty()
                                 ? QString()
                                 : QString::fromLocal8Bit(catalogue.StreamAddress(after.toLocal8Bit().toStdString())),
                             after.isEmpty() ? RequestOptions{} : optionsOf(after));
        if (Guide1)
            MediaPlayer1->SetProgrammeInfo(ProgrammeInfoOf(Guide1->Now(name)));
        MediaPlayer1->ShowZap(
            ZapInfo{zapper_->NumberOf(name), name, zapper_->CategoryOf(name), Logos1->Logo(name, kCardLogoSide)});
        if (Edit1->isHidden())
            Edit1->show();
        Playing = true;
        MediaPlayer1->ShowRequest();
    });
}

void Form1::ChannelShowed()
{
    RunHandler([this] {
        // Recently watched holds what the viewer saw or heard, not every channel tried.
        const QString channel = session_->Playing().name;
        if (!Favourites1 || !MediaPlayer1 || channel.isEmpty() || channel == watchedRecorded_)
            return;
        watchedRecorded_ = channel;
        Favourites1->Watched(channel, MediaPlayer1->URL());
    });
}

void Form1::ToggleFavourite()
{
    RunHandler([this] {
        const auto selected = TreeView1->selectedItems();
        const QTreeWidgetItem* node = selected.isEmpty() ? nullptr : selected.first();
        const bool channel = node && node->parent() && !node->parent()->parent();
        const QString name = channel ? node->text(0) : session_->Playing().name;
        if (name.isEmpty() || !Favourites1)
            return;
        const std::string address = ChannelCatalogue(CatalogueFile()).StreamAddress(name.toLocal8Bit().toStdString());
        Favourites1->Toggle(name, QString::fromLocal8Bit(address));
    });
}

void Form1::PreviousChannel()
{
    RunHandler([this] { session_->GoBack(); });
}

void Form1::ZapToNumber(int number)
{
    RunHandler([this, number] {
        if (!session_->ZapToNumber(number) && MediaPlayer1)
            MediaPlayer1->SayNoChannel(number);
    });
}

void Form1::ZapStep(int step)
{
    RunHandler([this, step] { session_->Zap(step); });
}

void Form1::FollowRenamedChannel()
{
    RunHandler([this] {
        const ChannelRef playing = session_->Playing();
        if (!playing.IsChannel() || !MediaPlayer1)
            return;
        ChannelRef now = channelList_->Find(playing.category, playing.name);
        if (!now.IsChannel()) {
            const std::string address = MediaPlayer1->URL().toLocal8Bit().toStdString();
            std::string renamed;
            for (const auto& [channel, value] : IniFile(CatalogueFile()).ReadSectionValues("Programs"))
                if (!address.empty() && value == address) {
                    renamed = channel;
                    break;
                }
            if (renamed.empty())
                return;
            const QString name = QString::fromLocal8Bit(renamed);
            now = channelList_->Find(playing.category, name);
            if (!now.IsChannel())
                return;
            session_->Follow(now);
            MediaPlayer1->SetChannelName(name);
        } else if (!TreeView1->selectedItems().isEmpty()) {
            return;
        }
        // The refill took the tree's selection away: the channel playing is shown chosen again,
        // without being opened anew.
        const QSignalBlocker quiet(TreeView1);
        if (QTreeWidgetItem* node = FindChannelNode(TreeView1, now.category, now.name)) {
            TreeView1->setCurrentItem(node);
            TreeView1->scrollToItem(node);
        }
    });
}

QString Form1::LogoFile(const QString& channel) const { return Logos1 ? Logos1->File(channel) : QString(); }

void Form1::ShowZapLogo()
{
    // The zap card shows the channel's logo once it came, if it still names that channel.
    if (!MediaPlayer1 || !MediaPlayer1->Zap().isVisible())
        return;
    ZapInfo info = MediaPlayer1->Zap().Info();
    if (!info.logo.isNull() || info.name != session_->Playing().name)
        return;
    info.logo = Logos1->Logo(info.name, kCardLogoSide);
    if (!info.logo.isNull())
        MediaPlayer1->ShowZap(info);
}

QString Form1::ProgrammeNow(const QString& channel) const
{
    if (!Guide1)
        return {};
    const auto programmes = Guide1->Now(channel);
    return programmes.now ? QString::fromStdString(programmes.now->title) : QString();
}

} // namespace quorvel
