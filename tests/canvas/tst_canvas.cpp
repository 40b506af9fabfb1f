// The canvas on images: pixel extents of every primitive, pens (styles,
// inside frame, small dots, end styles, raster modes, visibility), brushes
// (hatches, gaps, patterns), text (shadow, outline, zoom, rotation),
// projection, clipping and the off-screen buffer.

#include "CanvasTestUtil.h"

#include "canvas/RecordingCanvas.h"
#include "core/Rounding.h"

#include <QtTest>
#include <cmath>

class TestCanvas : public QObject
{
    Q_OBJECT
private slots:
    void rectangleEllipseAndFillExtents();
    void shapesBeyondTheIntRange();
    void lineStopsShortOfItsEnd();
    void bevelFrame();
    void insideFrameStaysInside();
    void smallDotsWhateverTheWidth();
    void endStylesOfWidePens();
    void invisiblePenDrawsNothing();
    void rasterModesUndoThemselves();
    void realisingPenBrushAndFont();
    void hatchGapsAndPatternBrushes();
    void textShadowOnBothSides();
    void outlinedAndGradientText();
    void zoomedText();
    void rotatedTextAngles();
    void textAlignment();
    void orthogonalProjectionRoundTrips();
    void orthoAngleSlope();
    void projectionAtAnyZoomAndOffset();
    void rotatedProjectionRoundTrips();
    void suspendedProjection();
    void nestedClipsRestore();
    void offScreenBuffer();
    void recordingCanvasLogsNestedOperations();
    void ringSectorsAndArrows();
    void picturesAndMissingGraphics();
    void japaneseSystemFontDefaults();
    void testPicture();
};

void TestCanvas::rectangleEllipseAndFillExtents()
{
    TImageCanvas t;
    TKorCanvas3D &c = t.Canvas;
    c.Brush().SetColor(clRed);
    c.Rectangle(10, 10, 20, 16);
    c.Ellipse(30, 10, 40, 16);
    c.Brush().SetColor(clBlue);
    c.FillRect(TRect(50, 10, 60, 16));
    c.Rectangle(79, 25, 70, 15); // corners in any order
    const QImage &img = t.End();

    // Rectangle: outline on L and R-1, T and B-1, filled inside.
    QCOMPARE(InkBounds(img.copy(0, 0, 25, 60)), QRect(QPoint(10, 10), QPoint(19, 15)));
    QCOMPARE(PixelAt(img, 10, 10), clBlack);
    QCOMPARE(PixelAt(img, 19, 15), clBlack);
    QCOMPARE(PixelAt(img, 11, 11), clRed);
    QCOMPARE(PixelAt(img, 18, 14), clRed);
    // Ellipse: the same box.
    QCOMPARE(InkBounds(img.copy(25, 0, 20, 60)).translated(25, 0), QRect(QPoint(30, 10), QPoint(39, 15)));
    QCOMPARE(PixelAt(img, 35, 13), clRed);
    // FillRect: the same pixels, no outline.
    QCOMPARE(ColorBounds(img.copy(0, 0, 65, 60), clBlue), QRect(QPoint(50, 10), QPoint(59, 15)));
    QCOMPARE(CountColor(img.copy(45, 0, 20, 60), clBlue), 60);
    QCOMPARE(InkBounds(img.copy(65, 0, 35, 60)).translated(65, 0), QRect(QPoint(70, 15), QPoint(78, 24)));

    // Without a pen the fill alone covers the box.
    TImageCanvas u;
    u.Canvas.Pen().SetStyle(psClear);
    u.Canvas.Brush().SetColor(clGreen);
    u.Canvas.Rectangle(10, 10, 20, 16);
    u.Canvas.Ellipse(30, 10, 40, 16);
    u.Canvas.RoundRect(50, 10, 70, 30, 8, 8);
    const QImage &v = u.End();
    QCOMPARE(ColorBounds(v.copy(0, 0, 25, 60), clGreen), QRect(QPoint(10, 10), QPoint(19, 15)));
    QCOMPARE(CountColor(v.copy(0, 0, 25, 60), clGreen), 60);
    QCOMPARE(ColorBounds(v.copy(25, 0, 20, 60), clGreen).translated(25, 0), QRect(QPoint(30, 10), QPoint(39, 15)));
    QCOMPARE(ColorBounds(v.copy(45, 0, 55, 60), clGreen).translated(45, 0), QRect(QPoint(50, 10), QPoint(69, 29)));
    QCOMPARE(PixelAt(v, 50, 10), clWhite); // rounded corner
}

void TestCanvas::shapesBeyondTheIntRange()
{
    // Shapes from the far left to the far right of the int range (a node
    // projected at a huge zoom saturates there) draw what shows of them.
    const TRect big(INT_MIN + 1, INT_MIN + 1, INT_MAX, INT_MAX);
    auto all = [](const QImage &img, TColor color) { return CountColor(img, color) == img.width() * img.height(); };
    {
        TImageCanvas t(40, 30);
        t.Canvas.Brush().SetColor(clRed);
        t.Canvas.FillRect(big);
        QVERIFY(all(t.End(), clRed));
    }
    {
        TImageCanvas t(40, 30);
        t.Canvas.Brush().SetColor(clRed);
        t.Canvas.Pen().SetWidth(3);
        t.Canvas.Rectangle(big.Left, big.Top, big.Right, big.Bottom);
        QVERIFY(all(t.End(), clRed));
    }
    {
        TImageCanvas t(40, 30);
        t.Canvas.Brush().SetColor(clRed);
        t.Canvas.RoundRect(big.Left, big.Top, big.Right, big.Bottom, 10, 10);
        t.Canvas.ClipToRect(big);
        t.Canvas.Brush().SetColor(clBlue);
        t.Canvas.FillRect(TRect(0, 0, 20, 30));
        t.Canvas.RemoveClip();
        const QImage &img = t.End();
        QCOMPARE(CountColor(img, clBlue), 20 * 30);
        QCOMPARE(CountColor(img, clRed), 20 * 30);
    }
    {
        // A line through the picture, a bevel and a filled arrow around it.
        TImageCanvas t(40, 30);
        t.Canvas.Line(INT_MIN + 1, 10, INT_MAX, 10);
        QCOMPARE(ColorBounds(t.Image, clBlack), QRect(0, 10, 40, 1));
        t.Canvas.BevelFrame(big, clRed, clBlue, 2);
        t.Canvas.Brush().SetColor(clRed);
        t.Canvas.ProjectedArrow(true, TPoint(INT_MIN + 1, 20), TPoint(INT_MAX, 20), 8, 8, 0);
        QCOMPARE(PixelAt(t.End(), 5, 20), clRed);
    }
    {
        // A ring sector and a box reaching the ends of the range: the box
        // keeps its front face (the back one turns away).
        TRecordingCanvas c;
        c.RingSector(0, 0, INT_MAX, INT_MAX, 0.0, 3.0, 50);
        QCOMPARE(c.Count("Polygon"), 1);
        c.Cube(big, 0, 10, true);
        const std::vector<int> front{big.Left, big.Top, big.Right, big.Top, big.Right, big.Bottom, big.Left, big.Bottom};
        QVERIFY(c.Has("Polygon", front));
        QVERIFY(!c.Has("Polygon", {big.Right, big.Top, big.Left, big.Top, big.Left, big.Bottom, big.Right, big.Bottom}));
    }
}

