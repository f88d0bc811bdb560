#include "engine/graphics/PCSprite.h"

#include <cstring>

#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/AGVertexBuffer.h"
#include "engine/graphics/PCDeviceLock.h"
#include "engine/graphics/PCTexture.h"

using namespace platform::gfx;

void PCApplyBlendStates(Device& d, const PCBlendStates& s) {
    d.SetRenderState(RenderState::ZWriteEnable, s.depthWrite);
    d.SetRenderState(RenderState::AlphaBlendEnable, s.blend != 0 ? 1u : 0u);
    if (s.blend != 0) {
        d.SetRenderState(RenderState::SrcBlend, Blend::SrcAlpha);
        d.SetRenderState(RenderState::DestBlend, s.blend == 1 ? Blend::InvSrcAlpha : Blend::One);
    }
    d.SetTextureStageState(0, StageState::ColorArg0, TextureArg::Diffuse);
    d.SetTextureStageState(0, StageState::AlphaArg0, TextureArg::Diffuse);
    if (s.colorOp != PCBlendStates::kUnset)
        d.SetTextureStageState(0, StageState::ColorOp, s.colorOp);
    if (s.colorArg1 != PCBlendStates::kUnset)
        d.SetTextureStageState(0, StageState::ColorArg1, s.colorArg1);
    if (s.alphaOp != PCBlendStates::kUnset)
        d.SetTextureStageState(0, StageState::AlphaOp, s.alphaOp);
    if (s.alphaArg1 != PCBlendStates::kUnset)
        d.SetTextureStageState(0, StageState::AlphaArg1, s.alphaArg1);
}

namespace {

constexpr u32 kUnset = PCBlendStates::kUnset;
constexpr u32 kSelect1 = u32(TextureOp::SelectArg1);
constexpr u32 kModulate = u32(TextureOp::Modulate);
constexpr u32 kAdd = u32(TextureOp::Add);
constexpr u32 kTexture = u32(TextureArg::Texture);
constexpr u32 kDiffuse = u32(TextureArg::Diffuse);

constexpr PCBlendStates kSpriteModes[4] = {
    {1, 0, kSelect1, kDiffuse, kUnset, kUnset},
    {1, 0, kModulate, kTexture, kUnset, kUnset},
    {0, 1, kSelect1, kUnset, kSelect1, kTexture},
    {0, 2, kModulate, kTexture, kAdd, kTexture},
};

constexpr u32 kQuadVertices = 4;

}  // namespace

PCSprite::PCSprite(const PCSprite& other) : AGSprite(other) {
    if (m_vertexBuffer)
        Initialize();
}

PCSprite::~PCSprite() {
    ReleaseDeviceObjects();
}

void PCSprite::CreateDeviceObjects() {
    Device* device = PCCurrentDevice();
    if (!device || !m_vertexBuffer)
        return;
    PCDeviceLock lock;
    const bool textured = m_vertexBuffer->TexCoordCount() >= kQuadVertices;
    m_positions = device->CreateVertexBuffer(kQuadVertices * 12, kUsageWriteOnly);
    m_colors = device->CreateVertexBuffer(kQuadVertices * 4, kUsageWriteOnly);
    if (textured)
        m_texCoords = device->CreateVertexBuffer(kQuadVertices * 8, kUsageWriteOnly);
    const VertexElement elements[] = {{0, 0, DeclType::Float3, DeclUsage::Position, 0},
                                      {2, 0, DeclType::Color, DeclUsage::Color, 0},
                                      {3, 0, DeclType::Float2, DeclUsage::TexCoord, 0}};
    if (m_positions && m_colors && (!textured || m_texCoords))
        m_declaration = device->CreateVertexDeclaration(elements, textured ? 3 : 2);
    if (!m_declaration)
        ReleaseDeviceObjects();
}

void PCSprite::ReleaseDeviceObjects() {
    PCDeviceLock lock;
    PCReleaseDeviceObject(m_positions);
    PCReleaseDeviceObject(m_colors);
    PCReleaseDeviceObject(m_texCoords);
    PCReleaseDeviceObject(m_declaration);
}

