#include "gameservices/entities/EntityMatrix.h"

#include <gtest/gtest.h>

#include "gameservices/entities/Character.h"
#include "gameservices/entities/Prop.h"

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
}

TEST(EntityMatrixTest, CharacterIgnoresScale) {
    Character character;
    character.SetPosition({4, 5, 6});
    character.SetRotationZ(90.0f);
    Matrix44 m;
    character.UpdateWorldMatrix(m);
    ExpectPoint(Transform(m, {1, 0, 0}), 4, 6, 6);
}
