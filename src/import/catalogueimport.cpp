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
    for (auto& [name, address] : text.Entries("Programs")) {
        auto folded = Folded(name);
        programNames_.insert(folded);
        programs.try_emplace(std::move(folded), std::move(address));
    }
    // A name standing twice reads the value of its first line, in the player too.
    for (auto& [name, category] : text.Entries("Layer2")) {
        auto folded = Folded(name);
        const auto address = programs.find(folded);
        channels_.try_emplace(std::move(folded),
                              Channel{std::move(category), address == programs.end() ? std::string() : address->second});
    }
}

CategoryReport& CatalogueImport::ReportFor(const std::string& category)
{
    const auto [it, fresh] = reportIndex_.try_emplace(category, report_.categories.size());
    if (fresh)
        report_.categories.push_back(CategoryReport{category});
    return report_.categories[it->second];
}

std::string CatalogueImport::CategoryKey(const std::string& name)
{
    // A category the catalogue has in other letter case is that category: a second key would
    // not even be written, and channels naming it in this spelling would show nowhere.
    const auto it = categories_.find(Folded(name));
    return it == categories_.end() ? name : it->second;
}

void CatalogueImport::Add(const M3uPlaylist& playlist, const Progress& progress)
{
    report_.withoutAddress += playlist.WithoutAddress();
    const auto& entries = playlist.Entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        AddEntry(entries[i]);
        if (progress && (i % 4096 == 4095 || i + 1 == entries.size()))
            progress(i + 1, entries.size());
    }
}

void CatalogueImport::AddEntry(const PlaylistEntry& entry)
{
    std::string category = SafeName(entry.group);
    if (category.empty())
        category = DefaultCategory;
    category = CategoryKey(category);
    CategoryReport& report = ReportFor(category);

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
    if (!seen_.insert(category + '\n' + Folded(name) + '\n' + address).second) {
        ++report.duplicates;
        return;
    }

    auto candidate = [&name](int k) { return k == 1 ? name : name + " (" + std::to_string(k) + ")"; };
    // The channel itself, already there under its name or a numbered form of it.
    for (int k = 1;; ++k) {
        const std::string folded = Folded(candidate(k));
        const auto it = channels_.find(folded);
        if (it == channels_.end()) {
            if (programNames_.count(folded))
                continue;
            break;
        }
        Channel& c = it->second;
        if (!c.used && c.category == category && c.address == address) {
            c.used = true;
            ++report.present;
            return;
        }
    }
    // Else the first of those names that is free, or that names this category's channel of
    // that name, whose address then changes.
    for (int k = 1;; ++k) {
        const std::string key = candidate(k);
        const std::string folded = Folded(key);
        const auto it = channels_.find(folded);
        if (it != channels_.end()) {
            Channel& c = it->second;
            if (c.used || c.category != category)
                continue;
            c.used = true;
            c.address = address;
            addresses_.emplace_back(key, address);
            ++report.updated;
            return;
        }
        // A "Programs" key without a channel belongs to someone's hand edit: leave it alone.
        if (programNames_.count(folded))
            continue;
        channels_.emplace(folded, Channel{category, address, true});
        newChannels_.emplace_back(key, category);
        addresses_.emplace_back(key, address);
        ++report.added;
        if (categories_.try_emplace(Folded(category), category).second) {
            newCategories_.emplace_back(category, "");
            report.isNew = true;
        }
        return;
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
