#include "engine/core/PCMouse.h"

#include "engine/core/PCInputCallbacks.h"
#include "engine/core/PCInputRecord.h"

bool PCMouse::QueryInterface(AGInterface* object) {
    if (auto* pointer = dynamic_cast<AGIMouseDevice*>(object)) {
        Served(pointer);
        pointer->Fill(this, GetPosition, IsInside);
        return true;
    }
    if (auto* keyPad = dynamic_cast<AGIKeyPadDevice*>(object)) {
        Served(keyPad);
        keyPad->Fill(this, IsButtonDown, WasButtonPressed, WasButtonReleased);
        return true;
    }
    return false;
}

void PCMouse::Poll() {
    // A button pressed and released since the last poll is down for this one.
    u16 now = u16(g_inputRecord.buttons | g_inputRecord.pressedButtons);
    g_inputRecord.pressedButtons = 0;
    m_released = u16(m_current & ~now);
    m_pressed = u16(now & ~m_current);
    m_current = now;
    g_inputRecord.wheelDelta = 0;

    if (PCInputCallbacks callbacks; callbacks.IsSet()) {
        for (u32 i = 0; i < 3; ++i)
            if (m_current & (1u << i))
                callbacks.Raise(0, 2 + i, this);
        for (u32 kind = 1; kind <= 2; ++kind)
            for (u32 i = 0; i < 3; ++i)
                if (m_pressed & (1u << i))
                    callbacks.Raise(kind, 2 + i, this);
    }
}

bool PCMouse::IsButtonDown(AGDevice* device, u32 mask) {
    return (static_cast<PCMouse*>(device)->m_current & mask) != 0;
}

bool PCMouse::WasButtonPressed(AGDevice* device, u32 mask) {
    return (static_cast<PCMouse*>(device)->m_pressed & mask) != 0;
}

bool PCMouse::WasButtonReleased(AGDevice* device, u32 mask) {
    return (static_cast<PCMouse*>(device)->m_released & mask) != 0;
}

void PCMouse::GetPosition(AGDevice* /*device*/, f32* x, f32* y) {
    if (!g_inputRecord.mouseInside)
        return;
    if (x)
        *x = g_inputRecord.mouseX;
    if (y)
        *y = g_inputRecord.mouseY;
}

bool PCMouse::IsInside(AGDevice* /*device*/) { return g_inputRecord.mouseInside != 0; }
