// The list box's answers to the mouse and the keyboard.
#include "scene/controls/Sg_listbox.h"

#include "scene/core/Sg_classes_timer.h"

#include "platform/rtl/StringUtils.h"

#include <algorithm>

namespace {

bool Starts(TsgListBoxItem* Item, const UnicodeString& Prefix) {
    return Item && Item->Text().LowerCase().SubString(1, Prefix.Length()) == Prefix;
}

} // namespace

void TsgListBox::VerifyAnchor() {
    // An anchor that left the list gives way to the current item.
    if (!FFirstSelect || FFirstSelect->ListBox() != this)
        SetAnchor(Selected());
}

void TsgListBox::SelectTarget(TsgListBoxItem* Target, TShiftState Shift) {
    const bool range = FMultiSelect && Shift.Contains(ssShift);
    if (FMultiSelect) {
        if (range) {
            VerifyAnchor();
            SelectRange(FFirstSelect, Target);
        } else
            SelectRange(Target, Target);
    }
    TsgListBoxItem* anchor = FFirstSelect;
    SetItemIndex(Target->Index());
    if (range)
        SetAnchor(anchor);
}

void TsgListBox::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgScrollBox::MouseDown(Button, Shift, X, Y);
    FPressPoint = ScrollPosition();
    if (Button != mbLeft || MouseTracking())
        return;
    TsgListBoxItem* item = ItemByPoint(X, Y);
    if (item && item->Enabled()) {
        const bool range = FMultiSelect && Shift.Contains(ssShift);
        if (FMultiSelect) {
            if (Shift.Contains(ssCtrl))
                item->SetIsSelected(!item->IsSelected());
            else if (range) {
                VerifyAnchor();
                SelectRange(FFirstSelect, item);
            } else if (!item->IsSelected())
                SelectRange(item, item);
        }
        TsgListBoxItem* anchor = FFirstSelect;
        SetItemIndex(item->Index());
        if (range)
            SetAnchor(anchor);
        if (item->OnClick)
            item->OnClick(item);
        item->DoClick(item);
    }
    FMouseSelecting = FMouseSelectingEnabled;
}

void TsgListBox::MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) {
    TsgScrollBox::MouseMove(Shift, X, Y, Dx, Dy);
    if (!FMouseSelecting || !Shift.Contains(ssLeft))
        return;
    TsgListBoxItem* item = ItemByPoint(X, Y);
    if (!item || !item->Enabled() || item == Selected())
        return;
    if (FMultiSelect) {
        if (Shift.Contains(ssCtrl))
            item->SetIsSelected(!item->IsSelected());
        else {
            VerifyAnchor();
            SelectRange(FFirstSelect, item);
        }
    }
    TsgListBoxItem* anchor = FFirstSelect;
    SetItemIndex(item->Index());
    if (FMultiSelect)
        SetAnchor(anchor);
}

void TsgListBox::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgScrollBox::MouseUp(Button, Shift, X, Y);
    FMouseSelecting = false;
    const TsgPoint now = ScrollPosition();
    const bool dragged = now.X != FPressPoint.X || now.Y != FPressPoint.Y;
    if (Button != mbLeft || dragged)
        return;
    TsgListBoxItem* item = ItemByPoint(X, Y);
    if (!MouseTracking()) {
        if (FMultiSelect && item && item->IsSelected() && !Shift.Contains(ssCtrl) &&
            !Shift.Contains(ssShift))
            SelectRange(item, item);
        return;
    }
    if (item && item->Enabled())
        SetItemIndex(item->Index());
}

void TsgListBox::KeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) {
    TsgScrollBox::KeyDown(Key, KeyChar, Shift);
    const int count = GetCount();
    if (count == 0)
        return;
    int target = -1;
    switch (Key) {
    case VK_END:
        target = count - FColumns;
        break;
    case VK_HOME:
        target = 0;
        break;
    case VK_LEFT:
        if (FItemIndex > 0)
            target = FItemIndex - 1;
        break;
    case VK_UP:
        if (FItemIndex > 0)
            target = std::max(FItemIndex - FColumns, 0);
        break;
    case VK_RIGHT:
        if (FItemIndex < count - 1)
            target = FItemIndex + 1;
        break;
    case VK_DOWN:
        if (FItemIndex < count - 1)
            target = std::min(FItemIndex + FColumns, count - 1);
        break;
    default:
        if (FSelectOnKey && KeyChar != 0)
            TypeAhead(KeyChar);
        return;
    }
    if (TsgListBoxItem* item = ItemByIndex(target))
        SelectTarget(item, Shift);
    Key = 0;
}

void TsgListBox::TypeAhead(char16_t KeyChar) {
    const UnicodeString c = UnicodeString(KeyChar, 1).LowerCase();
    int start;
    if (CompareText(TagString, c) != 0) {
        TagString += c;
        start = FItemIndex;
    } else {
        TagString = c;
        start = FItemIndex + 1;
    }
    const int count = GetCount();
    TsgListBoxItem* found = nullptr;
    if (start >= 0 && start < count)
        for (int i = start; i < count && !found; ++i)
            if (TsgListBoxItem* item = ItemByIndex(i); Starts(item, TagString))
                found = item;
    for (int i = 0; i < count && !found; ++i)
        if (TsgListBoxItem* item = ItemByIndex(i); Starts(item, TagString))
            found = item;
    if (found)
        SetItemIndex(found->Index());
    else if (TagString.Length() == 1)
        TagString = UnicodeString();
    if (!FKeyDownTimer) {
        FKeyDownTimer = new TsgTimer(this);
        FKeyDownTimer->SetInterval(1000);
        FKeyDownTimer->SetOnTimer(TNotifyEvent::Bind<&TsgListBox::DoKeyDownTimer>(this));
    }
    FKeyDownTimer->SetEnabled(false);
    FKeyDownTimer->SetEnabled(true);
}

void TsgListBox::DoKeyDownTimer(TObject*) {
    TagString = UnicodeString();
    if (FKeyDownTimer)
        FKeyDownTimer->SetEnabled(false);
}
