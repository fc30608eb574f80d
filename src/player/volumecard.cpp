#include "player/volumecard.h"

#include "player/playericons.h"

#include <QPainter>
#include <QTimer>

#include <algorithm>

namespace quorvel {

namespace {

constexpr int kMargin = 10;

} // namespace

VolumeCard::VolumeCard(QWidget* parent, const QWidget* under) : QWidget(parent), under_(under), hide_(new QTimer(this))
{
    setObjectName(QStringLiteral("VolumeCard"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide_->setSingleShot(true);
    hide_->setInterval(kShowMs);
    connect(hide_, &QTimer::timeout, this, &QWidget::hide);
    hide();
}

void VolumeCard::SetVolume(double volume)
{
    const int rounded = static_cast<int>(volume + 0.5);
    // mpv tells the volume again when it has not changed (a channel swapped in with the same).
    const bool changed = volume_ && *volume_ != rounded;
    volume_ = rounded;
    if (changed)
        ShowForAMoment();
}

void VolumeCard::SetMuted(bool muted)
{
    const bool changed = muted_ && *muted_ != muted;
    muted_ = muted;
    if (changed)
        ShowForAMoment();
}

QString VolumeCard::Text() const
{
    if (!isVisible())
        return {};
    return muted_.value_or(false) ? tr("Muted") : tr("Volume %1").arg(volume_.value_or(0));
}

void VolumeCard::PlaceIn(const QRect& videoArea)
{
    area_ = videoArea;
    const int width = std::min(kWidth, std::max(0, videoArea.width() - 2 * kMargin));
    int top = videoArea.top() + kMargin;
    if (under_ && under_->isVisible())
        top = std::max(top, under_->geometry().bottom() + 1 + kMargin / 2);
    setGeometry(videoArea.right() + 1 - kMargin - width, top, width, kHeight);
}

void VolumeCard::ShowForAMoment()
{
    if (!armed_)
        return;
    // Placed before it shows: a card that moves while shown uncovers the picture.
    PlaceIn(area_);
    update();
    show();
    raise();
    hide_->start();
}

void VolumeCard::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(12, 12, 16));
    p.setPen(QColor(58, 63, 75));
    p.drawRect(rect().adjusted(0, 0, -1, -1));

    const bool muted = muted_.value_or(false);
    const int volume = std::clamp(volume_.value_or(0), 0, 100);
    const int glyph = height() - 12;
    PlayerIcon(muted ? PlayerGlyph::Muted : PlayerGlyph::Sound).paint(&p, QRect(8, 6, glyph, glyph));

    QFont f = font();
    f.setPixelSize(12);
    f.setBold(true);
    p.setFont(f);
    const QString number = muted ? tr("Muted") : QString::number(volume);
    const int numberWidth = p.fontMetrics().horizontalAdvance(tr("Muted"));
    const QRect numberBox(width() - 8 - numberWidth, 0, numberWidth, height());
    p.setPen(muted ? QColor(154, 164, 181) : QColor(240, 240, 240));
    p.drawText(numberBox, Qt::AlignRight | Qt::AlignVCenter, number);

    // The level as a bar between the glyph and the number; grey while the sound is off.
    const int left = 8 + glyph + 8;
    const QRect track(left, height() / 2 - 2, std::max(0, numberBox.left() - 8 - left), 4);
    p.fillRect(track, QColor(58, 63, 75));
    p.fillRect(QRect(track.topLeft(), QSize(track.width() * volume / 100, track.height())),
               muted ? QColor(110, 116, 128) : QColor(111, 179, 255));
}

} // namespace quorvel
