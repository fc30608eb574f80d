// Boss key, ticker and web panes of the main window, in-process under the harness's X server.
#include "app/form1.h"
#include "platform/hotkeyservice.h"
#include "playback/playersettings.h"
#include "player/mediaplayer.h"
#include "scratchdir.h"
#include "skin/controls/skinpagecontrol.h"
#include "skin/controls/skinpanel.h"
#include "skin/controls/skintabsheet.h"
#include "skin/form/skinform.h"
#include "sponsor/adlist.h"
#include "treerows.h"
#include "webhost/webpane.h"
#include "widgets/editline.h"
#include "widgets/errorbox.h"
#include "x11probe.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFontInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>

#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

using namespace quorvel;

namespace {

class SponsorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetErrorPresenter([this](const QString&, const QString& message) { errors.push_back(message); });
        for (const char* page : {"TVAPI.dat", "TVADS.dat"})
            std::filesystem::copy_file(std::string(getenv("QUORVEL_SOURCE_DIR")) + "/resources/" + page,
                                       dir.File(page));
        ScratchDir::Spit(dir.File("VisibleAPI.dat"), "[Layer1]\nNews=\n");
        form = std::make_unique<Form1>(dir.Path() + "/", QStringLiteral("null"));
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get(), 20000));
    }
    void TearDown() override
    {
        form.reset();
        SetErrorPresenter(nullptr);
    }
    std::string AdFile() const { return std::string(form->TempDir.data()) + AdList::FileName; }

    ScratchDir dir;
    std::vector<QString> errors;
    std::unique_ptr<Form1> form;
};

// Sends keys through the X server, as a user at the keyboard would.
void XKey(const QString& keys) { QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), keys}); }

} // namespace

TEST_F(SponsorTest, StartUpWritesTheAdListInAPrivateFolderAndShowsTheStartPage)
{
    EXPECT_TRUE(errors.empty());
    const std::string temp = form->TempDir.data();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), '/');
    struct stat st;
    ASSERT_EQ(::lstat(temp.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 077, 0u);
    EXPECT_EQ(st.st_uid, ::geteuid());
    EXPECT_EQ(AdList(AdFile()).NextTitle(""), "Internet Tv 3000+!");

    EXPECT_TRUE(QTest::qWaitFor([&] { return form->WebPane2->IsLoadComplete(); }, 20000));
    EXPECT_EQ(form->WebPane2->Page()->title(), "Quorvel Online TV");
    EXPECT_TRUE(form->WebPane2->isVisible());
    EXPECT_EQ(form->WebPane2->geometry(), QRect(1, 1, 509, 444));
    EXPECT_EQ(form->WebPane1->geometry(), QRect(1, 1, 198, 420));
    EXPECT_GE(quorvel::HotKeyId, 0);
    EXPECT_LT(quorvel::HotKeyId, 16384);
}

TEST_F(SponsorTest, TickerRotatesAndClicksOpenOnlyWebAddresses)
{
    EXPECT_TRUE(form->Edit1->text().isEmpty());
    std::vector<QString> shown;
    for (int i = 0; i < 7; ++i) {
        form->Timer1Timer();
        shown.push_back(form->Edit1->text());
        // Titles wider than the ticker show their beginning.
        EXPECT_EQ(form->Edit1->cursorPosition(), 0) << shown.back().toStdString();
    }
    EXPECT_EQ(shown.front(), "Internet Tv 3000+!");
    EXPECT_EQ(shown.back(), "Satellite Tv For PC");
    EXPECT_EQ(form->Timer1->interval(), 6000);
    EXPECT_TRUE(form->Timer1->isActive());

    // An empty list leaves the ticker as it is.
    ScratchDir::Spit(AdFile(), "[WebTV ADS]\n");
    form->Timer1Timer();
    EXPECT_EQ(form->Edit1->text(), "Satellite Tv For PC");
    EXPECT_TRUE(errors.empty());
}

TEST_F(SponsorTest, SponsoredLinksPaneFillsItsPageAsTheWindowGrows)
{
    form->SkinPageControl1->SetActivePage(form->SkinTabSheet2);
    EXPECT_EQ(form->WebPane1->geometry(), QRect(1, 1, 198, 420));
    const QSize normal = form->SkinTabSheet2->size();
    form->SkinForm1->SetFrameState(FrameState::Maximized);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->SkinTabSheet2->height() > normal.height() + 100; }, 5000));
    const QSize sheet = form->SkinTabSheet2->size();
    // The same distances to the page's edges as at the window's first size.
    EXPECT_EQ(form->WebPane1->geometry(), QRect(1, 1, sheet.width(), sheet.height()));
}

