// Gradients and transparency: band counts and colours, every direction
// filling every pixel, the middle colour, monochrome greys, and blending on
// raster targets and on targets without pixels to read back (pictures,
// PDF).

#include "CanvasTestUtil.h"

#include "canvas/RecordingCanvas.h"
#include "core/Rounding.h"

#include <QPdfWriter>
#include <QPicture>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// Per-channel colour of band i of n from c1 to c2.
TColor Band(TColor c1, TColor c2, int i, int n)
{
    if (n <= 1)
        return c1;
    auto ch = [&](int a, int b) { return a + dx::MulDiv(i, b - a, n - 1); };
    return RGBColor(ch(GetRValue(c1), GetRValue(c2)), ch(GetGValue(c1), GetGValue(c2)), ch(GetBValue(c1), GetBValue(c2)));
}

QImage Paint(const TKorGradient &g, int w, int h, QRgb background = qRgb(0, 255, 0), bool mono = false)
{
    TImageCanvas t(w + 4, h + 4);
    t.Image.fill(background);
    t.Canvas.SetMonochrome(mono);
    g.PaintGradient(&t.Canvas, TRect(2, 2, 2 + w, 2 + h));
    return t.End().copy();
}
} // namespace

class TestGradients : public QObject
{
    Q_OBJECT
private slots:
    void bandCountsAndColours();
    void horizontalBands();
    void everyDirectionFillsEveryPixel();
    void colourPlacementOfEachDirection();
    void middleColour();
    void monochromeAndEmpty();
    void partlyVisibleGradients();
    void roundedGradientClipsItself();
    void blendOnRasterTargets();
    void blendClampedAndInert();
    void blendOnTargetsWithoutPixels();
    void blendOnPdfLooksLikeRaster();
};

void TestGradients::bandCountsAndColours()
{
    // 1000 rows: 256 bands of 3 or 4 rows, white at the bottom, yellow on
    // top, band i (from the bottom) of colour white + i x (yellow - white) / 255.
    TKorGradient g;
    const QImage img = Paint(g, 10, 1000);
    std::vector<std::pair<TColor, int>> runs; // from the bottom up
    for (int y = 1001; y >= 2; --y) {
        const TColor c = PixelAt(img, 5, y);
        for (int x = 2; x < 12; ++x)
            QCOMPARE(PixelAt(img, x, y), c);
        if (runs.empty() || runs.back().first != c)
            runs.emplace_back(c, 0);
        ++runs.back().second;
    }
    QCOMPARE(runs.size(), size_t(256));
    for (int i = 0; i < 256; ++i) {
        QVERIFY(runs[i].second == 3 || runs[i].second == 4);
        QCOMPARE(runs[i].first, Band(clWhite, clYellow, i, 256));
    }
    QCOMPARE(runs.front().first, clWhite);
    QCOMPARE(runs.back().first, clYellow);
    // Band i covers rows bottom - (i+1) x h / n ... bottom - i x h / n.
    int row = 1002;
    for (int i = 0; i < 256; ++i) {
        QCOMPARE(runs[i].second, dx::MulDiv(i + 1, 1000, 256) - dx::MulDiv(i, 1000, 256));
        row -= runs[i].second;
    }
    QCOMPARE(row, 2);

    // 10 rows: 10 bands of one row.
    const QImage small = Paint(g, 3, 10);
    for (int i = 0; i < 10; ++i)
        QCOMPARE(PixelAt(small, 3, 11 - i), Band(clWhite, clYellow, i, 10));

    // A new brush only when the colour changes: 600 rows of one colour.
    TRecordingCanvas rec;
    g.SetEndColor(clWhite);
    g.PaintGradient(&rec, TRect(0, 0, 10, 600));
    QCOMPARE(rec.Count("BandFill"), 1);
}

