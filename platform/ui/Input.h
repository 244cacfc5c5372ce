// Keyboard and mouse vocabulary of the class library: shift states, mouse buttons and the
// virtual-key codes that key messages carry.
#pragma once

#include <cstdint>

enum TShiftStateFlag : unsigned {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
    ssDouble = 1u << 6,
};

// A set of TShiftStateFlag values.
struct TShiftState {
    unsigned Bits = 0;

    TShiftState() = default;
    TShiftState(unsigned bits) : Bits(bits) {}
    bool Contains(TShiftStateFlag flag) const { return (Bits & flag) != 0; }
    friend bool operator==(TShiftState, TShiftState) = default;
};

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Virtual-key codes (the well-known numbering; letters and digits are their ASCII capitals).
constexpr uint16_t VK_LBUTTON = 0x01;
constexpr uint16_t VK_RBUTTON = 0x02;
constexpr uint16_t VK_MBUTTON = 0x04;
constexpr uint16_t VK_BACK = 0x08;
constexpr uint16_t VK_TAB = 0x09;
constexpr uint16_t VK_RETURN = 0x0D;
constexpr uint16_t VK_SHIFT = 0x10;
constexpr uint16_t VK_CONTROL = 0x11;
constexpr uint16_t VK_MENU = 0x12;
constexpr uint16_t VK_PAUSE = 0x13;
constexpr uint16_t VK_CAPITAL = 0x14;
constexpr uint16_t VK_ESCAPE = 0x1B;
constexpr uint16_t VK_SPACE = 0x20;
constexpr uint16_t VK_PRIOR = 0x21;
constexpr uint16_t VK_NEXT = 0x22;
constexpr uint16_t VK_END = 0x23;
constexpr uint16_t VK_HOME = 0x24;
constexpr uint16_t VK_LEFT = 0x25;
constexpr uint16_t VK_UP = 0x26;
constexpr uint16_t VK_RIGHT = 0x27;
constexpr uint16_t VK_DOWN = 0x28;
constexpr uint16_t VK_INSERT = 0x2D;
constexpr uint16_t VK_DELETE = 0x2E;
constexpr uint16_t VK_LWIN = 0x5B;
constexpr uint16_t VK_APPS = 0x5D;
constexpr uint16_t VK_NUMPAD0 = 0x60;
constexpr uint16_t VK_MULTIPLY = 0x6A;
constexpr uint16_t VK_ADD = 0x6B;
constexpr uint16_t VK_SUBTRACT = 0x6D;
constexpr uint16_t VK_DECIMAL = 0x6E;
constexpr uint16_t VK_DIVIDE = 0x6F;
constexpr uint16_t VK_F1 = 0x70;
constexpr uint16_t VK_NUMLOCK = 0x90;
constexpr uint16_t VK_SCROLL = 0x91;
constexpr uint16_t VK_OEM_1 = 0xBA;      // ;:
constexpr uint16_t VK_OEM_PLUS = 0xBB;   // =+
constexpr uint16_t VK_OEM_COMMA = 0xBC;  // ,<
constexpr uint16_t VK_OEM_MINUS = 0xBD;  // -_
constexpr uint16_t VK_OEM_PERIOD = 0xBE; // .>
constexpr uint16_t VK_OEM_2 = 0xBF;      // /?
constexpr uint16_t VK_OEM_3 = 0xC0;      // `~
constexpr uint16_t VK_OEM_4 = 0xDB;      // [{
constexpr uint16_t VK_OEM_5 = 0xDC;      // backslash |
constexpr uint16_t VK_OEM_6 = 0xDD;      // ]}
constexpr uint16_t VK_OEM_7 = 0xDE;      // '"

// Key messages carry the shift state of their moment in lParam: Alt in bit 29 as usual, Shift
// and Ctrl in bits 25 and 26 (reserved bits otherwise), so a key is read as it was typed and not
// as the keyboard is when the message is handled.
constexpr uintptr_t KF_SHIFTSTATE_SHIFT = uintptr_t(1) << 25;
constexpr uintptr_t KF_SHIFTSTATE_CTRL = uintptr_t(1) << 26;
constexpr uintptr_t KF_SHIFTSTATE_ALT = uintptr_t(1) << 29;
TShiftState KeyDataToShiftState(intptr_t keyData);

// The state of a key or button as the key messages report it: bit 15 set while it is down.
int16_t GetKeyState(int virtualKey);
// The shift state of the keyboard and mouse right now.
TShiftState CurrentShiftState();
// The shift state a mouse message carries in its wParam (buttons, Shift, Ctrl), with Alt as it
// is now.
TShiftState ShiftStateOfMouseKeys(uintptr_t mouseKeys);
