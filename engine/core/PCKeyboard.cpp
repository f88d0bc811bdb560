#include "engine/core/PCKeyboard.h"

#include <cstring>

#include "engine/core/AGVirtualKey.h"
#include "engine/core/PCInputCallbacks.h"
#include "engine/core/PCInputRecord.h"

bool PCKeyboard::QueryInterface(AGInterface* object) {
    auto* keyPad = dynamic_cast<AGIKeyPadDevice*>(object);
    if (!keyPad)
        return false;
    Served(keyPad);
    keyPad->Fill(this, IsKeyDown, WasKeyPressed, WasKeyReleased, TypedCharacters);
    return true;
}

void PCKeyboard::Poll() {
    if (PCInputCallbacks callbacks; callbacks.IsSet()) {
        for (u32 i = 0; i < kKeyboardCodeCount; ++i)
            if (g_inputRecord.IsKeyDownForPoll(kKeyboardTable[i]))
                callbacks.Raise(0, kFirstKeyboardCode + i, this);
        for (u32 kind = 1; kind <= 2; ++kind)
            for (u32 i = 0; i < kKeyboardCodeCount; ++i)
                if (g_inputRecord.IsKeyDownForPoll(kKeyboardTable[i]) && !WasSet(kKeyboardTable[i]))
                    callbacks.Raise(kind, kFirstKeyboardCode + i, this);
    }
    // A key pressed and released since the last poll counts as held at it, so that its
    // release is the next poll's edge.
    for (u32 i = 0; i < 32; ++i)
        m_previous[i] = u8(g_inputRecord.keys[i] | g_inputRecord.pressedKeys[i]);
    memset(g_inputRecord.pressedKeys, 0, sizeof g_inputRecord.pressedKeys);
    m_typedCount = g_inputRecord.TakeTyped(m_typed);
}

u32 PCKeyboard::TypedCharacters(AGDevice* device, const u16** units) {
    auto* keyboard = static_cast<PCKeyboard*>(device);
    if (units)
        *units = keyboard->m_typed;
    return keyboard->m_typedCount;
}

bool PCKeyboard::IsKeyDown(AGDevice* /*device*/, u32 vk) { return g_inputRecord.IsKeyDownForPoll(vk); }

bool PCKeyboard::WasKeyPressed(AGDevice* device, u32 vk) {
    return g_inputRecord.IsKeyDownForPoll(vk) && !static_cast<PCKeyboard*>(device)->WasSet(vk);
}

bool PCKeyboard::WasKeyReleased(AGDevice* device, u32 vk) {
    return !g_inputRecord.IsKeyDownForPoll(vk) && static_cast<PCKeyboard*>(device)->WasSet(vk);
}
