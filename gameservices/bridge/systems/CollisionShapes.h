#pragma once
// The shapes a collision object is made of: a circle (a sphere flattened to z = 0), a
// sphere, a rectangle (no depth), a box, and a model whose triangles are the shape. Shapes
// are built once per level from the entity's engine model or sprite, then follow the entity
// every frame; the orientation is applied only when a shape is built.
#include "engine/core/AGVec3.h"
#include "engine/core/TString.h"
#include "gameservices/entities/EntityMatrix.h"

class AGModel;
class AGSprite;

namespace GameServices::Bridge {

using Entities::Matrix44;

enum ShapeType : i32 { kShapeNone = 0, kShapeCircle, kShapeSphere, kShapeRectangle, kShapeBox, kShapeModel };

// The exact shape word as its type; anything else is reported and gives kShapeNone.
i32 ParseShapeType(const TString<char>& word);

// Where a shape stands: position, orientation, scale and the matrix they make.
struct ShapePlacement {
    AGVec3 position;
    AGVec3 scale{1.0f, 1.0f, 1.0f};
    f32 rotX = 0.0f;
    f32 rotY = 0.0f;
    f32 rotZ = 0.0f;
};

class CollisionShape {
public:
    CollisionShape();
    virtual ~CollisionShape() = default;

    virtual i32 GetType() const = 0;
    // Scale times offset plus the transform's translation.
    virtual AGVec3 GetWorldCenter() const;
    const AGVec3& GetOffset() const { return m_Offset; }
    const Matrix44& GetTransform() const { return m_Transform; }
    const AGVec3& GetScale() const { return m_Scale; }
    void SetScale(const AGVec3& scale) { m_Scale = scale; }
    void SetTransform(const Matrix44& transform);
    // Follows the entity.
    virtual void Update(const ShapePlacement& placement) { (void)placement; }

protected:
    // Update with the rebuild flag set: the orientation and centre are worked out again.
    void Rebuild(const ShapePlacement& placement);

    AGVec3 m_Offset;
    AGVec3 m_Position;
    AGVec3 m_Rotation;
    AGVec3 m_Scale{1.0f, 1.0f, 1.0f};
    Matrix44 m_Transform;
    u8 m_Rebuild = 0;
};

// Circle and sphere: the mean vertex and the greatest vertex distance.
class CollisionShapeRound : public CollisionShape {
public:
    bool BuildFromModel(AGModel* model, const ShapePlacement& placement, f32 boundaryScale,
                        const AGVec3& offset);
    void Update(const ShapePlacement& placement) override;

    AGVec3 GetWorldCenter() const override { return m_WorldCenter; }
    f32 GetWorldRadius() const { return m_WorldRadius; }
    f32 GetBaseRadius() const { return m_BaseRadius; }
    const AGVec3& GetLocalCenter() const { return m_LocalCenter; }

private:
    bool Flat() const { return GetType() == kShapeCircle; }

    AGVec3 m_LocalCenter;
    f32 m_BaseRadius = 0.0f;
    AGVec3 m_ScaledCenter;
    f32 m_WorldRadius = 0.0f;
    AGVec3 m_WorldCenter;
};

class CollisionShapeCircle : public CollisionShapeRound {
public:
    i32 GetType() const override { return kShapeCircle; }
};

class CollisionShapeSphere : public CollisionShapeRound {
public:
    i32 GetType() const override { return kShapeSphere; }
};

// Rectangle and box: the vertices' bounds, widened on flat axes.
class CollisionShapeBounds : public CollisionShape {
public:
    CollisionShapeBounds();

    bool BuildFromModel(AGModel* model, const ShapePlacement& placement, f32 boundaryScale,
                        const AGVec3& offset);
    void Update(const ShapePlacement& placement) override;

    AGVec3 GetWorldCenter() const override { return m_WorldCenter; }
    const AGVec3& GetHalfExtents() const { return m_HalfExtents; }
    const AGVec3& GetLocalMin() const { return m_LocalMin; }
    const AGVec3& GetLocalMax() const { return m_LocalMax; }
    const AGVec3& GetLocalCenter() const { return m_LocalCenter; }

protected:
    bool Flat() const { return GetType() == kShapeRectangle; }
    // Back to the bounds of a new shape, which any vertex replaces.
    void ClearBounds();
    void WidenFlatAxes();
    void ScaleBounds(f32 boundaryScale);

    AGVec3 m_LocalCenter;
    AGVec3 m_LocalMin{10000.0f, 10000.0f, 10000.0f};
    AGVec3 m_LocalMax{-10000.0f, -10000.0f, -10000.0f};
    AGVec3 m_RotatedCenter;
    AGVec3 m_WorldMin;
    AGVec3 m_WorldMax;
    AGVec3 m_Extents;
    AGVec3 m_HalfExtents;
    AGVec3 m_WorldCenter;
    AGVec3 m_Corners[8];
};

class CollisionShapeRectangle : public CollisionShapeBounds {
public:
    i32 GetType() const override { return kShapeRectangle; }
    // Offsets X and Y only; the sprite turns about z alone.
    bool BuildFromSprite(AGSprite* sprite, const ShapePlacement& placement, f32 boundaryScale,
                         f32 offsetX, f32 offsetY);
};

class CollisionShapeBox : public CollisionShapeBounds {
public:
    i32 GetType() const override { return kShapeBox; }
};

class CollisionShapeModel : public CollisionShape {
public:
    i32 GetType() const override { return kShapeModel; }
    AGModel* GetModel() const { return m_Model; }
    void SetModel(AGModel* model) { m_Model = model; }

private:
    AGModel* m_Model = nullptr;
};

// Row vector times the upper 3x3 plus the fourth row.
AGVec3 TransformPoint(const Matrix44& m, const AGVec3& p);

}  // namespace GameServices::Bridge
