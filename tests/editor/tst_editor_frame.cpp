// What frames the diagram in the editor window: the rulers (bound to each
// document, following the View menu, the Grid page and the settings, the
// marker following the pointer), the page panel of the status bar, and the
// docked animation editor kept open from one session to the next.

#include "EditorTestUtil.h"

#include "editor/TreeCommands.h"
#include "editor/TreePropertyPages.h"
#include "editor/TreeStatusBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QSpinBox>

class TestEditorFrame : public TEditorWindowTest
{
    Q_OBJECT
private slots:
    void rulersFollowEveryDocument();
    void rulersFollowTheirControls_data();
    void rulersFollowTheirControls();
    void rulerSettingsAreRead();
    void markerFollowsThePointer();
    void gridSizeRedrawsTheRulers();
    void pagePanel_data();
    void pagePanel();
    void animationEditorIsKeptOpen_data();
    void animationEditorIsKeptOpen();

private:
    std::unique_ptr<TTreeEditor1> Editor() { return ShownEditor(FBase.filePath(QStringLiteral("recovery"))); }
};

void TestEditorFrame::rulersFollowEveryDocument()
{
    auto editor = Editor();
    TTreeRuler *h = editor->HorizontalRuler();
    TTreeRuler *v = editor->VerticalRuler();
    QVERIFY(!h->Vertical());
    QVERIFY(v->Vertical());
    QCOMPARE(h->Tree(), editor->Tree());
    QCOMPARE(v->Tree(), editor->Tree());
    QVERIFY(editor->PanelTree()->isAncestorOf(h));
    // Above the diagram and left of it.
    QVERIFY(h->isVisibleTo(editor.get()) && v->isVisibleTo(editor.get()));
    editor->FileNew();
    QCOMPARE(h->Tree(), editor->Tree());
    QCOMPARE(v->Tree(), editor->Tree());
    const QString file = WriteDiagram(FBase.filePath(QStringLiteral("r.abx")), {QStringLiteral("A")});
    QVERIFY(editor->ReadFile(file));
    QCOMPARE(h->Tree(), editor->Tree());
    QCOMPARE(v->Tree(), editor->Tree());
}

void TestEditorFrame::rulersFollowTheirControls_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("View menu") << QStringLiteral("menu");
    QTest::newRow("Grid page: Visible") << QStringLiteral("Rulers visible");
    QTest::newRow("Grid page: Units") << QStringLiteral("Rulers units");
    QTest::newRow("Grid page: unit list") << QStringLiteral("Rulers unit list");
}

void TestEditorFrame::rulersFollowTheirControls()
{
    QFETCH(QString, control);
    auto editor = Editor();
    TTreeRuler *h = editor->HorizontalRuler();
    TTreeRuler *v = editor->VerticalRuler();
    TTreePropertyPages *pages = editor->PropertyPages();
    using TP = TTreePropertyPages;
    if (control == QLatin1String("menu")) {
        QAction *rulers = editor->Commands()->Action(cmRulers);
        rulers->trigger();
        QVERIFY(h->isHidden() && v->isHidden());
        QVERIFY(!editor->BandVisible(ebRulers));
        // The page shows what the menu did.
        pages->Refresh();
        QVERIFY(!pages->ControlAs<QCheckBox>(TP::ppGrid, QStringLiteral("Rulers visible"))->isChecked());
        rulers->trigger();
        QVERIFY(!h->isHidden() && !v->isHidden());
    } else if (control == QLatin1String("Rulers visible")) {
        auto *box = pages->ControlAs<QCheckBox>(TP::ppGrid, control);
        QVERIFY(box && box->isEnabled() && box->isChecked());
        box->click();
        QVERIFY(h->isHidden() && v->isHidden());
        QVERIFY(!editor->Commands()->Action(cmRulers)->isChecked() || !editor->BandVisible(ebRulers));
    } else if (control == QLatin1String("Rulers units")) {
        auto *box = pages->ControlAs<QCheckBox>(TP::ppGrid, control);
        QVERIFY(box && box->isChecked());
        box->click();
        QVERIFY(!h->ShowUnits() && !v->ShowUnits());
        QVERIFY(!editor->RulersShowUnits());
        box->click();
        QVERIFY(h->ShowUnits() && v->ShowUnits());
    } else {
        auto *list = pages->ControlAs<QComboBox>(TP::ppGrid, control);
        QVERIFY(list && list->isEnabled());
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->currentIndex(), 0);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(h->Units(), ruCentimeters);
        QCOMPARE(v->Units(), ruCentimeters);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(h->Units(), ruInches);
        QCOMPARE(v->Units(), ruInches);
        QCOMPARE(editor->RulersUnits(), ruInches);
    }
    // None of it is an edit of the document.
    QVERIFY(!editor->Modified());
}

void TestEditorFrame::rulerSettingsAreRead()
{
    {
        const auto settings = OpenDendrixSettings();
        settings->setValue(QStringLiteral("Rulers"), false);
        settings->setValue(QStringLiteral("RulersUnits"), false);
    }
    auto editor = Editor();
    QVERIFY(editor->HorizontalRuler()->isHidden());
    QVERIFY(editor->VerticalRuler()->isHidden());
    QVERIFY(!editor->HorizontalRuler()->ShowUnits());
    QVERIFY(!editor->VerticalRuler()->ShowUnits());
    editor->SetBandVisible(ebRulers, true);
    QVERIFY(editor->close());
    const auto settings = OpenDendrixSettings();
    QCOMPARE(settings->value(QStringLiteral("Rulers")).toBool(), true);
    QCOMPARE(settings->value(QStringLiteral("RulersUnits")).toBool(), false);
}

