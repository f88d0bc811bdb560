#include "engine/graphics/AGCompositeRenderable.h"

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
