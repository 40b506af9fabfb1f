// Shapes with outlines of their own: regular polygon vertices, what custom,
// polygon and image shapes store, the drawing of polygons and poly-lines,
// hit tests, bounds that follow the vertices, vertex editing and the model
// side of drawing a polygon interactively.

#include "ShapeTestUtil.h"
#include "TreeTestUtil.h"

#include "canvas/RecordingCanvas.h"
#include "core/NameTables.h"

#include <QtTest>
#include <climits>
#include <optional>

// Readable failures.
char *toString(const TPoint &p)
{
    return QTest::toString(QStringLiteral("(%1, %2)").arg(p.X).arg(p.Y));
}
char *toString(const TRect &r)
{
    return QTest::toString(QStringLiteral("(%1, %2, %3, %4)").arg(r.Left).arg(r.Top).arg(r.Right).arg(r.Bottom));
}
char *toString(const TPointArray &points)
{
    QStringList parts;
    for (const TPoint &p : points)
        parts << QStringLiteral("(%1, %2)").arg(p.X).arg(p.Y);
    return QTest::toString(parts.join(QStringLiteral(", ")));
}

namespace {

// A diagram that records the handles drawn and can narrow its visible area.
class TProbeTree : public TTreeDocument
{
public:
    struct THandle
    {
        TPoint At;
        TColor Color;
        TTreeShapeHandle Code;
    };
    std::vector<THandle> Handles;
    std::optional<TRect> Area;

    void DrawHandle(int x, int y, TColor color, TTreeShapeHandle code) override
    {
        Handles.push_back({TPoint(x, y), color, code});
    }
    TRect VisibleArea() const override { return Area ? *Area : TTreeDocument::VisibleArea(); }
};

template <class T = TPolygonShape>
T *AddPolygon(TTreeDocument &tree, const TPointArray &vertices)
{
    auto *shape = new T();
    shape->SetTree(&tree);
    for (const TPoint &p : vertices)
        shape->AddVertex(p.X, p.Y);
    return shape;
}

TPointArray PointsOf(const TCanvasCall *call)
{
    TPointArray points;
    if (call)
        for (size_t i = 0; i + 1 < call->Ints.size(); i += 2)
            points.emplace_back(call->Ints[i], call->Ints[i + 1]);
    return points;
}

TRect Bounds(TTreeNodeShape *s)
{
    s->CalcSize(nullptr);
    return TRect(s->X0(), s->Y0(), s->X1(), s->Y1());
}

} // namespace

Q_DECLARE_METATYPE(TRect)
Q_DECLARE_METATYPE(TPointArray)

class TestCustomShapes : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void regularPolygonVertices_data();
    void regularPolygonVertices();
    void customShapeDefaultsAndStoring();
    void customOutlineHitTests();
    void imageShapeTakesItsPictureSize();
    void polygonDrawing();
    void shadowsShiftTheVertices();
    void boundsFollowTheVertices();
    void layoutLeavesPolygonsOnTheirVertices();
    void polygonHitTests();
    void polyLineHitTests();
    void vertexHandlesAndDrags();
    void movesShiftVerticesOfChildrenToo();
    void assignCopiesVerticesAndFormat();
    void interactiveDrawing();
    void unfinishedPolygonIsDiscarded();
    void paletteSample();
};

void TestCustomShapes::initTestCase()
{
    RegisterModelClasses();
}

