// The change notices the diagram's edit operations send.

#include "TreeTestUtil.h"
#include "model/TreeFile.h"

#include <QBuffer>
#include <QRegularExpression>
#include <algorithm>
#include <QtTest>

namespace {

struct TRecorder : TTreeChangeListener
{
    QStringList Log;
    static QString Name(const TComponent *c) { return c ? c->Name() : QStringLiteral("-"); }
    static QString KindName(TTreeChangeKind k)
    {
        static const char *names[] = {"Added", "Removing", "Moved",    "Resized", "Property", "Text",
                                      "Parent", "Order",   "Expanded", "Points",  "Selection"};
        return QString::fromLatin1(names[k]);
    }
    QString Describe(const TTreeChange &c)
    {
        QString s = KindName(c.Kind) + QLatin1Char(' ') + Name(c.Element);
        if (!c.Property.isEmpty())
            s += QLatin1Char(' ') + c.Property;
        if (c.Kind == tckMoved)
            s += QStringLiteral(" %1,%2").arg(c.DX).arg(c.DY);
        return s;
    }
    void TreeStepBegin(TTreeDocument *, const QString &d) override { Log << QStringLiteral("begin ") + d; }
    void TreeStepEnd(TTreeDocument *) override { Log << QStringLiteral("end"); }
    void TreeChanging(TTreeDocument *, const TTreeChange &c) override { Log << QStringLiteral("< ") + Describe(c); }
    void TreeChanged(TTreeDocument *, const TTreeChange &c) override { Log << QStringLiteral("> ") + Describe(c); }
};

// Also hears what goes without an edit notice: removals done, the content
// replaced, the diagram destroyed. Freed elements are named by the
// position they had in `known`.
struct TBracketRecorder : TRecorder
{
    std::vector<const TComponent *> Known;
    TTreeDocument *Tree = nullptr;
    void TreeRemoved(TTreeDocument *, const TComponent *element) override
    {
        const auto it = std::find(Known.begin(), Known.end(), element);
        Log << QStringLiteral("removed %1").arg(it == Known.end() ? -1 : int(it - Known.begin()));
    }
    void TreeReplacing(TTreeDocument *) override { Log << QStringLiteral("replacing"); }
    void TreeReplaced(TTreeDocument *) override { Log << QStringLiteral("replaced"); }
    void TreeDestroying(TTreeDocument *tree) override
    {
        Log << QStringLiteral("destroying");
        tree->RemoveChangeListener(this);
    }
};

// Writes a diagram of a root "a" with its child "b" into `buffer`, left
// open for reading from its start.
void SaveTwoNodes(QBuffer &buffer)
{
    THost source;
    source.Tree->AddRoot(QStringLiteral("a"))->AddChild(QStringLiteral("b"));
    buffer.open(QIODevice::ReadWrite);
    SaveDiagram(*source.Tree, buffer);
    buffer.seek(0);
}

} // namespace

class TestTreeChanges : public QObject
{
    Q_OBJECT
private slots:
    void operationsSendOneNoticeEach_data();
    void operationsSendOneNoticeEach();
    void movesReportWhatTheHandlerLetThrough();
    void stepsNestAndOnlyTheOutermostIsHeard();
    void readingAndClearingAreSilent();
    void listenerRemovingItselfWhileHearing();
    void connectionPointEdits();
    void removalAndReplacingAreHeard();
    void returningElementsTakeTheirPlaces_data();
    void returningElementsTakeTheirPlaces();
};

