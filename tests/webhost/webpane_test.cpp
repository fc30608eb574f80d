#include "webhost/dialogguard.h"
#include "widgets/errorbox.h"
#include "base/exception.h"
#include "sponsor/pageaddress.h"
#include "scratchdir.h"
#include "webhost/webpane.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <filesystem>
#include <memory>
#include <set>
#include <gtest/gtest.h>

using namespace quorvel;

namespace {

const char* kPage = "<!DOCTYPE html><html><head><title>Start Page</title></head><body>Hello</body></html>";

QString TitleOf(WebPane& pane) { return pane.Page()->title(); }

} // namespace

TEST(WebPane, NavigateWithoutTimeOutReturnsAtOnceAndLoadsDatPagesAsHtml)
{
    ScratchDir dir;
    // A folder name that breaks naive file addresses.
    const std::string folder = dir.Path() + "/Program Files #1?/";
    std::filesystem::create_directories(folder);
    ScratchDir::Spit(folder + "TVAPI.dat", kPage);
    QWidget host;
    host.resize(400, 300);
    WebPane pane(&host);
    pane.resize(400, 300);
    host.show();
    QSignalSpy finished(&pane, &WebPane::loadFinished);
    EXPECT_TRUE(pane.Navigate(quorvel::LocalPageAddress(folder, "TVAPI.dat"), 0));
    EXPECT_FALSE(pane.IsLoadComplete());
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_TRUE(finished.first().first().toBool());
    EXPECT_EQ(TitleOf(pane), "Start Page");
}

TEST(WebPane, NavigateWithTimeOutWaitsForThePage)
{
    ScratchDir dir;
    ScratchDir::Spit(dir.File("page.dat"), kPage);
    WebPane pane;
    pane.resize(300, 200);
    pane.show();
    EXPECT_TRUE(pane.Navigate(quorvel::LocalPageAddress(dir.Path() + "/", "page.dat"), 20000));
    EXPECT_TRUE(pane.IsLoadComplete());
    EXPECT_EQ(TitleOf(pane), "Start Page");

}

TEST(WebPane, BusyWaitHandlerCancelsAWaitThatWouldNotEnd)
{
    // A server that accepts the connection and never answers keeps the page loading.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    WebPane pane;
    pane.resize(300, 200);
    pane.show();
    int calls = 0;
    pane.SetOnBusyWait([&](WebPane*, qint64, bool& cancel, quint32&) { cancel = ++calls >= 3; });
    const QString address = QString("http://127.0.0.1:%1/page.dat").arg(silent.serverPort());
    EXPECT_FALSE(pane.Navigate(address, 20000));
    EXPECT_EQ(calls, 3);
    EXPECT_FALSE(pane.IsLoadComplete());
}

TEST(WebPane, RejectedAddressesRaise)
{
    WebPane pane;
    EXPECT_THROW(pane.Navigate("", 0), quorvel::Exception);
    EXPECT_THROW(pane.Navigate("no scheme at all", 0), quorvel::Exception);
    // A missing page is the engine's business: no error here.
    EXPECT_TRUE(pane.Navigate("file:///nonexistent/TVADS.dat", 0));
}

TEST(WebPane, VisibilityAndFocusRequest)
{
    QWidget host;
    host.resize(300, 200);
    WebPane pane(&host);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host, 20000));
    EXPECT_TRUE(pane.Visible());
    pane.SetVisible(false);
    EXPECT_FALSE(pane.Visible());
    EXPECT_TRUE(pane.isHidden());
    // The focus request on a pane that cannot take focus does nothing.
    pane.FocusRequest();
    EXPECT_FALSE(pane.View()->hasFocus());
    pane.SetVisible(true);
    EXPECT_TRUE(pane.isVisible());
    // Hiding through the toolkit is seen in the pane's own record too.
    pane.hide();
    EXPECT_FALSE(pane.VisibleState());
    pane.show();
    EXPECT_TRUE(pane.VisibleState());
}

// --- The host's answers on the real engine.

namespace {

// A web server on 127.0.0.1 that answers every request with a small page and notes the paths.
class PageServer {
public:
    PageServer()
    {
        EXPECT_TRUE(server_.listen(QHostAddress::LocalHost));
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    const QByteArray request = socket->readAll();
                    const QByteArray path = request.split(' ').value(1);
                    paths.append(QString::fromLatin1(path));
                    const QByteArray body = "<html><head><title>Served</title></head><body>served</body></html>";
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\nContent-Length: " +
                                  QByteArray::number(body.size()) + "\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    QString Url(const QString& path) const { return QString("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path); }

