#pragma once

#include "base/foldednames.h"

#include <cstddef>
#include <cstdint>
#include <memory>
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
        std::string text;             // the trimmed line
        std::uint32_t keyLength = 0;  // the trimmed name before "=" is text's first keyLength bytes
        std::uint32_t valueStart = 0; // the trimmed value runs from here to the end
        bool isKey = false;           // a line without "=" is kept but is never a key
        std::string_view Key() const { return std::string_view(text).substr(0, keyLength); }
        std::string_view Value() const { return std::string_view(text).substr(valueStart); }
    };
    // Names hash and compare without regard to ASCII letter case, and are looked up as views,
    // so a lookup allocates nothing.
    template <class T>
    using NameMap = std::unordered_map<std::string, T, FoldedNameHash, FoldedNameEqual>;
    struct Section {
        std::string name;
        std::vector<Line> lines;
        NameMap<std::size_t> keys; // key name -> its first line
    };
    const Section* Find(std::string_view section) const;
    const Line* FindKey(std::string_view section, std::string_view key) const;
    Section& Add(const std::string& name);
    static void AddLine(Section& section, Line line);

    // Sections in file order; they stay where they are while others come and go.
    std::vector<std::unique_ptr<Section>> sections_;
    NameMap<Section*> index_;
};

} // namespace quorvel
