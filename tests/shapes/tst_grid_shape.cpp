// The grid shape: its bounds on rows and columns, cells made on first use
// and freed with their column or row, how it draws, sizes itself to its
// cells, resists being dragged to nothing, shows its cursors, selects
// cells, and keeps its cells' contents through a file.

#include "GalleryTestUtil.h"
#include "TreeTestUtil.h"

#include "core/Exceptions.h"
#include "core/PropAccess.h"


using namespace GalleryTest;

namespace {

const TRect kGrid(10, 20, 110, 120);

TGridShape *AddGrid(TTreeDocument *tree, const TRect &r = kGrid)
{
    auto *grid = new TGridShape(tree->Owner());
    grid->SetTree(tree);
    Place(grid, r.Left, r.Top, r.Right, r.Bottom);
    grid->SetBounds(r);
    return grid;
}

TGridShape *OnlyGrid(TTreeDocument &tree)
{
    return tree.Shapes().Count() == 1 ? dynamic_cast<TGridShape *>(tree.Shapes()[0]) : nullptr;
}

// The byte of an integer property's value in a stream (Int8 values only).
qsizetype IntValueAt(const QByteArray &bytes, const char *name, qsizetype from = 0)
{
    const QByteArray key = QByteArray(1, char(qstrlen(name))) + name;
    const qsizetype at = bytes.indexOf(key, from);
    return at < 0 || bytes[at + key.size()] != char(2) ? -1 : at + key.size() + 1;
}

} // namespace

class TestGridShape : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { RegisterShapeGalleries(); }
    void sizesStayInRange_data();
    void sizesStayInRange();
    void fileSizesStayInRange();
    void cellsComeAndGoWithColumns();
    void drawsCellsAndLines();
    void cellRectangles_data();
    void cellRectangles();
    void sizesItselfToItsCells();
    void cellChangesRepaintTheGrid();
    void dragToNothingIsIgnored_data();
    void dragToNothingIsIgnored();
    void cursors();
    void selectingCells();
    void cellsThroughFiles();
    void strayCellsInFiles();
    void assignCopiesCells();
};

void TestGridShape::sizesStayInRange_data()
{
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("kept");
    QTest::newRow("0") << 0 << 1;
    QTest::newRow("negative") << -7 << 1;
    QTest::newRow("1") << 1 << 1;
    QTest::newRow("7") << 7 << 7;
    QTest::newRow("101") << 101 << 101;
    QTest::newRow("102") << 102 << 101;
    QTest::newRow("huge") << 2000000000 << 101;
}

void TestGridShape::sizesStayInRange()
{
    QFETCH(int, asked);
    QFETCH(int, kept);
    TGridShape grid;
    grid.SetColumns(asked);
    grid.SetRows(asked);
    QCOMPARE(grid.Columns(), kept);
    QCOMPARE(grid.Rows(), kept);
    // Through the published property, as a file sets it.
    TGridShape other;
    SetOrdProp(other, QStringLiteral("Columns"), asked);
    QCOMPARE(other.Columns(), kept);
    QVERIFY(grid.Cells(kept - 1, kept - 1));
    QVERIFY(!grid.Cells(kept, 0));
    QVERIFY(!grid.Cells(-1, 0));
}

void TestGridShape::fileSizesStayInRange()
{
    THost host;
    AddGrid(host.Tree)->SetColumns(5);
    QByteArray bytes = Save(*host.Tree);
    const qsizetype columns = IntValueAt(bytes, "Columns");
    const qsizetype rows = IntValueAt(bytes, "Rows");
    QVERIFY(columns > 0 && rows > 0);
    bytes[columns] = char(127);
    bytes[rows] = char(-16);
    THost loaded;
    Load(*loaded.Tree, bytes);
    TGridShape *grid = OnlyGrid(*loaded.Tree);
    QVERIFY(grid);
    QCOMPARE(grid->Columns(), 101);
    QCOMPARE(grid->Rows(), 1);
}

void TestGridShape::cellsComeAndGoWithColumns()
{
    TPictureHost host;
    TGridShape *grid = AddGrid(host.Tree);
    QStringList made;
    grid->OnNewCell = [&](TGridShape *g, int row, int column) {
        QCOMPARE(g, grid);
        made << QStringLiteral("%1,%2").arg(row).arg(column);
    };
    grid->Draw();
    QCOMPARE(made.size(), 9);
    QCOMPARE(grid->ComponentCount(), 9);
    TGridCellShape *kept = grid->PeekCell(1, 1);
    QCOMPARE(kept->Row(), 1);
    QCOMPARE(kept->Column(), 1);

    grid->SetColumns(2);
    QCOMPARE(grid->ComponentCount(), 6);
    QCOMPARE(grid->PeekCell(1, 1), kept);
    made.clear();
    grid->SetColumns(3);
    QVERIFY(!grid->PeekCell(0, 2));
    QVERIFY(made.isEmpty());
    grid->Draw();
    QCOMPARE(made, (QStringList{"0,2", "1,2", "2,2"}));
    grid->SetRows(1);
    QCOMPARE(grid->ComponentCount(), 3);
}

