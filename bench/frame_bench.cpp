// One representative frame, through the engine and in raw OpenGL, at 800 x 600 on the
// offscreen video driver: a perspective layer of three lit, textured box models (2,700
// triangles), then a screen layer of 50 alpha-blended sprites and a text of about 500 glyphs.
// Every frame ends with a present and a glFinish, so the times are whole frames. The raw
// frame draws the same geometry with the same states straight into a window (multisampled
// for the multisampled case); each run reports both times and the engine's ratio to raw, the
// calling thread's CPU time for each, the process's CPU time per engine frame and its ratio,
// and the fragments an engine frame shades per window pixel (where GL counts them:
// GL_ARB_pipeline_statistics_query). A still scene lets the engine skip the frames that would
// draw what the window shows; otherwise every frame is drawn.
//
//   SDL_VIDEODRIVER=offscreen build/bench/frame_bench [--benchmark_repetitions=5]
#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <array>
#include <chrono>
#include <ctime>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/AGRadixManager.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/PcDirectory.h"
#include "engine/graphics/AGFont.h"
#include "engine/graphics/AGGraphicLayer.h"
#include "engine/graphics/AGGraphicsProviders.h"
#include "engine/graphics/AGModelProviders.h"
#include "engine/graphics/PCCam.h"
#include "engine/graphics/PCContextManager.h"
#include "engine/graphics/PCGraphicDevice.h"
#include "engine/graphics/PCLight.h"
#include "engine/graphics/PCModel.h"
#include "engine/graphics/PCRenderer.h"
#include "engine/graphics/PCSprite.h"
#include "engine/graphics/PCText.h"
#include "platform/gfx/GfxMath.h"
#include "platform/gfx/GlHeaders.h"
#include "tests/support/FragmentQuery.h"
#include "tests/support/ResourceEnvironment.h"
#include "tools/authoring/DrawingWriters.h"
#include "tools/authoring/FontBaker.h"
#include "tools/authoring/ModelWriter.h"
#include "tools/authoring/PackageWriter.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr uint32_t kModels = 3, kBoxesPerModel = 75;  // 12 triangles a box: 2,700 in all
constexpr uint32_t kSprites = 50, kSpriteSize = 64;
constexpr uint32_t kGlyphCell = 16, kFontTexture = 256;
constexpr float kFovY = 0.9f, kNear = 1.0f, kFar = 100.0f;
const std::array<float, 3> kEye = {0, 4, -18}, kTarget = {0, 0, 0};

// Box b of model m: a 5 x 5 x 3 block of unit boxes, the models side by side.
std::array<float, 3> BoxCentre(uint32_t m, uint32_t b) {
    return {float(m) * 6.0f - 6.0f + float(b % 5) - 2.0f, float(b / 5 % 5) - 2.0f, float(b / 25) - 1.0f};
}

authoring::VertexBufferData ModelVertices(uint32_t m) {
    authoring::VertexBufferData data;
    for (uint32_t b = 0; b < kBoxesPerModel; ++b)
        authoring::AppendBox(data, BoxCentre(m, b), 0.4f, 0xFFFFFFFFu);
    return data;
}

// A 64 x 64 checker; translucent at the rim when withAlpha.
std::vector<uint32_t> Checker(uint32_t size, bool withAlpha) {
    std::vector<uint32_t> texels(size_t(size) * size);
    for (uint32_t y = 0; y < size; ++y)
        for (uint32_t x = 0; x < size; ++x) {
            uint32_t c = ((x / 8 + y / 8) & 1) ? 0x00E0A040u : 0x004080E0u;
            uint32_t edge = std::min(std::min(x, size - 1 - x), std::min(y, size - 1 - y));
            uint32_t a = withAlpha ? std::min(255u, 64u + edge * 12u) : 255u;
            texels[size_t(y) * size + x] = (a << 24) | c;
        }
    return texels;
}

// White glyph boxes with a soft rim: code c in cell (c % 16, c / 16).
std::vector<uint32_t> FontAtlas() {
    std::vector<uint32_t> texels(size_t(kFontTexture) * kFontTexture, 0x00FFFFFFu);
    for (uint32_t c = 0; c < 256; ++c)
        for (uint32_t y = 1; y < kGlyphCell - 1; ++y)
            for (uint32_t x = 1; x < 10; ++x) {
                uint32_t a = ((x + y + c) % 3) ? 255u : 96u;
                texels[size_t((c / 16) * kGlyphCell + y) * kFontTexture + (c % 16) * kGlyphCell + x] =
                    (a << 24) | 0xFFFFFFu;
            }
    return texels;
}

