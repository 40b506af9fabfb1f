// The panel base: the drawing pipeline with its buffer and overlays,
// background, listeners, panning, published declarations, rendering into
// bitmaps, metafiles and the clipboard, and printing with its margins.

#include "CanvasTestUtil.h"

#include "canvas/KorProcs.h"
#include "core/Component.h"
#include "core/PropAccess.h"
#include "core/Reader.h"
#include "core/Writer.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A panel whose content is a red rectangle at model (20, 20)-(120, 70),
// drawn through the projection as the diagram draws its nodes.
class TTestPanel : public TCustomKorPanelExtended
{
public:
    int Draws = 0;
    TRect Content{20, 20, 120, 70};
    QString Text; // drawn in blue at model (20, 100) when set
    bool Fail = false;

    TTestPanel()
    {
        setObjectName(QStringLiteral("TestPanel"));
        SetMargins({0, 0, 0, 0});
        SetBevelOuter(bvNone); // as the diagram is created
    }
    using TCustomKorPanel::CalcDrawingRect;

protected:
    void DrawContent(const TRect &bounds) override
    {
        ++Draws;
        DrawBackground(bounds);
        if (Fail)
            throw Exception(QStringLiteral("drawing failed"));
        TKorCanvas3D *c = Canvas();
        c->SetupProjection(0, bounds);
        c->Pen().SetStyle(psClear);
        c->SetBrushBitmap(QImage());
        c->Brush().SetStyle(bsSolid);
        c->Brush().SetColor(clRed);
        c->ProjectedRectangle(Content, 0);
        if (!Text.isEmpty()) {
            TKorFont font;
            font.SetSize(12);
            font.SetColor(clBlue);
            c->AssignFont(&font);
            c->ProjectedTextOut(20, 100, 0, Text);
        }
    }
};

// A panel that is also a persistent component, as the diagram is.
class TTestDiagram : public TTestPanel, public TComponent
{
    DX_OBJECT(TTestDiagram)
public:
    void DefineProperties(TFiler &filer) override
    {
        TComponent::DefineProperties(filer);
        DefinePanelProperties(filer);
    }
};

const TClassInfo &TTestDiagram::StaticClassInfo()
{
    static const TClassInfo info = [] {
        TClassBuilder<TTestDiagram> b("TTestDiagram", TComponent::StaticClassInfo());
        DeclareControlProperties(b);
        DeclarePanelProperties(b, {clWhite, bvNone});
        return TClassInfo(b);
    }();
    return info;
}

class TLog : public TKorEventListener
{
public:
    QStringList Seen;
    bool HandleMouse = false;
    QString Name;
    explicit TLog(QString name) : Name(std::move(name)) {}
    void KorEvent(TKorEvent &event) override
    {
        if (auto *m = dynamic_cast<TKorMouseEvent *>(&event)) {
            Seen << QStringLiteral("%1 mouse %2 %3,%4").arg(Name).arg(int(m->Kind)).arg(m->X).arg(m->Y);
            m->Handled = HandleMouse;
        } else if (dynamic_cast<TKorView3DEvent *>(&event)) {
            Seen << Name + QStringLiteral(" 3d");
        }
    }
};

// With DENDRIX_TEST_PICTURES naming a folder, pictures are written there to
// be looked at.
void Keep(const QImage &image, const char *name)
{
    const QByteArray dir = qgetenv("DENDRIX_TEST_PICTURES");
    if (!dir.isEmpty())
        image.save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + QLatin1String(name));
}

