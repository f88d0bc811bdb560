#include "engine/graphics/PCRenderer.h"

#include <cmath>

#include "engine/graphics/PCLight.h"
#include "engine/graphics/PCMaterial.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/engine/graphics/GraphicsTestBytes.h"

using namespace platform::gfx;

namespace {

constexpr u32 kBackground = 0xFF204060u;
constexpr u32 kTexel = 0x80F08040u;   // half transparent
constexpr u32 kVertex = 0xFF80C0FFu;  // opaque

u32 Rgb(f32 r, f32 g, f32 b) {
    return 0xFF000000u | (u32(std::lround(r)) << 16) | (u32(std::lround(g)) << 8) | u32(std::lround(b));
}

class RendererTest : public drawtest::DrawingFixture {
protected:
    void SetUp() override {
        DrawingFixture::SetUp();
        authoring::PackageWriter writer;
        drawtest::AddMaterial(writer, "half", {"half.png"});
        writer.Add("half.png", TypeKey::Texture, drawtest::SolidPng(16, 16, kTexel))
            .Add("square.spt", TypeKey::Sprite, authoring::SpriteBytes(2, 1, 1, "half.mat"))
            .Add("back.spt", TypeKey::Sprite, authoring::SpriteBytes(0, kWidth, kHeight, ""));
        Mount(writer);
    }
    // A copy of the textured 16 x 16 square at (x, 10) with the vertex colour, drawn with
    // the render type in the order of its sort key.
    PCSprite* Square(f32 x, u32 renderType, u32 color, f32 sortKey) {
        auto* s = m_package->Instance<PCSprite>(TypeKey::Sprite, "square.spt");
        m_sprites.push_back(s);
        s->SetPosition({x, 10});
        s->SetColor(color);
        s->m_attribute.m_renderTypes[0] = renderType;
        Show(*s, sortKey);
        return s;
    }
};

}  // namespace

TEST_F(RendererTest, RenderTypesGiveTheirColoursAndTypesFourAndFiveKeepThePreviousStates) {
    PCSprite* back = Get<PCSprite>(TypeKey::Sprite, "back.spt");
    m_sprites.push_back(back);
    back->SetColor(kBackground);
    Show(*back, 0);
    const f32 a = 128.0f / 255.0f;
    const f32 t[3] = {0xF0, 0x80, 0x40}, c[3] = {0x80, 0xC0, 0xFF}, bg[3] = {0x20, 0x40, 0x60};
    f32 tc[3];
    for (int i = 0; i < 3; ++i)
        tc[i] = t[i] * c[i] / 255.0f;
    struct Case { f32 x; u32 type; u32 color; u32 expected; } cases[] = {
        {0, AGRenderAttribute::kOnlyColor, kVertex, Rgb(c[0], c[1], c[2])},
        {20, AGRenderAttribute::kDiffuse, kVertex, Rgb(tc[0], tc[1], tc[2])},
        {40, AGRenderAttribute::kDiffuseAlpha, kVertex,
         Rgb(tc[0] * a + bg[0] * (1 - a), tc[1] * a + bg[1] * (1 - a), tc[2] * a + bg[2] * (1 - a))},
        {140, AGRenderAttribute::kOnlyColor, kVertex & 0x80FFFFFFu, Rgb(c[0], c[1], c[2])},  // blending off again
        {60, AGRenderAttribute::kAdditive, kVertex, Rgb(tc[0] * a + bg[0], tc[1] * a + bg[1], tc[2] * a + bg[2])},
        // After the additive square: still added, in the vertex colour alone.
        {80, AGRenderAttribute::kSimpleChrome, 0x80FF0000u, Rgb(255 * a + bg[0], bg[1], bg[2])},
        {100, AGRenderAttribute::kDiffuse, kVertex, Rgb(tc[0], tc[1], tc[2])},
        // After the opaque square: written as it is, alpha ignored.
        {120, AGRenderAttribute::kMoreChrome, 0x80FF0000u, 0xFFFF0000u}};
    f32 key = 1;
    for (const Case& k : cases)
        Square(k.x, k.type, k.color, key++);
    PCSprite* undeclared = Square(160, AGRenderAttribute::kOnlyColor, 0xFF00FF00u, key++);
    undeclared->m_attribute.m_declarations[0] = nullptr;
    Frame();
    for (const Case& k : cases)
        EXPECT_TRUE(gfxtest::ColorNear(Pixel(int(k.x) + 8, 18), k.expected, 2)) << "type " << k.type << " at " << k.x;
    EXPECT_EQ(std::make_pair(Pixel(168, 18), Dev().GetRenderState(RenderState::CullMode)),
              std::make_pair(kBackground, u32(Cull::CW)));  // sprites cull clockwise faces
}

