#pragma once
// The expand/collapse box drawn beside nodes that have (or always show)
// children: its look and size. One per diagram; the node walk draws it and
// the mouse hit-tests it.

#include "canvas/CanvasTypes.h"
#include "canvas/ChartBrush.h"
#include "canvas/ChartPen.h"
#include "core/Colors.h"

#include <memory>

class TKorCanvas3D;

DX_ENUM(TTreeCrossBoxStyle, cbsSquare, cbsDiamond, cbsCircle)

// The border pen of the cross box: grey by default.
class TTreeCrossBoxPen : public TChartPen
{
    DX_OBJECT(TTreeCrossBoxPen)
public:
    explicit TTreeCrossBoxPen(TEvent<TGraphicsObject *> onChange = {});
};

class TTreeNodeCrossBox : public TGraphicsObject
{
    DX_OBJECT(TTreeNodeCrossBox)
public:
    explicit TTreeNodeCrossBox(TEvent<TGraphicsObject *> onChange = {});
    ~TTreeNodeCrossBox() override;

    TColor BackColor() const { return FBackColor; }
    void SetBackColor(TColor v) { Update(FBackColor, v); }
    TTreeCrossBoxPen *Border() const { return FBorder.get(); }
    TChartBrush *Brush() const { return FBrush.get(); }
    int ClickTolerance() const { return FClickTolerance; }
    // Sizes stay within the coordinate range (CanvasTypes.h).
    void SetClickTolerance(int v) { Update(FClickTolerance, ClampCoord(v)); }
    TChartPen *SignPen() const { return FSignPen.get(); }
    // Half the side of the box, in pixels.
    int Size() const { return FSize; }
    void SetSize(int v) { Update(FSize, ClampCoord(v)); }
    TTreeCrossBoxStyle Style() const { return FStyle; }
    void SetStyle(TTreeCrossBoxStyle v) { Update(FStyle, v); }
    bool Visible() const { return FVisible; }
    void SetVisible(bool v) { Update(FVisible, v); }

    void Assign(const TPersistent *source) override;

    // Draws the box centred on a diagram point: a minus sign for an
    // expanded node, a plus sign for a collapsed one; nothing when the box
    // does not meet the visible area.
    void Draw(TKorCanvas3D *canvas, const TPoint &center, bool expanded, const TRect &visible) const;
    // Where a click hits the box drawn at a screen point at a zoom factor
    // (1.0 for 100 %): the border, the box and the click tolerance, right
    // and bottom edges excluded.
    TRect HitArea(const TPoint &center, double zoom) const;

private:
    std::unique_ptr<TTreeCrossBoxPen> FBorder;
    std::unique_ptr<TChartBrush> FBrush;
    std::unique_ptr<TChartPen> FSignPen;
    TColor FBackColor = clNone;
    int FClickTolerance = 0;
    int FSize = 4;
    TTreeCrossBoxStyle FStyle = cbsSquare;
    bool FVisible = true;
};
