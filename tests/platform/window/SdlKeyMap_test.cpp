#include "platform/window/SdlKeyMap.h"

#include <gtest/gtest.h>

using platform::window::VirtualKeyFromSdl;

namespace {

uint32_t Vk(SDL_Scancode scancode) { return VirtualKeyFromSdl(scancode, SDL_GetKeyFromScancode(scancode)); }

// Every key of the engine's table is checked against this map by the engine's tests.
TEST(SdlKeyMap, KeysWithoutACodeGiveZero) {
    EXPECT_EQ(Vk(SDL_SCANCODE_KP_ENTER), 13u);
    EXPECT_EQ(Vk(SDL_SCANCODE_VOLUMEUP), 0u);
    EXPECT_EQ(Vk(SDL_SCANCODE_UNKNOWN), 0u);
}

TEST(SdlKeyMap, BothSidesOfAModifierShareItsCode) {
    EXPECT_EQ(Vk(SDL_SCANCODE_LSHIFT), 16u);
    EXPECT_EQ(Vk(SDL_SCANCODE_RSHIFT), 16u);
    EXPECT_EQ(Vk(SDL_SCANCODE_LCTRL), 17u);
    EXPECT_EQ(Vk(SDL_SCANCODE_RCTRL), 17u);
    EXPECT_EQ(Vk(SDL_SCANCODE_LALT), 18u);
    EXPECT_EQ(Vk(SDL_SCANCODE_RALT), 18u);
    EXPECT_EQ(Vk(SDL_SCANCODE_LGUI), 91u);
    EXPECT_EQ(Vk(SDL_SCANCODE_RGUI), 92u);
}

TEST(SdlKeyMap, LettersFollowTheLayout) {
    EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_Q, SDLK_q), uint32_t('Q'));
    // The key in the US 'Q' place types 'a' on a French layout.
    EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_Q, SDLK_a), uint32_t('A'));
    // A non-letter keycode on a letter key falls back to the key's place.
    EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_M, SDLK_SEMICOLON), uint32_t('M'));
}

}  // namespace
