#include "canvas/KorGradient.h"

const TClassInfo &TCustomKorGradient::StaticClassInfo()
{
    static const TClassInfo info("TCustomKorGradient", &TGraphicsObject::StaticClassInfo());
    return info;
}

const TClassInfo &TKorGradient::StaticClassInfo()
{
    using G = TCustomKorGradient;
    static const TClassInfo info = TClassBuilder<G>("TKorGradient", TCustomKorGradient::StaticClassInfo())
                                       .Boolean("Visible", &G::Visible, &G::SetVisible, false)
                                       .Enum("Direction", &G::Direction, &G::SetDirection, gdTopBottom)
                                       .Color("StartColor", &G::StartColor, &G::SetStartColor, clWhite)
                                       .Color("EndColor", &G::EndColor, &G::SetEndColor, clYellow)
                                       .Color("MidColor", &G::MidColor, &G::SetMidColor, clNone);
    return info;
}

const TClassInfo &TKorFontGradient::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TKorFontGradient>("TKorFontGradient", TKorGradient::StaticClassInfo())
                                       .Boolean("Outline", &TKorFontGradient::Outline, &TKorFontGradient::SetOutline, false);
    return info;
}

void TCustomKorGradient::SetMidColor(TColor v)
{
    if (v == clNone) {
        if (FHasMidColor) {
            FHasMidColor = false;
            Changed();
        }
        return;
    }
    if (FHasMidColor && FMidColor == v)
        return;
    FMidColor = v;
    FHasMidColor = true;
    Changed();
}

void TCustomKorGradient::Assign(const TPersistent *source)
{
    if (auto *g = dynamic_cast<const TCustomKorGradient *>(source)) {
        if (CopyFields(*g))
            Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

bool TCustomKorGradient::CopyFields(const TCustomKorGradient &g)
{
    const bool changed = FVisible != g.FVisible || FHasMidColor != g.FHasMidColor || FDirection != g.FDirection ||
                         FStartColor != g.FStartColor || FEndColor != g.FEndColor || FMidColor != g.FMidColor;
    FVisible = g.FVisible;
    FHasMidColor = g.FHasMidColor;
    FDirection = g.FDirection;
    FStartColor = g.FStartColor;
    FEndColor = g.FEndColor;
    FMidColor = g.FMidColor;
    return changed;
}

bool TKorFontGradient::CopyFields(const TCustomKorGradient &source)
{
    bool changed = TKorGradient::CopyFields(source);
    if (auto *g = dynamic_cast<const TKorFontGradient *>(&source)) {
        changed = changed || FOutline != g->FOutline;
        FOutline = g->FOutline;
    }
    return changed;
}
