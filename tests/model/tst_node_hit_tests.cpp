// Hit tests of nodes at screen positions: every style agrees with its drawn
// pixels, lines are hit within 3 pixels, custom outlines, the image beside
// the body, culling, zoom and scrolling, and the cross box's hit area.

#include "DrawTestUtil.h"

#include "core/ClassRegistry.h"

#include <QtTest>
#include <climits>

namespace {

// A custom outline: a triangle pointing up, as a gallery shape gives it.
class TSpikeShape : public TTreeNodeShape
{
    DX_OBJECT(TSpikeShape)
public:
    explicit TSpikeShape(TComponent *owner = nullptr) : TTreeNodeShape(owner) { SetStyle(tssCustom); }
    int GetShapePoints(const TRect &r, TPointArray &points) const override
    {
        if (!HasOutline)
            return 0;
        // A buffer longer than the count: only the counted points count.
        points = {TPoint(r.Left, r.Bottom), TPoint((r.Left + r.Right) / 2, r.Top), TPoint(r.Right, r.Bottom),
                  TPoint(-1000, -1000)};
        return 3;
    }
    bool HasOutline = true;
};

const TClassInfo &TSpikeShape::StaticClassInfo()
{
    static const TClassInfo info("TSpikeShape", &TTreeNodeShape::StaticClassInfo());
    return info;
}

} // namespace

class TestNodeHitTests : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void hitsAgreeWithPixels_data();
    void hitsAgreeWithPixels();
    void edgesOfTheRectangle();
    void linesWithinThreePixels();
    void customOutline();
    void imageBesideTheBody();
    void invisibleAndCulled();
    void zoomedAndScrolled();
    void crossBoxHitArea();
};

void TestNodeHitTests::initTestCase()
{
    RegisterModelClasses();
    RegisterClass<TSpikeShape>();
}

void TestNodeHitTests::hitsAgreeWithPixels_data()
{
    QTest::addColumn<int>("style");
    for (TTreeShapeStyle s : {tssRectangle, tssCircle, tssDiamond, tssTriangleTop, tssTriangleBottom, tssTriangleLeft,
                              tssTriangleRight, tssRoundRectangle})
        QTest::newRow(qPrintable(EnumInfoOf<TTreeShapeStyle>().Name(s))) << int(s);
}

void TestNodeHitTests::hitsAgreeWithPixels()
{
    // Every pixel well inside the drawn figure hits; every pixel well
    // outside it (all eight neighbours white as well) misses.
    QFETCH(int, style);
    TPictureHost host;
    TTreeNodeShape *node = host.Node(20, 20, 60, 44, TTreeShapeStyle(style));
    node->SetColor(clRed);
    node->Draw();
    const QImage &image = host.Tree->Image;
    auto allOf = [&](int x, int y, bool white) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (IsWhite(image.pixel(x + dx, y + dy)) != white)
                    return false;
        return true;
    };
    int inside = 0, outside = 0;
    for (int y = 12; y < 52; ++y)
        for (int x = 12; x < 68; ++x) {
            if (allOf(x, y, false)) {
                ++inside;
                QVERIFY2(node->PointInShape(x, y), qPrintable(QStringLiteral("%1,%2 misses").arg(x).arg(y)));
            } else if (allOf(x, y, true)) {
                ++outside;
                QVERIFY2(!node->PointInShape(x, y), qPrintable(QStringLiteral("%1,%2 hits").arg(x).arg(y)));
            }
        }
    QVERIFY(inside > 200);
    QVERIFY(outside > 1000);
    // At least two corners of every figure but the rectangle lie outside it.
    if (style != tssRectangle) {
        int missed = 0;
        for (auto [x, y] : {std::pair{20, 20}, {60, 20}, {20, 44}, {60, 44}})
            missed += !node->PointInShape(x, y);
        QVERIFY(missed >= 2);
    }
}

void TestNodeHitTests::edgesOfTheRectangle()
{
    TPictureHost host;
    TTreeNodeShape *node = host.Node(20, 20, 60, 44);
    QVERIFY(node->PointInShape(20, 20));
    QVERIFY(node->PointInShape(59, 43));
    QVERIFY(!node->PointInShape(60, 30));
    QVERIFY(!node->PointInShape(30, 44));
    QVERIFY(!node->PointInShape(19, 30));
    // The rounded rectangle's cut corners are not part of it; its outline
    // (drawn up to the right and bottom coordinates) is.
    node->SetStyle(tssRoundRectangle);
    QVERIFY(!node->PointInShape(20, 20));
    QVERIFY(!node->PointInShape(20, 21));
    QVERIFY(!node->PointInShape(21, 20));
    QVERIFY(node->PointInShape(21, 22));
    QVERIFY(node->PointInShape(23, 20));
    QVERIFY(node->PointInShape(60, 30));
    QVERIFY(!node->PointInShape(60, 43));
    // A diamond's vertices belong to it.
    node->SetStyle(tssDiamond);
    QVERIFY(node->PointInShape(20, 32));
    QVERIFY(node->PointInShape(40, 44));
    QVERIFY(!node->PointInShape(19, 32));
}

