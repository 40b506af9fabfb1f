// The print preview: the sheet and the printed areas on it, dragging the
// margins with its limits, orientation, pages, the dialog's fields, and
// the printout against the picture the preview shows.

#include "../view/ViewTestUtil.h"
#include "ExportTestUtil.h"

#include "core/Exceptions.h"
#include "core/Rounding.h"
#include "dialogs/KorPrompts.h"
#include "export/KorPrevi.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPageSize>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QtTest>

// Readable failures.
char *toString(const TRect &r)
{
    return QTest::toString(QStringLiteral("(%1, %2, %3, %4)").arg(r.Left).arg(r.Top).arg(r.Right).arg(r.Bottom));
}
char *toString(const TPanelMargins &m)
{
    return QTest::toString(QStringLiteral("margins %1, %2, %3, %4").arg(m.Left).arg(m.Top).arg(m.Right).arg(m.Bottom));
}

namespace {

// A panel of pages of 200 x 100 pixels that fills the page it shows with
// one colour and remembers the rectangle it was last drawn into.
class TPagePanel : public TCustomKorPanel
{
public:
    TColor Fill = clRed;
    int Page = 1;
    bool Fail = false;
    TRect Drawn;
    TRect ImageRect() const override { return TRect(0, (Page - 1) * 100, 200, Page * 100); }

protected:
    void DrawContent(const TRect &bounds) override
    {
        if (Fail)
            throw Exception(QStringLiteral("the picture cannot be drawn"));
        Drawn = bounds;
        Canvas()->Brush().SetStyle(bsSolid);
        Canvas()->Brush().SetColor(Fill);
        Canvas()->FillRect(ImageRect());
    }
};

// A canvas that cannot be clipped or recorded.
class TUnclippedCanvas : public TKorCanvas3D
{
public:
    bool RendersWithoutClipping() const override { return true; }
};

// A navigator whose control is a "Next" button turning the panel's pages.
class TTestNavigator : public TPreviewPageNavigator
{
public:
    TTestNavigator(QWidget *parent, int pages) : FButton(new QPushButton(QStringLiteral("Next"), parent)), Pages(pages)
    {
        QObject::connect(FButton, &QPushButton::clicked, [this] {
            if (Panel && Panel->Page < Pages)
                ++Panel->Page;
            if (OnButtonClicked)
                OnButtonClicked(2);
        });
    }
    QWidget *Widget() override { return FButton; }
    void SetPanel(TCustomKorPanel *panel) override { Panel = dynamic_cast<TPagePanel *>(panel); }
    int PageCount() const override { return Pages; }
    void Print() override { ++Prints; }

    QPushButton *FButton;
    TPagePanel *Panel = nullptr;
    int Pages;
    int Prints = 0;
};

// A preview of the size the dialog gives it, laid out as a paint does.
struct TPreviewFixture
{
    TPrinterGuard Printer;
    TKorPreviewPanel Preview;
    TPagePanel Panel;

    explicit TPreviewFixture(bool withPanel = true)
    {
        Preview.resize(432, 312);
        Panel.SetPrintProportional(false);
        if (withPanel)
            Preview.SetPanel(&Panel);
        Preview.CalcRects();
    }
    // A press, moves and a release of the left button.
    void Drag(QPoint from, const QList<QPoint> &path)
    {
        QTest::mousePress(&Preview, Qt::LeftButton, Qt::NoModifier, from);
        for (const QPoint &p : path)
            QTest::mouseMove(&Preview, p);
        QTest::mouseRelease(&Preview, Qt::LeftButton, Qt::NoModifier, path.isEmpty() ? from : path.last());
    }
};

QPoint Pt(int x, int y)
{
    return QPoint(x, y);
}

// The pointer moved over a widget without a button down.
void Hover(QWidget *w, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &move);
}

// The sheet's pixels inside its outline.
QImage SheetInside(const QImage &grab, const TRect &paper)
{
    return grab.copy(paper.Left + 1, paper.Top + 1, paper.Width() - 2, paper.Height() - 2);
}

} // namespace

class TestPrintPreview : public QObject
{
    Q_OBJECT

private slots:
    void paperRect_data();
    void paperRect();
    void pdfPrinterPage();
    void marginsRect();
    void proportionalMarginsOnTheSheet();
    void hitTest_data();
    void hitTest();
    void cursorFollowsTheHitCode();
    void dragging_data();
    void dragging();
    void dragReportsTheNewMargins();
    void orientation_data();
    void orientation();
    void sheetWithoutImage();
    void twoPanelsShareTheSheet();
    void destroyedPanelLeavesTheList();
    void uncuttableCanvasIsShownAsBitmap();
    void detailEnlargesThePicture();
    void printingErrorAbortsAndRestoresTheCursor();
    void dialogWithoutPrinterOrPanel_data();
    void dialogWithoutPrinterOrPanel();
    void dialogFields_data();
    void dialogFields();
    void dialogDragUnchecksProportional();
    void dialogOrientationAndSetup();
    void dialogPages();
    void dialogPrintErrorIsShown();
    void editorPreviewKeepsOrientation();
    void printedPdfShowsThePreview_data();
    void printedPdfShowsThePreview();
};

