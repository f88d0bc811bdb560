#include "engine/graphics/PCSprite.h"

#include <algorithm>
#include <cstring>

#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/AGVertexBuffer.h"
#include "engine/graphics/PCDeviceLock.h"

using namespace platform::gfx;

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

PCSprite::~PCSprite() = default;

void PCSprite::CreateDeviceObjects() {
    if (m_vertexBuffer)
        m_streams.Create(kQuadVertices, m_vertexBuffer->TexCoordCount() >= kQuadVertices, 0);
}

void PCSprite::BuildAttribute() {
    m_attribute.Clear();
    if (!m_streams.Ready() || !m_attribute.SetPartCount(1))
        return;
    m_streams.FillPart(m_attribute);
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
    m_streams.Release();
    CreateDeviceObjects();
    BuildAttribute();
    Upload();
}

void PCSprite::Upload() {
    if (!m_vertexBuffer || !m_streams.Ready())
        return;
    PCDeviceLock lock;
    // A sprite that gained a material has gained texture coordinates too.
    if ((m_vertexBuffer->TexCoordCount() >= kQuadVertices) != (m_streams.TexCoords() != nullptr)) {
        CreateDeviceObjects();
        BuildAttribute();
        if (!m_streams.Ready())
            return;
        m_positionDirty = m_colorDirty = m_texCoordDirty = 1;
    }
    if (m_vertexBuffer->PositionCount() >= kQuadVertices)
        PCQuadStreams::CopyIfDirty(m_streams.Positions(), m_vertexBuffer->m_positions.Data(), kQuadVertices * 12,
                                   m_positionDirty);
    if (m_vertexBuffer->ColorCount() >= kQuadVertices)
        PCQuadStreams::CopyIfDirty(m_streams.Colors(), m_vertexBuffer->m_colors.Data(), kQuadVertices * 4,
                                   m_colorDirty);
    if (m_vertexBuffer->TexCoordCount() >= kQuadVertices)
        PCQuadStreams::CopyIfDirty(m_streams.TexCoords(), m_vertexBuffer->m_texCoords.Data(), kQuadVertices * 8,
                                   m_texCoordDirty);
}

void PCSprite::Update() {
    AGSprite::Update();
    Upload();
}

void PCSprite::Draw() {
    Device* d = PCCurrentDevice();
    if (!d || !m_streams.Ready())
        return;
    PCBeginOwnDraw(*d, m_material, m_world, Cull::CW, true);
    if (m_blendMode < 4)
        PCApplyBlendStates(*d, kSpriteModes[m_blendMode]);
    m_streams.Draw(*d, kQuadVertices, 2);
}

bool PCSprite::DrawnColor(u32& argb) const {
    const VertexBuffer* colors = m_streams.Ready() ? m_streams.Colors() : nullptr;
    if (!colors || colors->Size() < kQuadVertices * 4)
        return false;
    u32 c[kQuadVertices];
    std::memcpy(c, colors->Data(), sizeof c);
    argb = c[0];
    return std::all_of(c, c + kQuadVertices, [&](u32 v) { return v == argb; });
}

void PCSprite::Prepare() {
    m_streams.Release();
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
