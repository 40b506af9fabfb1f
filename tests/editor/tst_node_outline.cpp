// The node outline: its rows are the diagram's hierarchy after every edit
// made anywhere (checked row by row and by Qt's model tester), labels,
// renaming with its refusals, dragging onto nodes and onto empty space,
// the selection both ways, and clearing and reading a file.

#include "PanelTestUtil.h"

#include "editor/TreeNodeOutline.h"
#include "editor/TreeOutlineModel.h"
#include "core/Exceptions.h"
#include "model/TreeFile.h"

#include <QAbstractItemModelTester>
#include <QBuffer>
#include <QKeyEvent>
#include <QMimeData>
#include <QTreeView>

namespace {

// The diagram's hierarchy and the model's rows agree, below `parent`.
void CompareRows(const TTreeOutlineModel &model, const QModelIndex &parent, const TNodeShapeList *children,
                 const TTreeNodeShape *node, QStringList &mismatches)
{
    const int count = node ? node->ChildCount() : children->Count();
    if (model.rowCount(parent) != count) {
        mismatches << QStringLiteral("%1: %2 rows for %3 nodes")
                          .arg(node ? node->SimpleText() : QStringLiteral("roots"))
                          .arg(model.rowCount(parent))
                          .arg(count);
        return;
    }
    for (int i = 0; i < count; ++i) {
        TTreeNodeShape *child = node ? node->Child(i) : children->Items(i);
        const QModelIndex index = model.index(i, 0, parent);
        if (model.Node(index) != child || model.IndexOf(child) != index || model.parent(index) != parent)
            mismatches << QStringLiteral("row %1 of %2").arg(i).arg(node ? node->SimpleText() : QStringLiteral("roots"));
        else
            CompareRows(model, index, nullptr, child, mismatches);
    }
}

QStringList Mismatches(const TTreeOutlineModel &model)
{
    QStringList out;
    CompareRows(model, QModelIndex(), &model.Tree()->Roots(), nullptr, out);
    return out;
}

// r1 (c1 (g1, g2), c2), r2 (c3), r3
struct TSample
{
    TPanelHost Host;
    TTreeNodeShape *R1, *R2, *R3, *C1, *C2, *C3, *G1, *G2;
    TSample()
    {
        R1 = Host.Root(QStringLiteral("r1"));
        R2 = Host.Root(QStringLiteral("r2"));
        R3 = Host.Root(QStringLiteral("r3"));
        C1 = R1->AddChild(QStringLiteral("c1"));
        C2 = R1->AddChild(QStringLiteral("c2"));
        C3 = R2->AddChild(QStringLiteral("c3"));
        G1 = C1->AddChild(QStringLiteral("g1"));
        G2 = C1->AddChild(QStringLiteral("g2"));
    }
};

} // namespace

class TestNodeOutline : public QObject
{
    Q_OBJECT
private slots:
    void followsEdits_data();
    void followsEdits();
    void labels_data();
    void labels();
    void showNamesRelabels();
    void renaming_data();
    void renaming();
    void refusedNameIsExplained();
    void dropping_data();
    void dropping();
    void foreignDataMovesNothing();
    void diagramSelectionIsMirrored();
    void rowSelectionSelectsNodes();
    void deleteKeyDeletesSelectedNodes();
    void clearAndReadStartAfresh();
    void hiddenOutlineDoesNotListen();
};

void TestNodeOutline::followsEdits_data()
{
    QTest::addColumn<int>("edit");
    const char *const names[] = {"add root", "add child", "add brother", "delete leaf", "delete subtree",
                                 "delete several selected", "delete root", "re-parent", "make root",
                                 "re-parent under own brother", "bring to front", "send to back", "paste clone",
                                 "text", "rename", "delete everything selected"};
    int i = 0;
    for (const char *name : names)
        QTest::newRow(name) << i++;
}

