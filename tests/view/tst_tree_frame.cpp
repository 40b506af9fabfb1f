// What frames a diagram in its window: the grid (steps, coarsening at small
// zoom, dots, lines and big lines in a rendered picture), the page (size
// from the printer or as set, count, current page, outline), the scroll
// bars (automatic ranges, the steps of every scroll request, Qt's range),
// and how their settings travel through files.

#include "FrameTestUtil.h"
#include "ViewTestUtil.h"

#include "core/CoreConst.h"
#include "model/TreeReader.h"

#include <QBuffer>
#include <QScrollBar>
#include <QtTest>

Q_DECLARE_METATYPE(TKorScrollCode)

namespace {

QRgb Q(TColor c)
{
    return ToQColor(ColorToRGB(c)).rgb() & 0xFFFFFF;
}

QByteArray Saved(TTree *tree)
{
    QBuffer b;
    b.open(QIODevice::ReadWrite);
    SaveDiagram(*tree, b);
    return b.data();
}

void Load(TTree *tree, const QByteArray &bytes)
{
    QBuffer b;
    b.setData(bytes);
    b.open(QIODevice::ReadOnly);
    LoadDiagram(*tree, b);
}

} // namespace

class TestTreeFrame : public QObject
{
    Q_OBJECT
private slots:
    void gridSteps_data();
    void gridSteps();
    void gridStepSetters();
    void gridDotsInThePicture_data();
    void gridDotsInThePicture();
    void gridLinesAndBigLines();
    void pageSize_data();
    void pageSize();
    void pageCountAndCurrentPage();
    void pageOutline_data();
    void pageOutline();
    void scrollSteps_data();
    void scrollSteps();
    void scrollThroughTheControl();
    void automaticScrollBars();
    void settingsGoThroughFiles();
    void badPageSizeInAFile_data();
    void badPageSizeInAFile();
};

void TestTreeFrame::gridSteps_data()
{
    // A 400 x 300 drawing showing a part of the diagram as wide and high as
    // the zoom makes it.
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("stepX");
    QTest::addColumn<int>("startX");
    QTest::newRow("100 %") << 100 << 0 << 10 << -10;
    QTest::newRow("30 %: 3 pixels apart, doubled") << 30 << 0 << 20 << -20;
    QTest::newRow("20 %: 2 pixels become 4") << 20 << 0 << 20 << -20;
    QTest::newRow("1 %") << 1 << 0 << 640 << -640;
    QTest::newRow("left of the origin") << 100 << -15 << 10 << -20;
    QTest::newRow("right of the origin") << 100 << 25 << 10 << 10;
    QTest::newRow("200 %") << 200 << 0 << 10 << -10;
}

void TestTreeFrame::gridSteps()
{
    QFETCH(int, zoom);
    QFETCH(int, left);
    QFETCH(int, stepX);
    QFETCH(int, startX);
    TTreeGrid grid;
    const int w = 400 * 100 / zoom, h = 300 * 100 / zoom;
    const TRect visible(left, left, left + w, left + h);
    const TGridLattice g = grid.Lattice(visible, 400, 300);
    QCOMPARE(g.StepX, stepX);
    QCOMPARE(g.StartX, startX);
    QCOMPARE(g.StepY, stepX);
    QCOMPARE(g.StartY, startX);
    // Snapping keeps the grid's own step.
    QCOMPARE(grid.Step(), 10);
    // Not drawn yet: no coarsening.
    QCOMPARE(grid.Lattice(visible, 0, 0).StepX, 10);
}

void TestTreeFrame::gridStepSetters()
{
    TViewHost host;
    TTreeGrid *g = host.Tree->Grid();
    int changes = 0;
    host.Tree->OnBeforeDraw = [&](TObject *) { ++changes; };
    g->SetStep(25);
    QCOMPARE(g->VertStep(), 25);
    g->SetVertStep(7);
    QCOMPARE(g->Step(), 25);
    QCOMPARE(g->VertStep(), 7);
    for (int bad : {0, -5}) {
        g->SetStep(bad);
        g->SetVertStep(bad);
        g->SetBigStep(bad);
    }
    QCOMPARE(g->Step(), 25);
    QCOMPARE(g->VertStep(), 7);
    QCOMPARE(g->BigStep(), 10);
    // Older files' settings reach the grid; snapping follows both steps.
    host.Tree->SetGridStep(12);
    host.Tree->SetGridColor(clRed);
    QCOMPARE(g->Step(), 12);
    QCOMPARE(g->Color(), clRed);
    QCOMPARE(host.Tree->GridStep(), 12);
}