void TestGridShape::drawsCellsAndLines()
{
    TPictureHost host;
    TGridShape *grid = AddGrid(host.Tree);
    grid->SetColumns(4);
    grid->SetRows(2);
    grid->Draw();
    const QImage actual = host.Tree->Finish();

    // The grid's border, every cell's border (both transparent), then the
    // dotted grid lines at the columns' and rows' starts.
    TPictureHost ref;
    TKorCanvas3D &c = ref.Tree->Canvas;
    const TChartPen pen;
    c.AssignPen(&pen);
    c.Brush().SetStyle(bsClear);
    c.ProjectedRectangle(kGrid, 0);
    const int cw = 100 / 4, rh = 100 / 2;
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 4; ++column)
            c.ProjectedRectangle(TRect(10 + column * cw, 20 + row * rh, 10 + (column + 1) * cw, 20 + (row + 1) * rh), 0);
    TChartPen dots;
    dots.SetColor(clGray);
    dots.SetStyle(psDot);
    c.AssignPen(&dots);
    c.ProjectedLine(10, 70, 110, 70, 0);
    for (int column = 1; column < 4; ++column)
        c.ProjectedLine(10 + column * cw, 20, 10 + column * cw, 120, 0);
    const QImage expected = ref.Tree->Finish();
    QVERIFY2(actual == expected, qPrintable(FirstDifference(actual, expected)));
}

void TestGridShape::cellRectangles_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<TRect>("rect");
    // 100 x 100 in three: 33 each, the last column and row to the edge.
    QTest::newRow("first") << 0 << 0 << TRect(10, 20, 43, 53);
    QTest::newRow("middle") << 1 << 1 << TRect(43, 53, 76, 86);
    QTest::newRow("last column") << 0 << 2 << TRect(76, 20, 110, 53);
    QTest::newRow("last row") << 2 << 0 << TRect(10, 86, 43, 120);
}

void TestGridShape::cellRectangles()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(TRect, rect);
    TGridShape grid;
    Place(&grid, kGrid.Left, kGrid.Top, kGrid.Right, kGrid.Bottom);
    QCOMPARE(grid.CellRect(kGrid, row, column), rect);
    TGridCellShape *hit = grid.CellAt(rect.Left + 1, rect.Top + 1);
    QVERIFY(hit);
    QCOMPARE(hit, grid.PeekCell(row, column));
}

void TestGridShape::sizesItselfToItsCells()
{
    TPictureHost host;
    TGridShape *grid = AddGrid(host.Tree);
    grid->SetColumns(2);
    grid->SetRows(2);
    grid->Cells(0, 0)->SetSimpleText(QStringLiteral("W"));
    grid->Cells(1, 0)->SetSimpleText(QStringLiteral("a much longer text"));
    grid->Cells(0, 1)->Text()->SetLines({QStringLiteral("two"), QStringLiteral("lines")});
    grid->CalcSize(&host.Tree->Canvas);
    QVERIFY(grid->AutoSize());
    QVERIFY(grid->SizeValid());

    // What each cell needs on its own.
    auto natural = [&](int row, int column) {
        TGridCellShape probe;
        probe.Assign(grid->PeekCell(row, column));
        probe.CalcSize(&host.Tree->Canvas);
        return QSize(probe.Width(), probe.Height());
    };
    const int w0 = std::max(natural(0, 0).width(), natural(1, 0).width());
    const int w1 = std::max(natural(0, 1).width(), natural(1, 1).width());
    const int h0 = std::max(natural(0, 0).height(), natural(0, 1).height());
    const int h1 = std::max(natural(1, 0).height(), natural(1, 1).height());
    QVERIFY(w0 > w1 && h0 > h1);
    QCOMPARE(grid->Width(), w0 + w1);
    QCOMPARE(grid->Height(), h0 + h1);
    // Narrower cells are widened to their column, lower ones to their row,
    // and the cells lie side by side.
    QCOMPARE(grid->PeekCell(0, 0)->Width(), w0);
    QCOMPARE(grid->PeekCell(1, 1)->Height(), h1);
    const TRect r(10, 20, 10 + w0 + w1, 20 + h0 + h1);
    QCOMPARE(grid->CellRect(r, 1, 1), TRect(10 + w0, 20 + h0, 10 + w0 + w1, 20 + h0 + h1));
}

