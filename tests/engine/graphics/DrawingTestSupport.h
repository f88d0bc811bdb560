#pragma once
// The setting of the drawing tests: a graphic device on an offscreen window, the resource
// managers with the graphics providers, a folder package the test writes, and a whole-screen
// layer through a screen camera drawn by a PCRenderer.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/core/AGRadixManager.h"
#include "engine/core/PcDirectory.h"
#include "engine/graphics/AGGraphicLayer.h"
#include "engine/graphics/AGGraphicsProviders.h"
#include "engine/graphics/AGRenderable.h"
#include "engine/graphics/PCCam.h"
#include "engine/graphics/PCContextManager.h"
#include "engine/graphics/PCGraphicDevice.h"
#include "engine/graphics/PCRenderer.h"
#include "tests/platform/gfx/GfxTestSupport.h"
#include "tests/support/ResourceEnvironment.h"
#include "tests/support/TempDir.h"
#include "tools/authoring/DrawingWriters.h"
#include "tools/authoring/PackageWriter.h"

namespace drawtest {

constexpr u32 kBlack = 0xFF000000u;

// width x height pixels of one colour.
inline std::string SolidPng(u32 width, u32 height, u32 argb) {
    return authoring::PngBytes(std::vector<u32>(size_t(width) * height, argb), width, height);
}

class DrawingFixture : public ::testing::Test {
protected:
    static constexpr u32 kWidth = 320;
    static constexpr u32 kHeight = 200;

    void SetUp() override {
        m_window = std::make_unique<gfxtest::TestWindow>(int(kWidth), int(kHeight));
        ASSERT_NE(m_window->Get(), nullptr);
        PCContextManager::SetInstance(&m_context);
        PCGraphicDevice::SetInstance(&m_device);
        AGRadixManager::SetInstance(&m_radix);
        m_radix.Reserve(0, 256);
        ASSERT_TRUE(m_device.Initialize(m_window->Get(), kWidth, kHeight, 0));
        m_env = std::make_unique<ResourceEnvironment>(false);
        RegisterGraphicsProviders(m_env->Resources());
        AGGraphicLayer::SetupScreenCamera(&m_camera);
        m_layer.SetCamera(&m_camera);
        m_layer.SetSize(kWidth, kHeight);
        m_layer.SetEnabled(true);
        m_layer.SetGroup(&m_renderer);
        m_device.AddLayer(&m_layer);
    }
    void TearDown() override {
        m_device.RemoveLayer(&m_layer);
        if (m_package)
            m_package->Unmount();
        m_package.reset();
        m_env.reset();
        m_device.Shutdown();
        AGRadixManager::SetInstance(nullptr);
        PCGraphicDevice::SetInstance(nullptr);
        PCContextManager::SetInstance(nullptr);
        m_window.reset();
    }

    // Writes the package as a folder and mounts it.
    void Mount(const authoring::PackageWriter& writer) {
        const std::string path = m_dir.Path() + "/Drawing.dir";
        ASSERT_TRUE(writer.WriteFolder(path));
        m_package = std::make_unique<PcDirectory>();
        m_package->Mount(path.c_str(), false);
    }
    template <typename T>
    T* Get(u32 typeKey, const std::string& name) {
        return GetOrLoadResourceAs<T>(m_env->Provider(typeKey), authoring::NameId(name));
    }
    void GiveBack(u32 typeKey, AGResource* resource) { m_env->Provider(typeKey)->Release(resource); }

    // Draws renderable r in the layer, in order of sort key.
    void Show(AGRenderable& r, f32 sortKey = 0.0f) {
        r.SetFlags(AGRenderable::kActive | AGRenderable::kShown);
        r.m_sortKey = sortKey;
        m_layer.AddRenderable(&r);
    }
    void Frame() {
        m_device.UpdateLayers();
        m_device.RenderFrame();
    }
    platform::gfx::Device& Dev() { return *m_device.GetDevice(); }
    u32 Pixel(int x, int y) { return gfxtest::ReadPixel(Dev(), x, y); }

    std::unique_ptr<gfxtest::TestWindow> m_window;
    PCContextManager m_context;
    PCGraphicDevice m_device;
    AGRadixManager m_radix;
    std::unique_ptr<ResourceEnvironment> m_env;
    TempDir m_dir;
    std::unique_ptr<PcDirectory> m_package;
    PCCam m_camera;
    PCRenderer m_renderer;
    AGGraphicLayer m_layer;
};

}  // namespace drawtest
