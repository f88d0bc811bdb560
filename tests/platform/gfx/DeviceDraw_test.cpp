// Draw calls: which pixels an edge through their centres covers, and the refusal of draws
// that would read outside their buffers. Creation, full screen, reset and the cooperative
// level.
#include "platform/gfx/Device.h"

#include <tuple>

#include <malloc.h>

#include "tests/platform/gfx/GfxTestSupport.h"
#include "tests/support/ScopedEnv.h"

namespace {

using namespace gfxtest;

class DeviceDrawTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        Dev().SetTextureStageState(0, StageState::ColorOp, TextureOp::SelectArg1);
        Dev().SetTextureStageState(0, StageState::ColorArg1, TextureArg::Diffuse);
    }
};

IndexBuffer* Indices(Device& device, std::initializer_list<uint16_t> indices) {
    IndexBuffer* ib = device.CreateIndexBuffer(uint32_t(indices.size() * 2));
    std::memcpy(ib->Lock(0, 0), std::data(indices), indices.size() * 2);
    device.SetIndices(ib);
    ib->Release();  // the binding keeps it alive
    return ib;
}

// Rows of '#' (white) and '.' (anything else), top first.
std::string Coverage(Device& device, uint32_t width, uint32_t height) {
    const std::vector<uint32_t> pixels = ReadPixels(device, {0, 0, int32_t(width), int32_t(height)});
    std::string out;
    for (uint32_t i = 0; i < pixels.size(); ++i) {
        out += pixels[i] == 0xFFFFFFFFu ? '#' : '.';
        if (i % width == width - 1)
            out += '\n';
    }
    return out;
}

// Edges through pixel centres: a centre on a top or left edge is covered, one on a bottom or
// right edge is not, so a shape with integer edges covers exactly [left, right) x [top,
// bottom), and the clip-space quad at +-1 covers exactly its viewport.
TEST_F(DeviceDrawTest, EdgesOnPixelCentresFollowTheTopLeftRule) {
    // The viewport; the shape's pixel edges within it (empty: the clip-space quad); the scissor
    // box (the test is on when it is not empty); the pixels covered on the screen.
    using Case = std::tuple<Viewport, Rect, Rect, Rect>;
    const Viewport full = {0, 0, kWidth, kHeight, 0.0f, 1.0f};
    const Viewport inner = {8, 4, 32, 20, 0.0f, 1.0f};
    const Case cases[] = {
        {full, {3, 5, 6, 7}, {}, {3, 5, 6, 7}},         {full, {61, 45, 64, 48}, {}, {61, 45, 64, 48}},
        {full, {}, {}, {0, 0, 64, 48}},                {inner, {0, 0, 2, 3}, {}, {8, 4, 10, 7}},
        {inner, {}, {}, {8, 4, 40, 24}},               {full, {10, 10, 30, 30}, {12, 20, 40, 25}, {12, 20, 30, 25}},
        // A scissor box turned inside out, either way, lets nothing through.
        {full, {10, 10, 30, 30}, {20, 10, 10, 30}, {}}, {full, {10, 10, 30, 30}, {10, 20, 30, 10}, {}},
        // One side of the viewport at a time changes from the last one drawn with.
        {full, {}, {}, {0, 0, 64, 48}},                {{0, 0, 32, kHeight, 0.0f, 1.0f}, {}, {}, {0, 0, 32, 48}},
        {{0, 0, 32, 24, 0.0f, 1.0f}, {}, {}, {0, 0, 32, 24}}, {{8, 0, 32, 24, 0.0f, 1.0f}, {}, {}, {8, 0, 40, 24}},
        {{8, 4, 32, 24, 0.0f, 1.0f}, {}, {}, {8, 4, 40, 28}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        const auto& [viewport, shape, scissor, want] = c;
        const bool clipQuad = shape.right == shape.left;
        Dev().SetViewport(full);
        Dev().SetRenderState(RenderState::ScissorTestEnable, 0u);
        Dev().Clear(kClearTarget, 0xFF000000, 1.0f, 0);
        Dev().SetViewport(viewport);
        Dev().SetScissorRect(scissor);
        Dev().SetRenderState(RenderState::ScissorTestEnable, uint32_t(scissor.right != scissor.left));
        if (clipQuad)
            for (TransformType t : {TransformType::World, TransformType::View, TransformType::Projection})
                Dev().SetTransform(t, MatrixIdentity());
        else
            SetPixelSpace(Dev(), viewport.width, viewport.height);
        const Rect e = clipQuad ? Rect{-1, 1, 1, -1} : shape;
        const float l = float(e.left), t = float(e.top), r = float(e.right), b = float(e.bottom), z = 0.5f;
        Mesh mesh(Dev(), {{l, t, z}, {r, t, z}, {l, b, z}, {r, b, z}}, std::vector<uint32_t>(4, ~0u), {});
        mesh.Bind(Dev());
        ASSERT_TRUE(Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));

        std::string expected;
        for (int32_t y = 0; y < int32_t(kHeight); ++y) {
            for (int32_t x = 0; x < int32_t(kWidth); ++x)
                expected += x >= want.left && x < want.right && y >= want.top && y < want.bottom ? '#' : '.';
            expected += '\n';
        }
        EXPECT_EQ(Coverage(Dev(), kWidth, kHeight), expected);
    }
}

