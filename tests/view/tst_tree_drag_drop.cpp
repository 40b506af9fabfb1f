// Dropping dragged nodes: under another parent, to the roots, refusals
// (itself, its parent, its own subtree, settings of either diagram), and
// between two diagrams, also through the platform's drop events.

#include "InputTestUtil.h"

#include <QDropEvent>
#include <QMimeData>

namespace {

const QStringList kOutline = {QStringLiteral("A"), QStringLiteral(" A1"), QStringLiteral("  A1a"),
                              QStringLiteral(" A2"), QStringLiteral("B"), QStringLiteral(" B1")};

struct TDropHost : TInputHost
{
    TDropHost()
    {
        BuildOutline(Tree, kOutline);
        Draw();
    }
    QString ParentOf(const QString &text) const
    {
        const TTreeNodeShape *n = Node(text);
        if (!n)
            return QStringLiteral("(none)");
        return n->Parent() ? n->Parent()->SimpleText() : QStringLiteral("-");
    }
};

} // namespace

class TestTreeDragDrop : public QObject
{
    Q_OBJECT
private slots:
    void dropWithinOneDiagram_data();
    void dropWithinOneDiagram();
    void dropIntoAnotherDiagram_data();
    void dropIntoAnotherDiagram();
    void platformDropEvents();
};

void TestTreeDragDrop::dropWithinOneDiagram_data()
{
    QTest::addColumn<QString>("dragged");
    QTest::addColumn<QString>("target"); // empty: the background
    QTest::addColumn<bool>("toRoot");    // DragToRoot
    QTest::addColumn<bool>("allowed");
    QTest::newRow("under another parent") << "A1" << "B1" << true << true;
    QTest::newRow("a root under a node") << "B" << "A2" << true << true;
    QTest::newRow("to the roots") << "A1" << "" << true << true;
    QTest::newRow("a root to the roots") << "B" << "" << true << false;
    QTest::newRow("background without DragToRoot") << "A1" << "" << false << false;
    QTest::newRow("on itself") << "A1" << "A1" << true << false;
    QTest::newRow("on its own parent") << "A1" << "A" << true << false;
    QTest::newRow("into its own subtree") << "A" << "A1a" << true << false;
    QTest::newRow("on its child") << "A1" << "A1a" << true << false;
}

void TestTreeDragDrop::dropWithinOneDiagram()
{
    QFETCH(QString, dragged);
    QFETCH(QString, target);
    QFETCH(bool, toRoot);
    QFETCH(bool, allowed);
    TDropHost h;
    TTree *t = h.Tree;
    t->DragAndDrop()->SetDragToRoot(toRoot);
    TTreeNodeShape *d = h.Node(dragged);
    TTreeNodeShape *to = target.isEmpty() ? nullptr : h.Node(target);
    const QString parentBefore = h.ParentOf(dragged);
    QStringList told;
    t->OnDragDropShape = [&](TObject *, TTreeNodeShape *n, TTreeNodeShape *p) {
        told << n->SimpleText() + QLatin1Char('>') + (p ? p->SimpleText() : QStringLiteral("-"));
    };
    TNoticeCount notices(t);
    const int connections = t->Connections().Count();
    QCOMPARE(t->CanDropShape(t, d, to), allowed);
    TTreeNodeShape *dropped = t->DropShape(t, d, to);
    QCOMPARE(dropped != nullptr, allowed);
    if (!allowed) {
        QCOMPARE(h.ParentOf(dragged), parentBefore);
        QCOMPARE(notices.Steps, 0);
        QVERIFY(told.isEmpty());
        return;
    }
    QCOMPARE(dropped, d);
    QCOMPARE(h.ParentOf(dragged), target.isEmpty() ? QStringLiteral("-") : target);
    QCOMPARE(told, QStringList{dragged + QLatin1Char('>') + (target.isEmpty() ? QStringLiteral("-") : target)});
    QCOMPARE(notices.Steps, 1);
    QVERIFY(d->Visible());
    if (to) {
        QVERIFY(to->Expanded());
        // The node hangs on one connection, from its new parent.
        QVERIFY(to->ConnectionTo(d));
        QCOMPARE(int(d->IncomingConnections().size()), 1);
        QCOMPARE(t->Connections().Count(), connections + (parentBefore == QLatin1String("-") ? 1 : 0));
    }
}