    QStringList paths;

private:
    QTcpServer server_;
};

// The desktop's opener replaced by a script that only writes down what it was asked to open.
class BrowserStandIn : public ::testing::Environment {
public:
    void SetUp() override
    {
        dir_ = std::make_unique<ScratchDir>();
        log_ = dir_->File("opened.log");
        const std::string opener = dir_->File("xdg-open");
        ScratchDir::Spit(opener, "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + log_ + "'\n");
        std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
        qputenv("PATH", QByteArray::fromStdString(dir_->Path()) + ":" + qgetenv("PATH"));
    }
    void TearDown() override { dir_.reset(); }
    static QStringList Opened()
    {
        QFile file(QString::fromStdString(log_));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }

private:
    std::unique_ptr<ScratchDir> dir_;
    static inline std::string log_;
};

[[maybe_unused]] auto* const gBrowserStandIn = ::testing::AddGlobalTestEnvironment(new BrowserStandIn);

// A shown pane in a window of its own, and pages written for it.
class PaneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetErrorPresenter([this](const QString&, const QString& message) { errors.push_back(message); });
        host.resize(500, 400);
        pane = new WebPane(&host);
        pane->resize(500, 400);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host, 20000));
    }
    void TearDown() override
    {
        EXPECT_TRUE(errors.empty()) << errors.front().toStdString();
        SetErrorPresenter(nullptr);
        WebPane::SetSaveAsk(nullptr);
    }
    // Shows a page and waits until it is loaded.
    void Show(const std::string& html, const char* name = "page.dat")
    {
        ScratchDir::Spit(dir.File(name), html);
        QSignalSpy finished(pane, &WebPane::loadFinished);
        pane->Navigate(quorvel::LocalPageAddress(dir.Path() + "/", name), 0);
        ASSERT_TRUE(finished.wait(20000));
    }
    bool TitleBecomes(const QString& title, int ms = 20000)
    {
        return QTest::qWaitFor([&] { return pane->Page()->title() == title; }, ms);
    }
    QWidget* Inner() const { return pane->View()->focusProxy(); }

    std::vector<QString> errors;
    ScratchDir dir;
    QWidget host;
    WebPane* pane = nullptr;
};

} // namespace

TEST_F(PaneTest, AScriptErrorShowsNoDialogAndLaterScriptsRun)
{
    QStringList reported;
    pane->OnScriptError = [&](CustomWebPane&, const QString& line, const QString&, const QString&,
                              const QString& message, const QString&, ErrorAction&) { reported << line << message; };
    // The page's own call on the host object fails: there is none.
    Show("<html><head><title>start</title></head><body>"
         "<script>window.external.AddFavorite('http://quorvel.tv/');</script>"
         "<script>document.title = 'after:' + typeof qt;</script></body></html>");
    EXPECT_TRUE(TitleBecomes("after:undefined"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !reported.isEmpty(); }, 20000));
    EXPECT_EQ(reported.at(0), "1");
    EXPECT_TRUE(reported.at(1).contains("AddFavorite")) << reported.at(1).toStdString();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(PaneTest, CancelStopsThePagesScriptsUntilTheNextPage)
{
    pane->ScriptErrorAction = ErrorAction::eaCancel;
    int errorsSeen = 0;
    pane->OnScriptError = [&](CustomWebPane&, const QString&, const QString&, const QString&, const QString&,
                              const QString&, ErrorAction&) { ++errorsSeen; };
    const std::string ticking = "<html><body><script>var n = 0;"
                                "setInterval(function () { document.title = 'tick' + (++n); }, 40);"
                                "setTimeout(function () { missing(); }, 300);</script></body></html>";
    Show(ticking);
    ASSERT_TRUE(QTest::qWaitFor([&] { return errorsSeen > 0; }, 20000));
    // The ticks stop: the title stays the same for a whole second.
    QString last;
    QElapsedTimer still;
    const bool stopped = QTest::qWaitFor(
        [&] {
            if (pane->Page()->title() != last) {
                last = pane->Page()->title();
                still.start();
            }
            return still.elapsed() > 1000;
        },
        20000);
    EXPECT_TRUE(stopped) << last.toStdString();
    // The next page runs its scripts again.
    Show(ticking, "again.dat");
    EXPECT_TRUE(TitleBecomes("tick3"));
}

