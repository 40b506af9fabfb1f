#pragma once
// The 10-byte extended float of the component stream: a 64-bit mantissa
// with an explicit integer bit, then 16 bits of sign (top bit) and exponent
// (bias 16383), all little-endian. Converted bit by bit, so the result does
// not depend on the compiler's long double.
//
// double -> extended is exact for every double, denormals included.
// extended -> double rounds to nearest, ties to even; magnitudes beyond the
// double range give infinity, those below half the smallest denormal give a
// signed zero. Infinities keep their sign; a NaN stays a NaN (quiet) and
// keeps the top 51 bits of its payload. Unnormal encodings (integer bit
// clear with a non-zero exponent) are read by their value; pseudo-infinities
// and pseudo-NaNs (exponent all ones, integer bit clear) read as NaN.

#include <cstdint>

constexpr int kExtendedSize = 10;

void DoubleToExtended(double value, uint8_t (&bytes)[kExtendedSize]);
double ExtendedToDouble(const uint8_t (&bytes)[kExtendedSize]);