void TestNodeOutline::followsEdits()
{
    QFETCH(int, edit);
    TSample s;
    TTree *tree = s.Host.Tree;
    TTreeOutlineModel model;
    model.SetTree(tree);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QTreeView view;
    view.setModel(&model);
    view.expandAll();
    view.resize(200, 400);
    view.show();
    // Rows looked at before the edit, to see they move along.
    const QPersistentModelIndex c2(model.IndexOf(s.C2));
    const QPersistentModelIndex r3(model.IndexOf(s.R3));
    QStringList labels;
    switch (edit) {
    case 0: tree->AddRoot(QStringLiteral("new")); break;
    case 1: s.C1->AddChild(QStringLiteral("new")); break;
    case 2: s.G1->AddBrother(QStringLiteral("new")); break;
    case 3: tree->DeleteShape(s.G1); break;
    case 4: tree->DeleteShape(s.C1); break;
    case 5:
        s.Host.Select({s.G2, s.C3, s.R3, s.C1});
        tree->DeleteSelected();
        break;
    case 6: tree->DeleteShape(s.R1); break;
    case 7: tree->SetShapeParent(s.C1, s.R3); break;
    case 8: tree->SetShapeParent(s.G2, nullptr); break;
    case 9: tree->SetShapeParent(s.C1, s.C2); break;
    case 10: tree->OrderShape(s.C1, true); break;
    case 11: tree->OrderShape(s.G2, false); break;
    case 12: tree->PasteShape(s.C1); break;
    case 13: tree->SetElementText(s.G1, {QStringLiteral("changed")}); break;
    case 14: tree->EditElement(s.G2, QStringLiteral("Name"), [&] { s.G2->SetName(QStringLiteral("Renamed")); }); break;
    case 15:
        tree->Selected().SelectAll();
        tree->DeleteSelected();
        break;
    }
    QCOMPARE(Mismatches(model), QStringList());
    // Rows the view keeps point to the nodes they showed.
    if (c2.isValid())
        QCOMPARE(model.Node(c2), s.C2);
    if (r3.isValid())
        QCOMPARE(model.Node(r3), s.R3);
    if (edit == 13)
        QCOMPARE(model.data(model.IndexOf(s.G1)).toString(), QStringLiteral("changed"));
    // The view paints what is left without touching freed nodes.
    view.expandAll();
    view.repaint();
}

void TestNodeOutline::labels_data()
{
    QTest::addColumn<bool>("showNames");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("label");
    const QString n = QStringLiteral("Node7"), t = QStringLiteral("Seven");
    QTest::newRow("text") << false << n << t << t;
    QTest::newRow("no text: the name") << false << n << QString() << n;
    QTest::newRow("names: the name") << true << n << t << n;
    QTest::newRow("names, no name: the text") << true << QString() << t << t;
    QTest::newRow("neither: the position") << false << QString() << QString() << QStringLiteral("1");
    QTest::newRow("names, neither: the position") << true << QString() << QString() << QStringLiteral("1");
}

void TestNodeOutline::labels()
{
    QFETCH(bool, showNames);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, label);
    TPanelHost host;
    host.Root(QStringLiteral("first"));
    TTreeNodeShape *node = host.Root(text);
    node->SetName(name);
    TTreeOutlineModel model;
    model.SetShowNames(showNames);
    model.SetTree(host.Tree);
    QCOMPARE(model.data(model.IndexOf(node)).toString(), label);
}

void TestNodeOutline::showNamesRelabels()
{
    TPanelHost host;
    TTreeNodeShape *node = host.Root(QStringLiteral("Text"));
    node->SetName(QStringLiteral("Name1"));
    TTreeNodeOutline outline;
    outline.SetTree(host.Tree);
    outline.show();
    QVERIFY(outline.Model());
    QSignalSpy relabel(outline.Model(), &QAbstractItemModel::layoutChanged);
    QCOMPARE(outline.Model()->IndexOf(node).data().toString(), QStringLiteral("Text"));
    outline.SetShowNames(true);
    QCOMPARE(relabel.count(), 1);
    QCOMPARE(outline.Model()->IndexOf(node).data().toString(), QStringLiteral("Name1"));
}

