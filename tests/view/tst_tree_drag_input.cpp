// Moving and resizing nodes with the mouse, dragging connection points and
// anchoring them, the rubber band (box selection, zoom rectangle, the
// rectangle tool), panning and the wheel's zoom, as the control receives
// them; and drags on larger diagrams, which lay out only what follows the
// dragged nodes.

#include "GeneratedOutline.h"
#include "InputTestUtil.h"

#include <QRandomGenerator>

namespace {

// Nodes A at (40, 40) - (100, 80) and B at `b` joined by a straight
// connection from A, which is selected; drawn before and after the
// selection.
TTreeConnection *SelectedLine(TInputHost &h, const QRect &b)
{
    TTreeNodeShape *from = Place(h.Tree->AddRoot(QStringLiteral("A")), 40, 40, 100, 80);
    TTreeNodeShape *to = Place(h.Tree->AddRoot(QStringLiteral("B")), b.left(), b.top(), b.right(), b.bottom());
    TTreeConnection *c = from->AddConnection(to);
    c->SetStyle(csLine);
    h.Draw();
    h.Tree->Connections().SetSelected(c);
    h.Draw();
    return c;
}

// Every node's Bounds, in shape order.
QList<QRect> AllBounds(TTree *t)
{
    QList<QRect> r;
    for (TTreeNodeShape *n : t->Shapes())
        r << n->Bounds().ToQRect();
    return r;
}

// Nodes in the window lie where a full layout puts them; rows below it may
// wait for the end of a drag.
void CompareInSight(TTree *t, const QList<QRect> &partly, const QList<QRect> &whole)
{
    QCOMPARE(partly.size(), whole.size());
    const TRect v = t->VisibleArea();
    const QRect sight(QPoint(v.Left, v.Top), QPoint(v.Right, v.Bottom));
    for (int i = 0; i < partly.size(); ++i)
        if (partly[i].intersects(sight) || whole[i].intersects(sight))
            QCOMPARE(partly[i], whole[i]);
}

QImage Grab(TTree *t)
{
    t->TCustomKorPanel::Invalidate();
    return t->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestTreeDragInput : public QObject
{
    Q_OBJECT
private slots:
    void dragSnapsToTheGrid_data();
    void dragSnapsToTheGrid();
    void childrenFollowUnlessAlt_data();
    void childrenFollowUnlessAlt();
    void movingShapeEventAdjustsTheMove();
    void resizeByEachHandle_data();
    void resizeByEachHandle();
    void resizeNeverBelowOneUnit_data();
    void resizeNeverBelowOneUnit();
    void connectionEndAnchors_data();
    void connectionEndAnchors();
    void pressOnASegmentInsertsAPoint();
    void boxSelection_data();
    void boxSelection();
    void zoomRectangle_data();
    void zoomRectangle();
    void rectangleToolHandsTheRectangleOver();
    void panning_data();
    void panning();
    void wheelZoomSteps_data();
    void wheelZoomSteps();
    void wheelZoomStaysInRange();
    void rubberBandDrawsOverThePicture();
    void dragLaysOutOnlyWhatFollows_data();
    void dragLaysOutOnlyWhatFollows();
};

// ---------------------------------------------------------------------------
// Moving

void TestTreeDragInput::dragSnapsToTheGrid_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("grid");
    QTest::addColumn<bool>("snap");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QList<int>>("moves");    // pointer x after each move, from the press
    QTest::addColumn<QList<int>>("expected"); // the node's x movement after each
    const int none = Qt::NoModifier, ctrl = Qt::ControlModifier;
    QTest::newRow("zoom 200: 15 px nothing, 20 px one step") << 200 << 10 << true << none << QList<int>{15, 20, 35, 40}
                                                             << QList<int>{0, 10, 10, 20};
    QTest::newRow("zoom 100: whole steps") << 100 << 10 << true << none << QList<int>{7, 12, 25} << QList<int>{0, 10, 20};
    QTest::newRow("backwards") << 100 << 10 << true << none << QList<int>{-9, -15, -31} << QList<int>{0, -10, -30};
    QTest::newRow("ctrl: no snapping") << 200 << 10 << true << ctrl << QList<int>{15, 20} << QList<int>{8, 10};
    QTest::newRow("snapping off") << 100 << 10 << false << none << QList<int>{7, 8, 3} << QList<int>{7, 8, 3};
    QTest::newRow("grid 25") << 100 << 25 << true << none << QList<int>{24, 26, 60} << QList<int>{0, 25, 50};
    // round(10 x 5 / 100) is 0 pixels: the step stays one pixel.
    QTest::newRow("zoom 5: a pixel at least") << 5 << 10 << true << none << QList<int>{1, 3} << QList<int>{20, 60};
}

void TestTreeDragInput::dragSnapsToTheGrid()
{
    QFETCH(int, zoom);
    QFETCH(int, grid);
    QFETCH(bool, snap);
    QFETCH(int, modifiers);
    QFETCH(QList<int>, moves);
    QFETCH(QList<int>, expected);
    TCentredHost h;
    TTree *t = h.Tree;
    TTreeNodeShape *n = h.N;
    t->SetGridStep(grid);
    t->View3DOptions()->SetZoom(zoom);
    h.Design(snap);
    TNoticeCount notices(t);
    const auto mods = Qt::KeyboardModifiers(modifiers);
    const QPoint from = h.At(n);
    h.Press(from, mods);
    QCOMPARE(t->Interaction().ActiveShape(), n);
    for (int i = 0; i < moves.size(); ++i) {
        h.Move(from + QPoint(moves[i], 0), mods);
        QCOMPARE(n->X0() - 200, expected[i]);
        QCOMPARE(n->Y0(), 150);
    }
    h.Release(from + QPoint(moves.last(), 0), mods);
    QCOMPARE(t->Interaction().ActiveShape(), nullptr);
    // The whole drag is one step.
    QCOMPARE(notices.Steps, 1);
    QVERIFY(notices.Count(tckMoved) >= 1);
    QCOMPARE(notices.Depth, 0);
}

void TestTreeDragInput::childrenFollowUnlessAlt_data()
{
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("childSelected");
    QTest::addColumn<QPoint>("childMoved");
    QTest::newRow("plain drag takes the subtree") << int(Qt::NoModifier) << false << QPoint(30, 20);
    QTest::newRow("alt leaves the children") << int(Qt::AltModifier) << false << QPoint(0, 0);
    QTest::newRow("a selected child moves once") << int(Qt::NoModifier) << true << QPoint(30, 20);
    // Alt moves the top-most selected nodes only, whatever else is selected
    // under them (an Alt press selects the descendants too).
    QTest::newRow("alt leaves a selected child") << int(Qt::AltModifier) << true << QPoint(0, 0);
}

void TestTreeDragInput::childrenFollowUnlessAlt()
{
    QFETCH(int, modifiers);
    QFETCH(bool, childSelected);
    QFETCH(QPoint, childMoved);
    TInputHost h(600, 400);
    TTree *t = h.Tree;
    TTreeNodeShape *p = Place(t->AddRoot(QStringLiteral("P")), 50, 50, 110, 70);
    TTreeNodeShape *c = Place(p->AddChild(QStringLiteral("C")), 80, 100, 140, 120);
    TTreeNodeShape *g = Place(c->AddChild(QStringLiteral("G")), 100, 150, 160, 170);
    p->SetExpanded(true);
    c->SetExpanded(true);
    h.Design(false);
    p->SetSelected(true);
    if (childSelected)
        c->SetSelected(true);
    const auto mods = Qt::KeyboardModifiers(modifiers);
    h.Drag(h.At(p), h.At(p) + QPoint(30, 20), mods, 3);
    QCOMPARE(QPoint(p->X0() - 50, p->Y0() - 50), QPoint(30, 20));
    QCOMPARE(QPoint(c->X0() - 80, c->Y0() - 100), childMoved);
    // The grandchild goes with its parent unless Alt holds everyone back.
    const bool grandchildMoves = !(mods & Qt::AltModifier);
    QCOMPARE(QPoint(g->X0() - 100, g->Y0() - 150), grandchildMoves ? QPoint(30, 20) : QPoint(0, 0));
}

void TestTreeDragInput::movingShapeEventAdjustsTheMove()
{
    TCentredHost h;
    TTree *t = h.Tree;
    TTreeNodeShape *n = h.N;
    h.Design(false);
    QList<QPoint> asked;
    bool cancel = false;
    t->OnMovingShape = [&](TTreeNodeShape *s, int &dx, int &dy) {
        QCOMPARE(s, n);
        asked << QPoint(dx, dy);
        if (cancel) {
            dx = dy = 0;
        } else {
            dx /= 2;
            dy = 0;
        }
    };
    h.Drag(h.At(n), h.At(n) + QPoint(40, 40), Qt::NoModifier, 4);
    QCOMPARE(asked, (QList<QPoint>{{10, 10}, {10, 10}, {10, 10}, {10, 10}}));
    QCOMPARE(QPoint(n->X0(), n->Y0()), QPoint(220, 150));
    // Both deltas zeroed: nothing moves, and the top stays automatic.
    cancel = true;
    asked.clear();
    h.Drag(h.At(n), h.At(n) + QPoint(-30, 30), Qt::NoModifier, 3);
    QCOMPARE(asked.size(), 3);
    QCOMPARE(QPoint(n->X0(), n->Y0()), QPoint(220, 150));
}

// ---------------------------------------------------------------------------
// Resizing

void TestTreeDragInput::resizeByEachHandle_data()
{
    QTest::addColumn<QPoint>("handle"); // diagram position pressed
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QRect>("after"); // left, top, right, bottom as a QRect of points
    // The node spans (200, 150) - (400, 250); the pointer moves by (10, 10).
    auto r = [](int l, int t, int rr, int b) { return QRect(QPoint(l, t), QPoint(rr, b)); };
    QTest::newRow("1 top-left") << QPoint(200, 150) << int(Qt::SizeFDiagCursor) << r(210, 160, 400, 250);
    QTest::newRow("2 bottom-right") << QPoint(400, 250) << int(Qt::SizeFDiagCursor) << r(200, 150, 410, 260);
    QTest::newRow("3 bottom-left") << QPoint(200, 250) << int(Qt::SizeBDiagCursor) << r(210, 150, 400, 260);
    QTest::newRow("4 top-right") << QPoint(400, 150) << int(Qt::SizeBDiagCursor) << r(200, 160, 410, 250);
    QTest::newRow("5 left middle") << QPoint(200, 201) << int(Qt::SizeHorCursor) << r(210, 150, 400, 250);
    QTest::newRow("6 top middle") << QPoint(301, 150) << int(Qt::SizeVerCursor) << r(200, 160, 400, 250);
    QTest::newRow("7 right middle") << QPoint(402, 201) << int(Qt::SizeHorCursor) << r(200, 150, 410, 250);
    QTest::newRow("8 bottom middle") << QPoint(301, 252) << int(Qt::SizeVerCursor) << r(200, 150, 400, 260);
}

void TestTreeDragInput::resizeByEachHandle()
{
    QFETCH(QPoint, handle);
    QFETCH(int, cursor);
    QFETCH(QRect, after);
    TCentredHost h;
    TTree *t = h.Tree;
    TTreeNodeShape *n = h.N;
    h.Design();
    n->SetSelected(true);
    QStringList resizing;
    t->OnResizingShape = [&](TTreeNodeShape *, TTreeShapeHandle corner, int &dx, int &dy) {
        resizing << QStringLiteral("%1:%2,%3").arg(int(corner)).arg(dx).arg(dy);
    };
    TNoticeCount notices(t);
    const QPoint at = h.Screen(handle.x(), handle.y());
    // Hovering over the handle shows its cursor.
    h.Move(at, Qt::NoModifier, Qt::NoButton);
    QCOMPARE(int(t->cursor().shape()), cursor);
    h.Drag(at, at + QPoint(10, 10), Qt::NoModifier, 2);
    QCOMPARE(QRect(QPoint(n->X0(), n->Y0()), QPoint(n->X1(), n->Y1())), after);
    QVERIFY(!n->AutoSize());
    QCOMPARE(notices.Steps, 1);
    QCOMPARE(notices.Count(tckResized), 1);
    QCOMPARE(notices.Count(tckMoved), 0);
    QCOMPARE(resizing.size(), 1);
    QCOMPARE(h.SelectedTexts(), QStringList{"N"});
}

void TestTreeDragInput::resizeNeverBelowOneUnit_data()
{
    QTest::addColumn<QPoint>("handle");
    QTest::addColumn<QPoint>("drag");
    QTest::addColumn<QSize>("size");
    QTest::newRow("bottom-right far up and left") << QPoint(400, 250) << QPoint(-500, -300) << QSize(1, 1);
    QTest::newRow("top-left far down and right") << QPoint(200, 150) << QPoint(300, 300) << QSize(1, 1);
    QTest::newRow("right edge past the left one") << QPoint(400, 201) << QPoint(-250, 0) << QSize(1, 100);
    QTest::newRow("top edge past the bottom") << QPoint(301, 150) << QPoint(0, 190) << QSize(200, 1);
}

void TestTreeDragInput::resizeNeverBelowOneUnit()
{
    QFETCH(QPoint, handle);
    QFETCH(QPoint, drag);
    QFETCH(QSize, size);
    TCentredHost h;
    TTreeNodeShape *n = h.N;
    h.Design(false);
    n->SetSelected(true);
    const QPoint at = h.Screen(handle.x(), handle.y());
    h.Drag(at, at + drag, Qt::NoModifier, 5);
    QCOMPARE(QSize(n->Width(), n->Height()), size);
    // The edge that did not move stays where it was.
    QVERIFY(n->X0() == 200 || n->X1() == 400);
    QVERIFY(n->Y0() == 150 || n->Y1() == 250);
}

// ---------------------------------------------------------------------------
// Connection points

void TestTreeDragInput::connectionEndAnchors_data()
{
    QTest::addColumn<QPoint>("offset"); // from the right-middle anchor
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("anchors");
    QTest::newRow("within 3 units") << QPoint(3, -2) << int(Qt::NoModifier) << true;
    QTest::newRow("on the spot") << QPoint(0, 0) << int(Qt::NoModifier) << true;
    QTest::newRow("4 units away") << QPoint(4, 0) << int(Qt::NoModifier) << false;
    QTest::newRow("shift prevents it") << QPoint(1, 1) << int(Qt::ShiftModifier) << false;
}

void TestTreeDragInput::connectionEndAnchors()
{
    QFETCH(QPoint, offset);
    QFETCH(int, modifiers);
    QFETCH(bool, anchors);
    TInputHost h(600, 400);
    TTree *t = h.Tree;
    t->SetDesigning(true);
    TTreeConnection *c = SelectedLine(h, QRect(QPoint(300, 100), QPoint(380, 140)));
    TTreeNodeShape *b = h.Node(QStringLiteral("B"));
    const int last = c->Count() - 1;
    QVERIFY(last >= 1);
    const QPoint end = h.Screen(c->Points()[last].X, c->Points()[last].Y);
    // The right edge of the anchors lies a unit further, one more with a
    // border; the middle is taken after that.
    const int grow = 1 + (b->EffectiveBorder()->Visible() ? 1 : 0);
    const TPoint anchor(b->X1() + grow, (b->Y0() + b->Y1() + grow) / 2);
    const QPoint target = h.Screen(anchor.X + offset.x(), anchor.Y + offset.y());
    const auto mods = Qt::KeyboardModifiers(modifiers);
    TNoticeCount notices(t);
    h.Press(end, mods);
    QCOMPARE(t->Interaction().DraggedPoint(), last);
    h.Move((end + target) / 2, mods);
    h.Move(target, mods);
    QCOMPARE(t->Interaction().AnchorKind(), anchors ? 7 : 0);
    QCOMPARE(t->AnchorMarker().has_value(), anchors);
    if (anchors)
        QCOMPARE(*t->AnchorMarker(), anchor);
    h.Release(target, mods);
    QVERIFY(!t->AnchorMarker());
    const TConnectionPoint &p = c->Points()[last];
    if (anchors) {
        QCOMPARE(p.XStyle, cpToPercent);
        QCOMPARE(p.YStyle, cpToPercent);
        QCOMPARE(QPoint(p.XValue, p.YValue), QPoint(100, 50));
    } else {
        QVERIFY(p.XStyle != cpToPercent);
        QCOMPARE(QPoint(p.X, p.Y), QPoint(anchor.X + offset.x(), anchor.Y + offset.y()));
    }
    QCOMPARE(notices.Steps, 1);
    QVERIFY(notices.Count(tckPoints) >= 1);
}

void TestTreeDragInput::pressOnASegmentInsertsAPoint()
{
    TInputHost h(600, 400);
    TTree *t = h.Tree;
    TTreeConnection *c = SelectedLine(h, QRect(QPoint(300, 40), QPoint(380, 80)));
    const int count = c->Count();
    const TPoint p0(c->Points()[0].X, c->Points()[0].Y);
    const TPoint p1(c->Points()[count - 1].X, c->Points()[count - 1].Y);
    const QPoint middle = h.Screen((p0.X + p1.X) / 2, (p0.Y + p1.Y) / 2);
    // In run mode a press on the course adds nothing.
    h.Press(middle);
    QCOMPARE(c->Count(), count);
    h.Release(middle);
    t->SetDesigning(true);
    t->Connections().SetSelected(c);
    h.Draw();
    TNoticeCount notices(t);
    h.Press(middle);
    QCOMPARE(c->Count(), count + 1);
    QCOMPARE(t->Interaction().DraggedPoint(), 1);
    h.Move(middle + QPoint(0, 40));
    h.Release(middle + QPoint(0, 40));
    QCOMPARE(c->Points()[1].Y, (p0.Y + p1.Y) / 2 + 40);
    // Kept relative to the start node: it follows the node.
    QCOMPARE(c->Points()[1].XStyle, cpFromOffset);
    QCOMPARE(notices.Steps, 1);
}

// ---------------------------------------------------------------------------
// The rubber band

void TestTreeDragInput::boxSelection_data()
{
    QTest::addColumn<bool>("tool");
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("two nodes") << false << QPoint(30, 30) << QPoint(210, 90) << QStringList{"A", "B"};
    QTest::newRow("drawn backwards") << false << QPoint(210, 90) << QPoint(30, 30) << QStringList{"A", "B"};
    QTest::newRow("touching an edge") << false << QPoint(100, 250) << QPoint(120, 260) << QStringList{"C"};
    // The press on the background clears the selection first.
    QTest::newRow("nothing after a background press") << false << QPoint(300, 250) << QPoint(350, 290) << QStringList{};
    // The rectangle tool starts the band without clearing: nothing met
    // keeps the selection.
    QTest::newRow("tool: nothing keeps the selection") << true << QPoint(300, 250) << QPoint(350, 290)
                                                       << QStringList{"C"};
    QTest::newRow("tool: replaces the selection") << true << QPoint(140, 40) << QPoint(160, 60) << QStringList{"B"};
}

void TestTreeDragInput::boxSelection()
{
    QFETCH(bool, tool);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QStringList, after);
    TInputHost h(600, 400);
    TTree *t = h.Tree;
    t->SetSingleSelection(false);
    Place(t->AddRoot(QStringLiteral("A")), 50, 50, 100, 80);
    Place(t->AddRoot(QStringLiteral("B")), 150, 50, 200, 80);
    Place(t->AddRoot(QStringLiteral("C")), 50, 200, 100, 250);
    h.Design();
    h.Node(QStringLiteral("C"))->SetSelected(true);
    t->Interaction().SetRectangleTool(tool);
    const int zoom = t->View3DOptions()->Zoom();
    h.Drag(h.Screen(from.x(), from.y()), h.Screen(to.x(), to.y()));
    QCOMPARE(h.SelectedTexts(), after);
    QVERIFY(!t->Zoom()->Active());
    QCOMPARE(t->View3DOptions()->Zoom(), zoom);
}

