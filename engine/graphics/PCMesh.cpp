#include "engine/graphics/PCMesh.h"

#include <cstring>

#include "engine/core/AGLog.h"
#include "engine/graphics/AGRenderAttribute.h"
#include "engine/graphics/AGVertexBuffer.h"
#include "engine/graphics/AGVertexBufferDynamic.h"
#include "engine/graphics/PCDeviceLock.h"

using namespace platform::gfx;

namespace {

constexpr u32 kStrides[PCMesh::kStreamCount] = {12, 12, 4, 8, 8};

// Element i of the stream is source[list[i]].
template <typename T>
void Gather(VertexBuffer* to, const T* source, const AGOwnedBuffer<u16>& list) {
    if (!to || !source)
        return;
    T* out = static_cast<T*>(to->Lock(0, 0));
    if (!out)
        return;
    for (u32 i = 0; i < list.Count(); ++i)
        std::memcpy(static_cast<void*>(out + i), source + list[i], sizeof(T));
    to->Unlock();
}

}  // namespace

void PCMesh::ReleaseDeviceObjects() {
    PCDeviceLock lock;
    PCReleaseDeviceObject(m_indices);
    for (VertexBuffer*& stream : m_streams)
        PCReleaseDeviceObject(stream);
    PCReleaseDeviceObject(m_declaration);
}

bool PCMesh::Prepare(const AGVertexBuffer& vb, const AGOwnedBuffer<u32>* colors) {
    if (m_declaration)
        return true;
    Device* device = PCCurrentDevice();
    const u32 vertices = VertexCount();
    if (!device || vertices == 0 || m_lists[kTriangles].Empty())
        return false;
    const AGOwnedBuffer<u16>& map = m_lists[kVertexMap];
    bool normals = vb.NormalCount() != 0;
    for (u32 i = 0; normals && i < vertices; ++i)
        normals = map[i] < vb.NormalCount();
    if (!normals)
        AGReport("Mesh 0x%08X: vertex buffer 0x%08X has no normal for some of its vertices; "
                 "drawn without normals.", NameId(), vb.NameId());
    const bool colored = !m_lists[kColorIndex].Empty();
    const u32 texCoordSets =
        m_lists[kTexCoordIndex].Empty() || m_renderType == 0 ? 0 : m_renderType == 5 ? 2 : 1;

    PCDeviceLock lock;
    m_indices = device->CreateIndexBuffer(m_lists[kTriangles].Count() * 2);
    if (void* bits = m_indices ? m_indices->Lock(0, 0) : nullptr) {
        std::memcpy(bits, m_lists[kTriangles].Data(), m_lists[kTriangles].Count() * 2);
        m_indices->Unlock();
    }
    const bool wanted[kStreamCount] = {true, normals, colored, texCoordSets >= 1, texCoordSets >= 2};
    static constexpr DeclType kTypes[kStreamCount] = {DeclType::Float3, DeclType::Float3, DeclType::Color,
                                                      DeclType::Float2, DeclType::Float2};
    static constexpr DeclUsage kUsages[kStreamCount] = {DeclUsage::Position, DeclUsage::Normal, DeclUsage::Color,
                                                        DeclUsage::TexCoord, DeclUsage::TexCoord};
    VertexElement elements[kStreamCount];
    u32 elementCount = 0;
    bool complete = m_indices != nullptr;
    for (u32 s = 0; s < kStreamCount; ++s) {
        if (!wanted[s])
            continue;
        m_streams[s] = device->CreateVertexBuffer(vertices * kStrides[s], kUsageWriteOnly);
        complete = complete && m_streams[s];
        elements[elementCount++] = {u16(s), 0, kTypes[s], kUsages[s], u8(s == kTexCoords1 ? 1 : 0)};
    }
    if (complete)
        m_declaration = device->CreateVertexDeclaration(elements, elementCount);
    if (!m_declaration) {
        ReleaseDeviceObjects();
        return false;
    }
    Gather(m_streams[kPositions], vb.m_positions.Data(), map);
    Gather(m_streams[kNormals], vb.m_normals.Data(), map);
    const bool own = colors && colors->Count() == vb.ColorCount();
    Gather(m_streams[kColors], own ? colors->Data() : vb.m_colors.Data(), m_lists[kColorIndex]);
    Gather(m_streams[kTexCoords], vb.m_texCoords.Data(), m_lists[kTexCoordIndex]);
    Gather(m_streams[kTexCoords1], vb.m_texCoords.Data(), m_lists[kTexCoordIndex]);
    return true;
}

void PCMesh::CopySkinned(const AGVertexBufferDynamic& skinned, bool normals) {
    if (!m_declaration)
        return;
    PCDeviceLock lock;
    Gather(m_streams[kPositions], skinned.m_positions.Data(), m_lists[kVertexMap]);
    if (normals)
        Gather(m_streams[kNormals], skinned.m_normals.Data(), m_lists[kVertexMap]);
}

