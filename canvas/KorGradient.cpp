#include "canvas/KorGradient.h"

#include "canvas/KorCanvasBase.h"
#include "core/Rounding.h"

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

void TCustomKorGradient::PaintGradient(TKorCanvas *canvas, const TRect &rect, int roundSize) const
{
    if (!canvas)
        return;
    TColor start = FStartColor;
    TColor end = FEndColor;
    TColor mid = FMidColor;
    if (canvas->Monochrome()) {
        start = GrayColor(start);
        end = GrayColor(end);
        mid = GrayColor(mid);
    }
    if (roundSize > 0)
        canvas->ClipToRoundRect(rect, roundSize, roundSize);
    const TRect r = rect.Normalized();
    const bool vertical = FDirection == gdTopBottom || FDirection == gdBottomTop;
    const bool horizontal = FDirection == gdLeftRight || FDirection == gdRightLeft;
    if (FHasMidColor && vertical) {
        // Split at the vertical midpoint; both halves keep the direction, so
        // top to bottom reads end - middle - start for gdTopBottom.
        const int m = dx::HalfSum(r.Top, r.Bottom);
        const TRect upper(r.Left, r.Top, r.Right, m);
        const TRect lower(r.Left, m, r.Right, r.Bottom);
        if (FDirection == gdTopBottom) {
            canvas->BandFill(upper, mid, end, FDirection);
            canvas->BandFill(lower, start, mid, FDirection);
        } else {
            canvas->BandFill(upper, start, mid, FDirection);
            canvas->BandFill(lower, mid, end, FDirection);
        }
    } else if (FHasMidColor && horizontal) {
        const int m = dx::HalfSum(r.Left, r.Right);
        const TRect left(r.Left, r.Top, m, r.Bottom);
        const TRect right(m, r.Top, r.Right, r.Bottom);
        if (FDirection == gdLeftRight) {
            canvas->BandFill(left, mid, end, FDirection);
            canvas->BandFill(right, start, mid, FDirection);
        } else {
            canvas->BandFill(left, start, mid, FDirection);
            canvas->BandFill(right, mid, end, FDirection);
        }
    } else {
        canvas->BandFill(r, start, end, FDirection);
    }
    if (roundSize > 0)
        canvas->RemoveClip();
}
