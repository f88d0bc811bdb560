// Device creation, back buffer, frame, reset, read-back and resource creation.
#include "platform/gfx/Device.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <new>

#include "platform/gfx/GlHeaders.h"

namespace platform::gfx {

namespace {

// Highest sample count asked for a multisampled back buffer.
constexpr int32_t kWantedSamples = 4;

bool HasExtension(const char* name) {
    auto* all = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (!all)
        return false;
    size_t len = std::strlen(name);
    for (const char* p = all; (p = std::strstr(p, name)) != nullptr; p += len)
        if ((p == all || p[-1] == ' ') && (p[len] == ' ' || p[len] == '\0'))
            return true;
    return false;
}

}  // namespace

std::unique_ptr<Device> Device::Create(SDL_Window* window, const PresentParams& wanted,
                                       std::string& error) {
    if (!window) {
        error = "no window to draw into";
        return nullptr;
    }
    if (!(SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL)) {
        error = "the window was not created for OpenGL";
        return nullptr;
    }
    if (wanted.width == 0 || wanted.height == 0) {
        error = "the back buffer size is 0";
        return nullptr;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, 0);
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) {
        error = std::string("no OpenGL 2.1 context: ") + SDL_GetError();
        return nullptr;
    }
    std::unique_ptr<Device> device(new Device());
    device->m_window = window;
    device->m_context = context;
    device->m_garbage = std::make_shared<GlGarbage>();

    int major = 0, minor = 0;
    auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (!version || std::sscanf(version, "%d.%d", &major, &minor) != 2 ||
        major * 10 + minor < 21) {
        error = std::string("OpenGL 2.1 is needed, the context offers ") + (version ? version : "none");
        return nullptr;
    }
    if (major < 3 && !HasExtension("GL_ARB_framebuffer_object")) {
        error = "OpenGL lacks framebuffer objects (GL_ARB_framebuffer_object)";
        return nullptr;
    }
    if (major * 10 + minor < 32 && !HasExtension("GL_ARB_vertex_array_bgra")) {
        error = "OpenGL lacks BGRA vertex colours (GL_ARB_vertex_array_bgra)";
        return nullptr;
    }
    glGetIntegerv(GL_MAX_SAMPLES, &device->m_maxSamples);
    if (major * 10 + minor >= 45 || HasExtension("GL_ARB_clip_control")) {
        auto clipControl = reinterpret_cast<PFNGLCLIPCONTROLPROC>(SDL_GL_GetProcAddress("glClipControl"));
        if (clipControl) {
            clipControl(GL_UPPER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
            device->m_upright = glGetError() == GL_NO_ERROR;
        }
    }
    GLint bits[7] = {};
    const GLenum kBits[7] = {GL_RED_BITS, GL_GREEN_BITS, GL_BLUE_BITS, GL_ALPHA_BITS,
                             GL_DEPTH_BITS, GL_STENCIL_BITS, GL_SAMPLES};
    for (int i = 0; i < 7; ++i)
        glGetIntegerv(kBits[i], &bits[i]);
    // An alpha channel would change what blending reads as the destination's alpha.
    device->m_windowFormatFits = bits[0] == 8 && bits[1] == 8 && bits[2] == 8 && bits[3] == 0 &&
                                 bits[4] == 24 && bits[5] == 8;
    device->m_windowSamples = bits[6];
    SDL_GL_SetSwapInterval(1);  // refused by some drivers; frames are then paced by the caller

    PresentParams granted = wanted;
    granted.fullscreen = wanted.fullscreen && IsDisplayModeAvailable(window, wanted.width, wanted.height);
    granted.multisample = wanted.multisample && device->m_maxSamples >= 2;
    if (!device->CreateBackBuffer(granted)) {
        granted.multisample = false;
        if (!device->CreateBackBuffer(granted)) {
            error = "cannot make a " + std::to_string(wanted.width) + " x " +
                    std::to_string(wanted.height) + " back buffer";
            return nullptr;
        }
    }
    device->m_params = granted;

    // Fixed GL settings the device relies on and never changes afterwards.
    glDisable(GL_DITHER);
    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);
    glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);

    const uint32_t white = 0xFFFFFFFFu;
    glGenTextures(1, &device->m_whiteTexture);
    glBindTexture(GL_TEXTURE_2D, device->m_whiteTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, &white);

    device->ResetStates();
    return device;
}

