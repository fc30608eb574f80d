#pragma once

#include "base/profiletext.h"

#include <string>
#include <utility>
#include <vector>

namespace quorvel {

// A profile file, named by its full path. Creating the object touches no file; every call goes
// to the file as it is at that moment. Texts are bytes in the system's single-byte code page.
class IniFile {
public:
    // Longest value a read returns, in characters.
    static constexpr std::size_t MaxValueLength = 2047;

    explicit IniFile(std::string fileName);

    const std::string& FileName() const { return fileName_; }

    // Empties the list, then appends every key name of the section in file order.
    void ListKeys(const std::string& section, std::vector<std::string>& list) const;
    // The key's value (at most MaxValueLength characters), or the default when missing.
    std::string ReadValue(const std::string& section, const std::string& key, const std::string& defaultValue) const;
    // Every key of the section with its value, in file order: one listing and all reads at once.
    std::vector<std::pair<std::string, std::string>> ReadSectionValues(const std::string& section) const;
    // Stores the value, creating file, section and key as needed; throws EIniFileException.
    void WriteValue(const std::string& section, const std::string& key, const std::string& value);
    // Stores several values of one section at once, as WriteValue would one after the other,
    // but in one change of the file: an interruption leaves all of them or none.
    void WriteSectionValues(const std::string& section,
                            const std::vector<std::pair<std::string, std::string>>& entries);
    // The same for keys of several sections, in one change of the file.
    void WriteSections(const std::vector<SectionValues>& edits);
    // Takes keys out and sets keys, in one change of the file.
    void WriteSections(const std::vector<SectionKeys>& removals, const std::vector<SectionValues>& edits);

private:
    std::string fileName_;
};

} // namespace quorvel
