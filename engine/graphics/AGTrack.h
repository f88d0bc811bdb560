#pragma once
// A keyframe track: ascending key times (u16 frame numbers, compared as signed) with one
// value per key, evaluated at a fractional frame. The key search is cached so that playing
// forward costs a comparison or two per evaluation.
//
// File record: u32 interpolation id, u32 key count N, N u16 times, 2 alignment bytes when N
// is odd, N values of sizeof(T) bytes.
#include <bit>
#include <type_traits>

#include "engine/core/AGTypes.h"
#include "engine/core/AGVec3.h"
#include "engine/core/Crc32Hash.h"
#include "engine/graphics/AGOwnedBuffer.h"
#include "engine/graphics/AGQuat.h"
#include "engine/graphics/AGUVKey.h"

class AGMemBuffer;

namespace AGInterpolation {
inline constexpr u32 Lerp = Crc32Hash("lerp");
inline constexpr u32 Step = Crc32Hash("step");
}  // namespace AGInterpolation

// A colour value: u32 ARGB.
using AGColor = u32;

template <typename T>
class AGTrack {
    static_assert(std::is_same_v<T, f32> || std::is_same_v<T, AGColor> ||
                  std::is_same_v<T, AGVec2> || std::is_same_v<T, AGVec3> ||
                  std::is_same_v<T, AGQuat> || std::is_same_v<T, AGUVKey>);
    static_assert(std::endian::native == std::endian::little);

public:
    // Bytes of one value in a file record.
    static constexpr u32 kValueSize = sizeof(T);

    AGTrack() = default;
    virtual ~AGTrack() = default;
    AGTrack(const AGTrack&) = default;
    AGTrack& operator=(const AGTrack&) = default;

    // Reads one record at the buffer's cursor and leaves the cursor after it. The arrays are
    // always copied out of the buffer (inPlace is accepted for the loaders' signature only:
    // package bytes may be freed right after a load). A truncated record, or one with more
    // keys than a u16 index can reach, leaves the track empty, sets the buffer's failure flag
    // and returns false.
    bool Read(AGMemBuffer& buffer, bool inPlace = false);

    // Replaces the keys (count entries of each array); the cache starts over.
    bool SetKeys(const u16* times, const T* values, u32 count);

    // Positions the track on the keys around time. False for an empty track. Times at or
    // before the first key give the first value, at or after the last key the last value;
    // equal key times blend 0.
    bool FindKeys(f32 time);

    // Writes the value at time into out; an empty track leaves out unchanged and returns
    // false. UV keys: the interpolation id "lerp" selects EvaluateLerp, any other id
    // EvaluateStep; every other type interpolates whatever its id.
    bool Evaluate(f32 time, T& out);

    // UV keys only: the current key as it stands, whatever the blend.
    bool EvaluateStep(f32 time, T& out)
        requires std::is_same_v<T, AGUVKey>;
    // UV keys only: the five f32 fields blended; the frame index is the current key's.
    bool EvaluateLerp(f32 time, T& out)
        requires std::is_same_v<T, AGUVKey>
    {
        return EvaluateBlended(time, out);
    }

    void Clear();

    u32 KeyCount() const { return m_times.Count(); }
    bool Empty() const { return m_times.Count() == 0; }
    const AGOwnedBuffer<u16>& Times() const { return m_times; }
    const AGOwnedBuffer<T>& Values() const { return m_values; }
    // The key time as a signed frame number.
    i32 KeyTime(u32 index) const { return i16(m_times[index]); }
    i32 LastKeyTime() const { return Empty() ? 0 : KeyTime(KeyCount() - 1); }
    u16 CurrentKey() const { return m_current; }
    u16 NextKey() const { return m_next; }
    f32 Blend() const { return m_blend; }
    u32 Interpolation() const { return m_interpolation; }
    void SetInterpolation(u32 id) { m_interpolation = id; }

private:
    bool EvaluateBlended(f32 time, T& out);

    AGOwnedBuffer<u16> m_times;
    AGOwnedBuffer<T> m_values;
    u16 m_current = 0;
    u16 m_next = 0;
    f32 m_blend = 0.0f;
    u32 m_interpolation = AGInterpolation::Lerp;
};

extern template class AGTrack<f32>;
extern template class AGTrack<AGColor>;
extern template class AGTrack<AGVec2>;
extern template class AGTrack<AGVec3>;
extern template class AGTrack<AGQuat>;
extern template class AGTrack<AGUVKey>;
