#pragma once

#include <QDateTime>
#include <QWidget>

class QTimer;

namespace quorvel {

// A small red "REC 00:12:34" at the top of the picture for as long as the channel is recorded.
class RecordingCard : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 24;

    explicit RecordingCard(QWidget* parent = nullptr);
    // Shows the card counting from the moment given; Stop() hides it.
    void Start(const QDateTime& since);
    void Stop();
    // What it shows now; empty when hidden.
    QString Text() const;
    void PlaceIn(const QRect& videoArea);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer* tick_ = nullptr;
    QDateTime since_;
};

} // namespace quorvel
