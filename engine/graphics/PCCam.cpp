#include "engine/graphics/PCCam.h"

#include <cmath>

#include "engine/core/AGLog.h"
#include "engine/core/AGMemBuffer.h"
#include "engine/graphics/PCContextManager.h"
#include "engine/graphics/PCGraphicDevice.h"
#include "platform/gfx/Device.h"
#include "platform/gfx/GfxMath.h"

namespace {

constexpr u32 kFallbackWidth = 800;
constexpr u32 kFallbackHeight = 600;

platform::gfx::Vec3 ToGfx(const AGVec3& v) {
    return {v.x, v.y, v.z};
}

AGVec3 Sub(const AGVec3& a, const AGVec3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

AGVec3 CrossProduct(const AGVec3& a, const AGVec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

AGVec3 NormalizeOrKeep(const AGVec3& v) {
    const f32 length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (!(length > 0.0f))
        return v;
    return {v.x / length, v.y / length, v.z / length};
}

}  // namespace

void PCCam::GetScreenSize(u32& width, u32& height) {
    const PCGraphicDevice* device = PCGraphicDevice::Get();
    width = device ? device->GetWidth() : 0;
    height = device ? device->GetHeight() : 0;
    if (width == 0 || height == 0) {
        width = kFallbackWidth;
        height = kFallbackHeight;
    }
}

PCCam::PCCam() {
    ResetToScreen();
    RebuildView();
}

PCCam::PCCam(const PCCam& other)
    : AGResource(other),
      AGAnimated(other),
      m_eyeTrack(other.m_eyeTrack),
      m_targetTrack(other.m_targetTrack),
      m_fovTrack(other.m_fovTrack),
      m_eye(other.m_eye),
      m_target(other.m_target),
      m_up(other.m_up),
      m_view(other.m_view),
      m_projection(other.m_projection),
      m_projectionKind(other.m_projectionKind) {
    ResetToScreen();
    TakeTrackKeys();
}

void PCCam::ResetToScreen() {
    u32 width, height;
    GetScreenSize(width, height);
    m_viewport = {0, 0, width, height, 0.0f, 1.0f};
    m_scissor = {0, 0, i32(width), i32(height)};
    SetPerspective(2.0f * std::atan(f32(height) * 0.5f), f32(width) / f32(height), 1.0f, 5000.0f);
}

void PCCam::RebuildView() {
    m_view = platform::gfx::MatrixLookAtLH(ToGfx(m_eye), ToGfx(m_target), ToGfx(m_up));
}

void PCCam::RebuildProjection() {
    const f32* f = m_frustum;
    if (m_projectionKind == kPerspective)
        m_projection = platform::gfx::MatrixPerspectiveFovLH(m_fovY, m_aspect, f[4], f[5]);
    else if (m_projectionKind == kOrthographic)
        m_projection = platform::gfx::MatrixOrthoLH(f[1] - f[0], f[2] - f[3], f[4], f[5]);
}

bool PCCam::StoreFrustum(const f32 (&f)[6], bool keepFovY, f32 fovY, f32 aspect) {
    bool finite = true;
    for (f32 v : f)
        finite = finite && std::isfinite(v);
    if (!finite || f[4] == 0.0f || f[4] == f[5] || f[0] == f[1] || f[2] == f[3]) {
        AGReport("Camera 0x%08X: ignored a degenerate frustum (l %g r %g t %g b %g n %g f %g).",
                 NameId(), f[0], f[1], f[2], f[3], f[4], f[5]);
        return false;
    }
    for (int i = 0; i < 6; ++i)
        m_frustum[i] = f[i];
    m_fovX = 2.0f * std::atan(0.5f * (f[1] - f[0]) / f[4]);
    if (keepFovY) {
        m_fovY = fovY;
        m_aspect = aspect;
    } else {
        m_fovY = 2.0f * std::atan(0.5f * (f[2] - f[3]) / f[4]);
        m_aspect = (f[1] - f[0]) / (f[2] - f[3]);
    }
    RebuildProjection();
    return true;
}

void PCCam::SetPerspective(f32 fovY, f32 aspect, f32 zNear, f32 zFar) {
    const f32 top = std::tan(fovY * 0.5f) * zNear;
    const f32 width = (top + top) * aspect;
    const f32 frustum[6] = {-width * 0.5f, width * 0.5f, top, -top, zNear, zFar};
    StoreFrustum(frustum, true, fovY, aspect);
}

void PCCam::SetFrustum(f32 left, f32 right, f32 top, f32 bottom, f32 zNear, f32 zFar) {
    const f32 frustum[6] = {left, right, top, bottom, zNear, zFar};
    StoreFrustum(frustum, false, 0.0f, 0.0f);
}

void PCCam::SetFrustumValue(u32 index, f32 value) {
    if (index > 5)
        return;
    f32 frustum[6];
    for (int i = 0; i < 6; ++i)
        frustum[i] = m_frustum[i];
    frustum[index] = value;
    StoreFrustum(frustum, false, 0.0f, 0.0f);
}

void PCCam::GetFrustum(f32& left, f32& right, f32& top, f32& bottom, f32& zNear, f32& zFar) const {
    left = m_frustum[0];
    right = m_frustum[1];
    top = m_frustum[2];
    bottom = m_frustum[3];
    zNear = m_frustum[4];
    zFar = m_frustum[5];
}

f32 PCCam::GetFrustumValue(u32 index) const {
    return index <= 5 ? m_frustum[index] : 0.0f;
}

void PCCam::SetProjectionKind(u32 kind) {
    if (kind == m_projectionKind)
        return;
    m_projectionKind = kind;
    RebuildProjection();
}

void PCCam::SetViewport(u32 x, u32 y, u32 width, u32 height, f32 minZ, f32 maxZ) {
    m_viewport = {x, y, width, height, minZ, maxZ};
}

void PCCam::SetDepthRange(u32 index, f32 value) {
    if (index == 0)
        m_viewport.minZ = value;
    else if (index == 1)
        m_viewport.maxZ = value;
}

void PCCam::SetViewportField(u32 index, u32 value) {
    switch (index) {
    case 0: m_viewport.x = value; break;
    case 1: m_viewport.y = value; break;
    case 2: m_viewport.width = value; break;
    case 3: m_viewport.height = value; break;
    default: break;
    }
}

void PCCam::GetViewport(u32& x, u32& y, u32& width, u32& height, f32& minZ, f32& maxZ) const {
    x = m_viewport.x;
    y = m_viewport.y;
    width = m_viewport.width;
    height = m_viewport.height;
    minZ = m_viewport.minZ;
    maxZ = m_viewport.maxZ;
}

f32 PCCam::GetDepthRange(u32 index) const {
    return index == 0 ? m_viewport.minZ : (index == 1 ? m_viewport.maxZ : 0.0f);
}

u32 PCCam::GetViewportField(u32 index) const {
    switch (index) {
    case 0: return m_viewport.x;
    case 1: return m_viewport.y;
    case 2: return m_viewport.width;
    case 3: return m_viewport.height;
    default: return 0;
    }
}

void PCCam::SetScissorField(u32 index, i32 value) {
    switch (index) {
    case 0: m_scissor.left = value; break;
    case 1: m_scissor.top = value; break;
    case 2: m_scissor.right = m_scissor.left + value; break;
    case 3: m_scissor.bottom = m_scissor.top + value; break;
    default: break;
    }
}

void PCCam::SetScissor(i32 x, i32 y, i32 width, i32 height) {
    m_scissor = {x, y, x + width, y + height};
}

i32 PCCam::GetScissorField(u32 index) const {
    switch (index) {
    case 0: return m_scissor.left;
    case 1: return m_scissor.top;
    case 2: return m_scissor.right - m_scissor.left;
    case 3: return m_scissor.bottom - m_scissor.top;
    default: return 0;
    }
}

void PCCam::GetScissor(i32& x, i32& y, i32& width, i32& height) const {
    x = m_scissor.left;
    y = m_scissor.top;
    width = m_scissor.right - m_scissor.left;
    height = m_scissor.bottom - m_scissor.top;
}

void PCCam::SetLookAt(const AGVec3& eye, const AGVec3& target, const AGVec3& up) {
    m_eye = eye;
    m_target = target;
    m_up = up;
    RebuildView();
}

void PCCam::SetEye(const AGVec3& eye) {
    m_eye = eye;
    RebuildView();
}

void PCCam::SetTarget(const AGVec3& target) {
    m_target = target;
    RebuildView();
}

AGVec3 PCCam::GetDirection() const {
    return Sub(m_target, m_eye);
}

void PCCam::TakeTrackKeys() {
    if (!m_eyeTrack.Empty())
        m_eye = m_eyeTrack.Values()[m_eyeTrack.CurrentKey()];
    if (!m_targetTrack.Empty())
        m_target = m_targetTrack.Values()[m_targetTrack.CurrentKey()];
    f32 fovY = m_fovY;
    if (!m_fovTrack.Empty())
        fovY = m_fovTrack.Values()[m_fovTrack.CurrentKey()] * kDegreesToRadians;
    SetPerspective(fovY, m_aspect, m_frustum[4], m_frustum[5]);
    RebuildView();
    RebuildProjection();
}

void PCCam::Load(AGMemBuffer* buffer, u32, bool inPlace, bool) {
    EnsureController();
    m_owned->SetMode(AGController::kOnce);
    m_current = m_owned;
    if (!buffer)
        return;
    const f32 frameCount = buffer->ReadF32();
    m_eyeTrack.Read(*buffer, inPlace);
    m_targetTrack.Read(*buffer, inPlace);
    m_fovTrack.Read(*buffer, inPlace);
    if (buffer->Failed()) {
        m_eyeTrack.Clear();
        m_targetTrack.Clear();
        m_fovTrack.Clear();
        AGReport("Camera 0x%08X: truncated or corrupt file, default view kept.", NameId());
        return;
    }
    AGBindAnimation(*m_owned, frameCount, 30.0f, 1.0f);
    m_owned->Reset();
    TakeTrackKeys();
}

void PCCam::Update() {
    AGController* controller = m_current;
    if (!controller)
        return;
    controller->Update();
    if (controller->GetMode() == AGController::kStopped)
        return;
    const f32 t = controller->GetOutput();
    if (m_eyeTrack.KeyCount() > 1 && m_eyeTrack.Evaluate(t, m_eye))
        RebuildView();
    if (m_targetTrack.KeyCount() > 1 && m_targetTrack.Evaluate(t, m_target))
        RebuildView();
    f32 fov = 0.0f;
    if (m_fovTrack.KeyCount() > 1 && m_fovTrack.Evaluate(t, fov))
        SetPerspective(fov * kDegreesToRadians, m_aspect, m_frustum[4], m_frustum[5]);
}

void PCCam::Apply() {
    PCContextManager* context = PCContextManager::Get();
    platform::gfx::Device* device = context ? context->GetDevice() : nullptr;
    if (!device)
        return;
    device->SetTransform(platform::gfx::TransformType::View, m_view);
    device->SetTransform(platform::gfx::TransformType::Projection, m_projection);
    device->SetViewport(m_viewport);
    device->SetScissorRect(m_scissor);
    device->SetRenderState(platform::gfx::RenderState::StencilEnable, 0u);
    device->SetRenderState(platform::gfx::RenderState::ScissorTestEnable, 1u);
    device->Clear(platform::gfx::kClearZBuffer, 0, 1.0f, 0);
}

AGVec2 PCCam::Project(const AGVec3& world) const {
    const platform::gfx::Vec3 p = platform::gfx::Vec3Project(
        ToGfx(world), m_viewport, m_projection, m_view, platform::gfx::MatrixIdentity());
    return {p.x, p.y};
}

void PCCam::ScreenToRay(const AGVec2& screen, AGVec3& rayStart, AGVec3& rayPoint) const {
    const u32 halfWidth = m_viewport.width / 2 ? m_viewport.width / 2 : 1;
    const u32 halfHeight = m_viewport.height / 2 ? m_viewport.height / 2 : 1;
    const f32* f = m_frustum;
    const f32 x = (screen.x / f32(halfWidth) - 1.0f) * (f[1] - f[0]) * 0.5f;
    const f32 y = (1.0f - screen.y / f32(halfHeight)) * (f[2] - f[3]) * 0.5f;
    const AGVec3 forward = NormalizeOrKeep(Sub(m_target, m_eye));
    const AGVec3 side = NormalizeOrKeep(CrossProduct(forward, m_up));
    const AGVec3 up = NormalizeOrKeep(CrossProduct(side, forward));
    const f32 n = f[4];
    rayStart = m_eye;
    rayPoint = {m_eye.x + n * forward.x - x * side.x + y * up.x,
                m_eye.y + n * forward.y - x * side.y + y * up.y,
                m_eye.z + n * forward.z - x * side.z + y * up.z};
}
