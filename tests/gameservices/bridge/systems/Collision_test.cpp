#include "gameservices/bridge/systems/CollisionSystem.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/graphics/AGMesh.h"
#include "engine/graphics/AGModel.h"
#include "engine/graphics/AGSprite.h"
#include "gameservices/bridge/systems/BridgeSystems.h"
#include "gameservices/bridge/systems/CollisionObject.h"
#include "gameservices/bridge/systems/RenderingSystem.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/SetElement.h"
#include "gameservices/entities/Team.h"
#include "gameservices/game/CollisionCursor.h"
#include "gameservices/game/GameFlowManager.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/gameservices/game/LevelTestSetup.h"

using namespace GameServices;
using namespace GameServices::Bridge;
using namespace GameServices::Entities::VolatileDataKeys;
using V = std::vector<f32>;

namespace {

V P(const AGVec3& v) { return {v.x, v.y, v.z}; }
// Tested, hit, normal, penetration.
V R(const CollisionResult& r) {
    return {f32(r.m_DetailTested), f32(r.m_DetailHit), r.m_Normal.x,      r.m_Normal.y,
            r.m_Normal.z,          r.m_Penetration.x,  r.m_Penetration.y, r.m_Penetration.z};
}

// Models and sprites for the shapes; a level with a cursor. Screen points are world points.
class Collisions : public LevelFixture, public IRenderingSystem {
protected:
    void SetUp() override {
        LevelFixture::SetUp();
        package.Writer().Add("card.spt", 0, authoring::SpriteBytes(0, 8, 8, ""));
        // ball: the six unit axis points; span: x 0..20, y 0..10 at z 0; tri: one triangle.
        Add("ball", {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}}, {});
        Add("span", {{0, 0, 0}, {20, 0, 0}, {0, 10, 0}, {20, 10, 0}}, {});
        Add("tri", {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}}, {0, 1, 2});
        Add("empty", {}, {});
        package.Mount();
        LoadCapacities(dir, {{"FactoryRenderableModelData", 16}, {"FactoryCollisionData", 6},
                             {"FactoryCollisionObject", 6}, {"FactoryCollisionShapeRectangle", 4},
                             {"FactoryCollisionShapeModel", 1}, {"FactoryCollisionShapeBox", 2}});
        RenderingSystem::Startup();
        CollisionSystem::Startup();
        IRenderingSystem::SetInstance(this);
        flow.SetBridgeSystems(BridgeSystems::Instance());
        KorvoGame::CollisionCursor::SetLevelSetSource([this] { return &set; });
    }
    void TearDown() override {
        KorvoGame::CollisionCursor::SetLevelSetSource(nullptr);
        set.Clear();
        CollisionSystem::Shutdown();
        EXPECT_EQ(ICollisionSystem::Get(), nullptr);
        RenderingSystem::Shutdown();
        LevelFixture::TearDown();
    }
    AGVec3 ScreenToWorld(const Entities::Camera&, f32 x, f32 y, f32 depth) override { return {x, y, depth}; }
    void UpdatePropRenderable(Entities::Prop&) override {}

    void Move(f32 x, f32 y) {
        sActionData move;
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

    void Add(const std::string& name, const std::vector<std::array<float, 3>>& positions,
             const std::vector<u16>& triangles) {
        authoring::VertexBufferData vb;
        vb.positions = positions;
        std::vector<u16> map;
        for (u16 i = 0; i < positions.size(); ++i)
            map.push_back(i);
        const authoring::MeshData mesh{.vertexMap = map, .colorIndex = map, .texCoordIndex = map, .triangles = triangles};
        const authoring::ModelData model{.vertexBufferId = authoring::NameId(name + ".vb"),
                                         .meshIds = {authoring::NameId(name + ".mesh")}, .materialIds = {}};
        package.Writer()
            .Add(name + ".vb", 0, authoring::VertexBufferBytes(vb))
            .Add(name + ".mesh", 0, authoring::MeshBytes(mesh))
            .Add(name + ".mdl", 0, authoring::ModelBytes(model));
    }
    AGModel* Model(const std::string& name) { return package.Get<AGModel>(TypeKey::Model, name + ".mdl"); }
    template <typename S>
    std::unique_ptr<S> Make(const char* model, AGVec3 at, AGVec3 scale = {1, 1, 1}, f32 bscale = 1, f32 rotZ = 0) {
        auto shape = std::make_unique<S>();
        shape->BuildFromModel(Model(model), ShapePlacement{at, scale, 0, 0, rotZ}, bscale, AGVec3{});
        return shape;
    }
    std::unique_ptr<CollisionShape> Ball(i32 type, AGVec3 at) {
        if (type == kShapeCircle)
            return Make<CollisionShapeCircle>("ball", at);
        if (type == kShapeSphere)
            return Make<CollisionShapeSphere>("ball", at);
        if (type == kShapeRectangle)
            return Make<CollisionShapeRectangle>("ball", at);
        return Make<CollisionShapeBox>("ball", at);
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
    "<Props><item><Name>Target</Name><EngineDataFileName>card.spt</EngineDataFileName><PositionX>100</PositionX><Posi"
    "tionY>50</PositionY><Collidable>true</Collidable><Depictors><Collision><BoundaryShape>Rectangle</BoundaryShape><"
    "/Collision></Depictors></item><item><Name>Plain</Name><EngineDataFileName>card.spt</EngineDataFileName><Collidab"
    "le>true</Collidable></item></Props><SetElements><item><Name>Ball</Name><EngineDataFileName>ball.mdl</EngineDataF"
    "ileName><PositionX>300</PositionX><Collidable>true</Collidable><Depictors><Collision><BoundaryShape>Box</Boundar"
    "yShape><EntityShape>Model</EntityShape></Collision></Depictors></item></SetElements><ComponentLevels><Component"
    "Level name=\"PlayerCursors\" loadingMode=\"loadinlevel\"><Cameras><item><Name>Flat</Name><Orthographic>true</Ort"
    "hographic><Activate>true</Activate></item></Cameras><Props><item><Name>Pointer</Name><EngineDataFileName>card.sp"
    "t</EngineDataFileName><Collidable>true</Collidable><Depictors><Collision><BoundaryShape>Rectangle</BoundaryShape"
    "></Collision></Depictors></item></Props></ComponentLevel><ComponentLevel name=\"View\" loadingMode=\"loadin3dvie"
    "wport\"><Props><item><Name>Dot</Name><EngineDataFileName>card.spt</EngineDataFileName><Collidable>true</Collidab"
    "le><Depictors><Collision><BoundaryShape>Rectangle</BoundaryShape></Collision></Depictors></item></Props></Compon"
    "entLevel></ComponentLevels>";

}  // namespace

TEST_F(Collisions, BoundaryPairsByCode) {
    const struct {
        i32 a, b;
        AGVec3 bAt;
        bool hit, reported;
    } rows[] = {
        {kShapeSphere, kShapeSphere, {2, 0, 0}, true, false},  // just touching
        {kShapeSphere, kShapeSphere, {0, 1.5f, 1.5f}, false, false},
        {kShapeCircle, kShapeSphere, {0, 0, 50}, true, false},  // 1002 ignores height
        {kShapeCircle, kShapeCircle, {0, 2.1f, 0}, false, false},
        {kShapeSphere, kShapeCircle, {0, 0, 0}, false, true},  // 2001
        {kShapeSphere, kShapeBox, {0, 0, 0}, false, false},
        {kShapeBox, kShapeSphere, {0, 0, 0}, false, false},
        {kShapeRectangle, kShapeBox, {1.9f, -1.9f, 100}, true, false},  // z ignored
        {kShapeBox, kShapeRectangle, {0, 2.1f, 0}, false, false},
        {kShapeRectangle, kShapeRectangle, {2.1f, 0, 0}, false, false},
        {kShapeBox, kShapeBox, {2, 2, 2}, true, false},
        {kShapeBox, kShapeBox, {0, 0, 2.1f}, false, false},
    };
    for (const auto& r : rows) {
        log.Clear();
        EXPECT_EQ(TestBoundaryShapes(*Ball(r.a, {}), *Ball(r.b, r.bAt)), r.hit) << r.a << r.b;
        EXPECT_EQ(log.Contains("not implemented"), r.reported) << r.a << r.b;
    }
}

TEST_F(Collisions, DetailSphereSphereAndSphereModel) {
    // A unit sphere at a against one at (0, 0, 1), then against the triangle (0,0) (10,0)
    // (0,10) in z = 0, whose edges and corners count as inside.
    CollisionShapeModel tri;
    tri.SetModel(Model("tri"));
    const V miss{1, 0, 0, 0, 0, 0, 0, 0}, face{1, 1, 0, 0, -1, 0, 0, 0};
    const struct {
        AGVec3 a;
        const CollisionShape* b;
        V result;
    } pairs[] = {{{0, 0, 1}, nullptr, {1, 1, 0, 0, 0, 0, 0, 0}}, {{1.5f, 0, 1}, nullptr, {1, 1, 1, 0, 0, 0.5f, 0, 0}},
                 {{2.5f, 0, 1}, nullptr, miss},  {{5, 5, 0.5f}, &tri, face},     {{0, 0, -1}, &tri, face},
                 {{5, 5, 1.5f}, &tri, miss},     {{6, 6, 0}, &tri, miss},        {{-0.5f, 2, 0}, &tri, miss},
                 {{2, -0.5f, 0}, &tri, miss}};
    for (const auto& p : pairs) {
        CollisionResult r;
        auto other = Make<CollisionShapeSphere>("ball", {0, 0, 1});
        EXPECT_EQ(TestDetailShapes(*Ball(kShapeSphere, p.a), p.b ? *p.b : *other, r), p.result[1] == 1);
        EXPECT_EQ(R(r), p.result) << p.a.x << p.a.y;
    }
    // Entries beyond the remap table, or remap values beyond the vertices, are skipped.
    AGOwnedBuffer<u16>* lists = Model("tri")->GetMesh(0)->m_lists;
    CollisionResult skipped;
    lists[AGMesh::kTriangles][1] = 3;
    EXPECT_FALSE(TestDetailShapes(*Ball(kShapeSphere, {5, 5, 0}), tri, skipped));
    lists[AGMesh::kTriangles][1] = 1;
    lists[AGMesh::kVertexMap][2] = 3;
    EXPECT_FALSE(TestDetailShapes(*Ball(kShapeSphere, {5, 5, 0}), tri, skipped));
    EXPECT_FALSE(TestDetailShapes(*Ball(kShapeBox, {}), *Ball(kShapeBox, {}), skipped));
    EXPECT_TRUE(log.Contains("Shape combination collision not implemented yet !!!"));
}

TEST_F(Collisions, BuildersBoundsCentresAndScales) {
    // Flat axes are widened to 10 units; a circle stays in z = 0.
    EXPECT_EQ(Make<CollisionShapeBox>("span", {})->GetLocalMax().z, 5.0f);
    EXPECT_EQ(P(Make<CollisionShapeCircle>("span", {1, 2, 7})->GetWorldCenter()), (V{11, 7, 0}));
    AGSprite sprite;
    sprite.SetSize(8, 4);
    sprite.SetPosition(AGVec2{12, 0});  // placed near its entity by the renderer
    CollisionShapeRectangle card;
    EXPECT_FALSE(card.BuildFromSprite(nullptr, ShapePlacement{}, 1.0f, 0.0f, 0.0f));
    ASSERT_TRUE(card.BuildFromSprite(&sprite, ShapePlacement{{10, 0, 0}}, 1.0f, 1.0f, 2.0f));
    EXPECT_EQ(P(card.GetLocalMin()), (V{2, 0, -5}));
    EXPECT_EQ(P(card.GetLocalMax()), (V{10, 4, 5}));
    EXPECT_EQ(P(card.GetWorldCenter()), (V{17, 4, 0}));
    EXPECT_EQ(P(card.GetHalfExtents()), (V{4, 2, 0}));

    // The world centre holds the scale once, on the build frame and after.
    const std::unique_ptr<CollisionShape> shapes[] = {Make<CollisionShapeRectangle>("span", {100, 0, 0}, {2, 2, 2}),
                                                      Make<CollisionShapeBox>("span", {100, 0, 0}, {2, 2, 2})};
    for (const auto& shape : shapes) {
        EXPECT_EQ(P(shape->GetWorldCenter()), (V{120, 10, 0}));
        shape->Update(ShapePlacement{{100, 0, 0}, {2, 2, 2}});
        EXPECT_EQ(P(shape->GetWorldCenter()), (V{120, 10, 0}));
    }
    EXPECT_EQ(P(Make<CollisionShapeRectangle>("span", {100, 0, 0})->GetWorldCenter()), (V{110, 5, 0}));
    EXPECT_EQ(P(Make<CollisionShapeBox>("span", {100, 0, 0})->GetWorldCenter()), (V{110, 5, 0}));
    // The boundary scale grows the radius and bounds; only the rectangle's centre follows.
    EXPECT_EQ(Make<CollisionShapeSphere>("ball", {}, {1, 3, 2}, 2)->GetWorldRadius(), 6.0f);
    EXPECT_EQ(P(Make<CollisionShapeRectangle>("span", {}, {1, 1, 1}, 2)->GetLocalCenter()), (V{20, 10, 0}));
    auto box = Make<CollisionShapeBox>("span", {}, {1, 1, 1}, 2);
    EXPECT_EQ(P(box->GetLocalCenter()), (V{10, 5, 0}));
    EXPECT_EQ(P(box->GetHalfExtents()), (V{20, 10, 10}));
    // Turned a quarter about z at build time: x and y extents swap.
    EXPECT_NEAR(Make<CollisionShapeBox>("span", {}, {1, 1, 1}, 1, 90)->GetWorldCenter().x, -5.0f, 1e-3f);

    CollisionShapeSphere none;
    EXPECT_FALSE(none.BuildFromModel(Model("empty"), ShapePlacement{}, 1.0f, AGVec3{}));
    EXPECT_EQ(ParseShapeType("Rectangle") * 10 + ParseShapeType("box"), 30);
    EXPECT_TRUE(log.Contains("\"Box\" or \"Model\"box"));
}

TEST_F(Collisions, CursorOverAPropInALevel) {
    WriteLevel("stage", kLevel);
    ASSERT_TRUE(flow.LoadLevel("stage", set));
    RenderingSystem::Initialize(&set);
    // The cursor takes the sprite and collision description of a prop of the cursors' level.
    Entities::ComponentLevel* cursors = set.FindComponentLevel("PlayerCursors");
    cursor.VolatileDatas = cursors->FindProp("Pointer")->VolatileDatas;
    cursor.SetCollidable(true);
    cursor.SetMember(&member);
    teams.SetEnabled(true);
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
    Move(296, 0.5f);  // a box with a model detail, the cursor without: a plain hit
    EXPECT_EQ(Hit(), set.FindSetElement("Ball"));
    cursor.SetCollidable(false);
    EXPECT_EQ(Hit(), nullptr);
    cursor.SetCollidable(true);

    // Leaving inside the callback: the pass goes on, the removal follows it.
    struct Leaver : KorvoGame::CollisionCursor {
        void onCollision(CollisionResult* r) override {
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
    EXPECT_EQ((V{f32(pools.data->GetUsedCount()), f32(pools.objects->GetUsedCount()), f32(pools.models->GetUsedCount())}),
              (V{5, 5, 1}));
    CollisionSystem::Cleanup(&set);
    EXPECT_EQ(pools.data->GetUsedCount(), 0u);
    EXPECT_EQ(pools.objects->GetUsedCount() + pools.rectangles->GetUsedCount() + pools.models->GetUsedCount() +
                  pools.boxes->GetUsedCount(), 0u);
    CollisionSystem::Reset();
    for (Entities::Prop* e : {target, set.FindComponentLevel("View")->m_Props[0], static_cast<Entities::Prop*>(&cursor)})
        EXPECT_EQ(e->VolatileDatas.GetCollisionData(), nullptr) << e->Name.c_str();
    std::erase(cursors->m_Props, &cursor);
    cursor.Reset();
    RenderingSystem::Cleanup(&set);
}