void TestCustomShapes::regularPolygonVertices_data()
{
    QTest::addColumn<int>("sides");
    QTest::addColumn<double>("offset");
    QTest::addColumn<TRect>("rect");
    QTest::addColumn<TPointArray>("expected");

    // 18 degrees puts vertex 1 at the top centre.
    QTest::newRow("pentagon 100x100") << 5 << 18.0 << TRect(0, 0, 100, 100)
                                      << TPointArray{{2, 35}, {50, 0}, {98, 35}, {79, 90}, {21, 90}};
    // Centre 35.5 is a tie: the top vertex rounds to the even 36.
    QTest::newRow("pentagon 51x21") << 5 << 18.0 << TRect(10, 20, 61, 41)
                                    << TPointArray{{11, 27}, {36, 20}, {60, 27}, {50, 39}, {21, 39}};
    // Offset 0 starts at the middle of the left edge, going clockwise.
    QTest::newRow("hexagon 7x4") << 6 << 0.0 << TRect(0, 0, 7, 4)
                                 << TPointArray{{0, 2}, {2, 0}, {5, 0}, {7, 2}, {5, 4}, {2, 4}};
    // 3 -/+ 1.5 are ties, 1.5 -> 2 and 4.5 -> 4, though cos 60 degrees is a
    // hair above 0.5 in floating point.
    QTest::newRow("hexagon ties") << 6 << 0.0 << TRect(0, 0, 6, 2)
                                  << TPointArray{{0, 1}, {2, 0}, {4, 0}, {6, 1}, {4, 2}, {2, 2}};
    QTest::newRow("square ties 2.5") << 4 << 0.0 << TRect(1, 0, 4, 5)
                                     << TPointArray{{1, 2}, {2, 0}, {4, 2}, {2, 5}};
    QTest::newRow("square ties 3.5") << 4 << 0.0 << TRect(1, 0, 4, 7)
                                     << TPointArray{{1, 4}, {2, 0}, {4, 4}, {2, 7}};
    QTest::newRow("octagon 22.5") << 8 << 22.5 << TRect(0, 0, 40, 40)
                                  << TPointArray{{2, 12}, {12, 2}, {28, 2}, {38, 12}, {38, 28}, {28, 38}, {12, 38},
                                                 {2, 28}};
    QTest::newRow("no sides") << 0 << 18.0 << TRect(0, 0, 10, 10) << TPointArray{};
}

void TestCustomShapes::regularPolygonVertices()
{
    QFETCH(int, sides);
    QFETCH(double, offset);
    QFETCH(TRect, rect);
    QFETCH(TPointArray, expected);

    TTreeCustomPolygonShape shape(nullptr, sides);
    shape.SetAngleOffset(offset);
    TPointArray points{{99, 99}};
    QCOMPARE(shape.GetShapePoints(rect, points), sides);
    QCOMPARE(points, expected);
}

void TestCustomShapes::customShapeDefaultsAndStoring()
{
    TCustomTreeShape custom;
    QCOMPARE(custom.Style(), tssCustom);
    QCOMPARE(custom.ImageIndex(), tiNone);
    QCOMPARE(custom.ImageListIndex(), -1);
    QCOMPARE(custom.ImageSize(), QSize(0, 0));
    QVERIFY(!StoredProps(custom).contains(QStringLiteral("Style")));
    QVERIFY(!StoredProps(custom).contains(QStringLiteral("ImageIndex")));
    custom.SetStyle(tssRectangle);
    custom.SetImageIndex(tiFolderOpenClose);
    QVERIFY(StoredProps(custom).contains(QStringLiteral("Style")));
    QVERIFY(StoredProps(custom).contains(QStringLiteral("ImageIndex")));

    // AngleOffset has no default: written even at 0.
    TTreeCustomPolygonShape regular(nullptr, 6);
    QCOMPARE(regular.AngleOffset(), 0.0);
    QVERIFY(StoredProps(regular).contains(QStringLiteral("AngleOffset")));
    regular.SetAngleOffset(qQNaN());
    regular.SetAngleOffset(qInf());
    QCOMPARE(regular.AngleOffset(), 0.0);

    TImageShape image;
    QVERIFY(!image.EffectiveBorder()->Visible());
    QCOMPARE(image.ImageIndex(), tiMyPC);
    QVERIFY(image.Transparent());
    QCOMPARE(image.ImageAlignment(), iaCenter);
    const QStringList stored = StoredProps(image);
    QVERIFY(!stored.contains(QStringLiteral("ImageIndex")));
    QVERIFY(!stored.contains(QStringLiteral("ImageAlignment")));
    image.SetImageIndex(tiFolderOpenClose);
    QVERIFY(StoredProps(image).contains(QStringLiteral("ImageIndex")));

    TPolygonShape polygon;
    QCOMPARE(polygon.PointCount(), 0);
    QVERIFY(polygon.AutoPosition()->Left());
    QVERIFY(polygon.AutoPosition()->Top());
    QVERIFY(!polygon.IsOpen());
    QVERIFY(TPolyLineShape().IsOpen());
    QVERIFY(StoredProps(polygon).contains(QStringLiteral("Points")));
}