std::string Words() {
    std::string text;
    while (text.size() < 560)
        text += "tallyvox ";
    return text;
}

void Fail(benchmark::State& state, const std::string& why) {
    state.SkipWithError(why.c_str());
}

class OffscreenVideo {
public:
    OffscreenVideo() {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        ok = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    }
    ~OffscreenVideo() {
        if (ok)
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    bool ok = false;
};

// ---- The engine's frame ---------------------------------------------------------------

class EngineScene {
public:
    bool Start(bool multisample, bool empty, std::string& error) {
        // The buffers the game's window asks for (platform/window).
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
        SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, multisample ? 1 : 0);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, multisample ? 4 : 0);
        m_window = SDL_CreateWindow("frame bench", 0, 0, kWidth, kHeight, SDL_WINDOW_OPENGL);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 0);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, 0);
        if (!m_window) {
            error = SDL_GetError();
            return false;
        }
        PCContextManager::SetInstance(&m_context);
        PCGraphicDevice::SetInstance(&m_device);
        AGRadixManager::SetInstance(&m_radix);
        m_radix.Reserve(0, 256);
        const u32 flags = multisample ? PCGraphicDevice::kModeMultisample : 0;
        if (!m_device.Initialize(m_window, kWidth, kHeight, flags)) {
            error = m_device.GetFailureReason();
            return false;
        }
        if (multisample && !(m_device.GetModeFlags() & PCGraphicDevice::kModeMultisample)) {
            error = "multisampling refused";
            return false;
        }
        if (empty)
            return true;
        m_env = std::make_unique<ResourceEnvironment>(false);
        RegisterGraphicsProviders(m_env->Resources());
        RegisterModelProviders(m_env->Resources());
        if (!MountPackage(error))
            return false;
        return Populate(error);
    }

    void Frame(bool still) {
        m_device.UpdateLayers();
        if (!still)
            m_device.InvalidateFrame();  // the same picture every frame: each is drawn all the same
        m_device.RenderFrame();
    }

    ~EngineScene() {
        for (AGGraphicLayer* layer : {&m_world, &m_screen})
            m_device.RemoveLayer(layer);
        for (PCModel* model : m_models)
            Provider(TypeKey::Model)->ReleaseInstance(model);
        for (PCSprite* sprite : m_sprites)
            Provider(TypeKey::Sprite)->ReleaseInstance(sprite);
        if (m_light)
            Provider(TypeKey::Light)->Release(m_light);
        m_text.reset();
        if (m_font)
            Provider(TypeKey::Font)->Release(m_font);
        if (m_package)
            m_package->Unmount();
        m_package.reset();
        m_env.reset();
        m_device.Shutdown();
        AGRadixManager::SetInstance(nullptr);
        PCGraphicDevice::SetInstance(nullptr);
        PCContextManager::SetInstance(nullptr);
        if (m_window)
            SDL_DestroyWindow(m_window);
        if (!m_folder.empty())
            std::filesystem::remove_all(m_folder);
    }

