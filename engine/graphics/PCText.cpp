#include "engine/graphics/PCText.h"

#include <cstring>

#include "engine/graphics/AGFont.h"
#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/AGVertexBuffer.h"
#include "engine/graphics/PCDeviceLock.h"
#include "engine/graphics/PCSprite.h"
#include "engine/graphics/PCTexture.h"

using namespace platform::gfx;

namespace {

constexpr u32 kUnset = PCBlendStates::kUnset;
constexpr PCBlendStates kAlphaMode = {0, 1, u32(TextureOp::Modulate), kUnset, u32(TextureOp::Modulate),
                                      u32(TextureArg::Texture)};
constexpr PCBlendStates kAdditiveMode = {0, 2, u32(TextureOp::Modulate), u32(TextureArg::Texture),
                                         u32(TextureOp::Add), u32(TextureArg::Texture)};

}  // namespace

PCText::PCText(const PCText& other) : AGText(other) {
    if (other.m_glyphCount != 0)
        Layout(m_string, m_utf8);
}

PCText::~PCText() {
    ReleaseDeviceObjects();
}

void PCText::CreateDeviceObjects() {
    Device* device = PCCurrentDevice();
    const u32 n = m_glyphCount;
    if (!device || n == 0)
        return;
    PCDeviceLock lock;
    m_positions = device->CreateVertexBuffer(n * 48, kUsageWriteOnly);
    m_colors = device->CreateVertexBuffer(n * 16, kUsageWriteOnly);
    m_texCoords = device->CreateVertexBuffer(n * 32, kUsageWriteOnly);
    m_indexBuffer = device->CreateIndexBuffer(n * 12);
    const VertexElement elements[] = {{0, 0, DeclType::Float3, DeclUsage::Position, 0},
                                      {2, 0, DeclType::Color, DeclUsage::Color, 0},
                                      {3, 0, DeclType::Float2, DeclUsage::TexCoord, 0}};
    if (m_positions && m_colors && m_texCoords && m_indexBuffer)
        m_declaration = device->CreateVertexDeclaration(elements, 3);
    if (!m_declaration) {
        ReleaseDeviceObjects();
        return;
    }
    if (void* bits = m_indexBuffer->Lock(0, n * 12)) {
        std::memcpy(bits, m_indices.Data(), size_t(n) * 12);
        m_indexBuffer->Unlock();
    }
}

void PCText::ReleaseDeviceObjects() {
    PCDeviceLock lock;
    PCReleaseDeviceObject(m_positions);
    PCReleaseDeviceObject(m_colors);
    PCReleaseDeviceObject(m_texCoords);
    PCReleaseDeviceObject(m_indexBuffer);
    PCReleaseDeviceObject(m_declaration);
}

void PCText::BuildAttribute() {
    m_attribute.Clear();
    if (!m_declaration || !m_attribute.SetPartCount(1))
        return;
    m_attribute.m_declarations[0] = m_declaration;
    AGVertexStreams& streams = m_attribute.m_streams[0];
    streams.entries[0] = {m_positions, 0, 0, 12};
    streams.entries[1] = {m_colors, 2, 0, 4};
    streams.entries[2] = {m_texCoords, 3, 0, 8};
    streams.count = 3;
    m_attribute.m_indexBuffers[0] = m_indexBuffer;
    m_attribute.m_cullModes[0] = AGRenderAttribute::kCullNone;
    m_attribute.m_depthWrites[0] = 0;
    m_attribute.m_world = &m_world;
    m_attribute.m_primitiveKind = AGRenderAttribute::kTriangleList;
    m_attribute.m_ready = 1;
    SetBlendMode(m_blendMode);
    PublishCounts();
}

void PCText::Initialize() {
    AGText::Initialize();
    ReleaseDeviceObjects();
    CreateDeviceObjects();
    BuildAttribute();
}

void PCText::Upload() {
    if (!m_vertexBuffer || !m_declaration)
        return;
    const u32 n = m_glyphCount;
    if (m_vertexBuffer->PositionCount() < 4 * n)
        return;
    PCDeviceLock lock;
    auto upload = [](VertexBuffer* to, const void* from, u32 bytes, u8& dirty) {
        if (!dirty)
            return;
        if (void* bits = to->Lock(0, bytes)) {
            std::memcpy(bits, from, bytes);
            to->Unlock();
        }
        dirty = 0;
    };
    upload(m_positions, m_vertexBuffer->m_positions.Data(), n * 48, m_positionDirty);
    upload(m_colors, m_vertexBuffer->m_colors.Data(), n * 16, m_colorDirty);
    upload(m_texCoords, m_vertexBuffer->m_texCoords.Data(), n * 32, m_texCoordDirty);
}

void PCText::Update() {
    AGText::Update();
    Upload();
}

void PCText::Draw() {
    Device* d = PCCurrentDevice();
    if (!d || !m_declaration || m_primitiveCount == 0)
        return;
    AGMaterial* material = m_font ? m_font->GetMaterial() : nullptr;
    if (material) {
        material->Apply();
        material->BindTextures();
    } else {
        PCTexture::Unbind(0);
    }
    d->SetTransform(TransformType::World, m_world);
    d->SetRenderState(RenderState::ZWriteEnable, 0u);
    d->SetRenderState(RenderState::ZEnable, 1u);
    // Glyph quads wind clockwise on a screen whose y grows downwards: culling clockwise
    // faces, as sprites do, would remove them.
    d->SetRenderState(RenderState::CullMode, Cull::None);
    d->SetRenderState(RenderState::AlphaBlendEnable, 1u);
    d->LightEnable(0, false);
    if (m_blendMode == 2)
        PCApplyBlendStates(*d, kAlphaMode);
    else if (m_blendMode == 3)
        PCApplyBlendStates(*d, kAdditiveMode);
    d->SetTextureStageState(0, StageState::TexCoordIndex, 0u);
    d->SetSamplerState(0, SamplerState::MinFilter, TextureFilter::Linear);
    d->SetSamplerState(0, SamplerState::MagFilter, TextureFilter::Linear);
    d->SetVertexDeclaration(m_declaration);
    d->SetStreamSource(0, m_positions, 0, 12);
    d->SetStreamSource(2, m_colors, 0, 4);
    d->SetStreamSource(3, m_texCoords, 0, 8);
    d->SetIndices(m_indexBuffer);
    d->DrawIndexedPrimitive(PrimitiveType::TriangleList, 0, 0, 4 * m_placedCount, 0, m_primitiveCount);
    d->SetRenderState(RenderState::Lighting, 0u);
}

void PCText::Prepare() {
    ReleaseDeviceObjects();
    m_attribute.Clear();
    AGText::Prepare();
}

void PCText::SetColor(u32 argb) {
    if (argb == m_color)
        return;
    m_color = argb;
    ApplyColor();
}

void PCText::SetOpacity(f32 opacity) {
    SetColor((m_color & 0x00FFFFFFu) | (PCOpacityAlpha(opacity) << 24));
}
