// A diagram handed to an editor window by its owner: edited in the
// window's place and given back, when the window closes, exactly as it
// was handed over (with the edits made meanwhile); and the window's own
// diagram, which closing returns to the values it was created with.

#include "EditorTestUtil.h"

#include "editor/SavedTreeState.h"
#include "model/PolygonShape.h"
#include "view/TreeInteraction.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>

namespace {

enum THostKind { hkBoxLayout, hkGridLayout, hkNoLayout, hkNoParent };

// What the window may change of a diagram, read back for comparison.
struct TTreeLook
{
    Qt::ContextMenuPolicy Menu;
    QRect Bounds;
    bool AllowZoom;
    TPanningMode Panning;
    TAlign Align;
    QSizePolicy Anchors;
    QWidget *Parent;
    int LayoutIndex;
    bool Designing, HostDesigning, Grid, Hidden, HiddenExplicitly;

    static TTreeLook Of(TTree &tree)
    {
        QWidget *parent = tree.parentWidget();
        return {tree.contextMenuPolicy(),
                tree.geometry(),
                tree.AllowZoom(),
                tree.AllowPanning(),
                tree.Align(),
                tree.sizePolicy(),
                parent,
                parent && parent->layout() ? parent->layout()->indexOf(&tree) : -1,
                tree.Designing(),
                static_cast<TComponent &>(tree).IsDesigning(),
                tree.Grid()->Visible(),
                tree.isHidden(),
                tree.testAttribute(Qt::WA_WState_ExplicitShowHide)};
    }
};

void CompareLooks(const TTreeLook &now, const TTreeLook &before)
{
    QCOMPARE(now.Menu, before.Menu);
    QCOMPARE(now.Bounds, before.Bounds);
    QCOMPARE(now.AllowZoom, before.AllowZoom);
    QCOMPARE(now.Panning, before.Panning);
    QCOMPARE(now.Align, before.Align);
    QCOMPARE(now.Anchors, before.Anchors);
    QCOMPARE(now.Parent, before.Parent);
    QCOMPARE(now.LayoutIndex, before.LayoutIndex);
    QCOMPARE(now.Designing, before.Designing);
    QCOMPARE(now.HostDesigning, before.HostDesigning);
    QCOMPARE(now.Grid, before.Grid);
    QCOMPARE(now.Hidden, before.Hidden);
    QCOMPARE(now.HiddenExplicitly, before.HiddenExplicitly);
}

// A host window with a diagram among other widgets, every handler of the
// diagram counting its calls.
struct THost
{
    TComponent Owner;
    std::unique_ptr<QWidget> Window;
    TTree *Tree = nullptr;
    std::unique_ptr<TTree> Orphan;
    QMap<QString, int> Calls;

    THost(THostKind kind, bool hidden)
    {
        Owner.SetName(QStringLiteral("HostForm"));
        if (kind != hkNoParent)
            Window = std::make_unique<QWidget>();
        QWidget *parent = Window.get();
        if (kind == hkNoParent) {
            Orphan = std::make_unique<TTree>(&Owner);
            Tree = Orphan.get();
        } else {
            Tree = new TTree(&Owner, parent);
        }
        if (kind == hkBoxLayout) {
            auto *column = new QVBoxLayout(parent);
            column->addWidget(new QLabel(QStringLiteral("above"), parent));
            column->addWidget(Tree, 3);
            column->addWidget(new QLabel(QStringLiteral("below"), parent));
        } else if (kind == hkGridLayout) {
            auto *grid = new QGridLayout(parent);
            grid->addWidget(new QLabel(QStringLiteral("corner"), parent), 0, 0);
            grid->addWidget(Tree, 1, 1, 2, 1);
        }
        Tree->SetNoOwnerShapes(false);
        Tree->AddShape(10, 10, nullptr, QStringLiteral("Kept"));
        const auto count = [this](const char *name) { return [this, name](auto &&...) { ++Calls[QLatin1String(name)]; }; };
        Tree->OnAfterDraw = count("AfterDraw");
        Tree->OnBeforeDraw = count("BeforeDraw");
        Tree->OnMouseDown = count("MouseDown");
        Tree->OnMouseMove = count("MouseMove");
        Tree->OnMouseUp = count("MouseUp");
        Tree->OnChanging = count("Changing");
        Tree->OnClickBackground = count("ClickBackground");
        Tree->OnDblClickShape = count("DblClickShape");
        Tree->OnDblClickConnection = count("DblClickConnection");
        Tree->setContextMenuPolicy(Qt::ActionsContextMenu);
        Tree->SetAllowZoom(false);
        Tree->SetAllowPanning(pmNone);
        Tree->SetAlign(alTop);
        Tree->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Minimum);
        Tree->setGeometry(7, 9, 321, 123);
        Tree->SetDesigning(false);
        Tree->Grid()->SetVisible(false);
        if (hidden)
            Tree->hide();
    }

