#include "InputTestNodes.h"

#include <algorithm>
#include <cstdio>

// Published as controls publish it, so streams can carry a tab order.
DBI_PUBLISH(TsgInputTestNode) {
    using V = TsgInputTestNode;
    p.Integer("TabOrder", &V::TabOrder, &V::SetTabOrder, -1);
}
DBI_PUBLISH(TsgInputTestGrip) {}

namespace {

std::string NameOf(TObject* Sender) {
    auto* c = dynamic_cast<TComponent*>(Sender);
    return c ? std::string(c->Name().c_str()) : std::string("?");
}

std::string ButtonName(TMouseButton B) {
    return B == mbLeft ? "L" : B == mbRight ? "R" : "M";
}

std::string ShiftText(TShiftState S) {
    std::string t;
    if (S.Contains(ssShift))
        t += "S";
    if (S.Contains(ssCtrl))
        t += "C";
    if (S.Contains(ssAlt))
        t += "A";
    if (S.Contains(ssDouble))
        t += "D";
    return t.empty() ? "-" : t;
}

std::string Pt(float X, float Y) {
    char b[64];
    std::snprintf(b, sizeof b, "%g,%g", double(X), double(Y));
    return b;
}

std::string KeyText(uint16_t Key, char16_t KeyChar, TShiftState Shift) {
    char b[64];
    std::snprintf(b, sizeof b, "%u #%u %s", unsigned(Key), unsigned(KeyChar),
                  ShiftText(Shift).c_str());
    return b;
}

} // namespace

void TsgInputTestNode::DialogKey(uint16_t& Key, TShiftState Shift) {
    if (TakesDialogKey != 0 && Key == TakesDialogKey) {
        if (Log)
            Log->push_back(std::string(Name().c_str()) + " dialogkey " + std::to_string(Key));
        Key = 0;
        return;
    }
    TsgVisualObject::DialogKey(Key, Shift);
}

void TsgInputTestNode::ContextMenu(const TsgPoint& P) {
    if (Log)
        Log->push_back(std::string(Name().c_str()) + " menu " + Pt(P.X, P.Y));
}

void TsgInputLog::Watch(TsgVisualObject* node) {
    node->OnClick = TNotifyEvent::Bind<&TsgInputLog::Click>(this);
    node->OnDblClick = TNotifyEvent::Bind<&TsgInputLog::DblClick>(this);
    node->OnMouseEnter = TNotifyEvent::Bind<&TsgInputLog::Enter>(this);
    node->OnMouseLeave = TNotifyEvent::Bind<&TsgInputLog::Leave>(this);
    node->OnFocus = TNotifyEvent::Bind<&TsgInputLog::Focus>(this);
    node->OnMouseDown = TsgMouseEvent::Bind<&TsgInputLog::Down>(this);
    node->OnMouseUp = TsgMouseEvent::Bind<&TsgInputLog::Up>(this);
    node->OnMouseMove = TsgMouseMoveEvent::Bind<&TsgInputLog::Move>(this);
    node->OnMouseWheel = TsgMouseWheelEvent::Bind<&TsgInputLog::Wheel>(this);
    node->OnKeyDown = TsgKeyEvent::Bind<&TsgInputLog::KeyDown>(this);
    node->OnKeyUp = TsgKeyEvent::Bind<&TsgInputLog::KeyUp>(this);
}

void TsgInputLog::Click(TObject* S) {
    Lines.push_back(NameOf(S) + " click");
}
void TsgInputLog::DblClick(TObject* S) {
    Lines.push_back(NameOf(S) + " dblclick");
}
void TsgInputLog::Enter(TObject* S) {
    Lines.push_back(NameOf(S) + " enter");
}
void TsgInputLog::Leave(TObject* S) {
    Lines.push_back(NameOf(S) + " leave");
}
void TsgInputLog::Focus(TObject* S) {
    auto* v = dynamic_cast<TsgVisualObject*>(S);
    Lines.push_back(NameOf(S) + (v && v->IsFocused() ? " focus" : " unfocus"));
}
void TsgInputLog::Down(TObject* S, TMouseButton B, TShiftState Sh, float X, float Y) {
    Lines.push_back(NameOf(S) + " down " + ButtonName(B) + " " + ShiftText(Sh) + " " + Pt(X, Y));
}
void TsgInputLog::Up(TObject* S, TMouseButton B, TShiftState Sh, float X, float Y) {
    Lines.push_back(NameOf(S) + " up " + ButtonName(B) + " " + ShiftText(Sh) + " " + Pt(X, Y));
}
void TsgInputLog::Move(TObject* S, TShiftState, float X, float Y, float, float) {
    if (Moves)
        Lines.push_back(NameOf(S) + " move " + Pt(X, Y));
}
void TsgInputLog::Wheel(TObject* S, TShiftState, int Delta, TsgPoint Pos, bool& Handled) {
    const std::string name = NameOf(S);
    Lines.push_back(name + " wheel " + std::to_string(Delta) + " at " + Pt(Pos.X, Pos.Y));
    if (std::find(WheelTakers.begin(), WheelTakers.end(), name) != WheelTakers.end())
        Handled = true;
}
void TsgInputLog::KeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) {
    Lines.push_back("keydown " + KeyText(Key, KeyChar, Shift));
}
void TsgInputLog::KeyUp(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) {
    Lines.push_back("keyup " + KeyText(Key, KeyChar, Shift));
}
