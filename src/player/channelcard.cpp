#include "player/channelcard.h"

#include "player/playericons.h"

#include <QPainter>

namespace quorvel {

ChannelCard::ChannelCard(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Clicks and the wheel go through to the player, as over the video.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void ChannelCard::ShowFor(Kind kind, const QString& channelName)
{
    kind_ = kind;
    name_ = channelName;
    update();
    show();
    raise();
}

QString ChannelCard::Status() const
{
    switch (kind_) {
    case Kind::Connecting:
        return tr("Connecting…");
    case Kind::Reconnecting:
        return tr("Reconnecting…");
    case Kind::AudioOnly:
        break;
    }
    return tr("Sound only");
}

void ChannelCard::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient backdrop(0, 0, 0, height());
    backdrop.setColorAt(0, QColor(0x17, 0x1a, 0x22));
    backdrop.setColorAt(1, QColor(0x05, 0x06, 0x09));
    p.fillRect(rect(), backdrop);

    const int unit = qBound(10, qMin(width(), height()) / 24, 24);
    int y = height() / 2 - 2 * unit;
    if (kind_ == Kind::AudioOnly) {
        const int sign = unit * 5;
        const QRect at(width() / 2 - sign / 2, y - sign - unit, sign, sign);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x2f, 0x6f, 0xd6, 90));
        p.drawEllipse(at.adjusted(-unit, -unit, unit, unit));
        PlayerIcon(PlayerGlyph::Sound).paint(&p, at);
    }
    QFont big = font();
    big.setPixelSize(unit * 2);
    big.setBold(true);
    p.setFont(big);
    p.setPen(QColor(0xf0, 0xf0, 0xf0));
    const QRect nameBox(unit, y, width() - 2 * unit, unit * 3);
    p.drawText(nameBox, Qt::AlignCenter | Qt::TextSingleLine,
               p.fontMetrics().elidedText(name_, Qt::ElideRight, nameBox.width()));
    QFont small = font();
    small.setPixelSize(qMax(11, unit * 5 / 4));
    p.setFont(small);
    p.setPen(QColor(0x9a, 0xa4, 0xb5));
    p.drawText(QRect(unit, y + unit * 3, width() - 2 * unit, unit * 2), Qt::AlignCenter | Qt::TextSingleLine, Status());
}

} // namespace quorvel
