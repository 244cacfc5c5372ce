// Drops from the desktop: files or text dragged from another program onto a window.
//
// SDL reports a drop as a begin event, one event per file or text, and a complete event, all
// after the user let go. The pieces are collected until the drop completes; then the window under
// the pointer gets CM_DESKTOPDRAG three times in one go: enter, over and drop (WParam the stage,
// LParam the client point as in mouse messages). It reads what was dropped with
// CurrentDesktopDrop while it handles them. File names are delivered whole.
#pragma once

#include "platform/rtl/UnicodeString.h"
#include "platform/ui/Messages.h"

#include <vector>

constexpr UINT CM_DESKTOPDRAG = CM_BASE + 70;

enum TDesktopDragStage { ddsEnter = 0, ddsOver = 1, ddsDrop = 2 };

struct TDesktopDrop {
    std::vector<UnicodeString> Files;
    UnicodeString Text;
};

// What the last completed drop carried.
const TDesktopDrop& CurrentDesktopDrop();

// The SDL translation (SdlEvents.cpp) feeds these.
void DesktopDropBegin();
void DesktopDropFile(const UnicodeString& AFileName);
void DesktopDropText(const UnicodeString& AText);
// Hands the collected drop to `target`, at `client`, and starts a fresh collection.
void DesktopDropComplete(HWND target, TPoint client);
