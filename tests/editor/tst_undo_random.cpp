// Random edit sequences on generated diagrams: taking every step back
// brings back the file the diagram wrote at each stage down to the start,
// making them again every stage up to the end, byte for byte.

#include "UndoTestUtil.h"

#include <QtTest>

class TestUndoRandom : public QObject
{
    Q_OBJECT
private slots:
    void undoAllAndRedoAll_data();
    void undoAllAndRedoAll();
    void branchingAfterUndo();
};

void TestUndoRandom::undoAllAndRedoAll_data()
{
    QTest::addColumn<quint32>("firstSeed");
    QTest::addColumn<int>("nodes");
    QTest::addColumn<int>("edits");
    // Hundreds of seeds in batches: small diagrams with long histories,
    // larger ones with shorter.
    QTest::newRow("tiny") << 1u << 3 << 30;
    QTest::newRow("small") << 1001u << 12 << 25;
    QTest::newRow("medium") << 2001u << 40 << 20;
    QTest::newRow("large") << 3001u << 120 << 12;
}

void TestUndoRandom::undoAllAndRedoAll()
{
    QFETCH(quint32, firstSeed);
    QFETCH(int, nodes);
    QFETCH(int, edits);
    const int seeds = 80;
    for (quint32 seed = firstSeed; seed < firstSeed + seeds; ++seed) {
        TUndoHost host;
        TRandomDiagram diagram(*host.Tree, seed);
        diagram.Build(nodes);
        TTreeUndo undo(host.Tree);
        // The stream after each recorded step; an action that made no step
        // must not have changed the file either.
        std::vector<QByteArray> states{State(*host.Tree)};
        for (int i = 0; i < edits; ++i) {
            diagram.Edit();
            const QByteArray now = State(*host.Tree);
            if (undo.Count() == static_cast<int>(states.size()))
                states.push_back(now);
            else if (now != states.back())
                QFAIL(qPrintable(QStringLiteral("seed %1 edit %2 changed the file without a step").arg(seed).arg(i)));
            QCOMPARE(undo.Count(), static_cast<int>(states.size()) - 1);
        }
        for (int k = static_cast<int>(states.size()) - 2; k >= 0; --k) {
            undo.Undo();
            if (State(*host.Tree) != states[static_cast<size_t>(k)])
                QFAIL(qPrintable(QStringLiteral("seed %1: undo to stage %2 differs ").arg(seed).arg(k) +
                                 FirstDifference(State(*host.Tree), states[static_cast<size_t>(k)]) +
                                 QStringLiteral(" after ") + diagram.Log.join(QLatin1Char(' '))));
        }
        QVERIFY(!undo.CanUndo());
        for (size_t k = 1; k < states.size(); ++k) {
            undo.Redo();
            if (State(*host.Tree) != states[k])
                QFAIL(qPrintable(QStringLiteral("seed %1: redo to stage %2 differs ").arg(seed).arg(k) +
                                 FirstDifference(State(*host.Tree), states[k]) + QStringLiteral(" after ") +
                                 diagram.Log.join(QLatin1Char(' '))));
        }
        QVERIFY(!undo.CanRedo());
    }
}

void TestUndoRandom::branchingAfterUndo()
{
    // Taking half back, editing anew, then taking all back reaches the start.
    for (quint32 seed = 5001; seed < 5061; ++seed) {
        TUndoHost host;
        TRandomDiagram diagram(*host.Tree, seed);
        diagram.Build(25);
        TTreeUndo undo(host.Tree);
        const QByteArray start = State(*host.Tree);
        for (int i = 0; i < 12; ++i)
            diagram.Edit();
        for (int i = undo.Count() / 2; i > 0; --i)
            undo.Undo();
        for (int i = 0; i < 8; ++i)
            diagram.Edit();
        QCOMPARE(undo.RedoCount(), 0);
        while (undo.CanUndo())
            undo.Undo();
        if (State(*host.Tree) != start)
            QFAIL(qPrintable(QStringLiteral("seed %1: not back at the start").arg(seed)));
    }
}

QTEST_MAIN(TestUndoRandom)
#include "tst_undo_random.moc"