void TestNodeHitTests::linesWithinThreePixels()
{
    TPictureHost host;
    TTreeNodeShape *node = host.Node(20, 20, 60, 44, tssVertLine); // x = 40
    QVERIFY(node->PointInShape(43, 30));
    QVERIFY(node->PointInShape(37, 30));
    QVERIFY(!node->PointInShape(44, 30));
    QVERIFY(!node->PointInShape(36, 30));
    QVERIFY(node->PointInShape(40, 44));
    QVERIFY(!node->PointInShape(40, 45));

    node->SetStyle(tssHorizLine); // y = 32
    QVERIFY(node->PointInShape(30, 35));
    QVERIFY(node->PointInShape(30, 29));
    QVERIFY(!node->PointInShape(30, 36));
    QVERIFY(!node->PointInShape(30, 28));
    QVERIFY(!node->PointInShape(61, 32));

    // Oblique lines: within 3 pixels of the segment, measured across it.
    // The segment (20, 20)-(60, 44) passes (40, 32) with slope 0.6, so a
    // vertical step of k is k x 0.857 away from it.
    node->SetStyle(tssLine);
    QVERIFY(node->PointInShape(40, 35));
    QVERIFY(!node->PointInShape(40, 36));
    QVERIFY(node->PointInShape(40, 29));
    QVERIFY(!node->PointInShape(40, 28));
    QVERIFY(!node->PointInShape(55, 25)); // inside the rectangle, far from the line
    // The inverted line is the other diagonal, hit the same way.
    node->SetStyle(tssInvertLine);
    QVERIFY(node->PointInShape(40, 35));
    QVERIFY(!node->PointInShape(40, 36));
    QVERIFY(node->PointInShape(21, 43));
    QVERIFY(!node->PointInShape(25, 25));
}

void TestNodeHitTests::customOutline()
{
    TPictureHost host;
    host.Tree->DefaultFormat().SetShapeClass(&TSpikeShape::StaticClassInfo());
    auto *spike = dynamic_cast<TSpikeShape *>(host.Node(20, 20, 60, 44, tssCustom));
    QVERIFY(spike);
    spike->SetColor(clRed);
    QVERIFY(spike->PointInShape(40, 40));
    QVERIFY(spike->PointInShape(40, 21));
    QVERIFY(!spike->PointInShape(22, 22));
    QVERIFY(!spike->PointInShape(58, 22));
    // Drawn as the same three-point polygon (the extra buffer entry is not
    // part of it).
    spike->Draw();
    QVERIFY(host.Tree->Canvas.Has("Polygon", {20, 44, 40, 20, 60, 44}));
    QVERIFY(IsWhite(host.Tree->Pixel(22, 22)));
    QCOMPARE(host.Tree->Pixel(40, 40), QRgb(0xFF0000));
    // Without an outline: the rectangle, and nothing drawn.
    spike->HasOutline = false;
    QVERIFY(spike->PointInShape(22, 22));
    QVERIFY(!spike->PointInShape(60, 22));
    host.Tree->Wipe();
    spike->Draw();
    QCOMPARE(host.Tree->Canvas.Count("Polygon"), 0);
}

void TestNodeHitTests::imageBesideTheBody()
{
    TPictureHost host;
    TTreeNodeShape *node = host.Node(22, 20, 60, 44);
    node->SetImageIndex(tiDesktop);
    QCOMPARE(node->ImageSize(), QSize(16, 16));
    node->SetImageAlignment(iaLeft);
    node->SetImageBounds(TRect(3, 24, 19, 40));
    node->SetBounds(TRect(3, 20, 60, 44));
    QVERIFY(node->PointInShape(3, 24));
    QVERIFY(node->PointInShape(18, 39));
    QVERIFY(!node->PointInShape(19, 30));
    QVERIFY(!node->PointInShape(10, 40));
    QVERIFY(!node->PointInShape(2, 30));
    // Images off, or the image inside the body: the old image place misses.
    host.Tree->SetShowImages(false);
    QVERIFY(!node->PointInShape(10, 30));
    host.Tree->SetShowImages(true);
    node->SetImageAlignment(iaCenter);
    QVERIFY(!node->PointInShape(10, 30));
    node->SetImageAlignment(iaRightTop);
    QVERIFY(node->PointInShape(10, 30));
    node->SetImageIndex(tiNone);
    QVERIFY(!node->PointInShape(10, 30));
}

