#include "platform/ui/DragManager.h"

#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Input.h"
#include "platform/ui/WindowRegistry.h"

#include <utility>

namespace {

struct TDrag {
    bool running = false;
    TObject* source = nullptr;
    TWinControl* over = nullptr;
    bool accepted = false;
    std::function<void(bool)> onEnd;
};

TDrag drag;

TWinControl* DeepestAt(TWinControl* window, TPoint p) {
    const auto& children = window->Children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        TWinControl* child = *it;
        if (child->Visible() && child->HandleAllocated() && child->BoundsRect().Contains(p))
            return DeepestAt(child, TPoint{p.X - child->Left(), p.Y - child->Top()});
    }
    return window;
}

// The newest showing form under the screen point, and its deepest window there.
TWinControl* WindowAtScreen(TPoint screen) {
    const auto& all = TWindowRegistry::All();
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        auto* form = dynamic_cast<TForm*>(*it);
        if (!form || form->Parent() || !form->Visible() || !form->Enabled())
            continue;
        const TPoint local = form->ScreenToClient(screen);
        if (local.X >= 0 && local.Y >= 0 && local.X < form->Width() && local.Y < form->Height())
            return DeepestAt(form, local);
    }
    return nullptr;
}

TDragTarget* TargetOf(TWinControl* window) {
    return window && TWindowRegistry::Contains(window) ? dynamic_cast<TDragTarget*>(window)
                                                       : nullptr;
}

void Leave() {
    if (TDragTarget* target = TargetOf(drag.over)) {
        bool accept = false;
        target->DragOverAt(drag.source, TPoint{}, dsDragLeave, accept);
    }
    drag.over = nullptr;
    drag.accepted = false;
}

void Finish(bool dropped) {
    auto onEnd = std::move(drag.onEnd);
    drag = TDrag{};
    if (onEnd)
        onEnd(dropped);
}

void Move(TPoint screen) {
    TWinControl* window = WindowAtScreen(screen);
    if (window != drag.over) {
        Leave();
        drag.over = window;
        if (TDragTarget* target = TargetOf(window)) {
            bool accept = false;
            target->DragOverAt(drag.source, window->ScreenToClient(screen), dsDragEnter, accept);
        }
    }
    drag.accepted = false;
    if (TDragTarget* target = TargetOf(window))
        target->DragOverAt(drag.source, window->ScreenToClient(screen), dsDragMove, drag.accepted);
}

void Drop(TPoint screen) {
    Move(screen);
    TWinControl* window = drag.over;
    TDragTarget* target = TargetOf(window);
    const bool dropped = target && drag.accepted;
    if (dropped)
        target->DragDropAt(drag.source, window->ScreenToClient(screen));
    else
        Leave();
    Finish(dropped);
}

} // namespace

void BeginInProcessDrag(TObject* Source, std::function<void(bool Dropped)> OnEnd) {
    if (drag.running)
        CancelInProcessDrag();
    ReleaseCapture();
    drag.running = true;
    drag.source = Source;
    drag.onEnd = std::move(OnEnd);
}

bool InProcessDragging() {
    return drag.running;
}

TObject* InProcessDragSource() {
    return drag.running ? drag.source : nullptr;
}

void CancelInProcessDrag() {
    if (!drag.running)
        return;
    Leave();
    Finish(false);
}

bool InProcessDragMessage(const TMsg& Msg) {
    if (!drag.running)
        return false;
    const bool alive = Msg.hwnd && TWindowRegistry::Contains(Msg.hwnd);
    switch (Msg.message) {
    case WM_MOUSEMOVE:
        if (alive)
            Move(Msg.hwnd->ClientToScreen(MouseLParamPoint(Msg.lParam)));
        return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        if (alive)
            Drop(Msg.hwnd->ClientToScreen(MouseLParamPoint(Msg.lParam)));
        else
            CancelInProcessDrag();
        return true;
    case WM_KEYDOWN:
        if (Msg.wParam == VK_ESCAPE)
            CancelInProcessDrag();
        return true;
    case WM_KEYUP:
    case WM_CHAR:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        return true;
    default:
        return false;
    }
}