void TestTreeDragInput::zoomRectangle_data()
{
    QTest::addColumn<QRect>("rect"); // client pixels
    QTest::addColumn<int>("zoom");
    QTest::newRow("4 x 100 is ignored") << QRect(100, 100, 4, 100) << 100;
    QTest::newRow("100 x 4 is ignored") << QRect(100, 100, 100, 4) << 100;
    // The diagonal of 600 x 400 over that of 200 x 100.
    QTest::newRow("200 x 100") << QRect(20, 20, 200, 100) << 322;
    QTest::newRow("drawn backwards") << QRect(220, 120, -200, -100) << 322;
    QTest::newRow("the whole window") << QRect(0, 0, 600, 400) << 100;
}

void TestTreeDragInput::zoomRectangle()
{
    QFETCH(QRect, rect);
    QFETCH(int, zoom);
    TCentredHost h;
    TTree *t = h.Tree;
    h.Draw();
    int zooms = 0, scrolls = 0;
    t->OnZoom = [&](TObject *) { ++zooms; };
    t->OnScroll = [&](TObject *) { ++scrolls; };
    const QPoint from = rect.topLeft();
    const QPoint to = from + QPoint(rect.width(), rect.height());
    const TPoint centre = t->UnprojectPoint(TPoint((from.x() + to.x()) / 2, (from.y() + to.y()) / 2));
    h.Drag(from, to);
    QCOMPARE(t->View3DOptions()->Zoom(), zoom);
    QCOMPARE(zooms, zoom == 100 && rect.width() != 600 ? 0 : 1);
    QCOMPARE(scrolls, 0);
    if (zooms) {
        // The rectangle's centre comes to the middle of the window.
        const TPoint mid = t->UnprojectPoint(TPoint(300, 200));
        QVERIFY2(std::abs(mid.X - centre.X) <= 1 && std::abs(mid.Y - centre.Y) <= 1,
                 qPrintable(QStringLiteral("%1,%2 vs %3,%4").arg(mid.X).arg(mid.Y).arg(centre.X).arg(centre.Y)));
    }
    // A rectangle of no diagram size at all zooms nothing.
    t->View3DOptions()->SetZoom(TTreeInteraction::kMaxZoom);
    t->View3DOptions()->SetHorizOffset(0);
    t->View3DOptions()->SetVertOffset(0);
    QVERIFY(!t->Interaction().ZoomToRectangle(TRect(300, 200, 306, 206)));
    QCOMPARE(t->View3DOptions()->Zoom(), TTreeInteraction::kMaxZoom);
}

