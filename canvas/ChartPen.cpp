#include "canvas/ChartPen.h"

const TClassInfo &TGraphicsObject::StaticClassInfo()
{
    static const TClassInfo info("TGraphicsObject", &TPersistent::StaticClassInfo());
    return info;
}

const TClassInfo &TPen::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TPen>("TPen", TGraphicsObject::StaticClassInfo())
                                       .Color("Color", &TPen::Color, &TPen::SetColor, clBlack)
                                       .Enum("Mode", &TPen::Mode, &TPen::SetMode, pmCopy)
                                       .Enum("Style", &TPen::Style, &TPen::SetStyle, psSolid)
                                       .Integer("Width", &TPen::Width, &TPen::SetWidth, 1);
    return info;
}

void TPen::Assign(const TPersistent *source)
{
    if (auto *p = dynamic_cast<const TPen *>(source)) {
        if (CopyFields(*p))
            Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

bool TPen::CopyFields(const TPen &p)
{
    const bool changed = FColor != p.FColor || FWidth != p.FWidth || FStyle != p.FStyle || FMode != p.FMode;
    FColor = p.FColor;
    FWidth = p.FWidth;
    FStyle = p.FStyle;
    FMode = p.FMode;
    return changed;
}

const TClassInfo &TChartPen::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TChartPen>("TChartPen", TPen::StaticClassInfo())
                                       .Enum("EndStyle", &TChartPen::EndStyle, &TChartPen::SetEndStyle, esRound)
                                       .Boolean("SmallDots", &TChartPen::SmallDots, &TChartPen::SetSmallDots, false)
                                       .Boolean("Visible", &TChartPen::Visible, &TChartPen::SetVisible, true);
    return info;
}

bool TChartPen::CopyFields(const TPen &source)
{
    bool changed = TPen::CopyFields(source);
    if (auto *p = dynamic_cast<const TChartPen *>(&source)) {
        changed = changed || FVisible != p->FVisible || FSmallDots != p->FSmallDots || FEndStyle != p->FEndStyle;
        FVisible = p->FVisible;
        FSmallDots = p->FSmallDots;
        FEndStyle = p->FEndStyle;
    }
    return changed;
}

const TClassInfo &TChartHiddenPen::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TChartHiddenPen>("TChartHiddenPen", TChartPen::StaticClassInfo()).Redefault("Visible", 0);
    return info;
}
