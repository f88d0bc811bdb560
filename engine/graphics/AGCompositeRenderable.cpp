#include "engine/graphics/AGCompositeRenderable.h"

#include "engine/core/AGLog.h"
#include "engine/graphics/AGGraphicLayer.h"
#include "engine/graphics/AGRenderable.h"

AGCompositeRenderable::~AGCompositeRenderable() {
    for (u32 i = 0; i < m_members.Count(); ++i) {
        if (m_members[i])
            m_members[i]->Prepare();
        m_members[i] = nullptr;
    }
    m_members.Reserve(0);
}

f32 AGCompositeRenderable::SortKeyOf(u32 index) const {
    // Depths are widget draw-order numbers; out-of-range values saturate.
    const f32 d = m_depth;
    const i32 depth = !(d > -8388608.0f) ? (d < 0.0f ? -8388608 : 0) : (d < 8388607.0f ? i32(d) : 8388607);
    return f32((u32(depth) << 8) | index);
}

void AGCompositeRenderable::AddRenderable(AGRenderable* renderable) {
    if (!renderable)
        return;
    renderable->SetParentTransform(&m_transform);
    m_members.Add(renderable);
}

void AGCompositeRenderable::AddToLayer(AGGraphicLayer* layer) {
    m_layer = layer;
    for (u32 i = 0; i < m_members.Count(); ++i) {
        AGRenderable* member = m_members[i];
        if (!member)
            continue;
        if (!member->HasFlags(AGRenderable::kShown))
            member->ClearFlags(AGRenderable::kActive);
        member->m_sortKey = SortKeyOf(i);
        if (layer)
            layer->AddRenderable(member);
    }
}

void AGCompositeRenderable::DetachRenderable(AGRenderable* renderable) {
    for (AGRenderable*& member : m_members)
        if (member == renderable)
            member = nullptr;
}

void AGCompositeRenderable::ReplaceRenderable(u32 index, AGRenderable* renderable) {
    if (index >= m_members.Count() || !renderable) {
        AGReport("Composite renderable: no member %u to replace.", index);
        return;
    }
    AGRenderable* old = m_members[index];
    renderable->SetParentTransform(&m_transform);
    renderable->m_sortKey = old ? old->m_sortKey : SortKeyOf(index);
    if (m_layer && !(old && m_layer->ReplaceRenderable(old, renderable)))
        m_layer->AddRenderable(renderable);
    m_members[index] = renderable;
}

void AGCompositeRenderable::SetVisible(bool visible) {
    for (AGRenderable* member : m_members) {
        if (!member || !member->HasFlags(AGRenderable::kShown))
            continue;
        if (visible)
            member->SetFlags(AGRenderable::kActive);
        else
            member->ClearFlags(AGRenderable::kActive);
    }
}

void AGCompositeRenderable::SetOpacity(f32 opacity) {
    for (AGRenderable* member : m_members)
        if (member)
            member->SetOpacity(opacity);
}

void AGCompositeRenderable::SetPosition(const AGVec3& position) {
    m_position = position;
    m_transform.m[12] = position.x;
    m_transform.m[13] = position.y;
    m_transform.m[14] = position.z;
}
