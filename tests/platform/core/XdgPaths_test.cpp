#include "platform/core/XdgPaths.h"

#include <gtest/gtest.h>

#include <filesystem>

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
    ASSERT_TRUE(platform::MakeFolders(dir.File("a/b/c")));
    EXPECT_EQ(std::filesystem::status(dir.File("a/b")).permissions(), std::filesystem::perms::owner_all);
    EXPECT_TRUE(platform::MakeFolders(dir.File("a/b/c")));  // already there
    dir.Write("a/b/c/plain", "x");
    EXPECT_FALSE(platform::MakeFolders(dir.File("a/b/c/plain")));
    EXPECT_FALSE(platform::MakeFolders(dir.File("a/b/c/plain/below")));
}
