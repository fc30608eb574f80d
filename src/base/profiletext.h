#pragma once

#include "base/foldednames.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvel {

// Keys of one section to set, in order.
struct SectionValues {
    std::string section;
    std::vector<std::pair<std::string, std::string>> entries;
};

// Keys of one section to take out.
struct SectionKeys {
    std::string section;
    std::vector<std::string> keys;
};

// The parsed form of one profile file's bytes: sections of "key=value" lines.
//
// Text rules, as desktop profile readers have them: section and key names match without regard
// to ASCII letter case; blanks around names, around "=" and at line ends do not count; lines
// starting with ";" are comments; a value enclosed in a pair of matching quotes reads without
// them; CR LF, LF and a lone CR all end a line; a line without "=" is no key (a note, kept
// but never listed or read); a "[" line without "]" is not a section header. Where a section
// or a key stands twice, reads use the first; listings show every key line of the first
// section, in file order, however many there are.
class ProfileText {
public:
    explicit ProfileText(std::string bytes);

    const std::string& Bytes() const { return *bytes_; }

    // Key names of the section in file order; empty when the section is missing.
    std::vector<std::string> Keys(std::string_view section) const;
    // Key names and (unquoted) values of the section in file order.
    std::vector<std::pair<std::string, std::string>> Entries(std::string_view section) const;
    // The same as views into Bytes(), valid as long as this text is: nothing copied.
    std::vector<std::pair<std::string_view, std::string_view>> EntryViews(std::string_view section) const;
    // The value of the key, unquoted; nullopt when the section or key is missing.
    std::optional<std::string_view> Value(std::string_view section, std::string_view key) const;

    // The file's bytes with the key set to value: an existing key (first match, any case) is
    // rewritten in place keeping its spelling; a new key goes after the section's last key; a
    // new section goes at the end. Everything else keeps its bytes.
    std::string WithValue(std::string_view section, std::string_view key, std::string_view value) const;
    // The file's bytes with every key of every section set, exactly as WithValue applied key by
    // key in order would leave them, but built in one pass: large imports stay linear.
    std::string WithValues(const std::vector<SectionValues>& edits) const;
    // The file's bytes without the lines of the keys named (every line of such a name, any case,
    // in the section's first occurrence, which is the one reads use). Everything else keeps its bytes.
    std::string WithoutKeys(const std::vector<SectionKeys>& removals) const;

private:
    struct Entry {
        std::string_view name;
        std::string_view rawValue;
        std::size_t lineBegin; // offset of the line's first byte
        std::size_t lineEnd;   // offset just past the line's line end (or the file end)
        std::size_t textEnd;   // offset just past the line's text, before its line end
    };
    struct Section {
        std::string_view name;
        std::size_t headerEnd; // offset just past the header line
        std::vector<Entry> entries;
        // Key name (any case) -> index of its first entry; built on first lookup.
        mutable std::unordered_map<std::string_view, std::size_t, FoldedNameHash, FoldedNameEqual> index;
        // Whether each entry is the first of its name: only those answer a read.
        mutable std::vector<bool> first;
        mutable bool indexed = false;
        // Where the last read was found: reads usually follow the listing's order.
        mutable std::size_t lastFound = static_cast<std::size_t>(-1);
    };

    const Section* Find(std::string_view section) const;
    static void Index(const Section& s);
    std::string_view LineEnd() const;

    std::shared_ptr<const std::string> bytes_;
    std::vector<Section> sections_;
};

} // namespace quorvel
