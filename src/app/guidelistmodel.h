#pragma once

#include "guide/programme.h"

#include <QDate>
#include <QString>
#include <QTimeZone>

#include <cstdint>
#include <utility>
#include <vector>

namespace quorvel {

// What the guide list shows for one channel, without a widget: today's and tomorrow's
// programmes in local time, each day under a heading, the programme on now marked. A programme
// that runs over midnight is listed under the day it starts; one that began before the first day
// listed and is still on, under that day. A channel with an archive lists the days it reaches
// back as well, its past programmes there marked as playable.
class GuideListModel {
public:
    enum class State {
        NoChannel, // nothing chosen yet
        NoGuide,   // the channel has no programmes today or tomorrow
        Listed,
    };

    struct Row {
        bool heading = false;
        QDate day;           // the day it is listed under
        Programme programme; // a programme row's
        bool current = false;
        bool fromArchive = false; // over, and within the channel's archive
    };

    // The instants to ask the store for: from the start of the day archiveDays before today to
    // the end of tomorrow, local time.
    static std::pair<std::int64_t, std::int64_t> Span(std::int64_t now, const QTimeZone& zone, int archiveDays = 0);

    // The channel's programmes (in start order, as the store gives them) at the instant;
    // archiveDays: how far back its archive reaches, 0 for none.
    void Show(const QString& channel, const std::vector<Programme>& programmes, std::int64_t now, const QTimeZone& zone,
              int archiveDays = 0);
    void Clear();

    State GetState() const { return state_; }
    const QString& Channel() const { return channel_; }
    const std::vector<Row>& Rows() const { return rows_; }
    // The row of the programme on now; -1 when nothing is on.
    int CurrentRow() const { return current_; }
    // The row of the programme starting then; -1 when it is not listed.
    int RowStarting(std::int64_t start) const;
    // When the list next reads differently: the programme on now ends, the next one starts, or
    // the day turns. After the last of them, an hour on.
    std::int64_t NextChange() const { return nextChange_; }

    // The programme row after (direction +1) or before (-1) that row, headings passed over;
    // -1 when there is none that way.
    int ProgrammeRowFrom(int row, int direction) const;

    // A row's line: "Today, Monday 7 December" or "20:00  Title", a playable past one
    // "20:00 ↺ Title".
    QString Text(const Row& row) const;
    // A programme's span in local time, "20:00–21:30".
    QString Span(const Programme& programme) const;
    // What stands in place of the rows when there are none.
    QString Message() const;

private:
    QString channel_;
    QTimeZone zone_;
    QDate today_;
    int archiveDays_ = 0;
    State state_ = State::NoChannel;
    std::vector<Row> rows_;
    int current_ = -1;
    std::int64_t nextChange_ = 0;
};

} // namespace quorvel
