// The undo list: each kind of edit taken back and made again, one step per
// action, the Edit menu's captions and shortcuts, the saved state, the
// limit, and steps that outlive their elements.

#include "UndoTestUtil.h"

#include "editor/DendrixConstants.h"

#include <QAction>
#include <QSignalSpy>
#include <QtTest>

namespace {

// Counts the steps and notices other listeners hear.
struct TStepLog : TTreeChangeListener
{
    QStringList Steps;
    int Notices = 0;
    void TreeStepBegin(TTreeDocument *, const QString &d) override { Steps << d; }
    void TreeChanged(TTreeDocument *, const TTreeChange &) override { ++Notices; }
};

// A small diagram: Root with children A (with child A1) and B, a second
// root R2, and a connection A1 -> B besides the parents' ones.
struct TSample : TUndoHost
{
    TTreeNodeShape *Root, *A, *A1, *B, *R2;
    TSample()
    {
        TTreeQuietChanges quiet(Tree);
        Root = Tree->AddShape(10, 10, nullptr, QStringLiteral("Root"));
        A = Tree->AddShape(40, 60, Root, QStringLiteral("A"));
        A1 = Tree->AddShape(70, 110, A, QStringLiteral("A1"));
        B = Tree->AddShape(140, 60, Root, QStringLiteral("B"));
        R2 = Tree->AddShape(300, 10, nullptr, QStringLiteral("R2"));
        A1->AddConnection(B);
        Root->SetExpanded(true);
    }
};

} // namespace

class TestUndo : public QObject
{
    Q_OBJECT
private slots:
    void eachEditTakenBackAndMadeAgain_data();
    void eachEditTakenBackAndMadeAgain();
    void borderWidthStepAndSecondUndo();
    void twoChangesTakenBackNewestFirst();
    void borderOfSeveralNodesRestoresAll();
    void dragIsOneStepAndSmall();
    void captionsFollowTheList_data();
    void captionsFollowTheList();
    void shortcuts();
    void undoIsOneStepOthersHearAndNotRecorded();
    void cleanStateAndModifiedMark();
    void limitDropsTheOldest();
    void replacingTheDocumentEmptiesTheList();
    void stepsOfFreedElementsAreHarmless();
    void recordNamesTheFollowingChange();
    void dialogWithoutChangeMakesNoStep();
};

void TestUndo::eachEditTakenBackAndMadeAgain_data()
{
    QTest::addColumn<int>("op");
    QTest::addColumn<QString>("description");
    auto row = [](const char *name, int op, const char *d) { QTest::newRow(name) << op << QString::fromLatin1(d); };
    row("add child", 0, "Add");
    row("delete subtree with foreign connection", 1, "Delete");
    row("delete selected", 2, "Delete");
    row("move with children", 3, "Move");
    row("resize", 4, "Resize");
    row("re-parent frees the parent's connection", 5, "Change Parent");
    row("make a root", 6, "Change Parent");
    row("collapse", 7, "Expand or Collapse");
    row("text", 8, "Text");
    row("bring to front", 9, "Order");
    row("border of a new pen", 10, "Change");
    row("connect", 11, "Add");
    row("delete connection", 12, "Delete");
    row("connection point", 13, "Edit Points");
    row("paste copy", 14, "Add");
    row("diagram setting", 15, "Change");
    row("rename", 16, "Change");
    row("parent set in the inspector", 17, "Change Parent");
    row("connection end set in the inspector", 18, "Change");
}

