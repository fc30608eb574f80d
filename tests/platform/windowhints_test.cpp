// What the X server keeps of a window while others cover it.
#include "platform/windowhints.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class PlainWindow : public QRasterWindow {
public:
    explicit PlainWindow(QColor colour) : colour_(colour)
    {
        setFlag(Qt::FramelessWindowHint);
        setGeometry(60, 60, 200, 150);
    }
    int drawingsAsked = 0;

protected:
    // Asked to draw again: by an exposure, or a paint event Qt makes of one.
    bool event(QEvent* e) override
    {
        drawingsAsked += e->type() == QEvent::Paint || (e->type() == QEvent::Expose && isExposed());
        return QRasterWindow::event(e);
    }
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(QRect(QPoint(), size()), colour_); }

private:
    QColor colour_;
};

} // namespace

TEST(WindowHintsTest, AWindowThatKeepsItsContentsIsWholeAgainWhenACoverGoesWithNothingDrawn)
{
    PlainWindow kept(Qt::red);
    EXPECT_FALSE(quorvel::KeepContentsWhenCovered(&kept)) << "no window exists yet";
    kept.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&kept, 10000));
    ASSERT_TRUE(quorvel::KeepContentsWhenCovered(&kept));
    QTest::qWait(200);

    PlainWindow cover(Qt::blue);
    cover.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&cover, 10000));
    QTest::qWait(200);
    const int before = kept.drawingsAsked;
    cover.hide();
    QTest::qWait(300);
    // Without it, the server clears what the cover uncovered and asks for it to be drawn again.
    EXPECT_EQ(kept.drawingsAsked, before);
    const QRgb centre = QGuiApplication::primaryScreen()->grabWindow(0, 160, 135, 1, 1).toImage().pixel(0, 0);
    EXPECT_EQ(centre & 0xffffff, 0xff0000u) << std::hex << centre;
}
