// The UML, electric and transit galleries as they are drawn and hit: every
// class at two sizes, at a zoom and turned in 3D against a picture painted
// from the symbols' geometry in drawing order, hit tests, the corner cases
// of the strokes, the stop sign's size and the signs' defaults.

#include "FlowReferences.h"

#include "model/ShapePalette.h"
#include "shapes/TreeElectric.h"
#include "shapes/TreeTransit.h"
#include "shapes/TreeUML.h"

using namespace GalleryTest;

namespace {

// What a symbol should look like: its body, then its strokes in the order
// they are drawn, with the border pen and the node's colour as brush.
struct TLook : TExpected
{
    void Line(int x0, int y0, int x1, int y1)
    {
        Ops.push_back([=](TKorCanvas3D &c) { c.ProjectedLine(x0, y0, x1, y1, 0); });
    }
    void Ellipse(int x0, int y0, int x1, int y1)
    {
        Ops.push_back([=](TKorCanvas3D &c) { c.ProjectedEllipse(x0, y0, x1, y1, 0); });
    }
    void Rect(int x0, int y0, int x1, int y1)
    {
        Ops.push_back([=](TKorCanvas3D &c) { c.ProjectedRectangle(TRect(x0, y0, x1, y1), 0); });
    }
    void Triangle(const TPointArray &p)
    {
        Ops.push_back([=](TKorCanvas3D &c) { c.ProjectedPolygon(p, 0); });
    }
    // Horizontal leads at the middle height, `length` in from either side.
    void Leads(const TB &b, int length)
    {
        Line(b.L, b.cy, b.L + length, b.cy);
        Line(b.R, b.cy, b.R - length, b.cy);
    }
};

struct TSymbol
{
    TColor Fill;
    std::function<TLook(const TB &)> Look;
};

TLook Styled(TTreeShapeStyle style)
{
    TLook l;
    l.Style = style;
    return l;
}

TLook SolidResistor(const TB &b)
{
    TLook l;
    const int q = b.W / 4;
    l.Rect(b.L + q, b.T, b.R - q, b.B);
    l.Leads(b, q);
    return l;
}

const std::map<QString, TSymbol> &Symbols()
{
    static const std::map<QString, TSymbol> symbols = {
        // ---- UML
        {"TPackageShape", {clWhite, [](const TB &b) {
             TLook l;
             l.Polygon = {{b.L, b.T}, {b.L, b.B}, {b.R, b.B}, {b.R, b.T + b.H / 4}, {b.L + b.W / 3, b.T + b.H / 4},
                          {b.L + b.W / 3, b.T}};
             l.Line(b.L, b.T + b.H / 4, b.L + b.W / 3, b.T + b.H / 4);
             return l;
         }}},
        // Without text: the name's line right under the top, the second
        // line half way down.
        {"TClassShape", {clWhite, [](const TB &b) {
             TLook l = Styled(tssRectangle);
             l.Line(b.L, b.T + 1, b.R, b.T + 1);
             l.Line(b.L, b.B - b.H / 2, b.R, b.B - b.H / 2);
             return l;
         }}},
        {"TInterfaceShape", {clWhite, [](const TB &b) {
             TLook l = Styled(tssRectangle);
             l.Line(b.L, b.T + 1, b.R, b.T + 1);
             return l;
         }}},
        {"TActionShape", {clWhite, [](const TB &b) {
             TLook l;
             const int q = b.W / 6, ry = b.H / 2;
             l.Polygon = {{b.R - q, b.T}, {b.L + q, b.T}};
             for (int i = 1; i <= 16; ++i)
                 l.Polygon.emplace_back(b.L + q - Nearest(std::cos(HalfTurnAngle(i, 16)) * q),
                                        b.cy + Nearest(std::sin(HalfTurnAngle(i, 16)) * ry));
             l.Polygon.emplace_back(b.L + q, b.B);
             for (int i = 1; i <= 15; ++i)
                 l.Polygon.emplace_back(b.R - q + Nearest(std::cos(HalfTurnAngle(i, 16)) * q),
                                        b.cy - Nearest(std::sin(HalfTurnAngle(i, 16)) * ry));
             return l;
         }}},
        {"TActorShape", {clWhite, [](const TB &b) {
             TLook l;
             const int t = b.H / 3, n = b.H / 9, g = (t - n) / 2;
             l.Line(b.L, b.T + t, b.R, b.T + t);
             l.Line(b.cx, b.T + t - n, b.cx, b.B - t);
             l.Line(b.cx, b.B - t, b.L, b.B);
             l.Line(b.cx, b.B - t, b.R, b.B);
             l.Ellipse(b.cx - g, b.T, b.cx + g, b.T + 2 * g);
             return l;
         }}},
        {"TProcShape", {clWhite, [](const TB &b) {
             TLook l = Styled(tssCircle);
             l.Line(b.L - 4, b.T + 2, b.L - 4, b.B - 2);
             l.Line(b.L - 4, b.cy, b.L, b.cy);
             return l;
         }}},
        {"TNoteShape", {clWhite, [](const TB &b) {
             TLook l;
             const int w = Nearest(b.W * 0.1), h = Nearest(b.H * 0.1);
             l.Polygon = {{b.L, b.T}, {b.L, b.B}, {b.R, b.B}, {b.R, b.T + h}, {b.R - w, b.T}};
             l.Line(b.R - w, b.T, b.R - w, b.T + h);
             l.Line(b.R - w, b.T + h, b.R, b.T + h);
             return l;
         }}},
        {"TStoreShape", {clWhite, [](const TB &b) {
             TLook l = Styled(tssCircle);
             l.Line(b.L + 4, b.B + 2, b.R - 4, b.B + 2);
             l.Line(b.cx, b.B + 2, b.cx, b.B);
             return l;
         }}},
        // ---- Electric
        {"TResistorShape", {clWhite, [](const TB &b) {
             TLook l;
             const int q = b.W / 8, s = b.W / 9;
             l.Leads(b, q);
             const TPoint z[] = {{b.L + q, b.cy},         {b.L + q + s, b.T},     {b.L + q + 2 * s, b.B},
                                 {b.L + q + 3 * s, b.T}, {b.L + q + 4 * s, b.B}, {b.L + q + 5 * s, b.T},
                                 {b.L + q + 6 * s, b.B}, {b.R - q, b.cy}};
             for (int i = 0; i < 7; ++i)
                 l.Line(z[i].X, z[i].Y, z[i + 1].X, z[i + 1].Y);
             return l;
         }}},
        {"TSolidResistorShape", {clWhite, SolidResistor}},
        {"TFuseShape", {clWhite, [](const TB &b) {
             // The solid resistor with the wire through it.
             TLook l = SolidResistor(b);
             l.Line(b.L, b.cy, b.R, b.cy);
             return l;
         }}},
        {"TCapacitorShape", {clWhite, [](const TB &b) {
             TLook l;
             const int a = std::min(2, b.W / 8);
             l.Line(b.L, b.cy, b.cx - a, b.cy);
             l.Line(b.R, b.cy, b.cx + a, b.cy);
             l.Line(b.cx - a, b.T, b.cx - a, b.B);
             l.Line(b.cx + a, b.T, b.cx + a, b.B);
             return l;
         }}},
        {"TDiodeShape", {clWhite, [](const TB &b) {
             TLook l;
             const int q = b.W / 3;
             l.Leads(b, q);
             l.Line(b.L + q, b.T, b.L + q, b.B);
             l.Triangle({{b.L + q, b.cy}, {b.R - q, b.T}, {b.R - q, b.B}});
             return l;
         }}},
        {"TGroundShape", {clWhite, [](const TB &b) {
             TLook l;
             const int g = b.W / 8, h = b.H / 4;
             l.Line(b.cx, b.T, b.cx, b.cy);
             l.Line(b.L, b.cy, b.R, b.cy);
             l.Line(b.L + g, b.cy + h, b.R - g, b.cy + h);
             l.Line(b.L + 2 * g, b.cy + 2 * h, b.R - 2 * g, b.cy + 2 * h);
             return l;
         }}},
        {"TSourceShape", {clWhite, [](const TB &b) {
             TLook l;
             const int q = b.H / 4, len = (b.W / 4) / 3, h = q / 3, o = h / 2;
             l.Line(b.cx, b.T, b.cx, b.T + q);
             l.Ellipse(b.L, b.T + q, b.R, b.B - q);
             l.Line(b.cx, b.B, b.cx, b.B - q);
             l.Line(b.cx, b.T + q + h, b.cx, b.T + q + 2 * h);
             l.Line(b.cx - len, b.T + q + h + o, b.cx + len, b.T + q + h + o);
             l.Line(b.cx - len, b.B - q - h - o, b.cx + len, b.B - q - h - o);
             return l;
         }}},
        {"TChasisShape", {clBlack, [](const TB &b) {
             TLook l;
             const int a = b.H / 3, g = b.W / 8;
             l.Line(b.cx, b.T, b.cx, b.T + a);
             l.Rect(b.L, b.T + a, b.R, b.B - a);
             for (int i = 0; i <= 7; ++i)
                 l.Line(b.L + g * i, b.B, b.L + g * (i + 1), b.B - a);
             return l;
         }}},
        {"TOrGateShape", {clWhite, [](const TB &b) {
             TLook l;
             l.Polygon = {{b.L, b.T}};
             const int back = b.W / 8, ry = b.H / 2, front = b.W / 2;
             for (int i = 1; i <= 16; ++i)
                 l.Polygon.emplace_back(b.L + Nearest(std::cos(HalfTurnAngle(i, 16)) * back),
                                        b.cy + Nearest(std::sin(HalfTurnAngle(i, 16)) * ry));
             for (int i = 1; i <= 16; ++i)
                 l.Polygon.emplace_back(b.R - front + Nearest(std::cos(HalfTurnAngle(i, 16)) * front),
                                        b.cy - Nearest(std::sin(HalfTurnAngle(i, 16)) * ry));
             return l;
         }}},
        {"TAndGateShape", {clWhite, [](const TB &b) {
             TLook l;
             l.Polygon = DPoints(b);
             return l;
         }}},
        {"TLampShape", {clYellow, [](const TB &b) {
             TLook l;
             l.Polygon = RegularPolygonPoints(TRect(b.L, b.T, b.R, b.B), 8, 22.5);
             const int w = Nearest(b.W / 5.0), h = Nearest(b.H / 5.0);
             l.Line(b.L + w, b.T + h, b.R - w, b.B - h);
             l.Line(b.L + w, b.B - h, b.R - w, b.T + h);
             return l;
         }}},
        // ---- Transit (drawn here without their words)
        {"TStopShape", {clRed, [](const TB &b) {
             TLook l;
             l.Polygon = RegularPolygonPoints(TRect(b.L, b.T, b.R, b.B), 8, 22.5);
             l.PenColor = clWhite;
             return l;
         }}},
        {"TYieldShape", {clYellow, [](const TB &) { return Styled(tssTriangleBottom); }}},
        {"TSlowShape", {clYellow, [](const TB &) { return Styled(tssDiamond); }}},
        {"TDangerShape", {clRed, [](const TB &) { return Styled(tssDiamond); }}},
    };
    return symbols;
}

QImage Reference(TLook look, const TRect &bounds, TColor fill, int zoom)
{
    look.Body = bounds;
    return ReferencePicture(look, fill, zoom);
}

// A symbol of a class without the words a sign is made with.
struct TSymbolHost : TShapeHost
{
    TSymbolHost(const QString &className, const TRect &r, int zoom = 100) : TShapeHost(className, r, zoom)
    {
        if (Shape)
            Shape->SetSimpleText(QString());
    }
};

// The lines a drawing of the shape draws, as "line x0,y0 x1,y1".
QStringList DrawnLines(TShapeHost &host)
{
    host.Tree->Canvas.Clear();
    host.Shape->Draw();
    QStringList lines;
    for (const TCanvasCall &c : host.Tree->Canvas.FindTopLevel(QStringLiteral("ProjectedLine")))
        lines << QStringLiteral("line %1,%2 %3,%4").arg(c.Ints[0]).arg(c.Ints[1]).arg(c.Ints[2]).arg(c.Ints[3]);
    return lines;
}

} // namespace

