#include "platform/gfx/GfxMath.h"

#include <cmath>

namespace platform::gfx {

namespace {

Vec3 Sub(const Vec3& a, const Vec3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
float Dot(const Vec3& a, const Vec3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec3 Normalize(const Vec3& v) {
    float len = std::sqrt(Dot(v, v));
    if (len == 0.0f)
        return v;
    return {v.x / len, v.y / len, v.z / len};
}

}  // namespace

Matrix MatrixIdentity() {
    return {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
}

Matrix MatrixMultiply(const Matrix& a, const Matrix& b) {
    Matrix r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float s = 0.0f;
            for (int k = 0; k < 4; ++k)
                s += a.m[i * 4 + k] * b.m[k * 4 + j];
            r.m[i * 4 + j] = s;
        }
    return r;
}

Matrix MatrixTranspose(const Matrix& m) {
    Matrix r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i * 4 + j] = m.m[j * 4 + i];
    return r;
}

bool MatrixInverse(const Matrix& in, Matrix& out) {
    // Cofactor expansion through 2x2 sub-determinants of the upper and lower row pairs.
    const float* m = in.m;
    float s0 = m[0] * m[5] - m[4] * m[1];
    float s1 = m[0] * m[6] - m[4] * m[2];
    float s2 = m[0] * m[7] - m[4] * m[3];
    float s3 = m[1] * m[6] - m[5] * m[2];
    float s4 = m[1] * m[7] - m[5] * m[3];
    float s5 = m[2] * m[7] - m[6] * m[3];
    float c5 = m[10] * m[15] - m[14] * m[11];
    float c4 = m[9] * m[15] - m[13] * m[11];
    float c3 = m[9] * m[14] - m[13] * m[10];
    float c2 = m[8] * m[15] - m[12] * m[11];
    float c1 = m[8] * m[14] - m[12] * m[10];
    float c0 = m[8] * m[13] - m[12] * m[9];
    float det = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
    if (det == 0.0f || !std::isfinite(det))
        return false;
    float inv = 1.0f / det;
    float* r = out.m;
    r[0] = (m[5] * c5 - m[6] * c4 + m[7] * c3) * inv;
    r[1] = (-m[1] * c5 + m[2] * c4 - m[3] * c3) * inv;
    r[2] = (m[13] * s5 - m[14] * s4 + m[15] * s3) * inv;
    r[3] = (-m[9] * s5 + m[10] * s4 - m[11] * s3) * inv;
    r[4] = (-m[4] * c5 + m[6] * c2 - m[7] * c1) * inv;
    r[5] = (m[0] * c5 - m[2] * c2 + m[3] * c1) * inv;
    r[6] = (-m[12] * s5 + m[14] * s2 - m[15] * s1) * inv;
    r[7] = (m[8] * s5 - m[10] * s2 + m[11] * s1) * inv;
    r[8] = (m[4] * c4 - m[5] * c2 + m[7] * c0) * inv;
    r[9] = (-m[0] * c4 + m[1] * c2 - m[3] * c0) * inv;
    r[10] = (m[12] * s4 - m[13] * s2 + m[15] * s0) * inv;
    r[11] = (-m[8] * s4 + m[9] * s2 - m[11] * s0) * inv;
    r[12] = (-m[4] * c3 + m[5] * c1 - m[6] * c0) * inv;
    r[13] = (m[0] * c3 - m[1] * c1 + m[2] * c0) * inv;
    r[14] = (-m[12] * s3 + m[13] * s1 - m[14] * s0) * inv;
    r[15] = (m[8] * s3 - m[9] * s1 + m[10] * s0) * inv;
    return true;
}

Matrix MatrixLookAtLH(const Vec3& eye, const Vec3& target, const Vec3& up) {
    Vec3 z = Normalize(Sub(target, eye));
    Vec3 x = Normalize(Cross(up, z));
    Vec3 y = Cross(z, x);
    return {{x.x, y.x, z.x, 0,  //
             x.y, y.y, z.y, 0,  //
             x.z, y.z, z.z, 0,  //
             -Dot(x, eye), -Dot(y, eye), -Dot(z, eye), 1}};
}

Matrix MatrixPerspectiveFovLH(float fovY, float aspect, float zNear, float zFar) {
    float yScale = 1.0f / std::tan(fovY * 0.5f);
    float xScale = yScale / aspect;
    float q = zFar / (zFar - zNear);
    return {{xScale, 0, 0, 0,  //
             0, yScale, 0, 0,  //
             0, 0, q, 1,       //
             0, 0, -zNear * q, 0}};
}

Matrix MatrixOrthoLH(float width, float height, float zNear, float zFar) {
    return {{2.0f / width, 0, 0, 0,   //
             0, 2.0f / height, 0, 0,  //
             0, 0, 1.0f / (zFar - zNear), 0,  //
             0, 0, zNear / (zNear - zFar), 1}};
}

Matrix MatrixRotationQuaternion(const Quaternion& q) {
    float xx = q.x * q.x, yy = q.y * q.y, zz = q.z * q.z;
    float xy = q.x * q.y, xz = q.x * q.z, yz = q.y * q.z;
    float wx = q.w * q.x, wy = q.w * q.y, wz = q.w * q.z;
    return {{1 - 2 * (yy + zz), 2 * (xy + wz), 2 * (xz - wy), 0,  //
             2 * (xy - wz), 1 - 2 * (xx + zz), 2 * (yz + wx), 0,  //
             2 * (xz + wy), 2 * (yz - wx), 1 - 2 * (xx + yy), 0,  //
             0, 0, 0, 1}};
}

Matrix MatrixRotationAxis(const Vec3& axis, float angle) {
    Vec3 a = Normalize(axis);
    float s = std::sin(angle * 0.5f);
    return MatrixRotationQuaternion({a.x * s, a.y * s, a.z * s, std::cos(angle * 0.5f)});
}

Matrix MatrixRotationZ(float angle) {
    float c = std::cos(angle), s = std::sin(angle);
    return {{c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
}

Vec3 Vec3TransformCoord(const Vec3& v, const Matrix& m) {
    const float* a = m.m;
    float x = v.x * a[0] + v.y * a[4] + v.z * a[8] + a[12];
    float y = v.x * a[1] + v.y * a[5] + v.z * a[9] + a[13];
    float z = v.x * a[2] + v.y * a[6] + v.z * a[10] + a[14];
    float w = v.x * a[3] + v.y * a[7] + v.z * a[11] + a[15];
    if (w == 0.0f)
        return {x, y, z};
    return {x / w, y / w, z / w};
}

Vec3 Vec3Project(const Vec3& v, const Viewport& vp, const Matrix& projection, const Matrix& view,
                 const Matrix& world) {
    Matrix wvp = MatrixMultiply(MatrixMultiply(world, view), projection);
    Vec3 c = Vec3TransformCoord(v, wvp);
    return {float(vp.x) + (1.0f + c.x) * float(vp.width) * 0.5f,
            float(vp.y) + (1.0f - c.y) * float(vp.height) * 0.5f,
            vp.minZ + c.z * (vp.maxZ - vp.minZ)};
}

}  // namespace platform::gfx
