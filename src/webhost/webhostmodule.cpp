#include "webhost/webhostmodule.h"

#include "webhost/webhostguards.h"

namespace quorvel {
namespace {

const std::fenv_t* gSaved = nullptr;

} // namespace

WebHostModule::WebHostModule()
{
    std::fegetenv(&saved_);
    if (!gSaved)
        gSaved = &saved_;
    guards_ = std::make_unique<WebHostGuards>();
    guards_->FocusControl().SetActive(true);
    guards_->MouseWheelFix().SetActive(true);
}

WebHostModule::~WebHostModule()
{
    guards_.reset();
    std::fesetenv(&saved_);
    if (gSaved == &saved_)
        gSaved = nullptr;
}

const std::fenv_t* WebHostModule::SavedFloatingPointEnvironment() { return gSaved; }

} // namespace quorvel