class TestSymbolShapes : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { RegisterShapeGalleries(); }
    void palettePages();
    void pictures_data();
    void pictures();
    void hits_data();
    void hits();
    void strokeCorners_data();
    void strokeCorners();
    void classLinesFollowTheText();
    void resistorWithABody();
    void stopSignStaysSquare();
    void signDefaults();
    void umlTextStartsAtTheTop();
};

void TestSymbolShapes::palettePages()
{
    QMap<QString, QStringList> pages;
    QStringList order;
    for (const TTreeCustomShapePalette &entry : PaletteShapes()) {
        pages[entry.Page] << entry.Name;
        if (order.isEmpty() || order.last() != entry.Page)
            order << entry.Page;
    }
    QCOMPARE(order.mid(3), (QStringList{"Transit", "Electric", "UML"}));
    QCOMPARE(pages["UML"], (QStringList{"Package", "Class", "Interface", "Action", "Actor", "Procedure", "Note", "Store"}));
    QCOMPARE(pages["Electric"], (QStringList{"Resistor", "Solid Resistor", "Fuse", "Capacitor", "Diode", "Ground",
                                             "Source", "Chasis", "OR Gate", "AND Gate", "Lamp"}));
    QCOMPARE(pages["Transit"], (QStringList{"Stop", "Yield", "Slow", "Danger"}));
    // Every class of the three pages has a reference here.
    for (const QString &page : QStringList{"Transit", "Electric", "UML"})
        for (const TTreeCustomShapePalette &entry : PaletteShapes())
            if (entry.Page == page)
                QVERIFY2(Symbols().count(entry.ShapeClass->Name()), qPrintable(entry.ShapeClass->Name()));
    // The bases files may name.
    for (const char *base : {"TUMLRectangle", "TElectricShape", "TTransitShape"})
        QVERIFY(TClassRegistry::Instance().GetClass(QString::fromLatin1(base)));
    QVERIFY(TFuseShape::StaticClassInfo().InheritsFrom(TSolidResistorShape::StaticClassInfo()));
    QVERIFY(TInterfaceShape::StaticClassInfo().InheritsFrom(TUMLRectangle::StaticClassInfo()));
    QVERIFY(TLampShape::StaticClassInfo().InheritsFrom(TOctagonShape::StaticClassInfo()));
}

