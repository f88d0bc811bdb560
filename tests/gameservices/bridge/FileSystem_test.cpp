#include "gameservices/bridge/FileSystem.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "engine/core/AGDirectory.h"
#include "engine/core/Crc32Hash.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ResourceEnvironment.h"
#include "tests/support/TempDir.h"
#include "tools/authoring/PackageWriter.h"

using namespace GameServices::Bridge;
using authoring::PackageWriter;

namespace {

class FileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        FileSystem::Destroy();
        FileSystem::SetRootPath(TString<char>((dir.Path() + "/").c_str()));
    }
    void TearDown() override { FileSystem::Destroy(); }

    static bool WaitLoaded(const char* name) {
        for (int i = 0; i < 1000; ++i) {
            if (FileSystem::IsPackageLoaded(name))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }
    // Mount paths, and so directory ids, are lower-cased whole, root included.
    u32 DirectoryId(const char* name) const {
        return FileSystem::PackageId(TString<char>(dir.File(name).c_str()));
    }

    TempDir dir;
    ResourceEnvironment env;
};

}  // namespace

TEST(FileSystemPaths, KindFoldersOutsideAndInsidePackageMode) {
    const char* const folders[17] = {
        "-data/",         "",       "-xml/levels/", "-xml/global/", "-xml/korvocity/",
        "-data/prop/",    "",       "-data/",       "-data/",       "-data/font/",
        "-data/widget/",  "-xml/screen/", "",       "",             "-data/audioasset/",
        "video/",         "",  // a kind beyond the table has no folder
    };
    FileSystem::Destroy();
    FileSystem::SetRootPath("Game/");
    for (u32 kind = 0; kind < 17; ++kind)
        EXPECT_EQ(FileSystem::GetFilePath(kind, "Name.XML"),
                  (std::string("game/") + folders[kind] + "name.xml").c_str())
            << "kind " << kind;

    // Packages name their files bare, except the package and video files on disk.
    FileSystem::UsePackages();
    EXPECT_TRUE(FileSystem::UsesPackages());
    EXPECT_EQ(FileSystem::GetFilePath(FILE_WIDGET_DATA, "Button.PNG"), "Button.PNG");
    EXPECT_EQ(FileSystem::GetFilePath(FILE_VIDEO, "Intro.WMV"), "game/video/intro.wmv");
    EXPECT_EQ(FileSystem::GetFilePath(FILE_PACKAGE, "Menu.DIR"), "game/menu.dir");
    EXPECT_EQ(FileSystem::PackageId("Arch.DIR"), Crc32Hash("arch.dir"));
}

TEST(RandomRange, StaysInRangeAndSurvivesAnEmptyRange) {
    for (int i = 0; i < 1000; ++i)
        EXPECT_LT(RandomRange(0, 10), 10u);
    LogCapture log;
    EXPECT_EQ(RandomRange(5, 5), 5u);
    EXPECT_EQ(RandomRange(9, 2), 9u);
    EXPECT_TRUE(log.Contains("min Greater than max"));
}

TEST_F(FileSystemTest, LoadingTwiceAndUnloadingTwiceNeitherCrashesNorLeaks) {
    PackageWriter archive, folder;
    archive.Add("a.txt", TypeKey::Data, "alpha");
    folder.Add("f.txt", 0, "folder");
    ASSERT_TRUE(archive.WriteArchive(dir.File("arch.dir")));
    ASSERT_TRUE(folder.WriteFolder(dir.File("Loose.dir")));

    LogCapture log;
    // Names are matched whatever their case; the archive mounts on the worker.
    for (const char* name : {"Arch.dir", "Loose.DIR"}) {
        FileSystem::LoadPackage(name, true);
        FileSystem::LoadPackage(name, true);
        EXPECT_TRUE(log.Contains("you already loaded that package"));
        ASSERT_TRUE(WaitLoaded(name));
        FileSystem::UnloadPackage(name);
        EXPECT_TRUE(FileSystem::IsPackageLoaded(name)) << "the first mount is still loaded";
        FileSystem::UnloadPackage(name);
        log.Clear();
        FileSystem::UnloadPackage(name);
        EXPECT_TRUE(log.Contains("has not been loaded or has already been unloaded"));
        EXPECT_FALSE(FileSystem::IsPackageLoaded(name));
    }
    EXPECT_EQ(env.Provider(TypeKey::Data)->Find(Crc32Hash("a.txt")), nullptr);
    EXPECT_EQ(env.Resources()->TotalCount(DirectoryId("arch.dir")), 0u);
}
