// How the grid draws itself: only the rows and the time in sight.
#include "guidegrid/guidegridview.h"

#include <QDateTime>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace quorvel {
namespace {

constexpr int kLogoSide = 32;
constexpr int kCellGap = 1;
constexpr int kTimeFits = 130; // a cell this wide shows its start time before its title
constexpr int kLeastText = 24; // narrower, a sliver of a cell shows no text (an ellipsis alone says nothing)

QColor Mix(const QColor& a, const QColor& b, double share)
{
    return QColor::fromRgbF(float(a.redF() * (1 - share) + b.redF() * share),
                            float(a.greenF() * (1 - share) + b.greenF() * share),
                            float(a.blueF() * (1 - share) + b.blueF() * share));
}

QString Clock(std::int64_t instant) { return QDateTime::fromSecsSinceEpoch(instant).toString(QStringLiteral("HH:mm")); }

} // namespace

void GuideGridView::paintEvent(QPaintEvent* /*event*/)
{
    Fill();
    QPainter p(viewport());
    const QPalette& pal = palette();
    const int width = viewport()->width();
    const int height = viewport()->height();
    p.fillRect(viewport()->rect(), pal.color(QPalette::Base));
    const std::int64_t from = ViewStart();
    const std::int64_t to = ViewEnd();
    const std::int64_t now = Now();
    const int scroll = verticalScrollBar()->value();
    const int first = scroll / kRowHeight;
    const int last = std::min(channels_.Count(), (scroll + height - kHeaderHeight) / kRowHeight + 1);
    for (int row = first; row < last; ++row) {
        const int y = kHeaderHeight + row * kRowHeight - scroll;
        PaintChannel(p, row, QRect(0, y, kChannelWidth, kRowHeight));
        if (!channelsOnly_)
            PaintCells(p, row, QRect(kChannelWidth, y, width - kChannelWidth, kRowHeight), from, to, now);
    }
    if (!channelsOnly_ && now >= from && now < to) {
        // Down the rows there are, not through the empty space under a short list.
        const int bottom = std::min(height, kHeaderHeight + channels_.Count() * kRowHeight - scroll);
        p.fillRect(QRect(XOf(now) - 1, kHeaderHeight, 2, bottom - kHeaderHeight), QColor(220, 40, 40));
    }
    PaintHeader(p, from, to);
    if (channels_.Count() == 0) {
        p.setPen(pal.color(QPalette::PlaceholderText));
        p.drawText(QRect(0, kHeaderHeight, width, height - kHeaderHeight), Qt::AlignCenter,
                   tr("No channel here. Choose another category or find another name."));
    }
}

void GuideGridView::PaintHeader(QPainter& p, std::int64_t from, std::int64_t to) const
{
    const QPalette& pal = palette();
    const int width = viewport()->width();
    p.fillRect(QRect(0, 0, width, kHeaderHeight), pal.color(QPalette::Button));
    p.setPen(pal.color(QPalette::Mid));
    p.drawLine(0, kHeaderHeight - 1, width, kHeaderHeight - 1);
    p.setPen(pal.color(QPalette::ButtonText));
    const QDate day = QDateTime::fromSecsSinceEpoch(from).date();
    p.drawText(QRect(8, 0, kChannelWidth - 16, kHeaderHeight), Qt::AlignVCenter | Qt::AlignLeft,
               QLocale().toString(day, QStringLiteral("ddd d MMM")));
    p.save();
    p.setClipRect(QRect(kChannelWidth, 0, width - kChannelWidth, kHeaderHeight));
    const std::int64_t h = kHalfHour;
    for (std::int64_t t = (from >= 0 ? from / h : from / h - 1) * h; t < to; t += h) {
        const int x = XOf(t);
        p.setPen(pal.color(QPalette::Mid));
        p.drawLine(x, kHeaderHeight - 8, x, kHeaderHeight - 1);
        p.setPen(pal.color(QPalette::ButtonText));
        p.drawText(QRect(x + 5, 0, kHalfHourWidth - 10, kHeaderHeight), Qt::AlignVCenter | Qt::AlignLeft, Clock(t));
    }
    const std::int64_t now = Now();
    if (!channelsOnly_ && now >= from && now < to) {
        const int x = XOf(now);
        const QPolygon mark(
            {QPoint(x - 6, kHeaderHeight - 8), QPoint(x + 6, kHeaderHeight - 8), QPoint(x, kHeaderHeight)});
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(220, 40, 40));
        p.drawPolygon(mark);
    }
    p.restore();
}

