#include "gameservices/entities/EntityMatrix.h"

#include <gtest/gtest.h>

#include <cstring>

#include "gameservices/entities/Character.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/SetElement.h"

using namespace GameServices::Entities;

namespace {

void ExpectRows(const Matrix44& m, const f32 (&expected)[16]) {
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(m[i], expected[i], 1e-6f) << "element " << i;
}

// p x M for a point (w = 1).
AGVec3 Transform(const Matrix44& m, AGVec3 p) {
    return {p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12],
            p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13],
            p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14]};
}

void ExpectPoint(const AGVec3& p, f32 x, f32 y, f32 z) {
    EXPECT_NEAR(p.x, x, 1e-5f);
    EXPECT_NEAR(p.y, y, 1e-5f);
    EXPECT_NEAR(p.z, z, 1e-5f);
}

}  // namespace

TEST(EntityMatrixTest, PropScaleAndTranslation) {
    Prop prop;
    prop.SetPosition({1, 2, 3});
    prop.SetScale(2.0f);
    Matrix44 m;
    prop.UpdateWorldMatrix(m);
    ExpectRows(m, {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 1, 2, 3, 1});
}

TEST(EntityMatrixTest, RotationsTurnPointsTheWayOfRowVectors) {
    Prop prop;
    prop.SetRotationZ(90.0f);
    Matrix44 m;
    prop.UpdateWorldMatrix(m);
    ExpectPoint(Transform(m, {1, 0, 0}), 0, 1, 0);

    // X then Z: (0,1,0) -> X90 -> (0,0,1) -> Z90 unchanged; (1,0,0) -> (0,1,0).
    prop.SetRotationX(90.0f);
    prop.SetPosition({10, 0, 0});
    prop.SetScale(1.0f, 1.0f, 3.0f);
    prop.UpdateWorldMatrix(m);
    ExpectPoint(Transform(m, {0, 1, 0}), 10, 0, 1);
    // (0,0,1) scales to (0,0,3) first, then X90 gives (0,-3,0) and Z90 (3,0,0).
    ExpectPoint(Transform(m, {0, 0, 1}), 13, 0, 0);
}

namespace {
// A prop whose angle comes from its own getter: the matrix must read it through the getter.
struct TiltedProp : Prop {
    f32 GetRotationY() const override { return 180.0f; }
};
}  // namespace

TEST(EntityMatrixTest, AnglesAreReadThroughTheGetters) {
    TiltedProp prop;
    Matrix44 m;
    prop.UpdateWorldMatrix(m);
    ExpectPoint(Transform(m, {1, 0, 0}), -1, 0, 0);
}

TEST(EntityMatrixTest, CharacterIgnoresScaleAndSetElementScales) {
    Character character;
    character.SetPosition({4, 5, 6});
    character.SetRotationZ(90.0f);
    Matrix44 m;
    character.UpdateWorldMatrix(m);
    ExpectPoint(Transform(m, {1, 0, 0}), 4, 6, 6);

    SetElement element;
    EXPECT_TRUE(element.IsCollidable());
    element.SetPosition({1, 2, 3});
    element.SetScale(AGVec3{2, 3, 4});
    element.UpdateWorldMatrix(m);
    ExpectRows(m, {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 1, 2, 3, 1});
}

TEST(EntityMatrixTest, SetElementsKeepTheirOwnDegreeFactor) {
    EXPECT_NE(Prop::kDegreesToRadians, SetElement::kDegreesToRadians);
    EXPECT_EQ(Prop::kDegreesToRadians, Character::kDegreesToRadians);
    Prop prop;
    SetElement element;
    prop.SetRotationX(37.0f);
    element.SetRotationX(37.0f);
    Matrix44 a, b;
    prop.UpdateWorldMatrix(a);
    element.UpdateWorldMatrix(b);
    Matrix44 expected;
    MatrixRotationX(expected, 37.0f * 0.0174532924f);
    EXPECT_EQ(memcmp(b, expected, sizeof(Matrix44)), 0);
    MatrixRotationX(expected, 37.0f * 0.0174532887f);
    EXPECT_EQ(memcmp(a, expected, sizeof(Matrix44)), 0);
}
