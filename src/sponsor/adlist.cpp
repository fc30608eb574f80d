#include "sponsor/adlist.h"

#include "platform/inifile.h"

namespace quorvel {
namespace {

constexpr const char* kAddressA = "https://quorvel.tv/go/satellite-tv";
constexpr const char* kAddressB = "https://quorvel.tv/go/internet-tv";
constexpr const char* kAddressC = "https://quorvel.tv/go/online-movies";

} // namespace

AdList::AdList(std::string fileName) : fileName_(std::move(fileName)) { }

const std::vector<std::pair<std::string, std::string>>& AdList::Defaults()
{
    static const std::vector<std::pair<std::string, std::string>> ads = {
        {"Satellite Tv For PC", kAddressA},     {"Internet Tv 3000+!", kAddressB}, {"Top Internet TV", kAddressB},
        {"3000 Online Tv Channels", kAddressB}, {"Internet TV 2009", kAddressA},   {"Watch Online TV Now!", kAddressA},
        {"Stream Online Movies", kAddressC},
    };
    return ads;
}

void AdList::WriteDefaults() const
{
    // All ads in one change of the file, so the list is never left with only some of them.
    IniFile(fileName_).WriteSectionValues(Section, Defaults());
}

std::string AdList::NextTitle(const std::string& current) const
{
    std::vector<std::string> titles;
    IniFile(fileName_).ListKeys(Section, titles);
    if (titles.empty())
        return {}; // nothing to show; the ticker keeps what it has
    std::size_t i = 0;
    while (i < titles.size() && titles[i] != current)
        ++i;
    return titles[(i + 1) % titles.size()];
}

std::string AdList::Address(const std::string& title) const { return IniFile(fileName_).ReadValue(Section, title, ""); }

} // namespace quorvel
