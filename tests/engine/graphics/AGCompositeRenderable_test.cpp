#include "engine/graphics/AGCompositeRenderable.h"

#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/support/LogCapture.h"

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
        EXPECT_TRUE(main.HasFlags(AGRenderable::kActive));
        EXPECT_FALSE(mark.HasFlags(AGRenderable::kActive));
        composite.SetOpacity(0.25f);

        // Detached slots are skipped by every walk over the members, destruction included.
        composite.DetachRenderable(&mark);
        EXPECT_EQ(composite.GetMember(1), nullptr);
        composite.SetVisible(false);
        composite.SetOpacity(0.5f);
        composite.AddToLayer(&layer);
        EXPECT_EQ(mark.opacity, 0.25f);
    }
    EXPECT_EQ(main.prepared, 1);
    EXPECT_EQ(mark.prepared, 0);
}

TEST(AGCompositeRenderable, ReplacedMemberTakesTheSlotKeyAndLayerPlace) {
    Log log;
    TestRenderable a(&log, "a"), b(&log, "b"), c(&log, "c"), d(&log, "d");
    AGGraphicLayer layer;
    AGCompositeRenderable composite;
    composite.SetDepth(1);
    composite.AddRenderable(&a);
    composite.AddRenderable(&b);
    composite.AddToLayer(&layer);
    composite.ReplaceRenderable(1, &c);
    EXPECT_EQ(c.m_sortKey, b.m_sortKey);
    EXPECT_EQ(c.parent, &composite.Transform());
    EXPECT_EQ(layer.GetRenderable(1), &c);
    // A member the layer no longer holds: the newcomer is appended.
    layer.RemoveRenderable(&a);
    composite.ReplaceRenderable(0, &d);
    EXPECT_EQ(layer.GetRenderable(1), &d);

    LogCapture capture;
    composite.ReplaceRenderable(7, &a);
    EXPECT_EQ(capture.Lines().size(), 1u);
    EXPECT_EQ(composite.MemberCount(), 2u);
}