void TestTreeDragInput::rectangleToolHandsTheRectangleOver()
{
    TCentredHost h;
    TTree *t = h.Tree;
    h.Draw();
    h.N->SetSelected(true);
    QList<QRect> given;
    bool handled = true;
    t->Interaction().OnRectangle = [&](const TRect &r, bool &done) {
        given << QRect(QPoint(r.Left, r.Top), QPoint(r.Right, r.Bottom));
        done = handled;
    };
    t->Interaction().SetRectangleTool(true);
    // Starting on a node still draws the rectangle.
    h.Drag(h.Screen(250, 180), h.Screen(450, 280));
    QCOMPARE(given, QList<QRect>{QRect(QPoint(250, 180), QPoint(450, 280))});
    QCOMPARE(t->View3DOptions()->Zoom(), 100);
    QCOMPARE(h.SelectedTexts(), QStringList{"N"});
    // Not handled: run mode zooms to it.
    handled = false;
    h.Drag(h.Screen(250, 180), h.Screen(450, 280));
    QCOMPARE(given.size(), 2);
    QVERIFY(t->View3DOptions()->Zoom() > 100);
}

// ---------------------------------------------------------------------------
// Panning and the wheel

void TestTreeDragInput::panning_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("button"); // the scroll button
    QTest::addColumn<QPoint>("offsets");
    QTest::newRow("both") << int(pmBoth) << int(mbRight) << QPoint(40, -20);
    QTest::newRow("horizontal") << int(pmHorizontal) << int(mbRight) << QPoint(40, 0);
    QTest::newRow("vertical") << int(pmVertical) << int(mbRight) << QPoint(0, -20);
    QTest::newRow("none") << int(pmNone) << int(mbRight) << QPoint(0, 0);
    QTest::newRow("another button") << int(pmBoth) << int(mbMiddle) << QPoint(0, 0);
}

