#pragma once
// Shared pieces of the rendering tests: an OpenGL window under SDL's offscreen driver, a
// device on it, PNG encoding, and 2D quads in pixel coordinates.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/Device.h"
#include "platform/gfx/GfxMath.h"
#include "platform/gfx/GlHeaders.h"

namespace gfxtest {

using namespace platform::gfx;

// An OpenGL window (shown, which the offscreen driver does without a display), multisampled
// when samples is above 0.
class TestWindow {
public:
    TestWindow(int width, int height, int samples = 0) {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);  // unless the environment names a driver
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
            return;
        // The buffers the game's window asks for (platform/window).
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
        SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, samples > 0 ? 1 : 0);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, samples);
        m_window = SDL_CreateWindow("gfx test", 0, 0, width, height, SDL_WINDOW_OPENGL);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 0);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, 0);
    }
    ~TestWindow() {
        if (m_window)
            SDL_DestroyWindow(m_window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    SDL_Window* Get() const { return m_window; }

private:
    SDL_Window* m_window = nullptr;
};

// Encodes u32 ARGB pixels as a PNG (RGBA when withAlpha, else RGB).
inline std::string EncodePng(const std::vector<uint32_t>& argb, uint32_t width, uint32_t height, bool withAlpha) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION, image.width = width, image.height = height;
    image.format = withAlpha ? PNG_FORMAT_BGRA : PNG_FORMAT_BGR;
    std::vector<uint8_t> rows;
    for (uint32_t p : argb)
        for (int shift = 0; shift < (withAlpha ? 32 : 24); shift += 8)
            rows.push_back(uint8_t(p >> shift));
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(image);
    std::string out(size, '\0');
    png_image_write_to_memory(&image, out.data(), &size, 0, rows.data(), 0, nullptr);
    out.resize(size);
    return out;
}

// Every channel within tolerance.
inline ::testing::AssertionResult ColorNear(uint32_t actual, uint32_t expected, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(int((actual >> shift) & 0xFF) - int((expected >> shift) & 0xFF)) > tolerance)
            return ::testing::AssertionFailure() << std::hex << actual << " is not near " << expected;
    return ::testing::AssertionSuccess();
}

// Maps pixel coordinates (x right, y down, z depth 0..1) to the screen through the world
// transform and a centred orthographic projection, as screen cameras do.
inline void SetPixelSpace(Device& device, uint32_t width, uint32_t height) {
    const Matrix world = {{1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1, 0, -float(width) * 0.5f, float(height) * 0.5f, 0, 1}};
    device.SetTransform(TransformType::World, world);
    device.SetTransform(TransformType::View, MatrixIdentity());
    device.SetTransform(TransformType::Projection, MatrixOrthoLH(float(width), float(height), 0.0f, 1.0f));
}

// Geometry in separate streams, as the engine keeps it: positions (stream 0), normals
// (stream 1), colours (stream 2), texture coordinates (stream 3).
class Mesh {
public:
    Mesh(Device& device, const std::vector<Vec3>& positions, const std::vector<uint32_t>& colors,
         const std::vector<float>& uvs, const std::vector<Vec3>& normals = {}) {
        Add(device, 0, positions.data(), positions.size() * 12, DeclType::Float3, DeclUsage::Position);
        Add(device, 1, normals.data(), normals.size() * 12, DeclType::Float3, DeclUsage::Normal);
        Add(device, 2, colors.data(), colors.size() * 4, DeclType::Color, DeclUsage::Color);
        Add(device, 3, uvs.data(), uvs.size() * 4, DeclType::Float2, DeclUsage::TexCoord);
        m_declaration = device.CreateVertexDeclaration(m_elements.data(), uint32_t(m_elements.size()));
    }
    ~Mesh() {
        for (VertexBuffer* vb : m_streams)
            if (vb)
                vb->Release();
        if (m_declaration)
            m_declaration->Release();
    }

