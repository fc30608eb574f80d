// The find box in the real window under the harness's X server: typing narrows the tree,
// Enter plays the match's stream (served on 127.0.0.1), Escape gives the tree back untouched.
#include "app/findbox.h"
#include "app/findresultsmodel.h"
#include "app/form1.h"
#include "player/mediaplayer.h"
#include "scratchdir.h"
#include "skin/controls/skinpagecontrol.h"
#include "testhttpserver.h"
#include "treerows.h"
#include "widgets/errorbox.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace quorvel;

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os)
{
    *os << '[' << l.join(QStringLiteral(" | ")).toStdString() << ']';
}
QT_END_NAMESPACE

namespace {

class FindBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetErrorPresenter([this](const QString&, const QString& message) { errors.push_back(message); });
        server.Serve("/news/morning.m3u8", {200, "#EXTM3U\n", {}, false});
        server.Serve("/sport/arena.m3u8", {200, "#EXTM3U\n", {}, false});
        server.Serve("/news/evening.m3u8", {200, "#EXTM3U\n", {}, false});
        const std::string url = server.Url(QString()).toStdString();
        ScratchDir::Spit(dir.File("VisibleAPI.dat"),
                         "[Layer1]\nNews=\nSports=\nEmpty=\n"
                         "[Layer2]\nMorning Show=News\nArena=Sports\nEvening Show=News\nSHOWtime=Sports\nПервый=News\n"
                         "[Programs]\nMorning Show=" +
                             url + "/news/morning.m3u8\nArena=" + url + "/sport/arena.m3u8\nEvening Show=" + url +
                             "/news/evening.m3u8\n");
        form = std::make_unique<Form1>(dir.Path() + "/", QStringLiteral("null"));
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get(), 20000));
        // Keys need the keyboard: the window gets it from the X server, a moment later.
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get(), 20000));
        tree = form->TreeView1;
        box = form->FindBox1;
        ASSERT_NE(box, nullptr);
    }
    void TearDown() override
    {
        form.reset();
        SetErrorPresenter(nullptr);
    }

    // Keys go where the keyboard focus is, as they do when a person types.
    static QWidget* Focus()
    {
        EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; }, 10000));
        return QApplication::focusWidget();
    }
    static void Type(const QString& text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, Focus(), Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
    }
    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(Focus(), key, modifiers);
    }
    void FocusTree() const
    {
        tree->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::focusWidget() == tree; }, 10000));
    }
    // The narrowed tree as text: "Category" rows and "  Channel" rows, with the highlight marked.
    QStringList Shown() const
    {
        QStringList rows;
        QTreeView* view = box->Results();
        const auto* model = view->model();
        for (int c = 0; c < model->rowCount(); ++c) {
            const QModelIndex category = model->index(c, 0);
            rows << category.data().toString() + (view->isExpanded(category) ? QString() : QStringLiteral(" (closed)"));
            for (int i = 0; i < model->rowCount(category); ++i) {
                const QModelIndex channel = model->index(i, 0, category);
                rows << QStringLiteral("  ") + channel.data().toString() +
                            (view->currentIndex() == channel ? QStringLiteral(" *") : QString());
            }
        }
        return rows;
    }

    TestHttpServer server;
    ScratchDir dir;
    std::unique_ptr<Form1> form;
    ChannelTreeView* tree = nullptr;
    FindBox* box = nullptr;
    std::vector<QString> errors;
};

} // namespace

TEST_F(FindBoxTest, TypingInTheTreeNarrowsItAndEnterPlaysTheFirstMatch)
{
    FocusTree();
    Type(QStringLiteral("show"));
    ASSERT_TRUE(box->IsOpen());
    EXPECT_EQ(box->Edit()->text(), "show");
    EXPECT_EQ(QApplication::focusWidget(), box->Edit());
    // Over the tree, exactly where it is.
    EXPECT_EQ(box->geometry(), tree->geometry());
    EXPECT_EQ(Shown(), (QStringList{"News", "  Morning Show *", "  Evening Show", "Sports", "  SHOWtime"}));
    // The tree underneath is as it was: nothing opened, nothing chosen.
    EXPECT_FALSE(tree->isExpanded(treerows::Top(tree, 0)));
    EXPECT_FALSE(tree->Selected().isValid());

    Type(QStringLiteral("t"));
    EXPECT_EQ(Shown(), (QStringList{"Sports", "  SHOWtime *"}));
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Return);
    EXPECT_FALSE(box->IsOpen());
    ASSERT_TRUE(tree->currentIndex().isValid());
    EXPECT_EQ(treerows::Text(tree->currentIndex()), "Morning Show");
    EXPECT_TRUE(tree->isExpanded(tree->currentIndex().parent()));
    EXPECT_EQ(QApplication::focusWidget(), tree);
    EXPECT_EQ(form->MediaPlayer1->URL(), server.Url("/news/morning.m3u8"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.Requests().contains("/news/morning.m3u8"); }, 30000));
    EXPECT_TRUE(errors.empty());
}

