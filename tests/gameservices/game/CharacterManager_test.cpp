#include "gameservices/game/CharacterManager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/core/Crc32Hash.h"
#include "engine/core/XmlReader.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/AvatarRendering.h"
#include "gameservices/game/CharacterAssemblyManager.h"
#include "gameservices/game/PartPools.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

using namespace GameServices::KorvoGame;
using GameServices::Entities::Character;

namespace {

size_t CountLines(const LogCapture& log, const std::string& text) {
    size_t count = 0;
    for (const std::string& line : log.Lines())
        count += line.find(text) != std::string::npos;
    return count;
}

// A temporary game folder holding "CharacterAssemblies.xml" (read from the working
// directory) and the character folder of wardrobe, anatomy and avatar-description files.
// Keeps each character's description and whether its avatar is built.
struct RecordingAvatarRendering : IAvatarRendering {
    void SetRenderableAvatarData(Character& c, const GameServices::Bridge::RenderableAvatarData& data) override {
        (records[&c] = data).m_Changed = 1;
        c.VolatileDatas.Set(GameServices::Entities::VolatileDataKeys::kRENDERABLE_AVATAR_DATA, &records[&c]);
    }
    void InitializeAvatar(Character& c) override { built.insert(&c); }
    void CleanupAvatar(Character& c) override {
        c.VolatileDatas.Remove(GameServices::Entities::VolatileDataKeys::kRENDERABLE_AVATAR_DATA);
        records.erase(&c);
        built.erase(&c);
    }
    std::map<const Character*, GameServices::Bridge::RenderableAvatarData> records;
    std::set<const Character*> built;
};

class CharacterTest : public ::testing::Test {
protected:
    void SetUp() override {
        CharacterManager::Instance()->SetAvatarRendering(&rendering);
        m_cwd = std::filesystem::current_path();
        std::filesystem::current_path(dir.Path());
        GameServices::Bridge::FileSystem::Destroy();
        GameServices::Bridge::FileSystem::SetRootPath(TString<char>((dir.Path() + "/").c_str()));
        CharacterAssemblyManager::Destroy();
        LoadCapacities(dir, {});
    }
    void TearDown() override {
        CharacterManager::Instance()->SetAvatarRendering(nullptr);
        CharacterAssemblyManager::Destroy();
        GameServices::Bridge::FileSystem::Destroy();
        std::filesystem::current_path(m_cwd);
    }

    static std::string Assembly(const std::string& fields) { return "<item>" + fields + "</item>"; }
    void WriteAssemblies(const std::string& items) const {
        dir.Write("CharacterAssemblies.xml",
                  "<root><CharacterAssemblies>" + items + "</CharacterAssemblies></root>");
    }
    // Lists of "<item><Id>..</Id><Name>..</Name></item>" entries, by element name.
    static std::string Part(unsigned id, const std::string& name) {
        return "<item><Id>" + std::to_string(id) + "</Id><Name>" + name + "</Name></item>";
    }
    void WriteWardrobe(const std::string& name, const std::string& tops,
                       const std::string& bottoms = "", const std::string& footwear = "",
                       const std::string& eyewear = "") const {
        dir.Write("-xml/korvocity/" + name,
                  "<root><WardRobe><Eyewear>" + eyewear + "</Eyewear><Tops>" + tops +
                      "</Tops><Bottoms>" + bottoms + "</Bottoms><Footwear>" + footwear +
                      "</Footwear></WardRobe></root>");
    }
    void WriteAnatomy(const std::string& name, const std::string& heads,
                      const std::string& hairstyles = "") const {
        dir.Write("-xml/korvocity/" + name,
                  "<root><AnatomyPart><head>" + heads +
                      "</head><eye_left></eye_left><eye_right></eye_right><Hairstyle>" +
                      hairstyles + "</Hairstyle></AnatomyPart></root>");
    }

    // The assembly "Dad" (no Id) with its wardrobe, three tops among its parts, and anatomy.
    void WriteDad() const {
        WriteAssemblies(Assembly("<Name>Dad</Name><Anatomy>body.xml</Anatomy>"
                                 "<Wardrobe>dad.xml</Wardrobe><Gender>Male</Gender>"));
        WriteWardrobe("dad.xml", Part(3, "shirt.mdl") + Part(7, "polo.mdl") + Part(8, "vest.mdl"),
                      Part(4, "jeans.mdl"), Part(5, "boots.mdl"), Part(6, "glasses.mdl"));
        WriteAnatomy("body.xml", Part(1, "head.mdl"), Part(2, "curls.mdl"));
    }

