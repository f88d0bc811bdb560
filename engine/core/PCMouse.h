#pragma once
// The mouse: button edges between two polls (a button pressed and released between them is
// down for one poll), the pointer position and the wheel sum, all from the window procedure's
// input record (PCInputRecord).
#include "engine/core/AGDevice.h"

class PCMouse : public AGDevice {
public:
    explicit PCMouse(u32 id = 0) : AGDevice(id) {}

    // Serves AGIMouseDevice (pointer) and AGIKeyPadDevice (buttons, keyed by button bit).
    bool QueryInterface(AGInterface* object) override;
    // Takes the buttons' edges, resets the wheel sum and raises the input callbacks.
    void Poll() override;
    void GetName(TString<char>& out) const override { out = "PCMouse"; }

    u16 Current() const { return m_current; }
    u16 Pressed() const { return m_pressed; }
    u16 Released() const { return m_released; }

    static bool IsButtonDown(AGDevice* device, u32 mask);
    static bool WasButtonPressed(AGDevice* device, u32 mask);
    static bool WasButtonReleased(AGDevice* device, u32 mask);
    static void GetPosition(AGDevice* device, f32* x, f32* y);
    static bool IsInside(AGDevice* device);

private:
    u16 m_current = 0;
    u16 m_pressed = 0;
    u16 m_released = 0;
};
