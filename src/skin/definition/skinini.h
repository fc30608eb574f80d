#pragma once

#include <string>
#include <vector>

namespace quorvel {

// The skin definition in memory: sections of lines. Section and key names match without
// regard to ASCII letter case; values are kept exactly.
class SkinIni {
public:
    SkinIni() = default;
    explicit SkinIni(const std::vector<std::string>& lines);

    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;
    // The value of the first line of the key, or the default.
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    // Sets the key, adding the section and key as needed.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void EraseSection(const std::string& section);

    // The definition as text lines: sections in order, each "[name]" then its lines.
    std::vector<std::string> Lines() const;

private:
    struct Line {
        std::string text;  // the trimmed line
        std::string key;   // the trimmed name before "=", empty for a line that is no key
        std::string value; // the trimmed value
    };
    struct Section {
        std::string name;
        std::vector<Line> lines;
    };
    const Section* Find(const std::string& section) const;
    Section* Find(const std::string& section);

    std::vector<Section> sections_;
};

} // namespace quorvel
