// Shadowed device states and their application to GL before a draw.
#include <algorithm>
#include <cstring>

#include "platform/gfx/Device.h"
#include "platform/gfx/GfxMath.h"
#include "platform/gfx/GlHeaders.h"

namespace platform::gfx {

namespace {

constexpr uint32_t Bit(RenderState s) {
    return 1u << uint32_t(s);
}

GLenum GlCompare(uint32_t cmp) {
    switch (Cmp(cmp)) {
        case Cmp::Never: return GL_NEVER;
        case Cmp::Less: return GL_LESS;
        case Cmp::Equal: return GL_EQUAL;
        case Cmp::LessEqual: return GL_LEQUAL;
        case Cmp::Greater: return GL_GREATER;
        case Cmp::NotEqual: return GL_NOTEQUAL;
        case Cmp::GreaterEqual: return GL_GEQUAL;
        default: return GL_ALWAYS;
    }
}

GLenum GlBlend(uint32_t blend) {
    switch (Blend(blend)) {
        case Blend::Zero: return GL_ZERO;
        case Blend::One: return GL_ONE;
        case Blend::SrcColor: return GL_SRC_COLOR;
        case Blend::InvSrcColor: return GL_ONE_MINUS_SRC_COLOR;
        case Blend::SrcAlpha: return GL_SRC_ALPHA;
        case Blend::InvSrcAlpha: return GL_ONE_MINUS_SRC_ALPHA;
        case Blend::DestAlpha: return GL_DST_ALPHA;
        case Blend::InvDestAlpha: return GL_ONE_MINUS_DST_ALPHA;
        case Blend::DestColor: return GL_DST_COLOR;
        case Blend::InvDestColor: return GL_ONE_MINUS_DST_COLOR;
    }
    return GL_ONE;
}

// The reference is a byte compared with the fragment's alpha byte. GL compares in floats
// (or, on some renderers, in bytes after rounding the reference), so the reference moves a
// quarter step to the side that keeps the byte comparison exact either way.
float AlphaReference(uint32_t cmp, uint32_t ref) {
    float r = float(std::min<uint32_t>(ref, 255));
    switch (Cmp(cmp)) {
        case Cmp::Less:
        case Cmp::GreaterEqual: r -= 0.25f; break;
        case Cmp::LessEqual:
        case Cmp::Greater: r += 0.25f; break;
        default: break;
    }
    return std::clamp(r / 255.0f, 0.0f, 1.0f);
}

GLenum GlSource(uint32_t arg) {
    switch (TextureArg(arg)) {
        case TextureArg::Texture: return GL_TEXTURE;
        case TextureArg::Diffuse: return GL_PRIMARY_COLOR;
        default: return GL_PREVIOUS;
    }
}

// One half (colour or alpha) of a stage's combiner.
void SetCombiner(bool alpha, uint32_t op, uint32_t arg1, uint32_t arg2) {
    GLenum combine = alpha ? GL_COMBINE_ALPHA : GL_COMBINE_RGB;
    GLenum src0 = alpha ? GL_SRC0_ALPHA : GL_SRC0_RGB;
    GLenum src1 = alpha ? GL_SRC1_ALPHA : GL_SRC1_RGB;
    GLenum operand = alpha ? GL_SRC_ALPHA : GL_SRC_COLOR;
    glTexEnvi(GL_TEXTURE_ENV, alpha ? GL_OPERAND0_ALPHA : GL_OPERAND0_RGB, GLint(operand));
    glTexEnvi(GL_TEXTURE_ENV, alpha ? GL_OPERAND1_ALPHA : GL_OPERAND1_RGB, GLint(operand));
    switch (TextureOp(op)) {
        case TextureOp::SelectArg1:
            glTexEnvi(GL_TEXTURE_ENV, combine, GL_REPLACE);
            glTexEnvi(GL_TEXTURE_ENV, src0, GLint(GlSource(arg1)));
            break;
        case TextureOp::SelectArg2:
            glTexEnvi(GL_TEXTURE_ENV, combine, GL_REPLACE);
            glTexEnvi(GL_TEXTURE_ENV, src0, GLint(GlSource(arg2)));
            break;
        case TextureOp::Modulate:
        case TextureOp::Add:
            glTexEnvi(GL_TEXTURE_ENV, combine, TextureOp(op) == TextureOp::Add ? GL_ADD : GL_MODULATE);
            glTexEnvi(GL_TEXTURE_ENV, src0, GLint(GlSource(arg1)));
            glTexEnvi(GL_TEXTURE_ENV, src1, GLint(GlSource(arg2)));
            break;
        default:  // a disabled alpha operation passes the alpha on
            glTexEnvi(GL_TEXTURE_ENV, combine, GL_REPLACE);
            glTexEnvi(GL_TEXTURE_ENV, src0, GL_PREVIOUS);
            break;
    }
}

GLint GlAddress(uint32_t mode) {
    switch (TextureAddress(mode)) {
        case TextureAddress::Mirror: return GL_MIRRORED_REPEAT;
        case TextureAddress::Clamp: return GL_CLAMP_TO_EDGE;
        default: return GL_REPEAT;
    }
}

// Bitwise, so that a value is kept only when GL would get exactly the same one.
template <typename T>
bool Same(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

void SetLightColor(GLenum which, const ColorValue& c) {
    const float v[4] = {c.r, c.g, c.b, c.a};
    glLightfv(GL_LIGHT0, which, v);
}

}  // namespace

void Device::ResetStates() {
    const uint32_t on = 1, off = 0;
    uint32_t* rs = m_renderStates;
    rs[uint32_t(RenderState::ZEnable)] = on;
    rs[uint32_t(RenderState::ZWriteEnable)] = on;
    rs[uint32_t(RenderState::ZFunc)] = uint32_t(Cmp::LessEqual);
    rs[uint32_t(RenderState::AlphaBlendEnable)] = off;
    rs[uint32_t(RenderState::SrcBlend)] = uint32_t(Blend::One);
    rs[uint32_t(RenderState::DestBlend)] = uint32_t(Blend::Zero);
    rs[uint32_t(RenderState::AlphaTestEnable)] = off;
    rs[uint32_t(RenderState::AlphaFunc)] = uint32_t(Cmp::Always);
    rs[uint32_t(RenderState::AlphaRef)] = 0;
    rs[uint32_t(RenderState::CullMode)] = uint32_t(Cull::CCW);
    rs[uint32_t(RenderState::Lighting)] = on;
    rs[uint32_t(RenderState::Ambient)] = 0;
    rs[uint32_t(RenderState::MultisampleAntialias)] = on;
    rs[uint32_t(RenderState::StencilEnable)] = off;
    rs[uint32_t(RenderState::ScissorTestEnable)] = off;
    rs[uint32_t(RenderState::Shade)] = 0;

    for (uint32_t i = 0; i < kMaxStages; ++i) {
        Stage& s = m_stages[i];
        auto set = [&s](StageState state, uint32_t value) { s.states[uint32_t(state)] = value; };
        set(StageState::ColorOp, uint32_t(i == 0 ? TextureOp::Modulate : TextureOp::Disable));
        set(StageState::ColorArg0, uint32_t(TextureArg::Current));
        set(StageState::ColorArg1, uint32_t(TextureArg::Texture));
        set(StageState::ColorArg2, uint32_t(TextureArg::Current));
        set(StageState::AlphaOp, uint32_t(i == 0 ? TextureOp::SelectArg1 : TextureOp::Disable));
        set(StageState::AlphaArg0, uint32_t(TextureArg::Current));
        set(StageState::AlphaArg1, uint32_t(TextureArg::Texture));
        set(StageState::AlphaArg2, uint32_t(TextureArg::Current));
        set(StageState::TexCoordIndex, i);
        set(StageState::TextureTransformFlags, uint32_t(TextureTransform::Disable));
        s.sampler[uint32_t(SamplerState::AddressU)] = uint32_t(TextureAddress::Wrap);
        s.sampler[uint32_t(SamplerState::AddressV)] = uint32_t(TextureAddress::Wrap);
        s.sampler[uint32_t(SamplerState::MinFilter)] = uint32_t(TextureFilter::Point);
        s.sampler[uint32_t(SamplerState::MagFilter)] = uint32_t(TextureFilter::Point);
        Rebind(s.texture, static_cast<Texture*>(nullptr));
        s.textureMatrix = MatrixIdentity();
    }

    m_world = m_view = m_projection = MatrixIdentity();
    m_viewport = {0, 0, m_params.width, m_params.height, 0.0f, 1.0f};
    m_scissor = {0, 0, int32_t(m_params.width), int32_t(m_params.height)};
    m_light = Light{};
    m_light.type = LightType::Directional;
    m_light.diffuse = {1, 1, 1, 0};
    m_light.direction = {0, 0, 1};
    m_lightEnabled = false;
    m_material = Material{};
    m_material.diffuse = {1, 1, 1, 1};

    Rebind(m_declaration, static_cast<VertexDeclaration*>(nullptr));
    for (auto& stream : m_streams) {
        Rebind(stream.buffer, static_cast<VertexBuffer*>(nullptr));
        stream.offset = stream.stride = 0;
    }
    Rebind(m_indices, static_cast<IndexBuffer*>(nullptr));
    ForgetGlState();
}

void Device::ForgetGlState() {
    m_renderStatesDirty = ~0u;
    m_viewportDirty = m_scissorDirty = true;
    m_projectionDirty = m_modelviewDirty = m_lightDirty = true;
    m_materialDirty = true;
    m_colorMaterialApplied = -1;
    m_unitsEnabled = ~0u;
    for (Stage& stage : m_stages) {
        stage.dirty = stage.textureMatrixDirty = true;
        stage.glStatesKnown = false;
        stage.glTexture = kUnknown;
    }
    m_glTargetBound = false;
    m_glRenderStatesKnown = 0;
    m_glViewportKnown = m_glScissorKnown = false;
    m_glProjectionKnown = m_glModelviewKnown = m_glLightKnown = m_glMaterialKnown = false;
    m_glLightEnabled = -1;
    m_glCurrentKnown = 0;
    m_glActiveUnit = m_glClientUnit = m_glMatrixMode = kUnknown;
}

void Device::RenderStateChangedInGl(RenderState state) {
    m_renderStatesDirty |= Bit(state);
    m_glRenderStatesKnown &= ~Bit(state);
}

void Device::SetActiveUnit(uint32_t unit) {
    if (m_glActiveUnit != unit) {
        m_glActiveUnit = unit;
        glActiveTexture(GL_TEXTURE0 + unit);
    }
}

void Device::SetClientUnit(uint32_t unit) {
    if (m_glClientUnit != unit) {
        m_glClientUnit = unit;
        glClientActiveTexture(GL_TEXTURE0 + unit);
    }
}

void Device::SetMatrixMode(uint32_t mode) {
    if (m_glMatrixMode != mode) {
        m_glMatrixMode = mode;
        glMatrixMode(mode);
    }
}

void Device::SetRenderState(RenderState state, uint32_t value) {
    uint32_t i = uint32_t(state);
    if (i >= uint32_t(RenderState::Count) || m_renderStates[i] == value)
        return;
    m_renderStates[i] = value;
    m_renderStatesDirty |= 1u << i;
}

void Device::SetTextureStageState(uint32_t stage, StageState state, uint32_t value) {
    if (stage >= kMaxStages || uint32_t(state) >= uint32_t(StageState::Count))
        return;
    uint32_t& slot = m_stages[stage].states[uint32_t(state)];
    if (slot == value)
        return;
    slot = value;
    m_stages[stage].dirty = true;
    if (state == StageState::TextureTransformFlags)
        m_stages[stage].textureMatrixDirty = true;
}

uint32_t Device::GetTextureStageState(uint32_t stage, StageState state) const {
    if (stage >= kMaxStages || uint32_t(state) >= uint32_t(StageState::Count))
        return 0;
    return m_stages[stage].states[uint32_t(state)];
}

void Device::SetSamplerState(uint32_t sampler, SamplerState state, uint32_t value) {
    if (sampler < kMaxStages && uint32_t(state) < uint32_t(SamplerState::Count))
        m_stages[sampler].sampler[uint32_t(state)] = value;
}

uint32_t Device::GetSamplerState(uint32_t sampler, SamplerState state) const {
    if (sampler >= kMaxStages || uint32_t(state) >= uint32_t(SamplerState::Count))
        return 0;
    return m_stages[sampler].sampler[uint32_t(state)];
}

void Device::SetTexture(uint32_t stage, Texture* texture) {
    if (stage < kMaxStages)
        Rebind(m_stages[stage].texture, texture);
}

void Device::SetTransform(TransformType type, const Matrix& matrix) {
    switch (type) {
        case TransformType::World:
            m_world = matrix;
            m_modelviewDirty = true;
            return;
        case TransformType::View:
            m_view = matrix;
            m_modelviewDirty = true;
            m_lightDirty = true;  // GL takes light positions in eye space
            return;
        case TransformType::Projection:
            m_projection = matrix;
            m_projectionDirty = true;
            return;
        default: {
            uint32_t stage = uint32_t(type) - uint32_t(TransformType::Texture0);
            if (stage < kMaxStages) {
                m_stages[stage].textureMatrix = matrix;
                m_stages[stage].textureMatrixDirty = true;
            }
        }
    }
}

const Matrix& Device::GetTransform(TransformType type) const {
    switch (type) {
        case TransformType::World: return m_world;
        case TransformType::View: return m_view;
        case TransformType::Projection: return m_projection;
        default: {
            uint32_t stage = uint32_t(type) - uint32_t(TransformType::Texture0);
            return m_stages[stage < kMaxStages ? stage : 0].textureMatrix;
        }
    }
}

void Device::SetViewport(const Viewport& viewport) {
    m_viewport = viewport;
    m_viewportDirty = true;
}

void Device::SetScissorRect(const Rect& rect) {
    m_scissor = rect;
    m_scissorDirty = true;
}

void Device::SetLight(uint32_t index, const Light& light) {
    if (index != 0)
        return;
    m_light = light;
    m_lightDirty = true;
}

void Device::LightEnable(uint32_t index, bool enable) {
    if (index != 0 || m_lightEnabled == enable)
        return;
    m_lightEnabled = enable;
    m_lightDirty = true;
}

void Device::SetMaterial(const Material& material) {
    m_material = material;
    m_materialDirty = true;
}

void Device::Flush() {
    if (!m_glTargetBound) {
        m_glTargetBound = true;
        glBindFramebuffer(GL_FRAMEBUFFER, m_target);
    }
    FlushRenderStates();
    FlushViewport();
    FlushTransformsAndLight();
    FlushStages();
}

void Device::FlushRenderStates() {
    uint32_t dirty = m_renderStatesDirty;
    if (!dirty)
        return;
    m_renderStatesDirty = 0;
    for (uint32_t i = 0; i < uint32_t(RenderState::Count); ++i) {
        const uint32_t bit = 1u << i;
        if (!(dirty & bit))
            continue;
        if ((m_glRenderStatesKnown & bit) && m_glRenderStates[i] == m_renderStates[i])
            dirty &= ~bit;
        m_glRenderStates[i] = m_renderStates[i];
        m_glRenderStatesKnown |= bit;
    }
    auto value = [this](RenderState s) { return m_renderStates[uint32_t(s)]; };
    auto toggle = [&](RenderState s, GLenum cap) {
        if (dirty & Bit(s))
            (value(s) ? glEnable : glDisable)(cap);
    };
    toggle(RenderState::ZEnable, GL_DEPTH_TEST);
    if (dirty & Bit(RenderState::ZWriteEnable))
        glDepthMask(value(RenderState::ZWriteEnable) ? GL_TRUE : GL_FALSE);
    if (dirty & Bit(RenderState::ZFunc))
        glDepthFunc(GlCompare(value(RenderState::ZFunc)));
    toggle(RenderState::AlphaBlendEnable, GL_BLEND);
    if (dirty & (Bit(RenderState::SrcBlend) | Bit(RenderState::DestBlend)))
        glBlendFunc(GlBlend(value(RenderState::SrcBlend)), GlBlend(value(RenderState::DestBlend)));
    toggle(RenderState::AlphaTestEnable, GL_ALPHA_TEST);
    if (dirty & (Bit(RenderState::AlphaFunc) | Bit(RenderState::AlphaRef)))
        glAlphaFunc(GlCompare(value(RenderState::AlphaFunc)),
                    AlphaReference(value(RenderState::AlphaFunc), value(RenderState::AlphaRef)));
    if (dirty & Bit(RenderState::CullMode)) {
        // The projection turns the picture upside down (see FlushTransformsAndLight), so a
        // triangle clockwise on screen is counter-clockwise to GL, which is GL's front face.
        switch (Cull(value(RenderState::CullMode))) {
            case Cull::CW: glEnable(GL_CULL_FACE); glCullFace(GL_FRONT); break;
            case Cull::CCW: glEnable(GL_CULL_FACE); glCullFace(GL_BACK); break;
            default: glDisable(GL_CULL_FACE); break;
        }
    }
    toggle(RenderState::Lighting, GL_LIGHTING);
    if (dirty & Bit(RenderState::Ambient)) {
        uint32_t c = value(RenderState::Ambient);
        const float v[4] = {float((c >> 16) & 0xFF) / 255.0f, float((c >> 8) & 0xFF) / 255.0f,
                            float(c & 0xFF) / 255.0f, float(c >> 24) / 255.0f};
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, v);
    }
    // A multisampled window drawn without multisampling keeps it off.
    if (dirty & Bit(RenderState::MultisampleAntialias))
        (value(RenderState::MultisampleAntialias) && m_params.multisample ? glEnable : glDisable)(GL_MULTISAMPLE);
    toggle(RenderState::StencilEnable, GL_STENCIL_TEST);
    toggle(RenderState::ScissorTestEnable, GL_SCISSOR_TEST);
    if (dirty & Bit(RenderState::Shade)) {
        // Linear fog from 0 to 1 over a constant fog coordinate: the factor is 1 - coordinate.
        if (const uint32_t shade = value(RenderState::Shade)) {
            static const float kBlack[4] = {0.0f, 0.0f, 0.0f, 0.0f};
            glFogi(GL_FOG_MODE, GL_LINEAR);
            glFogf(GL_FOG_START, 0.0f);
            glFogf(GL_FOG_END, 1.0f);
            glFogfv(GL_FOG_COLOR, kBlack);
            glFogi(GL_FOG_COORDINATE_SOURCE, GL_FOG_COORDINATE);
            glFogCoordf(float(std::min(shade, 65535u)) / 65535.0f);
            glEnable(GL_FOG);
        } else {
            glDisable(GL_FOG);
        }
    }
}

void Device::FlushViewport() {
    if (m_viewportDirty) {
        m_viewportDirty = false;
        const Viewport& v = m_viewport;
        const Viewport& g = m_glViewport;
        if (!m_glViewportKnown || v.x != g.x || v.y != g.y || v.width != g.width || v.height != g.height ||
            v.minZ != g.minZ || v.maxZ != g.maxZ) {
            m_glViewport = v;
            m_glViewportKnown = true;
            glViewport(GLint(v.x), GlRow(v.y, v.height), GLsizei(v.width), GLsizei(v.height));
            glDepthRange(v.minZ, v.maxZ);
            m_projectionDirty = true;  // the pixel-centre shift depends on the viewport size
        }
    }
    if (m_scissorDirty) {
        m_scissorDirty = false;
        int32_t w = std::max(m_scissor.right - m_scissor.left, 0);
        int32_t h = std::max(m_scissor.bottom - m_scissor.top, 0);
        const int32_t gl[4] = {m_scissor.left, GlRow(m_scissor.top, h), w, h};
        if (!m_glScissorKnown || !std::equal(gl, gl + 4, m_glScissor)) {
            std::copy(gl, gl + 4, m_glScissor);
            m_glScissorKnown = true;
            glScissor(gl[0], gl[1], gl[2], gl[3]);
        }
    }
}

void Device::FlushTransformsAndLight() {
    if (m_projectionDirty) {
        m_projectionDirty = false;
        // Clip z goes from [0, w] to [-w, w]; the picture moves half a pixel right and down
        // so that pixel centres fall on integer coordinates, and y is flipped: GL's rows then
        // run down the screen (see Device.h), and its edge rule falls on the model's sides.
        float w = float(std::max(m_viewport.width, 1u));
        float h = float(std::max(m_viewport.height, 1u));
        const Matrix fix = {{1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 2, 0, 1.0f / w, 1.0f / h, -1, 1}};
        Matrix p = MatrixMultiply(m_projection, fix);
        if (!m_glProjectionKnown || !Same(p, m_glProjection)) {
            m_glProjection = p;
            m_glProjectionKnown = true;
            SetMatrixMode(GL_PROJECTION);
            glLoadMatrixf(p.m);
        }
    }
    if (m_lightDirty) {
        m_lightDirty = false;
        if (m_glLightEnabled != int(m_lightEnabled)) {
            m_glLightEnabled = int(m_lightEnabled);
            (m_lightEnabled ? glEnable : glDisable)(GL_LIGHT0);
        }
    }
    const bool lightChanged = !m_glLightKnown || !Same(m_light, m_glLight) || !Same(m_view, m_glLightView);
    if (m_modelviewDirty || lightChanged) {
        m_modelviewDirty = false;
        if (!lightChanged && m_glModelviewKnown && Same(m_view, m_glView) && Same(m_world, m_glWorld))
            return;
        SetMatrixMode(GL_MODELVIEW);
        glLoadMatrixf(m_view.m);
        if (lightChanged) {
            m_glLight = m_light;
            m_glLightView = m_view;
            m_glLightKnown = true;
            // Lights are given in world space: GL transforms them by the modelview, which is
            // the view alone here.
            const Light& l = m_light;
            SetLightColor(GL_DIFFUSE, l.diffuse);
            SetLightColor(GL_SPECULAR, l.specular);
            SetLightColor(GL_AMBIENT, l.ambient);
            if (l.type == LightType::Directional) {
                const float pos[4] = {-l.direction.x, -l.direction.y, -l.direction.z, 0.0f};
                glLightfv(GL_LIGHT0, GL_POSITION, pos);
                glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 180.0f);
                glLightf(GL_LIGHT0, GL_CONSTANT_ATTENUATION, 1.0f);
                glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, 0.0f);
                glLightf(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, 0.0f);
            } else {
                const float pos[4] = {l.position.x, l.position.y, l.position.z, 1.0f};
                glLightfv(GL_LIGHT0, GL_POSITION, pos);
                glLightf(GL_LIGHT0, GL_CONSTANT_ATTENUATION, l.attenuation0);
                glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, l.attenuation1);
                glLightf(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, l.attenuation2);
                if (l.type == LightType::Spot) {
                    // The outer cone bounds the light; the fall-off becomes an exponent.
                    const float dir[3] = {l.direction.x, l.direction.y, l.direction.z};
                    glLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, dir);
                    glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, std::clamp(l.phi * 0.5f * 57.29578f, 0.0f, 90.0f));
                    glLightf(GL_LIGHT0, GL_SPOT_EXPONENT, std::clamp(l.falloff, 0.0f, 128.0f));
                } else {
                    glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 180.0f);
                }
            }
        }
        glMultMatrixf(m_world.m);
        m_glView = m_view;
        m_glWorld = m_world;
        m_glModelviewKnown = true;
    }
}

