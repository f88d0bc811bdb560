#include "engine/graphics/AGGraphicsProviders.h"

#include <gtest/gtest.h>

#include "engine/core/PcDirectory.h"
#include "engine/graphics/AGPrscAnimation.h"
#include "engine/graphics/PCCam.h"
#include "tests/support/ResourceEnvironment.h"
#include "tests/support/TempDir.h"
#include "tools/authoring/PackageWriter.h"
#include "tools/authoring/TrackWriter.h"

using authoring::Track;

// The other providers load in the model and drawing tests.
TEST(AGGraphicsProviders, AnimationsAndCamerasLoadFromAPackageAndCamerasClone) {
    ResourceEnvironment env(false);
    RegisterGraphicsProviders(env.Resources());
    authoring::PackageWriter writer;
    writer.Add("wave.anm", TypeKey::PrscAnimation,
               authoring::PrscAnimationBytes(8, 30, Track::Vec2().Key(0, {4, 5}), Track::Float(), Track::Vec2(),
                                             Track::Color(), Track::UV()))
        .Add("intro", TypeKey::Camera,
             authoring::CameraBytes(2, Track::Vec3().Key(0, {0, 5, -20}), Track::Vec3(), Track::Float()));
    TempDir dir;
    const std::string mount = dir.Path() + "/Graphics.dir";
    ASSERT_TRUE(writer.WriteFolder(mount));
    PcDirectory package;
    package.Mount(mount.c_str(), false);

    auto* anm = GetOrLoadResourceAs<AGPrscAnimation>(env.Provider(TypeKey::PrscAnimation), Crc32Hash("wave.anm"));
    ASSERT_NE(anm, nullptr);
    EXPECT_EQ(anm->m_position.Values()[0].y, 5.0f);
    auto* camera = GetOrLoadResourceAs<PCCam>(env.Provider(TypeKey::Camera), Crc32Hash("intro"));
    ASSERT_NE(camera, nullptr);
    auto* clone = static_cast<PCCam*>(CreateResourceInstance(env.Provider(TypeKey::Camera), Crc32Hash("intro"), 0, false));
    ASSERT_NE(clone, nullptr);
    EXPECT_NE(clone, camera);
    EXPECT_EQ(clone->GetEye().y, 5.0f);
    env.Provider(TypeKey::Camera)->ReleaseInstance(clone);
    env.Provider(TypeKey::Camera)->Release(camera);
    env.Provider(TypeKey::PrscAnimation)->Release(anm);
    package.Unmount();
}
