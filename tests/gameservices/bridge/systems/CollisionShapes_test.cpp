#include "gameservices/bridge/systems/CollisionShapes.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/graphics/AGMesh.h"
#include "engine/graphics/AGModel.h"
#include "engine/graphics/AGSprite.h"
#include "gameservices/bridge/systems/CollisionObject.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/support/LogCapture.h"

using namespace GameServices::Bridge;
using Points = std::vector<std::array<float, 3>>;

namespace {

class CollisionShapes : public ::testing::Test {
protected:
    void SetUp() override {
        // ball: the six unit axis points; span: x 0..20, y 0..10 at z 0; tri: one triangle.
        Add("ball", {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}}, {});
        Add("span", {{0, 0, 0}, {20, 0, 0}, {0, 10, 0}, {20, 10, 0}}, {0, 1, 2, 1, 3, 2});
        Add("tri", {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}}, {0, 1, 2});
        Add("empty", {}, {});
        package.Mount();
    }
    void Add(const std::string& name, const Points& positions, const std::vector<u16>& triangles) {
        authoring::VertexBufferData vb;
        vb.positions = positions;
        vb.colors.assign(positions.size(), 0xFFFFFFFFu);
        vb.texCoords.assign(positions.size(), {0, 0});
        authoring::MeshData mesh;
        for (u16 i = 0; i < positions.size(); ++i)
            mesh.vertexMap.push_back(i);
        mesh.colorIndex = mesh.texCoordIndex = mesh.vertexMap;
        mesh.triangles = triangles;
        authoring::ModelData model;
        model.vertexBufferId = authoring::NameId(name + ".vb");
        model.meshIds = {authoring::NameId(name + ".mesh")};
        package.Writer()
            .Add(name + ".vb", 0, authoring::VertexBufferBytes(vb))
            .Add(name + ".mesh", 0, authoring::MeshBytes(mesh))
            .Add(name + ".mdl", 0, authoring::ModelBytes(model));
    }
    AGModel* Model(const std::string& name) { return package.Get<AGModel>(TypeKey::Model, name + ".mdl"); }

    // A shape of the type built from the model at the placement.
    std::unique_ptr<CollisionShape> Shape(i32 type, const char* model, AGVec3 at, AGVec3 scale = {1, 1, 1},
                                          f32 boundaryScale = 1.0f, f32 rotZ = 0.0f) {
        const ShapePlacement placement{at, scale, 0.0f, 0.0f, rotZ};
        auto build = [&](auto* shape) {
            shape->BuildFromModel(Model(model), placement, boundaryScale, AGVec3{});
            return std::unique_ptr<CollisionShape>(shape);
        };
        switch (type) {
        case kShapeCircle:
            return build(new CollisionShapeCircle);
        case kShapeSphere:
            return build(new CollisionShapeSphere);
        case kShapeRectangle:
            return build(new CollisionShapeRectangle);
        default:
            return build(new CollisionShapeBox);
        }
    }
    using V = std::vector<f32>;
    static const CollisionShapeBounds& B(const std::unique_ptr<CollisionShape>& s) {
        return static_cast<const CollisionShapeBounds&>(*s);
    }
    static V P(const AGVec3& v) { return {v.x, v.y, v.z}; }
    static V R(const CollisionResult& r) {
        return {f32(r.m_DetailTested), f32(r.m_DetailHit), r.m_Normal.x,      r.m_Normal.y,
                r.m_Normal.z,          r.m_Penetration.x,  r.m_Penetration.y, r.m_Penetration.z};
    }

    drawtest::TestPackage package;
    LogCapture log;
};

}  // namespace