void TestEditorFrame::markerFollowsThePointer()
{
    auto editor = Editor();
    editor->resize(800, 600);
    QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
    TTree *tree = editor->Tree();
    tree->repaint();
    QTRY_VERIFY(tree->Drawn());
    TTreeRuler *h = editor->HorizontalRuler();
    TTreeRuler *v = editor->VerticalRuler();
    QCOMPARE(h->MarkerPosition(), -1);
    const QPoint at(120, 90);
    QTest::mouseMove(tree, at);
    // Along each ruler: the pointer's place in the diagram, shifted by
    // where the diagram starts beside the ruler.
    const QPoint offset = tree->mapTo(editor.get(), QPoint(0, 0));
    QTRY_COMPARE(h->MarkerPosition(), at.x() + offset.x() - h->mapTo(editor.get(), QPoint(0, 0)).x() + 2);
    QCOMPARE(v->MarkerPosition(), at.y() + offset.y() - v->mapTo(editor.get(), QPoint(0, 0)).y() + 2);
    QTest::mouseMove(tree, at + QPoint(30, 40));
    QTRY_COMPARE(h->MarkerPosition(), at.x() + 30 + offset.x() - h->mapTo(editor.get(), QPoint(0, 0)).x() + 2);
}

void TestEditorFrame::gridSizeRedrawsTheRulers()
{
    auto editor = Editor();
    editor->resize(800, 600);
    QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
    TTree *tree = editor->Tree();
    TTreeRuler *h = editor->HorizontalRuler();
    tree->repaint();
    h->repaint();
    const QImage before = h->Picture();
    QVERIFY(!before.isNull());
    // The Grid page's step: the diagram draws again, the rulers with it.
    editor->SetBandVisible(ebPropertyPages, true);
    auto *size = editor->PropertyPages()->ControlAs<QSpinBox>(TTreePropertyPages::ppGrid, QStringLiteral("Size"));
    QVERIFY(size);
    size->setValue(25);
    QCOMPARE(tree->GridStep(), 25);
    tree->repaint();
    h->repaint();
    QVERIFY(h->Picture() != before);
}

void TestEditorFrame::pagePanel_data()
{
    QTest::addColumn<QList<int>>("tops");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("shown");
    // Pages of 500 pixels; a node is 20 or so high.
    QTest::newRow("empty") << QList<int>() << 1 << QStringLiteral("1/1");
    QTest::newRow("one page") << QList<int>({10, 300}) << 1 << QStringLiteral("1/1");
    QTest::newRow("three pages") << QList<int>({10, 1200}) << 1 << QStringLiteral("1/3");
    QTest::newRow("on the second") << QList<int>({10, 1200}) << 2 << QStringLiteral("2/3");
    QTest::newRow("on the last") << QList<int>({10, 1200}) << 3 << QStringLiteral("3/3");
    QTest::newRow("beyond the last") << QList<int>({10, 1200}) << 4 << QStringLiteral("1/3");
}

void TestEditorFrame::pagePanel()
{
    QFETCH(QList<int>, tops);
    QFETCH(int, page);
    QFETCH(QString, shown);
    // The document as a file, read as the user opens it.
    const QString name = FBase.filePath(QStringLiteral("pages.abx"));
    {
        TComponent host;
        host.SetName(QStringLiteral("TreeEditor1"));
        auto paper = std::make_unique<TTree>(&host);
        paper->SetNoOwnerShapes(false);
        paper->Page()->SetHeight(500);
        // Each where it was put, not stacked by the automatic layout.
        for (int top : tops)
            paper->AddShape(10, top, nullptr, QStringLiteral("N"))->AutoPosition()->SetTop(false);
        SaveDiagramFile(*paper, name);
    }
    auto editor = Editor();
    QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
    QVERIFY(editor->ReadFile(name));
    TTree *tree = editor->Tree();
    tree->grab();
    tree->Page()->SetPageNumber(page);
    tree->grab();
    TTreeStatusBar *bar = editor->StatusBar();
    QCOMPARE(bar->PanelText(TTreeStatusBar::spPage), shown);
    // A new document starts on its only page.
    editor->SetModified(false);
    editor->FileNew();
    editor->Tree()->grab();
    QCOMPARE(bar->PanelText(TTreeStatusBar::spPage), QStringLiteral("1/1"));
}

void TestEditorFrame::animationEditorIsKeptOpen_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<int>("height");
    QTest::newRow("open") << true << 180;
    QTest::newRow("closed after showing") << false << 180;
}

void TestEditorFrame::animationEditorIsKeptOpen()
{
    QFETCH(bool, open);
    QFETCH(int, height);
    {
        auto editor = Editor();
        editor->resize(900, 700);
        QVERIFY(!editor->BandVisible(ebAnimationEditor));
        editor->SetBandVisible(ebAnimationEditor, true);
        QVERIFY(editor->BandVisible(ebAnimationEditor));
        auto *dock = editor->findChild<QDockWidget *>(QStringLiteral("AnimationEditorDock"));
        QVERIFY(dock);
        editor->resizeDocks({dock}, {height}, Qt::Vertical);
        QCoreApplication::processEvents();
        const int shownHeight = dock->height();
        if (!open)
            editor->SetBandVisible(ebAnimationEditor, false);
        QVERIFY(editor->close());
        const auto settings = OpenDendrixSettings();
        QCOMPARE(settings->value(QStringLiteral("AnimationEditor")).toBool(), open);
        QCOMPARE(settings->value(QStringLiteral("AnimationEditorHeight")).toInt(), shownHeight);
    }
    auto again = Editor();
    QCOMPARE(again->BandVisible(ebAnimationEditor), open);
    QVERIFY(again->AnimationEditorHeight() > 1);
    QCOMPARE(bool(again->AnimationEditor()), open);
}

QTEST_MAIN(TestEditorFrame)
#include "tst_editor_frame.moc"
