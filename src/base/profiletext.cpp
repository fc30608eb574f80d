#include "base/profiletext.h"

#include "base/blanks.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <unordered_set>

namespace quorvel {
namespace {

std::string_view Trim(std::string_view s) { return TrimBlanks(s); }

// A name handed out through a zero-terminated buffer ends at its first NUL byte.
std::string_view UpToNul(std::string_view s)
{
    const auto nul = s.find('\0');
    return nul == std::string_view::npos ? s : s.substr(0, nul);
}

std::string_view Unquote(std::string_view v)
{
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

} // namespace

ProfileText::ProfileText(std::string bytes) : bytes_(std::make_shared<const std::string>(std::move(bytes)))
{
    const std::string_view all(*bytes_);
    // Keys above the first header belong to a section without a name.
    sections_.push_back(Section{std::string_view(), 0, {}, {}, {}, false});
    std::size_t pos = 0;
    std::size_t nextLf = all.find('\n');
    while (pos < all.size()) {
        // A line ends at CR LF, at a lone LF or at a lone CR. Both are looked for with memchr:
        // the next LF once for many lines, a CR only up to it.
        if (nextLf != std::string_view::npos && nextLf < pos)
            nextLf = all.find('\n', pos);
        const std::size_t stop = nextLf == std::string_view::npos ? all.size() : nextLf;
        const void* cr = std::memchr(all.data() + pos, '\r', stop - pos);
        const std::size_t brk = cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - all.data()) : nextLf;
        const std::size_t textEnd = brk == std::string_view::npos ? all.size() : brk;
        std::size_t lineEnd = brk == std::string_view::npos ? all.size() : brk + 1;
        if (brk != std::string_view::npos && all[brk] == '\r' && lineEnd < all.size() && all[lineEnd] == '\n')
            ++lineEnd;
        const std::string_view line = Trim(all.substr(pos, textEnd - pos));
        if (line.empty() || line.front() == ';') {
            pos = lineEnd;
            continue;
        }
        if (line.front() == '[') {
            const auto close = line.find(']');
            if (close != std::string_view::npos) {
                sections_.push_back(Section{Trim(line.substr(1, close - 1)), lineEnd, {}, {}, {}, false});
                pos = lineEnd;
                continue;
            }
        }
        const auto eq = line.find('=');
        if (eq == std::string_view::npos) {
            // A note or a name typed without "=" is no key: the line is kept, never listed.
            pos = lineEnd;
            continue;
        }
        Entry e;
        e.name = Trim(line.substr(0, eq));
        e.rawValue = Trim(line.substr(eq + 1));
        e.lineBegin = pos;
        e.lineEnd = lineEnd;
        e.textEnd = textEnd;
        if (!UpToNul(e.name).empty())
            sections_.back().entries.push_back(e);
        pos = lineEnd;
    }
}

const ProfileText::Section* ProfileText::Find(std::string_view section) const
{
    // The unnamed section at index 0 answers only to an empty name.
    for (const auto& s : sections_)
        if (NamesEqual(s.name, section))
            return &s;
    return nullptr;
}

void ProfileText::Index(const Section& s)
{
    if (s.indexed)
        return;
    s.index.reserve(s.entries.size());
    s.first.resize(s.entries.size());
    for (std::size_t i = 0; i < s.entries.size(); ++i)
        s.first[i] = s.index.try_emplace(s.entries[i].name, i).second;
    s.indexed = true;
}

std::vector<std::string> ProfileText::Keys(std::string_view section) const
{
    std::vector<std::string> keys;
    if (const Section* s = Find(section)) {
        keys.reserve(s->entries.size());
        for (const auto& e : s->entries)
            keys.emplace_back(UpToNul(e.name));
    }
    return keys;
}

std::vector<std::pair<std::string, std::string>> ProfileText::Entries(std::string_view section) const
{
    std::vector<std::pair<std::string, std::string>> out;
    if (const Section* s = Find(section)) {
        out.reserve(s->entries.size());
        for (const auto& e : s->entries)
            out.emplace_back(UpToNul(e.name), Unquote(e.rawValue));
    }
    return out;
}

std::vector<std::pair<std::string_view, std::string_view>> ProfileText::EntryViews(std::string_view section) const
{
    std::vector<std::pair<std::string_view, std::string_view>> out;
    if (const Section* s = Find(section)) {
        out.reserve(s->entries.size());
        for (const auto& e : s->entries)
            out.emplace_back(UpToNul(e.name), Unquote(e.rawValue));
    }
    return out;
}

std::optional<std::string_view> ProfileText::Value(std::string_view section, std::string_view key) const
{
    const Section* s = Find(section);
    if (!s)
        return std::nullopt;
    Index(*s);
    const std::size_t next = s->lastFound + 1;
    if (next < s->entries.size() && s->first[next] && NamesEqual(s->entries[next].name, key)) {
        s->lastFound = next;
        return Unquote(s->entries[next].rawValue);
    }
    const auto it = s->index.find(key);
    if (it == s->index.end())
        return std::nullopt;
    s->lastFound = it->second;
    return Unquote(s->entries[it->second].rawValue);
}

std::string_view ProfileText::LineEnd() const
{
    // New lines follow the file's own line ends (its first one); a new file gets LF.
    const auto brk = bytes_->find_first_of("\r\n");
    if (brk == std::string::npos || (*bytes_)[brk] == '\n')
        return "\n";
    return brk + 1 < bytes_->size() && (*bytes_)[brk + 1] == '\n' ? "\r\n" : "\r";
}

std::string ProfileText::WithValue(std::string_view section, std::string_view key, std::string_view value) const
{
    const std::string& bytes = *bytes_;
    const std::string_view eol = LineEnd();
    const Section* s = Find(section);
    if (s) {
        for (const auto& e : s->entries) {
            if (NamesEqual(e.name, key)) {
                std::string out;
                out.reserve(bytes.size() + value.size() + 2);
                out.append(bytes, 0, e.lineBegin);
                out.append(e.name).append("=").append(value);
                out.append(bytes, e.textEnd, std::string::npos);
                return out;
            }
        }
        const std::size_t at = s->entries.empty() ? s->headerEnd : s->entries.back().lineEnd;
        std::string out;
        out.reserve(bytes.size() + key.size() + value.size() + 4);
        out.append(bytes, 0, at);
        // The line before may be the file's last line without a line end.
        if (at > 0 && bytes[at - 1] != '\n' && bytes[at - 1] != '\r')
            out.append(eol);
        out.append(key).append("=").append(value).append(eol);
        out.append(bytes, at, std::string::npos);
        return out;
    }
    std::string out = bytes;
    if (!out.empty() && out.back() != '\n' && out.back() != '\r')
        out.append(eol);
    if (!out.empty())
        out.append(eol);
    out.append("[").append(section).append("]").append(eol);
    out.append(key).append("=").append(value).append(eol);
    return out;
}

std::string ProfileText::WithValues(const std::vector<SectionValues>& edits) const
{
    const std::string& bytes = *bytes_;
    const std::string_view eol = LineEnd();

    // What each touched section gets: values for keys it has (by entry), keys it lacks in order
    // of first appearance (a key set twice keeps its first place and its last value).
    struct Pending {
        const Section* existing = nullptr;
        std::string_view name;
        std::unordered_map<std::size_t, std::string_view> replaced;
        std::vector<std::pair<std::string_view, std::string_view>> added;
        // Positions in added by name (any case): open addressing, each slot the position + 1
        // and a part of the name's hash, so that probing rarely touches the names themselves.
        // Imports add a hundred thousand keys at once; node-based maps would dominate.
        struct Slot {
            std::uint32_t at = 0;
            std::uint32_t tag = 0;
        };
        std::vector<Slot> slots;
        static std::size_t Mixed(std::size_t hash)
        {
            // The name hash's low bits alone cluster badly: mix the high ones in.
            hash ^= hash >> 29;
            hash *= 0x9E3779B97F4A7C15ull;
            return hash ^ (hash >> 32);
        }
        std::size_t Find(std::string_view key, std::size_t hash) const
        {
            const std::size_t mask = slots.size() - 1;
            const auto tag = static_cast<std::uint32_t>(hash >> 32);
            for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
                const Slot& slot = slots[i];
                if (slot.at == 0 || (slot.tag == tag && NamesEqual(added[slot.at - 1].first, key)))
                    return i;
            }
        }
        void Reserve(std::size_t more)
        {
            const std::size_t wanted = (added.size() + more) * 2;
            if (wanted <= slots.size())
                return;
            std::size_t size = 16;
            while (size < wanted)
                size *= 2;
            std::vector<Slot> before(size);
            before.swap(slots);
            const std::size_t mask = slots.size() - 1;
            for (const Slot& slot : before) {
                if (slot.at == 0)
                    continue;
                const std::size_t hash = Mixed(FoldedNameHash()(added[slot.at - 1].first));
                std::size_t i = hash & mask;
                while (slots[i].at != 0)
                    i = (i + 1) & mask;
                slots[i] = slot;
            }
        }
        void Add(std::string_view key, std::string_view value)
        {
            Reserve(1);
            const std::size_t hash = Mixed(FoldedNameHash()(key));
            Slot& slot = slots[Find(key, hash)];
            if (slot.at != 0) {
                added[slot.at - 1].second = value;
                return;
            }
            added.emplace_back(key, value);
            slot = Slot{static_cast<std::uint32_t>(added.size()), static_cast<std::uint32_t>(hash >> 32)};
        }
    };
    std::vector<Pending> pending;
    std::unordered_map<const Section*, std::size_t> byExisting;
    std::unordered_map<std::string_view, std::size_t, FoldedNameHash, FoldedNameEqual> byNewName;
    for (const auto& edit : edits) {
        if (edit.entries.empty())
            continue;
        const Section* s = Find(edit.section);
        std::size_t at;
        if (s) {
            const auto [it, fresh] = byExisting.try_emplace(s, pending.size());
            if (fresh) {
                pending.emplace_back();
                pending.back().existing = s;
                Index(*s);
            }
            at = it->second;
        } else {
            const auto [it, fresh] = byNewName.try_emplace(edit.section, pending.size());
            if (fresh) {
                pending.emplace_back();
                pending.back().name = edit.section;
            }
            at = it->second;
        }
        Pending& p = pending[at];
        p.Reserve(edit.entries.size());
        p.added.reserve(p.added.size() + edit.entries.size());
        for (const auto& [key, value] : edit.entries) {
            if (p.existing) {
                const auto found = p.existing->index.find(key);
                if (found != p.existing->index.end()) {
                    p.replaced[found->second] = value;
                    continue;
                }
            }
            p.Add(key, value);
        }
    }