TEST_F(DeviceDrawTest, DrawsReadingOutsideTheirBuffersAreRefused) {
    std::vector<Vec3> p = {{0, 0, 0.5f}, {4, 0, 0.5f}, {0, 4, 0.5f}, {4, 4, 0.5f}};
    Mesh mesh(Dev(), p, std::vector<uint32_t>(4, 0xFFFFFFFF), {0, 0, 1, 0, 0, 1, 1, 1});
    mesh.Bind(Dev());
    // Three triangles of a strip need 5 vertices.
    EXPECT_FALSE(Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 0, 3) ||
                 Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 1, 2) ||
                 Dev().DrawPrimitive(PrimitiveType::TriangleList, 0, 0xFFFFFFFFu));
    // An offset into the stream counts too.
    Dev().SetStreamSource(0, mesh.Stream(0), 12, 12);
    EXPECT_FALSE(Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));
    Dev().SetStreamSource(0, mesh.Stream(0), 0, 0);
    EXPECT_FALSE(Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));
    Dev().SetStreamSource(0, mesh.Stream(0), 0, 12);

    Indices(Dev(), {0, 1, 2, 2, 1, 9});  // 9: no such vertex
    EXPECT_TRUE(Dev().DrawIndexedPrimitive(PrimitiveType::TriangleList, 0, 0, 4, 0, 1));
    // The second triangle, past the indices, or a base vertex moving past the vertices.
    EXPECT_FALSE(Dev().DrawIndexedPrimitive(PrimitiveType::TriangleList, 0, 0, 4, 0, 2) ||
                 Dev().DrawIndexedPrimitive(PrimitiveType::TriangleList, 0, 0, 4, 3, 2) ||
                 Dev().DrawIndexedPrimitive(PrimitiveType::TriangleList, 2, 0, 4, 0, 1));
    Indices(Dev(), {0, 1, 2, 3, 2, 1});  // a draw reads from its start index on: the lower right half
    Dev().Clear(kClearTarget, 0xFF000000, 1.0f, 0);
    EXPECT_TRUE(Dev().DrawIndexedPrimitive(PrimitiveType::TriangleList, 0, 0, 4, 3, 1));
    EXPECT_EQ(Coverage(Dev(), 4, 4), "....\n...#\n..##\n.###\n");
    Dev().SetIndices(nullptr);
    EXPECT_FALSE(Dev().DrawIndexedPrimitive(PrimitiveType::TriangleList, 0, 0, 4, 0, 1));

    // Each type counts its vertices: 4 serve two lines, one triangle, or two of a strip or fan.
    for (auto [type, fits] : {std::pair{PrimitiveType::LineList, 2u}, {PrimitiveType::TriangleList, 1u},
                              {PrimitiveType::TriangleStrip, 2u}, {PrimitiveType::TriangleFan, 2u}}) {
        EXPECT_EQ(std::pair(Dev().DrawPrimitive(type, 0, fits), Dev().DrawPrimitive(type, 0, fits + 1)),
                  std::pair(true, false)) << int(type);
    }
    EXPECT_TRUE(Dev().DrawPrimitive(PrimitiveType::TriangleList, 9, 0));  // nothing to draw
}

