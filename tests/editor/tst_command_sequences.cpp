// Random sequences of the editor's commands (add, cut, copy, paste, delete,
// import, the undoable edits) on generated diagrams: after every command the
// diagram is whole, and at the end it reads back from its file as it was.

#include "CommandsTestUtil.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// What must hold after any command: every node in exactly one list of its
// parent or of the roots, with the diagram as its diagram; selected nodes
// and connection ends among the diagram's nodes; names unique.
QString Broken(TTree *t)
{
    std::set<const TTreeNodeShape *> nodes(t->Shapes().begin(), t->Shapes().end());
    if (static_cast<int>(nodes.size()) != t->Shapes().Count())
        return QStringLiteral("a node listed twice");
    int reached = 0;
    std::vector<const TTreeNodeShape *> stack(t->Roots().begin(), t->Roots().end());
    for (const TTreeNodeShape *r : stack)
        if (r->Parent())
            return QStringLiteral("a root with a parent");
    while (!stack.empty()) {
        const TTreeNodeShape *n = stack.back();
        stack.pop_back();
        ++reached;
        if (!nodes.count(n) || n->Tree() != t)
            return QStringLiteral("a node outside the diagram");
        for (int i = 0; i < n->ChildCount(); ++i) {
            if (n->Child(i)->Parent() != n || n->Child(i)->BrotherIndex() != i)
                return QStringLiteral("a child that does not know its place");
            stack.push_back(n->Child(i));
        }
    }
    if (reached != t->Shapes().Count())
        return QStringLiteral("%1 nodes reached of %2").arg(reached).arg(t->Shapes().Count());
    for (TTreeNodeShape *n : t->Selected().Nodes())
        if (!nodes.count(n) || !n->Selected())
            return QStringLiteral("a selected node outside the diagram");
    for (int i = 0; i < t->Connections().Count(); ++i) {
        const TTreeConnection *c = t->Connections()[i];
        if (!nodes.count(c->FromShape()) || !nodes.count(c->ToShape()))
            return QStringLiteral("a connection to a node outside the diagram");
    }
    if (TTreeConnection *c = t->Connections().Selected())
        if (!t->Connections().Contains(c))
            return QStringLiteral("the selected connection is gone");
    QSet<QString> names;
    for (const TTreeNodeShape *n : nodes) {
        if (names.contains(n->Name()))
            return QStringLiteral("the name %1 twice").arg(n->Name());
        names.insert(n->Name());
    }
    return QString();
}

// A random outline of up to `lines` lines.
QString RandomOutline(QRandomGenerator &rng, int lines)
{
    QString text;
    int depth = 0;
    for (int i = 0; i < lines; ++i) {
        depth = std::max(0, std::min(depth + static_cast<int>(rng.bounded(3)) - 1, 4));
        if (i == 0)
            depth = 0;
        text += QString(depth, QLatin1Char(' ')) + QStringLiteral("L%1\n").arg(i);
    }
    return text;
}

} // namespace

class TestCommandSequences : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { InitCommandTests(); }
    void randomSequences_data();
    void randomSequences();
};

void TestCommandSequences::randomSequences_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed : {1u, 7u, 42u, 1234u, 99991u, 31337u})
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
}

void TestCommandSequences::randomSequences()
{
    QFETCH(quint32, seed);
    QRandomGenerator rng(seed);
    QTemporaryDir dir;
    const QString outlineFile = dir.filePath(QStringLiteral("outline.txt"));
    const QString diagramFile = dir.filePath(QStringLiteral("part.abx"));
    TTestHost host;
    TScriptedPromptsGuard prompts; // every dialog is cancelled
    TTreeCommands *c = host.Commands;
    // A generated diagram to start from.
    c->PasteText(RandomOutline(rng, 40));
    QGuiApplication::clipboard()->clear();
    auto pick = [&](TTree *t) -> TTreeNodeShape * {
        const int n = t->Shapes().Count();
        return n ? t->Shapes()[static_cast<int>(rng.bounded(n))] : nullptr;
    };
    QStringList done;
    for (int step = 0; step < 400; ++step) {
        TTree *t = host.Tree();
        // A random selection of up to three nodes.
        if (rng.bounded(3) == 0) {
            t->Selected().Clear();
            const int count = static_cast<int>(rng.bounded(4));
            for (int i = 0; i < count; ++i)
                if (TTreeNodeShape *n = pick(t))
                    n->SetSelected(true);
        }
        if (rng.bounded(4) == 0)
            c->SetPointerOverride(QPoint(static_cast<int>(rng.bounded(400)), static_cast<int>(rng.bounded(300))));
        else
            c->SetPointerOverride(std::nullopt);
        const int op = static_cast<int>(rng.bounded(22));
        done << QString::number(op);
        switch (op) {
        case 0: c->AddNewRoot(); break;
        case 1: c->AddChild(); break;
        case 2: c->AddBrother(); break;
        case 3: c->AddNewParent(); break;
        case 4: c->Cut(); break;
        case 5: c->Copy(); break;
        case 6:
        case 7: c->Paste(); break;
        case 8: c->DeleteSelection(); break;
        case 9:
            if (t->Shapes().Count() < 300) {
                QFile f(outlineFile);
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write(RandomOutline(rng, 1 + static_cast<int>(rng.bounded(30))).toUtf8());
                f.close();
                c->ImportFile(outlineFile, true);
            }
            break;
        case 10:
            if (t->Shapes().Count() < 300 && t->Shapes().Count() > 0) {
                SaveDiagramFile(*t, diagramFile);
                c->ImportFile(diagramFile, false);
            }
            break;
        case 11: c->Prune(); break;
        case 12: c->AlignToGrid(); break;
        case 13: c->Align(TTreeAlignKind(rng.bounded(8))); break;
        case 14: rng.bounded(2) ? c->BringToFront() : c->SendToBack(); break;
        case 15: c->SetStyle(TTreeShapeStyle(rng.bounded(6))); break;
        case 16:
            if (TTreeNodeShape *n = pick(t))
                t->MoveShape(n, static_cast<int>(rng.bounded(21)) - 10, static_cast<int>(rng.bounded(21)) - 10,
                             rng.bounded(2));
            break;
        case 17: c->Search(QStringLiteral("L%1").arg(rng.bounded(10))); break;
        case 18:
            if (TTreeNodeShape *n = pick(t))
                if (n->ConnectionCount() > 0)
                    t->Connections().SetSelected(n->Connections()[0]);
            c->DeleteSelectedConnection();
            break;
        case 19:
            if (rng.bounded(5) == 0)
                host.Replace();
            break;
        case 20: c->SizeToGrid(); break;
        default:
            if (TTreeNodeShape *a = pick(t))
                if (TTreeNodeShape *b = pick(t))
                    t->SetShapeParent(a, b);
            break;
        }
        c->UpdateAll();
        const QString broken = Broken(host.Tree());
        if (!broken.isEmpty())
            QFAIL(qPrintable(QStringLiteral("after %1: %2").arg(done.join(QLatin1Char(' ')), broken)));
    }
    // What the diagram holds reads back from its file.
    TTree *t = host.Tree();
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    SaveDiagram(*t, buffer);
    buffer.seek(0);
    TComponent owner;
    owner.SetName(QStringLiteral("TreeEditor1"));
    auto *back = new TTree(&owner);
    back->SetNoOwnerShapes(false);
    LoadDiagram(*back, buffer);
    QCOMPARE(Outline(back), Outline(t));
    QCOMPARE(back->Connections().Count(), t->Connections().Count());
    delete back;
}

QTEST_MAIN(TestCommandSequences)
#include "tst_command_sequences.moc"