void TestGradients::horizontalBands()
{
    TKorGradient g;
    g.SetDirection(gdLeftRight);
    g.SetStartColor(clRed);
    g.SetEndColor(clBlue);
    const QImage img = Paint(g, 300, 5);
    // From the right edge leftwards: 256 bands of 1 or 2 columns.
    int bands = 0;
    TColor last = clNone;
    for (int x = 301; x >= 2; --x) {
        const TColor c = PixelAt(img, x, 4);
        if (c != last) {
            QCOMPARE(c, Band(clRed, clBlue, bands, 256));
            ++bands;
            last = c;
        }
    }
    QCOMPARE(bands, 256);
    QCOMPARE(PixelAt(img, 301, 3), clRed);
    QCOMPARE(PixelAt(img, 2, 3), clBlue);
}

void TestGradients::everyDirectionFillsEveryPixel()
{
    const QRgb sentinel = qRgb(0, 255, 0); // never a colour between red and blue
    for (int d = gdTopBottom; d <= gdFromBottomLeft; ++d) {
        for (QSize s : {QSize(1, 1), QSize(1, 5), QSize(5, 1), QSize(2, 2), QSize(3, 3), QSize(5, 3), QSize(4, 7),
                        QSize(7, 10), QSize(64, 17), QSize(300, 200)}) {
            TKorGradient g;
            g.SetDirection(static_cast<TGradientDirection>(d));
            g.SetStartColor(clRed);
            g.SetEndColor(clBlue);
            const QImage img = Paint(g, s.width(), s.height(), sentinel);
            int wrong = 0;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x) {
                    const bool inside = x >= 2 && y >= 2 && x < 2 + s.width() && y < 2 + s.height();
                    const bool painted = (img.pixel(x, y) | 0xFF000000u) != sentinel;
                    wrong += painted != inside;
                }
            QVERIFY2(wrong == 0, qPrintable(QStringLiteral("direction %1, %2 x %3: %4 pixels wrong")
                                                .arg(d)
                                                .arg(s.width())
                                                .arg(s.height())
                                                .arg(wrong)));
        }
    }
}

void TestGradients::colourPlacementOfEachDirection()
{
    auto paint = [](TGradientDirection d, int w, int h) {
        TKorGradient g;
        g.SetDirection(d);
        g.SetStartColor(clRed);
        g.SetEndColor(clBlue);
        return Paint(g, w, h);
    };
    // Rectangles sit at (2, 2).
    QImage img = paint(gdTopBottom, 20, 30);
    QCOMPARE(PixelAt(img, 5, 2), clBlue);
    QCOMPARE(PixelAt(img, 5, 31), clRed);
    img = paint(gdBottomTop, 20, 30);
    QCOMPARE(PixelAt(img, 5, 2), clRed);
    QCOMPARE(PixelAt(img, 5, 31), clBlue);
    img = paint(gdLeftRight, 30, 20);
    QCOMPARE(PixelAt(img, 2, 5), clBlue);
    QCOMPARE(PixelAt(img, 31, 5), clRed);
    img = paint(gdRightLeft, 30, 20);
    QCOMPARE(PixelAt(img, 2, 5), clRed);
    QCOMPARE(PixelAt(img, 31, 5), clBlue);
    // From the centre: the end colour on the border, the start colour in
    // the middle; rings of one colour.
    img = paint(gdFromCenter, 21, 11);
    QCOMPARE(PixelAt(img, 2, 2), clBlue);
    QCOMPARE(PixelAt(img, 22, 12), clBlue);
    QCOMPARE(PixelAt(img, 12, 2), clBlue);
    QCOMPARE(PixelAt(img, 12, 7), clRed);
    QCOMPARE(PixelAt(img, 3, 3), PixelAt(img, 21, 11));
    QCOMPARE(PixelAt(img, 12, 3), PixelAt(img, 3, 7));
    // 5 x 3 as worked out in BandFill: border, then index 2 of 3, then the
    // centre in the far colour.
    img = paint(gdFromCenter, 5, 3);
    QCOMPARE(PixelAt(img, 2, 2), clBlue);
    QCOMPARE(PixelAt(img, 3, 3), Band(clBlue, clRed, 2, 4));
    QCOMPARE(PixelAt(img, 4, 3), clRed);
    // A single pixel is the border.
    img = paint(gdFromCenter, 1, 1);
    QCOMPARE(PixelAt(img, 2, 2), clBlue);
    // From a corner: the end colour there, the start colour at the far one.
    img = paint(gdFromTopLeft, 30, 20);
    QCOMPARE(PixelAt(img, 2, 2), clBlue);
    QCOMPARE(PixelAt(img, 31, 21), clRed);
    QCOMPARE(PixelAt(img, 12, 2), PixelAt(img, 2, 12)); // equal index i + j
    img = paint(gdFromBottomLeft, 30, 20);
    QCOMPARE(PixelAt(img, 2, 21), clBlue);
    QCOMPARE(PixelAt(img, 31, 2), clRed);
    QCOMPARE(PixelAt(img, 12, 21), PixelAt(img, 2, 11));
}