TEST_F(CollisionShapes, BoundaryPairsByCode) {
    const struct {
        i32 a;
        AGVec3 at;
        i32 b;
        AGVec3 bt;
        bool hit;
        bool reported;
    } rows[] = {
        {kShapeSphere, {0, 0, 0}, kShapeSphere, {2, 0, 0}, true, false},      // just touching
        {kShapeSphere, {0, 0, 0}, kShapeSphere, {0, 1.5f, 1.5f}, false, false},
        {kShapeCircle, {0, 0, 0}, kShapeSphere, {0, 0, 50}, true, false},     // 1002 ignores height
        {kShapeCircle, {0, 0, 0}, kShapeCircle, {0, 2.1f, 0}, false, false},
        {kShapeSphere, {0, 0, 0}, kShapeCircle, {0, 0, 0}, false, true},      // 2001
        {kShapeSphere, {0, 0, 0}, kShapeBox, {0, 0, 0}, false, false},
        {kShapeBox, {0, 0, 0}, kShapeSphere, {0, 0, 0}, false, false},
        {kShapeRectangle, {0, 0, 0}, kShapeBox, {1.9f, -1.9f, 100}, true, false},  // z ignored
        {kShapeBox, {0, 0, 0}, kShapeRectangle, {0, 2.1f, 0}, false, false},
        {kShapeRectangle, {0, 0, 0}, kShapeRectangle, {2.1f, 0, 0}, false, false},
        {kShapeBox, {0, 0, 0}, kShapeBox, {2, 2, 2}, true, false},
        {kShapeBox, {0, 0, 0}, kShapeBox, {0, 0, 2.1f}, false, false},
    };
    for (const auto& r : rows) {
        log.Clear();
        EXPECT_EQ(TestBoundaryShapes(*Shape(r.a, "ball", r.at), *Shape(r.b, "ball", r.bt)), r.hit) << r.a << r.b;
        EXPECT_EQ(log.Contains("not implemented"), r.reported) << r.a << r.b;
    }
}

TEST_F(CollisionShapes, DetailSphereSphereAndSphereModel) {
    // Tested, hit, normal, penetration of a unit sphere at a against one at the origin.
    const struct {
        AGVec3 a;
        std::vector<f32> result;
    } pairs[] = {{{0, 0, 0}, {1, 1, 0, 0, 0, 0, 0, 0}}, {{1.5f, 0, 0}, {1, 1, 1, 0, 0, 0.5f, 0, 0}},
                 {{2.5f, 0, 0}, {1, 0, 0, 0, 0, 0, 0, 0}}};
    for (const auto& p : pairs) {
        CollisionResult r;
        EXPECT_EQ(TestDetailShapes(*Shape(kShapeSphere, "ball", p.a), *Shape(kShapeSphere, "ball", {}), r),
                  p.result[1] == 1);
        EXPECT_EQ(R(r), p.result) << p.a.x;
    }
    // A unit sphere against the triangle (0,0) (10,0) (0,10) in z = 0: edges and corners count.
    CollisionShapeModel tri;
    tri.SetModel(Model("tri"));
    const struct {
        AGVec3 centre;
        bool inside;
    } spheres[] = {{{5, 5, 0.5f}, true}, {{0, 0, -1}, true}, {{5, 5, 1.5f}, false}, {{6, 6, 0}, false},
                   {{-0.5f, 2, 0}, false}, {{2, -0.5f, 0}, false}};
    for (const auto& s : spheres) {
        CollisionResult r;
        EXPECT_EQ(TestDetailShapes(*Shape(kShapeSphere, "ball", s.centre), tri, r), s.inside) << s.centre.x;
        EXPECT_EQ(R(r), s.inside ? (V{1, 1, 0, 0, -1, 0, 0, 0}) : (V{1, 0, 0, 0, 0, 0, 0, 0})) << s.centre.x;
    }
    // Entries beyond the remap table, or remap values beyond the vertices, are skipped.
    AGOwnedBuffer<u16>* lists = Model("tri")->GetMesh(0)->m_lists;
    CollisionResult skipped;
    lists[AGMesh::kTriangles][1] = 3;
    EXPECT_FALSE(TestDetailShapes(*Shape(kShapeSphere, "ball", {5, 5, 0}), tri, skipped));
    lists[AGMesh::kTriangles][1] = 1;
    lists[AGMesh::kVertexMap][2] = 3;
    EXPECT_FALSE(TestDetailShapes(*Shape(kShapeSphere, "ball", {5, 5, 0}), tri, skipped));
    EXPECT_FALSE(log.Contains("not implemented"));
    EXPECT_FALSE(TestDetailShapes(*Shape(kShapeBox, "ball", {}), *Shape(kShapeBox, "ball", {}), skipped));
    EXPECT_TRUE(log.Contains("Shape combination collision not implemented yet !!!"));
}

