// Connections: creation and naming, where they meet each node style, the
// point kinds and their editing, the drawn course with its arrow heads and
// text (checked on the canvas's calls and on rendered pixels), hit tests,
// and the lists kept consistent through relinking and deletion.

#include "TreeTestUtil.h"

#include "canvas/RecordingCanvas.h"
#include "core/ClassRegistry.h"

#include <QImage>
#include <QPainter>
#include <QtTest>
#include <climits>
#include <cmath>

namespace G = ConnectionGeometry;

namespace {

// Counts its instances, so tests see every connection freed exactly once.
class TCountedConnection : public TTreeConnection
{
    DX_OBJECT(TCountedConnection)
public:
    explicit TCountedConnection(TComponent *owner = nullptr) : TTreeConnection(owner) { ++Alive; }
    ~TCountedConnection() override { --Alive; }
    static int Alive;
};
int TCountedConnection::Alive = 0;

const TClassInfo &TCountedConnection::StaticClassInfo()
{
    static const TClassInfo info("TCountedConnection", &TTreeConnection::StaticClassInfo());
    return info;
}

// A diagram drawing on a white image through a recording canvas, with the
// handles it is asked to draw.
class TImageTree : public TTreeDocument
{
public:
    explicit TImageTree(TComponent *owner, int w = 200, int h = 140)
        : TTreeDocument(owner), Image(w, h, QImage::Format_RGB32)
    {
        Image.fill(Qt::white);
        Painter.begin(&Image);
        Canvas.Attach(&Painter);
    }
    ~TImageTree() override { Finish(); }
    const QImage &Finish()
    {
        if (Painter.isActive()) {
            Canvas.Attach(nullptr);
            Painter.end();
        }
        return Image;
    }
    TKorCanvas3D *TreeCanvas() override { return &Canvas; }
    TRect VisibleArea() const override { return Visible; }
    void DrawHandle(int x, int y, TColor color, TTreeShapeHandle code) override
    {
        Handles.push_back({x, y, color, code});
    }

    struct THandle
    {
        int X, Y;
        TColor Color;
        TTreeShapeHandle Code;
    };
    QImage Image;
    QPainter Painter;
    TRecordingCanvas Canvas;
    TRect Visible = TRect(-10000, -10000, 10000, 10000);
    std::vector<THandle> Handles;
};

struct TImageHost
{
    std::unique_ptr<TComponent> Owner = std::make_unique<TComponent>();
    TImageTree *Tree;
    TImageHost(int w = 200, int h = 140)
    {
        Owner->SetName(QStringLiteral("TreeEditor1"));
        Tree = new TImageTree(Owner.get(), w, h);
        Tree->SetNoOwnerShapes(false);
    }
};

// A visible root with a fixed rectangle.
TTreeNodeShape *Box(TTreeDocument *tree, int l, int t, int r, int b, const QString &text = QString())
{
    TTreeNodeShape *n = Place(tree->AddRoot(text), l, t, r, b);
    return n;
}

// Two fixed boxes joined by a connection of a style.
TTreeConnection *Link(TTreeDocument *tree, const TRect &from, const TRect &to, TTreeConnectionStyle style = csLine)
{
    TTreeNodeShape *a = Box(tree, from.Left, from.Top, from.Right, from.Bottom);
    TTreeNodeShape *b = Box(tree, to.Left, to.Top, to.Right, to.Bottom);
    TTreeConnection *c = a->AddConnection(b);
    c->SetStyle(style);
    return c;
}

TPointArray Points(const TTreeConnection *c)
{
    return c->Points().Positions();
}

// The Part's formula for a turned arrow vertex, computed independently.
TPoint Turned(int px, int py, int cx, int cy, double degrees)
{
    const double a = degrees * M_PI / 180.0;
    const double dx = px - cx, dy = py - cy;
    return TPoint(int(std::nearbyint(dx * std::cos(a) + dy * std::sin(a))) + cx,
                  int(std::nearbyint(dx * std::sin(a) - dy * std::cos(a))) + cy);
}

// The rule for computing points read literally: a point that needs its next
// one computes it at the moment it needs it, recursively. Only for short
// lists (the work doubles with every point that needs its next one twice).
void ComputeByTheRule(TTreeConnection *c, int i)
{
    TConnectionPoints &pts = c->Points();
    const int n = pts.Count();
    const TTreeNodeShape *from = c->FromShape();
    const TTreeNodeShape *to = c->ToShape();
    auto spot = [](const TConnectionPoint &q) { return TRect(q.X, q.Y, q.X, q.Y); };
    auto value = [&](TConnectionPointKind kind, int v, bool h) {
        auto origin = [h](const TTreeNodeShape *s) { return h ? s->X0() : s->Y0(); };
        auto extent = [h](const TTreeNodeShape *s) { return h ? s->Width() : s->Height(); };
        auto at = [&](int k) { return h ? pts[k].X : pts[k].Y; };
        switch (kind) {
        case cpFromPercent:
            return origin(from) + int(std::nearbyint(extent(from) * v * 0.01));
        case cpToPercent:
            return origin(to) + int(std::nearbyint(extent(to) * v * 0.01));
        case cpFromOffset:
            return origin(from) + v;
        case cpToOffset:
            return origin(to) + v;
        case cpPrevOffset:
            return i > 0 ? at(i - 1) + v : 0;
        case cpNextOffset:
            if (i + 1 >= n)
                return 0;
            ComputeByTheRule(c, i + 1);
            return at(i + 1) + v;
        default:
            return v;
        }
    };
    if (pts[i].XStyle == cpFromEdge) {
        const bool towardsNext = i + 1 < n && pts[i + 1].XStyle != cpToEdge;
        if (towardsNext)
            ComputeByTheRule(c, i + 1);
        const TPoint p = from->CalcConnectionPoint(towardsNext ? spot(pts[i + 1]) : to->ConnectionRect());
        pts[i].X = p.X;
        pts[i].Y = p.Y;
    } else if (pts[i].XStyle == cpToEdge) {
        const bool fromPrevious = i > 0 && pts[i - 1].XStyle != cpNextOffset;
        const TPoint p = to->CalcConnectionPoint(fromPrevious ? spot(pts[i - 1]) : from->ConnectionRect());
        pts[i].X = p.X;
        pts[i].Y = p.Y;
    } else {
        const int x = value(pts[i].XStyle, pts[i].XValue, true);
        pts[i].X = x;
    }
    if (pts[i].YStyle != cpFromEdge && pts[i].YStyle != cpToEdge) {
        const int y = value(pts[i].YStyle, pts[i].YValue, false);
        pts[i].Y = y;
    }
}

std::vector<int> Flat(const TPointArray &points)
{
    std::vector<int> ints;
    for (const TPoint &p : points) {
        ints.push_back(p.X);
        ints.push_back(p.Y);
    }
    return ints;
}

TColor PixelColor(const QImage &img, int x, int y)
{
    return FromQColor(QColor(img.pixel(x, y)));
}

bool IsDark(const QImage &img, int x, int y)
{
    return qGray(img.pixel(x, y)) < 60;
}

} // namespace

