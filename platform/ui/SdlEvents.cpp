#include "platform/ui/SdlEvents.h"

#include "platform/ui/Forms.h"
#include "platform/ui/SdlVideo.h"
#include "platform/ui/WindowRegistry.h"

#include <SDL.h>

namespace {
uint16_t VirtualKeyOf(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z)
        return static_cast<uint16_t>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9)
        return static_cast<uint16_t>('0' + (key - SDLK_0));
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return static_cast<uint16_t>(VK_F1 + (key - SDLK_F1));
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9)
        return static_cast<uint16_t>(VK_NUMPAD0 + 1 + (key - SDLK_KP_1));
    switch (key) {
    case SDLK_BACKSPACE:
        return VK_BACK;
    case SDLK_TAB:
        return VK_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return VK_RETURN;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT:
        return VK_MENU;
    case SDLK_PAUSE:
        return VK_PAUSE;
    case SDLK_CAPSLOCK:
        return VK_CAPITAL;
    case SDLK_ESCAPE:
        return VK_ESCAPE;
    case SDLK_SPACE:
        return VK_SPACE;
    case SDLK_PAGEUP:
        return VK_PRIOR;
    case SDLK_PAGEDOWN:
        return VK_NEXT;
    case SDLK_END:
        return VK_END;
    case SDLK_HOME:
        return VK_HOME;
    case SDLK_LEFT:
        return VK_LEFT;
    case SDLK_UP:
        return VK_UP;
    case SDLK_RIGHT:
        return VK_RIGHT;
    case SDLK_DOWN:
        return VK_DOWN;
    case SDLK_INSERT:
        return VK_INSERT;
    case SDLK_DELETE:
        return VK_DELETE;
    case SDLK_LGUI:
    case SDLK_RGUI:
        return VK_LWIN;
    case SDLK_APPLICATION:
        return VK_APPS;
    case SDLK_KP_0:
        return VK_NUMPAD0;
    case SDLK_KP_MULTIPLY:
        return VK_MULTIPLY;
    case SDLK_KP_PLUS:
        return VK_ADD;
    case SDLK_KP_MINUS:
        return VK_SUBTRACT;
    case SDLK_KP_PERIOD:
        return VK_DECIMAL;
    case SDLK_KP_DIVIDE:
        return VK_DIVIDE;
    case SDLK_NUMLOCKCLEAR:
        return VK_NUMLOCK;
    case SDLK_SCROLLLOCK:
        return VK_SCROLL;
    case SDLK_SEMICOLON:
        return VK_OEM_1;
    case SDLK_EQUALS:
        return VK_OEM_PLUS;
    case SDLK_COMMA:
        return VK_OEM_COMMA;
    case SDLK_MINUS:
        return VK_OEM_MINUS;
    case SDLK_PERIOD:
        return VK_OEM_PERIOD;
    case SDLK_SLASH:
        return VK_OEM_2;
    case SDLK_BACKQUOTE:
        return VK_OEM_3;
    case SDLK_LEFTBRACKET:
        return VK_OEM_4;
    case SDLK_BACKSLASH:
        return VK_OEM_5;
    case SDLK_RIGHTBRACKET:
        return VK_OEM_6;
    case SDLK_QUOTE:
        return VK_OEM_7;
    default:
        return 0;
    }
}

// The character a key makes by itself, where the text-input events of SDL give none: control
// characters and Ctrl+letter.
char16_t ControlCharacterOf(uint16_t vk, Uint16 mod) {
    bool ctrl = (mod & KMOD_CTRL) != 0;
    bool alt = (mod & KMOD_ALT) != 0;
    if (ctrl && !alt && vk >= 'A' && vk <= 'Z')
        return static_cast<char16_t>(vk - 'A' + 1);
    switch (vk) {
    case VK_BACK:
        return 8;
    case VK_TAB:
        return 9;
    case VK_RETURN:
        return 13;
    case VK_ESCAPE:
        return 27;
    default:
        return 0;
    }
}

// The buttons held as of the event being translated (SDL's own state is that after the whole
// batch of pending events).
WPARAM buttonsHeld = 0;

WPARAM ButtonFlag(Uint8 button) {
    switch (button) {
    case SDL_BUTTON_LEFT:
        return MK_LBUTTON;
    case SDL_BUTTON_RIGHT:
        return MK_RBUTTON;
    case SDL_BUTTON_MIDDLE:
        return MK_MBUTTON;
    default:
        return 0;
    }
}