void TestNodeHitTests::invisibleAndCulled()
{
    TPictureHost host;
    TPictureTree *t = host.Tree;
    TTreeNodeShape *node = host.Node(20, 20, 60, 44);
    QVERIFY(node->PointInShape(30, 30));
    node->SetVisible(false);
    QVERIFY(!node->PointInShape(30, 30));
    QCOMPARE(t->ShapeAt(30, 30), nullptr);
    node->SetVisible(true);
    QCOMPARE(t->ShapeAt(30, 30), node);
    // A node off the visible area is never hit.
    t->Visible = TRect(100, 100, 200, 200);
    QVERIFY(!node->PointInShape(30, 30));
    // Its paint bounds count: the image part may bring it in.
    t->Visible = TRect(0, 0, 10, 30);
    QVERIFY(!node->PointInShape(30, 30));
    node->SetBounds(TRect(5, 20, 60, 44));
    QVERIFY(node->PointInShape(30, 30));
    // A zero-width vertical line is still a figure on screen.
    TTreeNodeShape *line = host.Node(8, 0, 8, 30, tssVertLine);
    QVERIFY(line->PointInShape(9, 5));
}

void TestNodeHitTests::zoomedAndScrolled()
{
    TPictureHost host(400, 300);
    TPictureTree *t = host.Tree;
    TTreeNodeShape *node = host.Node(20, 20, 60, 44, tssCircle);
    t->Project(200, 10, -5);
    auto screen = [&](int x, int y) { return t->Canvas.ProjectPoint(x, y, 0); };
    const TPoint centre = screen(40, 32);
    QVERIFY(node->PointInShape(centre.X, centre.Y));
    QVERIFY(node->PointInShape(screen(58, 32).X, screen(58, 32).Y));
    QVERIFY(!node->PointInShape(screen(21, 21).X, screen(21, 21).Y));
    QVERIFY(!node->PointInShape(screen(61, 32).X, screen(61, 32).Y));
    // The model position itself is elsewhere on the zoomed screen: the
    // screen point (40, 32) shows the model point (115, 94).
    QVERIFY(!node->PointInShape(40, 32));
    QCOMPARE(t->ShapeAt(centre.X, centre.Y), node);
}

void TestNodeHitTests::crossBoxHitArea()
{
    TPictureHost host;
    TPictureTree *t = host.Tree;
    TTreeNodeShape *node = host.Node(20, 20, 60, 44, tssRectangle, QStringLiteral("A"));
    node->AddChild(QStringLiteral("B"));
    // The image's centre, so the box stays at (100, 70) at any zoom.
    host.Layout->CrossPos = [](TTreeNodeShape *) { return TPoint(100, 70); };
    TTreeNodeCrossBox *box = t->CrossBox();

    // Border 1 + size 4: 5 pixels each way, right and bottom excluded.
    QVERIFY(node->PointInCross(95, 65));
    QVERIFY(node->PointInCross(104, 74));
    QVERIFY(!node->PointInCross(105, 70));
    QVERIFY(!node->PointInCross(100, 75));
    QVERIFY(!node->PointInCross(94, 70));
    box->SetClickTolerance(2);
    QVERIFY(node->PointInCross(93, 70));
    QVERIFY(!node->PointInCross(92, 70));
    box->SetClickTolerance(0);

    // The area follows the zoom: round(5 x 2) = 10, round(5 x 0.5) = 2
    // (ties to even).
    t->Project(200);
    QVERIFY(node->PointInCross(90, 60));
    QVERIFY(node->PointInCross(109, 79));
    QVERIFY(!node->PointInCross(110, 70));
    t->Project(50);
    QVERIFY(node->PointInCross(98, 70));
    QVERIFY(!node->PointInCross(97, 70));
    QVERIFY(node->PointInCross(101, 71));
    QVERIFY(!node->PointInCross(102, 70));
    t->Project(100);

    // Sizes and tolerances read from a file may be any integers.
    box->SetSize(INT_MAX);
    box->SetClickTolerance(INT_MAX);
    QVERIFY(node->PointInCross(-100000, 100000));
    box->SetSize(INT_MIN);
    box->SetClickTolerance(INT_MIN);
    QVERIFY(!node->PointInCross(100, 70));
    box->SetSize(4);
    box->SetClickTolerance(0);

    // Only with a box to click.
    QVERIFY(node->PointInCross(100, 70));
    box->SetVisible(false);
    QVERIFY(!node->PointInCross(100, 70));
    box->SetVisible(true);
    node->SetVisible(false);
    QVERIFY(!node->PointInCross(100, 70));
    node->SetVisible(true);
    node->SetShowCross(scNever);
    QVERIFY(!node->PointInCross(100, 70));
    TTreeNodeShape *leaf = host.Node(20, 60, 60, 80);
    QVERIFY(!leaf->PointInCross(100, 70));
    leaf->SetShowCross(scAlways);
    QVERIFY(leaf->PointInCross(100, 70));
    t->DefaultFormat().SetChildManager(nullptr);
    QVERIFY(!leaf->PointInCross(100, 70));
}

QTEST_MAIN(TestNodeHitTests)
#include "tst_node_hit_tests.moc"
