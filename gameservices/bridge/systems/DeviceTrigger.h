#pragma once
// The device triggers: what one trigger description of an action binds to the engine's
// virtual keys and cursors, and the words of the action files that describe them.
#include <map>
#include <vector>

#include "engine/core/AGVirtualKey.h"
#include "gameservices/bridge/IDeviceSystem.h"

namespace GameServices::Bridge {

// State filters of key triggers.
enum StateFilter : u32 { kStateNone = 0, kStatePress = 1, kStateRelease = 2 };
// Axes of move, rotation and acceleration triggers.
enum Axis : u32 {
    kAxisNone = 0,
    kAxisUp = 1,
    kAxisDown = 2,
    kAxisLeft = 3,
    kAxisRight = 4,
    kAxisForward = 5,
    kAxisBack = 6,
    kAxisAll = 7,
};

// "press", "release" or "none" in any letter case; other non-empty words are reported and
// count as none.
u32 ParseStateFilter(const TString<char>& word);
// "axis-up" .. "axis-all" (the forward axis spelled "axis-foward") in any letter case;
// anything else is kAxisNone.
u32 ParseAxis(const TString<char>& word);

// Key names of the action files to engine key codes, by name id of the lower-cased name.
class KeyNameTable {
public:
    static constexpr u32 kBuiltInNames = 107;

    // Fills the built-in names once.
    void Build();
    // The code of the name; an unknown name gets code 0 (the default key, the left mouse
    // button) and is added with it.
    i32 CodeOf(const TString<char>& name);
    // True for a name of the built-in table, in any letter case.
    static bool IsBuiltIn(const TString<char>& name);
    // The character a built-in key types, lower-case: the space bar, the digits and the
    // letters; 0 for any other code.
    static char CharacterOf(i32 code);
    size_t Count() const { return m_Codes.size(); }

private:
    std::map<u32, i32> m_Codes;
};

class DeviceTriggerKey : public DeviceTrigger {
public:
    DeviceTriggerKey() { m_Keys.reserve(4); }
    ~DeviceTriggerKey() override { ClearKeys(); }
    DeviceTriggerKey(const DeviceTriggerKey&) = delete;
    DeviceTriggerKey& operator=(const DeviceTriggerKey&) = delete;

    // Deletes the virtual keys and their latch bits.
    void ClearKeys();

    u32 m_StateFilter = kStateNone;
    std::vector<AGVirtualKey*> m_Keys;
    i32 m_KeyCode = 0;
    // One per virtual key.
    std::vector<bool> m_Latch;
};

class DeviceTriggerMove : public DeviceTrigger {
public:
    DeviceTriggerMove() = default;
    ~DeviceTriggerMove() override { ClearCursors(); }
    DeviceTriggerMove(const DeviceTriggerMove&) = delete;
    DeviceTriggerMove& operator=(const DeviceTriggerMove&) = delete;

    void ClearCursors();

    std::vector<AGVirtualCursor*> m_Cursors;
    u32 m_Axis = kAxisNone;
};

class DeviceTriggerAccel : public DeviceTriggerMove {
public:
    f32 m_Minimum = 0.0f;
    f32 m_Maximum = 0.0f;
};

}  // namespace GameServices::Bridge
