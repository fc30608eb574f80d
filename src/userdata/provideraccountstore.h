#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

class ViewerDatabase;

// What the viewer's database keeps of a provider account, by its playlist source: what the
// panel last said of it, how its password is kept, and the password itself only where the
// viewer chose the database for want of a keyring (the file is then made readable by its
// owner alone). A row goes with its source. Throws Exception when the database fails.
class ProviderAccountStore {
public:
    enum class Keep { Keyring, Database, Ask };
    struct Account {
        std::int64_t sourceId = 0;
        std::string location; // the source's, without the password
        Keep keep = Keep::Keyring;
        std::optional<std::string> password; // only with Keep::Database
        std::string status;
        std::int64_t expires = 0;
        int activeConnections = 0;
        int maxConnections = 0;
        std::string formats; // comma-separated
        std::string timeZone;
        std::int64_t noticedDay = 0;
    };

    static std::vector<Account> Read(const ViewerDatabase& db);
    static std::optional<Account> Find(const ViewerDatabase& db, const std::string& location);
    // Keeps what the panel said (sourceId names the row; keep, password and noticedDay stay as
    // they are on a row already there). Meant for ViewerDatabase::StoreRead's within.
    static void StoreState(const ViewerDatabase& db, const Account& account);
    // How the password is kept: the password is stored only with Keep::Database, else cleared.
    static void StoreKeep(const ViewerDatabase& db, std::int64_t sourceId, Keep keep, const std::string& password);
    static void StoreNoticed(const ViewerDatabase& db, std::int64_t sourceId, std::int64_t day);
};

} // namespace quorvel
