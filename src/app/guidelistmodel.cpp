#include "app/guidelistmodel.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>

namespace quorvel {
namespace {

constexpr std::int64_t kHour = 3600;

QDateTime Local(std::int64_t instant, const QTimeZone& zone) { return QDateTime::fromSecsSinceEpoch(instant, zone); }

// A day's first instant: midnight, or the first moment after it where a clock change skips it.
std::int64_t StartOf(QDate day, const QTimeZone& zone) { return day.startOfDay(zone).toSecsSinceEpoch(); }

} // namespace

std::pair<std::int64_t, std::int64_t> GuideListModel::Span(std::int64_t now, const QTimeZone& zone, int archiveDays)
{
    const QDate today = Local(now, zone).date();
    return {StartOf(today.addDays(-std::max(archiveDays, 0)), zone), StartOf(today.addDays(2), zone)};
}

void GuideListModel::Clear()
{
    channel_.clear();
    rows_.clear();
    current_ = -1;
    nextChange_ = 0;
    state_ = State::NoChannel;
}

void GuideListModel::Show(const QString& channel, const std::vector<Programme>& programmes, std::int64_t now,
                          const QTimeZone& zone, int archiveDays)
{
    Clear();
    channel_ = channel;
    zone_ = zone;
    today_ = Local(now, zone).date();
    archiveDays_ = std::max(archiveDays, 0);
    const auto [from, to] = Span(now, zone, archiveDays_);
    const std::int64_t reach = now - std::int64_t{archiveDays_} * 24 * kHour;
    const std::int64_t tomorrow = StartOf(today_.addDays(1), zone);
    nextChange_ = tomorrow;

    // On now is the latest to have started, as the channel card and the tooltip have it: a guide
    // whose programmes overlap names one of them, the same everywhere.
    const Programme* onNow = nullptr;
    for (const Programme& p : programmes)
        if (p.start <= now && (!onNow || p.start > onNow->start))
            onNow = &p;
    if (onNow && onNow->stop <= now)
        onNow = nullptr;

    QDate day;
    for (const Programme& p : programmes) {
        if (p.stop <= from || p.start >= to || p.stop <= p.start)
            continue;
        const QDate listed = p.start < from ? Local(from, zone).date() : Local(p.start, zone).date();
        if (listed != day) {
            day = listed;
            Row heading;
            heading.heading = true;
            heading.day = day;
            rows_.push_back(heading);
        }
        Row row;
        row.day = day;
        row.programme = p;
        row.current = &p == onNow;
        row.fromArchive = !row.current && p.start < now && p.start >= reach && archiveDays_ > 0;
        if (row.current) {
            current_ = static_cast<int>(rows_.size());
            nextChange_ = std::min(nextChange_, p.stop);
        }
        if (p.start > now)
            nextChange_ = std::min(nextChange_, p.start);
        rows_.push_back(std::move(row));
    }
    if (nextChange_ <= now)
        nextChange_ = now + kHour;
    state_ = rows_.empty() ? State::NoGuide : State::Listed;
}

int GuideListModel::RowStarting(std::int64_t start) const
{
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (!rows_[i].heading && rows_[i].programme.start == start)
            return static_cast<int>(i);
    return -1;
}

int GuideListModel::ProgrammeRowFrom(int row, int direction) const
{
    const int step = direction < 0 ? -1 : 1;
    for (int i = row + step; i >= 0 && i < static_cast<int>(rows_.size()); i += step)
        if (!rows_[static_cast<std::size_t>(i)].heading)
            return i;
    return -1;
}

QString GuideListModel::Span(const Programme& programme) const
{
    const auto clock = [this](std::int64_t t) { return Local(t, zone_).toString(QStringLiteral("HH:mm")); };
    return clock(programme.start) + QChar(0x2013) + clock(programme.stop);
}

QString GuideListModel::Text(const Row& row) const
{
    if (row.heading) {
        const QString date = QLocale(QLocale::English).toString(row.day, QStringLiteral("dddd d MMMM"));
        if (row.day == today_)
            return QStringLiteral("Today, ") + date;
        if (row.day == today_.addDays(1))
            return QStringLiteral("Tomorrow, ") + date;
        if (row.day == today_.addDays(-1))
            return QStringLiteral("Yesterday, ") + date;
        return date;
    }
    const QString start = Local(row.programme.start, zone_).toString(QStringLiteral("HH:mm"));
    // A playable past programme is marked, as players mark what can be watched again.
    return start + (row.fromArchive ? QStringLiteral(" \u21BA ") : QStringLiteral("  ")) +
           QString::fromStdString(row.programme.title);
}

QString GuideListModel::Message() const
{
    switch (state_) {
    case State::NoChannel:
        return QStringLiteral("Choose a channel in the Web TV tree to see its programmes.");
    case State::NoGuide:
        return QStringLiteral("There is no programme guide for %1 today or tomorrow.").arg(channel_);
    case State::Listed:
        break;
    }
    return {};
}

} // namespace quorvel