void Device::FlushMaterial() {
    if (m_materialDirty) {
        m_materialDirty = false;
        if (m_glMaterialKnown && Same(m_material, m_glMaterial))
            return;
        m_glMaterial = m_material;
        m_glMaterialKnown = true;
        const Material& m = m_material;
        const float diffuse[4] = {m.diffuse.r, m.diffuse.g, m.diffuse.b, m.diffuse.a};
        const float ambient[4] = {m.ambient.r, m.ambient.g, m.ambient.b, m.ambient.a};
        const float emissive[4] = {m.emissive.r, m.emissive.g, m.emissive.b, m.emissive.a};
        const float none[4] = {0, 0, 0, 1};  // specular highlights stay off
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
        glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, emissive);
        glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, none);
        glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, std::clamp(m.power, 0.0f, 128.0f));
    }
}

void Device::UploadTexture(Texture& t) {
    bool fresh = t.m_glName == 0;
    if (fresh) {
        glGenTextures(1, &t.m_glName);
        BoundOnActiveUnit(t.m_glName);
        glBindTexture(GL_TEXTURE_2D, t.m_glName);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        t.m_appliedSampler[uint32_t(SamplerState::AddressU)] = uint32_t(TextureAddress::Wrap);
        t.m_appliedSampler[uint32_t(SamplerState::AddressV)] = uint32_t(TextureAddress::Wrap);
        t.m_appliedSampler[uint32_t(SamplerState::MinFilter)] = uint32_t(TextureFilter::Point);
        t.m_appliedSampler[uint32_t(SamplerState::MagFilter)] = uint32_t(TextureFilter::Point);
    }
    GLint internal = t.m_format == Format::X8R8G8B8 ? GL_RGB8 : GL_RGBA8;
    if (!t.m_texels) {  // render target: storage only
        if (fresh)
            glTexImage2D(GL_TEXTURE_2D, 0, internal, GLsizei(t.m_width), GLsizei(t.m_height), 0,
                         GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
        return;
    }
    if (!t.m_dirty.exchange(false, std::memory_order_acq_rel) && !fresh)
        return;
    BoundOnActiveUnit(t.m_glName);
    glBindTexture(GL_TEXTURE_2D, t.m_glName);
    if (fresh)
        glTexImage2D(GL_TEXTURE_2D, 0, internal, GLsizei(t.m_width), GLsizei(t.m_height), 0,
                     GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, t.m_texels.get());
    else
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, GLsizei(t.m_width), GLsizei(t.m_height), GL_BGRA,
                        GL_UNSIGNED_INT_8_8_8_8_REV, t.m_texels.get());
}

