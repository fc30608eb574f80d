#pragma once

#include "guide/programme.h"

#include <QFrame>
#include <QString>

#include <cstdint>
#include <optional>

class QLabel;
class QPushButton;

namespace quorvel {

// The pane under the grid telling the selected programme in full: title, sub-title, time,
// category and description, with the buttons Watch, Record and Remind.
class ProgrammeDetails : public QFrame {
    Q_OBJECT
public:
    explicit ProgrammeDetails(QWidget* parent = nullptr);

    // A programme of the channel; its stop as the grid draws it (cut at the next start).
    void Show(const QString& channel, const std::optional<Programme>& programme, std::int64_t now);
    // What the buttons can do for the programme shown.
    void SetReminded(bool reminded);
    void SetCanRecord(bool can);
    void SetCanWatch(bool can);

    QPushButton* WatchButton() const { return watch_; }
    QPushButton* RecordButton() const { return record_; }
    QPushButton* RemindButton() const { return remind_; }

signals:
    void watch();
    void record();
    void remind();

private:
    QLabel* title_;
    QLabel* subTitle_;
    QLabel* time_;
    QLabel* description_;
    QPushButton* watch_;
    QPushButton* record_;
    QPushButton* remind_;
};

} // namespace quorvel
