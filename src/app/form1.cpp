#include "app/form1.h"

#include "app/appfonts.h"
#include "app/appicons.h"
#include "app/archiveplayer.h"
#include "app/channellogos.h"
#include "app/channeltreeview.h"
#include "app/channelzapper.h"
#include "app/favouritesview.h"
#include "app/findbox.h"
#include "app/gonefavourite.h"
#include "app/guidelist.h"
#include "app/guidemanager.h"
#include "app/guidepage.h"
#include "app/keyshelp.h"
#include "app/mediaplayercontrol.h"
#include "app/openfailurebox.h"
#include "app/playlistmanager.h"
#include "app/recordingsettings.h"
#include "app/rememberedsettings.h"
#include "app/storedskin.h"
#include "app/treechannellist.h"
#include "app/treelogodelegate.h"
#include "app/treemenuclick.h"
#include "app/treetooltips.h"
#include "catalogue/channelcatalogue.h"
#include "catalogue/channeltree.h"
#include "channelmodel/channelmodel.h"
#include "guidegrid/guidegrid.h"
#include "platform/datafolders.h"
#include "platform/hotkeyservice.h"
#include "platform/inifile.h"
#include "platform/shellopen.h"
#include "platform/tempdir.h"
#include "platform/windowhints.h"
#include "playback/playersession.h"
#include "playback/playersettings.h"
#include "player/mediaplayer.h"
#include "player/zapcard.h"
#include "skin/controls/skinpagecontrol.h"
#include "skin/controls/skinpanel.h"
#include "skin/controls/skintabsheet.h"
#include "skin/data/skindata.h"
#include "skin/form/skinform.h"
#include "skin/store/compressedstoredskin.h"
#include "sponsor/adlist.h"
#include "sponsor/pageaddress.h"
#include "userdata/viewerdatabase.h"
#include "watching/watchsession.h"
#include "webhost/webpane.h"
#include "widgets/alignment.h"
#include "widgets/editline.h"
#include "widgets/errorbox.h"
#include "widgets/plainpanel.h"
#include "widgets/windowprocfilter.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QFrame>
#include <QHeaderView>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <utility>

namespace quorvel {

std::string ExeDir;
int HotKeyId = 0;

namespace {

constexpr int kClientWidth = 712;
constexpr int kClientHeight = 446;

// A regular file of that name exists (a folder or a dangling link does not count).
bool FileExists(const std::string& name)
{
    struct stat st;
    return ::stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

QFont Tahoma11()
{
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(11);
    return f;
}

} // namespace

Form1::Form1(const std::string& programDir, const QString& audioOutput, QWidget* parent)
    : Form1(DataFolders::Beside(programDir), audioOutput, parent)
{
}

Form1::Form1(const DataFolders& folders, const QString& audioOutput, QWidget* parent)
    : QWidget(parent), pagesDir_(folders.pagesDir), dataDir_(folders.dataDir), hotKeys_(CreateHotKeyService())
{
    // The viewer's database is first opened halfway through building the window; its driver
    // loads meanwhile, beside the skin and the web panes.
    ViewerDatabase::LoadDriverAhead();
    setWindowTitle(QString::fromUtf8(Title));
    setObjectName(QStringLiteral("Form1"));
    InstallTahoma();
    setFont(Tahoma11());
    // An ad or a link that no browser could open is told, with its address to copy.
    SetShellOpenFailureHandler([this](const QString& address) { ShowOpenFailure(this, address); });
    CreateComponents(audioOutput);
    // The window is as big as its client area and the frame around it.
    SkinForm1->SetFormClientSize(QSize(kClientWidth, kClientHeight));
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormCreate();
    if (MediaPlayer1)
        ApplyRecordingSettings(*MediaPlayer1, CatalogueFile());
    Remembered1 = new RememberedSettings(
        {*this, *SkinForm1, *TreeView1, *session_, [this] { return MediaPlayer1 && MediaPlayer1->IsFullScreen(); }},
        CatalogueFile());
    Remembered1->Restore();
}

Form1::~Form1()
{
    // The controls die later, in the widget base, when this object is no longer a Form1: their
    // last events and signals (a ticker losing focus, a tree losing its selection) must not
    // reach handlers of a window that is gone.
    SetShellOpenFailureHandler(nullptr);
    delete Remembered1;
    Remembered1 = nullptr;
    delete SavedEdit1WindowProc;
    SavedEdit1WindowProc = nullptr;
    // The frame lets go of the window before the controls go.
    delete SkinForm1;
    SkinForm1 = nullptr;
    for (QObject* child : findChildren<QObject*>())
        QObject::disconnect(child, nullptr, this, nullptr);
    if (hotKeys_)
        QObject::disconnect(hotKeys_.get(), nullptr, this, nullptr);
}

void Form1::CreateComponents(const QString& audioOutput)
{
    ImageList1 = QIcon(ChannelNodeImage());

    // The frame comes first: the controls live in its client area.
    SkinForm1 = new SkinForm(this);
    SkinForm1->setObjectName(QStringLiteral("SkinForm1"));
    SkinForm1->SetBorderIcons(BorderIcons{false, true, true, true, false});
    QWidget* client = SkinForm1->ClientArea();

    // The skin travels inside the program and is built while the window is made.
    CompressedStoredSkin1 = new CompressedStoredSkin(this);
    CompressedStoredSkin1->SetFileName("skin.ini");
    CompressedStoredSkin1->SetCompressedData(StoredSkinData());
    SkinData1 = new SkinData(this);
    RunHandler([this] { SkinData1->SetCompressedStoredSkin(CompressedStoredSkin1); });
    SkinForm1->SetSkinData(SkinData1);

    Timer1 = new QTimer(this);
    Timer1->setInterval(6000);
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1Timer);
    Timer1->start();
    connect(hotKeys_.get(), &HotKeyService::hotKey, this,
            [this](QWidget* window, int, unsigned modifiers, unsigned key) {
                if (window == this)
                    FormHotKey(modifiers, key);
            });

