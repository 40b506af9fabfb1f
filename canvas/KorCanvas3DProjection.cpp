// TKorCanvas3D: projection of model points (zoom, scroll offsets, oblique
// orthogonal depth or rotation with perspective) and the projected
// operations, which map their points and then draw through the 2D
// operations.

#include "canvas/KorCanvas3D.h"

#include "core/Rounding.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// a + b with a scaled a: a projected point far outside the picture (any
// zoom is allowed) stays far outside instead of wrapping.
int AddSaturated(int64_t a, int64_t b)
{
    return dx::Saturate(a + b);
}

} // namespace

void TKorCanvas3D::ComputeRotation()
{
    double r = 0.0, e = 0.0, t = 0.0;
    if (FView3DOptions) {
        r = FView3DOptions->Rotation() * M_PI / 180.0;
        e = FView3DOptions->Elevation() * M_PI / 180.0;
        t = FView3DOptions->Tilt() * M_PI / 180.0;
    }
    const double sr = std::sin(r), cr = std::cos(r);
    const double se = std::sin(e), ce = std::cos(e);
    const double st = std::sin(t), ct = std::cos(t);
    FSinE = se;
    FM1 = ce * sr;
    FM2 = ce * cr;
    FA1 = std::max(sr * se * st + cr * ct, 0.00001);
    FA2 = ce * st;
    FA3 = cr * se * st - ct * sr;
    FB1 = ct * sr * se - cr * st;
    FB2 = std::max(ce * ct, 0.00001);
    FB3 = cr * ct * se + sr * st;
}

TKorCanvas3D::TProjectionState TKorCanvas3D::SaveProjection() const
{
    return {FView3DOptions, FIs3D, FIsOrthogonal, FSaved3D, FZoomText, FZoomFactor, FOrthoSlope, FPerspective,
            FXCenter, FYCenter, FZCenter, FXCenterOffset, FYCenterOffset, FA1, FA2, FA3, FB1, FB2, FB3, FM1, FM2,
            FSinE};
}

void TKorCanvas3D::RestoreProjection(const TProjectionState &s)
{
    FView3DOptions = s.Options;
    FIs3D = s.Is3D;
    FIsOrthogonal = s.IsOrthogonal;
    FSaved3D = s.Saved3D;
    FZoomText = s.ZoomText;
    FZoomFactor = s.ZoomFactor;
    FOrthoSlope = s.OrthoSlope;
    FPerspective = s.Perspective;
    FXCenter = s.XCenter;
    FYCenter = s.YCenter;
    FZCenter = s.ZCenter;
    FXCenterOffset = s.XCenterOffset;
    FYCenterOffset = s.YCenterOffset;
    FA1 = s.A1;
    FA2 = s.A2;
    FA3 = s.A3;
    FB1 = s.B1;
    FB2 = s.B2;
    FB3 = s.B3;
    FM1 = s.M1;
    FM2 = s.M2;
    FSinE = s.SinE;
}

void TKorCanvas3D::SetupProjection(int depth, const TRect &rect)
{
    FXCenter = dx::HalfSum(rect.Left, rect.Right) + dx::RoundEven(FRotationCenter.X);
    FYCenter = dx::HalfSum(rect.Top, rect.Bottom) + dx::RoundEven(FRotationCenter.Y);
    FZCenter = dx::RoundEven(FRotationCenter.Z) + dx::Div(depth, 2);
    FXCenterOffset = FXCenter;
    FYCenterOffset = FYCenter;
    if (FView3DOptions) {
        FXCenterOffset += FView3DOptions->HorizOffset();
        FYCenterOffset += FView3DOptions->VertOffset();
        const int w = rect.Width();
        if (FView3DOptions->Perspective() > 0 && w != 0)
            FPerspective = FView3DOptions->Perspective() / 150.0 / w;
    }
}

