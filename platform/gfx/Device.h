#pragma once
// The graphics device on OpenGL (2.1 compatibility profile, fixed function, framebuffer
// objects). It keeps the model of a fixed-function device of the Windows era: states are
// shadowed here and sent to GL only when a draw needs them. Conventions of that model kept
// here: clip z in [0, 1], pixel centres on integer coordinates, top-left viewport and
// scissor, culling by winding on screen, vertex colours as B, G, R, A bytes, textures as u32
// ARGB in memory, a stage without a texture reading opaque white, and the edge rule (a pixel
// whose centre lies on an edge is covered when that edge is a top or left one).
//
// The projection flips y, so that GL rasterises as if its rows ran down the screen: GL's edge
// rule then falls on the same sides as that model's. Where GL offers an upper-left clip origin
// (GL_ARB_clip_control), that origin turns the picture back upright in GL's bottom-up rows,
// and the back buffer is the window's own when the window can stand for it (the window's
// size, 8-bit colour without alpha, 24-bit depth and 8-bit stencil, and samples when
// multisampling is granted; a multisampled window without multisampling is drawn with it
// turned off); otherwise it is a framebuffer object the device owns (multisampled when
// granted) in the same orientation, which Present resolves into the window in one blit (or,
// into a multisampled window, draws as one textured quad).
// A multisampled back buffer is resolved into a single-sample copy for reading. Viewport,
// scissor, clears and read-back count rows from the top either way; copies onto textures
// (whose row 0 is v = 0) and, without the clip origin, the copy to the window flip the rows.
//
// Every call that touches GL (the frame, states, draws, read-back, Reset, destruction) must be
// made on the thread that created the device. Resource creation and locks may be made on any
// thread; the caller serialises them with the frame.
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/GfxTypes.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/Resources.h"

struct SDL_Window;

namespace platform::gfx {

class Device {
public:
    // Creates a GL context for the window (which must have been created for OpenGL) and the
    // back buffer. Full screen is granted only when the window's display has a mode of
    // exactly that size; multisampling only when GL offers it. Null, with the reason in
    // error, when no suitable context can be made.
    static std::unique_ptr<Device> Create(SDL_Window* window, const PresentParams& wanted,
                                          std::string& error);
    // True when the window's display lists a mode of width x height.
    static bool IsDisplayModeAvailable(SDL_Window* window, uint32_t width, uint32_t height);
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    const PresentParams& Granted() const { return m_params; }
    Caps GetCaps() const;
    // Neither hidden nor minimised.
    bool IsWindowVisible() const;

    // Ok while the device can draw. A test hook forces the other answers: DeviceLost lasts
    // until forced again; DeviceNotReset lasts until a Reset succeeds.
    Result TestCooperativeLevel() const { return m_cooperativeLevel; }
    void ForceCooperativeLevel(Result level) { m_cooperativeLevel = level; }
    // Rebuilds the back buffer for new parameters and returns every state to its default
    // (bindings included). Resources keep their contents. Fails while the device is lost,
    // when full screen is asked at a size the display lacks, or when the back buffer cannot
    // be made (the device then waits for another Reset).
    Result Reset(const PresentParams& wanted);

    // Clears the viewport, intersected with the scissor rectangle when the scissor test is on.
    void Clear(uint32_t flags, uint32_t argb, float z, uint32_t stencil);
    void BeginScene() {}
    void EndScene() {}
    // Shows the back buffer in the window (resolving and scaling an offscreen one). What the
    // back buffer holds afterwards is what the window keeps across a swap (the offscreen
    // driver keeps it all); a frame starts with a clear.
    void Present();

