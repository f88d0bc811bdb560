#pragma once
// The keyboard: the window procedure's current key table (PCInputRecord), with the keys pressed
// since the last poll counted as held, against the table as it was at the previous poll, so
// pressed and released are edges between two polls and a key tapped between them is seen once.
// Each poll also takes the characters typed since the one before.
#include "engine/core/AGDevice.h"
#include "engine/core/PCInputRecord.h"

class PCKeyboard : public AGDevice {
public:
    explicit PCKeyboard(u32 id = 0) : AGDevice(id) {}

    // Serves AGIKeyPadDevice, keyed by virtual-key code, with the typed characters.
    bool QueryInterface(AGInterface* object) override;
    // Raises the input callbacks for the keys of the engine's table, then makes the current
    // table the previous one and takes the typed characters.
    void Poll() override;
    void GetName(TString<char>& out) const override { out = "PCKeyboard"; }

    static bool IsKeyDown(AGDevice* device, u32 vk);
    static bool WasKeyPressed(AGDevice* device, u32 vk);
    static bool WasKeyReleased(AGDevice* device, u32 vk);
    static u32 TypedCharacters(AGDevice* device, const u16** units);

private:
    bool WasSet(u32 vk) const { return vk < 256 && (m_previous[vk >> 3] & (1u << (vk & 7))) != 0; }

    u8 m_previous[32] = {};
    u16 m_typed[PCInputRecord::kTypedCapacity] = {};
    u32 m_typedCount = 0;
};