class TestConnections : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void newConnectionDefaults();
    void addConnectionAsksAndReuses();
    void namesAfterEndNodes();
    void templateAndParentFormat();
    void meetingPointsOfRectangles();
    void meetingPointsOfEachStyle();
    void pointKinds();
    void pointsComputedInTheRuleOrder();
    void pointEditing();
    void valuesAtTheEndsOfTheRange();
    void styleChangesAndStoredPoints();
    void drawnCourseAndAngles();
    void textAngleNeverUpsideDown();
    void arrowVerticesFollowFormula();
    void arrowDirectionOnImage();
    void penSelection();
    void hitTests();
    void handlesByPointKind();
    void relinkingKeepsListsConsistent();
    void deletingEitherEndFreesOnce();
    void listDeletionApproval();
};

void TestConnections::initTestCase()
{
    RegisterModelClasses();
    RegisterClass<TCountedConnection>();
}

void TestConnections::newConnectionDefaults()
{
    THost host;
    int made = 0;
    host.Tree->OnNewConnection = [&](TTreeDocument *tree, TTreeConnection *c) {
        QCOMPARE(tree, host.Tree);
        QVERIFY(host.Tree->Connections().Contains(c));
        ++made;
    };
    TTreeNodeShape *a = host.Tree->AddRoot(QStringLiteral("a"));
    TTreeNodeShape *b = host.Tree->AddRoot(QStringLiteral("b"));
    TTreeConnection *c = a->AddConnection(b);
    QCOMPARE(made, 1);
    QCOMPARE(c->Name(), QStringLiteral("TreeNodeShape1_TreeNodeShape2"));
    QCOMPARE(c->Owner(), host.Owner.get());
    QCOMPARE(c->Tree(), host.Tree);
    QCOMPARE(c->Style(), csAuto);
    QCOMPARE(c->FromShape(), a);
    QCOMPARE(c->ToShape(), b);
    const TChartPen *pen = c->EffectiveBorder();
    QVERIFY(pen->SmallDots());
    QCOMPARE(pen->Style(), psDot);
    QCOMPARE(pen->Color(), clGray);
    QCOMPARE(c->EffectiveArrowFrom()->Style(), casNone);
    QCOMPARE(c->EffectiveArrowTo()->Style(), casSolid);
    QCOMPARE(c->EffectiveArrowTo()->Size(), 4);
    QCOMPARE(c->EffectiveArrowTo()->EffectiveBrush()->Color(), clBlack);
    // Nothing of its own yet: nothing stored but the ends.
    QVERIFY(!c->PeekArrowFrom() && !c->PeekArrowTo() && !c->PeekBorder() && !c->PeekFont());
    QCOMPARE(StoredProps(*c), QStringList({"FromShape", "ToShape"}));
    QCOMPARE(a->Connections().First(), c);
    QCOMPARE(b->Parents(), std::vector<TTreeNodeShape *>{a});
    QCOMPARE(b->IncomingConnections(), std::vector<TTreeConnection *>{c});

    // Own objects start from the template and store what differs.
    c->ArrowTo()->SetSize(9);
    c->Border()->SetColor(clRed);
    QCOMPARE(c->PeekArrowTo()->Style(), casSolid);
    QCOMPARE(StoredProps(*c->PeekArrowTo()), QStringList{"Size"});
    QCOMPARE(StoredProps(*c->PeekBorder()), QStringList{"Color"});
    QCOMPARE(StoredProps(*c), QStringList({"ArrowTo", "Border", "FromShape", "ToShape"}));
    const int before = host.Tree->InvalidateCount();
    c->ArrowTo()->Brush()->SetColor(clBlue);
    c->ArrowTo()->SetSize(9);
    QCOMPARE(host.Tree->InvalidateCount(), before + 1);
    c->SetArrowTo(nullptr);
    QVERIFY(!c->PeekArrowTo());

    QStringList declared;
    for (const TPropInfo &p : TTreeConnection::StaticClassInfo().Properties())
        declared << p.Name;
    QCOMPARE(declared, QStringList({"Tag", "ArrowFrom", "ArrowTo", "Border", "Font", "Style", "Cursor", "FromShape",
                                    "ToShape", "Text"}));
}

void TestConnections::addConnectionAsksAndReuses()
{
    THost host;
    TTreeNodeShape *a = host.Tree->AddRoot();
    TTreeNodeShape *b = host.Tree->AddRoot();
    QStringList asked;
    bool allow = false;
    host.Tree->OnAddingConnection = [&](TTreeNodeShape *n1, TTreeNodeShape *n2, bool &add) {
        QCOMPARE(add, true);
        asked << n1->Name() + ">" + n2->Name();
        add = allow;
    };
    QVERIFY(!a->AddConnection(b));
    QCOMPARE(host.Tree->Connections().Count(), 0);
    allow = true;
    TTreeConnection *c = a->AddConnection(b);
    QVERIFY(c);
    QCOMPARE(a->AddConnection(b), c); // the existing one, without asking
    QCOMPARE(asked.size(), 2);
    // AddChild connects without asking.
    a->AddChild();
    QCOMPARE(asked.size(), 2);
    QCOMPARE(a->ConnectionCount(), 2);

    // A connection from a node to itself.
    TTreeConnection *loop = a->AddConnection(a);
    QCOMPARE(loop->FromShape(), a);
    QCOMPARE(loop->ToShape(), a);
    QVERIFY(a->ConnectionTo(a));
}