    Panel2 = new PlainPanel(client);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->resize(201, kClientHeight);
    SetAlign(Panel2, Align::Right);

    // Wider than its panel by one pixel: the leftmost column lies outside and is clipped.
    SkinPageControl1 = new SkinPageControl(Panel2);
    SkinPageControl1->setObjectName(QStringLiteral("SkinPageControl1"));
    SkinPageControl1->resize(202, kClientHeight);
    SetAlign(SkinPageControl1, Align::Right);
    SkinPageControl1->SetSkinData(SkinData1);
    SkinTabSheet1 = SkinPageControl1->AddPage(QStringLiteral("Web TV"));
    SkinTabSheet1->setObjectName(QStringLiteral("SkinTabSheet1"));
    SkinTabSheet2 = SkinPageControl1->AddPage(QStringLiteral("Sponsored Links"));
    SkinTabSheet2->setObjectName(QStringLiteral("SkinTabSheet2"));
    connect(SkinTabSheet2, &SkinTabSheet::shown, this, &Form1::SkinTabSheet2Show);
    SkinTabSheet3 = SkinPageControl1->AddPage(QStringLiteral("Guide"));
    SkinTabSheet3->setObjectName(QStringLiteral("SkinTabSheet3"));

    TreeView1 = new ChannelTreeView(new ChannelModel(QVariant(ImageList1)), SkinTabSheet1);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setGeometry(1, 1, 198, 421);
    AnchorAllSides(TreeView1, QMargins(1, 1, 1, 1));
    TreeView1->setFrameShape(QFrame::NoFrame);
    TreeView1->setHeaderHidden(true);
    TreeView1->setIndentation(19);
    TreeView1->setRootIsDecorated(true);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeView1->setIconSize(QSize(16, 16));
    TreeView1->setUniformRowHeights(true);
    connect(TreeView1, &ChannelTreeView::itemSelectionChanged, this, &Form1::TreeView1Change);
    new TreeMenuClick(TreeView1);
    // A gone favourite plays nothing: a click on it says why and offers to remove it.
    connect(TreeView1, &QAbstractItemView::clicked, this, [this](const QModelIndex& item) {
        if (!FavouritesView::IsGone(item) || !Favourites1)
            return;
        const QString channel = ChannelModel::NameOf(item);
        OfferToRemoveGoneFavourite(this, channel, [this, channel] {
            if (Favourites1 && Favourites1->IsFavourite(channel))
                Favourites1->Toggle(channel, {});
        });
    });
    auto* treeTips = new TreeToolTips(TreeView1);
    FindBox1 = new FindBox(TreeView1, ImageList1);
    FindBox1->SetReveal([this] { SkinPageControl1->SetActivePage(SkinTabSheet1); });
    Playlists1 = new PlaylistManager(this, TreeView1, CatalogueFile());
    Playlists1->AddMenuEntry(tr("Keys…"), [this] { ShowKeysHelp(this); });
    auto* keysHelp = new QShortcut(QKeySequence(Qt::Key_F1), this);
    keysHelp->setContext(Qt::WindowShortcut);
    connect(keysHelp, &QShortcut::activated, this, [this] { ShowKeysHelp(this); });
    Playlists1->setObjectName(QStringLiteral("Playlists1"));
    Guide1 = new GuideManager(
        CatalogueFile(), [this](const QString& why) { Playlists1->Say(why, 20000); }, this);
    Guide1->setObjectName(QStringLiteral("Guide1"));
    Logos1 = new ChannelLogos(CatalogueFile(), this);
    TreeView1->setItemDelegate(new TreeLogoDelegate(TreeView1, *Logos1));
    connect(Logos1, &ChannelLogos::changed, this, &Form1::ShowZapLogo);
    Playlists1->OnSourcesRead([this] {
        Logos1->Reload();
        // A read may renumber channels without changing the tree.
        if (zapper_)
            zapper_->Invalidate();
        if (Grid1)
            Grid1->SourcesChanged();
        Guide1->ReadGuides();
    });
    treeTips->SetGuide([this](const QString& channel) { return GuideManager::Lines(Guide1->Now(channel)); });
    GuideList1 = InstallGuideList(SkinPageControl1, SkinTabSheet1, SkinTabSheet3, TreeView1, Guide1, Playlists1);
    Favourites1 = new FavouritesView(TreeView1, CatalogueFile());
    Favourites1->setObjectName(QStringLiteral("Favourites1"));
    zapper_ = std::make_unique<ChannelZapper>(CatalogueFile());
    Playlists1->SetRefilled([this] {
        zapper_->Invalidate();
        Favourites1->Show();
        FollowRenamedChannel();
    });
    Playlists1->SetMenuExtension([this](QMenu& menu, const QModelIndex& at) { Favourites1->AddMenuActions(menu, at); });
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_D), this, nullptr, nullptr, Qt::WindowShortcut),
            &QShortcut::activated, this, &Form1::ToggleFavourite);

    WebPane1 = new WebPane(SkinTabSheet2);
    WebPane1->setObjectName(QStringLiteral("WebPane1"));
    WebPane1->setGeometry(1, 1, 198, 420);
    // Anchored as the tree beside it is, so a maximized window has no grey block below the page;
    // at the window's first size it keeps its place and size, a pixel past the page's far edges.
    AnchorAllSides(WebPane1, QMargins(1, 1, -1, -1));
    WebPane1->Policy().RefusedCtrlKeys = QStringLiteral("N");

    Splitter1 = new QFrame(client);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->hide();

    SkinPanel1 = new SkinPanel(client);
    SkinPanel1->setObjectName(QStringLiteral("SkinPanel1"));
    SetAlign(SkinPanel1, Align::Client);
    SkinPanel1->SetSkinData(SkinData1);
    connect(SkinPanel1, &SkinPanel::resized, this, &Form1::SkinPanel1Resize);

    WebPane2 = new WebPane(SkinPanel1);
    WebPane2->setObjectName(QStringLiteral("WebPane2"));
    WebPane2->Policy().RefusedCtrlKeys = QStringLiteral("N");
    SetAlign(WebPane2, Align::Client);

    MediaPlayer1 = new MediaPlayer(SkinPanel1, audioOutput);
    MediaPlayer1->setObjectName(QStringLiteral("MediaPlayer1"));
    SetAlign(MediaPlayer1, Align::Client);
    MediaPlayer1->hide();

    Edit1 = new EditLine(SkinPanel1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->resize(120, 15);
    Edit1->setFrame(false);
    Edit1->setReadOnly(true);
    Edit1->setLayoutDirection(Qt::LeftToRight);
    Edit1->setFont(Tahoma11());
    // Qt's line edit keeps two pixels at each side and one for the caret; the ticker reads like a
    // label and its titles are measured for all of its 120 pixels.
    Edit1->setTextMargins(-2, 0, -3, 0);
    Edit1->setStyleSheet(QStringLiteral("QLineEdit { background: black; color: #00ff00; border: none; padding: 0; }"));
    Edit1->setCursor(Qt::PointingHandCursor);
    // The ticker is shown over the video, which is a native window: so is the ticker.
    Edit1->setAttribute(Qt::WA_NativeWindow);
    Edit1->hide();
    connect(Edit1, &EditLine::clicked, this, &Form1::Edit1Click);
    // The player comes back from full screen as a native window of its own, which may land above
    // the ticker's: the ticker goes back on top of it, showing its title.
    connect(MediaPlayer1, &MediaPlayer::fullScreenChanged, this, [this](bool on) {
        if (on || !Playing)
            return;
        Edit1->show();
        // Qt keeps the ticker last among its siblings already, so a plain raise would change
        // nothing; the window system is asked directly.
        Edit1->raise();
        if (QWindow* ticker = Edit1->windowHandle())
            ticker->raise();
    });
    // Backspace over the video or the tree only: in a text line or a page it edits as always.
    for (QWidget* over : {static_cast<QWidget*>(MediaPlayer1), static_cast<QWidget*>(TreeView1)})
        connect(new QShortcut(QKeySequence(Qt::Key_Backspace), over, nullptr, nullptr, Qt::WidgetWithChildrenShortcut),
                &QShortcut::activated, this, &Form1::PreviousChannel);
    connect(MediaPlayer1, &MediaPlayer::channelNumberChosen, this, &Form1::ZapToNumber);
    connect(MediaPlayer1, &MediaPlayer::channelStepRequested, this, &Form1::ZapStep);
    connect(&MediaPlayer1->Session(), &PlayerSession::stateChanged, this, [this](PlayerSession::State state) {
        if (state == PlayerSession::State::Playing)
            ChannelShowed();
    });

    channelList_ = std::make_unique<TreeChannelList>(*TreeView1, [this] { TreeView1Change(); });
    playerControl_ = new MediaPlayerControl(MediaPlayer1, this);
    session_ = new WatchSession(*channelList_, *playerControl_, *zapper_, this);
    session_->SetWindowActions({[this] { BringBack(); }, [this] { close(); }});
    archive_ = new ArchivePlayer(MediaPlayer1, session_, Guide1, CatalogueFile(), this);
    GuideList1->SetArchive(
        [this](const QString& channel) { return archive_->ArchiveDays(channel); },
        [this](const QString& channel, const Programme& programme) { return archive_->Play(channel, programme); });
    Grid1 = new GuideGrid(CatalogueFile(), this);
    Grid1->SetChannelLook([this](const QString& c) { return zapper_->NumberOf(c); },
                          [this](const QString& c, int side) { return Logos1->Logo(c, side); });
    Grid1->SetArchiveDays([this](const QString& channel) { return archive_->ArchiveDays(channel); });
    connect(Grid1, &GuideGrid::playRequested, this, [this](const QString& category, const QString& channel) {
        RunHandler([&] { session_->Channels().Choose(session_->Channels().Find(category, channel)); });
    });
    // A past programme chosen in the grid plays as one chosen in the guide list does.
    connect(Grid1, &GuideGrid::archiveRequested, this,
            [this](const QString& channel, std::int64_t start, std::int64_t stop) {
                RunHandler([&] {
                    for (const Programme& p : Guide1->Between(channel, start, stop))
                        if (p.start == start) {
                            if (const QString told = archive_->Play(channel, p); !told.isEmpty())
                                MediaPlayer1->Say(told);
                            return;
                        }
                });
            });
    connect(session_, &WatchSession::changed, Grid1, [this] { Grid1->SetPlaying(session_->Playing().name); });
    connect(Guide1, &GuideManager::Changed, Grid1, &GuideGrid::GuideChanged);
    connect(Logos1, &ChannelLogos::changed, Grid1, &GuideGrid::LooksChanged);
    Playlists1->AddMenuEntry(tr("Guide…"), [this] { Grid1->Open(); });
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G), this, nullptr, nullptr, Qt::WindowShortcut),
            &QShortcut::activated, Grid1, &GuideGrid::Open);

    AlignChildren(client, client->rect());
    // The layout is read: the panes complete loading, the first one guarding the window's dialogs.
    WebPane1->Loaded();
    WebPane2->Loaded();
}

