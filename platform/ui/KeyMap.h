// SDL's keys as the class library's key messages carry them: virtual-key codes, the control
// characters SDL never sends as text, and the shift state packed into the key data.
#pragma once

#include "platform/ui/Input.h"

#include <cstdint>

// The virtual key of an SDL key code (SDL_Keycode); 0 for keys without one.
uint16_t VirtualKeyOfSdlKey(int32_t key);
// The character a key makes by itself where SDL's text input gives none: Backspace, Tab,
// Return, Escape and Ctrl+letter (1 to 26); 0 for every other key. `sdlMod` is SDL's modifier
// state of the key event.
char16_t ControlCharacterOfKey(uint16_t vk, uint16_t sdlMod);
// The lParam of a key or character message made under SDL's modifier state `sdlMod` (repeat
// count 1; KeyDataToShiftState reads it back).
intptr_t KeyDataOfSdlMod(uint16_t sdlMod);
