#include "model/ConnectionGeometry.h"

#include "core/Rounding.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace ConnectionGeometry {

namespace {
constexpr double kPi = 3.14159265358979323846;

// The direction from a to b: atan2(dx, dy) in degrees, rounded.
int Degrees(const TPoint &a, const TPoint &b)
{
    return dx::RoundEven(std::atan2(double(b.X) - a.X, double(b.Y) - a.Y) * 180.0 / kPi);
}

// The offset (dx, dy) from (cx, cy) turned by `degrees`, added back to it.
TPoint TurnOffset(double dx, double dy, int cx, int cy, double degrees)
{
    const double a = degrees * kPi / 180.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    return {dx::Saturate(int64_t(dx::RoundEven(dx * c + dy * s)) + cx),
            dx::Saturate(int64_t(dx::RoundEven(dx * s - dy * c)) + cy)};
}
} // namespace

TPoint MeetingPoint(TTreeShapeStyle style, const TRect &own, const TRect &other)
{
    const int L = own.Left, T = own.Top, R = own.Right, B = own.Bottom;
    const int oL = other.Left, oT = other.Top, oR = other.Right, oB = other.Bottom;
    const int cx = dx::HalfSum(L, R);
    const int cy = dx::HalfSum(T, B);
    switch (style) {
    case tssCircle:
    case tssDiamond:
        if (L > oR)
            return {L, cy};
        if (R < oL)
            return {R, cy};
        if (T > oB)
            return {cx, T};
        return {cx, B};
    case tssVertLine:
        return {cx, oB < T ? T : B};
    case tssHorizLine:
        return {oR < L ? L : R, cy};
    case tssLine:
    case tssInvertLine:
        return oR < L ? TPoint(L, T) : TPoint(R, B);
    case tssTriangleTop:
        if (oB < T)
            return {cx, T};
        return {oL < L ? L : R, B};
    case tssTriangleBottom:
        if (B < oT)
            return {cx, B};
        return {(oR < L || R >= oR) ? L : R, T};
    case tssTriangleLeft:
        if (oR < L)
            return {L, cy};
        return {R, oB < T ? T : B};
    case tssTriangleRight:
        if (R < oL)
            return {R, cy};
        return {L, oB < T ? T : B};
    default: {
        // Rectangles and every style without a rule of its own.
        int x;
        bool centred = false;
        if (R > oR) {
            centred = !(L > oR);
            x = centred ? cx : L;
        } else {
            centred = !(R < oL);
            x = centred ? cx : R;
        }
        int y;
        if (oT > T)
            y = (centred || oT > B) ? B : cy;
        else
            y = (centred || oB < T) ? T : cy;
        return {x, y};
    }
    }
}

TPointArray StyledLine(TTreeConnectionStyle style, const TPointArray &points)
{
    if (points.empty() || (style != csSides && style != csInvertedSides))
        return points;
    TPointArray line;
    line.reserve(points.size() * 2);
    line.push_back(points.front());
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        const TPoint &p = points[i];
        const TPoint &q = points[i + 1];
        if (style == csSides) {
            line.emplace_back(p.X, q.Y);
            if (q.X != p.X)
                line.push_back(q);
        } else {
            line.emplace_back(q.X, p.Y);
            if (q.Y != p.Y)
                line.push_back(q);
        }
    }
    return line;
}

TPointArray CurvePoints(const TPointArray &points)
{
    TPointArray curve = points;
    if (curve.size() > 4)
        while ((curve.size() - 4) % 3 != 0)
            curve.push_back(curve.back());
    return curve;
}

TPointArray BezierPolyline(const TPointArray &points)
{
    if (points.size() < 4)
        return points;
    TPointArray line{points[0]};
    for (size_t i = 0; i + 3 < points.size(); i += 3) {
        const TPoint &p0 = points[i], &p1 = points[i + 1], &p2 = points[i + 2], &p3 = points[i + 3];
        // About one step per three pixels of the control polygon.
        auto span = [](const TPoint &a, const TPoint &b) { return std::hypot(double(b.X) - a.X, double(b.Y) - a.Y); };
        const double length = span(p0, p1) + span(p1, p2) + span(p2, p3);
        const int steps = static_cast<int>(std::clamp(length / 3.0, 4.0, 200.0));
        for (int k = 1; k < steps; ++k) {
            const double t = static_cast<double>(k) / steps;
            const double u = 1.0 - t;
            const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
            line.emplace_back(dx::RoundEven(a * p0.X + b * p1.X + c * p2.X + d * p3.X),
                              dx::RoundEven(a * p0.Y + b * p1.Y + c * p2.Y + d * p3.Y));
        }
        line.push_back(p3);
    }
    return line;
}

