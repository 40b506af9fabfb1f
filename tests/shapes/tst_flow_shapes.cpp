// The flow-chart and general figures as they are drawn and hit: every
// class at two sizes and at a zoom against a picture painted from the
// figures' geometry, hit tests over the whole body, the corner cases of
// the outlines, built-in styles set by the user, the control points and
// the bevelled box.

#include "FlowReferences.h"

#include "core/PropAccess.h"

using namespace GalleryTest;

namespace {

bool WhiteAround(const QImage &image, int x, int y)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int px = x + dx, py = y + dy;
            if (px >= 0 && py >= 0 && px < image.width() && py < image.height() &&
                (image.pixel(px, py) & 0xFFFFFF) != 0xFFFFFF)
                return false;
        }
    return true;
}

QRgb Rgb(TColor c)
{
    return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF) & 0xFFFFFF;
}

} // namespace

class TestFlowShapes : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { RegisterShapeGalleries(); }
    void pictures_data();
    void pictures();
    void hitsFollowTheOutline_data();
    void hitsFollowTheOutline();
    void outlineCorners_data();
    void outlineCorners();
    void builtInStylesReplaceTheOutline();
    void controlPoints_data();
    void controlPoints();
    void boxHandlesComeFirst();
    void bevelFrames_data();
    void bevelFrames();
    void textOfRightTrianglesSitsLow();
};

void TestFlowShapes::pictures_data()
{
    AddPictureRows(NamesOf(FlowReferences()));
}

void TestFlowShapes::pictures()
{
    QFETCH(QString, className);
    QFETCH(TRect, bounds);
    QFETCH(int, zoom);
    TShapeHost host(className, bounds, zoom);
    QVERIFY(host.Shape);
    const TFigureReference &ref = FlowReferences().at(className);
    const QImage expected = ReferencePicture(ref.Look(TB(bounds)), ref.Fill, zoom);
    const QImage actual = host.Picture();
    QVERIFY2(actual == expected, qPrintable(FirstDifference(actual, expected)));
    if (zoom < 0) {
        TShapeHost flat(className, bounds);
        QVERIFY(flat.Picture() != actual); // the 3D view did turn it
    }
}

void TestFlowShapes::hitsFollowTheOutline_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<TRect>("bounds");
    for (const QString &name : NamesOf(FlowReferences())) {
        QTest::newRow(name.toLatin1() + " wide") << name << kWide;
        QTest::newRow(name.toLatin1() + " tall") << name << kTall;
    }
}

// Every pixel painted with the fill hits, every pixel well clear of the
// figure does not, and the outline's vertices lie on its edge.
void TestFlowShapes::hitsFollowTheOutline()
{
    QFETCH(QString, className);
    QFETCH(TRect, bounds);
    constexpr TColor fill = 0x3060C0;
    TShapeHost host(className, bounds);
    host.Shape->SetColor(fill);
    const TExpected look = FlowReferences().at(className).Look(TB(bounds));
    const QImage picture = ReferencePicture(look, fill);
    int inside = 0, outside = 0;
    for (int y = bounds.Top - 2; y <= bounds.Bottom + 2; ++y)
        for (int x = bounds.Left - 2; x <= bounds.Right + 2; ++x) {
            const QRgb c = picture.pixel(x, y) & 0xFFFFFF;
            if (c == Rgb(fill)) {
                ++inside;
                QVERIFY2(host.Hit(TPoint(x, y)), qPrintable(QStringLiteral("(%1, %2) is filled").arg(x).arg(y)));
            } else if (WhiteAround(picture, x, y)) {
                ++outside;
                QVERIFY2(!host.Hit(TPoint(x, y)), qPrintable(QStringLiteral("(%1, %2) is outside").arg(x).arg(y)));
            }
        }
    QVERIFY(inside > 100);
    QVERIFY(outside > 100);
    for (const TPoint &v : look.Polygon)
        QVERIFY(host.Hit(v));
    // At a zoom the screen point is mapped back first.
    TShapeHost zoomed(className, bounds, 200);
    const TB b(bounds);
    QVERIFY(zoomed.Hit(TPoint(b.cx, b.cy + b.H / 8)));
    QVERIFY(!zoomed.Hit(TPoint(b.R + 3, b.B + 3)));
}

