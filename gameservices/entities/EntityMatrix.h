#pragma once
// 4x4 matrices of the spatial entities: row-major floats acting on row vectors (p' = p x M),
// the translation in elements 12 to 14. Angles are radians here.
#include "engine/core/AGVec3.h"

namespace GameServices::Entities {

using Matrix44 = f32[16];

void MatrixIdentity(Matrix44& m);
void MatrixRotationX(Matrix44& m, f32 angle);
void MatrixRotationY(Matrix44& m, f32 angle);
void MatrixRotationZ(Matrix44& m, f32 angle);
// m = m x t as an affine product: the upper 3x3 and the translation row are combined,
// column 3 of m is kept.
void MatrixMultiply(Matrix44& m, const Matrix44& t);
// Rows 0, 1 and 2 (all four entries) times s.x, s.y and s.z.
void MatrixScale(Matrix44& m, const AGVec3& s);
void MatrixCopy(Matrix44& dst, const Matrix44& src);

// m = Rx x Ry x Rz (each skipped when its angle is 0, angles in degrees times k), then the
// translation row set to the position. The placement shared by props, characters and set
// elements.
void ComposeRotationTranslation(Matrix44& m, f32 rotationX, f32 rotationY, f32 rotationZ,
                                f32 degreesToRadians, const AGVec3& position);

}  // namespace GameServices::Entities
