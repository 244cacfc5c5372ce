// The in-process drag: an object of this program dragged with the mouse onto windows of this
// program.
//
// While a drag runs, the loop hands every mouse move, button release and key press to the drag
// manager instead of the windows. Each move finds the window under the pointer (whatever holds
// the capture); a window that takes part in drags (a TDragTarget) hears dsDragEnter when the
// pointer comes in, dsDragMove on every move and dsDragLeave when it goes; it answers whether it
// would take the source. Releasing the button drops onto the window under the pointer when it
// accepted; Escape cancels: the window under the pointer hears dsDragLeave and nothing drops.
#pragma once

#include "platform/classes/Persistent.h"
#include "platform/ui/Messages.h"

#include <functional>

enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };

class TDragTarget {
public:
    virtual ~TDragTarget() = default;
    virtual void DragOverAt(TObject* Source, TPoint Client, TDragState State, bool& Accept) = 0;
    virtual void DragDropAt(TObject* Source, TPoint Client) = 0;
};

// Starts a drag of `Source` at once. `OnEnd` runs when it ends: dropped true when a target took
// it. A drag already running is cancelled first.
void BeginInProcessDrag(TObject* Source, std::function<void(bool Dropped)> OnEnd = {});
bool InProcessDragging();
TObject* InProcessDragSource();
void CancelInProcessDrag();
// The loop's filter: true when the drag took the message.
bool InProcessDragMessage(const TMsg& Msg);