void TestGradients::middleColour()
{
    TKorGradient g;
    g.SetStartColor(clWhite);
    g.SetEndColor(clBlue);
    g.SetMidColor(clRed);
    QImage img = Paint(g, 10, 100);
    QCOMPARE(PixelAt(img, 5, 2), clBlue);    // end on top
    QCOMPARE(PixelAt(img, 5, 101), clWhite); // start at the bottom
    QCOMPARE(PixelAt(img, 5, 51), clRed);    // bottom row of the upper half
    QCOMPARE(PixelAt(img, 5, 52), clRed);    // top row of the lower half
    g.SetDirection(gdBottomTop);
    img = Paint(g, 10, 100);
    QCOMPARE(PixelAt(img, 5, 2), clWhite);
    QCOMPARE(PixelAt(img, 5, 101), clBlue);
    QCOMPARE(PixelAt(img, 5, 51), clRed);
    g.SetDirection(gdLeftRight);
    img = Paint(g, 100, 10);
    QCOMPARE(PixelAt(img, 2, 5), clBlue);
    QCOMPARE(PixelAt(img, 101, 5), clWhite);
    QCOMPARE(PixelAt(img, 51, 5), clRed);
    g.SetDirection(gdRightLeft);
    img = Paint(g, 100, 10);
    QCOMPARE(PixelAt(img, 2, 5), clWhite);
    QCOMPARE(PixelAt(img, 101, 5), clBlue);
    QCOMPARE(PixelAt(img, 52, 5), clRed);
    // Cleared, the gradient has two colours again; set again, three.
    g.SetDirection(gdTopBottom);
    g.SetMidColor(clNone);
    img = Paint(g, 10, 100);
    QCOMPARE(CountColor(img, clRed), 0);
    g.SetMidColor(clRed);
    QVERIFY(CountColor(Paint(g, 10, 100), clRed) > 0);
    // No effect from the centre or a corner.
    for (TGradientDirection d : {gdFromCenter, gdFromTopLeft, gdFromBottomLeft}) {
        TKorGradient two;
        two.Assign(&g);
        two.SetDirection(d);
        two.SetMidColor(clNone);
        g.SetDirection(d);
        QCOMPARE(Paint(g, 30, 20), Paint(two, 30, 20));
    }
}

void TestGradients::monochromeAndEmpty()
{
    TKorGradient g;
    g.SetStartColor(RGBColor(255, 0, 0));
    g.SetEndColor(RGBColor(0, 0, 90));
    const QImage img = Paint(g, 10, 10, qRgb(0, 255, 0), true);
    QCOMPARE(PixelAt(img, 5, 11), RGBColor(85, 85, 85));
    QCOMPARE(PixelAt(img, 5, 2), RGBColor(30, 30, 30));
    // Empty and inverted rectangles paint nothing; inverted ones are
    // normalised.
    TImageCanvas t(20, 20);
    g.PaintGradient(&t.Canvas, TRect(5, 5, 5, 15));
    g.PaintGradient(&t.Canvas, TRect(5, 5, 15, 5));
    QCOMPARE(InkBounds(t.Image), QRect());
    g.PaintGradient(&t.Canvas, TRect(15, 15, 5, 5));
    QCOMPARE(InkBounds(t.Image), QRect(5, 5, 10, 10));
}