TPoint TKorCanvas3D::ProjectPoint(int x, int y, int z) const
{
    const double zoom = FZoomFactor;
    if (FIs3D && FIsOrthogonal) {
        return TPoint(AddSaturated(dx::RoundEvenWide((static_cast<double>(x) + z - FXCenter) * zoom), FXCenterOffset),
                      AddSaturated(dx::RoundEvenWide((static_cast<double>(y) - FYCenter - z * FOrthoSlope) * zoom),
                                   FYCenterOffset));
    }
    if (FIs3D) {
        const double x0 = static_cast<double>(x) - FXCenter;
        const double y0 = static_cast<double>(y) - FYCenter;
        const double z0 = static_cast<double>(z) - FZCenter;
        double d = zoom;
        if (FPerspective > 0.0)
            d = zoom * (1.0 - FPerspective * (x0 * FM1 - y0 * FSinE + z0 * FM2));
        return TPoint(AddSaturated(dx::RoundEvenWide((x0 * FA1 + y0 * FA2 + z0 * FA3) * d), FXCenterOffset),
                      AddSaturated(dx::RoundEvenWide((x0 * FB1 + y0 * FB2 + z0 * FB3) * d), FYCenterOffset));
    }
    return TPoint(x, y);
}

void TKorCanvas3D::UnprojectPoint(int &x, int &y, int z) const
{
    if (FZoomFactor == 0.0)
        return;
    const double f = 1.0 / FZoomFactor;
    if (FIs3D && FIsOrthogonal) {
        const int mx = AddSaturated(dx::RoundEvenWide(f * (static_cast<double>(x) - FXCenterOffset)),
                                    static_cast<long long>(FXCenter) - z);
        const int my = AddSaturated(
            dx::RoundEven(f * (static_cast<double>(y) - FYCenterOffset) + z * FOrthoSlope), FYCenter);
        x = mx;
        y = my;
        return;
    }
    if (FIs3D) {
        if (FA1 == 0.0 || FB2 == 0.0)
            return;
        // The exact inverse of the rotation's linear part at depth z (the
        // perspective is ignored): solve
        //   a1 x0 + a2 y0 = X - a3 z0,  b1 x0 + b2 y0 = Y - b3 z0.
        const double z0 = static_cast<double>(z) - FZCenter;
        const double px = f * (static_cast<double>(x) - FXCenterOffset) - z0 * FA3;
        const double py = f * (static_cast<double>(y) - FYCenterOffset) - z0 * FB3;
        const double det = FA1 * FB2 - FA2 * FB1;
        if (det == 0.0)
            return;
        x = AddSaturated(dx::RoundEvenWide((px * FB2 - py * FA2) / det), FXCenter);
        y = AddSaturated(dx::RoundEvenWide((py * FA1 - px * FB1) / det), FYCenter);
    }
}

TPointArray TKorCanvas3D::ProjectPoints(const TPointArray &points, int z) const
{
    TPointArray out;
    out.reserve(points.size());
    for (const TPoint &p : points)
        out.push_back(ProjectPoint(p.X, p.Y, z));
    return out;
}

void TKorCanvas3D::SuspendProjection()
{
    FSaved3D = FIs3D;
    FIs3D = false;
}

void TKorCanvas3D::ResumeProjection()
{
    FIs3D = FSaved3D;
}

// --- Projected lines and points -----------------------------------------

void TKorCanvas3D::ProjectedPixel(int x, int y, int z, TColor color)
{
    const TPoint p = ProjectPoint(x, y, z);
    if (Pen().Width() > 1 && Pen().Style() != psClear) {
        // A zero-length line of a wide pen: a dot of the pen's width.
        if (!Prepare(TDrawKind::Shape))
            return;
        const QPen &pen = RealisedPen();
        const double o = (pen.width() % 2) ? 0.5 : 1.0;
        FPainter->setPen(pen);
        FPainter->drawPoint(QPointF(p.X + o - 1.0 / 64, p.Y + o - 1.0 / 64));
        return;
    }
    SetPixel(p.X, p.Y, color);
}

void TKorCanvas3D::ProjectedMoveTo(int x, int y, int z)
{
    const TPoint p = ProjectPoint(x, y, z);
    MoveTo(p.X, p.Y);
}

void TKorCanvas3D::ProjectedLineTo(int x, int y, int z)
{
    const TPoint p = ProjectPoint(x, y, z);
    LineTo(p.X, p.Y);
}

