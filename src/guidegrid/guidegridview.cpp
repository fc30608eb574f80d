#include "guidegrid/guidegridview.h"

#include <QDateTime>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace quorvel {
namespace {

constexpr int kSecondsPerStep = 60; // the horizontal scroll bar counts minutes
constexpr int kPanDistance = 6;

std::int64_t HalfHourOf(std::int64_t instant)
{
    const std::int64_t h = GuideGridView::kHalfHour;
    return instant >= 0 ? instant / h * h : (instant - h + 1) / h * h;
}

} // namespace

GuideGridView::GuideGridView(GridChannels& channels, GridCache& cache, QWidget* parent)
    : QAbstractScrollArea(parent), channels_(channels), cache_(cache)
{
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    verticalScrollBar()->setSingleStep(kRowHeight);
    horizontalScrollBar()->setSingleStep(int(kHalfHour / kSecondsPerStep));
    const std::int64_t now = Now();
    SetRange(now - kDay, now + 7 * kDay);
}

std::int64_t GuideGridView::Now() const { return clock_ ? clock_() : QDateTime::currentSecsSinceEpoch(); }

void GuideGridView::SetArchiveDays(std::function<int(const QString&)> archiveDays)
{
    archiveDays_ = std::move(archiveDays);
    ForgetArchives();
}

void GuideGridView::ForgetArchives()
{
    archiveKnown_.clear();
    viewport()->update();
}

bool GuideGridView::FromArchive(const QString& channel, std::int64_t start) const
{
    if (!archiveDays_)
        return false;
    auto it = archiveKnown_.constFind(channel);
    if (it == archiveKnown_.constEnd())
        it = archiveKnown_.insert(channel, std::max(0, archiveDays_(channel)));
    const std::int64_t now = Now();
    return *it > 0 && start <= now && now - start <= std::int64_t{*it} * kDay;
}

void GuideGridView::SetChannelsOnly(bool only)
{
    channelsOnly_ = only;
    viewport()->update();
}

void GuideGridView::SetPlaying(const QString& channel)
{
    if (channel == playing_)
        return;
    playing_ = channel;
    viewport()->update();
}

void GuideGridView::SetRange(std::int64_t first, std::int64_t last)
{
    const std::int64_t shown = first_ != last_ ? ViewStart() : HalfHourOf(Now());
    first_ = HalfHourOf(first);
    last_ = std::max(last, first_ + kDay);
    UpdateScrollBars();
    ShowTime(shown);
}

void GuideGridView::RowsChanged()
{
    cache_.Clear();
    selection_ = {};
    UpdateScrollBars();
    verticalScrollBar()->setValue(0);
    viewport()->update();
    emit selectionChanged();
}

std::int64_t GuideGridView::ViewStart() const
{
    return first_ + std::int64_t(horizontalScrollBar()->value()) * kSecondsPerStep;
}

std::int64_t GuideGridView::ViewEnd() const
{
    return ViewStart() + std::int64_t((viewport()->width() - kChannelWidth) / PixelsPerSecond()) + 1;
}

void GuideGridView::ShowTime(std::int64_t instant)
{
    horizontalScrollBar()->setValue(
        int(std::clamp<std::int64_t>((instant - first_) / kSecondsPerStep, 0, horizontalScrollBar()->maximum())));
    viewport()->update();
}

int GuideGridView::TopRow() const { return verticalScrollBar()->value() / kRowHeight; }

int GuideGridView::PageRows() const { return std::max(1, (viewport()->height() - kHeaderHeight) / kRowHeight); }

int GuideGridView::XOf(std::int64_t instant) const
{
    const double x = kChannelWidth + (instant - ViewStart()) * PixelsPerSecond();
    return int(std::clamp(x, -1e6, 1e6));
}

std::int64_t GuideGridView::TimeAt(int x) const
{
    return ViewStart() + std::int64_t((x - kChannelWidth) / PixelsPerSecond());
}

int GuideGridView::RowAt(int y) const
{
    if (y < kHeaderHeight)
        return -1;
    const int row = (y - kHeaderHeight + verticalScrollBar()->value()) / kRowHeight;
    return row < channels_.Count() ? row : -1;
}

