#include "guidegrid/guidewindow.h"

#include "guidegrid/guidegridview.h"
#include "guidegrid/programmedetails.h"
#include "guidegrid/reminders.h"
#include "userdata/favouritesstore.h"
#include "userdata/guidestore.h"
#include "userdata/settingsstore.h"
#include "userdata/viewerdatabase.h"
#include "widgets/errorbox.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMetaMethod>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QThreadPool>
#include <QTimer>
#include <QVBoxLayout>

#include <map>
#include <set>

namespace quorvel {
namespace {

constexpr const char* kGeometryKey = "guide_grid_geometry";

std::int64_t DayStart(std::int64_t instant)
{
    return QDateTime::fromSecsSinceEpoch(instant).date().startOfDay().toSecsSinceEpoch();
}

} // namespace

GuideWindow::GuideWindow(std::string catalogueFile, QWidget* parent)
    : QWidget(parent, Qt::Window), catalogue_(std::move(catalogueFile)),
      cache_([this](const std::vector<std::string>& names, std::int64_t from, std::int64_t to) {
          // A guide that cannot be read shows as an empty grid; the window's other parts say why.
          try {
              if (store_)
                  return store_->Cells(names, from, to);
          } catch (const std::exception&) {
          }
          return std::vector<std::vector<GuideStore::Cell>>(names.size());
      }),
      category_(new QComboBox(this)), find_(new QLineEdit(this)), day_(new QComboBox(this)),
      now_(new QPushButton(tr("Now"), this)), view_(new GuideGridView(channels_, cache_)),
      details_(new ProgrammeDetails), tick_(new QTimer(this)), keep_(new QTimer(this))
{
    setObjectName(QStringLiteral("GuideWindow"));
    setWindowTitle(tr("Guide"));
    try {
        db_ = std::make_unique<ViewerDatabase>(ViewerDatabase::FileBeside(catalogue_));
        store_ = std::make_unique<GuideStore>(*db_);
    } catch (const std::exception&) {
        store_.reset();
    }
    find_->setPlaceholderText(tr("Find a channel"));
    find_->setClearButtonEnabled(true);
    category_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    day_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* bar = new QHBoxLayout;
    bar->addWidget(category_);
    bar->addWidget(find_, 1);
    bar->addStretch(1);
    bar->addWidget(day_);
    bar->addWidget(now_);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(view_);
    split->addWidget(details_);
    split->setStretchFactor(0, 4);
    split->setStretchFactor(1, 1);
    split->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(bar);
    layout->addWidget(split, 1);

    connect(category_, &QComboBox::activated, this, [this](int choice) {
        // The favourites change in the main window while the grid is open: read as chosen.
        if (choice == GridChannels::kFavourites)
            Reload();
        else
            Choose(choice);
    });
    connect(find_, &QLineEdit::textChanged, this, &GuideWindow::ApplyFilter);
    connect(day_, &QComboBox::activated, this,
            [this](int index) { ShowDay(int((firstDay_ - DayStart(view_->Now())) / GuideGridView::kDay) + index); });
    connect(now_, &QPushButton::clicked, this, [this] {
        const int row = view_->Selected().row >= 0 ? view_->Selected().row : view_->TopRow();
        // From the half hour under way, as a printed guide shows the evening from its hour.
        view_->ShowTime(view_->Now() / GuideGridView::kHalfHour * GuideGridView::kHalfHour);
        view_->Select(row, view_->Now());
        view_->setFocus();
    });
    connect(view_, &GuideGridView::timeShown, this, &GuideWindow::FollowDay);
    connect(view_, &GuideGridView::selectionChanged, this, &GuideWindow::ShowSelection);
    connect(view_, &GuideGridView::activated, this, &GuideWindow::Activate);
    connect(details_, &ProgrammeDetails::watch, this, [this] {
        const GuideGridView::Selection& s = view_->Selected();
        if (s.row < 0)
            return;
        if (s.programme && s.cell.stop <= view_->Now())
            Activate();
        else
            emit playRequested(channels_.At(s.row).category, channels_.At(s.row).name);
    });
    connect(details_, &ProgrammeDetails::remind, this, &GuideWindow::ToggleReminder);
    connect(details_, &ProgrammeDetails::record, this, &GuideWindow::Record);
    connect(view_, &GuideGridView::recordKey, this, &GuideWindow::Record);
    // Ctrl+F as in the tree: the find line.
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, find_, [this] {
        find_->setFocus();
        find_->selectAll();
    });
    // The line at now moves on, and programmes become past.
    tick_->start(30 * 1000);
    connect(tick_, &QTimer::timeout, view_->viewport(), qOverload<>(&QWidget::update));
    keep_->setSingleShot(true);
    keep_->setInterval(1000);
    connect(keep_, &QTimer::timeout, this, &GuideWindow::KeepGeometry);

