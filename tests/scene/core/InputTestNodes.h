// Nodes and a handler log for the input tests: an object that can play a control, a default
// button and a size grip, and handlers that write what they receive as short lines.
#pragma once

#include "scene/core/Sg_scene.h"

#include <string>
#include <vector>

class TsgInputTestNode : public TsgVisualObject {
    DBI_PERSISTENT(TsgInputTestNode, TsgVisualObject)

    explicit TsgInputTestNode(TComponent* AOwner) : TsgVisualObject(AOwner) {}
    // Plays a control: a disabled one hides its subtree from the mouse.
    bool Control = false;
    bool IsControl() const override { return Control; }
    // Plays a default (Return) or cancel (Escape) button: takes that key in DialogKey.
    uint16_t TakesDialogKey = 0;
    std::vector<std::string>* Log = nullptr;

    void DialogKey(uint16_t& Key, TShiftState Shift) override;
    void ContextMenu(const TsgPoint& ScreenPosition) override;
};

class TsgInputTestGrip : public TsgInputTestNode, public IsgSizeGrip {
    DBI_PERSISTENT(TsgInputTestGrip, TsgInputTestNode)

    explicit TsgInputTestGrip(TComponent* AOwner) : TsgInputTestNode(AOwner) {}
};

// Handlers writing "<name> <event> <arguments>" lines.
struct TsgInputLog {
    std::vector<std::string> Lines;

    // Binds every input event of `node` to this log.
    void Watch(TsgVisualObject* node);
    void Clear() { Lines.clear(); }

    void Click(TObject* Sender);
    void DblClick(TObject* Sender);
    void Enter(TObject* Sender);
    void Leave(TObject* Sender);
    void Focus(TObject* Sender);
    void Down(TObject* Sender, TMouseButton Button, TShiftState Shift, float X, float Y);
    void Up(TObject* Sender, TMouseButton Button, TShiftState Shift, float X, float Y);
    void Move(TObject* Sender, TShiftState Shift, float X, float Y, float Dx, float Dy);
    void Wheel(TObject* Sender, TShiftState Shift, int Delta, TsgPoint Pos, bool& Handled);
    void KeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift);
    void KeyUp(uint16_t& Key, char16_t& KeyChar, TShiftState Shift);

    // Names the wheel handler claims the wheel for.
    std::vector<std::string> WheelTakers;
    // Whether moves are written (they are many).
    bool Moves = false;
};