void TestCanvas::lineStopsShortOfItsEnd()
{
    TImageCanvas t;
    TKorCanvas3D &c = t.Canvas;
    c.MoveTo(10, 5);
    c.LineTo(20, 5); // right
    c.LineTo(20, 15); // down, from where the last one stopped
    c.Segment(40, 20, 30, 20); // left
    c.Segment(50, 30, 50, 20); // up
    c.Segment(60, 10, 70, 20); // diagonal
    c.Segment(80, 10, 80, 10); // nothing
    QCOMPARE(c.PenPos(), TPoint(80, 10));
    const QImage &img = t.End();
    QCOMPARE(PixelAt(img, 10, 5), clBlack);
    QCOMPARE(PixelAt(img, 19, 5), clBlack);
    QCOMPARE(PixelAt(img, 20, 5), clBlack); // start of the second line
    QCOMPARE(PixelAt(img, 20, 14), clBlack);
    QCOMPARE(PixelAt(img, 20, 15), clWhite);
    QCOMPARE(PixelAt(img, 21, 5), clWhite);
    QCOMPARE(PixelAt(img, 40, 20), clBlack);
    QCOMPARE(PixelAt(img, 31, 20), clBlack);
    QCOMPARE(PixelAt(img, 30, 20), clWhite);
    QCOMPARE(PixelAt(img, 50, 30), clBlack);
    QCOMPARE(PixelAt(img, 50, 21), clBlack);
    QCOMPARE(PixelAt(img, 50, 20), clWhite);
    for (int i = 0; i < 10; ++i)
        QCOMPARE(PixelAt(img, 60 + i, 10 + i), clBlack);
    QCOMPARE(PixelAt(img, 70, 20), clWhite);
    QCOMPARE(PixelAt(img, 80, 10), clWhite);
    QCOMPARE(CountColor(img, clBlack), 10 + 10 + 10 + 10 + 10);
}

void TestCanvas::bevelFrame()
{
    TImageCanvas t;
    t.Canvas.BevelFrame(TRect(10, 10, 20, 20), clWhite - 1, clGray, 2);
    const QImage &img = t.End();
    const TColor top = clWhite - 1;
    QCOMPARE(InkBounds(img), QRect(QPoint(10, 10), QPoint(19, 19)));
    QCOMPARE(PixelAt(img, 10, 10), top);
    QCOMPARE(PixelAt(img, 18, 10), top);
    QCOMPARE(PixelAt(img, 10, 18), top);
    QCOMPARE(PixelAt(img, 19, 10), clGray);
    QCOMPARE(PixelAt(img, 19, 19), clGray);
    QCOMPARE(PixelAt(img, 10, 19), clGray);
    // Second pass one pixel in.
    QCOMPARE(PixelAt(img, 11, 11), top);
    QCOMPARE(PixelAt(img, 18, 18), clGray);
    QCOMPARE(PixelAt(img, 12, 12), clWhite);
    QCOMPARE(t.Canvas.Pen().Width(), 1);
}

void TestCanvas::insideFrameStaysInside()
{
    TImageCanvas t;
    TKorCanvas3D &c = t.Canvas;
    TChartPen pen;
    pen.SetWidth(5);
    pen.SetStyle(psInsideFrame);
    c.AssignPen(&pen, clBlue);
    c.Brush().SetColor(clYellow);
    c.Rectangle(10, 10, 40, 30);
    c.Ellipse(50, 10, 80, 30);
    pen.SetStyle(psSolid);
    c.AssignPen(&pen, clBlue);
    c.Rectangle(10, 40, 40, 55);
    const QImage &img = t.End();
    QCOMPARE(InkBounds(img.copy(0, 0, 45, 35)), QRect(QPoint(10, 10), QPoint(39, 29)));
    QCOMPARE(PixelAt(img, 14, 20), clBlue);
    QCOMPARE(PixelAt(img, 15, 20), clYellow);
    QCOMPARE(PixelAt(img, 35, 20), clBlue);
    QCOMPARE(PixelAt(img, 34, 20), clYellow);
    QCOMPARE(PixelAt(img, 25, 10), clBlue);
    QCOMPARE(PixelAt(img, 25, 29), clBlue);
    QCOMPARE(InkBounds(img.copy(45, 0, 55, 35)).translated(45, 0), QRect(QPoint(50, 10), QPoint(79, 29)));
    // A centred wide pen reaches two pixels beyond the box on each side.
    QCOMPARE(InkBounds(img.copy(0, 36, 45, 24)).translated(0, 36), QRect(QPoint(8, 38), QPoint(41, 56)));
}

void TestCanvas::smallDotsWhateverTheWidth()
{
    for (int width : {1, 5}) {
        TImageCanvas t;
        TChartPen pen;
        pen.SetWidth(width);
        pen.SetStyle(psDash);
        pen.SetSmallDots(true);
        t.Canvas.AssignPen(&pen, clRed);
        t.Canvas.Segment(10, 20, 31, 20);
        t.Canvas.Segment(50, 10, 50, 31);
        const QImage &img = t.End();
        for (int i = 0; i < 21; ++i) {
            QCOMPARE(PixelAt(img, 10 + i, 20), i % 2 ? clWhite : clRed);
            QCOMPARE(PixelAt(img, 50, 10 + i), i % 2 ? clWhite : clRed);
        }
        QCOMPARE(CountColor(img, clRed), 22);
        QCOMPARE(PixelAt(img, 10, 19), clWhite);
        QCOMPARE(PixelAt(img, 10, 21), clWhite);
    }
}

void TestCanvas::endStylesOfWidePens()
{
    // Width 3: square ends reach 1 pixel beyond both end points, flat ends
    // stop at them; width 1 with a flat end is a plain one-pixel line.
    auto draw = [](int width, TPenEndStyle end) {
        TImageCanvas t;
        TChartPen pen;
        pen.SetWidth(width);
        pen.SetEndStyle(end);
        t.Canvas.AssignPen(&pen);
        t.Canvas.Segment(20, 20, 40, 20);
        return t.End().copy();
    };
    QCOMPARE(InkBounds(draw(3, esSquare)), QRect(QPoint(19, 19), QPoint(41, 21)));
    QCOMPARE(InkBounds(draw(3, esFlat)), QRect(QPoint(20, 19), QPoint(39, 21)));
    const QRect round = InkBounds(draw(3, esRound));
    QCOMPARE(round.top(), 19);
    QCOMPARE(round.bottom(), 21);
    QVERIFY(round.left() < 20);
    QCOMPARE(draw(1, esFlat), draw(1, esRound));
    QCOMPARE(InkBounds(draw(1, esFlat)), QRect(QPoint(20, 20), QPoint(39, 20)));
}

void TestCanvas::invisiblePenDrawsNothing()
{
    TImageCanvas t;
    TChartPen pen;
    pen.SetWidth(5);
    pen.SetColor(clRed);
    pen.SetVisible(false);
    t.Canvas.Pen().SetColor(clGreen);
    t.Canvas.AssignPen(&pen);
    QCOMPARE(t.Canvas.Pen().Style(), psClear);
    QCOMPARE(t.Canvas.Pen().Color(), clGreen); // nothing else changes
    t.Canvas.Brush().SetStyle(bsClear);
    t.Canvas.Segment(10, 10, 50, 40);
    t.Canvas.Rectangle(20, 20, 60, 50);
    t.Canvas.Ellipse(20, 20, 60, 50);
    t.Canvas.Polygon({TPoint(5, 5), TPoint(50, 5), TPoint(30, 40)});
    t.Canvas.Arc(20, 20, 60, 50, 60, 35, 20, 35);
    QCOMPARE(InkBounds(t.End()), QRect());
}

