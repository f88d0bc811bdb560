#include "engine/graphics/AGEmitter.h"

#include <cmath>

#include "engine/core/AGController.h"
#include "engine/graphics/AGModelAnimation.h"
#include "engine/graphics/PCEmitter.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/engine/graphics/GraphicsTestBytes.h"
#include "tools/authoring/EmitterWriter.h"

using authoring::EmitterData;

namespace {

// An emitter on a looping controller (30 frames unless given), stepped to chosen frames by hand.
struct Rig {
    explicit Rig(const EmitterData& data, f32 frames = 30) : emitter(authoring::EmitterBytes(data)) {
        AGBindAnimation(clock, frames, 25, 1);  // 40 ms frames: whole frames are exact
        emitter.SetController(&clock);
    }
    u32 LiveAt(f32 frame) {
        clock.SetTime(frame * clock.GetFrameDuration());
        emitter.Update();
        return emitter.LiveCount();
    }
    const AGParticle& First() const { return *emitter.FirstLive(); }
    Loaded<PCEmitter> emitter;
    AGController clock;
};

// One particle born at frame 0 with a life of 100 frames.
EmitterData OneParticle() {
    EmitterData data;
    data.endFrame = 1, data.life = 100;
    return data;
}

// Particles of the life given (1000 frames unless given), in bursts of the counts at the frames.
EmitterData Bursts(std::vector<float> frames, std::vector<uint16_t> counts, float life = 1000) {
    EmitterData data;
    data.emissionKind = 1, data.endFrame = 100, data.life = life, data.burstFrames = std::move(frames);
    data.burstCounts = std::move(counts);
    return data;
}

constexpr u32 kParticleGreen = 0xFF00FF00u;

class PCEmitterTest : public drawtest::DrawingFixture {
protected:
    PCEmitterTest() { AGBindAnimation(clock, 30, 30, 1); }
    // Loaded from data, on the clock, at (60, 50), shown.
    void Start(PCEmitter& emitter, const authoring::EmitterData& data) {
        LoadBytes(emitter, authoring::EmitterBytes(data));
        emitter.SetController(&clock);
        emitter.SetPosition({60, 50, 0});
        Show(emitter);
    }
    AGController clock;
};

}  // namespace

TEST(AGEmitter, BurstsSpawnTheirCountsOncePerLoop) {
    Rig two(Bursts({10, 20}, {5, 7}));
    EXPECT_EQ(two.emitter.PoolSize(), 100u);
    const std::pair<f32, u32> steps[] = {{0, 0},  {10.3f, 5}, {10.45f, 5}, {20.2f, 12}, {20.6f, 12},
                                         {25, 12}, {3, 12},   {10.1f, 17}, {10.2f, 17}};
    for (auto [frame, live] : steps)
        EXPECT_EQ(two.LiveAt(frame), live) << "frame " << frame;

    // A single burst fires once per loop too, and a burst flag without bursts spawns nothing.
    Rig one(Bursts({10}, {4}));
    for (auto [frame, live] : {std::pair<f32, u32>{10.1f, 4}, {10.3f, 4}, {12, 4}, {1, 4}, {10.2f, 8}})
        EXPECT_EQ(one.LiveAt(frame), live) << "frame " << frame;
    EXPECT_EQ(Rig(Bursts({}, {})).LiveAt(0.2f), 0u);
}

TEST(AGEmitter, PoolIsBoundedAndCutFilesSpawnNothing) {
    EmitterData huge;
    huge.endFrame = 100000;
    LogCapture log;
    Loaded<PCEmitter> emitter(authoring::EmitterBytes(huge));
    EXPECT_TRUE(emitter.PoolSize() == AGEmitter::kMaxParticles && log.Lines().size() == 1u);
    emitter.Update();  // without a controller: nothing to do
    EXPECT_EQ(emitter.LiveCount(), 0u);

    // Cut inside the 230-byte header.
    Loaded<PCEmitter> cut(authoring::EmitterBytes(Bursts({1, 2}, {1, 1})).substr(0, 229));
    EXPECT_EQ(std::make_pair(cut.PoolSize(), log.Lines().size()), std::make_pair(0u, size_t(2)));
}