void TestPrintPreview::paperRect_data()
{
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QSize>("page");
    QTest::addColumn<QRect>("paper");
    // The control is wider than the page: the height rules.
    QTest::newRow("portrait A4") << QSize(432, 312) << QSize(2480, 3508) << QRect(QPoint(127, 31), QPoint(303, 280));
    // A landscape page in a tall control: the width rules.
    QTest::newRow("landscape in tall") << QSize(300, 500) << QSize(3508, 2480) << QRect(QPoint(30, 165), QPoint(269, 334));
    // Tenths and fifths of the height round half to even.
    QTest::newRow("ties to even") << QSize(1000, 325) << QSize(100, 100) << QRect(QPoint(370, 32), QPoint(629, 291));
    // Exactly the page's shape: the width rules (the test is strict).
    QTest::newRow("same shape") << QSize(200, 100) << QSize(400, 200) << QRect(QPoint(20, 10), QPoint(179, 89));
    // No page at all: the sheet fills the height.
    QTest::newRow("no page") << QSize(400, 100) << QSize(0, 0) << QRect(QPoint(40, 0), QPoint(359, 99));
}

void TestPrintPreview::paperRect()
{
    QFETCH(QSize, client);
    QFETCH(QSize, page);
    QFETCH(QRect, paper);
    const TRect r = TKorPreviewPanel::PaperRectOf(client.width(), client.height(), page.width(), page.height());
    QCOMPARE(r.ToQRect(), paper);
}

void TestPrintPreview::pdfPrinterPage()
{
    // Without system printers the PDF file is the one printer, and it
    // starts as an A4 page at 300 dpi (Qt makes its 2480.3 pixels 2479).
    TPrinterGuard printer;
    QCOMPARE(printer->Printers().size(), 1);
    QVERIFY(printer->PrintsToFile());
    QCOMPARE(printer->PageSize(), QSize(2479, 3508));
    printer->SetOrientation(poLandscape);
    QCOMPARE(printer->PageSize(), QSize(3508, 2479));
    TPrinterGuard none(false);
    QVERIFY(!none->HasPrinters());
    QCOMPARE(none->PrinterIndex(), -1);
    QVERIFY_THROWS_EXCEPTION(EPrinter, none->PageSize());
    QVERIFY_THROWS_EXCEPTION(EPrinter, none->Device());
}

void TestPrintPreview::marginsRect()
{
    TPreviewFixture f;
    QCOMPARE(f.Preview.PaperRect(), TRect(127, 31, 304, 281));
    QCOMPARE(f.Preview.MarginsRect(), TRect(154, 69, 277, 243));
    // Without a panel the sheet shows margins of 15 as well.
    TPreviewFixture empty(false);
    QCOMPARE(empty.Preview.MarginsRect(), TRect(154, 69, 277, 243));
    f.Panel.SetPrintMargins({0, 10, 50, 0});
    f.Preview.CalcRects();
    QCOMPARE(f.Preview.MarginsRect(), TRect(127, 56, 215, 281));
}

void TestPrintPreview::proportionalMarginsOnTheSheet()
{
    // A picture twice as wide as high on a portrait page keeps 15 at the
    // sides and centres itself vertically; the margins stay in the panel.
    TPreviewFixture f;
    f.Panel.SetPrintProportional(true);
    f.Preview.CalcRects();
    const TPanelMargins m = f.Panel.PrintMargins();
    QCOMPARE(m.Left, 15);
    QCOMPARE(m.Right, 15);
    QCOMPARE(m.Top, dx::RoundEven((3508 - 0.6 * 2480 * 0.5) * 100.0 / 3508) / 2);
    QCOMPARE(m.Bottom, m.Top);
    // Without a printer they are not recomputed.
    TPrinterGuard none(false);
    f.Panel.SetPrintMargins({1, 2, 3, 4});
    f.Preview.CalcRects();
    QCOMPARE(f.Panel.PrintMargins(), (TPanelMargins{1, 2, 3, 4}));
}