void TestUndo::eachEditTakenBackAndMadeAgain()
{
    QFETCH(int, op);
    QFETCH(QString, description);
    TSample s;
    TTreeUndo undo(s.Tree);
    const QByteArray before = Stream(*s.Tree);
    TTreeDocument &t = *s.Tree;
    switch (op) {
    case 0: t.AddShape(5, 5, s.A, QStringLiteral("new")); break;
    case 1: t.DeleteShape(s.A); break;
    case 2:
        s.A1->SetSelected(true);
        s.R2->SetSelected(true);
        t.DeleteSelected();
        break;
    case 3: t.MoveShape(s.A, 15, -4, true); break;
    case 4: t.ResizeShape(s.B, rcRightBottom, 30, 12); break;
    case 5: t.SetShapeParent(s.B, s.R2); break;
    case 6: t.SetShapeParent(s.A, nullptr); break;
    case 7: t.SetShapeExpanded(s.Root, false); break;
    case 8: t.SetElementText(s.B, {QStringLiteral("one"), QStringLiteral("two")}); break;
    case 9: t.OrderShape(s.Root, true); break;
    case 10: t.EditElement(s.A, QStringLiteral("Border.Width"), [&] { s.A->Border()->SetWidth(4); }); break;
    case 11: s.R2->AddConnection(s.A1); break;
    case 12: t.DeleteConnection(s.A1->ConnectionTo(s.B)); break;
    case 13: t.InsertConnectionPoint(s.A1->ConnectionTo(s.B), 1, TPoint(200, 200)); break;
    case 14: t.PasteShape(s.A); break;
    case 15: t.EditElement(&t, QStringLiteral("ShowRootCross"), [&] { t.SetShowRootCross(false); }); break;
    case 16: t.EditElement(s.B, QStringLiteral("Name"), [&] { s.B->SetName(QStringLiteral("Renamed")); }); break;
    case 17: t.EditElement(s.B, QStringLiteral("Parent"), [&] { s.B->SetParent(s.A1); }); break;
    case 18: {
        TTreeConnection *c = s.A1->ConnectionTo(s.B);
        t.EditElement(c, QStringLiteral("ToShape"), [&] { c->SetToShape(s.R2); });
        break;
    }
    }
    const QByteArray after = Stream(*s.Tree);
    QVERIFY(after != before);
    QCOMPARE(undo.Count(), 1);
    QCOMPARE(undo.Last()->Description(), description);
    undo.Undo();
    QCOMPARE(Stream(*s.Tree), before);
    QCOMPARE(undo.Count(), 0);
    undo.Redo();
    QCOMPARE(Stream(*s.Tree), after);
    undo.Undo();
    QCOMPARE(Stream(*s.Tree), before);
}

void TestUndo::borderWidthStepAndSecondUndo()
{
    TSample s;
    s.A->Border()->SetWidth(1);
    TTreeUndo undo(s.Tree);
    {
        TTreeStep step(s.Tree, QStringLiteral("Border width"));
        s.Tree->EditElement(s.A, QStringLiteral("Border.Width"), [&] { s.A->Border()->SetWidth(3); });
    }
    QCOMPARE(undo.Count(), 1);
    undo.Undo();
    QCOMPARE(s.A->Border()->Width(), 1);
    QCOMPARE(undo.Count(), 0);
    const QByteArray now = Stream(*s.Tree);
    undo.Undo(); // nothing left: nothing happens
    QCOMPARE(Stream(*s.Tree), now);
    QCOMPARE(s.A->Border()->Width(), 1);
}

void TestUndo::twoChangesTakenBackNewestFirst()
{
    TSample s;
    TTreeUndo undo(s.Tree);
    s.Tree->EditElement(s.A, QStringLiteral("Border.Style"), [&] { s.A->Border()->SetStyle(psDash); });
    s.Tree->EditElement(s.A, QStringLiteral("Border.Color"), [&] { s.A->Border()->SetColor(clRed); });
    QCOMPARE(undo.Count(), 2);
    undo.Undo();
    QCOMPARE(s.A->Border()->Color(), clBlack);
    QCOMPARE(s.A->Border()->Style(), psDash);
    undo.Undo();
    QCOMPARE(s.A->Border()->Style(), psSolid);
}

void TestUndo::borderOfSeveralNodesRestoresAll()
{
    TSample s;
    TTreeUndo undo(s.Tree);
    const TColor a = s.A->EffectiveBorder()->Color();
    const TColor b = s.B->EffectiveBorder()->Color();
    {
        TTreeStep step(s.Tree, QStringLiteral("Border Color"));
        for (TTreeNodeShape *n : {s.A, s.B})
            s.Tree->EditElement(n, QStringLiteral("Border.Color"), [&] { n->Border()->SetColor(clRed); });
    }
    QCOMPARE(undo.Count(), 1);
    undo.Undo();
    QCOMPARE(s.A->EffectiveBorder()->Color(), a);
    QCOMPARE(s.B->EffectiveBorder()->Color(), b);
    // The pens the change made are gone again: the nodes draw with the
    // diagram's default as before.
    QVERIFY(!s.A->PeekBorder());
    QVERIFY(!s.B->PeekBorder());
}