void TestCanvas::rasterModesUndoThemselves()
{
    TImageCanvas t;
    TKorCanvas3D &c = t.Canvas;
    c.Brush().SetColor(clAqua);
    c.Rectangle(5, 5, 60, 40);
    const QImage before = t.Image.copy();
    c.Pen().SetMode(pmNotXor);
    c.Pen().SetColor(clRed);
    c.Brush().SetStyle(bsClear);
    c.Rectangle(20, 20, 80, 50);
    QVERIFY(t.Image != before);
    QCOMPARE(PixelAt(t.Image, 70, 20), RGBColor(255, 0, 0)); // not (red xor white)
    c.Rectangle(20, 20, 80, 50);
    QCOMPARE(t.Image, before);
    c.Pen().SetMode(pmXor);
    c.Segment(0, 30, 90, 30);
    c.Segment(0, 30, 90, 30);
    QCOMPARE(t.Image, before);
    c.Pen().SetMode(pmNot);
    c.Segment(0, 50, 10, 50);
    QCOMPARE(PixelAt(t.Image, 3, 50), clBlack);
    c.Pen().SetMode(pmNop);
    c.Segment(0, 55, 10, 55);
    QCOMPARE(PixelAt(t.Image, 3, 55), clWhite);
}

void TestCanvas::realisingPenBrushAndFont()
{
    TRecordingCanvas c;
    TChartPen pen;
    pen.SetWidth(3);
    pen.SetEndStyle(esFlat);
    pen.SetStyle(psDash);
    pen.SetMode(pmXor);
    c.AssignPen(&pen, clRed);
    QCOMPARE(c.Pen().Color(), clRed);
    QCOMPARE(c.Pen().Width(), 3);
    QCOMPARE(c.Pen().Style(), psDash);
    QCOMPARE(c.Pen().Mode(), pmXor);
    QCOMPARE(c.PenExtras().EndStyle, esFlat);
    // A direct change gives a plain pen again.
    c.Pen().SetWidth(4);
    QCOMPARE(c.PenExtras().EndStyle, esRound);
    c.AssignPen(&pen); // the pen's own colour
    QCOMPARE(c.Pen().Color(), clBlack);

    TChartBrush brush;
    brush.SetStyle(bsCross);
    brush.SetColor(clLime);
    c.AssignBrush(&brush, clBlue);
    QCOMPARE(c.Brush().Color(), clBlue);
    QCOMPARE(c.Brush().Style(), bsCross);
    QCOMPARE(c.BackMode(), cbmOpaque);
    QCOMPARE(c.BackColor(), clLime);
    c.AssignBrush(&brush, clBlue, clNone);
    QCOMPARE(c.BackMode(), cbmTransparent);

    c.AssignDarkBrush(RGBColor(200, 100, 50), 60); // hatched: the background
    QCOMPARE(c.BackColor(), RGBColor(140, 40, 0));
    brush.SetStyle(bsSolid);
    c.AssignBrush(&brush, clBlue);
    c.AssignDarkBrush(RGBColor(200, 100, 50), 60);
    QCOMPARE(c.Brush().Color(), RGBColor(140, 40, 0));

    c.SetMonochrome(true);
    c.AssignPen(&pen, clRed);
    QCOMPARE(c.Pen().Color(), clBlack);
    c.AssignBrush(&brush, clRed);
    QCOMPARE(c.Brush().Color(), clWhite);
    TKorFont font;
    font.SetColor(clRed);
    font.SetInterCharSize(3);
    font.SetSize(12);
    c.AssignFont(&font);
    QCOMPARE(c.Font().Color(), clBlack);
    QCOMPARE(c.Font().Size(), 12);
    QCOMPARE(c.CurrentQFont().letterSpacing(), 3.0);
    QVERIFY(c.CurrentKorFont());
    QCOMPARE(c.CurrentKorFont()->InterCharSize(), 3);

    c.SetBackColor(clBtnFace); // system colours resolve
    QVERIFY(!IsSystemColor(c.BackColor()));
    c.Reset();
    QCOMPARE(c.Pen().Color(), clBlack);
    QCOMPARE(c.Pen().Width(), 1);
    QCOMPARE(c.Pen().Style(), psSolid);
    QCOMPARE(c.Brush().Color(), clWhite);
    QCOMPARE(c.Brush().Style(), bsSolid);
    QCOMPARE(c.Font().Size(), 10);
    QCOMPARE(c.Font().Color(), clBlack);
    QCOMPARE(c.BackColor(), clWhite);
    QCOMPARE(c.BackMode(), cbmTransparent);
    QCOMPARE(c.TextAlign(), 0);
    QCOMPARE(c.CurrentKorFont(), nullptr);
}

void TestCanvas::hatchGapsAndPatternBrushes()
{
    TImageCanvas t;
    TKorCanvas3D &c = t.Canvas;
    c.Brush().SetColor(clRed);
    c.FillRect(TRect(0, 0, 100, 60));
    TChartBrush brush;
    brush.SetStyle(bsCross);
    c.AssignBrush(&brush, clBlue, clNone);
    c.FillRect(TRect(0, 0, 40, 40));
    c.AssignBrush(&brush, clBlue, clYellow);
    c.FillRect(TRect(50, 0, 90, 40));
    // A two-colour pattern: its black takes the colour, its white the
    // background colour; the brush's style is ignored.
    QImage pattern(4, 4, QImage::Format_RGB32);
    pattern.fill(Qt::white);
    pattern.setPixel(0, 0, qRgb(0, 0, 0));
    brush.Image()->SetImage(pattern);
    c.AssignBrush(&brush, clGreen, clAqua);
    QCOMPARE(c.Brush().Style(), bsClear);
    c.FillRect(TRect(0, 44, 16, 60));
    const QImage &img = t.End();
    QCOMPARE(CountColor(img.copy(0, 0, 40, 40), clBlue) + CountColor(img.copy(0, 0, 40, 40), clRed), 1600);
    QVERIFY(CountColor(img.copy(0, 0, 40, 40), clBlue) > 100);
    QVERIFY(CountColor(img.copy(0, 0, 40, 40), clRed) > 1000); // the gaps show what was under them
    QCOMPARE(CountColor(img.copy(50, 0, 40, 40), clRed), 0);
    QVERIFY(CountColor(img.copy(50, 0, 40, 40), clYellow) > 1000);
    QCOMPARE(PixelAt(img, 0, 44), clGreen);
    QCOMPARE(PixelAt(img, 4, 48), clGreen);
    QCOMPARE(PixelAt(img, 1, 44), clAqua);
    QCOMPARE(CountColor(img.copy(0, 44, 16, 16), clGreen), 16);
    QCOMPARE(CountColor(img.copy(0, 44, 16, 16), clAqua), 240);
}

