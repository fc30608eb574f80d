#include "player/recordingcard.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTimer>

namespace quorvel {
namespace {

constexpr int kMargin = 10;

QFont CardFont(QFont font)
{
    font.setBold(true);
    font.setPixelSize(13);
    return font;
}

} // namespace

RecordingCard::RecordingCard(QWidget* parent) : QWidget(parent), tick_(new QTimer(this))
{
    setObjectName(QStringLiteral("RecordingCard"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    tick_->setInterval(1000);
    connect(tick_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    hide();
}

void RecordingCard::Start(const QDateTime& since)
{
    since_ = since;
    tick_->start();
    show();
    raise();
    update();
}

void RecordingCard::Stop()
{
    tick_->stop();
    hide();
}

QString RecordingCard::Text() const
{
    if (!isVisible())
        return {};
    const qint64 s = std::max<qint64>(0, since_.secsTo(QDateTime::currentDateTime()));
    return QStringLiteral("REC %1:%2:%3")
        .arg(s / 3600, 2, 10, QChar('0'))
        .arg(s / 60 % 60, 2, 10, QChar('0'))
        .arg(s % 60, 2, 10, QChar('0'));
}

void RecordingCard::PlaceIn(const QRect& videoArea)
{
    // As wide as the longest time it shows takes in the font drawn, whatever font that is.
    const int width = 24 + QFontMetrics(CardFont(font())).horizontalAdvance(QStringLiteral("REC 00:00:00")) + 10;
    setGeometry(videoArea.center().x() - width / 2, videoArea.top() + kMargin, width, kHeight);
}

void RecordingCard::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(0x10, 0x10, 0x12));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe0, 0x30, 0x30));
    p.drawEllipse(QRectF(8, height() / 2.0 - 5, 10, 10));
    p.setFont(CardFont(font()));
    p.setPen(QColor(0xff, 0x50, 0x50));
    p.drawText(rect().adjusted(24, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, Text());
}

} // namespace quorvel
