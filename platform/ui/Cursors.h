// Mouse cursors of the class library (TCursor) and the screen-wide override.
#pragma once

#include <cstdint>

using TCursor = int;

constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

// Shows `cursor` now (crDefault shows the arrow, crNone hides the pointer). Unknown values show
// the arrow. Without a display this only records the choice.
void ShowPlatformCursor(TCursor cursor);
// The cursor shown last.
TCursor ShownCursor();

// The screen: its size and a cursor that overrides every window's while it is not crDefault
// (the hour glass during long work).
class TScreen {
public:
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value);
    int Width() const;
    int Height() const;

private:
    TCursor cursor_ = crDefault;
};

extern TScreen* Screen;
