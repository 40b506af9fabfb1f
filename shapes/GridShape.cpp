#include "shapes/GridShape.h"

#include "canvas/KorCanvas3D.h"
#include "core/CoreConst.h"
#include "core/Exceptions.h"
#include "model/TreeDocument.h"
#include "shapes/GalleryMath.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>

using namespace Gallery;

namespace {

// How close to the grid's left (top) edge the row (column) cursor shows.
constexpr int kEdgeReach = 3;

} // namespace

// ---------------------------------------------------------------------------
// Cursors

QImage GridCursorImage(TCursor cursor, QPoint &hotSpot)
{
    // A black arrow with a white rim, pointing into the row or column.
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPolygon arrow;
    if (cursor == crGridRow) {
        arrow << QPoint(1, 4) << QPoint(8, 4) << QPoint(8, 1) << QPoint(14, 7) << QPoint(8, 13) << QPoint(8, 10)
              << QPoint(1, 10);
        hotSpot = QPoint(14, 7);
    } else if (cursor == crGridColumn) {
        arrow << QPoint(4, 1) << QPoint(10, 1) << QPoint(10, 8) << QPoint(13, 8) << QPoint(7, 14) << QPoint(1, 8)
              << QPoint(4, 8);
        hotSpot = QPoint(7, 14);
    } else {
        hotSpot = QPoint();
        return QImage();
    }
    QPainter painter(&image);
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(Qt::black);
    painter.drawPolygon(arrow);
    return image;
}

// ---------------------------------------------------------------------------
// TGridCellShape

const TClassInfo &TGridCellShape::StaticClassInfo()
{
    using C = TGridCellShape;
    static const TClassInfo info = TClassBuilder<C>("TGridCellShape", TTreeNodeShape::StaticClassInfo())
                                       .Redefault("AutoSize", 0)
                                       .Redefault("Transparent", 1)
                                       .Reference<TTreeNodeShape>("Parent", &C::Parent, &C::SetCellParent)
                                       .Integer("Row", &C::Row, &C::SetRow)
                                       .Integer("Column", &C::Column, &C::SetColumn);
    return info;
}

TGridCellShape::TGridCellShape(TComponent *owner) : TTreeNodeShape(owner)
{
    SetAutoSize(false);
    SetTransparent(true);
}

TGridCellShape::~TGridCellShape()
{
    if (FGrid)
        FGrid->CellDestroyed(this);
}

void TGridCellShape::SetRow(int value)
{
    // The place is fixed once the cell is in its grid.
    if (!FGrid)
        FRow = std::clamp(value, 0, TGridShape::kMaxCells - 1);
}

void TGridCellShape::SetColumn(int value)
{
    if (!FGrid)
        FColumn = std::clamp(value, 0, TGridShape::kMaxCells - 1);
}

void TGridCellShape::Changed()
{
    TTreeNodeShape::Changed();
    if (FGrid)
        FGrid->Changed();
}

void TGridCellShape::AttachToParent(TComponent *parent)
{
    auto *grid = dynamic_cast<TGridShape *>(parent);
    if (!grid)
        throw EReadError(SInvalidImage);
    grid->AdoptCell(this);
}

void TGridCellShape::DefineProperties(TFiler &filer)
{
    TCustomTreeElement::DefineProperties(filer);
}

bool TGridCellShape::HasContent() const
{
    if (LineCount() > 0)
        return true;
    for (const TPropInfo &p : ClassInfo().Properties())
        if (p.Name != QLatin1String("Row") && p.Name != QLatin1String("Column") && p.IsStored(*this))
            return true;
    return false;
}

// ---------------------------------------------------------------------------
// TGridLinesPen

const TClassInfo &TGridLinesPen::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TGridLinesPen>("TGridLinesPen", TChartPen::StaticClassInfo())
                                       .Redefault("Color", clGray)
                                       .Redefault("Style", psDot);
    return info;
}

TGridLinesPen::TGridLinesPen()
{
    SetColor(clGray);
    SetStyle(psDot);
}

// ---------------------------------------------------------------------------
// TGridShape: class, construction, table