QImage Grab(QWidget &w)
{
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestPanel : public QObject
{
    Q_OBJECT
private slots:
    void constructionDefaults();
    void drawingRectangleFromMargins();
    void bufferServesRepaints();
    void backgroundColourGradientAndBevels();
    void backImageModes();
    void zoomRectangleLeavesNoPixels();
    void listenersAndMouse();
    void mouseNamesOfQtInput_data();
    void mouseNamesOfQtInput();
    void panningFollowsAllowedDirections();
    void canvasReplacement();
    void publishedDeclarations();
    void printMarginsInFiles();
    void proportionalMarginArithmetic();
    void printOnCanvasMapping();
    void renderedBitmaps();
    void metafileAndClipboard();
    void printingToPdf();
    void printingErrorsAbort();
};

void TestPanel::constructionDefaults()
{
    TCustomKorPanelExtended p;
    QCOMPARE(p.size(), QSize(400, 250));
    QCOMPARE(p.Margins(), (TPanelMargins{3, 4, 3, 4}));
    QCOMPARE(p.PrintMargins(), (TPanelMargins{15, 15, 15, 15}));
    QVERIFY(!p.PrintMarginsStored());
    p.SetPrintMargins({10, 15, 15, 15});
    QVERIFY(p.PrintMarginsStored());
    QVERIFY(p.PrintProportional());
    QCOMPARE(p.PrintResolution(), 0);
    QVERIFY(p.View3D());
    QVERIFY(p.BufferedDisplay());
    QVERIFY(!p.Monochrome());
    QCOMPARE(p.AllowPanning(), pmBoth);
    QCOMPARE(p.BackImageMode(), pbmStretch);
    QCOMPARE(p.PeekGradient(), nullptr);
    QCOMPARE(p.PeekBackImage(), nullptr);
    QVERIFY(p.Zoom()->Allow());
    QCOMPARE(p.Zoom()->AnimatedSteps(), 8);
    QCOMPARE(p.Zoom()->MinimumPixels(), 16);
    QCOMPARE(p.Zoom()->MouseButton(), mbLeft);
    QCOMPARE(p.Zoom()->Direction(), tzdBoth);
    QCOMPARE(p.Zoom()->PeekPen(), nullptr);
    QCOMPARE(p.Zoom()->Pen()->Color(), clWhite);
    QCOMPARE(p.Zoom()->Brush()->Style(), bsClear);
    QCOMPARE(p.Zoom()->Brush()->Color(), clWhite);
    QCOMPARE(p.ImageRect(), TRect(0, 0, 400, 250));
    // The zoom pen stores its colour only when it is not its default.
    p.Zoom()->SetPenDefaultColor(clBlack);
    QCOMPARE(p.Zoom()->Pen()->Color(), clBlack);
    const TPropInfo *color = TKorZoomPen::StaticClassInfo().FindProperty(QStringLiteral("Color"));
    QVERIFY(!color->IsStored(*p.Zoom()->Pen()));
    p.Zoom()->Pen()->SetColor(clWhite);
    QVERIFY(color->IsStored(*p.Zoom()->Pen()));
}

void TestPanel::drawingRectangleFromMargins()
{
    TTestPanel p;
    p.SetMargins({3, 4, 3, 4});
    p.CalcDrawingRect(TRect(0, 0, 400, 250));
    QCOMPARE(p.DrawingRect(), TRect(12, 10, 388, 240));
    QCOMPARE(p.DrawingCenter(), TPoint(200, 125));
    p.SetBorderWidth(2);
    p.CalcDrawingRect(TRect(0, 0, 400, 250));
    QCOMPARE(p.DrawingRect(), TRect(14, 12, 386, 238));
    // Margins that leave nothing keep a rectangle inside the bounds.
    p.SetBorderWidth(0);
    p.SetMargins({60, 60, 60, 60});
    p.CalcDrawingRect(TRect(0, 0, 400, 250));
    const TRect r = p.DrawingRect();
    QVERIFY(!r.IsEmpty());
    QVERIFY(r.Left >= 0 && r.Top >= 0 && r.Left < 400 && r.Top < 250);
}

void TestPanel::bufferServesRepaints()
{
    TTestPanel p;
    p.SetColor(clYellow);
    QImage first = Grab(p);
    QCOMPARE(p.Draws, 1);
    QCOMPARE(PixelAt(first, 5, 5), clYellow);
    QCOMPARE(PixelAt(first, 50, 40), clRed);
    QCOMPARE(ColorBounds(first, clRed), QRect(20, 20, 100, 50));
    // Unchanged: the buffer is shown again without drawing.
    QCOMPARE(Grab(p), first);
    QCOMPARE(p.Draws, 1);
    p.Invalidate();
    Grab(p);
    QCOMPARE(p.Draws, 2);
    // With auto repaint off an invalidation is ignored.
    p.SetAutoRepaint(false);
    p.Invalidate();
    Grab(p);
    QCOMPARE(p.Draws, 2);
    p.SetAutoRepaint(true);
    // Zoom and scroll come from the options.
    p.View3DOptions()->SetHorizOffset(30);
    QCOMPARE(ColorBounds(Grab(p), clRed), QRect(50, 20, 100, 50));
    p.View3DOptions()->SetHorizOffset(0);
    p.View3DOptions()->SetZoom(200);
    QCOMPARE(ColorBounds(Grab(p), clRed), QRect(200 - 360, 125 - 210, 200, 100).intersected(QRect(0, 0, 400, 250)));
    p.View3DOptions()->SetZoom(100);
    // Unbuffered: every paint draws.
    p.SetBufferedDisplay(false);
    QCOMPARE(p.Canvas()->Buffer(), nullptr);
    const int before = p.Draws;
    QCOMPARE(Grab(p), first);
    Grab(p);
    QCOMPARE(p.Draws, before + 2);
    // While printing the window does not draw.
    p.SetPrinting(true);
    p.Invalidate();
    Grab(p);
    QCOMPARE(p.Draws, before + 2);
}

void TestPanel::backgroundColourGradientAndBevels()
{
    TTestPanel p;
    p.SetColor(clAqua);
    p.SetBevelOuter(bvRaised);
    p.SetBevelWidth(2);
    QImage img = Grab(p);
    const TColor light = ColorToRGB(clBtnHighlight);
    const TColor dark = ColorToRGB(clBtnShadow);
    QCOMPARE(PixelAt(img, 0, 0), light);
    QCOMPARE(PixelAt(img, 1, 1), light);
    QCOMPARE(PixelAt(img, 399, 249), dark);
    QCOMPARE(PixelAt(img, 398, 248), dark);
    QCOMPARE(PixelAt(img, 2, 200), clAqua);
    p.SetBevelOuter(bvLowered);
    img = Grab(p);
    QCOMPARE(PixelAt(img, 0, 0), dark);
    QCOMPARE(PixelAt(img, 399, 249), light);
    p.SetBevelOuter(bvNone);
    p.SetBorderWidth(3);
    p.SetBevelInner(bvRaised);
    p.SetBevelWidth(1);
    img = Grab(p);
    QCOMPARE(PixelAt(img, 0, 0), clAqua);
    QCOMPARE(PixelAt(img, 3, 3), light);
    QCOMPARE(PixelAt(img, 396, 246), dark);
    // A visible gradient replaces the colour.
    p.SetBevelInner(bvNone);
    p.SetBorderWidth(0);
    p.Gradient()->SetVisible(true);
    p.Gradient()->SetStartColor(clWhite);
    p.Gradient()->SetEndColor(clBlue);
    img = Grab(p);
    QCOMPARE(PixelAt(img, 200, 0), clBlue);
    QCOMPARE(PixelAt(img, 200, 249), clWhite);
    // No colour: nothing fills the window.
    p.Gradient()->SetVisible(false);
    p.SetColor(clNone);
    const QImage bitmap = p.RenderToBitmap(clLime, p.ImageRect());
    QCOMPARE(PixelAt(bitmap, 300, 200), clLime);
    QCOMPARE(PixelAt(bitmap, 50, 40), clRed);
}

void TestPanel::backImageModes()
{
    TTestPanel p;
    p.Content = TRect(); // background only
    p.SetColor(clWhite);
    QImage tile(30, 20, QImage::Format_RGB32);
    tile.fill(Qt::blue);
    tile.setPixel(0, 0, qRgb(255, 0, 0));
    p.BackImage()->SetImage(tile);
    // Stretched over the bounds.
    QImage img = Grab(p);
    QCOMPARE(PixelAt(img, 0, 0), clRed);
    QCOMPARE(PixelAt(img, 200, 125), clBlue);
    QCOMPARE(PixelAt(img, 399, 249), clBlue);
    // Tiled from the top-left at every multiple of its size.
    p.SetBackImageMode(pbmTile);
    img = Grab(p);
    QCOMPARE(CountColor(img, clRed), 14 * 13);
    QCOMPARE(PixelAt(img, 30, 20), clRed);
    QCOMPARE(PixelAt(img, 390, 240), clRed);
    QCOMPARE(PixelAt(img, 31, 20), clBlue);
    // Centred, the rest in the panel colour.
    p.SetBackImageMode(pbmCenter);
    img = Grab(p);
    QCOMPARE(ColorBounds(img, clBlue).united(ColorBounds(img, clRed)), QRect(185, 115, 30, 20));
    QCOMPARE(PixelAt(img, 185, 115), clRed);
    QCOMPARE(PixelAt(img, 10, 10), clWhite);
    // Inside: the image covers the drawing rectangle only.
    p.SetMargins({10, 10, 10, 10});
    p.SetBackImageMode(pbmStretch);
    p.SetBackImageInside(true);
    img = Grab(p);
    QCOMPARE(PixelAt(img, 10, 10), clWhite);
    QCOMPARE(PixelAt(img, 40, 25), clRed);
    QCOMPARE(ColorBounds(img, clBlue).united(ColorBounds(img, clRed)), QRect(40, 25, 320, 200));
    // An empty picture draws nothing.
    p.SetBackImage(nullptr);
    QCOMPARE(CountColor(Grab(p), clBlue), 0);
}

void TestPanel::zoomRectangleLeavesNoPixels()
{
    for (bool buffered : {true, false}) {
        TTestPanel p;
        p.SetColor(clYellow);
        p.SetBufferedDisplay(buffered);
        const QImage before = Grab(p);
        const int draws = p.Draws;
        p.StartZoomRectangle(10, 10);
        p.MoveZoomRectangle(100, 80);
        const QImage during = Grab(p);
        Keep(during, "panel-zoom-rectangle.png");
        // The rectangle shows in the pen's colour (white) over the yellow
        // background and inverted over the content.
        QCOMPARE(PixelAt(during, 60, 10), clWhite);
        QCOMPARE(PixelAt(during, 10, 60), clWhite);
        QCOMPARE(PixelAt(during, 99, 75), clWhite);
        QCOMPARE(PixelAt(during, 60, 79), clWhite);
        QCOMPARE(PixelAt(during, 99, 50), clFuchsia); // not (yellow xor red)
        QCOMPARE(PixelAt(during, 50, 50), clRed);     // inside: the clear brush leaves it
        QCOMPARE(PixelAt(during, 101, 75), clYellow);
        if (buffered)
            QCOMPARE(p.Draws, draws); // the picture itself was not redrawn
        p.MoveZoomRectangle(150, 120);
        QCOMPARE(PixelAt(Grab(p), 99, 50), clRed);
        const TRect r = p.EndZoomRectangle();
        QCOMPARE(r, TRect(10, 10, 150, 120));
        QVERIFY(!p.Zoom()->Active());
        QCOMPARE(Grab(p), before);
    }
    // A filled rectangle: its colour shows over the background.
    TTestPanel p;
    p.SetColor(clWhite);
    p.Zoom()->Pen()->SetColor(clBlack);
    p.Zoom()->Brush()->SetStyle(bsSolid);
    p.Zoom()->Brush()->SetColor(clBlue);
    const QImage before = Grab(p);
    p.StartZoomRectangle(200, 100);
    p.MoveZoomRectangle(300, 200);
    const QImage during = Grab(p);
    QCOMPARE(PixelAt(during, 200, 150), clBlack);
    QCOMPARE(PixelAt(during, 250, 150), clBlue);
    p.EndZoomRectangle();
    QCOMPARE(Grab(p), before);
    // A hatch in the background's own colour would vanish: it shows black.
    p.Zoom()->Brush()->SetStyle(bsCross);
    p.Zoom()->Brush()->SetColor(clWhite);
    p.StartZoomRectangle(200, 100);
    p.MoveZoomRectangle(300, 200);
    QVERIFY(CountColor(Grab(p).copy(202, 102, 96, 96), clBlack) > 500);
    p.EndZoomRectangle();
    QCOMPARE(Grab(p), before);
}

void TestPanel::listenersAndMouse()
{
    TTestPanel p;
    TLog a(QStringLiteral("a")), b(QStringLiteral("b"));
    // No listener: nothing to send, nothing breaks.
    QTest::mouseClick(&p, Qt::LeftButton, {}, QPoint(5, 6));
    p.AddListener(&a);
    p.AddListener(&b);
    p.AddListener(&a); // once only
    QCOMPARE(p.Listeners().Count(), 2);
    p.SetCancelMouse(true);
    QTest::mousePress(&p, Qt::LeftButton, {}, QPoint(5, 6));
    QVERIFY(!p.CancelMouse()); // a press clears it
    QTest::mouseMove(&p, QPoint(7, 8));
    QTest::mouseRelease(&p, Qt::LeftButton, {}, QPoint(9, 10));
    QCOMPARE(a.Seen, QStringList({"a mouse 0 5,6", "a mouse 2 7,8", "a mouse 1 9,10"}));
    QCOMPARE(b.Seen, a.Seen.replaceInStrings(QStringLiteral("a "), QStringLiteral("b ")));
    // A listener that handles a mouse event stops it.
    a.Seen.clear();
    b.Seen.clear();
    a.HandleMouse = true;
    QTest::mousePress(&p, Qt::RightButton, {}, QPoint(1, 2));
    QCOMPARE(a.Seen.size(), 1);
    QVERIFY(b.Seen.isEmpty());
    // Other events reach everyone.
    p.SetView3D(false);
    QCOMPARE(a.Seen.last(), QStringLiteral("a 3d"));
    QCOMPARE(b.Seen.last(), QStringLiteral("b 3d"));
    p.RemoveListener(&a);
    p.RemoveListener(&b);
    QVERIFY(p.Listeners().IsEmpty());

    // Moves are not sent while a component is designed.
    TTestDiagram d;
    TLog c(QStringLiteral("c"));
    d.AddListener(&c);
    d.SetDesigning(true);
    QTest::mouseMove(&d, QPoint(3, 3));
    QTest::mousePress(&d, Qt::LeftButton, {}, QPoint(4, 4));
    QCOMPARE(c.Seen, QStringList({"c mouse 0 4,4"}));
    d.RemoveListener(&c);
}

void TestPanel::mouseNamesOfQtInput_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("mods");
    QTest::addColumn<int>("held");
    QTest::addColumn<int>("expectedButton");
    QTest::addColumn<TShiftState>("expectedShift");
    QTest::newRow("plain left") << int(Qt::LeftButton) << 0 << int(Qt::LeftButton) << int(mbLeft)
                                << SetBit(ssLeft);
    QTest::newRow("right with shift") << int(Qt::RightButton) << int(Qt::ShiftModifier) << int(Qt::RightButton)
                                      << int(mbRight) << (SetBit(ssShift) | SetBit(ssRight));
    QTest::newRow("middle with ctrl and alt")
        << int(Qt::MiddleButton) << int(Qt::ControlModifier | Qt::AltModifier) << int(Qt::MiddleButton)
        << int(mbMiddle) << (SetBit(ssCtrl) | SetBit(ssAlt) | SetBit(ssMiddle));
    QTest::newRow("back button counts as left") << int(Qt::BackButton) << 0 << 0 << int(mbLeft) << TShiftState(0);
    QTest::newRow("keys alone") << int(Qt::NoButton) << int(Qt::ShiftModifier | Qt::ControlModifier) << 0
                                << int(mbLeft) << (SetBit(ssShift) | SetBit(ssCtrl));
    QTest::newRow("all buttons held, keypad ignored")
        << int(Qt::LeftButton) << int(Qt::KeypadModifier)
        << int(Qt::LeftButton | Qt::RightButton | Qt::MiddleButton) << int(mbLeft)
        << (SetBit(ssLeft) | SetBit(ssRight) | SetBit(ssMiddle));
}

