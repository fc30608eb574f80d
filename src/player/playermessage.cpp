#include "player/playermessage.h"

#include <QLabel>
#include <QLayout>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorvel {
namespace {

QLabel* Line(QWidget* parent, const QString& name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    // A name from a playlist or mpv's words: shown as text, never read as markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

PlayerMessage::PlayerMessage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("playerMessage"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral(
        "#playerMessage { background: #0c0c10; border: 1px solid #3a3f4b; border-radius: 6px; }"
        "QLabel { color: #f0f0f0; font-size: 12px; }"
        "QLabel#messageTitle { font-size: 14px; font-weight: bold; }"
        "QLabel#messageDetails { color: #8a93a3; font-size: 10px; }"
        "QPushButton { color: white; background: #2f6fd6; border: none; border-radius: 3px; padding: 4px 14px; }"
        "QPushButton:hover { background: #4a86e8; }"));
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(14, 12, 14, 12);
    title_ = Line(this, QStringLiteral("messageTitle"));
    headline_ = Line(this, QStringLiteral("messageHeadline"));
    details_ = Line(this, QStringLiteral("messageDetails"));
    action_ = new QPushButton(this);
    action_->setFocusPolicy(Qt::NoFocus);
    lay->addWidget(title_);
    lay->addWidget(headline_);
    lay->addWidget(details_);
    lay->addWidget(action_, 0, Qt::AlignCenter);
    connect(action_, &QPushButton::clicked, this, &PlayerMessage::actionClicked);
    hide();
}

void PlayerMessage::Set(const QString& title, const QString& headline, const QString& details, const QString& action)
{
    title_->setText(title);
    title_->setVisible(!title.isEmpty());
    headline_->setText(headline);
    details_->setText(details);
    details_->setVisible(!details.isEmpty());
    action_->setText(action);
    action_->setVisible(!action.isEmpty());
}

QString PlayerMessage::Title() const { return title_->text(); }

QString PlayerMessage::Headline() const { return headline_->text(); }

QString PlayerMessage::Details() const { return details_->isVisibleTo(this) ? details_->text() : QString(); }

void PlayerMessage::PlaceIn(const QRect& area)
{
    const int w = qMin(360, qMax(120, area.width() - 40));
    for (QLabel* line : {title_, headline_, details_})
        line->setFixedWidth(w - 28);
    // Lines that wrap anew (new text, new width) are measured now, not at the next event.
    layout()->invalidate();
    layout()->activate();
    adjustSize();
    // Native windows over the video cannot be see-through: the rounded corners are cut out.
    QPainterPath rounded;
    rounded.addRoundedRect(QRectF(rect()), 6, 6);
    setMask(QRegion(rounded.toFillPolygon().toPolygon()));
    move(area.center() - QPoint(width() / 2, height() / 2));
}

} // namespace quorvel