void TestUndo::dragIsOneStepAndSmall()
{
    TUndoHost host;
    std::vector<TTreeNodeShape *> nodes;
    {
        TTreeQuietChanges quiet(host.Tree);
        for (int i = 0; i < 200; ++i)
            nodes.push_back(host.Tree->AddShape(i * 3, i * 2, nullptr, QStringLiteral("n%1").arg(i)));
    }
    TTreeUndo undo(host.Tree);
    const QByteArray before = Stream(*host.Tree);
    {
        TTreeStep step(host.Tree, QStringLiteral("Drag"));
        for (int k = 0; k < 10; ++k)
            for (TTreeNodeShape *n : nodes)
                host.Tree->MoveShape(n, 2, 1, false);
    }
    QCOMPARE(undo.Count(), 1);
    QCOMPARE(nodes[7]->X0(), 7 * 3 + 20);
    // What a move step keeps per node moved.
    QVERIFY2(undo.Last()->MemoryUsage() <= 64 * nodes.size(), qPrintable(QString::number(undo.Last()->MemoryUsage())));
    undo.Undo();
    QCOMPARE(Stream(*host.Tree), before);
    QVERIFY(!nodes[7]->PeekAutoPosition());
}

void TestUndo::captionsFollowTheList_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("undoCaption");
    QTest::newRow("none") << QString() << QStringLiteral("Undo");
    QTest::newRow("border width") << QStringLiteral("Border width") << QStringLiteral("Undo Border width");
    QTest::newRow("no mnemonic from the description") << QStringLiteral("Fill & Border")
                                                      << QStringLiteral("Undo Fill && Border");
}

void TestUndo::captionsFollowTheList()
{
    QFETCH(QString, description);
    QFETCH(QString, undoCaption);
    TSample s;
    TTreeUndo undo(s.Tree);
    QObject parent;
    QAction *u = undo.CreateUndoAction(&parent);
    QAction *r = undo.CreateRedoAction(&parent);
    QCOMPARE(u->text(), QStringLiteral("Undo"));
    QVERIFY(!u->isEnabled());
    QCOMPARE(r->text(), QStringLiteral("Redo"));
    QVERIFY(!r->isEnabled());
    if (description.isEmpty())
        return;
    {
        TTreeStep step(s.Tree, description);
        s.Tree->EditElement(s.A, QStringLiteral("Border.Width"), [&] { s.A->Border()->SetWidth(3); });
    }
    QCOMPARE(u->text(), undoCaption);
    QVERIFY(u->isEnabled());
    u->trigger();
    QCOMPARE(u->text(), QStringLiteral("Undo"));
    QVERIFY(!u->isEnabled());
    QCOMPARE(r->text(), QString(undoCaption).replace(QStringLiteral("Undo"), QStringLiteral("Redo")));
    r->trigger();
    QCOMPARE(s.A->Border()->Width(), 3);
    // Another language: the captions follow when refreshed.
    SUndoCaption.Set(QStringLiteral("Deshacer"));
    undo.UpdateActions();
    QVERIFY(u->text().startsWith(QStringLiteral("Deshacer ")));
    SUndoCaption.ResetToEnglish();
}

void TestUndo::shortcuts()
{
    TTreeUndo undo;
    QObject parent;
    const QList<QKeySequence> u = undo.CreateUndoAction(&parent)->shortcuts();
    const QList<QKeySequence> r = undo.CreateRedoAction(&parent)->shortcuts();
    QVERIFY(u.contains(QKeySequence(QStringLiteral("Ctrl+Z"))));
    QVERIFY(u.contains(QKeySequence(QStringLiteral("Alt+Backspace"))));
    QVERIFY(r.contains(QKeySequence(QStringLiteral("Ctrl+Y"))));
    QVERIFY(r.contains(QKeySequence(QStringLiteral("Ctrl+Shift+Z"))));
}

void TestUndo::undoIsOneStepOthersHearAndNotRecorded()
{
    TSample s;
    TTreeUndo undo(s.Tree);
    s.Tree->DeleteShape(s.Root);
    TStepLog log;
    s.Tree->AddChangeListener(&log);
    undo.Undo();
    QCOMPARE(log.Steps, QStringList{QStringLiteral("Delete")});
    QVERIFY(log.Notices > 0);
    QCOMPARE(undo.Count(), 0);
    QCOMPARE(undo.RedoCount(), 1);
    s.Tree->RemoveChangeListener(&log);
}