    // Fires every handler once; answers how many reached the owner's.
    int FireAll()
    {
        const int before = Total();
        bool allow = true;
        TTreeNodeShape *node = Tree->Shapes().Items(0);
        Fire(Tree->OnAfterDraw, nullptr);
        Fire(Tree->OnBeforeDraw, nullptr);
        Fire(Tree->OnMouseDown, nullptr, mbLeft, TShiftState(), 1, 1);
        Fire(Tree->OnMouseMove, nullptr, TShiftState(), 1, 1);
        Fire(Tree->OnMouseUp, nullptr, mbLeft, TShiftState(), 1, 1);
        Fire(Tree->OnChanging, Tree, node, allow);
        Fire(Tree->OnClickBackground, nullptr, mbLeft, TShiftState(), 1, 1);
        Fire(Tree->OnDblClickShape, node, mbLeft, TShiftState(), 1, 1);
        Fire(Tree->OnDblClickConnection, nullptr, mbLeft, TShiftState(), 1, 1);
        return Total() - before;
    }
    int Total() const
    {
        int n = 0;
        for (int c : Calls)
            n += c;
        return n;
    }
};

} // namespace

class TestBorrowedTree : public TEditorWindowTest
{
    Q_OBJECT
private slots:
    void comesBackAsItWas_data();
    void comesBackAsItWas();
    void aWindowFreedUnclosedGivesItBack();
    void newAndOpenWorkOnTheSameDiagram();
    void onlyBeforeTheFirstShowing();
    void theOwnDiagramReturnsToItsCreationValues();

private:
    std::unique_ptr<TTreeEditor1> Window()
    {
        auto editor = std::make_unique<TTreeEditor1>();
        editor->SetOffersRecovery(false);
        editor->Recovery()->SetFolder(FBase.filePath(QStringLiteral("recovery")));
        return editor;
    }
};

void TestBorrowedTree::comesBackAsItWas_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("hidden");
    QTest::newRow("in a box layout") << int(hkBoxLayout) << false;
    QTest::newRow("hidden in a box layout") << int(hkBoxLayout) << true;
    QTest::newRow("in a grid layout") << int(hkGridLayout) << false;
    QTest::newRow("in a parent without layout") << int(hkNoLayout) << false;
    QTest::newRow("hidden in a parent without layout") << int(hkNoLayout) << true;
    QTest::newRow("without parent") << int(hkNoParent) << false;
}

void TestBorrowedTree::comesBackAsItWas()
{
    QFETCH(int, kind);
    QFETCH(bool, hidden);
    THost host(THostKind(kind), hidden);
    TTree *tree = host.Tree;
    const TTreeLook before = TTreeLook::Of(*tree);
    QGridLayout *grid = host.Window ? qobject_cast<QGridLayout *>(host.Window->layout()) : nullptr;
    auto *box = host.Window ? qobject_cast<QBoxLayout *>(host.Window->layout()) : nullptr;
    const int stretch = box ? box->stretch(box->indexOf(tree)) : 0;
    {
        auto editor = Window();
        QVERIFY(editor->EditTree(tree));
        editor->show();
        QCOMPARE(editor->Tree(), tree);
        QVERIFY(!editor->OwnsTree());
        // Ready for editing, in the window's place, the owner's handlers
        // silent meanwhile.
        QVERIFY(editor->PanelTree()->isAncestorOf(tree));
        QVERIFY(tree->isVisibleTo(editor.get()));
        QVERIFY(tree->Designing());
        QVERIFY(tree->Grid()->Visible());
        QVERIFY(tree->AllowZoom());
        QCOMPARE(tree->AllowPanning(), pmBoth);
        QCOMPARE(tree->contextMenuPolicy(), Qt::PreventContextMenu);
        QCOMPARE(host.FireAll(), 0);
        QCOMPARE(editor->HorizontalRuler()->Tree(), tree);
        // An edit, and the selection and creation mode it leaves.
        TTreeNodeShape *added = tree->AddShape(200, 50, nullptr, QStringLiteral("Added"));
        QVERIFY(editor->Modified());
        added->SetSelected(true);
        QVERIFY(tree->Interaction().OnRectangle);
        // The owner saves it: closing asks nothing.
        QVERIFY(editor->close());
        QVERIFY((*FPrompts)->CallsOf(QStringLiteral("Ask")).empty());
        CompareLooks(TTreeLook::Of(*tree), before);
        if (grid) {
            int row, column, rows, columns;
            grid->getItemPosition(grid->indexOf(tree), &row, &column, &rows, &columns);
            QCOMPARE(QList<int>({row, column, rows, columns}), QList<int>({1, 1, 2, 1}));
        }
        if (box)
            QCOMPARE(box->stretch(box->indexOf(tree)), stretch);
        QCOMPARE(host.FireAll(), 9);
        QVERIFY(!tree->Interaction().OnRectangle);
        QVERIFY(!tree->Interaction().OnAdded);
        QCOMPARE(tree->Selected().Count(), 0);
        QCOMPARE(TreeTexts(tree), QStringList({QStringLiteral("Kept"), QStringLiteral("Added")}));
        // Let go: edits now are the owner's alone.
        QVERIFY(!editor->Tree());
        tree->AddShape(300, 50, nullptr, QStringLiteral("Later"));
        QVERIFY(!editor->HorizontalRuler()->Tree());
    }
    // The window is gone, the diagram is not.
    QCOMPARE(tree->Shapes().Count(), 3);
    tree->Clear();
}

