#include "engine/graphics/PCCam.h"

#include <cmath>

#include "tests/engine/graphics/GraphicsTestBytes.h"

TEST(PCCam, ProjectAndScreenToRayRoundTripAndDegenerateFrustumValuesAreIgnored) {
    // A perspective camera on a 640 x 480 viewport (no graphic device: the screen defaults).
    PCCam camera;
    // A new camera's viewport and scissor cover the screen.
    u32 vx, vy, vw, vh;
    f32 minZ, maxZ;
    camera.GetViewport(vx, vy, vw, vh, minZ, maxZ);
    i32 sx, sy, sw, sh;
    camera.GetScissor(sx, sy, sw, sh);
    EXPECT_TRUE(vx == 0 && vy == 0 && minZ == 0.0f && maxZ == 1.0f && sw > 0 && sh > 0);
    EXPECT_TRUE(sx == 0 && sy == 0 && vw == u32(sw) && vh == u32(sh));
    // Fields by index: depth bounds 0-1, viewport and scissor fields 0-3; 4 names none.
    for (u32 i : {0u, 1u, 2u, 3u, 4u}) {
        camera.SetDepthRange(i, 0.25f * f32(i + 1));
        camera.SetViewportField(i, 10 + i);
        camera.SetScissorField(i, i32(20 + i));
    }
    for (u32 i : {0u, 1u, 2u, 3u, 4u})
        EXPECT_EQ(std::make_tuple(camera.GetViewportField(i), camera.GetScissorField(i), camera.GetDepthRange(i)),
                  std::make_tuple(i < 4 ? 10 + i : 0u, i < 4 ? i32(20 + i) : 0, i < 2 ? 0.25f * f32(i + 1) : 0.0f));
    camera.SetViewport(0, 0, 640, 480, 0.0f, 1.0f);
    camera.SetLookAt({3, 2, -10}, {5, 5, 5}, {0, 1, 0});
    camera.SetTarget({0, 0, 0});
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
    EXPECT_TRUE(start.x == 3.0f && start.z == -10.0f && camera.GetDirection().z == 10.0f);

    // Degenerate frustum values are ignored with a log line.
    const platform::gfx::Matrix before = camera.ProjectionMatrix();
    LogCapture log;
    camera.SetPerspective(1.0f, 1.0f, 0.0f, 100.0f);
    camera.SetFrustum(-1, -1, 1, -1, 1, 10);
    camera.SetFrustum(-1, 1, 1, 1, 1, 10);
    camera.SetFrustumValue(4, 0.0f);
    camera.SetFrustumValue(5, 1.0f);  // far = near
    f32 l, r, t, b, n, f;
    camera.GetFrustum(l, r, t, b, n, f);
    EXPECT_TRUE(log.Lines().size() == 5u && l == -r && t == -b && r > t && t > 0 && n == 1 && f == camera.GetFrustumValue(5));
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
    // A cut file leaves the camera without tracks.
    ExpectEveryCutEmpty<PCCam>(authoring::CameraBytes(11, moving, still, Track::Float().Key(0, {90})), [](PCCam& c) {
        return c.m_eyeTrack.Empty() && c.m_targetTrack.Empty() && c.m_fovTrack.Empty();
    });
}
