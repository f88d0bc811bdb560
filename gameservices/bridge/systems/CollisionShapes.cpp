#include "gameservices/bridge/systems/CollisionShapes.h"

#include <algorithm>
#include <cmath>

#include "engine/core/AGLog.h"
#include "engine/graphics/AGModel.h"
#include "engine/graphics/AGSprite.h"
#include "engine/graphics/AGVertexBuffer.h"

namespace GameServices::Bridge {

namespace {

constexpr f32 kDegreesToRadians = 0.017453289f;
constexpr f32 kFlatWidening = 5.0f;

AGVec3 Add(const AGVec3& a, const AGVec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
AGVec3 Mul(const AGVec3& a, const AGVec3& b) { return {a.x * b.x, a.y * b.y, a.z * b.z}; }
AGVec3 Times(const AGVec3& a, f32 k) { return {a.x * k, a.y * k, a.z * k}; }

const char* ShapeName(i32 type) {
    static const char* const names[] = {"None", "Circle", "Sphere", "Rectangle", "Box", "Model"};
    return type >= 0 && type <= kShapeModel ? names[type] : "";
}

// The model's vertex positions, or null (reported) when there are none to build from.
const AGOwnedBuffer<AGVec3>* VerticesOf(AGModel* model, i32 type) {
    if (!model) {
        AGReport("The AGModel is null, can't generate the Collision %s !!!", ShapeName(type));
        return nullptr;
    }
    const AGVertexBuffer* buffer = model->GetVertexBuffer();
    if (!buffer || buffer->m_positions.Empty()) {
        AGReport("The AGModel has no vertices, can't generate the Collision %s !!!", ShapeName(type));
        return nullptr;
    }
    return &buffer->m_positions;
}

}  // namespace

i32 ParseShapeType(const TString<char>& word) {
    for (i32 type = kShapeNone; type <= kShapeModel; ++type)
        if (word == ShapeName(type))
            return type;
    AGReport("type is invalide !!! The type string should be \"None\", \"Circle\", \"Sphere\", "
             "\"Rectangle\", \"Box\" or \"Model\"%s",
             word.c_str());
    return kShapeNone;
}

AGVec3 TransformPoint(const Matrix44& m, const AGVec3& p) {
    return {p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12], p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13],
            p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14]};
}

CollisionShape::CollisionShape() { Entities::MatrixIdentity(m_Transform); }

AGVec3 CollisionShape::GetWorldCenter() const {
    return Add(Mul(m_Scale, m_Offset), AGVec3{m_Transform[12], m_Transform[13], m_Transform[14]});
}

void CollisionShape::SetTransform(const Matrix44& transform) { Entities::MatrixCopy(m_Transform, transform); }

void CollisionShape::Rebuild(const ShapePlacement& placement) {
    m_Rebuild = 1;
    Update(placement);
    m_Rebuild = 0;
}

bool CollisionShapeRound::BuildFromModel(AGModel* model, const ShapePlacement& placement, f32 boundaryScale,
                                         const AGVec3& offset) {
    const AGOwnedBuffer<AGVec3>* vertices = VerticesOf(model, GetType());
    if (!vertices)
        return false;
    // A shape taken again from its pool starts from the values of a new one.
    m_LocalCenter = AGVec3{};
    m_BaseRadius = 0.0f;
    AGVec3 sum;
    for (const AGVec3& v : *vertices) {
        sum = Add(sum, Add(v, offset));
        const AGVec3 d{v.x - m_Offset.x, v.y - m_Offset.y, v.z - m_Offset.z};
        m_BaseRadius = std::max(m_BaseRadius, std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z));
    }
    m_LocalCenter = Add(m_LocalCenter, Times(sum, 1.0f / f32(vertices->Count())));
    if (boundaryScale != 1.0f)
        m_BaseRadius *= boundaryScale;
    Rebuild(placement);
    return true;
}

void CollisionShapeRound::Update(const ShapePlacement& placement) {
    m_Position = placement.position;
    m_Scale = placement.scale;
    if (m_Rebuild) {
        m_Rotation = AGVec3{placement.rotX, placement.rotY, placement.rotZ};
        Entities::MatrixIdentity(m_Transform);
        m_ScaledCenter = Mul(TransformPoint(m_Transform, m_LocalCenter), m_Scale);
        m_Transform[12] = m_Position.x;
        m_Transform[13] = m_Position.y;
        m_Transform[14] = m_Position.z;
        Entities::MatrixScale(m_Transform, m_Scale);
    }
    m_WorldCenter = Add(m_ScaledCenter, m_Position);
    if (Flat())
        m_WorldCenter.z = 0.0f;
    m_WorldRadius = m_BaseRadius * std::max({m_Scale.x, m_Scale.y, m_Scale.z});
}

CollisionShapeBounds::CollisionShapeBounds() = default;

void CollisionShapeBounds::ClearBounds() {
    m_LocalMin = AGVec3{10000.0f, 10000.0f, 10000.0f};
    m_LocalMax = AGVec3{-10000.0f, -10000.0f, -10000.0f};
}

void CollisionShapeBounds::WidenFlatAxes() {
    f32* mins[3] = {&m_LocalMin.x, &m_LocalMin.y, &m_LocalMin.z};
    f32* maxs[3] = {&m_LocalMax.x, &m_LocalMax.y, &m_LocalMax.z};
    for (int axis = 0; axis < 3; ++axis) {
        if (*mins[axis] != *maxs[axis])
            continue;
        *mins[axis] -= kFlatWidening;
        *maxs[axis] += kFlatWidening;
    }
}