void TestGridShape::cellChangesRepaintTheGrid()
{
    TPictureHost host;
    TGridShape *grid = AddGrid(host.Tree);
    TGridCellShape *cell = grid->Cells(2, 1);
    grid->CalcSize(&host.Tree->Canvas);
    const int before = host.Tree->InvalidateCount();
    cell->SetSimpleText(QStringLiteral("changed"));
    QVERIFY(host.Tree->InvalidateCount() > before);
    QVERIFY(!grid->SizeValid());
    // Cells never join the diagram's lists.
    QCOMPARE(host.Tree->Shapes().Count(), 1);
    QCOMPARE(cell->Tree(), nullptr);
}

void TestGridShape::dragToNothingIsIgnored_data()
{
    QTest::addColumn<int>("corner");
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("dy");
    QTest::addColumn<TRect>("after");
    QTest::newRow("right to the left edge") << int(rcRight) << -100 << 0 << kGrid;
    QTest::newRow("right past it") << int(rcRight) << -250 << 0 << kGrid;
    QTest::newRow("left to the right edge") << int(rcLeft) << 100 << 0 << kGrid;
    QTest::newRow("bottom to the top") << int(rcBottom) << 0 << -100 << kGrid;
    QTest::newRow("corner, height only") << int(rcLeftTop) << -5 << 100 << kGrid;
    QTest::newRow("to one pixel") << int(rcRight) << -99 << 0 << TRect(10, 20, 11, 120);
    QTest::newRow("larger") << int(rcRightBottom) << 20 << 30 << TRect(10, 20, 130, 150);
}

void TestGridShape::dragToNothingIsIgnored()
{
    QFETCH(int, corner);
    QFETCH(int, dx);
    QFETCH(int, dy);
    QFETCH(TRect, after);
    TPictureHost host;
    TGridShape *grid = AddGrid(host.Tree);
    host.Tree->ResizeShape(grid, TTreeShapeHandle(corner), dx, dy);
    QCOMPARE(TRect(grid->X0(), grid->Y0(), grid->X1(), grid->Y1()), after);
    // The cells share out whatever is left.
    grid->Draw();
    QVERIFY(grid->PeekCell(2, 2));
}

void TestGridShape::cursors()
{
    TPictureHost host;
    TGridShape *grid = AddGrid(host.Tree);
    grid->Cells(1, 2)->SetCursor(crHandPoint);
    QCOMPARE(grid->GetResizingCursor(8, 60), int(crGridRow));
    QCOMPARE(grid->GetResizingCursor(13, 90), int(crGridRow));
    QCOMPARE(grid->GetResizingCursor(40, 23), int(crGridColumn));
    QCOMPARE(grid->GetResizingCursor(90, 60), int(crHandPoint));
    QCOMPARE(grid->GetResizingCursor(30, 60), int(crDefault));
    // A box handle wins over both edges.
    QCOMPARE(grid->GetResizingCursor(10, 20), int(crSizeNWSE));
    QCOMPARE(grid->GetResizingCursor(120, 60), int(crDefault));
    for (const TCursor c : {crGridRow, crGridColumn}) {
        QPoint hot;
        const QImage image = GridCursorImage(c, hot);
        QVERIFY(!image.isNull());
        QVERIFY(image.rect().contains(hot));
        QVERIFY(qAlpha(image.pixel(hot)) > 0 || qAlpha(image.pixel(hot - QPoint(1, 1))) > 0);
    }
}

void TestGridShape::selectingCells()
{
    TPictureHost host;
    TGridShape *grid = AddGrid(host.Tree);
    // Not designing: a press selects no cell.
    grid->SetSelected(true);
    grid->ShapeMouseDown(mbLeft, 0, 60, 60);
    QCOMPARE(grid->GetEditShape(), grid);

    host.Tree->SetDesigning(true);
    grid->ShapeMouseDown(mbLeft, 0, 60, 60);
    TGridCellShape *middle = grid->PeekCell(1, 1);
    QVERIFY(middle && middle->Selected());
    QCOMPARE(grid->GetEditShape(), middle);
    grid->ShapeMouseDown(mbLeft, 0, 100, 110);
    QVERIFY(!middle->Selected());
    QCOMPARE(grid->GetEditShape(), grid->PeekCell(2, 2));
    // The diagram's selection holds the grid only.
    QCOMPARE(host.Tree->Selected().Count(), 1);

    // A selected cell shows its handles inside itself.
    host.Tree->Log.clear();
    grid->Draw();
    QVERIFY(host.Tree->Log.contains(QStringLiteral("handle 0 78,88")));
    QVERIFY(host.Tree->Log.contains(QStringLiteral("handle 0 108,118")));

    grid->SetSelected(false);
    QVERIFY(!grid->PeekCell(2, 2)->Selected());
    QCOMPARE(grid->GetEditShape(), grid);
    // A press on a grid that is not selected selects no cell.
    grid->ShapeMouseDown(mbLeft, 0, 60, 60);
    QVERIFY(!grid->SelectedCell());
}