TEST_F(CollisionShapes, BuildersBoundsCentresAndScales) {
    // Flat axes are widened to 10 units; a circle stays in z = 0.
    auto flat = Shape(kShapeBox, "span", {});
    EXPECT_EQ(P(B(flat).GetLocalMin()).back() + 10 * P(B(flat).GetLocalMax()).back(), 45.0f);
    EXPECT_EQ(P(Shape(kShapeCircle, "ball", {1, 2, 7})->GetWorldCenter()), (V{1, 2, 0}));
    AGSprite sprite;
    sprite.SetSize(8, 4);
    sprite.SetPosition(AGVec2{10, 0});  // placed at its entity by the renderer
    CollisionShapeRectangle card;
    ASSERT_TRUE(card.BuildFromSprite(&sprite, ShapePlacement{{10, 0, 0}}, 1.0f, 1.0f, 2.0f));
    EXPECT_EQ(P(card.GetLocalMin()), (V{0, 0, -5}));
    EXPECT_EQ(P(card.GetLocalMax()), (V{8, 4, 5}));
    EXPECT_EQ(P(card.GetWorldCenter()), (V{15, 4, 0}));
    EXPECT_EQ(P(card.GetHalfExtents()), (V{4, 2, 0}));

    // The world centre holds the scale once, on the build frame and after.
    for (i32 type : {kShapeRectangle, kShapeBox}) {
        auto shape = Shape(type, "span", {100, 0, 0}, {2, 2, 2});
        EXPECT_EQ(P(shape->GetWorldCenter()), (V{120, 10, 0}));
        shape->Update(ShapePlacement{{100, 0, 0}, {2, 2, 2}});
        EXPECT_EQ(P(shape->GetWorldCenter()), (V{120, 10, 0}));
        EXPECT_EQ(P(Shape(type, "span", {100, 0, 0})->GetWorldCenter()), (V{110, 5, 0}));
    }
    // The boundary scale grows the radius and bounds; only the rectangle's centre follows.
    auto sphere = Shape(kShapeSphere, "ball", {}, {1, 3, 2}, 2.0f);
    EXPECT_EQ(static_cast<CollisionShapeRound&>(*sphere).GetWorldRadius(), 6.0f);
    EXPECT_EQ(P(B(Shape(kShapeRectangle, "span", {}, {1, 1, 1}, 2.0f)).GetLocalCenter()), (V{20, 10, 0}));
    auto box = Shape(kShapeBox, "span", {}, {1, 1, 1}, 2.0f);
    EXPECT_EQ(P(B(box).GetLocalCenter()), (V{10, 5, 0}));
    EXPECT_EQ(P(B(box).GetHalfExtents()), (V{20, 10, 10}));
    // Turned a quarter about z at build time: x and y extents swap.
    auto turned = Shape(kShapeBox, "span", {}, {1, 1, 1}, 1.0f, 90.0f);
    EXPECT_NEAR(B(turned).GetHalfExtents().x, 5.0f, 1e-4f);
    EXPECT_NEAR(B(turned).GetHalfExtents().y, 10.0f, 1e-4f);

    CollisionShapeSphere none;
    EXPECT_FALSE(none.BuildFromModel(Model("empty"), ShapePlacement{}, 1.0f, AGVec3{}));
    EXPECT_TRUE(log.Contains("no vertices"));
    EXPECT_FALSE(none.BuildFromModel(nullptr, ShapePlacement{}, 1.0f, AGVec3{}));
    EXPECT_TRUE(log.Contains("The AGModel is null, can't generate the Collision Sphere !!!"));
    EXPECT_EQ(ParseShapeType("Rectangle"), kShapeRectangle);
    EXPECT_EQ(ParseShapeType("box"), kShapeNone);
    EXPECT_TRUE(log.Contains("\"Box\" or \"Model\"box"));
}