void TestGradients::partlyVisibleGradients()
{
    // A window onto a gradient (the painter moved, or clipped) shows the
    // pixels of the whole gradient drawn at once.
    for (int d = gdTopBottom; d <= gdFromBottomLeft; ++d) {
        TKorGradient g;
        g.SetDirection(static_cast<TGradientDirection>(d));
        g.SetStartColor(clRed);
        g.SetEndColor(clBlue);
        const TRect area(0, 0, 700, 500);
        TImageCanvas whole(700, 500);
        g.PaintGradient(&whole.Canvas, area);
        const QImage all = whole.End().copy();
        for (QPoint at : {QPoint(0, 0), QPoint(300, 200), QPoint(650, 470), QPoint(680, 0), QPoint(0, 480)}) {
            TImageCanvas moved(60, 40);
            moved.Painter.translate(-at.x(), -at.y());
            g.PaintGradient(&moved.Canvas, area);
            const QImage window = moved.End().copy();
            const QRect shown = QRect(at, QSize(60, 40)).intersected(all.rect());
            QVERIFY2(window.copy(shown.translated(-at)) == all.copy(shown),
                     qPrintable(QStringLiteral("direction %1 at %2, %3").arg(d).arg(at.x()).arg(at.y())));
        }
        TImageCanvas clipped(700, 500);
        clipped.Canvas.ClipToRect(TRect(340, 240, 360, 260));
        g.PaintGradient(&clipped.Canvas, area);
        clipped.Canvas.RemoveClip();
        const QImage part = clipped.End().copy(340, 240, 20, 20);
        QVERIFY2(part == all.copy(340, 240, 20, 20), qPrintable(QStringLiteral("direction %1 clipped").arg(d)));
    }

    // A gradient far larger than any device (a node at a huge zoom) paints
    // what shows of it, without overflowing: the middle of a rectangle
    // gradient is the start colour, its corner the end colour.
    const TRect huge(INT_MIN + 1, INT_MIN + 1, INT_MAX, INT_MAX);
    TKorGradient g;
    g.SetStartColor(clRed);
    g.SetEndColor(clBlue);
    g.SetDirection(gdFromCenter);
    TImageCanvas middle(40, 30);
    middle.Painter.translate(20, 15);
    g.PaintGradient(&middle.Canvas, huge);
    QCOMPARE(CountColor(middle.End(), clRed), 40 * 30);
    TImageCanvas corner(40, 30);
    corner.Painter.translate(-(INT_MIN + 1.0), -(INT_MIN + 1.0));
    g.PaintGradient(&corner.Canvas, huge);
    QCOMPARE(PixelAt(corner.End(), 0, 0), clBlue);
    QCOMPARE(PixelAt(corner.Image, 39, 0), clBlue);
    g.SetDirection(gdFromTopLeft);
    TImageCanvas topLeft(40, 30);
    topLeft.Painter.translate(-(INT_MIN + 1.0), -(INT_MIN + 1.0));
    g.PaintGradient(&topLeft.Canvas, huge);
    QCOMPARE(PixelAt(topLeft.End(), 0, 0), clBlue);
    // Linear bands of 16 million rows: one colour across the window. Rows
    // 2^30 on lie in band 63 from the bottom, which begins at row
    // bottom - round(64 x height / 256) = 2^30 - 1.
    g.SetDirection(gdTopBottom);
    TImageCanvas band(40, 30);
    band.Painter.translate(0, -(1 << 30));
    g.PaintGradient(&band.Canvas, huge);
    const TColor c = PixelAt(band.End(), 0, 0);
    QCOMPARE(CountColor(band.Image, c), 40 * 30);
    QCOMPARE(c, Band(clRed, clBlue, 63, 256));
}

void TestGradients::roundedGradientClipsItself()
{
    TKorGradient g;
    g.SetStartColor(clRed);
    g.SetEndColor(clRed);
    TImageCanvas t(60, 60);
    g.PaintGradient(&t.Canvas, TRect(10, 10, 50, 50), 20);
    QCOMPARE(t.Canvas.ClipDepth(), 0);
    const QImage &img = t.End();
    QCOMPARE(ColorBounds(img, clRed), QRect(10, 10, 40, 40));
    QCOMPARE(PixelAt(img, 10, 10), clWhite);
    QCOMPARE(PixelAt(img, 30, 10), clRed);
}

