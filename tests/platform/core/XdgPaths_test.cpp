#include "platform/core/XdgPaths.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"

TEST(XdgPaths, AbsoluteVariablesWinAndOthersFallBackUnderHome) {
    ScopedEnv env;
    env.Set("HOME", "/home/someone/").Set("XDG_CONFIG_HOME", "/etc/cfg").Set("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(platform::ConfigHome(), "/etc/cfg");
    EXPECT_EQ(platform::DataHome(), "/home/someone/.local/share");
    env.Set("XDG_CONFIG_HOME", "");
    EXPECT_EQ(platform::ConfigHome(), "/home/someone/.config");

    // Without HOME, the account's home folder from the password database.
    env.Unset("HOME");
    const std::string home = platform::HomeFolder();
    if (!home.empty()) {
        EXPECT_EQ(platform::ConfigHome(), (home == "/" ? std::string() : home) + "/.config");
    }
}

TEST(XdgPaths, MakeFoldersCreatesParentsAndRefusesAFile) {
    TempDir dir;
    std::string deep = dir.Path() + "/a/b/c";
    ASSERT_TRUE(platform::MakeFolders(deep));
    struct stat info;
    ASSERT_EQ(stat(deep.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_TRUE(platform::MakeFolders(deep));  // already there
    std::string file = dir.Write("plain", "x");
    EXPECT_FALSE(platform::MakeFolders(file));
    EXPECT_FALSE(platform::MakeFolders(file + "/below"));
}
