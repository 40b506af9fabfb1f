#pragma once
// A table of cells in one node. Each cell is a node of its own (text,
// font, fill, border), owned by the grid and never part of the diagram's
// lists: the grid places, draws and selects its cells, and saves those
// that hold anything as records inside its own.

#include "core/NameTables.h"
#include "model/TreeNodeShape.h"

#include <QImage>
#include <vector>

class TGridShape;

// The cursors over the grid's left edge (choosing a row) and top edge
// (choosing a column), and their pictures with the hot spot.
constexpr TCursor crGridRow = 1001;
constexpr TCursor crGridColumn = 1002;
QImage GridCursorImage(TCursor cursor, QPoint &hotSpot);

// One cell, knowing its row and column ("Row" and "Column" in files).
class TGridCellShape : public TTreeNodeShape
{
    DX_OBJECT(TGridCellShape)
public:
    // Not sized by its text, transparent.
    explicit TGridCellShape(TComponent *owner = nullptr);
    ~TGridCellShape() override;

    TGridShape *Grid() const { return FGrid; }
    int Row() const { return FRow; }
    void SetRow(int value);
    int Column() const { return FColumn; }
    void SetColumn(int value);

    // A cell has no parent and no children of its own.
    void SetCellParent(TTreeNodeShape *) {}
    // Any change repaints the grid.
    void Changed() override;
    // Cells belong to no diagram.
    void SetTree(TTreeDocument *) override {}
    // A cell record is read inside its grid's record only.
    void AttachToParent(TComponent *parent) override;
    // Neither a size nor a position of a cell is stored: the grid lays its
    // cells out.
    void DefineProperties(TFiler &filer) override;

    // Whether the cell holds anything a file must keep.
    bool HasContent() const;

private:
    friend class TGridShape;
    // The grid lays the cell out without reporting a change.
    void Place(const TRect &r) { SetCalculatedBounds(r); }

    TGridShape *FGrid = nullptr;
    int FRow = 0;
    int FColumn = 0;
};

using TNewCellEvent = TEvent<TGridShape *, int, int>;

// The pen the grid lines are drawn with: grey and dotted unless changed.
class TGridLinesPen : public TChartPen
{
    DX_OBJECT(TGridLinesPen)
public:
    TGridLinesPen();
};

class TGridShape : public TTreeNodeShape
{
    DX_OBJECT(TGridShape)
public:
    // The most rows and columns a grid has.
    static constexpr int kMaxCells = 101;

    // 100 x 100, three columns and three rows, transparent.
    explicit TGridShape(TComponent *owner = nullptr);
    ~TGridShape() override;

    // Within 1 … kMaxCells whatever is asked. Fewer frees the cells of the
    // last columns (rows); more adds empty ones.
    int Columns() const { return FColumns; }
    void SetColumns(int value);
    int Rows() const { return FRows; }
    void SetRows(int value);
    TChartPen *GridLines() const { return const_cast<TGridLinesPen *>(&FGridLines); }
    void SetGridLines(const TChartPen *value);

    // The cell at (row, column), created on first use (OnNewCell then
    // fires); null outside the grid.
    TGridCellShape *Cells(int row, int column);
    // The cell when it exists; never creates one.
    TGridCellShape *PeekCell(int row, int column) const;
    // The cell's rectangle inside bounds `r`.
    TRect CellRect(const TRect &r, int row, int column);
    // The cell whose rectangle holds a diagram point (drawing offset
    // included), or null.
    TGridCellShape *CellAt(int x, int y);
    // The first selected cell in row-major order, or null.
    TGridCellShape *SelectedCell() const;
    void DeselectCells();

    TNewCellEvent OnNewCell;

    // ---- Node overrides
    void Assign(const TPersistent *source) override;
    // The grid's body, each cell's body and text (a selected cell's handles
    // inside it), then the grid lines.
    void DrawShape(TKorCanvas3D *canvas, const TRect &r) override;
    // Automatic size: every column as wide as its widest cell, every row as
    // high as its highest one.
    void CalcSize(TKorCanvas *canvas) override;
    // Box handles first; then the row cursor along the left edge, the
    // column cursor along the top edge, else the cursor of the cell there.
    int GetResizingCursor(int x, int y) override;
    // A drag that would leave the grid without width or height is ignored.
    void Resize(TTreeShapeHandle corner, int dx, int dy) override;
    // A press on the selected grid while designing selects the cell under
    // it (x, y in diagram coordinates, drawing offset included).
    void ShapeMouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    // Deselecting the grid deselects its cells.
    void SetSelected(bool value) override;
    // The first selected cell, else the grid.
    TTreeNodeShape *GetEditShape() override;
    // Files: the cells that hold anything, in row-major order.
    void GetChildren(const std::function<void(TComponent *)> &proc) const override;

private:
    friend class TGridCellShape;
    // A cell read from a file takes its place (or, when the place is taken
    // or lies outside, stays owned by the grid unseen until it goes).
    void AdoptCell(TGridCellShape *cell);
    void CellDestroyed(TGridCellShape *cell);
    // The table laid out anew for a number of rows and columns; cells
    // outside it are freed.
    void Reshape(int rows, int columns);
    void FreeCell(TGridCellShape *cell);

    std::vector<TGridCellShape *> FCells; // FRows x FColumns, row-major
    TGridLinesPen FGridLines;
    int FColumns = 3;
    int FRows = 3;
};
