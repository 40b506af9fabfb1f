#include "model/TreeSelectionLook.h"

#include "model/TreeDocument.h"

const TClassInfo &TSelectionLook::StaticClassInfo()
{
    using L = TSelectionLook;
    static const TClassInfo info =
        TClassBuilder<L>("TSelectionLook", TGraphicsObject::StaticClassInfo())
            .Object<TTreeSelectedPen>("Border", &L::Border, &L::Border)
            .Object<TTreeHiddenPen>("BorderUnFocused", &L::BorderUnFocused, &L::BorderUnFocused)
            .Color("Color", &L::Color, &L::SetColor, clHighlight)
            .Color("ColorUnFocused", &L::ColorUnFocused, &L::SetColorUnFocused, clInactiveCaption)
            .Boolean("FullRedraw", &L::FullRedraw, &L::SetFullRedraw, false)
            .Color("HandleColor", &L::HandleColor, &L::SetHandleColor, clBlack)
            .Object<TTreeHiddenPen>("HandlePen", &L::HandlePen, &L::HandlePen)
            .Integer("HandleSize", &L::HandleSize, &L::SetHandleSize, 3)
            .Boolean("ScrollToCenter", &L::ScrollToCenter, &L::SetScrollToCenter, false)
            .Boolean("ScrollToView", &L::ScrollToView, &L::SetScrollToView, true)
            .Set<TShiftStateFlag>("ShiftState", &L::ShiftState, &L::SetShiftState, SetBit(ssShift))
            .Color("TextColor", &L::TextColor, &L::SetTextColor, clHighlightText);
    return info;
}

const TClassInfo &TSelectedShapeList::StaticClassInfo()
{
    static const TClassInfo info("TSelectedShapeList", &TSelectionLook::StaticClassInfo());
    return info;
}

TSelectionLook::TSelectionLook()
    : FBorder(std::make_unique<TTreeSelectedPen>()), FBorderUnFocused(std::make_unique<TTreeHiddenPen>()),
      FHandlePen(std::make_unique<TTreeHiddenPen>())
{
    auto relay = [this](TGraphicsObject *) { Changed(); };
    FBorder->OnChange = relay;
    FBorderUnFocused->OnChange = relay;
    FHandlePen->OnChange = relay;
}

TSelectionLook::~TSelectionLook() = default;

const TChartPen *TSelectionLook::CurrentBorder() const
{
    if (FFocused)
        return FBorder.get();
    return FBorderUnFocused.get();
}

void TSelectionLook::Assign(const TPersistent *source)
{
    auto *s = dynamic_cast<const TSelectionLook *>(source);
    if (!s) {
        TGraphicsObject::Assign(source);
        return;
    }
    FBorder->Assign(s->FBorder.get());
    FBorderUnFocused->Assign(s->FBorderUnFocused.get());
    FHandlePen->Assign(s->FHandlePen.get());
    SetColor(s->FColor);
    SetColorUnFocused(s->FColorUnFocused);
    SetTextColor(s->FTextColor);
    SetFullRedraw(s->FFullRedraw);
    SetHandleColor(s->FHandleColor);
    SetHandleSize(s->FHandleSize);
    SetScrollToView(s->FScrollToView);
    SetScrollToCenter(s->FScrollToCenter);
    SetShiftState(s->FShiftState);
}
