#include "engine/graphics/AGLight.h"

#include "engine/core/AGLog.h"
#include "engine/core/AGMemBuffer.h"

void AGLight::Load(AGMemBuffer* buffer, u32, bool, bool) {
    if (buffer) {
        AGMemBuffer& b = *buffer;
        b.Skip(12);
        if (!b.CanRead(140)) {
            AGReport("Light 0x%08X: truncated file, left as built.", NameId());
        } else {
            for (f32& v : m_transform)
                v = b.ReadF32();
            m_valueE = b.ReadU32();
            m_kind = b.ReadU32();
            m_valueA = b.ReadF32();
            m_innerCone = b.ReadF32();
            m_outerCone = b.ReadF32();
            m_range = b.ReadF32();
            m_position = {b.ReadF32(), b.ReadF32(), b.ReadF32()};
            m_direction = {b.ReadF32(), b.ReadF32(), b.ReadF32()};
            m_valueB = b.ReadF32();
            m_diffuse = b.ReadU32();
            m_ambient = b.ReadU32();
            m_specular = b.ReadU32();
            m_valueC = b.ReadF32();
            m_valueD = b.ReadF32();
            m_valueF = b.ReadU32();
        }
    }
    BuildDeviceLight();
}
