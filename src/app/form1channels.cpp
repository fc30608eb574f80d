// The main window's channels: what a choice in the tree plays, and the ways to another channel.
#include "app/channellogos.h"
#include "app/channeltreeview.h"
#include "app/channelzapper.h"
#include "app/favouritesview.h"
#include "app/form1.h"
#include "app/gonefavourite.h"
#include "app/guidemanager.h"
#include "app/playlistmanager.h"
#include "app/treechannellist.h"
#include "catalogue/channelcatalogue.h"
#include "channelmodel/channelmodel.h"
#include "platform/inifile.h"
#include "playback/surfing.h"
#include "player/mediaplayer.h"
#include "player/zapcard.h"
#include "watching/watchsession.h"
#include "widgets/editline.h"
#include "widgets/errorbox.h"

#include <QDateTime>
#include <QSignalBlocker>

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
        const QModelIndex node = TreeView1->Selected();
        // Only a channel plays; a category changes nothing.
        if (!ChannelModel::IsChannel(node))
            return;
        // A favourite whose channel is gone has nothing to play.
        if (FavouritesView::IsGone(node))
            return;
        const ChannelCatalogue catalogue(CatalogueFile());
        if (MediaPlayer1->isHidden())
            MediaPlayer1->show();
        const QString name = ChannelModel::NameOf(node);
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
        // A provider's channel gets its account's password only here, on its way to the player.
        const auto opened = [this](const std::string& kept) {
            return Playlists1 ? Playlists1->OpenedAddress(QString::fromLocal8Bit(kept)) : QString::fromLocal8Bit(kept);
        };
        // An account that takes one stream at a time gets no second one: nothing opened ahead or
        // beside it, and the stream before ends before its own opens.
        const auto single = [this](const std::string& kept) {
            return Playlists1 && Playlists1->SingleConnection(QString::fromLocal8Bit(kept));
        };
        const bool alone = single(address);
        if (alone)
            MediaPlayer1->Surf().Stop();
        MediaPlayer1->SetURL(opened(address), optionsOf(name));
        watchedRecorded_.clear();
        // A step to the neighbouring channel may be surfing: the player is told the one after.
        const WatchSession::Step step = session_->Played(TreeChannelList::RefOf(node));
        const QString after = step.after.name;
        const std::string afterAddress =
            after.isEmpty() ? std::string() : catalogue.StreamAddress(after.toLocal8Bit().toStdString());
        if (!alone)
            MediaPlayer1->Zapped(step.direction,
                                 afterAddress.empty() || single(afterAddress) ? QString() : opened(afterAddress),
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
        Favourites1->Watched(channel, Playlists1 ? Playlists1->KeptAddress(MediaPlayer1->URL()) : MediaPlayer1->URL());
    });
}

void Form1::ToggleFavourite()
{
    RunHandler([this] {
        const QModelIndex node = TreeView1->Selected();
        const QString name = ChannelModel::IsChannel(node) ? ChannelModel::NameOf(node) : session_->Playing().name;
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
            const QString url = Playlists1 ? Playlists1->KeptAddress(MediaPlayer1->URL()) : MediaPlayer1->URL();
            const std::string address = url.toLocal8Bit().toStdString();
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
        } else if (TreeView1->Selected().isValid()) {
            return;
        }
        // The refill took the tree's selection away: the channel playing is shown chosen again,
        // without being opened anew.
        const QSignalBlocker quiet(TreeView1);
        if (const QModelIndex node = TreeView1->Channels().FindChannel(now.category, now.name); node.isValid()) {
            TreeView1->setCurrentIndex(node);
            TreeView1->scrollTo(node);
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
