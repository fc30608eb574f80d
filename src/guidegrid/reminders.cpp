#include "guidegrid/reminders.h"

#include "userdata/viewerdatabase.h"

#include <QDateTime>
#include <QTimer>

#include <algorithm>

namespace quorvel {
namespace {

// However far the next reminder, the clock is looked at again this often: a machine woken from
// sleep finds its reminders due without waiting out a timer set before it slept.
constexpr std::int64_t kLookAgain = 60;

} // namespace

Reminders::Reminders(std::string catalogueFile, QObject* parent)
    : QObject(parent), catalogue_(std::move(catalogueFile)), timer_(new QTimer(this))
{
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &Reminders::Check);
}

Reminders::~Reminders() = default;

std::int64_t Reminders::Now() const { return clock_ ? clock_() : QDateTime::currentSecsSinceEpoch(); }

void Reminders::Start()
{
    try {
        db_ = std::make_unique<ViewerDatabase>(ViewerDatabase::FileBeside(catalogue_));
        store_ = std::make_unique<ReminderStore>(*db_);
        store_->RemoveBefore(Now() - kKeptAfter);
        kept_ = store_->All();
    } catch (const std::exception&) {
        // Without the database reminders live until the program ends.
        store_.reset();
    }
    marked_.clear();
    for (const Reminder& r : kept_)
        marked_.insert(KeyOf(QString::fromStdString(r.channel), r.start));
    Check();
}

bool Reminders::Has(const QString& channel, std::int64_t start) const
{
    return marked_.contains(KeyOf(channel, start));
}

bool Reminders::Toggle(const Reminder& reminder)
{
    const Key key = KeyOf(QString::fromStdString(reminder.channel), reminder.start);
    const bool set = !marked_.contains(key);
    if (set && reminder.start <= Now())
        return false;
    try {
        if (store_ && set)
            store_->Add(reminder);
        else if (store_)
            store_->Remove(reminder.channel, reminder.start);
    } catch (const std::exception&) {
        // Kept for this run only; the next change tries the database again.
    }
    if (set) {
        marked_.insert(key);
        kept_.push_back(reminder);
    } else {
        marked_.erase(key);
        told_.erase(key);
        std::erase_if(kept_,
                      [&](const Reminder& r) { return KeyOf(QString::fromStdString(r.channel), r.start) == key; });
    }
    emit changed();
    Check();
    return set;
}

void Reminders::Check()
{
    const std::int64_t now = Now();
    std::int64_t next = now + kLookAgain;
    for (const Reminder& r : kept_) {
        const Key key = KeyOf(QString::fromStdString(r.channel), r.start);
        if (told_.contains(key) || r.start <= now)
            continue;
        if (r.start - kAhead <= now) {
            told_.insert(key);
            if (notify_)
                notify_(r);
        } else {
            next = std::min(next, r.start - kAhead);
        }
    }
    timer_->start(int(std::max<std::int64_t>(1, next - now) * 1000));
}

} // namespace quorvel
