#include "skinini.h"

#include "profiletext.h"

namespace quorvel {
namespace {

// Blanks and control characters do not count at either end of a line.
std::string Trim(const std::string& s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return s.substr(b, e - b);
}

} // namespace

SkinIni::SkinIni(const std::vector<std::string>& lines)
{
    Section* current = nullptr;
    for (const auto& raw : lines) {
        const std::string line = Trim(raw);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
            const std::string name = Trim(line.substr(1, line.size() - 2));
            current = Find(name);
            if (!current) {
                sections_.push_back(Section{name, {}});
                current = &sections_.back();
            }
            continue;
        }
        if (!current)
            continue; // lines before the first section
        Line l{line, {}, {}};
        const auto eq = line.find('=');
        if (eq != std::string::npos) {
            l.key = Trim(line.substr(0, eq));
            l.value = Trim(line.substr(eq + 1));
        }
        current->lines.push_back(std::move(l));
    }
}

const SkinIni::Section* SkinIni::Find(const std::string& section) const
{
    for (const auto& s : sections_)
        if (NamesEqual(s.name, section))
            return &s;
    return nullptr;
}

SkinIni::Section* SkinIni::Find(const std::string& section)
{
    return const_cast<Section*>(static_cast<const SkinIni*>(this)->Find(section));
}

bool SkinIni::SectionExists(const std::string& section) const { return Find(section) != nullptr; }

bool SkinIni::ValueExists(const std::string& section, const std::string& key) const
{
    if (const Section* s = Find(section))
        for (const auto& l : s->lines)
            if (!l.key.empty() && NamesEqual(l.key, key))
                return true;
    return false;
}

std::string SkinIni::ReadString(const std::string& section, const std::string& key, const std::string& def) const
{
    if (const Section* s = Find(section))
        for (const auto& l : s->lines)
            if (!l.key.empty() && NamesEqual(l.key, key))
                return l.value;
    return def;
}

void SkinIni::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    Section* s = Find(section);
    if (!s) {
        sections_.push_back(Section{section, {}});
        s = &sections_.back();
    }
    for (auto& l : s->lines) {
        if (!l.key.empty() && NamesEqual(l.key, key)) {
            l.value = value;
            l.text = l.key + "=" + value;
            return;
        }
    }
    s->lines.push_back(Line{key + "=" + value, key, value});
}

void SkinIni::EraseSection(const std::string& section)
{
    for (auto it = sections_.begin(); it != sections_.end(); ++it) {
        if (NamesEqual(it->name, section)) {
            sections_.erase(it);
            return;
        }
    }
}

std::vector<std::string> SkinIni::Lines() const
{
    std::vector<std::string> out;
    for (const auto& s : sections_) {
        out.push_back("[" + s.name + "]");
        for (const auto& l : s.lines)
            out.push_back(l.text);
    }
    return out;
}

} // namespace quorvel