void TestNodeOutline::renaming_data()
{
    QTest::addColumn<bool>("showNames");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("refused");
    const QString keep = QStringLiteral("Node2");
    const QStringList text{QStringLiteral("two")};
    QTest::newRow("new name") << true << QStringLiteral("Budget_2") << QStringLiteral("Budget_2") << text << false;
    QTest::newRow("first line only") << true << QStringLiteral("Alpha\nBeta") << QStringLiteral("Alpha") << text
                                     << false;
    QTest::newRow("own name again") << true << keep << keep << text << false;
    QTest::newRow("digit first") << true << QStringLiteral("2nd") << keep << text << true;
    QTest::newRow("space inside") << true << QStringLiteral("my node") << keep << text << true;
    QTest::newRow("another node's") << true << QStringLiteral("Node1") << keep << text << true;
    QTest::newRow("another's in other case") << true << QStringLiteral("NODE1") << keep << text << true;
    QTest::newRow("a connection's") << true << QStringLiteral("Link1") << keep << text << true;
    QTest::newRow("names, empty: the text") << true << QString() << keep << QStringList{} << false;
    QTest::newRow("text") << false << QStringLiteral("new text") << keep << QStringList{QStringLiteral("new text")}
                          << false;
    QTest::newRow("text lines") << false << QStringLiteral("a\nb") << keep
                                << QStringList{QStringLiteral("a"), QStringLiteral("b")} << false;
}

void TestNodeOutline::renaming()
{
    QFETCH(bool, showNames);
    QFETCH(QString, typed);
    QFETCH(QString, name);
    QFETCH(QStringList, lines);
    QFETCH(bool, refused);
    TPanelHost host;
    TTreeNodeShape *one = host.Root(QStringLiteral("one"));
    one->SetName(QStringLiteral("Node1"));
    TTreeNodeShape *two = host.Root(QStringLiteral("two"));
    two->SetName(QStringLiteral("Node2"));
    one->AddChild(QStringLiteral("c"));
    QCOMPARE(host.Tree->Connections().Count(), 1);
    host.Tree->Connections().Items(0)->SetName(QStringLiteral("Link1"));
    TTreeOutlineModel model;
    model.SetShowNames(showNames);
    model.SetTree(host.Tree);
    QSignalSpy refusals(&model, &TTreeOutlineModel::LabelRefused);
    TNoticeCounter notices(host.Tree);
    const bool done = model.setData(model.IndexOf(two), typed);
    QCOMPARE(done, !refused);
    QCOMPARE(refusals.count(), refused ? 1 : 0);
    if (refused) {
        QVERIFY(refusals.first().first().toString().contains(typed.section(QLatin1Char('\n'), 0, 0)));
        QCOMPARE(notices.Edits, 0);
    }
    QCOMPARE(two->Name(), name);
    QStringList now;
    for (int i = 0; i < two->LineCount(); ++i)
        now << two->Line(i);
    QCOMPARE(now, lines);
    QVERIFY(notices.Steps <= 1);
}

void TestNodeOutline::refusedNameIsExplained()
{
    TPanelHost host;
    TTreeNodeShape *node = host.Root(QStringLiteral("x"));
    node->SetName(QStringLiteral("Node1"));
    TTreeNodeOutline outline;
    outline.SetTree(host.Tree);
    outline.SetShowNames(true);
    outline.show();
    TScriptedPromptsGuard prompts;
    outline.Model()->setData(outline.Model()->IndexOf(node), QStringLiteral("9lives"));
    const auto asked = prompts->CallsOf(QStringLiteral("Ask"));
    QCOMPARE(asked.size(), size_t(1));
    QCOMPARE(asked.front().Kind, pkWarning);
    QVERIFY(asked.front().Text.contains(QStringLiteral("9lives")));
    QCOMPARE(node->Name(), QStringLiteral("Node1"));
}

void TestNodeOutline::dropping_data()
{
    QTest::addColumn<QString>("dragged");
    QTest::addColumn<QString>("target"); // empty: empty space
    QTest::addColumn<QString>("parent"); // the dragged node's parent afterwards, empty: a root
    QTest::addColumn<bool>("allowed");
    QTest::newRow("onto a node") << QStringLiteral("g1") << QStringLiteral("r3") << QStringLiteral("r3") << true;
    QTest::newRow("onto empty space") << QStringLiteral("g1") << QString() << QString() << true;
    QTest::newRow("a subtree onto empty space") << QStringLiteral("c1") << QString() << QString() << true;
    QTest::newRow("a root onto a node") << QStringLiteral("r2") << QStringLiteral("g2") << QStringLiteral("g2") << true;
    QTest::newRow("onto its own child") << QStringLiteral("c1") << QStringLiteral("g1") << QStringLiteral("r1")
                                        << false;
    QTest::newRow("onto itself") << QStringLiteral("c1") << QStringLiteral("c1") << QStringLiteral("r1") << false;
    QTest::newRow("onto its parent") << QStringLiteral("c1") << QStringLiteral("r1") << QStringLiteral("r1") << false;
    QTest::newRow("a root onto empty space") << QStringLiteral("r2") << QString() << QString() << false;
}

