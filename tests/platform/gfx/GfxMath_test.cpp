// Matrix helpers against values worked out by hand.
#include "platform/gfx/GfxMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using namespace platform::gfx;

void ExpectMatrix(const Matrix& actual, const Matrix& expected) {
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(actual.m[i], expected.m[i], 1e-5f) << "element " << i;
}

TEST(GfxMath, LookAtAndProjections) {
    // Eye at (0, 0, -10) looking at the origin: the view is a plain translation by +10 in z.
    ExpectMatrix(MatrixLookAtLH({0, 0, -10}, {0, 0, 0}, {0, 1, 0}),
                 {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 10, 1}});
    // Looking down +x from the origin: world +x is view +z, world +z is view -x.
    ExpectMatrix(MatrixLookAtLH({0, 0, 0}, {5, 0, 0}, {0, 1, 0}),
                 {{0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 0, 1}});
    // 90 degrees vertical, aspect 2, near 1, far 101: y scale 1, x scale 0.5, q = 101 / 100,
    // -near * q = -1.01; the near plane maps to depth 0 and the far plane to 1.
    Matrix p = MatrixPerspectiveFovLH(float(M_PI) / 2, 2.0f, 1.0f, 101.0f);
    ExpectMatrix(p, {{0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1.01f, 1, 0, 0, -1.01f, 0}});
    EXPECT_NEAR(Vec3TransformCoord({0, 0, 101}, p).z, 1.0f, 1e-5f);
    ExpectMatrix(MatrixOrthoLH(800, 600, 0, 10),
                 {{0.0025f, 0, 0, 0, 0, 1.0f / 300, 0, 0, 0, 0, 0.1f, 0, 0, 0, 0, 1}});
}

TEST(GfxMath, RotationsAgree) {
    const float a = 0.3f;
    const Matrix z = MatrixRotationZ(a);
    const float c = std::cos(a), s = std::sin(a);
    ExpectMatrix(z, {{c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}});
    ExpectMatrix(MatrixRotationAxis({0, 0, 2}, a), z);
    // Left-handed: a quarter turn about +y takes +z to +x.
    Vec3 v = Vec3TransformCoord({0, 0, 1}, MatrixRotationAxis({0, 1, 0}, float(M_PI) / 2));
    EXPECT_NEAR(v.x, 1.0f, 1e-5f);
    EXPECT_NEAR(v.z, 0.0f, 1e-5f);
    ExpectMatrix(MatrixRotationQuaternion({0, std::sin(0.25f), 0, std::cos(0.25f)}),
                 MatrixRotationAxis({0, 1, 0}, 0.5f));
}

// A general matrix (no zero, no symmetry) times its inverse is the identity, both ways; a
// singular one has none. The transpose of a product is the product of transposes, reversed.
TEST(GfxMath, InverseTransposeAndProduct) {
    const Matrix m = {{2, 3, 1, 5, 1, 4, 3, 1, 7, 2, -3, 2, 1, 2, 3, 1}};
    Matrix inverse;
    ASSERT_TRUE(MatrixInverse(m, inverse));
    ExpectMatrix(MatrixMultiply(m, inverse), MatrixIdentity());
    ExpectMatrix(MatrixMultiply(inverse, m), MatrixIdentity());
    ExpectMatrix(MatrixMultiply(m, MatrixIdentity()), m);
    // Row 0 of m times column 0 of its transpose: 4 + 9 + 1 + 25.
    EXPECT_FLOAT_EQ(MatrixMultiply(m, MatrixTranspose(m)).m[0], 39.0f);
    ExpectMatrix(MatrixTranspose(m), {{2, 1, 7, 1, 3, 4, 2, 2, 1, 3, -3, 3, 5, 1, 2, 1}});
    // A point through it: (26, 19, 1) over w = 14.
    const Vec3 point = Vec3TransformCoord({1, 2, 3}, m);
    EXPECT_EQ(std::vector<float>({point.x, point.y, point.z}),
              std::vector<float>({26.0f / 14, 19.0f / 14, 1.0f / 14}));
    const Matrix singular = {{1, 2, 3, 4, 2, 4, 6, 8, 0, 1, 0, 1, 1, 0, 1, 0}};
    EXPECT_FALSE(MatrixInverse(singular, inverse));
}

}  // namespace