private:
    AGBaseProvider* Provider(u32 typeKey) const { return m_env->Provider(typeKey); }

    bool MountPackage(std::string& error) {
        using namespace authoring;
        PackageWriter writer;
        MaterialData boxMaterial;
        boxMaterial.slots = {"box.slot"};
        TextureSlotData boxSlot;
        boxSlot.textures = {"box.png"};
        writer.Add("box.png", TypeKey::Texture, PngBytes(Checker(64, false), 64, 64))
            .Add("box.slot", TypeKey::TextureSlot, TextureSlotBytes(boxSlot))
            .Add("box.mat", TypeKey::Material, MaterialBytes(boxMaterial));
        for (uint32_t m = 0; m < kModels; ++m) {
            const std::string n = "model" + std::to_string(m);
            ModelData model;
            model.vertexBufferId = NameId(n + ".vb");
            model.meshIds = {NameId(n + ".mesh")};
            model.materialIds = {NameId("box.mat")};
            writer.Add(n + ".vb", TypeKey::VertexBuffer, VertexBufferBytes(ModelVertices(m)))
                .Add(n + ".mesh", TypeKey::Mesh, MeshBytes(BoxMesh(kBoxesPerModel)))
                .Add(n + ".mdl", TypeKey::Model, ModelBytes(model));
        }
        LightData light;
        light.kind = 2;
        light.direction[0] = 0.4f;
        light.direction[1] = -0.6f;
        light.direction[2] = 0.7f;
        writer.Add("sun.lit", TypeKey::Light, LightBytes(light));

        MaterialData spriteMaterial;
        spriteMaterial.slots = {"sprite.slot"};
        TextureSlotData spriteSlot;
        spriteSlot.textures = {"sprite.png"};
        writer.Add("sprite.png", TypeKey::Texture, PngBytes(Checker(kSpriteSize, true), kSpriteSize, kSpriteSize))
            .Add("sprite.slot", TypeKey::TextureSlot, TextureSlotBytes(spriteSlot))
            .Add("sprite.mat", TypeKey::Material, MaterialBytes(spriteMaterial))
            .Add("sprite.spt", TypeKey::Sprite, SpriteBytes(2, kSpriteSize, kSpriteSize, "sprite.mat"));

        FontData font;
        font.header[0] = 14;
        font.lineHeight = 16;
        font.textureWidth = font.textureHeight = kFontTexture;
        font.material = "font.mat";
        for (uint32_t c = 0; c < 256; ++c)
            font.glyphs.push_back({c, (c % 16) * kGlyphCell, (c / 16) * kGlyphCell, 11, kGlyphCell, 0, 0, 0});
        MaterialData fontMaterial;
        fontMaterial.slots = {"font.slot"};
        TextureSlotData fontSlot;
        fontSlot.textures = {"font.png"};
        writer.Add("font.png", TypeKey::Texture, PngBytes(FontAtlas(), kFontTexture, kFontTexture))
            .Add("font.slot", TypeKey::TextureSlot, TextureSlotBytes(fontSlot))
            .Add("font.mat", TypeKey::Material, MaterialBytes(fontMaterial))
            .Add("font.fon", TypeKey::Font, FontBytes(font));

        char pattern[] = "/tmp/frame_bench.XXXXXX";
        if (!mkdtemp(pattern)) {
            error = "no temporary folder";
            return false;
        }
        m_folder = pattern;
        const std::string path = m_folder + "/Package.dir";
        if (!writer.WriteFolder(path)) {
            error = "cannot write the package";
            return false;
        }
        m_package = std::make_unique<PcDirectory>();
        m_package->Mount(path.c_str(), false);
        return true;
    }

    template <typename T>
    T* Load(u32 typeKey, const std::string& name, bool instance) {
        const u32 id = authoring::NameId(name);
        return static_cast<T*>(instance ? CreateResourceInstance(Provider(typeKey), id, 0, false)
                                        : GetOrLoadResource(Provider(typeKey), id, 0, false, true));
    }

    bool Populate(std::string& error) {
        m_worldCamera.SetProjectionKind(PCCam::kPerspective);
        m_worldCamera.SetPerspective(kFovY, float(kWidth) / float(kHeight), kNear, kFar);
        m_worldCamera.SetLookAt({kEye[0], kEye[1], kEye[2]}, {kTarget[0], kTarget[1], kTarget[2]}, {0, 1, 0});
        AGGraphicLayer::SetupScreenCamera(&m_screenCamera);
        u32 order = 0;
        for (auto [layer, camera] : {std::pair{&m_world, &m_worldCamera}, {&m_screen, &m_screenCamera}}) {
            layer->SetCamera(camera);
            layer->SetSize(kWidth, kHeight);
            layer->SetEnabled(true);
            layer->SetGroup(&m_renderer);
            layer->SetOrderKey(order++);
            m_device.AddLayer(layer);
        }
        m_light = Load<PCLight>(TypeKey::Light, "sun.lit", false);
        if (!m_light) {
            error = "no light";
            return false;
        }
        for (uint32_t m = 0; m < kModels; ++m) {
            PCModel* model = Load<PCModel>(TypeKey::Model, "model" + std::to_string(m) + ".mdl", true);
            if (!model) {
                error = "no model";
                return false;
            }
            model->SetLight(m_light);
            Show(m_world, *model, float(m));
            m_models.push_back(model);
        }
        for (uint32_t s = 0; s < kSprites; ++s) {
            PCSprite* sprite = Load<PCSprite>(TypeKey::Sprite, "sprite.spt", true);
            if (!sprite) {
                error = "no sprite";
                return false;
            }
            sprite->SetPosition({float(20 + (s % 10) * 74), float(40 + (s / 10) * 100)});
            Show(m_screen, *sprite, float(s));
            m_sprites.push_back(sprite);
        }
        m_font = Load<AGFont>(TypeKey::Font, "font.fon", false);
        if (!m_font) {
            error = "no font";
            return false;
        }
        m_text = std::make_unique<PCText>();
        m_text->SetFont(m_font);
        m_text->SetBox(0, 0, 760, 560);
        m_text->SetPosition({20, 20});
        m_text->SetColor(0xFFFFFFFFu);
        m_text->Layout(Words().c_str());
        glyphs = m_text->PlacedGlyphCount();
        Show(m_screen, *m_text, float(kSprites));
        return true;
    }

    static void Show(AGGraphicLayer& layer, AGRenderable& r, float sortKey) {
        r.SetFlags(AGRenderable::kActive | AGRenderable::kShown);
        r.m_sortKey = sortKey;
        layer.AddRenderable(&r);
    }

