#pragma once
// Engine key codes and their binding to a device. Codes: 0 the left mouse button (as 2),
// 1 F5 (as 23), 2-4 the left, middle and right mouse buttons, 18-117 the 100 keyboard keys
// of kKeyboardTable. Any other code binds nothing.
#include "engine/core/AGDevice.h"

// Virtual-key code of engine code 18 + i.
inline constexpr u8 kKeyboardTable[100] = {
    27,                                                            // Escape (18)
    112, 113, 114, 115, 116, 117, 118, 119, 120, 121, 122, 123,    // F1-F12
    44, 145, 19,                                                   // Print Screen, Scroll Lock, Pause
    45, 36, 46, 35, 33, 34,                                        // Insert, Home, Delete, End, Page Up/Down
    38, 37, 40, 39,                                                // Up, Left, Down, Right
    144, 111, 106, 109, 107, 110,                                  // Num Lock, numeric / * - + .
    96, 97, 98, 99, 100, 101, 102, 103, 104, 105,                  // numeric 0-9
    222,                                                           // quote
    49, 50, 51, 52, 53, 54, 55, 56, 57, 48,                        // 1-9, 0
    189, 187,                                                      // minus, plus
    8, 9, 20, 16, 17,                                              // Backspace, Tab, Caps Lock, Shift, Control
    91, 18, 32, 92, 93, 13,                                        // Windows, Alt, Space, Windows, Apps, Enter
    'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P',
    'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L',
    'Z', 'X', 'C', 'V', 'B', 'N', 'M',
    188, 190, 191, 186, 192, 219, 221, 220,                        // , . / ; ` [ ] backslash
};

inline constexpr u32 kFirstKeyboardCode = 18;
inline constexpr u32 kKeyboardCodeCount = 100;

// A key of a device, by engine key code. Holds one counted reference to the key-pad
// interface of the device that owns the code.
class AGVirtualKey : public AGObject {
public:
    AGVirtualKey() = default;
    AGVirtualKey(const AGVirtualKey&) = delete;
    AGVirtualKey& operator=(const AGVirtualKey&) = delete;
    ~AGVirtualKey() override;

    // Binds the code on the device with that id, through the device manager. A code outside
    // the table or a missing device leaves no interface and key 0.
    void SetKey(u32 code, u32 deviceId);

    // The device's own key: a virtual-key code or a mouse button bit.
    u32 Key() const { return m_key; }
    AGIKeyPadDevice* KeyPad() const { return m_keyPad; }

    bool IsDown() const { return m_keyPad && m_keyPad->IsDown(m_key); }
    bool WasPressed() const { return m_keyPad && m_keyPad->WasPressed(m_key); }
    bool WasReleased() const { return m_keyPad && m_keyPad->WasReleased(m_key); }

private:
    u32 m_key = 0;
    AGIKeyPadDevice* m_keyPad = nullptr;
};

// A pointer of a device. Holds one counted reference to the mouse interface.
class AGVirtualCursor : public AGObject {
public:
    AGVirtualCursor() = default;
    AGVirtualCursor(const AGVirtualCursor&) = delete;
    AGVirtualCursor& operator=(const AGVirtualCursor&) = delete;
    ~AGVirtualCursor() override;

    AGIMouseDevice* Mouse() const { return m_mouse; }
    // Takes a reference to the new interface (may be null) and drops the old one.
    void SetMouse(AGIMouseDevice* mouse);

private:
    AGIMouseDevice* m_mouse = nullptr;
};

// Binds the cursor to the pointer of the mouse with that id; no mouse leaves it unbound.
void CreateMouseDevice(AGVirtualCursor& owner, u32 deviceId);