    // Changes inside the file, by offset: [begin, end) becomes text (an insertion when equal).
    struct Piece {
        std::size_t begin;
        std::size_t end;
        std::string text;
    };
    std::vector<Piece> pieces;
    std::size_t grow = 0;
    for (const auto& p : pending) {
        if (!p.existing)
            continue;
        for (const auto& [index, value] : p.replaced) {
            const Entry& e = p.existing->entries[index];
            std::string text;
            text.reserve(e.name.size() + value.size() + 1);
            text.append(e.name).append("=").append(value);
            grow += text.size();
            pieces.push_back(Piece{e.lineBegin, e.textEnd, std::move(text)});
        }
        if (p.added.empty())
            continue;
        const Section& s = *p.existing;
        const std::size_t at = s.entries.empty() ? s.headerEnd : s.entries.back().lineEnd;
        std::string text;
        // The line before may be the file's last line without a line end.
        if (at > 0 && bytes[at - 1] != '\n' && bytes[at - 1] != '\r')
            text.append(eol);
        for (const auto& [key, value] : p.added)
            text.append(key).append("=").append(value).append(eol);
        grow += text.size();
        pieces.push_back(Piece{at, at, std::move(text)});
    }
    std::stable_sort(pieces.begin(), pieces.end(), [](const Piece& a, const Piece& b) { return a.begin < b.begin; });

