#include "engine/graphics/PCCam.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/graphics/AGGraphicLayer.h"
#include "tests/engine/graphics/GraphicsTestBytes.h"
#include "tests/support/LogCapture.h"
#include "tools/authoring/TrackWriter.h"

using authoring::Track;

namespace {

// A perspective camera on a 640 x 480 viewport (no graphic device: the screen defaults).
PCCam MakePerspective() {
    PCCam camera;
    camera.SetViewport(0, 0, 640, 480, 0.0f, 1.0f);
    camera.SetLookAt({3, 2, -10}, {0, 0, 0}, {0, 1, 0});
    camera.SetPerspective(60.0f * PCCam::kDegreesToRadians, 640.0f / 480.0f, 1.0f, 1000.0f);
    return camera;
}

f32 DistanceToLine(const AGVec3& p, const AGVec3& a, const AGVec3& b) {
    const AGVec3 d{b.x - a.x, b.y - a.y, b.z - a.z};
    const AGVec3 v{p.x - a.x, p.y - a.y, p.z - a.z};
    const AGVec3 c{v.y * d.z - v.z * d.y, v.z * d.x - v.x * d.z, v.x * d.y - v.y * d.x};
    return std::sqrt(c.x * c.x + c.y * c.y + c.z * c.z) / std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
}

}  // namespace

TEST(PCCam, ProjectAndScreenToRayRoundTrip) {
    PCCam camera = MakePerspective();
    for (f32 sx : {0.0f, 100.0f, 320.0f, 517.0f, 639.0f})
        for (f32 sy : {0.0f, 33.0f, 240.0f, 479.0f}) {
            AGVec3 start, point;
            camera.ScreenToRay({sx, sy}, start, point);
            const AGVec2 back = camera.Project(point);
            EXPECT_NEAR(back.x, sx, 0.5f) << sx << "," << sy;
            EXPECT_NEAR(back.y, sy, 0.5f) << sx << "," << sy;
        }
    // A world point lies on the ray under its own projection.
    const AGVec3 world{1.5f, -0.75f, 4.0f};
    const AGVec2 screen = camera.Project(world);
    AGVec3 start, point;
    camera.ScreenToRay(screen, start, point);
    EXPECT_LT(DistanceToLine(world, start, point), 0.02f);
    EXPECT_EQ(start.x, 3.0f);
}

TEST(PCCam, ScreenCameraMapsWorldPixelsToWindowPixels) {
    PCCam camera;
    AGGraphicLayer::SetupScreenCamera(&camera);
    EXPECT_EQ(camera.GetProjectionKind(), PCCam::kOrthographic);
    EXPECT_EQ(camera.GetFrustumValue(5), 100.0f);
    for (auto [x, y] : {std::pair{0.0f, 0.0f}, {10.0f, 5.0f}, {799.0f, 599.0f}, {400.5f, 12.25f}}) {
        const AGVec2 p = camera.Project({x, y, 0.0f});
        EXPECT_NEAR(p.x, x, 1e-3f);
        EXPECT_NEAR(p.y, y, 1e-3f);
    }
    // Drawn in front of the eye, inside the depth range.
    const AGVec2 far = camera.Project({0.0f, 0.0f, -40.0f});
    EXPECT_NEAR(far.y, 0.0f, 1e-3f);
    camera.SetFrustumValue(5, 100.0f);
    EXPECT_EQ(camera.GetFrustumValue(4), 1.0f);
}

TEST(PCCam, DegenerateFrustumValuesAreIgnoredWithALogLine) {
    PCCam camera = MakePerspective();
    const platform::gfx::Matrix before = camera.ProjectionMatrix();
    LogCapture log;
    camera.SetPerspective(1.0f, 1.0f, 0.0f, 100.0f);
    camera.SetFrustum(-1, -1, 1, -1, 1, 10);
    camera.SetFrustum(-1, 1, 1, 1, 1, 10);
    camera.SetFrustumValue(4, 0.0f);
    camera.SetFrustumValue(5, 1.0f);  // far = near
    EXPECT_EQ(log.Lines().size(), 5u);
    EXPECT_EQ(camera.GetFrustumValue(4), 1.0f);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(camera.ProjectionMatrix().m[i], before.m[i]);
        EXPECT_TRUE(std::isfinite(camera.GetHorizontalFov()));
    }
}

TEST(PCCam, FrustumGivesFieldsOfViewAndTheOrthographicSize) {
    PCCam camera;
    camera.SetFrustum(-2, 2, 1, -1, 1, 50);
    EXPECT_NEAR(camera.GetHorizontalFov(), 2.0f * std::atan(2.0f), 1e-5f);
    EXPECT_FLOAT_EQ(camera.GetAspect(), 2.0f);
    camera.SetProjectionKind(PCCam::kOrthographic);
    EXPECT_FLOAT_EQ(camera.ProjectionMatrix().m[0], 2.0f / 4.0f);
    EXPECT_FLOAT_EQ(camera.ProjectionMatrix().m[5], 2.0f / 2.0f);
    // The field of view still sizes an orthographic frustum.
    camera.SetPerspective(2.0f * std::atan(3.0f), 1.0f, 1.0f, 50.0f);
    EXPECT_FLOAT_EQ(camera.ProjectionMatrix().m[5], 2.0f / 6.0f);
}

TEST(PCCam, LoadAppliesSingleKeysAndUpdateFollowsLongerTracks) {
    PCCam camera;
    LoadBytes(camera, authoring::CameraBytes(
                          11, Track::Vec3().Key(0, {3, 4, 5}),
                          Track::Vec3().Key(0, {0, 0, 0}).Key(10, {10, 0, 0}), Track::Float().Key(0, {90})));
    EXPECT_EQ(camera.GetEye().y, 4.0f);
    EXPECT_EQ(camera.GetTarget().x, 0.0f);
    EXPECT_NEAR(camera.GetVerticalFov(), 1.5707963f, 1e-5f);
    AGController* controller = camera.GetController();
    ASSERT_NE(controller, nullptr);
    EXPECT_EQ(controller->GetMode(), u32(AGController::kOnce));
    EXPECT_NEAR(controller->GetEndTime(), 11 * 33.333332f, 1e-2f);

    controller->SetTime(5.0f * controller->GetFrameDuration());
    camera.Update();
    EXPECT_NEAR(camera.GetTarget().x, 5.0f, 1e-4f);
    EXPECT_EQ(camera.GetEye().y, 4.0f);
    EXPECT_NEAR(camera.GetVerticalFov(), 1.5707963f, 1e-5f);

    // The clone takes eye, target and field of view from the tracks' current keys.
    PCCam copy(camera);
    EXPECT_EQ(copy.GetEye().z, 5.0f);
    EXPECT_EQ(copy.m_targetTrack.KeyCount(), 2u);
    EXPECT_NE(copy.GetController(), camera.GetController());
}

TEST(PCCam, TruncatedResourceKeepsTheDefaultView) {
    const std::string full = authoring::CameraBytes(5, Track::Vec3().Key(0, {1, 2, 3}), Track::Vec3(),
                                                    Track::Float().Key(0, {45}).Key(4, {60}));
    for (size_t n = 0; n < full.size(); ++n) {
        LogCapture log;
        PCCam camera;
        LoadBytes(camera, full.substr(0, n));
        EXPECT_EQ(camera.GetEye().z, 1.0f) << n;
        EXPECT_TRUE(camera.m_fovTrack.Empty());
        EXPECT_EQ(log.Lines().size(), 1u) << n;
        camera.Update();  // nothing to follow, nothing read
    }
}
