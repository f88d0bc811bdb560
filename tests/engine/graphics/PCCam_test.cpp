#include "engine/graphics/PCCam.h"

#include <cmath>

#include "tests/engine/graphics/GraphicsTestBytes.h"
#include "tools/authoring/TrackWriter.h"

using authoring::Track;

TEST(PCCam, ProjectAndScreenToRayRoundTripAndDegenerateFrustumValuesAreIgnored) {
    // A perspective camera on a 640 x 480 viewport (no graphic device: the screen defaults).
    PCCam camera;
    // A new camera's viewport and scissor cover the screen.
    const platform::gfx::Viewport screen = camera.Viewport();
    i32 sx, sy, sw, sh;
    camera.GetScissor(sx, sy, sw, sh);
    EXPECT_TRUE(screen.x == 0 && screen.y == 0 && screen.maxZ == 1.0f && sw > 0 && sh > 0);
    EXPECT_TRUE(sx == 0 && sy == 0 && screen.width == u32(sw) && screen.height == u32(sh));
    for (u32 bound : {0u, 1u, 2u})  // 2 names no bound
        camera.SetDepthRange(bound, 0.25f * f32(bound + 1));
    EXPECT_TRUE(camera.Viewport().minZ == 0.25f && camera.Viewport().maxZ == 0.5f);
    camera.SetViewport(0, 0, 640, 480, 0.0f, 1.0f);
    camera.SetLookAt({3, 2, -10}, {0, 0, 0}, {0, 1, 0});
    // The field of view and aspect are kept as given, not worked back from the frustum.
    for (f32 fov : {0.3f, 1.0f, 1.7f, 2.9f}) {
        camera.SetPerspective(fov, 1.7f, 0.1f, 1000.0f);
        camera.SetFrustumValue(6, 0.2f);  // no such value: nothing changes
        EXPECT_TRUE(camera.GetVerticalFov() == fov && camera.GetAspect() == 1.7f) << fov;
    }
    camera.SetPerspective(60.0f * PCCam::kDegreesToRadians, 640.0f / 480.0f, 1.0f, 1000.0f);
    for (f32 sx : {0.0f, 100.0f, 320.0f, 517.0f, 639.0f})
        for (f32 sy : {0.0f, 33.0f, 240.0f, 479.0f}) {
            AGVec3 start, point;
            camera.ScreenToRay({sx, sy}, start, point);
            const AGVec2 back = camera.Project(point);
            EXPECT_NEAR(back.x, sx, 0.5f) << sx << "," << sy;
            EXPECT_NEAR(back.y, sy, 0.5f) << sx << "," << sy;
        }
    // Rays start at the eye.
    AGVec3 start, point;
    camera.ScreenToRay({10, 20}, start, point);
    EXPECT_TRUE(start.x == 3.0f && start.z == -10.0f);

    // Degenerate frustum values are ignored with a log line.
    const platform::gfx::Matrix before = camera.ProjectionMatrix();
    LogCapture log;
    camera.SetPerspective(1.0f, 1.0f, 0.0f, 100.0f);
    camera.SetFrustum(-1, -1, 1, -1, 1, 10);
    camera.SetFrustum(-1, 1, 1, 1, 1, 10);
    camera.SetFrustumValue(4, 0.0f);
    camera.SetFrustumValue(5, 1.0f);  // far = near
    EXPECT_EQ(std::make_pair(log.Lines().size(), camera.GetFrustumValue(4)), std::make_pair(size_t(5), 1.0f));
    EXPECT_TRUE(std::equal(before.m, before.m + 16, camera.ProjectionMatrix().m));
    EXPECT_TRUE(std::isfinite(camera.GetHorizontalFov()));
}

TEST(PCCam, LoadAppliesSingleKeysAndUpdateFollowsLongerTracks) {
    const Track moving = Track::Vec3().Key(0, {0, 0, 0}).Key(10, {10, 0, 0});
    const Track still = Track::Vec3().Key(0, {3, 4, 5});
    // Either the eye or the target moves, the other stays; the view follows.
    for (bool eyeMoves : {true, false}) {
        SCOPED_TRACE(eyeMoves);
        Loaded<PCCam> camera(authoring::CameraBytes(11, eyeMoves ? moving : still, eyeMoves ? still : moving,
                                                    Track::Float().Key(0, {90})));
        EXPECT_EQ((eyeMoves ? camera.GetTarget() : camera.GetEye()).y, 4.0f);
        EXPECT_NEAR(camera.GetVerticalFov(), 1.5707963f, 1e-5f);
        AGController* controller = camera.GetController();
        EXPECT_EQ(controller->GetMode(), u32(AGController::kOnce));
        EXPECT_NEAR(controller->GetEndTime(), 11 * 33.333332f, 1e-2f);

        controller->SetTime(5.0f * controller->GetFrameDuration());
        camera.Update();
        EXPECT_NEAR((eyeMoves ? camera.GetEye() : camera.GetTarget()).x, 5.0f, 1e-4f);
        const platform::gfx::Matrix view = camera.ViewMatrix();
        camera.SetEye(camera.GetEye());  // the view built afresh
        EXPECT_TRUE(std::equal(view.m, view.m + 16, camera.ViewMatrix().m));

        // The clone takes eye, target and field of view from the tracks' current keys.
        PCCam copy(camera);
        EXPECT_EQ(std::make_pair((eyeMoves ? copy.GetTarget() : copy.GetEye()).z,
                                 (eyeMoves ? copy.m_eyeTrack : copy.m_targetTrack).KeyCount()),
                  std::make_pair(5.0f, 2u));
        EXPECT_NE(copy.GetController(), camera.GetController());
    }
}
