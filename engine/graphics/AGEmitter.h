#pragma once
// "emitter3D": a particle system. A fixed pool of particles is spawned on the frames of the
// emitter's controller (steadily within an emission window, or in bursts at listed frames),
// sent out in a cone, pushed by two constant forces, grown and shrunk along a size curve,
// spun, aged and freed; every update writes one camera-facing quad per live particle into the
// emitter's vertex buffer, live quads first. Random numbers come from the 15-bit generator.
//
// File: 12-byte header (skipped); 16 f32 local transform; u32 A; u32 B; vec3 C; f32 polar
// angle (radians from +y); f32 polar spread; f32 azimuth; f32 azimuth spread; f32 start
// speed; f32 speed variation; u16 emission kind (1 bursts); u16 per spawn; u16 D; u32 start
// frame; u32 end frame; u32 E; f32 life; f32 life variation; f32 size; f32 size jitter; u32
// grow-in frames; u32 fade-out frames; u32 motion kind (2 planar); u32 unused; f32 spin
// period; f32 spin factor; vec3 force 1 direction; f32 force 1 magnitude; f32 force 2
// magnitude; vec3 force 2 direction; u32 orientation kind (3 no random axis); u32 unused;
// u32 burst count N; N f32 burst frames; N u16 burst counts; u32 render type; u32 material
// count Mt; Mt material ids.
#include "engine/core/AGResource.h"
#include "engine/core/AGVec3.h"
#include "engine/core/Crc32Hash.h"
#include "engine/graphics/AGAnimated.h"
#include "engine/graphics/AGModelMaterials.h"
#include "engine/graphics/AGOwnedBuffer.h"
#include "engine/graphics/AGRenderable.h"
#include "engine/graphics/AGVertexBuffer.h"
#include "platform/gfx/GfxTypes.h"

class AGModelAnimation;
class PCCam;

struct AGParticle {
    AGVec3 position;
    AGVec3 velocity;
    AGVec3 axis;
    f32 size = 1.0f;
    f32 angle = 0.0f;  // radians
    f32 birthFrame = 0.0f;
    f32 age = 0.0f;  // frames
    f32 lastSeen = 0.0f;
    f32 lifetime = 0.0f;  // frames
    u32 color = 0xFFFFFFFFu;
    u32 spare = 0;
    u32 wraps = 0;  // loops of the controller since birth
    AGParticle* next = nullptr;
};

class AGEmitter : public AGResource, public AGRenderable, public AGAnimated {
public:
    // The largest pool: quads are drawn with 16-bit indices.
    static constexpr u32 kMaxParticles = 16384;
    static constexpr u32 kFileSize = 230;  // without bursts and materials

    AGEmitter();
    // The provider's clone: parameters, curve and bursts copied, the materials taken again
    // as private copies; the pool starts empty. The path animation is attached again by the
    // owner.
    AGEmitter(const AGEmitter& other);
    ~AGEmitter() override;