void TestPanel::mouseNamesOfQtInput()
{
    QFETCH(int, button);
    QFETCH(int, mods);
    QFETCH(int, held);
    QFETCH(int, expectedButton);
    QFETCH(TShiftState, expectedShift);
    QCOMPARE(int(ButtonOf(Qt::MouseButton(button))), expectedButton);
    QCOMPARE(ShiftOf(Qt::KeyboardModifiers(mods), Qt::MouseButtons(held)), expectedShift);
    // Without buttons only the keys count.
    QCOMPARE(ShiftOf(Qt::KeyboardModifiers(mods)),
             expectedShift & ~(SetBit(ssLeft) | SetBit(ssRight) | SetBit(ssMiddle)));
}

void TestPanel::panningFollowsAllowedDirections()
{
    TTestPanel p;
    int scrolls = 0;
    p.OnScroll = [&](TObject *) { ++scrolls; };
    QVERIFY(!p.PanTo(5, 5)); // not started
    p.StartPanning(100, 100);
    QVERIFY(p.PanTo(110, 95));
    QCOMPARE(p.View3DOptions()->HorizOffset(), 10);
    QCOMPARE(p.View3DOptions()->VertOffset(), -5);
    QCOMPARE(scrolls, 2);
    p.SetAllowPanning(pmHorizontal);
    p.PanTo(120, 120);
    QCOMPARE(p.View3DOptions()->HorizOffset(), 20);
    QCOMPARE(p.View3DOptions()->VertOffset(), -5);
    p.SetAllowPanning(pmVertical);
    p.PanTo(130, 130);
    QCOMPARE(p.View3DOptions()->HorizOffset(), 20);
    QCOMPARE(p.View3DOptions()->VertOffset(), 5);
    p.SetAllowPanning(pmNone);
    QVERIFY(!p.PanTo(200, 200));
    // Leaving the window stops panning.
    QVERIFY(p.Panning().Active());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&p, &leave);
    QVERIFY(!p.Panning().Active());
    p.StartPanning(0, 0);
    p.StopPanning();
    QVERIFY(!p.Panning().Active());
    // Undoing a zoom.
    int undone = 0;
    p.OnUndoZoom = [&](TObject *) { ++undone; };
    p.SetZoomed(true);
    p.UndoZoom();
    QCOMPARE(undone, 1);
    QVERIFY(!p.Zoomed());
}

