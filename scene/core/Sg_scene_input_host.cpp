// The scene side of input: which object receives the window's mouse, wheel, key, character,
// input-method and hint messages, hover and capture, Tab navigation, and moving and sizing a
// borderless form by the scene.
#include "scene/core/Sg_scene_host.h"

#include "platform/ui/Forms.h"
#include "platform/ui/HintWindow.h"
#include "platform/ui/InputMethod.h"

#include <cmath>

namespace {

TsgPoint ScenePoint(int X, int Y) {
    return {static_cast<float>(X), static_cast<float>(Y)};
}

int Round(float Value) {
    return static_cast<int>(std::nearbyint(Value));
}

// Ctrl+A, Ctrl+C, Ctrl+V, Ctrl+X and Ctrl+Z reach the objects as their letters.
char16_t EditingLetter(char16_t C) {
    switch (C) {
    case 1:
        return u'a';
    case 3:
        return u'c';
    case 22:
        return u'v';
    case 24:
        return u'x';
    case 26:
        return u'z';
    default:
        return 0;
    }
}

bool TabEligible(TsgObject* Entry) {
    TsgVisualObject* v = Entry->Visual();
    return v && v->CheckParentVisible() && v->CanFocused() && v->GetAbsoluteEnabled();
}

} // namespace

TsgVisualObject* TsgCustomScene::ObjectByPoint(float X, float Y) {
    for (auto it = FChildren.rbegin(); it != FChildren.rend(); ++it) {
        TsgVisualObject* visual = (*it)->Visual();
        if (!visual)
            break;
        if (!visual->Visible() && !FDesignTime)
            continue;
        if (TsgVisualObject* hit = visual->ObjectByPoint(X, Y))
            return hit;
    }
    return nullptr;
}

TForm* TsgCustomScene::OwnerForm() {
    for (TComponent* o = TComponent::Owner(); o; o = o->Owner())
        if (auto* form = dynamic_cast<TForm*>(o))
            return form;
    // Platform forms do not own components: a scene placed on a form belongs to it.
    return ParentForm();
}

void TsgCustomScene::SetCaptured(TsgVisualObject* Value) {
    FCaptured = Value;
    if (Embedded())
        return;
    if (Value)
        SetCapture(this);
    else if (GetCapture() == this)
        ::ReleaseCapture();
}

void TsgCustomScene::SetFocused(TsgVisualObject* Value) {
    if (Value == FFocused)
        return;
    TsgVisualObject* old = FFocused;
    FFocused = Value;
    if (old)
        old->KillFocus();
    if (Value && FFocused == Value)
        Value->EnterFocus();
}

void TsgCustomScene::BeginDrag() {
    TForm* form = OwnerForm();
    TPoint p;
    if (!form || !GetCursorPos(&p))
        return;
    p = form->ScreenToClient(p);
    FDragging = true;
    FDownPos = ScenePoint(p.X, p.Y);
}

void TsgCustomScene::BeginResize() {
    TForm* form = OwnerForm();
    TPoint p;
    if (!form || !GetCursorPos(&p))
        return;
    p = form->ScreenToClient(p);
    FResizing = true;
    FDownPos = ScenePoint(p.X, p.Y);
    FResizeSize = TPoint{form->Width(), form->Height()};
}

void TsgCustomScene::ChangeHover(TsgVisualObject* Value) {
    if (Value == FHovered)
        return;
    TsgVisualObject* old = FHovered;
    FHovered = Value;
    if (old)
        old->MouseLeave();
    if (Value && FHovered == Value)
        Value->MouseEnter();
}

// Mouse.

void TsgCustomScene::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (!Embedded() && !FDesignTime)
        TWinControl::SetFocus();
    FUnsnapMousePos = ScenePoint(X, Y);
    FMousePos = FUnsnapMousePos;
    FDownPos = FMousePos;
    if (FDesignTime) {
        if (IsgSceneDesignEditor* editor = DesignEditor())
            editor->DesignMouseDown(Button, Shift, FUnsnapMousePos);
        return;
    }
    TsgVisualObject* hit = ObjectByPoint(FMousePos.X, FMousePos.Y);
    if (!hit) {
        if (FAllowFormDrag)
            BeginDrag();
        return;
    }
    if (dynamic_cast<IsgSizeGrip*>(hit)) {
        BeginResize();
        return;
    }
    const TsgPoint local = hit->AbsoluteToLocal(FMousePos);
    // A handler of the press may free the object (closing a page); Notification then clears
    // the reference and the drag start is not asked.
    FPressTarget = hit;
    hit->MouseDown(Button, Shift, local.X, local.Y);
    if (FPressTarget != hit)
        return;
    FPressTarget = nullptr;
    bool accept = true;
    if (hit->OnDragStartQuery)
        hit->OnDragStartQuery(hit, local, accept);
    if (!accept)
        return;
    const TsgDragMode mode = hit->DragMode();
    if (mode == sgDragAutomatic || (mode == sgDragLeftAutomatic && Button == mbLeft))
        hit->BeginAutoDrag();
    else if (mode == sgDragMoveAutomatic)
        FDragged = hit;
}

