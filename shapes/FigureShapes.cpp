#include "shapes/FigureShapes.h"

#include "canvas/KorCanvas3D.h"
#include "shapes/GalleryClass.h"
#include "shapes/GalleryMath.h"

#include <algorithm>

using namespace Gallery;

// ---------------------------------------------------------------------------
// Class information

DX_PLAIN_CLASS(TPentagonShape, TTreeCustomPolygonShape)
DX_PLAIN_CLASS(THexagonShape, TTreeCustomPolygonShape)
DX_PLAIN_CLASS(TOctagonShape, TTreeCustomPolygonShape)
DX_PLAIN_CLASS(TTriangleRectShape, TCustomTreeShape)
DX_PLAIN_CLASS(TCallOutShape, TCustomTreeShape)
DX_PLAIN_CLASS(TStarShape, TCustomTreeShape)

const TClassInfo &TCrossShape::StaticClassInfo()
{
    static const TClassInfo info = Declare<TCrossShape>("TCrossShape", TCustomTreeShape::StaticClassInfo());
    return info;
}

const TClassInfo &TTreeCustomArrowShape::StaticClassInfo()
{
    static const TClassInfo info =
        Declare<TTreeCustomArrowShape>("TTreeCustomArrowShape", TCustomTreeShape::StaticClassInfo());
    return info;
}

const TClassInfo &THouseShape::StaticClassInfo()
{
    using N = THouseShape;
    static const TClassInfo info = TClassBuilder<N>("THouseShape", TCustomTreeShape::StaticClassInfo())
                                       .Float("WallSize", &N::WallSize, &N::SetWallSize)
                                       .Stored([](const N &) { return true; });
    return info;
}

const TClassInfo &TEnvelopeShape::StaticClassInfo()
{
    using N = TEnvelopeShape;
    static const TClassInfo info = TClassBuilder<N>("TEnvelopeShape", TTreeNodeShape::StaticClassInfo())
                                       .Integer("OffsetY", &N::OffsetY, &N::SetOffsetY, 33);
    return info;
}

const TClassInfo &TRingShape::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TRingShape>("TRingShape", TTreeNodeShape::StaticClassInfo()).Redefault("Style", tssCircle);
    return info;
}

const TClassInfo &TBeveledShape::StaticClassInfo()
{
    using N = TBeveledShape;
    static const TClassInfo info = TClassBuilder<N>("TBeveledShape", TTreeNodeShape::StaticClassInfo())
                                       .Redefault("Color", clBtnFace)
                                       .Enum("Bevel", &N::Bevel, &N::SetBevel, bvRaised)
                                       .Integer("BevelSize", &N::BevelSize, &N::SetBevelSize, 1);
    return info;
}

// ---------------------------------------------------------------------------
// Construction and properties

TPentagonShape::TPentagonShape(TComponent *owner) : TTreeCustomPolygonShape(owner, 5)
{
    SetAngleOffset(18);
}

THexagonShape::THexagonShape(TComponent *owner) : TTreeCustomPolygonShape(owner, 6) {}

TOctagonShape::TOctagonShape(TComponent *owner) : TTreeCustomPolygonShape(owner, 8)
{
    SetAngleOffset(22.5);
}

TRingShape::TRingShape(TComponent *owner) : TTreeNodeShape(owner)
{
    SetStyle(tssCircle);
}

TBeveledShape::TBeveledShape(TComponent *owner) : TTreeNodeShape(owner)
{
    SetColor(clBtnFace);
}

void THouseShape::SetWallSize(double value)
{
    if (std::isfinite(value))
        Update(FWallSize, value);
}

void THouseShape::Assign(const TPersistent *source)
{
    if (const auto *s = dynamic_cast<const THouseShape *>(source))
        SetWallSize(s->FWallSize);
    TControlPointShape<TCustomTreeShape>::Assign(source);
}

void TEnvelopeShape::Assign(const TPersistent *source)
{
    if (const auto *s = dynamic_cast<const TEnvelopeShape *>(source))
        SetOffsetY(s->FOffsetY);
    TControlPointShape<TTreeNodeShape>::Assign(source);
}

void TCallOutShape::SetTip(int x, int y)
{
    if (x == FTipX && y == FTipY)
        return;
    FTipX = x;
    FTipY = y;
    Changed();
}

void TCallOutShape::Assign(const TPersistent *source)
{
    if (const auto *s = dynamic_cast<const TCallOutShape *>(source))
        SetTip(s->FTipX, s->FTipY);
    TControlPointShape<TCustomTreeShape>::Assign(source);
}

void TBeveledShape::SetBevelSize(int value)
{
    Update(FBevelSize, std::clamp(value, 0, kCoordLimit));
}

void TBeveledShape::Assign(const TPersistent *source)
{
    if (const auto *s = dynamic_cast<const TBeveledShape *>(source)) {
        SetBevel(s->FBevel);
        SetBevelSize(s->FBevelSize);
    }
    TTreeNodeShape::Assign(source);
}

