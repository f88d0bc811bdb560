#include "engine/graphics/AGGraphicsProviders.h"

#include <gtest/gtest.h>

#include "engine/core/PcDirectory.h"
#include "engine/graphics/AGModelAnimation.h"
#include "engine/graphics/AGPrscAnimation.h"
#include "engine/graphics/AGSkinAnimation.h"
#include "engine/graphics/AGVertexBuffer.h"
#include "engine/graphics/PCCam.h"
#include "tests/support/ResourceEnvironment.h"
#include "tests/support/TempDir.h"
#include "tools/authoring/PackageWriter.h"
#include "tools/authoring/TrackWriter.h"
#include "tools/authoring/VertexBufferWriter.h"

using authoring::Track;

TEST(AGGraphicsProviders, ResourcesLoadThroughTheirProvidersFromAPackage) {
    ResourceEnvironment env(false);
    RegisterGraphicsProviders(env.Resources());
    authoring::VertexBufferData quad;
    quad.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    authoring::PackageWriter writer;
    writer.Add("wave.anm", TypeKey::PrscAnimation,
               authoring::PrscAnimationBytes(8, 30, Track::Vec2().Key(0, {4, 5}), Track::Float(), Track::Vec2(),
                                             Track::Color(), Track::UV()))
        .Add("spin", TypeKey::PrsAnimation,
             authoring::ModelAnimationBytes(4, 30, Track::Vec3(), Track::Quat().Key(0, {0, 0, 0, 1}), Track::Vec3()))
        .Add("walk", TypeKey::SkeletonPrsAnimation,
             authoring::SkinAnimationBytes(4, 30, {authoring::SkinBoneTracks{}}))
        .Add("tri", TypeKey::VertexBuffer, authoring::VertexBufferBytes(quad))
        .Add("intro", TypeKey::Camera,
             authoring::CameraBytes(2, Track::Vec3().Key(0, {0, 5, -20}), Track::Vec3(), Track::Float()));
    TempDir dir;
    const std::string mount = dir.Path() + "/Graphics.dir";
    ASSERT_TRUE(writer.WriteFolder(mount));
    PcDirectory package;
    package.Mount(mount.c_str(), false);

    auto* anm = GetOrLoadResourceAs<AGPrscAnimation>(env.Provider(TypeKey::PrscAnimation), Crc32Hash("wave.anm"));
    ASSERT_NE(anm, nullptr);
    EXPECT_EQ(anm->GetTypeKey(), TypeKey::PrscAnimation);
    EXPECT_EQ(anm->m_position.Values()[0].y, 5.0f);
    auto* spin = GetOrLoadResourceAs<AGModelAnimation>(env.Provider(TypeKey::PrsAnimation), Crc32Hash("spin"));
    EXPECT_EQ(spin->m_rotation.KeyCount(), 1u);
    auto* walk = GetOrLoadResourceAs<AGSkinAnimation>(env.Provider(TypeKey::SkeletonPrsAnimation), Crc32Hash("walk"));
    EXPECT_EQ(walk->BoneCount(), 1u);
    auto* tri = GetOrLoadResourceAs<AGVertexBuffer>(env.Provider(TypeKey::VertexBuffer), Crc32Hash("tri"));
    EXPECT_EQ(tri->PositionCount(), 3u);
    auto* camera = GetOrLoadResourceAs<PCCam>(env.Provider(TypeKey::Camera), Crc32Hash("intro"));
    EXPECT_EQ(camera->GetEye().z, -20.0f);

    // A clone of a camera is a camera with its own controller.
    auto* clone = static_cast<PCCam*>(CreateResourceInstance(env.Provider(TypeKey::Camera), Crc32Hash("intro"), 0, false));
    ASSERT_NE(clone, nullptr);
    EXPECT_NE(clone, camera);
    EXPECT_EQ(clone->GetEye().y, 5.0f);
    env.Provider(TypeKey::Camera)->ReleaseInstance(clone);

    for (AGResource* r : std::initializer_list<AGResource*>{anm, spin, walk, tri, camera})
        env.Provider(r->GetTypeKey())->Release(r);
    package.Unmount();
}