void TestFlowShapes::outlineCorners_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<TRect>("bounds");
    QTest::addColumn<int>("index");
    QTest::addColumn<TPoint>("vertex");
    QTest::addColumn<int>("count");
    // The document's last vertex is put on the left edge over the wave.
    QTest::newRow("document last") << "TDocumentShape" << TRect(0, 0, 100, 80) << 18 << TPoint(0, 70) << 19;
    // With H div 4 = 21 and cos 60° exactly 1/2 a wave point falls on a
    // half and rounds to even: 74 - 10.5 -> 64; likewise sin -150° times
    // W div 4 = 5: 5 + 2.5 -> 7. (The left arc dips below the bounds.)
    QTest::newRow("document tie y") << "TDocumentShape" << TRect(0, 0, 20, 84) << 9 << TPoint(11, 64) << 19;
    QTest::newRow("document tie x") << "TDocumentShape" << TRect(0, 0, 20, 84) << 12 << TPoint(7, 92) << 19;
    QTest::newRow("punched tape top") << "TPunchTapeShape" << TRect(0, 0, 80, 48) << 34 << TPoint(80, 2) << 35;
    QTest::newRow("punched tape left") << "TPunchTapeShape" << TRect(0, 0, 80, 48) << 16 << TPoint(0, 42) << 35;
    // A slant of 0 still slants by one pixel.
    QTest::newRow("slant 0") << "TInputOutputShape" << TRect(10, 10, 90, 50) << 1 << TPoint(11, 10) << 4;
    // A star without height still has a vertical radius of 1.
    QTest::newRow("flat star") << "TStarShape" << TRect(0, 50, 70, 50) << 2 << TPoint(68, 50) << 10;
    QTest::newRow("star 1 high") << "TStarShape" << TRect(0, 50, 70, 51) << 9 << TPoint(25, 50) << 10;
    // The default pentagon points up from the top centre.
    QTest::newRow("pentagon top") << "TPentagonShape" << TRect(0, 0, 100, 100) << 1 << TPoint(50, 0) << 5;
    QTest::newRow("octagon") << "TOctagonShape" << TRect(0, 0, 100, 100) << 0 << TPoint(4, 31) << 8;
    QTest::newRow("terminal") << "TTerminalShape" << TRect(0, 0, 100, 40) << 8 << TPoint(100, 20) << 33;
    QTest::newRow("call-out tip") << "TCallOutShape" << TRect(0, 0, 120, 60) << 4 << TPoint(30, 60) << 7;
    QTest::newRow("delay front") << "TDelayShape" << TRect(0, 0, 50, 40) << 16 << TPoint(50, 20) << 33;
}

void TestFlowShapes::outlineCorners()
{
    QFETCH(QString, className);
    QFETCH(TRect, bounds);
    QFETCH(int, index);
    QFETCH(TPoint, vertex);
    QFETCH(int, count);
    if (className == QLatin1String("TInputOutputShape")) {
        TInputOutputShape shape;
        shape.SetSlant(0);
        TPointArray points;
        QCOMPARE(shape.GetShapePoints(bounds, points), count);
        QCOMPARE(points[size_t(index)], vertex);
        return;
    }
    TShapeHost host(className, bounds);
    TPointArray points;
    QCOMPARE(host.Shape->GetShapePoints(bounds, points), count);
    QCOMPARE(points[size_t(index)], vertex);
}

void TestFlowShapes::builtInStylesReplaceTheOutline()
{
    // A manual operation set to a circle is a circle, and its outline is
    // the circle's, so a gradient is clipped to it.
    TShapeHost manual("TManualOperationShape", kWide);
    manual.Shape->SetStyle(tssCircle);
    TPointArray points;
    QCOMPARE(manual.Shape->GetShapePoints(kWide, points), 2);
    TExpected circle;
    circle.Style = tssCircle;
    circle.Body = kWide;
    QCOMPARE(manual.Picture(), ReferencePicture(circle, clAqua));
    QVERIFY(!manual.Hit(TPoint(kWide.Left + 3, kWide.Top + 3)));

    // Any figure set to a rectangle draws and hits as one; back to its own
    // style it is its figure again.
    TShapeHost terminal("TTerminalShape", kWide);
    terminal.Shape->SetStyle(tssRectangle);
    TExpected rect;
    rect.Style = tssRectangle;
    rect.Body = kWide;
    QCOMPARE(terminal.Picture(), ReferencePicture(rect, clWhite));
    QVERIFY(terminal.Hit(TPoint(kWide.Left + 1, kWide.Top + 1)));
    terminal.Shape->SetStyle(tssCustom);
    QVERIFY(!terminal.Hit(TPoint(kWide.Left + 1, kWide.Top + 1)));
    QCOMPARE(terminal.Shape->GetShapePoints(kWide, points), 33);

    // A gradient fills the figure only.
    TShapeHost star("TStarShape", kWide);
    star.Shape->Gradient()->SetVisible(true);
    star.Picture();
    QVERIFY(IsWhite(star.Tree->Pixel(kWide.Left + 4, kWide.Bottom - 4)));
    QVERIFY(!IsWhite(star.Tree->Pixel(TB(kWide).cx, TB(kWide).cy)));
}