void TestTreeChanges::operationsSendOneNoticeEach_data()
{
    QTest::addColumn<int>("op");
    QTest::addColumn<QStringList>("expected");
    auto row = [](const char *name, int op, QStringList log) { QTest::newRow(name) << op << log; };
    row("add child", 0, {"> Added TreeNodeShape3"});
    row("delete subtree", 1, {"< Removing TreeNodeShape1"});
    row("move", 2, {"< Moved TreeNodeShape2 5,6", "> Moved TreeNodeShape2 5,6"});
    row("resize", 3, {"< Resized TreeNodeShape2", "> Resized TreeNodeShape2"});
    row("reparent", 4, {"< Parent TreeNodeShape2", "> Parent TreeNodeShape2"});
    row("reparent under own child ignored", 5, {});
    row("expand or collapse", 6, {"< Expanded TreeNodeShape1", "> Expanded TreeNodeShape1"});
    row("text", 7, {"< Text TreeNodeShape2", "> Text TreeNodeShape2"});
    row("same text is no change", 8, {});
    row("property", 9, {"< Property TreeNodeShape2 Border.Width", "> Property TreeNodeShape2 Border.Width"});
    row("diagram setting", 10, {"< Property Tree1 ShowImages", "> Property Tree1 ShowImages"});
    row("select", 11, {"> Selection TreeNodeShape2"});
    row("delete connection", 12, {"< Removing TreeNodeShape1_TreeNodeShape2"});
    row("connect", 13, {"> Added TreeNodeShape2_TreeNodeShape1"});
    row("paste", 14, {"> Added TreeNodeShape3"});
    row("order", 15, {"< Order TreeNodeShape2", "> Order TreeNodeShape2"});
    row("delete selected", 16,
        {"> Selection TreeNodeShape2", "begin Delete", "< Removing TreeNodeShape2", "> Selection TreeNodeShape1", "end"});
    row("insert point", 17, {"< Points TreeNodeShape1_TreeNodeShape2", "> Points TreeNodeShape1_TreeNodeShape2"});
    row("move point", 18, {"< Points TreeNodeShape1_TreeNodeShape2", "> Points TreeNodeShape1_TreeNodeShape2"});
    row("anchor end", 19, {"< Points TreeNodeShape1_TreeNodeShape2", "> Points TreeNodeShape1_TreeNodeShape2"});
    row("anchor a middle point refused", 20, {});
    row("shift asking nobody", 21, {"< Moved TreeNodeShape2 5,6", "> Moved TreeNodeShape2 5,6"});
    row("place among the roots", 22, {"< Parent TreeNodeShape2", "> Parent TreeNodeShape2"});
    row("place in the drawing order", 23, {"< Order TreeNodeShape1", "> Order TreeNodeShape1"});
    row("place under its own child ignored", 24, {});
    row("delete connection without asking", 25, {"< Removing TreeNodeShape1_TreeNodeShape2"});
}

void TestTreeChanges::operationsSendOneNoticeEach()
{
    QFETCH(int, op);
    QFETCH(QStringList, expected);
    THost host;
    TTreeDocument *tree = host.Tree;
    tree->SetName(QStringLiteral("Tree1"));
    TTreeNodeShape *root = tree->AddRoot(QStringLiteral("root"));
    TTreeNodeShape *child = root->AddChild(QStringLiteral("child"));
    if (op == 18 || op == 19) {
        root->ConnectionTo(child)->SetStyle(csLine);
        root->ConnectionTo(child)->SetDefaultPoints();
    }
    TRecorder rec;
    tree->AddChangeListener(&rec);
    switch (op) {
    case 0: child->AddChild(QStringLiteral("grandchild")); break;
    case 1: tree->DeleteShape(root); break;
    case 2: tree->MoveShape(child, 5, 6, true); break;
    case 3: tree->ResizeShape(child, rcRightBottom, 4, 4); break;
    case 4: tree->SetShapeParent(child, nullptr); break;
    case 5: tree->SetShapeParent(root, child); break;
    case 6: tree->SetShapeExpanded(root, !root->Expanded()); break;
    case 7: tree->SetElementText(child, {QStringLiteral("a"), QStringLiteral("b")}); break;
    case 8: tree->SetElementText(child, {QStringLiteral("child")}); break;
    case 9: tree->EditElement(child, QStringLiteral("Border.Width"), [&] { child->Border()->SetWidth(3); }); break;
    case 10: tree->EditElement(nullptr, QStringLiteral("ShowImages"), [&] { tree->SetShowImages(false); }); break;
    case 11: child->SetSelected(true); break;
    case 12: tree->DeleteConnection(root->ConnectionTo(child)); break;
    case 13: child->AddConnection(root); break;
    case 14: tree->PasteShape(root); break;
    case 15: tree->OrderShape(child, false); break;
    case 16:
        child->SetSelected(true);
        tree->DeleteSelected();
        break;
    case 17: tree->InsertConnectionPoint(root->ConnectionTo(child), 1, TPoint(50, 60)); break;
    case 18: tree->MoveConnectionPoint(root->ConnectionTo(child), 0, 3, 4); break;
    case 19: tree->AnchorConnectionPoint(root->ConnectionTo(child), 1, 7); break;
    case 20:
        root->ConnectionTo(child)->SetStyle(csCurve);
        root->ConnectionTo(child)->SetDefaultPoints();
        tree->AnchorConnectionPoint(root->ConnectionTo(child), 1, 7);
        break;
    case 21:
        tree->OnMovingShape = [](TTreeNodeShape *, int &dx, int &dy) { dx = dy = 0; };
        tree->ShiftShape(child, 5, 6, false, nullptr);
        QCOMPARE(child->Edges().Left, 19 + 5);
        QVERIFY(!child->PeekAutoPosition());
        break;
    case 22:
        tree->PlaceShape(child, nullptr, 0, 1);
        QCOMPARE(tree->Roots()[0], child);
        QVERIFY(root->ConnectionTo(child)); // kept, unlike SetShapeParent
        break;
    case 23:
        tree->PlaceShape(root, nullptr, 0, 1);
        QCOMPARE(tree->Shapes()[1], root);
        break;
    case 24: tree->PlaceShape(root, child, 0, 0); break;
    case 25:
        tree->Connections().OnDeleting = [](TTreeConnection *, bool &allow) { allow = false; };
        QVERIFY(!tree->DeleteConnection(root->ConnectionTo(child)));
        QVERIFY(tree->DeleteConnection(root->ConnectionTo(child), false));
        break;
    }
    tree->RemoveChangeListener(&rec);
    QCOMPARE(rec.Log, expected);
}

