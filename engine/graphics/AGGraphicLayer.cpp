#include "engine/graphics/AGGraphicLayer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

#include "engine/core/AGLog.h"
#include "engine/core/AGRadixManager.h"
#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/AGRenderable.h"
#include "engine/graphics/AGRenderer.h"
#include "engine/graphics/AGTextureSlot.h"
#include "engine/graphics/PCCam.h"
#include "engine/graphics/PCContextManager.h"
#include "engine/graphics/PCDeviceLock.h"
#include "engine/graphics/PCGraphicDevice.h"
#include "engine/graphics/PCQuadStreams.h"
#include "engine/graphics/PCSprite.h"
#include "engine/graphics/PCTexture.h"
#include "platform/gfx/GfxMath.h"

u8 g_renderPause = 0;

namespace {

AGGraphicLayer* g_updatingLayer = nullptr;
// Pictures larger than this are not read for a dim's colour (every frame).
constexpr u32 kMaxDimTexels = 64 * 64;
// The widest margin of the window a dim may leave out and still be drawn as a shade.
constexpr i32 kMaxDimMargin = 2;

// How a dim is drawn as a shade: the device shade, the pixels it covers (left, top, right,
// bottom, the last two exclusive) and the colour that gives the rest back what the shade took.
struct DimPlan {
    AGRenderable* dim = nullptr;
    u32 shade = 0;
    i32 covered[4] = {};
    u8 restore = 0;
};
// The plan of the frame being rendered, until the dim's layer reaches the dim.
DimPlan g_dimPlan;

// Whether the dim can stand as a shade, and how.
bool PlanDim(AGRenderable& dim, DimPlan& plan) {
    const PCGraphicDevice* device = PCGraphicDevice::Get();
    auto* sprite = dim.GetRenderableType() == AGRenderable::kSprite ? dynamic_cast<PCSprite*>(&dim) : nullptr;
    u32 color = 0;
    if (!device || !sprite || !sprite->DrawnColor(color))
        return false;
    const AGRenderAttribute& a = dim.m_attribute;
    if (a.PartCount() != 1 || a.m_renderTypes[0] != AGRenderAttribute::kDiffuseAlpha)
        return false;
    // Unrotated. Pixel centres lie on whole coordinates; a centre on no edge is covered when
    // left <= x < right. An edge on a centre is left to the dim itself.
    const platform::gfx::Matrix& w = sprite->GetWorld();
    const f32 edges[4] = {w.m[12], w.m[13], w.m[12] + f32(sprite->GetWidth()) * w.m[0],
                          w.m[13] + f32(sprite->GetHeight()) * w.m[5]};
    const i32 size[2] = {i32(device->GetWidth()), i32(device->GetHeight())};
    if (w.m[1] != 0.0f || w.m[4] != 0.0f || size[0] <= 0 || size[1] <= 0)
        return false;
    for (u32 i = 0; i < 4; ++i) {
        if (!(std::fabs(edges[i]) < 1.0e6f) || edges[i] == std::floor(edges[i]))
            return false;
        plan.covered[i] = std::clamp(i32(std::ceil(edges[i])), 0, size[i % 2]);
    }
    const i32 margins[4] = {plan.covered[0], plan.covered[1], size[0] - plan.covered[2], size[1] - plan.covered[3]};
    if (*std::max_element(margins, margins + 4) > kMaxDimMargin || plan.covered[2] <= plan.covered[0] ||
        plan.covered[3] <= plan.covered[1])
        return false;
    // One picture of one black texel value: the sprite's colour is then black too.
    const AGMaterial* material = sprite->GetMaterial();
    const AGTextureSlot* slot = material && material->SlotCount() == 1 ? material->GetSlot(0) : nullptr;
    const PCTexture* texture = slot ? slot->GetCurrentTexture() : nullptr;
    platform::gfx::Texture* pixels = texture ? texture->GetDeviceTexture() : nullptr;
    if (!pixels || pixels->Width() * pixels->Height() > kMaxDimTexels ||
        pixels->GetFormat() != platform::gfx::Format::A8R8G8B8)
        return false;
    platform::gfx::LockedRect rect{};
    if (!pixels->LockRect(rect, true))
        return false;
    const u32* texels = static_cast<const u32*>(rect.bits);
    const u32 first = texels[0];
    const bool uniform = std::all_of(texels, texels + pixels->Width() * pixels->Height(),
                                     [first](u32 t) { return t == first; });
    pixels->UnlockRect();
    if (!uniform || (first & 0x00FFFFFFu) != 0)
        return false;
    // The alpha GL blends with: the texel's times the vertex colour's, in 65025ths.
    const u32 alpha = (first >> 24) * (color >> 24);
    plan.dim = &dim;
    plan.shade = (alpha * 65535u + 65025u / 2) / 65025u;
    // Left out pixels are multiplied by 1 + restore = 1 / (1 - alpha): one at most.
    const bool whole = *std::max_element(margins, margins + 4) == 0;
    if (!whole && 2 * alpha > 65025u)
        return false;
    plan.restore = whole || alpha == 0 ? 0 : u8((alpha * 255u + (65025u - alpha) / 2) / (65025u - alpha));
    return plan.shade != 0;
}

// Gives the pixels of the window outside the dim's rectangle back what the shade took: each
// colour times 1 + restore (a blend of the destination by itself, scaled by the source).
void RestoreOutsideDim(platform::gfx::Device& d, const DimPlan& plan) {
    using namespace platform::gfx;
    const PCGraphicDevice* device = PCGraphicDevice::Get();
    if (!device || plan.restore == 0)
        return;
    const i32 w = i32(device->GetWidth()), h = i32(device->GetHeight());
    const i32* c = plan.covered;
    const i32 strips[4][4] = {{0, 0, w, c[1]}, {0, c[3], w, h}, {0, c[1], c[0], c[3]}, {c[2], c[1], w, c[3]}};
    PCQuadStreams streams;
    if (!streams.Create(4, false, 0))
        return;
    const RenderState kept[] = {RenderState::ZEnable,  RenderState::AlphaBlendEnable, RenderState::SrcBlend,
                                RenderState::DestBlend, RenderState::AlphaTestEnable, RenderState::CullMode,
                                RenderState::Lighting};
    u32 values[std::size(kept)];
    for (u32 i = 0; i < std::size(kept); ++i)
        values[i] = d.GetRenderState(kept[i]);
    const StageState keptStages[] = {StageState::ColorOp, StageState::ColorArg1, StageState::AlphaOp,
                                     StageState::AlphaArg1};
    u32 stageValues[std::size(keptStages)];
    for (u32 i = 0; i < std::size(keptStages); ++i)
        stageValues[i] = d.GetTextureStageState(0, keptStages[i]);
    PCBeginOwnDraw(d, nullptr, platform::gfx::MatrixIdentity(), Cull::None, true);
    d.SetRenderState(RenderState::ZEnable, 0u);
    d.SetRenderState(RenderState::AlphaTestEnable, 0u);
    d.SetRenderState(RenderState::SrcBlend, Blend::DestColor);
    d.SetRenderState(RenderState::DestBlend, Blend::One);
    for (StageState op : {StageState::ColorOp, StageState::AlphaOp})
        d.SetTextureStageState(0, op, TextureOp::SelectArg1);
    for (StageState arg : {StageState::ColorArg1, StageState::AlphaArg1})
        d.SetTextureStageState(0, arg, TextureArg::Diffuse);
    const u32 color = 0xFF000000u | plan.restore * 0x010101u;
    const u32 colors[4] = {color, color, color, color};
    PCQuadStreams::Copy(streams.Colors(), colors, sizeof colors);
    for (const i32* s : strips) {
        if (s[2] <= s[0] || s[3] <= s[1])
            continue;
        // Edges half a pixel before the first and past the last centre.
        const f32 l = f32(s[0]) - 0.5f, t = f32(s[1]) - 0.5f, r = f32(s[2]) - 0.5f, b = f32(s[3]) - 0.5f;
        const f32 positions[12] = {l, t, 0.0f, l, b, 0.0f, r, t, 0.0f, r, b, 0.0f};
        PCQuadStreams::Copy(streams.Positions(), positions, sizeof positions);
        streams.Draw(d, 4, 2);
    }
    for (u32 i = 0; i < std::size(kept); ++i)
        d.SetRenderState(kept[i], values[i]);
    for (u32 i = 0; i < std::size(keptStages); ++i)
        d.SetTextureStageState(0, keptStages[i], stageValues[i]);
}

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

AGRenderable* AGGraphicLayer::FindDim() {
    if (!m_camera)
        return nullptr;
    // Only a layer drawing over the whole window under the screen camera draws a dim as a shade.
    const PCGraphicDevice* device = PCGraphicDevice::Get();
    const bool whole = device && m_camera->GetProjectionKind() == PCCam::kOrthographic && m_position.x <= 0.0f &&
                       m_position.y <= 0.0f && m_position.x + f32(m_width) >= f32(device->GetWidth()) &&
                       m_position.y + f32(m_height) >= f32(device->GetHeight());
    for (AGRenderable* r : m_renderables)
        if (whole && r && r->m_attribute.m_ready && r->HasFlags(AGRenderable::kActive | AGRenderable::kDim))
            return r;
    for (AGGraphicLayer* child : m_children)
        if (child->IsEnabled())
            if (AGRenderable* dim = child->FindDim())
                return dim;
    return nullptr;
}

void AGGraphicLayer::RenderShaded(const AGArray<AGGraphicLayer*>& layers) {
    AGRenderable* dim = nullptr;
    for (u32 i = 0; i < layers.Count() && !dim; ++i)
        if (layers[i]->IsEnabled())
            dim = layers[i]->FindDim();
    platform::gfx::Device* device = PCCurrentDevice();
    g_dimPlan = DimPlan();
    DimPlan plan;
    const bool shaded = dim && device && PlanDim(*dim, plan);
    if (shaded) {
        g_dimPlan = plan;
        device->SetRenderState(platform::gfx::RenderState::Shade, plan.shade);
    }
    for (u32 i = 0; i < layers.Count(); ++i)
        if (layers[i]->IsEnabled())
            layers[i]->Render();
    // A dim whose layer drew nothing leaves the shade on until here.
    if (shaded)
        device->SetRenderState(platform::gfx::RenderState::Shade, 0u);
    g_dimPlan = DimPlan();
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
        if (r == g_dimPlan.dim) {
            // What was drawn before the dim is darkened already; what follows is not.
            const DimPlan plan = g_dimPlan;
            g_dimPlan = DimPlan();
            if (platform::gfx::Device* device = PCCurrentDevice()) {
                device->SetRenderState(platform::gfx::RenderState::Shade, 0u);
                RestoreOutsideDim(*device, plan);
            }
            continue;
        }
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
