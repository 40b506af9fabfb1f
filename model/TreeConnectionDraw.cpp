// Drawing and hit testing of connections and arrow heads.

#include "canvas/KorCanvas3D.h"
#include "core/Rounding.h"
#include "model/TreeConnection.h"
#include "model/TreeDocument.h"
#include "model/TreeNodeShape.h"

#include <climits>

namespace G = ConnectionGeometry;

namespace {

// The one-pixel grey dotted line most connections are drawn with.
const TChartPen &SharedDottedPen()
{
    static const TChartPen pen = [] {
        TChartPen p;
        p.SetColor(clGray);
        p.SetStyle(psDot);
        p.SetSmallDots(true);
        return p;
    }();
    return pen;
}

void PolyLine(TKorCanvas3D *canvas, const TPointArray &points)
{
    if (points.empty())
        return;
    canvas->MoveTo(points[0].X, points[0].Y);
    for (size_t i = 1; i < points.size(); ++i)
        canvas->LineTo(points[i].X, points[i].Y);
}

} // namespace

// ---------------------------------------------------------------------------
// Arrow heads

void TConnectionArrow::Draw(TKorCanvas3D *canvas, const TPoint &at, double angle, const TRect &visible) const
{
    if (FStyle == casNone || !canvas)
        return;
    if (!RectsIntersect(G::ArrowSquare(at, FSize), visible))
        return;
    canvas->AssignPen(EffectiveBorder());
    const TChartBrush *brush = EffectiveBrush();
    canvas->AssignBrush(brush, brush->Color(), FBackColor);
    // The head keeps its size in screen pixels at any zoom.
    const TPoint c = canvas->ProjectPoint(at.X, at.Y, 0);
    const TRect square = G::ArrowSquare(c, FSize);
    switch (FStyle) {
    case casSolid:
        canvas->Polygon(G::ArrowHead(c, angle, FSize));
        break;
    case casLines:
        PolyLine(canvas, G::ArrowHead(c, angle, FSize));
        break;
    case casSquare:
        canvas->RectangleRect(square);
        break;
    case casCircle:
        canvas->Ellipse(square.Left, square.Top, square.Right, square.Bottom);
        break;
    case casDiamond: {
        const TPoint m = RectCenter(square);
        canvas->Polygon({TPoint(square.Left, m.Y), TPoint(m.X, square.Top), TPoint(square.Right, m.Y),
                         TPoint(m.X, square.Bottom)});
        break;
    }
    default:
        break;
    }
}

// ---------------------------------------------------------------------------
// Connections

bool TTreeConnection::EndsVisible() const
{
    return FFromShape && FToShape && FFromShape->Visible() && FToShape->Visible();
}

bool TTreeConnection::ShouldDraw() const
{
    if (!FToShape)
        return false;
    if (FToShape->Parent() == FFromShape && FFromShape && !FFromShape->Expanded())
        return false;
    return EndsVisible();
}

TConnectionFigure TTreeConnection::Figure()
{
    TConnectionFigure f;
    f.Style = FStyle;
    if (FStyle != csAuto) {
        if (FPoints.Count() < (FStyle == csCurve ? 4 : 2))
            SetDefaultPoints();
        CalcPoints();
    }
    f.Points = FPoints.Positions();
    if (f.Points.empty())
        return f;
    f.StartAngle = G::StartAngle(FStyle, f.Points);
    f.EndAngle = G::EndAngle(FStyle, f.Points);
    f.TextAngle = G::TextAngle(f.EndAngle);
    f.TextOrigin = TextOrigin();
    // Nothing is drawn when the course lies wholly outside the visible area.
    int l = f.Points[0].X, t = f.Points[0].Y, r = l, b = t;
    for (const TPoint &p : f.Points) {
        l = std::min(l, p.X);
        t = std::min(t, p.Y);
        r = std::max(r, p.X);
        b = std::max(b, p.Y);
    }
    // The box holds the pixels of the points (the last column and row too).
    const TRect box(l, t, r < INT_MAX ? r + 1 : r, b < INT_MAX ? b + 1 : b);
    if (!RectsIntersect(box, VisibleArea()))
        return f;
    f.Lines = FStyle == csCurve ? G::CurvePoints(f.Points) : G::StyledLine(FStyle, f.Points);
    return f;
}

TRect TTreeConnection::VisibleArea() const
{
    return FTree ? FTree->VisibleArea() : TRect(INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2);
}

