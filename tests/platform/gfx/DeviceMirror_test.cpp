// The device sends a state only when it differs from what GL holds (its GL state calls are
// recorded to show it); lights, materials and the defaults a reset restores reach GL, and a
// depth clear keeps the stencil.
#include "platform/gfx/Device.h"

#include <dlfcn.h>

#include "tests/platform/gfx/GfxTestSupport.h"

namespace {

// The names of the GL state calls made while a recording runs, each after a space.
std::string* g_recorded = nullptr;

struct GlCalls {
    std::string names;
    GlCalls() { g_recorded = &names; }
    ~GlCalls() { g_recorded = nullptr; }
    // The names since the last take.
    std::string Take() {
        std::string text = names.empty() ? names : names.substr(1);
        names.clear();
        return text;
    }
};

}  // namespace

// The device's GL state calls pass through here (the test links ahead of the GL library),
// on to the library's own.
#define RECORDED(name, params, args)                                                                 \
    extern "C" void name params {                                                                    \
        if (g_recorded)                                                                              \
            g_recorded->append(" " #name);                                                           \
        static const auto next = reinterpret_cast<void(*) params>(dlsym(RTLD_NEXT, #name));          \
        next args;                                                                                   \
    }
RECORDED(glEnable, (GLenum a), (a)) RECORDED(glDisable, (GLenum a), (a)) RECORDED(glDepthMask, (GLboolean a), (a))
RECORDED(glDepthFunc, (GLenum a), (a)) RECORDED(glBlendFunc, (GLenum a, GLenum b), (a, b))
RECORDED(glAlphaFunc, (GLenum a, GLclampf b), (a, b)) RECORDED(glCullFace, (GLenum a), (a))
RECORDED(glLightModelfv, (GLenum a, const GLfloat* b), (a, b))
RECORDED(glViewport, (GLint a, GLint b, GLsizei c, GLsizei d), (a, b, c, d))
RECORDED(glDepthRange, (GLclampd a, GLclampd b), (a, b))
RECORDED(glScissor, (GLint a, GLint b, GLsizei c, GLsizei d), (a, b, c, d)) RECORDED(glMatrixMode, (GLenum a), (a))
RECORDED(glLoadMatrixf, (const GLfloat* a), (a)) RECORDED(glMultMatrixf, (const GLfloat* a), (a))
RECORDED(glLoadIdentity, (), ()) RECORDED(glLightfv, (GLenum a, GLenum b, const GLfloat* c), (a, b, c))
RECORDED(glLightf, (GLenum a, GLenum b, GLfloat c), (a, b, c))
RECORDED(glMaterialfv, (GLenum a, GLenum b, const GLfloat* c), (a, b, c))
RECORDED(glMaterialf, (GLenum a, GLenum b, GLfloat c), (a, b, c)) RECORDED(glBindTexture, (GLenum a, GLuint b), (a, b))
RECORDED(glDeleteTextures, (GLsizei a, const GLuint* b), (a, b))
RECORDED(glTexParameteri, (GLenum a, GLenum b, GLint c), (a, b, c))
RECORDED(glTexSubImage2D, (GLenum a, GLint b, GLint c, GLint d, GLsizei e, GLsizei f, GLenum g, GLenum h, const void* i),
         (a, b, c, d, e, f, g, h, i))
RECORDED(glActiveTexture, (GLenum a), (a)) RECORDED(glClientActiveTexture, (GLenum a), (a))
RECORDED(glTexEnvi, (GLenum a, GLenum b, GLint c), (a, b, c))
RECORDED(glTexGeni, (GLenum a, GLenum b, GLint c), (a, b, c))
RECORDED(glNormal3f, (GLfloat a, GLfloat b, GLfloat c), (a, b, c))
RECORDED(glColor4f, (GLfloat a, GLfloat b, GLfloat c, GLfloat d), (a, b, c, d))
RECORDED(glMultiTexCoord4f, (GLenum a, GLfloat b, GLfloat c, GLfloat d, GLfloat e), (a, b, c, d, e))
RECORDED(glEnableClientState, (GLenum a), (a)) RECORDED(glDisableClientState, (GLenum a), (a))
RECORDED(glBindFramebuffer, (GLenum a, GLuint b), (a, b))
#undef RECORDED

namespace {

using namespace gfxtest;

using DeviceMirrorTest = DeviceTest;

// What GL holds for light 0 after a draw: on, position, spot direction, spot cutoff and
// exponent, the three attenuations, diffuse, specular and ambient. Then the material's diffuse,
// ambient, emission, specular and shininess, and the scene ambient.
std::vector<float> GlLighting() {
    std::vector<float> v = {float(glIsEnabled(GL_LIGHT0))};
    float f[4];
    // Of light 0 or of the front material: the value and its size.
    const std::tuple<GLenum, GLenum, int> values[] = {
        {GL_LIGHT0, GL_POSITION, 4},  {GL_LIGHT0, GL_SPOT_DIRECTION, 3},         {GL_LIGHT0, GL_SPOT_CUTOFF, 1},
        {GL_LIGHT0, GL_SPOT_EXPONENT, 1}, {GL_LIGHT0, GL_CONSTANT_ATTENUATION, 1}, {GL_LIGHT0, GL_LINEAR_ATTENUATION, 1},
        {GL_LIGHT0, GL_QUADRATIC_ATTENUATION, 1}, {GL_LIGHT0, GL_DIFFUSE, 4},    {GL_LIGHT0, GL_SPECULAR, 4},
        {GL_LIGHT0, GL_AMBIENT, 4},   {GL_FRONT, GL_DIFFUSE, 4},  {GL_FRONT, GL_AMBIENT, 4}, {GL_FRONT, GL_EMISSION, 4},
        {GL_FRONT, GL_SPECULAR, 4},   {GL_FRONT, GL_SHININESS, 1}};
    for (auto [of, which, n] : values) {
        (of == GL_LIGHT0 ? glGetLightfv : glGetMaterialfv)(of, which, f);
        v.insert(v.end(), f, f + n);
    }
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, f);
    v.insert(v.end(), f, f + 4);
    return v;
}

// A light of the type and colour, every other field 0 but the direction when given.
Light PlainLight(LightType type, ColorValue diffuse, Vec3 direction = {}) {
    return {type, diffuse, {}, {}, {}, direction, 0, 0, 0, 0, 0, 0, 0};
}

void ExpectFloats(const std::vector<float>& actual, const std::vector<float>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-4f) << "value " << i;
}

// Every state in play at once, drawn once: each draw points both units at their coordinates
// (client memory), switching the client unit twice.
class MirrorDrawTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        Device& d = Dev();
        for (uint32_t size : {2u, 1u, 1u})  // the last one drawn with later
            textures.push_back(d.CreateTexture(size, 1, 0, Format::A8R8G8B8));
        SetAll();
        d.SetTransform(TransformType::Texture0, shift);
        mesh = std::make_unique<Mesh>(d, p, std::vector<uint32_t>(4, 0xFFFFFFFF),
                                      std::vector<float>{0, 0, 1, 0, 0, 1, 1, 1}, std::vector<Vec3>(4, {0, 0, -1}));
        mesh->Bind(d);
        ASSERT_TRUE(d.DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));
        calls = std::make_unique<GlCalls>();
    }
    void TearDown() override {
        calls.reset();
        for (Texture* t : textures)
            if (t)
                t->Release();  // the device lets its bindings go itself
        DeviceTest::TearDown();
    }
    void SetAll() {
        Device& d = Dev();
        for (uint32_t stage = 0; stage < 2; ++stage) {
            d.SetTexture(stage, textures[stage]);
            d.SetTextureStageState(stage, StageState::ColorOp, TextureOp::Modulate);
            d.SetTextureStageState(stage, StageState::ColorArg2, TextureArg::Current);
            d.SetSamplerState(stage, SamplerState::MinFilter, TextureFilter::Linear);
            d.SetTextureStageState(stage, StageState::TexCoordIndex, 0u);
        }
        d.SetTextureStageState(0, StageState::TextureTransformFlags, TextureTransform::Count2);
        const std::pair<RenderState, uint32_t> states[] = {
            {RenderState::AlphaBlendEnable, 1u}, {RenderState::SrcBlend, uint32_t(Blend::SrcAlpha)},
            {RenderState::AlphaTestEnable, 1u},  {RenderState::AlphaFunc, uint32_t(Cmp::Greater)},
            {RenderState::Ambient, 0xFF101010u}, {RenderState::ScissorTestEnable, 1u}, {RenderState::Lighting, 1u},
            {RenderState::ZEnable, 0u}};
        for (auto [state, value] : states)
            d.SetRenderState(state, value);
        d.SetViewport(viewport);
        d.SetScissorRect(scissor);
        d.SetLight(0, PlainLight(LightType::Directional, {1, 1, 1, 1}, {0, 0, 1}));
        d.LightEnable(0, true);
        d.SetMaterial({{1, 0, 0, 1}, {}, {}, {}, 0});
        SetPixelSpace(d, viewport.width, viewport.height);
    }
    // The calls a draw makes.
    std::string Draw() {
        EXPECT_TRUE(Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));
        return calls->Take();
    }

    std::vector<Texture*> textures;
    const Viewport viewport = {4, 4, 40, 30, 0.0f, 1.0f};
    const Rect scissor = {2, 2, 50, 40};
    Matrix shift = {{1, 0, 0, 0, 0, 1, 0, 0, 0.25f, 0, 1, 0, 0, 0, 0, 1}};
    const std::vector<Vec3> p = {{0, 0, 0.5f}, {8, 0, 0.5f}, {0, 8, 0.5f}, {8, 8, 0.5f}};
    std::unique_ptr<Mesh> mesh;
    std::unique_ptr<GlCalls> calls;
    const std::string pointers = "glClientActiveTexture glClientActiveTexture";
};

