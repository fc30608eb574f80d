#include "envscope.h"
#include "platform/tempdir.h"
#include "scratchdir.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using quorvel::UserTempDir;

TEST(UserTempDir, APrivateFolderUnderALongTmpdirIsKeptWhole)
{
    ScratchDir scratch;
    std::string deep = scratch.Path();
    while (deep.size() < 400) {
        deep += "/a-folder-name-of-some-length";
        ASSERT_EQ(::mkdir(deep.c_str(), 0700), 0);
    }
    EnvScope runtime("XDG_RUNTIME_DIR", nullptr);
    EnvScope tmp("TMPDIR", deep.c_str());
    const std::string expected = deep + "/quorvel-" + std::to_string(::geteuid()) + "/";
    EXPECT_EQ(UserTempDir(), expected);
    struct stat st;
    ASSERT_EQ(::stat(expected.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST(UserTempDir, APrivateRuntimeDirectoryComesFirstAndAnOpenOneIsPassedOver)
{
    ScratchDir scratch;
    const std::string runtimeDir = scratch.File("run");
    ASSERT_EQ(::mkdir(runtimeDir.c_str(), 0700), 0);
    const std::string tmpDir = scratch.File("tmp");
    ASSERT_EQ(::mkdir(tmpDir.c_str(), 0700), 0);
    EnvScope tmp("TMPDIR", tmpDir.c_str());
    {
        EnvScope runtime("XDG_RUNTIME_DIR", runtimeDir.c_str());
        EXPECT_EQ(UserTempDir(), runtimeDir + "/");
        ::chmod(runtimeDir.c_str(), 0755);
        EXPECT_EQ(UserTempDir(), tmpDir + "/quorvel-" + std::to_string(::geteuid()) + "/");
    }
}