void TestTreeDragInput::panning()
{
    QFETCH(int, mode);
    QFETCH(int, button);
    QFETCH(QPoint, offsets);
    TCentredHost h;
    TTree *t = h.Tree;
    t->SetAllowPanning(static_cast<TPanningMode>(mode));
    t->SetScrollMouseButton(static_cast<TMouseButton>(button));
    h.Draw();
    int scrolls = 0, clicks = 0;
    t->OnScroll = [&](TObject *) { ++scrolls; };
    t->OnClickShape = [&](TTreeNodeShape *, TMouseButton, TShiftState, int, int) { ++clicks; };
    const QPoint from(500, 350);
    h.Press(from, Qt::NoModifier, Qt::RightButton);
    for (int i = 1; i <= 4; ++i)
        h.Move(from + QPoint(10 * i, -5 * i), Qt::NoModifier, Qt::RightButton);
    h.Release(from + QPoint(40, -20), Qt::NoModifier, Qt::RightButton);
    QCOMPARE(QPoint(t->View3DOptions()->HorizOffset(), t->View3DOptions()->VertOffset()), offsets);
    QCOMPARE(scrolls > 0, !offsets.isNull());
    QVERIFY(!t->Panning().Active());
    // The node went along with the view.
    QCOMPARE(h.At(h.N), h.Screen(300, 200));
    QCOMPARE(clicks, 0);
}

