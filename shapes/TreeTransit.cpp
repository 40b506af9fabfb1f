#include "shapes/TreeTransit.h"

#include "core/Filer.h"
#include "core/Writer.h"

#include "model/ShapePalette.h"
#include "shapes/GalleryClass.h"
#include "shapes/GalleryMath.h"
#include "shapes/ShapesConst.h"

using namespace Gallery;

// ---------------------------------------------------------------------------
// Class information

DX_PLAIN_CLASS(TTransitShape, TCustomTreeShape)

const TClassInfo &TStopShape::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TStopShape>("TStopShape", TOctagonShape::StaticClassInfo()).Redefault("Color", clRed);
    return info;
}

const TClassInfo &TYieldShape::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TYieldShape>("TYieldShape", TTransitShape::StaticClassInfo())
                                       .Redefault("Color", clYellow)
                                       .Redefault("Style", tssTriangleBottom);
    return info;
}

const TClassInfo &TSlowShape::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TSlowShape>("TSlowShape", TTransitShape::StaticClassInfo())
                                       .Redefault("Color", clYellow)
                                       .Redefault("Style", tssDiamond);
    return info;
}

const TClassInfo &TDangerShape::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TDangerShape>("TDangerShape", TTransitShape::StaticClassInfo())
                                       .Redefault("Color", clRed)
                                       .Redefault("Style", tssDiamond);
    return info;
}

// ---------------------------------------------------------------------------
// Construction

TStopShape::TStopShape(TComponent *owner) : TOctagonShape(owner)
{
    SetColor(clRed);
    Border()->SetColor(clWhite);
    Font()->SetColor(clWhite);
    Font()->SetStyle(SetBit(fsBold));
    SetSimpleText(QStringLiteral("STOP"));
    SetAngleOffset(22.5);
}

TYieldShape::TYieldShape(TComponent *owner) : TTransitShape(owner)
{
    Border()->SetColor(clBlack);
    Border()->SetVisible(true);
    SetColor(clYellow);
    SetStyle(tssTriangleBottom);
    SetSimpleText(QStringLiteral("YIELD"));
}

TSlowShape::TSlowShape(TComponent *owner) : TTransitShape(owner)
{
    SetColor(clYellow);
    SetStyle(tssDiamond);
    Font()->SetStyle(SetBit(fsBold));
    SetSimpleText(QStringLiteral("SLOW"));
}

TDangerShape::TDangerShape(TComponent *owner) : TTransitShape(owner)
{
    SetColor(clRed);
    SetStyle(tssDiamond);
    Font()->SetColor(clWhite);
    SetSimpleText(QStringLiteral("DANGER"));
}

// ---------------------------------------------------------------------------

void TStopShape::CalcSize(TKorCanvas *canvas)
{
    TOctagonShape::CalcSize(canvas);
    if (!canvas)
        return;
    const long long side = Near(static_cast<double>(Width()) * 1.1);
    SetCalculatedBounds(TRect(Pt(X0(), Y0()), Pt(X0() + side, Y0() + side)));
}

void RegisterTransitShapes()
{
    const QString page = STransitPage;
    AddPaletteShape<TStopShape>(page, QStringLiteral("Stop"));
    AddPaletteShape<TYieldShape>(page, QStringLiteral("Yield"));
    AddPaletteShape<TSlowShape>(page, QStringLiteral("Slow"));
    AddPaletteShape<TDangerShape>(page, QStringLiteral("Danger"));
    RegisterClass<TTransitShape>();
}

// ---------------------------------------------------------------------------
// Signs with a word: an empty text is written as an empty list, since a
// sign read without one gets its word back.

namespace {

void DefineClearedWord(TFiler &filer, const TCustomTreeElement &sign)
{
    filer.DefineProperty(
        QStringLiteral("Text.Strings"), nullptr,
        [](TWriter &w) {
            w.WriteListBegin();
            w.WriteListEnd();
        },
        sign.LineCount() == 0);
}

} // namespace

void TStopShape::DefineProperties(TFiler &filer)
{
    TOctagonShape::DefineProperties(filer);
    DefineClearedWord(filer, *this);
}

void TYieldShape::DefineProperties(TFiler &filer)
{
    TTransitShape::DefineProperties(filer);
    DefineClearedWord(filer, *this);
}

void TSlowShape::DefineProperties(TFiler &filer)
{
    TTransitShape::DefineProperties(filer);
    DefineClearedWord(filer, *this);
}

void TDangerShape::DefineProperties(TFiler &filer)
{
    TTransitShape::DefineProperties(filer);
    DefineClearedWord(filer, *this);
}