    resize(1100, 700);
    try {
        const auto values = SettingsStore(catalogue_).Read();
        if (const auto it = values.find(kGeometryKey); it != values.end())
            restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(it->second)));
    } catch (const std::exception&) {
        // Without the settings the window opens at its first size.
    }
    Reload();
    FillDays();
    ReadExtent();
}

GuideWindow::~GuideWindow() = default;

void GuideWindow::SetNumbers(std::function<int(const QString&)> numberOf) { view_->SetNumbers(std::move(numberOf)); }

void GuideWindow::SetLogos(std::function<QImage(const QString&, int)> logoOf) { view_->SetLogos(std::move(logoOf)); }

void GuideWindow::SetPlaying(const QString& channel) { view_->SetPlaying(channel); }

void GuideWindow::SetArchiveDays(std::function<int(const QString&)> archiveDays)
{
    view_->SetArchiveDays(std::move(archiveDays));
    ShowSelection();
}

void GuideWindow::SetReminders(Reminders* reminders)
{
    reminders_ = reminders;
    view_->SetReminded(
        [reminders](const QString& channel, std::int64_t start) { return reminders->Has(channel, start); });
    connect(reminders, &Reminders::changed, this, [this] {
        view_->viewport()->update();
        ShowSelection();
    });
}

void GuideWindow::ToggleReminder()
{
    const GuideGridView::Selection& s = view_->Selected();
    if (!reminders_ || s.row < 0 || !s.programme || s.cell.start <= view_->Now())
        return;
    const GridChannels::Row& row = channels_.At(s.row);
    reminders_->Toggle({row.name.toStdString(), row.category.toStdString(), s.cell.start, s.cell.title.toStdString()});
}

void GuideWindow::Record()
{
    const GuideGridView::Selection& s = view_->Selected();
    if (s.row < 0 || !s.programme || s.cell.stop <= view_->Now())
        return;
    emit recordRequested(channels_.At(s.row).name, s.cell.start, s.cell.stop, s.cell.title);
}

void GuideWindow::Reload()
{
    std::vector<std::string> favourites;
    try {
        if (db_)
            for (const ChannelReference& f : FavouritesStore(*db_).Favourites())
                favourites.push_back(f.name);
    } catch (const std::exception&) {
        // The favourites show empty; the tree says why.
    }
    const QString chosen = category_->currentText();
    channels_ = GridChannels(catalogue_, favourites);
    view_->ForgetArchives();
    category_->clear();
    category_->addItem(tr("All channels"));
    category_->addItem(tr("Favourites"));
    category_->addItems(channels_.Categories());
    const int again = chosen.isEmpty() ? GridChannels::kAll : category_->findText(chosen);
    category_->setCurrentIndex(std::max(again, 0));
    ApplyFilter();
}

void GuideWindow::Choose(int choice)
{
    category_->setCurrentIndex(choice);
    ApplyFilter();
}

void GuideWindow::ApplyFilter()
{
    channels_.Filter(category_->currentIndex(), find_->text());
    view_->RowsChanged();
}

void GuideWindow::GuideChanged()
{
    cache_.Clear();
    view_->ForgetArchives();
    ReadExtent(true);
    view_->viewport()->update();
}

void GuideWindow::ReadExtent(bool again)
{
    // Where the guide begins and ends takes a pass over every programme: a worker thread reads
    // it on its own connection, and the day chooser grows when it is known. It is kept by file
    // (on the window's thread only) for a window opened again, until the guide is read again.
    static std::map<std::string, std::pair<std::int64_t, std::int64_t>> known;
    static std::set<std::string> reading;
    const std::string file = ViewerDatabase::FileBeside(catalogue_);
    if (!again) {
        if (const auto it = known.find(file); it != known.end()) {
            ApplyExtent(it->second.first, it->second.second);
            return;
        }
    }
    known.erase(file);
    if (!reading.insert(file).second)
        return;
    QPointer<GuideWindow> self(this);
    QThreadPool::globalInstance()->start([self, file] {
        std::int64_t begin = GuideStore::kNoEnd;
        std::int64_t end = GuideStore::kNoEnd;
        try {
            // No file, no guide: none is made from here.
            if (QFileInfo::exists(QString::fromStdString(file))) {
                ViewerDatabase db(file);
                GuideStore store(db);
                begin = store.Begin();
                end = store.End();
            }
        } catch (const std::exception&) {
            // The days stay those around today.
        }
        if (!qApp)
            return;
        QMetaObject::invokeMethod(qApp, [self, file, begin, end] {
            reading.erase(file);
            if (begin == GuideStore::kNoEnd || end == GuideStore::kNoEnd)
                return;
            known[file] = {begin, end};
            if (self)
                self->ApplyExtent(begin, end);
        });
    });
}

