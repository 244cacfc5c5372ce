#include "platform/ui/Controls.h"

#include "platform/ui/Forms.h"
#include "platform/ui/PointerPosition.h"
#include "platform/ui/SdlVideo.h"
#include "platform/ui/WindowRegistry.h"

#include <SDL.h>

#include <algorithm>

namespace {
HWND captureHolder = nullptr;
} // namespace

TWinControl::TWinControl() {
    TWindowRegistry::Add(this);
}

TWinControl::~TWinControl() {
    // Children outlive nothing: they are told their parent has gone, as they would be freed by
    // their owner first in the class library.
    for (TWinControl* child : std::vector<TWinControl*>(children_))
        child->SetParent(nullptr);
    // Leaving the parent also clears the form's focus and hover references to this window.
    if (parent_)
        SetParent(nullptr);
    TWindowRegistry::Remove(this);
}

HWND TWinControl::Handle() {
    if (!handleAllocated_)
        CreateHandle();
    return this;
}

void TWinControl::CreateHandle() {
    if (handleAllocated_)
        return;
    handleAllocated_ = true;
    CreateWnd();
    // A new window has everything still to paint.
    updateRegion_.Add(ClientRect());
    for (TWinControl* child : children_)
        child->CreateHandle();
}

void TWinControl::DestroyHandle() {
    if (!handleAllocated_)
        return;
    DestroyWnd();
    handleAllocated_ = false;
    updateRegion_.Clear();
}

void TWinControl::SetParent(TWinControl* parent) {
    if (parent == parent_)
        return;
    if (parent_) {
        if (TForm* form = ParentForm()) {
            if (IsSelfOrChild(this, form->focused_))
                form->focused_ = nullptr;
            if (IsSelfOrChild(this, form->hovered_))
                form->hovered_ = nullptr;
        }
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        parent_->Invalidate();
    }
    TWinControl* old = parent_;
    parent_ = parent;
    if (parent_) {
        parent_->children_.push_back(this);
        if (parent_->HandleAllocated())
            CreateHandle();
        Invalidate();
    }
    if (align_ != alNone) {
        if (old)
            old->AlignControls();
        if (parent_)
            parent_->AlignControls();
    }
}

void TWinControl::SetAlign(TAlign value) {
    if (value == align_)
        return;
    align_ = value;
    if (parent_)
        parent_->AlignControls();
}

void TWinControl::AlignControls() {
    // A child placed here may resize and lay out its own children, never this window's.
    if (aligning_)
        return;
    aligning_ = true;
    int left = 0, top = 0, right = width_, bottom = height_;
    for (TAlign pass : {alTop, alBottom, alLeft, alRight, alClient})
        for (TWinControl* child : std::vector<TWinControl*>(children_)) {
            if (child->align_ != pass || !child->visible_)
                continue;
            const int w = child->width_, h = child->height_;
            switch (pass) {
            case alTop:
                child->SetBounds(left, top, std::max(right - left, 0), h);
                top += h;
                break;
            case alBottom:
                child->SetBounds(left, bottom - h, std::max(right - left, 0), h);
                bottom -= h;
                break;
            case alLeft:
                child->SetBounds(left, top, w, std::max(bottom - top, 0));
                left += w;
                break;
            case alRight:
                child->SetBounds(right - w, top, w, std::max(bottom - top, 0));
                right -= w;
                break;
            default:
                child->SetBounds(left, top, std::max(right - left, 0), std::max(bottom - top, 0));
                break;
            }
        }
    aligning_ = false;
}

TForm* TWinControl::ParentForm() const {
    const TWinControl* top = this;
    while (top->parent_)
        top = top->parent_;
    return dynamic_cast<TForm*>(const_cast<TWinControl*>(top));
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    bool resized = width != width_ || height != height_;
    bool moved = left != left_ || top != top_;
    if (!resized && !moved)
        return;
    if (parent_)
        InvalidateRect(parent_, nullptr, false);
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    updateRegion_.OffsetAndClip(0, 0, ClientRect());
    Invalidate();
    if (resized) {
        Resize();
        AlignControls();
    }
}

TPoint TWinControl::OriginInForm() const {
    TPoint origin;
    for (const TWinControl* w = this; w->parent_; w = w->parent_) {
        origin.X += w->left_;
        origin.Y += w->top_;
    }
    return origin;
}