void TestTreeFrame::gridDotsInThePicture_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("spacing"); // pixels between dots
    QTest::addColumn<int>("firstX");  // the first dot's column and row
    QTest::newRow("100 %") << 100 << 10 << 0;
    QTest::newRow("20 %") << 20 << 4 << 0;
    QTest::newRow("50 %") << 50 << 5 << 0;
}

void TestTreeFrame::gridDotsInThePicture()
{
    QFETCH(int, zoom);
    QFETCH(int, spacing);
    QFETCH(int, firstX);
    // The centre (100, 80) falls on a dot at every zoom here.
    TViewHost host(200, 160);
    TTree *t = host.Tree;
    t->Grid()->SetVisible(true);
    t->View3DOptions()->SetZoom(zoom);
    t->View3DOptions()->SetHorizOffset(0);
    t->View3DOptions()->SetVertOffset(0);
    const QImage img = host.Paint();
    const QRgb gray = Q(clGray);
    const int x = firstX + 5 * spacing, y = 5 * spacing;
    QCOMPARE(Rgb(img, x, y), gray);
    QCOMPARE(Rgb(img, x + spacing, y + spacing), gray);
    QCOMPARE(Rgb(img, x + spacing / 2, y), Q(clWhite));
    QCOMPARE(Rgb(img, x, y + spacing / 2), Q(clWhite));
    // Nothing but dots, one per lattice point in view.
    const int dots = CountNot(img, Q(clWhite));
    const int expected = (200 / spacing + 1) * (160 / spacing + 1);
    QVERIFY2(qAbs(dots - expected) <= 200 / spacing + 160 / spacing + 2, qPrintable(QString::number(dots)));
}

void TestTreeFrame::gridLinesAndBigLines()
{
    TViewHost host(200, 150);
    TTree *t = host.Tree;
    TTreeGrid *g = t->Grid();
    g->SetVisible(true);
    g->Pen()->SetVisible(true);
    g->Pen()->SetColor(clBlue);
    QImage img = host.Paint();
    // Full lines instead of dots.
    QCOMPARE(Rgb(img, 30, 33), Q(clBlue));
    QCOMPARE(Rgb(img, 33, 30), Q(clBlue));
    QCOMPARE(Rgb(img, 33, 33), Q(clWhite));
    // Big lines every fifth line.
    g->Pen()->SetVisible(false);
    g->SetBigStep(5);
    g->BigPen()->SetVisible(true);
    g->BigPen()->SetColor(clRed);
    img = host.Paint();
    QCOMPARE(Rgb(img, 50, 33), Q(clRed));
    QCOMPARE(Rgb(img, 100, 77), Q(clRed));
    QCOMPARE(Rgb(img, 33, 50), Q(clRed));
    QCOMPARE(Rgb(img, 40, 33), Q(clWhite));
    QCOMPARE(Rgb(img, 40, 40), Q(clGray));

    // At 1 % the dots stay a few pixels apart: a few thousand, not millions.
    g->BigPen()->SetVisible(false);
    t->View3DOptions()->SetZoom(1);
    img = host.Paint();
    const int dots = CountNot(img, Q(clWhite));
    QVERIFY2(dots > 100 && dots < 3000, qPrintable(QString::number(dots)));
}

void TestTreeFrame::pageSize_data()
{
    QTest::addColumn<int>("ppi");
    QTest::addColumn<bool>("printer");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("usePrinter");
    QTest::newRow("A4 at 300 dpi, 96 ppi") << 96 << true << 794 << 1123 << true;
    QTest::newRow("A4 at 300 dpi, 120 ppi") << 120 << true << 992 << 1403 << true;
    QTest::newRow("no printer") << 96 << false << 771 << 1058 << false;
}

