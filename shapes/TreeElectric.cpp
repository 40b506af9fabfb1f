#include "shapes/TreeElectric.h"

#include "canvas/KorCanvas3D.h"
#include "model/ShapePalette.h"
#include "shapes/GalleryClass.h"
#include "shapes/GalleryMath.h"
#include "shapes/ShapesConst.h"

#include <algorithm>

using namespace Gallery;

namespace {

// Horizontal leads at the middle height from either side `length` long.
void Leads(TKorCanvas3D *canvas, const TBox &b, long long length)
{
    Stroke(canvas, Pt(b.L, b.CY), Pt(b.L + length, b.CY));
    Stroke(canvas, Pt(b.R, b.CY), Pt(b.R - length, b.CY));
}

} // namespace

// ---------------------------------------------------------------------------
// Class information

DX_PLAIN_CLASS(TElectricShape, TCustomTreeShape)
DX_PLAIN_CLASS(TResistorShape, TElectricShape)
DX_PLAIN_CLASS(TSolidResistorShape, TElectricShape)
DX_PLAIN_CLASS(TFuseShape, TSolidResistorShape)
DX_PLAIN_CLASS(TCapacitorShape, TElectricShape)
DX_PLAIN_CLASS(TDiodeShape, TElectricShape)
DX_PLAIN_CLASS(TGroundShape, TElectricShape)
DX_PLAIN_CLASS(TSourceShape, TElectricShape)
DX_PLAIN_CLASS(TChasisShape, TElectricShape)
DX_PLAIN_CLASS(TOrGateShape, TElectricShape)
DX_PLAIN_CLASS(TAndGateShape, TElectricShape)

const TClassInfo &TLampShape::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TLampShape>("TLampShape", TOctagonShape::StaticClassInfo()).Redefault("Color", clYellow);
    return info;
}

// ---------------------------------------------------------------------------
// Construction

TChasisShape::TChasisShape(TComponent *owner) : TElectricShape(owner)
{
    SetColor(clBlack);
}

TLampShape::TLampShape(TComponent *owner) : TOctagonShape(owner)
{
    SetColor(clYellow);
    SetAngleOffset(22.5);
}

// ---------------------------------------------------------------------------
// Outlines

int TOrGateShape::GetShapePoints(const TRect &r, TPointArray &points) const
{
    return CustomOutline(r, points, [](const TRect &rect) {
        const TBox b(rect);
        TPointArray p(33);
        p[0] = Pt(b.L, b.T);
        const long long backX = Div(b.W, 8), ry = Div(b.H, 2);
        const long long frontX = Div(b.W, 2), xc = b.R - frontX;
        for (int i = 1; i <= 16; ++i) {
            const double a = HalfTurn(i, 16);
            p[i] = Pt(b.L + CosTimes(a, backX), b.CY + SinTimes(a, ry));
            p[16 + i] = Pt(xc + CosTimes(a, frontX), b.CY - SinTimes(a, ry));
        }
        return p;
    });
}

int TAndGateShape::GetShapePoints(const TRect &r, TPointArray &points) const
{
    return CustomOutline(r, points, [](const TRect &rect) { return DOutline(TBox(rect)); });
}

// ---------------------------------------------------------------------------
// Strokes

void TResistorShape::DrawShape(TKorCanvas3D *canvas, const TRect &r)
{
    TElectricShape::DrawShape(canvas, r);
    if (!canvas)
        return;
    const TBox b(r);
    const long long q = Div(b.W, 8), s = Div(b.W, 9);
    Leads(canvas, b, q);
    const TPoint zigzag[] = {Pt(b.L + q, b.CY),         Pt(b.L + q + s, b.T),     Pt(b.L + q + 2 * s, b.B),
                             Pt(b.L + q + 3 * s, b.T), Pt(b.L + q + 4 * s, b.B), Pt(b.L + q + 5 * s, b.T),
                             Pt(b.L + q + 6 * s, b.B), Pt(b.R - q, b.CY)};
    for (size_t i = 0; i + 1 < std::size(zigzag); ++i)
        Stroke(canvas, zigzag[i], zigzag[i + 1]);
}

void TSolidResistorShape::DrawShape(TKorCanvas3D *canvas, const TRect &r)
{
    TElectricShape::DrawShape(canvas, r);
    if (!canvas)
        return;
    const TBox b(r);
    const long long q = Div(b.W, 4);
    Rectangle(canvas, b.L + q, b.T, b.R - q, b.B);
    Leads(canvas, b, q);
}

void TFuseShape::DrawShape(TKorCanvas3D *canvas, const TRect &r)
{
    TSolidResistorShape::DrawShape(canvas, r);
    if (!canvas)
        return;
    const TBox b(r);
    Stroke(canvas, Pt(b.L, b.CY), Pt(b.R, b.CY));
}