TPoint TWinControl::ClientToScreen(TPoint point) const {
    TPoint origin = OriginInForm();
    const TWinControl* top = this;
    while (top->parent_)
        top = top->parent_;
    return TPoint{point.X + origin.X + top->left_, point.Y + origin.Y + top->top_};
}

TPoint TWinControl::ScreenToClient(TPoint point) const {
    TPoint zero = ClientToScreen(TPoint{});
    return TPoint{point.X - zero.X, point.Y - zero.Y};
}

void TWinControl::SetVisible(bool value) {
    if (value == visible_)
        return;
    visible_ = value;
    if (parent_)
        InvalidateRect(parent_, nullptr, false);
    if (value)
        Invalidate();
    else if (GetCapture() && IsSelfOrChild(this, GetCapture()))
        ReleaseCapture();
}

bool TWinControl::Showing() const {
    for (const TWinControl* w = this; w; w = w->parent_) {
        if (!w->visible_)
            return false;
    }
    return true;
}

void TWinControl::SetCursor(TCursor value) {
    if (value == cursor_)
        return;
    cursor_ = value;
    // The new cursor shows at once when the pointer is over this window.
    TForm* form = ParentForm();
    if (form && form->hovered_ == this && !GetCapture() && Screen->Cursor() == crDefault)
        ShowPlatformCursor(value);
}

void TWinControl::Invalidate() {
    InvalidateRect(this, nullptr, false);
}

void TWinControl::SetFocus() {
    TForm* form = ParentForm();
    if (!form)
        return;
    TWinControl* old = form->focused_ ? form->focused_ : form;
    TWinControl* now = this;
    if (old != now) {
        form->focused_ = (now == form) ? nullptr : now;
        SendMessage(old, WM_KILLFOCUS, 0, 0);
        SendMessage(now, WM_SETFOCUS, 0, 0);
    }
    if (form->PlatformWindow() && form->Visible())
        SDL_RaiseWindow(form->PlatformWindow());
}

bool TWinControl::Focused() const {
    TForm* form = ParentForm();
    if (!form)
        return false;
    TWinControl* focus = form->focused_ ? form->focused_ : form;
    return focus == this;
}

void TWinControl::DispatchMouse(TMessage& message, bool down, TMouseButton button) {
    TPoint p = MouseLParamPoint(message.LParam);
    NotePointerPosition(ClientToScreen(p));
    TShiftState shift = ShiftStateOfMouseKeys(message.WParam);
    if (down && (message.Msg == WM_LBUTTONDBLCLK || message.Msg == WM_RBUTTONDBLCLK ||
                 message.Msg == WM_MBUTTONDBLCLK))
        shift.Bits |= ssDouble;
    if (down) {
        if (CaptureMouseOnPress)
            SetCapture(this);
        MouseDown(button, shift, p.X, p.Y);
    } else {
        MouseUp(button, shift, p.X, p.Y);
        // The capture a press took ends with the last button.
        if (CaptureMouseOnPress && GetCapture() == this &&
            (message.WParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0)
            ReleaseCapture();
    }
}

void TWinControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
        Paint();
        DefaultHandler(message);
        return;
    case WM_MOUSEMOVE: {
        TPoint p = MouseLParamPoint(message.LParam);
        // Noted as each move is handled, so the cursor query agrees with the messages seen.
        NotePointerPosition(ClientToScreen(p));
        MouseMove(ShiftStateOfMouseKeys(message.WParam), p.X, p.Y);
        return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        DispatchMouse(message, true, mbLeft);
        return;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        DispatchMouse(message, true, mbRight);
        return;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        DispatchMouse(message, true, mbMiddle);
        return;
    case WM_LBUTTONUP:
        DispatchMouse(message, false, mbLeft);
        return;
    case WM_RBUTTONUP:
        DispatchMouse(message, false, mbRight);
        return;
    case WM_MBUTTONUP:
        DispatchMouse(message, false, mbMiddle);
        return;
    case WM_MOUSEWHEEL: {
        int delta = static_cast<int16_t>(static_cast<uint16_t>((message.WParam >> 16) & 0xFFFF));
        message.Result = DoMouseWheel(ShiftStateOfMouseKeys(message.WParam & 0xFFFF), delta,
                                      MouseLParamPoint(message.LParam));
        return;
    }
    case WM_KEYDOWN: {
        uint16_t key = static_cast<uint16_t>(message.WParam);
        KeyDown(key, KeyDataToShiftState(message.LParam));
        return;
    }
    case WM_KEYUP: {
        uint16_t key = static_cast<uint16_t>(message.WParam);
        KeyUp(key, KeyDataToShiftState(message.LParam));
        return;
    }
    case WM_CHAR: {
        char16_t key = static_cast<char16_t>(message.WParam);
        KeyPress(key);
        return;
    }
    case CM_MOUSEENTER:
        MouseEnter();
        return;
    case CM_MOUSELEAVE:
        MouseLeave();
        return;
    case WM_SIZE:
        Resize();
        return;
    default:
        DefaultHandler(message);
    }
}