void TKorCanvas3D::ProjectedLine(int x0, int y0, int x1, int y1, int z)
{
    ProjectedMoveTo(x0, y0, z);
    ProjectedLineTo(x1, y1, z);
}

void TKorCanvas3D::ProjectedHorizLine(int x0, int x1, int y, int z)
{
    ProjectedMoveTo(x0, y, z);
    ProjectedLineTo(x1, y, z);
}

void TKorCanvas3D::ProjectedVertLine(int x, int y0, int y1, int z)
{
    ProjectedMoveTo(x, y0, z);
    ProjectedLineTo(x, y1, z);
}

void TKorCanvas3D::DepthLine(int x, int y, int z0, int z1)
{
    ProjectedMoveTo(x, y, z0);
    ProjectedLineTo(x, y, z1);
}

// --- Projected figures --------------------------------------------------

void TKorCanvas3D::ProjectedRectangle(const TRect &rect, int z)
{
    if (!FIs3D || FIsOrthogonal) {
        const TPoint a = ProjectPoint(rect.Left, rect.Top, z);
        const TPoint b = ProjectPoint(rect.Right, rect.Bottom, z);
        Rectangle(a.X, a.Y, b.X, b.Y);
        return;
    }
    Polygon(ProjectPoints({rect.TopLeft(), TPoint(rect.Right, rect.Top), rect.BottomRight(),
                           TPoint(rect.Left, rect.Bottom)},
                          z));
}

void TKorCanvas3D::ProjectedEllipse(int x1, int y1, int x2, int y2, int z)
{
    if (!FIs3D || FIsOrthogonal) {
        const TPoint a = ProjectPoint(x1, y1, z);
        const TPoint b = ProjectPoint(x2, y2, z);
        Ellipse(a.X, a.Y, b.X, b.Y);
        return;
    }
    // Rotated: a polygon of projected points around the ellipse.
    constexpr int kPoints = 64;
    const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
    const double rx = (x2 - x1) / 2.0, ry = (y2 - y1) / 2.0;
    TPointArray points;
    points.reserve(kPoints);
    for (int i = 0; i < kPoints; ++i) {
        const double a = 2.0 * M_PI * i / kPoints;
        points.push_back(ProjectPoint(dx::RoundEven(cx + rx * std::cos(a)), dx::RoundEven(cy + ry * std::sin(a)), z));
    }
    Polygon(points);
}

void TKorCanvas3D::ProjectedCircle(int xc, int yc, double radius, int z)
{
    const int r = dx::RoundEven(radius);
    ProjectedEllipse(xc - r, yc - r, xc + r, yc + r, z);
}

void TKorCanvas3D::ProjectedPolygon(const TPointArray &points, int z)
{
    Polygon(ProjectPoints(points, z));
}

void TKorCanvas3D::ProjectedQuad(const TPoint &p0, const TPoint &p1, const TPoint &p2, const TPoint &p3, int z)
{
    Polygon(ProjectPoints({p0, p1, p2, p3}, z));
}

void TKorCanvas3D::TwoDepthQuad(const TPoint &p0, const TPoint &p1, const TPoint &p2, const TPoint &p3, int z0,
                                int z1)
{
    Polygon({ProjectPoint(p0.X, p0.Y, z0), ProjectPoint(p1.X, p1.Y, z0), ProjectPoint(p2.X, p2.Y, z1),
             ProjectPoint(p3.X, p3.Y, z1)});
}

void TKorCanvas3D::DepthQuad(const TPoint &a, const TPoint &b, int z0, int z1)
{
    Polygon({ProjectPoint(a.X, a.Y, z1), ProjectPoint(b.X, b.Y, z1), ProjectPoint(b.X, b.Y, z0),
             ProjectPoint(a.X, a.Y, z0)});
}

void TKorCanvas3D::FloorQuad(int x0, int x1, int y, int z0, int z1)
{
    Polygon({ProjectPoint(x0, y, z0), ProjectPoint(x1, y, z0), ProjectPoint(x1, y, z1), ProjectPoint(x0, y, z1)});
}

