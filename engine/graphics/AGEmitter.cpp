#include "engine/graphics/AGEmitter.h"

#include <cmath>

#include "engine/core/AGController.h"
#include "engine/core/AGLog.h"
#include "engine/core/AGMemBuffer.h"
#include "engine/core/CrtRand.h"
#include "engine/graphics/AGGraphicLayer.h"
#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/AGModelAnimation.h"
#include "engine/graphics/AGResourceHolds.h"
#include "engine/graphics/PCCam.h"
#include "platform/gfx/GfxMath.h"

using platform::gfx::Matrix;

namespace {

// A random value in [-2, 2].
f32 U2() {
    return f32(CrtRand()) * 0.00012207404f - 2.0f;
}

AGVec3 Add(const AGVec3& a, const AGVec3& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
AGVec3 Scale(const AGVec3& a, f32 s) {
    return {a.x * s, a.y * s, a.z * s};
}
AGVec3 Cross(const AGVec3& a, const AGVec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
AGVec3 Normalize(const AGVec3& v) {
    const f32 length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return length > 0.0f ? Scale(v, 1.0f / length) : AGVec3{};
}
AGVec3 Rotate(const AGVec3& v, const Matrix& m) {
    const f32* a = m.m;
    return {v.x * a[0] + v.y * a[4] + v.z * a[8], v.x * a[1] + v.y * a[5] + v.z * a[9],
            v.x * a[2] + v.y * a[6] + v.z * a[10]};
}

}  // namespace

void AGEmitter::Curve::Rebuild() {
    for (u32 i = 0; i < 3; ++i) {
        const f32 dt = time[i + 1] - time[i];
        slope[i] = dt != 0.0f ? (value[i + 1] - value[i]) / dt : 0.0f;
        intercept[i] = value[i] - slope[i] * time[i];
    }
}

AGEmitter::AGEmitter() : m_local(platform::gfx::MatrixIdentity()) {}

AGEmitter::AGEmitter(const AGEmitter& o)
    : AGResource(o),
      AGRenderable(o),
      AGAnimated(o),
      m_emitterColor(o.m_emitterColor),
      m_local(o.m_local),
      m_valueA(o.m_valueA),
      m_valueB(o.m_valueB),
      m_valueD(o.m_valueD),
      m_valueE(o.m_valueE),
      m_valueC(o.m_valueC),
      m_polarAngle(o.m_polarAngle),
      m_polarSpread(o.m_polarSpread),
      m_azimuth(o.m_azimuth),
      m_azimuthSpread(o.m_azimuthSpread),
      m_startSpeed(o.m_startSpeed),
      m_speedVariation(o.m_speedVariation),
      m_emissionKind(o.m_emissionKind),
      m_perSpawn(o.m_perSpawn),
      m_startFrame(o.m_startFrame),
      m_endFrame(o.m_endFrame),
      m_life(o.m_life),
      m_lifeVariation(o.m_lifeVariation),
      m_size(o.m_size),
      m_sizeJitter(o.m_sizeJitter),
      m_growIn(o.m_growIn),
      m_fadeOut(o.m_fadeOut),
      m_motionKind(o.m_motionKind),
      m_orientationKind(o.m_orientationKind),
      m_spinPeriod(o.m_spinPeriod),
      m_spinFactor(o.m_spinFactor),
      m_force1Direction(o.m_force1Direction),
      m_force2Direction(o.m_force2Direction),
      m_force1Magnitude(o.m_force1Magnitude),
      m_force2Magnitude(o.m_force2Magnitude),
      m_burstFrames(o.m_burstFrames),
      m_burstCounts(o.m_burstCounts),
      m_renderType(o.m_renderType),
      m_planar(o.m_planar),
      m_bursts(o.m_bursts),
      m_randomAxis(o.m_randomAxis),
      m_spinSpeed(o.m_spinSpeed),
      m_spinVariation(o.m_spinVariation),
      m_inverseLife(o.m_inverseLife),
      m_force1(o.m_force1),
      m_force2(o.m_force2),
      m_sizeCurve(o.m_sizeCurve),
      m_position(o.m_position),
      m_poolSize(o.m_poolSize) {
    m_materials.TakeCopiesOf(o.m_materials);
    if (m_current)
        m_materials.SetController(m_current);
}

AGEmitter::~AGEmitter() = default;

void AGEmitter::Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) {
    m_materials.ReleaseAll();
    m_burstFrames.Release();
    m_burstCounts.Release();
    m_poolSize = 0;
    if (!buffer)
        return;
    AGMemBuffer& b = *buffer;
    b.Skip(12);
    for (f32& v : m_local.m)
        v = b.ReadF32();
    m_valueA = b.ReadU32();
    m_valueB = b.ReadU32();
    m_valueC = {b.ReadF32(), b.ReadF32(), b.ReadF32()};
    m_polarAngle = b.ReadF32();
    m_polarSpread = b.ReadF32();
    m_azimuth = b.ReadF32();
    m_azimuthSpread = b.ReadF32();
    m_startSpeed = b.ReadF32();
    m_speedVariation = b.ReadF32();
    m_emissionKind = b.ReadU16();
    m_perSpawn = b.ReadU16();
    m_valueD = b.ReadU16();
    m_startFrame = b.ReadU32();
    m_endFrame = b.ReadU32();
    m_valueE = b.ReadU32();
    m_life = b.ReadF32();
    m_lifeVariation = b.ReadF32();
    m_size = b.ReadF32();
    m_sizeJitter = b.ReadF32();
    m_growIn = b.ReadU32();
    m_fadeOut = b.ReadU32();
    m_motionKind = b.ReadU32();
    b.Skip(4);
    m_spinPeriod = b.ReadF32();
    m_spinFactor = b.ReadF32();
    m_force1Direction = {b.ReadF32(), b.ReadF32(), b.ReadF32()};
    m_force1Magnitude = b.ReadF32();
    // The word the format leaves unused between the two forces is the second's magnitude.
    m_force2Magnitude = b.ReadF32();
    m_force2Direction = {b.ReadF32(), b.ReadF32(), b.ReadF32()};
    m_orientationKind = b.ReadU32();
    b.Skip(4);
    const u32 bursts = b.ReadU32();
    if (!b.Failed() && bursts != 0 &&
        (!b.CheckCount(bursts, 6) || !m_burstFrames.Resize(bursts) || !m_burstCounts.Resize(bursts)))
        b.SetFailed();
    for (f32& frame : m_burstFrames)
        frame = b.ReadF32();
    for (u16& count : m_burstCounts)
        count = b.ReadU16();
    m_renderType = b.ReadU32();
    AGOwnedBuffer<u32> ids;
    AGReadNameIds(b, b.ReadU32(), ids);
    if (b.Failed()) {
        m_burstFrames.Release();
        m_burstCounts.Release();
        AGReport("Emitter 0x%08X: truncated or corrupt file, left without particles.", NameId());
        return;
    }
    m_materials.Take(ids.Data(), ids.Count(), shared, a, inPlace);
    Derive();
    Initialize();
    // Without a material the colour stays white.
    if (const AGMaterial* first = m_materials.Get(0))
        SetColor(first->m_diffuse);
}

void AGEmitter::Derive() {
    if (!std::isfinite(m_life) || m_life < 0.0f)
        m_life = 0.0f;
    if (m_lifeVariation >= 2.0f * m_life)
        m_lifeVariation *= 0.15f;
    m_planar = m_motionKind == 2;
    if (m_planar)
        m_size *= 25.0f;
    m_bursts = m_emissionKind == 1;
    m_randomAxis = m_orientationKind != 3;
    const f32 period = m_spinPeriod * 2.6f;
    m_spinSpeed = period > 0.0f ? (360.0f / period) * 0.017453292f : 0.0f;
    m_spinVariation = m_spinFactor * m_spinSpeed;
    m_force1 = Scale(m_force1Direction, m_force1Magnitude);
    m_force2 = Scale(m_force2Direction, m_force2Magnitude);
    if (f32(m_fadeOut) > m_life)
        m_fadeOut = u32(m_life * 0.1f);
    const bool live = m_life > 0.0f;
    m_inverseLife = live ? 1.0f / m_life : 0.0f;
    Curve& c = m_sizeCurve;
    c.time[0] = 0.0f;
    c.time[1] = live ? f32(m_growIn) / m_life : 0.0f;
    c.time[2] = live ? (m_life - f32(m_fadeOut)) / m_life : 0.0f;
    c.time[3] = 1.0f;
    c.value[0] = c.value[1] = c.value[2] = 7.0f * m_size;
    c.value[3] = 0.1f * m_size;
    c.Rebuild();
    SetFlags(kDistanceSorted);

    u64 pool = m_endFrame > m_startFrame ? u64(m_endFrame - m_startFrame) * m_perSpawn : 0;
    if (pool > kMaxParticles) {
        AGReport("Emitter 0x%08X: %llu particles asked for; kept to %u.", NameId(),
                 static_cast<unsigned long long>(pool), kMaxParticles);
        pool = kMaxParticles;
    }
    m_poolSize = u32(pool);
}

f32 AGEmitter::SizeAt(f32 x) const {
    const Curve& c = m_sizeCurve;
    if (x <= 0.0f)
        return c.value[0];
    if (x < c.time[1])
        return c.slope[0] * x + c.intercept[0];
    if (x < c.time[2])
        return c.slope[1] * x + c.intercept[1];
    if (x >= 1.0f)
        return c.value[3];
    return c.slope[2] * x + c.intercept[2];
}

void AGEmitter::BuildPool() {
    m_live = m_free = nullptr;
    m_liveCount = m_quadCount = 0;
    m_pool.Release();
    m_quads.Clear();
    if (m_poolSize == 0 || !m_pool.Resize(m_poolSize) ||
        !m_quads.Create(4 * m_poolSize, 4 * m_poolSize, 4 * m_poolSize)) {
        m_pool.Release();
        m_quads.Clear();
        return;
    }
    for (u32 i = m_poolSize; i-- > 0;) {
        m_pool[i].next = m_free;
        m_free = &m_pool[i];
    }
    static constexpr AGVec2 kCorners[4] = {{0, 1}, {1, 1}, {0, 0}, {1, 0}};
    for (u32 v = 0; v < 4 * m_poolSize; ++v)
        m_quads.m_texCoords[v] = kCorners[v % 4];
}

void AGEmitter::Initialize() {
    BuildPool();
    m_nextBurst = 0;
    m_burstsDone = false;
    SetFlags(kActive);
}

void AGEmitter::Prepare() {
    m_live = m_free = nullptr;
    m_liveCount = m_quadCount = 0;
    m_pool.Release();
    m_quads.Clear();
    m_materials.ReleaseAll();
}

void AGEmitter::GetPosition(AGVec3& out) const {
    out = TranslationOf(m_local);
}

void AGEmitter::SetController(AGController* controller) {
    AGAnimated::SetController(controller);
    m_materials.SetController(controller);
}

void AGEmitter::Start() {
    if (m_running && !m_noSpawn)
        return;
    Restart();
}

void AGEmitter::Restart() {
    m_running = 1;
    m_noSpawn = 0;
    SetEmissionState(0);
}

void AGEmitter::SetEmissionState(u32 state) {
    m_nextBurst = state < m_burstFrames.Count() ? state : 0;
    m_burstsDone = false;
}

void AGEmitter::SetForceDirections(const AGVec3& first, const AGVec3& second) {
    m_force1Direction = first;
    m_force2Direction = second;
    m_force1 = Scale(m_force1Direction, m_force1Magnitude);
    m_force2 = Scale(m_force2Direction, m_force2Magnitude);
}

void AGEmitter::Stop() {
    m_running = 0;
    if (m_noSpawn)
        return;
    m_noSpawn = 1;
    for (AGParticle* p = m_live; p; p = p->next)
        if (p->lifetime > 0.0f)
            p->lifetime = 0.0f;
}

bool AGEmitter::SpawnDue(f32 frame, u32& count) {
    if (!m_bursts) {
        count = m_perSpawn;
        return f32(m_startFrame) <= frame && frame <= f32(m_endFrame);
    }
    if (m_burstsDone || m_burstFrames.Empty())
        return false;
    const f32 at = m_burstFrames[m_nextBurst];
    if (!(frame >= at && frame < at + 0.5f))
        return false;
    count = m_burstCounts[m_nextBurst];
    if (++m_nextBurst >= m_burstFrames.Count()) {
        // The list starts over at the next loop of the controller, not within this one.
        m_nextBurst = 0;
        m_burstsDone = true;
    }
    return true;
}

void AGEmitter::Spawn(u32 count, f32 frame) {
    for (u32 k = 0; k < count; ++k) {
        if (!m_free || m_liveCount >= m_poolSize)
            return;
        AGParticle* p = m_free;
        m_free = p->next;
        p->next = m_live;
        m_live = p;

        p->lifetime = U2() * m_lifeVariation + m_life;
        if (p->lifetime < 0.0f)
            p->lifetime = m_life;
        p->position = m_position;
        const f32 speed = U2() * m_speedVariation + m_startSpeed;
        f32 theta = U2() * m_polarSpread * 0.5f + m_polarAngle;
        if (theta < m_polarAngle - m_polarSpread)
            theta += std::fabs(m_polarAngle + m_polarSpread);
        else if (theta > m_polarAngle + m_polarSpread)
            theta = 2.0f * (m_polarAngle + m_polarSpread) - theta;
        const f32 phi = U2() * m_azimuthSpread * 0.5f + m_azimuth;
        const AGVec3 direction{std::sin(theta) * std::cos(phi), std::cos(theta), std::sin(theta) * std::sin(phi)};
        p->velocity = Scale(direction, speed);
        p->birthFrame = frame;
        p->color = m_emitterColor;
        p->size = SizeAt(0.0f);
        p->angle = 0.0f;
        p->age = p->lastSeen = 0.0f;
        p->wraps = p->spare = 0;
        if (m_randomAxis) {
            const f32 x = f32(CrtRand()) * (12.0f / 32767.0f) - 4.0f;
            const f32 y = f32(CrtRand()) * (4.0f / 32767.0f) - 1.0f;
            const f32 z = f32(CrtRand()) * (8.0f / 32767.0f) - 1.0f;
            p->axis = Normalize({x, y, z});
        }
        ++m_liveCount;
    }
}

void AGEmitter::WriteQuad(u32 slot, const AGParticle& p, const AGVec3& right, const AGVec3& up) {
    const AGVec3 r = Scale(right, p.size), u = Scale(up, p.size);
    AGVec3* out = &m_quads.m_positions[slot * 4];
    out[0] = Add(p.position, Scale(Add(r, u), -1.0f));  // bottom-left
    out[1] = Add(p.position, {r.x - u.x, r.y - u.y, r.z - u.z});
    out[2] = Add(p.position, {u.x - r.x, u.y - r.y, u.z - r.z});
    out[3] = Add(p.position, Add(r, u));
    u32* colors = &m_quads.m_colors[slot * 4];
    colors[0] = colors[1] = colors[2] = colors[3] = p.color;
}

void AGEmitter::Update() {
    if (m_frozen || m_paused || !m_current)
        return;
    m_loopLength = m_current->GetEndFrame();
    m_current->UpdateOncePerFrame();
    m_previousFrame = m_currentFrame;
    m_currentFrame = m_current->GetOutput();
    m_frameDelta = m_currentFrame - m_previousFrame;
    if (m_currentFrame < m_previousFrame)
        m_burstsDone = false;

    if (m_path) {
        AGQuat q;
        if (m_path->m_rotation.Evaluate(m_currentFrame, q))
            m_local = platform::gfx::MatrixRotationQuaternion({q.x, q.y, q.z, q.w});
        m_path->m_position.Evaluate(m_currentFrame, m_position);
    }

    if (m_poolSize == 0)
        return;
    u32 count = 0;
    if (m_running && !m_noSpawn && SpawnDue(m_currentFrame, count))
        Spawn(count, m_currentFrame);

    // Quads face the camera of the layer being updated.
    const AGGraphicLayer* layer = AGGraphicLayer::UpdatingLayer();
    const PCCam* camera = layer ? layer->GetCamera() : nullptr;
    AGVec3 view, right, up;
    if (camera) {
        view = Normalize(camera->GetDirection());
        right = Scale(Normalize(Cross(Normalize(camera->GetUp()), view)), 0.5f);
        up = Cross(view, right);
    }

    const f32 step = m_frameDelta > 0.499f ? m_frameDelta + 1.0f : 1.0f;
    m_quadCount = 0;
    AGParticle** link = &m_live;
    while (AGParticle* p = *link) {
        if (m_currentFrame < p->lastSeen) {
            ++p->wraps;
            p->lastSeen = 0.0f;
        } else {
            p->lastSeen = m_currentFrame;
        }
        p->age = f32(p->wraps) * m_loopLength + (m_currentFrame - p->birthFrame);
        if (!(p->age < p->lifetime)) {
            *link = p->next;
            p->next = m_free;
            m_free = p;
            --m_liveCount;
            continue;
        }
        p->size = SizeAt(p->age * m_inverseLife) + m_sizeJitter * U2();
        AGVec3 r = right, u = up;
        if (m_spinSpeed != 0.0f) {
            f32 spin = U2() * m_spinVariation + m_spinSpeed;
            if (spin < 0.0f)
                spin = m_spinSpeed;
            p->angle += spin;
            if (camera) {
                const AGVec3 axis = m_randomAxis ? p->axis : view;
                const Matrix turn = platform::gfx::MatrixRotationAxis({axis.x, axis.y, axis.z}, p->angle);
                r = Rotate(r, turn);
                u = Rotate(u, turn);
            }
        }
        p->color = m_emitterColor;
        p->velocity = Add(p->velocity, Add(m_force1, m_force2));
        if (m_planar)
            p->velocity.y = 0.0f;
        p->position = Add(p->position, Scale(p->velocity, step));
        if (camera)
            WriteQuad(m_quadCount++, *p, r, u);
        link = &p->next;
    }
}