    void LoadDad() {
        WriteDad();
        CharacterAssemblyManager::Instance()->PreloadCharacterAssemblies();
    }
    // Ids pick names from the wardrobe and anatomy; id 0 keeps the name in the file.
    void WriteDescription() const {
        std::string fields = "<Name>DadLook</Name><CharacterAssembly_Id>" +
                             std::to_string(Crc32Hash("Dad")) + "</CharacterAssembly_Id>";
        const char* prefixes[] = {"Head", "EyeLeft", "EyeRight", "Hairstyle",
                                  "Top",  "Bottom",  "Footwear", "Eyewear"};
        const char* written[] = {"x", "eyeL.mdl", "eyeR.mdl", "x", "x", "x", "x", "x"};
        const unsigned ids[] = {1, 0, 0, 2, 3, 4, 5, 6};
        for (int i = 0; i < 8; ++i) {
            const std::string p = prefixes[i];
            fields += "<" + p + "_Name>" + written[i] + "</" + p + "_Name><" + p + "_Id>" +
                      std::to_string(ids[i]) + "</" + p + "_Id><" + p + "_Customizable>" +
                      (i == 3 || i == 4 ? "true" : "false") + "</" + p + "_Customizable>";
        }
        dir.Write("-xml/korvocity/dadlook.xml", "<root><Avatar_KorvoCity>" + fields +
                                                    "</Avatar_KorvoCity></root>");
    }

    RecordingAvatarRendering rendering;
    TempDir dir;
    LogCapture log;

private:
    std::filesystem::path m_cwd;
};

}  // namespace

TEST_F(CharacterTest, AssembliesShareFilesGetIdsFromNamesAndCheckGender) {
    WriteAssemblies(
        Assembly("<Name>Dad</Name><Id>7</Id><Anatomy>Body.xml</Anatomy>"
                 "<Wardrobe>Shared.xml</Wardrobe><Gender>Male</Gender>") +
        Assembly("<Name>Mom</Name><Anatomy>Body.xml</Anatomy>"
                 "<Wardrobe>Shared.xml</Wardrobe><Gender>Female</Gender>"));
    WriteAnatomy("body.xml", Part(1, "round.mdl"));
    CharacterAssemblyManager* manager = CharacterAssemblyManager::Instance();
    manager->PreloadCharacterAssemblies();
    manager->PreloadCharacterAssemblies();

    // The missing wardrobe both assemblies name is read (and reported) once.
    EXPECT_EQ(CountLines(log, "Can not read the Wardrobe file: "), 1u);
    EXPECT_TRUE(log.Contains("shared.xml"));
    EXPECT_FALSE(log.Contains("Anatomy file"));

    CharacterAssembly mom;
    ASSERT_TRUE(manager->FindCharacterAssembly(Crc32Hash("Mom"), mom));
    EXPECT_EQ(mom.Gender, CharacterAssembly::kFemale);

    // Gender is case-sensitive: "male" is reported and the gender stays as it was.
    sCharacterAssembly_KorvoCity record;
    record.Gender = CharacterAssembly::kMale;
    log.Clear();
    GameServices::Utilities::XmlReader reader;
    ASSERT_EQ(reader.ReadText("<root><Name>Kid</Name><Gender>male</Gender></root>", "root", record),
              0);
    EXPECT_EQ(record.Gender, CharacterAssembly::kMale);
    EXPECT_EQ(record.Id, Crc32Hash("Kid"));
    EXPECT_TRUE(log.Contains("the Gender for this Character assembly is not set correctly"));
}

