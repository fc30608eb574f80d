#include "app/playlistmanager.h"

#include "app/addplaylistdialog.h"
#include "app/channeltreeview.h"
#include "app/playlistworker.h"
#include "app/provideraccounts.h"
#include "base/exception.h"
#include "base/redactedaddress.h"
#include "channelmodel/channelmodel.h"
#include "import/playlistsources.h"
#include "userdata/viewerdatabase.h"

#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextDocumentFragment>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace quorvel {
namespace {

// The target of a status line's link to its details, the details following percent-encoded.
const QString kDetailsLink = QStringLiteral("details:");

// A dropped playlist: a file, or an http(s) address dragged as a link or as text.
QString DroppedLocation(const QMimeData* mime)
{
    if (!mime)
        return {};
    if (mime->hasUrls()) {
        for (const QUrl& url : mime->urls()) {
            if (url.isLocalFile())
                return url.toLocalFile();
            const QString scheme = url.scheme().toLower();
            if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
                return url.toString();
        }
    }
    if (mime->hasText()) {
        const QString text = mime->text().trimmed();
        const QUrl url(text, QUrl::StrictMode);
        const QString scheme = url.scheme().toLower();
        if (url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")))
            return text;
    }
    return {};
}

} // namespace

PlaylistManager::PlaylistManager(QWidget* window, ChannelTreeView* tree, std::string catalogueFile)
    : QObject(window), window_(window), tree_(tree), catalogue_(std::move(catalogueFile)),
      status_(new QLabel(tree->parentWidget())), hide_(new QTimer(this)), thread_(new QThread(this))
{
    status_->setObjectName(QStringLiteral("PlaylistStatus"));
    status_->setWordWrap(true);
    status_->setAutoFillBackground(true);
    status_->setStyleSheet(QStringLiteral(
        "QLabel { background: #ffffe1; color: black; border-top: 1px solid #808080; padding: 1px 3px; }"));
    status_->hide();
    connect(status_, &QLabel::linkActivated, this, [this](const QString& link) {
        if (link != QLatin1String("skipped")) {
            ShowDetails(link);
            return;
        }
        QMessageBox box(QMessageBox::Information, tr("Entries skipped"), status_->toolTip(), QMessageBox::Ok, window_);
        box.setDetailedText(details_);
        box.exec();
    });
    hide_->setSingleShot(true);
    connect(hide_, &QTimer::timeout, status_, &QWidget::hide);
    tree_->installEventFilter(this);

    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tree_, &QWidget::customContextMenuRequested, this, &PlaylistManager::ShowMenu);
    window_->setAcceptDrops(true);
    window_->installEventFilter(this);
    tree_->viewport()->setAcceptDrops(true);
    tree_->viewport()->installEventFilter(this);

    // The worker's reports come back through this thread's event loop.
    PlaylistWorker::Report report;
    report.progress = [this](const QString& text) {
        QMetaObject::invokeMethod(
            this, [this, text] { Say(text, 0); }, Qt::QueuedConnection);
    };
    report.finished = [this](const PlaylistWorker::Outcome& o) {
        QMetaObject::invokeMethod(
            this,
            [this, o] {
                // Accounts read well keep their passwords first; the notice of one about to
                // expire goes with the summary.
                QString summary = o.summary;
                for (const auto& a : o.accounts)
                    if (ViewerDatabase* db = Database())
                        if (const QString said = accounts_->Read(*db, a.login, a.sourceId, a.info); !said.isEmpty())
                            summary = said + QLatin1Char('\n') + summary;
                Finished(summary, o.failed, o.tree, o.details);
            },
            Qt::QueuedConnection);
    };
    report.notice = [this](const QString& text) {
        QMetaObject::invokeMethod(
            this,
            [this, text] {
                if (noticeShown_)
                    return;
                noticeShown_ = true;
                Say(text, 20000);
            },
            Qt::QueuedConnection);
    };
    accounts_ = std::make_unique<ProviderAccounts>(window_);
    worker_ = new PlaylistWorker(catalogue_, report, &cancel_);
    worker_->SetPasswords(accounts_->Book());
    worker_->moveToThread(thread_);
    thread_->setObjectName(QStringLiteral("Playlists"));
    thread_->start();
}

PlaylistManager::~PlaylistManager()
{
    // A download or a merge under way ends soon; the worker goes on its own thread.
    cancel_ = true;
    QMetaObject::invokeMethod(
        worker_, [w = worker_] { delete w; }, Qt::QueuedConnection);
    thread_->quit();
    thread_->wait();
}

