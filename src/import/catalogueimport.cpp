#include "import/catalogueimport.h"

#include "base/exception.h"
#include "platform/inifile.h"
#include "base/playableaddress.h"
#include "base/readtoend.h"
#include "import/safename.h"

#include <QString>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvel {
namespace {

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
    const int err = ReadToEnd(fd, [&bytes](const char* data, std::size_t size) {
        bytes.append(data, size);
        return true;
    });
    ::close(fd);
    if (err != 0)
        throw Exception("Cannot read the catalogue " + file + ": " + std::strerror(err) + "; it was left as it is");
    return bytes;
}

std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    // A quoted address means the address inside (and would read back without the quotes).
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
        s = s.substr(1, s.size() - 2);
    return s;
}

// " (k)", the suffix of the k-th channel of one name.
std::string_view Numbered(int k, char (&buffer)[16])
{
    if (k == 1)
        return {};
    const int n = std::snprintf(buffer, sizeof buffer, " (%d)", k);
    return std::string_view(buffer, static_cast<std::size_t>(n));
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

CatalogueImport::CatalogueImport(std::string catalogueFile)
    : file_(std::move(catalogueFile)), text_(std::make_unique<const ProfileText>(ReadCatalogue(file_)))
{
    // Catalogue names match without regard to ASCII letter case, as profile lookups do.
    for (const auto& [name, value] : text_->EntryViews("Layer1"))
        categories_.Insert(name, Intern(name));
    const auto programs = text_->EntryViews("Programs");
    programNames_.Reserve(programs.size());
    for (std::uint32_t i = 0; i < programs.size(); ++i)
        programNames_.Insert(programs[i].first, i);
    // A name standing twice reads the value of its first line, in the player too.
    const auto channels = text_->EntryViews("Layer2");
    channels_.reserve(channels.size());
    channelIndex_.Reserve(channels.size());
    for (const auto& [name, category] : channels) {
        const std::uint64_t hash = channelIndex_.Hash(name);
        const auto at = static_cast<std::uint32_t>(channels_.size());
        if (channelIndex_.Insert(hash, name, at) != at)
            continue;
        const std::uint32_t address = programNames_.Find(hash, name);
        channels_.push_back(
            Channel{name, address == NameIndex::npos ? std::string_view() : programs[address].second, Intern(category)});
    }
}

CatalogueImport::TextId CatalogueImport::Intern(std::string_view text)
{
    const auto id = static_cast<TextId>(textOf_.size());
    const TextId known = texts_.Insert(text, id);
    if (known == id) {
        textOf_.push_back(text);
        reportOf_.push_back(NameIndex::npos);
    }
    return known;
}

std::size_t CatalogueImport::CategoryOf(std::string_view group)
{
    // Playlists name a few hundred groups for many thousand channels: each is worked out once.
    if (!reportCategory_.empty() && group == lastGroup_)
        return lastReport_;
    if (const std::uint32_t known = groups_.Find(group); known != NameIndex::npos) {
        lastGroup_.assign(group);
        lastReport_ = known;
        return known;
    }
    std::string category = SafeName(group);
    if (category.empty())
        category = DefaultCategory;
    // A category the catalogue has in other letter case is that category: a second key would
    // not even be written, and channels naming it in this spelling would show nowhere.
    // The same goes for two spellings of one new category in the playlist: the first one wins.
    TextId id = categories_.Find(category);
    const bool isNew = id == NameIndex::npos;
    if (isNew) {
        id = Intern(arena_.Keep(category));
        categories_.Insert(textOf_[id], id);
    }
    if (reportOf_[id] == NameIndex::npos) {
        reportOf_[id] = static_cast<std::uint32_t>(report_.categories.size());
        report_.categories.push_back(CategoryReport{std::string(textOf_[id])});
        reportCategory_.push_back(id);
        inFile_.push_back(!isNew);
    }
    lastGroup_.assign(group);
    lastReport_ = reportOf_[id];
    groups_.Insert(arena_.Keep(group), static_cast<std::uint32_t>(lastReport_));
    return lastReport_;
}

void CatalogueImport::Add(const M3uPlaylist& playlist, const Progress& progress)
{
    report_.withoutAddress += playlist.WithoutAddress();
    const auto& entries = playlist.Entries();
    channels_.reserve(channels_.size() + entries.size());
    channelIndex_.Reserve(entries.size());
    newChannels_.reserve(newChannels_.size() + entries.size());
    addresses_.reserve(addresses_.size() + entries.size());
    // Each entry looks its name up where a hundred thousand names lie all over the index: the
    // slots of entries a few ahead are fetched meanwhile (for names that need no mending).
    constexpr std::size_t kAhead = 8;
    auto prefetch = [this, &entries](std::size_t i) {
        if (i < entries.size() && IsSafeName(entries[i].title)) {
            const std::uint64_t hash = channelIndex_.Hash(entries[i].title);
            channelIndex_.Prefetch(hash);
            programNames_.Prefetch(hash);
        }
    };
    for (std::size_t i = 0; i < kAhead; ++i)
        prefetch(i);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        prefetch(i + kAhead);
        AddEntry(entries[i]);
        if (progress && (i % 4096 == 4095 || i + 1 == entries.size()))
            progress(i + 1, entries.size());
    }
}

