#pragma once
// Published declarations of the panel settings for the class that
// publishes them (the diagram component, which is both a panel and a
// persistent document):
//
//   TClassBuilder<TCustomTree> b("TCustomTree", TTreeDocument::StaticClassInfo());
//   DeclareControlProperties(b);
//   DeclarePanelProperties(b, {clWhite, bvNone});
//
// The panel itself is a widget and has no class information of its own.

#include "canvas/KorPanelExtended.h"
#include "core/ClassInfo.h"

#include <type_traits>

// Position, size, visibility and alignment of the control.
template <class C>
void DeclareControlProperties(TClassBuilder<C> &b)
{
    static_assert(std::is_base_of_v<TCustomPanelNoCaption, C>, "declares the settings of a panel");
    using P = TCustomPanelNoCaption;
    b.Enum("Align", &P::Align, &P::SetAlign, alNone)
        .Integer("Left", &P::Left, &P::SetLeft)
        .Integer("Top", &P::Top, &P::SetTop)
        .Integer("Width", &P::Width, &P::SetWidth)
        .Integer("Height", &P::Height, &P::SetHeight)
        .Boolean("Visible", &P::Visible, &P::SetVisible, true);
}

// The defaults a publishing class gives the panel (the diagram is created
// without an outer bevel).
struct TPanelPropertyDefaults
{
    TColor Color = clWhite;
    TPanelBevel BevelOuter = bvRaised;
};

// The panel's own published settings, the zoom and background settings of
// the extended panel, its events, and the properties of old files that are
// read into Zoom but never written.
template <class C>
void DeclarePanelProperties(TClassBuilder<C> &b, const TPanelPropertyDefaults &defaults = {})
{
    static_assert(std::is_base_of_v<TCustomKorPanelExtended, C>, "declares the settings of an extended panel");
    using N = TCustomPanelNoCaption;
    using K = TCustomKorPanel;
    using E = TCustomKorPanelExtended;
    b.Enum("AllowPanning", &E::AllowPanning, &E::SetAllowPanning, pmBoth)
        .Boolean("AllowZoom", &E::AllowZoom, &E::SetAllowZoom, true)
        .NeverStored()
        .Boolean("AnimatedZoom", &E::AnimatedZoom, &E::SetAnimatedZoom, false)
        .NeverStored()
        .Integer("AnimatedZoomSteps", &E::AnimatedZoomSteps, &E::SetAnimatedZoomSteps, 8)
        .NeverStored()
        .template Object<TPicture>("BackImage", &E::PeekBackImage, &E::BackImage)
        .Enum("BackImageMode", &E::BackImageMode, &E::SetBackImageMode, pbmStretch)
        .Enum("BevelInner", &N::BevelInner, &N::SetBevelInner, bvNone)
        .Enum("BevelOuter", &N::BevelOuter, &N::SetBevelOuter, defaults.BevelOuter)
        .Integer("BevelWidth", &N::BevelWidth, &N::SetBevelWidth, 1)
        .Integer("BorderWidth", &N::BorderWidth, &N::SetBorderWidth, 0)
        .Boolean("BufferedDisplay", &K::BufferedDisplay, &K::SetBufferedDisplay, true)
        .Color("Color", &N::Color, &N::SetColor, defaults.Color)
        .template Object<TKorGradient>("Gradient", &E::PeekGradient, &E::Gradient)
        .Boolean("Monochrome", &K::Monochrome, &K::SetMonochrome, false)
        .Boolean("PrintProportional", &K::PrintProportional, &K::SetPrintProportional, true)
        .template Object<TView3DOptions>("View3DOptions", &K::View3DOptions, &K::View3DOptions)
        .template Object<TKorZoom>("Zoom", &E::Zoom, &E::Zoom)
        .Event("OnScroll")
        .Event("OnUndoZoom")
        .Event("OnZoom");
}