// ---------------------------------------------------------------------------
// Outlines

int TCrossShape::GetShapePoints(const TRect &r, TPointArray &points) const
{
    return CustomOutline(r, points, [this](const TRect &rect) {
        const TBox b(rect);
        const long long c = b.PercentW(FPercentHoriz);
        const long long a = b.PercentH(FPercentVert);
        return TPointArray{Pt(b.L + c, b.T),     Pt(b.R - c, b.T),     Pt(b.R - c, b.T + a), Pt(b.R, b.T + a),
                           Pt(b.R, b.B - a),     Pt(b.R - c, b.B - a), Pt(b.R - c, b.B),     Pt(b.L + c, b.B),
                           Pt(b.L + c, b.B - a), Pt(b.L, b.B - a),     Pt(b.L, b.T + a),     Pt(b.L + c, b.T + a)};
    });
}

int TTriangleRectShape::GetShapePoints(const TRect &r, TPointArray &points) const
{
    if (FRightAngle == raNone)
        return TCustomTreeShape::GetShapePoints(r, points);
    return CustomOutline(r, points, [this](const TRect &b) {
        const int apex = FRightAngle == raBottomLeft ? b.Left : b.Right;
        return TPointArray{TPoint(apex, b.Top), TPoint(b.Right, b.Bottom), TPoint(b.Left, b.Bottom)};
    });
}

int THouseShape::GetShapePoints(const TRect &r, TPointArray &points) const
{
    return CustomOutline(r, points, [this](const TRect &rect) {
        const TBox b(rect);
        const long long w = b.PercentH(FWallSize);
        return TPointArray{Pt(b.CX, b.T), Pt(b.R, b.T + w), Pt(b.R, b.B), Pt(b.L, b.B), Pt(b.L, b.T + w)};
    });
}

TPoint THouseShape::ControlPoint(const TRect &r) const
{
    const TBox b(r);
    return Pt(b.CX, b.T + b.PercentH(FWallSize));
}

void THouseShape::DragControlPoint(int dx, int dy)
{
    const long long h = static_cast<long long>(Y1()) - Y0();
    // A house of no height has no eaves to drag.
    if (dy == 0 || h == 0)
        return;
    const long long w = Near(static_cast<double>(h) * FWallSize / 100);
    SetWallSize(static_cast<double>(dy + w) / static_cast<double>(h) * 100);
}

int TTreeCustomArrowShape::GetShapePoints(const TRect &r, TPointArray &points) const
{
    if (FDirection == adNone)
        return TPercentShape::GetShapePoints(r, points);
    return CustomOutline(r, points, [this](const TRect &rect) {
        const TBox b(rect);
        const long long h = b.PercentW(FPercentHoriz);
        const long long v = b.PercentH(FPercentVert);
        switch (FDirection) {
        case adUp: {
            const long long d = b.T + v;
            return TPointArray{Pt(b.CX, b.T),  Pt(b.R, d),     Pt(b.R - h, d), Pt(b.R - h, b.B),
                               Pt(b.L + h, b.B), Pt(b.L + h, d), Pt(b.L, d)};
        }
        case adDown: {
            const long long d = b.B - v;
            return TPointArray{Pt(b.CX, b.B),  Pt(b.R, d),     Pt(b.R - h, d), Pt(b.R - h, b.T),
                               Pt(b.L + h, b.T), Pt(b.L + h, d), Pt(b.L, d)};
        }
        case adRight: {
            const long long e = b.R - h;
            return TPointArray{Pt(b.R, b.CY),  Pt(e, b.B),     Pt(e, b.B - v), Pt(b.L, b.B - v),
                               Pt(b.L, b.T + v), Pt(e, b.T + v), Pt(e, b.T)};
        }
        default: {
            const long long e = b.L + h;
            return TPointArray{Pt(b.L, b.CY),  Pt(e, b.B),     Pt(e, b.B - v), Pt(b.R, b.B - v),
                               Pt(b.R, b.T + v), Pt(e, b.T + v), Pt(e, b.T)};
        }
        }
    });
}

int TCallOutShape::GetShapePoints(const TRect &r, TPointArray &points) const
{
    return CustomOutline(r, points, [this](const TRect &rect) {
        const TBox b(rect);
        const long long s = b.B - Div(b.H, 6);
        return TPointArray{Pt(b.L, b.T),  Pt(b.R, b.T),         Pt(b.R, s), Pt(b.CX, s), ControlPoint(rect),
                           Pt(b.L + Div(b.W, 3), s), Pt(b.L, s)};
    });
}

TPoint TCallOutShape::ControlPoint(const TRect &r) const
{
    const TBox b(r);
    return Pt(b.L + b.PercentW(FTipX), b.T + b.PercentH(FTipY));
}

