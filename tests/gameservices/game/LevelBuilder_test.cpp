#include "gameservices/game/LevelBuilder.h"

#include <gtest/gtest.h>

#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/Light.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/SetElement.h"
#include "gameservices/game/GameFlowManager.h"
#include "tests/gameservices/game/LevelTestSetup.h"
#include "tests/gameservices/game/TestApplicationData.h"

using namespace GameServices::KorvoGame;
using namespace GameServices::Entities;

namespace {

struct Buzzer : Prop {};

void ExpectVec(const AGVec3& v, f32 x, f32 y, f32 z, const char* what) {
    EXPECT_EQ(v.x, x) << what;
    EXPECT_EQ(v.y, y) << what;
    EXPECT_EQ(v.z, z) << what;
}

class LevelBuilderTest : public LevelFixture {
protected:
    void SetUp() override {
        LevelFixture::SetUp();
        GameEntityFactory::Instance()->RegisterFactory(
            "buzzer", new EntityFactory<Buzzer>(2, "Buzzer"));
    }
    void TearDown() override {
        set.Clear();
        GameEntityFactory::Instance()->DestroyFactory("buzzer");
        LevelFixture::TearDown();
    }

    GameFlowManager flow;
    Set set;
};

}  // namespace

TEST_F(LevelBuilderTest, BuildsEachEntityFromItsRecord) {
    TestApplicationData prototype({ApplicationData::kCamera});
    WriteStudio();
    ASSERT_TRUE(flow.LoadLevel("studio", set));

    ASSERT_EQ(set.m_Cameras.size(), 2u);
    Camera* main = set.m_Cameras[0];
    EXPECT_EQ(set.m_Cameras[1]->Name, "Side");
    EXPECT_EQ(set.GetActiveCamera(), main);
    ExpectVec(main->Position, 10, 0, 0, "camera position");
    EXPECT_NE(main->Attributes.m_Map[TypeIds::ApplicationDataKey], nullptr);

    ASSERT_EQ(set.m_Lights.size(), 1u);
    EXPECT_EQ(set.m_Lights[0]->LightType, Light::kDirection);
    ExpectVec(set.m_Lights[0]->Direction, 0, 0.6f, 0.8f, "light direction");

    ASSERT_EQ(set.m_SetElements.size(), 1u);
    SetElement* ground = set.m_SetElements[0];
    EXPECT_TRUE(ground->IsA(TypeIds::Floor));
    EXPECT_EQ(ground->Name, "Ground");
    EXPECT_TRUE(ground->Visible);

    ASSERT_EQ(set.m_Props.size(), 2u);
    Prop* desk = set.m_Props[0];
    EXPECT_EQ(desk->Name, "Desk");
    AGVec3 position;
    desk->GetPosition(position);
    ExpectVec(position, 1, 2, 0, "prop position");
    EXPECT_FALSE(desk->Visible);
    EXPECT_TRUE(desk->IsCollidable());

    Prop* buzzer = set.m_Props[1];
    EXPECT_FALSE(buzzer->Activate);
    EXPECT_TRUE(GameEntityFactory::Instance()->GetFactory("buzzer")->Owns(buzzer));

    ASSERT_EQ(set.m_Characters.size(), 1u);
    set.m_Characters[0]->GetPosition(position);
    ExpectVec(position, 0, 0, 5, "character position");

    ASSERT_EQ(set.m_ComponentLevels.size(), 2u);
    ComponentLevel* board = set.m_ComponentLevels[0];
    ASSERT_EQ(board->m_Cameras.size(), 1u);
    EXPECT_EQ(board->m_Cameras[0]->Name, "BoardCam");
    ASSERT_EQ(board->m_Props.size(), 1u);
    EXPECT_EQ(board->m_Props[0]->Name, "Tile");
    // The camera-less component level borrows the parent's first camera, not as a member.
    ComponentLevel* overlay = set.m_ComponentLevels[1];
    EXPECT_EQ(overlay->m_Cameras, (std::vector<Camera*>{main}));
    EXPECT_TRUE(overlay->m_MemberCameras.empty());
    EXPECT_EQ(overlay->m_Props[0]->Name, "Badge");
    EXPECT_EQ(GameEntityFactory::Instance()->GetPropFactory()->GetUsedCount(), 3u);
}

TEST_F(LevelBuilderTest, ReloadGivesEverythingBackAndAMissingFileGivesAnEmptySet) {
    WriteStudio();
    flow.LoadLevel("studio", set);
    flow.LoadLevel("studio", set);
    EXPECT_EQ(GameEntityFactory::Instance()->GetCameraFactory()->GetUsedCount(), 3u);
    EXPECT_EQ(GameEntityFactory::Instance()->GetPropFactory()->GetUsedCount(), 3u);

    log.Clear();
    ASSERT_TRUE(flow.LoadLevel("missing", set));
    EXPECT_TRUE(log.Contains("Can not read the level file: "));
    EXPECT_TRUE(set.m_Cameras.empty() && set.m_Lights.empty() && set.m_SetElements.empty() &&
                set.m_Props.empty() && set.m_Characters.empty() &&
                set.m_ComponentLevels.empty());
    for (IEntityFactory* pool : {GameEntityFactory::Instance()->GetCameraFactory(),
                                 GameEntityFactory::Instance()->GetPropFactory(),
                                 GameEntityFactory::Instance()->GetFactory("buzzer")})
        EXPECT_EQ(pool->GetUsedCount(), 0u);
}

TEST_F(LevelBuilderTest, CameraAndLightFallbacks) {
    WriteLevel("edge",
               "<Cameras><item><Name>Ortho</Name><Orthographic>true</Orthographic><UpX>auto"
               "</UpX><UpY>auto</UpY><UpZ>auto</UpZ><ViewPortWidth>auto</ViewPortWidth>"
               "<ViewPortHeight>auto</ViewPortHeight><FieldOfView>30</FieldOfView></item>"
               "<item><Name>Bare</Name></item></Cameras>"
               "<Lights><item><Name>Stuck</Name><Position>1,1,1</Position><Target>1,1,1"
               "</Target><Color>2,-1,0.5</Color></item></Lights>");
    flow.LoadLevel("edge", set);
    ASSERT_EQ(set.m_Cameras.size(), 2u);
    const Camera* ortho = set.m_Cameras[0];
    ExpectVec(ortho->Position, 400, 300, 2, "ortho position");
    ExpectVec(ortho->LookAt, 400, 300, 0, "ortho look-at");

    // No viewport and no field of view would give a degenerate projection.
    const Camera* bare = set.m_Cameras[1];
    EXPECT_EQ(bare->ViewportWidth, 800u);
    EXPECT_EQ(bare->ViewportHeight, 600u);
    EXPECT_EQ(bare->FieldOfView, 34.0f);
    EXPECT_TRUE(log.Contains("ViewPortWidth"));
    EXPECT_TRUE(log.Contains("field of view"));

    ASSERT_EQ(set.m_Lights.size(), 1u);
    const Light* stuck = set.m_Lights[0];
    ExpectVec(stuck->Direction, 0, 0, 1, "light direction");
    EXPECT_EQ(stuck->Color, 0xFFFF007Fu);
}
