#include "engine/graphics/AGGraphicLayer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/core/AGLog.h"
#include "engine/core/AGRadixManager.h"
#include "engine/graphics/AGRenderable.h"
#include "engine/graphics/AGRenderer.h"
#include "engine/graphics/PCCam.h"
#include "engine/graphics/PCContextManager.h"
#include "engine/graphics/PCGraphicDevice.h"

u8 g_renderPause = 0;

namespace {

AGGraphicLayer* g_updatingLayer = nullptr;

// A float key made into a u32 that sorts the same way: negative values flip every bit,
// others gain the sign bit.
u32 OrderedKey(f32 key) {
    u32 bits;
    std::memcpy(&bits, &key, 4);
    return (bits & 0x80000000u) ? ~bits : (bits | 0x80000000u);
}

// Stable ascending LSD radix sort of n pairs in work[0] over the key bits 0-10, 11-21 and
// 22-31; the result ends in work[1].
void RadixSort(AGRadixBuffer& buffer, u32 n) {
    static constexpr u32 kShift[3] = {0, 11, 22};
    static constexpr u32 kMask[3] = {0x7FF, 0x7FF, 0x3FF};
    std::memset(buffer.counts, 0, sizeof buffer.counts);
    AGRadixPair* pairs = buffer.work[0];
    for (u32 i = 0; i < n; ++i)
        for (u32 pass = 0; pass < 3; ++pass)
            ++buffer.counts[pass * 2048 + ((pairs[i].key >> kShift[pass]) & kMask[pass])];
    AGRadixPair* from = buffer.work[0];
    AGRadixPair* to = buffer.work[1];
    for (u32 pass = 0; pass < 3; ++pass) {
        u32* counts = buffer.counts + pass * 2048;
        u32 sum = 0;
        for (u32 d = 0; d < 2048; ++d) {
            const u32 c = counts[d];
            counts[d] = sum;
            sum += c;
        }
        for (u32 i = 0; i < n; ++i)
            to[counts[(from[i].key >> kShift[pass]) & kMask[pass]]++] = from[i];
        std::swap(from, to);
    }
}

AGRadixManager& SortBuffers() {
    if (AGRadixManager* radix = AGRadixManager::Get())
        return *radix;
    // Outside the application (tools, tests) the layer keeps its own.
    static AGRadixManager* local = new AGRadixManager();
    return *local;
}

i32 PixelOf(f32 v) {
    if (!(v > -1.0e9f))
        return v < 0.0f ? -1000000000 : 0;  // below range, or NaN
    return v < 1.0e9f ? i32(v) : 1000000000;
}

}  // namespace

AGGraphicLayer::AGGraphicLayer() {
    m_renderables.Reserve(256);
}

AGGraphicLayer* AGGraphicLayer::UpdatingLayer() {
    return g_updatingLayer;
}

void AGGraphicLayer::Update() {
    AGGraphicLayer* const outer = g_updatingLayer;
    g_updatingLayer = this;
    if (m_camera && !g_renderPause) {
        m_camera->Update();
        if (PCContextManager* context = PCContextManager::Get())
            context->SetCurrentCamera(m_camera);
    }
    for (u32 i = 0; i < m_renderables.Count(); ++i) {
        AGRenderable* r = m_renderables[i];
        if (r && r->HasFlags(AGRenderable::kActive) &&
            !(r->GetRenderableType() == AGRenderable::kModel && r->IsDeferred()))
            r->Update();
    }
    for (u32 i = 0; i < m_renderables.Count(); ++i) {
        AGRenderable* r = m_renderables[i];
        if (r && r->HasFlags(AGRenderable::kActive) &&
            r->GetRenderableType() == AGRenderable::kModel && r->IsDeferred())
            r->Update();
    }
    g_updatingLayer = outer;
    for (u32 i = 0; i < m_children.Count(); ++i)
        if (m_children[i]->IsEnabled())
            m_children[i]->Update();
}

void AGGraphicLayer::Render() {
    if (!m_camera)
        return;
    u32 screenWidth = 0, screenHeight = 0;
    if (const PCGraphicDevice* device = PCGraphicDevice::Get()) {
        screenWidth = device->GetWidth();
        screenHeight = device->GetHeight();
    }
    const i64 left = PixelOf(m_position.x);
    const i64 top = PixelOf(m_position.y);
    const i64 x0 = std::clamp<i64>(left, 0, screenWidth);
    const i64 y0 = std::clamp<i64>(top, 0, screenHeight);
    const i64 x1 = std::min<i64>(left + m_width, screenWidth);
    const i64 y1 = std::min<i64>(top + m_height, screenHeight);
    const i32 width = i32(std::max<i64>(x1 - x0, 0));
    const i32 height = i32(std::max<i64>(y1 - y0, 0));
    if (width > 0 && height > 0) {
        m_camera->SetScissor(i32(x0), i32(y0), width, height);
        if (m_camera->GetProjectionKind() == PCCam::kOrthographic)
            m_camera->SetViewport(0, 0, screenWidth, screenHeight, 0.0f, 1.0f);
        else
            m_camera->SetViewport(u32(x0), u32(y0), u32(width), u32(height), 0.0f, 1.0f);
        if (m_renderables.Count() != 0) {
            m_camera->Apply();
            if (PCContextManager* context = PCContextManager::Get())
                context->SetCurrentCamera(m_camera);
        }
        DrawList();
    }
    for (u32 i = 0; i < m_children.Count(); ++i)
        if (m_children[i]->IsEnabled())
            m_children[i]->Render();
}

