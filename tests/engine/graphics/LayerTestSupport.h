#pragma once
// Renderables and a device for the layer and camera tests: a renderable that records its
// calls and may draw a coloured rectangle itself, a renderer that records what it is asked to
// draw, and a graphic device on an offscreen OpenGL window.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/core/AGRadixManager.h"
#include "engine/graphics/AGAnimated.h"
#include "engine/graphics/AGRenderable.h"
#include "engine/graphics/AGRenderer.h"
#include "engine/graphics/PCContextManager.h"
#include "engine/graphics/PCGraphicDevice.h"
#include "tests/platform/gfx/GfxTestSupport.h"

namespace layertest {

using Log = std::vector<std::string>;

class TestRenderable : public AGRenderable {
public:
    TestRenderable(Log* log, std::string name, u32 type = kSelfDrawn)
        : m_log(log), m_name(std::move(name)), m_type(type) {
        m_flags = kActive | kShown;
        m_attribute.m_ready = 1;
        m_attribute.m_world = &m_world;
    }

    void Initialize() override {}
    void Update() override { m_log->push_back("update " + m_name); }
    void Draw() override {
        m_log->push_back(m_name);
        if (m_fill)
            DrawRect();
    }
    void Prepare() override { ++prepared; }
    u32 GetRenderableType() const override { return m_type; }
    void GetPosition(AGVec3& out) const override { out = {m_world.m[12], m_world.m[13], m_world.m[14]}; }
    void SetPosition(const AGVec2& p) override {
        m_world.m[12] = p.x;
        m_world.m[13] = p.y;
        m_world.m[14] = 0.0f;
    }
    void SetColor(u32 argb) override { m_color = argb; }
    void SetOpacity(f32 value) override { opacity = value; }
    void SetParentTransform(const platform::gfx::Matrix* transform) override { parent = transform; }
    AGAnimated* GetAnimated() override { return &animated; }
    bool IsDeferred() const override { return deferred; }

    void At(f32 x, f32 y, f32 z) {
        m_world.m[12] = x;
        m_world.m[13] = y;
        m_world.m[14] = z;
    }
    // Draws the pixels [x0, x1) x [y0, y1) of a screen camera at depth z when drawn. Pixel
    // centres sit on integer coordinates, so the rectangle's edges are half a unit before
    // them; it is the strip (x0, y0), (x0, y1), (x1, y0), (x1, y1), culled as the device's
    // cull state says.
    void Fill(f32 x0, f32 y0, f32 x1, f32 y1, f32 z, u32 argb) {
        m_fill = true;
        m_rect[0] = x0 - 0.5f;
        m_rect[1] = y0 - 0.5f;
        m_rect[2] = x1 - 0.5f;
        m_rect[3] = y1 - 0.5f;
        m_z = z;
        m_argb = argb;
    }

    f32 opacity = 1.0f;
    const platform::gfx::Matrix* parent = nullptr;
    int prepared = 0;
    bool deferred = false;
    AGAnimated animated;

private:
    void DrawRect() {
        using namespace platform::gfx;
        Device* device = PCContextManager::Get()->GetDevice();
        std::vector<Vec3> p = {{m_rect[0], m_rect[1], m_z},
                               {m_rect[0], m_rect[3], m_z},
                               {m_rect[2], m_rect[1], m_z},
                               {m_rect[2], m_rect[3], m_z}};
        gfxtest::Mesh mesh(*device, p, std::vector<uint32_t>(4, m_argb), {});
        device->SetTransform(TransformType::World, MatrixIdentity());
        device->SetRenderState(RenderState::Lighting, 0u);
        device->SetRenderState(RenderState::ZEnable, 1u);
        device->SetRenderState(RenderState::ZWriteEnable, 1u);
        device->SetRenderState(RenderState::ZFunc, Cmp::LessEqual);
        device->SetTexture(0, nullptr);
        mesh.Bind(*device);
        device->DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2);
    }

    Log* m_log;
    std::string m_name;
    u32 m_type;
    platform::gfx::Matrix m_world = platform::gfx::MatrixIdentity();
    bool m_fill = false;
    f32 m_rect[4] = {};
    f32 m_z = 0.0f;
    u32 m_argb = 0;
};

// Records the attributes it is asked to draw, by the name of their renderable.
class RecordingRenderer : public AGRenderer {
public:
    explicit RecordingRenderer(Log* log) : m_log(log) {}
    void Name(const AGRenderable& r, std::string name) { m_names.push_back({&r.m_attribute, std::move(name)}); }
    void DrawRenderAttribute(AGRenderAttribute& attribute) override {
        for (auto& [a, name] : m_names)
            if (a == &attribute)
                m_log->push_back(name);
    }

private:
    Log* m_log;
    std::vector<std::pair<const AGRenderAttribute*, std::string>> m_names;
};

// A graphic device of kWidth x kHeight on an offscreen window, its render context and the
// radix manager, published as the application publishes them.
class DeviceFixture : public ::testing::Test {
protected:
    static constexpr u32 kWidth = 64;
    static constexpr u32 kHeight = 48;

    void SetUp() override {
        m_window = std::make_unique<gfxtest::TestWindow>(int(kWidth), int(kHeight));
        ASSERT_NE(m_window->Get(), nullptr);
        PCContextManager::SetInstance(&m_context);
        PCGraphicDevice::SetInstance(&m_device);
        AGRadixManager::SetInstance(&m_radix);
        m_radix.Reserve(0, 256);
        ASSERT_TRUE(m_device.Initialize(m_window->Get(), kWidth, kHeight, 0));
    }
    void TearDown() override {
        m_device.Shutdown();
        AGRadixManager::SetInstance(nullptr);
        PCGraphicDevice::SetInstance(nullptr);
        PCContextManager::SetInstance(nullptr);
        m_window.reset();
    }
    platform::gfx::Device& Dev() { return *m_device.GetDevice(); }
    u32 Pixel(int x, int y) { return gfxtest::ReadPixel(Dev(), x, y); }

    std::unique_ptr<gfxtest::TestWindow> m_window;
    PCContextManager m_context;
    PCGraphicDevice m_device;
    AGRadixManager m_radix;
};

}  // namespace layertest
