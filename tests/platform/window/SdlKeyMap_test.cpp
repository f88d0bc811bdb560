#include "platform/window/SdlKeyMap.h"

#include <gtest/gtest.h>

using platform::window::VirtualKeyFromSdl;

namespace {

// The engine's tests check every key of its table against this map; these are the rules
// beyond a table lookup.
TEST(SdlKeyMap, LettersFollowTheLayoutAndBothSidesOfAModifierShareItsCode) {
    EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_Q, SDLK_q), uint32_t('Q'));
    // The key in the US 'Q' place types 'a' on a French layout.
    EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_Q, SDLK_a), uint32_t('A'));
    // A non-letter keycode on a letter key falls back to the key's place.
    EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_M, SDLK_SEMICOLON), uint32_t('M'));
    EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_RSHIFT, SDLK_RSHIFT), 16u);
    EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_RCTRL, SDLK_RCTRL), 17u);
    EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_RALT, SDLK_RALT), 18u);
    EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER), 13u);
    EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_VOLUMEUP, SDLK_VOLUMEUP), 0u);
}

}  // namespace