TEST_F(PaneTest, CtrlNNeverReachesThePageOtherKeysDo)
{
    Show("<html><body><script>var keys = '';"
         "document.addEventListener('keydown', function (e) {"
         "  if (e.key === 'Control' || e.key === 'Shift' || e.key === 'Alt') return;"
         "  keys += (e.ctrlKey ? 'C' : '') + (e.altKey ? 'A' : '') + (e.shiftKey ? 'S' : '') + e.code + ' ';"
         "  document.title = keys; });</script></body></html>");
    pane->View()->setFocus();
    ASSERT_NE(Inner(), nullptr);
    QTest::keyClick(Inner(), Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(Inner(), Qt::Key_N, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyClick(Inner(), Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(Inner(), Qt::Key_N, Qt::AltModifier);
    QTest::keyClick(Inner(), Qt::Key_M, Qt::ControlModifier);
    QTest::keyClick(Inner(), Qt::Key_X);
    const bool got = TitleBecomes("CSKeyN AKeyN CKeyM KeyX");
    EXPECT_TRUE(got) << pane->Page()->title().toStdString();

    // A lower-case letter names no key: nothing is filtered.
    pane->SetDisableCtrlShortcuts("n");
    QTest::keyClick(Inner(), Qt::Key_N, Qt::ControlModifier);
    const bool gotLower = TitleBecomes("CSKeyN AKeyN CKeyM KeyX CKeyN");
    EXPECT_TRUE(gotLower) << pane->Page()->title().toStdString();
}

TEST_F(PaneTest, NewWindowsOpenWebAddressesInTheUsersBrowserOnly)
{
    PageServer server;
    const QString first = server.Url("/window-open?a=1&b=2");
    const QString second = server.Url("/target-blank");
    const QString last = server.Url("/last");
    Show("<html><body>"
         "<a id='app' href='quorveltest://run'>app</a><a id='blank' target='_blank' href='" + second.toStdString() + "'>b</a>"
         "<script>"
         "window.open('file:///etc/hostname');"
         "window.open('quorveltest://window');"
         "document.getElementById('app').click();"
         "window.open('" + first.toStdString() + "');"
         "document.getElementById('blank').click();"
         "setTimeout(function () { window.open('" + last.toStdString() + "'); }, 200);"
         "</script></body></html>");
    ASSERT_TRUE(QTest::qWaitFor([&] { return BrowserStandIn::Opened().contains(last); }, 20000))
        << BrowserStandIn::Opened().join(' ').toStdString();
    QStringList opened = BrowserStandIn::Opened();
    opened.sort();
    QStringList expected{first, second, last};
    expected.sort();
    EXPECT_EQ(opened, expected);
    // No window of ours, and the pane itself stayed on its page.
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_TRUE(w == &host || !w->isVisible()) << w->metaObject()->className();
    EXPECT_TRUE(pane->CurrentUrl().endsWith("page.dat"));
    EXPECT_TRUE(server.paths.isEmpty()) << server.paths.join(' ').toStdString();
}

TEST_F(PaneTest, ADownloadGoesWhereTheUserSays)
{
    QStringList suggested;
    const std::string chosen = dir.File("chosen name.txt");
    WebPane::SetSaveAsk([&](QWidget* parent, const QString& path) {
        EXPECT_EQ(parent, pane);
        suggested << path;
        return suggested.size() == 1 ? QString::fromStdString(chosen) : QString();
    });
    std::vector<QWebEngineDownloadRequest::DownloadState> states;
    QObject::connect(pane->Page()->profile(), &QWebEngineProfile::downloadRequested, &host,
                     [&](QWebEngineDownloadRequest* download) { states.push_back(download->state()); });
    Show("<html><body><a id='d' href='data:text/plain,hello%20file' download='../../note.txt'>get</a>"
         "<script>document.getElementById('d').click();</script></body></html>");
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(QString::fromStdString(chosen)) &&
                                             ScratchDir::Slurp(chosen) == "hello file"; }, 20000));
    ASSERT_EQ(suggested.size(), 1);
    EXPECT_TRUE(suggested.front().endsWith("/note.txt")) << suggested.front().toStdString();
    EXPECT_EQ(states, std::vector{QWebEngineDownloadRequest::DownloadInProgress});

    // Cancelled, nothing is written.
    pane->Page()->runJavaScript("document.getElementById('d').click();");
    ASSERT_TRUE(QTest::qWaitFor([&] { return states.size() == 2; }, 20000));
    EXPECT_EQ(states.back(), QWebEngineDownloadRequest::DownloadCancelled);
    EXPECT_EQ(suggested.size(), 2);
}

