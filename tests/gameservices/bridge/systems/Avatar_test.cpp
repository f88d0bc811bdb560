#include "gameservices/bridge/systems/Avatar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/core/AGController.h"
#include "engine/graphics/AGGraphicLayer.h"
#include "engine/graphics/AGModel.h"
#include "engine/graphics/AGSkin.h"
#include "gameservices/bridge/systems/AnimationPools.h"
#include "gameservices/bridge/systems/EntityAnimations.h"
#include "gameservices/bridge/systems/RenderingSystem.h"
#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/CharacterManager.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/support/LogCapture.h"
#include "tools/authoring/ModelWriter.h"

using namespace GameServices;
using namespace GameServices::Bridge;
using namespace GameServices::Entities::VolatileDataKeys;

namespace {

const char* const kParts[] = {"head", "eyeL", "eyeR", "hair", "top1", "jeans", "boots", "glasses", "top2", "top3"};

class AvatarTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* part : kParts)
            authoring::AddTexturedBox(package.Writer(), authoring::TexturedBox{.name = part, .slotController = {}, .model = {}});
        authoring::AddSkeletonSample(package.Writer(), "rig");
        package.Mount();
        LoadCapacities(dir, {{"FactoryRenderableModelData", 2}, {"FactoryGsAvatar", 2},
                             {"FactoryRenderableAvatarData", 2}, {"FactoryEntityAnimations", 2}});
        RenderingSystem::Startup();
        CreateEngineAnimationFactories();
        for (u32 i = 0; i < 7; ++i)
            description.m_PartNames[i] = std::string(kParts[i]).append(".mdl").c_str();
        dad.Visible = true;
        dad.SetPosition(AGVec3{4, 5, 6});
        set.m_Cameras.push_back(&camera);
        set.m_Characters.push_back(&dad);
    }
    void TearDown() override {
        CleanupAnimations(&set);
        RenderingSystem::Cleanup(&set);
        for (const char* part : kParts)
            EXPECT_EQ(Clones(part), 0u) << part;
        EXPECT_EQ(RenderingSystem::GetAvatarFactory()->GetUsedCount(), 0u);
        DestroyEngineAnimationFactories();
        RenderingSystem::Shutdown();
        EXPECT_EQ(KorvoGame::CharacterManager::Instance()->GetAvatarRendering(), nullptr);
    }
    // Avatar models drawn by the level's layer.
    std::vector<u32> Drawn() const {
        std::vector<u32> ids;
        const auto* layer = set.VolatileDatas.GetAs<AGGraphicLayer>(kENGINE_DATA_LAYER_3D);
        for (u32 i = 0; layer && i < layer->RenderableCount(); ++i)
            ids.push_back(static_cast<AGModel*>(layer->GetRenderable(i))->NameId());
        return ids;
    }
    u32 Clones(const std::string& part) const {
        return package.Provider(TypeKey::Model)->InstanceCount(Crc32Hash((part + ".mdl").c_str()));
    }
    Avatar& TheAvatar() const { return *dad.VolatileDatas.GetAs<Avatar>(kENGINE_DATA_AVATAR); }
    void Frame() {
        dad.Synchronize = false;
        RenderingSystem::Update(&set);
    }

    TempDir dir;
    drawtest::TestPackage package;
    RenderableAvatarData description;
    Entities::Camera camera{"Eye"};
    Entities::Character dad{"Dad"};
    Entities::Set set;
    LogCapture log;
};

