// TMenuWindow: one open level of a popup menu, a popup window listing the visible sub-items of
// one menu item, drawn with the graphics layer.
//
// The row under the pointer (or chosen by Up and Down) is highlighted; resting on a row with
// sub-items opens them as the next level. A release on an enabled item chooses it; Enter does
// the same for the highlighted row, or opens its sub-items as Right does. Left and Escape close
// the level (Escape on the first level closes the menu). Disabled items and separators never
// run.
#pragma once

#include "platform/ui/Forms.h"

#include <cstdint>
#include <vector>

class TMenuItem;
class TPopupMenu;

class TMenuWindow : public TForm {
public:
    static constexpr int ItemHeight = 22;
    static constexpr int LineHeight = 7;
    // Room for the check mark on the left and the submenu arrow on the right.
    static constexpr int Gutter = 24;
    static constexpr int MinWidth = 80;

    TMenuWindow(TPopupMenu* AMenu, TMenuItem* AParentItem, int ALevel);
    ~TMenuWindow() override;

    TMenuItem* ParentItem() const { return FParentItem; }
    int Level() const { return FLevel; }
    // The rows shown: the visible sub-items, in order.
    const std::vector<TMenuItem*>& Rows() const { return FRows; }
    // The highlighted row, -1 when none.
    int HotIndex() const { return FHot; }
    void SetHotIndex(int Index);
    // The row's rectangle in client coordinates.
    TRect RowRect(int Index) const;
    // The row at a client point; -1 on none.
    int RowAt(TPoint P) const;
    // The size the rows need.
    TPoint MeasureSize() const;

    void LogicalDeactivate(TForm* Activated) override;
    // Runs the item's click once the loop reaches the message, when the item still lives.
    void PostClick(TMenuItem* Item);
    // Forgets the menu: the window is closing and only delivers a posted click.
    void Detach() { FMenu = nullptr; }

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void MouseLeave() override;
    void WndProc(TMessage& Message) override;

private:
    // Highlights the row and opens or closes the next level to match it.
    void Track(int Index, bool SelectFirst);
    void MoveHot(int Step);
    bool Selectable(int Index) const;

    TPopupMenu* FMenu;
    TMenuItem* FParentItem;
    int FLevel;
    std::vector<TMenuItem*> FRows;
    int FHot = -1;
    std::vector<uint32_t> FPixels;
};
