#include "engine/graphics/AGGraphicsProviders.h"

#include "engine/graphics/AGPrscAnimation.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "engine/graphics/AGResourceHolds.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ResourceEnvironment.h"
#include "tools/authoring/TrackWriter.h"

using authoring::Track;

// The other providers load in the model and drawing tests.
TEST(AGGraphicsProviders, AnimationsAndCamerasLoadFromAPackageAndCamerasClone) {
    drawtest::TestPackage package;
    package.Writer()
        .Add("wave.anm", TypeKey::PrscAnimation,
             authoring::PrscAnimationBytes(8, 30, Track::Vec2().Key(0, {4, 5}), Track::Float(), Track::Vec2(),
                                           Track::Color(), Track::UV()))
        .Add("intro", TypeKey::Camera,
             authoring::CameraBytes(2, Track::Vec3().Key(0, {0, 5, -20}), Track::Vec3(), Track::Float()));
    package.Mount();
    auto* anm = package.Get<AGPrscAnimation>(TypeKey::PrscAnimation, "wave.anm");
    ASSERT_NE(anm, nullptr);
    EXPECT_EQ(anm->m_position.Values()[0].y, 5.0f);
    auto* camera = package.Get<PCCam>(TypeKey::Camera, "intro");
    auto* clone = package.Instance<PCCam>(TypeKey::Camera, "intro");
    ASSERT_TRUE(camera && clone);
    EXPECT_NE(clone, camera);
    EXPECT_EQ(clone->GetEye().y, 5.0f);
    for (AGResource* r : std::initializer_list<AGResource*>{clone, camera, anm})
        package.GiveBack(r->GetTypeKey(), r);
}

// Before the graphics start-up the providers are placeholders: a take gives null and no hold.
TEST(AGGraphicsProviders, TakingFromAPlaceholderProviderGivesNullAndKeepsNoHold) {
    ResourceEnvironment env(false);
    LogCapture log;
    for (bool shared : {true, false})
        EXPECT_EQ(AGTakeResource<PCCam>(TypeKey::Camera, Crc32Hash("intro"), shared), nullptr) << shared;
    const AGResource* placeholder = env.Provider(TypeKey::Camera)->Find(Crc32Hash("intro"));
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(placeholder->RefCount(), 0u);
    EXPECT_EQ(env.Provider(TypeKey::Camera)->InstanceCount(Crc32Hash("intro")), 0u);
    EXPECT_TRUE(log.Contains("not of the class asked for"));
}
