#pragma once

#include "userdata/reminderstore.h"

#include <QObject>
#include <QSet>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>

class QTimer;

namespace quorvel {

class ViewerDatabase;

// The programmes the viewer asked to be reminded of: kept in the viewer's database, each told
// once through the notify function a minute before it starts (at once when the program starts
// inside that minute), and forgotten an hour after it started.
class Reminders : public QObject {
    Q_OBJECT
public:
    static constexpr std::int64_t kAhead = 60;
    static constexpr std::int64_t kKeptAfter = 3600;

    explicit Reminders(std::string catalogueFile, QObject* parent = nullptr);
    ~Reminders() override;

    void SetClock(std::function<std::int64_t()> clock) { clock_ = std::move(clock); }
    void SetNotify(std::function<void(const Reminder&)> notify) { notify_ = std::move(notify); }

    bool Has(const QString& channel, std::int64_t start) const;
    // Sets the reminder, or takes it away when set; true when it is set now. A programme that
    // started already gets none.
    bool Toggle(const Reminder& reminder);
    // Reads the kept reminders and tells those due; later ones are told when due.
    void Start();

signals:
    void changed();

private:
    using Key = std::pair<QString, std::int64_t>;
    static Key KeyOf(const QString& channel, std::int64_t start) { return {channel.toLower(), start}; }
    std::int64_t Now() const;
    void Check();

    std::string catalogue_;
    std::unique_ptr<ViewerDatabase> db_;
    std::unique_ptr<ReminderStore> store_;
    std::function<std::int64_t()> clock_;
    std::function<void(const Reminder&)> notify_;
    std::vector<Reminder> kept_;
    std::set<Key> marked_;
    std::set<Key> told_;
    QTimer* timer_;
};

} // namespace quorvel
