#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvel {

// The skin definition in memory: sections of lines. Section and key names match without
// regard to ASCII letter case; values are kept exactly. Sections and keys are found through
// an index, so a definition of any size reads in time proportional to what is read.
class SkinIni {
public:
    SkinIni() = default;
    explicit SkinIni(const std::vector<std::string>& lines);

    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;
    // The value of the first line of the key, or the default.
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    // How many lines the section holds, keys and other lines; 0 when it is missing. Nothing
    // listed in a section can have more entries than this.
    std::size_t LineCount(const std::string& section) const;
    // Sets the key, adding the section and key as needed.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void EraseSection(const std::string& section);

    // The definition as text lines: sections in order, each "[name]" then its lines.
    std::vector<std::string> Lines() const;

private:
    struct Line {
        std::string text;            // the trimmed line
        std::uint32_t keyLength = 0; // the trimmed name before "=" is text's first keyLength bytes
        std::uint32_t valueStart = 0; // the trimmed value runs from here to the end
        bool isKey = false;          // a line without "=" is kept but is never a key
        std::string_view Key() const { return std::string_view(text).substr(0, keyLength); }
        std::string_view Value() const { return std::string_view(text).substr(valueStart); }
    };
    struct Section {
        std::string name;
        std::vector<Line> lines;
        // Folded key name -> its first line.
        std::unordered_map<std::string, std::size_t> keys;
    };
    const Section* Find(const std::string& section) const;
    const Line* FindKey(const std::string& section, const std::string& key) const;
    Section& Add(const std::string& name);
    static void AddLine(Section& section, Line line);

    std::vector<Section> sections_;
    // Folded section name -> its place in sections_.
    std::unordered_map<std::string, std::size_t> index_;
};

} // namespace quorvel
