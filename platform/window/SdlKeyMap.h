#pragma once
// Keys as Windows virtual-key codes. Letters follow the keyboard layout (the key that types
// 'A' is 'A'), as Windows does; every other key follows its position on a US keyboard.
// Left and right Shift, Control and Alt give the shared codes 16, 17 and 18.
#include <SDL.h>

#include <cstdint>

namespace platform::window {

// 0 for a key without a virtual-key code.
uint32_t VirtualKeyFromSdl(SDL_Scancode scancode, SDL_Keycode keycode);

}  // namespace platform::window
