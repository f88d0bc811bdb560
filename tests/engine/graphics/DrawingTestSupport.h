#pragma once
// The setting of the graphics tests: the resource managers with the graphics and model
// providers and a folder package the test writes; a graphic device on an offscreen window
// with its render context; renderables and a renderer that record their calls; and a
// whole-screen layer through a screen camera drawn by a PCRenderer.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/AGRadixManager.h"
#include "engine/core/PCTimerManager.h"
#include "engine/core/PcDirectory.h"
#include "engine/graphics/AGAnimated.h"
#include "engine/graphics/AGGraphicLayer.h"
#include "engine/graphics/AGRenderable.h"
#include "engine/graphics/AGRenderer.h"
#include "engine/graphics/PCCam.h"
#include "engine/graphics/PCContextManager.h"
#include "engine/graphics/PCGraphicDevice.h"
#include "engine/graphics/PCRenderer.h"
#include "engine/graphics/PCSprite.h"
#include "tests/platform/gfx/GfxTestSupport.h"
#include "tests/support/GraphicsStartup.h"
#include "tests/support/ResourceEnvironment.h"
#include "tests/support/TempDir.h"
#include "tools/authoring/DrawingWriters.h"
#include "tools/authoring/ModelWriter.h"
#include "tools/authoring/PackageWriter.h"

namespace drawtest {

using Log = std::vector<std::string>;
constexpr u32 kBlack = 0xFF000000u;

// The frame's digest pass, which the logs leave out: they tell what is drawn.
inline bool Digesting() {
    const PCContextManager* context = PCContextManager::Get();
    return context && context->GetDevice() && context->GetDevice()->IsDigesting();
}

// width x height pixels of one colour.
inline std::string SolidPng(u32 width, u32 height, u32 argb) {
    return authoring::PngBytes(std::vector<u32>(size_t(width) * height, argb), width, height);
}

// Material "<name>.mat" of the diffuse colour given, drawing the textures through slot
// "<name>_slot" (with the controller and UV track given, if any).
inline void AddMaterial(authoring::PackageWriter& writer, const std::string& name, std::vector<std::string> textures,
                        u32 diffuse = 0xFFFFFFFFu, std::optional<authoring::SlotController> controller = {},
                        const authoring::Track& uv = authoring::Track::UV()) {
    writer.Add(name + "_slot", TypeKey::TextureSlot, authoring::TextureSlotBytes({std::move(textures), controller, uv}))
        .Add(name + ".mat", TypeKey::Material, authoring::MaterialBytes({.diffuse = diffuse, .slots = {name + "_slot"}}));
}

// Resources by name from a folder package the test writes.
class TestPackage {
public:
    TestPackage() : m_env(false) { GraphicsStartup::RegisterProviders(m_env.Resources()); }
    ~TestPackage() {
        if (m_package)
            m_package->Unmount();
    }
    authoring::PackageWriter& Writer() { return m_writer; }
    void Mount() { Mount(m_writer); }
    void Mount(const authoring::PackageWriter& writer) {
        const std::string path = m_dir.Path() + "/Package.dir";
        ASSERT_TRUE(writer.WriteFolder(path));
        m_package = std::make_unique<PcDirectory>();
        m_package->Mount(path.c_str(), false);
    }
    AGBaseProvider* Provider(u32 typeKey) const { return m_env.Provider(typeKey); }
    // Loaded (what it refers to shared as `shared` says) and held once.
    template <typename T>
    T* Get(u32 typeKey, const std::string& name, bool shared = true) {
        return static_cast<T*>(GetOrLoadResource(Provider(typeKey), authoring::NameId(name), 0, false, shared));
    }
    template <typename T>
    T* Instance(u32 typeKey, const std::string& name) {
        return static_cast<T*>(CreateResourceInstance(Provider(typeKey), authoring::NameId(name), 0, false));
    }
    void GiveBack(u32 typeKey, AGResource* resource) {
        if (resource->IsBase())
            Provider(typeKey)->Release(resource);
        else
            Provider(typeKey)->ReleaseInstance(resource);
    }

private:
    ResourceEnvironment m_env;
    TempDir m_dir;
    authoring::PackageWriter m_writer;
    std::unique_ptr<PcDirectory> m_package;
};

// A started timer manager, published while the object lives: 16 ms frames.
struct ScopedTimer {
    ScopedTimer() {
        PCTimerManager::SetInstance(&timer);
        timer.Initialize();
    }
    ~ScopedTimer() { PCTimerManager::SetInstance(nullptr); }
    PCTimerManager timer;
};

// Records its calls; drawn, it may fill a rectangle itself.
class TestRenderable : public AGRenderable {
public:
    TestRenderable(Log* log, std::string name, u32 type = kSelfDrawn)
        : m_log(log), m_name(std::move(name)), m_type(type) {
        m_flags = kActive | kShown, m_attribute.m_ready = 1, m_attribute.m_world = &m_world;
    }

