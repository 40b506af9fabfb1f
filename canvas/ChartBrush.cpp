#include "canvas/ChartBrush.h"

const TClassInfo &TBrush::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TBrush>("TBrush", TGraphicsObject::StaticClassInfo())
                                       .Color("Color", &TBrush::Color, &TBrush::SetColor, clWhite)
                                       .Enum("Style", &TBrush::Style, &TBrush::SetStyle, bsSolid);
    return info;
}

void TBrush::Assign(const TPersistent *source)
{
    if (auto *b = dynamic_cast<const TBrush *>(source)) {
        if (CopyFields(*b))
            Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

bool TBrush::CopyFields(const TBrush &b)
{
    const bool changed = FColor != b.FColor || FStyle != b.FStyle;
    FColor = b.FColor;
    FStyle = b.FStyle;
    return changed;
}

const TClassInfo &TChartBrush::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TChartBrush>("TChartBrush", TBrush::StaticClassInfo())
                                       .Redefault("Color", clDefault)
                                       .Object<TPicture>("Image", &TChartBrush::PeekImage, &TChartBrush::Image);
    return info;
}

TChartBrush::~TChartBrush() = default;

TPicture *TChartBrush::Image()
{
    if (!FImage)
        FImage = std::make_unique<TPicture>([this](TGraphicsObject *) { Changed(); });
    return FImage.get();
}

void TChartBrush::SetImage(const TPicture *picture)
{
    if (!picture) {
        if (FImage) {
            FImage.reset();
            Changed();
        }
        return;
    }
    Image()->Assign(picture);
}

bool TChartBrush::CopyFields(const TBrush &source)
{
    bool changed = TBrush::CopyFields(source);
    if (auto *b = dynamic_cast<const TChartBrush *>(&source)) {
        if (b->FImage) {
            Image()->Assign(b->FImage.get());
        } else if (FImage) {
            FImage.reset();
            changed = true;
        }
    }
    return changed;
}
