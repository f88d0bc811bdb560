#pragma once
// Window messages in the engine's terms. The backend translates whatever its system delivers
// into these, and the engine's run loop pumps and dispatches them as it would window messages.
#include <cstdint>

namespace platform::window {

enum class MessageKind : uint8_t {
    None,
    KeyDown,       // key: Windows virtual-key code (0x0D Enter, 0x41-0x5A letters, ...)
    KeyUp,         // key: as KeyDown
    Char,          // unit: one UTF-16 code unit of text input (a surrogate pair is two messages)
    MouseMove,     // x, y: client-area pixels, may be outside the client area while captured
    MouseLeave,    // the pointer left the client area (buttons are then considered released)
    ButtonDown,    // button, x, y
    ButtonUp,      // button, x, y
    Wheel,         // wheelDelta: 120 per notch, positive away from the user; x, y
    Activate,      // the window gained the focus
    Deactivate,    // the window lost the focus
    ModeSwitch,    // Alt+Enter: consumed as the accelerator, its KeyDown is never delivered
    CloseRequest,  // the user or Post asks to close; the engine may refuse and keep the window
    Destroy,       // the window is gone (Backend::Destroy); HasWindow() is already false
    Repaint,       // the system may have lost the window's picture (exposed, resized, restored)
    Quit,          // ends the run loop; never dispatched
    Terminate,     // the system ends the program (SIGINT, SIGTERM): the engine cannot refuse it
};

enum class MouseButton : uint8_t { Left, Right, Middle };

struct Message {
    MessageKind kind = MessageKind::None;
    uint32_t key = 0;
    char16_t unit = 0;
    MouseButton button = MouseButton::Left;
    int32_t x = 0;
    int32_t y = 0;
    int32_t wheelDelta = 0;
    bool alt = false;  // Alt was held (key messages)
};

}  // namespace platform::window