TEST(AGEmitter, ParticlesLeaveAlongTheConeFromThePositionPushedByBothForces) {
    constexpr f32 kPi = 3.1415927f;
    struct Case { f32 polar, azimuth; u32 motion; AGVec3 direction; };
    // Polar angle from +y, azimuth from +x toward +z; planar motion keeps y at 0.
    const Case cases[] = {{kPi / 2, 0, 0, {1, 0, 0}}, {kPi / 3, kPi / 4, 0, {0.6123724f, 0.5f, 0.6123724f}},
                          {kPi / 3, kPi / 4, 2, {0.6123724f, 0.0f, 0.6123724f}}};
    for (const Case& c : cases) {
        EmitterData data = OneParticle();
        data.polarAngle = c.polar, data.azimuth = c.azimuth, data.startSpeed = 2, data.motionKind = c.motion;
        data.force1 = {0, -1, 0};
        data.force1Magnitude = 0.5f;
        data.force2 = {1, 0, 0};
        data.force2Magnitude = 0.25f;
        Rig rig(data);
        rig.emitter.SetPosition(AGVec3{10, 20, 30});
        // A parent transform does not move the particles: the position alone places them.
        const platform::gfx::Matrix moved{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 100, 100, 100, 1}};
        rig.emitter.SetParentTransform(&moved);
        ASSERT_EQ(rig.LiveAt(0), 1u);
        const AGVec3 d = c.direction;
        const f32 dy = c.motion == 2 ? 0.0f : 1.0f;
        AGVec3 v{2 * d.x + 0.25f, (2 * d.y - 0.5f) * dy, 2 * d.z};
        ExpectNear(rig.First().velocity, v, "velocity after one step");
        ExpectNear(rig.First().position, {10 + v.x, 20 + v.y, 30 + v.z}, "position after one step");
        // Two frames later the step is the frame delta + 1.
        rig.LiveAt(2);
        const AGVec3 p{10 + v.x + 3 * (v.x + 0.25f), 20 + v.y + 3 * (v.y - 0.5f) * dy, 30 + 4 * v.z};
        ExpectNear(rig.First().position, p, "position after a step of 3");
    }
}

TEST(AGEmitter, APathPlacesNewParticlesAndItsRotationReplacesTheLoadedTransform) {
    EmitterData data = OneParticle();
    data.local[12] = 5;
    Rig rig(data);
    AGVec3 at;
    rig.emitter.GetPosition(at);
    EXPECT_EQ(at.x, 5.0f);
    AGModelAnimation path;
    const u16 times[] = {0, 10};
    const AGVec3 places[] = {{10, 20, 30}, {10, 20, 30}};
    const AGQuat turns[] = {{0, 0, 0, 1}, {0, 0, 0, 1}};
    ASSERT_TRUE(path.m_position.SetKeys(times, places, 2) && path.m_rotation.SetKeys(times, turns, 2));
    rig.emitter.SetPathAnimation(&path);
    ASSERT_EQ(rig.LiveAt(0), 1u);
    ExpectNear(rig.First().position, {10, 20, 30}, "born where the path is");
    rig.emitter.GetPosition(at);
    EXPECT_EQ(at.x, 0.0f) << "the path's rotation is the whole local transform";
}

TEST(AGEmitter, SpreadsAndVariationsStayWithinTheirRanges) {
    EmitterData data = OneParticle();
    data.perSpawn = 400, data.polarAngle = 0.5f, data.polarSpread = 0.3f, data.azimuth = 1.0f;
    data.azimuthSpread = 0.4f, data.startSpeed = 2, data.speedVariation = 0.25f, data.life = 10;
    data.lifeVariation = 25;  // at least twice the life: 3.75
    Rig rig(data);
    ASSERT_EQ(rig.LiveAt(0), 400u);
    f32 low[4] = {9, 9, 9, 99}, high[4] = {-9, -9, -9, -99};
    for (const AGParticle* p = rig.emitter.FirstLive(); p; p = p->next) {
        const AGVec3 v = p->velocity;
        const f32 speed = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
        const f32 values[4] = {std::acos(v.y / speed), std::atan2(v.z, v.x), speed, p->lifetime};
        for (int i = 0; i < 4; ++i)
            low[i] = std::min(low[i], values[i]), high[i] = std::max(high[i], values[i]);
    }
    // Polar angle +- spread, azimuth +- spread, speed +- 2 x variation, life +- 2 x variation.
    const f32 range[4][2] = {{0.2f, 0.8f}, {0.6f, 1.4f}, {1.5f, 2.5f}, {2.5f, 17.5f}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_GE(low[i], range[i][0] - 1e-4f) << i;
        EXPECT_LE(high[i], range[i][1] + 1e-4f) << i;
        EXPECT_GT(high[i] - low[i], 0.8f * (range[i][1] - range[i][0])) << i;
    }
    // A negative life counts as none: the (reduced) variation alone gives particles time.
    data.life = -5, data.lifeVariation = 20;
    EXPECT_GT(Rig(data).LiveAt(0), 100u);
}

