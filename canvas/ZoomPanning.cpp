#include "canvas/ZoomPanning.h"

const TClassInfo &TZoomPanning::StaticClassInfo()
{
    static const TClassInfo info("TZoomPanning", &TGraphicsObject::StaticClassInfo());
    return info;
}

const TClassInfo &TKorZoomPen::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TKorZoomPen>("TKorZoomPen", TChartPen::StaticClassInfo())
                                       .Redefault("Color", clWhite)
                                       .Stored([](const TKorZoomPen &p) { return p.Color() != p.DefaultColor(); });
    return info;
}

TKorZoomPen::TKorZoomPen(TColor defaultColor) : FDefaultColor(defaultColor)
{
    SetColor(defaultColor);
}

void TKorZoomPen::SetDefaultColor(TColor color)
{
    const bool follow = Color() == FDefaultColor;
    FDefaultColor = color;
    if (follow)
        SetColor(color);
}

const TClassInfo &TKorZoomBrush::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TKorZoomBrush>("TKorZoomBrush", TChartBrush::StaticClassInfo())
                                       .Redefault("Color", clWhite)
                                       .Redefault("Style", bsClear);
    return info;
}

TKorZoomBrush::TKorZoomBrush()
{
    SetColor(clWhite);
    SetStyle(bsClear);
}

const TClassInfo &TKorZoom::StaticClassInfo()
{
    using Z = TKorZoom;
    static const TClassInfo info = TClassBuilder<Z>("TKorZoom", TZoomPanning::StaticClassInfo())
                                       .Boolean("Allow", &Z::Allow, &Z::SetAllow, true)
                                       .Boolean("Animated", &Z::Animated, &Z::SetAnimated, false)
                                       .Integer("AnimatedSteps", &Z::AnimatedSteps, &Z::SetAnimatedSteps, 8)
                                       .Object<TKorZoomBrush>("Brush", &Z::PeekBrush, &Z::Brush)
                                       .Enum("Direction", &Z::Direction, &Z::SetDirection, tzdBoth)
                                       .Set<TShiftStateFlag>("KeyShift", &Z::KeyShift, &Z::SetKeyShift, 0)
                                       .Integer("MinimumPixels", &Z::MinimumPixels, &Z::SetMinimumPixels, 16)
                                       .Enum("MouseButton", &Z::MouseButton, &Z::SetMouseButton, mbLeft)
                                       .Object<TKorZoomPen>("Pen", &Z::PeekPen, &Z::Pen);
    return info;
}

TKorZoom::TKorZoom() = default;
TKorZoom::~TKorZoom() = default;

TKorZoomBrush *TKorZoom::Brush()
{
    if (!FBrush) {
        FBrush = std::make_unique<TKorZoomBrush>();
        FBrush->OnChange = [this](TGraphicsObject *) { Changed(); };
    }
    return FBrush.get();
}

void TKorZoom::SetBrush(const TKorZoomBrush *brush)
{
    AssignSubObject(FBrush, brush, [this] { return Brush(); }, [this] { Changed(); });
}

TKorZoomPen *TKorZoom::Pen()
{
    if (!FPen) {
        FPen = std::make_unique<TKorZoomPen>(FPenDefaultColor);
        FPen->OnChange = [this](TGraphicsObject *) { Changed(); };
    }
    return FPen.get();
}

void TKorZoom::SetPen(const TKorZoomPen *pen)
{
    AssignSubObject(FPen, pen, [this] { return Pen(); }, [this] { Changed(); });
}

void TKorZoom::SetPenDefaultColor(TColor color)
{
    FPenDefaultColor = color;
    if (FPen)
        FPen->SetDefaultColor(color);
}

void TKorZoom::Assign(const TPersistent *source)
{
    if (auto *z = dynamic_cast<const TKorZoom *>(source)) {
        SetAllow(z->FAllow);
        SetAnimated(z->FAnimated);
        SetAnimatedSteps(z->FAnimatedSteps);
        SetDirection(z->FDirection);
        SetKeyShift(z->FKeyShift);
        SetMinimumPixels(z->FMinimumPixels);
        SetMouseButton(z->FMouseButton);
        SetBrush(z->FBrush.get());
        SetPen(z->FPen.get());
        return;
    }
    TZoomPanning::Assign(source);
}