void TsgCustomScene::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    TCursor cursor = FLoadCursor;
    if (TsgVisualObject* dragged = FDragged) {
        FDragged = nullptr;
        dragged->BeginAutoDrag();
    }
    if (FDragging) {
        if (TForm* form = OwnerForm())
            form->SetBounds(Round(float(X) - FDownPos.X + float(form->Left())),
                            Round(float(Y) - FDownPos.Y + float(form->Top())), form->Width(),
                            form->Height());
        return;
    }
    if (FResizing) {
        FResizeSize = TPoint{Round(float(X) - FUnsnapMousePos.X + float(FResizeSize.X)),
                             Round(float(Y) - FUnsnapMousePos.Y + float(FResizeSize.Y))};
        if (TForm* form = OwnerForm())
            form->SetBounds(form->Left(), form->Top(), FResizeSize.X, FResizeSize.Y);
        SetCursor(crSizeNWSE);
        FUnsnapMousePos = ScenePoint(X, Y);
        return;
    }
    FMousePos = ScenePoint(X, Y);
    FUnsnapMousePos = FMousePos;
    if (FDesignTime) {
        if (IsgSceneDesignEditor* editor = DesignEditor())
            editor->DesignMouseMove(Shift, FUnsnapMousePos);
        return;
    }
    if (FCaptured) {
        const TsgPoint local = FCaptured->AbsoluteToLocal(FMousePos);
        FCaptured->MouseMove(Shift, local.X, local.Y, 0, 0);
        return;
    }
    TsgVisualObject* hit = ObjectByPoint(FMousePos.X, FMousePos.Y);
    if (hit) {
        cursor = dynamic_cast<IsgSizeGrip*>(hit) ? crSizeNWSE : TCursor(hit->Cursor());
        ChangeHover(hit);
        if (FHovered == hit) {
            const TsgPoint local = hit->AbsoluteToLocal(FMousePos);
            hit->MouseMove(Shift, local.X, local.Y, 0, 0);
        }
    } else {
        ChangeHover(nullptr);
    }
    SetCursor(cursor);
    FDownPos = FMousePos;
}

void TsgCustomScene::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    FDragged = nullptr;
    if (FDragging) {
        FDragging = false;
        if (FCaptured)
            FCaptured->ReleaseCapture();
    }
    FResizing = false;
    if (FDesignTime) {
        if (IsgSceneDesignEditor* editor = DesignEditor())
            editor->DesignMouseUp(Button, Shift, ScenePoint(X, Y));
        return;
    }
    TsgVisualObject* target = FCaptured ? FCaptured : ObjectByPoint(FMousePos.X, FMousePos.Y);
    if (!target)
        return;
    const TsgPoint local = target->AbsoluteToLocal(ScenePoint(X, Y));
    target->MouseUp(Button, Shift, local.X, local.Y);
}

void TsgCustomScene::MouseLeaveWindow() {
    ChangeHover(nullptr);
    // The capture ends with the pointer outside; its holder is not told.
    if (!FDesignTime)
        FCaptured = nullptr;
}

bool TsgCustomScene::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    const TPoint client = ScreenToClient(MousePos);
    bool handled = TCustomControl::DoMouseWheel(Shift, WheelDelta, client);
    if (FDesignTime)
        return handled;
    if (FCaptured) {
        FCaptured->MouseWheel(Shift, WheelDelta, handled);
        return handled;
    }
    TsgVisualObject* o = ObjectByPoint(float(client.X), float(client.Y));
    while (o && !handled) {
        o->MouseWheel(Shift, WheelDelta, handled);
        o = o->Parent() ? o->Parent()->Visual() : nullptr;
    }
    return handled;
}

// Keyboard.

void TsgCustomScene::UnicodeKeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) {
    if (sgIsDialogKey(Key))
        if (TsgVisualObject* root = Root() ? Root()->Visual() : nullptr)
            root->DialogKey(Key, Shift);
    if (Key == VK_ESCAPE && FEscCloseWindow) {
        if (TForm* form = OwnerForm())
            form->SetModalResult(mrCancel);
        Key = 0;
    } else if (Key == VK_TAB && Root()) {
        Key = 0;
        MoveTabFocus(Shift.Contains(ssShift));
    } else if (FFocused) {
        FFocused->KeyDown(Key, KeyChar, Shift);
    }
}

void TsgCustomScene::UnicodeKeyUp(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) {
    if (FDesignTime) {
        if (IsgSceneDesignEditor* editor = DesignEditor())
            editor->DesignKeyUp(Key, Shift);
        return;
    }
    if (FFocused)
        FFocused->KeyUp(Key, KeyChar, Shift);
}