void TestGradients::blendOnRasterTargets()
{
    // 50 % black over white: 0 + 50 x 255 / 100 = 127 in each channel.
    for (int t : {0, 25, 50, 100}) {
        TImageCanvas c(40, 40);
        c.Canvas.Pen().SetStyle(psClear);
        TKorBlend blend(&c.Canvas, TRect(5, 5, 35, 35));
        QVERIFY(blend.Valid());
        c.Canvas.Brush().SetColor(clBlack);
        c.Canvas.Rectangle(10, 10, 30, 30);
        blend.Apply(t);
        const int grey = 0 + t * 255 / 100;
        QCOMPARE(PixelAt(c.Image, 20, 20), RGBColor(grey, grey, grey));
        QCOMPARE(PixelAt(c.Image, 7, 7), clWhite);
    }
    // Colours mix channel by channel: drawn + t (saved - drawn) / 100.
    TImageCanvas c(40, 40);
    c.Canvas.Brush().SetColor(RGBColor(200, 100, 0));
    c.Canvas.FillRect(TRect(0, 0, 40, 40));
    {
        TKorBlend blend(&c.Canvas, TRect(0, 0, 40, 40));
        c.Canvas.Brush().SetColor(RGBColor(0, 50, 255));
        c.Canvas.FillRect(TRect(10, 10, 30, 30));
        blend.Apply(30);
    }
    QCOMPARE(PixelAt(c.Image, 20, 20), RGBColor(0 + 30 * 200 / 100, 50 + 30 * 50 / 100, 255 - 30 * 255 / 100));

    // In the off-screen buffer of a drawing pass.
    QImage window(50, 50, QImage::Format_RGB32);
    window.fill(Qt::white);
    QPainter p(&window);
    TKorCanvas3D canvas;
    canvas.StartDrawing(&p, nullptr, TRect(0, 0, 50, 50), false);
    canvas.Brush().SetColor(clWhite);
    canvas.FillRect(TRect(0, 0, 50, 50));
    {
        TKorBlend blend(&canvas, TRect(0, 0, 50, 50));
        canvas.Brush().SetColor(clBlack);
        canvas.FillRect(TRect(0, 0, 50, 50));
        blend.Apply(50);
    }
    canvas.EndDrawing(&p, nullptr, TRect(0, 0, 50, 50));
    p.end();
    QCOMPARE(PixelAt(window, 25, 25), RGBColor(127, 127, 127));
}

void TestGradients::blendClampedAndInert()
{
    TImageCanvas c(40, 40);
    {
        TKorBlend blend(&c.Canvas, TRect(-10, -5, 20, 20));
        QCOMPARE(blend.Rect(), TRect(0, 0, 20, 20));
        c.Canvas.Brush().SetColor(clBlack);
        c.Canvas.Pen().SetStyle(psClear);
        c.Canvas.FillRect(TRect(-10, -10, 30, 30));
        blend.Apply(100);
    }
    // Inside the clamped rectangle the background is back; outside it the
    // element stays as drawn.
    QCOMPARE(PixelAt(c.Image, 0, 0), clWhite);
    QCOMPARE(PixelAt(c.Image, 19, 19), clWhite);
    QCOMPARE(PixelAt(c.Image, 25, 25), clBlack);
    TKorBlend inert(&c.Canvas, TRect(-10, -10, -1, 30));
    QVERIFY(!inert.Valid());
    inert.Apply(50);
    TKorBlend empty(&c.Canvas, TRect(5, 5, 5, 30));
    QVERIFY(!empty.Valid());
    // A blend never applied keeps the element.
    {
        TKorBlend forgotten(&c.Canvas, TRect(30, 0, 40, 10));
        c.Canvas.Brush().SetColor(clRed);
        c.Canvas.FillRect(TRect(30, 0, 40, 10));
    }
    QCOMPARE(PixelAt(c.Image, 35, 5), clRed);
    // The recording canvas sees the brackets.
    TRecordingCanvas rec;
    {
        TKorBlend blend(&rec, TRect(1, 2, 3, 4));
        blend.Apply(20);
    }
    QCOMPARE(rec.Names(), QStringList({"BeginTransparency", "EndTransparency"}));
    QCOMPARE(rec.Last("EndTransparency")->Int(0), 20);
}