void TestSymbolShapes::pictures_data()
{
    AddPictureRows(NamesOf(Symbols()));
}

void TestSymbolShapes::pictures()
{
    QFETCH(QString, className);
    QFETCH(TRect, bounds);
    QFETCH(int, zoom);
    TSymbolHost host(className, bounds, zoom);
    QVERIFY(host.Shape);
    const TSymbol &ref = Symbols().at(className);
    const QImage expected = Reference(ref.Look(TB(bounds)), bounds, ref.Fill, zoom);
    const QImage actual = host.Picture();
    QVERIFY2(actual == expected, qPrintable(FirstDifference(actual, expected)));
}

void TestSymbolShapes::hits_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<TPoint>("point");
    QTest::addColumn<bool>("hit");
    // Bounds (20, 30, 180, 130).
    // Outlines: the package's notch above the tab's right, the note's
    // folded corner, the action's rounded ends and the gates.
    QTest::newRow("package tab") << "TPackageShape" << TPoint(30, 35) << true;
    QTest::newRow("package notch") << "TPackageShape" << TPoint(150, 40) << false;
    QTest::newRow("note body") << "TNoteShape" << TPoint(100, 80) << true;
    QTest::newRow("note fold") << "TNoteShape" << TPoint(178, 32) << false;
    QTest::newRow("action middle") << "TActionShape" << TPoint(100, 80) << true;
    QTest::newRow("action corner") << "TActionShape" << TPoint(22, 32) << false;
    QTest::newRow("or gate back") << "TOrGateShape" << TPoint(22, 80) << false;
    QTest::newRow("or gate body") << "TOrGateShape" << TPoint(100, 80) << true;
    QTest::newRow("or gate tip corner") << "TOrGateShape" << TPoint(178, 32) << false;
    QTest::newRow("and gate flat back") << "TAndGateShape" << TPoint(22, 32) << true;
    QTest::newRow("and gate front corner") << "TAndGateShape" << TPoint(178, 32) << false;
    QTest::newRow("lamp") << "TLampShape" << TPoint(100, 80) << true;
    QTest::newRow("lamp corner") << "TLampShape" << TPoint(22, 32) << false;
    QTest::newRow("stop corner") << "TStopShape" << TPoint(22, 32) << false;
    // Built-in styles.
    QTest::newRow("procedure centre") << "TProcShape" << TPoint(100, 80) << true;
    QTest::newRow("procedure corner") << "TProcShape" << TPoint(22, 32) << false;
    QTest::newRow("yield top corner") << "TYieldShape" << TPoint(26, 32) << true;
    QTest::newRow("yield bottom corner") << "TYieldShape" << TPoint(22, 128) << false;
    QTest::newRow("danger corner") << "TDangerShape" << TPoint(22, 32) << false;
    QTest::newRow("class corner") << "TClassShape" << TPoint(22, 32) << true;
    // Strokes only: hit anywhere in the rectangle, and not outside.
    QTest::newRow("resistor") << "TResistorShape" << TPoint(22, 32) << true;
    QTest::newRow("actor") << "TActorShape" << TPoint(178, 128) << true;
    QTest::newRow("ground outside") << "TGroundShape" << TPoint(185, 80) << false;
}