void PCMesh::UploadColors(const AGOwnedBuffer<u32>& colors) {
    if (!m_declaration)
        return;
    PCDeviceLock lock;
    Gather(m_streams[kColors], colors.Data(), m_lists[kColorIndex]);
}

void PCMesh::FillPart(AGRenderAttribute& attribute, u32 part) const {
    if (part >= attribute.PartCount())
        return;
    attribute.m_declarations[part] = m_declaration;
    attribute.m_indexBuffers[part] = m_indices;
    AGVertexStreams& streams = attribute.m_streams[part];
    streams.count = 0;
    for (u32 s = 0; s < kStreamCount; ++s)
        if (m_streams[s])
            streams.entries[streams.count++] = {m_streams[s], s, 0, kStrides[s]};
    attribute.m_vertexCounts[part] = VertexCount();
    attribute.m_primitiveCounts[part] = m_triangleCount;
    attribute.m_renderTypes[part] = m_renderType;
    attribute.m_cullModes[part] = CullsBackFaces() ? AGRenderAttribute::kCullCW : AGRenderAttribute::kCullNone;
    attribute.m_parameters[part] = m_flags & kNoAlphaTest;
}

void PCMesh::Draw() const {
    Device* d = PCCurrentDevice();
    if (!d || !m_declaration)
        return;
    // Only stage 0 counts; the material bound its textures before.
    for (u32 stage = 1; stage < kMaxStages; ++stage)
        d->SetTextureStageState(stage, StageState::ColorOp, TextureOp::Disable);
    d->SetRenderState(RenderState::CullMode, CullsBackFaces() ? Cull::CW : Cull::None);
    d->SetRenderState(RenderState::ZEnable, 1u);
    if (m_renderType != 4) {
        d->SetSamplerState(0, SamplerState::MinFilter, TextureFilter::Linear);
        d->SetSamplerState(0, SamplerState::MagFilter, TextureFilter::Linear);
        d->SetTextureStageState(0, StageState::TexCoordIndex, 0u);
    }
    const bool blended = m_renderType >= 2 && m_renderType <= 4;
    if (m_renderType <= 3)
        d->SetRenderState(RenderState::ZWriteEnable, m_renderType == 3 ? 0u : 1u);
    d->SetRenderState(RenderState::AlphaBlendEnable, blended ? 1u : 0u);
    if (blended) {
        d->SetRenderState(RenderState::SrcBlend, Blend::SrcAlpha);
        d->SetRenderState(RenderState::DestBlend, m_renderType == 3 ? Blend::One : Blend::InvSrcAlpha);
    }
    switch (m_renderType) {
    case 0:
        d->SetTextureStageState(0, StageState::ColorOp, TextureOp::SelectArg1);
        d->SetTextureStageState(0, StageState::ColorArg1, TextureArg::Diffuse);
        d->SetTextureStageState(0, StageState::AlphaOp, TextureOp::SelectArg1);
        d->SetTextureStageState(0, StageState::AlphaArg1, TextureArg::Diffuse);
        break;
    case 1:
        d->SetTextureStageState(0, StageState::ColorOp, TextureOp::Modulate);
        d->SetTextureStageState(0, StageState::ColorArg1, TextureArg::Texture);
        d->SetTextureStageState(0, StageState::ColorArg2, TextureArg::Diffuse);
        break;
    case 2:
    case 3:
    case 4:
        for (StageState op : {StageState::ColorOp, StageState::AlphaOp})
            d->SetTextureStageState(0, op, TextureOp::Modulate);
        for (StageState arg : {StageState::ColorArg1, StageState::AlphaArg1})
            d->SetTextureStageState(0, arg, TextureArg::Texture);
        for (StageState arg : {StageState::ColorArg2, StageState::AlphaArg2})
            d->SetTextureStageState(0, arg, TextureArg::Diffuse);
        if (m_renderType == 2 && !(m_flags & kNoAlphaTest)) {
            d->SetRenderState(RenderState::ZFunc, Cmp::LessEqual);
            d->SetRenderState(RenderState::AlphaFunc, Cmp::GreaterEqual);
            d->SetRenderState(RenderState::AlphaRef, 95u);
            d->SetRenderState(RenderState::AlphaTestEnable, 1u);
        }
        if (m_renderType == 4) {
            d->SetTextureStageState(0, StageState::TextureTransformFlags, TextureTransform::Disable);
            d->SetTextureStageState(0, StageState::TexCoordIndex, kTexCoordSphereMap);
        }
        break;
    default:
        break;
    }
    d->SetVertexDeclaration(m_declaration);
    for (u32 s = 0; s < kStreamCount; ++s)
        if (m_streams[s])
            d->SetStreamSource(s, m_streams[s], 0, kStrides[s]);
    d->SetIndices(m_indices);
    d->DrawIndexedPrimitive(PrimitiveType::TriangleList, 0, 0, VertexCount(), 0, m_triangleCount);
    d->SetRenderState(RenderState::ZWriteEnable, 0u);
    d->SetRenderState(RenderState::ZEnable, 0u);
    d->SetRenderState(RenderState::AlphaTestEnable, 0u);
}