void TestCanvas::textShadowOnBothSides()
{
    // The cell height of the default font (Arial 8 points at 96 dpi): 13,
    // measured the same with or without a painter.
    TKorFont defaults;
    TRecordingCanvas unattached;
    unattached.AssignFont(&defaults);
    QCOMPARE(unattached.TextHeight(QStringLiteral("Wg")), 13);
    TImageCanvas attached;
    attached.Canvas.AssignFont(&defaults);
    QCOMPARE(attached.Canvas.TextHeight(QStringLiteral("Wg")), 13);
    QCOMPARE(attached.Canvas.TextWidth(QStringLiteral("Hello World")),
             unattached.TextWidth(QStringLiteral("Hello World")));

    TKorFont font;
    font.SetSize(14);
    TRecordingCanvas measure;
    measure.AssignFont(&font);
    const int plain = measure.TextWidth(QStringLiteral("Hello"));
    const int plainH = measure.TextHeight(QStringLiteral("Hello"));
    QCOMPARE(measure.TextHeight(QStringLiteral("x")), plainH);

    // Plain text at x + 2: where the shadowed text must put its glyphs.
    TImageCanvas ref;
    ref.Canvas.AssignFont(&font);
    ref.Canvas.TextOut(12, 10, QStringLiteral("Hello"));
    const QImage expected = ref.End().copy();

    font.Shadow()->SetHorizSize(-2);
    font.Shadow()->SetColor(clRed);
    measure.AssignFont(&font);
    QCOMPARE(measure.TextWidth(QStringLiteral("Hello")), plain + 2);
    QCOMPARE(measure.TextHeight(QStringLiteral("Hello")), plainH);

    TImageCanvas t;
    t.Canvas.AssignFont(&font);
    t.Canvas.TextOut(10, 10, QStringLiteral("Hello"));
    const QImage &img = t.End();
    QCOMPARE(ColorBounds(img, clBlack), ColorBounds(expected, clBlack));
    QCOMPARE(CountColor(img, clBlack), CountColor(expected, clBlack));
    const QRect shadow = ColorBounds(img, clRed);
    QVERIFY(!shadow.isEmpty());
    QCOMPARE(shadow.left(), ColorBounds(expected, clBlack).left() - 2);

    // A positive size: the text stays, the shadow moves right and down.
    font.Shadow()->SetHorizSize(3);
    font.Shadow()->SetVertSize(2);
    TImageCanvas u;
    u.Canvas.AssignFont(&font);
    QCOMPARE(u.Canvas.TextHeight(QStringLiteral("Hello")), plainH + 2);
    u.Canvas.TextOut(10, 10, QStringLiteral("Hello"));
    const QImage &img2 = u.End();
    const QRect text = ColorBounds(img2, clBlack);
    QCOMPARE(text.left(), ColorBounds(expected, clBlack).left() - 2);
    QCOMPARE(ColorBounds(img2, clRed).left(), text.left() + 3);
    QCOMPARE(ColorBounds(img2, clRed).bottom(), text.bottom() + 2);
}

void TestCanvas::outlinedAndGradientText()
{
    TKorFont font;
    font.SetSize(28);
    font.SetStyle(SetBit(fsBold));
    font.SetColor(clBlue);
    font.OutLine()->SetVisible(true);
    font.OutLine()->SetColor(clRed);
    TImageCanvas t(200, 60);
    t.Canvas.AssignFont(&font);
    t.Canvas.TextOut(5, 5, QStringLiteral("HI"));
    const QImage &img = t.End();
    QVERIFY(CountColor(img, clRed) > 50);
    QVERIFY(CountColor(img, clBlue) > 50);

    font.Gradient()->SetVisible(true);
    font.Gradient()->SetStartColor(clLime);
    font.Gradient()->SetEndColor(clLime);
    TImageCanvas u(200, 60);
    u.Canvas.AssignFont(&font);
    u.Canvas.TextOut(5, 5, QStringLiteral("HI"));
    QCOMPARE(u.Canvas.ClipDepth(), 0);
    const QImage &img2 = u.End();
    QVERIFY(CountColor(img2, clLime) > 50);
    QVERIFY(CountColor(img2, clRed) > 50);
    QCOMPARE(CountColor(img2, clBlue), 0); // the gradient replaces the fill
    // Outside the glyphs the gradient is clipped away.
    QCOMPARE(PixelAt(img2, 150, 50), clWhite);
}

void TestCanvas::zoomedText()
{
    TView3DOptions options;
    TKorFont font; // 8 points
    auto drawZoomed = [&](int zoom) {
        options.SetZoom(zoom);
        TImageCanvas t(120, 40);
        t.Canvas.StartDrawing(&t.Painter, &options, TRect(0, 0, 120, 40), true);
        t.Canvas.SetupProjection(0, TRect(0, 0, 120, 40));
        t.Canvas.AssignFont(&font);
        t.Canvas.ProjectedTextOut(60, 20, 0, QStringLiteral("Wg"));
        const TPoint at = t.Canvas.ProjectPoint(60, 20, 0);
        t.Canvas.EndDrawing(&t.Painter, &t.Painter, TRect(0, 0, 120, 40));
        t.End();
        return std::make_pair(t.Image.copy(), at);
    };
    auto drawPlain = [&](int points, TPoint at) {
        TKorFont f;
        f.SetSize(points);
        TImageCanvas t(120, 40);
        t.Canvas.AssignFont(&f);
        t.Canvas.TextOut(at.X, at.Y, QStringLiteral("Wg"));
        return t.End().copy();
    };
    const auto half = drawZoomed(50);
    QCOMPARE(half.first, drawPlain(4, half.second));
    QVERIFY(half.first != drawPlain(8, half.second));
    const auto tiny = drawZoomed(1);
    QCOMPARE(tiny.first, drawPlain(1, tiny.second));
    QCOMPARE(TKorCanvas3D::ZoomedFontSize(8, 0.5), 4);
    QCOMPARE(TKorCanvas3D::ZoomedFontSize(8, 0.01), 1);
    QCOMPARE(TKorCanvas3D::ZoomedFontSize(10, 1.25), 12); // 12.5 to even

    // The recording canvas sees the zoomed font and gets its own back.
    TRecordingCanvas r;
    options.SetZoom(50);
    r.StartDrawing(nullptr, &options, TRect(0, 0, 100, 100), true);
    r.AssignFont(&font);
    const int before = r.CurrentQFont().pixelSize();
    r.ProjectedTextOut(10, 10, 0, QStringLiteral("x"));
    QCOMPARE(r.Last("TextOut")->FontPixelSize, 5); // 4 points at 96 dpi
    QCOMPARE(r.CurrentQFont().pixelSize(), before);
    options.SetZoomText(false);
    r.StartDrawing(nullptr, &options, TRect(0, 0, 100, 100), true);
    r.ProjectedTextOut(10, 10, 0, QStringLiteral("x"));
    QCOMPARE(r.Last("TextOut")->FontPixelSize, before);
}

void TestCanvas::rotatedTextAngles()
{
    TKorFont font;
    font.SetSize(16);
    auto draw = [&](double angle) {
        TImageCanvas t(80, 80);
        t.Canvas.AssignFont(&font);
        t.Canvas.RotatedText(40, 60, angle, QStringLiteral("Text"));
        return t.End().copy();
    };
    const QImage a90 = draw(90);
    QCOMPARE(draw(450), a90);
    const QRect ink = InkBounds(a90);
    QVERIFY(ink.height() > 2 * ink.width()); // upright
    QVERIFY(ink.bottom() <= 60);             // drawn upwards from the point
    QCOMPARE(draw(720), draw(360));
    const QRect flat = InkBounds(draw(720));
    QVERIFY(flat.width() > 2 * flat.height());
    QCOMPARE(TKorCanvas::NormalizedTextAngle(450), 90.0);
    QCOMPARE(TKorCanvas::NormalizedTextAngle(720), 360.0);
    QCOMPARE(TKorCanvas::NormalizedTextAngle(360), 360.0);
}

void TestCanvas::textAlignment()
{
    TKorFont font;
    font.SetSize(12);
    auto bounds = [&](int align) {
        TImageCanvas t(200, 60);
        t.Canvas.AssignFont(&font);
        t.Canvas.SetTextAlign(align);
        t.Canvas.TextOut(100, 30, QStringLiteral("Wide"));
        return InkBounds(t.End());
    };
    const QRect leftTop = bounds(taLeft | taTop);
    QVERIFY(leftTop.left() >= 100 && leftTop.left() <= 102);
    QVERIFY(leftTop.top() >= 30);
    const QRect right = bounds(taRight | taTop);
    QVERIFY(right.right() < 100 && right.right() >= 96);
    const QRect centre = bounds(taCenter | taTop);
    QVERIFY(std::abs(centre.center().x() - 100) <= 2);
    const QRect bottom = bounds(taLeft | taBottom);
    QVERIFY(bottom.bottom() < 30);
    const QRect base = bounds(taLeft | taBaseline);
    QVERIFY(base.bottom() <= 30 && base.bottom() >= 28); // "Wide" has no descender

    // An opaque background fills the text cell.
    TImageCanvas t(200, 60);
    t.Canvas.AssignFont(&font);
    t.Canvas.SetBackMode(cbmOpaque);
    t.Canvas.SetBackColor(clYellow);
    t.Canvas.TextOut(10, 10, QStringLiteral("Wide"));
    const int w = t.Canvas.TextWidth(QStringLiteral("Wide"));
    const int h = t.Canvas.TextHeight(QStringLiteral("Wide"));
    QCOMPARE(InkBounds(t.End()), QRect(10, 10, w, h));
}