    void SetRenderState(RenderState state, uint32_t value);
    template <typename E>
    void SetRenderState(RenderState state, E value) {
        SetRenderState(state, uint32_t(value));
    }
    uint32_t GetRenderState(RenderState state) const { return m_renderStates[uint32_t(state)]; }
    void SetTextureStageState(uint32_t stage, StageState state, uint32_t value);
    template <typename E>
    void SetTextureStageState(uint32_t stage, StageState state, E value) {
        SetTextureStageState(stage, state, uint32_t(value));
    }
    uint32_t GetTextureStageState(uint32_t stage, StageState state) const;
    void SetSamplerState(uint32_t sampler, SamplerState state, uint32_t value);
    template <typename E>
    void SetSamplerState(uint32_t sampler, SamplerState state, E value) {
        SetSamplerState(sampler, state, uint32_t(value));
    }
    uint32_t GetSamplerState(uint32_t sampler, SamplerState state) const;
    void SetTexture(uint32_t stage, Texture* texture);
    Texture* GetTexture(uint32_t stage) const { return stage < kMaxStages ? m_stages[stage].texture : nullptr; }

    void SetTransform(TransformType type, const Matrix& matrix);
    const Matrix& GetTransform(TransformType type) const;
    void SetViewport(const Viewport& viewport);
    const Viewport& GetViewport() const { return m_viewport; }
    void SetScissorRect(const Rect& rect);
    const Rect& GetScissorRect() const { return m_scissor; }
    // Only light 0 exists.
    void SetLight(uint32_t index, const Light& light);
    void LightEnable(uint32_t index, bool enable);
    void SetMaterial(const Material& material);

    // Null for an element list naming a stream beyond the last one or an unserved type.
    VertexDeclaration* CreateVertexDeclaration(const VertexElement* elements, uint32_t count);
    void SetVertexDeclaration(VertexDeclaration* declaration);
    // Position (and one coordinate set) in stream 0, in place of a declaration.
    void SetFVF(uint32_t fvf);
    // Null for a size of 0 or when memory runs out. Contents start zeroed.
    VertexBuffer* CreateVertexBuffer(uint32_t bytes, uint32_t usage);
    IndexBuffer* CreateIndexBuffer(uint32_t bytes);
    void SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t offset, uint32_t stride);
    void SetIndices(IndexBuffer* indices);
    // Draws nothing (returns false) when a needed stream, index or vertex lies outside its
    // buffer, or when no position is declared.
    bool DrawPrimitive(PrimitiveType type, uint32_t startVertex, uint32_t primitiveCount);
    bool DrawIndexedPrimitive(PrimitiveType type, int32_t baseVertex, uint32_t minIndex,
                              uint32_t numVertices, uint32_t startIndex, uint32_t primitiveCount);

    // Texels start zeroed. Null for a size of 0 or above kMaxImageSize, or an unknown format.
    Texture* CreateTexture(uint32_t width, uint32_t height, uint32_t usage, Format format);
    // The image's format and size; null with the reason in error for a bad file.
    Texture* CreateTextureFromPng(const void* bytes, size_t size, uint32_t usage, std::string& error);

    // The back buffer's pixels in rect (clipped to it), u32 ARGB, top row first.
    bool ReadBackBuffer(const Rect& rect, Image& out);
    // Copies the whole back buffer onto a render-target texture, scaled to its size.
    bool StretchBackBufferTo(Texture* target, bool linear);

    // Frame digest. From BeginDigest to EndDigest nothing reaches GL: each clear, draw and copy
    // folds into a digest everything it would draw with (every shadowed state, the vertex and
    // index bytes it reads, the textures it samples by identity and version), and EndDigest puts
    // every state set meanwhile back as BeginDigest found it. Passes of one digest from one
    // starting state draw the same picture. Reading the back buffer fails meanwhile.
    void BeginDigest();
    uint64_t EndDigest();
    bool IsDigesting() const { return m_digest != nullptr; }

private:
    struct Stage {
        uint32_t states[uint32_t(StageState::Count)];
        uint32_t sampler[uint32_t(SamplerState::Count)];
        Texture* texture = nullptr;
        bool dirty = true;
        bool textureMatrixDirty = true;
        Matrix textureMatrix;
        // What GL's unit holds: the states its combiner was last set from, and its texture.
        uint32_t glStates[uint32_t(StageState::Count)];
        bool glStatesKnown = false;
        uint32_t glTexture = kUnknown;
    };
    struct Stream {
        VertexBuffer* buffer = nullptr;
        uint32_t offset = 0;
        uint32_t stride = 0;
    };
    // Bound arrays of one draw: where each attribute comes from.
    struct ArraySource {
        const uint8_t* base = nullptr;  // first vertex of the draw's vertex 0
        uint32_t stride = 0;
        DeclType type = DeclType::Float3;
        bool present = false;
    };

