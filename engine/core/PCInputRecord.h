#pragma once
// What the window procedure records of the user's input, read by the keyboard and mouse
// devices at each poll. One record for the process: there is one window.
#include "engine/core/AGTypes.h"

struct PCInputRecord {
    static constexpr u32 kTypedCapacity = 64;

    // Current key table: one bit per Windows virtual-key code, bit k in byte k >> 3.
    u8 keys[32];
    // Keys pressed since the last keyboard poll, released or not: a press and release between
    // two polls is still seen once, as a key held at that poll.
    u8 pressedKeys[32];
    // Characters typed since the last keyboard poll, as UTF-16 code units in typing order
    // (control characters 8, 9, 13, 27 included).
    u16 typed[kTypedCapacity];
    u32 typedCount;
    // Set once a character did not fit, so that the drop is reported once per poll.
    u8 typedOverflow;
    // Pointer position over the client area, 0.0 at the left/top edge to 1.0 at the
    // right/bottom pixel; always within [0, 1].
    f32 mouseX;
    f32 mouseY;
    u8 mouseInside;
    // Buttons held: 1 left, 2 middle, 4 right.
    u16 buttons;
    // Buttons pressed since the last mouse poll, released or not (as pressedKeys).
    u16 pressedButtons;
    // Sum of the wheel steps since the last mouse poll, 120 per notch.
    i16 wheelDelta;

    bool IsKeySet(u32 vk) const { return vk < 256 && (keys[vk >> 3] & (1u << (vk & 7))) != 0; }
    // Held now or pressed since the last keyboard poll.
    bool IsKeyDownForPoll(u32 vk) const {
        return vk < 256 && ((keys[vk >> 3] | pressedKeys[vk >> 3]) & (1u << (vk & 7))) != 0;
    }
    // A press also marks the key in pressedKeys.
    void SetKey(u32 vk, bool down);
    void PressButtons(u16 mask) {
        buttons |= mask;
        pressedButtons |= mask;
    }
    void ClearKeys();
    // Queues a typed character; beyond the capacity it is dropped (one log line per poll).
    void PushTyped(u16 unit);
    // Moves the queued characters to out (room for kTypedCapacity) and empties the queue.
    u32 TakeTyped(u16* out);
    // Adds wheel steps, saturating at the limits of the 16-bit sum.
    void AddWheel(i32 delta);
    // Clears the whole record.
    void Reset();
};

inline constexpr u16 kMouseLeft = 1;
inline constexpr u16 kMouseMiddle = 2;
inline constexpr u16 kMouseRight = 4;

extern PCInputRecord g_inputRecord;

// A pixel coordinate over a client extent as a fraction: pos / (extent - 1), with a divisor of
// at least 1 and the result clamped to [0, 1], so that a 1-pixel or minimised (0-pixel)
// client and a pointer captured outside the window still give a usable value.
f32 NormaliseMouseCoord(i32 pos, u32 extent);