void CatalogueImport::AddEntry(const PlaylistEntry& entry)
{
    const std::size_t reportIndex = CategoryOf(entry.group);
    CategoryReport& report = report_.categories[reportIndex];
    const TextId category = reportCategory_[reportIndex];

    const std::string_view address = Trimmed(entry.address);
    if (address.empty()) {
        ++report_.withoutAddress;
        return;
    }
    if (!IsPlayableAddress(address)) {
        ++report.refused;
        if (report_.refusedExamples.size() < 3)
            report_.refusedExamples.emplace_back(address);
        return;
    }
    if (address.size() > IniFile::MaxValueLength) {
        ++report.tooLong;
        return;
    }

    std::string safe;
    std::string_view name = entry.title;
    if (!IsSafeName(name)) {
        safe = SafeName(name);
        name = safe;
    }
    if (name.empty())
        name = DefaultChannel;
    char buffer[16];

    // The channel itself, already there under its name or a numbered form of it: claimed by
    // an earlier entry of this playlist it is a duplicate, else it is simply there.
    int free = 0; // the first number whose name is not taken
    std::uint64_t freeHash = 0;
    for (int k = 1;; ++k) {
        const std::string_view suffix = Numbered(k, buffer);
        const std::uint64_t hash = channelIndex_.Hash(name, suffix);
        const std::uint32_t at = channelIndex_.Find(hash, name, suffix);
        if (at == NameIndex::npos) {
            if (programNames_.Find(hash, name, suffix) != NameIndex::npos)
                continue;
            free = k;
            freeHash = hash;
            break;
        }
        Channel& c = channels_[at];
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
    for (int k = 1; k < free; ++k) {
        const std::string_view suffix = Numbered(k, buffer);
        const std::uint32_t at = channelIndex_.Find(name, suffix);
        if (at == NameIndex::npos)
            continue; // a "Programs" key without a channel: someone's hand edit, left alone
        Channel& c = channels_[at];
        if (c.used || c.category != category)
            continue;
        c.used = true;
        c.address = arena_.Keep(address);
        addresses_.emplace_back(arena_.Keep(name, suffix), c.address);
        ++report.updated;
        return;
    }
    const std::string_view key = arena_.Keep(name, Numbered(free, buffer));
    channelIndex_.Insert(freeHash, key, static_cast<std::uint32_t>(channels_.size()));
    channels_.push_back(Channel{key, arena_.Keep(address), category, true});
    newChannels_.emplace_back(key, category);
    addresses_.emplace_back(key, channels_.back().address);
    ++report.added;
    if (!inFile_[reportIndex]) {
        inFile_[reportIndex] = true;
        newCategories_.push_back(category);
        report.isNew = true;
    }
}

bool CatalogueImport::HasChanges() const { return !addresses_.empty(); }

void CatalogueImport::Write() const
{
    std::vector<SectionValues> edits;
    auto strings = [](const auto& pairs, auto&& value) {
        std::vector<std::pair<std::string, std::string>> out;
        out.reserve(pairs.size());
        for (const auto& pair : pairs)
            out.emplace_back(value(pair));
        return out;
    };
    if (!newCategories_.empty())
        edits.push_back(SectionValues{"Layer1", strings(newCategories_, [this](TextId c) {
                                          return std::pair<std::string, std::string>(textOf_[c], "");
                                      })});
    if (!newChannels_.empty())
        edits.push_back(SectionValues{"Layer2", strings(newChannels_, [this](const auto& c) {
                                          return std::pair<std::string, std::string>(c.first, textOf_[c.second]);
                                      })});
    if (!addresses_.empty())
        edits.push_back(SectionValues{"Programs", strings(addresses_, [](const auto& a) {
                                          return std::pair<std::string, std::string>(a.first, a.second);
                                      })});
    if (edits.empty())
        return;
    IniFile(file_).WriteSections(edits);
}

} // namespace quorvel