    Device() = default;
    // The window's back buffer when it can stand for the one asked (see above), else a
    // framebuffer object.
    bool CreateBackBuffer(const PresentParams& params);
    bool WindowServes(const PresentParams& params) const;
    bool CreateResolveBuffer(int32_t width, int32_t height);
    // Shows an offscreen back buffer in a multisampled window, which no blit may write:
    // copied onto a texture, drawn as one quad over the window.
    void PresentThroughQuad(int drawableWidth, int drawableHeight);
    // GL's first row of a span of rows counted from the top of the back buffer.
    int32_t GlRow(int64_t top, int64_t height) const {
        return int32_t(m_upright ? int64_t(m_params.height) - top - height : top);
    }
    void DestroyBackBuffer();
    // Binds the resolved single-sample back buffer for reading (resolving first).
    void BindResolvedForRead();
    void ResetStates();
    // GL was changed behind the shadowed states (or may have been): every state is compared
    // and sent again at the next draw.
    void ForgetGlState();
    // A render state was set in GL directly; the next draw sends the shadowed value again.
    void RenderStateChangedInGl(RenderState state);
    void SetActiveUnit(uint32_t unit);
    void SetClientUnit(uint32_t unit);
    void SetMatrixMode(uint32_t mode);
    void CollectGarbage();
    // Points a binding at a resource, holding a reference while it is bound.
    template <typename T>
    static void Rebind(T*& slot, T* resource) {
        if (slot == resource)
            return;
        if (resource)
            resource->AddRef();
        if (slot)
            slot->Release();
        slot = resource;
    }

    // A digest pass: the running digest and the shadowed states it began from, holding a
    // reference to every resource bound then.
    struct DigestPass {
        uint64_t digest = 0;
        uint32_t renderStates[uint32_t(RenderState::Count)];
        uint32_t renderStatesDirty;
        Stage stages[kMaxStages];
        Matrix world, view, projection;
        bool projectionDirty, modelviewDirty;
        Viewport viewport;
        Rect scissor;
        bool viewportDirty, scissorDirty;
        Light light;
        bool lightEnabled, lightDirty;
        Material material;
        bool materialDirty;
        VertexDeclaration* declaration;
        Stream streams[kMaxStreams];
        IndexBuffer* indices;
    };
    void Digest(const void* bytes, size_t size);
    template <typename T>
    void DigestValue(const T& value) {
        Digest(&value, sizeof value);
    }
    // Folds a draw of vertices [first, first + count) after baseVertex, with its indices.
    void DigestDraw(PrimitiveType type, int64_t baseVertex, uint32_t first, uint32_t count,
                    const uint16_t* indices, uint64_t indexCount);

    // Applies every shadowed state a draw depends on.
    void Flush();
    void FlushRenderStates();
    void FlushViewport();
    void FlushTransformsAndLight();
    void FlushStages();
    // After the arrays: the vertex colours may stand in for the material diffuse.
    void FlushMaterial();
    void UploadTexture(Texture& texture);
    // A texture was bound to GL's active unit outside the stage flush.
    void BoundOnActiveUnit(uint32_t name);
    // The texture is bound to the unit.
    void ApplySampler(Texture& texture, const Stage& stage, uint32_t unit);
    // Sets up vertex arrays for vertices [first, first + count) of the bound streams;
    // false when they do not all lie inside their buffers.
    bool BindArrays(int64_t baseVertex, uint32_t first, uint32_t count);