TEST(AGEmitter, SizeCurveFollowsGrowInAndFadeOut) {
    struct Case {
        f32 life;
        u32 growIn, fadeOut, motion;
        std::vector<std::pair<f32, f32>> sizes;  // x, size
    };
    const Case cases[] = {
        // Flat at 7 x size until (life - fade-out) / life, then down to 0.1 x size at 1.
        {10, 2, 4, 0, {{-1, 7}, {0, 7}, {0.1f, 7}, {0.5f, 7}, {0.8f, 3.55f}, {1, 0.1f}, {3, 0.1f}}},
        // Fade-out above the life becomes a tenth of it: 2 of 25 frames.
        {25, 0, 30, 0, {{0.91f, 7}, {0.96f, 3.55f}}},
        // Fade-out equal to the life stays: the fall starts at 0.
        {10, 0, 10, 0, {{0.5f, 3.55f}, {0.75f, 1.825f}}},
        // Planar emitters are 25 times larger.
        {10, 0, 0, 2, {{0.5f, 175}, {1, 2.5f}}}};
    for (const Case& c : cases) {
        EmitterData data;
        data.life = c.life, data.growIn = c.growIn, data.fadeOut = c.fadeOut, data.motionKind = c.motion;
        Loaded<PCEmitter> emitter(authoring::EmitterBytes(data));
        for (auto [x, size] : c.sizes)
            EXPECT_NEAR(emitter.SizeAt(x), size, 1e-4f) << "life " << c.life << " at " << x;
    }
}

TEST(AGEmitter, AgeCountsAcrossControllerLoopsAndSpinAddsEveryStep) {
    EmitterData data;
    data.startFrame = 90, data.endFrame = 91, data.life = 20, data.size = 1;
    data.fadeOut = 30;     // above the life: 2 frames
    data.spinPeriod = 10;  // 360 / 26 degrees a frame
    Rig rig(data, 101);    // a loop of 100 frames
    const f32 spin = 360.0f / 26.0f * 0.017453292f;
    const std::pair<f32, f32> steps[] = {{90, 0}, {95, 5}, {5, 15}, {6, 16}, {9, 19}};
    int n = 0;
    for (auto [frame, age] : steps) {
        ASSERT_EQ(rig.LiveAt(frame), 1u) << frame;
        EXPECT_FLOAT_EQ(rig.First().age, age) << frame;
        EXPECT_NEAR(rig.First().angle, spin * f32(++n), 1e-5f) << frame;
    }
    EXPECT_NEAR(rig.First().size, 3.55f, 1e-4f);  // age 19 of 20: within the fade-out of 2
    EXPECT_EQ(rig.LiveAt(10), 0u);                // age 20
    // Orientation kinds other than 3 give each particle a random unit axis to turn about, the
    // axes pointing every way: some below the horizontal plane, some behind, some to the left.
    data.perSpawn = 64;
    for (u32 kind : {0u, 3u}) {
        data.orientationKind = kind;
        Rig turned(data, 101);
        ASSERT_EQ(turned.LiveAt(90), 64u);
        const AGVec3& a = turned.First().axis;
        EXPECT_NEAR(a.x * a.x + a.y * a.y + a.z * a.z, kind == 3 ? 0.0f : 1.0f, 1e-4f) << kind;
        int below = 0, behind = 0, left = 0;
        for (const AGParticle* p = &turned.First(); p; p = p->next) {
            below += p->axis.y < 0.0f;
            behind += p->axis.z < 0.0f;
            left += p->axis.x < 0.0f;
        }
        EXPECT_EQ(below > 0 && behind > 0 && left > 0, kind == 0) << below << " " << behind << " " << left;
    }
}

