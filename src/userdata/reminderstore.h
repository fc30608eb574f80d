#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quorvel {

class ViewerDatabase;

// A programme the viewer asked to be reminded of: its channel (catalogue name and category)
// and start, and its title for the notification.
struct Reminder {
    std::string channel;
    std::string category;
    std::int64_t start = 0;
    std::string title;
    bool operator==(const Reminder&) const = default;
};

// The reminders kept in the viewer's database, one per channel and start (letter case of the
// channel aside). Each change is one transaction. Throws Exception when the database cannot be
// read or written.
class ReminderStore {
public:
    explicit ReminderStore(const ViewerDatabase& database);
    ~ReminderStore();
    ReminderStore(const ReminderStore&) = delete;
    ReminderStore& operator=(const ReminderStore&) = delete;

    // In start order.
    std::vector<Reminder> All() const;
    // Keeps the reminder in place of one for the same channel and start.
    void Add(const Reminder& reminder);
    void Remove(const std::string& channel, std::int64_t start);
    // Forgets the reminders of programmes that started before the instant.
    void RemoveBefore(std::int64_t instant);

private:
    class Connection;
    std::unique_ptr<Connection> db_;
};

} // namespace quorvel