    SDL_Window* m_window = nullptr;
    void* m_context = nullptr;
    PresentParams m_params;
    Result m_cooperativeLevel = Result::Ok;
    std::shared_ptr<GlGarbage> m_garbage;
    int32_t m_maxSamples = 0;

    // Back buffer: the framebuffer drawn into (0: the window's), valid while m_hasBackBuffer;
    // when offscreen, its renderbuffers (multisampled when granted) and a single-sample
    // resolve of a multisampled one.
    bool m_hasBackBuffer = false;
    bool m_windowFormatFits = false;  // the window's buffers match the back buffer's formats
    bool m_upright = false;           // the clip origin is GL's upper left (see above)
    int32_t m_windowSamples = 0;
    uint32_t m_presentTexture = 0;  // PresentThroughQuad's copy
    uint32_t m_target = 0;
    uint32_t m_fbo = 0, m_colorRb = 0, m_depthRb = 0;
    uint32_t m_resolveFbo = 0, m_resolveRb = 0;
    uint32_t m_copyFbo = 0;
    uint32_t m_whiteTexture = 0;

    uint32_t m_renderStates[uint32_t(RenderState::Count)];
    uint32_t m_renderStatesDirty = 0;
    Stage m_stages[kMaxStages];
    uint32_t m_unitsEnabled = ~0u;  // texture units enabled in GL; ~0 when unknown
    Matrix m_world, m_view, m_projection;
    bool m_projectionDirty = true, m_modelviewDirty = true;
    Viewport m_viewport;
    Rect m_scissor;
    bool m_viewportDirty = true, m_scissorDirty = true;
    Light m_light;
    bool m_lightEnabled = false;
    bool m_lightDirty = true;
    Material m_material;
    bool m_materialDirty = true;
    int m_colorMaterialApplied = -1;  // GL_COLOR_MATERIAL as last set; -1 when unknown

    // A mirror of what GL holds, so that a draw sends only the states that differ from it
    // (drivers revalidate, and software ones rebuild, on many a state call even when its value
    // is the one they have). Each part is valid only while its known flag is set.
    static constexpr uint32_t kUnknown = ~0u;
    bool m_glTargetBound = false;  // m_target is GL's draw framebuffer
    uint32_t m_glRenderStates[uint32_t(RenderState::Count)] = {};
    uint32_t m_glRenderStatesKnown = 0;
    Viewport m_glViewport{};
    bool m_glViewportKnown = false;
    int32_t m_glScissor[4] = {};
    bool m_glScissorKnown = false;
    Matrix m_glProjection{}, m_glView{}, m_glWorld{};
    bool m_glProjectionKnown = false, m_glModelviewKnown = false;
    Light m_glLight{};
    Matrix m_glLightView{};  // the view the light's position and direction were given under
    bool m_glLightKnown = false;
    int m_glLightEnabled = -1;
    Material m_glMaterial{};
    bool m_glMaterialKnown = false;
    uint32_t m_glCurrentKnown = 0;  // array bits whose constant (normal, white, coordinates) GL holds
    uint32_t m_glActiveUnit = kUnknown, m_glClientUnit = kUnknown, m_glMatrixMode = kUnknown;
    // The stencil's value over the whole back buffer: draws never write the stencil, so a
    // depth clear may clear the stencil to that value too, which drivers do much faster than
    // a depth clear that keeps the stencil of a combined buffer.
    bool m_stencilKnown = false;
    uint32_t m_stencilValue = 0;

    VertexDeclaration* m_declaration = nullptr;
    Stream m_streams[kMaxStreams];
    IndexBuffer* m_indices = nullptr;
    uint32_t m_enabledArrays = 0;  // bits of the client arrays left enabled

    // While digesting: the running digest and the states to put back.
    std::unique_ptr<DigestPass> m_digest;
};

}  // namespace platform::gfx
