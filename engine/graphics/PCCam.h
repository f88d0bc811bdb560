#pragma once
// "camera": the view (eye, target, up), the projection (perspective or orthographic
// frustum), the viewport and scissor rectangle every graphic layer draws through, and
// optional eye, target and field-of-view tracks driven by a controller.
//
// Camera resource (read where the buffer's cursor stands, no header): f32 frame count, eye
// track (vec3), target track (vec3), field-of-view track (f32, degrees).
#include "engine/core/AGResource.h"
#include "engine/core/AGVec3.h"
#include "engine/core/Crc32Hash.h"
#include "engine/graphics/AGAnimated.h"
#include "engine/graphics/AGTrack.h"
#include "platform/gfx/GfxTypes.h"

class PCCam : public AGResource, public AGAnimated {
public:
    static constexpr u32 kPerspective = 0;
    static constexpr u32 kOrthographic = 1;
    static constexpr f32 kDegreesToRadians = 0.017453292f;

    // Defaults for the graphic device's screen (800 x 600 when there is none): eye (0, 0, 1),
    // target 0, up (0, 1, 0), whole-screen viewport and scissor, perspective with a vertical
    // field of view of 2 atan(height / 2), near 1, far 5000, so that the near plane spans the
    // screen in units.
    PCCam();
    // The provider's clone: view, tracks, matrices and projection kind are copied, viewport
    // and scissor go back to the screen, the default perspective applies, then eye, target
    // and field of view come from the tracks' current keys (where there are keys).
    PCCam(const PCCam& other);

    // The graphic device's size, or 800 x 600 when there is no device yet.
    static void GetScreenSize(u32& width, u32& height);

    u32 GetTypeKey() const override { return TypeKey::Camera; }
    // A truncated or corrupt resource keeps the defaults (empty tracks) and writes one log
    // line. Tracks with keys give eye, target and field of view at once.
    void Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) override;

    // Advances the controller and re-evaluates every track of more than one key.
    void Update();
    // Sets view and projection, viewport and scissor rectangle on the device, stencil off,
    // scissor test on, and clears the depth buffer.
    void Apply();

    void SetViewport(u32 x, u32 y, u32 width, u32 height, f32 minZ, f32 maxZ);
    void SetDepthRange(u32 index, f32 value);
    void SetViewportField(u32 index, u32 value);
    void GetViewport(u32& x, u32& y, u32& width, u32& height, f32& minZ, f32& maxZ) const;
    f32 GetDepthRange(u32 index) const;
    u32 GetViewportField(u32 index) const;
    const platform::gfx::Viewport& Viewport() const { return m_viewport; }

    // Index 0 left, 1 top, 2 width, 3 height.
    void SetScissorField(u32 index, i32 value);
    void SetScissor(i32 x, i32 y, i32 width, i32 height);
    i32 GetScissorField(u32 index) const;
    void GetScissor(i32& x, i32& y, i32& width, i32& height) const;
    const platform::gfx::Rect& Scissor() const { return m_scissor; }

    void SetLookAt(const AGVec3& eye, const AGVec3& target, const AGVec3& up);
    void SetEye(const AGVec3& eye);
    const AGVec3& GetEye() const { return m_eye; }
    void SetTarget(const AGVec3& target);
    const AGVec3& GetTarget() const { return m_target; }
    const AGVec3& GetUp() const { return m_up; }
    // target - eye, not normalised.
    AGVec3 GetDirection() const;

    // The projection is rebuilt when the kind changes.
    void SetProjectionKind(u32 kind);
    u32 GetProjectionKind() const { return m_projectionKind; }
    // Vertical field of view in radians. Values that would make a degenerate frustum (near
    // 0, near equal to far, zero width or height) are ignored with a log line.
    void SetPerspective(f32 fovY, f32 aspect, f32 zNear, f32 zFar);
    void SetFrustum(f32 left, f32 right, f32 top, f32 bottom, f32 zNear, f32 zFar);
    // Index 0-5 into left, right, top, bottom, near, far; others are ignored.
    void SetFrustumValue(u32 index, f32 value);
    void GetFrustum(f32& left, f32& right, f32& top, f32& bottom, f32& zNear, f32& zFar) const;
    f32 GetFrustumValue(u32 index) const;
    f32 GetHorizontalFov() const { return m_fovX; }
    f32 GetVerticalFov() const { return m_fovY; }
    f32 GetAspect() const { return m_aspect; }

    // The eye, and the point on the near plane under the screen point.
    void ScreenToRay(const AGVec2& screen, AGVec3& rayStart, AGVec3& rayPoint) const;
    // The window pixel of a world point.
    AGVec2 Project(const AGVec3& world) const;

    const platform::gfx::Matrix& ViewMatrix() const { return m_view; }
    const platform::gfx::Matrix& ProjectionMatrix() const { return m_projection; }

    AGTrack<AGVec3> m_eyeTrack;
    AGTrack<AGVec3> m_targetTrack;
    AGTrack<f32> m_fovTrack;  // degrees

private:
    void ResetToScreen();
    void RebuildView();
    void RebuildProjection();
    // Stores the frustum when it is usable and derives fields of view and aspect.
    bool StoreFrustum(const f32 (&frustum)[6], bool keepFovY, f32 fovY, f32 aspect);
    // Eye, target and field of view from the tracks' current keys, then the perspective.
    void TakeTrackKeys();

    platform::gfx::Viewport m_viewport{};
    platform::gfx::Rect m_scissor{};
    // left, right, top, bottom, near, far
    f32 m_frustum[6] = {};
    f32 m_fovX = 0.0f;
    f32 m_fovY = 0.0f;
    f32 m_aspect = 1.0f;
    AGVec3 m_eye{0.0f, 0.0f, 1.0f};
    AGVec3 m_target;
    AGVec3 m_up{0.0f, 1.0f, 0.0f};
    platform::gfx::Matrix m_view{};
    platform::gfx::Matrix m_projection{};
    u32 m_projectionKind = kPerspective;
};

using AGCam = PCCam;
