// Field rules shared by the DWX readers and writers: the 32-byte name field, the widths of the
// counts and indices, and the conversions between model floats and the integers of the file.
#pragma once

#include "installer/dwx/DefinicjaObiektu.h"
#include "installer/dwx/DwxByteReader.h"
#include "installer/dwx/DwxByteWriter.h"
#include "platform/rtl/UnicodeString.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace dwx {

constexpr size_t kNameFieldBytes = 32;
constexpr size_t kLongestName = kNameFieldBytes - 1; // room for the terminating zero
// Ten single bytes, five two-byte values, five single bytes and 32 bytes, then two unit words.
constexpr size_t kReservedMeshBytes = 57;
constexpr size_t kUnitWordBytes = 4;
constexpr uint64_t kMax8 = 0xFF;
constexpr uint64_t kMax16 = 0xFFFF;
constexpr uint64_t kMax24 = 0xFFFFFF;
constexpr uint64_t kMax32 = 0xFFFFFFFF;

// The bytes before the first zero; a field without a zero is refused.
AnsiString ReadNameField(DwxByteReader& in);
// The name, a zero and zero padding; the name must have passed CheckNameFits.
void WriteNameField(DwxByteWriter& out, const AnsiString& name);
void CheckNameFits(const AnsiString& name, const char* kind);
void CheckCountFits(uint64_t count, uint64_t most, const char* what);

// Bytes of one version-204 vertex index in a mesh of pointCount points.
int IndexWidthFor(uint64_t pointCount);

// Calls action(std::integral_constant<int, W>{}) for the index width W (1 to 4), so that the
// per-index code is compiled once per width.
template <class Action>
void WithIndexWidth(int width, Action&& action) {
    switch (width) {
    case 1:
        action(std::integral_constant<int, 1>{});
        break;
    case 2:
        action(std::integral_constant<int, 2>{});
        break;
    case 3:
        action(std::integral_constant<int, 3>{});
        break;
    default:
        action(std::integral_constant<int, 4>{});
        break;
    }
}

// The header's tenths of a version-204 dimension: the product with 10 truncated toward zero, its
// low 16 bits. A dimension that is not finite has no tenths and gives 0.
int16_t TenthsOf(float dimension);

// Refuses a dimension whose tenths, truncated, a 16-bit header field cannot hold (version 202
// keeps nothing else of the dimensions).
void CheckTenthsFit(float dimension);
// A dimension read from a file; NaN is refused.
float CheckedDimension(float dimension);

[[noreturn]] void RefuseCoordinate(float coordinate, float scale);

// The 16-bit value that stores a vertex coordinate: coordinate x scale truncated toward zero.
// A coordinate read from a scaled file is the stored value divided by the scale and rounded to
// float, which can land just below the stored value; truncating it would move the point by one
// unit at every rewrite. When the coordinate is exactly the reader's image of the next integer
// away from zero, that integer is the value it came from. Refuses what 16 bits cannot hold.
inline int16_t StoredCoordinate(float coordinate, float scale) {
    const double product = static_cast<double>(coordinate) * static_cast<double>(scale);
    // Checked before the conversion, which is then defined and truncates toward zero; NaN fails.
    if (!(product > -32769.0 && product < 32768.0)) {
        RefuseCoordinate(coordinate, scale);
    }
    int32_t whole = static_cast<int32_t>(product);
    if (whole != product && scale != 1.0f) {
        const int32_t awayFromZero = whole + (product > 0.0 ? 1 : -1);
        if (awayFromZero >= -32768 && awayFromZero <= 32768 &&
            static_cast<float>(awayFromZero) / scale == coordinate) {
            whole = awayFromZero;
        }
    }
    if (whole < -32768 || whole > 32767) {
        RefuseCoordinate(coordinate, scale);
    }
    return static_cast<int16_t>(whole);
}

// The vertex of a stored 16-bit point (three int16 at p): each value divided by the scale.
inline CpunktF UnscaledPoint(const uint8_t* p, float scale) {
    const auto value = [p](int k) {
        return static_cast<float>(static_cast<int16_t>(DwxByteReader::LoadU16(p + 2 * k)));
    };
    return {value(0) / scale, value(1) / scale, value(2) / scale};
}

} // namespace dwx
