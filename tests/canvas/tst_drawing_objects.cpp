// Pens, brushes, fonts, gradients, shadows and view options as data:
// defaults, change notification only on real changes, Assign, and what
// their declarations store.

#include "canvas/KorCanvas.h"
#include "core/Exceptions.h"
#include "core/PropAccess.h"

#include <QtTest>

namespace {
QStringList Stored(const TPersistent &obj)
{
    QStringList names;
    for (const TPropInfo &p : obj.ClassInfo().Properties())
        if (p.IsStored(obj))
            names << p.Name;
    return names;
}
} // namespace

class TestDrawingObjects : public QObject
{
    Q_OBJECT
private slots:
    void penDefaultsAndChanges();
    void hiddenPenStartsInvisible();
    void brushDefaultsAndImage();
    void fontDefaultsSizeAndHeight();
    void sizesStopAtTheCoordinateRange();
    void fontSubObjectsOnFirstUse();
    void gradientMiddleColour();
    void shadowAndAssign();
    void viewOptionsCallbacks();
};

void TestDrawingObjects::penDefaultsAndChanges()
{
    int changes = 0;
    TChartPen pen([&](TGraphicsObject *) { ++changes; });
    QCOMPARE(pen.Color(), clBlack);
    QCOMPARE(pen.Width(), 1);
    QCOMPARE(pen.Style(), psSolid);
    QCOMPARE(pen.Mode(), pmCopy);
    QCOMPARE(pen.EndStyle(), esRound);
    QVERIFY(!pen.SmallDots());
    QVERIFY(pen.Visible());
    QCOMPARE(Stored(pen), QStringList());
    pen.SetWidth(1);
    QCOMPARE(changes, 0);
    pen.SetWidth(3);
    pen.SetEndStyle(esFlat);
    pen.SetVisible(false);
    QCOMPARE(changes, 3);
    QCOMPARE(Stored(pen), QStringList({"Width", "EndStyle", "Visible"}));

    TChartPen copy;
    int copyChanges = 0;
    copy.OnChange = [&](TGraphicsObject *) { ++copyChanges; };
    copy.Assign(&pen);
    QCOMPARE(copyChanges, 1);
    QCOMPARE(copy.Width(), 3);
    QCOMPARE(copy.EndStyle(), esFlat);
    QVERIFY(!copy.Visible());
    copy.Assign(&pen); // nothing differs: no report
    QCOMPARE(copyChanges, 1);
}

void TestDrawingObjects::hiddenPenStartsInvisible()
{
    TChartHiddenPen pen;
    QVERIFY(!pen.Visible());
    QCOMPARE(Stored(pen), QStringList());
    pen.SetVisible(true);
    QCOMPARE(Stored(pen), QStringList({"Visible"}));
    QCOMPARE(EnumInfoOf<TPenStyle>().Name(psInsideFrame), QStringLiteral("psInsideFrame"));
}

void TestDrawingObjects::brushDefaultsAndImage()
{
    int changes = 0;
    TChartBrush brush([&](TGraphicsObject *) { ++changes; });
    QCOMPARE(brush.Color(), clDefault);
    QCOMPARE(brush.Style(), bsSolid);
    QCOMPARE(brush.PeekImage(), nullptr);
    QVERIFY(!brush.HasImage());
    QCOMPARE(Stored(brush), QStringList());
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(Qt::red);
    brush.Image()->SetImage(img);
    QVERIFY(brush.HasImage());
    QVERIFY(changes >= 1); // the picture reports through the brush
    QCOMPARE(Stored(brush), QStringList({"Image"}));
    brush.SetImage(nullptr);
    QCOMPARE(brush.PeekImage(), nullptr);
    TBrush plain;
    QCOMPARE(plain.Color(), clWhite);
}

void TestDrawingObjects::fontDefaultsSizeAndHeight()
{
    TKorFont font;
    QCOMPARE(font.Name(), QStringLiteral("Arial"));
    QCOMPARE(font.Size(), 8);
    QCOMPARE(font.Height(), -11);
    QCOMPARE(font.Color(), clBlack);
    QCOMPARE(font.Charset(), 1);
    QCOMPARE(Stored(font), QStringList());
    font.SetSize(10);
    QCOMPARE(font.Height(), -13);
    font.SetStyle(SetBit(fsBold) | SetBit(fsItalic));
    QCOMPARE(Stored(font), QStringList({"Height", "Style"}));
    QVERIFY(font.ToQFont().bold());
    QCOMPARE(font.ToQFont().pixelSize(), 13);
    QCOMPARE(GetPropText(font, QStringLiteral("Style")), QStringLiteral("[fsBold,fsItalic]"));
    // Printer resolution keeps the size in points.
    font.SetPixelsPerInch(600);
    QCOMPARE(font.Size(), 10);
    QCOMPARE(font.Height(), -83);
}

