#include "player/programmecard.h"

#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#include <algorithm>

namespace quorvel {

namespace {

constexpr int kHeight = 62;
constexpr int kMargin = 10;

} // namespace

ProgrammeCard::ProgrammeCard(QWidget* parent) : QWidget(parent), hide_(new QTimer(this))
{
    setObjectName(QStringLiteral("ProgrammeCard"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide_->setSingleShot(true);
    hide_->setInterval(kShowMs);
    connect(hide_, &QTimer::timeout, this, &QWidget::hide);
    hide();
}

void ProgrammeCard::SetInfo(const ProgrammeInfo& info)
{
    info_ = info;
    if (info_.Empty())
        hide();
    update();
}

void ProgrammeCard::ShowForAWhile()
{
    if (info_.Empty())
        return;
    show();
    raise();
    update();
    hide_->start();
}

QRect ProgrammeCard::Place(const QRect& videoArea)
{
    const int width = std::max(0, std::min(videoArea.width() - 2 * kMargin, 420));
    return {videoArea.left() + kMargin, videoArea.bottom() + 1 - kHeight - kMargin, width, kHeight};
}

void ProgrammeCard::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(12, 12, 16));
    p.setPen(QColor(58, 63, 75));
    p.drawRect(rect().adjusted(0, 0, -1, -1));

    const int left = 10, right = width() - 10;
    QFont title = font();
    title.setPixelSize(13);
    title.setBold(true);
    QFont small = font();
    small.setPixelSize(11);

    p.setFont(small);
    p.setPen(QColor(111, 179, 255));
    const int spanWidth = info_.nowSpan.isEmpty() ? 0 : p.fontMetrics().horizontalAdvance(info_.nowSpan) + 8;
    p.drawText(QRect(right - spanWidth, 6, spanWidth, 18), Qt::AlignRight | Qt::AlignVCenter, info_.nowSpan);

    p.setFont(title);
    p.setPen(Qt::white);
    const QString now = p.fontMetrics().elidedText(info_.nowTitle, Qt::ElideRight, right - left - spanWidth);
    p.drawText(QRect(left, 6, right - left - spanWidth, 18), Qt::AlignLeft | Qt::AlignVCenter, now);

    // How far the programme has gone.
    const QRect track(left, 28, right - left, 4);
    p.fillRect(track, QColor(58, 63, 75));
    if (info_.progress >= 0) {
        QRect done = track;
        done.setWidth(static_cast<int>(track.width() * std::clamp(info_.progress, 0.0, 1.0)));
        p.fillRect(done, QColor(47, 111, 214));
    }

    p.setFont(small);
    p.setPen(QColor(200, 211, 230));
    p.drawText(QRect(left, 38, right - left, 18), Qt::AlignLeft | Qt::AlignVCenter,
               p.fontMetrics().elidedText(info_.nextLine, Qt::ElideRight, right - left));
}

} // namespace quorvel