void TestPrintPreview::hitTest_data()
{
    // Margins rectangle (154, 69, 277, 243).
    QTest::addColumn<bool>("resize");
    QTest::addColumn<bool>("move");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("code");
    QTest::newRow("left") << true << true << Pt(154, 150) << 1;
    QTest::newRow("left, 4 outside") << true << true << Pt(150, 150) << 1;
    QTest::newRow("left, 5 outside") << true << true << Pt(149, 150) << 0;
    QTest::newRow("left line far below") << true << true << Pt(151, 300) << 1;
    QTest::newRow("top") << true << true << Pt(200, 73) << 2;
    QTest::newRow("right") << true << true << Pt(281, 100) << 3;
    QTest::newRow("bottom") << true << true << Pt(200, 240) << 4;
    QTest::newRow("top left") << true << true << Pt(156, 67) << 6;
    QTest::newRow("top right") << true << true << Pt(277, 69) << 7;
    QTest::newRow("bottom left") << true << true << Pt(154, 243) << 8;
    QTest::newRow("bottom right") << true << true << Pt(280, 246) << 9;
    QTest::newRow("inside") << true << true << Pt(200, 150) << 5;
    QTest::newRow("outside") << true << true << Pt(100, 20) << 0;
    QTest::newRow("edge without resize") << false << true << Pt(154, 150) << 0;
    QTest::newRow("corner without resize") << false << true << Pt(154, 69) << 0;
    QTest::newRow("inside without resize") << false << true << Pt(200, 150) << 5;
    QTest::newRow("inside without move") << true << false << Pt(200, 150) << 0;
    QTest::newRow("edge without move") << true << false << Pt(277, 150) << 3;
}

void TestPrintPreview::hitTest()
{
    QFETCH(bool, resize);
    QFETCH(bool, move);
    QFETCH(QPoint, point);
    QFETCH(int, code);
    TPreviewFixture f;
    f.Preview.SetAllowResize(resize);
    f.Preview.SetAllowMove(move);
    QCOMPARE(int(f.Preview.HitTest(point.x(), point.y())), code);
}

void TestPrintPreview::cursorFollowsTheHitCode()
{
    TPreviewFixture f;
    const struct
    {
        QPoint At;
        Qt::CursorShape Shape;
    } cases[] = {{Pt(154, 150), Qt::SplitHCursor}, {Pt(200, 243), Qt::SplitVCursor}, {Pt(200, 150), Qt::OpenHandCursor},
                 {Pt(154, 69), Qt::SizeFDiagCursor}, {Pt(277, 69), Qt::SizeBDiagCursor}, {Pt(130, 40), Qt::ArrowCursor}};
    for (const auto &c : cases) {
        Hover(&f.Preview, c.At);
        QCOMPARE(f.Preview.cursor().shape(), c.Shape);
    }
    f.Preview.SetAllowResize(false);
    Hover(&f.Preview, Pt(154, 150));
    QCOMPARE(f.Preview.cursor().shape(), Qt::ArrowCursor);
}

void TestPrintPreview::dragging_data()
{
    // Sheet (127, 31, 304, 281), 177 x 250; margins rectangle (154, 69,
    // 277, 243) from margins of 15.
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QList<QPoint>>("path");
    QTest::addColumn<QRect>("rect"); // the margins rectangle afterwards (left, top, right, bottom)
    auto R = [](int l, int t, int r, int b) { return QRect(QPoint(l, t), QPoint(r, b)); };
    QTest::newRow("left to the sheet's edge") << Pt(154, 150) << QList<QPoint>{Pt(127, 150)} << R(127, 69, 277, 243);
    QTest::newRow("left onto the right line") << Pt(154, 150) << QList<QPoint>{Pt(277, 150)} << R(154, 69, 277, 243);
    QTest::newRow("left beyond the right line") << Pt(154, 150) << QList<QPoint>{Pt(290, 150)} << R(154, 69, 277, 243);
    QTest::newRow("left off the sheet") << Pt(154, 150) << QList<QPoint>{Pt(120, 150)} << R(154, 69, 277, 243);
    QTest::newRow("right to the sheet's edge") << Pt(277, 150) << QList<QPoint>{Pt(303, 150)} << R(154, 69, 303, 243);
    QTest::newRow("top down") << Pt(200, 69) << QList<QPoint>{Pt(200, 100)} << R(154, 100, 277, 243);
    QTest::newRow("bottom onto the top line") << Pt(200, 243) << QList<QPoint>{Pt(200, 69)} << R(154, 69, 277, 243);
    QTest::newRow("corner") << Pt(154, 69) << QList<QPoint>{Pt(140, 50)} << R(140, 50, 277, 243);
    QTest::newRow("corner half allowed") << Pt(154, 69) << QList<QPoint>{Pt(280, 50)} << R(154, 69, 277, 243);
    QTest::newRow("move") << Pt(200, 150) << QList<QPoint>{Pt(210, 140)} << R(164, 59, 287, 233);
    QTest::newRow("move past the left edge") << Pt(200, 150) << QList<QPoint>{Pt(150, 150)} << R(127, 69, 250, 243);
    QTest::newRow("move past the top edge") << Pt(200, 150) << QList<QPoint>{Pt(200, 100)} << R(154, 31, 277, 205);
    QTest::newRow("move onto the right edge") << Pt(200, 150) << QList<QPoint>{Pt(227, 150)} << R(154, 69, 277, 243);
    QTest::newRow("move just short of it") << Pt(200, 150) << QList<QPoint>{Pt(226, 150)} << R(180, 69, 303, 243);
    QTest::newRow("move onto the bottom edge") << Pt(200, 150) << QList<QPoint>{Pt(200, 188)} << R(154, 69, 277, 243);
}

