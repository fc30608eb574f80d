#pragma once

#include <string>
#include <utility>
#include <vector>

namespace quorvel {

// The ad list: ad titles in rotation order, each with the web address it opens.
class AdList {
public:
    static constexpr const char* FileName = "TvAds.ini";
    static constexpr const char* Section = "WebTV ADS";

    explicit AdList(std::string fileName);

    // The seven entries a new list starts with, in order.
    static const std::vector<std::pair<std::string, std::string>>& Defaults();
    // Writes the defaults in order; throws EIniFileException.
    void WriteDefaults() const;

    // The title to show after `current`: the key after the first one equal to it (exactly,
    // letter case included), wrapping round; the second key when `current` is not in the list.
    // Empty when the list is empty.
    std::string NextTitle(const std::string& current) const;
    // The address of the title; empty when it has none.
    std::string Address(const std::string& title) const;

private:
    std::string fileName_;
};

} // namespace quorvel