TEST_F(CharacterTest, LoadedLookFillsTheAvatarInPartOrderAndGuardsCustomization) {
    LoadDad();
    WriteDescription();
    CharacterManager* manager = CharacterManager::Instance();
    Character dad("Dad");
    dad.Activate = false;
    manager->LoadAppearance("DadLook.xml", dad);

    const GameServices::Bridge::RenderableAvatarData* data = dad.VolatileDatas.GetRenderableAvatarData();
    ASSERT_NE(data, nullptr);
    auto parts = [data] {
        return std::vector<TString<char>>(data->m_PartNames, data->m_PartNames + 8);
    };
    EXPECT_EQ(parts(), (std::vector<TString<char>>{"head.mdl", "eyeL.mdl", "eyeR.mdl", "curls.mdl",
                                                    "shirt.mdl", "jeans.mdl", "boots.mdl",
                                                    "glasses.mdl"}));
    EXPECT_TRUE(!dad.Synchronize && dad.Activate);
    EXPECT_EQ(rendering.built.count(&dad), 1u);

    // The top and the hairstyle are customizable: the look and the avatar follow.
    OutfitPart tee;
    tee.Name = "tee.mdl";
    tee.Id = 9;
    dad.Synchronize = true;
    manager->SetOutfitPart(tee, dad, OUTFIT_TOP);
    EXPECT_FALSE(dad.Synchronize);
    dad.Synchronize = true;
    AnatomyPart hair;
    ASSERT_TRUE(manager->GetAnatomyPart(dad, hair));
    hair.Name = "bob.mdl";
    manager->SetAnatomyPart(hair, dad);
    EXPECT_EQ(parts(), (std::vector<TString<char>>{"head.mdl", "eyeL.mdl", "eyeR.mdl", "bob.mdl",
                                                    "tee.mdl", "jeans.mdl", "boots.mdl",
                                                    "glasses.mdl"}));
    manager->RemoveAppearance(dad);
    EXPECT_FALSE(manager->GetAnatomyPart(dad, hair));
    EXPECT_EQ(rendering.built.count(&dad), 0u);
    EXPECT_EQ(dad.VolatileDatas.GetRenderableAvatarData(), nullptr);
    EXPECT_TRUE(log.Contains("No Appearance defined for this character"));
}

TEST_F(CharacterTest, RemoveAppearancesReachesComponentLevelsAndAFullPoolStoresNothing) {
    LoadDad();
    Factory<Appearance>& pool = PartPool<Appearance>();
    const u32 usedBefore = pool.GetUsedCount();
    CharacterManager* manager = CharacterManager::Instance();
    Appearance look;
    look.Name = "Face";

    Character host("Host"), leftFace("Left"), rightFace("Right");
    GameServices::Entities::Set level("Match");
    GameServices::Entities::ComponentLevel viewport("Viewport"), inner("Inner");
    level.m_Characters.push_back(&host);
    level.m_ComponentLevels.push_back(&viewport);
    viewport.m_Characters.push_back(&leftFace);
    viewport.m_ComponentLevels.push_back(&inner);
    inner.m_Characters.push_back(&rightFace);
    for (Character* character : {&host, &leftFace, &rightFace})
        ASSERT_TRUE(manager->SetAppearance(*character, look));
    manager->RemoveAppearances(level);
    EXPECT_EQ(pool.GetUsedCount(), usedBefore);
    EXPECT_EQ(rightFace.VolatileDatas.GetAppearance(), nullptr);

    std::vector<Appearance*> taken;
    while (pool.GetUsedCount() < pool.GetMaxSize())
        taken.push_back(pool.Alloc());
    EXPECT_FALSE(manager->SetAppearance(host, look));
    EXPECT_EQ(host.VolatileDatas.GetAppearance(), nullptr);
    EXPECT_TRUE(log.Contains("m_NbUsedObject < m_MaxSize for Appearances"));
    for (Appearance* appearance : taken)
        pool.Free(appearance);
    level.RemoveAll();
    viewport.RemoveAll();
    inner.RemoveAll();
}

TEST_F(CharacterTest, ApplyingALookOverAnotherIsReportedAndStillApplied) {
    LoadDad();
    CharacterManager* manager = CharacterManager::Instance();
    Character host("Host");
    Appearance look;
    look.Name = "First";
    manager->ApplyAppearance(look, host);
    EXPECT_FALSE(log.Contains("already have an appearance"));
    look.Name = "Second";
    look.Assembly.Id = 5;
    look.OutfitParts[OUTFIT_FOOTWEAR].Name = "clogs.mdl";
    look.AnatomyParts[NB_ANATOMY_PART_TYPE - 1].Name = "braids.mdl";
    manager->ApplyAppearance(look, host);
    EXPECT_TRUE(log.Contains("the Character already have an appearance !!!!"));
    Appearance stored;
    ASSERT_TRUE(manager->GetAppearance(host, stored));
    EXPECT_EQ(stored.NameId, Crc32Hash("Second"));
    EXPECT_EQ(stored.Assembly.Id, 5u);
    EXPECT_EQ(std::string(stored.OutfitParts[OUTFIT_FOOTWEAR].Name.c_str()) +
                  stored.AnatomyParts[NB_ANATOMY_PART_TYPE - 1].Name.c_str(), "clogs.mdlbraids.mdl");
    manager->RemoveAppearance(host);
}