namespace {

// The context menu that pops up on a right click in the page, or none.
QMenu* RightClick(QWidget* inner, QPoint at)
{
    QTest::mouseClick(inner, Qt::RightButton, {}, at);
    const bool shown =
        QTest::qWaitFor([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr; }, 5000);
    return shown ? qobject_cast<QMenu*>(QApplication::activePopupWidget()) : nullptr;
}

QStringList Items(QMenu* menu)
{
    QStringList texts;
    for (QAction* a : menu->actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return texts;
}

} // namespace

TEST_F(PaneTest, RightClickShowsTheEnginesMenuUnlessTheHostSaysOtherwise)
{
    Show("<html><body style='height:100%'>Page</body></html>");
    QMenu* menu = RightClick(Inner(), QPoint(200, 200));
    ASSERT_NE(menu, nullptr);
    const QStringList standard = Items(menu);
    EXPECT_TRUE(standard.contains(pane->Page()->action(QWebEnginePage::Back)->text()));
    EXPECT_TRUE(standard.contains(pane->Page()->action(QWebEnginePage::Reload)->text()));
    // Page source would need a window of ours.
    EXPECT_FALSE(standard.contains(pane->Page()->action(QWebEnginePage::ViewSource)->text()));
    menu->close();
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() == nullptr; }, 5000));

    // Listed items leave the host-built menu.
    pane->DisabledPopupMenuItems = {PopupMenuItem::rcsBack, PopupMenuItem::rcsForward, PopupMenuItem::rcsRefresh};
    menu = RightClick(Inner(), QPoint(200, 200));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Items(menu), QStringList({pane->Page()->action(QWebEnginePage::SavePage)->text()}));
    menu->close();
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() == nullptr; }, 5000));

    // Every menu suppressed: the host answers, and nothing pops up.
    pane->DisabledPopupMenus = {PopupMenuKind::rcmAll};
    std::vector<unsigned> asked;
    pane->OnShowContextMenu = [&](CustomWebPane&, unsigned id, HResult&, QPoint) { asked.push_back(id); };
    QTest::mouseClick(Inner(), Qt::RightButton, {}, QPoint(200, 200));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !asked.empty(); }, 5000));
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(asked, std::vector<unsigned>{0});
}

TEST_F(PaneTest, DownloadOptionsDecideWhatLoads)
{
    PageServer server;
    const std::string image = "<img src='" + server.Url("/picture.png").toStdString() + "'>";
    // Without images the page loads, its pictures do not.
    pane->SetDownloadOptions({DownloadOption::DownloadVideos});
    Show("<html><head><title>no pictures</title></head><body>" + image + "</body></html>");
    EXPECT_FALSE(server.paths.contains("/picture.png"));
    pane->SetDownloadOptions({DownloadOption::DownloadImages});
    Show("<html><head><title>pictures</title></head><body>" + image + "</body></html>", "again.dat");
    EXPECT_TRUE(server.paths.contains("/picture.png"));

    // No scripts: the page's script never runs.
    pane->SetDownloadOptions({DownloadOption::DownloadImages, DownloadOption::DontExecuteScripts});
    Show("<html><head><title>quiet</title></head><body><script>document.title = 'ran';</script></body></html>",
         "quiet.dat");
    EXPECT_EQ(pane->Page()->title(), "quiet");

    // Offline: nothing goes to the network, local pages still show.
    const QStringList before = server.paths;
    pane->SetDownloadOptions({DownloadOption::DownloadImages, DownloadOption::ForceOfflineMode});
    QSignalSpy finished(pane, &WebPane::loadFinished);
    pane->Navigate(server.Url("/offline"), 0);
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_FALSE(finished.first().first().toBool());
    Show("<html><head><title>local</title></head><body>" + image + "</body></html>", "local.dat");
    EXPECT_EQ(pane->Page()->title(), "local");
    EXPECT_EQ(server.paths, before);
}