TEST_F(AvatarTest, PartsJoinTheLayerFollowTheCharacterAndSwapOnce) {
    RenderingSystem::SetRenderableAvatarData(dad, description);
    RenderingSystem::Initialize(&set);
    Frame();
    EXPECT_EQ(Drawn().size(), 7u);
    Avatar& avatar = TheAvatar();
    EXPECT_EQ(avatar.m_Parts[0]->GetLocal().m[12] + avatar.m_Parts[6]->GetLocal().m[14], 10.0f);
    // A name given later and the built flag cleared add the eighth part.
    description.m_PartNames[7] = "glasses.mdl";
    RenderingSystem::SetRenderableAvatarData(dad, description);
    Frame();
    EXPECT_EQ(Drawn().size(), 8u);
    // Two swaps before a frame: both old tops go back, only the last one is drawn.
    avatar.SetPart(4, "top2.mdl");
    avatar.SetPart(4, "top3.mdl");
    Frame();
    EXPECT_TRUE(Clones("top1") + Clones("top2") + 10 * Clones("top3") == 10u && Drawn().size() == 8u);
    // Hidden and moved: the parts go inactive and follow the character.
    dad.Visible = false;
    dad.SetPosition(AGVec3{-1, 2, 3});
    Frame();
    EXPECT_FALSE(avatar.m_Parts[4]->HasFlags(AGRenderable::kActive) || avatar.m_Visible);
    EXPECT_EQ(avatar.m_Parts[4]->GetLocal().m[12], -1.0f);
    // A second build is reported and gives the first avatar back.
    RenderingSystem::InitializeAvatar(dad);
    EXPECT_TRUE(log.Contains("call RenderingSystem::Cleanup(..) before!"));
    EXPECT_EQ(Clones("top1") * 10 + Clones("top3"), 10u);
    // A swap before it joins the layer: the old part goes back as it joins, even unmoved.
    TheAvatar().SetPart(4, "top3.mdl");
    dad.Synchronize = true;
    RenderingSystem::Update(&set);
    EXPECT_EQ(Clones("top1"), 0u);
    Frame();
    EXPECT_EQ(Drawn().size(), 8u);
    // Clean-up right after swaps: every model leaves the layer and goes back once.
    TheAvatar().SetPart(4, "top1.mdl");
    TheAvatar().SetPart(4, "top2.mdl");
    RenderingSystem::CleanupAvatar(dad);
    EXPECT_TRUE(Drawn().empty() && dad.VolatileDatas.Count() == 0u);
    // Built again: a cleared built flag re-checks every part by name.
    RenderingSystem::SetRenderableAvatarData(dad, description);
    RenderingSystem::InitializeAvatar(dad);
    Frame();
    const struct { i32 type; const char* name; size_t drawn; } changes[] = {
        {4, "top2.mdl", 8}, {0, "", 7}, {3, "hair.mdl", 7}};
    for (const auto& c : changes) {
        AGModel* const before = TheAvatar().m_Parts[3];
        description.m_PartNames[c.type] = c.name;
        RenderingSystem::SetRenderableAvatarData(dad, description);
        Frame();
        EXPECT_EQ(Drawn().size(), c.drawn) << c.name;
        const AGModel* part = TheAvatar().m_Parts[c.type];
        EXPECT_EQ(part ? part->NameId() : 0u, *c.name ? Crc32Hash(c.name) : 0u) << c.name;
        EXPECT_EQ(TheAvatar().m_Parts[3], before) << "the hair keeps its model";
        EXPECT_TRUE(TheAvatar().m_ModelsToAdd.empty() && TheAvatar().m_LayerInStep);
    }
    EXPECT_EQ(Clones("top1") + Clones("head"), 0u);
    // A description given as built asks for no re-check.
    description.m_PartNames[4] = "top3.mdl", description.m_Built = 1;
    RenderingSystem::SetRenderableAvatarData(dad, description);
    Frame();
    EXPECT_EQ(TheAvatar().m_Parts[4]->NameId(), Crc32Hash("top2.mdl"));
}

TEST_F(AvatarTest, PartsQueueTheirSwapsAndClearStartsOver) {
    AGSkin eyes, other;
    Avatar avatar;
    avatar.Show();
    avatar.SetPart(0, "head.mdl");
    AGModel* head = avatar.m_Parts[0];
    ASSERT_NE(head, nullptr);
    avatar.Hide();
    avatar.SetPart(1, "eyeL.mdl");
    AGModel* eye = avatar.m_Parts[1];
    EXPECT_FALSE(eye->HasFlags(AGRenderable::kActive));
    // Emptying a part queues its model for removal and release; types outside 0..7 do nothing.
    avatar.m_LayerInStep = 1;
    for (auto [type, model] : {std::pair{0, ""}, {-1, "hair.mdl"}, {8, "hair.mdl"}})
        avatar.SetPart(type, model);
    EXPECT_TRUE(avatar.m_LayerInStep == 0 && avatar.m_ModelsToRelease == std::vector<AGModel*>{head});
    EXPECT_EQ(avatar.m_ModelsToAdd.size() * 10 + Clones("hair"), 20u);
    avatar.m_World.m[12] = 7.0f;
    avatar.ApplyTransform();
    EXPECT_EQ(eye->GetLocal().m[12], 7.0f);
    avatar.Show();
    EXPECT_TRUE(eye->HasFlags(AGRenderable::kActive) && avatar.m_Visible);
    EXPECT_TRUE(avatar.AddSkin(AvatarSkin{&eyes, "eyes", {1, 2}}) && eye->GetSkin() == &eyes);
    // Skins may not share models; a part set later takes its skin; types outside 0..7 drive nothing.
    EXPECT_FALSE(avatar.AddSkin(AvatarSkin{&other, "other", {3, 2}}));
    EXPECT_TRUE(log.Contains("you have two skin that influence the same Model"));
    EXPECT_TRUE(avatar.AddSkin(AvatarSkin{&other, "hair", {3, 8}}));
    avatar.SetPart(3, "hair.mdl");
    AGModel* hair = avatar.m_Parts[3];
    EXPECT_EQ(hair->GetSkin(), &other);
    avatar.Clear();
    EXPECT_TRUE(avatar.m_ModelsToAdd.empty() && avatar.m_ModelsToRemove.empty() && avatar.m_ModelsToRelease.empty() &&
                avatar.m_Skins.empty() && avatar.m_Parts[1] == nullptr && avatar.m_Layer == nullptr);
    EXPECT_EQ((std::vector<f32>{f32(avatar.m_Visible), f32(avatar.m_LayerInStep), avatar.m_World.m[12]}),
              (std::vector<f32>{0, 1, 0}));
    for (AGModel* part : {head, eye, hair})
        package.GiveBack(TypeKey::Model, part);
}

