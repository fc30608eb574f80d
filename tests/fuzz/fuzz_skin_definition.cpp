// Arbitrary text as a skin definition: every object and control kind reads its section; a value
// that cannot be read throws, nothing crashes.
#include "base/exception.h"
#include "skin/data/dataskincontrols.h"
#include "skin/data/dataskinobjects.h"
#include "skin/data/skinwindowdata.h"
#include "skin/definition/skinini.h"
#include "skin/store/skincontainer.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const quorvel::SkinIni ini(quorvel::SplitLines(std::string(reinterpret_cast<const char*>(data), size)));
    try {
        quorvel::FormInfo info;
        info.LoadFromIni(ini, true);
        quorvel::DataSkinPopupWindow popup;
        popup.LoadFromIni(ini);
        quorvel::DataSkinHintWindow hint;
        hint.LoadFromIni(ini);
    } catch (const quorvel::Exception&) {
    }
    for (const char* kind :
         {"menuitem", "mainmenubaritem", "stdbutton", "button", "caption", "animate", "userobject"}) {
        try {
            auto o = quorvel::CreateSkinObject(kind, "S");
            o->LoadFromIni(ini);
            quorvel::SkinIni out;
            o->SaveToIni(out);
        } catch (const quorvel::Exception&) {
        }
    }
    for (const char* kind : {"panel", "tab", "updown", "button", "scrollbar", "grid"}) {
        try {
            auto c = quorvel::CreateSkinControl(kind, "S");
            c->LoadFromIni(ini);
            quorvel::SkinIni out;
            c->SaveToIni(out);
        } catch (const quorvel::Exception&) {
        }
    }
    return 0;
}
