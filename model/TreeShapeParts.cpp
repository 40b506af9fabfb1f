#include "model/TreeShapeParts.h"

#include "model/TreeNodeShape.h"

const TClassInfo &TTreeShapeBrush::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TTreeShapeBrush>("TTreeShapeBrush", TChartBrush::StaticClassInfo()).Redefault("Color", clWhite);
    return info;
}

const TClassInfo &TTreeShapeAutoPosition::StaticClassInfo()
{
    using A = TTreeShapeAutoPosition;
    static const TClassInfo info = TClassBuilder<A>("TTreeShapeAutoPosition", TPersistent::StaticClassInfo())
                                       .Boolean("Left", &A::Left, &A::SetLeft, true)
                                       .NeverStored()
                                       .Boolean("Top", &A::Top, &A::SetTop, true)
                                       .NeverStored();
    return info;
}

void TTreeShapeAutoPosition::Changed()
{
    if (FNode)
        FNode->Changed();
}

void TTreeShapeAutoPosition::SetLeft(bool value)
{
    if (FFixedLeft == !value)
        return;
    FFixedLeft = !value;
    Changed();
}

void TTreeShapeAutoPosition::SetTop(bool value)
{
    if (FFixedTop == !value)
        return;
    FFixedTop = !value;
    Changed();
}

void TTreeShapeAutoPosition::Assign(const TPersistent *source)
{
    if (auto *a = dynamic_cast<const TTreeShapeAutoPosition *>(source)) {
        if (FFixedLeft == a->FFixedLeft && FFixedTop == a->FFixedTop)
            return;
        FFixedLeft = a->FFixedLeft;
        FFixedTop = a->FFixedTop;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

const TClassInfo &TTreePicture::StaticClassInfo()
{
    using P = TTreePicture;
    static const TClassInfo info = TClassBuilder<P>("TTreePicture", TPicture::StaticClassInfo())
                                       .Boolean("Transparent", &P::Transparent, &P::SetTransparent, false);
    return info;
}
