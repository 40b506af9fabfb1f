#include "shapes/GalleryMath.h"

#include "canvas/KorCanvas3D.h"

namespace Gallery {

void Wave(const TBox &b, long long base, int start, bool forward, TPointArray &points)
{
    constexpr int n = 8;
    const long long q = Div(b.W, 4);
    const long long r = Div(b.H, 4);
    const double step = (2 * M_PI / 3) / (n - 1);
    auto point = [&](double a, long long c) { return Pt(c - SinTimes(a, q), base - CosTimes(a, r)); };
    auto put = [&points](int index, const TPoint &p) {
        if (index >= 0 && static_cast<size_t>(index) < points.size())
            points[static_cast<size_t>(index)] = p;
    };
    for (int i = 1; i <= n; ++i) {
        const TPoint p = point(i * step - M_PI / 3, b.R - q);
        put(forward ? start + i : start + 2 * n + 1 - i, p);
    }
    for (int i = 1; i <= n; ++i) {
        const TPoint p = point(i * step - 3 * M_PI / 2, b.L + q);
        put(forward ? start + 2 * n + 1 - i : start + i, p);
    }
}

TPointArray DOutline(const TBox &b)
{
    const long long ry = Div(b.H, 2);
    TPointArray p(33);
    p[0] = Pt(b.L, b.T);
    for (int i = 1; i <= 32; ++i) {
        const double a = HalfTurn(i, 32);
        p[i] = Pt(b.L + CosTimes(a, b.W), b.CY + SinTimes(a, ry));
    }
    return p;
}

void Stroke(TKorCanvas3D *canvas, const TPoint &a, const TPoint &b)
{
    canvas->ProjectedLine(a.X, a.Y, b.X, b.Y, 0);
}

void Ellipse(TKorCanvas3D *canvas, long long x1, long long y1, long long x2, long long y2)
{
    const TPoint a = Pt(x1, y1), b = Pt(x2, y2);
    canvas->ProjectedEllipse(a.X, a.Y, b.X, b.Y, 0);
}

void Rectangle(TKorCanvas3D *canvas, long long x1, long long y1, long long x2, long long y2)
{
    canvas->ProjectedRectangle(TRect(Pt(x1, y1), Pt(x2, y2)), 0);
}

} // namespace Gallery
