#include "engine/graphics/PCRenderer.h"

#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/PCDeviceLock.h"
#include "engine/graphics/PCLight.h"
#include "engine/graphics/PCTexture.h"
#include "platform/gfx/GfxMath.h"

using namespace platform::gfx;

void PCRenderer::DrawRenderAttribute(AGRenderAttribute& attribute) {
    if (!attribute.m_ready || !PCCurrentDevice())
        return;
    SetWorld(attribute.m_world);
    ResetStages();
    const u32 parts = attribute.PartCount();
    for (u32 i = 0; i < parts; ++i) {
        if (!attribute.m_declarations[i])
            continue;
        if (attribute.m_light)
            ApplyLight(attribute.m_light);
        ApplyMaterial(attribute.m_materials[i]);
        SetDeclaration(attribute.m_declarations[i]);
        SetStreams(attribute.m_streams[i]);
        SetRenderType(attribute.m_cullModes[i], attribute.m_renderTypes[i], attribute.m_parameters[i]);
        SetDepthWrite(attribute.m_depthWrites[0] != 0);
        if (attribute.m_indexBuffers[i])
            SetIndices(attribute.m_indexBuffers[i]);
        Draw(attribute.m_vertexCounts[i], attribute.m_primitiveCounts[i], attribute.m_primitiveKind);
    }
    DepthOff();
    LightingOff();
}

void PCRenderer::SetWorld(const Matrix* world) {
    if (Device* d = PCCurrentDevice())
        d->SetTransform(TransformType::World, world ? *world : MatrixIdentity());
}

void PCRenderer::SetDeclaration(VertexDeclaration* declaration) {
    if (Device* d = PCCurrentDevice())
        d->SetVertexDeclaration(declaration);
}

void PCRenderer::ApplyMaterial(AGMaterial* material) {
    if (!material) {
        PCTexture::Unbind(0);
        return;
    }
    material->Apply();
    material->BindTextures();
}

void PCRenderer::SetStreams(const AGVertexStreams& streams) {
    Device* d = PCCurrentDevice();
    if (!d)
        return;
    const u32 count = streams.count < kMaxStreams ? streams.count : kMaxStreams;
    for (u32 i = 0; i < count; ++i) {
        const AGVertexStreams::Entry& e = streams.entries[i];
        if (e.stream < kMaxStreams)
            d->SetStreamSource(e.stream, e.buffer, e.offset, e.stride);
    }
}

void PCRenderer::SetIndices(IndexBuffer* indices) {
    if (Device* d = PCCurrentDevice())
        d->SetIndices(indices);
}

void PCRenderer::SetRenderType(u32 cull, u32 renderType, u32) {
    Device* d = PCCurrentDevice();
    if (!d)
        return;
    if (cull <= AGRenderAttribute::kCullCCW)
        m_cull = cull == AGRenderAttribute::kCullNone ? Cull::None
                 : cull == AGRenderAttribute::kCullCW ? Cull::CW
                                                      : Cull::CCW;
    d->SetRenderState(RenderState::CullMode, m_cull);
    d->SetRenderState(RenderState::ZEnable, 1u);
    switch (renderType) {
    case AGRenderAttribute::kOnlyColor:
        OpaqueStates(TextureOp::SelectArg2);
        d->SetTextureStageState(0, StageState::AlphaArg1, TextureArg::Texture);
        d->SetTextureStageState(0, StageState::AlphaArg2, TextureArg::Diffuse);
        break;
    case AGRenderAttribute::kDiffuse:
        OpaqueStates(TextureOp::Modulate);
        d->SetTextureStageState(0, StageState::TexCoordIndex, 0u);
        break;
    case AGRenderAttribute::kDiffuseAlpha: DiffuseAlphaStates(); break;
    case AGRenderAttribute::kAdditive: AdditiveStates(); break;
    default: break;
    }
}

void PCRenderer::SetDepthWrite(bool enable) {
    if (Device* d = PCCurrentDevice())
        d->SetRenderState(RenderState::ZWriteEnable, enable ? 1u : 0u);
}

void PCRenderer::SetDepthTest(bool enable) {
    if (Device* d = PCCurrentDevice())
        d->SetRenderState(RenderState::ZEnable, enable ? 1u : 0u);
}