void TestCustomShapes::customOutlineHitTests()
{
    TProbeTree tree;
    auto *pentagon = new TTestPentagon();
    pentagon->SetTree(&tree);
    Place(pentagon, 0, 0, 100, 100);

    // Inside the outline, inside only the rectangle, outside both.
    QVERIFY(pentagon->PointInShape(50, 50));
    QVERIFY(pentagon->PointInShape(50, 0));
    QVERIFY(!pentagon->PointInShape(3, 3));
    QVERIFY(!pentagon->PointInShape(150, 50));
    QCOMPARE(tree.ShapeAt(50, 5), pentagon);

    // Another style uses the built-in geometry; back to custom, the outline.
    pentagon->SetStyle(tssRectangle);
    QVERIFY(pentagon->PointInShape(3, 3));
    pentagon->SetStyle(tssCustom);
    QVERIFY(!pentagon->PointInShape(3, 3));

    // A class without an outline is hit in its rectangle.
    auto *plain = new TCustomTreeShape();
    plain->SetTree(&tree);
    Place(plain, 200, 0, 220, 10);
    QVERIFY(plain->PointInShape(200, 0));
    QVERIFY(plain->PointInShape(219, 9));
    QVERIFY(!plain->PointInShape(220, 9));
}

void TestCustomShapes::imageShapeTakesItsPictureSize()
{
    THost host;
    host.Tree->DefaultFormat().SetShapeClass(&TImageShape::StaticClassInfo());
    TTreeNodeShape *image = host.Tree->AddShape(10, 20, nullptr);
    QVERIFY(dynamic_cast<TImageShape *>(image));
    image->SetImageIndex(tiMyPC);
    const TPicture *picture = image->NodePicture();
    QVERIFY(picture && picture->HasGraphic());
    QCOMPARE(image->Width(), picture->Width());
    QCOMPARE(image->Height(), picture->Height());
    QVERIFY(image->SizeValid());
    QCOMPARE(image->X0(), 10);

    // Without a picture the text size stays.
    image->SetImageIndex(tiNone);
    image->SetSimpleText(QStringLiteral("a rather long caption"));
    QVERIFY(image->Width() > picture->Width());
}