void TestTreeChanges::returningElementsTakeTheirPlaces_data()
{
    QTest::addColumn<bool>("nameTaken");
    QTest::newRow("names free") << false;
    QTest::newRow("a name taken meanwhile") << true;
}

void TestTreeChanges::returningElementsTakeTheirPlaces()
{
    QFETCH(bool, nameTaken);
    THost host;
    TTreeDocument *tree = host.Tree;
    TTreeNodeShape *root = tree->AddRoot(QStringLiteral("root"));
    TTreeNodeShape *first = root->AddChild(QStringLiteral("first"));
    TTreeNodeShape *last = root->AddChild(QStringLiteral("last"));
    if (nameTaken)
        last->SetName(QStringLiteral("Back"));
    // A node with a child of its own and a connection from the root, coming
    // back between the two children.
    std::vector<TTreeDocument::TReturningShape> shapes(2);
    shapes[0].Node = std::make_unique<TTreeNodeShape>();
    shapes[0].Node->SetName(QStringLiteral("Back"));
    shapes[0].Parent = root;
    shapes[0].BrotherIndex = 1;
    shapes[0].ShapeIndex = 2;
    shapes[0].Edges = TRect(30, 40, 90, 60);
    shapes[1].Node = std::make_unique<TTreeNodeShape>();
    shapes[1].Node->SetName(QStringLiteral("BackChild"));
    shapes[1].Parent = shapes[0].Node.get();
    shapes[1].ShapeIndex = 4;
    shapes[1].Visible = false;
    TTreeNodeShape *back = shapes[0].Node.get();
    TTreeNodeShape *backChild = shapes[1].Node.get();
    std::vector<TTreeDocument::TReturningConnection> connections(1);
    connections[0].Connection = std::make_unique<TTreeConnection>();
    connections[0].Connection->SetName(QStringLiteral("root_Back"));
    connections[0].From = root;
    connections[0].To = back;
    connections[0].Index = 1;
    connections[0].FromIndex = 1;
    TTreeConnection *link = connections[0].Connection.get();
    TRecorder rec;
    tree->AddChangeListener(&rec);
    tree->RestoreElements(shapes, connections);
    tree->RemoveChangeListener(&rec);
    QCOMPARE(root->ChildCount(), 3);
    QCOMPARE(root->Child(1), back);
    QCOMPARE(last->BrotherIndex(), 2);
    QCOMPARE(back->Child(0), backChild);
    QCOMPARE(backChild->Parent(), back);
    QVERIFY(!backChild->Visible());
    QCOMPARE(tree->Shapes().IndexOf(back), 2);
    QCOMPARE(tree->Shapes().IndexOf(backChild), 4);
    QCOMPARE(tree->Shapes().IndexOf(last), 3);
    QCOMPARE(back->X0(), 30);
    QCOMPARE(tree->Connections().IndexOf(link), 1);
    QCOMPARE(root->Connections().IndexOf(link), 1);
    QCOMPARE(link->ToShape(), back);
    QCOMPARE(back->IncomingConnections().size(), size_t(1));
    QCOMPARE(back->Owner(), host.Owner.get());
    QCOMPARE(back->Name() == QStringLiteral("Back"), !nameTaken);
    QCOMPARE(host.Owner->FindComponent(QStringLiteral("BackChild")), backChild);
    QCOMPARE(rec.Log, QStringList{QStringLiteral("> Added ") + back->Name()});
    QCOMPARE(root->Child(0), first);
}