void PCRenderer::ApplyLight(AGLight* light) {
    Device* d = PCCurrentDevice();
    const PCLight* deviceLight = dynamic_cast<const PCLight*>(light);
    if (!d || !deviceLight)
        return;
    const bool enabled = deviceLight->IsEnabled();
    d->SetLight(0, deviceLight->DeviceLight());
    d->LightEnable(0, enabled);
    d->SetRenderState(RenderState::Lighting, enabled ? 1u : 0u);
    d->SetRenderState(RenderState::Ambient, light->m_ambient);
}

void PCRenderer::Draw(u32 vertexCount, u32 primitiveCount, u32 primitiveKind) {
    Device* d = PCCurrentDevice();
    if (!d || primitiveCount == 0)
        return;
    switch (primitiveKind) {
    case AGRenderAttribute::kLineList: d->DrawPrimitive(PrimitiveType::LineList, 0, primitiveCount); break;
    case AGRenderAttribute::kTriangleStrip: d->DrawPrimitive(PrimitiveType::TriangleStrip, 0, primitiveCount); break;
    case AGRenderAttribute::kTriangleFan: d->DrawPrimitive(PrimitiveType::TriangleFan, 0, primitiveCount); break;
    default:
        d->DrawIndexedPrimitive(PrimitiveType::TriangleList, 0, 0, vertexCount, 0, primitiveCount);
        DepthOff();
        break;
    }
}

void PCRenderer::LightingOff() {
    if (Device* d = PCCurrentDevice()) {
        d->SetRenderState(RenderState::Lighting, 0u);
        d->LightEnable(0, false);
    }
}

void PCRenderer::ResetStages() {
    Device* d = PCCurrentDevice();
    if (!d)
        return;
    d->SetRenderState(RenderState::ZEnable, 1u);
    d->SetRenderState(RenderState::Lighting, 0u);
    d->LightEnable(0, false);
    for (u32 stage = 0; stage < kMaxStages; ++stage)
        d->SetTextureStageState(stage, StageState::ColorOp, TextureOp::Disable);
}

void PCRenderer::DepthOff() {
    if (Device* d = PCCurrentDevice()) {
        d->SetRenderState(RenderState::ZWriteEnable, 0u);
        d->SetRenderState(RenderState::ZEnable, 0u);
        d->SetRenderState(RenderState::AlphaTestEnable, 0u);
    }
}

void PCRenderer::OpaqueStates(TextureOp colorOp) {
    Device& d = *PCCurrentDevice();
    d.SetRenderState(RenderState::ZWriteEnable, 1u);
    d.SetRenderState(RenderState::AlphaBlendEnable, 0u);
    d.SetTextureStageState(0, StageState::ColorOp, colorOp);
    d.SetTextureStageState(0, StageState::ColorArg1, TextureArg::Texture);
    d.SetTextureStageState(0, StageState::ColorArg2, TextureArg::Diffuse);
    d.SetTextureStageState(0, StageState::AlphaOp, TextureOp::Disable);
}

void PCRenderer::DiffuseAlphaStates() {
    Device& d = *PCCurrentDevice();
    d.SetRenderState(RenderState::ZWriteEnable, 1u);
    d.SetRenderState(RenderState::AlphaBlendEnable, 1u);
    d.SetRenderState(RenderState::SrcBlend, Blend::SrcAlpha);
    d.SetRenderState(RenderState::DestBlend, Blend::InvSrcAlpha);
    for (StageState op : {StageState::ColorOp, StageState::AlphaOp})
        d.SetTextureStageState(0, op, TextureOp::Modulate);
    for (StageState arg : {StageState::ColorArg1, StageState::AlphaArg1})
        d.SetTextureStageState(0, arg, TextureArg::Diffuse);
    for (StageState arg : {StageState::ColorArg2, StageState::AlphaArg2})
        d.SetTextureStageState(0, arg, TextureArg::Texture);
    d.SetTextureStageState(0, StageState::TexCoordIndex, 0u);
}

void PCRenderer::AdditiveStates() {
    DiffuseAlphaStates();
    Device& d = *PCCurrentDevice();
    d.SetRenderState(RenderState::ZWriteEnable, 0u);
    d.SetRenderState(RenderState::DestBlend, Blend::One);
}