WPARAM MouseKeyState() {
    WPARAM state = buttonsHeld;
    SDL_Keymod mod = SDL_GetModState();
    if (mod & KMOD_SHIFT)
        state |= MK_SHIFT;
    if (mod & KMOD_CTRL)
        state |= MK_CONTROL;
    return state;
}

TWinControl* DeepestChildAt(TWinControl* window, TPoint p) {
    const auto& children = window->Children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        TWinControl* child = *it;
        if (child->Visible() && child->HandleAllocated() && child->BoundsRect().Contains(p))
            return DeepestChildAt(child, TPoint{p.X - child->Left(), p.Y - child->Top()});
    }
    return window;
}

TPoint FormToClient(TWinControl* window, TPoint formPoint) {
    TPoint origin = window->OriginInForm();
    return TPoint{formPoint.X - origin.X, formPoint.Y - origin.Y};
}

TCursor EffectiveCursor(TWinControl* window) {
    if (Screen->Cursor() != crDefault)
        return Screen->Cursor();
    for (TWinControl* w = window; w; w = w->Parent()) {
        if (w->Cursor() != crDefault)
            return w->Cursor();
    }
    return crDefault;
}
} // namespace

class TSdlEventTranslator {
public:
    static TForm* FormOf(Uint32 windowId) {
        SDL_Window* window = SDL_GetWindowFromID(windowId);
        if (!window)
            return nullptr;
        auto* form = static_cast<TForm*>(SDL_GetWindowData(window, "dbi.form"));
        return TWindowRegistry::Contains(form) ? form : nullptr;
    }

    static void Hover(TForm* form, TWinControl* target) {
        if (form->hovered_ == target)
            return;
        if (form->hovered_)
            PostMessage(form->hovered_, CM_MOUSELEAVE, 0, 0);
        form->hovered_ = target;
        if (target)
            PostMessage(target, CM_MOUSEENTER, 0, 0);
    }

    // The window a mouse event at `formPoint` of `form` goes to, and the point in its client
    // coordinates.
    static TWinControl* MouseTarget(TForm* form, TPoint formPoint, TPoint& client) {
        if (HWND capture = GetCapture()) {
            if (capture->ParentForm() == form) {
                client = FormToClient(capture, formPoint);
            } else {
                client = capture->ScreenToClient(form->ClientToScreen(formPoint));
            }
            return capture;
        }
        TWinControl* target = DeepestChildAt(form, formPoint);
        client = FormToClient(target, formPoint);
        return target;
    }

    static void Motion(const SDL_MouseMotionEvent& e) {
        TForm* form = FormOf(e.windowID);
        if (!form || !form->Enabled())
            return;
        TPoint client;
        TWinControl* target = MouseTarget(form, TPoint{e.x, e.y}, client);
        if (!GetCapture()) {
            Hover(form, target);
            ShowPlatformCursor(EffectiveCursor(target));
        }
        PostMessage(target, WM_MOUSEMOVE, MouseKeyState(), MakeMouseLParam(client.X, client.Y));
    }

    static void Button(const SDL_MouseButtonEvent& e) {
        TForm* form = FormOf(e.windowID);
        if (!form || !form->Enabled())
            return;
        bool down = e.type == SDL_MOUSEBUTTONDOWN;
        if (down)
            buttonsHeld |= ButtonFlag(e.button);
        else
            buttonsHeld &= ~ButtonFlag(e.button);
        bool twice = down && e.clicks >= 2 && e.clicks % 2 == 0;
        UINT message = 0;
        switch (e.button) {
        case SDL_BUTTON_LEFT:
            message = down ? (twice ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN) : WM_LBUTTONUP;
            break;
        case SDL_BUTTON_RIGHT:
            message = down ? (twice ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN) : WM_RBUTTONUP;
            break;
        case SDL_BUTTON_MIDDLE:
            message = down ? (twice ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN) : WM_MBUTTONUP;
            break;
        default:
            return;
        }
        TPoint client;
        TWinControl* target = MouseTarget(form, TPoint{e.x, e.y}, client);
        PostMessage(target, message, MouseKeyState(), MakeMouseLParam(client.X, client.Y));
    }