void TestTreeChanges::movesReportWhatTheHandlerLetThrough()
{
    THost host;
    TTreeNodeShape *node = host.Tree->AddRoot(QStringLiteral("n"));
    host.Tree->OnMovingShape = [](TTreeNodeShape *, int &dx, int &dy) { dy = 0; };
    TRecorder rec;
    host.Tree->AddChangeListener(&rec);
    host.Tree->MoveShape(node, 7, 9, false);
    host.Tree->RemoveChangeListener(&rec);
    QCOMPARE(rec.Log, QStringList({"< Moved TreeNodeShape1 7,9", "> Moved TreeNodeShape1 7,0"}));
    QCOMPARE(node->X0(), 7);
}

void TestTreeChanges::stepsNestAndOnlyTheOutermostIsHeard()
{
    THost host;
    TTreeNodeShape *node = host.Tree->AddRoot(QStringLiteral("n"));
    TRecorder rec;
    host.Tree->AddChangeListener(&rec);
    {
        TTreeStep outer(host.Tree, QStringLiteral("Drag"));
        host.Tree->MoveShape(node, 1, 0, false);
        {
            TTreeStep inner(host.Tree, QStringLiteral("inner"));
            host.Tree->MoveShape(node, 1, 0, false);
        }
        QCOMPARE(host.Tree->StepDepth(), 1);
    }
    host.Tree->EndStep(); // an unbalanced end is ignored
    host.Tree->RemoveChangeListener(&rec);
    QCOMPARE(rec.Log, QStringList({"begin Drag", "< Moved TreeNodeShape1 1,0", "> Moved TreeNodeShape1 1,0",
                                   "< Moved TreeNodeShape1 1,0", "> Moved TreeNodeShape1 1,0", "end"}));
    QCOMPARE(host.Tree->StepDepth(), 0);
}

void TestTreeChanges::readingAndClearingAreSilent()
{
    QBuffer buffer;
    SaveTwoNodes(buffer);
    THost host;
    TRecorder rec;
    host.Tree->AddChangeListener(&rec);
    LoadDiagram(*host.Tree, buffer);
    QCOMPARE(host.Tree->Shapes().Count(), 2);
    host.Tree->Shapes()[0]->SetSelected(true);
    host.Tree->Clear();
    {
        TTreeQuietChanges quiet(host.Tree);
        host.Tree->AddRoot(QStringLiteral("quiet"));
    }
    host.Tree->RemoveChangeListener(&rec);
    QCOMPARE(rec.Log, QStringList({"> Selection TreeNodeShape1"}));
}

void TestTreeChanges::listenerRemovingItselfWhileHearing()
{
    THost host;
    struct TOnce : TTreeChangeListener
    {
        TTreeDocument *Tree = nullptr;
        int Heard = 0;
        void TreeChanged(TTreeDocument *, const TTreeChange &) override
        {
            ++Heard;
            Tree->RemoveChangeListener(this);
        }
    } once;
    once.Tree = host.Tree;
    TRecorder rec;
    host.Tree->AddChangeListener(&once);
    host.Tree->AddChangeListener(&rec);
    host.Tree->AddRoot(QStringLiteral("a"));
    host.Tree->AddRoot(QStringLiteral("b"));
    host.Tree->RemoveChangeListener(&rec);
    QCOMPARE(once.Heard, 1);
    QCOMPARE(rec.Log.size(), 2);
}


