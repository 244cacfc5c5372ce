// The system message box.
//
// Shown through SDL when a display is there. Without one (no video, or the offscreen or dummy
// driver) the caption and text go to standard error and the box answers at once: OK for a box
// that has only OK, otherwise the refusing choice (Cancel when there is one, else No), so an
// unattended run never agrees to anything it was asked.
#pragma once

#include "platform/rtl/UnicodeString.h"
#include "platform/ui/Messages.h"

#include <functional>

constexpr unsigned MB_OK = 0x00;
constexpr unsigned MB_OKCANCEL = 0x01;
constexpr unsigned MB_ABORTRETRYIGNORE = 0x02;
constexpr unsigned MB_YESNOCANCEL = 0x03;
constexpr unsigned MB_YESNO = 0x04;
constexpr unsigned MB_RETRYCANCEL = 0x05;
constexpr unsigned MB_ICONSTOP = 0x10;
constexpr unsigned MB_ICONERROR = 0x10;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONWARNING = 0x30;
constexpr unsigned MB_ICONEXCLAMATION = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr unsigned MB_DEFBUTTON2 = 0x100;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Shows a modal message box over `owner` (may be nullptr) and answers the button pressed.
int MessageBox(HWND owner, const UnicodeString& text, const UnicodeString& caption, unsigned flags);

// The answer of a box nobody can see (see above).
int HeadlessMessageBoxAnswer(unsigned flags);