// Opaque types write depth unless the attribute says otherwise: a strip behind both squares,
// drawn after them, shows only through the one that does not.
TEST_F(RendererTest, OpaqueSquaresHideWhatLiesBehindUnlessTheirAttributeTurnsDepthWritesOff) {
    Square(0, AGRenderAttribute::kDiffuse, kVertex, 1);
    Square(20, AGRenderAttribute::kDiffuse, kVertex, 2)->m_attribute.m_depthWrites[0] = 0;
    drawtest::Log calls;
    drawtest::TestRenderable strip(&calls, "strip");
    strip.Fill(0, 10, 40, 26, -10.0f, 0xFF00FF00u);
    Show(strip, 3);
    Frame();
    EXPECT_TRUE(gfxtest::ColorNear(Pixel(8, 18), Rgb(0xF0 * 0x80 / 255.0f, 0x80 * 0xC0 / 255.0f, 0x40), 2));
    EXPECT_EQ(Pixel(28, 18), 0xFF00FF00u);
    m_layer.RemoveRenderable(&strip);
}

TEST_F(RendererTest, DirectionalLightGivesNDotLTimesDiffuseAndItsAmbient) {
    authoring::LightData l;
    l.kind = AGLight::kDirectional;
    const f32 angle = 60.0f * 0.017453292f;
    l.direction[1] = -std::sin(angle);
    l.direction[2] = -std::cos(angle);  // towards the quad, whose normal faces the camera
    l.diffuse = 0xFFFFFFFFu;
    l.ambient = 0xFF00FF00u;  // fills the green channel
    Loaded<PCLight> light(authoring::LightBytes(l));
    const platform::gfx::ColorValue& ambient = light.DeviceLight().ambient;
    EXPECT_TRUE(ambient.r == 0.0f && ambient.g == 1.0f && ambient.b == 0.0f && ambient.a == 1.0f);
    Loaded<PCMaterial> material(authoring::MaterialBytes({}));

    gfxtest::Mesh mesh(Dev(), {{100, 50, 0}, {100, 150, 0}, {200, 50, 0}, {200, 150, 0}}, {}, {},
                       std::vector<Vec3>(4, Vec3{0, 0, 1}));
    drawtest::Log log;
    drawtest::TestRenderable quad(&log, "quad", AGRenderable::kModel);
    AGRenderAttribute& attribute = quad.m_attribute;
    ASSERT_TRUE(attribute.SetPartCount(1));
    attribute.m_declarations[0] = mesh.Declaration();
    attribute.m_streams[0].entries[0] = {mesh.Stream(0), 0, 0, 12};
    attribute.m_streams[0].entries[1] = {mesh.Stream(1), 1, 0, 12};
    attribute.m_streams[0].count = 2, attribute.m_vertexCounts[0] = 4, attribute.m_primitiveCounts[0] = 2;
    attribute.m_materials[0] = &material, attribute.m_light = &light;
    attribute.m_primitiveKind = AGRenderAttribute::kTriangleStrip, attribute.m_ready = 1;
    Show(quad);
    Frame();
    m_layer.RemoveRenderable(&quad);
    const int expected = int(std::lround(0.5 * 150.0));  // N.L x light diffuse x material grey
    EXPECT_TRUE(gfxtest::ColorNear(Pixel(150, 100), 0xFF00FF00u | u32(expected) * 0x010001u, 3))
        << std::hex << Pixel(150, 100);
    // Nothing to draw: no draw, and the depth test stays on until turned off; a light that is
    // not a device light is not applied.
    PCRenderer renderer;
    Dev().SetRenderState(RenderState::ZEnable, 1u);
    renderer.Draw(4, 0, AGRenderAttribute::kTriangleList);
    const u32 kept = Dev().GetRenderState(RenderState::ZEnable);
    renderer.SetDepthTest(false);
    EXPECT_EQ(std::make_pair(kept, Dev().GetRenderState(RenderState::ZEnable)), std::make_pair(1u, 0u));
    renderer.ApplyLight(nullptr);
}
