#include "platform/inifile.h"

#include "base/exception.h"
#include "platform/profilestore.h"

namespace quorvel {
namespace {

std::string Cut(std::string_view s) { return std::string(s.substr(0, IniFile::MaxValueLength)); }

} // namespace

IniFile::IniFile(std::string fileName) : fileName_(std::move(fileName)) { }

void IniFile::ListKeys(const std::string& section, std::vector<std::string>& list) const
{
    list = ProfileStore::Read(fileName_)->Keys(section);
}

std::string IniFile::ReadValue(const std::string& section, const std::string& key,
                               const std::string& defaultValue) const
{
    const auto value = ProfileStore::Read(fileName_)->Value(section, key);
    return Cut(value ? *value : std::string_view(defaultValue));
}

std::vector<std::pair<std::string, std::string>> IniFile::ReadSectionValues(const std::string& section) const
{
    auto entries = ProfileStore::Read(fileName_)->Entries(section);
    for (auto& e : entries)
        if (e.second.size() > MaxValueLength)
            e.second.resize(MaxValueLength);
    return entries;
}

void IniFile::WriteValue(const std::string& section, const std::string& key, const std::string& value)
{
    if (!ProfileStore::Write(fileName_, section, key, value))
        throw EIniFileException("Unable to write to " + fileName_);
}

void IniFile::WriteSectionValues(const std::string& section,
                                 const std::vector<std::pair<std::string, std::string>>& entries)
{
    if (!ProfileStore::Write(fileName_, section, entries))
        throw EIniFileException("Unable to write to " + fileName_);
}

void IniFile::WriteSections(const std::vector<SectionKeys>& removals, const std::vector<SectionValues>& edits)
{
    if (!ProfileStore::Write(fileName_, removals, edits))
        throw EIniFileException("Unable to write to " + fileName_);
}

void IniFile::WriteSections(const std::vector<SectionValues>& edits)
{
    if (!ProfileStore::Write(fileName_, edits))
        throw EIniFileException("Unable to write to " + fileName_);
}

} // namespace quorvel
