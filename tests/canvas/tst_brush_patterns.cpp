// The twelve extra brush patterns compiled into the canvas library: 8 x 8
// monochrome bitmaps, black on white, each drawing what its name says and
// tiling without seams.

#include "canvas/CanvasResources.h"

#include <QFile>
#include <QImage>
#include <QtTest>

#include <functional>

namespace {
// Black pixels of a pattern, indexed [y][x]; coordinates wrap around, as
// they do when a brush repeats the pattern.
struct TInk
{
    bool Black[8][8] = {};
    bool At(int x, int y) const { return Black[(y % 8 + 8) % 8][(x % 8 + 8) % 8]; }
    int Count() const
    {
        int n = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                n += Black[y][x];
        return n;
    }
    // True when every pixel equals the one (dx, dy) away.
    bool Repeats(int dx, int dy) const
    {
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                if (At(x, y) != At(x + dx, y + dy))
                    return false;
        return true;
    }
    bool Any(const std::function<bool(int)> &line) const
    {
        for (int i = 0; i < 8; ++i)
            if (line(i))
                return true;
        return false;
    }
    bool FullRow(int y) const { return Line(0, y, 1, 0); }
    bool FullColumn(int x) const { return Line(x, 0, 0, 1); }
    bool Line(int x, int y, int dx, int dy) const
    {
        for (int i = 0; i < 8; ++i)
            if (!At(x + i * dx, y + i * dy))
                return false;
        return true;
    }
};

QString PathOf(int number)
{
    return QStringLiteral(":/dendrix/patterns/KORBRUSH%1.bmp").arg(number);
}

// Reads pattern <number>; fails the test when it is no black-on-white 8 x 8
// picture.
TInk Read(int number)
{
    TInk ink;
    const QImage img = QImage(PathOf(number)).convertToFormat(QImage::Format_RGB32);
    if (img.size() != QSize(8, 8)) {
        QTest::qFail(qPrintable(PathOf(number) + QStringLiteral(" is not 8 x 8")), __FILE__, __LINE__);
        return ink;
    }
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const QRgb c = img.pixel(x, y);
            if (c != qRgb(0, 0, 0) && c != qRgb(255, 255, 255))
                QTest::qFail(qPrintable(QStringLiteral("KORBRUSH%1 has colour %2 at (%3, %4)")
                                            .arg(number).arg(c, 0, 16).arg(x).arg(y)),
                             __FILE__, __LINE__);
            ink.Black[y][x] = c == qRgb(0, 0, 0);
        }
    return ink;
}
} // namespace

class TestBrushPatterns : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void monochromeBlackOnWhite_data();
    void monochromeBlackOnWhite();
    void fillsByDensity();
    void smallLines();
    void zigZag();
};

void TestBrushPatterns::initTestCase()
{
    InitCanvasResources();
    InitCanvasResources(); // a second call must leave the registration intact
}

void TestBrushPatterns::monochromeBlackOnWhite_data()
{
    QTest::addColumn<int>("number");
    for (int n = 1; n <= 12; ++n)
        QTest::addRow("KORBRUSH%d", n) << n;
}

void TestBrushPatterns::monochromeBlackOnWhite()
{
    QFETCH(int, number);
    QFile f(PathOf(number));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray head = f.read(30);
    QVERIFY(head.startsWith("BM"));
    QCOMPARE(quint8(head[28]) | quint8(head[29]) << 8, 1); // bits per pixel
    f.close();

    const TInk ink = Read(number);
    // White is the transparent colour of a pattern brush: both must occur,
    // or the pattern would fill solid or not at all.
    QVERIFY(ink.Count() > 0);
    QVERIFY(ink.Count() < 64);
}

// "Fill 80%" ... "Fill 10%": the share of black is near the name, and each
// is lighter than the one before.
void TestBrushPatterns::fillsByDensity()
{
    const double named[] = {0.8, 0.6, 0.4, 0.2, 0.1};
    int previous = 64;
    for (int n = 1; n <= 5; ++n) {
        const int black = Read(n).Count();
        QVERIFY2(qAbs(black / 64.0 - named[n - 1]) <= 0.05 + 1e-9,
                 qPrintable(QStringLiteral("KORBRUSH%1 is %2/64 black").arg(n).arg(black)));
        QVERIFY(black < previous);
        previous = black;
    }
}

// "Vertical small", "Horiz. small", "Diag. small" (top left to bottom right),
// "Back Diag. small" (bottom left to top right), "Cross small" and
// "Diag. Cross small": lines that run the named way and, where they are
// single lines, leave the pattern unchanged when moved along them (so they
// continue across tile borders).
void TestBrushPatterns::smallLines()
{
    const TInk vertical = Read(7);
    QVERIFY(vertical.Repeats(0, 1));
    QVERIFY(!vertical.Repeats(1, 0));

    const TInk horizontal = Read(8);
    QVERIFY(horizontal.Repeats(1, 0));
    QVERIFY(!horizontal.Repeats(0, 1));

    const TInk diagonal = Read(9);
    QVERIFY(diagonal.Repeats(1, 1));
    QVERIFY(!diagonal.Repeats(1, -1));
    QVERIFY(!diagonal.Repeats(1, 0));

    const TInk backDiagonal = Read(10);
    QVERIFY(backDiagonal.Repeats(1, -1));
    QVERIFY(!backDiagonal.Repeats(1, 1));
    QVERIFY(!backDiagonal.Repeats(1, 0));

    const TInk cross = Read(11);
    QVERIFY(cross.Any([&](int y) { return cross.FullRow(y); }));
    QVERIFY(cross.Any([&](int x) { return cross.FullColumn(x); }));
    QVERIFY(!cross.Any([&](int x) { return cross.Line(x, 0, 1, 1) || cross.Line(x, 0, 1, -1); }));

    const TInk diagonalCross = Read(12);
    QVERIFY(diagonalCross.Any([&](int x) { return diagonalCross.Line(x, 0, 1, 1); }));
    QVERIFY(diagonalCross.Any([&](int x) { return diagonalCross.Line(x, 0, 1, -1); }));
    QVERIFY(!diagonalCross.Any([&](int y) { return diagonalCross.FullRow(y); }));
    QVERIFY(!diagonalCross.Any([&](int x) { return diagonalCross.FullColumn(x); }));

    // "small": closer lines than the 8-pixel platform hatches, so more than
    // one line per tile.
    int columns = 0, rows = 0;
    for (int i = 0; i < 8; ++i) {
        columns += vertical.FullColumn(i);
        rows += horizontal.FullRow(i);
    }
    QVERIFY(columns >= 2);
    QVERIFY(rows >= 2);
}

// "Zig zag": a line across the tile that goes up and down, in no one
// direction: every column is inked, no row is full, and the pattern is
// neither a straight nor a diagonal hatch.
void TestBrushPatterns::zigZag()
{
    const TInk zigzag = Read(6);
    for (int x = 0; x < 8; ++x) {
        bool inked = false;
        for (int y = 0; y < 8; ++y)
            inked = inked || zigzag.At(x, y);
        QVERIFY2(inked, qPrintable(QStringLiteral("column %1 is empty").arg(x)));
    }
    QVERIFY(!zigzag.Any([&](int y) { return zigzag.FullRow(y); }));
    QVERIFY(!zigzag.Repeats(1, 0));
    QVERIFY(!zigzag.Repeats(0, 1));
    QVERIFY(!zigzag.Repeats(1, 1));
    QVERIFY(!zigzag.Repeats(1, -1));
}

QTEST_GUILESS_MAIN(TestBrushPatterns)
#include "tst_brush_patterns.moc"