void TestTreeFrame::pageSize()
{
    QFETCH(int, ppi);
    QFETCH(bool, printer);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, usePrinter);
    const TDevicesGuard devices(ppi, printer ? std::optional<TPrinterPage>(TPrinterPage{2480, 3508, 300, 300})
                                             : std::nullopt);
    TViewHost host;
    TTreePage *p = host.Tree->Page();
    QVERIFY(p->UsePrinter());
    QCOMPARE(p->PageWidth(), width);
    QCOMPARE(p->PageHeight(), height);
    QCOMPARE(p->UsePrinter(), usePrinter);
    // A size set turns the printer off; sizes of 0 or less are ignored.
    p->SetWidth(0);
    p->SetHeight(-3);
    QCOMPARE(p->UsePrinter(), usePrinter);
    p->SetWidth(500);
    QVERIFY(!p->UsePrinter());
    QCOMPARE(p->PageWidth(), 500);
    QCOMPARE(p->PageHeight(), 1058);
}

void TestTreeFrame::pageCountAndCurrentPage()
{
    const TDevicesGuard devices;
    TViewHost host;
    TTree *t = host.Tree;
    TTreePage *p = t->Page();
    host.Paint();
    QCOMPARE(p->Count(), 1);
    QCOMPARE(p->PageNumber(), 1);
    TTreeNodeShape *node = Place(t->AddRoot(QStringLiteral("A")), 10, 2100, 60, 2200);
    host.Paint();
    QCOMPARE(p->Count(), 3);
    QCOMPARE(t->ImageRect(), TRect(0, 0, 771, 1058));
    p->SetPageNumber(3);
    QCOMPARE(p->PageNumber(), 3);
    QCOMPARE(t->View3DOptions()->VertOffset(), -2116);
    QCOMPARE(t->View3DOptions()->HorizOffset(), 0);
    // The image is the current page where the view shows it.
    QCOMPARE(t->ImageRect(), TRect(0, 0, 771, 1058));
    for (int bad : {0, -1, 4}) {
        p->SetPageNumber(bad);
        QCOMPARE(p->PageNumber(), 3);
    }
    p->SetPageNumber(2);
    QCOMPARE(t->View3DOptions()->VertOffset(), -1058);
    QCOMPARE(p->PageRect(2), TRect(0, 1058, 771, 2116));
    // Exactly on a page's bottom edge starts another page.
    Place(node, 10, 2000, 60, 2116);
    host.Paint();
    QCOMPARE(p->Count(), 3);
}

void TestTreeFrame::pageOutline_data()
{
    QTest::addColumn<bool>("designing");
    QTest::addColumn<bool>("print");
    QTest::addColumn<int>("vertOffset");
    QTest::addColumn<QList<QPoint>>("gray");
    QTest::addColumn<QList<QPoint>>("white");
    const QList<QPoint> edges{{120, 45}, {60, 90}};
    const QList<QPoint> inside{{60, 45}, {60, 0}, {0, 45}};
    QTest::newRow("designing: right and bottom edges") << true << false << 0 << edges << inside;
    QTest::newRow("running, border not printed: none") << false << false << 0 << QList<QPoint>{} << edges;
    QTest::newRow("running, border printed") << false << true << 0 << edges << inside;
    QTest::newRow("scrolled: whole pages") << true << false << -10 << QList<QPoint>{{120, 40}, {60, 80}, {0, 40}}
                                           << QList<QPoint>{{60, 40}, {60, 10}};
}