void TestSymbolShapes::hits()
{
    QFETCH(QString, className);
    QFETCH(TPoint, point);
    QFETCH(bool, hit);
    TSymbolHost host(className, kWide);
    QCOMPARE(host.Hit(point), hit);
    // The same point at a zoom, mapped to the screen first.
    TSymbolHost zoomed(className, kWide, 200);
    QCOMPARE(zoomed.Hit(point), hit);
}

void TestSymbolShapes::strokeCorners_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<TRect>("bounds");
    QTest::addColumn<QString>("stroke"); // the recorded line that must be drawn
    // A capacitor 16 or more wide has its plates 4 apart.
    QTest::newRow("capacitor wide") << "TCapacitorShape" << TRect(0, 0, 16, 20) << "line 6,0 6,20";
    QTest::newRow("capacitor wide 2") << "TCapacitorShape" << TRect(0, 0, 16, 20) << "line 10,0 10,20";
    // Narrower than 8: both plates on the middle.
    QTest::newRow("capacitor narrow") << "TCapacitorShape" << TRect(0, 0, 7, 20) << "line 3,0 3,20";
    // An actor lower than 9 starts its body at T + H div 3.
    QTest::newRow("actor low") << "TActorShape" << TRect(0, 0, 30, 8) << "line 15,2 15,6";
    QTest::newRow("actor tall") << "TActorShape" << TRect(0, 0, 30, 90) << "line 15,20 15,60";
    // The procedure's stem and the store's stand lie outside the bounds.
    QTest::newRow("procedure stem") << "TProcShape" << TRect(10, 10, 50, 50) << "line 6,12 6,48";
    QTest::newRow("store stand") << "TStoreShape" << TRect(10, 10, 50, 50) << "line 14,52 46,52";
    QTest::newRow("ground bars") << "TGroundShape" << TRect(0, 0, 80, 40) << "line 20,40 60,40";
    QTest::newRow("source minus") << "TSourceShape" << TRect(0, 0, 48, 48) << "line 20,30 28,30";
}

