// The undo list in the application window: its shortcuts take the
// document's edits back, the saved state reads unmodified again, and a new
// document starts with an empty list.

#include "EditorTestUtil.h"
#include "editor/TreeUndo.h"

#include <QAction>

class TestUndoWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { InitEditorTests(FBase); }
    void shortcutsTakeBackToTheSavedState_data();
    void shortcutsTakeBackToTheSavedState();
    void newDocumentEmptiesTheList();

private:
    QTemporaryDir FBase;
};

namespace {

// The window's action with a shortcut.
QAction *ActionOf(QWidget &window, const QKeySequence &key)
{
    for (QAction *a : window.actions())
        if (a->shortcuts().contains(key))
            return a;
    return nullptr;
}

} // namespace

void TestUndoWindow::shortcutsTakeBackToTheSavedState_data()
{
    QTest::addColumn<QString>("undoKey");
    QTest::addColumn<QString>("redoKey");
    QTest::newRow("ctrl") << QStringLiteral("Ctrl+Z") << QStringLiteral("Ctrl+Y");
    QTest::newRow("alternatives") << QStringLiteral("Alt+Backspace") << QStringLiteral("Ctrl+Shift+Z");
}

void TestUndoWindow::shortcutsTakeBackToTheSavedState()
{
    QFETCH(QString, undoKey);
    QFETCH(QString, redoKey);
    ClearEditorSettings();
    TScriptedPromptsGuard prompts;
    QTemporaryDir dir;
    auto editor = ShownEditor(dir.filePath(QStringLiteral("recovery")));
    TTree *tree = editor->Tree();
    QVERIFY(tree);
    TTreeNodeShape *node = tree->AddShape(10, 20, nullptr, QStringLiteral("n"));
    QVERIFY(editor->SaveDocumentAs(dir.filePath(QStringLiteral("saved.abx"))));
    QVERIFY(!editor->Modified());
    tree->MoveShape(node, 30, 5, false);
    QVERIFY(editor->Modified());
    QAction *undo = ActionOf(*editor, QKeySequence(undoKey));
    QAction *redo = ActionOf(*editor, QKeySequence(redoKey));
    QVERIFY(undo && redo);
    QCOMPARE(undo->text(), QStringLiteral("Undo Move"));
    undo->trigger();
    QCOMPARE(node->X0(), 10);
    QVERIFY(!editor->Modified());
    redo->trigger();
    QCOMPARE(node->X0(), 40);
    QVERIFY(editor->Modified());
    // Back before the saved state: modified again.
    undo->trigger();
    undo->trigger();
    QCOMPARE(tree->Shapes().Count(), 0);
    QVERIFY(editor->Modified());
}

void TestUndoWindow::newDocumentEmptiesTheList()
{
    ClearEditorSettings();
    TScriptedPromptsGuard prompts;
    QTemporaryDir dir;
    auto editor = ShownEditor(dir.filePath(QStringLiteral("recovery")));
    editor->Tree()->AddShape(10, 20, nullptr, QStringLiteral("n"));
    QCOMPARE(editor->Undo()->Count(), 1);
    editor->ClearDocument();
    QCOMPARE(editor->Undo()->Count(), 0);
    QVERIFY(!editor->Undo()->CanRedo());
    // The list hears the new document.
    editor->Tree()->AddShape(5, 5, nullptr, QStringLiteral("m"));
    QCOMPARE(editor->Undo()->Count(), 1);
    editor->Undo()->Undo();
    QCOMPARE(editor->Tree()->Shapes().Count(), 0);
}

QTEST_MAIN(TestUndoWindow)
#include "tst_undo_window.moc"