TEST(AGEmitter, PoolFillsStopsSpawningAndRefillsAsParticlesDie) {
    EmitterData data;
    data.endFrame = 100, data.perSpawn = 2, data.life = 5, data.spinPeriod = 10;
    Rig rig(data, 200);
    EXPECT_EQ(std::pair(rig.emitter.PoolSize(), rig.emitter.Quads().PositionCount()), std::pair(200u, 800u));
    for (int i = 0; i < 101; ++i)
        rig.LiveAt(f32(i) * 0.009f);
    EXPECT_EQ(rig.emitter.LiveCount(), 200u);
    EXPECT_EQ(rig.LiveAt(6.0f), 0u);  // the pool was full when this frame spawned
    EXPECT_EQ(rig.LiveAt(6.1f), 2u);
    EXPECT_NEAR(rig.First().angle, 360.0f / 26.0f * 0.017453292f, 1e-5f);  // a reused particle starts unturned
    rig.emitter.SetFrozen(true);  // frozen: neither spawns nor ages
    EXPECT_EQ(rig.LiveAt(8.0f), 2u);
    rig.emitter.SetFrozen(false);
    rig.emitter.Stop();
    EXPECT_EQ(rig.LiveAt(6.2f), 0u);

    rig.emitter.Prepare();  // gives its particles and quads back
    EXPECT_EQ(rig.emitter.Quads().PositionCount(), 0u);
    // An empty emission window leaves no pool, even on a reload.
    data.startFrame = 100;
    LoadBytes(rig.emitter, authoring::EmitterBytes(data));
    EXPECT_EQ(rig.emitter.PoolSize() + rig.emitter.Quads().PositionCount() + rig.LiveAt(100), 0u);
}

TEST(AGEmitter, RunningByteStartRestartEmissionStateAndForceDirections) {
    EmitterData steady;
    steady.endFrame = 100, steady.life = 1000, steady.force1Magnitude = 0.5f, steady.force2Magnitude = 0.25f;
    Rig rig(steady, 200);
    rig.emitter.SetForceDirections(AGVec3{0, -1, 0}, AGVec3{1, 0, 0});  // magnitudes kept
    EXPECT_EQ(rig.LiveAt(0), 1u);
    ExpectNear(rig.First().velocity, {0.25f, -0.5f, 0}, "velocity after one step");
    // Cleared, the running byte stops spawning only; Start spawns again, also after Stop.
    const std::pair<void (*)(AGEmitter&), u32> steps[] = {{[](AGEmitter& e) { e.SetRunning(false); }, 1},
                                                          {[](AGEmitter& e) { e.Start(); }, 2},
                                                          {[](AGEmitter& e) { e.Stop(); }, 0},
                                                          {[](AGEmitter& e) { e.Start(); }, 1}};
    for (u32 i = 0; i < 4; ++i) {
        steps[i].first(rig.emitter);
        EXPECT_EQ(rig.LiveAt(f32(i + 1)), steps[i].second) << i;
    }
    // Start leaves a running emission where it is; Restart rewinds it, as does a state past the list.
    Rig bursts(Bursts({10, 20}, {5, 7}));
    EXPECT_EQ(bursts.LiveAt(10.1f), 5u);
    bursts.emitter.Start();
    EXPECT_EQ(bursts.emitter.GetEmissionState(), 1u);
    bursts.emitter.Restart();
    EXPECT_EQ(bursts.LiveAt(10.2f), 10u);
    bursts.emitter.SetEmissionState(2);
    EXPECT_EQ(bursts.emitter.GetEmissionState(), 0u);
}