// A draw like the last one sends none of the states again, nor do states set again to the values
// GL holds; a change sends that state alone.
TEST_F(MirrorDrawTest, ADrawSendsOnlyWhatGlDoesNotHold) {
    Device& d = Dev();
    EXPECT_EQ(Draw(), pointers);
    // Render states (the first and another) and a stage state changed, then set back, send nothing.
    d.SetRenderState(RenderState::ZEnable, 1u);
    d.SetRenderState(RenderState::AlphaFunc, Cmp::Less);
    d.SetTextureStageState(0, StageState::ColorOp, TextureOp::Add);
    SetAll();
    mesh->Bind(d);
    EXPECT_EQ(Draw(), pointers);
    d.SetRenderState(RenderState::AlphaBlendEnable, 0u);
    d.SetViewport({6, 4, 40, 30, 0.0f, 1.0f});
    EXPECT_EQ(Draw(), "glDisable glViewport glDepthRange " + pointers);
}

// Uploads, attributes and matrices: only what changed is sent.
TEST_F(MirrorDrawTest, UploadsAndAttributesSendOnlyWhatChanged) {
    Device& d = Dev();
    for (Texture* t : textures) {
        LockedRect locked;
        ASSERT_TRUE(t->LockRect(locked, t == textures[0]));
        t->UnlockRect();
    }
    // Only a writing lock uploads, binding on the active unit (the last one the flush
    // disabled), which no stage uses.
    EXPECT_EQ(Draw(), "glBindTexture glTexSubImage2D " + pointers);
    // A new texture's first upload sets every sampler state; only the stage's own then follow.
    d.SetTexture(1, textures[2]);
    EXPECT_EQ(Draw(), "glBindTexture glTexParameteri glTexParameteri glTexParameteri glTexParameteri "
                      "glTexParameteri glBindTexture glActiveTexture glBindTexture glTexParameteri " + pointers);
    // A draw of positions alone sets the other attributes' constants and turns their arrays
    // off; the colour, standing in for the material's diffuse, sends the material again.
    Mesh bare(d, p, {}, {});
    bare.Bind(d);
    EXPECT_EQ(Draw(), "glNormal3f glColor4f glMultiTexCoord4f glMultiTexCoord4f glDisableClientState "
                      "glDisableClientState glClientActiveTexture glDisableClientState "
                      "glClientActiveTexture glDisableClientState glDisable glMaterialfv glMaterialfv "
                      "glMaterialfv glMaterialfv glMaterialf");
    // A read binds the buffer drawn into again itself: the next draws need not (they turn the
    // scissor test it left off back on). GL is switched to the modelview matrix (from the
    // texture one) once for two moves of the world.
    ASSERT_FALSE(ReadPixels(d, {0, 0, 1, 1}).empty());
    calls->Take();
    for (float x : {1.0f, 2.0f}) {
        shift.m[12] = x;
        d.SetTransform(TransformType::World, shift);
        ASSERT_TRUE(d.DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));
    }
    EXPECT_EQ(calls->Take(), "glEnable glMatrixMode glLoadMatrixf glMultMatrixf glLoadMatrixf glMultMatrixf");
    // Colours drawn unlit, then a draw without them, leave the material GL holds standing.
    for (const Mesh* drawn : {mesh.get(), &bare}) {
        d.SetRenderState(RenderState::Lighting, uint32_t(drawn == &bare));
        drawn->Bind(d);
        Draw();
    }
    // Nor does a texture no stage holds, deleted at a Present (which binds the back buffer itself).
    textures[1]->Release();
    textures[1] = nullptr;
    d.Present();
    d.SetMaterial({{1, 0, 0, 1}, {}, {}, {}, 0});
    EXPECT_EQ(Draw(), "glDeleteTextures glBindFramebuffer");
}