    void Initialize() override {}
    void Update() override { m_log->push_back("update " + m_name); }
    void Draw() override {
        if (!Digesting())
            m_log->push_back(m_name);
        if (m_fill)
            DrawRect();
    }
    void Prepare() override { ++prepared; }
    u32 GetRenderableType() const override { return m_type; }
    void GetPosition(AGVec3& out) const override { out = TranslationOf(m_world); }
    void SetPosition(const AGVec2& p) override { SetTranslation(m_world, p); }
    void SetColor(u32 argb) override { m_color = argb; }
    void SetOpacity(f32 value) override { opacity = value; }
    void SetParentTransform(const platform::gfx::Matrix* transform) override { parent = transform; }
    bool IsDeferred() const override { return parent != nullptr; }  // as a model given a parent
    AGAnimated* GetAnimated() override { return &animated; }

    void At(f32 x, f32 y, f32 z) { m_world.m[12] = x, m_world.m[13] = y, m_world.m[14] = z; }
    // Draws the pixels [x0, x1) x [y0, y1) of a screen camera at depth z, as the strip (x0,
    // y0), (x0, y1), (x1, y0), (x1, y1) half a unit before the pixel centres, culled as the
    // device's cull state says.
    void Fill(f32 x0, f32 y0, f32 x1, f32 y1, f32 z, u32 argb) {
        m_fill = true;
        m_rect = {x0 - 0.5f, y0 - 0.5f, x1 - 0.5f, y1 - 0.5f};
        m_z = z, m_argb = argb;
    }

    f32 opacity = 1.0f;
    const platform::gfx::Matrix* parent = nullptr;
    int prepared = 0;
    AGAnimated animated;

private:
    void DrawRect() {
        using namespace platform::gfx;
        Device* device = PCContextManager::Get()->GetDevice();
        std::vector<Vec3> p = {{m_rect[0], m_rect[1], m_z}, {m_rect[0], m_rect[3], m_z}, {m_rect[2], m_rect[1], m_z},
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
    std::array<f32, 4> m_rect{};
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
            if (a == &attribute && !Digesting())
                m_log->push_back(name);
    }

private:
    Log* m_log;
    std::vector<std::pair<const AGRenderAttribute*, std::string>> m_names;
};

// A W x H graphic device on an offscreen window with its render context and the radix
// manager, made by the program's graphics start-up and published as the application
// publishes them; started unless told otherwise.
template <u32 W, u32 H, bool kInitialize = true>
class DeviceFixture : public ::testing::Test {
protected:
    static constexpr u32 kWidth = W;
    static constexpr u32 kHeight = H;

    void SetUp() override {
        m_window = std::make_unique<gfxtest::TestWindow>(int(kWidth), int(kHeight));
        ASSERT_NE(m_window->Get(), nullptr);
        AGRadixManager::SetInstance(&m_radix);
        m_radix.Reserve(0, 256);
        if (kInitialize) {
            ASSERT_TRUE(m_graphics.Part().StartDevice(m_window->Get(), kWidth, kHeight, 0));
        }
    }
    void TearDown() override {
        m_graphics.Shutdown();
        AGRadixManager::SetInstance(nullptr);
        m_window.reset();
    }
    // A whole-screen layer through a screen camera, enabled, on the device.
    void ScreenLayer(AGGraphicLayer& layer, PCCam& camera, bool onDevice = true) {
        AGGraphicLayer::SetupScreenCamera(&camera);
        layer.SetCamera(&camera);
        layer.SetSize(kWidth, kHeight);
        layer.SetEnabled(true);
        if (onDevice)
            m_device.AddLayer(&layer);
    }
    void Frame() { m_graphics.Part().RenderFrame(); }
    platform::gfx::Device& Dev() { return *m_device.GetDevice(); }
    u32 Pixel(int x, int y) { return gfxtest::ReadPixel(Dev(), x, y); }

    std::unique_ptr<gfxtest::TestWindow> m_window;
    GraphicsStartup m_graphics;
    PCContextManager& m_context = m_graphics.Context();
    PCGraphicDevice& m_device = m_graphics.Device();
    AGRadixManager m_radix;
};

// 320 x 200 with a test package and a screen layer drawn by a PCRenderer.
class DrawingFixture : public DeviceFixture<320, 200> {
protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        if (HasFatalFailure())
            return;
        m_package = std::make_unique<TestPackage>();
        ScreenLayer(m_layer, m_camera);
        m_layer.SetGroup(&m_renderer);
    }
    void TearDown() override {
        for (PCSprite* s : m_sprites) {
            m_layer.RemoveRenderable(s);
            GiveBack(TypeKey::Sprite, s);
        }
        m_device.RemoveLayer(&m_layer);
        m_package.reset();
        DeviceFixture::TearDown();
    }

    void Mount(const authoring::PackageWriter& writer) { m_package->Mount(writer); }
    template <typename T>
    T* Get(u32 typeKey, const std::string& name) { return m_package->Get<T>(typeKey, name); }
    void GiveBack(u32 typeKey, AGResource* resource) { m_package->GiveBack(typeKey, resource); }

    // Draws renderable r in the layer, in order of sort key.
    void Show(AGRenderable& r, f32 sortKey = 0.0f) {
        r.SetFlags(AGRenderable::kActive | AGRenderable::kShown);
        r.m_sortKey = sortKey;
        m_layer.AddRenderable(&r);
    }

    std::unique_ptr<TestPackage> m_package;
    std::vector<PCSprite*> m_sprites;  // taken out of the layer and given back at the end
    PCCam m_camera;
    PCRenderer m_renderer;
    AGGraphicLayer m_layer;
};

}  // namespace drawtest
