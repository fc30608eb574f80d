#pragma once

#include "player/programmecard.h"
#include "userdata/guidestore.h"

#include <QIcon>
#include <QWidget>

#include <array>
#include <memory>
#include <string>

class QEvent;
class QFrame;
class QTimer;

namespace quorvel {

class ChannelLogos;
class ChannelTreeView;
class ChannelZapper;
class MediaPlayerControl;
class TreeChannelList;
class WatchSession;
class CompressedStoredSkin;
struct DataFolders;
class EditLine;
class FavouritesView;
class FindBox;
class ArchivePlayer;
class GuideGrid;
class GuideList;
class GuideManager;
class HotKeyService;
class MediaPlayer;
class PlaylistManager;
class RememberedSettings;
class WebPane;
class WindowProcFilter;
class PlainPanel;
class SkinPageControl;
class SkinData;
class SkinForm;
class SkinPanel;
class SkinTabSheet;

// Program-wide values of the main window's unit.
extern std::string ExeDir; // the folder of the pages with its trailing "/", set by FormCreate
extern int HotKeyId;       // the boss key's identifier

// The main window: video panel on the left, channel tree and sponsored links on the right.
class Form1 : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* Title = "Quorvel Online TV v1.12";

    // folders: where the pages are read and the catalogue kept. audioOutput: the player's
    // sound output (empty for the desktop's).
    explicit Form1(const DataFolders& folders, const QString& audioOutput = QString(), QWidget* parent = nullptr);
    // A portable program folder, with its trailing "/": pages and catalogue beside the program.
    explicit Form1(const std::string& programDir, const QString& audioOutput = QString(), QWidget* parent = nullptr);
    ~Form1() override;

    // The window's components, named as in its layout.
    PlainPanel* Panel2 = nullptr;
    QFrame* Splitter1 = nullptr;
    QIcon ImageList1;
    QTimer* Timer1 = nullptr;
    SkinForm* SkinForm1 = nullptr;
    SkinData* SkinData1 = nullptr;
    CompressedStoredSkin* CompressedStoredSkin1 = nullptr;
    SkinPageControl* SkinPageControl1 = nullptr;
    SkinTabSheet* SkinTabSheet1 = nullptr;
    SkinTabSheet* SkinTabSheet2 = nullptr;
    SkinTabSheet* SkinTabSheet3 = nullptr; // the programme guide of the channel chosen in the tree
    ChannelTreeView* TreeView1 = nullptr;  // a view on its ChannelModel (TreeView1->Channels())
    WebPane* WebPane1 = nullptr;
    SkinPanel* SkinPanel1 = nullptr;
    WebPane* WebPane2 = nullptr;
    MediaPlayer* MediaPlayer1 = nullptr;
    EditLine* Edit1 = nullptr;
    FindBox* FindBox1 = nullptr;               // finding a channel over the tree
    PlaylistManager* Playlists1 = nullptr;     // adding, refreshing and removing playlists
    GuideManager* Guide1 = nullptr;            // the programme guide: reading it, now and next
    FavouritesView* Favourites1 = nullptr;     // the viewer's favourites and recently watched channels
    GuideList* GuideList1 = nullptr;           // on SkinTabSheet3
    RememberedSettings* Remembered1 = nullptr; // the sound, the window and the tree as last left
    ChannelLogos* Logos1 = nullptr;            // the channels' logos, for the tree, the card and MPRIS
    GuideGrid* Grid1 = nullptr;                // the guide as a grid, a window of its own (Ctrl+Shift+G)

    WindowProcFilter* SavedEdit1WindowProc = nullptr;
    std::string TempDir;
    bool Playing = false;

    // Fills the tree named "Treeview1" from the catalogue of that name ("WebTV"). The categories
    // of a large catalogue make their channel rows when first needed: code that walks channels
    // goes through ChannelModel::ChannelCount and ChannelName, not rowCount() and index().
    void Load(const QString& catalogueName);
    void FormCreate();
    void FormResize();
    void SkinPanel1Resize();
    void FormClose();
    void TreeView1Change();
    // The guide's now and next as the player's programme card shows them.
    static ProgrammeInfo ProgrammeInfoOf(const GuideStore::NowAndNext& programmes);
    void Timer1Timer();
    void Edit1Click();
    void SkinTabSheet2Show();
    // The hot-key message: modifier mask and key code of the key pressed.
    void FormHotKey(unsigned modifiers, unsigned virtualKey);
    void Edit1WindowProc(QEvent* message);
    // Ctrl+D: the selected channel (else the playing one) becomes a favourite, or stops being one.
    void ToggleFavourite();
    // Backspace: the channel that played before the one playing now; twice comes back.
    void PreviousChannel();
    // A channel number typed over the video: its channel plays, or the player says there is none.
    void ZapToNumber(int number);
    // Page Down (+1) or Page Up (-1) over the video: the next or previous channel of the playing
    // channel's category, round from its end to its start.
    void ZapStep(int step);

    HotKeyService& HotKeys() { return *hotKeys_; }
    // What the viewer watches, as the media keys and the remembered settings reach it.
    WatchSession& Session() { return *session_; }
    // The title of the programme on now on that channel (empty when the guide has none).
    QString ProgrammeNow(const QString& channel) const;
    // The kept file of the channel's logo (empty while there is none).
    QString LogoFile(const QString& channel) const;
    // Brings the window back as the boss key's second press does (with its sound), or to the
    // front when it shows already.
    void BringBack();
    // After the playlists were read again: the channel playing, renamed there, is followed by
    // its address (the card and the tree's highlight show the new name).
    void FollowRenamedChannel();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateComponents(const QString& audioOutput);
    std::string CatalogueFile() const;
    std::string AdListFile() const;
    // The channel started showing its picture or sound: it goes among the recently watched.
    void ChannelShowed();
    void ShowZapLogo();

    std::string pagesDir_;
    std::string dataDir_;
    std::unique_ptr<HotKeyService> hotKeys_;
    std::unique_ptr<ChannelZapper> zapper_;
    std::unique_ptr<TreeChannelList> channelList_;
    MediaPlayerControl* playerControl_ = nullptr;
    WatchSession* session_ = nullptr;
    ArchivePlayer* archive_ = nullptr; // the guide's programmes from the provider's archive
    // The player's sound when the boss key hid the window, given back when it shows again.
    bool muteBeforeHiding_ = false;
    // The channel last put among the recently watched, until another is chosen.
    QString watchedRecorded_;
};

} // namespace quorvel
