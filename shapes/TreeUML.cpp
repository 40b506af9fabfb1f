#include "shapes/TreeUML.h"

#include "canvas/KorCanvas3D.h"
#include "model/ShapePalette.h"
#include "shapes/GalleryClass.h"
#include "shapes/GalleryMath.h"
#include "shapes/ShapesConst.h"

using namespace Gallery;

// ---------------------------------------------------------------------------
// Class information

const TClassInfo &TUMLRectangle::StaticClassInfo()
{
    using N = TUMLRectangle;
    static const TClassInfo info =
        TClassBuilder<N>("TUMLRectangle", TTreeNodeShape::StaticClassInfo())
            // Every image but none survives a file, the folder pair included.
            .Redefault("ImageIndex", tiNone)
            .Stored([](const N &n) { return n.ImageIndex() != tiNone; });
    return info;
}

DX_PLAIN_CLASS(TPackageShape, TCustomTreeShape)
DX_PLAIN_CLASS(TClassShape, TUMLRectangle)
DX_PLAIN_CLASS(TInterfaceShape, TUMLRectangle)
DX_PLAIN_CLASS(TActionShape, TCustomTreeShape)
DX_PLAIN_CLASS(TActorShape, TCustomTreeShape)
DX_PLAIN_CLASS(TNoteShape, TCustomTreeShape)

const TClassInfo &TProcShape::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TProcShape>("TProcShape", TCustomTreeShape::StaticClassInfo()).Redefault("Style", tssCircle);
    return info;
}

const TClassInfo &TStoreShape::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TStoreShape>("TStoreShape", TCustomTreeShape::StaticClassInfo()).Redefault("Style", tssCircle);
    return info;
}

// ---------------------------------------------------------------------------
// Construction

TUMLRectangle::TUMLRectangle(TComponent *owner) : TTreeNodeShape(owner)
{
    SetImageIndex(tiNone);
}

TProcShape::TProcShape(TComponent *owner) : TCustomTreeShape(owner)
{
    SetStyle(tssCircle);
}

TStoreShape::TStoreShape(TComponent *owner) : TCustomTreeShape(owner)
{
    SetStyle(tssCircle);
}

// ---------------------------------------------------------------------------
// Outlines

int TPackageShape::GetShapePoints(const TRect &r, TPointArray &points) const
{
    return CustomOutline(r, points, [](const TRect &rect) {
        const TBox b(rect);
        const long long tab = Div(b.H, 4), c = Div(b.W, 3);
        return TPointArray{Pt(b.L, b.T),       Pt(b.L, b.B),       Pt(b.R, b.B),
                           Pt(b.R, b.T + tab), Pt(b.L + c, b.T + tab), Pt(b.L + c, b.T)};
    });
}

int TActionShape::GetShapePoints(const TRect &r, TPointArray &points) const
{
    return CustomOutline(r, points, [](const TRect &rect) {
        const TBox b(rect);
        const long long q = Div(b.W, 6), ry = Div(b.H, 2);
        TPointArray p(34);
        p[0] = Pt(b.R - q, b.T);
        p[1] = Pt(b.L + q, b.T);
        for (int i = 1; i <= 16; ++i) {
            const double a = HalfTurn(i, 16);
            p[1 + i] = Pt(b.L + q - CosTimes(a, q), b.CY + SinTimes(a, ry));
        }
        p[18] = Pt(b.L + q, b.B);
        for (int i = 1; i <= 15; ++i) {
            const double a = HalfTurn(i, 16);
            p[18 + i] = Pt(b.R - q + CosTimes(a, q), b.CY - SinTimes(a, ry));
        }
        return p;
    });
}

int TNoteShape::GetShapePoints(const TRect &r, TPointArray &points) const
{
    return CustomOutline(r, points, [](const TRect &rect) {
        const TBox b(rect);
        return TPointArray{Pt(b.L, b.T), Pt(b.L, b.B), Pt(b.R, b.B), Pt(b.R, b.T + b.PercentH(10)),
                           Pt(b.R - b.PercentW(10), b.T)};
    });
}

// ---------------------------------------------------------------------------
// Strokes

void TPackageShape::DrawShape(TKorCanvas3D *canvas, const TRect &r)
{
    TCustomTreeShape::DrawShape(canvas, r);
    if (!canvas)
        return;
    const TBox b(r);
    const long long y = b.T + Div(b.H, 4);
    Stroke(canvas, Pt(b.L, y), Pt(b.L + Div(b.W, 3), y));
}