void TestCustomShapes::polygonDrawing()
{
    TProbeTree tree;
    TRecordingCanvas canvas;
    const TRect any(0, 0, 10, 10);

    TPolygonShape *empty = AddPolygon(tree, {});
    QVERIFY(!empty->DrawOutline(any, &canvas, tssCustom));
    QVERIFY(canvas.Calls().empty());

    TPolygonShape *one = AddPolygon(tree, {{5, 5}});
    QVERIFY(!one->DrawOutline(any, &canvas, tssCustom));
    QVERIFY(!AddPolygon<TPolyLineShape>(tree, {{5, 5}})->DrawOutline(any, &canvas, tssCustom));
    QVERIFY(canvas.Calls().empty());

    // Exactly two vertices: a line, not a polygon.
    TPolygonShape *two = AddPolygon(tree, {{1, 2}, {30, 40}});
    QVERIFY(two->DrawOutline(any, &canvas, tssCustom));
    QCOMPARE(canvas.TopLevelNames(), QStringList{QStringLiteral("ProjectedLine")});
    QCOMPARE(canvas.First(QStringLiteral("ProjectedLine"))->Ints, (std::vector<int>{1, 2, 30, 40, 0}));

    // More: a filled polygon through the vertices in order, whatever the
    // rectangle passed.
    canvas.Clear();
    const TPointArray vertices{{10, 10}, {50, 12}, {40, 60}, {5, 30}};
    TPolygonShape *four = AddPolygon(tree, vertices);
    QVERIFY(four->DrawOutline(TRect(500, 500, 600, 600), &canvas, tssCustom));
    QCOMPARE(canvas.TopLevelNames(), QStringList{QStringLiteral("ProjectedPolygon")});
    QCOMPARE(PointsOf(canvas.First(QStringLiteral("ProjectedPolygon"))), vertices);

    // A poly-line: an open strip, never closed or filled.
    canvas.Clear();
    QVERIFY(AddPolygon<TPolyLineShape>(tree, vertices)->DrawOutline(any, &canvas, tssCustom));
    QCOMPARE(canvas.TopLevelNames(), (QStringList{QStringLiteral("ProjectedMoveTo"), QStringLiteral("ProjectedLineTo"),
                                                  QStringLiteral("ProjectedLineTo"), QStringLiteral("ProjectedLineTo")}));
    const std::vector<TCanvasCall> strip = canvas.FindTopLevel(QStringLiteral("ProjectedLineTo"));
    QCOMPARE(canvas.First(QStringLiteral("ProjectedMoveTo"))->Ints, (std::vector<int>{10, 10, 0}));
    QCOMPARE(strip.back().Ints, (std::vector<int>{5, 30, 0}));
}

void TestCustomShapes::shadowsShiftTheVertices()
{
    TProbeTree tree;
    TRecordingCanvas canvas;
    const TRect any(0, 0, 10, 10);

    TPolygonShape *polygon = AddPolygon(tree, {{10, 10}, {50, 10}, {30, 40}});
    polygon->Shadow()->SetColor(clGray);
    polygon->Shadow()->SetHorizSize(4);
    polygon->Shadow()->SetVertSize(-3);
    polygon->DrawShadow(any, &canvas, tssCustom);
    QCOMPARE(canvas.CountTopLevel(QStringLiteral("ProjectedPolygon")), 1);
    const TCanvasCall *fill = canvas.First(QStringLiteral("ProjectedPolygon"));
    QCOMPARE(PointsOf(fill), (TPointArray{{14, 7}, {54, 7}, {34, 37}}));
    QCOMPARE(fill->BrushColor, clGray);
    QCOMPARE(fill->BrushStyle, bsSolid);
    QCOMPARE(fill->PenStyle, psClear);

    // A poly-line has nothing to fill: its shadow is a line of that colour.
    canvas.Clear();
    auto *line = AddPolygon<TPolyLineShape>(tree, {{0, 0}, {20, 0}, {20, 20}});
    line->Shadow()->SetColor(clGray);
    line->Shadow()->SetHorizSize(2);
    line->Shadow()->SetVertSize(2);
    line->DrawShadow(any, &canvas, tssCustom);
    QVERIFY(canvas.Has(QStringLiteral("ProjectedMoveTo"), {2, 2, 0}));
    QVERIFY(canvas.Has(QStringLiteral("ProjectedLineTo"), {22, 22, 0}));
    QCOMPARE(canvas.Last(QStringLiteral("ProjectedLineTo"))->PenColor, clGray);
    QCOMPARE(canvas.Last(QStringLiteral("ProjectedLineTo"))->PenStyle, psSolid);

    // No shadow, or one of no size: nothing.
    canvas.Clear();
    AddPolygon(tree, {{0, 0}, {5, 0}, {5, 5}})->DrawShadow(any, &canvas, tssCustom);
    line->Shadow()->SetHorizSize(0);
    line->Shadow()->SetVertSize(0);
    line->DrawShadow(any, &canvas, tssCustom);
    QVERIFY(canvas.Calls().empty());
}