// Descriptions fill pooled records and build only once given.
TEST_F(AvatarTest, DescriptionsFillPooledRecords) {
    KorvoGame::IAvatarRendering& hooks = *KorvoGame::CharacterManager::Instance()->GetAvatarRendering();
    Entities::Character mum{"Mum"};
    MiniGame::BehaviorActionSkin legs;
    legs.m_Name = "rig.skel";
    legs.m_ModelTypes = {4, 5};
    // A skin animation alone describes no avatar.
    RenderingSystem::SetAvatarSkinAnimation(mum, "rig.idle", legs);
    RenderableAvatarData* record = mum.VolatileDatas.GetRenderableAvatarData();
    EXPECT_EQ(record->m_SkinAnimationType, 0);
    EXPECT_EQ(record->m_Skin.m_ModelTypes, legs.m_ModelTypes);
    hooks.InitializeAvatar(mum);
    EXPECT_EQ(mum.VolatileDatas.GetAs<Avatar>(kENGINE_DATA_AVATAR), nullptr);
    description.m_DataPath = "looks", description.m_Built = 1, description.m_SecondFlag = 1;
    hooks.SetRenderableAvatarData(mum, description);
    EXPECT_EQ(mum.VolatileDatas.GetRenderableAvatarData(), record);
    EXPECT_EQ((std::vector<u32>{record->m_Changed, record->m_SecondFlag, u32(record->m_SkinAnimationType)}),
              (std::vector<u32>{1, 1, 0}));
    // Built hidden: the parts stay inactive, placed at the character.
    mum.Visible = false;
    mum.SetPosition(AGVec3{1, 2, 3});
    hooks.InitializeAvatar(mum);
    Avatar* built = mum.VolatileDatas.GetAs<Avatar>(kENGINE_DATA_AVATAR);
    EXPECT_FALSE(built->m_Visible || built->m_Parts[0]->HasFlags(AGRenderable::kActive));
    EXPECT_EQ(built->m_World.m[13], 2.0f);
    ASSERT_EQ(built->m_Skins.size(), 1u);
    EXPECT_EQ(built->m_Parts[4]->GetSkin(), built->m_Skins[0].m_Skeleton);
    // The described skin animation loops at its own speed, without a fade.
    const EngineAnimationSkin& playing = *GetEntityAnimations(mum)->m_Skins.at(0);
    EXPECT_EQ(playing.m_CurrentName + (playing.m_Incoming ? "+" : ""), "rig.idle");
    playing.m_Controller->UpdateBy(100.0f);
    EXPECT_NEAR(playing.m_Controller->GetOutput(), 3.0f, 1e-3f);
    hooks.CleanupAvatar(mum);
    EXPECT_EQ(mum.VolatileDatas.Count(), 0u);
    // A record taken again from the pool starts empty.
    Entities::Character first{"First"}, second{"Second"};
    RenderingSystem::SetAvatarSkinAnimation(first, "rig.idle", legs);
    RenderingSystem::SetRenderableAvatarData(second, RenderableAvatarData());
    const RenderableAvatarData& reused = *second.VolatileDatas.GetRenderableAvatarData();
    EXPECT_EQ(&reused, record);
    EXPECT_TRUE(reused.m_SkinAnimationType == -1 && reused.m_AnimationName.IsEmpty() &&
                reused.m_Skin.m_ModelTypes.empty() && reused.m_DataPath.IsEmpty());
    // A character without an avatar is still marked in step.
    set.m_Characters.push_back(&first);
    first.Synchronize = false;
    RenderingSystem::Initialize(&set);
    Frame();
    EXPECT_TRUE(first.Synchronize);
    set.m_Characters.pop_back();
    for (Entities::Character* c : {&first, &second})
        RenderingSystem::CleanupAvatar(*c);
}

}  // namespace