void PlaylistManager::Start()
{
    // A change of the catalogue cut short is completed or undone before anything else.
    Post([](PlaylistWorker& w) { w.Repair(); });
    // Provider accounts' passwords, before their channels are opened or refreshed.
    if (QFileInfo::exists(QString::fromStdString(ViewerDatabase::FileBeside(catalogue_))))
        if (ViewerDatabase* db = Database())
            if (const QStringList notices = accounts_->Load(*db); !notices.isEmpty())
                Say(notices.join(QLatin1Char('\n')), 20000);
    // After the window is up: the start is not slowed by it.
    QTimer::singleShot(1500, this, [this] { Post([](PlaylistWorker& w) { w.Refresh(kStaleAfterSeconds); }); });
}

void PlaylistManager::Post(const std::function<void(PlaylistWorker&)>& job)
{
    ++pending_;
    QMetaObject::invokeMethod(
        worker_, [w = worker_, job] { job(*w); }, Qt::QueuedConnection);
}

void PlaylistManager::AddPlaylist(const QString& location)
{
    AddPlaylistDialog dialog(window_, location, [this](const QString& where) {
        try {
            if (!Database())
                return false;
            const std::string normalized = PlaylistSources::Normalized(where).toStdString();
            const auto guides = Database()->GuideSources();
            return Database()->FindSource(normalized).has_value() ||
                   std::find(guides.begin(), guides.end(), normalized) != guides.end();
        } catch (const Exception&) {
            return false;
        }
    });
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (const auto login = dialog.Login()) {
        AddAccount(*login);
        return;
    }
    Add(dialog.Location(), dialog.Kind());
}

void PlaylistManager::AddAccount(const ProviderLogin& login)
{
    Say(QStringLiteral("Asking the provider for the account of %1...").arg(login.User()), 0);
    Post([login](PlaylistWorker& w) { w.AddAccount(login); });
}

QString PlaylistManager::OpenedAddress(const QString& kept) const { return accounts_->Book()->Opened(kept); }

QString PlaylistManager::KeptAddress(const QString& opened) const { return accounts_->Book()->Kept(opened); }

bool PlaylistManager::SingleConnection(const QString& address) const
{
    return accounts_->Book()->SingleConnection(address);
}

void PlaylistManager::Add(const QString& location, SourceKind kind)
{
    Say(QStringLiteral("Reading %1...").arg(location), 0);
    Post([location, kind](PlaylistWorker& w) { w.Add(location, kind); });
}

void PlaylistManager::RefreshPlaylists()
{
    Say(QStringLiteral("Refreshing playlists..."), 0);
    Post([](PlaylistWorker& w) { w.Refresh(-1); });
}

void PlaylistManager::RemovePlaylist()
{
    std::vector<SourceRecord> sources;
    std::vector<std::string> guides;
    try {
        if (ViewerDatabase* db = Database()) {
            sources = db->Sources();
            guides = db->GuideSources();
        }
    } catch (const Exception& e) {
        Say(QString::fromStdString(e.Message()), 10000);
        return;
    }
    if (sources.empty() && guides.empty()) {
        Say(QStringLiteral("No playlists were added: there is nothing to remove."), 6000);
        return;
    }
    // Shown without the user names and passwords in them; two that read alike then are told
    // apart by their place.
    QStringList items;
    const auto add = [&items](const QString& shown) {
        QString item = shown;
        for (int n = 2; items.contains(item); ++n)
            item = QStringLiteral("%1 (%2)").arg(shown).arg(n);
        items << item;
    };
    for (const auto& s : sources)
        add(QString::fromStdString(RedactedAddress(s.location)));
    // The guides the viewer added come after the playlists, named as such.
    const QString guideMark = QStringLiteral("Programme guide: ");
    for (const auto& g : guides)
        add(guideMark + QString::fromStdString(RedactedAddress(g)));
    bool ok = false;
    const QString chosen = QInputDialog::getItem(
        window_, QStringLiteral("Remove playlist"),
        QStringLiteral("The playlist and the channels it added go (a programme guide is no longer read):"), items, 0,
        false, &ok);
    if (!ok)
        return;
    const auto at = items.indexOf(chosen);
    if (at < 0)
        return;
    if (static_cast<std::size_t>(at) >= sources.size()) {
        const QString guide = QString::fromStdString(guides[static_cast<std::size_t>(at) - sources.size()]);
        Say(QStringLiteral("Removing %1...").arg(items[at]), 0);
        Post([guide](PlaylistWorker& w) { w.RemoveGuide(guide); });
        return;
    }
    const long long id = sources[static_cast<std::size_t>(at)].id;
    if (const QString location = QString::fromStdString(sources[static_cast<std::size_t>(at)].location);
        ProviderLogin::FromLocation(location))
        accounts_->Forget(location);
    Say(QStringLiteral("Removing %1...").arg(chosen), 0);
    Post([id](PlaylistWorker& w) { w.Remove(id); });
}