bool Device::IsDisplayModeAvailable(SDL_Window* window, uint32_t width, uint32_t height) {
    int display = window ? SDL_GetWindowDisplayIndex(window) : 0;
    if (display < 0)
        display = 0;
    int count = SDL_GetNumDisplayModes(display);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(display, i, &mode) == 0 && mode.w == int(width) && mode.h == int(height))
            return true;
    }
    return false;
}

Device::~Device() {
    if (!m_context)
        return;
    SDL_GL_MakeCurrent(m_window, m_context);
    for (auto& stage : m_stages)
        Rebind(stage.texture, static_cast<Texture*>(nullptr));
    for (auto& stream : m_streams)
        Rebind(stream.buffer, static_cast<VertexBuffer*>(nullptr));
    Rebind(m_indices, static_cast<IndexBuffer*>(nullptr));
    Rebind(m_declaration, static_cast<VertexDeclaration*>(nullptr));
    if (m_garbage) {
        CollectGarbage();
        std::lock_guard<std::mutex> lock(m_garbage->mutex);
        m_garbage->alive = false;
    }
    DestroyBackBuffer();
    if (m_whiteTexture)
        glDeleteTextures(1, &m_whiteTexture);
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(m_context));
}

Caps Device::GetCaps() const {
    return {true, uint32_t(std::max(m_maxSamples, 0))};
}

bool Device::IsWindowVisible() const {
    return (SDL_GetWindowFlags(m_window) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) == 0;
}

bool Device::WindowServes(const PresentParams& params) const {
    int dw = 0, dh = 0;
    SDL_GL_GetDrawableSize(m_window, &dw, &dh);
    // A multisampled window serves without multisampling too, drawn with it turned off.
    return m_upright && m_windowFormatFits && (!params.multisample || m_windowSamples >= 2) &&
           dw == int(params.width) && dh == int(params.height);
}

bool Device::CreateBackBuffer(const PresentParams& params) {
    DestroyBackBuffer();
    m_glTargetBound = false;
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxSize);
    if (params.width == 0 || params.height == 0 || params.width > uint32_t(maxSize) ||
        params.height > uint32_t(maxSize))
        return false;
    glGenFramebuffers(1, &m_copyFbo);
    GLsizei w = GLsizei(params.width), h = GLsizei(params.height);
    if (WindowServes(params)) {
        bool ok = m_windowSamples == 0 || CreateResolveBuffer(w, h);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        m_hasBackBuffer = ok && glGetError() == GL_NO_ERROR;
        if (!m_hasBackBuffer)
            DestroyBackBuffer();
        return m_hasBackBuffer;
    }
    GLsizei samples = params.multisample ? std::min(kWantedSamples, m_maxSamples) : 0;

    glGenFramebuffers(1, &m_fbo);
    glGenRenderbuffers(1, &m_colorRb);
    glGenRenderbuffers(1, &m_depthRb);
    glBindRenderbuffer(GL_RENDERBUFFER, m_colorRb);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_RGB8, w, h);
    glBindRenderbuffer(GL_RENDERBUFFER, m_depthRb);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_DEPTH24_STENCIL8, w, h);
    glBindFramebuffer(GL_FRAMEBUFFER, m_fbo);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, m_colorRb);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, m_depthRb);
    bool ok = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (ok && samples > 0)
        ok = CreateResolveBuffer(w, h);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, m_fbo);
    if (glGetError() != GL_NO_ERROR)
        ok = false;
    m_target = m_fbo;
    m_hasBackBuffer = ok;
    if (!ok)
        DestroyBackBuffer();
    return ok;
}

bool Device::CreateResolveBuffer(int32_t width, int32_t height) {
    glGenFramebuffers(1, &m_resolveFbo);
    glGenRenderbuffers(1, &m_resolveRb);
    glBindRenderbuffer(GL_RENDERBUFFER, m_resolveRb);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGB8, width, height);
    glBindFramebuffer(GL_FRAMEBUFFER, m_resolveFbo);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, m_resolveRb);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

void Device::DestroyBackBuffer() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    m_glTargetBound = false;
    m_stencilKnown = false;
    GLuint fbos[] = {m_fbo, m_resolveFbo, m_copyFbo};
    GLuint rbs[] = {m_colorRb, m_depthRb, m_resolveRb};
    glDeleteFramebuffers(3, fbos);
    glDeleteRenderbuffers(3, rbs);
    m_fbo = m_resolveFbo = m_copyFbo = 0;
    m_colorRb = m_depthRb = m_resolveRb = 0;
    m_target = 0;
    m_hasBackBuffer = false;
    if (m_presentTexture)
        glDeleteTextures(1, &m_presentTexture);
    m_presentTexture = 0;
}