TEST_F(PaneTest, DialogGuardTreatsDialogsThatTakeTheActivation)
{
    ASSERT_FALSE(DialogGuard::Installed());
    pane->Loaded();
    ASSERT_TRUE(pane->HoldsDialogGuard());
    WebPane second(&host);
    second.Loaded();
    EXPECT_FALSE(second.HoldsDialogGuard());
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &host; }, 10000));

    // A page's message box: the application's icon, the caption without the browser's brand.
    QIcon icon(QPixmap(16, 16));
    QApplication::setWindowIcon(icon);
    QString caption = "?";
    bool iconReplaced = false;
    const auto answer = [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || QApplication::activeWindow() != box)
            return false;
        caption = box->windowTitle();
        iconReplaced = box->windowIcon().cacheKey() == icon.cacheKey();
        box->accept();
        return true;
    };
    pane->OnShowDialog = [](CustomWebPane&, QWidget*, bool&, QString& newCaption, const QString&) {
        newCaption = "Quorvel";
    };
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (answer())
            poll.stop();
    });
    poll.start(20);
    QMessageBox own(QMessageBox::Information, "Microsoft Internet Explorer", "hello", QMessageBox::Ok, &host);
    own.exec();
    EXPECT_EQ(caption, "Quorvel");
    EXPECT_TRUE(iconReplaced);
    // Without a window manager nobody hands the activation back.
    const auto reactivate = [&] {
        host.activateWindow();
        return QTest::qWaitFor([&] { return QApplication::activeWindow() == &host; }, 10000);
    };
    ASSERT_TRUE(reactivate());

    // Script and error dialogs go at once, whether they would close or not.
    QMessageBox script(QMessageBox::Warning, "Script Error", "x", QMessageBox::Ok, &host);
    EXPECT_EQ(script.exec(), QMessageBox::Ok);
    ASSERT_TRUE(reactivate());
    QMessageBox error(QMessageBox::Critical, "An error", "x", QMessageBox::Yes | QMessageBox::No, &host);
    EXPECT_EQ(error.exec(), QDialog::Rejected);
    ASSERT_TRUE(reactivate());

    // Alt with a letter never reaches the window's controls through their mnemonics.
    auto* button = new QPushButton("&Go", &host);
    button->move(0, 0);
    button->show();
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    button->setFocus();
    QProcess::execute("xdotool", {"key", "alt+g"});
    QTest::qWait(300);
    EXPECT_EQ(clicks, 0);

    // The guard goes with the pane that put it up.
    delete pane;
    pane = nullptr;
    EXPECT_FALSE(DialogGuard::Installed());
    QProcess::execute("xdotool", {"key", "alt+g"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return clicks == 1; }, 5000));
}

TEST_F(PaneTest, AskUserAsksOnceAndNoStopsTheScripts)
{
    pane->ScriptErrorAction = ErrorAction::eaAskUser;
    int reported = 0;
    pane->OnScriptError = [&](CustomWebPane&, const QString&, const QString&, const QString&, const QString&,
                              const QString&, ErrorAction&) { ++reported; };
    // The question stays open while more errors come; then the user says no.
    std::set<QMessageBox*> questions;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || box->windowTitle() != "Script Error")
            return;
        questions.insert(box);
        if (reported >= 4)
            box->button(QMessageBox::No)->click();
    });
    poll.start(20);
    Show("<html><body><script>var n = 0;"
         "setInterval(function () { document.title = 'tick' + (++n); }, 40);"
         "setInterval(function () { missing(); }, 100);</script></body></html>");
    ASSERT_TRUE(QTest::qWaitFor([&] { return reported >= 4 && !QApplication::activeModalWidget(); }, 20000));
    QString last;
    QElapsedTimer still;
    const bool stopped = QTest::qWaitFor(
        [&] {
            if (pane->Page()->title() != last) {
                last = pane->Page()->title();
                still.start();
            }
            return still.elapsed() > 1000;
        },
        20000);
    EXPECT_TRUE(stopped) << last.toStdString();
    EXPECT_EQ(questions.size(), 1u);
}

TEST_F(PaneTest, PageDialogsAreTheProgramsOwn)
{
    QStringList shown;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        shown << box->windowTitle() + "|" + box->text();
        box->button(QMessageBox::Ok)->click();
    });
    poll.start(20);
    Show("<html><body><script>alert('hello');"
         "document.title = confirm('sure?') ? 'confirmed' : 'refused';</script></body></html>");
    EXPECT_TRUE(TitleBecomes("confirmed"));
    EXPECT_EQ(shown, QStringList({"|hello", "|sure?"}));

    // A handler may answer them instead.
    poll.stop();
    pane->OnShowMessage = [&](CustomWebPane&, const QString& text, const QString&, unsigned type, int& result) {
        shown << text;
        result = (type & 0xF) == 1 ? 2 : 1;
        return S_OK;
    };
    Show("<html><body><script>alert('quiet');"
         "document.title = confirm('again?') ? 'confirmed' : 'refused';</script></body></html>",
         "handled.dat");
    EXPECT_TRUE(TitleBecomes("refused"));
    EXPECT_EQ(shown, QStringList({"|hello", "|sure?", "quiet", "again?"}));
}

TEST_F(PaneTest, TheHostsStyleSheetAppliesToItsPages)
{
    pane->HostCSS = "body { background-color: rgb(1, 2, 3); }";
    Show("<html><body><script>window.onload = function () {"
         "document.title = getComputedStyle(document.body).backgroundColor; };</script></body></html>");
    EXPECT_TRUE(TitleBecomes("rgb(1, 2, 3)")) << pane->Page()->title().toStdString();
}
