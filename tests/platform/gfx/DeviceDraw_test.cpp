// Draw calls: which pixels an edge through their centres covers, and the refusal of draws
// that would read outside their buffers. Creation, full screen, reset and the cooperative
// level.
#include "platform/gfx/Device.h"

#include <tuple>

#include "tests/platform/gfx/GfxTestSupport.h"

namespace {

using namespace gfxtest;

class DeviceDrawTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        Dev().SetTextureStageState(0, StageState::ColorOp, TextureOp::SelectArg1);
        Dev().SetTextureStageState(0, StageState::ColorArg1, TextureArg::Diffuse);
        Dev().Clear(kClearTarget, 0xFF000000, 1.0f, 0);
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
    Image image;
    if (!device.ReadBackBuffer({0, 0, int32_t(width), int32_t(height)}, image))
        return "no read-back";
    std::string out;
    for (uint32_t i = 0; i < image.pixels.size(); ++i) {
        out += image.pixels[i] == 0xFFFFFFFFu ? '#' : '.';
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
        // One side of the viewport at a time changes from the last one drawn with.
        {full, {}, {}, {0, 0, 64, 48}},                {{0, 0, 32, kHeight, 0.0f, 1.0f}, {}, {}, {0, 0, 32, 48}},
        {{0, 0, 32, 24, 0.0f, 1.0f}, {}, {}, {0, 0, 32, 24}}, {{8, 0, 32, 24, 0.0f, 1.0f}, {}, {}, {8, 0, 40, 24}},
        {{8, 4, 32, 24, 0.0f, 1.0f}, {}, {}, {8, 4, 40, 28}},
    };
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
    mesh.Bind(Dev());
    Dev().SetFVF(0);  // no positions: no declaration
    EXPECT_FALSE(Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));

    // Lock ranges outside a buffer give nothing.
    EXPECT_TRUE(!mesh.Stream(0)->Lock(40, 12) && !mesh.Stream(0)->Lock(48, 0) && mesh.Stream(0)->Lock(36, 12));
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
    for (auto [window, width, height, reason] :
         {std::tuple{false, 64u, 48u, "no window to draw into"}, {true, 64u, 0u, zero}, {true, 0u, 48u, zero}}) {
        std::string error;
        SDL_Window* on = window ? m_window->Get() : nullptr;
        EXPECT_EQ(Device::Create(on, PresentParams{width, height}, error), nullptr);
        EXPECT_EQ(error, reason) << width << "x" << height;
    }
}

// The offscreen driver lists one mode, of 0 x 0: full screen is never granted, and a reset
// that asks for it fails and leaves the device waiting for another reset.
TEST_F(DeviceTest, FullScreenNeedsAModeOfThatSizeAndResetsAnswerTheCooperativeLevel) {
    EXPECT_FALSE(Device::IsDisplayModeAvailable(m_window->Get(), kWidth, kHeight));
    EXPECT_TRUE(Device::IsDisplayModeAvailable(m_window->Get(), 0, 0));
    PresentParams params = {kWidth, kHeight, true, true};
    m_device.reset();
    std::string error;
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
    Image image;
    EXPECT_EQ(reset({0, 0, false, false}), std::pair(Result::Failed, Result::DeviceNotReset));
    EXPECT_FALSE(d.ReadBackBuffer({0, 0, 1, 1}, image));
    params = {32, 24, false, false};
    EXPECT_EQ(reset(params), std::pair(Result::Ok, Result::Ok));
    d.Clear(kClearTarget, 0xFF00FF00, 1.0f, 0);
    ASSERT_TRUE(d.ReadBackBuffer({0, 0, int32_t(kWidth), int32_t(kHeight)}, image));
    EXPECT_EQ(image.pixels, std::vector<uint32_t>(32 * 24, 0xFF00FF00));

    d.ForceCooperativeLevel(Result::DeviceLost);
    EXPECT_EQ(reset(params), std::pair(Result::DeviceLost, Result::DeviceLost));
    d.ForceCooperativeLevel(Result::Ok);
}

}  // namespace