const TClassInfo &TGridShape::StaticClassInfo()
{
    using N = TGridShape;
    static const TClassInfo info = TClassBuilder<N>("TGridShape", TTreeNodeShape::StaticClassInfo())
                                       .Redefault("AutoSize", 0)
                                       .Redefault("Transparent", 1)
                                       .Integer("Columns", &N::Columns, &N::SetColumns)
                                       .Integer("Rows", &N::Rows, &N::SetRows)
                                       .Object<TChartPen>("GridLines", &N::GridLines, &N::GridLines)
                                       .Event("OnNewCell");
    return info;
}

TGridShape::TGridShape(TComponent *owner) : TTreeNodeShape(owner)
{
    FCells.assign(static_cast<size_t>(FRows * FColumns), nullptr);
    SetWidth(100);
    SetHeight(100);
    SetTransparent(true);
    FGridLines.OnChange = [this](TGraphicsObject *) { Changed(); };
}

TGridShape::~TGridShape()
{
    for (TGridCellShape *&cell : FCells) {
        TGridCellShape *c = cell;
        cell = nullptr;
        if (c) {
            c->FGrid = nullptr;
            delete c;
        }
    }
}

void TGridShape::FreeCell(TGridCellShape *cell)
{
    if (!cell)
        return;
    cell->FGrid = nullptr;
    delete cell;
}

void TGridShape::Reshape(int rows, int columns)
{
    std::vector<TGridCellShape *> cells(static_cast<size_t>(rows * columns));
    for (int r = 0; r < FRows; ++r)
        for (int c = 0; c < FColumns; ++c) {
            TGridCellShape *cell = FCells[static_cast<size_t>(r * FColumns + c)];
            if (r < rows && c < columns)
                cells[static_cast<size_t>(r * columns + c)] = cell;
            else
                FreeCell(cell);
        }
    FCells = std::move(cells);
    FRows = rows;
    FColumns = columns;
    Changed();
}

void TGridShape::SetColumns(int value)
{
    value = std::clamp(value, 1, kMaxCells);
    if (value != FColumns)
        Reshape(FRows, value);
}

void TGridShape::SetRows(int value)
{
    value = std::clamp(value, 1, kMaxCells);
    if (value != FRows)
        Reshape(value, FColumns);
}

void TGridShape::SetGridLines(const TChartPen *value)
{
    if (value)
        FGridLines.Assign(value);
}

TGridCellShape *TGridShape::PeekCell(int row, int column) const
{
    if (row < 0 || row >= FRows || column < 0 || column >= FColumns)
        return nullptr;
    return FCells[static_cast<size_t>(row * FColumns + column)];
}

TGridCellShape *TGridShape::Cells(int row, int column)
{
    if (row < 0 || row >= FRows || column < 0 || column >= FColumns)
        return nullptr;
    TGridCellShape *&slot = FCells[static_cast<size_t>(row * FColumns + column)];
    if (slot)
        return slot;
    auto *cell = new TGridCellShape(this);
    cell->FRow = row;
    cell->FColumn = column;
    cell->FGrid = this;
    slot = cell;
    // The handler may reshape the grid: the cell is looked up again.
    Fire(OnNewCell, this, row, column);
    return PeekCell(row, column);
}

void TGridShape::AdoptCell(TGridCellShape *cell)
{
    if (cell->Owner() != this) {
        if (TComponent *owner = cell->Owner())
            (void)owner->RemoveComponent(cell).release();
        // Cells need no names; a name from the file could clash.
        cell->SetName(QString());
        InsertComponent(cell);
    }
    if (cell->FGrid || PeekCell(cell->FRow, cell->FColumn) || cell->FRow >= FRows || cell->FColumn >= FColumns)
        return;
    FCells[static_cast<size_t>(cell->FRow * FColumns + cell->FColumn)] = cell;
    cell->FGrid = this;
    Changed();
}

void TGridShape::CellDestroyed(TGridCellShape *cell)
{
    std::replace(FCells.begin(), FCells.end(), cell, static_cast<TGridCellShape *>(nullptr));
    Changed();
}

TGridCellShape *TGridShape::SelectedCell() const
{
    for (TGridCellShape *cell : FCells)
        if (cell && cell->Selected())
            return cell;
    return nullptr;
}