void TestTreeDragInput::wheelZoomSteps_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("in");
    QTest::newRow("10 gives 11") << 10 << 11;
    QTest::newRow("1 gives 2") << 1 << 2;
    QTest::newRow("19 gives 20") << 19 << 20;
    QTest::newRow("30: 1.5 rounds to 2") << 30 << 32;
    QTest::newRow("50: 2.5 rounds to 2") << 50 << 52;
    QTest::newRow("100 gives 105") << 100 << 105;
    QTest::newRow("1000 gives 1050") << 1000 << 1050;
}

void TestTreeDragInput::wheelZoomSteps()
{
    QFETCH(int, zoom);
    QFETCH(int, in);
    TInputHost h(600, 400);
    TTree *t = h.Tree;
    t->SetWheelNavigation(wnZoom);
    t->View3DOptions()->SetZoom(zoom);
    h.Draw();
    h.Wheel(-1);
    QCOMPARE(t->View3DOptions()->Zoom(), in);
    h.Wheel(1);
    QCOMPARE(t->View3DOptions()->Zoom(), zoom);
    // Many steps in, as many out.
    h.Wheel(-12);
    h.Wheel(12);
    QCOMPARE(t->View3DOptions()->Zoom(), zoom);
}

void TestTreeDragInput::wheelZoomStaysInRange()
{
    TInputHost h(600, 400);
    TTree *t = h.Tree;
    t->SetWheelNavigation(wnZoom);
    int zooms = 0;
    t->OnZoom = [&](TObject *) { ++zooms; };
    t->View3DOptions()->SetZoom(2);
    zooms = 0;
    h.Wheel(5);
    QCOMPARE(t->View3DOptions()->Zoom(), TTreeInteraction::kMinZoom);
    QCOMPARE(zooms, 1);
    t->View3DOptions()->SetZoom(TTreeInteraction::kMaxZoom - 1);
    h.Wheel(-3);
    QCOMPARE(t->View3DOptions()->Zoom(), TTreeInteraction::kMaxZoom);
    // A zoom outside the range (from a file) comes back into it.
    t->View3DOptions()->SetZoom(TTreeInteraction::kMaxZoom * 4);
    h.Wheel(-1);
    QCOMPARE(t->View3DOptions()->Zoom(), TTreeInteraction::kMaxZoom);
    for (int i = 0; i < 400; ++i)
        h.Wheel(1);
    QCOMPARE(t->View3DOptions()->Zoom(), TTreeInteraction::kMinZoom);
    // Every zoom reached on the way down is reached again on the way up.
    QList<int> down, up;
    for (int i = 0; i < 60; ++i) {
        down.prepend(t->View3DOptions()->Zoom());
        h.Wheel(-1);
    }
    for (int i = 0; i < 60; ++i) {
        h.Wheel(1);
        up << t->View3DOptions()->Zoom();
    }
    QCOMPARE(up, down);
}