TPoint TTreeConnection::TextOrigin() const
{
    const int n = FPoints.Count();
    if (n == 0)
        return TPoint();
    const TPoint last(FPoints[n - 1].X, FPoints[n - 1].Y);
    const TPoint before = n > 1 ? TPoint(FPoints[n - 2].X, FPoints[n - 2].Y) : last;
    const TTreeStrings *text = PeekText();
    return G::TextOrigin(before, last, text ? text->HorizAlign() : htaCenter, text ? text->VertAlign() : vtaCenter);
}

void TTreeConnection::AssignDrawingPen(TKorCanvas3D *canvas) const
{
    const TChartPen *pen = EffectiveBorder();
    if (pen->Visible() && pen->SmallDots() && pen->Color() == clGray) {
        canvas->AssignPen(&SharedDottedPen());
        return;
    }
    // A printed dotted or dashed hairline becomes one device pixel wide.
    if (FTree && FTree->Printing() && FTree->PrintThinLines() && pen->Style() != psSolid && pen->Width() == 1) {
        TChartPen thin;
        thin.Assign(pen);
        thin.SetWidth(0);
        canvas->AssignPen(&thin);
        return;
    }
    canvas->AssignPen(pen);
}

void TTreeConnection::DrawText(TKorCanvas3D *canvas, int angle) const
{
    const int lines = LineCount();
    if (lines == 0 || FPoints.Count() == 0 || !canvas)
        return;
    canvas->AssignFont(EffectiveFont());
    canvas->SetTextAlign(taCenter | taTop);
    canvas->SetBackMode(cbmTransparent);
    const TTreeStrings *text = PeekText();
    const TPoint origin = TextOrigin();
    const int x = origin.X + (text ? text->HorizOffset() : 0);
    int y = origin.Y + (text ? text->VertOffset() : 0);
    const int h = canvas->TextHeight(QStringLiteral("W"));
    for (int i = 0; i < lines; ++i) {
        if (angle != 0)
            canvas->ProjectedRotatedText(x, y, 0, angle, Line(i));
        else
            canvas->ProjectedTextOut(x, y, 0, Line(i));
        y += h;
    }
}

bool TTreeConnection::Draw()
{
    if (FStyle == csAuto) {
        TChildManager *manager = FTree ? FTree->DefaultFormat().ChildManager() : nullptr;
        return manager ? manager->DrawConnection(this) : true;
    }
    TKorCanvas3D *canvas = FTree ? FTree->TreeCanvas() : nullptr;
    if (!canvas)
        return true;
    const TConnectionFigure f = Figure();
    if (f.Lines.empty())
        return true;
    AssignDrawingPen(canvas);
    if (FStyle == csCurve) {
        // A Bezier poly-curve through the projected points.
        TPointArray screen;
        screen.reserve(f.Lines.size());
        for (const TPoint &p : f.Lines)
            screen.push_back(canvas->ProjectPoint(p.X, p.Y, 0));
        PolyLine(canvas, G::BezierPolyline(screen));
    } else {
        canvas->ProjectedMoveTo(f.Lines[0].X, f.Lines[0].Y, 0);
        for (size_t i = 1; i < f.Lines.size(); ++i)
            canvas->ProjectedLineTo(f.Lines[i].X, f.Lines[i].Y, 0);
    }
    if (f.Points.size() >= 2) {
        const TRect visible = VisibleArea();
        EffectiveArrowFrom()->Draw(canvas, f.Points.front(), 270 - f.StartAngle, visible);
        EffectiveArrowTo()->Draw(canvas, f.Points.back(), 90 - f.EndAngle, visible);
    }
    DrawText(canvas, f.TextAngle);
    return true;
}

int TTreeConnection::ClickedSegment(int x, int y) const
{
    if (!EndsVisible())
        return -1;
    const TPoint pos = FTree ? FTree->UnprojectPoint(TPoint(x, y)) : TPoint(x, y);
    const TPointArray points = FPoints.Positions();
    if (FStyle == csCurve)
        return G::InPolygon(pos, points) ? 0 : -1;
    return G::HitSegment(FStyle, points, pos);
}

void TTreeConnection::DrawHandles()
{
    if (!FTree)
        return;
    for (int i = 0; i < FPoints.Count(); ++i) {
        const TConnectionPoint &p = FPoints[i];
        TColor color = clNone;
        switch (p.XStyle) {
        case cpFromEdge:
        case cpToEdge:
            color = clBlue;
            break;
        case cpFromPercent:
        case cpFromOffset:
            color = clGreen;
            break;
        case cpToPercent:
        case cpToOffset:
            color = clRed;
            break;
        default:
            break;
        }
        FTree->DrawHandle(p.X, p.Y, color, rcPoint);
    }
}
