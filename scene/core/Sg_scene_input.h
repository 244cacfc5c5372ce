// Input vocabulary of the toolkit: the event types visual objects publish for the mouse, the
// wheel, the keyboard and drag and drop, the object a drag carries, and the marker interface of
// size grips.
//
// Mouse coordinates handed to an object's events are in its local space; the wheel's MousePos
// and drag points are in scene space.
#pragma once

#include "scene/core/Sg_scene_types.h"

#include "platform/classes/Closure.h"
#include "platform/rtl/UnicodeString.h"
#include "platform/ui/Input.h"

#include <cstdint>
#include <vector>

class TObject;

// What a drag carries from its source to the drop target.
// What a drag carries from its source to the drop target: the dragged object, the first
// dropped file name or the dropped text, and the names of every dropped file.
struct TsgDragObject {
    TObject* Source = nullptr;
    UnicodeString Data;
    std::vector<UnicodeString> Files;
};

using TsgMouseEvent =
    TClosure<void(TObject* Sender, TMouseButton Button, TShiftState Shift, float X, float Y)>;
using TsgMouseMoveEvent =
    TClosure<void(TObject* Sender, TShiftState Shift, float X, float Y, float Dx, float Dy)>;
using TsgMouseWheelEvent = TClosure<void(TObject* Sender, TShiftState Shift, int WheelDelta,
                                         TsgPoint MousePos, bool& Handled)>;
using TsgKeyEvent = TClosure<void(uint16_t& Key, char16_t& KeyChar, TShiftState Shift)>;
using TsgDragEnterEvent =
    TClosure<void(TObject* Sender, const TsgDragObject& Data, TsgPoint Point)>;
using TsgDragDropEvent = TsgDragEnterEvent;
using TsgDragOverEvent =
    TClosure<void(TObject* Sender, const TsgDragObject& Data, TsgPoint Point, bool& Accept)>;
using TsgDragLeaveEvent = TClosure<void(TObject* Sender)>;
using TsgDragStartEvent = TsgDragLeaveEvent;
using TsgDragStartQueryEvent = TClosure<void(TObject* Sender, TsgPoint Point, bool& Accept)>;

// Implemented by objects that resize the form when pressed instead of receiving the press.
class IsgSizeGrip {
public:
    virtual ~IsgSizeGrip() = default;
};

// The virtual keys the scene offers to the root's dialog-key handling before the focused object
// sees them.
bool sgIsDialogKey(uint16_t Key);
