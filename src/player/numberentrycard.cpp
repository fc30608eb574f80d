#include "player/numberentrycard.h"

#include <QPainter>
#include <QTimer>

#include <algorithm>

namespace quorvel {

namespace {

constexpr int kMargin = 10;
constexpr int kLargePixels = 44;
constexpr int kSmallPixels = 15;

} // namespace

NumberEntryCard::NumberEntryCard(QWidget* parent) : QWidget(parent), timer_(new QTimer(this))
{
    setObjectName(QStringLiteral("NumberEntryCard"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &NumberEntryCard::TimeUp);
    clock_.start();
    hide();
}

void NumberEntryCard::Type(int digit)
{
    const std::optional<int> full = entry_.Type(digit, clock_.elapsed());
    if (full) {
        Chosen(full);
        return;
    }
    Show(QString::fromStdString(entry_.Digits()), true);
    timer_->start(static_cast<int>(std::max<qint64>(0, entry_.Deadline() - clock_.elapsed())));
}

bool NumberEntryCard::Commit()
{
    if (!entry_.Active())
        return false;
    Chosen(entry_.Commit());
    return true;
}

bool NumberEntryCard::Cancel()
{
    if (!entry_.Active())
        return false;
    entry_.Cancel();
    timer_->stop();
    hide();
    return true;
}

void NumberEntryCard::TimeUp()
{
    if (!entry_.Active()) {
        hide(); // a refusal's moment is over
        return;
    }
    // A timer may fire a little early; the entry is the judge of when typing stopped.
    if (const std::optional<int> number = entry_.Due(clock_.elapsed())) {
        Chosen(number);
        return;
    }
    timer_->start(static_cast<int>(std::max<qint64>(1, entry_.Deadline() - clock_.elapsed())));
}

void NumberEntryCard::Chosen(std::optional<int> number)
{
    timer_->stop();
    hide();
    if (number)
        emit numberChosen(*number);
}

void NumberEntryCard::SayNoChannel(int number)
{
    Show(tr("No channel %1").arg(number), false);
    timer_->start(kRefusalMs);
}

QString NumberEntryCard::Text() const { return isVisible() ? text_ : QString(); }

void NumberEntryCard::Show(const QString& text, bool large)
{
    text_ = text;
    large_ = large;
    // Sized before it shows: a native window that grows while shown leaves traces below it.
    PlaceIn(area_);
    show();
    raise();
    update();
}

void NumberEntryCard::PlaceIn(const QRect& videoArea)
{
    area_ = videoArea;
    QFont f = font();
    f.setPixelSize(large_ ? kLargePixels : kSmallPixels);
    f.setBold(true);
    const QFontMetrics m(f);
    // Wide enough for every digit a number may have, so the box keeps its size while one types.
    const int textWidth =
        large_ ? m.horizontalAdvance(QString(DigitEntry::kMaxDigits, QLatin1Char('8'))) : m.horizontalAdvance(text_);
    // A few pixels to spare: text measured exactly to the box's width may be elided on drawing.
    const int w = std::min(textWidth + 32, std::max(0, videoArea.width() - 2 * kMargin));
    const int h = m.height() + (large_ ? 12 : 16);
    setGeometry(videoArea.right() + 1 - kMargin - w, videoArea.top() + kMargin, w, h);
}

void NumberEntryCard::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(12, 12, 16));
    p.setPen(QColor(58, 63, 75));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    QFont f = font();
    f.setPixelSize(large_ ? kLargePixels : kSmallPixels);
    f.setBold(true);
    p.setFont(f);
    p.setPen(large_ ? QColor(111, 179, 255) : QColor(240, 240, 240));
    p.drawText(rect().adjusted(14, 0, -14, 0), (large_ ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignVCenter,
               p.fontMetrics().elidedText(text_, Qt::ElideRight, width() - 28));
}

} // namespace quorvel