void TestTreeDragDrop::dropIntoAnotherDiagram_data()
{
    QTest::addColumn<bool>("remove");    // the source's RemoveNodes
    QTest::addColumn<bool>("toOther");   // the source's ToOtherTree
    QTest::addColumn<bool>("fromOther"); // the target's FromOtherTree
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("moved under a node") << true << true << true << "B1" << true;
    QTest::newRow("copied under a node") << false << true << true << "B1" << true;
    QTest::newRow("moved to the roots") << true << true << true << "" << true;
    QTest::newRow("the source keeps it") << true << false << true << "B1" << false;
    QTest::newRow("the target takes none") << true << true << false << "B1" << false;
}

void TestTreeDragDrop::dropIntoAnotherDiagram()
{
    QFETCH(bool, remove);
    QFETCH(bool, toOther);
    QFETCH(bool, fromOther);
    QFETCH(QString, target);
    QFETCH(bool, allowed);
    TDropHost from;
    TDropHost to;
    from.Tree->DragAndDrop()->SetRemoveNodes(remove);
    from.Tree->DragAndDrop()->SetToOtherTree(toOther);
    to.Tree->DragAndDrop()->SetFromOtherTree(fromOther);
    TTreeNodeShape *dragged = from.Node(QStringLiteral("A1"));
    TTreeNodeShape *onto = target.isEmpty() ? nullptr : to.Node(target);
    const int sourceCount = from.Tree->Shapes().Count();
    const int targetCount = to.Tree->Shapes().Count();
    TTreeNodeShape *node = to.Tree->DropShape(from.Tree, dragged, onto);
    QCOMPARE(node != nullptr, allowed);
    if (!allowed) {
        QCOMPARE(from.Tree->Shapes().Count(), sourceCount);
        QCOMPARE(to.Tree->Shapes().Count(), targetCount);
        return;
    }
    // The node and its child came over, as nodes of the target.
    QCOMPARE(to.Tree->Shapes().Count(), targetCount + 2);
    QCOMPARE(node->Tree(), static_cast<TTreeDocument *>(to.Tree));
    QCOMPARE(node->SimpleText(), QStringLiteral("A1"));
    QCOMPARE(node->ChildCount(), 1);
    QCOMPARE(node->Child(0)->SimpleText(), QStringLiteral("A1a"));
    QVERIFY(node->ConnectionTo(node->Child(0)));
    QCOMPARE(node->Parent(), onto);
    if (onto)
        QVERIFY(onto->ConnectionTo(node));
    QVERIFY(node->Visible());
    // Names are the target's own: no two components share one.
    QSet<QString> names;
    for (TTreeNodeShape *n : to.Tree->Shapes()) {
        if (n->Name().isEmpty())
            continue;
        QVERIFY2(!names.contains(n->Name()), qPrintable(n->Name()));
        names.insert(n->Name());
    }
    QCOMPARE(from.Tree->Shapes().Count(), remove ? sourceCount - 2 : sourceCount);
    QCOMPARE(from.Node(QStringLiteral("A1")) != nullptr, !remove);
}

void TestTreeDragDrop::platformDropEvents()
{
    TDropHost from;
    TDropHost to;
    from.Tree->DragAndDrop()->SetAutomatic(true);
    // A run-mode press starts the drag (no drag loop runs here).
    from.Press(from.At(QStringLiteral("A2")));
    from.Release(from.At(QStringLiteral("A2")));
    QCOMPARE(from.SelectedTexts(), QStringList{"A2"});
    QMimeData data;
    data.setData(TTreeDragDrop::MimeType(), QByteArray());
    const QPoint over = to.At(QStringLiteral("B1"));
    QDragMoveEvent move(over, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    // The platform tells of the entering first.
    QDragEnterEvent enter(over, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(to.Tree, &enter);
    QVERIFY(enter.isAccepted());
    QApplication::sendEvent(to.Tree, &move);
    QVERIFY(move.isAccepted());
    QDropEvent drop(QPointF(over), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(to.Tree, &drop);
    QVERIFY(drop.isAccepted());
    TTreeNodeShape *b1 = to.Node(QStringLiteral("B1"));
    QCOMPARE(b1->ChildCount(), 1);
    QCOMPARE(b1->Child(0)->SimpleText(), QStringLiteral("A2"));
    QVERIFY(!from.Node(QStringLiteral("A2")));
    // The drag is over: the same data drops nothing more.
    QDropEvent again(QPointF(over), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(to.Tree, &again);
    QCOMPARE(to.Tree->Shapes().Count(), 7);
}

QTEST_MAIN(TestTreeDragDrop)
#include "tst_tree_drag_drop.moc"