TEST_F(SponsorTest, EveryDefaultTitleFitsTheTickerInTahoma)
{
    EXPECT_EQ(QFontInfo(form->Edit1->font()).family(), "Tahoma");
    EXPECT_EQ(form->Edit1->size(), QSize(120, 15));
    form->Edit1->show();
    AdList(AdFile()).WriteDefaults(); // an earlier test may have emptied the shared list
    std::set<QString> seen;
    for (std::size_t i = 0; i < AdList::Defaults().size(); ++i) {
        form->Timer1Timer();
        const QString title = form->Edit1->text();
        seen.insert(title);
        // A title that fits looks the same whether the line is scrolled to its start or its end.
        const QImage start = form->Edit1->grab().toImage();
        form->Edit1->setCursorPosition(static_cast<int>(title.size()));
        const QImage end = form->Edit1->grab().toImage();
        form->Edit1->setCursorPosition(0);
        EXPECT_TRUE(start == end) << title.toStdString() << " is cut";
    }
    EXPECT_EQ(seen.size(), AdList::Defaults().size());
}

TEST_F(SponsorTest, AnAdNoBrowserCanOpenIsToldWithItsAddressToCopy)
{
    ScratchDir stubs;
    ScratchDir::Spit(stubs.File("xdg-open"), "#!/bin/sh\nexit 3\n"); // "no browser found"
    ::chmod(stubs.File("xdg-open").c_str(), 0755);
    const std::string path = std::getenv("PATH");
    ::setenv("PATH", (stubs.Path() + ":" + path).c_str(), 1);
    AdList(AdFile()).WriteDefaults();
    form->Timer1Timer();
    const QString address = QString::fromStdString(AdList(AdFile()).Address(form->Edit1->text().toStdString()));
    ASSERT_TRUE(address.startsWith("https://"));
    form->Edit1Click();
    QMessageBox* box = nullptr;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            box = form->findChild<QMessageBox*>("OpenFailureBox");
            return box && box->isVisible();
        },
        10000));
    ::setenv("PATH", path.c_str(), 1);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->informativeText(), address);
    box->findChild<QPushButton*>("CopyAddress")->click();
    EXPECT_EQ(QApplication::clipboard()->text(), address);
}

TEST_F(SponsorTest, F1ShowsThePlayersKeysOnce)
{
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get(), 10000));
    QTest::keyClick(form.get(), Qt::Key_F1);
    QDialog* help = nullptr;
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return (help = form->findChild<QDialog*>("KeysHelp")) && help->isVisible(); }, 5000));
    const QString keys = help->findChild<QLabel*>("KeysTable")->text();
    for (const char* key : {"Space", "F, F11", "Home", "Ctrl+F"})
        EXPECT_TRUE(keys.contains(key)) << key;
    // Asked again, the same one comes to the front.
    form->activateWindow();
    QTest::keyClick(form.get(), Qt::Key_F1);
    EXPECT_EQ(form->findChildren<QDialog*>("KeysHelp").size(), 1);
}

TEST_F(SponsorTest, TickerNeverShowsACaretOrASelection)
{
    form->TreeView1->setCurrentIndex(QModelIndex());
    form->Edit1->show();
    // A title much wider than the ticker.
    ScratchDir::Spit(AdFile(), "[WebTV ADS]\nThe Longest Title Any Sponsor Ever Wanted=https://quorvel.tv/\n");
    form->Timer1Timer();
    const QImage before = form->Edit1->grab().toImage();
    const QPoint rightEnd(form->Edit1->width() - 2, form->Edit1->height() / 2);
    QTest::mouseClick(form->Edit1, Qt::LeftButton, {}, rightEnd);
    QTest::mouseDClick(form->Edit1, Qt::LeftButton, {}, rightEnd);
    QTest::keyClick(form->Edit1, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(form->Edit1, Qt::Key_End);
    QTest::keyClick(form->Edit1, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_FALSE(form->Edit1->hasSelectedText());
    // Over more than one blink period the ticker looks exactly as before.
    for (int i = 0; i < 4; ++i) {
        QTest::qWait(300);
        EXPECT_EQ(form->Edit1->grab().toImage(), before);
    }
    EXPECT_EQ(form->Edit1->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(SponsorTest, SponsoredLinksReloadEveryTimeTheirPageShows)
{
    QSignalSpy loads(form->WebPane1, &WebPane::navigationStarted);
    form->SkinPageControl1->SetActivePage(form->SkinTabSheet2);
    form->SkinPageControl1->SetActivePage(form->SkinTabSheet1);
    form->SkinPageControl1->SetActivePage(form->SkinTabSheet2);
    ASSERT_EQ(loads.count(), 2);
    EXPECT_TRUE(loads.at(0).at(0).toString().endsWith("/TVADS.dat"));

    // The boss key hides and shows the window: the page showing again loads again.
    form->FormHotKey(0, 36);
    form->FormHotKey(0, 36);
    EXPECT_EQ(loads.count(), 3);
    // While "Web TV" is active nothing is loaded.
    form->SkinPageControl1->SetActivePage(form->SkinTabSheet1);
    form->FormHotKey(0, 36);
    form->FormHotKey(0, 36);
    EXPECT_EQ(loads.count(), 3);
}

TEST_F(SponsorTest, HomeAnywhereHidesAndMutesShiftHomeDoesNothing)
{
    QWidget other;
    other.setWindowTitle("Other program");
    other.resize(200, 100);
    other.move(0, 0);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other, 20000));
    ASSERT_FALSE(form->MediaPlayer1->Settings().Mute());

    XKey("shift+Home");
    QTest::qWait(300);
    EXPECT_TRUE(form->isVisible());

    XKey("Home");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->isVisible(); }, 5000));
    EXPECT_TRUE(form->MediaPlayer1->Settings().Mute());

    XKey("Home");
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->isVisible(); }, 5000));
    EXPECT_FALSE(form->MediaPlayer1->Settings().Mute());

    // Muted by the player's own controls, the next press hides and keeps it silent; the one after
    // brings the window back still muted, as it was.
    form->MediaPlayer1->Settings().SetMute(true);
    form->FormHotKey(0, 36);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(form->MediaPlayer1->Settings().Mute());
    form->FormHotKey(0, 36);
    EXPECT_TRUE(form->MediaPlayer1->Settings().Mute());
    // Other keys and modifiers do nothing.
    form->FormHotKey(4, 36);
    form->FormHotKey(0, 35);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(errors.empty());
}