void TestConnections::namesAfterEndNodes()
{
    THost host;
    TTreeNodeShape *a = host.Tree->AddRoot();
    TTreeNodeShape *b = host.Tree->AddRoot();
    TTreeNodeShape *c = host.Tree->AddRoot();
    TTreeNodeShape *d = host.Tree->AddRoot();
    a->SetName(QStringLiteral("A_B"));
    b->SetName(QStringLiteral("C"));
    c->SetName(QStringLiteral("A"));
    d->SetName(QStringLiteral("B_C"));
    QCOMPARE(a->AddConnection(b)->Name(), QStringLiteral("A_B_C"));
    // The same formed name again: the first free numbered variant.
    QCOMPARE(c->AddConnection(d)->Name(), QStringLiteral("A_B_C1"));

    // Without owners: the diagram's connection class, no name.
    THost loose(false);
    loose.Tree->DefaultFormat().SetConnectionClass(&TCountedConnection::StaticClassInfo());
    TTreeNodeShape *x = loose.Tree->AddRoot();
    TTreeConnection *loose1 = x->AddChild()->Parent()->Connections().First();
    QCOMPARE(loose1->ClassName(), QStringLiteral("TCountedConnection"));
    QVERIFY(!loose1->Owner());
    QVERIFY(loose1->Name().isEmpty());
}

void TestConnections::templateAndParentFormat()
{
    THost host;
    TTreeConnection *model = host.Tree->DefaultFormat().Connection();
    QVERIFY(!model->Owner() && !model->Tree());
    model->ArrowFrom()->SetStyle(casDiamond);
    model->Border()->SetWidth(3);
    TTreeNodeShape *a = host.Tree->AddRoot();
    TTreeConnection *c = a->AddChild()->Parent()->Connections().First();
    QCOMPARE(c->EffectiveArrowFrom()->Style(), casDiamond);
    QCOMPARE(c->ArrowFrom()->Style(), casDiamond); // the own one copies the template
    QCOMPARE(c->Border()->Width(), 3);

    // With AssignParentFormat a new connection takes the style of the
    // start node's first connection, else of its parent's.
    c->SetStyle(csSides);
    host.Tree->SetAssignParentFormat(true);
    TTreeNodeShape *child = a->Child(0);
    TTreeNodeShape *grandchild = child->AddChild();
    QCOMPARE(child->ConnectionTo(grandchild)->Style(), csSides);
    QCOMPARE(a->ConnectionTo(a->AddChild())->Style(), csSides);

    // Assign copies arrows, pen and style, not the points.
    TTreeConnection copy;
    c->AddPoint(1, 2);
    copy.Assign(c);
    QCOMPARE(copy.Style(), csSides);
    QCOMPARE(copy.PeekArrowFrom()->Style(), casDiamond);
    QCOMPARE(copy.PeekBorder()->Width(), 3);
    QCOMPARE(copy.Count(), 0);
}

void TestConnections::meetingPointsOfRectangles()
{
    THost host;
    auto line = [&](TTreeNodeShape *from, TTreeNodeShape *to) {
        TTreeConnection *c = from->AddConnection(to);
        c->SetStyle(csLine);
        c->SetDefaultPoints();
        c->CalcPoints();
        return Points(c);
    };
    // A wholly left of B, overlapping vertically.
    TTreeNodeShape *a = Box(host.Tree, 0, 0, 40, 20);
    TTreeNodeShape *b = Box(host.Tree, 100, 10, 140, 30);
    QCOMPARE(line(a, b), (TPointArray{TPoint(40, 10), TPoint(100, 20)}));
    // A wholly above and left of B: A's bottom-right corner.
    TTreeNodeShape *c = Box(host.Tree, 200, 100, 240, 120);
    QCOMPARE(line(a, c).front(), TPoint(40, 20));
    // Overlapping horizontally with B lower: A's bottom centre.
    TTreeNodeShape *d = Box(host.Tree, 20, 80, 60, 100);
    QCOMPARE(line(a, d), (TPointArray{TPoint(20, 20), TPoint(40, 80)}));
    // A visible border moves the left edge out and the bottom down by half
    // its width.
    a->Border()->SetWidth(4);
    QCOMPARE(a->ConnectionRect(), TRect(-2, 0, 40, 22));
    a->Border()->SetVisible(false);
    QCOMPARE(a->ConnectionRect(), TRect(0, 0, 40, 20));
}

void TestConnections::meetingPointsOfEachStyle()
{
    const TRect own(100, 100, 140, 120); // centre (120, 110)
    const TRect left(0, 100, 10, 120), right(200, 100, 210, 120), above(100, 0, 140, 10), below(100, 200, 140, 210);
    const TRect belowLeft(0, 200, 10, 210), aboveRight(200, 0, 210, 10);
    struct Case
    {
        TTreeShapeStyle style;
        TRect other;
        TPoint expected;
    };
    const Case cases[] = {
        {tssCircle, left, {100, 110}},          {tssCircle, right, {140, 110}},
        {tssDiamond, above, {120, 100}},        {tssDiamond, below, {120, 120}},
        {tssVertLine, above, {120, 100}},       {tssVertLine, right, {120, 120}},
        {tssHorizLine, left, {100, 110}},       {tssHorizLine, above, {140, 110}},
        {tssLine, left, {100, 100}},            {tssInvertLine, right, {140, 120}},
        {tssTriangleTop, above, {120, 100}},    {tssTriangleTop, belowLeft, {100, 120}},
        {tssTriangleTop, right, {140, 120}},    {tssTriangleBottom, below, {120, 120}},
        {tssTriangleBottom, left, {100, 100}},  {tssTriangleBottom, aboveRight, {140, 100}},
        {tssTriangleLeft, left, {100, 110}},    {tssTriangleLeft, aboveRight, {140, 100}},
        {tssTriangleLeft, right, {140, 120}},   {tssTriangleRight, right, {140, 110}},
        {tssTriangleRight, above, {100, 100}},  {tssTriangleRight, belowLeft, {100, 120}},
        {tssRoundRectangle, right, {140, 110}}, {tssCustom, below, {120, 120}},
    };
    for (const Case &c : cases)
        QCOMPARE(G::MeetingPoint(c.style, own, c.other), c.expected);

    // The node answers with its own style and rectangle.
    TTreeNodeShape node;
    Place(&node, 100, 100, 140, 120);
    node.SetStyle(tssTriangleRight);
    QCOMPARE(node.CalcConnectionPoint(right), TPoint(140, 110));
}