void TestCustomShapes::boundsFollowTheVertices()
{
    TProbeTree tree;
    TPolygonShape *polygon = AddPolygon(tree, {});
    QVERIFY(!polygon->SizeValid());
    QCOMPARE(Bounds(polygon), TRect(0, 0, 0, 0));
    QVERIFY(polygon->SizeValid());

    polygon->AddVertex(30, 5);
    QVERIFY(!polygon->SizeValid());
    polygon->AddVertex(-4, 50);
    polygon->AddVertex(12, 70);
    // Stale, but no reader sees coordinates apart from the vertices.
    QCOMPARE(polygon->X0(), -4);
    QVERIFY(!polygon->SizeValid());
    QCOMPARE(polygon->ConnectionRect(), TRect(-4, 5, 30, 70));
    QCOMPARE(Bounds(polygon), TRect(-4, 5, 30, 70));

    // Reading the far edges brings stale bounds up to date.
    polygon->Points()->Items(0)->SetX(90);
    QVERIFY(!polygon->SizeValid());
    QCOMPARE(polygon->X1(), 90);
    QVERIFY(polygon->SizeValid());

    // Setting a vertex to its own value is no change.
    const int repaints = tree.InvalidateCount();
    polygon->Points()->Items(0)->SetY(5);
    QVERIFY(polygon->SizeValid());
    QCOMPARE(tree.InvalidateCount(), repaints);

    // The bounds cannot be set against the vertices.
    polygon->SetX1(500);
    QCOMPARE(polygon->X1(), 90);
    polygon->SetX0(-100);
    QCOMPARE(polygon->X0(), -4);
    polygon->SetAutoSize(true);
    (void)Bounds(polygon);
    polygon->SetAutoSize(false);
    QVERIFY(!polygon->SizeValid());

    polygon->MoveRelative(10, 1, false);
    QVERIFY(!polygon->SizeValid());
    QCOMPARE(Bounds(polygon), TRect(6, 6, 100, 71));

    // A new polygon's bounds are stale too, however it was created.
    tree.DefaultFormat().SetShapeClass(&TPolyLineShape::StaticClassInfo());
    QVERIFY(!tree.AddRoot()->SizeValid());
}

void TestCustomShapes::layoutLeavesPolygonsOnTheirVertices()
{
    THost host;
    TTreeDocument &tree = *host.Tree;
    TTreeNodeShape *first = tree.AddRoot(QStringLiteral("first"));
    TPolygonShape *polygon = BeginPolygonDrawing(tree, TPolygonShape::StaticClassInfo(), 300, 200);
    polygon->MoveLastVertex(340, 260);
    polygon->AddVertex(340, 260);
    polygon->MoveLastVertex(290, 250);
    EndPolygonDrawing(polygon);
    TTreeNodeShape *last = tree.AddRoot(QStringLiteral("last"));

    // Automatic in both axes, yet the layout does not move it away from its
    // vertices; the roots after it go below it.
    QVERIFY(polygon->AutoPosition()->Left() && polygon->AutoPosition()->Top());
    tree.LayoutShapes();
    QCOMPARE(Bounds(polygon), TRect(300, 200, 340, 260));
    QCOMPARE(polygon->Bounds(), TRect(300, 200, 340, 260));
    QVERIFY(first->Y0() < 200);
    QVERIFY(last->Y0() > 260);
}

void TestCustomShapes::polygonHitTests()
{
    TProbeTree tree;
    // No vertices: bounds (0, 0, 0, 0), which nothing lies in.
    TPolygonShape *empty = AddPolygon(tree, {});
    QVERIFY(!empty->PointInShape(0, 0));

    // A concave outline: the notch is outside.
    TPolygonShape *shape = AddPolygon(tree, {{0, 0}, {40, 0}, {40, 40}, {20, 10}, {0, 40}});
    QVERIFY(shape->PointInShape(20, 5));
    QVERIFY(shape->PointInShape(35, 30));
    QVERIFY(!shape->PointInShape(20, 30));
    QVERIFY(shape->PointInShape(40, 20)); // on an edge
    QVERIFY(!shape->PointInShape(41, 20));

    // Two vertices: only the segment itself.
    TPolygonShape *two = AddPolygon(tree, {{100, 100}, {120, 100}});
    QVERIFY(two->PointInShape(110, 100));
    QVERIFY(!two->PointInShape(110, 101));

    QCOMPARE(tree.ShapeAt(20, 5), shape);
    QCOMPARE(tree.ShapeAt(20, 30), nullptr);
}

