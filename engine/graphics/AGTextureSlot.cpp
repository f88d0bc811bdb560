#include "engine/graphics/AGTextureSlot.h"

#include <cmath>

#include "engine/core/AGLog.h"
#include "engine/core/AGMemBuffer.h"
#include "engine/graphics/AGResourceHolds.h"
#include "engine/graphics/PCTexture.h"
#include "platform/gfx/GfxMath.h"

using platform::gfx::Matrix;
using platform::gfx::MatrixIdentity;
using platform::gfx::MatrixMultiply;

AGTextureSlot::AGTextureSlot(const AGTextureSlot& other)
    : AGResource(other), AGAnimated(other), m_uvTrack(other.m_uvTrack) {
    TakeTextures(other.m_textureIds.Data(), other.m_textureIds.Count(), 0, false);
    if (other.m_currentFrame < m_textures.Count()) {
        m_currentFrame = other.m_currentFrame;
        m_currentTexture = m_textures[m_currentFrame];
    }
}

void AGTextureSlot::TakeTextures(const u32* ids, u32 count, u32 a, bool inPlace) {
    ReleaseTextures();
    if (!AGTakeAll(TypeKey::Texture, ids, count, true, a, inPlace, m_textureIds, m_textures))
        return;
    m_currentFrame = 0;
    m_currentTexture = m_textures[0];
}

void AGTextureSlot::ReleaseTextures() {
    AGGiveBackAll(TypeKey::Texture, m_textureIds, m_textures);
    m_currentFrame = 0;
    m_currentTexture = nullptr;
}

void AGTextureSlot::BorrowTexture(PCTexture* texture) {
    ReleaseTextures();
    if (!texture || !m_textures.Resize(1) || !m_textureIds.Resize(1)) {
        m_textures.Release();
        m_textureIds.Release();
        return;
    }
    m_textures[0] = texture;
    m_textureIds[0] = 0;
    m_currentFrame = 0;
    m_currentTexture = texture;
}

void AGTextureSlot::ForgetTexture(const PCTexture* texture) {
    if (!texture)
        return;
    for (PCTexture*& held : m_textures)
        if (held == texture)
            held = nullptr;
    if (m_currentTexture == texture)
        m_currentTexture = nullptr;
}

void AGTextureSlot::Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool) {
    ReleaseTextures();
    m_uvTrack.Clear();
    if (!buffer)
        return;
    AGMemBuffer& b = *buffer;
    b.Skip(12);
    AGOwnedBuffer<u32> ids;
    AGReadNameIds(b, b.ReadU32(), ids);
    const u32 ownController = b.ReadU32();
    f32 frameCount = 1.0f, speed = 1.0f, frameRate = 30.0f;
    if (ownController != 0) {
        frameCount = f32(b.ReadU32());
        speed = b.ReadF32();
        frameRate = b.ReadF32();
    }
    if (!b.Failed())
        m_uvTrack.Read(b, inPlace);
    if (b.Failed()) {
        m_uvTrack.Clear();
        AGReport("Texture slot 0x%08X: truncated or corrupt file, left empty.", NameId());
        return;
    }
    TakeTextures(ids.Data(), ids.Count(), a, inPlace);
    if (ownController != 0) {
        EnsureController();
        AGController& c = *m_owned;
        frameCount = AGSafeFrameCount(frameCount);
        c.SetRange(0.0f, frameCount - 1.0f);
        c.SetEndTime(frameCount * c.GetFrameDuration());
        c.SetSpeed(speed);
        c.SetFrameRate(AGSafeFrameRate(frameRate));
        c.SetMode(AGController::kLoop);
        m_current = m_owned;
    }
}

void AGTextureSlot::Update(u32 stage) {
    auto bind = [this, stage](const Matrix* transform) {
        if (!m_currentTexture) {
            PCTexture::ResetStage(stage);
            PCTexture::Unbind(stage);
            return;
        }
        if (transform)
            PCTexture::SetStageTransform(stage, *transform);
        else
            PCTexture::ResetStage(stage);
        m_currentTexture->Bind(stage);
    };
    if (m_uvTrack.Empty()) {
        bind(nullptr);
        return;
    }
    const f32 t = m_current ? m_current->GetOutput() : 0.0f;
    AGUVKey key;
    if (m_uvTrack.Interpolation() == AGInterpolation::Lerp) {
        m_uvTrack.EvaluateLerp(t, key);
    } else {
        m_uvTrack.EvaluateStep(t, key);
        if (m_textures.Count() > 1 && key.frame < m_textures.Count()) {
            m_currentFrame = key.frame;
            m_currentTexture = m_textures[key.frame];
        }
    }
    if (key.offsetU == 0.0f && key.offsetV == 0.0f && key.scaleU == 1.0f && key.scaleV == 1.0f &&
        key.rotation == 0.0f) {
        bind(nullptr);
        return;
    }
    const Matrix m = BuildUVMatrix(key);
    bind(&m);
}

Matrix AGTextureSlot::BuildUVMatrix(const AGUVKey& key) {
    constexpr f32 kPi = 3.1415927f;
    constexpr f32 kTwoPi = 6.2831855f;
    f32 a = key.rotation;
    if (!std::isfinite(a))
        a = 0.0f;
    else if (std::fabs(a) > kPi)
        a = std::remainder(a, kTwoPi);  // the same angle as repeated steps of 2 pi
    Matrix t1 = MatrixIdentity();
    t1.m[12] = -0.5f - key.offsetU;
    t1.m[13] = key.offsetV - 0.5f;
    Matrix r = MatrixIdentity();
    const f32 c = std::cos(-a), s = std::sin(-a);
    r.m[0] = c;
    r.m[1] = s;
    r.m[4] = -s;
    r.m[5] = c;
    Matrix scale = MatrixIdentity();
    scale.m[0] = key.scaleU;
    scale.m[5] = key.scaleV;
    Matrix t2 = MatrixIdentity();
    t2.m[12] = 0.5f;
    t2.m[13] = 0.5f;
    return MatrixMultiply(MatrixMultiply(MatrixMultiply(t1, r), scale), t2);
}