void TestConnections::pointKinds()
{
    THost host;
    TTreeNodeShape *from = Box(host.Tree, 0, 0, 50, 20);
    TTreeNodeShape *to = Box(host.Tree, 100, 50, 120, 90);
    TTreeConnection *c = from->AddConnection(to);
    c->SetStyle(csLine);
    auto add = [&](TConnectionPointKind xk, int xv, TConnectionPointKind yk, int yv) {
        TConnectionPoint p;
        p.XStyle = xk;
        p.XValue = xv;
        p.YStyle = yk;
        p.YValue = yv;
        c->Points().Add(p);
    };
    add(cpFromPercent, 50, cpFromPercent, 25);   // (25, 5)
    add(cpToPercent, 100, cpToPercent, 50);      // (120, 70)
    add(cpFromOffset, 7, cpToOffset, -3);        // (7, 47)
    add(cpPrevOffset, 10, cpNextOffset, 1);      // (17, next y + 1)
    add(cpNextOffset, -5, cpAbsolute, 300);      // (next x - 5, 300)
    add(cpAbsolute, 400, cpPrevOffset, 4);       // (400, 304)
    c->CalcPoints();
    QCOMPARE(Points(c), (TPointArray{{25, 5}, {120, 70}, {7, 47}, {17, 301}, {395, 300}, {400, 304}}));
    // Offsets follow their node.
    to->MoveRelative(10, 0, false);
    from->MoveRelative(0, 2, false);
    c->CalcPoints();
    QCOMPARE(Points(c)[1], TPoint(130, 70));
    QCOMPARE(Points(c)[0], TPoint(25, 7));

    // Edge points: towards the next point unless it is an edge too.
    c->Points().Clear();
    add(cpFromEdge, 0, cpFromEdge, 0);
    add(cpAbsolute, 25, cpAbsolute, 200);
    add(cpToEdge, 0, cpToEdge, 0);
    c->CalcPoints();
    QCOMPARE(Points(c), (TPointArray{{25, 22}, {25, 200}, {110, 90}}));

    // A first point's previous offset and a last point's next offset are 0.
    c->Points().Clear();
    add(cpPrevOffset, 5, cpAbsolute, 1);
    add(cpNextOffset, 5, cpAbsolute, 1);
    c->CalcPoints();
    QCOMPARE(Points(c), (TPointArray{{0, 1}, {0, 1}}));

    // A long chain of next offsets is computed without recursion.
    c->Points().Clear();
    for (int i = 0; i < 50000; ++i)
        add(cpNextOffset, 1, cpAbsolute, 0);
    add(cpAbsolute, 0, cpAbsolute, 0);
    c->CalcPoints();
    QCOMPARE(Points(c).front(), TPoint(50000, 0));
}

void TestConnections::pointsComputedInTheRuleOrder()
{
    THost host;
    // A default curve to a node below: the middle control point takes its
    // height from where the curve enters that node, which is found towards
    // the control point's fresh X, so the curve enters the node at its top.
    TTreeConnection *c = Link(host.Tree, TRect(0, 0, 50, 20), TRect(10, 100, 60, 120), csCurve);
    c->Figure();
    QCOMPARE(Points(c), (TPointArray{{25, 20}, {25, 100}, {35, 100}, {35, 100}}));
    c->Figure(); // and stays there
    QCOMPARE(Points(c), (TPointArray{{25, 20}, {25, 100}, {35, 100}, {35, 100}}));

    // Every short list of points, from any earlier positions, comes out as
    // the rule read literally gives it.
    std::srand(7);
    for (int trial = 0; trial < 20000; ++trial) {
        const int n = 2 + std::rand() % 4;
        std::vector<TConnectionPoint> points(static_cast<size_t>(n));
        for (TConnectionPoint &p : points) {
            p.XStyle = TConnectionPointKind(std::rand() % 9);
            p.YStyle = TConnectionPointKind(std::rand() % 9);
            p.XValue = std::rand() % 200 - 50;
            p.YValue = std::rand() % 200 - 50;
            p.X = std::rand() % 200 - 50;
            p.Y = std::rand() % 200 - 50;
        }
        c->Points().SetItems(points);
        c->CalcPoints();
        const TPointArray computed = Points(c);
        c->Points().SetItems(points);
        for (int i = 0; i < n; ++i)
            ComputeByTheRule(c, i);
        if (computed != Points(c))
            QFAIL(qPrintable(QStringLiteral("trial %1 differs").arg(trial)));
    }

    // Long chains of points that look back at the one before and ahead at
    // the next one are computed without redoing the whole chain per point.
    c->Points().Clear();
    const int n = 50000;
    for (int i = 0; i < n; ++i) {
        TConnectionPoint p;
        p.XStyle = cpPrevOffset;
        p.XValue = 1;
        p.YStyle = cpNextOffset;
        p.YValue = 1;
        c->Points().Add(p);
    }
    c->CalcPoints();
    QCOMPARE(Points(c).front(), TPoint(0, n - 1));
    QCOMPARE(Points(c).back(), TPoint(n - 1, 0));
}