void TGridShape::DeselectCells()
{
    for (TGridCellShape *cell : FCells)
        if (cell)
            cell->SetSelected(false);
}

void TGridShape::Assign(const TPersistent *source)
{
    if (const auto *s = dynamic_cast<const TGridShape *>(source); s && s != this) {
        for (TGridCellShape *&cell : FCells) {
            TGridCellShape *c = cell;
            cell = nullptr;
            FreeCell(c);
        }
        FRows = s->FRows;
        FColumns = s->FColumns;
        FCells.assign(static_cast<size_t>(FRows * FColumns), nullptr);
        FGridLines.Assign(&s->FGridLines);
        for (int r = 0; r < FRows; ++r)
            for (int c = 0; c < FColumns; ++c)
                if (const TGridCellShape *from = s->PeekCell(r, c))
                    if (TGridCellShape *to = Cells(r, c))
                        to->Assign(from);
    }
    TTreeNodeShape::Assign(source);
}

// ---------------------------------------------------------------------------
// Layout and drawing

TRect TGridShape::CellRect(const TRect &r, int row, int column)
{
    if (AutoSize()) {
        long long left = r.Left, top = r.Top;
        for (int c = 0; c < column; ++c)
            if (const TGridCellShape *cell = Cells(row, c))
                left += cell->Width();
        for (int k = 0; k < row; ++k)
            if (const TGridCellShape *cell = Cells(k, column))
                top += cell->Height();
        const TGridCellShape *cell = Cells(row, column);
        const int w = cell ? cell->Width() : 0;
        const int h = cell ? cell->Height() : 0;
        return TRect(Pt(left, top), Pt(left + w, top + h));
    }
    const long long cw = Div(static_cast<long long>(r.Right) - r.Left, FColumns);
    const long long rh = Div(static_cast<long long>(r.Bottom) - r.Top, FRows);
    const long long left = r.Left + column * cw;
    const long long right = column == FColumns - 1 ? r.Right : r.Left + cw * (column + 1);
    const long long top = r.Top + row * rh;
    const long long bottom = row == FRows - 1 ? r.Bottom : r.Top + rh * (row + 1);
    return TRect(Pt(left, top), Pt(right, bottom));
}

TGridCellShape *TGridShape::CellAt(int x, int y)
{
    const TRect r = DrawRect();
    for (int row = 0; row < FRows; ++row)
        for (int column = 0; column < FColumns; ++column)
            if (PointInRect(CellRect(r, row, column).Normalized(), x, y))
                return Cells(row, column);
    return nullptr;
}

void TGridShape::DrawShape(TKorCanvas3D *canvas, const TRect &r)
{
    TTreeNodeShape::DrawShape(canvas, r);
    if (!canvas)
        return;
    TTreeDocument *tree = Tree();
    const bool handles = tree && tree->Designing() && !tree->Printing();
    for (int row = 0; row < FRows; ++row)
        for (int column = 0; column < FColumns; ++column) {
            const TRect cr = CellRect(r, row, column);
            TGridCellShape *cell = Cells(row, column);
            if (!cell)
                continue;
            cell->Place(cr);
            cell->DrawShape(canvas, cr);
            cell->DrawText(canvas, cr);
            if (!handles || !cell->Selected())
                continue;
            const TRect h = cr.Inflated(-2, -2);
            const int mx = dx::HalfSum(h.Left, h.Right), my = dx::HalfSum(h.Top, h.Bottom);
            tree->BeginDrawHandles();
            for (const TPoint &p : {TPoint(h.Left, h.Top), TPoint(h.Right, h.Top), TPoint(h.Left, h.Bottom),
                                    TPoint(h.Right, h.Bottom), TPoint(h.Left, my), TPoint(h.Right, my),
                                    TPoint(mx, h.Top), TPoint(mx, h.Bottom)})
                tree->DrawHandle(p.X, p.Y, clNone, rcNone);
            tree->EndDrawHandles();
        }
    canvas->AssignPen(&FGridLines);
    for (int row = 1; row < FRows; ++row) {
        const int y = CellRect(r, row, 0).Top;
        Stroke(canvas, TPoint(r.Left, y), TPoint(r.Right, y));
    }
    for (int column = 1; column < FColumns; ++column) {
        const int x = CellRect(r, 0, column).Left;
        Stroke(canvas, TPoint(x, r.Top), TPoint(x, r.Bottom));
    }
}

