#include "canvas/View3DOptions.h"

const TClassInfo &TView3DOptions::StaticClassInfo()
{
    using V = TView3DOptions;
    static const TClassInfo info = TClassBuilder<V>("TView3DOptions", TGraphicsObject::StaticClassInfo())
                                       .Integer("Elevation", &V::Elevation, &V::SetElevation, 345)
                                       .Integer("HorizOffset", &V::HorizOffset, &V::SetHorizOffset, 0)
                                       .Boolean("Orthogonal", &V::Orthogonal, &V::SetOrthogonal, true)
                                       .Integer("OrthoAngle", &V::OrthoAngle, &V::SetOrthoAngle, 45)
                                       .Integer("Perspective", &V::Perspective, &V::SetPerspective, 15)
                                       .Integer("Rotation", &V::Rotation, &V::SetRotation, 345)
                                       .Integer("Tilt", &V::Tilt, &V::SetTilt, 0)
                                       .Integer("VertOffset", &V::VertOffset, &V::SetVertOffset, 0)
                                       .Integer("Zoom", &V::Zoom, &V::SetZoom, 100)
                                       .Boolean("ZoomText", &V::ZoomText, &V::SetZoomText, true);
    return info;
}

void TView3DOptions::SetZoom(int v)
{
    if (v == FZoom)
        return;
    Fire(OnZoomChange, v);
    FZoom = v;
    Changed();
}

void TView3DOptions::SetHorizOffset(int v)
{
    v = ClampCoord(v);
    if (v == FHorizOffset)
        return;
    FHorizOffset = v;
    Changed();
    Fire(OnScrolled, true);
}

void TView3DOptions::SetVertOffset(int v)
{
    v = ClampCoord(v);
    if (v == FVertOffset)
        return;
    FVertOffset = v;
    Changed();
    Fire(OnScrolled, false);
}

void TView3DOptions::Assign(const TPersistent *source)
{
    if (auto *o = dynamic_cast<const TView3DOptions *>(source)) {
        SetElevation(o->FElevation);
        SetRotation(o->FRotation);
        SetTilt(o->FTilt);
        SetPerspective(o->FPerspective);
        SetOrthogonal(o->FOrthogonal);
        SetOrthoAngle(o->FOrthoAngle);
        SetZoomText(o->FZoomText);
        SetZoom(o->FZoom);
        SetHorizOffset(o->FHorizOffset);
        SetVertOffset(o->FVertOffset);
        return;
    }
    TGraphicsObject::Assign(source);
}
