#include "engine/graphics/AGPrscAnimation.h"

#include "engine/core/AGLog.h"
#include "engine/core/AGMemBuffer.h"
#include "engine/graphics/AGAnimated.h"

void AGPrscAnimation::Clear() {
    m_position.Clear();
    m_rotation.Clear();
    m_scale.Clear();
    m_color.Clear();
    m_uv.Clear();
    m_frameCount = 0.0f;
    m_frameRate = 0.0f;
}

void AGPrscAnimation::Load(AGMemBuffer* buffer, u32, bool inPlace, bool) {
    Clear();
    if (!buffer)
        return;
    buffer->Skip(12);
    const f32 frameCount = buffer->ReadF32();
    const f32 frameRate = buffer->ReadF32();
    m_position.Read(*buffer, inPlace);
    m_rotation.Read(*buffer, inPlace);
    m_scale.Read(*buffer, inPlace);
    m_color.Read(*buffer, inPlace);
    m_uv.Read(*buffer, inPlace);
    if (buffer->Failed()) {
        Clear();
        AGReport("2D animation 0x%08X: truncated or corrupt file, left empty.", NameId());
        return;
    }
    m_frameCount = AGSafeFrameCount(frameCount);
    m_frameRate = AGSafeFrameRate(frameRate);
}
