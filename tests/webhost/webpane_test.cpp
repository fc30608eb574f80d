#include "base/exception.h"
#include "scratchdir.h"
#include "sponsor/pageaddress.h"
#include "webhost/dialogguard.h"
#include "webhost/webpane.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QInputDialog>
#include <QMap>
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
#include <gtest/gtest.h>
#include <memory>

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

TEST(WebPane, AWaitThatWouldNotEndEndsAtItsTimeOut)
{
    // A server that accepts the connection and never answers keeps the page loading.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    WebPane pane;
    pane.resize(300, 200);
    pane.show();
    const QString address = QString("http://127.0.0.1:%1/page.dat").arg(silent.serverPort());
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(pane.Navigate(address, 500));
    EXPECT_GE(clock.elapsed(), 500);
    EXPECT_LT(clock.elapsed(), 10000);
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
    EXPECT_FALSE(pane.Visible());
    pane.show();
    EXPECT_TRUE(pane.Visible());
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
                    requests.append(request);
                    for (const QByteArray& line : request.split('\n'))
                        if (line.toLower().startsWith("user-agent:"))
                            agents[QString::fromLatin1(path)] = QString::fromLatin1(line.mid(11).trimmed());
                    const QByteArray body = "<html><head><title>Served</title></head><body>served</body></html>";
                    socket->write(
                        "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\nContent-Length: " +
                        QByteArray::number(body.size()) + "\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    QString Url(const QString& path) const
    {
        return QString("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
    }

    QStringList paths;
    // The user agent each path was asked for with, and every request whole.
    QMap<QString, QString> agents;
    QList<QByteArray> requests;

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
        host.resize(500, 400);
        pane = new WebPane(&host);
        pane->resize(500, 400);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host, 20000));
    }
    void TearDown() override { WebPane::SetSaveAsk(nullptr); }
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

    ScratchDir dir;
    QWidget host;
    WebPane* pane = nullptr;
};

} // namespace

TEST_F(PaneTest, AScriptErrorShowsNoDialogAndLaterScriptsRun)
{
    // The page's own call on the host object fails: there is none, and no bridge of the engine
    // is offered in its place.
    Show("<html><head><title>start</title></head><body>"
         "<script>var seen = ''; window.addEventListener('error', function (e) { seen = e.message; });</script>"
         "<script>window.external.AddFavorite('http://quorvel.tv/');</script>"
         "<script>setTimeout(function () {"
         "  document.title = 'after:' + typeof qt + ':' + (seen.indexOf('AddFavorite') >= 0); }, 100);</script>"
         "</body></html>");
    EXPECT_TRUE(TitleBecomes("after:undefined:true")) << pane->Page()->title().toStdString();
    QTest::qWait(200);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_TRUE(w == &host || !w->isVisible()) << w->metaObject()->className();
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
    pane->Policy().RefusedCtrlKeys = "n";
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
         "<a id='app' href='quorveltest://run'>app</a><a id='blank' target='_blank' href='" +
         second.toStdString() +
         "'>b</a>"
         "<script>"
         "window.open('file:///etc/hostname');"
         "window.open('quorveltest://window');"
         "document.getElementById('app').click();"
         "window.open('" +
         first.toStdString() +
         "');"
         "document.getElementById('blank').click();"
         "setTimeout(function () { window.open('" +
         last.toStdString() +
         "'); }, 200);"
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
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return QFile::exists(QString::fromStdString(chosen)) && ScratchDir::Slurp(chosen) == "hello file"; },
        20000));
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

TEST_F(PaneTest, RightClickShowsTheEnginesMenuWithoutWhatNeedsAWindowOfOurs)
{
    Show("<html><body style='height:100%'>Page</body></html>");
    QMenu* menu = RightClick(Inner(), QPoint(200, 200));
    ASSERT_NE(menu, nullptr);
    const QStringList standard = Items(menu);
    EXPECT_TRUE(standard.contains(pane->Page()->action(QWebEnginePage::Back)->text()));
    EXPECT_TRUE(standard.contains(pane->Page()->action(QWebEnginePage::Reload)->text()));
    // Page source would need a window of ours.
    EXPECT_FALSE(standard.contains(pane->Page()->action(QWebEnginePage::ViewSource)->text()));
    // Neither would the inspector.
    EXPECT_FALSE(standard.contains(pane->Page()->action(QWebEnginePage::InspectElement)->text()));
    EXPECT_NE(standard.first(), "-");
    EXPECT_NE(standard.last(), "-");
    menu->close();
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() == nullptr; }, 5000));
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

    // A dialog with the browser's caption: the application's icon, an empty caption.
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
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (answer())
            poll.stop();
    });
    poll.start(20);
    QMessageBox own(QMessageBox::Information, "Microsoft Internet Explorer", "hello", QMessageBox::Ok, &host);
    own.exec();
    EXPECT_EQ(caption, "");
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

TEST_F(PaneTest, PageDialogsAreTheProgramsOwn)
{
    QStringList shown;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            shown << box->windowTitle() + "|" + box->text();
            box->button(QMessageBox::Ok)->click();
        } else if (auto* input = qobject_cast<QInputDialog*>(modal)) {
            shown << input->labelText() + "|" + input->textValue();
            input->setTextValue("typed");
            input->accept();
        }
    });
    poll.start(20);
    Show("<html><body><script>alert('hello');"
         "var sure = confirm('sure?') ? 'confirmed' : 'refused';"
         "document.title = sure + ':' + prompt('name?', 'given');</script></body></html>");
    EXPECT_TRUE(TitleBecomes("confirmed:typed")) << pane->Page()->title().toStdString();
    EXPECT_EQ(shown, QStringList({"|hello", "|sure?", "name?|given"}));
}

TEST_F(PaneTest, TheUserAgentOfThePolicyIsSentAsOneLine)
{
    PageServer server;
    const auto load = [&](const QString& path) {
        QSignalSpy finished(pane, &WebPane::loadFinished);
        pane->Navigate(server.Url(path), 0);
        return finished.wait(20000);
    };
    ASSERT_TRUE(load("/engine"));
    const QString engines = server.agents.value("/engine");
    EXPECT_TRUE(engines.startsWith("Mozilla/")) << engines.toStdString();

    // Nothing after the first line end reaches the server.
    pane->Policy().UserAgent = "Quorvel/1.12 (X11)\r\nCookie: x=1";
    ASSERT_TRUE(load("/own"));
    EXPECT_EQ(server.agents.value("/own"), "Quorvel/1.12 (X11)");
    for (const QByteArray& request : server.requests)
        EXPECT_FALSE(request.contains("x=1")) << request.toStdString();

    // One that is no printable text leaves the engine's own.
    pane->Policy().UserAgent = "Quorvel/1.12 caf\u00e9";
    ASSERT_TRUE(load("/accent"));
    EXPECT_EQ(server.agents.value("/accent"), engines);
}
