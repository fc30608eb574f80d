#include "guidegrid/programmedetails.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace quorvel {

ProgrammeDetails::ProgrammeDetails(QWidget* parent)
    : QFrame(parent), title_(new QLabel(this)), subTitle_(new QLabel(this)), time_(new QLabel(this)),
      description_(new QLabel), watch_(new QPushButton(tr("Watch"), this)),
      record_(new QPushButton(tr("Record"), this)), remind_(new QPushButton(tr("Remind"), this))
{
    setFrameShape(QFrame::StyledPanel);
    QFont big = title_->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.25);
    title_->setFont(big);
    title_->setTextFormat(Qt::PlainText);
    subTitle_->setTextFormat(Qt::PlainText);
    time_->setTextFormat(Qt::PlainText);
    description_->setTextFormat(Qt::PlainText);
    description_->setWordWrap(true);
    description_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    description_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(description_);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    remind_->setCheckable(true);

    auto* text = new QVBoxLayout;
    text->addWidget(title_);
    text->addWidget(subTitle_);
    text->addWidget(time_);
    text->addWidget(scroll, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(watch_);
    buttons->addWidget(record_);
    buttons->addWidget(remind_);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(text, 1);
    layout->addLayout(buttons);
    connect(watch_, &QPushButton::clicked, this, &ProgrammeDetails::watch);
    connect(record_, &QPushButton::clicked, this, &ProgrammeDetails::record);
    connect(remind_, &QPushButton::clicked, this, &ProgrammeDetails::remind);
    Show(QString(), std::nullopt, 0);
}

void ProgrammeDetails::Show(const QString& channel, const std::optional<Programme>& programme, std::int64_t now)
{
    const bool any = programme.has_value();
    watch_->setEnabled(!channel.isEmpty());
    remind_->setEnabled(any && programme->start > now);
    record_->setEnabled(false);
    if (!any) {
        title_->setText(channel.isEmpty() ? tr("Choose a programme") : channel);
        subTitle_->setText(channel.isEmpty() ? QString() : tr("No programme in the guide at this time."));
        time_->clear();
        description_->clear();
        return;
    }
    title_->setText(programme->title.empty() ? tr("(no title)") : QString::fromStdString(programme->title));
    subTitle_->setText(QString::fromStdString(programme->subTitle));
    const QLocale locale;
    const QDateTime start = QDateTime::fromSecsSinceEpoch(programme->start);
    const QDateTime stop = QDateTime::fromSecsSinceEpoch(programme->stop);
    QString when = locale.toString(start.date(), QStringLiteral("ddd d MMM")) + QStringLiteral(", ") +
                   start.toString(QStringLiteral("HH:mm")) + QStringLiteral("–") +
                   stop.toString(QStringLiteral("HH:mm"));
    if (start.date() != stop.date())
        when += QStringLiteral(" (") + locale.toString(stop.date(), QStringLiteral("ddd d MMM")) + QStringLiteral(")");
    when += QStringLiteral("  ·  ") + channel;
    if (!programme->category.empty())
        when += QStringLiteral("  ·  ") + QString::fromStdString(programme->category);
    time_->setText(when);
    description_->setText(QString::fromStdString(programme->description));
}

void ProgrammeDetails::SetReminded(bool reminded) { remind_->setChecked(reminded); }

void ProgrammeDetails::SetCanRecord(bool can) { record_->setEnabled(can); }

void ProgrammeDetails::SetCanWatch(bool can) { watch_->setEnabled(can); }

} // namespace quorvel
