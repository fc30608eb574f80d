#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

class QTimer;

namespace quorvel {

// Which channel a zap went to: its number (0 when it has none), name, category and logo (null
// while there is none to show).
struct ZapInfo {
    int number = 0;
    QString name;
    QString category;
    QImage logo;
};

// A card low over the picture on every zap, naming the channel with its number and category.
// It shows from the zap until kShowMs after the picture comes, above the programme card.
class ZapCard : public QWidget {
    Q_OBJECT
public:
    static constexpr int kShowMs = 3000;
    static constexpr int kHeight = 46;

    explicit ZapCard(QWidget* parent);

    // Shows the card, with no end yet while the channel opens. The same channel again (its
    // logo come) only changes what the card shows, and keeps its end.
    void ShowFor(const ZapInfo& info);
    // The picture is there (or the channel failed): the card goes kShowMs from now.
    void StartCountdown();
    const ZapInfo& Info() const { return info_; }
    // Where it goes: left-aligned with the programme card, with its bottom edge at bottom.
    static QRect Place(const QRect& videoArea, int bottom);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ZapInfo info_;
    QTimer* hide_;
};

} // namespace quorvel
