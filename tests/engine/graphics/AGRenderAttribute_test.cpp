#include "engine/graphics/AGRenderAttribute.h"

#include <gtest/gtest.h>

#include <cstring>
#include <type_traits>

// Setting the part count again starts every part afresh: a part keeps no buffer, count,
// state or material of the renderable's previous parts.
TEST(AGRenderAttribute, EveryPartStartsAfreshAndClearLeavesNoneReady) {
    AGRenderAttribute a;
    const auto stale = [](auto& array) {
        using T = std::remove_reference_t<decltype(array[0])>;
        std::memset(static_cast<void*>(&array[0]), 0x5A, sizeof(T));
    };
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(a.SetPartCount(1));
        EXPECT_TRUE(!a.m_declarations[0] && !a.m_indexBuffers[0] && !a.m_materials[0]);
        EXPECT_EQ(a.m_streams[0].count, 0u);
        EXPECT_EQ(a.m_vertexCounts[0] | a.m_primitiveCounts[0] | a.m_renderTypes[0] | a.m_cullModes[0] |
                      a.m_parameters[0] | a.m_values[0], 0u);
        EXPECT_EQ(a.m_depthWrites[0], 1u);
        stale(a.m_declarations), stale(a.m_streams), stale(a.m_indexBuffers), stale(a.m_vertexCounts);
        stale(a.m_primitiveCounts), stale(a.m_renderTypes), stale(a.m_cullModes), stale(a.m_parameters);
        stale(a.m_depthWrites), stale(a.m_values), stale(a.m_materials);
        a.m_ready = 1;
    }
    a.Clear();
    EXPECT_EQ(a.PartCount() + a.m_ready, 0u);
}
