#include "engine/graphics/AGPrscAnimation.h"

#include "engine/core/AGLog.h"
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
    if (!AGReadAnimation(*buffer, inPlace, m_frameCount, m_frameRate, m_position, m_rotation, m_scale, m_color, m_uv)) {
        Clear();
        AGReport("2D animation 0x%08X: truncated or corrupt file, left empty.", NameId());
    }
}