void AGGraphicLayer::DrawList() {
    u32 candidates = 0;
    for (AGRenderable* r : m_renderables)
        if (r && r->m_attribute.m_ready && r->HasFlags(AGRenderable::kActive))
            ++candidates;
    if (candidates == 0)
        return;
    AGRadixManager& radix = SortBuffers();
    radix.Reserve(0, candidates);
    AGRadixBuffer& buffer = radix.Buffer(0);
    if (buffer.capacity < candidates)
        return;

    const bool orthographic = m_camera->GetProjectionKind() == PCCam::kOrthographic;
    const AGVec3 eye = m_camera->GetEye();
    for (AGRenderable* r : m_renderables) {
        if (!r || !r->m_attribute.m_ready || !r->HasFlags(AGRenderable::kActive))
            continue;
        f32 key = r->m_sortKey;
        if (!orthographic) {
            AGVec3 at;
            if (const platform::gfx::Matrix* world = r->m_attribute.m_world)
                at = {world->m[12], world->m[13], world->m[14]};
            else
                r->GetPosition(at);
            const f32 dx = at.x - eye.x, dy = at.y - eye.y, dz = at.z - eye.z;
            key = std::sqrt(dx * dx + dy * dy + dz * dz);
            if (r->HasFlags(AGRenderable::kDistanceSorted)) {
                key = kTransparentBase - key;
                if (r->GetRenderableType() == AGRenderable::kText)
                    key += kTransparentBase;
            }
        }
        buffer.work[0][buffer.used++] = {OrderedKey(key), reinterpret_cast<uintptr_t>(r)};
    }
    RadixSort(buffer, buffer.used);
    // The shared buffer may be sorted again by a layer drawn from inside this list (a
    // renderable that draws itself), so the order is taken out of it first.
    if (m_drawOrder.Capacity() < buffer.used)
        m_drawOrder.Reserve(buffer.used);
    m_drawOrder.Clear();
    for (u32 i = 0; i < buffer.used; ++i)
        m_drawOrder.Add(reinterpret_cast<AGRenderable*>(buffer.work[1][i].value));
    for (AGRenderable* r : m_drawOrder) {
        if (r->GetRenderableType() == AGRenderable::kSelfDrawn)
            r->Draw();
        else if (m_renderer)
            m_renderer->DrawRenderAttribute(r->m_attribute);
    }
}

void AGGraphicLayer::SetController(AGController* controller) {
    AGAnimated::SetController(controller);
    for (AGRenderable* r : m_renderables) {
        if (!r)
            continue;
        const u32 type = r->GetRenderableType();
        if (type == AGRenderable::kModel || type == AGRenderable::kEmitter)
            if (AGAnimated* animated = r->GetAnimated())
                animated->SetController(controller);
    }
    for (AGGraphicLayer* child : m_children)
        child->SetController(controller);
}

void AGGraphicLayer::AddRenderable(AGRenderable* renderable) {
    if (renderable)
        m_renderables.Add(renderable);
}

void AGGraphicLayer::RemoveRenderable(AGRenderable* renderable) {
    for (u32 i = 0; i < m_renderables.Count(); ++i)
        if (m_renderables[i] == renderable) {
            m_renderables.RemoveAt(i);
            return;
        }
}

bool AGGraphicLayer::ReplaceRenderable(AGRenderable* old, AGRenderable* renderable) {
    for (u32 i = 0; i < m_renderables.Count(); ++i)
        if (m_renderables[i] == old) {
            m_renderables[i] = renderable;
            return true;
        }
    return false;
}

void AGGraphicLayer::AddChildLayer(AGGraphicLayer* child) {
    if (!child)
        return;
    for (const AGGraphicLayer* up = this; up; up = up->m_parent)
        if (up == child) {
            AGReport("Graphic layer: a layer cannot become a child of its own subtree.");
            return;
        }
    child->m_parent = this;
    m_children.Add(child);
    ++m_addedChildren;
    child->SetGroup(m_renderer);
    if (m_children.Count() > 1)
        SortRenderables();
}

void AGGraphicLayer::RemoveChildLayer(AGGraphicLayer* child) {
    for (u32 i = 0; i < m_children.Count(); ++i) {
        if (m_children[i] != child)
            continue;
        child->m_parent = nullptr;
        m_children.RemoveAt(i);
        return;
    }
}

void AGGraphicLayer::SortRenderables() {
    std::stable_sort(m_children.begin(), m_children.end(),
                     [](const AGGraphicLayer* a, const AGGraphicLayer* b) {
                         return a->m_orderKey < b->m_orderKey;
                     });
}

void AGGraphicLayer::SetOpacity(f32 opacity) {
    if (opacity == m_opacity)
        return;
    m_opacity = opacity;
    for (AGRenderable* r : m_renderables)
        if (r)
            r->SetOpacity(opacity);
    for (AGGraphicLayer* child : m_children)
        child->SetOpacity(opacity);
}

void AGGraphicLayer::SetGroup(AGRenderer* renderer) {
    m_renderer = renderer;
    for (AGGraphicLayer* child : m_children)
        child->SetGroup(renderer);
}

void AGGraphicLayer::SetupScreenCamera(PCCam* camera) {
    if (!camera)
        return;
    u32 width, height;
    PCCam::GetScreenSize(width, height);
    const f32 w = f32(width), h = f32(height);
    camera->SetViewport(0, 0, width, height, 0.0f, 1.0f);
    camera->SetScissor(0, 0, i32(width), i32(height));
    // Looking down -z with up = -y keeps x to the right and turns y downwards on screen.
    camera->SetLookAt({w * 0.5f, h * 0.5f, 50.0f}, {w * 0.5f, h * 0.5f, 0.0f}, {0.0f, -1.0f, 0.0f});
    camera->SetFrustum(-w * 0.5f, w * 0.5f, h * 0.5f, -h * 0.5f, 1.0f, 100.0f);
    camera->SetProjectionKind(PCCam::kOrthographic);
}