std::string Form1::CatalogueFile() const { return dataDir_ + ChannelCatalogue::FileName; }

std::string Form1::AdListFile() const { return TempDir + AdList::FileName; }

void Form1::FormCreate()
{
    RunHandler([this] {
        // 1. The user's temporary directory.
        TempDir = UserTempDir();
        // 2. A catalogue with the default categories, when there is none.
        const std::string catalogue = CatalogueFile();
        if (!FileExists(catalogue))
            ChannelCatalogue(catalogue).WriteDefaults();
        // 3. The channel tree, and the playlists it came from read again when they are old.
        Load(QStringLiteral("WebTV"));
        Logos1->Reload();
        Playlists1->Start();
        Guide1->Start();
        // 4. An ad list with the default ads, when there is none.
        if (!FileExists(AdListFile()))
            AdList(AdListFile()).WriteDefaults();
        // 5. The folder of the pages: beside the program, or where they were installed.
        ExeDir = pagesDir_;
        // 6. The start page under the player.
        WebPane2->Navigate(LocalPageAddress(ExeDir, "TVAPI.dat"), 0);
        // 7. The hand cursor: Qt's pointing-hand cursor already is the desktop theme's hand,
        // the one Edit1 shows, so there is no other cursor to put in its place.
        // 8. The ticker's focus filter.
        SavedEdit1WindowProc = new WindowProcFilter(Edit1, [this](QEvent* e) { Edit1WindowProc(e); });
        // 9. The boss key. Where the desktop keeps it from this program (another program holds
        // Home, or a Wayland desktop gives it to none), the program runs on and says so once, with
        // what still works; Home then works while the window has the focus.
        HotKeyId = hotKeys_->GlobalAddAtom("MyHotKey") - 0xC000;
        const auto told = std::make_shared<bool>(false);
        const auto limited = [this, told] {
            if (std::exchange(*told, true))
                return;
            connect(new QShortcut(QKeySequence(Qt::Key_Home), this, nullptr, nullptr, Qt::WindowShortcut),
                    &QShortcut::activated, this, [this] { FormHotKey(0, HotKeyService::VK_HOME); });
            const QString why = tr("The Home key cannot hide this window from other programs on this desktop. While "
                                   "the window has the focus Home still hides it, unless another program holds that "
                                   "key; the media keys still play, pause and stop from anywhere, and the desktop's "
                                   "media controls bring the window back.");
            std::fprintf(stderr, "quorvel: %s\n", why.toLocal8Bit().constData());
            Playlists1->Say(why, 30000);
        };
        connect(hotKeys_.get(), &HotKeyService::notWholeDesktop, this, [this, limited](QWidget* window) {
            if (window == this)
                limited();
        });
        if (!hotKeys_->RegisterHotKey(this, HotKeyId, 0, HotKeyService::VK_HOME))
            limited();
    });
}

