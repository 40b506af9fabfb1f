#include "core/ExtendedFloat.h"

#include <cstring>

namespace {

constexpr int kExtBias = 16383;
constexpr int kDblBias = 1023;
constexpr uint64_t kIntegerBit = uint64_t(1) << 63;

int LeadingZeros(uint64_t v)
{
    return v == 0 ? 64 : __builtin_clzll(v);
}

void Store(uint64_t mantissa, uint16_t signExp, uint8_t (&bytes)[kExtendedSize])
{
    for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<uint8_t>(mantissa >> (8 * i));
    bytes[8] = static_cast<uint8_t>(signExp);
    bytes[9] = static_cast<uint8_t>(signExp >> 8);
}

double FromBits(uint64_t bits)
{
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

// Shifts right by `shift` (1..64) rounding to nearest, ties to even.
uint64_t ShiftRound(uint64_t m, int shift)
{
    if (shift >= 65)
        return 0;
    const uint64_t q = shift == 64 ? 0 : m >> shift;
    const uint64_t rest = shift == 64 ? m : m & ((uint64_t(1) << shift) - 1);
    const uint64_t half = uint64_t(1) << (shift - 1);
    if (rest > half || (rest == half && (q & 1)))
        return q + 1;
    return q;
}

} // namespace

void DoubleToExtended(double value, uint8_t (&bytes)[kExtendedSize])
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const uint16_t sign = (bits >> 63) ? 0x8000 : 0;
    const int exp = static_cast<int>((bits >> 52) & 0x7FF);
    const uint64_t frac = bits & ((uint64_t(1) << 52) - 1);

    if (exp == 0x7FF) { // infinity, or NaN made quiet with its payload kept
        const uint64_t mantissa = frac == 0 ? kIntegerBit : kIntegerBit | (uint64_t(1) << 62) | (frac << 11);
        Store(mantissa, sign | 0x7FFF, bytes);
    } else if (exp == 0 && frac == 0) {
        Store(0, sign, bytes);
    } else if (exp == 0) { // denormal: normalise, the extended range holds it
        const int lz = LeadingZeros(frac);  // 12..63
        const int top = 63 - lz;            // position of the leading bit
        const int unbiased = top - 1074;    // frac * 2^-1074
        Store(frac << lz, static_cast<uint16_t>(sign | (unbiased + kExtBias)), bytes);
    } else {
        Store(kIntegerBit | (frac << 11), static_cast<uint16_t>(sign | (exp - kDblBias + kExtBias)), bytes);
    }
}

double ExtendedToDouble(const uint8_t (&bytes)[kExtendedSize])
{
    uint64_t m = 0;
    for (int i = 0; i < 8; ++i)
        m |= uint64_t(bytes[i]) << (8 * i);
    const uint16_t signExp = static_cast<uint16_t>(bytes[8] | (bytes[9] << 8));
    const uint64_t sign = uint64_t(signExp >> 15) << 63;
    const int exp = signExp & 0x7FFF;
    const uint64_t infBits = sign | (uint64_t(0x7FF) << 52);

    if (exp == 0x7FFF) {
        if (m == kIntegerBit)
            return FromBits(infBits);
        // NaN (pseudo-forms included): quiet, top payload bits kept.
        const uint64_t payload = (m << 2) >> 13; // the 51 bits below the quiet bit
        return FromBits(infBits | (uint64_t(1) << 51) | payload);
    }
    if (m == 0)
        return FromBits(sign);

    // Unbiased exponent of the leading mantissa bit; an exponent field of 0
    // scales like 1 (denormal extended values).
    const int lz = LeadingZeros(m);
    m <<= lz;
    int e = (exp == 0 ? 1 : exp) - kExtBias - lz;

    if (e >= -1022) {
        uint64_t q = ShiftRound(m, 11); // 53 significant bits
        if (q >> 53) {                  // rounding carried into a new bit
            q >>= 1;
            ++e;
        }
        if (e > 1023)
            return FromBits(infBits);
        return FromBits(sign | (uint64_t(e + kDblBias) << 52) | (q & ((uint64_t(1) << 52) - 1)));
    }
    // Denormal double: the value is m * 2^(e - 63); the result counts units of
    // 2^-1074. A carry into bit 52 gives the smallest normal, which the same
    // bit pattern already encodes.
    const int shift = 11 + (-1022 - e);
    return FromBits(sign | ShiftRound(m, shift));
}