RequestOptions PlaylistManager::RequestOptionsFor(const QString& channel)
{
    try {
        if (ViewerDatabase* db = Database())
            return db->RequestOptionsOf(channel.toStdString());
    } catch (const Exception&) {
        // A channel plays without them rather than not at all.
    }
    return {};
}

ViewerDatabase* PlaylistManager::Database()
{
    if (!db_) {
        try {
            db_ = std::make_unique<ViewerDatabase>(ViewerDatabase::FileBeside(catalogue_));
        } catch (const std::exception&) {
            return nullptr;
        }
        if (!db_->Notice().empty() && !noticeShown_) {
            noticeShown_ = true;
            Say(QString::fromStdString(db_->Notice()), 20000);
        }
    }
    return db_.get();
}

void PlaylistManager::Finished(const QString& summary, bool failed, const std::shared_ptr<const ChannelTree>& tree,
                               const QString& details)
{
    --pending_;
    if (tree)
        ShowTree(tree);
    if (summary.isEmpty()) {
        if (pending_ == 0 && !status_->isHidden() && !hide_->isActive())
            status_->hide();
    } else if (!details.isEmpty()) {
        SayWithDetails(summary, details, 20000);
    } else {
        Say(summary, failed ? 20000 : 10000);
    }
    // A read that did anything may have brought new guide addresses or channels.
    if ((tree || !summary.isEmpty()) && sourcesRead_)
        sourcesRead_();
}

QString PlaylistManager::WithDetails(const QString& line, const QString& details)
{
    return QStringLiteral("%1 \u2014 <a href=\"%2%3\">details</a>")
        .arg(line.toHtmlEscaped(), kDetailsLink, QString::fromLatin1(QUrl::toPercentEncoding(details)));
}

void PlaylistManager::ShowDetails(const QString& link)
{
    if (!link.startsWith(kDetailsLink))
        return;
    const QString details = QUrl::fromPercentEncoding(link.mid(kDetailsLink.size()).toLatin1());
    // One window of details at a time, the latest in it.
    auto* box = window_->findChild<QDialog*>(QStringLiteral("StatusDetails"));
    if (!box) {
        box = new QDialog(window_);
        box->setObjectName(QStringLiteral("StatusDetails"));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowTitle(QStringLiteral("Programme guides not read"));
        box->resize(640, 360);
        auto* layout = new QVBoxLayout(box);
        auto* where =
            new QLabel(QStringLiteral("The guides below keep what was read before. \"Remove playlist\u2026\" in "
                                      "the channel list's menu takes away a guide you added; a playlist's own "
                                      "guides go with the playlist."),
                       box);
        where->setWordWrap(true);
        layout->addWidget(where);
        auto* text = new QPlainTextEdit(box);
        text->setObjectName(QStringLiteral("Details"));
        text->setReadOnly(true);
        text->setLineWrapMode(QPlainTextEdit::NoWrap);
        layout->addWidget(text, 1);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, box);
        connect(buttons, &QDialogButtonBox::rejected, box, &QDialog::close);
        layout->addWidget(buttons);
    }
    box->findChild<QPlainTextEdit*>(QStringLiteral("Details"))->setPlainText(details);
    box->show();
    box->raise();
    box->activateWindow();
}

void PlaylistManager::SayWithDetails(const QString& summary, const QString& details, int milliseconds)
{
    Say(summary, milliseconds);
    details_ = details;
    status_->setTextFormat(Qt::RichText);
    status_->setText(QString::fromStdString(RedactedAddress(summary.toStdString()))
                         .toHtmlEscaped()
                         .replace(QLatin1Char('\n'), QLatin1String("<br>")) +
                     QStringLiteral(" <a href=\"skipped\">Which?</a>"));
}

void PlaylistManager::Say(const QString& shown, int milliseconds)
{
    // Whatever the line quotes of an address, its user name and password stay out of sight.
    const QString text = QString::fromStdString(RedactedAddress(shown.toStdString()));
    // A line with a link to its details is rich text, and its tip the line alone.
    const bool linked = text.contains(QStringLiteral("href=\"") + kDetailsLink);
    status_->setTextFormat(linked ? Qt::RichText : Qt::PlainText);
    status_->setText(text);
    status_->setToolTip(
        linked ? QTextDocumentFragment::fromHtml(text.left(text.indexOf(QStringLiteral(" \u2014 <a")))).toPlainText()
               : text);
    PlaceStatus();
    status_->show();
    status_->raise();
    if (milliseconds > 0)
        hide_->start(milliseconds);
    else
        hide_->stop();
}

