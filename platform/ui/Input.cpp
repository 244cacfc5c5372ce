#include "platform/ui/Input.h"

#include "platform/ui/Messages.h"
#include "platform/ui/SdlVideo.h"

#include <SDL.h>

int16_t GetKeyState(int virtualKey) {
    if (!VideoStarted())
        return 0;
    constexpr int16_t down = static_cast<int16_t>(0x8000);
    SDL_Keymod mod = SDL_GetModState();
    Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
    switch (virtualKey) {
    case VK_SHIFT:
        return (mod & KMOD_SHIFT) ? down : 0;
    case VK_CONTROL:
        return (mod & KMOD_CTRL) ? down : 0;
    case VK_MENU:
        return (mod & KMOD_ALT) ? down : 0;
    case VK_CAPITAL:
        return (mod & KMOD_CAPS) ? 1 : 0;
    case VK_NUMLOCK:
        return (mod & KMOD_NUM) ? 1 : 0;
    case VK_LBUTTON:
        return (buttons & SDL_BUTTON_LMASK) ? down : 0;
    case VK_RBUTTON:
        return (buttons & SDL_BUTTON_RMASK) ? down : 0;
    case VK_MBUTTON:
        return (buttons & SDL_BUTTON_MMASK) ? down : 0;
    default:
        break;
    }
    int count = 0;
    const Uint8* keys = SDL_GetKeyboardState(&count);
    SDL_Scancode code = SDL_SCANCODE_UNKNOWN;
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        code = SDL_GetScancodeFromKey(SDLK_a + (virtualKey - 'A'));
    else if (virtualKey >= '0' && virtualKey <= '9')
        code = SDL_GetScancodeFromKey(SDLK_0 + (virtualKey - '0'));
    else if (virtualKey == VK_ESCAPE)
        code = SDL_SCANCODE_ESCAPE;
    else if (virtualKey == VK_RETURN)
        code = SDL_SCANCODE_RETURN;
    else if (virtualKey == VK_SPACE)
        code = SDL_SCANCODE_SPACE;
    if (code > 0 && code < count && keys[code])
        return down;
    return 0;
}

TShiftState CurrentShiftState() {
    if (!VideoStarted())
        return {};
    TShiftState state;
    SDL_Keymod mod = SDL_GetModState();
    if (mod & KMOD_SHIFT)
        state.Bits |= ssShift;
    if (mod & KMOD_CTRL)
        state.Bits |= ssCtrl;
    if (mod & KMOD_ALT)
        state.Bits |= ssAlt;
    Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
    if (buttons & SDL_BUTTON_LMASK)
        state.Bits |= ssLeft;
    if (buttons & SDL_BUTTON_RMASK)
        state.Bits |= ssRight;
    if (buttons & SDL_BUTTON_MMASK)
        state.Bits |= ssMiddle;
    return state;
}

TShiftState ShiftStateOfMouseKeys(uintptr_t mouseKeys) {
    TShiftState state;
    if (mouseKeys & MK_SHIFT)
        state.Bits |= ssShift;
    if (mouseKeys & MK_CONTROL)
        state.Bits |= ssCtrl;
    if (mouseKeys & MK_LBUTTON)
        state.Bits |= ssLeft;
    if (mouseKeys & MK_RBUTTON)
        state.Bits |= ssRight;
    if (mouseKeys & MK_MBUTTON)
        state.Bits |= ssMiddle;
    if (VideoStarted() && (SDL_GetModState() & KMOD_ALT))
        state.Bits |= ssAlt;
    return state;
}

TShiftState KeyDataToShiftState(intptr_t keyData) {
    const auto data = static_cast<uintptr_t>(keyData);
    TShiftState state;
    if (data & KF_SHIFTSTATE_SHIFT)
        state.Bits |= ssShift;
    if (data & KF_SHIFTSTATE_CTRL)
        state.Bits |= ssCtrl;
    if (data & KF_SHIFTSTATE_ALT)
        state.Bits |= ssAlt;
    return state;
}
