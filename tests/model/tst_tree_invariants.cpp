// Long random sequences of edits keep the diagram's lists consistent: every
// node is in Shapes once and in exactly one of Roots or its parent's
// Children at the position its BrotherIndex says, every connection is where
// both its ends and the diagram expect it, and nothing leaks or is freed
// twice (the sanitizers watch).

#include "TreeTestUtil.h"

#include <QRandomGenerator>
#include <QSet>
#include <QtTest>

namespace {

QString Describe(const TTreeNodeShape *n)
{
    return n->Name().isEmpty() ? QStringLiteral("0x%1").arg(quintptr(n), 0, 16) : n->Name();
}

#define CHECK(cond, what)                                                                                              \
    do {                                                                                                               \
        if (!(cond))                                                                                                   \
            return QStringLiteral("%1 (%2)").arg(QLatin1String(#cond), what);                                          \
    } while (0)

// An empty string when the diagram is consistent, else what is wrong.
QString Verify(const TTreeDocument &tree)
{
    QSet<const TTreeNodeShape *> shapes;
    for (const TTreeNodeShape *n : tree.Shapes()) {
        CHECK(!shapes.contains(n), Describe(n));
        shapes.insert(n);
    }
    CHECK(shapes.size() == tree.Shapes().Count(), QString());

    int placed = 0;
    for (int i = 0; i < tree.Roots().Count(); ++i) {
        const TTreeNodeShape *r = tree.Roots()[i];
        CHECK(shapes.contains(r), Describe(r));
        CHECK(!r->Parent(), Describe(r));
        CHECK(r->BrotherIndex() == -1, Describe(r));
        CHECK(tree.Roots().IndexOf(r) == i, Describe(r)); // listed once
        ++placed;
    }
    for (const TTreeNodeShape *n : tree.Shapes()) {
        CHECK(n->Tree() == &tree, Describe(n));
        for (int i = 0; i < n->ChildCount(); ++i) {
            const TTreeNodeShape *c = n->Child(i);
            CHECK(c->Parent() == n, Describe(c));
            CHECK(c->BrotherIndex() == i, Describe(c));
            CHECK(shapes.contains(c), Describe(c));
            ++placed;
        }
        if (n->Parent())
            CHECK(n->Parent()->Child(n->BrotherIndex()) == n, Describe(n));
        CHECK(n->Level() < tree.Shapes().Count(), Describe(n)); // no cycle
        if (n->Selected())
            CHECK(tree.Selected().Contains(n), Describe(n));
        if (const TNodeConnectionList *out = n->PeekConnections())
            for (const TTreeConnection *c : *out) {
                CHECK(c->FromShape() == n, Describe(n));
                CHECK(c->Tree() == &tree, Describe(n));
            }
        for (const TTreeConnection *c : n->IncomingConnections())
            CHECK(c->ToShape() == n, Describe(n));
    }
    CHECK(placed == tree.Shapes().Count(), QString::number(placed));
    for (int i = 0; i < tree.Selected().Count(); ++i)
        CHECK(shapes.contains(tree.Selected()[i]) && tree.Selected()[i]->Selected(), QString::number(i));

    QSet<const TTreeConnection *> connections;
    for (const TTreeConnection *c : tree.Connections()) {
        CHECK(!connections.contains(c), c->Name());
        connections.insert(c);
        CHECK(c->FromShape() && shapes.contains(c->FromShape()), c->Name());
        CHECK(c->ToShape() && shapes.contains(c->ToShape()), c->Name());
        CHECK(c->FromShape()->PeekConnections()->IndexOf(c) >= 0, c->Name());
        const auto in = c->ToShape()->IncomingConnections();
        CHECK(std::count(in.begin(), in.end(), c) == 1, c->Name());
    }
    if (tree.Connections().Selected())
        CHECK(connections.contains(tree.Connections().Selected()), QString());
    return QString();
}

} // namespace

class TestTreeInvariants : public QObject
{
    Q_OBJECT
private slots:
    void randomEdits_data();
    void randomEdits();
};

void TestTreeInvariants::randomEdits_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<bool>("owned");
    QTest::newRow("owned 1") << 1u << true;
    QTest::newRow("owned 2") << 2u << true;
    QTest::newRow("loose 3") << 3u << false;
    QTest::newRow("loose 4") << 4u << false;
}

void TestTreeInvariants::randomEdits()
{
    QFETCH(quint32, seed);
    QFETCH(bool, owned);
    QRandomGenerator rng(seed);
    THost host(owned);
    TTreeDocument *tree = host.Tree;
    tree->SetSingleSelection(seed % 2 == 0);
    auto pick = [&]() -> TTreeNodeShape * {
        const int n = tree->Shapes().Count();
        return n ? tree->Shapes()[rng.bounded(n)] : nullptr;
    };

    for (int step = 0; step < 2500; ++step) {
        TTreeNodeShape *a = pick();
        TTreeNodeShape *b = pick();
        const int op = a ? rng.bounded(14) : 0;
        switch (op) {
        case 0:
            tree->AddRoot(QStringLiteral("r%1").arg(step));
            break;
        case 1:
        case 2:
        case 3:
            a->AddChild(QStringLiteral("c%1").arg(step));
            break;
        case 4:
            a->AddBrother();
            break;
        case 5:
            a->SetParent(rng.bounded(4) == 0 ? nullptr : b);
            break;
        case 6:
            if (tree->Shapes().Count() > 3)
                delete a;
            break;
        case 7:
            a->SetExpanded(!a->Expanded());
            break;
        case 8:
            if (a->Level() < 3 && tree->Shapes().Count() < 400)
                (rng.bounded(2) ? tree->CloneShape(a) : tree->PasteShape(a));
            break;
        case 9:
            if (TTreeConnection *c = a->AddConnection(b); c && rng.bounded(3) == 0)
                tree->Connections().SetSelected(c);
            break;
        case 10:
            if (TTreeConnection *c = tree->Connections()[rng.bounded(std::max(tree->Connections().Count(), 1))]) {
                if (rng.bounded(2))
                    c->SetToShape(b);
                else
                    c->SetFromShape(b);
            }
            break;
        case 11:
            (rng.bounded(2) ? a->BringToFront() : a->SendToBack());
            break;
        case 12:
            a->SetSelected(!a->Selected());
            break;
        case 13:
            if (rng.bounded(20) == 0)
                tree->Clear();
            else
                tree->ExpandAll(rng.bounded(2));
            break;
        }
        const QString problem = Verify(*tree);
        if (!problem.isEmpty())
            QFAIL(qPrintable(QStringLiteral("step %1, op %2: %3").arg(step).arg(op).arg(problem)));
    }
    QVERIFY(tree->Shapes().Count() > 0);
    // Either the diagram's end or the host's frees the rest.
    if (seed % 2)
        tree->Clear();
}

QTEST_MAIN(TestTreeInvariants)
#include "tst_tree_invariants.moc"
