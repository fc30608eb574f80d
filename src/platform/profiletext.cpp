#include "profiletext.h"

#include <cstring>


namespace quorvel {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}


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

bool NamesEqual(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

std::size_t ProfileText::FoldedHash::operator()(std::string_view s) const
{
    // FNV-1a over the lower-cased bytes.
    std::size_t h = 1469598103934665603ull;
    for (char c : s)
        h = (h ^ static_cast<unsigned char>(Lower(c))) * 1099511628211ull;
    return h;
}

bool ProfileText::FoldedEqual::operator()(std::string_view a, std::string_view b) const { return NamesEqual(a, b); }

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

std::optional<std::string_view> ProfileText::Value(std::string_view section, std::string_view key) const
{
    const Section* s = Find(section);
    if (!s)
        return std::nullopt;
    if (!s->indexed) {
        s->index.reserve(s->entries.size());
        s->first.resize(s->entries.size());
        for (std::size_t i = 0; i < s->entries.size(); ++i)
            s->first[i] = s->index.try_emplace(s->entries[i].name, i).second;
        s->indexed = true;
    }
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

} // namespace quorvel