void TestBorrowedTree::aWindowFreedUnclosedGivesItBack()
{
    THost host(hkBoxLayout, false);
    const TTreeLook before = TTreeLook::Of(*host.Tree);
    {
        auto editor = Window();
        QVERIFY(editor->EditTree(host.Tree));
        editor->show();
        QVERIFY(editor->PanelTree()->isAncestorOf(host.Tree));
    }
    CompareLooks(TTreeLook::Of(*host.Tree), before);
    QCOMPARE(host.FireAll(), 9);
}

void TestBorrowedTree::newAndOpenWorkOnTheSameDiagram()
{
    THost host(hkBoxLayout, false);
    TTree *tree = host.Tree;
    const QString file = WriteDiagram(FBase.filePath(QStringLiteral("two.abx")), {QStringLiteral("A"), QStringLiteral("B")});
    const QString junk = FBase.filePath(QStringLiteral("junk.abx"));
    {
        QFile f(junk);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("no diagram at all");
    }
    auto editor = Window();
    QVERIFY(editor->EditTree(tree));
    editor->show();
    tree->AddShape(100, 100, nullptr, QStringLiteral("Unsaved"));
    QVERIFY(editor->ReadFileAsking(file, true));
    // No question: the owner keeps the diagram.
    QVERIFY((*FPrompts)->CallsOf(QStringLiteral("Ask")).empty());
    QCOMPARE(editor->Tree(), tree);
    QCOMPARE(TreeTexts(tree), QStringList({QStringLiteral("A"), QStringLiteral("B")}));
    QCOMPARE(editor->FileName(), QFileInfo(file).absoluteFilePath());
    QVERIFY(!editor->Modified());
    // A file that holds no diagram leaves it as it was.
    QVERIFY(!editor->ReadFile(junk));
    QCOMPARE(TreeTexts(tree), QStringList({QStringLiteral("A"), QStringLiteral("B")}));
    // New empties the same object, still ready for editing.
    editor->FileNew();
    QCOMPARE(editor->Tree(), tree);
    QCOMPARE(tree->Shapes().Count(), 0);
    QVERIFY(tree->Grid()->Visible());
    QVERIFY(!host.Tree->OnMouseDown);
    tree->AddShape(10, 10, nullptr, QStringLiteral("Fresh"));
    QVERIFY(editor->close());
    QCOMPARE(TreeTexts(tree), QStringList({QStringLiteral("Fresh")}));
    QCOMPARE(tree->parentWidget(), host.Window.get());
    QCOMPARE(host.FireAll(), 9);
}

void TestBorrowedTree::onlyBeforeTheFirstShowing()
{
    THost host(hkNoLayout, false);
    auto editor = Window();
    QVERIFY(!editor->EditTree(nullptr));
    editor->show();
    QVERIFY(editor->OwnsTree());
    QVERIFY(!editor->EditTree(host.Tree));
    QCOMPARE(host.Tree->parentWidget(), host.Window.get());
    QVERIFY(editor->Tree() != host.Tree);
}

void TestBorrowedTree::theOwnDiagramReturnsToItsCreationValues()
{
    auto editor = Window();
    editor->show();
    TTree *tree = editor->Tree();
    QVERIFY(editor->OwnsTree());
    QVERIFY(tree->Designing());
    TTreeNodeShape *node = tree->AddShape(10, 10, nullptr, QStringLiteral("N"));
    node->SetSelected(true);
    tree->Interaction().StartAdding(&TPolygonShape::StaticClassInfo());
    QVERIFY(tree->Interaction().AddingClass());
    (*FPrompts)->Answers = {paNo};
    QVERIFY(editor->close());
    // What a new diagram has, where the window keeps it.
    const TTree fresh;
    QCOMPARE(tree->Designing(), fresh.Designing());
    QCOMPARE(tree->Grid()->Visible(), fresh.Grid()->Visible());
    QCOMPARE(tree->AllowZoom(), fresh.AllowZoom());
    QCOMPARE(tree->AllowPanning(), fresh.AllowPanning());
    QCOMPARE(tree->contextMenuPolicy(), fresh.contextMenuPolicy());
    QCOMPARE(tree->Align(), fresh.Align());
    QVERIFY(editor->PanelTree()->isAncestorOf(tree));
    QCOMPARE(tree->Selected().Count(), 0);
    QVERIFY(!tree->Interaction().OnRectangle);
    QVERIFY(!tree->Interaction().AddingClass());
    QCOMPARE(editor->Tree(), tree);
}

QTEST_MAIN(TestBorrowedTree)
#include "tst_borrowed_tree.moc"