QPoint GuideGridView::PointOf(int row, std::int64_t instant) const
{
    return {XOf(instant) + 2, kHeaderHeight + row * kRowHeight - verticalScrollBar()->value() + kRowHeight / 2};
}

QString GuideGridView::NameOf(int row) const { return channels_.At(row).name; }

void GuideGridView::UpdateScrollBars()
{
    const int body = std::max(0, viewport()->height() - kHeaderHeight);
    QScrollBar* v = verticalScrollBar();
    v->setRange(0, std::max(0, channels_.Count() * kRowHeight - body));
    v->setPageStep(std::max(kRowHeight, body / kRowHeight * kRowHeight));
    const std::int64_t shownSeconds = std::int64_t((viewport()->width() - kChannelWidth) / PixelsPerSecond());
    QScrollBar* h = horizontalScrollBar();
    h->setRange(0, int(std::max<std::int64_t>(0, (last_ - first_ - shownSeconds) / kSecondsPerStep)));
    h->setPageStep(int(std::max<std::int64_t>(1, shownSeconds / kSecondsPerStep)));
}

void GuideGridView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void GuideGridView::scrollContentsBy(int dx, int /*dy*/)
{
    viewport()->update();
    if (dx != 0)
        emit timeShown(ViewStart());
}

void GuideGridView::Fill()
{
    if (channelsOnly_ || channels_.Count() == 0)
        return;
    const int top = TopRow();
    cache_.Need(top, top + PageRows() + 1, channels_.Count(), ViewStart(), ViewEnd(),
                [this](int row) { return NameOf(row); });
}

void GuideGridView::SelectCell(int row, const GridCell* cell, std::int64_t instant)
{
    selection_.row = row;
    selection_.programme = cell != nullptr;
    if (cell) {
        selection_.cell = *cell;
    } else {
        const std::int64_t start = HalfHourOf(instant);
        selection_.cell = GridCell{start, start + kHalfHour, 0, QString()};
    }
    ScrollToSelection();
    viewport()->update();
    emit selectionChanged();
}

void GuideGridView::Select(int row, std::int64_t instant)
{
    if (row < 0 || row >= channels_.Count())
        return;
    anchor_ = instant;
    if (instant < ViewStart() || instant >= ViewEnd())
        ShowTime(HalfHourOf(instant) - kHalfHour);
    const int top = TopRow();
    if (row < top || row >= top + PageRows())
        verticalScrollBar()->setValue(std::max(0, row * kRowHeight - (PageRows() / 2) * kRowHeight));
    Fill();
    SelectCell(row, CellAt(cache_.Row(row), instant), instant);
}

void GuideGridView::ScrollToSelection()
{
    const int row = selection_.row;
    if (row < 0)
        return;
    QScrollBar* v = verticalScrollBar();
    const int body = std::max(kRowHeight, viewport()->height() - kHeaderHeight);
    if (row * kRowHeight < v->value())
        v->setValue(row * kRowHeight);
    else if ((row + 1) * kRowHeight > v->value() + body)
        v->setValue((row + 1) * kRowHeight - body);
    const std::int64_t start = std::max(selection_.cell.start, first_);
    if (start < ViewStart() || start >= ViewEnd() - kHalfHour / 2)
        ShowTime(HalfHourOf(start));
}

void GuideGridView::Step(int direction)
{
    if (selection_.row < 0) {
        Select(TopRow(), std::max(Now(), ViewStart()));
        return;
    }
    const int row = selection_.row;
    const std::int64_t target = direction < 0 ? selection_.cell.start - 1 : selection_.cell.stop;
    if (target < first_ || target >= last_)
        return;
    if (target < ViewStart() || target >= ViewEnd())
        ShowTime(direction < 0 ? HalfHourOf(target) - 4 * kHalfHour : HalfHourOf(target));
    Fill();
    const std::vector<GridCell>& cells = cache_.Row(row);
    const GridCell* cell = CellAt(cells, target);
    if (!cell) {
        // A gap: the half hour beside the selection, so that a gap can be crossed step by step.
        SelectCell(row, nullptr, target);
    } else {
        SelectCell(row, cell, target);
    }
    anchor_ = std::max(selection_.cell.start, ViewStart());
}

