#include "import/catalogueimport.h"

#include "base/exception.h"
#include "base/playableaddress.h"
#include "base/readtoend.h"
#include "catalogue/channelcatalogue.h"
#include "import/safename.h"
#include "platform/inifile.h"

#include <QString>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvel {
namespace {

int OpenCatalogue(const std::string& file);

std::string ReadCatalogue(const std::string& file)
{
    const int fd = OpenCatalogue(file);
    if (fd < 0)
        return {};
    struct stat st;
    ::fstat(fd, &st);
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

int OpenCatalogue(const std::string& file)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT)
            return -1;
        throw Exception("Cannot read the catalogue " + file + ": " + std::strerror(errno) + "; it was left as it is");
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw Exception("The catalogue " + file + " is not a regular file; it was left as it is");
    }
    return fd;
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

const char* SkippedEntry::Reason(Why why)
{
    switch (why) {
    case Why::WithoutAddress:
        return "no address";
    case Why::Refused:
        return "an address the player does not open";
    case Why::TooLong:
        return "an address too long for the catalogue";
    case Why::Duplicate:
        return "listed twice";
    }
    return "";
}

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

void CatalogueImport::CheckReadable(const std::string& catalogueFile)
{
    const int fd = OpenCatalogue(catalogueFile);
    if (fd >= 0)
        ::close(fd);
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
        channels_.push_back(Channel{name, address == NameIndex::npos ? std::string_view() : programs[address].second,
                                    Intern(category)});
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

void CatalogueImport::Skip(int line, std::string_view text, SkippedEntry::Why why)
{
    if (report_.skipped.size() < M3uPlaylist::kMostListed)
        report_.skipped.push_back(SkippedEntry{line, ShortText(text), why});
}

void CatalogueImport::Add(const M3uPlaylist& playlist, const Progress& progress)
{
    report_.withoutAddress += playlist.WithoutAddress();
    for (const auto& u : playlist.WithoutAddressListed())
        Skip(u.line, u.text, SkippedEntry::Why::WithoutAddress);
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
    placed_.reserve(placed_.size() + entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        prefetch(i + kAhead);
        placed_.push_back(kNotPlaced);
        AddEntry(entries[i]);
        if (progress && (i % 4096 == 4095 || i + 1 == entries.size()))
            progress(i + 1, entries.size());
    }
    std::stable_sort(report_.skipped.begin(), report_.skipped.end(),
                     [](const SkippedEntry& a, const SkippedEntry& b) { return a.line < b.line; });
}

void CatalogueImport::AddEntry(const PlaylistEntry& entry)
{
    const std::size_t reportIndex = CategoryOf(entry.group);
    CategoryReport& report = report_.categories[reportIndex];
    const TextId category = reportCategory_[reportIndex];

    const std::string_view address = Trimmed(entry.address);
    if (address.empty()) {
        ++report_.withoutAddress;
        Skip(entry.line, entry.title, SkippedEntry::Why::WithoutAddress);
        return;
    }
    if (!IsPlayableAddress(address)) {
        ++report.refused;
        if (report_.refusedExamples.size() < 3)
            report_.refusedExamples.emplace_back(address);
        Skip(entry.line, address, SkippedEntry::Why::Refused);
        return;
    }
    if (address.size() > IniFile::MaxValueLength) {
        ++report.tooLong;
        Skip(entry.line, address, SkippedEntry::Why::TooLong);
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
                Skip(entry.line, entry.title, SkippedEntry::Why::Duplicate);
            } else {
                Claim(c, at);
                ++report.present;
            }
            return;
        }
    }
    // Else this category's channel of that name (or a numbered form) not yet claimed, whose
    // stream has moved; else the source's own channel of that name that the playlist now puts
    // in another category; else the first free name.
    for (const bool elsewhere : {false, true}) {
        for (int k = 1; k < free; ++k) {
            const std::string_view suffix = Numbered(k, buffer);
            const std::uint32_t at = channelIndex_.Find(name, suffix);
            if (at == NameIndex::npos)
                continue; // a "Programs" key without a channel: someone's hand edit, left alone
            Channel& c = channels_[at];
            if (c.used || (elsewhere ? !c.owned : c.category != category))
                continue;
            Claim(c, at);
            if (c.category != category) {
                c.category = category;
                moves_.emplace_back(c.name, category);
                ++report_.moved;
                CategoryUsed(reportIndex, category);
            }
            if (c.address != address) {
                c.address = arena_.Keep(address);
                addresses_.emplace_back(c.name, c.address);
                ++report.updated;
            } else {
                ++report.present;
            }
            return;
        }
    }
    const std::string_view key = arena_.Keep(name, Numbered(free, buffer));
    channelIndex_.Insert(freeHash, key, static_cast<std::uint32_t>(channels_.size()));
    channels_.push_back(Channel{key, arena_.Keep(address), category, false, true});
    Claim(channels_.back(), static_cast<std::uint32_t>(channels_.size() - 1));
    newChannels_.emplace_back(key, category);
    addresses_.emplace_back(key, channels_.back().address);
    ++report.added;
    CategoryUsed(reportIndex, category);
}

