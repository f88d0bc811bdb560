#include "gameservices/bridge/systems/CollisionSystem.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/graphics/AGSprite.h"
#include "gameservices/bridge/systems/BridgeSystems.h"
#include "gameservices/bridge/systems/CollisionObject.h"
#include "gameservices/bridge/systems/RenderingSystem.h"
#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/SetElement.h"
#include "gameservices/entities/Team.h"
#include "gameservices/game/CollisionCursor.h"
#include "gameservices/game/GameFlowManager.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/gameservices/game/LevelTestSetup.h"

using namespace GameServices;
using namespace GameServices::Entities::VolatileDataKeys;
using Bridge::CollisionSystem;

namespace {

// Screen points are world points; collidables that leave the tests when hit.
class Collisions : public LevelFixture, public Bridge::IRenderingSystem {
protected:
    void SetUp() override {
        LevelFixture::SetUp();
        authoring::TexturedBox desk;
        desk.name = "desk";
        authoring::AddTexturedBox(package.Writer(), desk);
        package.Writer().Add("card.spt", 0, authoring::SpriteBytes(0, 8, 8, ""));
        package.Mount();
        LoadCapacities(dir, {{"FactoryRenderableModelData", 16}, {"FactoryCollisionData", 6},
                             {"FactoryCollisionObject", 6}, {"FactoryCollisionShapeRectangle", 4},
                             {"FactoryCollisionShapeSphere", 2}, {"FactoryCollisionShapeBox", 2}});
        Bridge::RenderingSystem::Startup();
        CollisionSystem::Startup();
        IRenderingSystem::SetInstance(this);
        flow.SetBridgeSystems(Bridge::BridgeSystems::Instance());
        KorvoGame::CollisionCursor::SetLevelSetSource([this] { return &set; });
    }
    void TearDown() override {
        KorvoGame::CollisionCursor::SetLevelSetSource(nullptr);
        set.Clear();
        CollisionSystem::Shutdown();
        Bridge::RenderingSystem::Shutdown();
        LevelFixture::TearDown();
    }
    AGVec3 ScreenToWorld(const Entities::Camera&, f32 x, f32 y, f32 depth) override { return {x, y, depth}; }
    void UpdatePropRenderable(Entities::Prop&) override {}

    void Move(f32 x, f32 y) {
        Bridge::sActionData move;
        move.m_X = x;
        move.m_Y = y;
        move.m_PointerVisible = true;
        KorvoGame::TeamActionData data(&move, 0, &member);
        teams.SimulateTeamAction(&data, "Moves");
    }
    Entities::Entity* Hit() {
        cursor.onCollision(nullptr);
        CollisionSystem::Update(&set);
        return cursor.GetCollidedEntity();
    }

    drawtest::TestPackage package;
    KorvoGame::GameFlowManager flow;
    Entities::Set set;
    KorvoGame::ActionManager actions;
    KorvoGame::DeviceManager devices;
    KorvoGame::TeamActionManager teams{actions, devices};
    Entities::BaseTeamMember member;
    KorvoGame::CollisionCursor cursor{"Cursor"};
};

const char kLevel[] =
    "<Props><item><Name>Target</Name><EngineDataFileName>card.spt</EngineDataFileName><PositionX>100</PositionX>"
    "<PositionY>50</PositionY><Visible>true</Visible><Collidable>true</Collidable><Depictors><Collision>"
    "<BoundaryShape>Rectangle</BoundaryShape></Collision></Depictors></item>"
    "<item><Name>Plain</Name><EngineDataFileName>card.spt</EngineDataFileName><Collidable>true</Collidable></item>"
    "</Props><SetElements><item><Name>Ball</Name><EngineDataFileName>desk.mdl</EngineDataFileName>"
    "<PositionX>300</PositionX><Collidable>true</Collidable><Depictors><Collision><BoundaryShape>Box"
    "</BoundaryShape><EntityShape>Sphere</EntityShape></Collision></Depictors></item></SetElements>"
    "<ComponentLevels><ComponentLevel name=\"PlayerCursors\" loadingMode=\"loadinlevel\"><Cameras><item>"
    "<Name>Flat</Name><Orthographic>true</Orthographic><Activate>true</Activate></item></Cameras>"
    "</ComponentLevel><ComponentLevel name=\"View\" loadingMode=\"loadin3dviewport\"><Props><item><Name>Dot"
    "</Name><EngineDataFileName>card.spt</EngineDataFileName><Collidable>true</Collidable><Depictors>"
    "<Collision><BoundaryShape>Rectangle</BoundaryShape></Collision></Depictors></item></Props>"
    "</ComponentLevel></ComponentLevels>";

}  // namespace