void TestConnections::pointEditing()
{
    THost host;
    TTreeNodeShape *from = Box(host.Tree, 0, 0, 40, 20);
    TTreeNodeShape *to = Box(host.Tree, 100, 10, 140, 30);
    TTreeConnection *c = from->AddConnection(to);
    c->SetStyle(csLine);
    c->SetDefaultPoints();
    c->CalcPoints();
    QCOMPARE(Points(c)[1], TPoint(100, 20));

    // Moving an edge point makes it an offset from its node.
    c->MovePoint(1, 5, 0);
    QCOMPARE(c->Points()[1].XStyle, cpToOffset);
    QCOMPARE(c->Points()[1].XValue, 5);
    QCOMPARE(c->Points()[1].YStyle, cpToEdge);
    to->MoveRelative(30, 0, false);
    c->CalcPoints();
    QCOMPARE(Points(c)[1].X, 135); // follows ToShape's left edge

    // Changing a kind keeps the point where it is.
    const TPoint at = Points(c)[1];
    const TConnectionPointKind kinds[] = {cpFromPercent, cpToPercent, cpFromOffset, cpToOffset, cpPrevOffset,
                                          cpAbsolute};
    for (TConnectionPointKind kind : kinds) {
        c->SetPointXStyle(1, kind);
        c->SetPointYStyle(1, kind);
        c->CalcPoints();
        QCOMPARE(Points(c)[1], at);
    }
    QCOMPARE(c->Points()[1].XValue, at.X);
    // A node without width gives a percentage of 0 instead of dividing by 0.
    from->SetX1(from->X0());
    c->SetPointXStyle(1, cpFromPercent);
    QCOMPARE(c->Points()[1].XValue, 0);

    // Adding, inserting and deleting points.
    TTreeConnection *d = to->AddConnection(from);
    d->SetStyle(csLine);
    QCOMPARE(d->AddPoint(1, 2), 0);
    QCOMPARE(d->AddPoint(3, 4), 1);
    d->InsertPoint(0, 5, 6);
    d->InsertPoint(9, 7, 8); // not before the new point: stays last
    QCOMPARE(Points(d), (TPointArray{{5, 6}, {1, 2}, {3, 4}, {7, 8}}));
    QCOMPARE(d->Points()[0].XStyle, cpAbsolute);
    d->DeletePoint(1);
    d->DeletePoint(99);
    QCOMPARE(Points(d), (TPointArray{{5, 6}, {3, 4}, {7, 8}}));
    QCOMPARE(d->PointAt(3, 2), 1); // within the handle size
    QCOMPARE(d->PointAt(20, 20), -1);

    // Editing an automatic connection keeps its last course.
    TTreeConnection *e = from->AddConnection(from->AddChild());
    QCOMPARE(e->Style(), csAuto);
    TConnectionPoint p;
    p.X = 10;
    p.Y = 40;
    e->Points().Add(p);
    p.X = 25;
    e->Points().Add(p);
    e->MovePoint(0, 0, 3);
    QCOMPARE(e->Style(), csLine);
    QCOMPARE(e->Points()[0].XStyle, cpFromOffset);
    QCOMPARE(e->Points()[1].XStyle, cpToOffset);
    e->CalcPoints();
    QCOMPARE(Points(e), (TPointArray{{10, 43}, {25, 40}}));
}

void TestConnections::valuesAtTheEndsOfTheRange()
{
    // Point values, positions and arrow sizes read from a file may be any
    // integers: sums stop at the ends of the range instead of wrapping.
    TImageHost host;
    host.Tree->Finish(); // record only
    TTreeConnection *c = Link(host.Tree, TRect(10, 10, 50, 30), TRect(100, 60, 140, 80), csLine);
    auto point = [](TConnectionPointKind kind, int value, int pos) {
        TConnectionPoint p;
        p.XStyle = p.YStyle = kind;
        p.XValue = p.YValue = value;
        p.X = p.Y = pos;
        return p;
    };
    c->Points().SetItems({point(cpFromOffset, INT_MAX, 0), point(cpPrevOffset, INT_MAX, 0),
                          point(cpToPercent, INT_MIN, 0), point(cpNextOffset, INT_MIN, INT_MAX),
                          point(cpAbsolute, INT_MIN, 0)});
    c->CalcPoints();
    // 40 x INT_MIN % of the target's width, 20 x INT_MIN % of its height.
    QCOMPARE(Points(c), (TPointArray{{INT_MAX, INT_MAX}, {INT_MAX, INT_MAX}, {100 - 858993459, 60 - 429496730},
                                     {INT_MIN, INT_MIN}, {INT_MIN, INT_MIN}}));
    // Kinds recomputed from such positions, and points moved past the ends.
    c->SetPointXStyle(3, cpToOffset);
    QCOMPARE(c->Points()[3].XValue, INT_MIN);
    c->SetPointYStyle(3, cpFromPercent);
    QCOMPARE(c->Points()[3].YValue, INT_MIN);
    c->SetPointYStyle(0, cpNextOffset);
    QCOMPARE(c->Points()[0].YValue, 0);
    c->MovePoint(1, 5, -5);
    QCOMPARE(c->Points()[1].XValue, INT_MAX);
    QCOMPARE(c->PointAt(0, 0), -1);
    QCOMPARE(c->ClickedSegment(0, 0), -1);

    // Drawn in every style, with arrow heads of any size (which stops at
    // the end of the coordinate range).
    c->ArrowFrom()->SetStyle(casSolid);
    c->ArrowFrom()->SetSize(INT_MIN);
    c->ArrowTo()->SetSize(INT_MAX);
    QCOMPARE(c->ArrowFrom()->Size(), -kCoordLimit);
    QCOMPARE(c->ArrowTo()->Size(), kCoordLimit);
    c->Text()->Add(QStringLiteral("far"));
    for (TTreeConnectionStyle style : {csLine, csSides, csInvertedSides, csCurve}) {
        c->SetStyle(style);
        QVERIFY(c->Draw());
        c->ClickedSegment(0, 0);
    }
    const TPointArray head = G::ArrowHead(TPoint(INT_MAX, 0), 0, INT_MIN);
    QCOMPARE(head[0], TPoint(INT_MAX, -(1 << 30))); // A = (cx + 2^31, cy + 2^30), mirrored at angle 0
    QCOMPARE(G::ArrowSquare(TPoint(INT_MIN, INT_MAX), INT_MAX), TRect(INT_MIN, 1 << 30, -1, INT_MAX));
}

void TestConnections::styleChangesAndStoredPoints()
{
    THost host;
    TTreeNodeShape *a = Box(host.Tree, 0, 0, 40, 20);
    TTreeNodeShape *b = Box(host.Tree, 100, 0, 140, 20);
    TTreeConnection *c = a->AddConnection(b);
    QVERIFY(!c->StorePoints());
    c->SetStyle(csLine);
    c->Figure();
    QCOMPARE(c->Count(), 2);
    QVERIFY(!c->StorePoints()); // a straight line between the edges
    c->MovePoint(0, 0, 4);
    QVERIFY(c->StorePoints());
    // Between non-automatic styles the points stay; to csAuto they go.
    c->SetStyle(csSides);
    QCOMPARE(c->Count(), 2);
    QVERIFY(c->StorePoints());
    c->SetStyle(csAuto);
    QCOMPARE(c->Count(), 0);
    c->SetStyle(csCurve);
    c->Figure();
    QCOMPARE(c->Count(), 4);
    QCOMPARE(c->Points()[1].XStyle, cpPrevOffset);
    QCOMPARE(c->Points()[1].YStyle, cpNextOffset);
    QVERIFY(c->StorePoints());
}

