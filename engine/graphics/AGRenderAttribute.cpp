#include "engine/graphics/AGRenderAttribute.h"

bool AGRenderAttribute::SetPartCount(u32 n) {
    Clear();
    if (n == 0)
        return true;
    const bool ok = m_declarations.Resize(n) && m_streams.Resize(n) && m_indexBuffers.Resize(n) &&
                    m_vertexCounts.Resize(n) && m_primitiveCounts.Resize(n) &&
                    m_renderTypes.Resize(n) && m_cullModes.Resize(n) && m_parameters.Resize(n) &&
                    m_depthWrites.Resize(n) && m_values.Resize(n) && m_materials.Resize(n);
    if (!ok) {
        Clear();
        return false;
    }
    for (u8& write : m_depthWrites)
        write = 1;
    return true;
}

void AGRenderAttribute::Clear() {
    m_declarations.Release();
    m_streams.Release();
    m_indexBuffers.Release();
    m_vertexCounts.Release();
    m_primitiveCounts.Release();
    m_renderTypes.Release();
    m_cullModes.Release();
    m_parameters.Release();
    m_depthWrites.Release();
    m_values.Release();
    m_materials.Release();
    m_ready = 0;
}
