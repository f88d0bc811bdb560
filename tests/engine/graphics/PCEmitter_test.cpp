#include "engine/graphics/PCEmitter.h"

#include "engine/core/AGController.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/engine/graphics/GraphicsTestBytes.h"
#include "tools/authoring/EmitterWriter.h"

namespace {

constexpr u32 kGreen = 0xFF00FF00u;

class PCEmitterTest : public drawtest::DrawingFixture {
protected:
    PCEmitterTest() { AGBindAnimation(clock, 30, 30, 1); }
    // Particles of a life of 3 frames, one per burst at the frames given.
    static authoring::EmitterData Bursts(std::vector<float> frames) {
        authoring::EmitterData data;
        data.emissionKind = 1;
        data.endFrame = 100;
        data.life = 3;
        data.burstCounts.assign(frames.size(), 1);
        data.burstFrames = std::move(frames);
        return data;
    }
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

TEST_F(PCEmitterTest, OnlyLiveParticlesAreDrawn) {
    authoring::EmitterData data = Bursts({1, 5});
    PCEmitter emitter;
    Start(emitter, data);
    emitter.SetColor(kGreen);
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
    // Under a screen camera its own draw puts particles over everything: no depth test.
    m_context.SetCurrentCamera(&m_camera);
    emitter.Draw();
    EXPECT_EQ(Dev().GetRenderState(platform::gfx::RenderState::ZEnable), 0u);
    EXPECT_TRUE(gfxtest::ColorNear(Pixel(60, 50), kGreen, 2));
    EXPECT_TRUE(gfxtest::ColorNear(Pixel(66, 50), drawtest::kBlack, 2));

    // The first particle has died when the second is born: only the second is drawn.
    frameAt(5.1f, {200, 50, 0});
    EXPECT_EQ(emitter.LiveCount(), 1u);
    EXPECT_EQ(std::make_pair(Pixel(60, 50), Pixel(200, 50)), std::make_pair(drawtest::kBlack, kGreen));

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
        pixels.push_back(i % 8 < 4 ? 0xFFFF0000u : kGreen);
    authoring::TextureSlotData slot;
    slot.textures = {"halves.png"};
    authoring::MaterialData material;
    material.slots = {"halves_slot"};
    authoring::PackageWriter writer;
    writer.Add("halves.png", TypeKey::Texture, authoring::PngBytes(pixels, 8, 8))
        .Add("halves_slot", TypeKey::TextureSlot, authoring::TextureSlotBytes(slot))
        .Add("halves.mat", TypeKey::Material, authoring::MaterialBytes(material));
    Mount(writer);
    authoring::EmitterData data = Bursts({1});
    data.materialIds = {authoring::NameId("halves.mat")};
    PCEmitter emitter;
    Start(emitter, data);
    clock.SetTime(1.1f * clock.GetFrameDuration());
    Frame();
    EXPECT_EQ(std::make_pair(Pixel(58, 50), Pixel(62, 50)), std::make_pair(0xFFFF0000u, kGreen));
    m_layer.RemoveRenderable(&emitter);
}
