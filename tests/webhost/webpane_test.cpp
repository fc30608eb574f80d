#include "exception.h"
#include "pageaddress.h"
#include "scratchdir.h"
#include "webpane.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <filesystem>
#include <gtest/gtest.h>

using quorvel::WebPane;

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
