#pragma once
// The grid behind a diagram: dots (or full lines with Pen) every Step by
// VertStep model units, and optional big lines every BigStep-th line. The
// steps also serve snapping and the rulers.

#include "canvas/ChartPen.h"
#include "canvas/CanvasTypes.h"

#include <memory>

class TKorCanvas3D;

// Full grid lines in place of the dots (hidden, silver by default).
class TGridPen : public TChartHiddenPen
{
    DX_OBJECT(TGridPen)
public:
    explicit TGridPen(TEvent<TGraphicsObject *> onChange = {});
};

// The pen of every BigStep-th line (hidden, grey by default).
class TGridBigPen : public TChartHiddenPen
{
    DX_OBJECT(TGridBigPen)
public:
    explicit TGridBigPen(TEvent<TGraphicsObject *> onChange = {});
};

// Where the lines of a grid fall in a visible area: the first line left of
// and above it, and the spacing (coarsened so lines stay apart on screen).
struct TGridLattice
{
    int StepX = 10;
    int StepY = 10;
    int StartX = 0;
    int StartY = 0;
};

class TTreeGrid : public TGraphicsObject
{
    DX_OBJECT(TTreeGrid)
public:
    explicit TTreeGrid(TEvent<TGraphicsObject *> onChange = {});
    ~TTreeGrid() override;

    bool Visible() const { return FVisible; }
    void SetVisible(bool v) { Update(FVisible, v); }
    // Setting the horizontal step sets the vertical one too; steps of 0 or
    // less are ignored.
    int Step() const { return FStep; }
    void SetStep(int v);
    int VertStep() const { return FVertStep; }
    void SetVertStep(int v);
    int BigStep() const { return FBigStep; }
    void SetBigStep(int v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { Update(FColor, v); }
    TGridPen *Pen() const { return FPen.get(); }
    TGridBigPen *BigPen() const { return FBigPen.get(); }

    void Assign(const TPersistent *source) override;

    // The lattice over a visible area (model units) that a drawing of
    // `drawnWidth` x `drawnHeight` pixels shows (0: not drawn yet, no
    // coarsening). A step is doubled while its lines would come 3 pixels or
    // closer, so a small zoom never crowds the picture with dots.
    TGridLattice Lattice(const TRect &visible, int drawnWidth, int drawnHeight) const;

    // Draws the grid over the visible area through the canvas (model
    // coordinates at depth 0, projected).
    void Draw(TKorCanvas3D *canvas, const TRect &visible, int drawnWidth, int drawnHeight) const;

private:
    void DrawDots(TKorCanvas3D *canvas, const TRect &visible, const TGridLattice &g) const;
    void DrawLines(TKorCanvas3D *canvas, const TRect &visible, const TGridLattice &g) const;
    void DrawBigLines(TKorCanvas3D *canvas, const TRect &visible, const TGridLattice &g) const;

    std::unique_ptr<TGridPen> FPen;
    std::unique_ptr<TGridBigPen> FBigPen;
    bool FVisible = false;
    int FStep = 10;
    int FVertStep = 10;
    int FBigStep = 10;
    TColor FColor = clGray;
};
