#include <gtest/gtest.h>

#include "engine/graphics/AGGraphicLayer.h"
#include "gameservices/bridge/systems/RenderingSystem.h"
#include "tests/support/ResourceEnvironment.h"

using GameServices::Bridge::RenderingSystem;

// With only the core's placeholder providers, a camera or renderer of the wrong class is given
// back instead of being used as one.
TEST(SharedLayer, ResourcesOfAnotherClassAreNotUsed) {
    ResourceEnvironment environment(false);
    AGGraphicLayer* layer = RenderingSystem::GetSharedGraphicLayer();
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->GetCamera(), nullptr);
    RenderingSystem::ReleaseSharedGraphicLayer();
    EXPECT_EQ(RenderingSystem::PeekSharedGraphicLayer(), nullptr);
}
