#pragma once
// The interface of everything drawn: models, sprites, texts and particle emitters. In every
// drawable class it is the second base, after AGResource.
#include "engine/core/AGTypes.h"
#include "engine/core/AGVec3.h"
#include "engine/graphics/AGRenderAttribute.h"
#include "platform/gfx/GfxTypes.h"

class AGAnimated;

class AGRenderable {
public:
    // Flag values.
    static constexpr u32 kActive = 2;          // updated and drawn
    static constexpr u32 kShown = 4;           // follows its composite's visibility
    static constexpr u32 kDistanceSorted = 8;  // transparent: drawn after the opaque ones
    // A sprite over the whole window that dims what is drawn before it: drawn, when it can be,
    // as that darkening of everything before it (AGGraphicLayer::RenderShaded).
    static constexpr u32 kDim = 16;
    // Renderable types.
    static constexpr u32 kModel = 1;
    static constexpr u32 kSprite = 3;
    static constexpr u32 kText = 4;
    static constexpr u32 kEmitter = 5;
    static constexpr u32 kSelfDrawn = 6;  // draws itself instead of through the renderer

    AGRenderable() = default;
    AGRenderable(const AGRenderable& other)
        : m_flags(other.m_flags), m_color(other.m_color), m_sortKey(other.m_sortKey) {}
    AGRenderable& operator=(const AGRenderable&) = delete;
    virtual ~AGRenderable() = default;

    virtual void Initialize() = 0;
    virtual void Update() = 0;
    virtual void Draw() = 0;
    // Gives back what the renderable holds: its device objects and the resources it took.
    virtual void Prepare() = 0;
    virtual u32 GetRenderableType() const = 0;
    virtual void GetPosition(AGVec3& out) const = 0;
    // z = 0.
    virtual void SetPosition(const AGVec2& position) = 0;
    virtual void SetColor(u32 argb) = 0;
    virtual void SetOpacity(f32 opacity) = 0;
    virtual void SetScale(const AGVec2&) {}
    // Degrees.
    virtual void SetRotation(f32) {}
    // The composite's 4x4 matrix, or null.
    virtual void SetParentTransform(const platform::gfx::Matrix* transform) = 0;

    // The animated part of models and emitters (which follow a layer's controller).
    virtual AGAnimated* GetAnimated() { return nullptr; }
    // A model that hangs on another (attached to a bone or given a parent transform): the
    // layer updates it after the others.
    virtual bool IsDeferred() const { return false; }

    bool HasFlags(u32 flags) const { return (m_flags & flags) == flags; }
    void SetFlags(u32 flags) { m_flags |= flags; }
    void ClearFlags(u32 flags) { m_flags &= ~flags; }

protected:
    // The translation row (elements 12-14) of a row-major matrix as a position, and set from
    // a 2D position with z = 0.
    static AGVec3 TranslationOf(const platform::gfx::Matrix& m) { return {m.m[12], m.m[13], m.m[14]}; }
    static void SetTranslation(platform::gfx::Matrix& m, const AGVec2& p) {
        m.m[12] = p.x;
        m.m[13] = p.y;
        m.m[14] = 0.0f;
    }

public:
    u32 m_flags = 0;
    u32 m_color = 0xFFFFFFFFu;
    u32 m_spare = 0;
    // The draw order under an orthographic camera and inside a composite.
    f32 m_sortKey = 0.0f;
    AGRenderAttribute m_attribute;
};
