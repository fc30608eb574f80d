#include "app/guidelist.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QShortcut>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace quorvel {
namespace {

constexpr int kRowRole = Qt::UserRole;
constexpr int kRowHeight = 18; // as the channel tree's rows, whose pictures are 16 high

std::int64_t Clock() { return QDateTime::currentSecsSinceEpoch(); }

QString Html(const std::string& text) { return QString::fromStdString(text).toHtmlEscaped(); }

} // namespace

GuideList::GuideList(QWidget* parent, Lookup lookup)
    : QWidget(parent), lookup_(std::move(lookup)), title_(new QLabel(this)), message_(new QLabel(this)),
      list_(new QListWidget(this)), details_(new QTextBrowser(this)), note_(new QLabel(this)),
      changes_(new QTimer(this))
{
    setObjectName(QStringLiteral("GuideList"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // Whose guide it is, over it all; the way back to the tree beside it.
    title_->setObjectName(QStringLiteral("GuideTitle"));
    title_->setAutoFillBackground(true);
    title_->setBackgroundRole(QPalette::Base);
    title_->setContentsMargins(3, 3, 3, 3);
    title_->setTextFormat(Qt::RichText);
    layout->addWidget(title_);

    // The list reads like the channel tree beside it: its font and colours, no frame.
    message_->setObjectName(QStringLiteral("GuideMessage"));
    message_->setWordWrap(true);
    message_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    message_->setMargin(6);
    message_->setAutoFillBackground(true);
    message_->setBackgroundRole(QPalette::Base);
    layout->addWidget(message_, 1);

    list_->setObjectName(QStringLiteral("GuideProgrammes"));
    list_->setFrameShape(QFrame::NoFrame);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setTextElideMode(Qt::ElideRight);
    list_->setUniformItemSizes(true);
    layout->addWidget(list_, 3);

    // A line between the list and the programme told in full, drawn without a style sheet, which
    // would keep the tree's font from reaching the text.
    rule_ = new QFrame(this);
    rule_->setFrameShape(QFrame::HLine);
    rule_->setFrameShadow(QFrame::Plain);
    QPalette grey = rule_->palette();
    grey.setColor(QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    rule_->setPalette(grey);
    layout->addWidget(rule_);
    details_->setObjectName(QStringLiteral("GuideDetails"));
    details_->setFrameShape(QFrame::NoFrame);
    details_->setOpenLinks(false);
    layout->addWidget(details_, 2);
    note_->setObjectName(QStringLiteral("GuideNote"));
    note_->setWordWrap(true);
    note_->setMargin(3);
    note_->setAutoFillBackground(true);
    note_->setBackgroundRole(QPalette::ToolTipBase);
    note_->setForegroundRole(QPalette::ToolTipText);
    note_->hide();
    layout->addWidget(note_);

    // A click makes the row current before it selects it, the keys select first: the details
    // follow the selection, which is what Chosen() reads.
    connect(list_, &QListWidget::currentRowChanged, this, &GuideList::ShowDetails);
    connect(list_, &QListWidget::itemSelectionChanged, this, &GuideList::ShowDetails);
    connect(list_, &QListWidget::itemActivated, this, &GuideList::PlayChosen);
    list_->installEventFilter(this);
    auto* copy = new QShortcut(QKeySequence::Copy, list_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(copy, &QShortcut::activated, this, &GuideList::CopyChosen);
    changes_->setSingleShot(true);
    connect(changes_, &QTimer::timeout, this, &GuideList::Reload);
    Fill(-1);
}

void GuideList::SetArchive(ArchiveDays days, Play play)
{
    archiveDays_ = std::move(days);
    play_ = std::move(play);
    Reload();
}

void GuideList::SetChannel(const QString& channel)
{
    if (channel == model_.Channel() && model_.GetState() != GuideListModel::State::NoChannel)
        return;
    {
        const QSignalBlocker quiet(list_);
        list_->clear();
    }
    model_.Show(channel, {}, Clock(), QTimeZone::systemTimeZone());
    Reload();
    // A new channel starts at its programme on now, not where the last one was.
    const int current = model_.CurrentRow();
    if (current >= 0)
        list_->setCurrentRow(current);
}

void GuideList::Reload()
{
    const GuideListModel::Row* chosen = Chosen();
    const std::int64_t keep = chosen ? chosen->programme.start : -1;
    if (model_.GetState() == GuideListModel::State::NoChannel) {
        Fill(-1);
        return;
    }
    const std::int64_t now = Clock();
    const QTimeZone zone = QTimeZone::systemTimeZone();
    const QString channel = model_.Channel();
    const int days = archiveDays_ ? archiveDays_(channel) : 0;
    const auto [from, to] = GuideListModel::Span(now, zone, days);
    model_.Show(channel, lookup_ ? lookup_(channel, from, to) : std::vector<Programme>{}, now, zone, days);
    Fill(keep);
}

void GuideList::Fill(std::int64_t keepStart)
{
    const bool listed = model_.GetState() == GuideListModel::State::Listed;
    const QString channel = model_.GetState() == GuideListModel::State::NoChannel
                                ? QStringLiteral("Programme guide")
                                : title_->fontMetrics().elidedText(model_.Channel(), Qt::ElideRight, 120);
    title_->setText(QStringLiteral("<b>%1</b> <span style='color:#606060'>&nbsp;Ctrl+G: channels</span>")
                        .arg(channel.toHtmlEscaped()));
    message_->setText(model_.Message());
    message_->setVisible(!listed);
    list_->setVisible(listed);
    details_->setVisible(listed);
    rule_->setVisible(listed);

    const QSignalBlocker quiet(list_);
    list_->clear();
    QFont bold = list_->font();
    bold.setBold(true);
    QColor marked = list_->palette().color(QPalette::Highlight);
    marked.setAlpha(40);
    for (std::size_t i = 0; i < model_.Rows().size(); ++i) {
        const GuideListModel::Row& row = model_.Rows()[i];
        auto* item = new QListWidgetItem(model_.Text(row), list_);
        item->setSizeHint(QSize(0, kRowHeight));
        item->setData(kRowRole, static_cast<int>(i));
        if (row.heading) {
            // A day's heading is read, not chosen.
            item->setFlags(Qt::ItemIsEnabled);
            item->setFont(bold);
            item->setBackground(list_->palette().color(QPalette::Button));
        } else {
            item->setToolTip(model_.Span(row.programme) + QLatin1Char(' ') +
                             QString::fromStdString(row.programme.title));
        }
        if (row.current) {
            item->setFont(bold);
            item->setBackground(marked);
        }
    }
    int chosen = keepStart >= 0 ? model_.RowStarting(keepStart) : -1;
    if (chosen < 0)
        chosen = model_.CurrentRow();
    if (chosen >= 0) {
        list_->setCurrentRow(chosen);
        list_->scrollToItem(list_->item(chosen), QAbstractItemView::PositionAtCenter);
    }
    ShowDetails();

    changes_->stop();
    if (model_.GetState() != GuideListModel::State::NoChannel) {
        const std::int64_t wait = std::clamp<std::int64_t>(model_.NextChange() - Clock(), 1, 3600);
        changes_->start(static_cast<int>(wait * 1000));
    }
}

const GuideListModel::Row* GuideList::Chosen() const
{
    const QListWidgetItem* item = list_->currentItem();
    if (!item || !item->isSelected())
        return nullptr;
    const int index = item->data(kRowRole).toInt();
    if (index < 0 || index >= static_cast<int>(model_.Rows().size()) || model_.Rows()[index].heading)
        return nullptr;
    return &model_.Rows()[static_cast<std::size_t>(index)];
}

QString GuideList::ChosenLine() const
{
    const GuideListModel::Row* row = Chosen();
    if (!row)
        return {};
    return model_.Span(row->programme) + QLatin1Char(' ') + QString::fromStdString(row->programme.title);
}

QString GuideList::Details() const { return details_->toPlainText(); }

QString GuideList::Note() const { return note_->isVisible() ? note_->text() : QString(); }

void GuideList::PlayChosen()
{
    const GuideListModel::Row* row = Chosen();
    if (!row || !play_)
        return;
    const QString note = play_(model_.Channel(), row->programme);
    note_->setText(note);
    note_->setVisible(!note.isEmpty());
}

bool GuideList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            // From programme to programme: a day's heading is read, not stopped at.
            const int row = model_.ProgrammeRowFrom(list_->currentRow(), key == Qt::Key_Down ? 1 : -1);
            if (row >= 0)
                list_->setCurrentRow(row);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void GuideList::ShowDetails()
{
    note_->hide();
    const GuideListModel::Row* row = Chosen();
    if (!row) {
        details_->clear();
        return;
    }
    const Programme& p = row->programme;
    QString html = QStringLiteral("<b>%1</b>").arg(Html(p.title));
    if (!p.subTitle.empty())
        html += QStringLiteral("<br><i>%1</i>").arg(Html(p.subTitle));
    html += QStringLiteral("<br>%1").arg(model_.Span(p));
    if (!p.category.empty())
        html += QStringLiteral(" &middot; %1").arg(Html(p.category));
    if (row->fromArchive)
        html += QStringLiteral("<br><i>Enter plays it from the archive</i>");
    if (!p.description.empty())
        html += QStringLiteral("<p>%1</p>").arg(Html(p.description).replace(QLatin1Char('\n'), QLatin1String("<br>")));
    details_->setHtml(html);
}

void GuideList::CopyChosen()
{
    const QString line = ChosenLine();
    if (!line.isEmpty())
        QApplication::clipboard()->setText(line);
}

} // namespace quorvel