void TestPrintPreview::dragging()
{
    QFETCH(QPoint, from);
    QFETCH(QList<QPoint>, path);
    QFETCH(QRect, rect);
    TPreviewFixture f;
    f.Drag(from, path);
    const TRect &m = f.Preview.MarginsRect();
    QCOMPARE(QRect(QPoint(m.Left, m.Top), QPoint(m.Right, m.Bottom)), rect);
    QCOMPARE(int(f.Preview.DragMode()), 0);
    // The panel's print margins follow the rectangle on the sheet.
    const TRect p = f.Preview.PaperRect();
    const TPanelMargins pm = f.Panel.PrintMargins();
    QCOMPARE(pm.Left, dx::MulDiv(m.Left - p.Left, 100, p.Width()));
    QCOMPARE(pm.Right, dx::MulDiv(p.Right - m.Right, 100, p.Width()));
    QCOMPARE(pm.Top, dx::MulDiv(m.Top - p.Top, 100, p.Height()));
    QCOMPARE(pm.Bottom, dx::MulDiv(p.Bottom - m.Bottom, 100, p.Height()));
}

void TestPrintPreview::dragReportsTheNewMargins()
{
    TPreviewFixture f;
    f.Panel.SetPrintProportional(true);
    f.Preview.CalcRects();
    f.Panel.SetPrintMargins({15, 15, 15, 15});
    f.Preview.CalcRects();
    int calls = 0;
    bool disabled = false;
    TPanelMargins reported;
    f.Preview.OnChangeMargins = [&](TKorPreviewPanel *sender, bool disable, const TPanelMargins &m) {
        QCOMPARE(sender, &f.Preview);
        ++calls;
        disabled = disable;
        reported = m;
    };
    const TRect before = f.Preview.MarginsRect();
    f.Drag(Pt(before.Left, 150), {Pt(127, 150)});
    QCOMPARE(calls, 1);
    QVERIFY(disabled);
    QVERIFY(!f.Panel.PrintProportional());
    QCOMPARE(reported.Left, 0);
    QCOMPARE(reported, f.Panel.PrintMargins());
    // A refused move reports nothing.
    f.Drag(Pt(127, 150), {Pt(300, 150)});
    QCOMPARE(calls, 1);
}

void TestPrintPreview::orientation_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<bool>("printerLandscape");
    QTest::addColumn<bool>("paperLandscape");
    QTest::newRow("default portrait") << int(ppoDefault) << false << false;
    QTest::newRow("default landscape") << int(ppoDefault) << true << true;
    QTest::newRow("forced portrait") << int(ppoPortrait) << true << false;
    QTest::newRow("forced landscape") << int(ppoLandscape) << false << true;
}

void TestPrintPreview::orientation()
{
    QFETCH(int, orientation);
    QFETCH(bool, printerLandscape);
    QFETCH(bool, paperLandscape);
    TPreviewFixture f;
    Printer().SetOrientation(printerLandscape ? poLandscape : poPortrait);
    f.Preview.SetOrientation(TKorPreviewPanelOrientation(orientation));
    f.Preview.CalcRects();
    const TRect p = f.Preview.PaperRect();
    QCOMPARE(p.Width() > p.Height(), paperLandscape);
    QCOMPARE(Printer().Orientation() == poLandscape, paperLandscape);
    // The printout takes the same orientation.
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("o.pdf"));
    Printer().SetOutputFileName(pdf);
    Printer().SetOrientation(printerLandscape ? poLandscape : poPortrait);
    f.Preview.Print();
    const QImage page = DecodeWithTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("10")}, pdf);
    if (page.isNull())
        QSKIP("pdftoppm is not installed");
    QCOMPARE(page.width() > page.height(), paperLandscape);
}

void TestPrintPreview::sheetWithoutImage()
{
    TPreviewFixture f;
    f.Panel.Fill = clBlue;
    const QImage shown = f.Preview.grab().toImage();
    const TRect m = f.Preview.MarginsRect();
    QCOMPARE(QColor(shown.pixel(m.Left + 5, m.Top + 5)), QColor(Qt::blue));
    f.Preview.SetShowImage(false);
    f.Panel.Drawn = TRect();
    const QImage empty = f.Preview.grab().toImage();
    QCOMPARE(f.Panel.Drawn, TRect());
    // Only paper inside the margin lines.
    const QImage inside = empty.copy(m.Left + 1, m.Top + 1, m.Width() - 2, m.Height() - 2);
    for (int y = 0; y < inside.height(); ++y)
        for (int x = 0; x < inside.width(); ++x)
            QCOMPARE(QColor(inside.pixel(x, y)), QColor(Qt::white));
    // The sheet's shadow to its right and below.
    const TRect p = f.Preview.PaperRect();
    QCOMPARE(QColor(empty.pixel(p.Right + 1, p.Top + 10)), QColor(128, 128, 128));
    QCOMPARE(QColor(empty.pixel(p.Left + 10, p.Bottom + 1)), QColor(128, 128, 128));
    // The margin lines are drawn over the paper, and vanish when hidden.
    auto darkOnLine = [&](const QImage &img) {
        int dark = 0;
        for (int y = p.Top + 1; y < p.Bottom - 1; ++y) // inside the sheet's outline
            dark += qGray(img.pixel(m.Left - 1, y)) < 128;
        return dark;
    };
    QVERIFY(darkOnLine(empty) > p.Height() / 3);
    f.Preview.Margins()->SetVisible(false);
    QCOMPARE(darkOnLine(f.Preview.grab().toImage()), 0);
}