void TestFlowShapes::controlPoints_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<TPoint>("handle");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("dy");
    QTest::addColumn<QString>("property");
    QTest::addColumn<double>("value");
    // Bounds (20, 30, 180, 130): 160 x 100.
    // Slant 12.5: s = max(20, 13) = 20; dragging by 12 gives (12 + 20) / 160.
    QTest::newRow("slant") << "TInputOutputShape" << TPoint(40, 30) << int(crSizeWE) << 12 << 5 << "Slant" << 20.0;
    QTest::newRow("slant unmoved") << "TInputOutputShape" << TPoint(40, 30) << int(crSizeWE) << 0 << 9 << "Slant"
                                   << 12.5;
    // Wall 50 %: eaves at 30 + 50; dragging by -20 leaves (50 - 20) / 100.
    QTest::newRow("wall") << "THouseShape" << TPoint(100, 80) << int(crSizeNS) << 7 << -20 << "WallSize" << 30.0;
    QTest::newRow("wall sideways") << "THouseShape" << TPoint(100, 80) << int(crSizeNS) << 15 << 0 << "WallSize"
                                   << 50.0;
    // Flap at 33 %: 30 + 33; dragging by 10 gives nearest(43) = 43.
    QTest::newRow("flap") << "TEnvelopeShape" << TPoint(100, 63) << int(crSizeNS) << 0 << 10 << "OffsetY" << 43.0;
    QTest::newRow("flap small") << "TEnvelopeShape" << TPoint(100, 63) << int(crSizeNS) << 0 << 2 << "OffsetY" << 35.0;
    // Tip at 25 % and 100 %: (60, 130); by (16, -50) to 35 % and 50 %.
    QTest::newRow("tip x") << "TCallOutShape" << TPoint(60, 130) << int(crSizeAll) << 16 << -50 << "TipX" << 35.0;
    QTest::newRow("tip y") << "TCallOutShape" << TPoint(60, 130) << int(crSizeAll) << 16 << -50 << "TipY" << 50.0;
}

void TestFlowShapes::controlPoints()
{
    QFETCH(QString, className);
    QFETCH(TPoint, handle);
    QFETCH(int, cursor);
    QFETCH(int, dx);
    QFETCH(int, dy);
    QFETCH(QString, property);
    QFETCH(double, value);
    TShapeHost host(className, kWide);
    TTreeNodeShape *s = host.Shape;
    host.Tree->SetDesigning(true);
    s->SetSelected(true);
    host.Tree->Log.clear();
    s->Draw();
    QVERIFY(host.Tree->Log.contains(QStringLiteral("handle 9 %1,%2").arg(handle.X).arg(handle.Y)));
    // Within the handle size on both axes, and no further.
    QCOMPARE(s->GetResizingCorner(handle.X + 3, handle.Y - 3), rcPoint);
    QCOMPARE(s->GetResizingCorner(handle.X + 4, handle.Y), rcNone);
    QCOMPARE(s->GetResizingCursor(handle.X, handle.Y), cursor);
    int heard = 0;
    host.Tree->OnResizingShape = [&](TTreeNodeShape *, TTreeShapeHandle corner, int &, int &) {
        heard += corner == rcPoint;
    };
    host.Tree->ResizeShape(s, rcPoint, dx, dy);
    QCOMPARE(heard, 1);
    double now;
    if (auto *c = dynamic_cast<TCallOutShape *>(s))
        now = property == QLatin1String("TipX") ? c->TipX() : c->TipY();
    else if (s->ClassInfo().FindProperty(property)->Type == TPropType::Float)
        now = GetFloatProp(*s, property);
    else
        now = double(GetOrdProp(*s, property));
    QCOMPARE(now, value);
}

