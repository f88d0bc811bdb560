#include "gameservices/bridge/systems/Avatar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/graphics/AGGraphicLayer.h"
#include "engine/graphics/AGModel.h"
#include "engine/graphics/AGSkin.h"
#include "gameservices/bridge/systems/AnimationPools.h"
#include "gameservices/bridge/systems/RenderingSystem.h"
#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/Set.h"
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
    MiniGame::BehaviorActionSkin legs;
    legs.m_Name = "rig.skel";
    legs.m_ModelTypes = {4, 5};
    RenderingSystem::SetAvatarSkinAnimation(dad, "rig.idle", legs);
    RenderingSystem::SetRenderableAvatarData(dad, description);
    RenderingSystem::Initialize(&set);
    Frame();
    EXPECT_EQ(Drawn().size(), 7u);
    Avatar& avatar = TheAvatar();
    EXPECT_EQ(avatar.m_Parts[7], nullptr);
    EXPECT_EQ(avatar.m_Parts[0]->GetLocal().m[12] + avatar.m_Parts[6]->GetLocal().m[14], 10.0f);
    ASSERT_EQ(avatar.m_Skins.size(), 1u);
    EXPECT_EQ(avatar.m_Parts[5]->GetSkin(), avatar.m_Skins[0].m_Skeleton);
    // A name given later and the built flag cleared add the eighth part.
    description.m_PartNames[7] = "glasses.mdl";
    RenderingSystem::SetRenderableAvatarData(dad, description);
    Frame();
    EXPECT_EQ(Drawn().size(), 8u);
    // Two swaps before a frame: both old tops go back, only the last one is drawn.
    avatar.SetPart(4, "top2.mdl");
    avatar.SetPart(4, "top3.mdl");
    Frame();
    EXPECT_EQ(Clones("top1") + Clones("top2") + 10 * Clones("top3"), 10u);
    const std::vector<u32> drawn = Drawn();
    EXPECT_EQ(std::count(drawn.begin(), drawn.end(), Crc32Hash("top3.mdl")) * 10 + drawn.size(), 18u);
    dad.Visible = false;
    Frame();
    EXPECT_FALSE(avatar.m_Parts[4]->HasFlags(AGRenderable::kActive) || avatar.m_Visible);
    // A second build is reported and gives the first avatar back.
    RenderingSystem::InitializeAvatar(dad);
    EXPECT_TRUE(log.Contains("call RenderingSystem::Cleanup(..) before!"));
    EXPECT_EQ(Clones("top1") * 10 + Clones("top3"), 10u);
    EXPECT_TRUE(Drawn().empty());
    Frame();
    EXPECT_EQ(Drawn().size(), 8u);
    // Clean-up right after swaps: every model leaves the layer and goes back once.
    TheAvatar().SetPart(4, "top1.mdl");
    TheAvatar().SetPart(4, "top2.mdl");
    RenderingSystem::CleanupAvatar(dad);
    EXPECT_TRUE(Drawn().empty());
    EXPECT_EQ(dad.VolatileDatas.Count(), 0u);
}

TEST_F(AvatarTest, SkinsMayNotShareModelsAndNamesGiveModelTypes) {
    AGSkin lower, upper;
    AvatarSkin top{&upper, "upper", {5}}, legs{&lower, "lower", {4, 5}}, hair{&lower, "hair", {3}};
    Avatar avatar;
    EXPECT_TRUE(avatar.AddSkin(top));
    EXPECT_FALSE(avatar.AddSkin(legs));
    EXPECT_TRUE(log.Contains("you have two skin that influence the same Model"));
    EXPECT_TRUE(avatar.AddSkin(hair));
    EXPECT_TRUE(avatar.HasSkin(&lower) && !avatar.HasSkin(nullptr));
    avatar.SetPart(3, "hair.mdl");
    avatar.SetPart(8, "hair.mdl");
    EXPECT_EQ(avatar.m_Parts[3]->GetSkin(), &lower);
    package.GiveBack(TypeKey::Model, avatar.m_Parts[3]);
    i32 type = 9;
    EXPECT_TRUE(MiniGame::StringToModelType("HEAD", type));
    EXPECT_FALSE(MiniGame::StringToModelType("nose", type));
    EXPECT_EQ(type, 0);
    // "all" expands to the eight types; anything beside it is reported.
    MiniGame::BehaviorActionSkin all;
    all.m_ModelTypes = {-1, 3};
    AvatarSkin key;
    EXPECT_TRUE(MakeAvatarSkinKey(all, key));
    EXPECT_EQ(key.m_ModelTypes, (std::vector<i32>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_TRUE(log.Contains("invalide list of model"));
    all.m_ModelTypes.clear();
    EXPECT_FALSE(MakeAvatarSkinKey(all, key));
}

}  // namespace
