#include "engine/graphics/AGGraphicLayer.h"

#include <algorithm>
#include <random>

#include "tests/engine/graphics/DrawingTestSupport.h"

using drawtest::kBlack;
using drawtest::Log;
using drawtest::RecordingRenderer;
using drawtest::TestRenderable;

namespace {

constexpr u32 kNearRed = 0xFFFF0000u;
constexpr u32 kFarGreen = 0xFF00FF00u;

using GraphicLayerTest = drawtest::DeviceFixture<64, 48>;

}  // namespace

// Only active, ready renderables are drawn; self-drawn ones draw themselves.
TEST_F(GraphicLayerTest, OpaqueNearestFirstThenTransparentFarthestFirstThenTexts) {
    Log log;
    RecordingRenderer renderer(&log);
    AGGraphicLayer layer;
    PCCam camera;  // perspective, at the origin looking down +z
    camera.SetLookAt({0, 0, 0}, {0, 0, 1}, {0, 1, 0});
    layer.SetCamera(&camera);
    layer.SetSize(kWidth, kHeight);
    layer.SetEnabled(true);
    layer.SetGroup(&renderer);
    // name, z, type, sorted by distance
    const std::tuple<const char*, f32, u32, bool> items[] = {
        {"far", 50, AGRenderable::kModel, false},        {"glassNear", 2, AGRenderable::kSprite, true},
        {"textNear", 1, AGRenderable::kText, true},      {"near", 3, AGRenderable::kModel, false},
        {"textFar", 90, AGRenderable::kText, true},      {"tieA", 10, AGRenderable::kModel, false},
        {"glassFar", 80, AGRenderable::kEmitter, true},  {"tieB", 10, AGRenderable::kSprite, false},
        {"self", 4, AGRenderable::kSelfDrawn, false},    {"inactive", 5, AGRenderable::kModel, false},
        {"unready", 6, AGRenderable::kModel, false}};
    std::vector<std::unique_ptr<TestRenderable>> owned;
    for (auto [name, z, type, transparent] : items) {
        owned.push_back(std::make_unique<TestRenderable>(&log, name, type));
        owned.back()->At(0, 0, z);
        if (transparent)
            owned.back()->SetFlags(AGRenderable::kDistanceSorted);
        if (type != AGRenderable::kSelfDrawn)
            renderer.Name(*owned.back(), name);
        layer.AddRenderable(owned.back().get());
    }
    owned[9]->ClearFlags(AGRenderable::kActive);
    owned[10]->m_attribute.m_ready = 0;
    layer.Render();
    EXPECT_EQ(log, (Log{"near", "self", "tieA", "tieB", "far", "glassFar", "glassNear", "textFar", "textNear"}));
}

