#include "engine/graphics/AGModelAnimation.h"

#include "engine/core/AGLog.h"
#include "engine/graphics/AGAnimated.h"

void AGModelAnimation::Clear() {
    m_position.Clear();
    m_rotation.Clear();
    m_scale.Clear();
    m_frameCount = 0.0f;
    m_frameRate = 0.0f;
}

void AGModelAnimation::Load(AGMemBuffer* buffer, u32, bool inPlace, bool) {
    Clear();
    if (!buffer)
        return;
    if (!AGReadAnimation(*buffer, inPlace, m_frameCount, m_frameRate, m_position, m_rotation, m_scale)) {
        Clear();
        AGReport("Model animation 0x%08X: truncated or corrupt file, left empty.", NameId());
    }
}
