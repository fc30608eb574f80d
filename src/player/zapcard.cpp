#include "player/zapcard.h"

#include <QPainter>
#include <QTimer>

#include <algorithm>

namespace quorvel {

namespace {

// As the programme card, so the two read as one block.
constexpr int kMargin = 10;
constexpr int kMaxWidth = 420;
constexpr int kLogoSide = 32;

} // namespace

ZapCard::ZapCard(QWidget* parent) : QWidget(parent), hide_(new QTimer(this))
{
    setObjectName(QStringLiteral("ZapCard"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide_->setSingleShot(true);
    hide_->setInterval(kShowMs);
    connect(hide_, &QTimer::timeout, this, &QWidget::hide);
    hide();
}

void ZapCard::ShowFor(const ZapInfo& info)
{
    if (isVisible() && info.name == info_.name && info.number == info_.number) {
        info_ = info;
        update();
        return;
    }
    info_ = info;
    hide_->stop();
    update();
    show();
    raise();
}

void ZapCard::StartCountdown()
{
    if (isVisible())
        hide_->start();
}

QRect ZapCard::Place(const QRect& videoArea, int bottom)
{
    const int width = std::max(0, std::min(videoArea.width() - 2 * kMargin, kMaxWidth));
    return {videoArea.left() + kMargin, bottom + 1 - kHeight, width, kHeight};
}

void ZapCard::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(12, 12, 16));
    p.setPen(QColor(58, 63, 75));
    p.drawRect(rect().adjusted(0, 0, -1, -1));

    int left = 10;
    const int right = width() - 10;
    if (info_.number > 0) {
        QFont big = font();
        big.setPixelSize(26);
        big.setBold(true);
        p.setFont(big);
        p.setPen(QColor(111, 179, 255));
        const QString number = QString::number(info_.number);
        const int w = p.fontMetrics().horizontalAdvance(number);
        p.drawText(QRect(left, 0, w, height()), Qt::AlignLeft | Qt::AlignVCenter, number);
        left += w + 12;
        p.fillRect(QRect(left - 6, 9, 1, height() - 18), QColor(58, 63, 75));
    }
    if (!info_.logo.isNull()) {
        const QSize side = info_.logo.size().scaled(QSize(kLogoSide, kLogoSide), Qt::KeepAspectRatio);
        const QRect box(left, (height() - side.height()) / 2, side.width(), side.height());
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(box, info_.logo);
        left += side.width() + 10;
    }
    QFont title = font();
    title.setPixelSize(15);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(left, 5, right - left, 20), Qt::AlignLeft | Qt::AlignVCenter,
               p.fontMetrics().elidedText(info_.name, Qt::ElideRight, right - left));
    QFont small = font();
    small.setPixelSize(11);
    p.setFont(small);
    p.setPen(QColor(154, 164, 181));
    p.drawText(QRect(left, 25, right - left, 16), Qt::AlignLeft | Qt::AlignVCenter,
               p.fontMetrics().elidedText(info_.category, Qt::ElideRight, right - left));
}

} // namespace quorvel
