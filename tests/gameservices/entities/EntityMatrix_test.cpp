#include "gameservices/entities/EntityMatrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "gameservices/entities/Character.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/SetElement.h"

using namespace GameServices::Entities;

namespace {

using Rows = double[4][4];

void Identity(Rows& m) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            m[r][c] = r == c ? 1.0 : 0.0;
}

// m = m x t, full 4x4.
void Multiply(Rows& m, const Rows& t) {
    Rows r{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            for (int k = 0; k < 4; ++k)
                r[i][j] += m[i][k] * t[k][j];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            m[i][j] = r[i][j];
}

// The world matrix of row vectors: p x S x Rx x Ry x Rz, then the position.
void Reference(Rows& m, AGVec3 degrees, AGVec3 position, AGVec3 scale) {
    const double k = 3.14159265358979 / 180.0;
    const double x = degrees.x * k, y = degrees.y * k, z = degrees.z * k;
    Identity(m);
    m[0][0] = scale.x;
    m[1][1] = scale.y;
    m[2][2] = scale.z;
    const Rows rx = {{1, 0, 0, 0}, {0, cos(x), sin(x), 0}, {0, -sin(x), cos(x), 0}, {0, 0, 0, 1}};
    const Rows ry = {{cos(y), 0, -sin(y), 0}, {0, 1, 0, 0}, {sin(y), 0, cos(y), 0}, {0, 0, 0, 1}};
    const Rows rz = {{cos(z), sin(z), 0, 0}, {-sin(z), cos(z), 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    Multiply(m, rx);
    Multiply(m, ry);
    Multiply(m, rz);
    m[3][0] = position.x;
    m[3][1] = position.y;
    m[3][2] = position.z;
}

void ExpectMatrix(const Matrix44& actual, AGVec3 degrees, AGVec3 position, AGVec3 scale) {
    Rows expected;
    Reference(expected, degrees, position, scale);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(actual[i], expected[i / 4][i % 4], 2e-5) << "element " << i;
}

template <typename T>
void Place(T& entity, AGVec3 degrees, AGVec3 position) {
    entity.SetRotationX(degrees.x);
    entity.SetRotationY(degrees.y);
    entity.SetRotationZ(degrees.z);
    entity.SetPosition(position);
}

}  // namespace

TEST(EntityMatrixTest, PropsAndSetElementsScaleThenRotateAboutXYZThenTranslate) {
    const AGVec3 cases[][3] = {
        // degrees, position, scale
        {{0, 0, 0}, {1, 2, 3}, {2, 2, 2}},
        {{0, 0, 90}, {0, 0, 0}, {1, 1, 1}},
        {{30, 0, 0}, {-1, 0, 5}, {1, 2, 3}},
        {{0, -45, 0}, {0, 7, 0}, {3, 1, 0.5f}},
        {{30, 45, 60}, {1, 2, 3}, {2, 3, 4}},
    };
    for (const auto& c : cases) {
        Prop prop;
        Place(prop, c[0], c[1]);
        prop.SetScale(c[2]);
        Matrix44 m;
        prop.UpdateWorldMatrix(m);
        SCOPED_TRACE(testing::Message() << "prop " << c[0].x << " " << c[0].y << " " << c[0].z);
        ExpectMatrix(m, c[0], c[1], c[2]);

        SetElement element;
        Place(element, c[0], c[1]);
        element.SetScale(c[2].x, c[2].y, c[2].z);
        element.UpdateWorldMatrix(m);
        ExpectMatrix(m, c[0], c[1], c[2]);
    }
}

TEST(EntityMatrixTest, CharactersIgnoreScaleAndUniformScaleFillsAllThree) {
    Character character;
    Place(character, {10, 20, 30}, {4, 5, 6});
    Matrix44 m;
    character.UpdateWorldMatrix(m);
    ExpectMatrix(m, {10, 20, 30}, {4, 5, 6}, {1, 1, 1});

    Prop prop;
    prop.SetScale(2.5f);
    AGVec3 a;
    prop.GetScale(a);
    EXPECT_EQ((std::vector<f32>{a.x, a.y, a.z}), std::vector<f32>(3, 2.5f));
}

TEST(EntityMatrixTest, RotationHelpersFillAllSixteenElements) {
    const f32 a = 0.3f, c = std::cos(a), s = std::sin(a);
    const std::pair<void (*)(Matrix44&, f32), std::vector<f32>> helpers[] = {
        {MatrixRotationX, {1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1}},
        {MatrixRotationY, {c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1}},
        {MatrixRotationZ, {c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}},
        {[](Matrix44& m, f32) { MatrixIdentity(m); },
         {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}},
    };
    for (const auto& [helper, expected] : helpers) {
        Matrix44 m;
        helper(m, a);
        EXPECT_EQ(std::vector<f32>(m, m + 16), expected);
    }
}
