#include "catalogueimport.h"

#include "exception.h"
#include "inifile.h"
#include "playableaddress.h"
#include "safename.h"

#include <QString>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvel {
namespace {

// Catalogue names match without regard to ASCII letter case, as profile lookups do.
std::string Folded(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string ReadCatalogue(const std::string& file)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT)
            return {};
        throw Exception("Cannot read the catalogue " + file + ": " + std::strerror(errno) +
                        "; it was left as it is");
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw Exception("The catalogue " + file + " is not a regular file; it was left as it is");
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            throw Exception("Cannot read the catalogue " + file + ": " + std::strerror(err) +
                            "; it was left as it is");
        }
        if (n == 0)
            break;
        bytes.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return bytes;
}

std::string Trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    // A quoted address means the address inside (and would read back without the quotes).
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
        s = s.substr(1, s.size() - 2);
    return std::string(s);
}

} // namespace

int ImportReport::Added() const
{
    int n = 0;
    for (const auto& c : categories)
        n += c.added;
    return n;
}

int ImportReport::Updated() const
{
    int n = 0;
    for (const auto& c : categories)
        n += c.updated;
    return n;
}

int ImportReport::Present() const
{
    int n = 0;
    for (const auto& c : categories)
        n += c.present;
    return n;
}

int ImportReport::Refused() const
{
    int n = 0;
    for (const auto& c : categories)
        n += c.refused;
    return n;
}

int ImportReport::TooLong() const
{
    int n = 0;
    for (const auto& c : categories)
        n += c.tooLong;
    return n;
}

int ImportReport::Duplicates() const
{
    int n = 0;
    for (const auto& c : categories)
        n += c.duplicates;
    return n;
}

int ImportReport::NewCategories() const
{
    int n = 0;
    for (const auto& c : categories)
        n += c.isNew ? 1 : 0;
    return n;
}

CatalogueImport::CatalogueImport(std::string catalogueFile) : file_(std::move(catalogueFile))
{
    const ProfileText text(ReadCatalogue(file_));
    for (auto& name : text.Keys("Layer1"))
        categories_.try_emplace(Folded(name), name);
    std::unordered_map<std::string, std::string> programs;
    auto programEntries = text.Entries("Programs");
    programs.reserve(programEntries.size());
    programNames_.reserve(programEntries.size());
    for (auto& [name, address] : programEntries) {
        auto folded = Folded(name);
        programNames_.insert(folded);
        programs.try_emplace(std::move(folded), std::move(address));
    }
    // A name standing twice reads the value of its first line, in the player too.
    auto channelEntries = text.Entries("Layer2");
    channels_.reserve(channelEntries.size());
    channelIndex_.reserve(channelEntries.size());
    for (auto& [name, category] : channelEntries) {
        auto folded = Folded(name);
        if (channelIndex_.count(folded))
            continue;
        const auto address = programs.find(folded);
        channelIndex_.emplace(std::move(folded), channels_.size());
        channels_.push_back(
            Channel{std::move(category), address == programs.end() ? std::string() : std::move(address->second)});
    }
}

std::size_t CatalogueImport::CategoryOf(const std::string& group)
{
    // Playlists name a few hundred groups for many thousand channels: each is worked out once.
    if (const auto known = groups_.find(group); known != groups_.end())
        return known->second;
    std::string category = SafeName(group);
    if (category.empty())
        category = DefaultCategory;
    // A category the catalogue has in other letter case is that category: a second key would
    // not even be written, and channels naming it in this spelling would show nowhere.
    // The same goes for two spellings of one new category in the playlist: the first one wins.
    const auto [known, isNew] = categories_.try_emplace(Folded(category), category);
    category = known->second;
    const auto [it, fresh] = reportIndex_.try_emplace(category, report_.categories.size());
    if (fresh) {
        report_.categories.push_back(CategoryReport{category});
        inFile_.push_back(!isNew);
    }
    groups_.emplace(group, it->second);
    return it->second;
}