void TestCustomShapes::polyLineHitTests()
{
    TProbeTree tree;
    auto *single = AddPolygon<TPolyLineShape>(tree, {{50, 50}});
    QVERIFY(!single->PointInShape(50, 50));

    // A horizontal line has empty bounds and is still hit.
    auto *flat = AddPolygon<TPolyLineShape>(tree, {{0, 10}, {100, 10}});
    QVERIFY(flat->PointInShape(50, 10));
    QVERIFY(flat->PointInShape(50, 13));
    QVERIFY(!flat->PointInShape(50, 14));

    // Any segment within the tolerance, but not the closing one.
    auto *hook = AddPolygon<TPolyLineShape>(tree, {{200, 0}, {300, 0}, {300, 100}, {200, 100}});
    QVERIFY(hook->PointInShape(303, 50));
    QVERIFY(hook->PointInShape(250, 97));
    QVERIFY(!hook->PointInShape(250, 50)); // inside the figure, far from the lines
    QVERIFY(!hook->PointInShape(200, 50)); // on the open side

    // A slanted segment: within 2.8 pixels is a hit, 4.2 is not.
    auto *slant = AddPolygon<TPolyLineShape>(tree, {{0, 200}, {100, 300}});
    QVERIFY(slant->PointInShape(52, 248));
    QVERIFY(!slant->PointInShape(53, 247));

    tree.Area = TRect(1000, 1000, 1100, 1100);
    QVERIFY(!hook->PointInShape(303, 50));
    tree.Area.reset();
    hook->SetVisible(false);
    QVERIFY(!hook->PointInShape(303, 50));
}

void TestCustomShapes::vertexHandlesAndDrags()
{
    TProbeTree tree;
    // Vertices 1 and 2 lie within one handle size of each other.
    TPolygonShape *shape = AddPolygon(tree, {{0, 0}, {50, 50}, {52, 52}, {0, 60}});

    shape->DrawHandles();
    QCOMPARE(int(tree.Handles.size()), 4);
    for (size_t i = 0; i < tree.Handles.size(); ++i) {
        QCOMPARE(tree.Handles[i].At, shape->Points()->Items(int(i))->Point());
        QCOMPARE(tree.Handles[i].Code, rcPoint);
    }

    // The first vertex in Points wins; box handles are never offered.
    QCOMPARE(shape->GetResizingCorner(51, 51), rcPoint);
    QCOMPARE(shape->SelectedPoint(), 1);
    QCOMPARE(shape->GetResizingCorner(55, 55), rcPoint);
    QCOMPARE(shape->SelectedPoint(), 2);
    QCOMPARE(shape->GetResizingCorner(56, 55), rcNone);
    QCOMPARE(shape->SelectedPoint(), -1);
    QCOMPARE(shape->GetResizingCorner(0, 60), rcPoint);
    QCOMPARE(shape->GetResizingCursor(0, 60), int(crSizeAll));
    QCOMPARE(shape->GetResizingCursor(20, 20), int(crDefault));
    // The tolerance is the diagram's handle size.
    tree.Selected().SetHandleSize(6);
    QCOMPARE(shape->GetResizingCorner(56, 55), rcPoint);
    tree.Selected().SetHandleSize(3);

    // Dragging the remembered vertex.
    QCOMPARE(shape->GetResizingCorner(2, 61), rcPoint);
    (void)Bounds(shape);
    int repaints = tree.InvalidateCount();
    shape->Resize(rcPoint, 0, 0);
    QCOMPARE(tree.InvalidateCount(), repaints);
    QVERIFY(shape->SizeValid());
    QCOMPARE(shape->Points()->Items(3)->Point(), TPoint(0, 60));

    shape->Resize(rcLeftTop, 5, 5);
    shape->Resize(rcRightBottom, 5, 5);
    QCOMPARE(tree.InvalidateCount(), repaints);
    QCOMPARE(Bounds(shape), TRect(0, 0, 52, 60));

    shape->Resize(rcPoint, -7, 10);
    QCOMPARE(shape->Points()->Items(3)->Point(), TPoint(-7, 70));
    QVERIFY(!shape->SizeValid());
    QVERIFY(tree.InvalidateCount() > repaints);
    QCOMPARE(Bounds(shape), TRect(-7, 0, 52, 70));

    // The diagram hears of the drag and may change or cancel it.
    std::vector<TTreeShapeHandle> heard;
    tree.OnResizingShape = [&heard](TTreeNodeShape *, TTreeShapeHandle corner, int &dx, int &dy) {
        heard.push_back(corner);
        dx = 0;
        dy = 0;
    };
    repaints = tree.InvalidateCount();
    shape->Resize(rcPoint, 3, 3);
    QCOMPARE(heard, std::vector<TTreeShapeHandle>{rcPoint});
    QCOMPARE(tree.InvalidateCount(), repaints);
    QCOMPARE(shape->Points()->Items(3)->Point(), TPoint(-7, 70));

    // A remembered vertex that was removed since is not dragged.
    shape->Points()->Delete(3);
    shape->Resize(rcPoint, 3, 3);
    QCOMPARE(shape->PointCount(), 3);
}