TEST_F(DeviceDrawTest, DeclarationsTheStreamsCannotServeAreRefused) {
    Mesh mesh(Dev(), {{0, 0, 0.5f}, {4, 0, 0.5f}, {0, 4, 0.5f}, {4, 4, 0.5f}}, std::vector<uint32_t>(4, 0xFFFFFFFF),
              {0, 0, 1, 0, 0, 1, 1, 1});
    // An element whose type its use cannot take.
    const std::pair<DeclUsage, DeclType> misfits[] = {
        {DeclUsage::Position, DeclType::Color}, {DeclUsage::Normal, DeclType::Float2},
        {DeclUsage::Color, DeclType::Float3}, {DeclUsage::TexCoord, DeclType::Color}};
    for (auto [usage, type] : misfits) {
        const VertexElement elements[] = {{0, 0, DeclType::Float3, DeclUsage::Position, 0}, {0, 0, type, usage, 0}};
        VertexDeclaration* declaration = Dev().CreateVertexDeclaration(elements + (usage == DeclUsage::Position), 1 + (usage != DeclUsage::Position));
        ASSERT_NE(declaration, nullptr);
        Dev().SetVertexDeclaration(declaration);
        declaration->Release();
        EXPECT_FALSE(Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2)) << int(usage);
    }
    // Each vertex format set lets the last one's declaration go: 10,000 of them leave the heap
    // within 100 kB.
    const size_t heldBefore = mallinfo2().uordblks;
    for (uint32_t i = 0; i < 10000; ++i)
        Dev().SetFVF(kFvfXyz | (i & kFvfTex1));
    EXPECT_LT(mallinfo2().uordblks, heldBefore + 100000);
    mesh.Bind(Dev());
    Dev().SetFVF(0);  // no positions: no declaration
    EXPECT_FALSE(Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));
    // Positions of two coordinates lie at depth 0; a reset lets the declaration go with the streams.
    const Mesh flat(Dev(), {}, {}, {1, 1, 3, 1, 1, 3, 3, 3});
    const VertexElement xy = {0, 0, DeclType::Float2, DeclUsage::Position, 0};
    VertexDeclaration* declaration = Dev().CreateVertexDeclaration(&xy, 1);
    Dev().SetVertexDeclaration(declaration);
    declaration->Release();
    Dev().SetStreamSource(0, flat.Stream(3), 0, 8);
    Dev().Clear(kClearTarget, 0xFF000000, 1.0f, 0);
    ASSERT_TRUE(Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));
    EXPECT_EQ(Coverage(Dev(), 4, 4), "....\n.##.\n.##.\n....\n");
    const VertexElement late = {0, 4, DeclType::Float2, DeclUsage::Position, 0};  // ends past the buffer
    Dev().SetVertexDeclaration(declaration = Dev().CreateVertexDeclaration(&late, 1));
    declaration->Release();
    EXPECT_FALSE(Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));
    ASSERT_EQ(Dev().Reset({kWidth, kHeight}), Result::Ok);
    Dev().SetStreamSource(0, flat.Stream(3), 0, 8);
    EXPECT_FALSE(Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));

    // Lock ranges outside a buffer give nothing.
    EXPECT_TRUE(!mesh.Stream(0)->Lock(40, 12) && !mesh.Stream(0)->Lock(48, 0) && !mesh.Stream(0)->Lock(49, 1) &&
                mesh.Stream(0)->Lock(36, 12));
    for (const VertexElement& bad : {VertexElement{kMaxStreams, 0, DeclType::Float3, DeclUsage::Position, 0},
                                     VertexElement{0, 0, DeclType(3), DeclUsage::Position, 0},
                                     VertexElement{0, 0, DeclType::Float2, DeclUsage(4), 0},
                                     VertexElement{0, 0, DeclType::Float2, DeclUsage::TexCoord, kMaxStages}})
        EXPECT_EQ(Dev().CreateVertexDeclaration(&bad, 1), nullptr);
    EXPECT_TRUE(!Dev().CreateVertexBuffer(0, 0) && !Dev().CreateIndexBuffer(1) &&
                !Dev().CreateVertexDeclaration(nullptr, 1));
}

// Creation is refused, with a reason, without a window or with a side of 0.
TEST_F(DeviceTest, CreationNeedsAWindowAndTwoSides) {
    const char* const zero = "the back buffer size is 0";
    std::string error;
    for (auto [window, width, height, reason] :
         {std::tuple{false, 64u, 48u, "no window to draw into"}, {true, 64u, 0u, zero}, {true, 0u, 48u, zero}}) {
        SDL_Window* on = window ? m_window->Get() : nullptr;
        EXPECT_EQ(Device::Create(on, PresentParams{width, height}, error), nullptr);
        EXPECT_EQ(error, reason) << width << "x" << height;
    }
    EXPECT_FALSE(Device::IsDisplayModeAvailable(m_window->Get(), kWidth, 0));  // both sides must match
    EXPECT_TRUE(Device::IsDisplayModeAvailable(m_window->Get(), 0, 0));
}