void TestPanel::canvasReplacement()
{
    TTestPanel p;
    p.SetMonochrome(true);
    TKorCanvas3D *own = p.Canvas();
    auto other = std::make_unique<TKorCanvas3D>();
    TKorCanvas3D *otherPtr = other.get();
    std::unique_ptr<TKorCanvas3D> back = p.ReplaceCanvas(std::move(other));
    QCOMPARE(back.get(), own);
    QCOMPARE(p.Canvas(), otherPtr);
    QVERIFY(p.Canvas()->Monochrome()); // takes the old one's setting
    p.SetCanvas(std::move(back));
    QCOMPARE(p.Canvas(), own);
    p.SetCanvas(nullptr); // refused
    QCOMPARE(p.Canvas(), own);
}

void TestPanel::publishedDeclarations()
{
    TTestDiagram d;
    QStringList stored;
    for (const TPropInfo &prop : d.ClassInfo().Properties())
        if (prop.IsStored(d))
            stored << prop.Name;
    QCOMPARE(stored, QStringList({"Left", "Top", "Width", "Height", "View3DOptions", "Zoom"}));
    for (const char *name : {"AllowPanning", "BackImage", "BackImageMode", "BevelOuter", "BufferedDisplay", "Color",
                             "Gradient", "Monochrome", "PrintProportional", "OnZoom", "OnScroll", "OnUndoZoom",
                             "AllowZoom", "AnimatedZoom", "AnimatedZoomSteps", "Align", "Visible"})
        QVERIFY2(d.ClassInfo().FindProperty(QLatin1String(name)), name);
    SetPropText(d, QStringLiteral("AllowPanning"), QStringLiteral("pmVertical"));
    QCOMPARE(d.AllowPanning(), pmVertical);
    SetPropText(d, QStringLiteral("Color"), QStringLiteral("clYellow"));
    QCOMPARE(d.Color(), clYellow);
    SetPropText(d, QStringLiteral("View3DOptions.Zoom"), QStringLiteral("150"));
    QCOMPARE(d.View3DOptions()->Zoom(), 150);
    SetPropText(d, QStringLiteral("Gradient.Visible"), QStringLiteral("True"));
    QVERIFY(d.PeekGradient() && d.PeekGradient()->Visible());
    SetPropText(d, QStringLiteral("Zoom.Pen.Color"), QStringLiteral("clRed"));
    QCOMPARE(d.Zoom()->Pen()->Color(), clRed);
    SetPropText(d, QStringLiteral("BufferedDisplay"), QStringLiteral("False"));
    QVERIFY(!d.BufferedDisplay());
    SetPropText(d, QStringLiteral("Width"), QStringLiteral("321"));
    QCOMPARE(d.width(), 321);
    // Old files: read into Zoom, never written.
    SetPropText(d, QStringLiteral("AllowZoom"), QStringLiteral("False"));
    SetPropText(d, QStringLiteral("AnimatedZoom"), QStringLiteral("True"));
    SetPropText(d, QStringLiteral("AnimatedZoomSteps"), QStringLiteral("3"));
    QVERIFY(!d.Zoom()->Allow());
    QVERIFY(d.Zoom()->Animated());
    QCOMPARE(d.Zoom()->AnimatedSteps(), 3);
    stored.clear();
    for (const TPropInfo &prop : d.ClassInfo().Properties())
        if (prop.IsStored(d))
            stored << prop.Name;
    QVERIFY(!stored.contains(QStringLiteral("AllowZoom")));
    QVERIFY(!stored.contains(QStringLiteral("AnimatedZoomSteps")));
    QVERIFY(stored.contains(QStringLiteral("AllowPanning")));
    QVERIFY(stored.contains(QStringLiteral("Gradient")));
    QCOMPARE(d.DocumentTitle(), QStringLiteral("TestPanel"));
    d.SetName(QStringLiteral("Tree1"));
    QCOMPARE(d.DocumentTitle(), QStringLiteral("Tree1"));
    // Notify events carry the component.
    TObject *sender = nullptr;
    d.OnUndoZoom = [&](TObject *s) { sender = s; };
    d.UndoZoom();
    QCOMPARE(sender, static_cast<TObject *>(&d));
}

