#include "platform/classes/Extended.h"

#include <bit>
#include <cmath>
#include <cstring>

void DoubleToExtended(double value, uint8_t out[10]) {
    uint64_t bits = std::bit_cast<uint64_t>(value);
    uint16_t sign = (bits >> 63) ? 0x8000 : 0;
    int exponent = static_cast<int>((bits >> 52) & 0x7FF);
    uint64_t fraction = bits & ((uint64_t(1) << 52) - 1);
    uint64_t mantissa = 0;
    int biased = 0;
    if (exponent == 0x7FF) {
        biased = 0x7FFF;
        mantissa = (uint64_t(1) << 63) | (fraction << 11);
        if (fraction)
            mantissa |= uint64_t(1) << 62; // keep a NaN quiet
    } else if (exponent == 0) {
        if (fraction) { // a denormal double is a normal extended
            int shift = std::countl_zero(fraction);
            mantissa = fraction << shift;
            biased = -1074 - shift + 16383 + 63;
        }
    } else {
        mantissa = (uint64_t(1) << 63) | (fraction << 11);
        biased = exponent - 1023 + 16383;
    }
    for (int i = 0; i < 8; ++i)
        out[i] = static_cast<uint8_t>(mantissa >> (8 * i));
    uint16_t top = static_cast<uint16_t>(sign | biased);
    out[8] = static_cast<uint8_t>(top & 0xFF);
    out[9] = static_cast<uint8_t>(top >> 8);
}

double ExtendedToDouble(const uint8_t in[10]) {
    uint64_t mantissa = 0;
    for (int i = 0; i < 8; ++i)
        mantissa |= uint64_t(in[i]) << (8 * i);
    uint16_t top = static_cast<uint16_t>(in[8] | (in[9] << 8));
    bool negative = (top & 0x8000) != 0;
    int biased = top & 0x7FFF;
    double result;
    if (biased == 0x7FFF) {
        result = (mantissa << 1) == 0 ? INFINITY : NAN;
    } else if (mantissa == 0) {
        result = 0.0;
    } else {
        int exponent = (biased == 0 ? 1 : biased) - 16383 - 63;
        result = std::ldexp(static_cast<double>(mantissa), exponent);
    }
    return negative ? -result : result;
}