public:
    uint32_t glyphs = 0;

private:
    SDL_Window* m_window = nullptr;
    PCContextManager m_context;
    PCGraphicDevice m_device;
    AGRadixManager m_radix;
    std::unique_ptr<ResourceEnvironment> m_env;
    std::string m_folder;
    std::unique_ptr<PcDirectory> m_package;
    PCCam m_worldCamera, m_screenCamera;
    PCRenderer m_renderer;
    AGGraphicLayer m_world, m_screen;
    PCLight* m_light = nullptr;
    std::vector<PCModel*> m_models;
    std::vector<PCSprite*> m_sprites;
    AGFont* m_font = nullptr;
    std::unique_ptr<PCText> m_text;
};

// ---- The same frame in raw OpenGL ---------------------------------------------------------

class RawScene {
public:
    bool Start(bool multisample, bool empty, std::string& error) {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, 0);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
        SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, multisample ? 1 : 0);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, multisample ? 4 : 0);
        m_window = SDL_CreateWindow("raw frame", 0, 0, kWidth, kHeight, SDL_WINDOW_OPENGL);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 0);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, 0);
        if (!m_window) {
            error = SDL_GetError();
            return false;
        }
        m_context = SDL_GL_CreateContext(m_window);
        if (!m_context) {
            error = SDL_GetError();
            return false;
        }
        SDL_GL_SetSwapInterval(0);
        int samples = 0;
        SDL_GL_GetAttribute(SDL_GL_MULTISAMPLESAMPLES, &samples);
        if (multisample && samples < 2) {
            error = "no multisampled window";
            return false;
        }
        m_empty = empty;
        if (!empty)
            Build();
        return true;
    }
    ~RawScene() {
        if (m_context) {
            GLuint names[] = {m_boxTexture, m_spriteTexture, m_fontTexture};
            glDeleteTextures(3, names);
            SDL_GL_DeleteContext(m_context);
        }
        if (m_window)
            SDL_DestroyWindow(m_window);
    }

    void Frame() {
        glViewport(0, 0, kWidth, kHeight);
        glDepthMask(GL_TRUE);
        glClearColor(0, 0, 0, 0);
        glClearDepth(1.0);
        glClearStencil(0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        if (!m_empty) {
            DrawModels();
            DrawScreen();
        }
        SDL_GL_SwapWindow(m_window);
    }

private:
    static GLuint Texture(const std::vector<uint32_t>& texels, uint32_t size) {
        GLuint name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, GLsizei(size), GLsizei(size), 0, GL_BGRA,
                     GL_UNSIGNED_INT_8_8_8_8_REV, texels.data());
        return name;
    }

    void Build() {
        for (uint32_t m = 0; m < kModels; ++m) {
            m_models.push_back(ModelVertices(m));
            m_modelIndices.push_back(authoring::BoxMesh(kBoxesPerModel).triangles);
        }
        m_boxTexture = Texture(Checker(64, false), 64);
        m_spriteTexture = Texture(Checker(kSpriteSize, true), kSpriteSize);
        m_fontTexture = Texture(FontAtlas(), kFontTexture);
        // The text: glyph quads laid out line by line as the engine lays the words out.
        const std::string words = Words();
        float x = 20, y = 20;
        for (char c : words) {
            if (c == ' ') {
                x += 11;
                continue;
            }
            if (x + 11 > 780) {
                x = 20;
                y += 16;
            }
            const float u = float((uint8_t(c) % 16) * kGlyphCell) / kFontTexture;
            const float v = float((uint8_t(c) / 16) * kGlyphCell) / kFontTexture;
            const float du = 11.0f / kFontTexture, dv = float(kGlyphCell) / kFontTexture;
            const uint16_t base = uint16_t(m_glyphs.size() / 4);
            for (auto [cx, cy] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}})
                m_glyphs.push_back({x + cx * 11.0f, y + cy * 16.0f, u + cx * du, v + cy * dv});
            for (uint16_t i : {0, 1, 2, 2, 1, 3})
                m_glyphIndices.push_back(uint16_t(base + i));
            x += 11;
        }
    }

    void DrawModels() {
        using namespace platform::gfx;
        const Matrix view = MatrixLookAtLH({kEye[0], kEye[1], kEye[2]}, {kTarget[0], kTarget[1], kTarget[2]}, {0, 1, 0});
        const Matrix fix = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 2, 0, 0, 0, -1, 1}};
        const Matrix projection =
            MatrixMultiply(MatrixPerspectiveFovLH(kFovY, float(kWidth) / float(kHeight), kNear, kFar), fix);
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(projection.m);
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixf(view.m);
        const float direction[4] = {-0.4f, 0.6f, -0.7f, 0.0f};
        const float white[4] = {1, 1, 1, 1}, ambient[4] = {0.2f, 0.2f, 0.2f, 1};
        glLightfv(GL_LIGHT0, GL_POSITION, direction);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        glEnable(GL_COLOR_MATERIAL);
        glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_CULL_FACE);
        glFrontFace(GL_CW);  // left-handed view: outward faces run clockwise in GL's window
        glDisable(GL_BLEND);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, m_boxTexture);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        for (size_t m = 0; m < m_models.size(); ++m) {
            const auto& vb = m_models[m];
            glVertexPointer(3, GL_FLOAT, 0, vb.positions.data());
            glNormalPointer(GL_FLOAT, 0, vb.normals.data());
            glColorPointer(GL_BGRA, GL_UNSIGNED_BYTE, 0, vb.colors.data());
            glTexCoordPointer(2, GL_FLOAT, 0, vb.texCoords.data());
            glDrawElements(GL_TRIANGLES, GLsizei(m_modelIndices[m].size()), GL_UNSIGNED_SHORT,
                           m_modelIndices[m].data());
        }
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_COLOR_ARRAY);
        glDisable(GL_COLOR_MATERIAL);
        glDisable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
    }

    void DrawScreen() {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, kWidth, kHeight, 0, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glColor4f(1, 1, 1, 1);
        glBindTexture(GL_TEXTURE_2D, m_spriteTexture);
        const float s = float(kSpriteSize);
        for (uint32_t i = 0; i < kSprites; ++i) {
            const float x = float(20 + (i % 10) * 74), y = float(40 + (i / 10) * 100);
            const float quad[4][4] = {{x, y, 0, 0}, {x + s, y, 1, 0}, {x, y + s, 0, 1}, {x + s, y + s, 1, 1}};
            glVertexPointer(2, GL_FLOAT, 16, &quad[0][0]);
            glTexCoordPointer(2, GL_FLOAT, 16, &quad[0][2]);
            glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        }
        glBindTexture(GL_TEXTURE_2D, m_fontTexture);
        glVertexPointer(2, GL_FLOAT, 16, &m_glyphs[0][0]);
        glTexCoordPointer(2, GL_FLOAT, 16, &m_glyphs[0][2]);
        glDrawElements(GL_TRIANGLES, GLsizei(m_glyphIndices.size()), GL_UNSIGNED_SHORT, m_glyphIndices.data());
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
    }

    SDL_Window* m_window = nullptr;
    SDL_GLContext m_context = nullptr;
    bool m_empty = false;
    std::vector<authoring::VertexBufferData> m_models;
    std::vector<std::vector<uint16_t>> m_modelIndices;
    GLuint m_boxTexture = 0, m_spriteTexture = 0, m_fontTexture = 0;
    std::vector<std::array<float, 4>> m_glyphs;
    std::vector<uint16_t> m_glyphIndices;