void CollisionShapeBounds::ScaleBounds(f32 boundaryScale) {
    if (boundaryScale == 1.0f)
        return;
    m_LocalMin = Times(m_LocalMin, boundaryScale);
    m_LocalMax = Times(m_LocalMax, boundaryScale);
}

bool CollisionShapeBounds::BuildFromModel(AGModel* model, const ShapePlacement& placement, f32 boundaryScale,
                                          const AGVec3& offset) {
    const AGOwnedBuffer<AGVec3>* vertices = VerticesOf(model, GetType());
    if (!vertices)
        return false;
    ClearBounds();
    for (const AGVec3& v : *vertices) {
        m_LocalMin = AGVec3{std::min(m_LocalMin.x, v.x), std::min(m_LocalMin.y, v.y), std::min(m_LocalMin.z, v.z)};
        m_LocalMax = AGVec3{std::max(m_LocalMax.x, v.x), std::max(m_LocalMax.y, v.y), std::max(m_LocalMax.z, v.z)};
    }
    WidenFlatAxes();
    // The rectangle's centre follows the boundary scale, the box's does not.
    if (Flat())
        ScaleBounds(boundaryScale);
    m_LocalCenter = Add(Times(Add(m_LocalMin, m_LocalMax), 0.5f), offset);
    if (!Flat())
        ScaleBounds(boundaryScale);
    Rebuild(placement);
    return true;
}

bool CollisionShapeRectangle::BuildFromSprite(AGSprite* sprite, const ShapePlacement& placement,
                                              f32 boundaryScale, f32 offsetX, f32 offsetY) {
    if (!sprite) {
        AGReport("The AGSprite is null, can't generate the Collision Rectangle !!!");
        return false;
    }
    // The renderer places the sprite at its entity; the rectangle is built around the
    // entity's origin, which Update then moves to the entity.
    AGVec3 position;
    sprite->GetPosition(position);
    position = AGVec3{position.x - placement.position.x, position.y - placement.position.y,
                      position.z - placement.position.z};
    m_LocalMin = position;
    m_LocalMax = AGVec3{position.x + f32(sprite->GetWidth()), position.y + f32(sprite->GetHeight()), position.z};
    WidenFlatAxes();
    ScaleBounds(boundaryScale);
    const AGVec3 middle = Times(Add(m_LocalMin, m_LocalMax), 0.5f);
    m_LocalCenter = AGVec3{middle.x + offsetX, middle.y + offsetY, middle.z};
    ShapePlacement turned = placement;
    turned.rotX = turned.rotY = 0.0f;
    Rebuild(turned);
    return true;
}

void CollisionShapeBounds::Update(const ShapePlacement& placement) {
    m_Position = placement.position;
    m_Scale = placement.scale;
    if (m_Rebuild) {
        m_Rotation = AGVec3{placement.rotX, placement.rotY, placement.rotZ};
        Entities::ComposeRotationTranslation(m_Transform, placement.rotX, placement.rotY, placement.rotZ,
                                             kDegreesToRadians, AGVec3{});
        m_WorldMin = AGVec3{10000.0f, 10000.0f, Flat() ? 0.0f : 10000.0f};
        m_WorldMax = AGVec3{-10000.0f, -10000.0f, Flat() ? 0.0f : -10000.0f};
        for (int i = 0; i < 8; ++i) {
            const AGVec3 corner{(i & 1) ? m_LocalMax.x : m_LocalMin.x, (i & 2) ? m_LocalMax.y : m_LocalMin.y,
                                (i & 4) ? m_LocalMax.z : m_LocalMin.z};
            m_Corners[i] = TransformPoint(m_Transform, corner);
            m_WorldMin.x = std::min(m_WorldMin.x, m_Corners[i].x);
            m_WorldMin.y = std::min(m_WorldMin.y, m_Corners[i].y);
            m_WorldMax.x = std::max(m_WorldMax.x, m_Corners[i].x);
            m_WorldMax.y = std::max(m_WorldMax.y, m_Corners[i].y);
            if (!Flat()) {
                m_WorldMin.z = std::min(m_WorldMin.z, m_Corners[i].z);
                m_WorldMax.z = std::max(m_WorldMax.z, m_Corners[i].z);
            }
        }
        m_RotatedCenter = Mul(TransformPoint(m_Transform, m_LocalCenter), m_Scale);
        if (Flat())
            m_RotatedCenter.z = 0.0f;
        m_Transform[12] = m_Position.x;
        m_Transform[13] = m_Position.y;
        m_Transform[14] = m_Position.z;
        Entities::MatrixScale(m_Transform, m_Scale);
    }
    // The rotated centre already holds the build-time scale; both kinds add it once.
    m_WorldCenter = Add(m_Position, m_RotatedCenter);
    m_Extents = Mul(AGVec3{m_WorldMax.x - m_WorldMin.x, m_WorldMax.y - m_WorldMin.y, m_WorldMax.z - m_WorldMin.z},
                    m_Scale);
    m_HalfExtents = Times(m_Extents, 0.5f);
}

}  // namespace GameServices::Bridge
