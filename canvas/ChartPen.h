#pragma once
// Pens: the platform pen's colour, width, style and mode, and the chart pen
// with end style, small dots and visibility.

#include "canvas/CanvasTypes.h"
#include "canvas/GraphicsObject.h"
#include "core/Colors.h"

DX_ENUM(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame)
DX_ENUM(TPenMode, pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen,
        pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor)
DX_ENUM(TPenEndStyle, esRound, esSquare, esFlat)

class TPen : public TGraphicsObject
{
    DX_OBJECT(TPen)
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { Update(FColor, v); }
    int Width() const { return FWidth; }
    // Within the coordinate range (CanvasTypes.h): geometry adds it to
    // coordinates.
    void SetWidth(int v) { Update(FWidth, ClampCoord(v)); }
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle v) { Update(FStyle, v); }
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode v) { Update(FMode, v); }

    void Assign(const TPersistent *source) override;

protected:
    // Copies the fields of another pen without reporting; true when any
    // value changed. Subclasses add theirs.
    virtual bool CopyFields(const TPen &source);

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
};

class TChartPen : public TPen
{
    DX_OBJECT(TChartPen)
public:
    TChartPen() = default;
    explicit TChartPen(TEvent<TGraphicsObject *> onChange) { OnChange = std::move(onChange); }

    TPenEndStyle EndStyle() const { return FEndStyle; }
    void SetEndStyle(TPenEndStyle v) { Update(FEndStyle, v); }
    bool SmallDots() const { return FSmallDots; }
    void SetSmallDots(bool v) { Update(FSmallDots, v); }
    bool Visible() const { return FVisible; }
    void SetVisible(bool v) { Update(FVisible, v); }
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }

protected:
    bool CopyFields(const TPen &source) override;
    bool FVisible = true;

private:
    TPenEndStyle FEndStyle = esRound;
    bool FSmallDots = false;
};

// A chart pen that starts invisible (optional outlines).
class TChartHiddenPen : public TChartPen
{
    DX_OBJECT(TChartHiddenPen)
public:
    TChartHiddenPen() { FVisible = false; }
    explicit TChartHiddenPen(TEvent<TGraphicsObject *> onChange) : TChartHiddenPen() { OnChange = std::move(onChange); }
};
