#include "engine/core/XmlReader.h"
#include "gameservices/bridge/FileSystem.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "engine/core/AGData.h"
#include "engine/core/AGDirectory.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ResourceEnvironment.h"
#include "tests/support/TempDir.h"
#include "tools/authoring/PackageWriter.h"

using namespace GameServices::Bridge;
using authoring::PackageWriter;

namespace {

// Mount paths are lower-cased whole, root included.
std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return s;
}

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
    AGResource* Get(const char* name) {
        return GetOrLoadResource(env.Provider(TypeKey::Data), Crc32Hash(name), 0, false, true);
    }

    TempDir dir;
    ResourceEnvironment env;
};

}  // namespace

TEST(FileSystemPaths, KindsGiveTheirFoldersOutsidePackageMode) {
    FileSystem::Destroy();
    EXPECT_EQ(FileSystem::GetFilePath(FILE_LEVEL_XML, "Level1.xml"), "-xml/levels/level1.xml");
    EXPECT_EQ(FileSystem::GetFilePath(FILE_VIDEO, "Intro.WMV"), "video/intro.wmv");
    EXPECT_EQ(FileSystem::GetFilePath(FILE_MATERIAL, "A.MAT"), "a.mat");
    EXPECT_EQ(FileSystem::GetFilePath(40, "X"), "x");
    for (u32 kind : {FILE_DATA, FILE_AVATAR_DATA, FILE_DATA_PATH})
        EXPECT_EQ(FileSystem::GetFilePath(kind, "Hat.png"), "-data/hat.png");
    FileSystem::SetRootPath("Game");
    EXPECT_EQ(FileSystem::GetFilePath(FILE_GLOBAL_XML, "Actions.xml"), "game-xml/global/actions.xml");
    FileSystem::Destroy();
}

TEST(FileSystemPaths, PackageModeKeepsBareNamesExceptPackagesAndVideos) {
    FileSystem::Destroy();
    FileSystem::UsePackages();
    EXPECT_TRUE(FileSystem::UsesPackages());
    EXPECT_TRUE(GameServices::Utilities::XmlReader::IsPackageMode());
    EXPECT_EQ(FileSystem::GetFilePath(FILE_WIDGET_DATA, "Button.PNG"), "Button.PNG");
    EXPECT_EQ(FileSystem::GetFilePath(FILE_VIDEO, "Intro.WMV"), "video/intro.wmv");
    EXPECT_EQ(FileSystem::GetFilePath(FILE_PACKAGE, "GlobalXml.dir"), "globalxml.dir");
    FileSystem::Destroy();
    EXPECT_FALSE(GameServices::Utilities::XmlReader::IsPackageMode());
}

TEST(RandomRange, StaysInRangeAndSurvivesAnEmptyRange) {
    for (int i = 0; i < 1000; ++i) {
        const u32 v = RandomRange(0, 10);
        EXPECT_LT(v, 10u);
        EXPECT_EQ(RandomRange(5, 6), 5u);
    }
    LogCapture log;
    EXPECT_EQ(RandomRange(5, 5), 5u);
    EXPECT_EQ(RandomRange(9, 2), 9u);
    EXPECT_TRUE(log.Contains("min Greater than max"));
}

TEST_F(FileSystemTest, FolderPackagesLoadAndUnloadByNameWhateverItsCase) {
    PackageWriter writer;
    writer.Add("list.txt", 0, "listing");
    ASSERT_TRUE(writer.WriteFolder(dir.File("GlobalXml.dir")));
    FileSystem::LoadPackage("GlobalXml.dir", true);
    EXPECT_TRUE(FileSystem::IsPackageLoaded("globalxml.DIR"));
    AGResource* list = Get("list.txt");
    EXPECT_EQ(static_cast<AGData*>(list)->Size(), 7u);
    env.Provider(TypeKey::Data)->Release(list);
    FileSystem::UnloadPackage("GLOBALXML.dir");
    EXPECT_EQ(AGDirectory::MountedCount(), 0u);

    LogCapture log;
    EXPECT_FALSE(FileSystem::IsPackageLoaded("GlobalXml.dir"));
    EXPECT_TRUE(log.Contains("That package was never opened!"));
}

TEST_F(FileSystemTest, ArchivesMountOnTheWorker) {
    PackageWriter writer;
    writer.Add("a.txt", TypeKey::Data, "alpha");
    ASSERT_TRUE(writer.WriteArchive(dir.File("level1.dir")));
    FileSystem::LoadPackage("Level1.dir", true);
    ASSERT_TRUE(WaitLoaded("Level1.dir"));
    EXPECT_NE(env.Provider(TypeKey::Data)->Find(Crc32Hash("a.txt")), nullptr);
    FileSystem::UnloadPackage("Level1.dir");
    EXPECT_EQ(env.Provider(TypeKey::Data)->Find(Crc32Hash("a.txt")), nullptr);
}

TEST_F(FileSystemTest, LoadingTwiceAndUnloadingTwiceNeitherCrashesNorLeaks) {
    PackageWriter archive, folder;
    archive.Add("a.txt", TypeKey::Data, "alpha");
    folder.Add("f.txt", 0, "folder");
    ASSERT_TRUE(archive.WriteArchive(dir.File("arch.dir")));
    ASSERT_TRUE(folder.WriteFolder(dir.File("Loose.dir")));
    PackageWriter other;
    other.Add("o.txt", 0, "other");
    ASSERT_TRUE(other.WriteFolder(dir.File("Other.dir")));
    FileSystem::LoadPackage("Other.dir", false);

    LogCapture log;
    for (const char* name : {"arch.dir", "Loose.dir"}) {
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
    }
    // The other package is untouched.
    EXPECT_TRUE(FileSystem::IsPackageLoaded("Other.dir"));
    AGResource* o = Get("o.txt");
    EXPECT_EQ(o->DirectoryId(), Crc32Hash(Lower(dir.File("other.dir")).c_str()));
    env.Provider(TypeKey::Data)->Release(o);
    EXPECT_EQ(env.Resources()->TotalCount(Crc32Hash(Lower(dir.File("arch.dir")).c_str())), 0u);
}

TEST_F(FileSystemTest, DestroyingTheFileSystemUnmountsWhatIsStillLoaded) {
    PackageWriter writer;
    writer.Add("x.txt", 0, "x");
    ASSERT_TRUE(writer.WriteFolder(dir.File("Left.dir")));
    FileSystem::LoadPackage("Left.dir", false);
    FileSystem::LoadPackage("Left.dir", false);
    EXPECT_EQ(AGDirectory::MountedCount(), 1u);
    FileSystem::Destroy();
    EXPECT_EQ(AGDirectory::MountedCount(), 0u);
}
