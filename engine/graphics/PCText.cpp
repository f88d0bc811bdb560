#include "engine/graphics/PCText.h"

#include "engine/graphics/AGFont.h"
#include "engine/graphics/AGVertexBuffer.h"
#include "engine/graphics/PCDeviceLock.h"

using namespace platform::gfx;

namespace {

constexpr u32 kNoStage = PCBlendStates::kUnset;
constexpr PCBlendStates kAlphaMode = {0, 1, u32(TextureOp::Modulate), kNoStage, u32(TextureOp::Modulate),
                                      u32(TextureArg::Texture)};
constexpr PCBlendStates kAdditiveMode = {0, 2, u32(TextureOp::Modulate), u32(TextureArg::Texture),
                                         u32(TextureOp::Add), u32(TextureArg::Texture)};

}  // namespace

PCText::PCText(const PCText& other) : AGText(other) {
    if (other.m_glyphCount != 0)
        Layout(m_string, m_utf8);
}

PCText::~PCText() = default;

void PCText::CreateDeviceObjects() {
    const u32 n = m_glyphCount;
    if (n != 0 && m_streams.Create(4 * n, true, n * 12))
        PCQuadStreams::Copy(m_streams.Indices(), m_indices.Data(), n * 12);
}

void PCText::BuildAttribute() {
    m_attribute.Clear();
    if (!m_streams.Ready() || !m_attribute.SetPartCount(1))
        return;
    m_streams.FillPart(m_attribute);
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
    m_streams.Release();
    CreateDeviceObjects();
    BuildAttribute();
}

void PCText::Upload() {
    if (!m_vertexBuffer || !m_streams.Ready())
        return;
    const u32 n = m_glyphCount;
    if (m_vertexBuffer->PositionCount() < 4 * n)
        return;
    PCDeviceLock lock;
    PCQuadStreams::CopyIfDirty(m_streams.Positions(), m_vertexBuffer->m_positions.Data(), n * 48, m_positionDirty);
    PCQuadStreams::CopyIfDirty(m_streams.Colors(), m_vertexBuffer->m_colors.Data(), n * 16, m_colorDirty);
    PCQuadStreams::CopyIfDirty(m_streams.TexCoords(), m_vertexBuffer->m_texCoords.Data(), n * 32, m_texCoordDirty);
}

void PCText::Update() {
    AGText::Update();
    Upload();
}

void PCText::Draw() {
    Device* d = PCCurrentDevice();
    if (!d || !m_streams.Ready() || m_primitiveCount == 0)
        return;
    // Glyph quads wind clockwise on a screen whose y grows downwards: culling clockwise
    // faces, as sprites do, would remove them.
    PCBeginOwnDraw(*d, m_font ? m_font->GetMaterial() : nullptr, m_world, Cull::None, true);
    if (m_blendMode == 2)
        PCApplyBlendStates(*d, kAlphaMode);
    else if (m_blendMode == 3)
        PCApplyBlendStates(*d, kAdditiveMode);
    m_streams.Draw(*d, 4 * m_placedCount, m_primitiveCount);
}

void PCText::Prepare() {
    m_streams.Release();
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
