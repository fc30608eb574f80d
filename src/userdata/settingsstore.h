#pragma once

#include <map>
#include <memory>
#include <string>

namespace quorvel {

class ViewerDatabase;

// The viewer's settings as names and text values: kept in the viewer's database beside the
// catalogue, every store one transaction. Where no database can be used there (the database
// lives in memory only), they go to a settings file beside the catalogue instead, written whole
// in one replacement of the file. Throws Exception when they cannot be read or written.
class SettingsStore {
public:
    using Values = std::map<std::string, std::string>;
    static constexpr const char* kFileName = "viewer-settings.ini";

    // Opens the settings that go with this catalogue file.
    explicit SettingsStore(const std::string& catalogueFile);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Every stored setting; empty on the first start.
    Values Read() const;
    // Stores these settings, in place of their values before; the others stay as they are.
    void Store(const Values& values);
    // Where they are kept: the database's file or the settings file.
    const std::string& Location() const { return location_; }

private:
    class Backend;
    class DatabaseBackend;
    class FileBackend;

    std::unique_ptr<ViewerDatabase> database_;
    std::unique_ptr<Backend> backend_; // after the database: it goes first

    std::string location_;
};

} // namespace quorvel