void TestConnections::drawnCourseAndAngles()
{
    THost host;
    TTreeConnection *c = Link(host.Tree, TRect(0, 0, 40, 20), TRect(100, 60, 140, 80), csLine);
    TConnectionFigure f = c->Figure();
    QCOMPARE(f.Points, (TPointArray{{40, 20}, {100, 60}}));
    QCOMPARE(f.Lines, f.Points);

    c->SetStyle(csSides); // vertical, then horizontal
    f = c->Figure();
    QCOMPARE(f.Lines, (TPointArray{{40, 20}, {40, 60}, {100, 60}}));
    QCOMPARE(f.StartAngle, 0);  // down
    QCOMPARE(f.EndAngle, 90);   // right
    c->SetStyle(csInvertedSides);
    f = c->Figure();
    QCOMPARE(f.Lines, (TPointArray{{40, 20}, {100, 20}, {100, 60}}));
    QCOMPARE(f.StartAngle, 90);
    QCOMPARE(f.EndAngle, 0);

    // Five curve points are drawn as seven, the last repeated.
    c->SetStyle(csCurve);
    c->Points().Clear();
    for (int i = 0; i < 5; ++i)
        c->AddPoint(i * 10, i * 5);
    QCOMPARE(c->Count(), 5);
    f = c->Figure();
    QCOMPARE(f.Lines.size(), size_t(7));
    QCOMPARE(f.Lines[5], f.Lines[4]);
    QCOMPARE(f.Lines[6], f.Lines[4]);
    QCOMPARE(G::CurvePoints(TPointArray(8)).size(), size_t(10));
    QCOMPARE(G::CurvePoints(TPointArray(4)).size(), size_t(4));
    const TPointArray flat = G::BezierPolyline({{0, 0}, {0, 30}, {30, 30}, {30, 0}});
    QCOMPARE(flat.front(), TPoint(0, 0));
    QCOMPARE(flat.back(), TPoint(30, 0));
    QVERIFY(flat.size() > 8);
    QCOMPARE(flat[flat.size() / 2].Y, 22); // the curve's top: 3/4 of the control height

    // Nothing is drawn outside the visible area.
    TImageHost image;
    TTreeConnection *pq = Link(image.Tree, TRect(0, 0, 40, 20), TRect(100, 0, 140, 20), csLine);
    image.Tree->Visible = TRect(500, 500, 600, 600);
    QVERIFY(pq->Figure().Lines.empty());
    image.Tree->Canvas.Clear();
    QVERIFY(pq->Draw());
    QCOMPARE(image.Tree->Canvas.Calls().size(), size_t(0));
}

void TestConnections::textAngleNeverUpsideDown()
{
    QCOMPARE(G::TextAngle(90), 0);    // left to right
    QCOMPARE(G::TextAngle(-90), 0);   // right to left: turned upright
    QCOMPARE(G::TextAngle(0), -90);   // downwards
    QCOMPARE(G::TextAngle(180), 90);  // upwards
    QCOMPARE(G::TextAngle(-45), 45);  // down-left
    QCOMPARE(G::TextAngle(-135), -45); // up-left

    // The text goes to the middle of the last segment, turned.
    TImageHost host;
    TTreeNodeShape *a = Box(host.Tree, 100, 0, 140, 20);
    TTreeNodeShape *b = Box(host.Tree, 0, 0, 40, 20);
    TTreeConnection *c = a->AddConnection(b);
    c->SetStyle(csLine);
    c->Text()->SetText(QStringLiteral("one\ntwo"));
    c->Text()->SetVertOffset(3);
    const TConnectionFigure f = c->Figure();
    QCOMPARE(f.EndAngle, -90);
    QCOMPARE(f.TextAngle, 0);
    QCOMPARE(f.TextOrigin, TPoint(70, 10));
    c->Draw();
    const auto texts = host.Tree->Canvas.FindTopLevel(QStringLiteral("ProjectedTextOut"));
    QCOMPARE(texts.size(), size_t(2));
    QCOMPARE(texts[0].Int(0), 70);
    QCOMPARE(texts[0].Int(1), 13);
    host.Tree->Canvas.AssignFont(c->EffectiveFont());
    QCOMPARE(texts[1].Int(1), 13 + host.Tree->Canvas.TextHeight(QStringLiteral("W")));
    QCOMPARE(texts[0].Str(0), QStringLiteral("one"));

    // A downward last segment turns the text.
    Place(b, 100, 100, 140, 120);
    host.Tree->Canvas.Clear();
    c->Text()->SetHorizAlign(htaRight);
    c->Draw();
    const TCanvasCall *turned = host.Tree->Canvas.First(QStringLiteral("ProjectedRotatedText"));
    QVERIFY(turned);
    QCOMPARE(turned->Real(0), -90.0);
    QCOMPARE(turned->Int(0), 120); // htaRight: the last point's x
}

void TestConnections::arrowVerticesFollowFormula()
{
    // The head's vertices for several directions and sizes, against the
    // formula: A = (cx - s, cy - s/2), B = (cx - s, cy + s/2) turned about C.
    for (int size : {4, 7, 10}) {
        for (double angle : {0.0, 30.0, 45.0, 90.0, 135.0, 180.0, 270.0, -60.0}) {
            const TPoint c(50, 40);
            const TPointArray head = G::ArrowHead(c, angle, size);
            QCOMPARE(head.size(), size_t(3));
            QCOMPARE(head[0], Turned(c.X - size, c.Y - size / 2, c.X, c.Y, angle));
            QCOMPARE(head[1], c);
            QCOMPARE(head[2], Turned(c.X - size, c.Y + size / 2, c.X, c.Y, angle));
        }
    }

    // A diagonal connection draws its heads at the computed angles.
    TImageHost host;
    TTreeConnection *c = Link(host.Tree, TRect(0, 0, 20, 20), TRect(100, 100, 120, 120), csLine);
    c->ArrowFrom()->SetStyle(casSolid);
    c->ArrowTo()->SetSize(8);
    c->Draw();
    const TConnectionFigure f = c->Figure();
    QCOMPARE(f.Points, (TPointArray{{20, 20}, {100, 100}}));
    QCOMPARE(f.EndAngle, 45);
    const auto heads = host.Tree->Canvas.FindTopLevel(QStringLiteral("Polygon"));
    QCOMPARE(heads.size(), size_t(2));
    const TPoint from(20, 20), to(100, 100);
    QCOMPARE(heads[0].Ints, Flat({Turned(from.X - 4, from.Y - 2, from.X, from.Y, 270 - 45), from,
                                  Turned(from.X - 4, from.Y + 2, from.X, from.Y, 270 - 45)}));
    QCOMPARE(heads[1].Ints, Flat({Turned(to.X - 8, to.Y - 4, to.X, to.Y, 90 - 45), to,
                                  Turned(to.X - 8, to.Y + 4, to.X, to.Y, 90 - 45)}));
    QCOMPARE(heads[1].BrushColor, clBlack);

    // The other head styles draw in the square around the point.
    host.Tree->Canvas.Clear();
    c->ArrowFrom()->SetStyle(casSquare);
    c->ArrowTo()->SetStyle(casCircle);
    c->Draw();
    QVERIFY(host.Tree->Canvas.Has(QStringLiteral("RectangleRect"), {18, 18, 22, 22}));
    QVERIFY(host.Tree->Canvas.Has(QStringLiteral("Ellipse"), {96, 96, 104, 104}));
    host.Tree->Canvas.Clear();
    c->ArrowFrom()->SetStyle(casDiamond);
    c->ArrowTo()->SetStyle(casLines);
    c->Draw();
    QVERIFY(host.Tree->Canvas.Has(QStringLiteral("Polygon"), {18, 20, 20, 18, 22, 20, 20, 22}));
    QCOMPARE(host.Tree->Canvas.CountTopLevel(QStringLiteral("Polygon")), 1);
    QCOMPARE(host.Tree->Canvas.CountTopLevel(QStringLiteral("LineTo")), 2);
}