namespace {
// The scene of the transparency tests: black and white halves under a red
// ellipse drawn 40 % transparent.
void DrawScene(TKorCanvas3D &c)
{
    c.Pen().SetStyle(psClear);
    c.Brush().SetColor(clWhite);
    c.FillRect(TRect(0, 0, 96, 96));
    c.Brush().SetColor(clBlack);
    c.FillRect(TRect(0, 0, 48, 96));
    TKorBlend blend(&c, TRect(8, 8, 88, 88));
    c.Brush().SetColor(clRed);
    c.Ellipse(8, 8, 88, 88);
    blend.Apply(40);
}

QImage RasterScene()
{
    TImageCanvas t(96, 96);
    DrawScene(t.Canvas);
    return t.End().copy();
}

// Compares the inside of two pictures (away from edges, where smoothing of
// other renderers differs) within a tolerance per channel.
void CompareScenes(const QImage &a, const QImage &b, int tolerance)
{
    for (QPoint p : {QPoint(30, 48), QPoint(66, 48), QPoint(48, 20), QPoint(48, 76), QPoint(4, 4), QPoint(92, 92),
                     QPoint(20, 48), QPoint(76, 48)}) {
        const QColor ca(a.pixel(p)), cb(b.pixel(p));
        QVERIFY2(std::abs(ca.red() - cb.red()) <= tolerance && std::abs(ca.green() - cb.green()) <= tolerance &&
                     std::abs(ca.blue() - cb.blue()) <= tolerance,
                 qPrintable(QStringLiteral("at %1, %2: %3 against %4")
                                .arg(p.x())
                                .arg(p.y())
                                .arg(ca.name(), cb.name())));
    }
}
} // namespace

void TestGradients::blendOnTargetsWithoutPixels()
{
    const QImage raster = RasterScene();
    // Red 40 % transparent over black and over white.
    QCOMPARE(PixelAt(raster, 30, 48), RGBColor(255 - 40 * 255 / 100, 0, 0));
    QCOMPARE(PixelAt(raster, 66, 48), RGBColor(255, 40 * 255 / 100, 40 * 255 / 100));
    // A recorded picture has no pixels to read: the element goes through a
    // layer drawn with opacity.
    QPicture picture;
    {
        QPainter p(&picture);
        TKorCanvas3D c;
        c.Attach(&p);
        DrawScene(c);
    }
    QImage replay(96, 96, QImage::Format_RGB32);
    replay.fill(Qt::white);
    {
        QPainter p(&replay);
        picture.play(&p);
    }
    CompareScenes(replay, raster, 2);
}

void TestGradients::blendOnPdfLooksLikeRaster()
{
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        QSKIP("pdftoppm is not installed");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString pdf = dir.filePath(QStringLiteral("scene.pdf"));
    {
        QPdfWriter writer(pdf);
        writer.setResolution(96);
        writer.setPageSize(QPageSize(QSizeF(72, 72), QPageSize::Point)); // 96 x 96 pixels
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter p(&writer);
        TKorCanvas3D c;
        c.Attach(&p);
        DrawScene(c);
    }
    QProcess run;
    run.start(pdftoppm, {QStringLiteral("-r"), QStringLiteral("96"), QStringLiteral("-png"), QStringLiteral("-singlefile"),
                         pdf, dir.filePath(QStringLiteral("scene"))});
    QVERIFY(run.waitForFinished(30000));
    QCOMPARE(run.exitCode(), 0);
    QImage page(dir.filePath(QStringLiteral("scene.png")));
    QVERIFY(!page.isNull());
    QCOMPARE(page.size(), QSize(96, 96));
    CompareScenes(page.convertToFormat(QImage::Format_RGB32), RasterScene(), 3);
}

QTEST_MAIN(TestGradients)
#include "tst_gradients.moc"