void TestCanvas::orthogonalProjectionRoundTrips()
{
    TView3DOptions options;
    TKorCanvas3D c;
    const TRect bounds(0, 0, 400, 250);
    for (int zoom : {50, 100, 200}) {
        for (TPoint offset : {TPoint(0, 0), TPoint(37, -19), TPoint(-250, 120)}) {
            options.SetZoom(zoom);
            options.SetHorizOffset(offset.X);
            options.SetVertOffset(offset.Y);
            c.StartDrawing(nullptr, &options, bounds, true);
            c.SetupProjection(100, bounds);
            QCOMPARE(c.ShiftedCenter(), TPoint(200 + offset.X, 125 + offset.Y));
            for (int x = -30; x <= 430; x += 23)
                for (int y = -17; y <= 260; y += 29) {
                    const TPoint s = c.ProjectPoint(x, y, 0);
                    // The Overview's mapping: round((m - c) x Z) + c + offset.
                    QCOMPARE(s.X, dx::RoundEven((x - 200) * zoom / 100.0) + 200 + offset.X);
                    QCOMPARE(s.Y, dx::RoundEven((y - 125) * zoom / 100.0) + 125 + offset.Y);
                    int mx = s.X, my = s.Y;
                    c.UnprojectPoint(mx, my, 0);
                    const int tolerance = zoom < 100 ? 1 : 0;
                    QVERIFY2(std::abs(mx - x) <= tolerance && std::abs(my - y) <= tolerance,
                             qPrintable(QStringLiteral("zoom %1: (%2, %3) -> (%4, %5)").arg(zoom).arg(x).arg(y).arg(mx).arg(my)));
                    // Screen -> model -> screen is exact unless zoomed in
                    // (a model unit then spans two screen pixels).
                    int sx = x, sy = y;
                    c.UnprojectPoint(sx, sy, 0);
                    const TPoint back = c.ProjectPoint(sx, sy, 0);
                    const int screenTolerance = zoom > 100 ? 1 : 0;
                    QVERIFY(std::abs(back.X - x) <= screenTolerance && std::abs(back.Y - y) <= screenTolerance);
                }
        }
    }
    // Depth recedes up and to the right at 45 degrees.
    options.SetZoom(100);
    options.SetHorizOffset(0);
    options.SetVertOffset(0);
    c.StartDrawing(nullptr, &options, bounds, true);
    c.SetupProjection(0, bounds);
    const TPoint deep = c.ProjectPoint(100, 100, 10);
    QCOMPARE(deep, TPoint(110, 90));
    int x = deep.X, y = deep.Y;
    c.UnprojectPoint(x, y, 10);
    QCOMPARE(TPoint(x, y), TPoint(100, 100));
    // Without 3D the projection is the identity.
    c.StartDrawing(nullptr, &options, bounds, false);
    c.SetupProjection(0, bounds);
    QCOMPARE(c.ProjectPoint(13, -7, 50), TPoint(13, -7));
}

void TestCanvas::orthoAngleSlope()
{
    TView3DOptions options;
    TKorCanvas3D c;
    const TRect bounds(0, 0, 100, 100);
    options.SetOrthoAngle(90);
    c.StartDrawing(nullptr, &options, bounds, true);
    QCOMPARE(c.OrthoSlope(), 1.0);
    options.SetOrthoAngle(30);
    c.StartDrawing(nullptr, &options, bounds, true);
    QVERIFY(std::abs(c.OrthoSlope() - std::tan(M_PI / 6)) < 1e-12);
    options.SetOrthoAngle(45);
    c.StartDrawing(nullptr, &options, bounds, true);
    QVERIFY(std::abs(c.OrthoSlope() - 1.0) < 1e-12);
}

void TestCanvas::projectionAtAnyZoomAndOffset()
{
    // A file may hold any zoom and any offsets: offsets stop at the end of
    // the coordinate range, and points projected beyond the int range stay
    // at its ends on their own side instead of wrapping.
    TView3DOptions options;
    options.SetHorizOffset(INT_MAX);
    options.SetVertOffset(INT_MIN);
    QCOMPARE(options.HorizOffset(), kCoordLimit);
    QCOMPARE(options.VertOffset(), -kCoordLimit);
    TKorCanvas3D c;
    const TRect bounds(0, 0, 400, 250);
    for (bool orthogonal : {true, false}) {
        options.SetOrthogonal(orthogonal);
        for (int zoom : {INT_MAX, INT_MIN}) {
            options.SetZoom(zoom);
            c.StartDrawing(nullptr, &options, bounds, true);
            c.SetupProjection(100, bounds);
            const TPoint far = c.ProjectPoint(kCoordLimit, -kCoordLimit, 0);
            const TPoint back = c.ProjectPoint(-kCoordLimit, kCoordLimit, 0);
            // Straight on, opposite model points land at opposite ends.
            if (orthogonal)
                QVERIFY(far.X == -1 - back.X && far.Y == -1 - back.Y && (far.X == INT_MAX || far.X == INT_MIN));
            for (TPoint p : {TPoint(INT_MAX, INT_MIN), TPoint(INT_MIN, INT_MAX)}) {
                c.UnprojectPoint(p.X, p.Y, 0);
                QVERIFY(std::abs(p.X) < kCoordLimit / 1000 + 400 && std::abs(p.Y) < kCoordLimit / 1000 + 400);
            }
        }
    }
}

void TestCanvas::rotatedProjectionRoundTrips()
{
    TView3DOptions options;
    options.SetOrthogonal(false);
    options.SetPerspective(0);
    options.SetTilt(10);
    TKorCanvas3D c;
    const TRect bounds(0, 0, 400, 300);
    for (int zoom : {50, 100, 200}) {
        options.SetZoom(zoom);
        options.SetHorizOffset(15);
        options.SetVertOffset(-8);
        c.StartDrawing(nullptr, &options, bounds, true);
        c.SetupProjection(100, bounds);
        QVERIFY(!c.IsOrthogonal());
        for (int x = 0; x <= 400; x += 40)
            for (int y = 0; y <= 300; y += 50)
                for (int z : {0, 50, 100}) {
                    const TPoint s = c.ProjectPoint(x, y, z);
                    int mx = s.X, my = s.Y;
                    c.UnprojectPoint(mx, my, z);
                    const int tolerance = zoom < 100 ? 2 : 1;
                    QVERIFY(std::abs(mx - x) <= tolerance);
                    QVERIFY(std::abs(my - y) <= tolerance);
                }
    }
    // Perspective shrinks what lies deeper.
    options.SetZoom(100);
    options.SetTilt(0);
    options.SetPerspective(50);
    options.SetHorizOffset(0);
    options.SetVertOffset(0);
    c.StartDrawing(nullptr, &options, bounds, true);
    QCOMPARE(c.PerspectiveFactor(), 0.0); // reset by every pass
    c.SetupProjection(100, bounds);
    QVERIFY(std::abs(c.PerspectiveFactor() - 50.0 / 150.0 / 400.0) < 1e-15);
}