void Form1::Load(const QString& catalogueName)
{
    if (catalogueName != QLatin1String("WebTV"))
        return;
    ChannelTreeView* tree = nullptr;
    for (auto* candidate : findChildren<ChannelTreeView*>())
        if (candidate->objectName().compare(QLatin1String("Treeview1"), Qt::CaseInsensitive) == 0)
            tree = candidate;
    if (!tree)
        return;
    tree->Channels().SetCatalogue(std::make_shared<const ChannelTree>(ChannelTree::Read(CatalogueFile())));
    if (zapper_)
        zapper_->Invalidate();
    if (tree == TreeView1 && Favourites1)
        Favourites1->Show();
}

void Form1::FormResize()
{
    if (Playing && MediaPlayer1)
        MediaPlayer1->ShowRequest();
}

void Form1::SkinPanel1Resize()
{
    Edit1->move(SkinPanel1->width() - Edit1->width() - 80, SkinPanel1->height() - Edit1->height() - 48);
    // The player fills the panel; its cards keep clear of the ticker over it.
    if (MediaPlayer1)
        MediaPlayer1->KeepCardsClearOf(Edit1->size(), SkinPanel1->width() - Edit1->geometry().right() - 1,
                                       SkinPanel1->height() - Edit1->geometry().bottom() - 1);
    Panel2->repaint();
    if (Playing && MediaPlayer1)
        MediaPlayer1->ShowRequest();
}