    std::string out;
    out.reserve(bytes.size() + grow + 64);
    std::size_t pos = 0;
    for (const auto& piece : pieces) {
        out.append(bytes, pos, piece.begin - pos);
        out.append(piece.text);
        pos = piece.end;
    }
    out.append(bytes, pos, std::string::npos);

    // New sections go at the end, each after a blank line.
    for (const auto& p : pending) {
        if (p.existing)
            continue;
        if (!out.empty() && out.back() != '\n' && out.back() != '\r')
            out.append(eol);
        if (!out.empty())
            out.append(eol);
        out.append("[").append(p.name).append("]").append(eol);
        for (const auto& [key, value] : p.added)
            out.append(key).append("=").append(value).append(eol);
    }
    return out;
}

std::string ProfileText::WithoutKeys(const std::vector<SectionKeys>& removals) const
{
    const std::string& bytes = *bytes_;
    // Line ranges to drop, by offset.
    std::vector<std::pair<std::size_t, std::size_t>> dropped;
    for (const auto& removal : removals) {
        const Section* s = Find(removal.section);
        if (!s || removal.keys.empty())
            continue;
        std::unordered_set<std::string_view, FoldedNameHash, FoldedNameEqual> names(removal.keys.begin(),
                                                                                    removal.keys.end());
        for (const Entry& e : s->entries)
            if (names.count(e.name) != 0)
                dropped.emplace_back(e.lineBegin, e.lineEnd);
    }
    if (dropped.empty())
        return bytes;
    std::sort(dropped.begin(), dropped.end());
    std::string out;
    out.reserve(bytes.size());
    std::size_t pos = 0;
    for (const auto& [begin, end] : dropped) {
        if (begin < pos)
            continue; // the same line named twice
        out.append(bytes, pos, begin - pos);
        pos = end;
    }
    out.append(bytes, pos, std::string::npos);
    return out;
}

} // namespace quorvel
