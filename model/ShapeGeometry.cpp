#include "model/ShapeGeometry.h"

#include "core/Rounding.h"
#include "model/ConnectionGeometry.h"

namespace ShapeGeometry {

TPointArray RoundRectPoints(const TRect &r)
{
    const int l = r.Left, t = r.Top, rt = r.Right, b = r.Bottom;
    return {TPoint(l, b - 3),      TPoint(l, t + 3),      TPoint(l + 1, t + 2),  TPoint(l + 2, t + 1),
            TPoint(l + 3, t),      TPoint(rt - 3, t),     TPoint(rt - 2, t + 1), TPoint(rt - 1, t + 2),
            TPoint(rt, t + 3),     TPoint(rt, b - 3),     TPoint(rt - 1, b - 2), TPoint(rt - 2, b - 1),
            TPoint(rt - 3, b),     TPoint(l + 3, b),      TPoint(l + 2, b - 1),  TPoint(l + 1, b - 2)};
}

namespace {

TPointArray Triangle(TTreeShapeStyle style, const TRect &rect)
{
    const TRect r = rect.Normalized();
    const int mx = dx::HalfSum(r.Left, r.Right);
    const int my = dx::HalfSum(r.Top, r.Bottom);
    switch (style) {
    case tssTriangleTop:
        return {TPoint(r.Left, r.Bottom), TPoint(mx, r.Top), TPoint(r.Right, r.Bottom)};
    case tssTriangleBottom:
        return {TPoint(r.Left, r.Top), TPoint(mx, r.Bottom), TPoint(r.Right, r.Top)};
    case tssTriangleLeft:
        return {TPoint(r.Left, my), TPoint(r.Right, r.Top), TPoint(r.Right, r.Bottom)};
    default: // tssTriangleRight
        return {TPoint(r.Left, r.Top), TPoint(r.Right, my), TPoint(r.Left, r.Bottom)};
    }
}

} // namespace

TFigure Figure(TTreeShapeStyle style, const TRect &r, TPointArray &points)
{
    points.clear();
    const int mx = dx::HalfSum(r.Left, r.Right);
    const int my = dx::HalfSum(r.Top, r.Bottom);
    switch (style) {
    case tssRectangle:
        return TFigure::Rectangle;
    case tssCircle:
        return TFigure::Ellipse;
    case tssVertLine:
        points = {TPoint(mx, r.Top), TPoint(mx, r.Bottom)};
        return TFigure::Line;
    case tssHorizLine:
        points = {TPoint(r.Left, my), TPoint(r.Right, my)};
        return TFigure::Line;
    case tssLine:
        points = {TPoint(r.Left, r.Top), TPoint(r.Right, r.Bottom)};
        return TFigure::Line;
    case tssInvertLine:
        points = {TPoint(r.Left, r.Bottom), TPoint(r.Right, r.Top)};
        return TFigure::Line;
    case tssDiamond:
        points = {TPoint(r.Left, my), TPoint(mx, r.Top), TPoint(r.Right, my), TPoint(mx, r.Bottom)};
        return TFigure::Polygon;
    case tssTriangleTop:
    case tssTriangleBottom:
    case tssTriangleLeft:
    case tssTriangleRight:
        points = Triangle(style, r);
        return TFigure::Polygon;
    case tssRoundRectangle:
        points = RoundRectPoints(r);
        return TFigure::Polygon;
    default:
        return TFigure::None;
    }
}

TPointArray ShapePoints(TTreeShapeStyle style, const TRect &r)
{
    if (style == tssCircle)
        return {TPoint(r.Left, r.Top), TPoint(r.Right + 1, r.Bottom + 1)};
    TPointArray points;
    return Figure(style, r, points) == TFigure::Polygon ? points : TPointArray();
}

bool InEllipse(const TRect &rect, const TPoint &p)
{
    const TRect r = rect.Normalized();
    const double rx = r.Width() / 2.0, ry = r.Height() / 2.0;
    if (rx <= 0.0 || ry <= 0.0)
        return false;
    const double dx = (p.X + 0.5 - (r.Left + rx)) / rx;
    const double dy = (p.Y + 0.5 - (r.Top + ry)) / ry;
    return dx * dx + dy * dy <= 1.0;
}

bool HitFigure(TTreeShapeStyle style, const TRect &r, const TPoint &p)
{
    TPointArray points;
    switch (Figure(style, r, points)) {
    case TFigure::Line:
        return ConnectionGeometry::NearSegment(p, points[0], points[1], kLineTolerance);
    case TFigure::Polygon:
        return ConnectionGeometry::InPolygon(p, points);
    case TFigure::Ellipse:
        return InEllipse(r, p);
    default:
        return PointInRect(r.Normalized(), p);
    }
}

} // namespace ShapeGeometry
