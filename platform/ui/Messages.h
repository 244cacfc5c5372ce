// Window messages of the user-interface thread: the posted queue, its quit request, and the
// order in which the loop hands messages out.
//
// There is one queue for the whole application (one user-interface thread). A message is taken
// in this order, as the callers' message pumps expect: posted and input messages first-in
// first-out, then the quit request, then WM_PAINT for a window whose update region is not empty,
// then WM_TIMER for the earliest timer that is due. Paint and timer messages are made when asked
// for; nothing is queued for them.
//
// Everything here belongs to the user-interface thread; no other thread may post or peek.
//
// Message numbers are the well-known ones, so user messages (WM_USER + n) and filters written
// against them keep their meaning.
#pragma once

#include "platform/ui/Geometry.h"

#include <cstdint>

class TWinControl;

// A window handle is the window object itself; a handle whose window has gone is never reused
// while the process lives, and every message still queued for it is dropped.
using HWND = TWinControl*;
using UINT = unsigned;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

struct TMsg {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    uint32_t time = 0;
    TPoint pt;
};

// What a window procedure receives and answers.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_IME_STARTCOMPOSITION = 0x010D;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
constexpr UINT WM_MOUSEWHEEL = 0x020A;
constexpr UINT WM_USER = 0x0400;
// Messages of the class library's controls.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_RELEASE = CM_BASE + 33;
// LParam points at a THintInfo (HintWindow.h) the window may fill.
constexpr UINT CM_HINTSHOW = CM_BASE + 48;

constexpr UINT PM_NOREMOVE = 0;
constexpr UINT PM_REMOVE = 1;

// Key and button state carried in wParam of mouse messages.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;

// Mouse positions travel in lParam as two signed 16-bit halves, x low.
inline LPARAM MakeMouseLParam(int x, int y) {
    return static_cast<LPARAM>((static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16) |
                               static_cast<uint16_t>(x));
}
inline TPoint MouseLParamPoint(LPARAM lParam) {
    return TPoint{static_cast<int16_t>(static_cast<uint16_t>(lParam & 0xFFFF)),
                  static_cast<int16_t>(static_cast<uint16_t>((lParam >> 16) & 0xFFFF))};
}

// Appends a message for `hwnd` (nullptr: for the application itself) to the queue; false when
// `hwnd` names no live window.
bool PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Asks the loop to end: WM_QUIT with `exitCode` comes out once the posted messages before it are
// gone. It is handed out whatever filter the caller uses.
void PostQuitMessage(int exitCode);
// Takes (PM_REMOVE) or looks at (PM_NOREMOVE) the next message for `hwnd` (nullptr: any) whose
// number lies in min..max (both 0: any); false when there is none. Pending input is fetched
// first, so a pump always sees what the user has done.
bool PeekMessage(TMsg* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
// Waits until a message is there (a timer's deadline counts) and takes it; false for WM_QUIT.
bool GetMessage(TMsg* msg, HWND hwnd, UINT filterMin, UINT filterMax);
// Blocks until a message is there, without taking it.
void WaitMessage();
// Hands a message to its window's procedure, or runs a timer; the procedure's result.
LRESULT DispatchMessage(const TMsg* msg);
// Calls the window's procedure at once, bypassing the queue; 0 for a window that has gone.
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Whether `hwnd` is a live window.
bool IsWindow(HWND hwnd);
// Number of posted messages waiting (quit, paint and timers not counted); for tests and probes.
int PendingPostedMessageCount();