void Device::BindResolvedForRead() {
    // Blits honour the scissor test; the draw states bring it back at the next draw.
    glDisable(GL_SCISSOR_TEST);
    RenderStateChangedInGl(RenderState::ScissorTestEnable);
    m_glTargetBound = false;
    if (m_resolveFbo) {
        GLint w = GLint(m_params.width), h = GLint(m_params.height);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, m_target);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, m_resolveFbo);
        glBlitFramebuffer(0, 0, w, h, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, m_resolveFbo);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, m_target);
    } else {
        glBindFramebuffer(GL_FRAMEBUFFER, m_target);
    }
}

Result Device::Reset(const PresentParams& wanted) {
    if (m_cooperativeLevel == Result::DeviceLost)
        return Result::DeviceLost;
    if (wanted.fullscreen && !IsDisplayModeAvailable(m_window, wanted.width, wanted.height)) {
        m_cooperativeLevel = Result::DeviceNotReset;
        return Result::Failed;
    }
    PresentParams granted = wanted;
    granted.multisample = wanted.multisample && m_maxSamples >= 2;
    if (!CreateBackBuffer(granted)) {
        granted.multisample = false;
        if (!CreateBackBuffer(granted)) {
            m_cooperativeLevel = Result::DeviceNotReset;
            return Result::Failed;
        }
    }
    m_params = granted;
    ResetStates();
    m_cooperativeLevel = Result::Ok;
    return Result::Ok;
}