void TestNodeOutline::dropping()
{
    QFETCH(QString, dragged);
    QFETCH(QString, target);
    QFETCH(QString, parent);
    QFETCH(bool, allowed);
    TSample s;
    auto byText = [&](const QString &text) -> TTreeNodeShape * {
        for (TTreeNodeShape *n : s.Host.Tree->Shapes())
            if (n->SimpleText() == text)
                return n;
        return nullptr;
    };
    TTreeOutlineModel model;
    model.SetTree(s.Host.Tree);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    TTreeNodeShape *node = byText(dragged);
    const QModelIndex to = target.isEmpty() ? QModelIndex() : model.IndexOf(byText(target));
    std::unique_ptr<QMimeData> data(model.mimeData({model.IndexOf(node)}));
    QVERIFY(data);
    QCOMPARE(model.canDropMimeData(data.get(), Qt::MoveAction, -1, 0, to), allowed);
    TNoticeCounter notices(s.Host.Tree);
    model.dropMimeData(data.get(), Qt::MoveAction, -1, 0, to);
    QCOMPARE(node->Parent(), parent.isEmpty() ? nullptr : byText(parent));
    QCOMPARE(notices.Steps, allowed ? 1 : 0);
    QCOMPARE(notices.Edits, allowed ? 1 : 0);
    QCOMPARE(Mismatches(model), QStringList());
}

void TestNodeOutline::foreignDataMovesNothing()
{
    TSample s;
    TTreeOutlineModel model, other;
    model.SetTree(s.Host.Tree);
    other.SetTree(s.Host.Tree);
    std::unique_ptr<QMimeData> data(other.mimeData({other.IndexOf(s.G1)}));
    QVERIFY(model.DraggedNodes(data.get()).empty());
    QMimeData junk;
    junk.setData(QStringLiteral("application/x-dendrix-outline-nodes"), QByteArray("\x01\x02", 2));
    QVERIFY(model.DraggedNodes(&junk).empty());
    model.dropMimeData(data.get(), Qt::MoveAction, -1, 0, QModelIndex());
    QCOMPARE(s.G1->Parent(), s.C1);
}

void TestNodeOutline::diagramSelectionIsMirrored()
{
    TSample s;
    TTreeNodeOutline outline;
    outline.SetTree(s.Host.Tree);
    outline.show();
    TTreeOutlineModel *model = outline.Model();
    QVERIFY(model);
    QVERIFY(!outline.View()->isExpanded(model->IndexOf(s.C1)));
    s.Host.Select({s.G2, s.C3});
    const QModelIndexList rows = outline.View()->selectionModel()->selectedRows();
    QCOMPARE(rows.size(), 2);
    QVERIFY(rows.contains(model->IndexOf(s.G2)));
    QVERIFY(rows.contains(model->IndexOf(s.C3)));
    // Collapsed ancestors of what is selected open.
    QVERIFY(outline.View()->isExpanded(model->IndexOf(s.C1)));
    QVERIFY(outline.View()->isExpanded(model->IndexOf(s.R1)));
    QVERIFY(outline.View()->isExpanded(model->IndexOf(s.R2)));
    s.G2->SetSelected(false);
    QCOMPARE(outline.View()->selectionModel()->selectedRows().size(), 1);
    // Inside one step the outline catches up at its end.
    {
        TTreeStep step(s.Host.Tree, QStringLiteral("select"));
        s.R3->SetSelected(true);
        s.C3->SetSelected(false);
    }
    QCOMPARE(outline.View()->selectionModel()->selectedRows(), QModelIndexList{model->IndexOf(s.R3)});
}