void TestDrawingObjects::sizesStopAtTheCoordinateRange()
{
    // Any size a file holds: a font's height (also through its size in
    // points), a pen's width and a shadow's sizes stop at the ends of the
    // coordinate range.
    TKorFont font;
    font.SetSize(INT_MIN);
    QCOMPARE(font.Height(), kCoordLimit);
    font.SetSize(INT_MAX);
    QCOMPARE(font.Height(), -kCoordLimit);
    QCOMPARE(font.ToQFont().pixelSize(), kCoordLimit);
    font.SetHeight(-kCoordLimit + 1);
    QCOMPARE(font.Height(), -kCoordLimit + 1);
    TChartPen pen;
    pen.SetWidth(INT_MAX);
    QCOMPARE(pen.Width(), kCoordLimit);
    pen.SetWidth(INT_MIN);
    QCOMPARE(pen.Width(), -kCoordLimit);
    TKorShadow shadow;
    shadow.SetHorizSize(INT_MIN);
    shadow.SetVertSize(INT_MAX);
    QCOMPARE(TPoint(shadow.HorizSize(), shadow.VertSize()), TPoint(-kCoordLimit, kCoordLimit));
}

void TestDrawingObjects::fontSubObjectsOnFirstUse()
{
    int changes = 0;
    TKorFont font([&](TGraphicsObject *) { ++changes; });
    QCOMPARE(font.PeekShadow(), nullptr);
    QCOMPARE(font.ShadowHorizSize(), 0);
    QVERIFY(!Stored(font).contains(QStringLiteral("Shadow")));
    font.Shadow()->SetHorizSize(-2);
    QCOMPARE(changes, 1);
    QCOMPARE(font.ShadowHorizSize(), -2);
    QVERIFY(Stored(font).contains(QStringLiteral("Shadow")));
    QVERIFY(!font.OutLine()->Visible());
    font.Gradient()->SetOutline(true);

    TKorFont copy;
    copy.Assign(&font);
    QVERIFY(copy.PeekShadow() && copy.PeekOutLine() && copy.PeekGradient());
    QCOMPARE(copy.Shadow()->HorizSize(), -2);
    QVERIFY(copy.Gradient()->Outline());
    // Assigning a font without sub-objects frees the copy's own ones.
    TKorFont plain;
    copy.Assign(&plain);
    QCOMPARE(copy.PeekShadow(), nullptr);
    QCOMPARE(copy.PeekGradient(), nullptr);
    SetPropText(copy, QStringLiteral("Shadow.VertSize"), QStringLiteral("4"));
    QCOMPARE(copy.ShadowVertSize(), 4);
}

void TestDrawingObjects::gradientMiddleColour()
{
    int changes = 0;
    TKorGradient g([&](TGraphicsObject *) { ++changes; });
    QVERIFY(!g.Visible());
    QCOMPARE(g.Direction(), gdTopBottom);
    QCOMPARE(g.StartColor(), clWhite);
    QCOMPARE(g.EndColor(), clYellow);
    QCOMPARE(g.MidColor(), clNone);
    QCOMPARE(Stored(g), QStringList());
    g.SetMidColor(clRed);
    QVERIFY(g.HasMidColor());
    QCOMPARE(g.MidColor(), clRed);
    QCOMPARE(Stored(g), QStringList({"MidColor"}));
    g.SetMidColor(clNone);
    QVERIFY(!g.HasMidColor());
    QCOMPARE(g.MidColor(), clNone);
    QCOMPARE(Stored(g), QStringList());
    g.SetMidColor(clRed);
    QCOMPARE(g.MidColor(), clRed);
    QCOMPARE(changes, 3);
    g.SetMidColor(clRed);
    QCOMPARE(changes, 3);

    TKorGradient copy;
    copy.Assign(&g);
    QCOMPARE(copy.MidColor(), clRed);
    QCOMPARE(TKorGradient::StaticClassInfo().Properties().size(), size_t(5));
    QCOMPARE(TKorFontGradient::StaticClassInfo().Properties().back().Name, QStringLiteral("Outline"));
}

void TestDrawingObjects::shadowAndAssign()
{
    TKorShadow s;
    QCOMPARE(s.Color(), clSilver);
    QVERIFY(!s.HasSize());
    s.SetVertSize(3);
    TKorShadow t;
    t.Assign(&s);
    QCOMPARE(t.VertSize(), 3);
    QVERIFY(t.HasSize());
    TChartPen pen;
    QVERIFY_THROWS_EXCEPTION(EConvertError, t.Assign(&pen));
}

void TestDrawingObjects::viewOptionsCallbacks()
{
    TView3DOptions o;
    QCOMPARE(o.Zoom(), 100);
    QCOMPARE(o.Elevation(), 345);
    QCOMPARE(o.Perspective(), 15);
    QVERIFY(o.Orthogonal());
    QVERIFY(o.ZoomText());
    int zoomSeen = 0, zoomWhenCalled = 0, changes = 0;
    QList<bool> scrolled;
    o.OnZoomChange = [&](int z) {
        zoomSeen = z;
        zoomWhenCalled = o.Zoom();
    };
    o.OnScrolled = [&](bool h) { scrolled << h; };
    o.OnChange = [&](TGraphicsObject *) { ++changes; };
    o.SetZoom(150);
    QCOMPARE(zoomSeen, 150);
    QCOMPARE(zoomWhenCalled, 100); // before it is stored
    o.SetHorizOffset(10);
    o.SetVertOffset(-4);
    o.SetVertOffset(-4);
    QCOMPARE(scrolled, QList<bool>({true, false}));
    QCOMPARE(changes, 3);
}

QTEST_GUILESS_MAIN(TestDrawingObjects)
#include "tst_drawing_objects.moc"