void TestPrintPreview::twoPanelsShareTheSheet()
{
    TPreviewFixture f;
    TPagePanel second;
    second.Fill = clLime;
    second.SetPrintProportional(false);
    f.Panel.SetPrintMargins({5, 5, 60, 60});
    second.SetPrintMargins({60, 60, 5, 5});
    f.Preview.SetPanel(&second);
    f.Preview.SetPanel(&second); // listed once
    QCOMPARE(f.Preview.Panel(), &f.Panel);
    QCOMPARE(f.Preview.Panels().size(), size_t(2));
    const QImage shown = f.Preview.grab().toImage();
    const TRect p = f.Preview.PaperRect();
    const TRect a = f.Preview.PrintedArea(&f.Panel, p), b = f.Preview.PrintedArea(&second, p);
    QCOMPARE(QColor(shown.pixel(a.Left + 3, a.Top + 3)), QColor(Qt::red));
    QCOMPARE(QColor(shown.pixel(b.Right - 3, b.Bottom - 3)), QColor(Qt::green));
    // Both print on one page.
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("two.pdf"));
    Printer().SetOutputFileName(pdf);
    f.Preview.Print();
    const QImage page = RenderPdfPage(pdf, QSize(248, 351));
    if (page.isNull())
        QSKIP("pdftoppm is not installed");
    const TRect pa = TCustomKorPanel::MarginRect(f.Panel.PrintMargins(), 248, 351);
    const TRect pb = TCustomKorPanel::MarginRect(second.PrintMargins(), 248, 351);
    QCOMPARE(QColor(page.pixel(pa.Left + 3, pa.Top + 3)), QColor(Qt::red));
    QCOMPARE(QColor(page.pixel(pb.Right - 3, pb.Bottom - 3)), QColor(Qt::green));
    // Null takes the first one out; the second becomes the first.
    f.Preview.SetPanel(nullptr);
    QCOMPARE(f.Preview.Panel(), &second);
}

void TestPrintPreview::destroyedPanelLeavesTheList()
{
    TPreviewFixture f;
    {
        auto gone = std::make_unique<TPagePanel>();
        f.Preview.SetPanel(gone.get());
        QCOMPARE(f.Preview.Panels().size(), size_t(2));
    }
    QCOMPARE(f.Preview.Panels().size(), size_t(1));
    auto first = std::make_unique<TPagePanel>();
    TKorPreviewPanel other;
    other.SetPanel(first.get());
    first.reset();
    QCOMPARE(other.Panel(), nullptr);
    // Still paints and prints nothing.
    QVERIFY(!other.grab().isNull());
    other.Print();
}

void TestPrintPreview::uncuttableCanvasIsShownAsBitmap()
{
    TPrinterGuard printer;
    TPagePanel plain, special;
    special.SetCanvas(std::make_unique<TUnclippedCanvas>());
    TKorPreviewPanel a, b;
    a.SetPanel(&plain);
    QVERIFY(!a.AsBitmap());
    b.SetPanel(&special);
    QVERIFY(b.AsBitmap());
}

void TestPrintPreview::detailEnlargesThePicture()
{
    // At -100 the logical picture is twice as wide and high: the page
    // fills the top-left quarter of the printed area.
    TPreviewFixture f;
    f.Panel.SetPrintResolution(-100);
    const QImage shown = f.Preview.grab().toImage();
    QCOMPARE(f.Panel.Drawn, TRect(0, 0, 400, 200));
    const TRect m = f.Preview.MarginsRect();
    QCOMPARE(QColor(shown.pixel(m.Left + 3, m.Top + 3)), QColor(Qt::red));
    QCOMPARE(QColor(shown.pixel(m.Right - 3, m.Bottom - 3)), QColor(Qt::white));
    // The panel does not tell the preview: the dialog repaints it.
    f.Panel.SetPrintResolution(20);
    f.Preview.Invalidate();
    f.Preview.grab();
    QCOMPARE(f.Panel.Drawn, TRect(0, 0, 160, 80));
}

