#include "engine/graphics/PCQuadStreams.h"

#include <cstring>

#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/AGRenderAttribute.h"
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

u32 PCOpacityAlpha(f32 opacity) {
    if (!(opacity > 0.0f))
        return 0;
    return opacity >= 1.0f ? 255u : u32(opacity * 255.0f);
}

void PCBeginOwnDraw(Device& d, AGMaterial* material, const Matrix& world, Cull cull, bool alphaBlend) {
    if (material) {
        material->Apply();
        material->BindTextures();
    } else {
        PCTexture::Unbind(0);
    }
    d.SetTransform(TransformType::World, world);
    d.SetRenderState(RenderState::ZWriteEnable, 0u);
    d.SetRenderState(RenderState::ZEnable, 1u);
    d.SetRenderState(RenderState::CullMode, cull);
    if (alphaBlend)
        d.SetRenderState(RenderState::AlphaBlendEnable, 1u);
    d.LightEnable(0, false);
}

bool PCQuadStreams::Create(u32 vertices, bool textured, u32 indexBytes) {
    Release();
    Device* device = PCCurrentDevice();
    if (!device || vertices == 0)
        return false;
    PCDeviceLock lock;
    m_positions = device->CreateVertexBuffer(vertices * 12, kUsageWriteOnly);
    m_colors = device->CreateVertexBuffer(vertices * 4, kUsageWriteOnly);
    if (textured)
        m_texCoords = device->CreateVertexBuffer(vertices * 8, kUsageWriteOnly);
    if (indexBytes != 0)
        m_indices = device->CreateIndexBuffer(indexBytes);
    const VertexElement elements[] = {{0, 0, DeclType::Float3, DeclUsage::Position, 0},
                                      {2, 0, DeclType::Color, DeclUsage::Color, 0},
                                      {3, 0, DeclType::Float2, DeclUsage::TexCoord, 0}};
    if (m_positions && m_colors && (!textured || m_texCoords) && (indexBytes == 0 || m_indices))
        m_declaration = device->CreateVertexDeclaration(elements, textured ? 3 : 2);
    if (!m_declaration)
        Release();
    return m_declaration != nullptr;
}

void PCQuadStreams::Release() {
    PCDeviceLock lock;
    PCReleaseDeviceObject(m_positions);
    PCReleaseDeviceObject(m_colors);
    PCReleaseDeviceObject(m_texCoords);
    PCReleaseDeviceObject(m_indices);
    PCReleaseDeviceObject(m_declaration);
}

void PCQuadStreams::Copy(BufferResource* to, const void* from, u32 bytes) {
    if (!to || !from)
        return;
    PCDeviceLock lock;
    if (void* bits = to->Lock(0, bytes)) {
        std::memcpy(bits, from, bytes);
        to->Unlock();
    }
}

void PCQuadStreams::CopyIfDirty(BufferResource* to, const void* from, u32 bytes, u8& dirty) {
    if (!dirty || !to || !from)
        return;
    Copy(to, from, bytes);
    dirty = 0;
}

void PCQuadStreams::FillPart(AGRenderAttribute& attribute) const {
    attribute.m_declarations[0] = m_declaration;
    AGVertexStreams& streams = attribute.m_streams[0];
    streams.entries[0] = {m_positions, 0, 0, 12};
    streams.entries[1] = {m_colors, 2, 0, 4};
    streams.entries[2] = {m_texCoords, 3, 0, 8};
    streams.count = m_texCoords ? 3 : 2;
    attribute.m_indexBuffers[0] = m_indices;
}

void PCQuadStreams::Draw(Device& d, u32 vertexCount, u32 primitiveCount) const {
    d.SetTextureStageState(0, StageState::TexCoordIndex, 0u);
    d.SetSamplerState(0, SamplerState::MinFilter, TextureFilter::Linear);
    d.SetSamplerState(0, SamplerState::MagFilter, TextureFilter::Linear);
    d.SetVertexDeclaration(m_declaration);
    d.SetStreamSource(0, m_positions, 0, 12);
    d.SetStreamSource(2, m_colors, 0, 4);
    d.SetStreamSource(3, m_texCoords, 0, 8);
    if (m_indices) {
        d.SetIndices(m_indices);
        d.DrawIndexedPrimitive(PrimitiveType::TriangleList, 0, 0, vertexCount, 0, primitiveCount);
    } else {
        d.DrawPrimitive(PrimitiveType::TriangleStrip, 0, primitiveCount);
    }
    d.SetRenderState(RenderState::Lighting, 0u);
}
