#pragma once
// The state of a panning drag and of the rubber-band zoom rectangle, and the
// zoom settings of a panel (published as the component's Zoom).

#include "canvas/CanvasTypes.h"
#include "canvas/ChartBrush.h"
#include "canvas/ChartPen.h"
#include "canvas/PanelEvents.h"

#include <memory>

// An active flag and two points in screen pixels: where the drag started
// and where it is now.
class TZoomPanning : public TGraphicsObject
{
    DX_OBJECT(TZoomPanning)
public:
    bool Active() const { return FActive; }
    void SetActive(bool value) { FActive = value; }
    int X0() const { return FX0; }
    int Y0() const { return FY0; }
    int X1() const { return FX1; }
    int Y1() const { return FY1; }
    void SetCurrent(int x, int y)
    {
        FX1 = x;
        FY1 = y;
    }
    // Both points at the position, active.
    void Activate(int x, int y)
    {
        FX0 = FX1 = x;
        FY0 = FY1 = y;
        FActive = true;
    }
    // The rectangle between the two points, normalised.
    TRect Rect() const { return TRect(FX0, FY0, FX1, FY1).Normalized(); }

private:
    bool FActive = false;
    int FX0 = 0;
    int FY0 = 0;
    int FX1 = 0;
    int FY1 = 0;
};

// The zoom rectangle's pen: a chart pen whose default colour is chosen by
// its owner (white in the panel base, black in the diagram); the colour is
// stored only when it differs from that default.
class TKorZoomPen : public TChartPen
{
    DX_OBJECT(TKorZoomPen)
public:
    explicit TKorZoomPen(TColor defaultColor = clWhite);
    TColor DefaultColor() const { return FDefaultColor; }
    // Changes the default, and the colour when it still had the old one.
    void SetDefaultColor(TColor color);

private:
    TColor FDefaultColor;
};

// The zoom rectangle's fill: white and clear by default.
class TKorZoomBrush : public TChartBrush
{
    DX_OBJECT(TKorZoomBrush)
public:
    TKorZoomBrush();
};

DX_ENUM(TKorZoomDirection, tzdHorizontal, tzdVertical, tzdBoth)

class TKorZoom : public TZoomPanning
{
    DX_OBJECT(TKorZoom)
public:
    TKorZoom();
    ~TKorZoom() override;

    bool Allow() const { return FAllow; }
    void SetAllow(bool v) { Update(FAllow, v); }
    bool Animated() const { return FAnimated; }
    void SetAnimated(bool v) { Update(FAnimated, v); }
    int AnimatedSteps() const { return FAnimatedSteps; }
    void SetAnimatedSteps(int v) { Update(FAnimatedSteps, v); }
    TKorZoomDirection Direction() const { return FDirection; }
    void SetDirection(TKorZoomDirection v) { Update(FDirection, v); }
    TShiftState KeyShift() const { return FKeyShift; }
    void SetKeyShift(TShiftState v) { Update(FKeyShift, v); }
    int MinimumPixels() const { return FMinimumPixels; }
    void SetMinimumPixels(int v) { Update(FMinimumPixels, v); }
    TMouseButton MouseButton() const { return FMouseButton; }
    void SetMouseButton(TMouseButton v) { Update(FMouseButton, v); }

    // Created on first use; the Peek forms never create them.
    TKorZoomBrush *Brush();
    TKorZoomBrush *PeekBrush() const { return FBrush.get(); }
    void SetBrush(const TKorZoomBrush *brush);
    TKorZoomPen *Pen();
    TKorZoomPen *PeekPen() const { return FPen.get(); }
    void SetPen(const TKorZoomPen *pen);
    // The pen's default colour (the diagram makes it black).
    TColor PenDefaultColor() const { return FPenDefaultColor; }
    void SetPenDefaultColor(TColor color);

    void Assign(const TPersistent *source) override;

private:
    bool FAllow = true;
    bool FAnimated = false;
    int FAnimatedSteps = 8;
    TKorZoomDirection FDirection = tzdBoth;
    TShiftState FKeyShift = 0;
    int FMinimumPixels = 16;
    TMouseButton FMouseButton = mbLeft;
    TColor FPenDefaultColor = clWhite;
    std::unique_ptr<TKorZoomBrush> FBrush;
    std::unique_ptr<TKorZoomPen> FPen;
};
