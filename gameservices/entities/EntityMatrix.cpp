#include "gameservices/entities/EntityMatrix.h"

#include <cmath>
#include <cstring>

namespace GameServices::Entities {

namespace {

void SetRows(Matrix44& m, const f32 (&rows)[16]) {
    memcpy(m, rows, sizeof(Matrix44));
}

}  // namespace

void MatrixIdentity(Matrix44& m) {
    SetRows(m, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
}

void MatrixRotationX(Matrix44& m, f32 a) {
    const f32 c = std::cos(a), s = std::sin(a);
    SetRows(m, {1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1});
}

void MatrixRotationY(Matrix44& m, f32 a) {
    const f32 c = std::cos(a), s = std::sin(a);
    SetRows(m, {c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1});
}

void MatrixRotationZ(Matrix44& m, f32 a) {
    const f32 c = std::cos(a), s = std::sin(a);
    SetRows(m, {c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
}

void MatrixMultiply(Matrix44& m, const Matrix44& t) {
    Matrix44 r;
    MatrixCopy(r, m);
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 3; ++col) {
            f32 sum = 0.0f;
            for (int k = 0; k < 3; ++k)
                sum += m[row * 4 + k] * t[k * 4 + col];
            if (row == 3)
                sum += t[12 + col];
            r[row * 4 + col] = sum;
        }
    }
    MatrixCopy(m, r);
}

void MatrixScale(Matrix44& m, const AGVec3& s) {
    const f32 factors[3] = {s.x, s.y, s.z};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col)
            m[row * 4 + col] *= factors[row];
}

void MatrixCopy(Matrix44& dst, const Matrix44& src) {
    memcpy(dst, src, sizeof(Matrix44));
}

void ComposeRotationTranslation(Matrix44& m, f32 rotationX, f32 rotationY, f32 rotationZ,
                                f32 k, const AGVec3& position) {
    MatrixIdentity(m);
    Matrix44 rotation;
    if (rotationX != 0.0f) {
        MatrixRotationX(rotation, rotationX * k);
        MatrixMultiply(m, rotation);
    }
    if (rotationY != 0.0f) {
        MatrixRotationY(rotation, rotationY * k);
        MatrixMultiply(m, rotation);
    }
    if (rotationZ != 0.0f) {
        MatrixRotationZ(rotation, rotationZ * k);
        MatrixMultiply(m, rotation);
    }
    m[12] = position.x;
    m[13] = position.y;
    m[14] = position.z;
}

}  // namespace GameServices::Entities
