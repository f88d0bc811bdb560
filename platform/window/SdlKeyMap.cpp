#include "platform/window/SdlKeyMap.h"

namespace platform::window {

namespace {

uint32_t FromScancode(SDL_Scancode scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return 'A' + uint32_t(scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return '1' + uint32_t(scancode - SDL_SCANCODE_1);
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12)
        return 112 + uint32_t(scancode - SDL_SCANCODE_F1);
    if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24)
        return 124 + uint32_t(scancode - SDL_SCANCODE_F13);
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9)
        return 97 + uint32_t(scancode - SDL_SCANCODE_KP_1);
    switch (scancode) {
    case SDL_SCANCODE_0: return '0';
    case SDL_SCANCODE_RETURN: return 13;
    case SDL_SCANCODE_ESCAPE: return 27;
    case SDL_SCANCODE_BACKSPACE: return 8;
    case SDL_SCANCODE_TAB: return 9;
    case SDL_SCANCODE_SPACE: return 32;
    case SDL_SCANCODE_MINUS: return 189;
    case SDL_SCANCODE_EQUALS: return 187;
    case SDL_SCANCODE_LEFTBRACKET: return 219;
    case SDL_SCANCODE_RIGHTBRACKET: return 221;
    case SDL_SCANCODE_BACKSLASH: return 220;
    case SDL_SCANCODE_NONUSHASH: return 220;
    case SDL_SCANCODE_SEMICOLON: return 186;
    case SDL_SCANCODE_APOSTROPHE: return 222;
    case SDL_SCANCODE_GRAVE: return 192;
    case SDL_SCANCODE_COMMA: return 188;
    case SDL_SCANCODE_PERIOD: return 190;
    case SDL_SCANCODE_SLASH: return 191;
    case SDL_SCANCODE_NONUSBACKSLASH: return 226;
    case SDL_SCANCODE_CAPSLOCK: return 20;
    case SDL_SCANCODE_PRINTSCREEN: return 44;
    case SDL_SCANCODE_SCROLLLOCK: return 145;
    case SDL_SCANCODE_PAUSE: return 19;
    case SDL_SCANCODE_INSERT: return 45;
    case SDL_SCANCODE_HOME: return 36;
    case SDL_SCANCODE_PAGEUP: return 33;
    case SDL_SCANCODE_DELETE: return 46;
    case SDL_SCANCODE_END: return 35;
    case SDL_SCANCODE_PAGEDOWN: return 34;
    case SDL_SCANCODE_RIGHT: return 39;
    case SDL_SCANCODE_LEFT: return 37;
    case SDL_SCANCODE_DOWN: return 40;
    case SDL_SCANCODE_UP: return 38;
    case SDL_SCANCODE_NUMLOCKCLEAR: return 144;
    case SDL_SCANCODE_KP_DIVIDE: return 111;
    case SDL_SCANCODE_KP_MULTIPLY: return 106;
    case SDL_SCANCODE_KP_MINUS: return 109;
    case SDL_SCANCODE_KP_PLUS: return 107;
    case SDL_SCANCODE_KP_ENTER: return 13;
    case SDL_SCANCODE_KP_0: return 96;
    case SDL_SCANCODE_KP_PERIOD: return 110;
    case SDL_SCANCODE_APPLICATION: return 93;
    case SDL_SCANCODE_MENU: return 93;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL: return 17;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT: return 16;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT: return 18;
    case SDL_SCANCODE_LGUI: return 91;
    case SDL_SCANCODE_RGUI: return 92;
    default: return 0;
    }
}

}  // namespace

uint32_t VirtualKeyFromSdl(SDL_Scancode scancode, SDL_Keycode keycode) {
    if (keycode >= SDLK_a && keycode <= SDLK_z)
        return 'A' + uint32_t(keycode - SDLK_a);
    return FromScancode(scancode);
}

}  // namespace platform::window
