#pragma once
// The three rounding rules every computation of the program follows:
//  - floating results are rounded to the nearest integer, ties to even
//    (RoundEven: 2.5 -> 2, 3.5 -> 4, -2.5 -> -2);
//  - scaled values use multiply-then-divide, halves rounded away from zero
//    (MulDiv: MulDiv(5, 1, 2) = 3, MulDiv(-5, 1, 2) = -3);
//  - halving an integer sum rounds toward zero (HalfSum: (-3 + 0) / 2 = -1).
// qRound and std::lround round ties away from zero and must not be used
// where the first rule applies.

#include <climits>
#include <cmath>
#include <cstdint>

namespace dx {

// Nearest integer, ties to even, in 64 bits: a scaled value beyond the int
// range that an offset is still to be added to (then Saturate). Beyond
// 2^40 every value is as good as any other; NaN gives 0.
inline int64_t RoundEvenWide(double v)
{
    if (std::isnan(v))
        return 0;
    const double c = v > 1099511627776.0 ? 1099511627776.0 : (v < -1099511627776.0 ? -1099511627776.0 : v);
    const double f = std::floor(c);
    const double d = c - f; // exact for doubles
    double r = f;
    if (d > 0.5)
        r = f + 1.0;
    else if (d == 0.5)
        r = (std::fmod(f, 2.0) == 0.0) ? f : f + 1.0;
    return static_cast<int64_t>(r);
}

// Nearest integer, ties to even. Values beyond the int range saturate and
// NaN gives 0, so no caller can hit undefined behaviour on a bad input.
inline int RoundEven(double v)
{
    const int64_t r = RoundEvenWide(v);
    return r > INT_MAX ? INT_MAX : r < INT_MIN ? INT_MIN : static_cast<int>(r);
}

// a * b / c with the quotient rounded half away from zero, computed in 64
// bits. A zero divisor gives 0 rather than a trap; a quotient outside the int
// range saturates.
inline int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return 0;
    const int64_t p = static_cast<int64_t>(a) * b;
    const int64_t ap = p < 0 ? -p : p;
    const int64_t ac = c < 0 ? -static_cast<int64_t>(c) : c;
    int64_t q = (ap + ac / 2) / ac; // halves away from zero on magnitudes
    if ((p < 0) != (c < 0))
        q = -q;
    if (q > INT_MAX)
        return INT_MAX;
    if (q < INT_MIN)
        return INT_MIN;
    return static_cast<int>(q);
}

// (a + b) / 2 rounded toward zero, without overflow.
inline int HalfSum(int a, int b)
{
    return static_cast<int>((static_cast<int64_t>(a) + b) / 2);
}

// A 64-bit result brought into the int range, its ends standing for
// anything beyond them.
inline int Saturate(int64_t v)
{
    return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v);
}

// Integer division rounded toward zero ("div"); a zero divisor gives 0.
inline int Div(int a, int b)
{
    if (b == 0)
        return 0;
    if (a == INT_MIN && b == -1)
        return INT_MAX;
    return a / b;
}

} // namespace dx