void Device::Clear(uint32_t flags, uint32_t argb, float z, uint32_t stencil) {
    if (!m_hasBackBuffer)
        return;
    if (m_digest) {
        const uint32_t values[] = {flags, argb, stencil, m_renderStates[uint32_t(RenderState::ScissorTestEnable)]};
        DigestValue(values);
        DigestValue(z);
        DigestValue(m_viewport);
        DigestValue(m_scissor);
        return;
    }
    int64_t x0 = m_viewport.x, y0 = m_viewport.y;
    int64_t x1 = x0 + m_viewport.width, y1 = y0 + m_viewport.height;
    if (m_renderStates[uint32_t(RenderState::ScissorTestEnable)]) {
        x0 = std::max<int64_t>(x0, m_scissor.left);
        y0 = std::max<int64_t>(y0, m_scissor.top);
        x1 = std::min<int64_t>(x1, m_scissor.right);
        y1 = std::min<int64_t>(y1, m_scissor.bottom);
    }
    x0 = std::max<int64_t>(x0, 0);
    y0 = std::max<int64_t>(y0, 0);
    x1 = std::min<int64_t>(x1, m_params.width);
    y1 = std::min<int64_t>(y1, m_params.height);
    if (x1 <= x0 || y1 <= y0)
        return;
    if (!m_glTargetBound) {
        m_glTargetBound = true;
        glBindFramebuffer(GL_FRAMEBUFFER, m_target);
    }
    // A whole-buffer clear goes without the scissor test, which drivers clear fastest.
    const bool whole = x0 == 0 && y0 == 0 && x1 == int64_t(m_params.width) && y1 == int64_t(m_params.height);
    if (whole) {
        glDisable(GL_SCISSOR_TEST);
    } else {
        glEnable(GL_SCISSOR_TEST);
        glScissor(GLint(x0), GlRow(y0, y1 - y0), GLsizei(x1 - x0), GLsizei(y1 - y0));
        m_scissorDirty = true;
        m_glScissorKnown = false;
    }
    RenderStateChangedInGl(RenderState::ScissorTestEnable);
    GLbitfield mask = 0;
    if (flags & kClearTarget) {
        glClearColor(float((argb >> 16) & 0xFF) / 255.0f, float((argb >> 8) & 0xFF) / 255.0f,
                     float(argb & 0xFF) / 255.0f, float(argb >> 24) / 255.0f);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & kClearZBuffer) {
        glDepthMask(GL_TRUE);
        RenderStateChangedInGl(RenderState::ZWriteEnable);
        glClearDepth(std::clamp(z, 0.0f, 1.0f));
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (flags & kClearStencil) {
        stencil &= 0xFF;
        if (whole)
            m_stencilKnown = true;
        else if (m_stencilValue != stencil)
            m_stencilKnown = false;
        m_stencilValue = stencil;
    }
    // The stencil keeps its value either way; see m_stencilKnown.
    if ((flags & kClearStencil) || ((flags & kClearZBuffer) && m_stencilKnown)) {
        glStencilMask(0xFF);
        glClearStencil(GLint(m_stencilValue));
        mask |= GL_STENCIL_BUFFER_BIT;
    }
    glClear(mask);
}

void Device::Present() {
    if (m_digest)
        return;
    CollectGarbage();
    if (!m_hasBackBuffer)
        return;
    int dw = 0, dh = 0;
    SDL_GL_GetDrawableSize(m_window, &dw, &dh);
    if (dw > 0 && dh > 0) {
        if (m_target != 0 && m_windowSamples > 0) {
            PresentThroughQuad(dw, dh);
        } else if (m_target != 0) {
            GLint w = GLint(m_params.width), h = GLint(m_params.height);
            bool sameSize = dw == w && dh == h;
            // A multisampled buffer resolves straight into the window when neither scaling
            // nor a flip is needed; otherwise it is resolved first.
            if ((sameSize && m_upright) || !m_resolveFbo) {
                glDisable(GL_SCISSOR_TEST);
                RenderStateChangedInGl(RenderState::ScissorTestEnable);
                glBindFramebuffer(GL_READ_FRAMEBUFFER, m_fbo);
            } else {
                BindResolvedForRead();
            }
            glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
            GLint top = m_upright ? dh : 0, bottom = m_upright ? 0 : dh;
            glBlitFramebuffer(0, 0, w, h, 0, bottom, dw, top, GL_COLOR_BUFFER_BIT,
                              sameSize ? GL_NEAREST : GL_LINEAR);
        }
        SDL_GL_SwapWindow(m_window);
        m_stencilKnown = false;  // a swapped window's buffers are undefined
        // The window changed size or came back to the back buffer's: draw where it is cheapest
        // from the next frame on.
        if (WindowServes(m_params) != (m_target == 0) && !CreateBackBuffer(m_params))
            m_cooperativeLevel = Result::DeviceNotReset;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, m_target);
    m_glTargetBound = true;
}

void Device::PresentThroughQuad(int drawableWidth, int drawableHeight) {
    GLint w = GLint(m_params.width), h = GLint(m_params.height);
    if (!m_presentTexture) {
        glGenTextures(1, &m_presentTexture);
        glBindTexture(GL_TEXTURE_2D, m_presentTexture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, w, h, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
    }
    glDisable(GL_SCISSOR_TEST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, m_target);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, m_copyFbo);
    glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, m_presentTexture, 0);
    glBlitFramebuffer(0, 0, w, h, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);

    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, drawableWidth, drawableHeight);
    for (GLenum cap : {GL_DEPTH_TEST, GL_BLEND, GL_ALPHA_TEST, GL_CULL_FACE, GL_LIGHTING, GL_STENCIL_TEST, GL_FOG})
        glDisable(cap);
    RenderStateChangedInGl(RenderState::Shade);
    for (uint32_t unit = kMaxStages; unit-- > 0;) {
        glActiveTexture(GL_TEXTURE0 + unit);
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
        (unit == 0 ? glEnable : glDisable)(GL_TEXTURE_2D);
    }
    glBindTexture(GL_TEXTURE_2D, m_presentTexture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // The texture's row 0 is GL's first row of the back buffer: with either clip origin it
    // goes where clip y = 1 lands.
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(0, 0);
    glVertex2f(-1, 1);
    glTexCoord2f(1, 0);
    glVertex2f(1, 1);
    glTexCoord2f(0, 1);
    glVertex2f(-1, -1);
    glTexCoord2f(1, 1);
    glVertex2f(1, -1);
    glEnd();

    // Every state the quad changed is sent again before the next draw.
    ForgetGlState();
}

bool Device::ReadBackBuffer(const Rect& rect, Image& out) {
    out = Image();
    int32_t x0 = std::max(rect.left, 0), y0 = std::max(rect.top, 0);
    int32_t x1 = std::min(rect.right, int32_t(m_params.width));
    int32_t y1 = std::min(rect.bottom, int32_t(m_params.height));
    if (!m_hasBackBuffer || x1 <= x0 || y1 <= y0 || m_digest)
        return false;
    uint32_t w = uint32_t(x1 - x0), h = uint32_t(y1 - y0);
    out.pixels.resize(size_t(w) * h);
    BindResolvedForRead();
    glReadPixels(x0, GlRow(y0, h), GLsizei(w), GLsizei(h), GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                 out.pixels.data());
    glBindFramebuffer(GL_FRAMEBUFFER, m_target);
    m_glTargetBound = true;
    // Upright, GL gives the bottom row first.
    for (uint32_t top = 0, bottom = h - 1; m_upright && top < bottom; ++top, --bottom)
        std::swap_ranges(out.pixels.begin() + ptrdiff_t(top) * w, out.pixels.begin() + ptrdiff_t(top + 1) * w,
                         out.pixels.begin() + ptrdiff_t(bottom) * w);
    out.width = w;
    out.height = h;
    out.format = Format::X8R8G8B8;
    return true;
}