void TGridShape::CalcSize(TKorCanvas *canvas)
{
    if (!canvas)
        return;
    if (!AutoSize())
        SetAutoSize(true);
    std::vector<long long> widths(static_cast<size_t>(FColumns), 0);
    std::vector<long long> heights(static_cast<size_t>(FRows), 0);
    for (int row = 0; row < FRows; ++row)
        for (int column = 0; column < FColumns; ++column)
            if (TGridCellShape *cell = Cells(row, column)) {
                cell->CalcSize(canvas);
                widths[static_cast<size_t>(column)] = std::max<long long>(widths[static_cast<size_t>(column)], cell->Width());
                heights[static_cast<size_t>(row)] = std::max<long long>(heights[static_cast<size_t>(row)], cell->Height());
            }
    for (int row = 0; row < FRows; ++row)
        for (int column = 0; column < FColumns; ++column)
            if (TGridCellShape *cell = PeekCell(row, column))
                cell->Place(TRect(Pt(cell->X0(), cell->Y0()),
                                  Pt(static_cast<long long>(cell->X0()) + widths[static_cast<size_t>(column)],
                                     static_cast<long long>(cell->Y0()) + heights[static_cast<size_t>(row)])));
    long long w = 0, h = 0;
    for (const long long v : widths)
        w += v;
    for (const long long v : heights)
        h += v;
    SetCalculatedBounds(TRect(Pt(X0(), Y0()), Pt(static_cast<long long>(X0()) + w, static_cast<long long>(Y0()) + h)));
}

// ---------------------------------------------------------------------------
// Interaction

int TGridShape::GetResizingCursor(int x, int y)
{
    if (GetResizingCorner(x, y) != rcNone)
        return TTreeNodeShape::GetResizingCursor(x, y);
    const TRect r = DrawRect().Normalized();
    const long long px = x, py = y;
    if (std::llabs(px - r.Left) <= kEdgeReach && py >= r.Top && py <= r.Bottom)
        return crGridRow;
    if (std::llabs(py - r.Top) <= kEdgeReach && px >= r.Left && px <= r.Right)
        return crGridColumn;
    if (const TGridCellShape *cell = CellAt(x, y))
        return cell->Cursor();
    return crDefault;
}

void TGridShape::Resize(TTreeShapeHandle corner, int dx, int dy)
{
    long long w = static_cast<long long>(X1()) - X0();
    long long h = static_cast<long long>(Y1()) - Y0();
    if (corner == rcLeftTop || corner == rcLeftBottom || corner == rcLeft)
        w -= dx;
    if (corner == rcRightTop || corner == rcRightBottom || corner == rcRight)
        w += dx;
    if (corner == rcLeftTop || corner == rcRightTop || corner == rcTop)
        h -= dy;
    if (corner == rcLeftBottom || corner == rcRightBottom || corner == rcBottom)
        h += dy;
    // Cells share the grid's size: there is nothing to share out of none.
    if (w <= 0 || h <= 0)
        return;
    TTreeNodeShape::Resize(corner, dx, dy);
}

void TGridShape::ShapeMouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TTreeNodeShape::ShapeMouseDown(button, shift, x, y);
    const TTreeDocument *tree = Tree();
    if (!tree || !tree->Designing() || !Selected())
        return;
    DeselectCells();
    if (TGridCellShape *cell = CellAt(x, y))
        cell->SetSelected(true);
}

void TGridShape::SetSelected(bool value)
{
    if (!value)
        DeselectCells();
    TTreeNodeShape::SetSelected(value);
}

TTreeNodeShape *TGridShape::GetEditShape()
{
    if (TGridCellShape *cell = SelectedCell())
        return cell;
    return this;
}

void TGridShape::GetChildren(const std::function<void(TComponent *)> &proc) const
{
    for (TGridCellShape *cell : FCells)
        if (cell && cell->HasContent())
            proc(cell);
}
