// The focus and wheel guards with the real main window, under the harness's X server.
#include "app/channeltreeview.h"
#include "app/form1.h"
#include "scratchdir.h"
#include "webhost/activecontrol.h"
#include "webhost/webhostfocuscontrol.h"
#include "webhost/webhostmodule.h"
#include "webhost/webpane.h"
#include "widgets/errorbox.h"

#include <QApplication>
#include <QProcess>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWheelEvent>

#include <cfenv>
#include <gtest/gtest.h>
#include <memory>

using namespace quorvel;

namespace {

// Counts the turns of the wheel that reach a widget.
class WheelCounter : public QObject {
public:
    int turns = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Wheel)
            ++turns;
        return false;
    }
};

void Xdotool(const QStringList& args) { QProcess::execute(QStringLiteral("xdotool"), args); }

void WheelDownAt(QPoint global)
{
    Xdotool({"mousemove", QString::number(global.x()), QString::number(global.y()), "click", "5"});
}

class GuardsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetErrorPresenter([this](const QString&, const QString& message) { errors.push_back(message); });
        // A start page longer than its pane.
        std::string lines;
        for (int i = 0; i < 300; ++i)
            lines += "<p>line " + std::to_string(i) + "</p>";
        ScratchDir::Spit(dir.File("TVAPI.dat"),
                         "<!DOCTYPE html><html><head><title>Start</title></head><body>" + lines + "</body></html>");
        ScratchDir::Spit(dir.File("TVADS.dat"), "<!DOCTYPE html><html><body>Ads</body></html>");
        ScratchDir::Spit(dir.File("VisibleAPI.dat"), "[Layer1]\nNews=\nSports=\n");
        module = std::make_unique<WebHostModule>();
        form = std::make_unique<Form1>(dir.Path() + "/", QStringLiteral("null"));
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get(), 20000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return form->WebPane2->IsLoadComplete(); }, 20000));
        ASSERT_TRUE(Activate(form.get()));
    }
    void TearDown() override
    {
        form.reset();
        module.reset();
        EXPECT_TRUE(errors.empty()) << errors.front().toStdString();
        SetErrorPresenter(nullptr);
    }
    // Without a window manager, windows are activated by the test.
    static bool Activate(QWidget* window)
    {
        window->activateWindow();
        return QTest::qWaitFor([&] { return QApplication::activeWindow() == window; }, 10000);
    }
    QWidget* Page2() const { return form->WebPane2->View()->focusProxy(); }
    QPoint Page2Middle() const { return form->WebPane2->mapToGlobal(form->WebPane2->rect().center()); }
    qreal Scrolled() const { return form->WebPane2->Page()->scrollPosition().y(); }

    std::vector<QString> errors;
    ScratchDir dir;
    std::unique_ptr<WebHostModule> module;
    std::unique_ptr<Form1> form;
};

} // namespace

TEST_F(GuardsTest, WheelOverAPaneFirstMovesTheFocusIntoItsPage)
{
    form->TreeView1->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->TreeView1->hasFocus(); }, 5000));
    ASSERT_NE(Page2(), nullptr);
    WheelCounter counter;
    Page2()->installEventFilter(&counter);

    // The first turn moves the focus and is dropped.
    WheelDownAt(Page2Middle());
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->WebPane2->PageHasFocus(); }, 10000));
    EXPECT_EQ(counter.turns, 0);
    EXPECT_EQ(Scrolled(), 0);
    EXPECT_EQ(ActiveControl::Of(form.get()), form->WebPane2);

    // The next turns scroll the page.
    WheelDownAt(Page2Middle());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Scrolled() > 0; }, 10000));
    EXPECT_EQ(counter.turns, 1);
    const qreal once = Scrolled();
    WheelDownAt(Page2Middle());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Scrolled() > once; }, 10000));
    EXPECT_EQ(counter.turns, 2);
    EXPECT_TRUE(form->WebPane2->PageHasFocus());

    // Over the tree the wheel is the tree's, wherever the focus is.
    const QPoint tree = form->TreeView1->mapToGlobal(form->TreeView1->rect().center());
    WheelDownAt(tree);
    QTest::qWait(200);
    EXPECT_TRUE(form->WebPane2->PageHasFocus());
}

TEST_F(GuardsTest, ReactivatedWindowGivesItsPaneThePageFocusBack)
{
    WebHostFocusControl* guard = &module->FocusGuard();
    QWidget other;
    other.setWindowTitle("Other program");
    other.setGeometry(0, 0, 200, 100);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other, 20000));

    // A click puts the focus into the start page: the pane is the window's active control.
    const QPoint middle = Page2Middle();
    Xdotool({"mousemove", QString::number(middle.x()), QString::number(middle.y()), "click", "1"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->WebPane2->PageHasFocus(); }, 10000));
    EXPECT_EQ(ActiveControl::Of(form.get()), form->WebPane2);

    // Away to another program; meanwhile the window loses track of its focused widget, as when
    // the engine replaces its own.
    ASSERT_TRUE(Activate(&other));
    Page2()->clearFocus();
    ASSERT_EQ(form->focusWidget(), nullptr);
    const int before = guard->Requests();
    ASSERT_TRUE(Activate(form.get()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->WebPane2->PageHasFocus(); }, 10000))
        << (QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className() : "no focus");
    EXPECT_EQ(guard->Requests(), before + 1);

    // With the tree as the active control nothing is asked of any pane.
    form->TreeView1->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->TreeView1->hasFocus(); }, 5000));
    ASSERT_TRUE(Activate(&other));
    const int treeBefore = guard->Requests();
    ASSERT_TRUE(Activate(form.get()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->TreeView1->hasFocus(); }, 5000));
    EXPECT_EQ(guard->Requests(), treeBefore);
}

TEST_F(GuardsTest, PanesKeepTheModulesFloatingPointEnvironment)
{
    EXPECT_TRUE(form->WebPane1->HoldsDialogGuard());
    EXPECT_FALSE(form->WebPane2->HoldsDialogGuard());

    // What a library leaves behind is undone when a pane completes loading.
    const int saved = std::fegetround();
    std::fesetround(FE_UPWARD);
    form->WebPane2->Loaded();
    EXPECT_EQ(std::fegetround(), saved);

    // The module's end puts back the environment of its start.
    form.reset();
    std::fesetround(FE_TOWARDZERO);
    module.reset();
    EXPECT_EQ(std::fegetround(), saved);
}
