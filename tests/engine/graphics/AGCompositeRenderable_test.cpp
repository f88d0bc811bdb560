#include "engine/graphics/AGCompositeRenderable.h"

#include <cstring>
#include <type_traits>

#include "tests/engine/graphics/DrawingTestSupport.h"

using drawtest::Log;
using drawtest::TestRenderable;

TEST(AGCompositeRenderable, MembersShareTheTransformAndDetachedSlotsAreSkipped) {
    Log log;
    TestRenderable main(&log, "main"), mark(&log, "mark");
    mark.ClearFlags(AGRenderable::kShown);
    AGGraphicLayer layer;
    {
        AGCompositeRenderable composite;
        composite.AddRenderable(&main);
        composite.AddRenderable(&mark);
        composite.AddRenderable(nullptr);
        EXPECT_EQ(main.parent, &composite.Transform());
        composite.SetPosition({4, 5, 6});  // the members' shared transform moves with it
        const f32* m = composite.Transform().m;
        EXPECT_EQ((std::vector<f32>{composite.GetPosition().x, composite.GetPosition().z, m[12], m[13], m[14]}),
                  (std::vector<f32>{4, 6, 4, 5, 6}));
        composite.SetDepth(3);
        composite.AddToLayer(&layer);
        EXPECT_EQ(layer.RenderableCount(), 2u);
        EXPECT_EQ(mark.m_sortKey, f32((3 << 8) | 1));
        // Without the shown flag a member leaves the draw list on joining the layer, and
        // showing the composite does not bring it back.
        composite.SetVisible(false);
        composite.SetVisible(true);
        EXPECT_TRUE(main.HasFlags(AGRenderable::kActive) && !mark.HasFlags(AGRenderable::kActive));
        composite.SetOpacity(0.25f);

        // Detached slots are skipped by every walk over the members, destruction included.
        composite.DetachRenderable(&mark);
        EXPECT_EQ(composite.GetMember(1), nullptr);
        composite.SetVisible(false);
        composite.SetOpacity(0.5f);
        composite.AddToLayer(&layer);
        EXPECT_EQ(mark.opacity, 0.25f);
    }
    EXPECT_EQ(std::make_pair(main.prepared, mark.prepared), std::make_pair(1, 0));

    // A composite on no layer replaces a member in its slot alone.
    TestRenderable first(&log, "first"), second(&log, "second");
    AGCompositeRenderable loose;
    loose.AddRenderable(&first);
    loose.ReplaceRenderable(0, &second);
    EXPECT_TRUE(loose.GetMember(0) == &second && second.m_sortKey == first.m_sortKey);
}

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
