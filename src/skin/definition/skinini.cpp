#include "skin/definition/skinini.h"

namespace quorvel {
namespace {

// Blanks and control characters do not count at either end of a line.
std::string_view Trim(std::string_view s)
{
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ')
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ')
        s.remove_suffix(1);
    return s;
}

} // namespace

SkinIni::SkinIni(const std::vector<std::string>& lines)
{
    Section* current = nullptr;
    for (const auto& raw : lines) {
        const std::string_view line = Trim(raw);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
            const std::string_view name = Trim(line.substr(1, line.size() - 2));
            const auto it = index_.find(name);
            current = it != index_.end() ? it->second : &Add(std::string(name));
            continue;
        }
        if (!current)
            continue; // lines before the first section
        Line l{std::string(line)};
        const auto eq = line.find('=');
        if (eq != std::string_view::npos) {
            // Key and value are the trimmed parts before and after the first "=".
            const std::string_view key = Trim(line.substr(0, eq));
            const std::string_view value = Trim(line.substr(eq + 1));
            l.isKey = true;
            l.keyLength = static_cast<std::uint32_t>(key.size());
            l.valueStart = static_cast<std::uint32_t>(value.data() - line.data());
            if (value.empty())
                l.valueStart = static_cast<std::uint32_t>(line.size());
        }
        AddLine(*current, std::move(l));
    }
}

SkinIni::Section& SkinIni::Add(const std::string& name)
{
    sections_.push_back(std::make_unique<Section>(Section{name, {}, {}}));
    index_.emplace(name, sections_.back().get());
    return *sections_.back();
}

void SkinIni::AddLine(Section& section, Line line)
{
    // A key standing twice answers with its first line.
    if (line.isKey && line.keyLength > 0)
        section.keys.try_emplace(std::string(line.Key()), section.lines.size());
    section.lines.push_back(std::move(line));
}

const SkinIni::Section* SkinIni::Find(std::string_view section) const
{
    const auto it = index_.find(section);
    return it == index_.end() ? nullptr : it->second;
}

const SkinIni::Line* SkinIni::FindKey(std::string_view section, std::string_view key) const
{
    const Section* s = Find(section);
    if (!s)
        return nullptr;
    const auto it = s->keys.find(key);
    return it == s->keys.end() ? nullptr : &s->lines[it->second];
}

bool SkinIni::SectionExists(const std::string& section) const { return Find(section) != nullptr; }

bool SkinIni::ValueExists(const std::string& section, const std::string& key) const
{
    return FindKey(section, key) != nullptr;
}

std::string SkinIni::ReadString(const std::string& section, const std::string& key, const std::string& def) const
{
    const Line* l = FindKey(section, key);
    return l ? std::string(l->Value()) : def;
}

std::size_t SkinIni::LineCount(const std::string& section) const
{
    const Section* s = Find(section);
    return s ? s->lines.size() : 0;
}

void SkinIni::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    const auto it = index_.find(section);
    Section& s = it != index_.end() ? *it->second : Add(section);
    Line line{key + "=" + value, static_cast<std::uint32_t>(key.size()), static_cast<std::uint32_t>(key.size() + 1),
              true};
    if (const auto k = s.keys.find(key); !key.empty() && k != s.keys.end()) {
        Line& existing = s.lines[k->second];
        // The key keeps the spelling it had.
        line.text = std::string(existing.Key()) + "=" + value;
        line.keyLength = existing.keyLength;
        line.valueStart = existing.keyLength + 1;
        existing = std::move(line);
        return;
    }
    AddLine(s, std::move(line));
}

void SkinIni::EraseSection(const std::string& section)
{
    const auto it = index_.find(section);
    if (it == index_.end())
        return;
    const Section* gone = it->second;
    index_.erase(it);
    for (auto s = sections_.begin(); s != sections_.end(); ++s) {
        if (s->get() == gone) {
            sections_.erase(s);
            return;
        }
    }
}

std::vector<std::string> SkinIni::Lines() const
{
    std::vector<std::string> out;
    for (const auto& s : sections_) {
        out.push_back("[" + s->name + "]");
        for (const auto& l : s->lines)
            out.push_back(l.text);
    }
    return out;
}

} // namespace quorvel