void GuideGridView::PaintChannel(QPainter& p, int row, const QRect& rect) const
{
    const QPalette& pal = palette();
    const GridChannels::Row& channel = channels_.At(row);
    const bool playing = !playing_.isEmpty() && channel.name.compare(playing_, Qt::CaseInsensitive) == 0;
    const bool selected = row == selection_.row;
    QColor back = pal.color(row % 2 ? QPalette::AlternateBase : QPalette::Window);
    if (playing)
        back = Mix(back, pal.color(QPalette::Highlight), 0.25);
    p.fillRect(rect, back);
    if (playing)
        p.fillRect(QRect(rect.left(), rect.top(), 4, rect.height()), pal.color(QPalette::Highlight));
    p.setPen(pal.color(QPalette::Mid));
    p.drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
    p.drawLine(rect.right(), rect.top(), rect.right(), rect.bottom());

    int x = rect.left() + 8;
    const QRect logo(x, rect.top() + (rect.height() - kLogoSide) / 2, kLogoSide, kLogoSide);
    const QImage image = logoOf_ ? logoOf_(channel.name, kLogoSide) : QImage();
    if (!image.isNull()) {
        const QSize size = image.size().scaled(logo.size(), Qt::KeepAspectRatio);
        p.drawImage(
            QRect(logo.topLeft() + QPoint((logo.width() - size.width()) / 2, (logo.height() - size.height()) / 2),
                  size),
            image);
    } else {
        p.fillRect(logo.adjusted(2, 2, -2, -2), pal.color(QPalette::Midlight));
    }
    x = logo.right() + 8;
    const int number = numberOf_ ? numberOf_(channel.name) : 0;
    QFont font = p.font();
    font.setBold(playing || selected);
    p.setFont(font);
    p.setPen(pal.color(QPalette::WindowText));
    if (number > 0) {
        p.drawText(QRect(x, rect.top(), 44, rect.height()), Qt::AlignVCenter | Qt::AlignRight, QString::number(number));
        x += 52;
    }
    const QRect nameRect(x, rect.top(), rect.right() - x - 6, rect.height());
    p.drawText(nameRect, Qt::AlignVCenter | Qt::AlignLeft,
               p.fontMetrics().elidedText(channel.name, Qt::ElideRight, nameRect.width()));
    font.setBold(false);
    p.setFont(font);
}

void GuideGridView::PaintCells(QPainter& p, int row, const QRect& rect, std::int64_t from, std::int64_t to,
                               std::int64_t now) const
{
    const QPalette& pal = palette();
    const QString& channel = channels_.At(row).name;
    const bool playing = !playing_.isEmpty() && channel.compare(playing_, Qt::CaseInsensitive) == 0;
    QColor rowBack = pal.color(QPalette::Base);
    if (playing)
        rowBack = Mix(rowBack, pal.color(QPalette::Highlight), 0.08);
    p.fillRect(rect, rowBack);
    p.save();
    // Nothing a cell holds reaches past its row, however long or odd the programme.
    p.setClipRect(rect);
    const QColor cellBack = Mix(pal.color(QPalette::Base), pal.color(QPalette::Button), 0.7);
    const QColor onNow = Mix(pal.color(QPalette::Base), pal.color(QPalette::Highlight), 0.3);
    const QColor past = Mix(pal.color(QPalette::Base), pal.color(QPalette::Button), 0.35);
    for (const GridCell& cell : cache_.Row(row)) {
        if (cell.stop <= from || cell.start >= to)
            continue;
        const int left = std::max(XOf(cell.start), rect.left() - 2);
        const int right = std::min(XOf(cell.stop), rect.right() + 2);
        if (right - left < 1)
            continue;
        const QRect box(left, rect.top() + kCellGap, right - left - kCellGap, rect.height() - 2 * kCellGap);
        const bool isNow = cell.start <= now && now < cell.stop;
        const bool selected = selection_.programme && selection_.row == row && selection_.cell.start == cell.start;
        p.fillRect(box, selected ? pal.color(QPalette::Highlight) : isNow ? onNow : cell.stop <= now ? past : cellBack);
        if (box.width() < 8)
            continue;
        // The title keeps to the part in sight of a programme that started before the left edge.
        const QRect text = QRect(std::max(box.left(), rect.left()) + 6, box.top(), 0, box.height())
                               .adjusted(0, 3, 0, -3)
                               .united(QRect(box.right() - 6, box.top() + 3, 1, box.height() - 6));
        p.setPen(selected           ? pal.color(QPalette::HighlightedText)
                 : cell.stop <= now ? pal.color(QPalette::PlaceholderText)
                                    : pal.color(QPalette::Text));
        QString label = cell.title.isEmpty() ? tr("(no title)") : cell.title;
        if (box.width() >= kTimeFits)
            label = Clock(cell.start) + QStringLiteral("  ") + label;
        const bool marked = reminded_ && reminded_(channel, cell.start);
        QRect room = marked ? text.adjusted(0, 0, -14, 0) : text;
        if (cell.start <= now && FromArchive(channel, cell.start)) {
            // Playable from the archive: the guide list's sign, in a colour of its own before the text.
            const QString sign = QStringLiteral("\u21BA");
            const int signWidth = p.fontMetrics().horizontalAdvance(sign);
            if (room.width() >= signWidth) {
                p.save();
                p.setPen(selected ? pal.color(QPalette::HighlightedText) : QColor::fromRgb(kArchiveColour));
                p.drawText(room, Qt::AlignVCenter | Qt::AlignLeft, sign);
                p.restore();
                room.setLeft(room.left() + signWidth + 4);
            }
        }
        if (room.width() > kLeastText)
            p.drawText(room, Qt::AlignVCenter | Qt::AlignLeft,
                       p.fontMetrics().elidedText(label, Qt::ElideRight, room.width()));
        if (marked) {
            // A reminder: an orange bell-shaped dot at the cell's right end.
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(240, 150, 20));
            p.drawEllipse(QRect(text.right() - 10, box.top() + box.height() / 2 - 5, 10, 10));
        }
    }
    if (selection_.row == row && !selection_.programme) {
        const QRect slot(XOf(selection_.cell.start), rect.top() + 1,
                         XOf(selection_.cell.stop) - XOf(selection_.cell.start), rect.height() - 3);
        p.setPen(QPen(pal.color(QPalette::Highlight), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(slot);
    }
    p.restore();
    p.setPen(pal.color(QPalette::Mid));
    p.drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
}

} // namespace quorvel
