// Value tags of component streams.
//
// The binary form of a component stream ("TPF0") is a sequence of tagged values. The numbering is
// fixed once and for all, since streams written by one build are read by every later one:
//
//   Null 0, List 1, Int8 2, Int16 3, Int32 4, Extended 5, String 6, Ident 7, False 8, True 9,
//   Binary 10, Set 11, LString 12, Nil 13, Collection 14, Single 15, Currency 16, Date 17,
//   WString 18, Int64 19, UTF8String 20, Double 21.
//
// Integers are little-endian. Floats are written as ten-byte extended values and read back into
// double. The writer always picks the smallest integer tag that holds a value, and strings that are
// pure ASCII go out as String (up to 255 bytes) or LString, any other text as WString (UTF-16).
#pragma once

#include <cstdint>

enum TValueType : uint8_t {
    vaNull = 0,
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,
    vaString = 6,
    vaIdent = 7,
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10,
    vaSet = 11,
    vaLString = 12,
    vaNil = 13,
    vaCollection = 14,
    vaSingle = 15,
    vaCurrency = 16,
    vaDate = 17,
    vaWString = 18,
    vaInt64 = 19,
    vaUTF8String = 20,
    vaDouble = 21,
};

constexpr uint8_t vaLastValueType = vaDouble;

// Flags of the prefix byte (0xF0 | flags) that may precede an object's class name.
enum TFilerFlag : uint8_t {
    ffInherited = 1,
    ffChildPos = 2,
    ffInline = 4,
};

// The four signature bytes of the binary form.
constexpr char FilerSignature[4] = {'T', 'P', 'F', '0'};
