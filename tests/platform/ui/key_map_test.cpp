// SDL keys as virtual keys, the characters made from keys, and the shift state carried in the
// key data.
#include "platform/ui/KeyMap.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace {

TEST(KeyMap, SdlKeysBecomeTheirVirtualKeys) {
    const struct {
        SDL_Keycode sdl;
        uint16_t vk;
    } cases[] = {
        {SDLK_BACKSPACE, 8},    {SDLK_TAB, 9},       {SDLK_RETURN, 13},    {SDLK_KP_ENTER, 13},
        {SDLK_ESCAPE, 27},      {SDLK_SPACE, 32},    {SDLK_PAGEUP, 33},    {SDLK_PAGEDOWN, 34},
        {SDLK_END, 35},         {SDLK_HOME, 36},     {SDLK_LEFT, 37},      {SDLK_UP, 38},
        {SDLK_RIGHT, 39},       {SDLK_DOWN, 40},     {SDLK_INSERT, 45},    {SDLK_DELETE, 46},
        {SDLK_APPLICATION, 93}, {SDLK_KP_PLUS, 107}, {SDLK_KP_MINUS, 109}, {SDLK_a, 'A'},
        {SDLK_z, 'Z'},          {SDLK_0, '0'},       {SDLK_9, '9'},        {SDLK_F1, 112},
        {SDLK_F12, 123},        {SDLK_LSHIFT, 16},   {SDLK_RCTRL, 17},     {SDLK_LALT, 18},
        {SDLK_KP_0, 96},        {SDLK_KP_9, 105},    {SDLK_UNKNOWN, 0},    {SDLK_F13, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VirtualKeyOfSdlKey(c.sdl), c.vk) << SDL_GetKeyName(c.sdl);
}

TEST(KeyMap, KeysWithoutTextMakeTheirControlCharacters) {
    const struct {
        uint16_t vk;
        uint16_t mod;
        char16_t ch;
    } cases[] = {
        {VK_BACK, KMOD_NONE, 8},    {VK_TAB, KMOD_NONE, 9},
        {VK_RETURN, KMOD_NONE, 13}, {VK_ESCAPE, KMOD_NONE, 27},
        {'A', KMOD_LCTRL, 1},       {'C', KMOD_RCTRL, 3},
        {'V', KMOD_LCTRL, 22},      {'Z', KMOD_LCTRL, 26},
        {'V', KMOD_NONE, 0},        {'V', KMOD_LCTRL | KMOD_LALT, 0},
        {'5', KMOD_LCTRL, 0},       {VK_SPACE, KMOD_NONE, 0},
        {VK_LEFT, KMOD_LCTRL, 0},   {VK_RETURN, KMOD_LSHIFT, 13},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ControlCharacterOfKey(c.vk, c.mod), c.ch) << c.vk << " mod " << c.mod;
}

TEST(KeyMap, TheKeyDataCarriesTheModifiersOfTheEvent) {
    const struct {
        uint16_t mod;
        unsigned shift;
    } cases[] = {
        {KMOD_NONE, 0},
        {KMOD_LSHIFT, ssShift},
        {KMOD_RSHIFT | KMOD_CAPS, ssShift},
        {KMOD_LCTRL, ssCtrl},
        {KMOD_RALT, ssAlt},
        {KMOD_LSHIFT | KMOD_RCTRL | KMOD_LALT, ssShift | ssCtrl | ssAlt},
        {KMOD_NUM | KMOD_GUI, 0},
    };
    for (const auto& c : cases) {
        intptr_t data = KeyDataOfSdlMod(c.mod);
        EXPECT_EQ(data & 0xFFFF, 1) << "repeat count";
        EXPECT_EQ(KeyDataToShiftState(data), TShiftState(c.shift)) << c.mod;
    }
}

} // namespace