// Tab moves through the root's tab order, depth first, and wraps around; the focused object
// itself is the last candidate. A scene with one or two focusable entries moves too.
void TsgCustomScene::MoveTabFocus(bool Backward) {
    TsgVisualObject* root = Root() ? Root()->Visual() : nullptr;
    if (!root)
        return;
    std::vector<TsgObject*> list;
    root->GetTabOrderList(list, true);
    const int count = static_cast<int>(list.size());
    int focused = count;
    for (int i = 0; i < count; ++i)
        if (list[size_t(i)] == FFocused)
            focused = i;
    auto focusFirst = [&](int from, int to, int step) {
        for (int i = from; i != to + step; i += step)
            if (TabEligible(list[size_t(i)])) {
                list[size_t(i)]->Visual()->SetFocus();
                return true;
            }
        return false;
    };
    if (!Backward) {
        const int start = focused == count ? 0 : focused + 1;
        if (start < count && focusFirst(start, count - 1, 1))
            return;
        if (start > 0)
            focusFirst(0, start - 1, 1);
    } else {
        if (focused > 0 && focusFirst(focused - 1, 0, -1))
            return;
        if (focused < count)
            focusFirst(count - 1, focused, -1);
    }
}

void TsgCustomScene::WMChar(TMessage& Message) {
    const auto c = static_cast<char16_t>(Message.WParam);
    const TShiftState shift = KeyDataToShiftState(Message.LParam);
    uint16_t key = 0;
    if (char16_t letter = EditingLetter(c)) {
        char16_t ch = letter;
        UnicodeKeyDown(key, ch, shift);
        key = 0;
        ch = letter;
        UnicodeKeyUp(key, ch, shift);
    } else if (c != VK_RETURN) {
        // Return reached the objects as its key already.
        char16_t ch = c;
        UnicodeKeyDown(key, ch, shift);
    }
}

// The input method composes at the focused object's origin (plus what the object adds for
// its caret), inside the scene's client area.
void TsgCustomScene::StartComposition() {
    if (!FFocused)
        return;
    const TsgPoint origin = FFocused->LocalToAbsolute({0, 0});
    const TsgPoint offset = FFocused->CompositionOffset();
    const TPoint at{static_cast<int>(std::trunc(origin.X)) + static_cast<int>(std::trunc(offset.X)),
                    static_cast<int>(std::trunc(origin.Y)) +
                        static_cast<int>(std::trunc(offset.Y))};
    SetInputMethodRect(this, ClientRect(), at);
}

void TsgCustomScene::HintShow(TMessage& Message) {
    auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
    if (!info)
        return;
    const TsgPoint at = ScenePoint(info->CursorPos.X, info->CursorPos.Y);
    TsgVisualObject* hit = ObjectByPoint(at.X, at.Y);
    if (!hit || !hit->ShowHint()) {
        info->HintStr = UnicodeString();
        return;
    }
    // The handler may bring the hint text up to date for this point.
    if (hit->OnMouseMove) {
        const TsgPoint local = hit->AbsoluteToLocal(at);
        hit->OnMouseMove(hit, TShiftState(), local.X, local.Y, 0, 0);
    }
    info->HintStr = hit->Hint();
    const TsgRect r = hit->GetHintRect(at.X, at.Y);
    info->CursorRect =
        TRect{static_cast<int>(std::trunc(r.Left)), static_cast<int>(std::trunc(r.Top)),
              static_cast<int>(std::trunc(r.Right)), static_cast<int>(std::trunc(r.Bottom))};
}

bool TsgCustomScene::InputMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_KEYUP: {
        uint16_t key = static_cast<uint16_t>(Message.WParam);
        char16_t ch = 0;
        const TShiftState shift = KeyDataToShiftState(Message.LParam);
        if (Message.Msg == WM_KEYDOWN)
            UnicodeKeyDown(key, ch, shift);
        else
            UnicodeKeyUp(key, ch, shift);
        TCustomControl::WndProc(Message);
        return true;
    }
    case WM_CHAR:
        WMChar(Message);
        TCustomControl::WndProc(Message);
        return true;
    case WM_IME_STARTCOMPOSITION:
        StartComposition();
        Message.Result = 1;
        return true;
    case CM_MOUSELEAVE:
        TCustomControl::WndProc(Message);
        MouseLeaveWindow();
        return true;
    case CM_HINTSHOW:
        HintShow(Message);
        return true;
    default:
        return false;
    }
}

// Embedded scenes.

void TsgCustomScene::EmbeddedMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    MouseDown(Button, Shift, X, Y);
}

void TsgCustomScene::EmbeddedMouseMove(TShiftState Shift, int X, int Y) {
    MouseMove(Shift, X, Y);
}

void TsgCustomScene::EmbeddedMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    MouseUp(Button, Shift, X, Y);
}

void TsgCustomScene::EmbeddedMouseWheel(TShiftState Shift, int WheelDelta) {
    // The host gives no position: the wheel acts where the mouse was last seen.
    DoMouseWheel(Shift, WheelDelta, ClientToScreen(TPoint{Round(FMousePos.X), Round(FMousePos.Y)}));
}

void TsgCustomScene::EmbeddedKeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) {
    UnicodeKeyDown(Key, KeyChar, Shift);
}

void TsgCustomScene::EmbeddedKeyUp(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) {
    UnicodeKeyUp(Key, KeyChar, Shift);
}