void TestTreeChanges::connectionPointEdits()
{
    THost host;
    TTreeDocument *tree = host.Tree;
    TTreeNodeShape *a = Place(tree->AddRoot(QStringLiteral("a")), 0, 0, 40, 20);
    TTreeNodeShape *b = Place(tree->AddRoot(QStringLiteral("b")), 100, 100, 160, 140);
    TTreeConnection *c = a->AddConnection(b);
    c->SetStyle(csLine);
    c->SetDefaultPoints();
    c->CalcPoints();
    // A point put in follows the start node.
    QCOMPARE(tree->InsertConnectionPoint(c, 1, TPoint(70, 30)), 1);
    QCOMPARE(c->Count(), 3);
    QCOMPARE(c->Points()[1].XStyle, cpFromOffset);
    QCOMPARE(c->Points()[1].XValue, 70);
    tree->MoveShape(a, 5, 5, false);
    c->CalcPoints();
    QCOMPARE(TPoint(c->Points()[1].X, c->Points()[1].Y), TPoint(75, 35));
    // Anchored ends are percentages of their nodes: the last at the right
    // middle of b, the first at the bottom-left of a.
    QVERIFY(tree->AnchorConnectionPoint(c, 2, 7));
    QCOMPARE(c->Points()[2].XStyle, cpToPercent);
    QCOMPARE(QPoint(c->Points()[2].XValue, c->Points()[2].YValue), QPoint(100, 50));
    QVERIFY(tree->AnchorConnectionPoint(c, 0, 3));
    QCOMPARE(c->Points()[0].YStyle, cpFromPercent);
    QCOMPARE(QPoint(c->Points()[0].XValue, c->Points()[0].YValue), QPoint(0, 100));
    // Neither a middle point nor an unknown anchor.
    QVERIFY(!tree->AnchorConnectionPoint(c, 1, 7));
    QVERIFY(!tree->AnchorConnectionPoint(c, 2, 9));
    QVERIFY(!tree->AnchorConnectionPoint(nullptr, 0, 1));
    QCOMPARE(tree->InsertConnectionPoint(nullptr, 0, TPoint()), -1);
    // A connection not laid out yet has no points to anchor.
    TTreeConnection *bare = b->AddConnection(a);
    QCOMPARE(bare->Count(), 0);
    QVERIFY(!tree->AnchorConnectionPoint(bare, 0, 1));
    QVERIFY(!tree->AnchorConnectionPoint(bare, -1, 1));
    QCOMPARE(bare->Count(), 0);
}

void TestTreeChanges::removalAndReplacingAreHeard()
{
    QBuffer buffer;
    SaveTwoNodes(buffer);
    auto host = std::make_unique<THost>();
    TTreeDocument *tree = host->Tree;
    TBracketRecorder rec;
    tree->AddChangeListener(&rec);
    // Reading clears first: one bracket for both.
    LoadDiagram(*tree, buffer);
    QCOMPARE(rec.Log, QStringList({"replacing", "replaced"}));
    rec.Log.clear();
    tree->Clear();
    QCOMPARE(rec.Log, QStringList({"replacing", "replaced"}));

    TTreeNodeShape *r1 = tree->AddRoot(QStringLiteral("r1"));
    TTreeNodeShape *r2 = tree->AddRoot(QStringLiteral("r2"));
    TTreeNodeShape *c1 = r1->AddChild(QStringLiteral("c1"));
    TTreeNodeShape *c2 = r2->AddChild(QStringLiteral("c2"));
    TTreeConnection *link = tree->Connections().Items(1);
    rec.Known = {r1, r2, c1, c2, link};
    rec.Log.clear();
    tree->DeleteConnection(link);
    tree->DeleteShape(c1);
    QCOMPARE(rec.Log.filter(QStringLiteral("removed")), QStringList({"removed 4", "removed 2"}));
    // Several at once: each is heard of as removed after all were
    // announced.
    rec.Log.clear();
    tree->SetSingleSelection(false);
    r1->SetSelected(true);
    r2->SetSelected(true);
    rec.Log.clear();
    tree->DeleteSelected();
    const QStringList removals = rec.Log.filter(QRegularExpression(QStringLiteral("^(< Removing|removed)")));
    QCOMPARE(removals.size(), 4);
    QVERIFY(removals[0].startsWith(QLatin1String("< Removing")));
    QVERIFY(removals[1].startsWith(QLatin1String("< Removing")));
    QCOMPARE(removals.mid(2), QStringList({"removed 0", "removed 1"}));
    // The diagram going is the last thing heard.
    rec.Log.clear();
    tree->AddRoot(QStringLiteral("last"));
    rec.Log.clear();
    host.reset();
    QCOMPARE(rec.Log.last(), QStringLiteral("destroying"));
}

QTEST_MAIN(TestTreeChanges)
#include "tst_tree_changes.moc"