TEST_F(PCEmitterTest, OnlyLiveParticlesAreDrawn) {
    EmitterData data = Bursts({1, 5}, {1, 1}, 3);
    PCEmitter emitter;
    Start(emitter, data);
    emitter.SetColor(kParticleGreen);
    auto frameAt = [&](f32 frame, AGVec3 position) {
        emitter.SetPosition(position);
        clock.SetTime(frame * clock.GetFrameDuration());
        Frame();
    };

    // A 7 x 7 pixel quad at the emitter's position under the screen camera.
    frameAt(1.1f, {60, 50, 0});
    EXPECT_EQ(emitter.m_attribute.m_primitiveCounts[0], 2u);  // two triangles a quad
    // Particles carry their world positions: they are drawn with the identity world.
    const platform::gfx::Matrix* world = emitter.m_attribute.m_world;
    EXPECT_TRUE(world && std::equal(world->m, world->m + 16, platform::gfx::MatrixIdentity().m));
    // Under a screen camera its own draw puts particles over everything: no depth test; render
    // type 2 blends by alpha, whatever blend the draw before left.
    using platform::gfx::RenderState, platform::gfx::Blend;
    m_context.SetCurrentCamera(&m_camera);
    Dev().SetRenderState(RenderState::DestBlend, Blend::One);
    emitter.Draw();
    EXPECT_EQ(std::pair(Dev().GetRenderState(RenderState::ZEnable), Dev().GetRenderState(RenderState::DestBlend)),
              std::pair(0u, u32(Blend::InvSrcAlpha)));
    EXPECT_TRUE(gfxtest::ColorNear(Pixel(60, 50), kParticleGreen, 2));
    EXPECT_TRUE(gfxtest::ColorNear(Pixel(66, 50), drawtest::kBlack, 2));

    // The first particle has died when the second is born: only the second is drawn.
    frameAt(5.1f, {200, 50, 0});
    EXPECT_EQ(emitter.LiveCount(), 1u);
    EXPECT_EQ(std::make_pair(Pixel(60, 50), Pixel(200, 50)), std::make_pair(drawtest::kBlack, kParticleGreen));

    frameAt(9.0f, {200, 50, 0});
    EXPECT_EQ(emitter.m_attribute.m_primitiveCounts[0], 0u);
    EXPECT_TRUE(gfxtest::ColorNear(Pixel(200, 50), drawtest::kBlack, 2));
    m_layer.RemoveRenderable(&emitter);

    // Reloaded with an empty emission window it keeps no device streams and is not drawn.
    data.startFrame = data.endFrame;
    LoadBytes(emitter, authoring::EmitterBytes(data));
    EXPECT_EQ(emitter.m_attribute.m_ready + emitter.m_attribute.PartCount(), 0u);
}

// A quad samples its material's texture across its face: a texture red on its left half and
// green on its right shows both.
TEST_F(PCEmitterTest, QuadsSampleTheirTextureAcrossTheirFace) {
    std::vector<u32> pixels;
    for (u32 i = 0; i < 64; ++i)
        pixels.push_back(i % 8 < 4 ? 0xFFFF0000u : kParticleGreen);
    authoring::PackageWriter writer;
    writer.Add("halves.png", TypeKey::Texture, authoring::PngBytes(pixels, 8, 8));
    // A tint that leaves red and green as they are.
    drawtest::AddMaterial(writer, "halves", {"halves.png"}, 0xFFFFFF01u);
    Mount(writer);
    EmitterData data = Bursts({1}, {1}, 3);
    data.materialIds = {authoring::NameId("halves.mat")};
    PCEmitter emitter;
    Start(emitter, data);
    clock.SetTime(1.1f * clock.GetFrameDuration());
    Frame();
    EXPECT_EQ(std::make_pair(Pixel(58, 50), Pixel(62, 50)), std::make_pair(0xFFFF0000u, kParticleGreen));
    m_layer.RemoveRenderable(&emitter);
    // Particles take the material's diffuse colour; opacity replaces its alpha byte only.
    EXPECT_EQ(emitter.GetEmitterColor(), 0xFFFFFF01u);
    emitter.SetOpacity(0.5f);
    EXPECT_EQ(emitter.GetEmitterColor(), 0x7FFFFF01u);
    emitter.Prepare();  // gives its material back
    EXPECT_EQ(emitter.Materials().Count(), 0u);
}

// Quads face the camera of the layer being updated: both edges of a quad lie across the view.
TEST(AGEmitter, QuadsFaceTheCameraOfTheLayer) {
    Rig rig(OneParticle());
    PCCam camera;
    camera.SetLookAt({0, 0, 0}, {1, 1, 1}, {0, 1, 0});
    AGGraphicLayer layer;
    layer.SetCamera(&camera);
    layer.AddRenderable(&rig.emitter);
    layer.Update();
    const AGVec3* q = rig.emitter.Quads().m_positions.Data();
    for (const AGVec3& corner : {q[1], q[2]}) {
        const AGVec3 edge{corner.x - q[0].x, corner.y - q[0].y, corner.z - q[0].z};
        EXPECT_TRUE(edge.x * edge.x + edge.y * edge.y > 0.01f && std::fabs(edge.x + edge.y + edge.z) < 1e-4f);
    }
    layer.RemoveRenderable(&rig.emitter);
}