bool Device::StretchBackBufferTo(Texture* target, bool linear) {
    if (!m_hasBackBuffer || !target || !(target->m_usage & kUsageRenderTarget))
        return false;
    if (m_digest) {
        DigestValue(target);
        DigestValue(linear);
        return true;
    }
    target->Touch();
    UploadTexture(*target);  // makes its GL storage
    BindResolvedForRead();
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, m_copyFbo);
    glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target->m_glName, 0);
    bool ok = glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (ok) {
        // A texture holds its top row first (row 0 is v = 0): an upright picture is flipped.
        GLint w = GLint(m_params.width), h = GLint(m_params.height);
        GLint th = GLint(target->m_height);
        glBlitFramebuffer(0, 0, w, h, 0, m_upright ? th : 0, GLint(target->m_width), m_upright ? 0 : th,
                          GL_COLOR_BUFFER_BIT, linear ? GL_LINEAR : GL_NEAREST);
    }
    glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, m_target);
    m_glTargetBound = true;
    return ok;
}

void Device::CollectGarbage() {
    std::vector<uint32_t> names;
    {
        std::lock_guard<std::mutex> lock(m_garbage->mutex);
        names.swap(m_garbage->textures);
    }
    if (names.empty())
        return;
    // GL unbinds a deleted texture, and may give its name to a new one.
    for (Stage& stage : m_stages)
        if (std::find(names.begin(), names.end(), stage.glTexture) != names.end())
            stage.glTexture = kUnknown;
    glDeleteTextures(GLsizei(names.size()), names.data());
}

VertexDeclaration* Device::CreateVertexDeclaration(const VertexElement* elements, uint32_t count) {
    if (!elements && count != 0)
        return nullptr;
    std::vector<VertexElement> list;
    for (uint32_t i = 0; i < count; ++i) {
        const VertexElement& e = elements[i];
        if (e.stream >= kMaxStreams || uint32_t(e.type) > uint32_t(DeclType::Color) ||
            uint32_t(e.usage) > uint32_t(DeclUsage::TexCoord) || e.usageIndex >= kMaxStages)
            return nullptr;
        list.push_back(e);
    }
    return new (std::nothrow) VertexDeclaration(std::move(list));
}

VertexBuffer* Device::CreateVertexBuffer(uint32_t bytes, uint32_t /*usage*/) {
    if (bytes == 0)
        return nullptr;
    std::unique_ptr<uint8_t[]> data(new (std::nothrow) uint8_t[bytes]());
    if (!data)
        return nullptr;
    return new (std::nothrow) VertexBuffer(std::move(data), bytes);
}

IndexBuffer* Device::CreateIndexBuffer(uint32_t bytes) {
    if (bytes < 2)
        return nullptr;
    std::unique_ptr<uint8_t[]> data(new (std::nothrow) uint8_t[bytes]());
    if (!data)
        return nullptr;
    return new (std::nothrow) IndexBuffer(std::move(data), bytes);
}

Texture* Device::CreateTexture(uint32_t width, uint32_t height, uint32_t usage, Format format) {
    if (width == 0 || height == 0 || width > kMaxImageSize || height > kMaxImageSize ||
        (format != Format::A8R8G8B8 && format != Format::X8R8G8B8))
        return nullptr;
    std::unique_ptr<uint32_t[]> texels;
    if (!(usage & kUsageRenderTarget)) {
        texels.reset(new (std::nothrow) uint32_t[size_t(width) * height]());
        if (!texels)
            return nullptr;
    }
    return new (std::nothrow) Texture(m_garbage, width, height, usage, format, std::move(texels));
}

Texture* Device::CreateTextureFromPng(const void* bytes, size_t size, uint32_t usage, std::string& error) {
    Image image;
    if (!DecodePng(bytes, size, image, error))
        return nullptr;
    Texture* texture = CreateTexture(image.width, image.height, usage & ~kUsageRenderTarget, image.format);
    if (!texture) {
        error = "out of memory for the texture";
        return nullptr;
    }
    std::memcpy(texture->m_texels.get(), image.pixels.data(), image.pixels.size() * 4);
    return texture;
}

}  // namespace platform::gfx