TEST_F(GraphicLayerTest, RenderablesSortStablyAsTheBufferGrowsAndChildLayersByTheirKeys) {
    Log log;
    AGGraphicLayer layer;
    PCCam camera;
    ScreenLayer(layer, camera, false);
    std::mt19937 random(11);
    std::vector<std::unique_ptr<TestRenderable>> owned;
    std::vector<std::pair<f32, std::string>> sorted;
    for (int i = 0; i < 300; ++i) {
        const std::string name = std::to_string(i);
        owned.push_back(std::make_unique<TestRenderable>(&log, name));
        // Few distinct keys, so ties are common; some negative, some large.
        const f32 key = f32(int(random() % 40) - 10) * (i % 7 == 0 ? 1000.5f : 1.0f);
        owned.back()->m_sortKey = key;
        sorted.push_back({key, name});
    }
    // Room for 256 renderables: the list grows from the 257th on.
    for (const auto& r : owned) {
        const u64 heap = GetHeapCounters().current;
        layer.AddRenderable(r.get());
        EXPECT_EQ(GetHeapCounters().current != heap, layer.RenderableCount() > 256) << layer.RenderableCount();
    }
    std::stable_sort(sorted.begin(), sorted.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    Log expected;
    for (const auto& entry : sorted)
        expected.push_back(entry.second);
    layer.Render();
    EXPECT_EQ(log, expected);

    // Removing takes out that renderable alone, the later ones moving down; an absent one
    // changes nothing, and is not there to be replaced.
    layer.RemoveRenderable(owned[1].get());
    layer.RemoveRenderable(owned[1].get());
    ASSERT_TRUE(layer.RenderableCount() == 299u && !layer.ReplaceRenderable(owned[1].get(), owned[0].get()));
    EXPECT_TRUE(layer.GetRenderable(1) == owned[2].get() && layer.GetRenderable(298) == owned[299].get());
    // One replaced by nothing leaves a hole that drawing skips.
    ASSERT_TRUE(layer.ReplaceRenderable(owned[2].get(), nullptr));
    log.clear();
    layer.Render();
    EXPECT_EQ(log.size(), 298u);

    // Sorting child layers keeps the disabled ones, and rendering skips them.
    log.clear();
    AGGraphicLayer root;
    ScreenLayer(root, camera);
    AGGraphicLayer children[4];
    TestRenderable marks[4] = {{&log, "c0"}, {&log, "c1"}, {&log, "c2"}, {&log, "c3"}};
    const u32 keys[4] = {3, 1, 2, 0};
    for (int i = 0; i < 4; ++i) {
        ScreenLayer(children[i], camera, false);
        children[i].SetOrderKey(keys[i]);
        children[i].SetEnabled(i != 0 && i != 3);
        children[i].AddRenderable(&marks[i]);
        root.AddChildLayer(&children[i]);
    }
    for (u32 key = 0; key < 4; ++key)  // the keys are their own inverse: keys[key] holds key
        EXPECT_EQ(root.GetChild(key), &children[keys[key]]) << key;
    m_device.RenderFrame();
    EXPECT_EQ(log, (Log{"c1", "c2"}));
    root.SetOpacity(0.25f);  // reaches the children's renderables, disabled or not
    EXPECT_TRUE(marks[0].opacity == 0.25f && marks[3].opacity == 0.25f);
}

// The screen camera maps world pixels to window pixels, with sprite-facing strips surviving
// the device's culling; each layer clears depth, so the later layer draws over a nearer one.
TEST_F(GraphicLayerTest, ScreenCameraMapsPixelsAndEachLayerClearsDepthSoTheLaterDrawsOver) {
    Log log;
    AGGraphicLayer first, second;
    PCCam camera;
    ScreenLayer(first, camera);
    ScreenLayer(second, camera);
    TestRenderable nearRed(&log, "red"), farGreen(&log, "green");
    nearRed.Fill(0, 0, 40, 40, 40.0f, kNearRed);
    farGreen.Fill(20, 20, 64, 48, -40.0f, kFarGreen);
    first.AddRenderable(&nearRed);
    second.AddRenderable(&farGreen);
    ASSERT_EQ(Dev().GetRenderState(platform::gfx::RenderState::CullMode), u32(platform::gfx::Cull::CW));
    Frame();
    // The later layer over the nearer red; the green's last pixel is the screen's last.
    EXPECT_EQ(std::vector<u32>({Pixel(10, 10), Pixel(30, 30), Pixel(63, 47), Pixel(19, 45)}),
              std::vector<u32>({kNearRed, kFarGreen, kFarGreen, kBlack}));
    EXPECT_EQ(log, (Log{"update red", "update green", "red", "green"}));
}

// A layer's controller drives the layer, its models and emitters, and its child layers; other
// renderables keep their own. A model that hangs on another is updated after the others.
TEST_F(GraphicLayerTest, AControllerReachesTheLayerItsModelsEmittersAndChildren) {
    Log log;
    TestRenderable model(&log, "model", AGRenderable::kModel), emitter(&log, "emitter", AGRenderable::kEmitter),
        sprite(&log, "sprite", AGRenderable::kSprite), inner(&log, "inner", AGRenderable::kModel);
    AGGraphicLayer child, layer;
    for (TestRenderable* r : {&model, &emitter, &sprite})
        layer.AddRenderable(r);
    child.AddRenderable(&inner);
    layer.AddChildLayer(&child);
    child.AddChildLayer(&layer);  // refused: the controller would go round for ever
    AGController clock;
    layer.SetController(&clock);
    EXPECT_EQ(std::vector<AGController*>({layer.GetController(), model.animated.GetController(),
                                          emitter.animated.GetController(), sprite.animated.GetController(),
                                          child.GetController(), inner.animated.GetController()}),
              std::vector<AGController*>({&clock, &clock, &clock, nullptr, &clock, &clock}));
    const platform::gfx::Matrix identity = platform::gfx::MatrixIdentity();
    model.SetParentTransform(&identity);
    layer.Update();
    EXPECT_EQ(log, (Log{"update emitter", "update sprite", "update model"}));
    layer.RemoveChildLayer(&child);
}