void TestGridShape::cellsThroughFiles()
{
    THost host;
    TGridShape *grid = AddGrid(host.Tree);
    grid->SetColumns(4);
    grid->Cells(0, 3)->SetSimpleText(QStringLiteral("Price"));
    grid->Cells(2, 1)->SetColor(clYellow);
    grid->Cells(2, 1)->SetTransparent(false);
    grid->Cells(1, 1); // empty: not written
    grid->GridLines()->SetColor(clRed);
    const QByteArray bytes = Save(*host.Tree);
    QVERIFY(!bytes.contains("GridLines.Style"));

    THost loaded;
    Load(*loaded.Tree, bytes);
    TGridShape *copy = OnlyGrid(*loaded.Tree);
    QVERIFY(copy);
    QCOMPARE(copy->Columns(), 4);
    QCOMPARE(copy->ComponentCount(), 2);
    QCOMPARE(copy->PeekCell(0, 3)->SimpleText(), QStringLiteral("Price"));
    QCOMPARE(copy->PeekCell(2, 1)->Color(), clYellow);
    QVERIFY(!copy->PeekCell(2, 1)->Transparent());
    QVERIFY(!copy->PeekCell(1, 1));
    QCOMPARE(copy->GridLines()->Color(), clRed);
    QCOMPARE(copy->GridLines()->Style(), psDot);
    QCOMPARE(copy->Width(), 100);
    // The cells are the grid's, not the diagram's owner's.
    for (int i = 0; i < loaded.Owner->ComponentCount(); ++i)
        QVERIFY(!dynamic_cast<TGridCellShape *>(loaded.Owner->Components(i)));
    QCOMPARE(Save(*loaded.Tree), bytes);
}

void TestGridShape::strayCellsInFiles()
{
    THost host;
    TGridShape *grid = AddGrid(host.Tree);
    grid->Cells(0, 0)->SetSimpleText(QStringLiteral("first"));
    grid->Cells(0, 1)->SetSimpleText(QStringLiteral("second"));
    QByteArray bytes = Save(*host.Tree);
    // The second cell claims the first one's place, then a place beyond
    // the grid.
    const qsizetype column = IntValueAt(bytes, "Column", bytes.indexOf("first"));
    QVERIFY(column > 0);
    bytes[column] = char(0);
    THost loaded;
    Load(*loaded.Tree, bytes);
    TGridShape *copy = OnlyGrid(*loaded.Tree);
    QVERIFY(copy);
    QCOMPARE(copy->PeekCell(0, 0)->SimpleText(), QStringLiteral("first"));
    QVERIFY(!copy->PeekCell(0, 1));
    bytes[column] = char(50);
    Load(*loaded.Tree, bytes);
    QVERIFY(OnlyGrid(*loaded.Tree));
    QVERIFY(!OnlyGrid(*loaded.Tree)->PeekCell(0, 1));

    // A cell record outside a grid is no diagram.
    THost plain;
    plain.Tree->AddRoot(QStringLiteral("node"));
    QByteArray cellOnly = Save(*plain.Tree);
    QVERIFY(cellOnly.contains("\x0ETTreeNodeShape"));
    cellOnly.replace("\x0ETTreeNodeShape", "\x0ETGridCellShape");
    THost broken;
    QVERIFY_THROWS_EXCEPTION(EReadError, Load(*broken.Tree, cellOnly));
    QCOMPARE(broken.Tree->Shapes().Count(), 0);
}

void TestGridShape::assignCopiesCells()
{
    TGridShape grid;
    grid.SetRows(2);
    grid.Cells(1, 2)->SetSimpleText(QStringLiteral("x"));
    TGridShape copy;
    copy.Cells(0, 0)->SetSimpleText(QStringLiteral("old"));
    copy.Assign(&grid);
    QCOMPARE(copy.Rows(), 2);
    QVERIFY(!copy.PeekCell(0, 0));
    QCOMPARE(copy.PeekCell(1, 2)->SimpleText(), QStringLiteral("x"));
    QVERIFY(copy.PeekCell(1, 2) != grid.PeekCell(1, 2));
}

QTEST_MAIN(TestGridShape)
#include "tst_grid_shape.moc"