TEST_F(SponsorTest, HomeHidesAndBringsBackAFullScreenPlayer)
{
    ScratchDir::Spit(dir.File("VisibleAPI.dat"),
                     "[Layer1]\nNews=\n[Layer2]\nOne=News\n[Programs]\nOne=http://127.0.0.1:1/x\n");
    form.reset();
    form = std::make_unique<Form1>(dir.Path() + "/", QStringLiteral("null"));
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get(), 20000));
    form->TreeView1->setCurrentIndex(treerows::FindRow(form->TreeView1, "One"));
    const QRect before = form->geometry();
    const QSize minimum = form->minimumSize(), maximum = form->maximumSize();
    form->MediaPlayer1->SetFullScreen(true);
    ASSERT_TRUE(form->isFullScreen());
    // The window's fixed size does not keep it from the whole screen.
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->geometry() == form->screen()->geometry(); }, 5000));
    EXPECT_EQ(form->MediaPlayer1->geometry(), form->rect());
    form->FormHotKey(0, 36);
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->MediaPlayer1->isVisible());
    EXPECT_TRUE(form->MediaPlayer1->Settings().Mute());
    form->FormHotKey(0, 36);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->MediaPlayer1->IsFullScreen());
    EXPECT_FALSE(form->MediaPlayer1->Settings().Mute());

    // Leaving full screen puts the player back in its panel, under the ticker.
    form->MediaPlayer1->SetFullScreen(false);
    EXPECT_FALSE(form->isFullScreen());
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->geometry() == before; }, 5000));
    EXPECT_EQ(form->minimumSize(), minimum);
    EXPECT_EQ(form->maximumSize(), maximum);
    // Back from full screen the window has its frame, and its outline, again.
    EXPECT_EQ(form->SkinForm1->ClientArea()->geometry(), QRect(3, 30, 712, 446));
    EXPECT_FALSE(form->mask().isEmpty());
    EXPECT_EQ(form->MediaPlayer1->parentWidget(), form->SkinPanel1);
    EXPECT_EQ(form->MediaPlayer1->geometry(), form->SkinPanel1->ClientRect());
    const auto stack = form->SkinPanel1->children();
    EXPECT_LT(stack.indexOf(form->MediaPlayer1), stack.indexOf(form->Edit1));
    EXPECT_TRUE(errors.empty());
}

TEST_F(SponsorTest, ClosingReleasesHome)
{
    // Another X client asks for plain Home: refused while the window holds it, granted after.
    EXPECT_FALSE(OtherClientCanGrabHome());
    form->close();
    EXPECT_TRUE(OtherClientCanGrabHome());
    EXPECT_TRUE(errors.empty());
}

TEST(BossKeyTaken, AnotherProgramHoldingHomeLeavesTheProgramRunningWithoutIt)
{
    std::vector<QString> errors;
    SetErrorPresenter([&](const QString&, const QString& message) { errors.push_back(message); });
    HomeHolder holder;
    ASSERT_TRUE(holder.Holds());
    ScratchDir dir;
    ScratchDir::Spit(dir.File("VisibleAPI.dat"), "[Layer1]\nNews=\n");
    {
        Form1 form(dir.Path() + "/", QStringLiteral("null"));
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form, 20000));
        XKey("Home");
        QTest::qWait(500);
        EXPECT_TRUE(form.isVisible());
        EXPECT_FALSE(form.MediaPlayer1->Settings().Mute());
        form.close();
    }
    EXPECT_TRUE(errors.empty());
    SetErrorPresenter(nullptr);
}