void TestTreeDragInput::rubberBandDrawsOverThePicture()
{
    TCentredHost h;
    TTree *t = h.Tree;
    h.Design();
    int drawings = 0;
    t->OnAfterDraw = [&](TObject *) { ++drawings; };
    const QImage before = h.Paint();
    QCOMPARE(drawings, 0);
    h.Press(QPoint(20, 20));
    h.Move(QPoint(120, 80));
    const QImage banded = h.Paint();
    h.Move(QPoint(140, 100));
    const QImage moved = h.Paint();
    // The band shows over the clean picture, which is not drawn again.
    QVERIFY(banded != before);
    QVERIFY(moved != banded);
    QCOMPARE(drawings, 0);
    h.Release(QPoint(140, 100));
    QCOMPARE(h.Paint(), before);
}

// ---------------------------------------------------------------------------
// Drags on a larger diagram

void TestTreeDragInput::dragLaysOutOnlyWhatFollows_data()
{
    QTest::addColumn<int>("node"); // index in shape order
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("resize");
    QTest::addColumn<bool>("second"); // a second node selected too
    QTest::addColumn<QPoint>("step");
    QTest::newRow("a child down") << 6 << int(Qt::NoModifier) << false << false << QPoint(3, 7);
    QTest::newRow("a child up") << 9 << int(Qt::NoModifier) << false << false << QPoint(-2, -9);
    QTest::newRow("sideways only") << 5 << int(Qt::NoModifier) << false << false << QPoint(6, 0);
    QTest::newRow("alt: without its children") << 3 << int(Qt::AltModifier) << false << false << QPoint(4, 5);
    QTest::newRow("the first root") << 0 << int(Qt::NoModifier) << false << false << QPoint(5, 8);
    QTest::newRow("resized") << 7 << int(Qt::NoModifier) << true << false << QPoint(5, 6);
    QTest::newRow("two selected") << 4 << int(Qt::NoModifier) << false << true << QPoint(2, 5);
}