void PCSprite::BuildAttribute() {
    m_attribute.Clear();
    if (!m_declaration || !m_attribute.SetPartCount(1))
        return;
    m_attribute.m_declarations[0] = m_declaration;
    AGVertexStreams& streams = m_attribute.m_streams[0];
    streams.entries[0] = {m_positions, 0, 0, 12};
    streams.entries[1] = {m_colors, 2, 0, 4};
    streams.entries[2] = {m_texCoords, 3, 0, 8};
    streams.count = m_texCoords ? 3 : 2;
    m_attribute.m_vertexCounts[0] = kQuadVertices;
    m_attribute.m_primitiveCounts[0] = 2;
    m_attribute.m_renderTypes[0] = AGRenderAttribute::kDiffuseAlpha;
    m_attribute.m_cullModes[0] = AGRenderAttribute::kCullCW;
    m_attribute.m_materials[0] = m_material;
    m_attribute.m_world = &m_world;
    m_attribute.m_primitiveKind = AGRenderAttribute::kTriangleStrip;
    m_attribute.m_ready = 1;
}

void PCSprite::Initialize() {
    AGSprite::Initialize();
    ReleaseDeviceObjects();
    CreateDeviceObjects();
    BuildAttribute();
    Upload();
}

void PCSprite::Upload() {
    if (!m_vertexBuffer || !m_declaration)
        return;
    PCDeviceLock lock;
    // A sprite that gained a material has gained texture coordinates too.
    if ((m_vertexBuffer->TexCoordCount() >= kQuadVertices) != (m_texCoords != nullptr)) {
        ReleaseDeviceObjects();
        CreateDeviceObjects();
        BuildAttribute();
        if (!m_declaration)
            return;
        m_positionDirty = m_colorDirty = m_texCoordDirty = 1;
    }
    auto upload = [](VertexBuffer* to, const void* from, u32 bytes, u8& dirty) {
        if (!dirty || !to || !from)
            return;
        if (void* bits = to->Lock(0, bytes)) {
            std::memcpy(bits, from, bytes);
            to->Unlock();
        }
        dirty = 0;
    };
    if (m_vertexBuffer->PositionCount() >= kQuadVertices)
        upload(m_positions, m_vertexBuffer->m_positions.Data(), kQuadVertices * 12, m_positionDirty);
    if (m_vertexBuffer->ColorCount() >= kQuadVertices)
        upload(m_colors, m_vertexBuffer->m_colors.Data(), kQuadVertices * 4, m_colorDirty);
    if (m_vertexBuffer->TexCoordCount() >= kQuadVertices)
        upload(m_texCoords, m_vertexBuffer->m_texCoords.Data(), kQuadVertices * 8, m_texCoordDirty);
}

void PCSprite::Update() {
    AGSprite::Update();
    Upload();
}

void PCSprite::Draw() {
    Device* d = PCCurrentDevice();
    if (!d || !m_declaration)
        return;
    if (m_material) {
        m_material->Apply();
        m_material->BindTextures();
    } else {
        PCTexture::Unbind(0);
    }
    d->SetTransform(TransformType::World, m_world);
    d->SetRenderState(RenderState::ZWriteEnable, 0u);
    d->SetRenderState(RenderState::ZEnable, 1u);
    d->SetRenderState(RenderState::CullMode, Cull::CW);
    d->SetRenderState(RenderState::AlphaBlendEnable, 1u);
    d->LightEnable(0, false);
    if (m_blendMode < 4)
        PCApplyBlendStates(*d, kSpriteModes[m_blendMode]);
    d->SetTextureStageState(0, StageState::TexCoordIndex, 0u);
    d->SetSamplerState(0, SamplerState::MinFilter, TextureFilter::Linear);
    d->SetSamplerState(0, SamplerState::MagFilter, TextureFilter::Linear);
    d->SetVertexDeclaration(m_declaration);
    d->SetStreamSource(0, m_positions, 0, 12);
    d->SetStreamSource(2, m_colors, 0, 4);
    d->SetStreamSource(3, m_texCoords, 0, 8);
    d->DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2);
    d->SetRenderState(RenderState::Lighting, 0u);
}

void PCSprite::Prepare() {
    ReleaseDeviceObjects();
    m_attribute.Clear();
    AGSprite::Prepare();
}

void PCSprite::SetColor(u32 argb) {
    if (argb == m_color)
        return;
    m_color = argb;
    ApplyColor();
}

void PCSprite::SetOpacity(f32 opacity) {
    SetColor((m_color & 0x00FFFFFFu) | (PCOpacityAlpha(opacity) << 24));
}

u32 PCOpacityAlpha(f32 opacity) {
    if (!(opacity > 0.0f))
        return 0;
    return opacity >= 1.0f ? 255u : u32(opacity * 255.0f);
}
