// The ten-byte extended floating-point format of component streams (sign, 15-bit exponent with
// bias 16383, 64-bit significand with an explicit integer bit), converted without relying on the
// host's long double.
#pragma once

#include <cstdint>

void DoubleToExtended(double value, uint8_t out[10]);
// Rounds to the nearest double; values beyond the double range become infinities or zeros.
double ExtendedToDouble(const uint8_t in[10]);
