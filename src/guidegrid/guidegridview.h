#pragma once

#include "guidegrid/gridcache.h"
#include "guidegrid/gridchannels.h"

#include <QAbstractScrollArea>
#include <QHash>
#include <QImage>
#include <QPoint>
#include <QRgb>

#include <cstdint>
#include <functional>

namespace quorvel {

// The grid itself: channels down the side (logo, number, name), half hours across with their
// times on top, each channel's programmes as cells, a line at now. It draws only the rows and
// the time in sight, from the cache. The arrows move from programme to programme, Page Up/Down
// a screen of channels, Home/End to the channel's first and last programme of the day; the
// wheel scrolls channels (with Shift, time) and a drag pans.
class GuideGridView : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kChannelWidth = 230;
    static constexpr int kHeaderHeight = 28;
    static constexpr int kRowHeight = 44;
    static constexpr int kHalfHourWidth = 180;
    static constexpr std::int64_t kHalfHour = 1800;
    static constexpr std::int64_t kDay = 86400;
    // The colour of the sign on programmes that can be played from the archive.
    static constexpr QRgb kArchiveColour = 0xff14966e;

    // What is selected: a channel's row and a programme on it, or a half hour with none.
    struct Selection {
        int row = -1;
        bool programme = false;
        GridCell cell; // the programme; or the empty half hour's start and stop
    };

    GuideGridView(GridChannels& channels, GridCache& cache, QWidget* parent = nullptr);

    void SetLogos(std::function<QImage(const QString&, int)> logoOf) { logoOf_ = std::move(logoOf); }
    void SetNumbers(std::function<int(const QString&)> numberOf) { numberOf_ = std::move(numberOf); }
    // Whether a reminder is set for the channel's programme of that start.
    void SetReminded(std::function<bool(const QString&, std::int64_t)> reminded) { reminded_ = std::move(reminded); }
    // How many days back a channel's archive reaches (0 for none). It may read the database, so
    // the answer is kept per channel until ForgetArchives.
    void SetArchiveDays(std::function<int(const QString&)> archiveDays);
    void ForgetArchives();
    // Whether the channel's programme of that start can be played from its archive: begun, and
    // within the archive's days.
    bool FromArchive(const QString& channel, std::int64_t start) const;
    // The clock (seconds since the epoch); the system's unless a test sets one.
    void SetClock(std::function<std::int64_t()> clock) { clock_ = std::move(clock); }
    // Draws the channel column alone, reading no programmes (a yardstick for the benchmark).
    void SetChannelsOnly(bool only);

    void SetPlaying(const QString& channel);
    // The time the guide covers: the scroll bar's ends.
    void SetRange(std::int64_t first, std::int64_t last);
    std::int64_t RangeFirst() const { return first_; }
    std::int64_t RangeLast() const { return last_; }
    // The rows changed (another category, a find text, the guide read again).
    void RowsChanged();

    std::int64_t Now() const;
    // The time at the grid's left edge; shows that time there.
    std::int64_t ViewStart() const;
    void ShowTime(std::int64_t instant);
    // The first row in sight and how many rows fit.
    int TopRow() const;
    int PageRows() const;

    const Selection& Selected() const { return selection_; }
    // Selects the programme on the row at the instant (or its half hour), in sight.
    void Select(int row, std::int64_t instant);
    // Where on the widget a row's cell at the instant lies (for tests and the benchmark).
    QPoint PointOf(int row, std::int64_t instant) const;

signals:
    void selectionChanged();
    // Enter or a double click on the selection.
    void activated();
    // Ctrl+R on the selection.
    void recordKey();
    void timeShown(std::int64_t viewStart);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    double PixelsPerSecond() const { return kHalfHourWidth / double(kHalfHour); }
    std::int64_t ViewEnd() const;
    int XOf(std::int64_t instant) const;
    std::int64_t TimeAt(int x) const;
    int RowAt(int y) const;
    void UpdateScrollBars();
    // Reads what the rows and the time in sight need.
    void Fill();
    QString NameOf(int row) const;
    void SelectCell(int row, const GridCell* cell, std::int64_t instant);
    // Moves to the neighbouring programme of the selected row that way in time.
    void Step(int direction);
    // Home (-1) or End (+1): the row's first or last programme of the selection's day.
    void DayEdge(int direction);
    void ScrollToSelection();

    void PaintHeader(class QPainter& p, std::int64_t from, std::int64_t to) const;
    void PaintChannel(QPainter& p, int row, const QRect& rect) const;
    void PaintCells(QPainter& p, int row, const QRect& rect, std::int64_t from, std::int64_t to,
                    std::int64_t now) const;

    GridChannels& channels_;
    GridCache& cache_;
    std::function<QImage(const QString&, int)> logoOf_;
    std::function<int(const QString&)> numberOf_;
    std::function<bool(const QString&, std::int64_t)> reminded_;
    std::function<std::int64_t()> clock_;
    std::function<int(const QString&)> archiveDays_;
    mutable QHash<QString, int> archiveKnown_;
    bool channelsOnly_ = false;
    QString playing_;
    std::int64_t first_ = 0;
    std::int64_t last_ = 0;
    Selection selection_;
    std::int64_t anchor_ = 0; // the time up and down keep to
    QPoint pressed_;
    bool panning_ = false;
    int pressedH_ = 0;
    int pressedV_ = 0;
    int wheelRest_ = 0; // wheel turns short of a notch
};

} // namespace quorvel