void TestSymbolShapes::strokeCorners()
{
    QFETCH(QString, className);
    QFETCH(TRect, bounds);
    QFETCH(QString, stroke);
    TSymbolHost host(className, bounds);
    const QStringList lines = DrawnLines(host);
    QVERIFY2(lines.contains(stroke), qPrintable(lines.join(QLatin1String(" | "))));
}

void TestSymbolShapes::classLinesFollowTheText()
{
    // Two lines of text: the name's line under them, the second line half
    // way through what is left below.
    TSymbolHost host("TClassShape", kWide);
    host.Shape->Text()->SetLines({QStringLiteral("Name"), QStringLiteral("+ size: int")});
    TKorCanvas3D measure;
    measure.AssignFont(host.Shape->EffectiveFont());
    const int h = measure.TextHeight(QStringLiteral("W"));
    const QStringList lines = DrawnLines(host);
    const int first = kWide.Top + 2 * h + 1, second = kWide.Bottom - (kWide.Height() - 2 * h) / 2;
    QVERIFY(lines.contains(QStringLiteral("line 20,%1 180,%1").arg(first)));
    QVERIFY(lines.contains(QStringLiteral("line 20,%1 180,%1").arg(second)));
    // A plain text counts as one line.
    TSymbolHost plain("TInterfaceShape", kWide);
    plain.Shape->SetSimpleText(QStringLiteral("IShape"));
    QVERIFY(DrawnLines(plain).contains(QStringLiteral("line 20,%1 180,%1").arg(kWide.Top + h + 1)));
}

