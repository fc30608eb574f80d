#include "playback/mpvbaseoptions.h"

#include <gtest/gtest.h>
#include <mpv/client.h>
#include <string>

using quorvel::CoreRole;
using quorvel::RefusedOption;
using quorvel::SetBaseOptions;

namespace {

std::string Option(mpv_handle* handle, const char* name)
{
    char* value = mpv_get_property_string(handle, (std::string("options/") + name).c_str());
    const std::string text = value ? value : "<none>";
    mpv_free(value);
    return text;
}

} // namespace

// Every row of the table is one mpv takes, for either role, and each role gets its own outputs:
// a misspelt option or value would fail every core made from then on.
TEST(MpvBaseOptions, MpvTakesEveryRowAndEachRoleGetsItsOwnOutputs)
{
    struct Case {
        CoreRole role;
        std::string audioOutput;
        std::string vo, ao;
    };
    for (const Case& c : {Case{CoreRole::Playing, "", "libmpv", ""}, Case{CoreRole::Playing, "null", "libmpv", "null"},
                          Case{CoreRole::Listening, "", "null", "null"}}) {
        mpv_handle* handle = mpv_create();
        ASSERT_NE(handle, nullptr);
        const RefusedOption refused = SetBaseOptions(handle, c.role, c.audioOutput);
        EXPECT_EQ(refused.name, nullptr) << refused.name << ": " << mpv_error_string(refused.error);
        EXPECT_GE(mpv_initialize(handle), 0);
        EXPECT_EQ(Option(handle, "vo"), c.vo);
        // Left unset, mpv chooses the sound system itself.
        EXPECT_EQ(Option(handle, "ao"), c.ao);
        EXPECT_EQ(Option(handle, "config"), "no");
        EXPECT_EQ(Option(handle, "idle"), "yes");
        mpv_terminate_destroy(handle);
    }
}
