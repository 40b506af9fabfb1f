#pragma once
// The view options of a panel: zoom, scroll offsets and the 3D projection.
// The owner sets the callbacks; every real change invalidates the owner.

#include "canvas/CanvasTypes.h"
#include "canvas/GraphicsObject.h"

class TView3DOptions : public TGraphicsObject
{
    DX_OBJECT(TView3DOptions)
public:
    TView3DOptions() = default;
    explicit TView3DOptions(TEvent<TGraphicsObject *> onChange) { OnChange = std::move(onChange); }

    int Elevation() const { return FElevation; }
    void SetElevation(int v) { Update(FElevation, v); }
    int Rotation() const { return FRotation; }
    void SetRotation(int v) { Update(FRotation, v); }
    int Tilt() const { return FTilt; }
    void SetTilt(int v) { Update(FTilt, v); }
    int Perspective() const { return FPerspective; }
    void SetPerspective(int v) { Update(FPerspective, v); }
    bool Orthogonal() const { return FOrthogonal; }
    void SetOrthogonal(bool v) { Update(FOrthogonal, v); }
    int OrthoAngle() const { return FOrthoAngle; }
    void SetOrthoAngle(int v) { Update(FOrthoAngle, v); }
    bool ZoomText() const { return FZoomText; }
    void SetZoomText(bool v) { Update(FZoomText, v); }

    int Zoom() const { return FZoom; }
    // The zoom callback sees the new value before it is stored.
    void SetZoom(int v);
    // The scroll offsets are coordinates: within the range of
    // CanvasTypes.h. The zoom has no bound; projections saturate.
    int HorizOffset() const { return FHorizOffset; }
    // The scroll callback runs after the offset changed (True: horizontal).
    void SetHorizOffset(int v);
    int VertOffset() const { return FVertOffset; }
    void SetVertOffset(int v);

    TEvent<bool> OnScrolled;  // argument: True for HorizOffset, False for VertOffset
    TEvent<int> OnZoomChange; // argument: the new zoom, before it is stored

    void Assign(const TPersistent *source) override;

private:
    int FElevation = 345;
    int FRotation = 345;
    int FTilt = 0;
    int FPerspective = 15;
    int FOrthoAngle = 45;
    int FZoom = 100;
    int FHorizOffset = 0;
    int FVertOffset = 0;
    bool FOrthogonal = true;
    bool FZoomText = true;
};
