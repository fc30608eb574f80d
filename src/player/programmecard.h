#pragma once

#include <QString>
#include <QWidget>

class QTimer;

namespace quorvel {

// What the guide says of the channel playing: the programme on now (title, its times, how far
// it has gone) and the next one. Empty when the guide knows nothing of the channel.
struct ProgrammeInfo {
    QString nowTitle;
    QString nowSpan;      // "20:00–21:00", local time
    double progress = -1; // 0…1 of the programme gone by; below 0 when unknown
    QString nextLine;     // "Next: 21:00–22:00 Title"

    bool Empty() const { return nowTitle.isEmpty() && nextLine.isEmpty(); }
};

// A card low over the picture showing the programme now and next for a few seconds, on every
// zap and on request ("i" over the picture).
class ProgrammeCard : public QWidget {
    Q_OBJECT
public:
    static constexpr int kShowMs = 4000;

    explicit ProgrammeCard(QWidget* parent);

    void SetInfo(const ProgrammeInfo& info);
    const ProgrammeInfo& Info() const { return info_; }
    // Shows the card for a few seconds; nothing when there is no programme to show.
    void ShowForAWhile();
    // Where the card goes: at the foot of the picture's area.
    static QRect Place(const QRect& videoArea);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ProgrammeInfo info_;
    QTimer* hide_;
};

} // namespace quorvel