    void Bind(Device& device) const {
        device.SetVertexDeclaration(m_declaration);
        for (uint32_t s = 0; s < 4; ++s)
            device.SetStreamSource(s, m_streams[s], 0, kStrides[s]);
    }
    VertexBuffer* Stream(uint32_t s) const { return m_streams[s]; }
    VertexDeclaration* Declaration() const { return m_declaration; }

private:
    static constexpr uint32_t kStrides[4] = {12, 12, 4, 8};
    void Add(Device& device, uint16_t stream, const void* data, size_t bytes, DeclType type, DeclUsage usage) {
        if (bytes == 0)
            return;
        VertexBuffer* vb = device.CreateVertexBuffer(uint32_t(bytes), kUsageWriteOnly);
        std::memcpy(vb->Lock(0, 0), data, bytes);
        m_streams[stream] = vb;
        m_elements.push_back({stream, 0, type, usage, 0});
    }
    VertexBuffer* m_streams[4] = {};
    std::vector<VertexElement> m_elements;
    VertexDeclaration* m_declaration = nullptr;
};

// One integer of GL state.
inline GLint GlInt(GLenum name) {
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

// The pixels of the box, rows top first, clipped to the back buffer; none when it cannot be read.
inline std::vector<uint32_t> ReadPixels(Device& device, const Rect& box) {
    platform::gfx::Image image;
    return device.ReadBackBuffer(box, image) ? image.pixels : std::vector<uint32_t>();
}

inline uint32_t ReadPixel(Device& device, int32_t x, int32_t y) {
    platform::gfx::Image image;
    return device.ReadBackBuffer({x, y, x + 1, y + 1}, image) ? image.pixels[0] : 0xDEADBEEF;
}

// A device on an offscreen window, cleared black, with the states 2D drawing starts from.
class DeviceTest : public ::testing::Test {
protected:
    static constexpr uint32_t kWidth = 64;
    static constexpr uint32_t kHeight = 48;

    void SetUp() override {
        m_window = std::make_unique<TestWindow>(int(kWidth), int(kHeight));
        ASSERT_NE(m_window->Get(), nullptr) << SDL_GetError();
        std::string error;
        m_device = Device::Create(m_window->Get(), {kWidth, kHeight}, error);
        ASSERT_NE(m_device, nullptr) << error;
        Device& d = *m_device;
        d.SetRenderState(RenderState::Lighting, 0u);
        d.SetRenderState(RenderState::CullMode, Cull::None);
        d.SetRenderState(RenderState::ZEnable, 0u);
        SetPixelSpace(d, kWidth, kHeight);
        d.Clear(kClearTarget, 0xFF000000, 1.0f, 0);
    }
    Device& Dev() { return *m_device; }
    // Draws a quad over pixels [x, x + w) x [y, y + h) at depth z with texture coordinates
    // 0..1; colours from a stream unless argb is 0, normals towards the viewer when asked.
    void Quad(int x, int y, int w, int h, uint32_t argb, float z = 0.5f, bool withNormals = false) {
        const float l = float(x) - 0.5f, t = float(y) - 0.5f, r = float(x + w) - 0.5f, b = float(y + h) - 0.5f;
        Mesh mesh(Dev(), {{l, t, z}, {r, t, z}, {l, b, z}, {r, b, z}},
                  argb ? std::vector<uint32_t>(4, argb) : std::vector<uint32_t>(), {0, 0, 1, 0, 0, 1, 1, 1},
                  std::vector<Vec3>(withNormals ? 4 : 0, Vec3{0, 0, -1}));
        mesh.Bind(Dev());
        ASSERT_TRUE(Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));
    }

    std::unique_ptr<TestWindow> m_window;
    std::unique_ptr<Device> m_device;  // goes before its window
};

// One value of the window's own framebuffer (48 pixels high) at (x, y), rows top first (GL
// numbers them bottom up), in the format and type given.
inline uint32_t WindowValue(int x, int y, GLenum format, GLenum type, int height = 48) {
    uint32_t value = 0;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadPixels(x, height - 1 - y, 1, 1, format, type, &value);
    return value;
}

}  // namespace gfxtest