void PlaylistManager::PlaceStatus()
{
    const int width = tree_->width();
    const int height = std::min(status_->heightForWidth(width), tree_->height() / 2);
    status_->setGeometry(tree_->x(), tree_->y() + tree_->height() - height, width, height);
}

void PlaylistManager::ShowTree(const std::shared_ptr<const ChannelTree>& catalogue)
{
    // What the viewer had: the open categories, the selected channel (often the playing one).
    struct Place {
        QString category;
        int categoryIndex = -1;
        QString channel;
    } selected;
    ChannelModel& model = tree_->Channels();
    QStringList open;
    for (int i = 0; i < model.CategoryCount(); ++i)
        if (tree_->isExpanded(model.Category(i)))
            open << model.CategoryTitle(i);
    if (const QModelIndex item = tree_->currentIndex(); item.isValid()) {
        const QModelIndex category = item.parent().isValid() ? item.parent() : item;
        selected.category = ChannelModel::NameOf(category);
        selected.categoryIndex = category.row();
        selected.channel = item.parent().isValid() ? ChannelModel::NameOf(item) : QString();
    }
    const int scroll = tree_->verticalScrollBar() ? tree_->verticalScrollBar()->value() : 0;

    // Nothing of this is a choice of the viewer's: no channel starts or stops playing.
    const QSignalBlocker block(tree_);
    tree_->setUpdatesEnabled(false);
    model.Clear();
    model.SetCatalogue(catalogue);
    if (refilled_)
        refilled_();
    QModelIndex again;
    for (int i = 0; i < model.CategoryCount(); ++i) {
        const QModelIndex category = model.Category(i);
        if (open.contains(model.CategoryTitle(i))) {
            model.MakeChannels(category);
            tree_->expand(category);
        }
        if (!again.isValid() && model.CategoryTitle(i) == selected.category) {
            again = category;
            if (!selected.channel.isEmpty()) {
                again = QModelIndex(); // unless its channel is still there
                const int count = model.ChannelCount(i);
                for (int c = 0; c < count; ++c)
                    if (model.ChannelName(i, c) == selected.channel) {
                        again = model.Channel(i, c);
                        break;
                    }
            }
        }
    }
    if (again.isValid()) {
        tree_->setCurrentIndex(again);
        tree_->selectionModel()->select(again, QItemSelectionModel::Select);
    }
    tree_->verticalScrollBar()->setValue(scroll);
    tree_->setUpdatesEnabled(true);
}

void PlaylistManager::AddMenuEntry(const QString& text, std::function<void()> action)
{
    extraEntries_.emplace_back(text, std::move(action));
}

void PlaylistManager::ShowMenu(const QPoint& at)
{
    QMenu menu(tree_);
    menu.setObjectName(QStringLiteral("PlaylistMenu"));
    if (extendMenu_)
        extendMenu_(menu, tree_->indexAt(at));
    menu.addAction(QStringLiteral("Add playlist or guide…"), this, [this] { AddPlaylist(); });
    menu.addAction(QStringLiteral("Refresh playlists"), this, &PlaylistManager::RefreshPlaylists);
    menu.addAction(QStringLiteral("Remove playlist…"), this, &PlaylistManager::RemovePlaylist);
    if (!extraEntries_.empty()) {
        menu.addSeparator();
        for (const auto& [text, action] : extraEntries_)
            menu.addAction(text, this, action);
    }
    menu.exec(tree_->viewport()->mapToGlobal(at));
}

bool PlaylistManager::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Move:
        if (watched == tree_ && status_->isVisible())
            PlaceStatus();
        break;
    case QEvent::DragEnter:
    case QEvent::DragMove:
        if (watched != tree_) {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (!DroppedLocation(drag->mimeData()).isEmpty()) {
                drag->acceptProposedAction();
                return true;
            }
        }
        break;
    case QEvent::Drop:
        if (watched != tree_) {
            auto* drop = static_cast<QDropEvent*>(event);
            const QString location = DroppedLocation(drop->mimeData());
            if (!location.isEmpty()) {
                drop->acceptProposedAction();
                // The dialog opens after the drop has ended: the source program is not held.
                QTimer::singleShot(0, this, [this, location] { AddPlaylist(location); });
                return true;
            }
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quorvel
