// Custom and polygon shapes as the node drawing paints them: the outline a
// class gives, the polygon and the open poly-line, their shadows, the
// selection handles at the vertices, and hit tests at a zoom.

#include "DrawTestUtil.h"
#include "ShapeTestUtil.h"

#include <QtTest>

namespace {

constexpr QRgb kRed = 0xFF0000;
constexpr QRgb kBlue = 0x0000FF;
constexpr QRgb kBlack = 0x000000;
constexpr QRgb kGray = 0x808080;

// Where a slanted line crosses a pixel row depends on the rasteriser by a
// pixel.
bool BlackInRow(const TPictureTree &tree, int x0, int x1, int y)
{
    for (int x = x0; x <= x1; ++x)
        if (tree.Pixel(x, y) == kBlack)
            return true;
    return false;
}

template <class T>
T *Add(TPictureHost &host, const TPointArray &vertices)
{
    auto *shape = new T();
    shape->SetTree(host.Tree);
    for (const TPoint &p : vertices)
        shape->AddVertex(p.X, p.Y);
    host.Tree->LayoutShapes();
    return shape;
}

} // namespace

class TestCustomShapeDrawing : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void galleryOutlineAndBuiltInStyles();
    void polygonFillsAndPolyLineStaysOpen();
    void shadowsFollowTheVertices();
    void handlesAtTheVertices();
    void hitTestsAtAZoom();
};

void TestCustomShapeDrawing::initTestCase()
{
    RegisterModelClasses();
}

void TestCustomShapeDrawing::galleryOutlineAndBuiltInStyles()
{
    TPictureHost host;
    auto *pentagon = new TTestPentagon();
    pentagon->SetTree(host.Tree);
    Place(pentagon, 20, 20, 120, 120);
    pentagon->SetBounds(TRect(20, 20, 120, 120));
    pentagon->SetColor(clRed);

    pentagon->Draw();
    QCOMPARE(host.Tree->Pixel(70, 70), kRed);
    QCOMPARE(host.Tree->Pixel(70, 20), kBlack); // the top vertex
    QVERIFY(IsWhite(host.Tree->Pixel(70, 18)));
    QVERIFY(IsWhite(host.Tree->Pixel(24, 24))); // the rectangle's corner
    QVERIFY(IsWhite(host.Tree->Pixel(116, 116)));

    // Another style draws that style's figure; back to custom, the outline.
    pentagon->SetStyle(tssRectangle);
    host.Tree->Wipe();
    pentagon->Draw();
    QCOMPARE(host.Tree->Pixel(24, 24), kRed);
    pentagon->SetStyle(tssCustom);
    host.Tree->Wipe();
    pentagon->Draw();
    QVERIFY(IsWhite(host.Tree->Pixel(24, 24)));

    // A gradient is clipped to the outline.
    pentagon->Gradient()->SetVisible(true);
    host.Tree->Wipe();
    pentagon->Draw();
    QVERIFY(!IsWhite(host.Tree->Pixel(70, 70)));
    QVERIFY(IsWhite(host.Tree->Pixel(24, 24)));

    // A class without an outline paints no body.
    auto *plain = new TCustomTreeShape();
    plain->SetTree(host.Tree);
    Place(plain, 130, 20, 180, 60);
    plain->SetColor(clRed);
    host.Tree->Wipe();
    plain->Draw();
    QVERIFY(IsWhite(host.Tree->Pixel(155, 40)));
    QCOMPARE(host.Tree->Canvas.Count(QStringLiteral("Polygon")), 0);
}

void TestCustomShapeDrawing::polygonFillsAndPolyLineStaysOpen()
{
    TPictureHost host;
    auto *triangle = Add<TPolygonShape>(host, {{20, 20}, {100, 20}, {60, 100}});
    triangle->SetColor(clBlue);
    triangle->Draw();
    QCOMPARE(host.Tree->Pixel(60, 40), kBlue);
    QCOMPARE(host.Tree->Pixel(60, 20), kBlack);
    QVERIFY(IsWhite(host.Tree->Pixel(25, 90)));

    // The same vertices as a poly-line: two strokes, nothing filled, the
    // figure not closed.
    host.Tree->Wipe();
    delete triangle;
    auto *line = Add<TPolyLineShape>(host, {{20, 20}, {100, 20}, {60, 100}});
    line->SetColor(clBlue);
    line->Draw();
    QCOMPARE(host.Tree->Pixel(60, 20), kBlack);
    QVERIFY(BlackInRow(*host.Tree, 79, 81, 60)); // the slanted side
    QVERIFY(IsWhite(host.Tree->Pixel(60, 40)));
    QVERIFY(IsWhite(host.Tree->Pixel(40, 60))); // where the closing side would be
}

void TestCustomShapeDrawing::shadowsFollowTheVertices()
{
    TPictureHost host;
    auto *triangle = Add<TPolygonShape>(host, {{20, 20}, {100, 20}, {60, 100}});
    triangle->Shadow()->SetColor(clGray);
    triangle->Shadow()->SetHorizSize(6);
    triangle->Shadow()->SetVertSize(6);
    triangle->Draw();
    // Beside the right edge, inside the shifted copy only.
    QCOMPARE(host.Tree->Pixel(104, 28), kGray);
    QVERIFY(IsWhite(host.Tree->Pixel(14, 28)));

    auto *line = Add<TPolyLineShape>(host, {{20, 120}, {180, 120}});
    line->Shadow()->SetColor(clGray);
    line->Shadow()->SetVertSize(4);
    line->Draw();
    QCOMPARE(host.Tree->Pixel(100, 120), kBlack);
    QCOMPARE(host.Tree->Pixel(100, 124), kGray);
}

void TestCustomShapeDrawing::handlesAtTheVertices()
{
    TPictureHost host;
    host.Tree->SetDesigning(true);
    auto *shape = Add<TPolyLineShape>(host, {{20, 20}, {100, 30}, {60, 100}});
    shape->SetSelected(true);
    host.Tree->Log.clear();
    shape->Draw();
    QCOMPARE(host.Tree->Log, (QStringList{QStringLiteral("begin handles"), QStringLiteral("handle 9 20,20"),
                                          QStringLiteral("handle 9 100,30"), QStringLiteral("handle 9 60,100"),
                                          QStringLiteral("end handles")}));
}

void TestCustomShapeDrawing::hitTestsAtAZoom()
{
    TPictureHost host(400, 300);
    host.Tree->Project(200);
    auto *line = Add<TPolyLineShape>(host, {{100, 50}, {150, 50}});
    auto *triangle = Add<TPolygonShape>(host, {{100, 100}, {140, 100}, {120, 140}});
    // Screen points map back to the model before the segment test.
    const TPoint onLine = host.Tree->ProjectPoint(TPoint(125, 51));
    const TPoint offLine = host.Tree->ProjectPoint(TPoint(125, 55));
    QVERIFY(line->PointInShape(onLine.X, onLine.Y));
    QVERIFY(!line->PointInShape(offLine.X, offLine.Y));
    const TPoint inside = host.Tree->ProjectPoint(TPoint(120, 110));
    QVERIFY(triangle->PointInShape(inside.X, inside.Y));
    QVERIFY(!triangle->PointInShape(onLine.X, onLine.Y));
    QCOMPARE(host.Tree->ShapeAt(inside.X, inside.Y), triangle);
}

QTEST_MAIN(TestCustomShapeDrawing)
#include "tst_custom_shape_drawing.moc"