void TestUndo::cleanStateAndModifiedMark()
{
    TSample s;
    TTreeUndo undo(s.Tree);
    TModifiedHost window;
    undo.SetHost(&window);
    QSignalSpy clean(&undo, &TTreeUndo::CleanChanged);
    s.Tree->MoveShape(s.A, 5, 5, false);
    undo.SetClean(); // saved here
    s.Tree->MoveShape(s.A, 5, 5, false);
    window.IsModified = true;
    QVERIFY(!undo.IsClean());
    undo.Undo();
    QVERIFY(undo.IsClean());
    QVERIFY(!window.IsModified);
    undo.Undo();
    QVERIFY(!undo.IsClean());
    QVERIFY(window.IsModified);
    undo.Redo();
    QVERIFY(undo.IsClean());
    QVERIFY(!window.IsModified);
    QVERIFY(clean.count() >= 3);
}

void TestUndo::limitDropsTheOldest()
{
    TSample s;
    TTreeUndo undo(s.Tree);
    QCOMPARE(undo.Limit(), 1000);
    undo.SetLimit(3);
    QCOMPARE(undo.Limit(), 3);
    for (int i = 0; i < 5; ++i)
        s.Tree->MoveShape(s.A, 1, 0, false);
    QCOMPARE(undo.Count(), 3);
    while (undo.CanUndo())
        undo.Undo();
    QCOMPARE(s.A->X0(), 40 + 2);
    // A list holding steps takes a new limit when it is next emptied.
    undo.SetLimit(10);
    QCOMPARE(undo.Limit(), 10);
    undo.Clear();
    for (int i = 0; i < 12; ++i)
        s.Tree->MoveShape(s.A, 1, 0, false);
    QCOMPARE(undo.Count(), 10);
}

void TestUndo::replacingTheDocumentEmptiesTheList()
{
    TSample s;
    TSample other;
    TTreeUndo undo(s.Tree);
    s.Tree->MoveShape(s.A, 5, 5, false);
    QCOMPARE(undo.Count(), 1);
    undo.SetTree(other.Tree);
    QCOMPARE(undo.Count(), 0);
    QVERIFY(!undo.CanRedo());
    s.Tree->MoveShape(s.A, 5, 5, false); // the old document is not heard
    QCOMPARE(undo.Count(), 0);
    other.Tree->MoveShape(other.B, 5, 5, false);
    QCOMPARE(undo.Count(), 1);
    // Opening a file into the same document: its owner replaces it.
    undo.SetTree(other.Tree);
    QCOMPARE(undo.Count(), 0);
}

void TestUndo::stepsOfFreedElementsAreHarmless()
{
    TSample s;
    TTreeUndo undo(s.Tree);
    s.Tree->EditElement(s.A1, QStringLiteral("Border.Width"), [&] { s.A1->Border()->SetWidth(5); });
    s.Tree->MoveShape(s.A1, 3, 3, false);
    // Something frees the node behind the list's back.
    {
        TTreeQuietChanges quiet(s.Tree);
        s.Tree->DeleteShape(s.A);
    }
    const QByteArray now = Stream(*s.Tree);
    undo.Undo();
    undo.Undo();
    QCOMPARE(Stream(*s.Tree), now);
    undo.Redo();
    undo.Redo();
    QCOMPARE(Stream(*s.Tree), now);
}

void TestUndo::recordNamesTheFollowingChange()
{
    TSample s;
    TTreeUndo undo(s.Tree);
    undo.Record(s.B, QStringLiteral("Border width"));
    s.Tree->EditElement(s.B, QStringLiteral("Border.Width"), [&] { s.B->Border()->SetWidth(6); });
    QCOMPARE(undo.Count(), 1);
    QCOMPARE(undo.Last()->Description(), QStringLiteral("Border width"));
    undo.Undo();
    QVERIFY(!s.B->PeekBorder());
    // A recorded state that nothing follows is still a step of its own.
    undo.Record(s.A, QStringLiteral("Border Style"));
    QCOMPARE(undo.Count(), 1);
    QCOMPARE(undo.RedoCount(), 0);
}

void TestUndo::dialogWithoutChangeMakesNoStep()
{
    TSample s;
    TTreeUndo undo(s.Tree);
    {
        TTreeStep step(s.Tree, QStringLiteral("Edit"));
        s.Tree->EditElement(s.A, QString(), [] {});
        s.Tree->MoveShape(s.A, 0, 0, false);
    }
    QCOMPARE(undo.Count(), 0);
}

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
