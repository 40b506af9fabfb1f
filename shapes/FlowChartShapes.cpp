#include "shapes/FlowChartShapes.h"

#include "canvas/KorCanvas3D.h"
#include "shapes/GalleryClass.h"
#include "shapes/GalleryMath.h"

#include <algorithm>

using namespace Gallery;

namespace {

// The inset of the manual operation and the select symbol: an eighth of
// the width, at least 1, and at least an eighth of the height.
long long EighthInset(const TBox &b)
{
    long long s = Div(b.W, 8);
    if (s == 0)
        s = 1;
    return std::max(s, Div(b.H, 8));
}

// Two half-round caps q = W div 4 deep, as the terminal and the online
// storage symbols have them: points 1 … 16 run down around the right cap
// (centre xr; `inward` turns it the other way), points 17 … 32 up around
// the left cap (centre L + q). Point 0 is the caller's.
TPointArray TwoCaps(const TBox &b, long long xr, bool inward)
{
    const long long q = Div(b.W, 4);
    const long long ry = Div(b.H, 2);
    const long long xl = b.L + q;
    TPointArray points(33);
    for (int i = 1; i <= 16; ++i) {
        const double a = HalfTurn(i, 16);
        const long long dx = CosTimes(a, q);
        points[i] = Pt(inward ? xr - dx : xr + dx, b.CY + SinTimes(a, ry));
        points[16 + i] = Pt(xl - dx, b.CY - SinTimes(a, ry));
    }
    return points;
}

} // namespace

// ---------------------------------------------------------------------------
// Class information

DX_PLAIN_CLASS(TFlowChartShape, TCustomTreeShape)

const TClassInfo &TInputOutputShape::StaticClassInfo()
{
    using N = TInputOutputShape;
    static const TClassInfo info = TClassBuilder<N>("TInputOutputShape", TFlowChartShape::StaticClassInfo())
                                       .Float("Slant", &N::Slant, &N::SetSlant)
                                       .Stored([](const N &) { return true; });
    return info;
}

const TClassInfo &TPunchCardShape::StaticClassInfo()
{
    static const TClassInfo info = Declare<TPunchCardShape>("TPunchCardShape", TFlowChartShape::StaticClassInfo());
    return info;
}

// ---------------------------------------------------------------------------
// Construction

TDecisionShape::TDecisionShape(TComponent *owner) : TFlowChartStyleShape(owner)
{
    SetColor(clRed);
    Font()->SetColor(clWhite);
}

// ---------------------------------------------------------------------------
// Properties

void TInputOutputShape::SetSlant(double value)
{
    if (std::isfinite(value))
        Update(FSlant, value);
}

void TInputOutputShape::Assign(const TPersistent *source)
{
    if (const auto *s = dynamic_cast<const TInputOutputShape *>(source))
        SetSlant(s->FSlant);
    TControlPointShape<TFlowChartShape>::Assign(source);
}

// ---------------------------------------------------------------------------
// Outlines

TPointArray FlowChartFigures::Terminal(const TRect &rect)
{
    const TBox b(rect);
    const long long xr = b.R - Div(b.W, 4);
    TPointArray p = TwoCaps(b, xr, false);
    p[0] = Pt(xr, b.T);
    return p;
}

long long TInputOutputShape::SlantShift(long long w, long long h) const
{
    long long s = Near(static_cast<double>(w) * FSlant / 100);
    if (s == 0)
        s = 1;
    return std::max(s, Near(FSlant / 100 * static_cast<double>(h)));
}

int TInputOutputShape::GetShapePoints(const TRect &r, TPointArray &points) const
{
    return CustomOutline(r, points, [this](const TRect &rect) {
        const TBox b(rect);
        const long long s = SlantShift(b.W, b.H);
        return TPointArray{Pt(b.L, b.B), Pt(b.L + s, b.T), Pt(b.R, b.T), Pt(b.R - s, b.B)};
    });
}

TPoint TInputOutputShape::ControlPoint(const TRect &r) const
{
    const TBox b(r);
    return Pt(b.L + SlantShift(b.W, b.H), b.T);
}

void TInputOutputShape::DragControlPoint(int dx, int dy)
{
    const long long w = static_cast<long long>(X1()) - X0();
    // A node of no width has no slant to drag.
    if (dx == 0 || w == 0)
        return;
    const long long h = static_cast<long long>(Y1()) - Y0();
    SetSlant(static_cast<double>(dx + SlantShift(w, h)) / static_cast<double>(w) * 100);
}

