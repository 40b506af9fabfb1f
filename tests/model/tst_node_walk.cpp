// The node walk of a drawing: a node, its outgoing connections, its cross
// box, then its expanded children; culling by the visible area; a False
// answer stopping the rest of a branch; and any depth without recursion.

#include "DrawTestUtil.h"

#include "core/ClassRegistry.h"

#include <QtTest>

namespace {

// A node that notes when it is drawn.
class TNotedNode : public TTreeNodeShape
{
    DX_OBJECT(TNotedNode)
public:
    explicit TNotedNode(TComponent *owner = nullptr) : TTreeNodeShape(owner) {}
    void Draw() override
    {
        if (auto *tree = dynamic_cast<TPictureTree *>(Tree()))
            tree->Log << QStringLiteral("draw ") + SimpleText();
        TTreeNodeShape::Draw();
    }
};

const TClassInfo &TNotedNode::StaticClassInfo()
{
    static const TClassInfo info("TNotedNode", &TTreeNodeShape::StaticClassInfo());
    return info;
}

struct TWalkHost : TPictureHost
{
    TWalkHost() { Tree->DefaultFormat().SetShapeClass(&TNotedNode::StaticClassInfo()); }

    // A child placed on row `row`.
    TTreeNodeShape *Child(TTreeNodeShape *parent, const QString &text, int row)
    {
        TTreeNodeShape *n = Place(parent->AddChild(text), 40, row * 20, 80, row * 20 + 16);
        n->SetImageIndex(tiNone);
        return n;
    }
};

} // namespace

class TestNodeWalk : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void layersInOrder();
    void cullingKeepsTheWalkGoing();
    void falseStopsTheRestOfTheBranch();
    void connectionsShownAndSkipped();
    void invisibleRootStillShowsItsChildren();
    void anyDepth();
};

void TestNodeWalk::initTestCase()
{
    RegisterModelClasses();
    RegisterClass<TNotedNode>();
}

void TestNodeWalk::layersInOrder()
{
    TWalkHost host;
    TTreeNodeShape *a = host.Node(0, 0, 40, 16, tssRectangle, QStringLiteral("A"));
    TTreeNodeShape *b = host.Child(a, QStringLiteral("B"), 1);
    host.Child(a, QStringLiteral("C"), 2);
    host.Child(b, QStringLiteral("D"), 3);
    a->SetExpanded(true);
    host.Tree->Log.clear();
    QVERIFY(a->DrawNodeWalk());
    // A node, its connections, its box, then its children; B is collapsed:
    // neither D nor B's connection to it.
    QCOMPARE(host.Tree->Log, (QStringList{"draw A", "link A-B", "link A-C", "cross A", "draw B", "cross B", "draw C"}));
    // The body is drawn before the box on the canvas too.
    const QStringList names = host.Tree->Canvas.TopLevelNames();
    QVERIFY(names.indexOf("ProjectedRectangle") < names.lastIndexOf("ProjectedLine"));
}

void TestNodeWalk::cullingKeepsTheWalkGoing()
{
    TWalkHost host;
    TTreeNodeShape *a = host.Node(0, 0, 40, 16, tssRectangle, QStringLiteral("A"));
    host.Child(a, QStringLiteral("B"), 1);
    host.Child(a, QStringLiteral("C"), 5);
    a->SetExpanded(true);
    // Only C's row is on screen: A and B are not painted, but A's
    // connections and box are still visited, and C is reached.
    host.Tree->Visible = TRect(0, 95, 200, 120);
    host.Tree->Log.clear();
    QVERIFY(a->DrawNodeWalk());
    QCOMPARE(host.Tree->Log, (QStringList{"link A-B", "link A-C", "cross A", "draw C"}));
    QCOMPARE(host.Tree->Canvas.Count("ProjectedRectangle"), 1); // C's body; A's box is off screen
    // Bounds reaching into the area (an image beside the body) bring A in.
    a->SetBounds(TRect(0, 0, 40, 96));
    host.Tree->Log.clear();
    a->DrawNodeWalk();
    QCOMPARE(host.Tree->Log.first(), QStringLiteral("draw A"));
}

