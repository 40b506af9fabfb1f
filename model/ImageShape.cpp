#include "model/ImageShape.h"

#include "canvas/Picture.h"
#include "model/TreeConnection.h"

const TClassInfo &TImageShape::StaticClassInfo()
{
    using N = TImageShape;
    static const TClassInfo info =
        TClassBuilder<N>("TImageShape", TTreeNodeShape::StaticClassInfo())
            // An image shape is created transparent while the declared
            // default stays False, so True is written as before and False
            // must be written too, or reading turns it back to True.
            .Redefault("Transparent", 0)
            .Stored([](const N &) { return true; })
            .Redefault("ImageAlignment", iaCenter)
            // Every image but the default survives a file, the folder pair
            // included.
            .Redefault("ImageIndex", tiMyPC)
            .Stored([](const N &n) { return n.ImageIndex() != tiMyPC; });
    return info;
}

TImageShape::TImageShape(TComponent *owner) : TTreeNodeShape(owner)
{
    Border()->SetVisible(false);
    SetImageIndex(tiMyPC);
    SetTransparent(true);
    SetImageAlignment(iaCenter);
}

void TImageShape::CalcSize(TKorCanvas *canvas)
{
    TTreeNodeShape::CalcSize(canvas);
    const TPicture *picture = NodePicture();
    if (picture && picture->HasGraphic())
        SetCalculatedBounds(TRect(X0(), Y0(), X0() + picture->Width(), Y0() + picture->Height()));
}

std::unique_ptr<TChartPen> TImageShape::NewBorder() const
{
    return std::make_unique<TTreeHiddenPen>();
}