void CatalogueImport::Claim(Channel& c, std::uint32_t at)
{
    c.used = true;
    placed_.back() = at;
}

void CatalogueImport::CategoryUsed(std::size_t reportIndex, TextId category)
{
    if (!inFile_[reportIndex]) {
        inFile_[reportIndex] = true;
        newCategories_.push_back(category);
        report_.categories[reportIndex].isNew = true;
    }
}

CatalogueImport::Placement CatalogueImport::Placed(std::size_t entry) const
{
    const std::uint32_t at = placed_[entry];
    if (at == kNotPlaced)
        return {};
    return Placement{channels_[at].name, textOf_[channels_[at].category], channels_[at].owned};
}

void CatalogueImport::SetSourceChannels(const std::vector<std::string>& names)
{
    for (const auto& name : names)
        if (const std::uint32_t at = channelIndex_.Find(name); at != NameIndex::npos)
            channels_[at].owned = true;
}

void CatalogueImport::RemoveUnclaimed(const std::function<bool(std::string_view name)>& listedElsewhere)
{
    std::vector<TextId> emptied;
    for (Channel& c : channels_) {
        if (!c.owned || c.used || c.removed || (listedElsewhere && listedElsewhere(c.name)))
            continue;
        c.removed = true;
        removedNames_.emplace_back(c.name);
        emptied.push_back(c.category);
        ++report_.removed;
    }
    if (emptied.empty())
        return;
    // A category the removed channels leave without any channel goes too, unless the viewer
    // would miss it: the default ones stay, as do categories this import still fills.
    std::vector<std::uint32_t> remaining(textOf_.size(), 0);
    for (const Channel& c : channels_)
        if (!c.removed)
            ++remaining[c.category];
    const auto& defaults = ChannelCatalogue::DefaultCategories();
    std::vector<bool> seen(textOf_.size(), false);
    for (const TextId category : emptied) {
        if (remaining[category] != 0 || seen[category])
            continue;
        seen[category] = true;
        if (std::find(defaults.begin(), defaults.end(), textOf_[category]) != defaults.end())
            continue;
        if (categories_.Find(textOf_[category]) == NameIndex::npos)
            continue; // shown nowhere: its channels stood under a name "Layer1" does not list
        removedCategories_.emplace_back(textOf_[category]);
        ++report_.removedCategories;
    }
}

bool CatalogueImport::HasChanges() const { return !addresses_.empty() || !moves_.empty() || !removedNames_.empty(); }

void CatalogueImport::Changes(std::vector<SectionKeys>& removals, std::vector<SectionValues>& edits) const
{
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
    if (!moves_.empty())
        edits.push_back(SectionValues{"Layer2", strings(moves_, [this](const auto& c) {
                                          return std::pair<std::string, std::string>(c.first, textOf_[c.second]);
                                      })});
    if (!addresses_.empty())
        edits.push_back(SectionValues{"Programs", strings(addresses_, [](const auto& a) {
                                          return std::pair<std::string, std::string>(a.first, a.second);
                                      })});
    if (!removedNames_.empty()) {
        removals.push_back(SectionKeys{"Layer2", removedNames_});
        removals.push_back(SectionKeys{"Programs", removedNames_});
    }
    if (!removedCategories_.empty())
        removals.push_back(SectionKeys{"Layer1", removedCategories_});
}

void CatalogueImport::Write() const
{
    std::vector<SectionKeys> removals;
    std::vector<SectionValues> edits;
    Changes(removals, edits);
    if (edits.empty() && removals.empty())
        return;
    IniFile(file_).WriteSections(removals, edits);
}

std::string CatalogueImport::Contents() const
{
    std::vector<SectionKeys> removals;
    std::vector<SectionValues> edits;
    Changes(removals, edits);
    std::string bytes = removals.empty() ? text_->Bytes() : text_->WithoutKeys(removals);
    return edits.empty() ? bytes : ProfileText(std::move(bytes)).WithValues(edits);
}

} // namespace quorvel