void GuideWindow::ApplyExtent(std::int64_t begin, std::int64_t end)
{
    const std::int64_t now = view_->Now();
    view_->SetRange(std::min(begin, now - GuideGridView::kHalfHour), std::max(end, now + GuideGridView::kDay));
    FillDays();
}

void GuideWindow::FillDays()
{
    const std::int64_t today = DayStart(view_->Now());
    firstDay_ = DayStart(view_->RangeFirst());
    const QLocale locale;
    day_->clear();
    for (std::int64_t day = firstDay_; day < view_->RangeLast(); day = DayStart(day + GuideGridView::kDay + 7200)) {
        const QDate date = QDateTime::fromSecsSinceEpoch(day).date();
        const qint64 offset = QDateTime::fromSecsSinceEpoch(today).date().daysTo(date);
        QString label = locale.toString(date, QStringLiteral("ddd d MMM"));
        if (offset == 0)
            label = tr("Today") + QStringLiteral(", ") + label;
        else if (offset == 1)
            label = tr("Tomorrow") + QStringLiteral(", ") + label;
        else if (offset == -1)
            label = tr("Yesterday") + QStringLiteral(", ") + label;
        day_->addItem(label, QVariant::fromValue(day));
    }
    FollowDay(view_->ViewStart());
}

void GuideWindow::FollowDay(std::int64_t viewStart)
{
    const int index = day_->findData(QVariant::fromValue(DayStart(viewStart + GuideGridView::kHalfHour)));
    if (index >= 0 && index != day_->currentIndex()) {
        const QSignalBlocker quiet(day_);
        day_->setCurrentIndex(index);
    }
}

void GuideWindow::ShowDay(int fromToday)
{
    const std::int64_t now = view_->Now();
    const QDate date = QDateTime::fromSecsSinceEpoch(now).date().addDays(fromToday);
    const QTime time = QDateTime::fromSecsSinceEpoch(now).time();
    const std::int64_t at = QDateTime(date, time).toSecsSinceEpoch();
    view_->ShowTime(at / GuideGridView::kHalfHour * GuideGridView::kHalfHour);
    const int row = view_->Selected().row >= 0 ? view_->Selected().row : view_->TopRow();
    if (channels_.Count() > 0)
        view_->Select(row, at);
    view_->setFocus();
}

void GuideWindow::ShowSelection()
{
    const GuideGridView::Selection& s = view_->Selected();
    if (s.row < 0) {
        details_->Show(QString(), std::nullopt, view_->Now());
        return;
    }
    const QString channel = channels_.At(s.row).name;
    std::optional<Programme> programme;
    if (s.programme) {
        try {
            if (store_)
                programme = store_->Find(channel.toStdString(), s.cell.start, s.cell.clump);
        } catch (const std::exception&) {
        }
        if (!programme) {
            programme = Programme{};
            programme->title = s.cell.title.toStdString();
        }
        programme->start = s.cell.start;
        programme->stop = s.cell.stop;
        if (!s.cell.title.isEmpty())
            programme->title = s.cell.title.toStdString();
    }
    details_->Show(channel, programme, view_->Now());
    // A programme that is over plays only from the archive, and only where one is connected.
    if (s.programme && s.cell.stop <= view_->Now())
        details_->SetCanWatch(view_->FromArchive(channel, s.cell.start) &&
                              isSignalConnected(QMetaMethod::fromSignal(&GuideWindow::archiveRequested)));
    details_->SetReminded(reminders_ && s.programme && reminders_->Has(channel, s.cell.start));
    details_->SetCanRecord(s.programme && s.cell.stop > view_->Now() &&
                           isSignalConnected(QMetaMethod::fromSignal(&GuideWindow::recordRequested)));
}

void GuideWindow::Activate()
{
    const GuideGridView::Selection& s = view_->Selected();
    if (s.row < 0)
        return;
    const GridChannels::Row& row = channels_.At(s.row);
    const std::int64_t now = view_->Now();
    if (s.cell.stop <= now) {
        if (s.programme)
            emit archiveRequested(row.name, s.cell.start, s.cell.stop);
        return;
    }
    if (s.cell.start <= now) {
        emit playRequested(row.category, row.name);
        return;
    }
    ToggleReminder();
}

void GuideWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    view_->setFocus();
}

void GuideWindow::closeEvent(QCloseEvent* event)
{
    KeepGeometry();
    QWidget::closeEvent(event);
}

void GuideWindow::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (isVisible())
        keep_->start();
}

void GuideWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (isVisible())
        keep_->start();
}

void GuideWindow::KeepGeometry()
{
    keep_->stop();
    try {
        SettingsStore(catalogue_).Store({{kGeometryKey, saveGeometry().toBase64().toStdString()}});
    } catch (const std::exception&) {
        // The place is not kept this time; nothing else is at stake.
    }
}

} // namespace quorvel
