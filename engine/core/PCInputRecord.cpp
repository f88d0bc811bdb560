#include "engine/core/PCInputRecord.h"

#include <cstring>

#include "engine/core/AGLog.h"

PCInputRecord g_inputRecord{};

void PCInputRecord::SetKey(u32 vk, bool down) {
    if (vk >= 256)
        return;
    u8 mask = u8(1u << (vk & 7));
    if (down) {
        keys[vk >> 3] |= mask;
        pressedKeys[vk >> 3] |= mask;
    }
    else
        keys[vk >> 3] &= u8(~mask);
}

void PCInputRecord::ClearKeys() { memset(keys, 0, sizeof keys); }

void PCInputRecord::PushTyped(u16 unit) {
    if (typedCount < kTypedCapacity) {
        typed[typedCount++] = unit;
        return;
    }
    if (!typedOverflow)
        AGReport("More than %u characters typed in one tick; the rest are dropped", kTypedCapacity);
    typedOverflow = 1;
}

u32 PCInputRecord::TakeTyped(u16* out) {
    const u32 count = typedCount;
    memcpy(out, typed, count * sizeof(u16));
    typedCount = 0;
    typedOverflow = 0;
    return count;
}

void PCInputRecord::AddWheel(i32 delta) {
    i32 sum = i32(wheelDelta) + delta;
    if (sum > 32767)
        sum = 32767;
    else if (sum < -32768)
        sum = -32768;
    wheelDelta = i16(sum);
}

void PCInputRecord::Reset() { *this = PCInputRecord{}; }

f32 NormaliseMouseCoord(i32 pos, u32 extent) {
    f32 divisor = extent > 1 ? f32(extent - 1) : 1.0f;
    f32 value = f32(pos) / divisor;
    if (!(value > 0.0f))
        return 0.0f;
    return value > 1.0f ? 1.0f : value;
}