void TCapacitorShape::DrawShape(TKorCanvas3D *canvas, const TRect &r)
{
    TElectricShape::DrawShape(canvas, r);
    if (!canvas)
        return;
    const TBox b(r);
    const long long a = std::min<long long>(2, Div(b.W, 8));
    Stroke(canvas, Pt(b.L, b.CY), Pt(b.CX - a, b.CY));
    Stroke(canvas, Pt(b.R, b.CY), Pt(b.CX + a, b.CY));
    Stroke(canvas, Pt(b.CX - a, b.T), Pt(b.CX - a, b.B));
    Stroke(canvas, Pt(b.CX + a, b.T), Pt(b.CX + a, b.B));
}

void TDiodeShape::DrawShape(TKorCanvas3D *canvas, const TRect &r)
{
    TElectricShape::DrawShape(canvas, r);
    if (!canvas)
        return;
    const TBox b(r);
    const long long q = Div(b.W, 3);
    Leads(canvas, b, q);
    Stroke(canvas, Pt(b.L + q, b.T), Pt(b.L + q, b.B));
    canvas->ProjectedPolygon({Pt(b.L + q, b.CY), Pt(b.R - q, b.T), Pt(b.R - q, b.B)}, 0);
}

void TGroundShape::DrawShape(TKorCanvas3D *canvas, const TRect &r)
{
    TElectricShape::DrawShape(canvas, r);
    if (!canvas)
        return;
    const TBox b(r);
    Stroke(canvas, Pt(b.CX, b.T), Pt(b.CX, b.CY));
    Stroke(canvas, Pt(b.L, b.CY), Pt(b.R, b.CY));
    const long long g = Div(b.W, 8), h = Div(b.H, 4);
    Stroke(canvas, Pt(b.L + g, b.CY + h), Pt(b.R - g, b.CY + h));
    Stroke(canvas, Pt(b.L + 2 * g, b.CY + 2 * h), Pt(b.R - 2 * g, b.CY + 2 * h));
}

void TSourceShape::DrawShape(TKorCanvas3D *canvas, const TRect &r)
{
    TElectricShape::DrawShape(canvas, r);
    if (!canvas)
        return;
    const TBox b(r);
    const long long q = Div(b.H, 4), l = Div(Div(b.W, 4), 3), h = Div(q, 3), o = Div(h, 2);
    Stroke(canvas, Pt(b.CX, b.T), Pt(b.CX, b.T + q));
    Ellipse(canvas, b.L, b.T + q, b.R, b.B - q);
    Stroke(canvas, Pt(b.CX, b.B), Pt(b.CX, b.B - q));
    // Plus above, minus below.
    Stroke(canvas, Pt(b.CX, b.T + q + h), Pt(b.CX, b.T + q + 2 * h));
    Stroke(canvas, Pt(b.CX - l, b.T + q + h + o), Pt(b.CX + l, b.T + q + h + o));
    Stroke(canvas, Pt(b.CX - l, b.B - q - h - o), Pt(b.CX + l, b.B - q - h - o));
}

void TChasisShape::DrawShape(TKorCanvas3D *canvas, const TRect &r)
{
    TElectricShape::DrawShape(canvas, r);
    if (!canvas)
        return;
    const TBox b(r);
    const long long a = Div(b.H, 3);
    Stroke(canvas, Pt(b.CX, b.T), Pt(b.CX, b.T + a));
    Rectangle(canvas, b.L, b.T + a, b.R, b.B - a);
    const long long g = Div(b.W, 8);
    for (int i = 0; i <= 7; ++i)
        Stroke(canvas, Pt(b.L + g * i, b.B), Pt(b.L + g * (i + 1), b.B - a));
}

void TLampShape::DrawShape(TKorCanvas3D *canvas, const TRect &r)
{
    TOctagonShape::DrawShape(canvas, r);
    if (!canvas)
        return;
    const TBox b(r);
    const long long w = Near(static_cast<double>(b.W) / 5), h = Near(static_cast<double>(b.H) / 5);
    Stroke(canvas, Pt(b.L + w, b.T + h), Pt(b.R - w, b.B - h));
    Stroke(canvas, Pt(b.L + w, b.B - h), Pt(b.R - w, b.T + h));
}

// ---------------------------------------------------------------------------

void RegisterElectricShapes()
{
    const QString page = SElectricPage;
    AddPaletteShape<TResistorShape>(page, QStringLiteral("Resistor"));
    AddPaletteShape<TSolidResistorShape>(page, QStringLiteral("Solid Resistor"));
    AddPaletteShape<TFuseShape>(page, QStringLiteral("Fuse"));
    AddPaletteShape<TCapacitorShape>(page, QStringLiteral("Capacitor"));
    AddPaletteShape<TDiodeShape>(page, QStringLiteral("Diode"));
    AddPaletteShape<TGroundShape>(page, QStringLiteral("Ground"));
    AddPaletteShape<TSourceShape>(page, QStringLiteral("Source"));
    AddPaletteShape<TChasisShape>(page, QStringLiteral("Chasis"));
    AddPaletteShape<TOrGateShape>(page, QStringLiteral("OR Gate"));
    AddPaletteShape<TAndGateShape>(page, QStringLiteral("AND Gate"));
    AddPaletteShape<TLampShape>(page, QStringLiteral("Lamp"));
    RegisterClass<TElectricShape>();
}