void TestPrintPreview::printingErrorAbortsAndRestoresTheCursor()
{
    TPreviewFixture f;
    QTemporaryDir dir;
    Printer().SetOutputFileName(dir.filePath(QStringLiteral("e.pdf")));
    f.Panel.Fail = true;
    QVERIFY_THROWS_EXCEPTION(Exception, f.Preview.Print());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    // A printer that cannot start.
    f.Panel.Fail = false;
    Printer().SetOutputFileName(QStringLiteral("/nonexistent/dir/e.pdf"));
    QVERIFY_THROWS_EXCEPTION(EPrinter, f.Preview.Print());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestPrintPreview::dialogWithoutPrinterOrPanel_data()
{
    QTest::addColumn<bool>("printer");
    QTest::addColumn<bool>("panel");
    QTest::newRow("neither") << false << false;
    QTest::newRow("no printer") << false << true;
    QTest::newRow("no panel") << true << false;
    QTest::newRow("both") << true << true;
}

void TestPrintPreview::dialogWithoutPrinterOrPanel()
{
    QFETCH(bool, printer);
    QFETCH(bool, panel);
    TPrinterGuard guard(printer);
    TPagePanel p;
    TChartPreview dialog;
    if (panel)
        dialog.SetPanel(&p);
    dialog.show();
    QCOMPARE(dialog.PreviewPanel()->Panel(), panel ? &p : nullptr);
    QCOMPARE(dialog.PrintButton()->isEnabled(), printer && panel);
    QCOMPARE(dialog.SetupButton()->isEnabled(), printer);
    QCOMPARE(dialog.OrientationGroup()->isEnabled(), printer);
    QCOMPARE(dialog.MarginsGroup()->isEnabled(), panel);
    QCOMPARE(dialog.ProportionalBox()->isEnabled(), panel);
    QCOMPARE(dialog.DetailBar()->isEnabled(), panel);
    QCOMPARE(dialog.PrinterList()->count(), printer ? 1 : 0);
    if (printer) // turned to landscape when the dialog opens
        QVERIFY(dialog.LandscapeButton()->isChecked());
}

void TestPrintPreview::dialogFields_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("reset");
    // The panel's margins are left 20, top 10, right 40, bottom 30.
    QTest::newRow("left 60 with right 40") << "left" << 60 << 20 << false;
    QTest::newRow("left 59 with right 40") << "left" << 59 << 59 << true;
    QTest::newRow("right 79 with left 20") << "right" << 79 << 79 << true;
    QTest::newRow("right 80 with left 20") << "right" << 80 << 40 << false;
    QTest::newRow("top 70 with bottom 30") << "top" << 70 << 10 << false;
    QTest::newRow("bottom 0") << "bottom" << 0 << 0 << true;
    QTest::newRow("bottom 100") << "bottom" << 100 << 30 << false;
}

void TestPrintPreview::dialogFields()
{
    QFETCH(QString, field);
    QFETCH(int, value);
    QFETCH(int, expected);
    QFETCH(bool, reset);
    TPrinterGuard printer;
    TPagePanel p;
    p.SetPrintProportional(false);
    p.SetPrintMargins({20, 10, 40, 30});
    p.SetPrintResolution(-30);
    TChartPreview dialog;
    dialog.SetPanel(&p);
    dialog.show();
    QCOMPARE(dialog.LeftMargin()->value(), 20);
    QCOMPARE(dialog.BottomMargin()->value(), 30);
    QCOMPARE(dialog.DetailBar()->value(), 70);
    QVERIFY(!dialog.ProportionalBox()->isChecked());
    QSpinBox *box = field == "left" ? dialog.LeftMargin() : field == "right" ? dialog.RightMargin()
                  : field == "top"  ? dialog.TopMargin() : dialog.BottomMargin();
    box->setValue(value);
    QCOMPARE(box->value(), expected);
    const TPanelMargins m = p.PrintMargins();
    QCOMPARE(field == "left" ? m.Left : field == "right" ? m.Right : field == "top" ? m.Top : m.Bottom, expected);
    QCOMPARE(dialog.ResetMarginsButton()->isEnabled(), reset);
    if (reset) {
        QTest::mouseClick(dialog.ResetMarginsButton(), Qt::LeftButton);
        QCOMPARE(p.PrintMargins(), (TPanelMargins{20, 10, 40, 30}));
        QCOMPARE(box->value(), field == "left" ? 20 : field == "right" ? 40 : field == "top" ? 10 : 30);
        QVERIFY(!dialog.ResetMarginsButton()->isEnabled());
    }
    // The track bar sets the resolution; the margin lines can be hidden.
    dialog.DetailBar()->setValue(0);
    QCOMPARE(p.PrintResolution(), -100);
    QTest::mouseClick(dialog.ViewMarginsBox(), Qt::LeftButton);
    QVERIFY(!dialog.PreviewPanel()->Margins()->Visible());
}