void TestNodeOutline::rowSelectionSelectsNodes()
{
    TSample s;
    s.C1->SetExpanded(false);
    TTreeNodeOutline outline;
    outline.resize(240, 400);
    outline.SetTree(s.Host.Tree);
    outline.show();
    s.Host.Select({s.R2, s.R3});
    TTreeOutlineModel *model = outline.Model();
    outline.View()->expandAll();
    // A click with single selection: the diagram holds that node alone.
    const QRect r = outline.View()->visualRect(model->IndexOf(s.G1));
    QVERIFY(r.isValid());
    QTest::mouseClick(outline.View()->viewport(), Qt::LeftButton, {}, r.center());
    QCOMPARE(s.Host.Tree->Selected().Nodes(), std::vector<TTreeNodeShape *>{s.G1});
    // Its collapsed ancestor opens in the diagram.
    QVERIFY(s.C1->Expanded());
    // Several rows, several nodes.
    outline.SetSingleSelection(false);
    const QRect r2 = outline.View()->visualRect(model->IndexOf(s.C3));
    QTest::mouseClick(outline.View()->viewport(), Qt::LeftButton, Qt::ControlModifier, r2.center());
    QCOMPARE(s.Host.Tree->Selected().Count(), 2);
    QVERIFY(s.C3->Selected());
    QVERIFY(s.G1->Selected());
}

void TestNodeOutline::deleteKeyDeletesSelectedNodes()
{
    TSample s;
    TTreeNodeOutline outline;
    outline.SetTree(s.Host.Tree);
    outline.show();
    s.Host.Select({s.C1, s.R3});
    const int before = s.Host.Tree->Shapes().Count();
    QTest::keyClick(outline.View(), Qt::Key_Delete);
    QCOMPARE(s.Host.Tree->Shapes().Count(), before - 4);
    QCOMPARE(Mismatches(*outline.Model()), QStringList());
    // Not where the diagram forbids deleting.
    s.Host.Tree->SetAllowDelete(false);
    s.Host.Select({s.R2});
    QTest::keyClick(outline.View(), Qt::Key_Delete);
    QCOMPARE(s.Host.Tree->Shapes().Count(), before - 4);
}

void TestNodeOutline::clearAndReadStartAfresh()
{
    TSample s;
    TTreeNodeOutline outline;
    outline.SetTree(s.Host.Tree);
    outline.show();
    outline.View()->expandAll();
    QAbstractItemModelTester tester(outline.Model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QBuffer file;
    file.open(QIODevice::ReadWrite);
    SaveDiagram(*s.Host.Tree, file);
    s.Host.Tree->Clear();
    QCOMPARE(outline.Model()->rowCount(), 0);
    outline.View()->repaint();
    file.seek(0);
    LoadDiagram(*s.Host.Tree, file);
    QCOMPARE(outline.Model()->rowCount(), 3);
    QCOMPARE(Mismatches(*outline.Model()), QStringList());
    outline.View()->expandAll();
    outline.View()->repaint();
    // A file that cannot be read leaves what was read, shown.
    QBuffer broken;
    broken.setData(QByteArray("TPF0junk"));
    broken.open(QIODevice::ReadOnly);
    try {
        LoadDiagram(*s.Host.Tree, broken);
    } catch (const Exception &) {
    }
    QCOMPARE(Mismatches(*outline.Model()), QStringList());
}

void TestNodeOutline::hiddenOutlineDoesNotListen()
{
    TSample s;
    TTreeNodeOutline outline;
    outline.SetTree(s.Host.Tree);
    // Never shown: no model at all.
    QVERIFY(!outline.Model());
    outline.show();
    QVERIFY(outline.Model());
    QCOMPARE(outline.Model()->Tree(), static_cast<TTreeDocument *>(s.Host.Tree));
    outline.hide();
    QVERIFY(!outline.Model()->Tree());
    s.R1->AddChild(QStringLiteral("while hidden"));
    outline.show();
    QCOMPARE(Mismatches(*outline.Model()), QStringList());
    // The diagram going first leaves an empty outline.
    auto *other = new TTree;
    outline.SetTree(other);
    delete other;
    QVERIFY(!outline.Model()->Tree());
    QCOMPARE(outline.Model()->rowCount(), 0);
}

QTEST_MAIN(TestNodeOutline)
#include "tst_node_outline.moc"
