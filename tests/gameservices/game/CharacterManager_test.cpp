#include "gameservices/game/CharacterManager.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/core/Crc32Hash.h"
#include "gameservices/entities/Character.h"
#include "gameservices/game/AvatarRendering.h"
#include "gameservices/game/CharacterAssemblyManager.h"
#include "gameservices/game/ContainerFactory.h"
#include "gameservices/game/PartPools.h"
#include "tests/gameservices/game/LevelTestSetup.h"
#include "tests/support/ScopedWorkingDir.h"

using namespace GameServices::KorvoGame;
using GameServices::Entities::Character;

namespace {

// Keeps the last description handed over.
struct RecordingAvatarRendering : IAvatarRendering {
    void SetRenderableAvatarData(Character&, const GameServices::Bridge::RenderableAvatarData& data) override {
        last = data;
    }
    void InitializeAvatar(Character&) override {}
    void CleanupAvatar(Character&) override {}
    GameServices::Bridge::RenderableAvatarData last;
};

// A temporary game folder holding "CharacterAssemblies.xml" (read from the working directory).
class CharacterTest : public LevelFixture {
protected:
    void SetUp() override {
        LevelFixture::SetUp();
        CharacterManager::Instance()->SetAvatarRendering(&rendering);
        CharacterAssemblyManager::Destroy();
    }
    void TearDown() override {
        CharacterManager::Instance()->SetAvatarRendering(nullptr);
        CharacterAssemblyManager::Destroy();
        LevelFixture::TearDown();
    }

    RecordingAvatarRendering rendering;
    ScopedWorkingDir workingDir{dir.Path()};
};

}  // namespace

// A look read from its file takes its assembly and part names; a look applied over it is
// reported and applied all the same.
TEST_F(CharacterTest, ALookFromItsFileAndALookAppliedOverItIsReportedAndStillApplied) {
    dir.Write("CharacterAssemblies.xml", "<root><CharacterAssemblies><item><Name>Dad</Name><Gender>Male"
                                         "</Gender><Wardrobe>w</Wardrobe></item></CharacterAssemblies></root>");
    dir.Write("-xml/korvocity/w", "<root><WardRobe><Tops><item><Id>1</Id><Name>shirt.mdl</Name></item>"
                                  "</Tops></WardRobe></root>");
    CharacterAssemblyManager::Instance()->PreloadCharacterAssemblies();
    dir.Write("-xml/korvocity/first.xml",
              "<root><Avatar_KorvoCity><Name>First</Name><Top_Id>1</Top_Id><CharacterAssembly_Id>" +
                  std::to_string(Crc32Hash("Dad")) + "</CharacterAssembly_Id><Hairstyle_Name>bob.mdl"
                  "</Hairstyle_Name><Hairstyle_Customizable>true</Hairstyle_Customizable><Footwear_Name>"
                  "boots.mdl</Footwear_Name><Footwear_Id>7</Footwear_Id></Avatar_KorvoCity></root>");
    CharacterManager* manager = CharacterManager::Instance();
    Character host("Host");
    host.Activate = false;  // an applied look activates its character
    manager->LoadAppearance("first.xml", host);
    // A part id in the assembly's lists takes the listed name; one not there keeps the file's name.
    EXPECT_FALSE(log.Contains("already have an appearance") || log.Contains("out of range"));
    TString<char> part;  // a part type out of range names no part
    EXPECT_FALSE(CharacterAssemblyManager::Instance()->GetOutfitPartName(Crc32Hash("Dad"), NB_OUTFIT_PART_TYPE, 1, part));
    Appearance stored;
    ASSERT_TRUE(manager->GetAppearance(host, stored));
    EXPECT_TRUE(stored.Assembly.Gender == CharacterAssembly::kMale && host.Activate &&
                stored.AnatomyParts[ANATOMY_HAIRSTYLE].Customizable &&
                stored.OutfitParts[OUTFIT_TOP].Name == "shirt.mdl");
    EXPECT_EQ(std::string(stored.OutfitParts[OUTFIT_FOOTWEAR].Name.c_str()) +
                  stored.AnatomyParts[ANATOMY_HAIRSTYLE].Name.c_str(), "boots.mdlbob.mdl");
    Appearance look;  // without an assembly
    look.Name = "Second";
    look.OutfitParts[OUTFIT_FOOTWEAR].Name = "clogs.mdl";
    look.AnatomyParts[ANATOMY_HAIRSTYLE].Name = "braids.mdl";
    look.OutfitParts[OUTFIT_FOOTWEAR].Customizable = true;
    manager->ApplyAppearance(look, host);
    EXPECT_TRUE(log.Contains("the Character already have an appearance !!!!"));
    ASSERT_TRUE(manager->GetAppearance(host, stored));
    EXPECT_TRUE(stored.NameId == Crc32Hash("Second") && stored.Assembly.Id == 0u);
    EXPECT_EQ(rendering.last.m_PartNames[ANATOMY_HAIRSTYLE], "braids.mdl");  // what the avatar draws
    EXPECT_EQ(std::string(stored.OutfitParts[OUTFIT_FOOTWEAR].Name.c_str()) +
                  stored.AnatomyParts[ANATOMY_HAIRSTYLE].Name.c_str(), "clogs.mdlbraids.mdl");
    // A customizable part changed on a drawn avatar is stored and its record is drawn again.
    host.VolatileDatas.Set(GameServices::Entities::VolatileDataKeys::kRENDERABLE_AVATAR_DATA, &rendering.last);
    OutfitPart sandals;
    sandals.Name = "sandals.mdl";
    sandals.Id = 9;
    host.Synchronize = true;
    manager->SetOutfitPart(sandals, host, OUTFIT_FOOTWEAR);
    ASSERT_TRUE(manager->GetAppearance(host, stored));
    const OutfitPart& kept = stored.OutfitParts[OUTFIT_FOOTWEAR];
    EXPECT_TRUE(kept.Id == 9u && kept.Name == "sandals.mdl" && !host.Synchronize &&
                rendering.last.m_PartNames[u32(NB_ANATOMY_PART_TYPE) + OUTFIT_FOOTWEAR] == "sandals.mdl");
    manager->RemoveAppearance(host);
    EXPECT_FALSE(manager->GetAppearance(host, stored));
}

// Recycling a listed part gives that one back to its pool and keeps the others in order; a
// reset pool hands out from its first object again.
TEST(ContainerFactory, RecycleGivesBackOnlyThePartNamedAndAResetFreesEveryPart) {
    Factory<OutfitPart>& pool = PartPool<OutfitPart>();
    ContainerFactory<OutfitPart> parts;
    OutfitPart* listed[] = {pool.Alloc(), pool.Alloc()};
    for (OutfitPart* part : listed)
        parts.Add(part);
    const u32 used = pool.GetUsedCount();
    parts.Recycle(listed[0]);
    EXPECT_TRUE(parts.size() == 1u && parts[0] == listed[1] && pool.GetUsedCount() + 1 == used);
    Factory<OutfitPart> own("Own", 1);  // held by no part list
    own.Alloc();
    own.ResetAll();
    EXPECT_TRUE(own.GetUsedCount() == 0u && own.Alloc() != nullptr);
}
