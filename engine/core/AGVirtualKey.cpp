#include "engine/core/AGVirtualKey.h"

#include "engine/core/AGDeviceManager.h"

namespace {

AGDevice* FindDevice(bool keyboard, u32 deviceId) {
    AGDeviceManager* manager = AGDeviceManager::Get();
    AGDeviceManagerImpl* impl = manager ? manager->Impl() : nullptr;
    if (!impl)
        return nullptr;
    return keyboard ? impl->FindKeyboard(deviceId) : impl->FindMouse(deviceId);
}

}  // namespace

AGVirtualKey::~AGVirtualKey() {
    if (m_keyPad)
        m_keyPad->Release();
}

void AGVirtualKey::SetKey(u32 code, u32 deviceId) {
    if (code == 0)
        code = 2;
    else if (code == 1)
        code = 23;

    AGIKeyPadDevice* keyPad = nullptr;
    u32 key = 0;
    AGDevice* device = nullptr;
    if (code >= kFirstKeyboardCode && code < kFirstKeyboardCode + kKeyboardCodeCount) {
        device = FindDevice(true, deviceId);
        key = kKeyboardTable[code - kFirstKeyboardCode];
    } else if (code >= 2 && code <= 4) {
        device = FindDevice(false, deviceId);
        key = 1u << (code - 2);
    }
    if (device) {
        keyPad = new AGIKeyPadDevice;
        if (!device->QueryInterface(keyPad)) {
            delete keyPad;
            keyPad = nullptr;
        }
    }
    if (!keyPad)
        key = 0;

    if (keyPad)
        keyPad->AddRef();
    if (m_keyPad)
        m_keyPad->Release();
    m_keyPad = keyPad;
    m_key = key;
}

AGVirtualCursor::~AGVirtualCursor() { SetMouse(nullptr); }

void AGVirtualCursor::SetMouse(AGIMouseDevice* mouse) {
    if (mouse)
        mouse->AddRef();
    if (m_mouse)
        m_mouse->Release();
    m_mouse = mouse;
}

void CreateMouseDevice(AGVirtualCursor& owner, u32 deviceId) {
    AGIMouseDevice* mouse = nullptr;
    if (AGDevice* device = FindDevice(false, deviceId)) {
        mouse = new AGIMouseDevice;
        if (!device->QueryInterface(mouse)) {
            delete mouse;
            mouse = nullptr;
        }
    }
    owner.SetMouse(mouse);
}