void TestFlowShapes::boxHandlesComeFirst()
{
    // The slant's handle at (21, 30) lies within reach of the top-left
    // box handle, which wins.
    TShapeHost host("TInputOutputShape", kWide);
    auto *io = static_cast<TInputOutputShape *>(host.Shape);
    io->SetSlant(0);
    QCOMPARE(io->GetResizingCorner(21, 30), rcLeftTop);
    QCOMPARE(io->GetResizingCursor(21, 30), int(crSizeNWSE));
    // A box handle still resizes.
    io->Resize(rcRightBottom, 10, 10);
    QCOMPARE(io->X1(), 190);
    QCOMPARE(io->Slant(), 0.0);
}

void TestFlowShapes::bevelFrames_data()
{
    QTest::addColumn<int>("bevel");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("topLeft");
    QTest::addColumn<int>("bottomRight");
    QTest::newRow("raised") << int(bvRaised) << 1 << int(clBtnHighlight) << int(clBtnShadow);
    QTest::newRow("lowered 3") << int(bvLowered) << 3 << int(clBtnShadow) << int(clBtnHighlight);
    QTest::newRow("space") << int(bvSpace) << 2 << int(clBtnHighlight) << int(clBtnHighlight);
    QTest::newRow("none") << int(bvNone) << 4 << 0 << 0;
    // Far thicker than the box: the frame stops when the box is used up.
    QTest::newRow("huge") << int(bvRaised) << 100000000 << int(clBtnHighlight) << int(clBtnShadow);
}

void TestFlowShapes::bevelFrames()
{
    QFETCH(int, bevel);
    QFETCH(int, size);
    QFETCH(int, topLeft);
    QFETCH(int, bottomRight);
    TShapeHost host("TBeveledShape", kTall);
    auto *box = static_cast<TBeveledShape *>(host.Shape);
    box->SetBevel(TPanelBevel(bevel));
    box->SetBevelSize(size);
    const QImage actual = host.Picture();

    TPictureHost ref(kPictureW, kPictureH);
    TKorCanvas3D &c = ref.Tree->Canvas;
    const TChartPen pen;
    c.AssignPen(&pen);
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(clBtnFace);
    c.ProjectedRectangle(kTall, 0);
    TRect f(kTall.Left, kTall.Top, kTall.Right - 1, kTall.Bottom - 1);
    for (int i = 0; bevel != bvNone && i < size && f.Left <= f.Right && f.Top <= f.Bottom; ++i) {
        c.Pen().SetColor(topLeft);
        c.ProjectedLine(f.Left, f.Top, f.Left, f.Bottom, 0);
        c.ProjectedLine(f.Left, f.Top, f.Right, f.Top, 0);
        c.Pen().SetColor(bottomRight);
        c.ProjectedLine(f.Right, f.Top, f.Right, f.Bottom, 0);
        c.ProjectedLine(f.Left - 1, f.Bottom, f.Right + 1, f.Bottom, 0);
        f = TRect(f.Left + 1, f.Top + 1, f.Right - 1, f.Bottom - 1);
    }
    const QImage expected = ref.Tree->Finish();
    QVERIFY2(actual == expected, qPrintable(FirstDifference(actual, expected)));
}

void TestFlowShapes::textOfRightTrianglesSitsLow()
{
    // The text starts at the bottom, and stays there through a new text
    // object; a file need not say so.
    for (const char *name : {"TTriangleRectRightShape", "TTriangleRectLeftShape"}) {
        TShapeHost host(QString::fromLatin1(name), kWide);
        QCOMPARE(host.Shape->DefaultVertAlign(), vtaBottom);
        host.Shape->Text()->SetLines({QStringLiteral("a"), QStringLiteral("b")});
        QCOMPARE(host.Shape->Text()->VertAlign(), vtaBottom);
        const TPropInfo *vert = host.Shape->Text()->ClassInfo().FindProperty(QStringLiteral("VertAlign"));
        QVERIFY(!vert->IsStored(*host.Shape->Text()));
        host.Shape->Text()->SetVertAlign(vtaCenter);
        QVERIFY(vert->IsStored(*host.Shape->Text()));
        host.Shape->Text()->Assign(nullptr);
        QCOMPARE(host.Shape->Text()->VertAlign(), vtaBottom);
    }
}

QTEST_MAIN(TestFlowShapes)
#include "tst_flow_shapes.moc"