void GuideGridView::DayEdge(int direction)
{
    if (selection_.row < 0)
        return;
    const QDateTime at = QDateTime::fromSecsSinceEpoch(selection_.cell.start);
    const std::int64_t dayStart = at.date().startOfDay().toSecsSinceEpoch();
    const std::int64_t dayEnd = at.date().addDays(1).startOfDay().toSecsSinceEpoch();
    ShowTime(direction < 0 ? dayStart : dayEnd - 4 * kHalfHour);
    Fill();
    const std::vector<GridCell>& cells = cache_.Row(selection_.row);
    const GridCell* found = nullptr;
    for (const GridCell& c : cells)
        if (c.stop > dayStart && c.start < dayEnd && (!found || direction > 0))
            found = &c;
    if (found) {
        anchor_ = found->start;
        SelectCell(selection_.row, found, found->start);
    }
}

void GuideGridView::keyPressEvent(QKeyEvent* event)
{
    const int rows = channels_.Count();
    auto toRow = [&](int row) {
        if (rows == 0)
            return;
        Select(std::clamp(row, 0, rows - 1), selection_.row < 0 ? std::max(Now(), ViewStart()) : anchor_);
    };
    switch (event->key()) {
    case Qt::Key_Left:
        Step(-1);
        break;
    case Qt::Key_Right:
        Step(+1);
        break;
    case Qt::Key_Up:
        toRow(selection_.row < 0 ? TopRow() : selection_.row - 1);
        break;
    case Qt::Key_Down:
        toRow(selection_.row < 0 ? TopRow() : selection_.row + 1);
        break;
    case Qt::Key_PageUp:
        verticalScrollBar()->setValue(verticalScrollBar()->value() - PageRows() * kRowHeight);
        toRow(std::max(0, selection_.row) - PageRows());
        break;
    case Qt::Key_PageDown:
        verticalScrollBar()->setValue(verticalScrollBar()->value() + PageRows() * kRowHeight);
        toRow(std::max(0, selection_.row) + PageRows());
        break;
    case Qt::Key_Home:
        DayEdge(-1);
        break;
    case Qt::Key_End:
        DayEdge(+1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (selection_.row >= 0)
            emit activated();
        break;
    case Qt::Key_R:
        if (event->modifiers() != Qt::ControlModifier) {
            QAbstractScrollArea::keyPressEvent(event);
            return;
        }
        emit recordKey();
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void GuideGridView::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->position().toPoint();
    pressedH_ = horizontalScrollBar()->value();
    pressedV_ = verticalScrollBar()->value();
    panning_ = false;
    setFocus(Qt::MouseFocusReason);
}

void GuideGridView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint moved = event->position().toPoint() - pressed_;
    if (!panning_ && moved.manhattanLength() < kPanDistance)
        return;
    panning_ = true;
    viewport()->setCursor(Qt::ClosedHandCursor);
    horizontalScrollBar()->setValue(pressedH_ - int(moved.x() / PixelsPerSecond() / kSecondsPerStep));
    verticalScrollBar()->setValue(pressedV_ - moved.y());
}

void GuideGridView::mouseReleaseEvent(QMouseEvent* event)
{
    viewport()->unsetCursor();
    if (panning_ || event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    const int row = RowAt(at.y());
    if (row < 0)
        return;
    Select(row, at.x() >= kChannelWidth ? TimeAt(at.x()) : std::max(Now(), ViewStart()));
}

void GuideGridView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    const int row = RowAt(at.y());
    if (row < 0)
        return;
    Select(row, at.x() >= kChannelWidth ? TimeAt(at.x()) : std::max(Now(), ViewStart()));
    emit activated();
}

void GuideGridView::wheelEvent(QWheelEvent* event)
{
    const QPoint angle = event->angleDelta();
    const bool time = (event->modifiers() & Qt::ShiftModifier) || (angle.x() != 0 && angle.y() == 0);
    // A touchpad turns the wheel by small steps: they add up to notches.
    wheelRest_ += angle.y() != 0 ? angle.y() : angle.x();
    const int notches = wheelRest_ / 120;
    wheelRest_ -= notches * 120;
    if (time)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - notches * int(kHalfHour / kSecondsPerStep));
    else
        verticalScrollBar()->setValue(verticalScrollBar()->value() - notches * 3 * kRowHeight);
    event->accept();
}

} // namespace quorvel