void Form1::Timer1Timer()
{
    RunHandler([this] {
        const std::string next = AdList(AdListFile()).NextTitle(Edit1->text().toLocal8Bit().toStdString());
        // An empty list has nothing to show: the ticker keeps its text.
        if (!next.empty()) {
            Edit1->setText(QString::fromLocal8Bit(next));
            // A title wider than the ticker shows its beginning, not its end.
            Edit1->setCursorPosition(0);
        }
    });
}

void Form1::Edit1Click()
{
    RunHandler([this] {
        const QString address =
            QString::fromLocal8Bit(AdList(AdListFile()).Address(Edit1->text().toLocal8Bit().toStdString()));
        // Only a web address reaches the browser; anything else opens nothing.
        if (IsWebAddress(address))
            ShellOpen(address.trimmed());
    });
}

void Form1::Edit1WindowProc(QEvent* message)
{
    // The ticker never gets to know it has the focus, so it never shows a caret.
    if (message->type() == QEvent::FocusIn)
        return;
    SavedEdit1WindowProc->Saved(message);
    // Nor a selection, nor text scrolled by a click or a key: it reads like a label, from its start.
    if (Edit1->hasSelectedText())
        Edit1->deselect();
    if (Edit1->cursorPosition() != 0)
        Edit1->setCursorPosition(0);
}