void TestTreeDragInput::dragLaysOutOnlyWhatFollows()
{
    QFETCH(int, node);
    QFETCH(int, modifiers);
    QFETCH(bool, resize);
    QFETCH(bool, second);
    QFETCH(QPoint, step);
    int dragged = 0;
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        TInputHost h(500, 400);
        TTree *t = h.Tree;
        t->SetSingleSelection(false);
        t->ImportOutline(GeneratedOutline(400, 4, seed));
        t->ExpandAll(true);
        QRandomGenerator rng(seed);
        h.Draw();
        // Some nodes placed by hand, some collapsed, some joined across.
        for (TTreeNodeShape *n : t->Shapes()) {
            const int r = rng.bounded(40);
            if (r == 0)
                n->SetX0(n->X0() + 30);
            else if (r == 1)
                n->SetY0(n->Y0() + 4);
            else if (r == 2 && n->HasChildren() && n->Visible())
                n->SetExpanded(false);
            else if (r == 3)
                n->AddConnection(t->Shapes()[rng.bounded(t->Shapes().Count())])->SetStyle(csLine);
        }
        h.Design(false);
        TTreeNodeShape *n = t->Shapes()[node];
        if (!n->Visible() || t->ShapeAt(h.At(n).x(), h.At(n).y()) != n)
            continue;
        ++dragged;
        n->SetSelected(true);
        if (second)
            t->Shapes()[node + 5]->SetSelected(true);
        h.Draw();
        const auto mods = Qt::KeyboardModifiers(modifiers);
        QPoint at = h.At(n);
        if (resize) {
            // The bottom-right handle, unless the next row covers it.
            at = h.Screen(n->X1() + 1, n->Y1() + 1);
            if (TTreeNodeShape *over = t->ShapeAt(at.x(), at.y()); over && over != n) {
                --dragged;
                continue;
            }
        }
        const int layouts = t->LayoutCount();
        const int parts = t->PartialLayoutCount();
        h.Press(at, mods);
        QVERIFY2(t->Interaction().ActiveShape() == n,
                 qPrintable(QStringLiteral("seed %1 at %2,%3 active %4 hit %5").arg(seed).arg(at.x()).arg(at.y())
                                .arg(t->Interaction().ActiveShape() ? t->Interaction().ActiveShape()->SimpleText() : "-")
                                .arg(t->ShapeAt(at.x(), at.y()) ? t->ShapeAt(at.x(), at.y())->SimpleText() : "-")));
        QImage partly;
        QList<QRect> bounds;
        for (int i = 1; i <= 5; ++i) {
            h.Move(at + step * i, mods);
            partly = Grab(t);
            bounds = AllBounds(t);
            if (i == 5)
                break;
            // What the drag shows is what a full layout shows.
            t->InvalidateLayout();
            const QImage whole = Grab(t);
            CompareInSight(t, bounds, AllBounds(t));
            QVERIFY2(partly == whole, qPrintable(QStringLiteral("seed %1 step %2").arg(seed).arg(i)));
        }
        // Besides the test's own full layouts, the drag made one at most, at
        // its first step (the node's position stopped being automatic).
        QVERIFY(t->PartialLayoutCount() > parts);
        QVERIFY(t->LayoutCount() <= layouts + 5);
        h.Release(at + step * 5, mods);
        // The release lays the whole diagram out again, to the same result.
        const int afterRelease = t->LayoutCount();
        const QImage whole = Grab(t);
        QCOMPARE(t->LayoutCount(), afterRelease + 1);
        CompareInSight(t, bounds, AllBounds(t));
        QVERIFY(partly == whole);
    }
    QVERIFY(dragged >= 3);
}

QTEST_MAIN(TestTreeDragInput)
#include "tst_tree_drag_input.moc"
