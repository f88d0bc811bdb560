#include "engine/graphics/AGGraphicsProviders.h"

#include <gtest/gtest.h>

#include "engine/graphics/AGResourceHolds.h"
#include "engine/graphics/PCCam.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ResourceEnvironment.h"

// Before the graphics start-up the providers are placeholders: a take gives null and no hold.
TEST(AGGraphicsProviders, TakingFromAPlaceholderProviderGivesNullAndKeepsNoHold) {
    ResourceEnvironment env(false);
    LogCapture log;
    for (bool shared : {true, false})
        EXPECT_EQ(AGTakeResource<PCCam>(TypeKey::Camera, Crc32Hash("intro"), shared), nullptr) << shared;
    const AGResource* placeholder = env.Provider(TypeKey::Camera)->Find(Crc32Hash("intro"));
    EXPECT_EQ(std::pair(placeholder->RefCount(), env.Provider(TypeKey::Camera)->InstanceCount(Crc32Hash("intro"))),
              std::pair(0u, 0u));
    EXPECT_TRUE(log.Contains("not of the class asked for"));
}
