#pragma once
// A group of renderables moved, faded and shown together (one per widget). The members share
// the composite's transform and, once added to a layer, draw in insertion order at the
// composite's depth: sort key (int(depth) << 8) | member index.
#include "engine/core/AGArray.h"
#include "engine/core/AGTypes.h"
#include "engine/core/AGVec3.h"
#include "platform/gfx/GfxMath.h"

class AGGraphicLayer;
class AGRenderable;

class AGCompositeRenderable {
public:
    AGCompositeRenderable() = default;
    AGCompositeRenderable(const AGCompositeRenderable&) = delete;
    AGCompositeRenderable& operator=(const AGCompositeRenderable&) = delete;
    // Every member gives back what it holds (AGRenderable::Prepare); the members themselves
    // belong to their providers.
    virtual ~AGCompositeRenderable();

    // The member takes the composite's transform as its parent transform.
    void AddRenderable(AGRenderable* renderable);
    // Remembers the layer and appends every member to it with its sort key; members without
    // the shown flag lose the active flag.
    void AddToLayer(AGGraphicLayer* layer);
    // Every member slot holding the renderable becomes empty.
    void DetachRenderable(AGRenderable* renderable);
    // The renderable takes the slot, transform and sort key of the member at index, and its
    // place in the layer (appended when the old member is not there).
    void ReplaceRenderable(u32 index, AGRenderable* renderable);
    // Members with the shown flag get (or lose) the active flag.
    void SetVisible(bool visible);
    void SetOpacity(f32 opacity);

    // The sort key of member index at the composite's depth.
    f32 SortKeyOf(u32 index) const;

    u32 MemberCount() const { return m_members.Count(); }
    AGRenderable* GetMember(u32 index) const { return index < m_members.Count() ? m_members[index] : nullptr; }
    AGGraphicLayer* GetLayer() const { return m_layer; }
    // Row-major, translation in elements 12-14; handed to every member.
    platform::gfx::Matrix& Transform() { return m_transform; }
    const platform::gfx::Matrix& Transform() const { return m_transform; }
    void SetPosition(const AGVec3& position);
    const AGVec3& GetPosition() const { return m_position; }
    void SetDepth(f32 depth) { m_depth = depth; }
    f32 GetDepth() const { return m_depth; }

private:
    AGArray<AGRenderable*> m_members{1};
    AGGraphicLayer* m_layer = nullptr;
    platform::gfx::Matrix m_transform = platform::gfx::MatrixIdentity();
    AGVec3 m_position;
    f32 m_depth = 0.0f;
};
