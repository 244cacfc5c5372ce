#include "installer/dwx/DwxFields.h"

#include <cstring>
#include <string>

namespace dwx {

AnsiString ReadNameField(DwxByteReader& in) {
    const auto* field = reinterpret_cast<const char*>(in.Take(kNameFieldBytes));
    const void* zero = std::memchr(field, 0, kNameFieldBytes);
    // Without its zero the name would be 32 bytes long, one more than any writer can store.
    if (!zero) {
        throw DwxError("a name field holds no terminating zero byte");
    }
    return AnsiString(std::string(field, static_cast<const char*>(zero) - field));
}

void WriteNameField(DwxByteWriter& out, const AnsiString& name) {
    uint8_t* field = out.Room(kNameFieldBytes);
    std::memset(field, 0, kNameFieldBytes);
    std::memcpy(field, name.c_str(), static_cast<size_t>(name.Length()));
}

void CheckNameFits(const AnsiString& name, const char* kind) {
    if (static_cast<size_t>(name.Length()) > kLongestName) {
        throw DwxError(std::string("the ") + kind + " name \"" + name.str() + "\" is longer than " +
                       std::to_string(kLongestName) + " bytes");
    }
    // A zero inside the name would end it early for every reader.
    if (name.str().find('\0') != std::string::npos) {
        throw DwxError(std::string("a ") + kind + " name holds a zero byte");
    }
}

void CheckCountFits(uint64_t count, uint64_t most, const char* what) {
    if (count > most) {
        throw DwxError(std::to_string(count) + " " + what + " do not fit this version (at most " +
                       std::to_string(most) + ")");
    }
}

int IndexWidthFor(uint64_t pointCount) {
    if (pointCount <= kMax8) {
        return 1;
    }
    if (pointCount <= kMax16) {
        return 2;
    }
    if (pointCount <= kMax24) {
        return 3;
    }
    return 4;
}

int16_t TenthsOf(float dimension) {
    const double product = static_cast<double>(dimension) * 10.0;
    if (!std::isfinite(product)) {
        return 0;
    }
    // fmod is exact, so this is the low 16 bits of the truncated product without any conversion
    // of an out-of-range float to an integer.
    const double low = std::fmod(std::trunc(product), 65536.0);
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<int32_t>(low)));
}

void CheckTenthsFit(float dimension) {
    const double product = std::trunc(static_cast<double>(dimension) * 10.0);
    if (!(product >= -32768.0 && product <= 32767.0)) {
        throw DwxError("the dimension " + std::to_string(dimension) +
                       " does not fit the 16-bit tenths of the header");
    }
}

float CheckedDimension(float dimension) {
    if (std::isnan(dimension)) {
        throw DwxError("a dimension is not a number");
    }
    return dimension;
}

void RefuseCoordinate(float coordinate, float scale) {
    throw DwxError("the coordinate " + std::to_string(coordinate) + " with scale " +
                   std::to_string(scale) + " does not fit a 16-bit point field");
}

} // namespace dwx
