// The toolbars, the outline and the property pages in the editor window:
// in their bands, following every document the window holds, their edits
// marking the document modified, the pages guarded while the window
// starts, and smooth drawing kept with the window's settings.

#include "EditorTestUtil.h"
#include "PanelTestUtil.h"

#include "editor/TreeNodeOutline.h"
#include "editor/TreeOutlineModel.h"
#include "editor/TreePropertyPages.h"
#include "editor/TreeToolbars.h"

#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>

class TestEditorPanels : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void partsSitInTheirBands();
    void toolbarEditMarksModified();
    void partsFollowEveryDocument();
    void pagesWriteNothingWhileStarting();
    void smoothDrawingIsKept();

private:
    QTemporaryDir FBase;
    std::unique_ptr<TScriptedPromptsGuard> FPrompts;
};

void TestEditorPanels::initTestCase()
{
    InitEditorTests(FBase);
}

void TestEditorPanels::init()
{
    ClearEditorSettings();
    FPrompts = std::make_unique<TScriptedPromptsGuard>();
    // Closing a modified window: "No".
    (*FPrompts)->OnAsk = [](const QString &, TPromptKind, TPromptButtons) { return paNo; };
}

void TestEditorPanels::cleanup()
{
    FPrompts.reset();
}

void TestEditorPanels::partsSitInTheirBands()
{
    TTreeEditor editor;
    QVERIFY(editor.FontToolbar() && editor.FormatToolbar() && editor.NodeOutline() && editor.PropertyPages());
    QVERIFY(editor.PanelFont()->isAncestorOf(editor.FontToolbar()));
    QVERIFY(editor.PanelShape()->isAncestorOf(editor.FormatToolbar()));
    QVERIFY(editor.NodeTreeSlot()->isAncestorOf(editor.NodeOutline()));
    // The pages fill the window's own tabs, one each.
    QCOMPARE(editor.PropertyPages()->Pages(), editor.PageTree());
    QCOMPARE(editor.PageTree()->count(), int(TTreePropertyPages::ppCount));
    for (int i = 0; i < TTreePropertyPages::ppCount; ++i)
        QVERIFY(editor.PageTree()->widget(i)->isAncestorOf(
            editor.PropertyPages()->Page(static_cast<TTreePropertyPages::TPage>(i))));
    editor.show();
    QVERIFY(editor.FontToolbar()->isVisible());
    QVERIFY(editor.NodeOutline()->isVisible());
    QVERIFY(!editor.PropertyPages()->isVisible());
}

void TestEditorPanels::toolbarEditMarksModified()
{
    TTreeEditor editor;
    editor.show();
    TTree *tree = editor.Tree();
    QVERIFY(tree);
    QCOMPARE(editor.FontToolbar()->Tree(), tree);
    TTreeNodeShape *node = tree->AddRoot(QStringLiteral("A"));
    editor.SetModified(false);
    node->SetSelected(true);
    Settle();
    QVERIFY(!editor.Modified());
    QTest::mouseClick(editor.FontToolbar()->BoldButton(), Qt::LeftButton);
    QVERIFY(node->Font()->IsBold());
    QVERIFY(editor.Modified());
    // The outline shows the node, selected.
    TTreeOutlineModel *model = editor.NodeOutline()->Model();
    QVERIFY(model);
    QCOMPARE(editor.NodeOutline()->View()->selectionModel()->selectedRows(), QModelIndexList{model->IndexOf(node)});
}

void TestEditorPanels::partsFollowEveryDocument()
{
    QTemporaryDir dir;
    const QString file = WriteDiagram(dir.filePath(QStringLiteral("two.abx")), {QStringLiteral("A"), QStringLiteral("B")});
    TTreeEditor editor;
    editor.show();
    TTree *first = editor.Tree();
    first->AddRoot(QStringLiteral("only here"));
    QVERIFY(editor.ReadFile(file));
    TTree *tree = editor.Tree();
    for (TTreePanelPart *part : std::initializer_list<TTreePanelPart *>{editor.FontToolbar(), editor.FormatToolbar(),
                                                                          editor.PropertyPages()})
        QCOMPARE(part->Tree(), tree);
    QCOMPARE(editor.NodeOutline()->Tree(), tree);
    QCOMPARE(editor.NodeOutline()->Model()->rowCount(), 2);
    editor.FileNew();
    QCOMPARE(editor.NodeOutline()->Model()->rowCount(), 0);
    QCOMPARE(editor.FontToolbar()->Tree(), editor.Tree());
    editor.Tree()->AddRoot(QStringLiteral("new"));
    QCOMPARE(editor.NodeOutline()->Model()->rowCount(), 1);
}

void TestEditorPanels::pagesWriteNothingWhileStarting()
{
    TTreeEditor editor;
    QVERIFY(editor.PropertyPages()->Starting());
    editor.show();
    QVERIFY(!editor.PropertyPages()->Starting());
    editor.SetBandVisible(ebPropertyPages, true);
    editor.PageTree()->setCurrentIndex(TTreePropertyPages::ppGrid);
    auto *size = editor.PropertyPages()->ControlAs<QSpinBox>(TTreePropertyPages::ppGrid, QStringLiteral("Size"));
    QVERIFY(size && size->isEnabled());
    editor.SetModified(false);
    size->setValue(size->value() + 5);
    QCOMPARE(editor.Tree()->GridStep(), size->value());
    QVERIFY(editor.Modified());
}

void TestEditorPanels::smoothDrawingIsKept()
{
    {
        TTreeEditor editor;
        editor.show();
        QVERIFY(!editor.PropertyPages()->SmoothDrawing());
        editor.PropertyPages()->SetSmoothDrawing(true);
        QVERIFY(editor.Tree()->Canvas()->Antialiased());
        QVERIFY(!editor.Modified());
        editor.close();
    }
    TTreeEditor again;
    again.show();
    QVERIFY(again.PropertyPages()->SmoothDrawing());
    QVERIFY(again.Tree()->Canvas()->Antialiased());
}

QTEST_MAIN(TestEditorPanels)
#include "tst_editor_panels.moc"