void TKorCanvas3D::WallQuad(int x, int y0, int y1, int z0, int z1)
{
    Polygon({ProjectPoint(x, y0, z0), ProjectPoint(x, y1, z0), ProjectPoint(x, y1, z1), ProjectPoint(x, y0, z1)});
}

void TKorCanvas3D::ProjectedTriangle(const TPoint3D &a, const TPoint3D &b, const TPoint3D &c, TColor color)
{
    if (Brush().Style() != bsClear)
        Brush().SetColor(color);
    Polygon({ProjectPoint(a.X, a.Y, a.Z), ProjectPoint(b.X, b.Y, b.Z), ProjectPoint(c.X, c.Y, c.Z)});
}

void TKorCanvas3D::FlatTriangleAtDepth(const TPoint &a, const TPoint &b, const TPoint &c, int z)
{
    Polygon(ProjectPoints({a, b, c}, z));
}

void TKorCanvas3D::FillScratchQuad()
{
    Polygon({FScratchQuad[0], FScratchQuad[1], FScratchQuad[2], FScratchQuad[3]});
}

void TKorCanvas3D::ProjectedTextOut(int x, int y, int z, const QString &text)
{
    const TPoint p = ProjectPoint(x, y, z);
    const QFont &current = CurrentQFont();
    const QFont zoomed = ZoomedFont(current);
    if (zoomed == current) {
        TextOut(p.X, p.Y, text);
        return;
    }
    // A temporary font only while this text is drawn.
    const QFont saved = current;
    FQFont = zoomed;
    FQFontSource.reset(); // FQFont is no longer what the font makes
    TextOut(p.X, p.Y, text);
    FQFont = saved;
}

void TKorCanvas3D::ProjectedRotatedText(int x, int y, int z, double angle, const QString &text)
{
    const TPoint p = ProjectPoint(x, y, z);
    RotatedText(p.X, p.Y, angle, text);
}

void TKorCanvas3D::ProjectedArrow(bool filled, const TPoint &from, const TPoint &to, int headWidth, int headLength,
                                  int z)
{
    const double dx = static_cast<double>(to.X) - from.X;
    const double dy = static_cast<double>(to.Y) - from.Y;
    const double length = std::hypot(dx, dy);
    if (length == 0.0)
        return;
    const double head = std::min<double>(dx::RoundEven(length), headLength);
    // The frame of the arrow: u along it, n across it.
    const double ux = dx / length, uy = dy / length;
    const double nx = -uy, ny = ux;
    auto at = [&](double along, double across) {
        return ProjectPoint(dx::RoundEven(from.X + ux * along + nx * across),
                            dx::RoundEven(from.Y + uy * along + ny * across), z);
    };
    const double base = length - head;
    if (!filled) {
        const TPoint tail = ProjectPoint(from.X, from.Y, z);
        const TPoint tip = ProjectPoint(to.X, to.Y, z);
        MoveTo(tail.X, tail.Y);
        LineTo(tip.X, tip.Y);
        const TPoint left = at(base, -headWidth / 2.0);
        const TPoint right = at(base, headWidth / 2.0);
        MoveTo(tip.X, tip.Y);
        LineTo(left.X, left.Y);
        MoveTo(tip.X, tip.Y);
        LineTo(right.X, right.Y);
        return;
    }
    Polygon({at(0, headWidth / 4.0), at(0, -headWidth / 4.0), at(base, -headWidth / 4.0), at(base, -headWidth / 2.0),
             ProjectPoint(to.X, to.Y, z), at(base, headWidth / 2.0), at(base, headWidth / 4.0)});
}

