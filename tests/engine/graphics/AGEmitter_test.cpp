#include "engine/graphics/AGEmitter.h"

#include <gtest/gtest.h>

#include "engine/core/AGController.h"
#include "engine/graphics/PCEmitter.h"
#include "tests/engine/graphics/GraphicsTestBytes.h"
#include "tests/support/LogCapture.h"
#include "tools/authoring/EmitterWriter.h"

using authoring::EmitterData;

namespace {

// An emitter on a looping controller of 30 frames, stepped to chosen frames by hand.
struct Rig {
    explicit Rig(const EmitterData& data) {
        LoadBytes(emitter, authoring::EmitterBytes(data));
        AGBindAnimation(clock, 30, 30, 1);
        emitter.SetController(&clock);
    }
    u32 LiveAt(f32 frame) {
        clock.SetTime(frame * clock.GetFrameDuration());
        emitter.Update();
        return emitter.LiveCount();
    }
    PCEmitter emitter;
    AGController clock;
};

EmitterData Bursts(std::vector<float> frames, std::vector<uint16_t> counts) {
    EmitterData data;
    data.emissionKind = 1;
    data.endFrame = 100;
    data.life = 1000;
    data.burstFrames = std::move(frames);
    data.burstCounts = std::move(counts);
    return data;
}

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
    Rig none(Bursts({}, {}));
    EXPECT_EQ(none.LiveAt(0.2f), 0u);
}

TEST(AGEmitter, PoolIsBoundedColourFadesByAlphaAndCutFilesSpawnNothing) {
    EmitterData huge;
    huge.endFrame = 100000;
    LogCapture log;
    PCEmitter emitter;
    LoadBytes(emitter, authoring::EmitterBytes(huge));
    EXPECT_EQ(emitter.PoolSize(), AGEmitter::kMaxParticles);
    EXPECT_EQ(emitter.Quads().PositionCount(), 4 * AGEmitter::kMaxParticles);
    EXPECT_EQ(log.Lines().size(), 1u);
    // Without materials the particles are white; opacity sets their alpha byte.
    EXPECT_EQ(emitter.GetEmitterColor(), 0xFFFFFFFFu);
    emitter.SetColor(0xFF336699u);
    emitter.SetOpacity(0.5f);
    EXPECT_EQ(emitter.GetEmitterColor(), 0x7F336699u);

    const std::string bytes = authoring::EmitterBytes(Bursts({1, 2}, {1, 1}));
    ASSERT_EQ(bytes.size(), 230u + 12u);
    PCEmitter cut;
    LoadBytes(cut, bytes.substr(0, 229));
    EXPECT_EQ(cut.PoolSize(), 0u);
    EXPECT_EQ(log.Lines().size(), 2u);
}
