// The frame digest: a pass of the frame's calls that reaches no GL and tells whether the
// frame would draw what the last one drew.
#include <algorithm>
#include <cstring>

#include "platform/gfx/Device.h"

namespace platform::gfx {

namespace {

constexpr uint64_t kDigestSeed = 0x9E3779B97F4A7C15ull;

uint64_t Mix(uint64_t h, uint64_t word) {
    h ^= word;
    h *= 0xFF51AFD7ED558CCDull;
    return h ^ (h >> 32);
}

}  // namespace

void Device::BeginDigest() {
    if (m_digest)
        return;
    auto pass = std::make_unique<DigestPass>();
    pass->digest = kDigestSeed;
    std::memcpy(pass->renderStates, m_renderStates, sizeof m_renderStates);
    pass->renderStatesDirty = m_renderStatesDirty;
    for (uint32_t i = 0; i < kMaxStages; ++i) {
        pass->stages[i] = m_stages[i];
        if (Texture* texture = pass->stages[i].texture)
            texture->AddRef();
    }
    pass->world = m_world;
    pass->view = m_view;
    pass->projection = m_projection;
    pass->projectionDirty = m_projectionDirty;
    pass->modelviewDirty = m_modelviewDirty;
    pass->viewport = m_viewport;
    pass->scissor = m_scissor;
    pass->viewportDirty = m_viewportDirty;
    pass->scissorDirty = m_scissorDirty;
    pass->light = m_light;
    pass->lightEnabled = m_lightEnabled;
    pass->lightDirty = m_lightDirty;
    pass->material = m_material;
    pass->materialDirty = m_materialDirty;
    pass->declaration = m_declaration;
    for (uint32_t i = 0; i < kMaxStreams; ++i) {
        pass->streams[i] = m_streams[i];
        if (VertexBuffer* buffer = pass->streams[i].buffer)
            buffer->AddRef();
    }
    pass->indices = m_indices;
    if (m_declaration)
        m_declaration->AddRef();
    if (m_indices)
        m_indices->AddRef();
    m_digest = std::move(pass);
}

uint64_t Device::EndDigest() {
    if (!m_digest)
        return 0;
    std::unique_ptr<DigestPass> pass = std::move(m_digest);
    std::memcpy(m_renderStates, pass->renderStates, sizeof m_renderStates);
    m_renderStatesDirty = pass->renderStatesDirty;
    for (uint32_t i = 0; i < kMaxStages; ++i) {
        Stage& saved = pass->stages[i];
        Rebind(m_stages[i].texture, saved.texture);
        if (saved.texture)
            saved.texture->Release();
        m_stages[i] = saved;
    }
    m_world = pass->world;
    m_view = pass->view;
    m_projection = pass->projection;
    m_projectionDirty = pass->projectionDirty;
    m_modelviewDirty = pass->modelviewDirty;
    m_viewport = pass->viewport;
    m_scissor = pass->scissor;
    m_viewportDirty = pass->viewportDirty;
    m_scissorDirty = pass->scissorDirty;
    m_light = pass->light;
    m_lightEnabled = pass->lightEnabled;
    m_lightDirty = pass->lightDirty;
    m_material = pass->material;
    m_materialDirty = pass->materialDirty;
    for (uint32_t i = 0; i < kMaxStreams; ++i) {
        Stream& saved = pass->streams[i];
        Rebind(m_streams[i].buffer, saved.buffer);
        if (saved.buffer)
            saved.buffer->Release();
        m_streams[i] = saved;
    }
    Rebind(m_declaration, pass->declaration);
    if (pass->declaration)
        pass->declaration->Release();
    Rebind(m_indices, pass->indices);
    if (pass->indices)
        pass->indices->Release();
    return pass->digest;
}

void Device::Digest(const void* bytes, size_t size) {
    const auto* p = static_cast<const uint8_t*>(bytes);
    uint64_t h = Mix(m_digest->digest, size);
    for (; size >= 8; p += 8, size -= 8) {
        uint64_t word;
        std::memcpy(&word, p, 8);
        h = Mix(h, word);
    }
    if (size) {
        uint64_t word = 0;
        std::memcpy(&word, p, size);
        h = Mix(h, word);
    }
    m_digest->digest = h;
}

void Device::DigestDraw(PrimitiveType type, int64_t baseVertex, uint32_t first, uint32_t count,
                        const uint16_t* indices, uint64_t indexCount) {
    DigestValue(uint32_t(type));
    DigestValue(baseVertex);
    DigestValue(first);
    DigestValue(count);
    DigestValue(m_renderStates);
    for (const Stage& stage : m_stages) {
        DigestValue(stage.states);
        DigestValue(stage.sampler);
        DigestValue(stage.textureMatrix);
        DigestValue(stage.texture);
        DigestValue(stage.texture ? stage.texture->m_version.load(std::memory_order_acquire) : 0);
    }
    DigestValue(m_world);
    DigestValue(m_view);
    DigestValue(m_projection);
    DigestValue(m_viewport);
    DigestValue(m_scissor);
    DigestValue(m_light);
    DigestValue(m_lightEnabled);
    DigestValue(m_material);
    if (indices)
        Digest(indices, size_t(indexCount) * 2);
    if (!m_declaration)
        return;
    const std::vector<VertexElement>& elements = m_declaration->Elements();
    for (const VertexElement& e : elements)
        DigestValue(uint64_t(e.stream) | uint64_t(e.offset) << 16 | uint64_t(e.type) << 32 |
                    uint64_t(e.usage) << 40 | uint64_t(e.usageIndex) << 48);
    // Every stream the declaration reads, over the vertices drawn.
    uint32_t digested = 0;
    for (const VertexElement& e : elements) {
        if (e.stream >= kMaxStreams || (digested & (1u << e.stream)))
            continue;
        digested |= 1u << e.stream;
        const Stream& stream = m_streams[e.stream];
        DigestValue(stream.buffer);
        DigestValue(stream.offset);
        DigestValue(stream.stride);
        if (!stream.buffer || baseVertex < 0)
            continue;
        const uint64_t size = stream.buffer->Size();
        const uint64_t begin = std::min<uint64_t>(stream.offset + uint64_t(baseVertex + first) * stream.stride, size);
        const uint64_t end = std::min<uint64_t>(begin + uint64_t(count) * std::max<uint32_t>(stream.stride, 1), size);
        Digest(stream.buffer->Data() + begin, size_t(end - begin));
    }
}

}  // namespace platform::gfx