void TestCustomShapes::movesShiftVerticesOfChildrenToo()
{
    TProbeTree tree;
    TTreeNodeShape *parent = tree.AddRoot(QStringLiteral("parent"));
    TPolygonShape *child = AddPolygon(tree, {{10, 10}, {20, 10}, {15, 20}});
    child->SetParent(parent);
    TPolygonShape *alone = AddPolygon(tree, {{0, 0}, {5, 5}, {0, 5}});

    parent->MoveRelative(100, 50, true);
    QCOMPARE(child->Points()->Positions(), (TPointArray{{110, 60}, {120, 60}, {115, 70}}));
    QCOMPARE(Bounds(child), TRect(110, 60, 120, 70));

    alone->UserMove(-3, 0, false);
    QCOMPARE(alone->Points()->Positions(), (TPointArray{{-3, 0}, {2, 5}, {-3, 5}}));
    QVERIFY(!alone->SizeValid());

    // Vertices beyond the coordinate range stop at its end, and stay there.
    TPolygonShape *far = AddPolygon(tree, {{INT_MAX - 1, 0}, {0, INT_MIN + 1}});
    QCOMPARE(far->Points()->Positions(), (TPointArray{{kCoordLimit, 0}, {0, -kCoordLimit}}));
    far->Points()->Items(0)->SetX(INT_MAX);
    QCOMPARE(far->GetResizingCorner(kCoordLimit, 0), rcPoint);
    far->Resize(rcPoint, 10, 0);
    QCOMPARE(far->Points()->Items(0)->X(), kCoordLimit);
}

void TestCustomShapes::assignCopiesVerticesAndFormat()
{
    TProbeTree tree;
    TPolygonShape *source = AddPolygon(tree, {{1, 2}, {3, 4}, {5, 0}});
    source->SetColor(clRed);
    source->Border()->SetWidth(3);
    TPolygonShape *copy = AddPolygon(tree, {{9, 9}});
    (void)Bounds(copy);
    copy->Assign(source);
    QCOMPARE(copy->Points()->Positions(), source->Points()->Positions());
    QCOMPARE(copy->Color(), clRed);
    QCOMPARE(copy->Border()->Width(), 3);
    QVERIFY(!copy->SizeValid());
    QCOMPARE(Bounds(copy), TRect(1, 0, 5, 4));

    // The copy's vertices are its own.
    copy->Points()->Items(0)->SetX(100);
    QCOMPARE(source->Points()->Items(0)->X(), 1);

    // A clone in the diagram keeps them too.
    TTreeNodeShape *clone = tree.CloneShape(source);
    QCOMPARE(dynamic_cast<TPolygonShape *>(clone)->Points()->Positions(), source->Points()->Positions());
}