TEST_F(FindBoxTest, ArrowsChooseAnotherMatchAndAClickPlaysWithoutClosing)
{
    FocusTree();
    Key(Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(box->IsOpen());
    Type(QStringLiteral("n"));
    EXPECT_EQ(Shown(), (QStringList{"News", "  Morning Show *", "  Evening Show", "Sports", "  Arena"}));
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(Shown().at(4), "  Arena *");
    Key(Qt::Key_Down); // stays on the last match
    EXPECT_EQ(Shown().at(4), "  Arena *");
    Key(Qt::Key_PageUp);
    EXPECT_EQ(Shown().at(1), "  Morning Show *");

    // A click on a match plays it; the box stays for the next one.
    QTreeView* view = box->Results();
    const QModelIndex arena = view->model()->index(0, 0, view->model()->index(1, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(arena).center());
    EXPECT_TRUE(box->IsOpen());
    EXPECT_EQ(treerows::Text(tree->currentIndex()), "Arena");
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.Requests().contains("/sport/arena.m3u8"); }, 30000));

    // Enter takes the highlighted match.
    box->Edit()->setFocus();
    Key(Qt::Key_Up);
    EXPECT_EQ(Shown().at(2), "  Evening Show *");
    Key(Qt::Key_Return);
    EXPECT_FALSE(box->IsOpen());
    EXPECT_EQ(treerows::Text(tree->currentIndex()), "Evening Show");
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.Requests().contains("/news/evening.m3u8"); }, 30000));
}

TEST_F(FindBoxTest, EscapeGivesTheTreeBackAndNothingFoundPlaysNothing)
{
    FocusTree();
    tree->expand(treerows::Top(tree, 1));
    tree->scrollTo(treerows::Top(tree, 2));
    Type(QStringLiteral("пЕРВ"));
    EXPECT_EQ(Shown(), (QStringList{"News", "  Первый *"}));
    Key(Qt::Key_Escape);
    EXPECT_FALSE(box->IsOpen());
    EXPECT_EQ(QApplication::focusWidget(), tree);
    EXPECT_FALSE(tree->isExpanded(treerows::Top(tree, 0)));
    EXPECT_TRUE(tree->isExpanded(treerows::Top(tree, 1)));
    EXPECT_FALSE(tree->Selected().isValid());
    EXPECT_FALSE(form->Playing);

    // Space and arrows stay the tree's own keys.
    Key(Qt::Key_Down);
    Key(Qt::Key_Space);
    EXPECT_FALSE(box->IsOpen());

    Type(QStringLiteral("xyz"));
    EXPECT_TRUE(Shown().isEmpty());
    EXPECT_EQ(box->findChild<QLabel*>("FindCount")->text(), "no match");
    // Nothing to play: the box stays for the text to be mended.
    Key(Qt::Key_Return);
    EXPECT_TRUE(box->IsOpen());
    EXPECT_FALSE(form->Playing);
    EXPECT_TRUE(server.Requests().isEmpty());
}

TEST_F(FindBoxTest, CtrlFFromTheOtherTabBringsTheTreeBack)
{
    form->SkinPageControl1->SetActivePage(form->SkinTabSheet2);
    form->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::focusWidget() == form.get(); }, 10000));
    Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(form->SkinPageControl1->ActivePage(), form->SkinTabSheet1);
    ASSERT_TRUE(box->IsOpen());
    Type(QStringLiteral("arena"));
    EXPECT_EQ(box->findChild<QLabel*>("FindCount")->text(), "1 match");
    // Ctrl+F again keeps the text, ready to be typed over.
    Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(box->Edit()->selectedText(), "arena");
    Key(Qt::Key_Return);
    EXPECT_EQ(form->MediaPlayer1->URL(), server.Url("/sport/arena.m3u8"));

    // Opened again over a text while a channel plays, the highlight starts on that channel.
    Key(Qt::Key_F, Qt::ControlModifier);
    Type(QStringLiteral("n"));
    EXPECT_EQ(box->findChild<QLabel*>("FindCount")->text(), "3 matches");
    Key(Qt::Key_Escape);
    tree->setFocus();
    Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(Shown(), (QStringList{"News", "  Morning Show", "  Evening Show", "Sports", "  Arena *"}));
    Key(Qt::Key_Up);
    EXPECT_EQ(Shown().at(2), "  Evening Show *");
}
