#include "platform/window/SdlKeyMap.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

using platform::window::VirtualKeyFromSdl;

namespace {

// Every key of the engine's key table, and the other keys a virtual key exists for, from
// the key's place on a US layout.
TEST(SdlKeyMap, EveryKeyOfTheEnginesTableHasItsVirtualKey) {
    std::vector<std::pair<SDL_Scancode, uint32_t>> keys = {  // the key and its virtual key
        {SDL_SCANCODE_ESCAPE, 27},       {SDL_SCANCODE_PRINTSCREEN, 44},  {SDL_SCANCODE_SCROLLLOCK, 145},
        {SDL_SCANCODE_PAUSE, 19},        {SDL_SCANCODE_INSERT, 45},       {SDL_SCANCODE_HOME, 36},
        {SDL_SCANCODE_DELETE, 46},       {SDL_SCANCODE_END, 35},          {SDL_SCANCODE_PAGEUP, 33},
        {SDL_SCANCODE_PAGEDOWN, 34},     {SDL_SCANCODE_UP, 38},           {SDL_SCANCODE_LEFT, 37},
        {SDL_SCANCODE_DOWN, 40},         {SDL_SCANCODE_RIGHT, 39},        {SDL_SCANCODE_NUMLOCKCLEAR, 144},
        {SDL_SCANCODE_KP_DIVIDE, 111},   {SDL_SCANCODE_KP_MULTIPLY, 106}, {SDL_SCANCODE_KP_MINUS, 109},
        {SDL_SCANCODE_KP_PLUS, 107},     {SDL_SCANCODE_KP_PERIOD, 110},   {SDL_SCANCODE_KP_0, 96},
        {SDL_SCANCODE_APOSTROPHE, 222},  {SDL_SCANCODE_0, '0'},           {SDL_SCANCODE_MINUS, 189},
        {SDL_SCANCODE_EQUALS, 187},      {SDL_SCANCODE_BACKSPACE, 8},     {SDL_SCANCODE_TAB, 9},
        {SDL_SCANCODE_CAPSLOCK, 20},     {SDL_SCANCODE_LSHIFT, 16},       {SDL_SCANCODE_LCTRL, 17},
        {SDL_SCANCODE_LGUI, 91},         {SDL_SCANCODE_LALT, 18},         {SDL_SCANCODE_SPACE, 32},
        {SDL_SCANCODE_RGUI, 92},         {SDL_SCANCODE_APPLICATION, 93},  {SDL_SCANCODE_MENU, 93},
        {SDL_SCANCODE_RETURN, 13},       {SDL_SCANCODE_COMMA, 188},       {SDL_SCANCODE_PERIOD, 190},
        {SDL_SCANCODE_SLASH, 191},       {SDL_SCANCODE_SEMICOLON, 186},   {SDL_SCANCODE_GRAVE, 192},
        {SDL_SCANCODE_LEFTBRACKET, 219}, {SDL_SCANCODE_RIGHTBRACKET, 221}, {SDL_SCANCODE_BACKSLASH, 220},
        {SDL_SCANCODE_NONUSHASH, 220},   {SDL_SCANCODE_NONUSBACKSLASH, 226},
    };
    // Keys in runs: the first, its virtual key, and how many follow on from both.
    for (auto [first, vk, count] : {std::tuple{SDL_SCANCODE_F1, 112, 12}, {SDL_SCANCODE_F13, 124, 12},
                                    {SDL_SCANCODE_1, int('1'), 9}, {SDL_SCANCODE_KP_1, 97, 9}, {SDL_SCANCODE_A, int('A'), 26}})
        for (int i = 0; i < count; ++i)
            keys.push_back({SDL_Scancode(first + i), uint32_t(vk + i)});
    for (auto [scancode, vk] : keys)
        EXPECT_EQ(VirtualKeyFromSdl(scancode, SDL_GetKeyFromScancode(scancode)), vk) << scancode;
    // Letters follow the layout (the key in the US 'Q' place types 'a' on a French one); a
    // non-letter keycode on a letter key falls back to the key's place.
    EXPECT_EQ(std::vector({VirtualKeyFromSdl(SDL_SCANCODE_Q, SDLK_a), VirtualKeyFromSdl(SDL_SCANCODE_Y, SDLK_z),
                           VirtualKeyFromSdl(SDL_SCANCODE_M, SDLK_SEMICOLON)}), (std::vector<uint32_t>{'A', 'Z', 'M'}));
}

}  // namespace
