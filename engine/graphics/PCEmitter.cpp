#include "engine/graphics/PCEmitter.h"

#include <cstring>

#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/PCCam.h"
#include "engine/graphics/PCDeviceLock.h"
#include "engine/graphics/PCSprite.h"
#include "engine/graphics/PCTexture.h"

using namespace platform::gfx;

namespace {

constexpr u32 kUnset = PCBlendStates::kUnset;
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
    PCDeviceLock lock;
    PCReleaseDeviceObject(m_positions);
    PCReleaseDeviceObject(m_colors);
    PCReleaseDeviceObject(m_texCoords);
    PCReleaseDeviceObject(m_indices);
    PCReleaseDeviceObject(m_declaration);
}

void PCEmitter::CreateDeviceObjects() {
    Device* device = PCCurrentDevice();
    const u32 vertices = Quads().PositionCount();
    if (!device || vertices == 0)
        return;
    PCDeviceLock lock;
    m_positions = device->CreateVertexBuffer(vertices * 12, kUsageWriteOnly);
    m_colors = device->CreateVertexBuffer(vertices * 4, kUsageWriteOnly);
    m_texCoords = device->CreateVertexBuffer(vertices * 8, kUsageWriteOnly);
    m_indices = device->CreateIndexBuffer(vertices / 4 * 6 * 2);
    if (u16* index = m_indices ? static_cast<u16*>(m_indices->Lock(0, 0)) : nullptr) {
        // Bottom-left, bottom-right, top-right and bottom-left, top-right, top-left.
        for (u32 q = 0; q < vertices / 4; ++q)
            for (u32 k : {0u, 1u, 3u, 0u, 3u, 2u})
                *index++ = u16(q * 4 + k);
        m_indices->Unlock();
    }
    if (void* bits = m_texCoords ? m_texCoords->Lock(0, 0) : nullptr) {
        std::memcpy(bits, Quads().m_texCoords.Data(), vertices * 8);
        m_texCoords->Unlock();
    }
    const VertexElement elements[] = {{0, 0, DeclType::Float3, DeclUsage::Position, 0},
                                      {1, 0, DeclType::Color, DeclUsage::Color, 0},
                                      {2, 0, DeclType::Float2, DeclUsage::TexCoord, 0}};
    if (m_positions && m_colors && m_texCoords && m_indices)
        m_declaration = device->CreateVertexDeclaration(elements, 3);
    if (!m_declaration)
        ReleaseDeviceObjects();
}

void PCEmitter::BuildAttribute() {
    m_attribute.Clear();
    if (!m_declaration || !m_attribute.SetPartCount(1))
        return;
    m_attribute.m_declarations[0] = m_declaration;
    AGVertexStreams& streams = m_attribute.m_streams[0];
    streams.entries[0] = {m_positions, 0, 0, 12};
    streams.entries[1] = {m_colors, 1, 0, 4};
    streams.entries[2] = {m_texCoords, 2, 0, 8};
    streams.count = 3;
    m_attribute.m_indexBuffers[0] = m_indices;
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
    if (!m_declaration || quads == 0)
        return;
    PCDeviceLock lock;
    if (void* bits = m_positions->Lock(0, quads * 48)) {
        std::memcpy(bits, Quads().m_positions.Data(), quads * 48);
        m_positions->Unlock();
    }
    if (void* bits = m_colors->Lock(0, quads * 16)) {
        std::memcpy(bits, Quads().m_colors.Data(), quads * 16);
        m_colors->Unlock();
    }
}

void PCEmitter::Update() {
    AGEmitter::Update();
    Upload();
}

void PCEmitter::Draw() {
    Device* d = PCCurrentDevice();
    if (!d || !m_declaration || QuadCount() == 0)
        return;
    if (AGMaterial* material = Materials().Get(0)) {
        material->Apply();
        material->BindTextures();
    } else {
        PCTexture::Unbind(0);
    }
    d->SetTransform(TransformType::World, m_identity);
    d->SetRenderState(RenderState::ZWriteEnable, 0u);
    d->SetRenderState(RenderState::ZEnable, 1u);
    d->SetRenderState(RenderState::CullMode, Cull::CW);
    PCContextManager* context = PCContextManager::Get();
    const PCCam* camera = context ? context->GetCurrentCamera() : nullptr;
    const bool screen = camera && camera->GetProjectionKind() == PCCam::kOrthographic;
    d->LightEnable(0, false);
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
    d->SetTextureStageState(0, StageState::TexCoordIndex, 0u);
    d->SetSamplerState(0, SamplerState::MinFilter, TextureFilter::Linear);
    d->SetSamplerState(0, SamplerState::MagFilter, TextureFilter::Linear);
    d->SetVertexDeclaration(m_declaration);
    d->SetStreamSource(0, m_positions, 0, 12);
    d->SetStreamSource(1, m_colors, 0, 4);
    d->SetStreamSource(2, m_texCoords, 0, 8);
    d->SetIndices(m_indices);
    d->DrawIndexedPrimitive(PrimitiveType::TriangleList, 0, 0, 4 * QuadCount(), 0, 2 * QuadCount());
    d->SetRenderState(RenderState::Lighting, 0u);
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