// The offscreen driver lists one mode, of 0 x 0: full screen is never granted, and a reset that
// asks for it fails and leaves the device waiting for another reset.
TEST_F(DeviceTest, ResetsAnswerTheCooperativeLevel) {
    std::string error;
    PresentParams params = {kWidth, kHeight, true, true};
    m_device.reset();
    m_device = Device::Create(m_window->Get(), params, error);
    ASSERT_NE(m_device, nullptr) << error;
    Device& d = Dev();
    EXPECT_FALSE(d.Granted().fullscreen);
    // Presents wait for the vertical sync.
    EXPECT_EQ(std::tuple(d.Granted().multisample, d.GetCaps().pixelShader20, SDL_GL_GetSwapInterval()),
              std::tuple(d.GetCaps().maxSamples >= 2, true, 1));

    auto reset = [&](const PresentParams& p) {
        const Result result = d.Reset(p);
        return std::pair(result, d.TestCooperativeLevel());
    };
    EXPECT_EQ(reset(params), std::pair(Result::Failed, Result::DeviceNotReset));
    // A back buffer that cannot be made leaves none to read.
    EXPECT_EQ(reset({0, 0, false, false}), std::pair(Result::Failed, Result::DeviceNotReset));
    EXPECT_TRUE(ReadPixels(d, {0, 0, 1, 1}).empty());
    params = {32, 24, false, false};
    EXPECT_EQ(reset(params), std::pair(Result::Ok, Result::Ok));
    d.Clear(kClearTarget, 0xFF00FF00, 1.0f, 0);
    EXPECT_EQ(ReadPixels(d, {0, 0, int32_t(kWidth), int32_t(kHeight)}), std::vector<uint32_t>(32 * 24, 0xFF00FF00));

    d.ForceCooperativeLevel(Result::DeviceLost);
    EXPECT_EQ(reset(params), std::pair(Result::DeviceLost, Result::DeviceLost));
    d.ForceCooperativeLevel(Result::Ok);
}

// Back buffers the window serves itself and ones drawn off screen (another size, or
// multisampling the window lacks or has): clears and read-back agree, Present shows the
// picture upright over the whole window, and drawing goes on after it. The offscreen
// driver's window keeps its pixels across the swap.
uint32_t WindowPixel(int x, int y) { return WindowValue(x, y, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV) | 0xFF000000u; }

