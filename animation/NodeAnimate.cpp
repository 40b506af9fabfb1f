#include "animation/NodeAnimate.h"

#include "core/ClassRegistry.h"
#include "core/NameTables.h"

const TClassInfo &TNodeAnimate::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TNodeAnimate>("TNodeAnimate", TTreeNodeShape::StaticClassInfo());
    return info;
}

TNodeAnimate::TNodeAnimate(TComponent *owner) : TTreeNodeShape(owner)
{
    SetColor(clBlack);
    Border()->SetColor(clRed);
    SetImageIndex(tiNone);
    SetCursor(crHandPoint);
}

void TNodeAnimate::AllowResize(TTreeShapeHandle corner, int, int, bool &allow)
{
    // A bar grows or shrinks along the time axis only.
    allow = allow && (corner == rcLeft || corner == rcRight);
}

void RegisterNodeAnimate()
{
    RegisterClass<TNodeAnimate>();
}