TPointArray FlowChartFigures::ManualOperation(const TRect &rect)
{
    const TBox b(rect);
    const long long s = EighthInset(b);
    return TPointArray{Pt(b.L + s, b.B), Pt(b.L, b.T), Pt(b.R, b.T), Pt(b.R - s, b.B)};
}

TPointArray FlowChartFigures::Select(const TRect &rect)
{
    const TBox b(rect);
    const long long s = EighthInset(b);
    return TPointArray{Pt(b.L, b.CY), Pt(b.L + s, b.T), Pt(b.R - s, b.T),
                       Pt(b.R, b.CY), Pt(b.R - s, b.B), Pt(b.L + s, b.B)};
}

TPointArray FlowChartFigures::Document(const TRect &rect)
{
    const TBox b(rect);
    const long long w = Div(b.H, 8);
    TPointArray p(19);
    p[0] = Pt(b.L, b.T);
    p[1] = Pt(b.R, b.T);
    p[2] = Pt(b.R, b.B - Near(2.0 * w / 3 + w));
    Wave(b, b.B - w, 2, true, p);
    p[18] = Pt(b.L, b.B - w);
    return p;
}

int TPunchCardShape::GetShapePoints(const TRect &r, TPointArray &points) const
{
    return CustomOutline(r, points, [this](const TRect &rect) {
        const TBox b(rect);
        return TPointArray{Pt(b.R, b.T), Pt(b.R, b.B), Pt(b.L, b.B), Pt(b.L, b.T + b.PercentH(FPercentVert)),
                           Pt(b.L + b.PercentW(FPercentHoriz), b.T)};
    });
}

TPointArray FlowChartFigures::PunchTape(const TRect &rect)
{
    const TBox b(rect);
    const long long w = Div(b.H, 8);
    TPointArray p(35);
    p[0] = Pt(b.R, b.B - Near(2.0 * w / 3 + w));
    Wave(b, b.B - w, 0, true, p);
    p[16] = Pt(b.L, b.B - w);
    p[17] = Pt(b.L, b.T + w);
    Wave(b, b.T + w, 17, false, p);
    p[34] = Pt(b.R, b.T + w - Near(2.0 * w / 3));
    return p;
}

TPointArray FlowChartFigures::Delay(const TRect &rect)
{
    return DOutline(TBox(rect));
}

TPointArray FlowChartFigures::ManualInput(const TRect &rect)
{
    const TBox b(rect);
    return TPointArray{Pt(b.L, b.CY), Pt(b.R, b.T), Pt(b.R, b.B), Pt(b.L, b.B)};
}

TPointArray FlowChartFigures::OnlineStorage(const TRect &rect)
{
    const TBox b(rect);
    TPointArray p = TwoCaps(b, b.R, true);
    p[0] = Pt(b.R, b.T);
    return p;
}

// ---------------------------------------------------------------------------
// Strokes

void FlowChartFigures::PredefinedProcess(TKorCanvas3D *canvas, const TRect &r)
{
    const TBox b(r);
    const long long d = Div(b.W < 0 ? -b.W : b.W, 6);
    Stroke(canvas, Pt(b.L + d, b.T), Pt(b.L + d, b.B));
    Stroke(canvas, Pt(b.R - d, b.T), Pt(b.R - d, b.B));
}

void FlowChartFigures::And(TKorCanvas3D *canvas, const TRect &r)
{
    const TBox b(r);
    const long long rx = Div(b.W, 2);
    const long long ry = Div(b.H, 2);
    auto at = [&](double a) { return Pt(b.CX + CosTimes(a, rx), b.CY + SinTimes(a, ry)); };
    for (const double a : {M_PI / 4, 3 * M_PI / 4})
        Stroke(canvas, at(a), at(a + M_PI));
}

void FlowChartFigures::Or(TKorCanvas3D *canvas, const TRect &r)
{
    const TBox b(r);
    Stroke(canvas, Pt(b.L, b.CY), Pt(b.R, b.CY));
    Stroke(canvas, Pt(b.CX, b.T), Pt(b.CX, b.B));
}

void FlowChartFigures::MagneticTape(TKorCanvas3D *canvas, const TRect &r)
{
    const TBox b(r);
    Stroke(canvas, Pt(b.CX, b.B), Pt(b.R, b.B));
}