namespace {

// The compartment lines under a class's or interface's text: the name's
// line, and the line between attributes and operations when `both`.
void DrawCompartments(const TTreeNodeShape &node, TKorCanvas3D *canvas, const TRect &r, bool both)
{
    const TBox b(r);
    // The text's height in the node's own font, as its lines are drawn.
    std::optional<TKorFont> changed;
    canvas->AssignFont(node.DrawingFont(changed));
    const long long h = canvas->TextHeight(QStringLiteral("W"));
    const long long n = node.LineCount();
    const long long text = h * n;
    Stroke(canvas, Pt(b.L, b.T + text + 1), Pt(b.R, b.T + text + 1));
    if (both) {
        const long long y = b.B - Div(b.H - text, 2);
        Stroke(canvas, Pt(b.L, y), Pt(b.R, y));
    }
}

} // namespace

void TClassShape::DrawShape(TKorCanvas3D *canvas, const TRect &r)
{
    TUMLRectangle::DrawShape(canvas, r);
    if (canvas)
        DrawCompartments(*this, canvas, r, true);
}

void TInterfaceShape::DrawShape(TKorCanvas3D *canvas, const TRect &r)
{
    TUMLRectangle::DrawShape(canvas, r);
    if (canvas)
        DrawCompartments(*this, canvas, r, false);
}

void TActorShape::DrawShape(TKorCanvas3D *canvas, const TRect &r)
{
    TCustomTreeShape::DrawShape(canvas, r);
    if (!canvas)
        return;
    const TBox b(r);
    const long long third = Div(b.H, 3), n = Div(b.H, 9);
    Stroke(canvas, Pt(b.L, b.T + third), Pt(b.R, b.T + third));          // arms
    Stroke(canvas, Pt(b.CX, b.T + third - n), Pt(b.CX, b.B - third));    // body
    Stroke(canvas, Pt(b.CX, b.B - third), Pt(b.L, b.B));                 // legs
    Stroke(canvas, Pt(b.CX, b.B - third), Pt(b.R, b.B));
    const long long g = Div(third - n, 2);
    Ellipse(canvas, b.CX - g, b.T, b.CX + g, b.T + 2 * g);               // head
}

void TProcShape::DrawShape(TKorCanvas3D *canvas, const TRect &r)
{
    TCustomTreeShape::DrawShape(canvas, r);
    if (!canvas)
        return;
    const TBox b(r);
    Stroke(canvas, Pt(b.L - 4, b.T + 2), Pt(b.L - 4, b.B - 2));
    Stroke(canvas, Pt(b.L - 4, b.CY), Pt(b.L, b.CY));
}

void TNoteShape::DrawShape(TKorCanvas3D *canvas, const TRect &r)
{
    TCustomTreeShape::DrawShape(canvas, r);
    if (!canvas)
        return;
    const TBox b(r);
    const long long w = b.PercentW(10), h = b.PercentH(10);
    Stroke(canvas, Pt(b.R - w, b.T), Pt(b.R - w, b.T + h));
    Stroke(canvas, Pt(b.R - w, b.T + h), Pt(b.R, b.T + h));
}

void TStoreShape::DrawShape(TKorCanvas3D *canvas, const TRect &r)
{
    TCustomTreeShape::DrawShape(canvas, r);
    if (!canvas)
        return;
    const TBox b(r);
    Stroke(canvas, Pt(b.L + 4, b.B + 2), Pt(b.R - 4, b.B + 2));
    Stroke(canvas, Pt(b.CX, b.B + 2), Pt(b.CX, b.B));
}

// ---------------------------------------------------------------------------

void RegisterUMLShapes()
{
    const QString page = SUMLPage;
    AddPaletteShape<TPackageShape>(page, QStringLiteral("Package"));
    AddPaletteShape<TClassShape>(page, QStringLiteral("Class"));
    AddPaletteShape<TInterfaceShape>(page, QStringLiteral("Interface"));
    AddPaletteShape<TActionShape>(page, QStringLiteral("Action"));
    AddPaletteShape<TActorShape>(page, QStringLiteral("Actor"));
    AddPaletteShape<TProcShape>(page, QStringLiteral("Procedure"));
    AddPaletteShape<TNoteShape>(page, QStringLiteral("Note"));
    AddPaletteShape<TStoreShape>(page, QStringLiteral("Store"));
    RegisterClass<TUMLRectangle>();
}
