#pragma once

#include "base/profiletext.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace quorvel {

// Where profile files meet the disk. Reads go through a small cache that is checked against
// the file on every call (device, inode, size and both change times), so a call always sees
// what the file holds at that moment, also when another process has changed it. Writes replace
// the whole file atomically: the new content is written and synced beside it and renamed over
// it, so an interrupted write leaves the old file whole. The file keeps its permissions.
class ProfileStore {
public:
    // The parsed file, or an empty text when it is missing, unreadable or not a regular file.
    static std::shared_ptr<const ProfileText> Read(const std::string& fileName);

    // Sets one key; false when the file cannot be written (the old file is left as it was).
    // Names and values that would break the line structure (line breaks; "]" in a section
    // name, "=" in a key name, a key name starting with "[" or ";") are refused.
    static bool Write(const std::string& fileName, const std::string& section, const std::string& key,
                      const std::string& value);
    // Sets several keys of one section, in order, with a single replacement of the file: all of
    // them land or none does.
    static bool Write(const std::string& fileName, const std::string& section,
                      const std::vector<std::pair<std::string, std::string>>& entries);
    // Sets keys of several sections with a single replacement of the file, as the writes one
    // after the other would leave it.
    static bool Write(const std::string& fileName, const std::vector<SectionValues>& edits);
    // Takes keys out, then sets keys, with a single replacement of the file.
    static bool Write(const std::string& fileName, const std::vector<SectionKeys>& removals,
                      const std::vector<SectionValues>& edits);

    // Drops the cached copies (tests use it to measure cold reads).
    static void Forget();
};

} // namespace quorvel