void TestCanvas::suspendedProjection()
{
    TView3DOptions options;
    options.SetZoom(200);
    TRecordingCanvas c;
    c.StartDrawing(nullptr, &options, TRect(0, 0, 100, 100), true);
    c.SetupProjection(0, TRect(0, 0, 100, 100));
    QCOMPARE(c.ProjectPoint(60, 60, 0), TPoint(70, 70));
    c.SuspendProjection();
    QCOMPARE(c.ProjectPoint(60, 60, 0), TPoint(60, 60));
    c.ResumeProjection();
    QCOMPARE(c.ProjectPoint(60, 60, 0), TPoint(70, 70));
    // Zero zoom: unprojection leaves the point alone.
    options.SetZoom(0);
    c.StartDrawing(nullptr, &options, TRect(0, 0, 100, 100), true);
    int x = 5, y = 6;
    c.UnprojectPoint(x, y, 0);
    QCOMPARE(TPoint(x, y), TPoint(5, 6));
}

void TestCanvas::nestedClipsRestore()
{
    TImageCanvas t;
    TKorCanvas3D &c = t.Canvas;
    c.Pen().SetStyle(psClear);
    c.ClipToRect(TRect(0, 0, 50, 50));   // the printed area
    c.ClipToRect(TRect(20, 20, 80, 60)); // a node's clip inside it
    QCOMPARE(c.ClipDepth(), 2);
    c.Brush().SetColor(clRed);
    c.FillRect(TRect(0, 0, 100, 60));
    c.RemoveClip();
    c.Brush().SetColor(clBlue);
    c.FillRect(TRect(0, 0, 100, 15)); // the outer clip is back
    c.RemoveClip();
    QCOMPARE(c.ClipDepth(), 0);
    c.Brush().SetColor(clGreen);
    c.FillRect(TRect(95, 55, 100, 60)); // no clip at all
    c.RemoveClip();                     // one too many: harmless
    const QImage &img = t.End();
    QCOMPARE(ColorBounds(img, clRed), QRect(QPoint(20, 20), QPoint(49, 49)));
    QCOMPARE(ColorBounds(img, clBlue), QRect(QPoint(0, 0), QPoint(49, 14)));
    QCOMPARE(PixelAt(img, 60, 10), clWhite);
    QCOMPARE(CountColor(img, clGreen), 25);

    // Clips of other shapes share the stack; gradients and clipped text
    // inside a printing clip leave it in place.
    TImageCanvas u;
    TKorCanvas3D &d = u.Canvas;
    d.Pen().SetStyle(psClear);
    d.ClipToRect(TRect(10, 10, 90, 50));
    d.ClipToEllipse(TRect(0, 0, 40, 40));
    TKorGradient g;
    g.SetStartColor(clRed);
    g.SetEndColor(clRed);
    g.PaintGradient(&d, TRect(0, 0, 100, 60), 20); // rounded: its own clip inside
    d.RemoveClip();
    d.ClipToPolygon({TPoint(60, 0), TPoint(100, 0), TPoint(100, 60)});
    d.Brush().SetColor(clBlue);
    d.FillRect(TRect(0, 0, 100, 60));
    d.RemoveClip();
    d.Brush().SetColor(clLime);
    d.FillRect(TRect(0, 45, 100, 60));
    d.RemoveClip();
    QCOMPARE(d.ClipDepth(), 0);
    const QImage &img2 = u.End();
    QVERIFY(!ColorBounds(img2, clRed).isEmpty());
    QVERIFY(QRect(10, 10, 30, 30).contains(ColorBounds(img2, clRed)));
    QVERIFY(QRect(60, 10, 30, 40).contains(ColorBounds(img2, clBlue)));
    QCOMPARE(PixelAt(img2, 5, 5), clWhite);
    QCOMPARE(ColorBounds(img2, clLime), QRect(QPoint(10, 45), QPoint(89, 49)));
}

void TestCanvas::offScreenBuffer()
{
    QImage window(120, 80, QImage::Format_RGB32);
    window.fill(Qt::white);
    QPainter p(&window);
    TView3DOptions options;
    int invalidated = 0;
    options.OnChange = [&](TGraphicsObject *) { ++invalidated; };
    TKorCanvas3D c;
    QVERIFY(c.BufferedDisplay());
    QVERIFY(c.Dirty());
    QVERIFY(!c.ShowBuffer(&p));
    const TRect user(10, 5, 110, 65);
    const TRect draw = c.StartDrawing(&p, &options, user, true);
    QCOMPARE(draw, TRect(0, 0, 100, 60));
    QVERIFY(c.Buffer());
    c.Brush().SetColor(clRed);
    c.Pen().SetStyle(psClear);
    c.FillRect(draw);
    QCOMPARE(PixelAt(window, 50, 30), clWhite); // nothing on the window yet
    c.EndDrawing(&p, &p, user);
    QVERIFY(!c.Dirty());
    QCOMPARE(PixelAt(window, 10, 5), clRed);
    QCOMPARE(PixelAt(window, 109, 64), clRed);
    QCOMPARE(PixelAt(window, 9, 5), clWhite);
    QCOMPARE(c.Painter(), &p);

    window.fill(Qt::white);
    QVERIFY(c.ShowBuffer(&p)); // clean: copied at (0, 0)
    QCOMPARE(PixelAt(window, 0, 0), clRed);
    QCOMPARE(PixelAt(window, 100, 60), clWhite);
    c.MarkDirty();
    QVERIFY(!c.ShowBuffer(&p));

    c.SetMonochrome(true);
    QCOMPARE(invalidated, 1);
    QVERIFY(c.Dirty());
    TKorCanvas3D other;
    other.TakeSettingsFrom(&c);
    QVERIFY(other.Monochrome());

    c.SetBufferedDisplay(false);
    QCOMPARE(c.Buffer(), nullptr);
    QCOMPARE(c.StartDrawing(&p, &options, user, true), user);
    QCOMPARE(c.Painter(), &p);
    c.EndDrawing(&p, nullptr, user);
    QCOMPARE(c.Painter(), nullptr);
    p.end();
}

void TestCanvas::recordingCanvasLogsNestedOperations()
{
    TView3DOptions options;
    options.SetZoom(50);
    TRecordingCanvas c;
    c.StartDrawing(nullptr, &options, TRect(0, 0, 200, 100), true);
    c.SetupProjection(0, TRect(0, 0, 200, 100));
    c.Pen().SetColor(clRed);
    c.ProjectedRectangle(TRect(0, 0, 100, 50), 0);
    c.ProjectedLine(0, 0, 100, 50, 0);
    c.TextOut(3, 4, QStringLiteral("abc"));
    QCOMPARE(c.CountTopLevel("ProjectedRectangle"), 1);
    QVERIFY(c.Has("Rectangle", {50, 25, 100, 50}));
    QCOMPARE(c.First("Rectangle")->Depth, 1);
    QCOMPARE(c.First("Rectangle")->PenColor, clRed);
    QCOMPARE(c.Count("LineTo"), 1);
    QCOMPARE(c.First("LineTo")->Ints, (std::vector<int>{100, 50}));
    QCOMPARE(c.Last("TextOut")->Str(0), QStringLiteral("abc"));
    QCOMPARE(c.TopLevelNames(),
             QStringList({"StartDrawing", "SetupProjection", "ProjectedRectangle", "ProjectedLine", "TextOut"}));
    QVERIFY(c.Dump().contains(QStringLiteral("  Rectangle(50, 25, 100, 50)")));
    c.Clear();
    QVERIFY(c.Calls().empty());
}