void TestNodeWalk::falseStopsTheRestOfTheBranch()
{
    TWalkHost host;
    TTreeNodeShape *r = host.Node(0, 0, 40, 16, tssRectangle, QStringLiteral("R"));
    TTreeNodeShape *a = host.Child(r, QStringLiteral("A"), 1);
    host.Child(r, QStringLiteral("Z"), 9);
    host.Child(a, QStringLiteral("B"), 2);
    host.Child(a, QStringLiteral("C"), 3);
    r->SetExpanded(true);
    a->SetExpanded(true);
    TTreeNodeShape *other = host.Node(100, 0, 140, 16, tssRectangle, QStringLiteral("X"));
    r->AddConnection(other);
    // The layout says the rest lies below the screen at A's first link.
    host.Layout->Answer = [](TTreeConnection *c) { return c->FromShape()->SimpleText() != QStringLiteral("A"); };
    host.Tree->Log.clear();
    QVERIFY(!r->DrawNodeWalk());
    // A's remaining links are skipped, its box and children still drawn;
    // A answers False, so R's next child Z is not walked.
    QCOMPARE(host.Tree->Log, (QStringList{"draw R", "link R-A", "link R-Z", "link R-X", "cross R", "draw A",
                                          "link A-B", "cross A", "draw B", "draw C"}));
    // Each root is walked on its own: the diagram's loop ignores answers.
    host.Tree->Log.clear();
    QVERIFY(other->DrawNodeWalk());
    QCOMPARE(host.Tree->Log, QStringList{"draw X"});
}

void TestNodeWalk::connectionsShownAndSkipped()
{
    TWalkHost host;
    TPictureTree *t = host.Tree;
    TTreeNodeShape *a = host.Node(0, 0, 40, 16, tssRectangle, QStringLiteral("A"));
    host.Child(a, QStringLiteral("B"), 1);
    TTreeNodeShape *x = host.Node(100, 0, 140, 16, tssRectangle, QStringLiteral("X"));
    TTreeConnection *toX = a->AddConnection(x);
    // Collapsed: the link to the hidden child is skipped, the one to a node
    // elsewhere is drawn.
    t->Log.clear();
    a->DrawNodeWalk();
    QCOMPARE(t->Log, (QStringList{"draw A", "link A-X", "cross A"}));
    // A connection of another style draws itself on the canvas.
    toX->SetStyle(csLine);
    t->Log.clear();
    t->Canvas.Clear();
    a->DrawNodeWalk();
    QCOMPARE(t->Log, (QStringList{"draw A", "cross A"}));
    QVERIFY(t->Canvas.Count("ProjectedLineTo") >= 1);
    // Hidden lists: the node's own, or all of the diagram's.
    a->Connections().SetVisible(false);
    t->Log.clear();
    a->DrawNodeWalk();
    QCOMPARE(t->Log, (QStringList{"draw A", "cross A"}));
    a->Connections().SetVisible(true);
    toX->SetStyle(csAuto);
    t->Connections().SetVisible(false);
    t->Log.clear();
    a->DrawNodeWalk();
    QCOMPARE(t->Log, (QStringList{"draw A", "cross A"}));
    t->Connections().SetVisible(true);
    // A hidden end node hides the connection.
    x->SetVisible(false);
    t->Log.clear();
    a->DrawNodeWalk();
    QCOMPARE(t->Log, (QStringList{"draw A", "cross A"}));
    // The node list hidden: no bodies, the rest stays.
    x->SetVisible(true);
    t->Shapes().SetVisible(false);
    t->Canvas.Clear();
    a->DrawNodeWalk();
    QVERIFY(!t->Canvas.Has("ProjectedRectangle", {0, 0, 40, 16, 0}));
    QCOMPARE(t->Canvas.Count("ProjectedRectangle"), 1); // the cross box
}

void TestNodeWalk::invisibleRootStillShowsItsChildren()
{
    TWalkHost host;
    TTreeNodeShape *a = host.Node(0, 0, 40, 16, tssRectangle, QStringLiteral("A"));
    host.Child(a, QStringLiteral("B"), 1);
    a->SetExpanded(true);
    a->SetVisible(false);
    host.Tree->Log.clear();
    QVERIFY(a->DrawNodeWalk());
    QCOMPARE(host.Tree->Log, QStringList{"draw B"});
}

void TestNodeWalk::anyDepth()
{
    // A chain far deeper than a recursive walk could go.
    TWalkHost host;
    TTreeNodeShape *top = host.Node(0, 0, 10, 10, tssRectangle, QStringLiteral("top"));
    TTreeNodeShape *n = top;
    const int depth = 20000;
    for (int i = 1; i < depth; ++i) {
        n->SetExpanded(true);
        n = n->AddChild();
        Place(n, 0, 0, 10, 10);
    }
    n->SetSimpleText(QStringLiteral("bottom"));
    Place(n, 500, 500, 510, 510);
    host.Tree->Visible = TRect(400, 400, 600, 600);
    host.Tree->DefaultFormat().SetChildManager(nullptr); // no boxes, no automatic links
    host.Tree->Log.clear();
    QVERIFY(top->DrawNodeWalk());
    QCOMPARE(host.Tree->Log, QStringList{"draw bottom"});
}

QTEST_MAIN(TestNodeWalk)
#include "tst_node_walk.moc"