void Device::BoundOnActiveUnit(uint32_t name) {
    if (m_glActiveUnit < kMaxStages)
        m_stages[m_glActiveUnit].glTexture = name;
    else
        for (Stage& stage : m_stages)
            stage.glTexture = kUnknown;
}

void Device::ApplySampler(Texture& t, const Stage& stage, uint32_t unit) {
    static const GLenum kParams[] = {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_MIN_FILTER,
                                     GL_TEXTURE_MAG_FILTER};
    for (uint32_t i = 0; i < uint32_t(SamplerState::Count); ++i) {
        uint32_t want = stage.sampler[i];
        if (t.m_appliedSampler[i] == want)
            continue;
        t.m_appliedSampler[i] = want;
        SetActiveUnit(unit);
        GLint value = i < 2 ? GlAddress(want)
                            : (TextureFilter(want) == TextureFilter::Linear ? GL_LINEAR : GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, kParams[i], value);
    }
}

void Device::FlushStages() {
    // The cascade ends at the first stage whose colour operation is Disable.
    uint32_t active = 0;
    while (active < kMaxStages &&
           TextureOp(m_stages[active].states[uint32_t(StageState::ColorOp)]) != TextureOp::Disable)
        ++active;
    for (uint32_t i = 0; i < active; ++i)
        if (m_stages[i].texture)
            UploadTexture(*m_stages[i].texture);

    for (uint32_t i = 0; i < kMaxStages; ++i) {
        Stage& s = m_stages[i];
        bool enabled = i < active;
        bool wasEnabled = (m_unitsEnabled >> i) & 1u;
        bool known = m_unitsEnabled != ~0u;
        if (!enabled && known && !wasEnabled)
            continue;
        if (!enabled) {
            SetActiveUnit(i);
            glDisable(GL_TEXTURE_2D);
            glDisable(GL_TEXTURE_GEN_S);
            glDisable(GL_TEXTURE_GEN_T);
            s.dirty = true;  // set up again when the unit comes back
            s.glStatesKnown = false;
            continue;
        }
        if (!known || !wasEnabled) {
            SetActiveUnit(i);
            glEnable(GL_TEXTURE_2D);
        }
        const uint32_t name = s.texture ? s.texture->m_glName : m_whiteTexture;
        if (s.glTexture != name) {
            SetActiveUnit(i);
            glBindTexture(GL_TEXTURE_2D, name);
            s.glTexture = name;
        }
        if (s.texture)
            ApplySampler(*s.texture, s, i);
        if (s.dirty) {
            s.dirty = false;
            const uint32_t* v = s.states;
            if (!s.glStatesKnown || !std::equal(v, v + uint32_t(StageState::Count), s.glStates)) {
                std::copy(v, v + uint32_t(StageState::Count), s.glStates);
                s.glStatesKnown = true;
                SetActiveUnit(i);
                glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
                SetCombiner(false, v[uint32_t(StageState::ColorOp)], v[uint32_t(StageState::ColorArg1)],
                            v[uint32_t(StageState::ColorArg2)]);
                SetCombiner(true, v[uint32_t(StageState::AlphaOp)], v[uint32_t(StageState::AlphaArg1)],
                            v[uint32_t(StageState::AlphaArg2)]);
                if (v[uint32_t(StageState::TexCoordIndex)] & kTexCoordSphereMap) {
                    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
                    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
                    glEnable(GL_TEXTURE_GEN_S);
                    glEnable(GL_TEXTURE_GEN_T);
                } else {
                    glDisable(GL_TEXTURE_GEN_S);
                    glDisable(GL_TEXTURE_GEN_T);
                }
            }
        }
        if (s.textureMatrixDirty) {
            s.textureMatrixDirty = false;
            SetActiveUnit(i);
            SetMatrixMode(GL_TEXTURE);
            if (TextureTransform(s.states[uint32_t(StageState::TextureTransformFlags)]) ==
                TextureTransform::Count2) {
                // Two-coordinate transforms take their translation from the third row;
                // GL multiplies (s, t, 0, 1) and divides by q, so it goes to the fourth.
                const float* m = s.textureMatrix.m;
                const float gl[16] = {m[0], m[1], 0, 0, m[4], m[5], 0, 0, 0, 0, 1, 0, m[8], m[9], 0, 1};
                glLoadMatrixf(gl);
            } else {
                glLoadIdentity();
            }
        }
    }
    m_unitsEnabled = (1u << active) - 1u;
}

}  // namespace platform::gfx