void TestPrintPreview::dialogDragUnchecksProportional()
{
    TPrinterGuard printer;
    TPagePanel p;
    TChartPreview dialog;
    dialog.SetPanel(&p);
    dialog.show();
    // Proportional on open: the fields show the computed margins, which
    // are also the ones "Reset Margins" returns to.
    QVERIFY(dialog.ProportionalBox()->isChecked());
    QCOMPARE(dialog.SavedMargins(), p.PrintMargins());
    QCOMPARE(dialog.LeftMargin()->value(), p.PrintMargins().Left);
    TKorPreviewPanel *preview = dialog.PreviewPanel();
    preview->CalcRects();
    const TRect m = preview->MarginsRect();
    QTest::mousePress(preview, Qt::LeftButton, Qt::NoModifier, Pt(m.Left, (m.Top + m.Bottom) / 2));
    QTest::mouseMove(preview, Pt(m.Left - 10, (m.Top + m.Bottom) / 2));
    QTest::mouseRelease(preview, Qt::LeftButton, Qt::NoModifier, Pt(m.Left - 10, (m.Top + m.Bottom) / 2));
    QVERIFY(!dialog.ProportionalBox()->isChecked());
    QVERIFY(!p.PrintProportional());
    QCOMPARE(dialog.LeftMargin()->value(), p.PrintMargins().Left);
    QVERIFY(p.PrintMargins().Left < dialog.SavedMargins().Left);
    // Dragging leaves "Reset Margins" as it was.
    QVERIFY(!dialog.ResetMarginsButton()->isEnabled());
    // Checking the box again computes the proportional margins.
    dialog.ProportionalBox()->setChecked(true);
    QVERIFY(p.PrintProportional());
    QCOMPARE(p.PrintMargins(), dialog.SavedMargins());
}

void TestPrintPreview::dialogOrientationAndSetup()
{
    TPrinterGuard printer;
    TScriptedPromptsGuard prompts;
    TPagePanel p;
    TChartPreview dialog;
    dialog.SetPanel(&p);
    dialog.show();
    QCOMPARE(Printer().Orientation(), poLandscape);
    const int landscapeTop = p.PrintMargins().Top;
    QTest::mouseClick(dialog.PortraitButton(), Qt::LeftButton);
    QCOMPARE(Printer().Orientation(), poPortrait);
    // The proportional margins follow the page's new shape.
    QVERIFY(p.PrintMargins().Top > landscapeTop);
    QCOMPARE(dialog.TopMargin()->value(), p.PrintMargins().Top);
    // The PDF file's set-up is asked through the prompts; the page and
    // orientation it leaves are read back, a cancelled one changes nothing.
    prompts->OnExec = [](QDialog &d) {
        auto *setup = qobject_cast<TPdfPageSetupForm *>(&d);
        if (!setup)
            return int(QDialog::Rejected);
        setup->PaperSize()->setCurrentIndex(setup->PaperSize()->findData(int(QPageSize::A5)));
        setup->LandscapeButton()->setChecked(true);
        return int(QDialog::Accepted);
    };
    QTest::mouseClick(dialog.SetupButton(), Qt::LeftButton);
    QCOMPARE(prompts->CallsOf(QStringLiteral("Exec")).size(), size_t(1));
    QCOMPARE(prompts->CallsOf(QStringLiteral("Exec")).front().Text, QStringLiteral("TPdfPageSetupForm"));
    QVERIFY(dialog.LandscapeButton()->isChecked());
    QCOMPARE(dialog.PrinterList()->currentIndex(), 0);
    const QSize a5 = Printer().PageSize();
    const QSize expected = QPageSize(QPageSize::A5).sizePixels(TKorPrinter::kPdfResolution).transposed();
    QVERIFY2(std::abs(a5.width() - expected.width()) <= 1 && std::abs(a5.height() - expected.height()) <= 1,
             qPrintable(QStringLiteral("%1 x %2").arg(a5.width()).arg(a5.height())));
    prompts->OnExec = [](QDialog &d) {
        if (auto *setup = qobject_cast<TPdfPageSetupForm *>(&d))
            setup->PortraitButton()->setChecked(true);
        return int(QDialog::Rejected);
    };
    QTest::mouseClick(dialog.SetupButton(), Qt::LeftButton);
    QVERIFY(dialog.LandscapeButton()->isChecked());
    QCOMPARE(Printer().PageSize(), a5);
}