// A stencil clear is cut by the scissor rectangle; depth clears keep the stencil.
TEST_F(DeviceMirrorTest, DepthClearsKeepTheStencil) {
    Device& d = Dev();
    auto stencilAt = [](int x, int y) { return int(WindowValue(x, y, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE)); };
    d.Clear(kClearTarget | kClearZBuffer | kClearStencil, 0xFF000000, 1.0f, 7);
    d.SetRenderState(RenderState::ScissorTestEnable, 1u);
    d.SetScissorRect({4, 4, 8, 8});
    d.Clear(kClearStencil, 0, 1.0f, 3);
    d.SetRenderState(RenderState::ScissorTestEnable, 0u);
    d.Clear(kClearZBuffer, 0, 0.25f, 0);
    const std::vector<int> stencil = {stencilAt(2, 5), stencilAt(5, 2), stencilAt(5, 5), stencilAt(8, 5),
                                      stencilAt(5, 8)};
    EXPECT_EQ(stencil, std::vector<int>({7, 7, 3, 7, 7}));
}

TEST_F(DeviceMirrorTest, AResetRestoresTheDefaults) {
    Device& d = Dev();
    // A reset brings back the full viewport and scissor, the default light (white, along +z,
    // switched off), material (white, sent again even when vertex colours stand in for its
    // diffuse), render states, the modulating first stage and each stage reading the coordinates
    // of its own number; the light answers only to index 0.
    d.SetViewport({0, 0, 8, 8, 0, 1});
    d.SetScissorRect({0, 0, 8, 8});
    d.SetRenderState(RenderState::Ambient, 0xFFFFFFFFu);
    d.LightEnable(0, true);
    d.SetMaterial({{0, 1, 0, 1}, {0, 0, 1, 1}, {}, {}, 0});
    Quad(0, 0, 4, 4, 0, 0.5f, true);
    // Every render, stage and sampler state away from its default.
    for (uint32_t s = 0; s < uint32_t(RenderState::Count); ++s)
        d.SetRenderState(RenderState(s), 0x55u);
    for (uint32_t stage = 0; stage < kMaxStages; ++stage)
        for (uint32_t s = 0; s < uint32_t(StageState::Count); ++s) {
            d.SetTextureStageState(stage, StageState(s), 0x55u);
            d.SetSamplerState(stage, SamplerState(s), 0x55u);  // fewer of these: the rest are ignored
        }
    ASSERT_EQ(d.Reset({kWidth, kHeight}), Result::Ok);
    const uint32_t current = uint32_t(TextureArg::Current), texture = uint32_t(TextureArg::Texture);
    std::vector<uint32_t> readBack, defaults = {1, 1, uint32_t(Cmp::LessEqual), 0, uint32_t(Blend::One),
                                            uint32_t(Blend::Zero), 0, uint32_t(Cmp::Always), 0, uint32_t(Cull::CCW),
                                            1, 0, 1, 0, 0, 0};
    for (uint32_t s = 0; s < uint32_t(RenderState::Count); ++s)
        readBack.push_back(d.GetRenderState(RenderState(s)));
    for (uint32_t stage = 0; stage < kMaxStages; ++stage) {
        // No transform; the samplers wrap and take the nearest texel.
        const uint32_t first = stage == 0;
        defaults.insert(defaults.end(), {first * uint32_t(TextureOp::Modulate), current, texture, current,
                                         first * uint32_t(TextureOp::SelectArg1), current, texture, current, stage,
                                         uint32_t(TextureTransform::Disable), 0, 0, 0, 0});
        for (uint32_t s = 0; s < uint32_t(StageState::Count); ++s)
            readBack.push_back(d.GetTextureStageState(stage, StageState(s)));
        for (uint32_t s = 0; s < uint32_t(SamplerState::Count); ++s)
            readBack.push_back(d.GetSamplerState(stage, SamplerState(s)));
    }
    EXPECT_EQ(readBack, defaults);
    d.SetLight(1, PlainLight(LightType::Directional, {1, 0, 0, 1}));
    d.LightEnable(1, true);
    for (uint32_t argb : {0xFFFFFFFFu, 0u}) {  // the material's own diffuse after the colours'
        Quad(0, 0, 4, 4, argb, 0.5f, true);
        ExpectFloats(GlLighting(), {0, 0, 0, -1, 0, 0, 0, -1, 180, 0, 1, 0, 0, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                    1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0});
    }
    const std::pair<GLenum, GLint> states[] = {
        {GL_DEPTH_TEST, 1},         {GL_DEPTH_WRITEMASK, 1},       {GL_DEPTH_FUNC, GL_LEQUAL},
        {GL_BLEND, 0},              {GL_BLEND_SRC, GL_ONE},        {GL_BLEND_DST, GL_ZERO},
        {GL_ALPHA_TEST, 0},         {GL_ALPHA_TEST_FUNC, GL_ALWAYS}, {GL_CULL_FACE, 1},
        {GL_CULL_FACE_MODE, GL_BACK}, {GL_LIGHTING, 1},            {GL_STENCIL_TEST, 0},
        {GL_SCISSOR_TEST, 0},       {GL_MULTISAMPLE, 0},           {GL_TEXTURE_2D, 1}};
    glActiveTexture(GL_TEXTURE0);
    for (auto [state, value] : states)
        EXPECT_EQ(GlInt(state), value) << std::hex << state;
    GLint boxes[8];
    glGetIntegerv(GL_VIEWPORT, boxes);
    glGetIntegerv(GL_SCISSOR_BOX, boxes + 4);
    EXPECT_EQ(std::vector<GLint>(boxes, boxes + 8), (std::vector<GLint>{0, 0, 64, 48, 0, 0, 64, 48}));
}

