#include "model/TreeHotTrack.h"

const TClassInfo &TKorHotTrackFont::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TKorHotTrackFont>("TKorHotTrackFont", TKorFont::StaticClassInfo())
                                       .Redefault("Style", SetBit(fsUnderline));
    return info;
}

TKorHotTrackFont::TKorHotTrackFont(TEvent<TGraphicsObject *> onChange)
{
    SetStyle(SetBit(fsUnderline)); // a default, not a change: reported to nobody yet
    OnChange = std::move(onChange);
}

const TClassInfo &TTreeHotTrack::StaticClassInfo()
{
    using H = TTreeHotTrack;
    static const TClassInfo info = TClassBuilder<H>("TTreeHotTrack", TGraphicsObject::StaticClassInfo())
                                       .Boolean("Active", &H::Active, &H::SetActive, false)
                                       .Object<TChartPen>("Border", &H::Border, &H::Border)
                                       .Object<TKorHotTrackFont>("Font", &H::Font, &H::Font)
                                       .Boolean("HotLink", &H::HotLink, &H::SetHotLink, true)
                                       .Boolean("UseBorder", &H::UseBorder, &H::SetUseBorder, false)
                                       .Boolean("UseFont", &H::UseFont, &H::SetUseFont, false);
    return info;
}

TTreeHotTrack::TTreeHotTrack(TEvent<TGraphicsObject *> onChange)
{
    auto relay = [this](TGraphicsObject *) { Changed(); };
    FBorder = std::make_unique<TChartPen>(relay);
    FFont = std::make_unique<TKorHotTrackFont>(relay);
    OnChange = std::move(onChange);
}

TTreeHotTrack::~TTreeHotTrack() = default;

void TTreeHotTrack::Assign(const TPersistent *source)
{
    auto *h = dynamic_cast<const TTreeHotTrack *>(source);
    if (!h) {
        TGraphicsObject::Assign(source);
        return;
    }
    FBorder->Assign(h->FBorder.get());
    FFont->Assign(h->FFont.get());
    SetActive(h->FActive);
    SetHotLink(h->FHotLink);
    SetUseBorder(h->FUseBorder);
    SetUseFont(h->FUseFont);
}