void TestPrintPreview::dialogPages()
{
    TPrinterGuard printer;
    TScriptedPromptsGuard prompts;
    QTemporaryDir dir;
    prompts->FileNames << dir.filePath(QStringLiteral("pages.pdf")) << dir.filePath(QStringLiteral("one.pdf"));
    TPagePanel p;
    p.SetPrintProportional(false);
    TTestNavigator *navigator = nullptr;
    TChartPreview dialog;
    dialog.SetPanel(&p);
    dialog.SetNavigatorClass([&](QWidget *parent) {
        auto n = std::make_unique<TTestNavigator>(parent, 3);
        navigator = n.get();
        return n;
    });
    dialog.show();
    QVERIFY(navigator);
    QCOMPARE(navigator->Panel, &p);
    QCOMPARE(navigator->Widget()->property("HelpContext").toInt(), 1488);
    dialog.PreviewPanel()->grab();
    QCOMPARE(p.Drawn, TRect(0, 0, 200, 100));
    // Moving to the next page shows it.
    QTest::mouseClick(navigator->FButton, Qt::LeftButton);
    dialog.PreviewPanel()->grab();
    QCOMPARE(p.Drawn, TRect(0, 100, 200, 200));
    // Several pages print through the navigator...
    QTest::mouseClick(dialog.PrintButton(), Qt::LeftButton);
    QCOMPARE(navigator->Prints, 1);
    QVERIFY(dialog.Printed());
    // ...one page prints the sheet.
    navigator->Pages = 1;
    QTest::mouseClick(dialog.PrintButton(), Qt::LeftButton);
    QCOMPARE(navigator->Prints, 1);
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("one.pdf"))).size() > 0);
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("pages.pdf"))));
    // A cancelled file choice prints nothing.
    QTest::mouseClick(dialog.PrintButton(), Qt::LeftButton);
    QCOMPARE(prompts->CallsOf(QStringLiteral("SaveFileName")).size(), size_t(3));
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestPrintPreview::dialogPrintErrorIsShown()
{
    TPrinterGuard printer;
    TScriptedPromptsGuard prompts;
    QTemporaryDir dir;
    prompts->FileNames << dir.filePath(QStringLiteral("e.pdf"));
    TPagePanel p;
    TChartPreview dialog;
    dialog.SetPanel(&p);
    dialog.show();
    p.Fail = true;
    QTest::mouseClick(dialog.PrintButton(), Qt::LeftButton);
    const auto asked = prompts->CallsOf(QStringLiteral("Ask"));
    QCOMPARE(asked.size(), size_t(1));
    QCOMPARE(asked.front().Kind, pkError);
    QCOMPARE(asked.front().Text, QStringLiteral("the picture cannot be drawn"));
    QVERIFY(!dialog.Printed());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestPrintPreview::editorPreviewKeepsOrientation()
{
    TPrinterGuard printer;
    TScriptedPromptsGuard prompts;
    TViewHost host;
    BuildPlainDiagram(host.Tree);
    Printer().SetOrientation(poPortrait);
    bool seen = false;
    prompts->OnExec = [&](QDialog &d) {
        auto *dialog = qobject_cast<TChartPreview *>(&d);
        seen = dialog && dialog->PreviewPanel()->Panel() == host.Tree && !PreviewLandscape() &&
               dialog->PortraitButton()->isChecked() && dialog->windowTitle() == QStringLiteral("Plovix Print Preview");
        return int(QDialog::Rejected);
    };
    QVERIFY(!ShowPrintPreview(nullptr, host.Tree));
    QVERIFY(seen);
    QVERIFY(PreviewLandscape());
    QCOMPARE(Printer().Orientation(), poPortrait);
}

void TestPrintPreview::printedPdfShowsThePreview_data()
{
    QTest::addColumn<bool>("asBitmap");
    QTest::addColumn<double>("agreement");
    QTest::newRow("drawn") << false << 0.97;
    QTest::newRow("bitmap") << true << 0.98;
}

void TestPrintPreview::printedPdfShowsThePreview()
{
    QFETCH(bool, asBitmap);
    QFETCH(double, agreement);
    TPrinterGuard printer;
    TScriptedPromptsGuard prompts;
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    prompts->FileNames << pdf;
    TViewHost host(600, 400);
    BuildRichDiagram(host.Tree);
    host.Tree->SetPrintMargins({10, 12, 8, 20});
    host.Tree->SetPrintProportional(false);
    TChartPreview dialog;
    dialog.SetPanel(host.Tree);
    dialog.resize(900, 1100);
    dialog.show();
    QTest::mouseClick(dialog.PortraitButton(), Qt::LeftButton);
    TKorPreviewPanel *preview = dialog.PreviewPanel();
    preview->SetAsBitmap(asBitmap);
    dialog.ViewMarginsBox()->setChecked(false);
    const QImage shown = preview->grab().toImage();
    QTest::mouseClick(dialog.PrintButton(), Qt::LeftButton);
    QVERIFY(dialog.Printed());
    const TRect paper = preview->PaperRect();
    const QImage page = RenderPdfPage(pdf, QSize(paper.Width(), paper.Height()));
    if (page.isNull())
        QSKIP("pdftoppm is not installed");
    const QImage sheet = SheetInside(shown, paper);
    const QImage printed = page.copy(1, 1, paper.Width() - 2, paper.Height() - 2);
    const double same = Agreement(sheet, printed, 48);
    QVERIFY2(same >= agreement, qPrintable(QString::number(same)));
    // Not a blank page against a blank sheet: the diagram is there.
    int coloured = 0;
    for (int y = 0; y < printed.height(); ++y)
        for (int x = 0; x < printed.width(); ++x)
            coloured += qRed(printed.pixel(x, y)) > 200 && qGreen(printed.pixel(x, y)) < 60;
    QVERIFY(coloured > 50);
}

QTEST_MAIN(TestPrintPreview)
#include "tst_print_preview.moc"