TEST_F(Collisions, CursorOverAPropInALevel) {
    WriteLevel("stage", kLevel);
    ASSERT_TRUE(flow.LoadLevel("stage", set));
    Bridge::RenderingSystem::Initialize(&set);
    // The cursor: a 1 x 1 collidable sprite prop of the cursors' level.
    Bridge::RenderableModelData sprite;
    sprite.m_RenderableKind = Bridge::RenderableModelData::kSprite;
    AGSprite pointer;
    pointer.SetSize(1, 1);
    cursor.VolatileDatas.Set(kRENDERABLE_MODEL_DATA, &sprite);
    cursor.VolatileDatas.Set(kENGINE_DATA_SPRITE, &pointer);
    Bridge::CollisionData rectangle;
    rectangle.m_BoundaryShape = "Rectangle";
    CollisionSystem::SetCollisionData(cursor, rectangle);
    cursor.SetCollidable(true);
    member.m_MemberId = 1;
    cursor.SetMember(&member);
    teams.SetEnabled(true);
    Entities::ComponentLevel* cursors = set.FindComponentLevel("PlayerCursors");
    cursors->m_Props.push_back(&cursor);
    CollisionSystem::Initialize(&set);
    cursor.Initialize();
    EXPECT_TRUE(log.Contains("The Boudary shape Box on a sprite is not implemented yet !!!"));
    EXPECT_EQ(set.FindComponentLevel("View")->m_Props[0]->Depictors.m_Map.count(kCOLLISION_OBJECT), 0u);

    Move(0, 0);  // the pointer shows
    Move(104, 54);
    EXPECT_EQ(Hit(), set.FindProp("Target"));
    Move(20, 20);
    EXPECT_EQ(Hit(), nullptr);
    Move(300, 0.5f);  // a box with a sphere detail, the cursor without: a plain hit
    EXPECT_EQ(Hit(), set.FindSetElement("Ball"));
    cursor.SetCollidable(false);
    EXPECT_EQ(Hit(), nullptr);
    cursor.SetCollidable(true);

    // Leaving inside the callback: the pass goes on, the removal follows it.
    struct Leaver : KorvoGame::CollisionCursor {
        void onCollision(Bridge::CollisionResult* r) override {
            hits.push_back(r->m_Other);
            CollisionSystem::UnregisterCollidable(this);
        }
        std::vector<Entities::Entity*> hits;
    } leaver;
    leaver.SetPosition(AGVec3{104, 54, 0});
    leaver.SetCollidable(true);
    leaver.Depictors.m_Map = cursor.Depictors.m_Map;  // the same object, moved to its place
    CollisionSystem::UnregisterCollidable(&cursor);
    CollisionSystem::RegisterCollidable(&leaver);
    CollisionSystem::RegisterCollidable(&cursor);
    Entities::Prop* target = set.FindProp("Target");
    EXPECT_EQ(Hit(), set.FindSetElement("Ball"));  // tested after the leaver left
    EXPECT_EQ(Hit(), set.FindSetElement("Ball"));
    EXPECT_EQ(leaver.hits, (std::vector<Entities::Entity*>{target}));
    EXPECT_TRUE(log.Contains("All the CollisionObject must have a boundary collision shape !!!"));

    // Every record goes back once and no entity keeps one, viewport components included.
    auto& pools = CollisionSystem::Pools();
    EXPECT_EQ(pools.data->GetUsedCount(), 5u);
    CollisionSystem::Cleanup(&set);
    EXPECT_EQ(pools.data->GetUsedCount(), 0u);
    EXPECT_EQ(pools.objects->GetUsedCount() + pools.rectangles->GetUsedCount() + pools.spheres->GetUsedCount() +
                  pools.boxes->GetUsedCount(), 0u);
    CollisionSystem::Reset();
    for (Entities::Prop* e : {target, set.FindComponentLevel("View")->m_Props[0], static_cast<Entities::Prop*>(&cursor)})
        EXPECT_EQ(e->VolatileDatas.GetCollisionData(), nullptr) << e->Name.c_str();
    std::erase(cursors->m_Props, &cursor);
    cursor.Reset();
    Bridge::RenderingSystem::Cleanup(&set);
}