void TestCustomShapes::interactiveDrawing()
{
    THost host;
    TTreeDocument &tree = *host.Tree;
    TTreeNodeShape *other = tree.AddRoot(QStringLiteral("selected before"));
    other->SetSelected(true);
    const TClassInfo *before = tree.DefaultFormat().ShapeClass();

    // Not a polygon class: nothing is created.
    QCOMPARE(BeginPolygonDrawing(tree, TImageShape::StaticClassInfo(), 0, 0), nullptr);
    QCOMPARE(tree.Shapes().Count(), 1);

    TPolygonShape *shape = BeginPolygonDrawing(tree, TPolyLineShape::StaticClassInfo(), 10, 20);
    QVERIFY(shape);
    QCOMPARE(shape->ClassName(), QStringLiteral("TPolyLineShape"));
    QCOMPARE(tree.DefaultFormat().ShapeClass(), before);
    QVERIFY(tree.Roots().Contains(shape));
    QCOMPARE(shape->Name(), QStringLiteral("PolyLineShape1"));
    QCOMPARE(shape->Points()->Positions(), (TPointArray{{10, 20}, {10, 20}}));

    shape->MoveLastVertex(30, 25);
    shape->AddVertex(30, 25);
    shape->MoveLastVertex(40, 60);
    shape->AddVertex(40, 60);
    shape->MoveLastVertex(41, 61);
    QCOMPARE(shape->Points()->Positions(), (TPointArray{{10, 20}, {30, 25}, {40, 60}, {41, 61}}));

    QCOMPARE(EndPolygonDrawing(shape), shape);
    QCOMPARE(shape->Points()->Positions(), (TPointArray{{10, 20}, {30, 25}, {40, 60}}));
    QVERIFY(!shape->SizeValid());
    QVERIFY(!other->Selected());
    QCOMPARE(tree.Selected().Count(), 1);
    QCOMPARE(tree.Selected().First(), shape);
    QCOMPARE(Bounds(shape), TRect(10, 20, 40, 60));
}

void TestCustomShapes::unfinishedPolygonIsDiscarded()
{
    THost host;
    TTreeDocument &tree = *host.Tree;
    // Pressed once and ended: only the following vertex would be left to drop.
    TPolygonShape *shape = BeginPolygonDrawing(tree, TPolygonShape::StaticClassInfo(), 5, 5);
    QCOMPARE(tree.Shapes().Count(), 1);
    QCOMPARE(host.Owner->ComponentCount(), 2);
    QCOMPARE(EndPolygonDrawing(shape), nullptr);
    QCOMPARE(tree.Shapes().Count(), 0);
    QCOMPARE(tree.Roots().Count(), 0);
    QCOMPARE(tree.Selected().Count(), 0);
    QCOMPARE(host.Owner->ComponentCount(), 1);
    QCOMPARE(EndPolygonDrawing(nullptr), nullptr);

    // Two presses make a line that stays.
    shape = BeginPolygonDrawing(tree, TPolygonShape::StaticClassInfo(), 5, 5);
    shape->MoveLastVertex(9, 9);
    shape->AddVertex(9, 9);
    QCOMPARE(EndPolygonDrawing(shape), shape);
    QCOMPARE(shape->PointCount(), 2);
    QCOMPARE(tree.Shapes().Count(), 1);
}

void TestCustomShapes::paletteSample()
{
    TPolyLineShape sample;
    sample.AddSampleVertices();
    QCOMPARE(sample.Points()->Positions(),
             (TPointArray{{6, 4}, {21, 8}, {21, 14}, {18, 19}, {14, 14}, {9, 21}, {2, 10}}));
    // A shape that has vertices keeps them.
    TPolygonShape drawn;
    drawn.AddVertex(1, 1);
    drawn.AddSampleVertices();
    QCOMPARE(drawn.PointCount(), 1);
}

QTEST_MAIN(TestCustomShapes)
#include "tst_custom_shapes.moc"
