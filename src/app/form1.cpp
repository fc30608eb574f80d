#include "form1.h"

#include "alignment.h"
#include "appicons.h"
#include "channelcatalogue.h"
#include "errorbox.h"
#include "mediaplayer.h"
#include "plainpanel.h"
#include "skinpagecontrol.h"
#include "skinpanel.h"
#include "skintabsheet.h"
#include "tempdir.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHeaderView>
#include <QLineEdit>
#include <QScreen>
#include <QTreeWidget>
#include <cstring>
#include <sys/stat.h>

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
    : QWidget(parent), programDir_(programDir)
{
    setWindowTitle(QString::fromUtf8(Title));
    setObjectName(QStringLiteral("Form1"));
    setFont(Tahoma11());
    setFixedSize(kClientWidth, kClientHeight);
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    CreateComponents(audioOutput);
    FormCreate();
}

Form1::~Form1() = default;

void Form1::CreateComponents(const QString& audioOutput)
{
    ImageList1 = QIcon(ChannelNodeImage());

    Panel2 = new PlainPanel(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->resize(201, kClientHeight);
    SetAlign(Panel2, Align::Right);

    // Wider than its panel by one pixel: the leftmost column lies outside and is clipped.
    SkinPageControl1 = new SkinPageControl(Panel2);
    SkinPageControl1->setObjectName(QStringLiteral("SkinPageControl1"));
    SkinPageControl1->resize(202, kClientHeight);
    SetAlign(SkinPageControl1, Align::Right);
    SkinTabSheet1 = SkinPageControl1->AddPage(QStringLiteral("Web TV"));
    SkinTabSheet1->setObjectName(QStringLiteral("SkinTabSheet1"));
    SkinTabSheet2 = SkinPageControl1->AddPage(QStringLiteral("Sponsored Links"));
    SkinTabSheet2->setObjectName(QStringLiteral("SkinTabSheet2"));

    TreeView1 = new QTreeWidget(SkinTabSheet1);
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
    connect(TreeView1, &QTreeWidget::itemSelectionChanged, this, &Form1::TreeView1Change);

    Splitter1 = new QFrame(this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->hide();

    SkinPanel1 = new SkinPanel(this);
    SkinPanel1->setObjectName(QStringLiteral("SkinPanel1"));
    SetAlign(SkinPanel1, Align::Client);
    connect(SkinPanel1, &SkinPanel::resized, this, &Form1::SkinPanel1Resize);

    MediaPlayer1 = new MediaPlayer(SkinPanel1, audioOutput);
    MediaPlayer1->setObjectName(QStringLiteral("MediaPlayer1"));
    SetAlign(MediaPlayer1, Align::Client);
    MediaPlayer1->hide();

    Edit1 = new QLineEdit(SkinPanel1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->resize(120, 15);
    Edit1->setFrame(false);
    Edit1->setReadOnly(true);
    Edit1->setLayoutDirection(Qt::LeftToRight);
    Edit1->setFont(Tahoma11());
    Edit1->setTextMargins(0, 0, 0, 0);
    Edit1->setStyleSheet(QStringLiteral("QLineEdit { background: black; color: #00ff00; border: none; padding: 0; }"));
    Edit1->setCursor(Qt::PointingHandCursor);
    Edit1->hide();

    AlignChildren(this, rect());
}

std::string Form1::CatalogueFile() const { return programDir_ + ChannelCatalogue::FileName; }

void Form1::FormCreate()
{
    RunHandler([this] {
        // 1. The user's temporary directory.
        const std::string temp = UserTempDir().substr(0, TempDir.size() - 1);
        std::memcpy(TempDir.data(), temp.c_str(), temp.size() + 1);
        // 2. A catalogue with the default categories, when there is none.
        const std::string catalogue = CatalogueFile();
        if (!FileExists(catalogue))
            ChannelCatalogue(catalogue).WriteDefaults();
        // 3. The channel tree.
        Load(QStringLiteral("WebTV"));
        // 5. The executable directory for the pages.
        ExeDir = programDir_;
        // 7. The hand cursor: Qt's pointing-hand cursor already is the desktop theme's hand,
        // the one Edit1 shows, so there is no other cursor to put in its place.
    });
}

void Form1::Load(const QString& catalogueName)
{
    if (catalogueName != QLatin1String("WebTV"))
        return;
    QTreeWidget* tree = nullptr;
    for (auto* candidate : findChildren<QTreeWidget*>())
        if (candidate->objectName().compare(QLatin1String("Treeview1"), Qt::CaseInsensitive) == 0)
            tree = candidate;
    if (!tree)
        return;
    const auto categories = ChannelCatalogue(CatalogueFile()).ReadTree();
    QList<QTreeWidgetItem*> top;
    top.reserve(static_cast<qsizetype>(categories.size()));
    for (const auto& category : categories) {
        auto* node = new QTreeWidgetItem(QStringList(QString::fromLocal8Bit(category.name)));
        node->setIcon(0, ImageList1);
        for (const auto& channel : category.channels) {
            auto* child = new QTreeWidgetItem(node, QStringList(QString::fromLocal8Bit(channel)));
            child->setIcon(0, ImageList1);
        }
        top.append(node);
    }
    // Appended after the nodes already there, all at once.
    tree->addTopLevelItems(top);
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
        const ChannelCatalogue catalogue(CatalogueFile());
        if (MediaPlayer1->isHidden())
            MediaPlayer1->show();
        const std::string address = catalogue.StreamAddress(node->text(0).toLocal8Bit().toStdString());
        MediaPlayer1->setURL(QString::fromLocal8Bit(address));
        if (Edit1->isHidden())
            Edit1->show();
        Playing = true;
        MediaPlayer1->ShowRequest();
    });
}

void Form1::FormResize()
{
    if (Playing && MediaPlayer1)
        MediaPlayer1->ShowRequest();
}

void Form1::SkinPanel1Resize()
{
    Edit1->move(SkinPanel1->width() - Edit1->width() - 80, SkinPanel1->height() - Edit1->height() - 48);
    Panel2->repaint();
    if (Playing && MediaPlayer1)
        MediaPlayer1->ShowRequest();
}

void Form1::FormClose()
{
    if (!MediaPlayer1)
        return;
    MediaPlayer1->close();
    delete MediaPlayer1;
    // Nothing reaches the player any more, whatever arrives while the program ends.
    MediaPlayer1 = nullptr;
}

void Form1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    AlignChildren(this, rect());
    FormResize();
}

void Form1::closeEvent(QCloseEvent* event)
{
    RunHandler([this] { FormClose(); });
    event->accept();
}

} // namespace quorvel