    u32 GetTypeKey() const override { return TypeKey::Emitter3D; }
    // Materials are taken shared or as private copies as shared says. A truncated file leaves
    // the emitter without particles, with one log line; a pool above kMaxParticles is cut to
    // it with one log line.
    void Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) override;

    // Renderable. Initialize builds the pool and the vertex buffer of its quads.
    void Initialize() override;
    // Nothing while frozen or without a controller. Otherwise: controller step, path pose,
    // spawn check, particles aged, moved and written as quads facing the camera of the layer
    // being updated (no quads without one).
    void Update() override;
    void Draw() override {}
    void Prepare() override;
    u32 GetRenderableType() const override { return kEmitter; }
    // The translation of the local transform.
    void GetPosition(AGVec3& out) const override;
    // Where particles are born, in world space; the quads are drawn untransformed.
    void SetPosition(const AGVec2& position) override { m_position = {position.x, position.y, 0.0f}; }
    void SetPosition(const AGVec3& position) { m_position = position; }
    // The owner places the emitter by its position: a composite's transform (which already
    // holds that place) is not applied on top.
    void SetParentTransform(const platform::gfx::Matrix*) override {}
    AGAnimated* GetAnimated() override { return this; }

    // The texture slots of every material follow the controller too.
    void SetController(AGController* controller) override;
    // The first call stops spawning and ends every living particle at the next update; it
    // clears the running byte.
    void Stop();
    // Spawning resumes from the start of the emission (the first burst); nothing while the
    // emitter runs already.
    void Start();
    // Start, also while running.
    void Restart();
    bool IsRunning() const { return m_running != 0; }
    // Cleared, the emitter spawns nothing more; the living particles run out.
    void SetRunning(bool running) { m_running = running ? 1 : 0; }
    // The burst that fires next; 0 is the start of the emission.
    u32 GetEmissionState() const { return m_nextBurst; }
    // A value past the burst list starts the emission again.
    void SetEmissionState(u32 state);
    // The forces keep their magnitudes.
    void SetForceDirections(const AGVec3& first, const AGVec3& second);
    const AGVec3& GetForce1Direction() const { return m_force1Direction; }
    const AGVec3& GetForce2Direction() const { return m_force2Direction; }
    bool IsFrozen() const { return m_frozen != 0; }
    void SetFrozen(bool frozen) { m_frozen = frozen ? 1 : 0; }
    void SetPathAnimation(AGModelAnimation* animation) { m_path = animation; }
    AGModelAnimation* GetPathAnimation() const { return m_path; }

    // The size curve at x (age over life).
    f32 SizeAt(f32 x) const;
    u32 PoolSize() const { return m_poolSize; }
    u32 LiveCount() const { return m_liveCount; }
    // Quads written by the last update (the live particles when there was a camera).
    u32 QuadCount() const { return m_quadCount; }
    const AGParticle* FirstLive() const { return m_live; }
    const AGVertexBuffer& Quads() const { return m_quads; }
    u32 GetEmitterColor() const { return m_emitterColor; }
    u32 GetRenderType() const { return m_renderType; }
    const AGModelMaterials& Materials() const { return m_materials; }

protected:
    u32 m_emitterColor = 0xFFFFFFFFu;

private:
    struct Curve {
        f32 value[4] = {};
        f32 time[4] = {};
        f32 slope[3] = {};
        f32 intercept[3] = {};
        void Rebuild();
    };

    void Derive();
    void BuildPool();
    void Spawn(u32 count, f32 frame);
    bool SpawnDue(f32 frame, u32& count);
    void WriteQuad(u32 slot, const AGParticle& p, const AGVec3& right, const AGVec3& up);

    // From the file.
    platform::gfx::Matrix m_local;
    u32 m_valueA = 0, m_valueB = 0, m_valueD = 0, m_valueE = 0;
    AGVec3 m_valueC;
    f32 m_polarAngle = 0.0f, m_polarSpread = 0.0f, m_azimuth = 0.0f, m_azimuthSpread = 0.0f;
    f32 m_startSpeed = 0.0f, m_speedVariation = 0.0f;
    u16 m_emissionKind = 0, m_perSpawn = 0;
    u32 m_startFrame = 0, m_endFrame = 0;
    f32 m_life = 0.0f, m_lifeVariation = 0.0f, m_size = 0.0f, m_sizeJitter = 0.0f;
    u32 m_growIn = 0, m_fadeOut = 0, m_motionKind = 0, m_orientationKind = 0;
    f32 m_spinPeriod = 0.0f, m_spinFactor = 0.0f;
    AGVec3 m_force1Direction, m_force2Direction;
    f32 m_force1Magnitude = 0.0f, m_force2Magnitude = 0.0f;
    AGOwnedBuffer<f32> m_burstFrames;
    AGOwnedBuffer<u16> m_burstCounts;
    u32 m_renderType = 0;
    AGModelMaterials m_materials;

    // Derived.
    bool m_planar = false, m_bursts = false, m_randomAxis = false;
    f32 m_spinSpeed = 0.0f, m_spinVariation = 0.0f, m_inverseLife = 0.0f;
    AGVec3 m_force1, m_force2;
    Curve m_sizeCurve;

    // Run time.
    AGVec3 m_position;
    AGModelAnimation* m_path = nullptr;
    f32 m_previousFrame = 0.0f, m_currentFrame = 0.0f, m_frameDelta = 0.0f, m_loopLength = 0.0f;
    AGOwnedBuffer<AGParticle> m_pool;
    AGParticle* m_live = nullptr;
    AGParticle* m_free = nullptr;
    u32 m_liveCount = 0;
    u32 m_poolSize = 0;
    u32 m_quadCount = 0;
    u32 m_nextBurst = 0;
    // Every burst of this loop has fired; the next waits for the controller to loop.
    bool m_burstsDone = false;
    AGVertexBuffer m_quads;
    u8 m_noSpawn = 0;
    u8 m_frozen = 0;
    u8 m_running = 1;
};