void TestTreeFrame::pageOutline()
{
    QFETCH(bool, designing);
    QFETCH(bool, print);
    QFETCH(int, vertOffset);
    QFETCH(QList<QPoint>, gray);
    QFETCH(QList<QPoint>, white);
    const TDevicesGuard devices;
    TViewHost host(300, 200);
    TTree *t = host.Tree;
    t->SetDesigning(designing);
    t->Page()->SetWidth(120);
    t->Page()->SetHeight(90);
    t->Page()->Border()->SetPrint(print);
    // Two pages tall, far from the samples.
    Place(t->AddRoot(QStringLiteral("A")), 200, 100, 240, 150);
    t->View3DOptions()->SetVertOffset(vertOffset);
    const QImage img = host.Paint();
    QCOMPARE(t->Page()->Count(), 2);
    for (const QPoint &p : gray)
        QVERIFY2(Rgb(img, p.x(), p.y()) == Q(clGray), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    for (const QPoint &p : white)
        QVERIFY2(Rgb(img, p.x(), p.y()) == Q(clWhite), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
}

void TestTreeFrame::scrollSteps_data()
{
    QTest::addColumn<int>("pageSize");
    QTest::addColumn<TKorScrollCode>("code");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("track");
    QTest::addColumn<int>("to");
    QTest::newRow("line down stops at max - page + 1") << 400 << scLineDown << 590 << 0 << 601;
    QTest::newRow("page down stops at max - page") << 400 << scPageDown << 590 << 0 << 600;
    QTest::newRow("line down by a twentieth + 1") << 400 << scLineDown << 100 << 0 << 121;
    QTest::newRow("page down by a fifth + 1") << 400 << scPageDown << 100 << 0 << 181;
    QTest::newRow("line up stops at min") << 400 << scLineUp << 10 << 0 << 0;
    QTest::newRow("page up") << 400 << scPageUp << 100 << 0 << 19;
    QTest::newRow("top") << 400 << scTop << 300 << 0 << 0;
    QTest::newRow("bottom") << 400 << scBottom << 300 << 0 << 600;
    QTest::newRow("thumb track") << 400 << scTrack << 300 << 333 << 333;
    QTest::newRow("thumb position") << 400 << scPosition << 300 << 42 << 42;
    QTest::newRow("end of scroll moves nothing") << 400 << scEndScroll << 300 << 0 << 300;
    QTest::newRow("no page: line of 10") << 0 << scLineDown << 0 << 0 << 10;
    QTest::newRow("no page: page of 50") << 0 << scPageDown << 0 << 0 << 50;
}

void TestTreeFrame::scrollSteps()
{
    QFETCH(int, pageSize);
    QFETCH(TKorScrollCode, code);
    QFETCH(int, from);
    QFETCH(int, track);
    QFETCH(int, to);
    for (bool horizontal : {false, true}) {
        TViewHost host;
        TTree *t = host.Tree;
        TKorScrollBar *bar = horizontal ? t->HorzScrollBar() : t->VertScrollBar();
        bar->SetAutomatic(false);
        bar->SetRange(0, 1000);
        bar->SetPageSize(pageSize);
        if (horizontal)
            t->View3DOptions()->SetHorizOffset(-from);
        else
            t->View3DOptions()->SetVertOffset(-from);
        QCOMPARE(bar->Position(), from);
        int scrolls = 0;
        t->OnScroll = [&](TObject *) { ++scrolls; };
        QCOMPARE(bar->Scroll(code, track), to);
        QCOMPARE(bar->Position(), to);
        const int offset = horizontal ? t->View3DOptions()->HorizOffset() : t->View3DOptions()->VertOffset();
        QCOMPARE(offset, -to);
        QCOMPARE(scrolls, to == from ? 0 : 1);
    }
}

void TestTreeFrame::scrollThroughTheControl()
{
    TViewHost host;
    TTree *t = host.Tree;
    TKorScrollBar *bar = t->VertScrollBar();
    bar->SetAutomatic(false);
    bar->SetVisible(true);
    bar->SetRange(0, 1000);
    bar->SetPageSize(400);
    QScrollBar *control = bar->Control();
    QVERIFY(control);
    QVERIFY(control->isVisibleTo(t));
    QCOMPARE(control->parentWidget(), t);
    // Qt's range ends where the thumb's top can go.
    QCOMPARE(control->minimum(), 0);
    QCOMPARE(control->maximum(), 601);
    QCOMPARE(control->pageStep(), 400);
    t->View3DOptions()->SetVertOffset(-590);
    QCOMPARE(control->value(), 590);
    control->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(t->View3DOptions()->VertOffset(), -601);
    QCOMPARE(control->value(), 601);
    control->triggerAction(QAbstractSlider::SliderPageStepSub);
    QCOMPARE(t->View3DOptions()->VertOffset(), -520);
    QCOMPARE(control->value(), 520);
    control->triggerAction(QAbstractSlider::SliderToMinimum);
    QCOMPARE(t->View3DOptions()->VertOffset(), 0);
    // A manual bar made visible spans the pages.
    TKorScrollBar *h = t->HorzScrollBar();
    h->SetAutomatic(false);
    h->SetVisible(true);
    QCOMPARE(h->Min(), 0);
    QCOMPARE(h->Max(), t->Page()->PageWidth());
    // Switching Automatic on hides the bar until a drawing needs it.
    h->SetAutomatic(true);
    QVERIFY(!h->Visible());
    QVERIFY(!h->Control()->isVisibleTo(t));
}

void TestTreeFrame::automaticScrollBars()
{
    TViewHost host(200, 150);
    TTree *t = host.Tree;
    TKorScrollBar *h = t->HorzScrollBar();
    TKorScrollBar *v = t->VertScrollBar();
    TTreeNodeShape *node = Place(t->AddRoot(QStringLiteral("A")), 10, 10, 60, 40);
    host.Paint();
    QVERIFY(!h->Visible());
    QVERIFY(!v->Visible());
    // Beyond the right edge: the horizontal bar, as wide as the window.
    Place(node, 300, 10, 350, 40);
    host.Paint();
    QVERIFY(h->Visible());
    QVERIFY(h->Control()->isVisibleTo(t));
    QVERIFY(!v->Visible());
    QCOMPARE(h->PageSize(), 200);
    QCOMPARE(h->Min(), 0);
    QCOMPARE(h->Max(), t->ShapeExtent().Right + 1);
    QCOMPARE(h->Control()->maximum(), h->Max() - 200 + 1);
    QCOMPARE(h->Control()->geometry(), QRect(0, 150 - h->Control()->height(), 200, h->Control()->height()));
    // Scrolling right moves the diagram left.
    const QPoint before = t->ProjectPoint(TPoint(300, 10)).ToQPoint();
    h->Control()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(t->View3DOptions()->HorizOffset(), -11);
    host.Paint();
    QCOMPARE(t->ProjectPoint(TPoint(300, 10)).ToQPoint(), before - QPoint(11, 0));
    QCOMPARE(h->Position(), 11);
    // The range covers the window as it is and the diagram.
    QCOMPARE(h->Min(), 11);
    // Left of the window at the origin: the range starts before it.
    t->View3DOptions()->SetHorizOffset(0);
    Place(node, -80, 10, -30, 40);
    host.Paint();
    QVERIFY(h->Visible());
    QCOMPARE(h->Min(), -81);
    QCOMPARE(h->Max(), 199);
    // Back inside: hidden again.
    Place(node, 10, 10, 60, 40);
    host.Paint();
    QVERIFY(!h->Visible());
    QVERIFY(!h->Control()->isVisibleTo(t));
    // Taller than the window: the vertical bar, as tall as the window.
    Place(node, 10, 10, 60, 400);
    host.Paint();
    QVERIFY(v->Visible());
    QCOMPARE(v->PageSize(), 150);
    // No node at all leaves the ranges as they were.
    t->Clear();
    host.Paint();
    QVERIFY(v->Visible());
    QCOMPARE(v->PageSize(), 150);
}

void TestTreeFrame::settingsGoThroughFiles()
{
    const TDevicesGuard devices;
    TViewHost host;
    TTree *t = host.Tree;
    // A fresh diagram stores none of them.
    const QByteArray plain = Saved(t);
    for (const char *name : {"Grid.", "Page.", "HorzScrollBar.", "VertScrollBar.", "HotTrack."})
        QVERIFY2(!plain.contains(name), name);

    t->Grid()->SetVisible(true);
    t->Grid()->SetStep(20);
    t->Grid()->SetVertStep(15);
    t->Grid()->SetBigStep(4);
    t->Grid()->SetColor(clRed);
    t->Grid()->Pen()->SetVisible(true);
    t->Grid()->BigPen()->SetColor(clBlue);
    t->Page()->SetWidth(500);
    t->Page()->SetHeight(600);
    t->Page()->Border()->SetPrint(true);
    t->Page()->Border()->SetColor(clGreen);
    t->HorzScrollBar()->SetAutomatic(false);
    t->HorzScrollBar()->SetVisible(true);
    t->HorzScrollBar()->SetRange(-5, 3000);
    t->VertScrollBar()->SetFlat(true);
    t->HotTrack()->SetActive(true);
    t->HotTrack()->SetUseFont(true);
    const QByteArray file = Saved(t);

    TViewHost other;
    TTree *o = other.Tree;
    Load(o, file);
    QVERIFY(o->Grid()->Visible());
    QCOMPARE(o->Grid()->Step(), 20);
    QCOMPARE(o->Grid()->VertStep(), 15);
    QCOMPARE(o->Grid()->BigStep(), 4);
    QCOMPARE(o->Grid()->Color(), clRed);
    QVERIFY(o->Grid()->Pen()->Visible());
    QCOMPARE(o->Grid()->BigPen()->Color(), clBlue);
    QVERIFY(!o->Page()->UsePrinter());
    QCOMPARE(o->Page()->Width(), 500);
    QCOMPARE(o->Page()->Height(), 600);
    QVERIFY(o->Page()->Border()->Print());
    QCOMPARE(o->Page()->Border()->Color(), clGreen);
    QVERIFY(!o->HorzScrollBar()->Automatic());
    QVERIFY(o->HorzScrollBar()->Visible());
    QCOMPARE(o->HorzScrollBar()->Min(), -5);
    QCOMPARE(o->HorzScrollBar()->Max(), 3000);
    QVERIFY(o->HorzScrollBar()->Control()->isVisibleTo(o));
    QVERIFY(o->VertScrollBar()->Automatic());
    QVERIFY(o->VertScrollBar()->Flat());
    QVERIFY(o->HotTrack()->Active());
    QVERIFY(o->HotTrack()->UseFont());
    // Written again, the same file.
    QCOMPARE(Saved(o), file);
}

void TestTreeFrame::badPageSizeInAFile_data()
{
    QTest::addColumn<QString>("property");
    QTest::addColumn<int>("value");
    QTest::newRow("width 0") << QStringLiteral("Page.Width") << 0;
    QTest::newRow("width -10") << QStringLiteral("Page.Width") << -10;
    QTest::newRow("height 0") << QStringLiteral("Page.Height") << 0;
    QTest::newRow("height -1") << QStringLiteral("Page.Height") << -1;
}

void TestTreeFrame::badPageSizeInAFile()
{
    QFETCH(QString, property);
    QFETCH(int, value);
    const TDevicesGuard devices;
    TViewHost host;
    host.Tree->Page()->SetWidth(321);
    host.Tree->Page()->SetHeight(321);
    QByteArray file = Saved(host.Tree);
    // The stored size is a two-byte integer after its name and tag.
    const int at = file.indexOf(property.toLatin1());
    QVERIFY(at > 0);
    const int number = at + property.size() + 1;
    QCOMPARE(uchar(file[number]), uchar(321 & 0xFF));
    file[number] = char(value & 0xFF);
    file[number + 1] = char((value >> 8) & 0xFF);

    QStringList asked;
    TScopedContinueQuestion yes([&](const QString &q) {
        asked << q;
        return true;
    });
    TViewHost other;
    Load(other.Tree, file);
    QCOMPARE(asked.size(), 1);
    QVERIFY(asked[0].startsWith(QString(SInvalidPropertyValue)));
    TTreePage *p = other.Tree->Page();
    QVERIFY(p->PageWidth() > 0);
    QVERIFY(p->PageHeight() > 0);
    // The size refused stays as it was; the other one is read.
    const bool width = property.endsWith(QLatin1String("Width"));
    QCOMPARE(width ? p->Width() : p->Height(), width ? 771 : 1058);
    QCOMPARE(width ? p->Height() : p->Width(), 321);
    // Drawing and counting pages with the size kept do not fail.
    Place(other.Tree->AddRoot(QStringLiteral("A")), 0, 0, 50, 3000);
    other.Paint();
    QVERIFY(p->Count() >= 3);
}

QTEST_MAIN(TestTreeFrame)
#include "tst_tree_frame.moc"
