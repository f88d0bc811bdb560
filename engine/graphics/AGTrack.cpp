#include "engine/graphics/AGTrack.h"

#include <cmath>
#include <cstring>

#include "engine/core/AGMemBuffer.h"

namespace {

void BlendInto(f32& out, const f32& to, f32 t) {
    out = out + (to - out) * t;
}

// Each 8-bit channel moves by the fraction and is truncated toward zero.
void BlendInto(AGColor& out, const AGColor& to, f32 t) {
    AGColor result = 0;
    for (u32 shift = 0; shift < 32; shift += 8) {
        const f32 a = f32((out >> shift) & 0xFFu);
        const f32 b = f32((to >> shift) & 0xFFu);
        f32 c = a + (b - a) * t;
        c = c < 0.0f ? 0.0f : (c > 255.0f ? 255.0f : c);
        result |= AGColor(u32(c)) << shift;
    }
    out = result;
}

void BlendInto(AGVec2& out, const AGVec2& to, f32 t) {
    out.x += (to.x - out.x) * t;
    out.y += (to.y - out.y) * t;
}

void BlendInto(AGVec3& out, const AGVec3& to, f32 t) {
    out.x += (to.x - out.x) * t;
    out.y += (to.y - out.y) * t;
    out.z += (to.z - out.z) * t;
}

void BlendInto(AGQuat& out, const AGQuat& to, f32 t) {
    AGQuat::Slerp(out, to, t);
}

void BlendInto(AGUVKey& out, const AGUVKey& to, f32 t) {
    out.scaleU += (to.scaleU - out.scaleU) * t;
    out.scaleV += (to.scaleV - out.scaleV) * t;
    out.offsetU += (to.offsetU - out.offsetU) * t;
    out.offsetV += (to.offsetV - out.offsetV) * t;
    out.rotation += (to.rotation - out.rotation) * t;
}

}  // namespace

template <typename T>
void AGTrack<T>::Clear() {
    m_times.Release();
    m_values.Release();
    m_current = 0;
    m_next = 0;
    m_blend = 0.0f;
}

template <typename T>
bool AGTrack<T>::Read(AGMemBuffer& buffer, bool /*inPlace*/) {
    Clear();
    const u32 interpolation = buffer.ReadU32();
    const u32 count = buffer.ReadU32();
    if (buffer.Failed())
        return false;
    const u64 timeBytes = u64(count) * 2 + ((count & 1) ? 2 : 0);
    const u64 bytes = timeBytes + u64(count) * kValueSize;
    if (count > 0xFFFFu || bytes > buffer.Remaining()) {
        buffer.SetFailed();
        return false;
    }
    m_interpolation = interpolation;
    if (count == 0)
        return true;
    if (!m_times.Resize(count) || !m_values.Resize(count)) {
        Clear();
        buffer.SetFailed();
        return false;
    }
    std::memcpy(m_times.Data(), buffer.Take(u32(timeBytes)), size_t(count) * 2);
    std::memcpy(static_cast<void*>(m_values.Data()), buffer.Take(count * kValueSize),
                size_t(count) * kValueSize);
    return true;
}

template <typename T>
bool AGTrack<T>::SetKeys(const u16* times, const T* values, u32 count) {
    Clear();
    if (count == 0 || !times || !values)
        return true;
    if (count > 0xFFFFu || !m_times.Resize(count) || !m_values.Resize(count)) {
        Clear();
        return false;
    }
    for (u32 i = 0; i < count; ++i) {
        m_times[i] = times[i];
        m_values[i] = values[i];
    }
    return true;
}

template <typename T>
bool AGTrack<T>::FindKeys(f32 time) {
    const u32 n = m_times.Count();
    if (n == 0)
        return false;
    m_blend = 0.0f;
    if (n == 1) {
        m_current = m_next = 0;
        return true;
    }
    const i32 first = KeyTime(0);
    const i32 last = KeyTime(n - 1);
    // Before the first key (or NaN): the first value; at or after the last: the last value.
    if (!(time > f32(first))) {
        m_current = 0;
        m_next = 1;
        return true;
    }
    if (time >= f32(last)) {
        m_current = u16(n - 1);
        m_next = 0;
        return true;
    }
    // Here first < time < last, so the frame fits a signed 16-bit value.
    const i32 frame = i32(time);
    if (m_current >= n || frame < KeyTime(m_current))
        m_current = 0;
    if (frame != KeyTime(m_current)) {
        for (;;) {
            if (m_current == n - 1) {
                m_current = 0;
                break;
            }
            if (KeyTime(m_current) < frame && frame < KeyTime(m_current + 1u))
                break;
            ++m_current;
            if (frame == KeyTime(m_current))
                break;
        }
    }
    if (m_current == n - 1) {
        m_next = 0;
        return true;
    }
    m_next = u16(m_current + 1);
    const i32 span = KeyTime(m_next) - KeyTime(m_current);
    if (span != 0) {
        const f32 blend = (time - f32(KeyTime(m_current))) / f32(span);
        // Only out-of-order keys (a corrupt file) can leave the unit range.
        m_blend = blend < 0.0f ? 0.0f : (blend > 1.0f ? 1.0f : blend);
    }
    return true;
}

template <typename T>
bool AGTrack<T>::Evaluate(f32 time, T& out) {
    if constexpr (std::is_same_v<T, AGUVKey>) {
        if (m_interpolation != AGInterpolation::Lerp)
            return EvaluateStep(time, out);
    }
    return EvaluateBlended(time, out);
}

template <typename T>
bool AGTrack<T>::EvaluateBlended(f32 time, T& out) {
    if (!FindKeys(time))
        return false;
    out = m_values[m_current];
    if (m_blend != 0.0f)
        BlendInto(out, m_values[m_next], m_blend);
    return true;
}

template <typename T>
bool AGTrack<T>::EvaluateStep(f32 time, T& out)
    requires std::is_same_v<T, AGUVKey>
{
    if (!FindKeys(time))
        return false;
    out = m_values[m_current];
    return true;
}

template class AGTrack<f32>;
template class AGTrack<AGColor>;
template class AGTrack<AGVec2>;
template class AGTrack<AGVec3>;
template class AGTrack<AGQuat>;
template class AGTrack<AGUVKey>;
