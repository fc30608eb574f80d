#include "archive/catchupattributes.h"

#include "base/foldednames.h"

#include <array>
#include <utility>

namespace quorvel {

bool TakeCatchupAttribute(CatchupAttributes& attributes, std::string_view name, std::string_view value)
{
    const std::array<std::pair<std::string_view, std::string*>, 7> fields = {{
        {"catchup", &attributes.catchup},
        {"catchup-type", &attributes.catchupType},
        {"catchup-days", &attributes.days},
        {"catchup-source", &attributes.source},
        {"catchup-correction", &attributes.correction},
        {"timeshift", &attributes.timeshift},
        {"tvg-rec", &attributes.tvgRec},
    }};
    for (const auto& [known, field] : fields) {
        if (NamesEqual(name, known)) {
            field->assign(value);
            return true;
        }
    }
    return false;
}

} // namespace quorvel
