#pragma once
// The arithmetic every gallery outline is written in: a node's bounds with
// their width, height and integer centre, the rounding of real products,
// points on quarter-turn arcs, the wave of the document symbols and the
// D of the delay and the AND gate.
//
// Bounds come from files, so everything is computed in 64 bits and every
// vertex is brought back into the coordinate range; inside the range the
// values are exact.

#include "canvas/CanvasTypes.h"
#include "core/Rounding.h"
#include "model/CustomTreeShape.h"

#include <cmath>

class TKorCanvas3D;

namespace Gallery {

// Nearest integer, ties to even.
inline long long Near(double v)
{
    return dx::RoundEvenWide(v);
}

// a div b: integer division truncating toward zero (0 for b = 0).
inline long long Div(long long a, long long b)
{
    return b == 0 ? 0 : a / b;
}

inline TPoint Pt(long long x, long long y)
{
    return TPoint(ClampCoord(x), ClampCoord(y));
}

// The bounds of a node as the outlines use them.
struct TBox
{
    long long L, T, R, B;
    long long W, H;   // R - L, B - T
    long long CX, CY; // (L + R) div 2, (T + B) div 2

    explicit TBox(const TRect &r)
        : L(r.Left), T(r.Top), R(r.Right), B(r.Bottom), W(R - L), H(B - T), CX(Div(L + R, 2)), CY(Div(T + B, 2))
    {
    }

    // nearest(W * percent / 100), nearest(H * percent / 100).
    long long PercentW(double percent) const { return Near(static_cast<double>(W) * percent / 100); }
    long long PercentH(double percent) const { return Near(static_cast<double>(H) * percent / 100); }
};

// The angle 3π/2 + i·π/steps: i = 1 … steps runs a half turn from the
// top of an arc through its outer side to its bottom.
inline double HalfTurn(int i, int steps)
{
    return 3 * M_PI / 2 + i * M_PI / steps;
}

// nearest(cos a · r) and nearest(sin a · r).
inline long long CosTimes(double a, long long r)
{
    return Near(ExactCos(a) * static_cast<double>(r));
}
inline long long SinTimes(double a, long long r)
{
    return Near(ExactSin(a) * static_cast<double>(r));
}

// Fills points[start + 1 … start + 16] of the document and punched-tape
// outlines with the wave of 8 points per arc around base y `base`, the
// right arc first when `forward`.
void Wave(const TBox &b, long long base, int start, bool forward, TPointArray &points);

// A D as wide and high as the bounds: the top-left corner, then a half
// ellipse of 32 steps from the top right round to the bottom left.
TPointArray DOutline(const TBox &b);

// A stroke of a shape: a straight line from a to b with the canvas's
// current pen, at depth 0 (the canvas projects it).
void Stroke(TKorCanvas3D *canvas, const TPoint &a, const TPoint &b);
// An ellipse in (x1, y1, x2, y2) with the current pen and brush.
void Ellipse(TKorCanvas3D *canvas, long long x1, long long y1, long long x2, long long y2);
// A rectangle with the current pen and brush.
void Rectangle(TKorCanvas3D *canvas, long long x1, long long y1, long long x2, long long y2);

} // namespace Gallery
