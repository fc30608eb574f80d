#pragma once

#include "player/digitentry.h"

#include <QElapsedTimer>
#include <QWidget>

class QTimer;

namespace quorvel {

// The channel number being typed over the picture, large in its top right corner; and, for a
// moment, that a number named no channel. The number is handed on by numberChosen once typing
// stops, on Enter, or when it has all its digits.
class NumberEntryCard : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRefusalMs = 2500;

    explicit NumberEntryCard(QWidget* parent);

    void Type(int digit);
    // Enter; false when no number was being typed.
    bool Commit();
    // Escape; false when no number was being typed.
    bool Cancel();
    bool Typing() const { return entry_.Active(); }
    // Says, for a moment, that no channel has that number.
    void SayNoChannel(int number);
    // What the card shows now (empty when hidden).
    QString Text() const;
    void PlaceIn(const QRect& videoArea);

signals:
    void numberChosen(int number);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Show(const QString& text, bool large);
    void Chosen(std::optional<int> number);
    void TimeUp();

    DigitEntry entry_;
    QElapsedTimer clock_;
    QTimer* timer_;
    QString text_;
    bool large_ = true;
    QRect area_;
};

} // namespace quorvel