namespace {
// The convex hull of points (monotone chain), counter-clockwise.
TPointArray ConvexHull(TPointArray p)
{
    std::sort(p.begin(), p.end(), [](const TPoint &a, const TPoint &b) { return a.X < b.X || (a.X == b.X && a.Y < b.Y); });
    p.erase(std::unique(p.begin(), p.end()), p.end());
    if (p.size() < 3)
        return p;
    // Differences of int coordinates take 33 bits, their products 66.
    auto cross = [](const TPoint &o, const TPoint &a, const TPoint &b) {
        return static_cast<__int128>(static_cast<int64_t>(a.X) - o.X) * (static_cast<int64_t>(b.Y) - o.Y) -
               static_cast<__int128>(static_cast<int64_t>(a.Y) - o.Y) * (static_cast<int64_t>(b.X) - o.X);
    };
    TPointArray hull(2 * p.size());
    size_t k = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], p[i]) <= 0)
            --k;
        hull[k++] = p[i];
    }
    for (size_t i = p.size() - 1, t = k + 1; i > 0; --i) {
        while (k >= t && cross(hull[k - 2], hull[k - 1], p[i - 1]) <= 0)
            --k;
        hull[k++] = p[i - 1];
    }
    hull.resize(k - 1);
    return hull;
}
} // namespace

void TKorCanvas3D::ClipProjectedBox(const TRect &rect, int z0, int z1)
{
    if (!FIs3D) {
        ClipToRect(TRect(rect.Left + 1, rect.Top + 1, rect.Right, rect.Bottom - 1));
        return;
    }
    TPointArray corners;
    for (int z : {z0, z1})
        for (const TPoint &c : {rect.TopLeft(), TPoint(rect.Right, rect.Top), rect.BottomRight(),
                                TPoint(rect.Left, rect.Bottom)})
            corners.push_back(ProjectPoint(c.X, c.Y, z));
    ClipToPolygon(ConvexHull(corners));
}

// --- Compound solids ----------------------------------------------------
// Simple renderings: each face is projected, faces turned away from the
// viewer are skipped, and side faces are darkened when asked.

namespace {
// Twice the signed area; products of int coordinates take 62 bits, so the
// sum is kept in 128.
__int128 SignedArea(const TPointArray &p)
{
    __int128 a = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        const TPoint &u = p[i];
        const TPoint &v = p[(i + 1) % p.size()];
        a += static_cast<__int128>(u.X) * v.Y - static_cast<__int128>(v.X) * u.Y;
    }
    return a;
}
} // namespace

void TKorCanvas3D::FaceColor(TColor base, int darkness)
{
    if (Brush().Style() == bsSolid)
        Brush().SetColor(DarkenColor(base, darkness));
    else
        SetBackColor(DarkenColor(base, darkness));
}

void TKorCanvas3D::BoxFace(const TPoint3D *corners, const int *face)
{
    TPointArray p;
    for (int i = 0; i < 4; ++i) {
        const TPoint3D &c = corners[face[i]];
        p.push_back(ProjectPoint(c.X, c.Y, c.Z));
    }
    // Faces are listed clockwise as seen from outside (y down); a face
    // that turns away from the viewer projects counter-clockwise.
    if (SignedArea(p) < 0)
        return;
    Polygon(p);
}

void TKorCanvas3D::ShadedCube(const TRect &rect, int z0, int shade, int z1, bool darkSides)
{
    const TRect r = rect.Normalized();
    const TPoint3D c[8] = {{r.Left, r.Top, z0},    {r.Right, r.Top, z0},    {r.Right, r.Bottom, z0},
                           {r.Left, r.Bottom, z0}, {r.Left, r.Top, z1},     {r.Right, r.Top, z1},
                           {r.Right, r.Bottom, z1}, {r.Left, r.Bottom, z1}};
    // front, back, top, bottom, left, right
    static const int faces[6][4] = {{0, 1, 2, 3}, {5, 4, 7, 6}, {4, 5, 1, 0}, {3, 2, 6, 7}, {4, 0, 3, 7}, {1, 5, 6, 2}};
    static const int darkness[6] = {0, 0, 64, 64, 128, 128};
    const TColor base = Brush().Style() == bsSolid ? Brush().Color() : BackColor();
    for (int f = 0; f < 6; ++f) {
        const int d = darkSides ? darkness[f] * shade / 100 : 0;
        FaceColor(base, d);
        BoxFace(c, faces[f]);
    }
    FaceColor(base, 0);
}

void TKorCanvas3D::Cube(const TRect &rect, int z0, int z1, bool darkSides)
{
    ShadedCube(rect, z0, 100, z1, darkSides);
}

