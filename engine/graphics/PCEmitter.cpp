#include "engine/graphics/PCEmitter.h"

#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/PCCam.h"
#include "engine/graphics/PCDeviceLock.h"

using namespace platform::gfx;

namespace {

// Own-draw states of render types 2 (alpha blended) and 3 (additive).
constexpr PCBlendStates kEmitterModes[2] = {
    {0, 1, u32(TextureOp::SelectArg1), u32(TextureArg::Diffuse), u32(TextureOp::SelectArg1),
     u32(TextureArg::Texture)},
    {0, 2, u32(TextureOp::Modulate), u32(TextureArg::Texture), u32(TextureOp::Modulate),
     u32(TextureArg::Texture)},
};

}  // namespace

PCEmitter::PCEmitter(const PCEmitter& other) : AGEmitter(other) {
    Initialize();
}

PCEmitter::~PCEmitter() {
    ReleaseDeviceObjects();
}

void PCEmitter::ReleaseDeviceObjects() {
    m_attribute.Clear();
    m_streams.Release();
}

void PCEmitter::CreateDeviceObjects() {
    const u32 vertices = Quads().PositionCount();
    if (vertices == 0 || !m_streams.Create(vertices, true, vertices / 4 * 6 * 2))
        return;
    PCDeviceLock lock;
    if (u16* index = static_cast<u16*>(m_streams.Indices()->Lock(0, 0))) {
        // Bottom-left, bottom-right, top-right and bottom-left, top-right, top-left.
        for (u32 q = 0; q < vertices / 4; ++q)
            for (u32 k : {0u, 1u, 3u, 0u, 3u, 2u})
                *index++ = u16(q * 4 + k);
        m_streams.Indices()->Unlock();
    }
    PCQuadStreams::Copy(m_streams.TexCoords(), Quads().m_texCoords.Data(), vertices * 8);
}

void PCEmitter::BuildAttribute() {
    m_attribute.Clear();
    if (!m_streams.Ready() || !m_attribute.SetPartCount(1))
        return;
    m_streams.FillPart(m_attribute);
    m_attribute.m_renderTypes[0] = GetRenderType();
    m_attribute.m_cullModes[0] = AGRenderAttribute::kCullCW;
    m_attribute.m_depthWrites[0] = 0;
    m_attribute.m_materials[0] = Materials().Get(0);
    // Particles are born in world space.
    m_attribute.m_world = &m_identity;
    m_attribute.m_primitiveKind = AGRenderAttribute::kTriangleList;
    m_attribute.m_ready = 1;
}

void PCEmitter::Initialize() {
    ReleaseDeviceObjects();
    AGEmitter::Initialize();
    CreateDeviceObjects();
    BuildAttribute();
}

void PCEmitter::Upload() {
    const u32 quads = QuadCount();
    if (m_attribute.PartCount() != 0) {
        m_attribute.m_vertexCounts[0] = 4 * quads;
        m_attribute.m_primitiveCounts[0] = 2 * quads;
    }
    if (!m_streams.Ready() || quads == 0)
        return;
    PCQuadStreams::Copy(m_streams.Positions(), Quads().m_positions.Data(), quads * 48);
    PCQuadStreams::Copy(m_streams.Colors(), Quads().m_colors.Data(), quads * 16);
}

void PCEmitter::Update() {
    AGEmitter::Update();
    Upload();
}

void PCEmitter::Draw() {
    Device* d = PCCurrentDevice();
    if (!d || !m_streams.Ready() || QuadCount() == 0)
        return;
    PCBeginOwnDraw(*d, Materials().Get(0), m_identity, Cull::CW, false);
    PCContextManager* context = PCContextManager::Get();
    const PCCam* camera = context ? context->GetCurrentCamera() : nullptr;
    const bool screen = camera && camera->GetProjectionKind() == PCCam::kOrthographic;
    const u32 type = GetRenderType();
    if (type == 2 || type == 3)
        PCApplyBlendStates(*d, kEmitterModes[type - 2]);
    if (type == 3) {
        d->SetTextureStageState(0, StageState::ColorArg2, TextureArg::Diffuse);
        d->SetTextureStageState(0, StageState::AlphaArg2, TextureArg::Diffuse);
    }
    if (screen) {
        d->SetRenderState(RenderState::ZEnable, 0u);
        d->SetRenderState(RenderState::AlphaBlendEnable, 1u);
    }
    m_streams.Draw(*d, 4 * QuadCount(), 2 * QuadCount());
}

void PCEmitter::Prepare() {
    ReleaseDeviceObjects();
    AGEmitter::Prepare();
}

void PCEmitter::SetColor(u32 argb) {
    m_color = argb;
    m_emitterColor = argb;
}

void PCEmitter::SetOpacity(f32 opacity) {
    SetColor((m_emitterColor & 0x00FFFFFFu) | (PCOpacityAlpha(opacity) << 24));
}