void TestCanvas::ringSectorsAndArrows()
{
    TRecordingCanvas c;
    c.RingSector(50, 50, 40, 30, 0.0, 2 * M_PI, 50);
    QCOMPARE(c.First("Polygon")->Ints.size(), size_t(2 * 2 * 129)); // 128 steps at most
    const std::vector<int> &p = c.First("Polygon")->Ints;
    QCOMPARE(p[0], 90); // outer start (xc + xRadius, yc)
    QCOMPARE(p[1], 50);
    QCOMPARE(p[2 * 129], 70); // inner points run back: hole radius 20
    c.Clear();
    c.RingSector(50, 50, 40, 30, 0.0, 0.001, 0);
    QCOMPARE(c.First("Polygon")->Ints.size(), size_t(2 * 2 * 3)); // 2 steps at least
    c.Clear();
    c.RingSector(50, 50, 40, 30, 0.0, M_PI / 2, 0); // 64 steps
    QCOMPARE(c.First("Polygon")->Ints.size(), size_t(2 * 2 * 65));
    QCOMPARE(c.First("Polygon")->Ints[2 * 64 + 0], 50); // outer end at 90 degrees
    QCOMPARE(c.First("Polygon")->Ints[2 * 64 + 1], 20);

    c.Clear();
    c.ProjectedArrow(true, TPoint(10, 10), TPoint(10, 10), 8, 6, 0);
    QCOMPARE(c.Count("Polygon") + c.Count("LineTo"), 0);
    c.ProjectedArrow(true, TPoint(0, 0), TPoint(100, 0), 8, 10, 0);
    QCOMPARE(c.First("Polygon")->Ints,
             (std::vector<int>{0, 2, 0, -2, 90, -2, 90, -4, 100, 0, 90, 4, 90, 2}));
    c.Clear();
    c.ProjectedArrow(false, TPoint(0, 0), TPoint(0, 5), 8, 10, 0); // head longer than the arrow
    QCOMPARE(c.Count("LineTo"), 3);
    QVERIFY(c.Has("LineTo", {4, 0}) || c.Has("LineTo", {-4, 0}));
}

void TestCanvas::picturesAndMissingGraphics()
{
    TImageCanvas t;
    QImage red(4, 3, QImage::Format_RGB32);
    red.fill(Qt::red);
    t.Canvas.Draw(10, 10, QImage());
    t.Canvas.StretchDraw(TRect(0, 0, 50, 50), QImage());
    t.Canvas.DrawPicture(0, 0, nullptr);
    TPicture empty;
    t.Canvas.StretchDrawPicture(TRect(0, 0, 50, 50), &empty);
    QCOMPARE(InkBounds(t.Image), QRect());
    t.Canvas.Draw(10, 10, red);
    t.Canvas.StretchDraw(TRect(40, 40, 30, 30), red); // corners in any order
    TPicture pic;
    pic.SetImage(red);
    t.Canvas.DrawPicture(60, 5, &pic);
    t.Canvas.SetPixel(90, 50, clBlue);
    const QImage &img = t.End();
    QCOMPARE(ColorBounds(img.copy(0, 0, 25, 25), clRed), QRect(10, 10, 4, 3));
    QCOMPARE(ColorBounds(img.copy(25, 25, 30, 30), clRed).translated(25, 25), QRect(30, 30, 10, 10));
    QCOMPARE(ColorBounds(img.copy(55, 0, 20, 20), clRed).translated(55, 0), QRect(60, 5, 4, 3));
    QCOMPARE(ColorBounds(img, clBlue), QRect(90, 50, 1, 1));
}