int StartAngle(TTreeConnectionStyle style, const TPointArray &points)
{
    if (points.size() < 2)
        return 0;
    const TPoint p0 = points[0];
    TPoint p1 = points[1];
    if (style == csSides)
        p1.X = p0.X;
    else if (style == csInvertedSides)
        p1.Y = p0.Y;
    return Degrees(p0, p1);
}

int EndAngle(TTreeConnectionStyle style, const TPointArray &points)
{
    if (points.size() < 2)
        return 0;
    TPoint l = points[points.size() - 1];
    const TPoint &p = points[points.size() - 2];
    if (style == csInvertedSides)
        l.X = p.X;
    if (style == csSides)
        l.Y = p.Y;
    return Degrees(p, l);
}

int TextAngle(int endAngle)
{
    // A last segment running right to left (end angle -90) gives -180,
    // which is turned too, so text never reads upside down.
    int f = endAngle - 90;
    if (f > -270 && f < -90)
        f += 180;
    return f;
}

TPoint Turn(int px, int py, int cx, int cy, double degrees)
{
    return TurnOffset(double(px) - cx, double(py) - cy, cx, cy, degrees);
}

TPointArray ArrowHead(const TPoint &tip, double degrees, int size)
{
    // A = (cx - size, cy - size / 2) and B = (cx - size, cy + size / 2),
    // turned about the tip (sizes read from a file may be anything).
    const double half = size / 2;
    return {TurnOffset(-double(size), -half, tip.X, tip.Y, degrees), tip,
            TurnOffset(-double(size), half, tip.X, tip.Y, degrees)};
}

TRect ArrowSquare(const TPoint &center, int size)
{
    const int left = dx::Saturate(int64_t(center.X) - size / 2);
    const int top = dx::Saturate(int64_t(center.Y) - size / 2);
    return TRect(left, top, dx::Saturate(int64_t(left) + size), dx::Saturate(int64_t(top) + size));
}

TPoint TextOrigin(const TPoint &p, const TPoint &l, THorizTextAlign horiz, TVertTextAlign vert)
{
    int x = static_cast<int>(p.X + (int64_t(l.X) - p.X) / 2);
    if (horiz == htaLeft)
        x = p.X;
    else if (horiz == htaRight)
        x = l.X;
    int y = static_cast<int>(p.Y + (int64_t(l.Y) - p.Y) / 2);
    if (vert == vtaTop)
        y = p.Y;
    else if (vert == vtaBottom)
        y = l.Y;
    return {x, y};
}

bool NearSegment(const TPoint &pos, const TPoint &a, const TPoint &b, int tolerance)
{
    const int x = pos.X, y = pos.Y;
    if (a.X == b.X)
        return std::abs(int64_t(x) - a.X) <= tolerance && y >= std::min(a.Y, b.Y) && y <= std::max(a.Y, b.Y);
    if (a.Y == b.Y)
        return std::abs(int64_t(y) - a.Y) <= tolerance && x >= std::min(a.X, b.X) && x <= std::max(a.X, b.X);
    const double ax = a.X, ay = a.Y;
    const double vx = b.X - ax, vy = b.Y - ay;
    const double len2 = vx * vx + vy * vy;
    double t = ((x - ax) * vx + (y - ay) * vy) / len2;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = ax + t * vx - x;
    const double ey = ay + t * vy - y;
    return ex * ex + ey * ey <= static_cast<double>(tolerance) * tolerance;
}

bool InPolygon(const TPoint &pos, const TPointArray &polygon)
{
    const size_t n = polygon.size();
    if (n == 0)
        return false;
    bool inside = false;
    const double x = pos.X, y = pos.Y;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const TPoint &a = polygon[i];
        const TPoint &b = polygon[j];
        if (NearSegment(pos, a, b, 0))
            return true;
        if ((a.Y > y) != (b.Y > y)) {
            const double xs = a.X + (y - a.Y) * (double(b.X) - a.X) / (double(b.Y) - a.Y);
            if (x < xs)
                inside = !inside;
        }
    }
    return inside;
}

int HitSegment(TTreeConnectionStyle style, const TPointArray &points, const TPoint &pos)
{
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        const TPoint &p = points[i];
        const TPoint &q = points[i + 1];
        bool hit;
        if (style == csSides) {
            const TPoint corner(p.X, q.Y);
            hit = NearSegment(pos, p, corner) || NearSegment(pos, corner, q);
        } else if (style == csInvertedSides) {
            const TPoint corner(q.X, p.Y);
            hit = NearSegment(pos, p, corner) || NearSegment(pos, corner, q);
        } else {
            hit = NearSegment(pos, p, q);
        }
        if (hit)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace ConnectionGeometry
