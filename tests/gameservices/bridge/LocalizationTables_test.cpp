#include "gameservices/bridge/LocalizationTables.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "engine/core/Crc32Hash.h"
#include "engine/core/PcDirectory.h"
#include "gameservices/bridge/FileSystem.h"
#include "tests/support/ByteDamage.h"
#include "tests/support/FileContents.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ResourceEnvironment.h"
#include "tests/support/TempDir.h"
#include "tools/authoring/LocalizationWriter.h"
#include "tools/authoring/PackageWriter.h"

using namespace GameServices::Bridge;
using authoring::LocalizationBytes;
using authoring::PackageWriter;

namespace {

class LocalizationTablesTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (const char* name : {"gstrc", "alpha", "beta"})
            UnloadLocalizationTable(name);
        SetLocalizationLanguage("english");
        package.Unmount();
    }

    void Mount(const PackageWriter& writer) {
        ASSERT_TRUE(writer.WriteFolder(dir.File("Strings.dir")));
        package.Mount(dir.File("Strings.dir").c_str(), false);
        ASSERT_TRUE(package.Loaded());
    }

    AGResource* Loaded(const char* fileName) const {
        return env.Provider(TypeKey::Localization)->Find(Crc32Hash(fileName));
    }

    TempDir dir;
    ResourceEnvironment env{false};
    PcDirectory package;
};

}  // namespace

TEST_F(LocalizationTablesTest, EmptyKeyUnknownKeyEmptyTextAndTheTableOrder) {
    const char* first = Crc32Hash("alpha") < Crc32Hash("beta") ? "alpha" : "beta";
    const char* second = first[0] == 'a' ? "beta" : "alpha";
    Mount(PackageWriter().Add(std::string(second) + "_english.loc", TypeKey::Localization,
                   LocalizationBytes({{"SHARED", "second"}, {"", "id zero"}, {"BLANK", ""}}))
              .Add(std::string(first) + "_english.loc", TypeKey::Localization,
                   LocalizationBytes({{"SHARED", "first"}, {"OWN", "own"}}))
              .Add("gstrc_french.loc", TypeKey::Localization, LocalizationBytes({{"YES", "Oui"}})));
    // The second table is loaded first: the order is by name id, not by loading.
    LoadLocalizationTable(second);
    LoadLocalizationTable(first);

    EXPECT_EQ(GetLocalizedText("SHARED"), "first");
    // The reserved key is never searched for, though a table holds its id.
    EXPECT_EQ(FindLocalizedText(Crc32Hash("")), "id zero");
    EXPECT_TRUE(GetLocalizedText(GetReservedLocalizationKey()).IsEmpty());
    // Keys are case-sensitive; an empty text is none.
    for (const char* key : {"", "BLANK", "shared"})
        EXPECT_EQ(GetLocalizedTextOr(key, "fallback"), "fallback") << key;

    // A second load keeps one hold only, and unloading gives it back.
    LoadLocalizationTable(first);
    const std::string firstFile = std::string(first) + "_english.loc";
    EXPECT_EQ(Loaded(firstFile.c_str())->RefCount(), 1u);
    UnloadLocalizationTable(first);
    EXPECT_TRUE(Loaded(firstFile.c_str()) == nullptr && GetLocalizedText("SHARED") == "second");
    // The language names the file.
    SetLocalizationLanguage("french");
    LoadLocalizationTable("gstrc");
    EXPECT_EQ(GetLocalizedText("YES"), "Oui");
}

TEST_F(LocalizationTablesTest, DamagedTablesLoadThroughTheProviderWithoutFault) {
    const std::string sample = FileContents(TALLYVOX_SAMPLE_STRINGS);
    ASSERT_FALSE(sample.empty());
    std::mt19937 rng(5107);
    LogCapture log;
    for (int round = 0; round < 5000; ++round) {
        std::string bytes = sample;
        DamageBytes(bytes, rng, 1 + int(rng() % 3));
        const std::string path = PackageWriter::FolderOf(dir.File("Strings.dir")) + "/gstrc_english.loc";
        if (round == 0)
            Mount(PackageWriter().Add("gstrc_english.loc", TypeKey::Localization, bytes));
        else
            dir.Write(path.substr(dir.Path().size() + 1), bytes);
        LoadLocalizationTable("gstrc");
        const TString<char>& text = GetLocalizedText("BUTTON_SUBMIT");
        EXPECT_LE(text.Length(), bytes.size());
        UnloadLocalizationTable("gstrc");
        ASSERT_EQ(Loaded("gstrc_english.loc"), nullptr);
        log.Clear();
    }
}

TEST(FileSystemPaths, KindFoldersOutsideAndInsidePackageModeAndAPackageLoadedTwiceIsLetGoOncePerLoad) {
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
                  (std::string("game/") + folders[kind] + "name.xml").c_str()) << "kind " << kind;

    // Packages name their files bare, except the package and video files on disk.
    FileSystem::UsePackages();
    EXPECT_TRUE(FileSystem::UsesPackages());
    EXPECT_EQ(FileSystem::GetFilePath(FILE_WIDGET_DATA, "Button.PNG"), "Button.PNG");
    EXPECT_EQ(FileSystem::GetFilePath(FILE_VIDEO, "Intro.WMV"), "game/video/intro.wmv");
    EXPECT_EQ(FileSystem::GetFilePath(FILE_PACKAGE, "Menu.DIR"), "game/menu.dir");
    EXPECT_EQ(FileSystem::PackageId("Arch.DIR"), Crc32Hash("arch.dir"));

    // A package loaded twice is reported, and the file system lets go of each load once.
    ResourceEnvironment env(false);
    LogCapture log;
    FileSystem::Destroy();
    AGResource* loads[2];
    for (AGResource*& load : loads) {
        FileSystem::LoadPackage("Menu.dir", false);
        load = env.Provider(TypeKey::Directory)->Find(FileSystem::PackageId("menu.dir"));
        load->AddRef();  // kept to be looked at
    }
    EXPECT_TRUE(log.Contains("you already loaded that package") && loads[0] != loads[1]);
    FileSystem::Destroy();
    EXPECT_EQ(std::pair(loads[0]->RefCount(), loads[1]->RefCount()), std::pair(1u, 1u));
    for (AGResource* load : loads)
        env.Provider(TypeKey::Directory)->Release(load);
}