void TestConnections::arrowDirectionOnImage()
{
    TImageHost host;
    // Left to right at y = 50, heads at both ends.
    TTreeConnection *ab = Link(host.Tree, TRect(10, 40, 40, 60), TRect(150, 40, 180, 60), csLine);
    ab->Border()->SetSmallDots(false);
    ab->Border()->SetStyle(psSolid);
    ab->Border()->SetColor(clBlue);
    ab->ArrowFrom()->SetStyle(casSolid);
    ab->ArrowFrom()->SetSize(10);
    ab->ArrowTo()->SetSize(10);
    // Downwards at x = 60 in the lower part.
    TTreeConnection *cd = Link(host.Tree, TRect(50, 70, 70, 80), TRect(50, 125, 70, 135), csLine);
    cd->ArrowTo()->SetSize(10);
    QVERIFY(ab->Draw());
    QVERIFY(cd->Draw());
    const QImage &img = host.Tree->Finish();

    QCOMPARE(PixelColor(img, 100, 50), clBlue);
    // The to-head points right: its base is left of its tip.
    QVERIFY(IsDark(img, 144, 50));
    QVERIFY(!IsDark(img, 153, 50));
    QVERIFY(!IsDark(img, 144, 43));
    // The from-head points left.
    QVERIFY(IsDark(img, 46, 50));
    QVERIFY(!IsDark(img, 37, 50));
    // Angle 90 points down: the head lies above its tip.
    QVERIFY(IsDark(img, 60, 119));
    QVERIFY(!IsDark(img, 60, 128));
    QVERIFY(!IsDark(img, 53, 119));
}

void TestConnections::penSelection()
{
    TImageHost host;
    TTreeConnection *c = Link(host.Tree, TRect(0, 0, 20, 20), TRect(100, 0, 120, 20), csLine);
    c->Draw();
    const TCanvasCall *line = host.Tree->Canvas.First(QStringLiteral("ProjectedLineTo"));
    QVERIFY(line);
    QVERIFY(line->PenSmallDots);
    QCOMPARE(line->PenColor, clGray);
    QCOMPARE(line->PenWidth, 1);
    // A pen of its own is drawn as it is.
    host.Tree->Canvas.Clear();
    c->Border()->SetSmallDots(false);
    c->Border()->SetWidth(3);
    c->Border()->SetColor(clRed);
    c->Draw();
    line = host.Tree->Canvas.First(QStringLiteral("ProjectedLineTo"));
    QVERIFY(!line->PenSmallDots);
    QCOMPARE(line->PenWidth, 3);
    QCOMPARE(line->PenColor, clRed);
    QCOMPARE(line->PenStyle, psDot);
}

void TestConnections::hitTests()
{
    THost host;
    TTreeNodeShape *a = Box(host.Tree, 0, 0, 40, 20);
    TTreeNodeShape *b = Box(host.Tree, 100, 60, 140, 80);
    TTreeConnection *c = a->AddConnection(b);
    auto figure = [&](TTreeConnectionStyle style) {
        c->SetStyle(style);
        c->Figure();
    };
    // Course (40, 20) -> (100, 60).
    figure(csLine);
    QCOMPARE(c->ClickedSegment(70, 40), 0);  // on the line
    QCOMPARE(c->ClickedSegment(72, 39), 0);  // within 3 pixels
    QCOMPARE(c->ClickedSegment(75, 33), -1); // farther
    QCOMPARE(c->ClickedSegment(110, 68), -1); // past the end
    figure(csSides); // (40, 20) down to (40, 60), then right to (100, 60)
    QCOMPARE(c->ClickedSegment(43, 40), 0);
    QCOMPARE(c->ClickedSegment(44, 40), -1);
    QCOMPARE(c->ClickedSegment(70, 63), 0);
    QCOMPARE(c->ClickedSegment(70, 40), -1);
    figure(csInvertedSides); // right to (100, 20), then down
    QCOMPARE(c->ClickedSegment(70, 17), 0);
    QCOMPARE(c->ClickedSegment(103, 40), 0);
    QCOMPARE(c->ClickedSegment(40, 60), -1);
    // Several segments: the first hit wins.
    c->SetStyle(csLine);
    c->AddPoint(40, 100);
    c->Figure();
    QCOMPARE(c->ClickedSegment(70, 80), 1);
    // An automatic connection is tested on the course its layout gave it.
    c->SetStyle(csAuto);
    TConnectionPoint p;
    p.X = 10;
    p.Y = 30;
    c->Points().Add(p);
    p.Y = 90;
    c->Points().Add(p);
    QCOMPARE(c->ClickedSegment(12, 50), 0);
    QCOMPARE(c->ClickedSegment(14, 50), -1);
    // A curve is hit inside the polygon of its points.
    c->SetStyle(csCurve);
    c->Points().Clear();
    c->AddPoint(0, 100);
    c->AddPoint(0, 200);
    c->AddPoint(100, 200);
    c->AddPoint(100, 100);
    QCOMPARE(c->ClickedSegment(50, 150), 0);
    QCOMPARE(c->ClickedSegment(0, 150), 0);
    QCOMPARE(c->ClickedSegment(150, 150), -1);
    // The diagram asks its connections in order; hidden ones are never hit.
    QCOMPARE(host.Tree->ConnectionAtPoint(50, 150), c);
    b->SetVisible(false);
    QCOMPARE(c->ClickedSegment(50, 150), -1);
    QVERIFY(!host.Tree->ConnectionAtPoint(50, 150));
    b->SetVisible(true);
    host.Tree->Connections().SetVisible(false);
    QVERIFY(!host.Tree->ConnectionAtPoint(50, 150));
    host.Tree->Connections().SetVisible(true);
    c->SetToShape(nullptr);
    QCOMPARE(c->ClickedSegment(50, 150), -1);
}

