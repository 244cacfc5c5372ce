#include "platform/ui/SdlEvents.h"

#include "platform/ui/Activation.h"
#include "platform/ui/DesktopDrop.h"
#include "platform/ui/Forms.h"
#include "platform/ui/HintWindow.h"
#include "platform/ui/KeyMap.h"
#include "platform/ui/SdlVideo.h"
#include "platform/ui/WindowRegistry.h"

#include <SDL.h>

namespace {
// The buttons held as of the event being translated (SDL's own state is that after the whole
// batch of pending events).
WPARAM buttonsHeld = 0;
// The modifiers as of the last key event translated. Mouse and text events carry none, and
// SDL's live state does not follow pushed events.
Uint16 keyMod = KMOD_NONE;
// Whether an input-method composition is showing, so its start is announced once.
bool composing = false;
// The window that held the keyboard focus once the last focus change had settled. SDL reports
// each step of a change in one batch; a batch that hands the focus around and back (a popup
// shown without a window manager takes the focus, and it is given back at once) ends where it
// began, and none of its steps is a change of the active window.
SDL_Window* settledFocus = nullptr;

// Whether a focus event is a step of such a round trip. Pushed events leave SDL's own focus
// alone, so only a real focus held by a window counts.
bool FocusRoundTrip() {
    SDL_Window* now = SDL_GetKeyboardFocus();
    return now && now == settledFocus;
}

void SettleFocus() {
    settledFocus = SDL_GetKeyboardFocus();
}

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
    if (keyMod & KMOD_SHIFT)
        state |= MK_SHIFT;
    if (keyMod & KMOD_CTRL)
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
            HintPointerMoved(target, client);
        }
        PostMessage(target, WM_MOUSEMOVE, MouseKeyState(), MakeMouseLParam(client.X, client.Y));
    }

    // True when a message was posted.
    static bool Button(const SDL_MouseButtonEvent& e) {
        TForm* form = FormOf(e.windowID);
        if (!form || !form->Enabled())
            return false;
        bool down = e.type == SDL_MOUSEBUTTONDOWN;
        if (down) {
            CancelHint();
            ActivateLogically(form);
        }
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
            return false;
        }
        TPoint client;
        TWinControl* target = MouseTarget(form, TPoint{e.x, e.y}, client);
        PostMessage(target, message, MouseKeyState(), MakeMouseLParam(client.X, client.Y));
        return true;
    }

    static void Wheel(const SDL_MouseWheelEvent& e) {
        TForm* form = FormOf(e.windowID);
        if (!form || !form->Enabled() || e.y == 0)
            return;
        // The pointer position travels with the event (SDL 2.26 and later).
        TPoint client;
        TWinControl* target = MouseTarget(form, TPoint{e.mouseX, e.mouseY}, client);
        int delta = e.y * 120 * (e.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1);
        TPoint screen = target->ClientToScreen(client);
        WPARAM w = (static_cast<WPARAM>(static_cast<uint16_t>(delta)) << 16) | MouseKeyState();
        PostMessage(target, WM_MOUSEWHEEL, w, MakeMouseLParam(screen.X, screen.Y));
    }

    // The form passes key messages on to its focused window when it handles them. A form with
    // an open popup hands its keys to the popup's window (popups never have the system focus).
    static TWinControl* KeyTarget(Uint32 windowId) {
        TForm* form = FormOf(windowId);
        if (!form || !form->Enabled())
            return nullptr;
        for (int depth = 0; depth < 16; ++depth) {
            TForm* next = form->KeyForm();
            if (!next || next == form || !TWindowRegistry::Contains(next) || !next->Visible())
                break;
            form = next;
        }
        return form;
    }

    static void Key(const SDL_KeyboardEvent& e) {
        keyMod = e.keysym.mod;
        TWinControl* target = KeyTarget(e.windowID);
        uint16_t vk = VirtualKeyOfSdlKey(e.keysym.sym);
        if (!target || vk == 0)
            return;
        LPARAM data = KeyDataOfSdlMod(e.keysym.mod);
        if (e.repeat)
            data |= 1 << 30;
        if (e.type == SDL_KEYUP) {
            PostMessage(target, WM_KEYUP, vk, data | (static_cast<LPARAM>(1) << 30));
            return;
        }
        CancelHint();
        PostMessage(target, WM_KEYDOWN, vk, data);
        if (char16_t c = ControlCharacterOfKey(vk, e.keysym.mod))
            PostMessage(target, WM_CHAR, c, data);
    }

    static void Text(const SDL_TextInputEvent& e) {
        TWinControl* target = KeyTarget(e.windowID);
        if (!target)
            return;
        composing = false;
        // Ctrl combinations already made their control character from the key.
        if (keyMod & KMOD_CTRL)
            return;
        UnicodeString typed = UnicodeString::FromUtf8(e.text);
        for (char16_t unit : typed.str())
            PostMessage(target, WM_CHAR, unit, KeyDataOfSdlMod(keyMod));
    }

    // A composition starting is announced once, so the window can place the input method's
    // rectangle; its result arrives as text input.
    static void Editing(const SDL_TextEditingEvent& e) {
        TWinControl* target = KeyTarget(e.windowID);
        if (!target)
            return;
        bool showing = e.text[0] != 0;
        if (showing && !composing)
            PostMessage(target, WM_IME_STARTCOMPOSITION, 0, 0);
        composing = showing;
    }

    // The drop goes to the deepest window under the pointer of the form it was dropped on.
    static void Drop(const SDL_DropEvent& e) {
        switch (e.type) {
        case SDL_DROPBEGIN:
            DesktopDropBegin();
            return;
        case SDL_DROPFILE:
            if (e.file)
                DesktopDropFile(UnicodeString::FromUtf8(e.file));
            return;
        case SDL_DROPTEXT:
            if (e.file)
                DesktopDropText(UnicodeString::FromUtf8(e.file));
            return;
        case SDL_DROPCOMPLETE:
            break;
        default:
            return;
        }
        TForm* form = FormOf(e.windowID);
        if (!form || !form->Enabled()) {
            DesktopDropComplete(nullptr, TPoint{});
            return;
        }
        TPoint screen;
        TPoint formPoint{};
        if (GetCursorPos(&screen))
            formPoint = form->ScreenToClient(screen);
        TWinControl* target = DeepestChildAt(form, formPoint);
        DesktopDropComplete(target, FormToClient(target, formPoint));
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
            CancelHint();
            if (!GetCapture())
                Hover(form, nullptr);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            if (FocusRoundTrip())
                break;
            SettleFocus();
            ActivateLogically(form);
            PostMessage(form, WM_ACTIVATE, 1, 0);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            if (FocusRoundTrip())
                break;
            SettleFocus();
            keyMod = KMOD_NONE;
            SystemFocusLost(form);
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
            // What follows is translated once this has been handled (PeekMessage).
            if (TSdlEventTranslator::Button(e.button))
                return;
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
        case SDL_TEXTEDITING:
            TSdlEventTranslator::Editing(e.edit);
            break;
        case SDL_WINDOWEVENT:
            TSdlEventTranslator::Window(e.window);
            break;
        case SDL_DROPBEGIN:
        case SDL_DROPFILE:
        case SDL_DROPTEXT:
        case SDL_DROPCOMPLETE:
            TSdlEventTranslator::Drop(e.drop);
            // SDL hands the text over to the receiver of the event.
            if (e.drop.file)
                SDL_free(e.drop.file);
            break;
        default:
            break;
        }
    }
}