LRESULT TWinControl::Perform(UINT message, WPARAM wParam, LPARAM lParam) {
    TMessage m;
    m.Msg = message;
    m.WParam = wParam;
    m.LParam = lParam;
    WndProc(m);
    return m.Result;
}

void TWinControl::DefaultHandler(TMessage& message) {
    if (message.Msg == WM_PAINT)
        ValidateRect(this, nullptr);
}

bool InvalidateRect(HWND hwnd, const TRect* rect, bool) {
    if (!TWindowRegistry::Contains(hwnd))
        return false;
    if (!hwnd->HandleAllocated())
        return true;
    TRect area = rect ? IntersectRects(*rect, hwnd->ClientRect()) : hwnd->ClientRect();
    if (area.IsEmpty())
        return true;
    hwnd->updateRegion_.Add(area);
    // A parent paints under its children without clipping them out, so what it repaints the
    // children covering it must repaint too, after it.
    for (TWinControl* child : hwnd->children_) {
        if (!child->Visible() || !child->HandleAllocated())
            continue;
        TRect inChild = IntersectRects(area, child->BoundsRect());
        if (inChild.IsEmpty())
            continue;
        TRect local{inChild.Left - child->Left(), inChild.Top - child->Top(),
                    inChild.Right - child->Left(), inChild.Bottom - child->Top()};
        InvalidateRect(child, &local, false);
    }
    return true;
}

bool ValidateRect(HWND hwnd, const TRect* rect) {
    if (!TWindowRegistry::Contains(hwnd))
        return false;
    if (rect)
        hwnd->updateRegion_.Subtract(*rect);
    else
        hwnd->updateRegion_.Clear();
    return true;
}

bool GetUpdateRect(HWND hwnd, TRect* rect) {
    if (!TWindowRegistry::Contains(hwnd)) {
        if (rect)
            *rect = TRect{};
        return false;
    }
    TRect box = hwnd->updateRegion_.BoundingBox();
    if (rect)
        *rect = box;
    return !box.IsEmpty();
}

std::vector<TRect> GetUpdateRects(HWND hwnd) {
    if (!TWindowRegistry::Contains(hwnd))
        return {};
    return hwnd->updateRegion_.Rects();
}

HWND SetCapture(HWND hwnd) {
    HWND previous = captureHolder;
    if (hwnd && !TWindowRegistry::Contains(hwnd))
        return previous;
    captureHolder = hwnd;
    if (VideoStarted()) {
        // SDL grabs the pointer for the window holding the keyboard, which need not be the
        // holder's (a second window shown later takes the keyboard on a display without a
        // window manager); a grab on that one would steal every click. A press in the
        // holder's window keeps the pointer there until release anyway.
        TForm* form = hwnd ? hwnd->ParentForm() : nullptr;
        SDL_Window* own = form ? form->PlatformWindow() : nullptr;
        SDL_CaptureMouse(own && own == SDL_GetKeyboardFocus() ? SDL_TRUE : SDL_FALSE);
    }
    return previous;
}

bool ReleaseCapture() {
    captureHolder = nullptr;
    if (VideoStarted())
        SDL_CaptureMouse(SDL_FALSE);
    return true;
}

HWND GetCapture() {
    return captureHolder;
}

bool GetCursorPos(TPoint* point) {
    if (!point)
        return false;
    *point = TPoint{};
    if (LastPointerPosition(point))
        return true;
    if (!EnsureVideo())
        return false;
    SDL_GetGlobalMouseState(&point->X, &point->Y);
    return true;
}