void TestCanvas::japaneseSystemFontDefaults()
{
    const QLocale saved;
    const QFont savedFont = QGuiApplication::font();
    QFont system(QStringLiteral("Liberation Sans"));
    system.setPointSize(9);
    QGuiApplication::setFont(system);
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    TKorFont font;
    QCOMPARE(font.Name(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(font.Size(), 9);
    QCOMPARE(font.Height(), -12);
    auto stored = [](const TKorFont &f) {
        QStringList names;
        for (const TPropInfo &p : f.ClassInfo().Properties())
            if (p.IsStored(f))
                names << p.Name;
        return names;
    };
    QCOMPARE(stored(font), QStringList()); // these are the defaults here
    font.SetName(QStringLiteral("Arial"));
    QCOMPARE(stored(font), QStringList({"Name"}));
    QLocale::setDefault(saved);
    QGuiApplication::setFont(savedFont);
    TKorFont english;
    QCOMPARE(english.Name(), QStringLiteral("Arial"));
    QCOMPARE(english.Size(), 8);
    QCOMPARE(stored(english), QStringList());
}

// Every primitive, pen, brush, text effect and gradient direction on one
// sheet; each cell must show something. With DENDRIX_TEST_PICTURES set to a
// folder the sheet is written there as canvas.png to be looked at.
void TestCanvas::testPicture()
{
    constexpr int kCell = 120;
    TImageCanvas t(7 * kCell, 6 * kCell);
    TKorCanvas3D &c = t.Canvas;
    std::vector<QRect> cells;
    auto cell = [&](int col, int row) {
        const TRect r = Bounds(col * kCell + 10, row * kCell + 10, kCell - 20, kCell - 20);
        cells.push_back(r.ToQRect());
        c.Reset();
        return r;
    };
    // Row 0: shapes.
    {
        TRect r = cell(0, 0);
        c.Brush().SetColor(clYellow);
        c.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
        r = cell(1, 0);
        c.Brush().SetColor(clAqua);
        c.Ellipse(r.Left, r.Top, r.Right, r.Bottom);
        r = cell(2, 0);
        c.Brush().SetColor(clLime);
        c.RoundRect(r.Left, r.Top, r.Right, r.Bottom, 30, 30);
        r = cell(3, 0);
        c.Brush().SetColor(clFuchsia);
        c.Polygon({TPoint(r.Left + 50, r.Top), TPoint(r.Right, r.Bottom), TPoint(r.Left, r.Top + 35),
                   TPoint(r.Right, r.Top + 35), TPoint(r.Left, r.Bottom)});
        r = cell(4, 0);
        c.Pen().SetWidth(3);
        c.Arc(r.Left, r.Top, r.Right, r.Bottom, r.Right, r.Top + 50, r.Left, r.Top);
        r = cell(5, 0);
        c.Brush().SetColor(clRed);
        c.Pie(r.Left, r.Top, r.Right, r.Bottom, r.Right, r.Top + 50, r.Left + 50, r.Top);
        r = cell(6, 0);
        c.BevelFrame(r, clWhite, clGray, 3);
        c.BevelFrame(r.Inflated(-20, -20), clGray, clWhite, 2);
    }
    // Row 1: pens.
    {
        TRect r = cell(0, 1);
        for (int s = psSolid; s <= psDashDotDot; ++s) {
            c.Pen().SetStyle(static_cast<TPenStyle>(s));
            c.Pen().SetWidth(1);
            c.Segment(r.Left, r.Top + s * 8, r.Right, r.Top + s * 8);
            c.Pen().SetWidth(3);
            c.Segment(r.Left, r.Top + 50 + s * 8, r.Right, r.Top + 50 + s * 8);
        }
        r = cell(1, 1);
        TChartPen pen;
        pen.SetWidth(7);
        pen.SetStyle(psInsideFrame);
        c.AssignPen(&pen, clNavy);
        c.Brush().SetColor(clSilver);
        c.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
        r = cell(2, 1);
        pen.SetStyle(psSolid);
        pen.SetSmallDots(true);
        c.AssignPen(&pen, clRed);
        c.Segment(r.Left, r.Top, r.Right, r.Bottom);
        c.Segment(r.Left, r.Bottom, r.Right, r.Top);
        r = cell(3, 1);
        pen.SetSmallDots(false);
        pen.SetWidth(12);
        for (int e = esRound; e <= esFlat; ++e) {
            pen.SetEndStyle(static_cast<TPenEndStyle>(e));
            c.AssignPen(&pen, clTeal);
            c.MoveTo(r.Left + 10, r.Top + 10 + e * 30);
            c.LineTo(r.Left + 50, r.Top + 25 + e * 30);
            c.LineTo(r.Right - 10, r.Top + 10 + e * 30);
        }
        r = cell(4, 1);
        c.Brush().SetColor(clBlue);
        c.Rectangle(r.Left, r.Top, r.Right - 30, r.Bottom - 30);
        c.Pen().SetMode(pmNotXor);
        c.Pen().SetWidth(5);
        c.Brush().SetStyle(bsClear);
        c.Rectangle(r.Left + 30, r.Top + 30, r.Right, r.Bottom);
        r = cell(5, 1);
        c.RingSector(dx::HalfSum(r.Left, r.Right), dx::HalfSum(r.Top, r.Bottom), 45, 40, 0.3, 4.5, 40);
        r = cell(6, 1);
        c.ProjectedArrow(true, TPoint(r.Left, r.Bottom), TPoint(r.Right, r.Top), 24, 30, 0);
        c.ProjectedArrow(false, TPoint(r.Left, r.Top + 20), TPoint(r.Right - 40, r.Top + 20), 16, 12, 0);
    }
    // Row 2: brushes.
    {
        for (int s = bsSolid; s <= bsDiagCross; ++s) {
            const int col = s % 7;
            const TRect r = s < 7 ? cell(col, 2) : cell(0, 5);
            TChartBrush b;
            b.SetStyle(static_cast<TBrushStyle>(s));
            c.Brush().SetColor(clRed);
            c.FillRect(TRect(r.Left, r.Top, r.Right, r.Top + 30));
            c.AssignBrush(&b, clBlue, s % 2 ? clNone : clYellow);
            c.Rectangle(r.Left, r.Top + 10, r.Right, r.Bottom);
        }
    }
    // Row 3: text.
    {
        TKorFont font;
        font.SetSize(18);
        font.SetStyle(SetBit(fsBold));
        TRect r = cell(0, 3);
        c.AssignFont(&font);
        c.TextOut(r.Left, r.Top, QStringLiteral("Plain"));
        font.Shadow()->SetHorizSize(3);
        font.Shadow()->SetVertSize(3);
        c.AssignFont(&font);
        c.TextOut(r.Left, r.Top + 40, QStringLiteral("Shadow"));
        r = cell(1, 3);
        font.SetShadow(nullptr);
        font.OutLine()->SetVisible(true);
        font.OutLine()->SetColor(clRed);
        font.SetColor(clYellow);
        font.SetSize(26);
        c.AssignFont(&font);
        c.TextOut(r.Left, r.Top, QStringLiteral("Out"));
        r = cell(2, 3);
        font.Gradient()->SetVisible(true);
        font.Gradient()->SetStartColor(clBlue);
        font.Gradient()->SetEndColor(clLime);
        c.AssignFont(&font);
        c.TextOut(r.Left, r.Top, QStringLiteral("Grad"));
        font.Gradient()->SetOutline(true);
        font.OutLine()->SetWidth(3);
        c.AssignFont(&font);
        c.TextOut(r.Left, r.Top + 45, QStringLiteral("Line"));
        r = cell(3, 3);
        TKorFont plain;
        plain.SetSize(12);
        c.AssignFont(&plain);
        c.RotatedText(r.Left + 10, r.Bottom, 45, QStringLiteral("Turned 45"));
        c.RotatedText(r.Right - 10, r.Bottom, 90, QStringLiteral("Up 90"));
        r = cell(4, 3);
        c.AssignFont(&plain);
        c.SetTextAlign(taCenter | taBaseline);
        c.TextOut(dx::HalfSum(r.Left, r.Right), r.Top + 30, QStringLiteral("Centred"));
        c.HorizSegment(r.Left, r.Right, r.Top + 30);
        c.SetTextAlign(taRight | taBottom);
        c.SetBackMode(cbmOpaque);
        c.SetBackColor(clAqua);
        c.TextOut(r.Right, r.Bottom, QStringLiteral("Opaque"));
        r = cell(5, 3);
        plain.SetInterCharSize(4);
        c.AssignFont(&plain);
        c.TextOut(r.Left, r.Top, QStringLiteral("Spaced"));
        r = cell(6, 3);
        c.Brush().SetColor(clBlack);
        c.FillRect(TRect(r.Left, r.Top, r.Right, r.Top + 40));
        TKorBlend blend(&c, TRect(r.Left + 20, r.Top + 20, r.Right, r.Bottom));
        c.Brush().SetColor(clRed);
        c.Ellipse(r.Left + 20, r.Top + 20, r.Right, r.Bottom);
        blend.Apply(50);
    }
    // Row 4: gradient directions (and one with a middle colour).
    {
        for (int d = gdTopBottom; d <= gdFromBottomLeft; ++d) {
            const TRect r = cell(d, 4);
            TKorGradient g;
            g.SetDirection(static_cast<TGradientDirection>(d));
            g.SetStartColor(clWhite);
            g.SetEndColor(clNavy);
            g.PaintGradient(&c, r, d == gdTopBottom ? 30 : 0);
        }
        const TRect r = cell(1, 5);
        TKorGradient g;
        g.SetStartColor(clRed);
        g.SetMidColor(clYellow);
        g.SetEndColor(clBlue);
        g.SetDirection(gdLeftRight);
        g.PaintGradient(&c, r);
    }
    // Row 5: projected solids.
    {
        TView3DOptions options;
        options.SetOrthogonal(false);
        options.SetPerspective(0);
        TRect r = cell(2, 5);
        c.StartDrawing(&t.Painter, &options, TRect(0, 0, t.Image.width(), t.Image.height()), true);
        c.SetBufferedDisplay(false);
        c.StartDrawing(&t.Painter, &options, TRect(0, 0, t.Image.width(), t.Image.height()), true);
        c.RotationCenter().X = 0;
        c.SetupProjection(0, r);
        c.Brush().SetColor(clLime);
        c.Cube(r.Inflated(-15, -15), 0, 40, true);
        r = cell(3, 5);
        c.SetupProjection(0, r);
        c.Brush().SetColor(clYellow);
        c.Pyramid(true, r.Inflated(-10, -10), 0, 40, true);
        r = cell(4, 5);
        c.SetupProjection(0, r);
        c.Brush().SetColor(clAqua);
        c.Prism(r.Inflated(-10, -10), 0, 30, 6, true);
        r = cell(5, 5);
        c.SetupProjection(0, r);
        c.Brush().SetColor(clFuchsia);
        c.Pie3D(dx::HalfSum(r.Left, r.Right), dx::HalfSum(r.Top, r.Bottom), 40, 30, 0, 15, 0.5, 5.0, true);
        r = cell(6, 5);
        c.SetupProjection(0, r);
        c.Brush().SetColor(clSilver);
        c.ProjectedEllipse(r.Left, r.Top, r.Right, r.Bottom, 20);
        c.EndDrawing(nullptr, &t.Painter, TRect());
    }
    const QImage &img = t.End();
    for (const QRect &r : cells)
        QVERIFY2(!InkBounds(img.copy(r)).isEmpty(), qPrintable(QStringLiteral("empty cell at %1, %2").arg(r.x()).arg(r.y())));
    const QByteArray dir = qgetenv("DENDRIX_TEST_PICTURES");
    if (!dir.isEmpty())
        QVERIFY(img.save(QString::fromLocal8Bit(dir) + QStringLiteral("/canvas.png")));
}

QTEST_MAIN(TestCanvas)
#include "tst_canvas.moc"

