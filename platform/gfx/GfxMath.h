#pragma once
// Matrix helpers of the device's conventions: row-major matrices for row vectors
// (v' = v * M), left-handed coordinates, clip z in [0, 1].
#include "platform/gfx/GfxTypes.h"

namespace platform::gfx {

Matrix MatrixIdentity();
// a * b: applies a first, then b.
Matrix MatrixMultiply(const Matrix& a, const Matrix& b);
// False (and out untouched) when m is singular.
bool MatrixInverse(const Matrix& m, Matrix& out);
Matrix MatrixTranspose(const Matrix& m);

// View matrix looking from eye at target; up need not be orthogonal to the view direction.
Matrix MatrixLookAtLH(const Vec3& eye, const Vec3& target, const Vec3& up);
// fovY in radians; aspect = width / height; depth maps near -> 0, far -> 1.
Matrix MatrixPerspectiveFovLH(float fovY, float aspect, float zNear, float zFar);
// Centred orthographic volume of width x height; depth maps near -> 0, far -> 1.
Matrix MatrixOrthoLH(float width, float height, float zNear, float zFar);

// Rotation by angle radians about axis (need not be unit length), clockwise when looking
// along the axis towards the origin, as left-handed rotations go.
Matrix MatrixRotationAxis(const Vec3& axis, float angle);
Matrix MatrixRotationZ(float angle);
// Rotation of a unit quaternion.
Matrix MatrixRotationQuaternion(const Quaternion& q);

// Transforms a point by world * view * projection, divides by w and maps it into the
// viewport: x and y in pixels (top-left origin), z into [minZ, maxZ].
Vec3 Vec3Project(const Vec3& v, const Viewport& viewport, const Matrix& projection,
                 const Matrix& view, const Matrix& world);
// Transforms a point (w = 1) and divides by the resulting w.
Vec3 Vec3TransformCoord(const Vec3& v, const Matrix& m);

}  // namespace platform::gfx