namespace {

QByteArray Short(const QByteArray &s)
{
    return char(s.size()) + s;
}

QByteArray WriteDiagram(TTestDiagram &d)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    TWriter writer(out);
    writer.WriteRootComponent(d);
    writer.FlushBuffer();
    return out.data();
}

void ReadDiagram(const QByteArray &stream, TTestDiagram &d)
{
    QBuffer in;
    in.setData(stream);
    in.open(QIODevice::ReadOnly);
    TReader reader(in);
    reader.ReadSignature();
    reader.ReadRootComponent(d);
}

} // namespace

void TestPanel::printMarginsInFiles()
{
    TTestDiagram d;
    d.SetName(QStringLiteral("Tree1"));
    QVERIFY(!WriteDiagram(d).contains("PrintMargins"));

    // A list of four integers: left, top, right, bottom.
    d.SetPrintMargins({10, 15, 20, 25});
    const QByteArray stream = WriteDiagram(d);
    QVERIFY(stream.contains(Short("PrintMargins") + QByteArray::fromHex("01020A020F021402190000")));
    TTestDiagram copy;
    ReadDiagram(stream, copy);
    QCOMPARE(copy.PrintMargins(), (TPanelMargins{10, 15, 20, 25}));

    // Any other number of values is refused and leaves the margins alone.
    QByteArray three = stream;
    three.replace(QByteArray::fromHex("01020A020F02140219"), QByteArray::fromHex("01020A020F0214"));
    TTestDiagram other;
    QVERIFY_THROWS_EXCEPTION(Exception, ReadDiagram(three, other));
    QCOMPARE(other.PrintMargins(), TCustomKorPanel::DefaultPrintMargins());
}