void TestSymbolShapes::resistorWithABody()
{
    // A resistor set to a rectangle draws the rectangle under its zig-zag.
    TSymbolHost host("TResistorShape", kWide);
    host.Shape->SetStyle(tssRectangle);
    TLook look = Symbols().at("TResistorShape").Look(TB(kWide));
    look.Style = tssRectangle;
    const QImage expected = Reference(look, kWide, clWhite, 100);
    QCOMPARE(host.Picture(), expected);
    QVERIFY(host.Hit(TPoint(22, 32)));
}

void TestSymbolShapes::stopSignStaysSquare()
{
    // The octagon's automatic size made square and a tenth wider.
    TShapeHost host("TStopShape", TRect(10, 10, 50, 30));
    TTreeNodeShape *stop = host.Shape;
    stop->SetAutoSize(true);
    TKorCanvas3D measure;
    stop->CalcSize(&measure);
    const int w = stop->Width();
    QCOMPARE(stop->Height(), w);
    QVERIFY(stop->AutoSize());
    // Against the plain octagon's automatic size of the same text.
    TOctagonShape octagon;
    octagon.Font()->Assign(stop->Font());
    octagon.SetSimpleText(QStringLiteral("STOP"));
    octagon.CalcSize(&measure);
    QCOMPARE(w, Nearest(octagon.Width() * 1.1));
    QVERIFY(octagon.Width() != octagon.Height());
}

void TestSymbolShapes::signDefaults()
{
    TStopShape stop;
    QCOMPARE(stop.Color(), clRed);
    QCOMPARE(stop.Border()->Color(), clWhite);
    QCOMPARE(stop.Font()->Color(), clWhite);
    QVERIFY(stop.Font()->IsBold());
    QCOMPARE(stop.SimpleText(), QStringLiteral("STOP"));
    QCOMPARE(stop.AngleOffset(), 22.5);
    TYieldShape yield;
    QCOMPARE(yield.Style(), tssTriangleBottom);
    QCOMPARE(yield.Color(), clYellow);
    QVERIFY(yield.Border()->Visible());
    QCOMPARE(yield.SimpleText(), QStringLiteral("YIELD"));
    TSlowShape slow;
    QCOMPARE(slow.Style(), tssDiamond);
    QVERIFY(slow.Font()->IsBold());
    QCOMPARE(slow.SimpleText(), QStringLiteral("SLOW"));
    TDangerShape danger;
    QCOMPARE(danger.Color(), clRed);
    QCOMPARE(danger.Font()->Color(), clWhite);
    QCOMPARE(danger.SimpleText(), QStringLiteral("DANGER"));
    TLampShape lamp;
    QCOMPARE(lamp.Color(), clYellow);
    QCOMPARE(lamp.AngleOffset(), 22.5);
    TChasisShape chasis;
    QCOMPARE(chasis.Color(), clBlack);
    QCOMPARE(TProcShape().Style(), tssCircle);
    QCOMPARE(TStoreShape().Style(), tssCircle);
    QCOMPARE(TResistorShape().Style(), tssCustom);
}

void TestSymbolShapes::umlTextStartsAtTheTop()
{
    TClassShape shape;
    QCOMPARE(shape.ImageIndex(), tiNone);
    QCOMPARE(shape.DefaultVertAlign(), vtaTop);
    shape.Text()->SetLines({QStringLiteral("a")});
    QCOMPARE(shape.Text()->VertAlign(), vtaTop);
    const TPropInfo *vert = shape.Text()->ClassInfo().FindProperty(QStringLiteral("VertAlign"));
    QVERIFY(!vert->IsStored(*shape.Text()));
    const TPropInfo *image = shape.ClassInfo().FindProperty(QStringLiteral("ImageIndex"));
    QVERIFY(!image->IsStored(shape));
    shape.SetImageIndex(tiFolderOpenClose);
    QVERIFY(image->IsStored(shape));
}

QTEST_MAIN(TestSymbolShapes)
#include "tst_symbol_shapes.moc"