void Form1::SkinTabSheet2Show()
{
    RunHandler([this] { WebPane1->Navigate(LocalPageAddress(ExeDir, "TVADS.dat"), 0); });
}

void Form1::FormHotKey(unsigned modifiers, unsigned virtualKey)
{
    RunHandler([this, modifiers, virtualKey] {
        if (modifiers != 0 || virtualKey != HotKeyService::VK_HOME)
            return;
        // A full-screen player covers this window, so it hides and comes back with it.
        if (isVisible()) {
            hide();
            // Hidden means silent, whatever the sound was; it comes back as it was.
            if (MediaPlayer1) {
                muteBeforeHiding_ = MediaPlayer1->Settings().Mute();
                MediaPlayer1->Settings().SetMute(true);
            }
            return;
        }
        BringBack();
    });
}

void Form1::BringBack()
{
    const bool wasHidden = !isVisible();
    // A window minimized by its caption button and restored by the window manager (as a
    // task bar does) would come back as an icon; it comes back on screen, in front.
    setWindowState(windowState() & ~Qt::WindowMinimized);
    ClearIconicStartHint(this);
    show();
    raise();
    activateWindow();
    if (wasHidden && MediaPlayer1)
        MediaPlayer1->Settings().SetMute(muteBeforeHiding_);
}

void Form1::FormClose()
{
    if (Remembered1)
        Remembered1->SaveNow();
    hotKeys_->UnregisterHotKey(this, HotKeyId);
    if (!MediaPlayer1)
        return;
    MediaPlayer1->CloseMedia();
    delete MediaPlayer1;
    // Nothing reaches the player any more, whatever arrives while the program ends.
    MediaPlayer1 = nullptr;
}

void Form1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void Form1::closeEvent(QCloseEvent* event)
{
    RunHandler([this] { FormClose(); });
    event->accept();
}

} // namespace quorvel