void TestPanel::proportionalMarginArithmetic()
{
    const TPanelMargins keep{15, 15, 15, 15};
    // A landscape picture 800 x 400 on a 4800 x 6600 page: 15 at the sides,
    // round((6600 - 0.6 x 4800 x 0.5) x 100 / 6600) div 2 = 39 at top and
    // bottom.
    QCOMPARE(TCustomKorPanel::ProportionalMargins(keep, 800, 400, 4800, 6600, 1.0), (TPanelMargins{15, 39, 15, 39}));
    // Portrait: round((4800 - 0.6 x 6600 x 0.5) x 100 / 4800) = 59, div 2.
    QCOMPARE(TCustomKorPanel::ProportionalMargins(keep, 400, 800, 4800, 6600, 1.0), (TPanelMargins{29, 15, 29, 15}));
    // Square pictures take the portrait branch: 17.5 rounds to even 18.
    QCOMPARE(TCustomKorPanel::ProportionalMargins(keep, 500, 500, 4800, 6600, 1.0), (TPanelMargins{9, 15, 9, 15}));
    // The aspect correction widens the picture.
    QCOMPARE(TCustomKorPanel::ProportionalMargins(keep, 800, 400, 4800, 6600, 2.0), (TPanelMargins{15, 28, 15, 28}));
    // Nothing to keep in proportion: the margins stay.
    const TPanelMargins odd{1, 2, 3, 4};
    QCOMPARE(TCustomKorPanel::ProportionalMargins(odd, 0, 400, 4800, 6600, 1.0), odd);
    QCOMPARE(TCustomKorPanel::ProportionalMargins(odd, 400, 0, 4800, 6600, 1.0), odd);
    QCOMPARE(TCustomKorPanel::ProportionalMargins(odd, 400, 300, 0, 0, 1.0), odd);
    // A picture wider than the page allows: no negative margins.
    QCOMPARE(TCustomKorPanel::ProportionalMargins(keep, 1000, 999, 10000, 1000, 1.0).Top, 0);
    // Margins to a rectangle of printer pixels.
    QCOMPARE(TCustomKorPanel::MarginRect({15, 39, 15, 39}, 4800, 6600), TRect(720, 2574, 4080, 4026));
    QCOMPARE(TCustomKorPanel::MarginRect({0, 0, 0, 0}, 4800, 6600), TRect(0, 0, 4800, 6600));
}