void TestConnections::handlesByPointKind()
{
    TImageHost host;
    TTreeConnection *c = Link(host.Tree, TRect(0, 0, 40, 20), TRect(100, 0, 140, 20), csLine);
    c->Figure();
    c->AddPoint(70, 50);
    c->SetPointXStyle(2, cpFromOffset);
    c->InsertPoint(1, 60, 60);
    c->SetPointXStyle(1, cpToPercent);
    c->DrawHandles();
    const auto &h = host.Tree->Handles;
    QCOMPARE(h.size(), size_t(4));
    QCOMPARE(h[0].Color, clBlue);   // edge
    QCOMPARE(h[1].Color, clRed);    // relative to ToShape
    QCOMPARE(h[2].Color, clBlue);
    QCOMPARE(h[3].Color, clGreen);  // relative to FromShape
    QCOMPARE(h[3].X, 70);
    QCOMPARE(h[3].Y, 50);
    QCOMPARE(h[0].Code, rcPoint);
}

void TestConnections::relinkingKeepsListsConsistent()
{
    THost host;
    TTreeNodeShape *a = host.Tree->AddRoot();
    TTreeNodeShape *b = host.Tree->AddRoot();
    TTreeNodeShape *x = host.Tree->AddRoot();
    TTreeConnection *c = a->AddConnection(b);
    c->SetFromShape(x);
    QCOMPARE(a->ConnectionCount(), 0);
    QCOMPARE(x->Connections().First(), c);
    QCOMPARE(b->Parents(), std::vector<TTreeNodeShape *>{x});
    c->SetToShape(a);
    QVERIFY(b->IncomingConnections().empty());
    QCOMPARE(a->Parents(), std::vector<TTreeNodeShape *>{x});
    // Two connections from one node to another count twice.
    TTreeConnection *d = b->AddConnection(a);
    d->SetFromShape(x);
    QCOMPARE(a->Parents(), (std::vector<TTreeNodeShape *>{x, x}));
    // A connection without a start is still freed with its end node.
    d->SetFromShape(nullptr);
    QCOMPARE(a->Parents(), std::vector<TTreeNodeShape *>{x});
    const int count = host.Tree->Connections().Count();
    delete a;
    QCOMPARE(host.Tree->Connections().Count(), count - 2);
    QCOMPARE(x->ConnectionCount(), 0);

    // Re-parenting frees the old parent's connection to the node only.
    TTreeNodeShape *p = host.Tree->AddRoot();
    TTreeNodeShape *kid = p->AddChild();
    TTreeConnection *other = x->AddConnection(kid);
    kid->SetParent(x);
    QVERIFY(!p->ConnectionTo(kid));
    QCOMPARE(x->ConnectionTo(kid), other);

    // Moving a connection to another diagram moves it between the lists.
    THost second;
    other->SetTree(second.Tree);
    QVERIFY(!host.Tree->Connections().Contains(other));
    QVERIFY(second.Tree->Connections().Contains(other));
    other->SetTree(host.Tree);
}

void TestConnections::deletingEitherEndFreesOnce()
{
    THost host(false);
    host.Tree->DefaultFormat().SetConnectionClass(&TCountedConnection::StaticClassInfo());
    TTreeNodeShape *a = host.Tree->AddRoot();
    TTreeNodeShape *b = a->AddChild();
    TTreeNodeShape *c = a->AddChild();
    b->AddConnection(c);
    c->AddConnection(b);
    b->AddConnection(b); // to itself
    a->AddConnection(a);
    QCOMPARE(TCountedConnection::Alive, 6);
    host.Tree->Connections().SetSelected(b->ConnectionTo(b));
    delete b; // a->b, b->c, c->b, b->b
    QCOMPARE(TCountedConnection::Alive, 2);
    QCOMPARE(host.Tree->Connections().Count(), 2);
    QVERIFY(!host.Tree->Connections().Selected());
    QVERIFY(c->IncomingConnections().size() == 1);
    delete c; // a->c
    QCOMPARE(TCountedConnection::Alive, 1);
    delete a; // a->a
    QCOMPARE(TCountedConnection::Alive, 0);
    QCOMPARE(host.Tree->Connections().Count(), 0);

    // Clear frees connections exactly once as well.
    TTreeNodeShape *r = host.Tree->AddRoot();
    for (int i = 0; i < 50; ++i)
        r->AddChild()->AddConnection(r);
    r->AddConnection(r);
    QCOMPARE(TCountedConnection::Alive, 101);
    host.Tree->Clear();
    QCOMPARE(TCountedConnection::Alive, 0);
}

void TestConnections::listDeletionApproval()
{
    THost host;
    TTreeNodeShape *a = host.Tree->AddRoot();
    TTreeNodeShape *b = a->AddChild();
    TTreeConnection *c = a->ConnectionTo(b);
    bool allow = false;
    TTreeConnection *asked = nullptr;
    host.Tree->Connections().OnDeleting = [&](TTreeConnection *which, bool &ok) {
        asked = which;
        ok = allow;
    };
    QVERIFY(!host.Tree->Connections().Delete(c));
    QCOMPARE(asked, c);
    QCOMPARE(host.Tree->Connections().Count(), 1);
    allow = true;
    QVERIFY(host.Tree->Connections().Delete(c));
    QCOMPARE(host.Tree->Connections().Count(), 0);
    QCOMPARE(a->ConnectionCount(), 0);
    QVERIFY(b->IncomingConnections().empty());
}

QTEST_MAIN(TestConnections)
#include "tst_connections.moc"
