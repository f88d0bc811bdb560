// The pair tests between collision objects.
#include <cmath>

#include "engine/core/AGLog.h"
#include "engine/graphics/AGMesh.h"
#include "engine/graphics/AGModel.h"
#include "engine/graphics/AGVertexBuffer.h"
#include "gameservices/bridge/systems/CollisionObject.h"

namespace GameServices::Bridge {

namespace {

AGVec3 Sub(const AGVec3& a, const AGVec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
f32 Dot(const AGVec3& a, const AGVec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
f32 Length(const AGVec3& a) { return std::sqrt(Dot(a, a)); }

void NotImplemented() { AGReport("Shape combination collision not implemented yet !!!"); }

const CollisionShapeRound& Round(const CollisionShape& s) { return static_cast<const CollisionShapeRound&>(s); }
const CollisionShapeBounds& Bounds(const CollisionShape& s) { return static_cast<const CollisionShapeBounds&>(s); }

// Touching counts; a NaN distance does not.
bool WithinRadii(const CollisionShape& a, const CollisionShape& b, bool ignoreZ) {
    AGVec3 d = Sub(Round(a).GetWorldCenter(), Round(b).GetWorldCenter());
    if (ignoreZ)
        d.z = 0.0f;
    return Round(a).GetWorldRadius() + Round(b).GetWorldRadius() >= Length(d);
}

bool Overlap(const CollisionShape& a, const CollisionShape& b, bool withZ) {
    const AGVec3 ca = Bounds(a).GetWorldCenter(), cb = Bounds(b).GetWorldCenter();
    const AGVec3 ha = Bounds(a).GetHalfExtents(), hb = Bounds(b).GetHalfExtents();
    return std::fabs(cb.x - ca.x) <= ha.x + hb.x && std::fabs(cb.y - ca.y) <= ha.y + hb.y &&
           (!withZ || std::fabs(cb.z - ca.z) <= ha.z + hb.z);
}

bool SphereSphere(const CollisionShape& a, const CollisionShape& b, CollisionResult& result) {
    result.m_DetailTested = 1;
    const bool hit = WithinRadii(a, b, false);
    result.m_DetailHit = hit ? 1 : 0;
    if (!hit)
        return false;
    const AGVec3 n = Sub(a.GetWorldCenter(), b.GetWorldCenter());
    result.m_Normal = n;
    const f32 length = Length(n);
    if (length == 0.0f)
        return true;
    const AGVec3 normal{n.x / length, n.y / length, n.z / length};
    const f32 depth = Round(a).GetWorldRadius() + Round(b).GetWorldRadius() - length;
    result.m_Normal = normal;
    result.m_Penetration = AGVec3{normal.x * depth, normal.y * depth, normal.z * depth};
    return true;
}

// The triangles of the model's first mesh; a triangle whose entries leave the remap table,
// or whose remap values leave the vertex positions, is skipped.
bool SphereModel(const CollisionShape& sphere, const CollisionShapeModel& shape, CollisionResult& result) {
    result.m_DetailTested = 1;
    const AGModel* model = shape.GetModel();
    const AGMesh* mesh = model ? model->GetMesh(0) : nullptr;
    const AGVertexBuffer* buffer = model ? model->GetVertexBuffer() : nullptr;
    if (!mesh || !buffer)
        return false;
    const AGOwnedBuffer<u16>& remap = mesh->m_lists[AGMesh::kVertexMap];
    const AGOwnedBuffer<u16>& triangles = mesh->m_lists[AGMesh::kTriangles];
    const AGOwnedBuffer<AGVec3>& positions = buffer->m_positions;
    const AGVec3 centre = sphere.GetWorldCenter();
    const f32 radius = Round(sphere).GetWorldRadius();
    for (u32 t = 0; t + 2 < triangles.Count(); t += 3) {
        AGVec3 p[3];
        bool valid = true;
        for (u32 k = 0; k < 3 && valid; ++k) {
            const u16 entry = triangles[t + k];
            valid = entry < remap.Count() && remap[entry] < positions.Count();
            if (valid)
                p[k] = TransformPoint(shape.GetTransform(), positions[remap[entry]]);
        }
        if (!valid)
            continue;
        const AGVec3 e1 = Sub(p[1], p[0]), e2 = Sub(p[2], p[0]);
        const AGVec3 n{e2.y * e1.z - e2.z * e1.y, e2.z * e1.x - e2.x * e1.z, e2.x * e1.y - e2.y * e1.x};
        const f32 nLength = Length(n);
        if (nLength == 0.0f)
            continue;
        const AGVec3 normal{n.x / nLength, n.y / nLength, n.z / nLength};
        const AGVec3 d = Sub(centre, p[0]);
        if (std::fabs(Dot(d, normal)) > radius)
            continue;
        const f32 a = Dot(e1, e1), b = Dot(e1, e2), c = Dot(e2, e2), pp = Dot(d, e1), q = Dot(d, e2);
        const f32 det = a * c - b * b;
        const f32 s1 = (c * pp - b * q) / det, s2 = (a * q - b * pp) / det;
        if (s1 >= 0.0f && s1 <= 1.0f && s2 >= 0.0f && s1 + s2 <= 1.0f) {
            result.m_DetailHit = 1;
            result.m_Normal = normal;
            return true;
        }
    }
    return false;
}

}  // namespace

bool TestBoundaryShapes(const CollisionShape& first, const CollisionShape& second) {
    switch (first.GetType() * 1000 + second.GetType()) {
    case 1001:
    case 2002:
        return WithinRadii(first, second, false);
    case 1002:
        return WithinRadii(first, second, true);
    case 3003:
    case 3004:
    case 4003:
        return Overlap(first, second, false);
    case 4004:
        return Overlap(first, second, true);
    case 2004:
    case 4002:
        return false;
    default:
        NotImplemented();
        return false;
    }
}

bool TestDetailShapes(const CollisionShape& first, const CollisionShape& second, CollisionResult& result) {
    switch (first.GetType() * 1000 + second.GetType()) {
    case 2002:
        return SphereSphere(first, second, result);
    case 2005:
        return SphereModel(first, static_cast<const CollisionShapeModel&>(second), result);
    default:
        NotImplemented();
        return false;
    }
}

bool CollisionObject::Collide(const CollisionObject& a, const CollisionObject& b, CollisionResult& result) {
    if (!a.m_Boundary || !b.m_Boundary) {
        AGReport("All the CollisionObject must have a boundary collision shape !!!");
        return false;
    }
    if (!TestBoundaryShapes(*a.m_Boundary, *b.m_Boundary))
        return false;
    if (a.m_Detail && b.m_Detail)
        TestDetailShapes(*a.m_Detail, *b.m_Detail, result);
    return true;
}

}  // namespace GameServices::Bridge