    static void Wheel(const SDL_MouseWheelEvent& e) {
        TForm* form = FormOf(e.windowID);
        if (!form || !form->Enabled() || e.y == 0)
            return;
        int x = 0;
        int y = 0;
        SDL_GetMouseState(&x, &y);
        TPoint client;
        TWinControl* target = MouseTarget(form, TPoint{x, y}, client);
        int delta = e.y * 120 * (e.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1);
        TPoint screen = target->ClientToScreen(client);
        WPARAM w = (static_cast<WPARAM>(static_cast<uint16_t>(delta)) << 16) | MouseKeyState();
        PostMessage(target, WM_MOUSEWHEEL, w, MakeMouseLParam(screen.X, screen.Y));
    }

    static TWinControl* KeyTarget(Uint32 windowId) {
        TForm* form = FormOf(windowId);
        if (!form || !form->Enabled())
            return nullptr;
        return form->focused_ ? form->focused_ : form;
    }

    static void Key(const SDL_KeyboardEvent& e) {
        TWinControl* target = KeyTarget(e.windowID);
        uint16_t vk = VirtualKeyOf(e.keysym.sym);
        if (!target || vk == 0)
            return;
        LPARAM data = 1;
        if (e.keysym.mod & KMOD_ALT)
            data |= 1 << 29;
        if (e.repeat)
            data |= 1 << 30;
        if (e.type == SDL_KEYUP) {
            PostMessage(target, WM_KEYUP, vk, data | (static_cast<LPARAM>(1) << 30));
            return;
        }
        PostMessage(target, WM_KEYDOWN, vk, data);
        if (char16_t c = ControlCharacterOf(vk, e.keysym.mod))
            PostMessage(target, WM_CHAR, c, data);
    }

    static void Text(const SDL_TextInputEvent& e) {
        TWinControl* target = KeyTarget(e.windowID);
        if (!target)
            return;
        // Ctrl combinations already made their control character from the key.
        if (SDL_GetModState() & KMOD_CTRL)
            return;
        UnicodeString typed = UnicodeString::FromUtf8(e.text);
        for (char16_t unit : typed.str())
            PostMessage(target, WM_CHAR, unit, 1);
    }

    static void InvalidateAll(TWinControl* window) {
        InvalidateRect(window, nullptr, false);
        for (TWinControl* child : window->Children())
            InvalidateAll(child);
    }

    static void Window(const SDL_WindowEvent& e) {
        TForm* form = FormOf(e.windowID);
        if (!form)
            return;
        switch (e.event) {
        case SDL_WINDOWEVENT_CLOSE:
            if (form->Enabled())
                PostMessage(form, WM_CLOSE, 0, 0);
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            InvalidateAll(form);
            break;
        case SDL_WINDOWEVENT_MOVED:
            form->TWinControl::SetBounds(e.data1, e.data2, form->Width(), form->Height());
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            if (e.data1 != form->Width() || e.data2 != form->Height()) {
                form->TWinControl::SetBounds(form->Left(), form->Top(), e.data1, e.data2);
                PostMessage(form, WM_SIZE, 0, 0);
            }
            InvalidateAll(form);
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            form->windowState_ = wsMinimized;
            break;
        case SDL_WINDOWEVENT_MAXIMIZED:
            form->windowState_ = wsMaximized;
            break;
        case SDL_WINDOWEVENT_RESTORED:
            form->windowState_ = wsNormal;
            InvalidateAll(form);
            break;
        case SDL_WINDOWEVENT_LEAVE:
            if (!GetCapture())
                Hover(form, nullptr);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            PostMessage(form, WM_ACTIVATE, 1, 0);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            PostMessage(form, WM_ACTIVATE, 0, 0);
            break;
        default:
            break;
        }
    }
};

void PumpSdlEvents() {
    if (!VideoStarted())
        return;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
        case SDL_MOUSEMOTION:
            TSdlEventTranslator::Motion(e.motion);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            TSdlEventTranslator::Button(e.button);
            break;
        case SDL_MOUSEWHEEL:
            TSdlEventTranslator::Wheel(e.wheel);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            TSdlEventTranslator::Key(e.key);
            break;
        case SDL_TEXTINPUT:
            TSdlEventTranslator::Text(e.text);
            break;
        case SDL_WINDOWEVENT:
            TSdlEventTranslator::Window(e.window);
            break;
        default:
            break;
        }
    }
}
