#include "gameservices/game/CharacterManager.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/core/Crc32Hash.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/AvatarRendering.h"
#include "gameservices/game/PartPools.h"
#include "tests/gameservices/game/CharacterTestSetup.h"

using namespace GameServices::KorvoGame;
using GameServices::Entities::Character;

namespace {

class CharacterManagerTest : public CharacterFixture {
protected:
    void SetUp() override {
        CharacterFixture::SetUp();
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
};

}  // namespace

TEST_F(CharacterManagerTest, LoadedLookFillsTheAvatarInPartOrderAndGuardsCustomization) {
    WriteDescription();
    CharacterManager* manager = CharacterManager::Instance();
    Character dad("Dad");
    dad.Activate = false;
    manager->LoadAppearance("DadLook.xml", dad);

    const GameServices::Bridge::RenderableAvatarData* data =
        dad.VolatileDatas.GetRenderableAvatarData();
    ASSERT_NE(data, nullptr);
    auto parts = [data] {
        return std::vector<TString<char>>(data->m_PartNames, data->m_PartNames + 8);
    };
    EXPECT_EQ(parts(), (std::vector<TString<char>>{"head.mdl", "eyeL.mdl", "eyeR.mdl", "curls.mdl",
                                                    "shirt.mdl", "jeans.mdl", "boots.mdl",
                                                    "glasses.mdl"}));
    EXPECT_FALSE(dad.Synchronize);
    EXPECT_TRUE(dad.Activate);
    EXPECT_TRUE(StandInAvatarRendering::Instance()->IsAvatarBuilt(dad));

    // Bottoms are not customizable: reported, nothing changes.
    OutfitPart shorts;
    shorts.Name = "shorts.mdl";
    manager->SetOutfitPart(shorts, dad, OUTFIT_BOTTOM);
    EXPECT_TRUE(log.Contains("this OutfitPartType is not customizable"));
    OutfitPart bottom;
    ASSERT_TRUE(manager->GetOutfitPart(OUTFIT_BOTTOM, dad, bottom));
    EXPECT_EQ(bottom.Name, "jeans.mdl");

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
    EXPECT_EQ(hair.Name, "curls.mdl");
    EXPECT_TRUE(hair.Customizable);
    hair.Name = "bob.mdl";
    manager->SetAnatomyPart(hair, dad);
    AnatomyPart changed;
    ASSERT_TRUE(manager->GetAnatomyPart(dad, changed));
    EXPECT_EQ(changed.Name, "bob.mdl");
    EXPECT_EQ(parts(), (std::vector<TString<char>>{"head.mdl", "eyeL.mdl", "eyeR.mdl", "bob.mdl",
                                                    "tee.mdl", "jeans.mdl", "boots.mdl",
                                                    "glasses.mdl"}));
    OutfitPart top;
    ASSERT_TRUE(manager->GetOutfitPart(OUTFIT_TOP, dad, top));
    EXPECT_EQ(top.Id, 9u);
    EXPECT_EQ(data->m_Built, 0);
    EXPECT_FALSE(dad.Synchronize);

    manager->RemoveAppearance(dad);
    EXPECT_FALSE(manager->GetAnatomyPart(dad, changed));
    EXPECT_TRUE(log.Contains("No Appearance defined for this character"));
}

TEST_F(CharacterManagerTest, RemoveAppearancesReachesComponentLevelsAndAFullPoolStoresNothing) {
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
    EXPECT_EQ(pool.GetUsedCount(), usedBefore + 3);

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

TEST_F(CharacterManagerTest, ApplyingALookOverAnotherIsReportedAndStillApplied) {
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
    EXPECT_EQ(stored.Name, "Second");
    EXPECT_EQ(stored.NameId, Crc32Hash("Second"));
    EXPECT_EQ(stored.Assembly.Id, 5u);
    EXPECT_EQ(stored.OutfitParts[OUTFIT_FOOTWEAR].Name, "clogs.mdl");
    EXPECT_EQ(stored.AnatomyParts[NB_ANATOMY_PART_TYPE - 1].Name, "braids.mdl");
    manager->RemoveAppearance(host);
}