void CatalogueImport::Add(const M3uPlaylist& playlist, const Progress& progress)
{
    report_.withoutAddress += playlist.WithoutAddress();
    const auto& entries = playlist.Entries();
    channels_.reserve(channels_.size() + entries.size());
    channelIndex_.reserve(channels_.size() + entries.size());
    newChannels_.reserve(newChannels_.size() + entries.size());
    addresses_.reserve(addresses_.size() + entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        AddEntry(entries[i]);
        if (progress && (i % 4096 == 4095 || i + 1 == entries.size()))
            progress(i + 1, entries.size());
    }
}

void CatalogueImport::AddEntry(const PlaylistEntry& entry)
{
    const std::size_t reportIndex = CategoryOf(entry.group);
    CategoryReport& report = report_.categories[reportIndex];
    const std::string& category = report.name;

    const std::string address = Trimmed(entry.address);
    if (address.empty()) {
        ++report_.withoutAddress;
        return;
    }
    if (!IsPlayableAddress(QString::fromUtf8(address.data(), static_cast<qsizetype>(address.size())))) {
        ++report.refused;
        if (report_.refusedExamples.size() < 3)
            report_.refusedExamples.push_back(address);
        return;
    }
    if (address.size() > IniFile::MaxValueLength) {
        ++report.tooLong;
        return;
    }

    std::string name = SafeName(entry.title);
    if (name.empty())
        name = DefaultChannel;
    const std::string folded = Folded(name);
    auto numbered = [](const std::string& base, int k) { return base + " (" + std::to_string(k) + ")"; };

    // The channel itself, already there under its name or a numbered form of it: claimed by
    // an earlier entry of this playlist it is a duplicate, else it is simply there.
    std::size_t free = 0; // the first number whose name is not taken
    for (int k = 1;; ++k) {
        const auto it = channelIndex_.find(k == 1 ? folded : numbered(folded, k));
        if (it == channelIndex_.end()) {
            if (programNames_.count(k == 1 ? folded : numbered(folded, k)))
                continue;
            free = static_cast<std::size_t>(k);
            break;
        }
        Channel& c = channels_[it->second];
        if (c.category == category && c.address == address) {
            if (c.used) {
                ++report.duplicates;
            } else {
                c.used = true;
                ++report.present;
            }
            return;
        }
    }
    // Else this category's channel of that name (or a numbered form) not yet claimed, whose
    // stream has moved, or the first free name.
    for (int k = 1; k < static_cast<int>(free); ++k) {
        const auto it = channelIndex_.find(k == 1 ? folded : numbered(folded, k));
        if (it == channelIndex_.end())
            continue; // a "Programs" key without a channel: someone's hand edit, left alone
        Channel& c = channels_[it->second];
        if (c.used || c.category != category)
            continue;
        c.used = true;
        c.address = address;
        addresses_.emplace_back(k == 1 ? name : numbered(name, k), address);
        ++report.updated;
        return;
    }
    const std::string key = free == 1 ? name : numbered(name, static_cast<int>(free));
    channelIndex_.emplace(free == 1 ? folded : numbered(folded, static_cast<int>(free)), channels_.size());
    channels_.push_back(Channel{category, address, true});
    newChannels_.emplace_back(key, category);
    addresses_.emplace_back(key, address);
    ++report.added;
    if (!inFile_[reportIndex]) {
        inFile_[reportIndex] = true;
        newCategories_.emplace_back(category, "");
        report.isNew = true;
    }
}

bool CatalogueImport::HasChanges() const { return !addresses_.empty(); }

void CatalogueImport::Write() const
{
    std::vector<SectionValues> edits;
    if (!newCategories_.empty())
        edits.push_back(SectionValues{"Layer1", newCategories_});
    if (!newChannels_.empty())
        edits.push_back(SectionValues{"Layer2", newChannels_});
    if (!addresses_.empty())
        edits.push_back(SectionValues{"Programs", addresses_});
    if (edits.empty())
        return;
    IniFile(file_).WriteSections(edits);
}

} // namespace quorvel
