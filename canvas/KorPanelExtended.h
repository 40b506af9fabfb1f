#pragma once
// TCustomKorPanelExtended: the panel with zoom settings and the rubber-band
// zoom rectangle, panning, a background gradient and a back image.

#include "canvas/KorGradient.h"
#include "canvas/KorPanel.h"
#include "canvas/Picture.h"

DX_ENUM(TPanningMode, pmNone, pmHorizontal, pmVertical, pmBoth)
DX_ENUM(TBackImageMode, pbmStretch, pbmTile, pbmCenter)

class TCustomKorPanelExtended : public TCustomKorPanel
{
    Q_OBJECT
public:
    explicit TCustomKorPanelExtended(QWidget *parent = nullptr);
    ~TCustomKorPanelExtended() override;

    TKorZoom *Zoom() const { return FZoom.get(); }
    void SetZoom(const TKorZoom *zoom);
    TPanningMode AllowPanning() const { return FAllowPanning; }
    void SetAllowPanning(TPanningMode value) { FAllowPanning = value; }
    // Created on first use; the Peek forms never create them.
    TPicture *BackImage();
    TPicture *PeekBackImage() const { return FBackImage.get(); }
    void SetBackImage(const TPicture *picture);
    TBackImageMode BackImageMode() const { return FBackImageMode; }
    void SetBackImageMode(TBackImageMode value);
    // True: the back image covers the drawing rectangle; False (default):
    // the whole bounds.
    bool BackImageInside() const { return FBackImageInside; }
    void SetBackImageInside(bool value);
    TKorGradient *Gradient();
    TKorGradient *PeekGradient() const { return FGradient.get(); }
    void SetGradient(const TKorGradient *gradient);
    bool Zoomed() const { return FZoomed; }
    void SetZoomed(bool value) { FZoomed = value; }

    // Properties of old files, read into Zoom.
    bool AllowZoom() const { return FZoom->Allow(); }
    void SetAllowZoom(bool v) { FZoom->SetAllow(v); }
    bool AnimatedZoom() const { return FZoom->Animated(); }
    void SetAnimatedZoom(bool v) { FZoom->SetAnimated(v); }
    int AnimatedZoomSteps() const { return FZoom->AnimatedSteps(); }
    void SetAnimatedZoomSteps(int v) { FZoom->SetAnimatedSteps(v); }

    TNotifyEvent OnZoom;
    TNotifyEvent OnUndoZoom;
    TNotifyEvent OnScroll;

    // Fires OnUndoZoom, repaints and clears the zoomed flag.
    void UndoZoom();

    // The rubber-band zoom rectangle, in panel pixels. It is drawn over the
    // picture in every paint while active (not-xor of Zoom.Pen and
    // Zoom.Brush) and never becomes part of the picture.
    void StartZoomRectangle(int x, int y);
    void MoveZoomRectangle(int x, int y);
    // Deactivates it and answers it normalised.
    TRect EndZoomRectangle();

    // Panning: offsets follow the pointer in the allowed directions.
    void StartPanning(int x, int y);
    // Moves the view by the pointer's movement since the last point; true
    // when an offset changed.
    bool PanTo(int x, int y);
    void StopPanning();

protected:
    // Fill (gradient, or the colour unless clNone or printing), back image
    // and bevels.
    void DrawBackground(const TRect &bounds) override;
    void DrawBackImage(const TRect &bounds);
    bool HasOverlays() const override;
    void DrawOverlays(TKorCanvas3D *canvas) override;
    // Draws the zoom rectangle in not-xor: twice restores the picture.
    void DrawZoomRectangle(TKorCanvas3D *canvas);

private:
    void FillOrGradient(const TRect &bounds);

    std::unique_ptr<TKorZoom> FZoom;
    TPanningMode FAllowPanning = pmBoth;
    std::unique_ptr<TPicture> FBackImage;
    TBackImageMode FBackImageMode = pbmStretch;
    bool FBackImageInside = false;
    std::unique_ptr<TKorGradient> FGradient;
    bool FZoomed = false;
};