public:
    void MakeCurrent() { SDL_GL_MakeCurrent(m_window, m_context); }
};

// Arguments: multisampling (0 or 1), empty frame (0 or 1), still scene (0 or 1). Each iteration draws one raw and
// one engine frame, each in its own window and context, so that both meet the same load on a
// shared machine; the time reported is the engine's.
void BM_Frame(benchmark::State& state) {
    const bool multisample = state.range(0) != 0, empty = state.range(1) != 0, still = state.range(2) != 0;
    OffscreenVideo video;
    std::string error;
    EngineScene engine;
    if (!video.ok || !engine.Start(multisample, empty, error))
        return Fail(state, error.empty() ? "no video" : error);
    SDL_Window* engineWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext engineContext = SDL_GL_GetCurrentContext();
    RawScene raw;
    if (!raw.Start(multisample, empty, error))
        return Fail(state, error);
    // Wall time, and CPU time of the calling thread (the driver's serial work: state
    // validation, vertex processing, binning) and of the whole process (rasteriser threads
    // too), which a busy machine disturbs less than wall time.
    struct Times {
        double wall = 0, thread = 0, process = 0;
    };
    auto cpuMs = [](clockid_t clock) {
        timespec t{};
        clock_gettime(clock, &t);
        return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
    };
    auto timed = [&](auto&& frame, Times& sum) {
        const auto start = std::chrono::steady_clock::now();
        const double thread = cpuMs(CLOCK_THREAD_CPUTIME_ID), process = cpuMs(CLOCK_PROCESS_CPUTIME_ID);
        frame();
        glFinish();
        const double wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        sum.wall += wall;
        sum.thread += cpuMs(CLOCK_THREAD_CPUTIME_ID) - thread;
        sum.process += cpuMs(CLOCK_PROCESS_CPUTIME_ID) - process;
        return wall;
    };
    for (int i = 0; i < 5; ++i) {  // warm caches and the driver's compiled states
        raw.MakeCurrent();
        raw.Frame();
        SDL_GL_MakeCurrent(engineWindow, engineContext);
        engine.Frame(still);
    }
    const double fragments = FragmentsOf([&] { engine.Frame(false); });
    engine.Frame(still);
    Times rawSum, engineSum;
    for (auto _ : state) {
        raw.MakeCurrent();
        timed([&] { raw.Frame(); }, rawSum);
        SDL_GL_MakeCurrent(engineWindow, engineContext);
        state.SetIterationTime(timed([&] { engine.Frame(still); }, engineSum) / 1000.0);
    }
    const double frames = double(std::max<benchmark::IterationCount>(state.iterations(), 1));
    auto ratio = [](double engineMs, double rawMs) { return rawMs > 0 ? engineMs / rawMs : 0.0; };
    state.counters["engine_ms"] = engineSum.wall / frames;
    state.counters["raw_ms"] = rawSum.wall / frames;
    state.counters["ratio_to_raw"] = ratio(engineSum.wall, rawSum.wall);
    state.counters["engine_thread_ms"] = engineSum.thread / frames;
    state.counters["raw_thread_ms"] = rawSum.thread / frames;
    state.counters["cpu_ratio"] = ratio(engineSum.process, rawSum.process);
    state.counters["engine_process_ms"] = engineSum.process / frames;
    state.counters["fragments_per_pixel"] = fragments < 0 ? -1 : fragments / (kWidth * kHeight);
    if (!empty)
        state.counters["glyphs"] = engine.glyphs;
}

}  // namespace

BENCHMARK(BM_Frame)
    ->ArgNames({"msaa", "empty", "still"})
    ->Args({0, 0, 0})
    ->Args({1, 0, 0})
    ->Args({0, 1, 0})
    ->Args({1, 1, 0})
    ->Args({0, 0, 1})
    ->Args({1, 0, 1})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
