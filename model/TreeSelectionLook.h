#pragma once
// How selected nodes look: the fill and text colour of a selected node and
// the frame around it in run mode (each with a variant for a diagram
// without the keyboard focus), the resize handles in design mode, and how a
// new selection is scrolled into view. The diagram's selection list carries
// these settings.

#include "canvas/GraphicsObject.h"
#include "core/Colors.h"
#include "core/InputTypes.h"
#include "model/TreeConnection.h"

#include <memory>

class TSelectionLook : public TGraphicsObject
{
    DX_OBJECT(TSelectionLook)
public:
    TSelectionLook();
    ~TSelectionLook() override;

    // Frame of a selected node in run mode while the diagram has the focus
    // (yellow small dots), and while it lacks it (none by default).
    TTreeSelectedPen *Border() const { return FBorder.get(); }
    TTreeHiddenPen *BorderUnFocused() const { return FBorderUnFocused.get(); }
    // Solid fill of a selected node in run mode, focused and unfocused;
    // clNone keeps the node's own fill.
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { Update(FColor, v); }
    TColor ColorUnFocused() const { return FColorUnFocused; }
    void SetColorUnFocused(TColor v) { Update(FColorUnFocused, v); }
    // Text colour of a selected node in run mode; clNone keeps the font's.
    TColor TextColor() const { return FTextColor; }
    void SetTextColor(TColor v) { Update(FTextColor, v); }
    // True: every selection change repaints the whole view; False: handles
    // are drawn incrementally in not-xor mode.
    bool FullRedraw() const { return FFullRedraw; }
    void SetFullRedraw(bool v) { Update(FFullRedraw, v); }
    // Fill of the resize handles while one node is selected (grey with two
    // or more), and their outline.
    TColor HandleColor() const { return FHandleColor; }
    void SetHandleColor(TColor v) { Update(FHandleColor, v); }
    TTreeHiddenPen *HandlePen() const { return FHandlePen.get(); }
    // Half the side of a handle square in screen pixels, and the hit
    // tolerance of handles and connection points in diagram units.
    int HandleSize() const { return FHandleSize; }
    // Within the coordinate range (CanvasTypes.h).
    void SetHandleSize(int v) { Update(FHandleSize, ClampCoord(v)); }
    // Scroll a newly selected node into view, or to the centre (run mode).
    bool ScrollToView() const { return FScrollToView; }
    void SetScrollToView(bool v) { Update(FScrollToView, v); }
    bool ScrollToCenter() const { return FScrollToCenter; }
    void SetScrollToCenter(bool v) { Update(FScrollToCenter, v); }
    // Keys that make a run-mode click toggle instead of replace the
    // selection.
    TShiftState ShiftState() const { return FShiftState; }
    void SetShiftState(TShiftState v) { Update(FShiftState, v); }

    // Whether the diagram has the keyboard focus (set by the view; never
    // stored). It picks the focused or unfocused fill and frame.
    bool Focused() const { return FFocused; }
    void SetFocused(bool v) { FFocused = v; }
    // The fill and frame in force.
    TColor CurrentColor() const { return FFocused ? FColor : FColorUnFocused; }
    const TChartPen *CurrentBorder() const;

    // Copies every published property (not the focus).
    void Assign(const TPersistent *source) override;

private:
    std::unique_ptr<TTreeSelectedPen> FBorder;
    std::unique_ptr<TTreeHiddenPen> FBorderUnFocused;
    std::unique_ptr<TTreeHiddenPen> FHandlePen;
    TColor FColor = clHighlight;
    TColor FColorUnFocused = clInactiveCaption;
    TColor FTextColor = clHighlightText;
    TColor FHandleColor = clBlack;
    TShiftState FShiftState = SetBit(ssShift);
    int FHandleSize = 3;
    bool FFullRedraw = false;
    bool FScrollToView = true;
    bool FScrollToCenter = false;
    bool FFocused = true;
};