TEST_F(DeviceMirrorTest, LightsAndMaterialsReachGl) {
    Device& d = Dev();
    // Each kind of light as GL takes it (a directional light as a direction towards it; a spot's
    // cone from half its outer angle, in degrees, up to 90; its fall-off as an exponent up to 128),
    // with the material (shininess up to 128, no specular) and the ambient render state.
    d.SetRenderState(RenderState::Lighting, 1u);
    d.SetRenderState(RenderState::Ambient, 0x80FF0033u);
    d.SetMaterial({.diffuse = {1, 0, 0, 1}, .ambient = {0, 1, 0, 1}, .specular = {1, 1, 1, 1},
                   .emissive = {0.25f, 0, 0, 1}, .power = 200});
    // The light's colours, the material and the scene ambient.
    const std::vector<float> colours = {1,    0.5f, 0.25f, 1, 0.1f, 0.2f, 0.3f, 0.4f, 0, 0.5f, 0, 1,
                                        1,    0,    0,     1, 0,    1,    0,    1,    0.25f, 0, 0, 1,
                                        0,    0,    0,     1, 128,  1,    0,    0.2f, 128 / 255.0f};
    // The light's type, phi and fall-off, whether it is on, and what GL holds: on, position,
    // direction, cutoff, exponent, attenuations.
    const std::tuple<LightType, float, float, bool, std::vector<float>> cases[] = {
        {LightType::Spot, 1, 200, true, {1, 3, 4, 5, 1, 0, 0.6f, 0.8f, 28.64789f, 128, 2, 0.5f, 0.25f}},
        {LightType::Spot, 4, -1, true, {1, 3, 4, 5, 1, 0, 0.6f, 0.8f, 90, 0, 2, 0.5f, 0.25f}},
        {LightType::Point, 1, 1, false, {0, 3, 4, 5, 1, 0, 0.6f, 0.8f, 180, 0, 2, 0.5f, 0.25f}},
        {LightType::Directional, 1, 1, true, {1, 0, -0.6f, -0.8f, 0, 0, 0.6f, 0.8f, 180, 0, 1, 0, 0}}};
    for (auto [type, phi, falloff, on, held] : cases) {
        SCOPED_TRACE(int(type));
        d.SetLight(0, {.type = type, .diffuse = {1, 0.5f, 0.25f, 1}, .specular = {0.1f, 0.2f, 0.3f, 0.4f},
                       .ambient = {0, 0.5f, 0, 1}, .position = {3, 4, 5}, .direction = {0, 0.6f, 0.8f},
                       .range = 0, .falloff = falloff, .attenuation0 = 2, .attenuation1 = 0.5f, .attenuation2 = 0.25f,
                       .theta = 0, .phi = phi});
        d.LightEnable(0, on);
        Quad(0, 0, 4, 4, 0, 0.5f, true);
        held.insert(held.end(), colours.begin(), colours.end());
        ExpectFloats(GlLighting(), held);
    }
}

}  // namespace
