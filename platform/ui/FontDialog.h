// The font dialog: a window of its own, drawn with the graphics layer, in which the user picks a
// family from the fonts the system has, one of the four styles and a size, sees a line of text in
// that font and confirms with OK (or Enter, or a double click in a list) or leaves with Cancel
// (or Escape, or closing the window).
//
// The three lists (family, style, size) take Up, Down, Page Up, Page Down, Home and End; Tab
// moves between them; the wheel scrolls the list under the pointer. A font whose family or size
// is not among those listed keeps them as extra entries, so OK without a change gives the font
// back as it was. Underline and strike-out are not offered and stay as the font had them.
#pragma once

#include "platform/ui/FontsColors.h"
#include "platform/ui/Forms.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class TFontChooser : public TForm {
public:
    enum TList { FamilyList, StyleList, SizeList };
    static constexpr int RowHeight = 18;

    explicit TFontChooser(TForm* AOwner = nullptr);
    ~TFontChooser() override;

    // Selects the font's family, style and size.
    void SetChoice(const TFont& Font);
    // Writes the chosen family, style (bold and italic) and size (as the negative height) into
    // Font; its colour, character set, underline and strike-out stay.
    void GetChoice(TFont& Font) const;

    int Count(TList List) const;
    UnicodeString Item(TList List, int Index) const;
    int ItemIndex(TList List) const { return FIndex[List]; }
    // Selects a row (clamped to the list) and scrolls it into view.
    void SetItemIndex(TList List, int Index);
    int TopIndex(TList List) const { return FTop[List]; }
    TList FocusedList() const { return FFocused; }

    // Client rectangles: a list's box, a row of it (as scrolled now), the two buttons.
    TRect ListRect(TList List) const;
    TRect RowRect(TList List, int Index) const;
    TRect OkRect() const;
    TRect CancelRect() const;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;

private:
    int VisibleRows(TList List) const;
    void ScrollTo(TList List, int Top);
    int ListAt(TPoint P) const;

    std::vector<UnicodeString> FFamilies;
    std::vector<int> FSizes;
    std::array<int, 3> FIndex{{-1, 0, -1}};
    std::array<int, 3> FTop{{0, 0, 0}};
    TList FFocused = FamilyList;
    // The button pressed and not yet released: mrOk, mrCancel or mrNone.
    TModalResult FPressed = mrNone;
    std::vector<uint32_t> FPixels;
};

class TFontDialog {
public:
    // Shows the chooser modally, starting from Font; true when the user confirmed, and Font then
    // holds the choice. After Cancel Font is as it was.
    bool Execute();

    TFont Font;
    // Runs when the chooser has been shown, before the user acts.
    std::function<void(TFontChooser& Chooser)> OnShow;
    // Shows the chooser and answers how it closed; empty: ShowModal.
    std::function<TModalResult(TFontChooser& Chooser)> ShowChooser;
};
