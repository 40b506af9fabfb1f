#include "model/ConnectionGeometry.h"

#include "core/Rounding.h"

#include <cmath>
#include <cstdlib>

namespace ConnectionGeometry {

namespace {
constexpr double kPi = 3.14159265358979323846;

int Degrees(int dx, int dy)
{
    return dx::RoundEven(std::atan2(static_cast<double>(dx), static_cast<double>(dy)) * 180.0 / kPi);
}
} // namespace

QPoint MeetingPoint(TTreeShapeStyle style, const TRect &own, const TRect &other)
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
        return oR < L ? QPoint(L, T) : QPoint(R, B);
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

std::vector<QPoint> StyledLine(TTreeConnectionStyle style, const std::vector<QPoint> &points)
{
    if (points.empty() || (style != csSides && style != csInvertedSides))
        return points;
    std::vector<QPoint> line;
    line.reserve(points.size() * 2);
    line.push_back(points.front());
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        const QPoint &p = points[i];
        const QPoint &q = points[i + 1];
        if (style == csSides) {
            line.emplace_back(p.x(), q.y());
            if (q.x() != p.x())
                line.push_back(q);
        } else {
            line.emplace_back(q.x(), p.y());
            if (q.y() != p.y())
                line.push_back(q);
        }
    }
    return line;
}

std::vector<QPoint> CurvePoints(const std::vector<QPoint> &points)
{
    std::vector<QPoint> curve = points;
    if (curve.size() > 4)
        while ((curve.size() - 4) % 3 != 0)
            curve.push_back(curve.back());
    return curve;
}

int StartAngle(TTreeConnectionStyle style, const std::vector<QPoint> &points)
{
    if (points.size() < 2)
        return 0;
    const QPoint p0 = points[0];
    QPoint p1 = points[1];
    if (style == csSides)
        p1.setX(p0.x());
    else if (style == csInvertedSides)
        p1.setY(p0.y());
    return Degrees(p1.x() - p0.x(), p1.y() - p0.y());
}

int EndAngle(TTreeConnectionStyle style, const std::vector<QPoint> &points)
{
    if (points.size() < 2)
        return 0;
    const QPoint &l = points[points.size() - 1];
    const QPoint &p = points[points.size() - 2];
    const int dx = style == csInvertedSides ? 0 : l.x() - p.x();
    const int dy = style == csSides ? 0 : l.y() - p.y();
    return Degrees(dx, dy);
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

QPoint Turn(int px, int py, int cx, int cy, double degrees)
{
    const double a = degrees * kPi / 180.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    const double dx = px - cx;
    const double dy = py - cy;
    return {dx::RoundEven(dx * c + dy * s) + cx, dx::RoundEven(dx * s - dy * c) + cy};
}

std::vector<QPoint> ArrowHead(const QPoint &tip, double degrees, int size)
{
    const int cx = tip.x(), cy = tip.y();
    const int half = size / 2;
    return {Turn(cx - size, cy - half, cx, cy, degrees), tip, Turn(cx - size, cy + half, cx, cy, degrees)};
}

TRect ArrowSquare(const QPoint &center, int size)
{
    const int left = center.x() - size / 2;
    const int top = center.y() - size / 2;
    return TRect(left, top, left + size, top + size);
}

QPoint TextOrigin(const QPoint &p, const QPoint &l, THorizTextAlign horiz, TVertTextAlign vert)
{
    int x = p.x() + (l.x() - p.x()) / 2;
    if (horiz == htaLeft)
        x = p.x();
    else if (horiz == htaRight)
        x = l.x();
    int y = p.y() + (l.y() - p.y()) / 2;
    if (vert == vtaTop)
        y = p.y();
    else if (vert == vtaBottom)
        y = l.y();
    return {x, y};
}

bool NearSegment(const QPoint &pos, const QPoint &a, const QPoint &b, int tolerance)
{
    const int x = pos.x(), y = pos.y();
    if (a.x() == b.x())
        return std::abs(x - a.x()) <= tolerance && y >= std::min(a.y(), b.y()) && y <= std::max(a.y(), b.y());
    if (a.y() == b.y())
        return std::abs(y - a.y()) <= tolerance && x >= std::min(a.x(), b.x()) && x <= std::max(a.x(), b.x());
    const double ax = a.x(), ay = a.y();
    const double vx = b.x() - ax, vy = b.y() - ay;
    const double len2 = vx * vx + vy * vy;
    double t = ((x - ax) * vx + (y - ay) * vy) / len2;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = ax + t * vx - x;
    const double ey = ay + t * vy - y;
    return ex * ex + ey * ey <= static_cast<double>(tolerance) * tolerance;
}

bool InPolygon(const QPoint &pos, const std::vector<QPoint> &polygon)
{
    const size_t n = polygon.size();
    if (n == 0)
        return false;
    bool inside = false;
    const double x = pos.x(), y = pos.y();
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const QPoint &a = polygon[i];
        const QPoint &b = polygon[j];
        if (NearSegment(pos, a, b, 0))
            return true;
        if ((a.y() > y) != (b.y() > y)) {
            const double xs = a.x() + (y - a.y()) * (b.x() - a.x()) / static_cast<double>(b.y() - a.y());
            if (x < xs)
                inside = !inside;
        }
    }
    return inside;
}

int HitSegment(TTreeConnectionStyle style, const std::vector<QPoint> &points, const QPoint &pos)
{
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        const QPoint &p = points[i];
        const QPoint &q = points[i + 1];
        bool hit;
        if (style == csSides) {
            const QPoint corner(p.x(), q.y());
            hit = NearSegment(pos, p, corner) || NearSegment(pos, corner, q);
        } else if (style == csInvertedSides) {
            const QPoint corner(q.x(), p.y());
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
