#include "webhost/webhostmodule.h"

#include "webhost/webhostfocuscontrol.h"
#include "webhost/webhostmousehook.h"

namespace quorvel {
namespace {

const std::fenv_t* gSaved = nullptr;

} // namespace

WebHostModule::WebHostModule()
{
    std::fegetenv(&saved_);
    if (!gSaved)
        gSaved = &saved_;
    focusGuard_ = std::make_unique<WebHostFocusControl>();
    wheelGuard_ = std::make_unique<WebHostMouseHook>();
}

WebHostModule::~WebHostModule()
{
    wheelGuard_.reset();
    focusGuard_.reset();
    std::fesetenv(&saved_);
    if (gSaved == &saved_)
        gSaved = nullptr;
}

const std::fenv_t* WebHostModule::SavedFloatingPointEnvironment() { return gSaved; }

} // namespace quorvel