void TCallOutShape::DragControlPoint(int dx, int dy)
{
    const long long w = static_cast<long long>(X1()) - X0();
    const long long h = static_cast<long long>(Y1()) - Y0();
    // Each percentage follows the drag along its own axis; an axis of no
    // extent keeps its value.
    auto moved = [](int percent, long long extent, int delta) {
        if (delta == 0 || extent == 0)
            return percent;
        const double at = static_cast<double>(extent) * percent / 100 + delta;
        return dx::RoundEven(at * 100 / static_cast<double>(extent));
    };
    SetTip(moved(FTipX, w, dx), moved(FTipY, h, dy));
}

int TStarShape::GetShapePoints(const TRect &r, TPointArray &points) const
{
    return CustomOutline(r, points, [](const TRect &rect) {
        const TBox b(rect);
        const long long rx = Div(b.W, 2);
        const long long ry = std::max(1LL, Div(b.H, 2));
        const long long k = Div(2 * rx, 7);
        auto at = [&](double degrees) {
            const double g = degrees * M_PI / 180;
            return Pt(b.CX + SinTimes(g, rx), b.CY - CosTimes(g, ry));
        };
        TPointArray p(10);
        p[0] = Pt(b.CX, b.T);
        p[2] = at(72);
        p[1] = Pt(b.CX + k, p[2].Y);
        p[3] = Pt(b.CX + Div(rx, 2), b.B - Div(b.H, 3));
        p[4] = Pt(b.CX + Div(b.W, 3), b.B);
        p[5] = Pt(b.CX, b.B - Div(ry, 2));
        p[6] = Pt(b.CX - Div(b.W, 3), b.B);
        p[7] = Pt(b.CX - Div(rx, 2), b.B - Div(b.H, 3));
        p[8] = at(288);
        p[9] = Pt(b.CX - k, p[8].Y);
        return p;
    });
}

// ---------------------------------------------------------------------------
// Strokes

TPoint TEnvelopeShape::ControlPoint(const TRect &r) const
{
    const TBox b(r);
    return Pt(b.CX, b.T + b.PercentH(FOffsetY));
}

void TEnvelopeShape::DrawShape(TKorCanvas3D *canvas, const TRect &r)
{
    TControlPointShape<TTreeNodeShape>::DrawShape(canvas, r);
    if (!canvas)
        return;
    const TPoint flap = ControlPoint(r);
    Stroke(canvas, TPoint(r.Left, r.Top), flap);
    Stroke(canvas, flap, TPoint(r.Right, r.Top));
}

void TEnvelopeShape::DragControlPoint(int dx, int dy)
{
    const long long h = static_cast<long long>(Y1()) - Y0();
    // An envelope of no height has no flap to drag.
    if (dy == 0 || h == 0)
        return;
    const double at = static_cast<double>(h) * FOffsetY / 100 + dy;
    SetOffsetY(dx::RoundEven(at * 100 / static_cast<double>(h)));
}

void TRingShape::DrawShape(TKorCanvas3D *canvas, const TRect &r)
{
    TTreeNodeShape::DrawShape(canvas, r);
    if (!canvas)
        return;
    const TBox b(r);
    const long long w = Div(b.W, 4), h = Div(b.H, 4);
    Ellipse(canvas, b.L + w, b.T + h, b.R - w, b.B - h);
}

void TBeveledShape::DrawShape(TKorCanvas3D *canvas, const TRect &r)
{
    TTreeNodeShape::DrawShape(canvas, r);
    if (!canvas || FBevel == bvNone)
        return;
    canvas->Pen().SetStyle(psSolid);
    canvas->Pen().SetWidth(1);
    canvas->Pen().SetMode(pmCopy);
    canvas->SetBrushBitmap(QImage());
    canvas->Brush().SetStyle(bsClear);
    const TColor topLeft = FBevel == bvLowered ? clBtnShadow : clBtnHighlight;
    const TColor bottomRight = FBevel == bvRaised ? clBtnShadow : clBtnHighlight;
    TRect f(r.Left, r.Top, r.Right - 1, r.Bottom - 1);
    // A frame thicker than the box stops where the box is used up.
    for (int i = 0; i < FBevelSize && f.Left <= f.Right && f.Top <= f.Bottom; ++i) {
        canvas->Pen().SetColor(topLeft);
        Stroke(canvas, TPoint(f.Left, f.Top), TPoint(f.Left, f.Bottom));
        Stroke(canvas, TPoint(f.Left, f.Top), TPoint(f.Right, f.Top));
        canvas->Pen().SetColor(bottomRight);
        Stroke(canvas, TPoint(f.Right, f.Top), TPoint(f.Right, f.Bottom));
        Stroke(canvas, TPoint(f.Left - 1, f.Bottom), TPoint(f.Right + 1, f.Bottom));
        f = f.Inflated(-1, -1);
    }
}