TEST(DeviceBuffers, OnAndOffTheWindowClearReadPresentAndDrawAlike) {
    const uint32_t red = 0xFFFF0000, blue = 0xFF0000FF, green = 0xFF00FF00;
    // The window's samples, the back buffer's size, and whether it is multisampled; each with
    // GL taking the clip origin at the upper left and without (the picture is drawn upside down).
    const std::tuple<int, uint32_t, uint32_t, bool> cases[] = {
        {0, 64, 48, false}, {0, 32, 24, false}, {0, 64, 48, true}, {4, 64, 48, true}, {4, 32, 24, false}};
    for (bool clipControl : {true, false})
        for (auto [windowSamples, width, height, multisample] : cases) {
            SCOPED_TRACE(testing::Message() << windowSamples << " samples, " << width << " x " << height
                                            << (multisample ? " multisampled" : "") << (clipControl ? "" : " upside down"));
            // The driver that reads these (the offscreen one) then offers GL 3.3 without clip control.
            ScopedEnv env;
            if (!clipControl)
                env.Set("MESA_EXTENSION_OVERRIDE", "-GL_ARB_clip_control").Set("MESA_GL_VERSION_OVERRIDE", "3.3COMPAT");
            TestWindow window(64, 48, windowSamples);
            ASSERT_NE(window.Get(), nullptr) << SDL_GetError();
            std::string error;
            std::unique_ptr<Device> device = Device::Create(window.Get(), {width, height, false, multisample}, error);
            ASSERT_NE(device, nullptr) << error;
            Device& d = *device;
            const int32_t w = int32_t(width), h = int32_t(height);
            d.Clear(kClearTarget | kClearZBuffer, 0x000000FF, 1.0f, 0);  // blue, read back opaque
            d.SetViewport({0, 0, width, height / 2, 0.0f, 1.0f});
            d.Clear(kClearTarget, red, 1.0f, 0);
            EXPECT_EQ(std::pair(ReadPixel(d, 0, 0), ReadPixel(d, w - 1, h - 1)), std::pair(red, blue));
            // Rows top first, clipped to the buffer.
            Image image;
            ASSERT_TRUE(d.ReadBackBuffer({-5, h / 2 - 1, 1, h / 2 + 1}, image));
            EXPECT_EQ(std::pair(image.format, image.pixels), std::pair(Format::X8R8G8B8, std::vector<uint32_t>{red, blue}));
            EXPECT_FALSE(d.ReadBackBuffer({w, 0, w + 1, 1}, image));

            // The corners too: scaling blends no row or column of the far side in.
            auto shown = [&](int corner, uint32_t topLeft) {
                d.Present();
                const std::vector<uint32_t> shownCorners = {WindowPixel(corner, corner), WindowPixel(63, 0),
                                                            WindowPixel(0, 47), WindowPixel(63, 47)};
                EXPECT_EQ(shownCorners, (std::vector{topLeft, red, blue, blue}));
            };
            shown(0, red);

            d.SetRenderState(RenderState::Lighting, 0u);
            d.SetRenderState(RenderState::CullMode, Cull::None);
            d.SetTextureStageState(0, StageState::TexCoordIndex, kTexCoordSphereMap);  // left on for Present
            d.SetViewport({0, 0, width, height, 0.0f, 1.0f});
            SetPixelSpace(d, width, height);
            const Mesh quad(d, {{0, 0, 0.5f}, {4, 0, 0.5f}, {0, 4, 0.5f}, {4, 4, 0.5f}},
                            std::vector<uint32_t>(4, green), {});
            quad.Bind(d);
            ASSERT_TRUE(d.DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));
            shown(2, green);  // inside the quad
            // The texture a Present through a quad of its own draws from.
            const GLint presentCopy = GlInt(GL_TEXTURE_BINDING_2D);
            // Present may draw with states and a texture of its own: the next draw sends the device's again.
            d.Clear(kClearTarget, blue, 1.0f, 0);
            ASSERT_TRUE(d.DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));
            EXPECT_EQ(std::pair(ReadPixel(d, 1, 1), glIsEnabled(GL_DEPTH_TEST)), std::pair(green, GLboolean(GL_TRUE)));
            // Draws go where they should: multisampled exactly when asked for (the driver grants it).
            EXPECT_EQ(std::pair(GlInt(GL_SAMPLES) > 0, d.Granted().multisample), std::pair(multisample, multisample));
            // A one-pixel corner survives the resolve and Present's copy: no blit is off by a row or
            // column, nor cut by the scissor box the corner's clear leaves in GL.
            d.Clear(kClearTarget, red, 1.0f, 0);
            d.SetViewport({0, height - 1, 1, 1, 0.0f, 1.0f});
            d.Clear(kClearTarget, green, 1.0f, 0);
            d.SetViewport({width + 4, 0, 8, 8, 0.0f, 1.0f});  // off the buffer's side: clears nothing
            d.Clear(kClearTarget, blue, 1.0f, 0);
            d.Present();
            EXPECT_EQ(std::pair(WindowPixel(0, 47), WindowPixel(2, 2)), std::pair(green, red));
            EXPECT_EQ(std::pair(ReadPixel(d, 0, h - 1), ReadPixel(d, 1, h - 1)), std::pair(green, red));
            // A reset lets that copy go.
            ASSERT_EQ(d.Reset({width, height, false, multisample}), Result::Ok);
            EXPECT_EQ(d.Granted().multisample, multisample);  // the driver multisamples
            EXPECT_TRUE(windowSamples == 0 || multisample || !glIsTexture(GLuint(presentCopy)));
            // Back at the window's own size, drawing goes straight into the window.
            ASSERT_EQ(d.Reset({64, 48, false, false}), Result::Ok);
            d.Clear(kClearTarget, red, 1.0f, 0);
            EXPECT_EQ(std::pair(ReadPixel(d, 63, 47), WindowPixel(63, 47)), std::pair(red, red));
        }
}

}  // namespace