void TestPanel::printOnCanvasMapping()
{
    TTestPanel p;
    auto print = [&](int resolution, const TRect &target) {
        p.SetPrintResolution(resolution);
        QImage page(800, 500, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        p.PrintOnCanvas(&painter, target);
        return page;
    };
    p.SetColor(clYellow);
    // The image rectangle fills the target; no background colour on paper.
    QImage page = print(0, TRect(100, 50, 500, 300));
    QCOMPARE(ColorBounds(page, clRed), QRect(120, 70, 100, 50));
    QCOMPARE(CountColor(page, clYellow), 0);
    QVERIFY(!p.Printing());
    // Twice the size.
    page = print(0, TRect(0, 0, 800, 500));
    QCOMPARE(ColorBounds(page, clRed), QRect(40, 40, 200, 100));
    // Resolution 20: a logical size of 80 %, the picture 25 % larger.
    page = print(20, TRect(0, 0, 400, 250));
    QCOMPARE(ColorBounds(page, clRed), QRect(25, 25, 125, 63));
    // Resolution -100: twice the logical size, half the picture.
    page = print(-100, TRect(0, 0, 400, 250));
    QCOMPARE(ColorBounds(page, clRed), QRect(10, 10, 50, 25));
    // Nothing to map: nothing drawn, no failure.
    QCOMPARE(InkBounds(print(0, TRect(100, 100, 100, 300))), QRect());
    QCOMPARE(InkBounds(print(100, TRect(0, 0, 400, 250))), QRect());
    // Text keeps its size relative to the drawing.
    p.Text = QStringLiteral("Printed text");
    const int screenWidth = ColorBounds(print(0, TRect(0, 0, 400, 250)), clBlue).width();
    const int paperWidth = ColorBounds(print(0, TRect(0, 0, 800, 500)), clBlue).width();
    QVERIFY(screenWidth > 40);
    QVERIFY2(std::abs(paperWidth - 2 * screenWidth) <= screenWidth / 8,
             qPrintable(QStringLiteral("%1 against %2").arg(paperWidth).arg(screenWidth)));
    p.Text.clear();
    // Drawing stays inside the target rectangle.
    p.Content = TRect(-50, -50, 1000, 1000);
    page = print(0, TRect(100, 50, 500, 300));
    QCOMPARE(ColorBounds(page, clRed), QRect(100, 50, 400, 250));
}

void TestPanel::renderedBitmaps()
{
    TTestPanel p;
    p.SetColor(clNone); // the bitmap's own background shows
    QImage img = p.RenderToBitmap(clWhite, p.ImageRect());
    QCOMPARE(img.size(), QSize(400, 250));
    QCOMPARE(img.format(), QImage::Format_RGB32);
    QCOMPARE(PixelAt(img, 300, 200), clWhite);
    QCOMPARE(ColorBounds(img, clRed), QRect(20, 20, 100, 50));
    img = p.RenderToBitmap(clYellow, p.ImageRect());
    QCOMPARE(PixelAt(img, 300, 200), clYellow);
    // A rectangle further down shows that part (a second page).
    p.Content = TRect(20, 270, 120, 320);
    img = p.RenderToBitmap(clWhite, TRect(0, 250, 400, 500));
    QCOMPARE(ColorBounds(img, clRed), QRect(20, 20, 100, 50));
    p.Content = TRect(20, 20, 120, 70);
    // Every pixel format.
    const std::pair<TPixelFormat, QImage::Format> formats[] = {
        {pfDevice, QImage::Format_RGB32},   {pf1bit, QImage::Format_Mono},   {pf4bit, QImage::Format_Indexed8},
        {pf8bit, QImage::Format_Indexed8},  {pf15bit, QImage::Format_RGB555}, {pf16bit, QImage::Format_RGB16},
        {pf24bit, QImage::Format_RGB888},   {pf32bit, QImage::Format_RGB32}};
    for (const auto &[format, qformat] : formats) {
        img = p.RenderToBitmap(clWhite, TRect(0, 0, 200, 100), format);
        QCOMPARE(img.format(), qformat);
        QCOMPARE(img.size(), QSize(200, 100));
        const QColor inside(img.pixel(50, 40));
        const QColor outside(img.pixel(150, 80));
        QVERIFY(inside != outside);
        QCOMPARE(outside, QColor(Qt::white));
        if (format == pf4bit)
            QVERIFY(img.colorCount() <= 16);
    }
    // An empty rectangle gives no bitmap.
    QVERIFY(p.RenderToBitmap(clWhite, TRect(5, 5, 5, 50)).isNull());

    // Rendering leaves the screen's buffering and projection as they were.
    TTestPanel s;
    s.View3DOptions()->SetHorizOffset(7);
    Grab(s);
    const TPoint projected = s.Canvas()->ProjectPoint(10, 10, 0);
    s.RenderToBitmap(clWhite, TRect(0, 0, 50, 50));
    QVERIFY(s.BufferedDisplay());
    QCOMPARE(s.Canvas()->ProjectPoint(10, 10, 0), projected);
    QCOMPARE(s.DrawingBounds(), TRect(0, 0, 400, 250));
    QVERIFY(s.Canvas()->Dirty());

    // A picture of the image rectangle in the panel colour.
    TTestPanel q;
    q.SetColor(clAqua);
    TPicture picture;
    q.AssignToPicture(&picture);
    QCOMPARE(picture.Image().size(), QSize(400, 250));
    QCOMPARE(PixelAt(picture.Image(), 300, 200), clAqua);
}

void TestPanel::metafileAndClipboard()
{
    TTestPanel p;
    p.SetColor(clYellow);
    std::unique_ptr<TKorMetafile> mf = p.RenderToMetafile(true, p.ImageRect());
    QVERIFY(mf->Enhanced());
    QCOMPARE(mf->Width(), 400);
    QCOMPARE(mf->Height(), 250);
    bool sawContent = false;
    for (const TCanvasCall &c : mf->Records())
        if (c.Name == QLatin1String("ProjectedRectangle") && c.Ints == std::vector<int>{20, 20, 120, 70, 0})
            sawContent = true;
    QVERIFY(sawContent);
    QVERIFY(!mf->Records().empty());
    QCOMPARE(mf->Records().front().Name, QStringLiteral("StartDrawing"));
    // Played back at half size.
    QImage played(200, 125, QImage::Format_RGB32);
    played.fill(Qt::white);
    {
        QPainter painter(&played);
        mf->Play(&painter, TRect(0, 0, 200, 125));
    }
    QCOMPARE(PixelAt(played, 30, 20), clRed);
    QCOMPARE(PixelAt(played, 150, 100), clYellow);
    // The panel has its own canvas back.
    QVERIFY(!dynamic_cast<TRecordingCanvas *>(p.Canvas()));
    // Zero-sized requests give 1 x 1 metafiles.
    std::unique_ptr<TKorMetafile> tiny = p.RenderToMetafile(false, TRect(3, 3, 3, 3));
    QVERIFY(!tiny->Enhanced());
    QCOMPARE(tiny->Width(), 1);
    QCOMPARE(tiny->Height(), 1);

    p.CopyImageToClipboard();
    const QImage clip = QApplication::clipboard()->image();
    QCOMPARE(clip.size(), QSize(400, 250));
    QCOMPARE(PixelAt(clip.convertToFormat(QImage::Format_RGB32), 50, 40), clRed);
}

void TestPanel::printingToPdf()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString pdf = dir.filePath(QStringLiteral("panel.pdf"));
    TTestPanel p;
    p.SetColor(clYellow);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setResolution(300);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    const int pw = printer.width();
    const int ph = printer.height();
    p.PrintWhole(printer);
    // Landscape picture on a portrait page: 15 at the sides.
    const TPanelMargins expected = TCustomKorPanel::ProportionalMargins({15, 15, 15, 15}, 400, 250, pw, ph, 1.0);
    QCOMPARE(p.PrintMargins(), expected);
    QCOMPARE(p.PrintMargins().Left, 15);
    QVERIFY(QFileInfo(pdf).size() > 0);

    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        QSKIP("pdftoppm is not installed");
    QProcess run;
    run.start(pdftoppm, {QStringLiteral("-r"), QStringLiteral("30"), QStringLiteral("-png"), QStringLiteral("-singlefile"),
                         pdf, dir.filePath(QStringLiteral("panel"))});
    QVERIFY(run.waitForFinished(30000));
    QCOMPARE(run.exitCode(), 0);
    const QImage page = QImage(dir.filePath(QStringLiteral("panel.png"))).convertToFormat(QImage::Format_RGB32);
    QVERIFY(!page.isNull());
    Keep(page, "panel-printed.png");
    // Where the content should be, in page pixels at 30 dpi.
    const TRect r = TCustomKorPanel::MarginRect(expected, pw, ph);
    const double s = 30.0 / 300.0;
    auto mapX = [&](int x) { return (r.Left + x * r.Width() / 400.0) * s; };
    auto mapY = [&](int y) { return (r.Top + y * r.Height() / 250.0) * s; };
    const QRect red = BoundsWhere(page, [](QRgb c) { return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60; });
    QVERIFY(!red.isEmpty());
    QVERIFY2(std::abs(red.left() - mapX(20)) <= 1.5 && std::abs(red.right() + 1 - mapX(120)) <= 1.5 &&
                 std::abs(red.top() - mapY(20)) <= 1.5 && std::abs(red.bottom() + 1 - mapY(70)) <= 1.5,
             qPrintable(QStringLiteral("red at %1,%2 %3x%4").arg(red.x()).arg(red.y()).arg(red.width()).arg(red.height())));
    // No background colour on paper.
    const QRect yellow = BoundsWhere(page, [](QRgb c) { return qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) < 60; });
    QVERIFY(yellow.isEmpty());
}

void TestPanel::printingErrorsAbort()
{
    QTemporaryDir dir;
    TTestPanel p;
    p.Fail = true;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("failed.pdf")));
    QVERIFY_THROWS_EXCEPTION(Exception, p.PrintWhole(printer));
    QVERIFY(!p.Printing());
    QCOMPARE(p.Canvas()->ClipDepth(), 0);
    QVERIFY(p.BufferedDisplay());
    // A printer that cannot start.
    QPrinter broken(QPrinter::HighResolution);
    broken.setOutputFormat(QPrinter::PdfFormat);
    broken.setOutputFileName(QStringLiteral("/nonexistent-folder/x.pdf"));
    p.Fail = false;
    QVERIFY_THROWS_EXCEPTION(EPrinter, p.PrintWhole(broken));
}

QTEST_MAIN(TestPanel)
#include "tst_panel.moc"