void TKorCanvas3D::CubeFaces(const TRect &rect, int z0, int z1, bool darkSides)
{
    ShadedCube(rect, z0, 100, z1, darkSides);
}

void TKorCanvas3D::Pie3D(int xc, int yc, int xRadius, int yRadius, int z0, int z1, double startAngle,
                         double endAngle, bool darkSides)
{
    const int steps = std::clamp(dx::RoundEven(std::abs(endAngle - startAngle) * 64.0 / M_PI), 2, 128);
    TPointArray rim;
    for (int i = 0; i <= steps; ++i) {
        const double a = startAngle + (endAngle - startAngle) * i / steps;
        rim.emplace_back(xc + dx::RoundEven(xRadius * std::cos(a)), yc - dx::RoundEven(yRadius * std::sin(a)));
    }
    const TColor base = Brush().Style() == bsSolid ? Brush().Color() : BackColor();
    FaceColor(base, darkSides ? 128 : 0);
    for (size_t i = 0; i + 1 < rim.size(); ++i)
        TwoDepthQuad(rim[i], rim[i + 1], rim[i + 1], rim[i], z0, z1);
    FaceColor(base, 0);
    TPointArray face{TPoint(xc, yc)};
    face.insert(face.end(), rim.begin(), rim.end());
    ProjectedPolygon(face, z0);
}

void TKorCanvas3D::Pyramid(bool vertical, const TRect &rect, int z0, int z1, bool darkSides)
{
    const TRect r = rect.Normalized();
    const int zc = dx::HalfSum(z0, z1);
    const TColor base = Brush().Style() == bsSolid ? Brush().Color() : BackColor();
    TPoint3D apex;
    TPoint3D b[4];
    if (vertical) {
        apex = TPoint3D(dx::HalfSum(r.Left, r.Right), r.Top, zc);
        b[0] = TPoint3D(r.Left, r.Bottom, z0);
        b[1] = TPoint3D(r.Right, r.Bottom, z0);
        b[2] = TPoint3D(r.Right, r.Bottom, z1);
        b[3] = TPoint3D(r.Left, r.Bottom, z1);
    } else {
        apex = TPoint3D(r.Right, dx::HalfSum(r.Top, r.Bottom), zc);
        b[0] = TPoint3D(r.Left, r.Top, z0);
        b[1] = TPoint3D(r.Left, r.Bottom, z0);
        b[2] = TPoint3D(r.Left, r.Bottom, z1);
        b[3] = TPoint3D(r.Left, r.Top, z1);
    }
    for (int i = 0; i < 4; ++i) {
        const TPoint3D &u = b[i];
        const TPoint3D &v = b[(i + 1) % 4];
        TPointArray tri{ProjectPoint(u.X, u.Y, u.Z), ProjectPoint(v.X, v.Y, v.Z), ProjectPoint(apex.X, apex.Y, apex.Z)};
        FaceColor(base, darkSides && (i % 2) ? 128 : 0);
        Polygon(tri);
    }
    FaceColor(base, 0);
}

void TKorCanvas3D::Prism(const TRect &rect, int z0, int z1, int sides, bool darkSides)
{
    const TRect r = rect.Normalized();
    sides = std::clamp(sides, 3, 128);
    const double cx = (r.Left + r.Right) / 2.0, cy = (r.Top + r.Bottom) / 2.0;
    const double rx = r.Width() / 2.0, ry = r.Height() / 2.0;
    TPointArray ring;
    for (int i = 0; i < sides; ++i) {
        const double a = M_PI / 2 + 2.0 * M_PI * i / sides;
        ring.emplace_back(dx::RoundEven(cx + rx * std::cos(a)), dx::RoundEven(cy - ry * std::sin(a)));
    }
    const TColor base = Brush().Style() == bsSolid ? Brush().Color() : BackColor();
    FaceColor(base, darkSides ? 128 : 0);
    for (int i = 0; i < sides; ++i)
        TwoDepthQuad(ring[i], ring[(i + 1) % sides], ring[(i + 1) % sides], ring[i], z1, z0);
    FaceColor(base, 0);
    ProjectedPolygon(ring, z0);
}
