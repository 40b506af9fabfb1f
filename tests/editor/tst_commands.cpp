// The editor's commands against a small host window: the enable and check
// rules of the menus, the nodes the Insert menu names, align, order and
// search, the clipboard with its guarded cut and the system clipboard, the
// import with its cancel, the palette and the context menus.

#include "CommandsTestUtil.h"

#include "canvas/KorGradient.h"
#include "canvas/View3DOptions.h"
#include "dialogs/TreeShEd.h"

#include <QClipboard>
#include <QMimeData>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// root A with children A1, A2, A3 (A2 has A21), root B.
struct TSample
{
    TTreeNodeShape *A, *A1, *A2, *A21, *A3, *B;
    explicit TSample(TTree *t)
    {
        A = t->AddRoot(QStringLiteral("A"));
        A1 = A->AddChild(QStringLiteral("A1"));
        A2 = A->AddChild(QStringLiteral("A2"));
        A21 = A2->AddChild(QStringLiteral("A21"));
        A3 = A->AddChild(QStringLiteral("A3"));
        B = t->AddRoot(QStringLiteral("B"));
        t->ExpandAll(true);
    }
};

bool WriteText(const QString &name, const QByteArray &bytes)
{
    QFile f(name);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { InitCommandTests(); }
    void init() { QGuiApplication::clipboard()->clear(); }

    void menuRules_data();
    void menuRules();
    void formatChecks();
    void zoomChecks_data();
    void zoomChecks();
    void insertedNodesAreNumbered_data();
    void insertedNodesAreNumbered();
    void newParentConnectsTheSelection();
    void pruneMakesRoots();
    void alignToGrid_data();
    void alignToGrid();
    void alignPage_data();
    void alignPage();
    void order();
    void search_data();
    void search();
    void cutThenPasteLeavesOneCopyUnderThePointer();
    void cutIsGuarded_data();
    void cutIsGuarded();
    void pasteOutsideKeepsPosition();
    void copyPutsTheOutlineOnTheSystemClipboard();
    void pastingTextImportsIt();
    void pastingBytesThatAreNoDiagramIsRefused();
    void pastingAnotherWindowsDiagram();
    void importText();
    void importTextCancelledLeavesTheDocument();
    void importDiagramKeepsHierarchyConnectionsAndNames();
    void importUnreadableFileIsReported();
    void paletteDoubleClickCreatesANode();
    void paletteDragCreatesANode();
    void palettePages();
    void contextMenus();
    void colorWithoutSelectionPaintsTheDiagram();
    void cancelledFontDialogChangesNothing();
    void styleAndToggles();
    void viewToggles();
    void linkNodesByClicking();
    void helpAndAbout();
};

// ---------------------------------------------------------------------------
// Menu rules

void TestCommands::menuRules_data()
{
    QTest::addColumn<QStringList>("select");
    QTest::addColumn<bool>("connection");
    // cut/copy/delete, new child/parent, new brother, style/pattern,
    // border/font, prune
    QTest::addColumn<QList<bool>>("enabled");
    QTest::newRow("nothing") << QStringList{} << false << QList<bool>{false, false, false, false, false, false};
    QTest::newRow("a root") << QStringList{"A"} << false << QList<bool>{true, true, false, true, true, false};
    QTest::newRow("a child") << QStringList{"A2"} << false << QList<bool>{true, true, true, true, true, true};
    QTest::newRow("several, first a root") << QStringList{"B", "A1"} << false
                                           << QList<bool>{true, true, false, true, true, true};
    QTest::newRow("a connection") << QStringList{} << true << QList<bool>{true, false, false, false, true, false};
}

void TestCommands::menuRules()
{
    QFETCH(QStringList, select);
    QFETCH(bool, connection);
    QFETCH(QList<bool>, enabled);
    TTestHost host;
    TTree *t = host.Tree();
    TSample s(t);
    t->Selected().Clear();
    for (const QString &name : select)
        NodeNamed(t, name)->SetSelected(true);
    if (connection)
        t->Connections().SetSelected(s.A->ConnectionTo(s.A2));
    TTreeCommands *c = host.Commands;
    c->UpdateAll();
    QCOMPARE(c->Action(cmCut)->isEnabled(), enabled[0] && !connection);
    QCOMPARE(c->Action(cmCopy)->isEnabled(), enabled[0] && !connection);
    QCOMPARE(c->Action(cmDelete)->isEnabled(), enabled[0]);
    QCOMPARE(c->Action(cmNewChild)->isEnabled(), enabled[1]);
    QCOMPARE(c->Action(cmNewParent)->isEnabled(), enabled[1]);
    QCOMPARE(c->Action(cmNewBrother)->isEnabled(), enabled[2]);
    QCOMPARE(c->StyleMenu()->menuAction()->isEnabled(), enabled[3]);
    QCOMPARE(c->Action(cmPattern)->isEnabled(), enabled[3]);
    QCOMPARE(c->Action(cmTransparent)->isEnabled(), enabled[3]);
    QCOMPARE(c->Action(cmBorder)->isEnabled(), enabled[4]);
    QCOMPARE(c->Action(cmFont)->isEnabled(), enabled[4]);
    QCOMPARE(c->Action(cmPrune)->isEnabled(), enabled[5]);
    // Nothing copied yet; a copy enables Paste.
    QVERIFY(!c->Action(cmPaste)->isEnabled());
    QVERIFY(c->Action(cmLinkNodes)->isEnabled());
    if (!select.isEmpty()) {
        c->Copy();
        c->UpdateEditMenu();
        QVERIFY(c->Action(cmPaste)->isEnabled());
    }
    // An empty diagram has nothing to link.
    host.Replace();
    c->UpdateAll();
    QVERIFY(!c->Action(cmLinkNodes)->isEnabled());
}

void TestCommands::formatChecks()
{
    TTestHost host;
    TTree *t = host.Tree();
    TSample s(t);
    TTreeCommands *c = host.Commands;
    s.A2->SetStyle(tssTriangleLeft);
    s.A2->SetTransparent(true);
    s.A2->Gradient()->SetVisible(true);
    SelectNodes(t, {s.A2, s.A1});
    c->UpdateFormatMenu();
    QVERIFY(c->Action(cmStyleTriangleLeft)->isChecked());
    QVERIFY(!c->Action(cmStyleRectangle)->isChecked());
    QVERIFY(c->Action(cmTransparent)->isChecked());
    QVERIFY(c->Action(cmGradient)->isChecked());
    QVERIFY(!c->Action(cmClipText)->isChecked());
    // The triangle submenu shows that one of its styles is in force.
    const QList<QAction *> items = c->StyleMenu()->actions();
    auto submenu = [&](const QString &caption) {
        for (QAction *a : items)
            if (a->text() == caption)
                return a;
        return static_cast<QAction *>(nullptr);
    };
    QVERIFY(submenu(QStringLiteral("&Triangle"))->isChecked());
    QVERIFY(!submenu(QStringLiteral("&Line"))->isChecked());
    SelectNodes(t, {s.A1, s.A2});
    c->UpdateFormatMenu();
    QVERIFY(c->Action(cmStyleRectangle)->isChecked());
    QVERIFY(!c->Action(cmTransparent)->isChecked());
    QVERIFY(!submenu(QStringLiteral("&Triangle"))->isChecked());
    // Without a selection the gradient check is the diagram's.
    t->Selected().Clear();
    t->Gradient()->SetVisible(true);
    c->UpdateFormatMenu();
    QVERIFY(c->Action(cmGradient)->isChecked());
    QVERIFY(!c->Action(cmStyleRectangle)->isChecked());
}

void TestCommands::zoomChecks_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("checked"); // command, -1 none
    QTest::newRow("200") << 200 << int(cmZoom200);
    QTest::newRow("75") << 75 << int(cmZoom75);
    QTest::newRow("5") << 5 << int(cmZoom5);
    QTest::newRow("1 is never checked") << 1 << -1;
    QTest::newRow("not in the list") << 333 << -1;
}

void TestCommands::zoomChecks()
{
    QFETCH(int, zoom);
    QFETCH(int, checked);
    TTestHost host;
    TTreeCommands *c = host.Commands;
    QCOMPARE(c->SetZoom(zoom), zoom);
    QVERIFY(host.Modified());
    c->UpdateViewMenu();
    for (int i = cmZoom200; i <= cmZoom1; ++i)
        QCOMPARE(c->Action(TTreeCommand(i))->isChecked(), i == checked);
    // The menu entry sets the zoom; Zoom In adds ten.
    c->Action(cmZoom50)->trigger();
    QCOMPARE(host.Tree()->View3DOptions()->Zoom(), 50);
    c->ZoomBy(10);
    QCOMPARE(host.Tree()->View3DOptions()->Zoom(), 60);
}

// ---------------------------------------------------------------------------
// Insert

void TestCommands::insertedNodesAreNumbered_data()
{
    QTest::addColumn<QString>("select");
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("parent");
    QTest::newRow("child of a node with three") << "A" << int(cmNewChild) << "Child 4" << "A";
    QTest::newRow("brother of the third of three") << "A3" << int(cmNewBrother) << "Child 4" << "A";
    QTest::newRow("child of a leaf") << "A1" << int(cmNewChild) << "Child 1" << "A1";
    QTest::newRow("root beside two") << "" << int(cmNewRoot) << "Root 3" << "";
    QTest::newRow("root with a selection") << "A21" << int(cmNewRoot) << "Root 3" << "";
}

void TestCommands::insertedNodesAreNumbered()
{
    QFETCH(QString, select);
    QFETCH(int, command);
    QFETCH(QString, text);
    QFETCH(QString, parent);
    TTestHost host;
    TTree *t = host.Tree();
    TSample s(t);
    t->Selected().Clear();
    if (!select.isEmpty())
        NodeNamed(t, select)->SetSelected(true);
    host.Steps.clear();
    // The menus follow the selection as soon as the events are processed.
    QCoreApplication::processEvents();
    host.Commands->Action(TTreeCommand(command))->trigger();
    TTreeNodeShape *made = NodeNamed(t, text);
    QVERIFY(made);
    QCOMPARE(made->Parent() ? made->Parent()->SimpleText() : QString(), parent);
    // The new node alone is selected, the whole command one step.
    QCOMPARE(SelectedTexts(t), QStringList{text});
    QCOMPARE(host.Steps.size(), 1);
    QVERIFY(host.Modified());
    if (command == cmNewBrother)
        QCOMPARE(made->BrotherIndex(), 3);
}

void TestCommands::newParentConnectsTheSelection()
{
    TTestHost host;
    TTree *t = host.Tree();
    TSample s(t);
    // A connection from elsewhere stays as it is.
    s.B->AddConnection(s.A1);
    SelectNodes(t, {s.A1, s.A3});
    host.Commands->AddNewParent();
    TTreeNodeShape *root = NodeNamed(t, QStringLiteral("Root 3"));
    QVERIFY(root);
    QVERIFY(!root->Parent());
    QCOMPARE(root->ConnectionTo(s.A1)->Style(), csLine);
    QCOMPARE(root->ConnectionTo(s.A3)->Style(), csLine);
    QCOMPARE(root->ConnectionCount(), 2);
    QCOMPARE(s.A1->Parent(), s.A); // the hierarchy stays
    QCOMPARE(SelectedTexts(t), QStringList{"Root 3"});
}

void TestCommands::pruneMakesRoots()
{
    TTestHost host;
    TTree *t = host.Tree();
    TSample s(t);
    SelectNodes(t, {s.A21, s.A1});
    host.Commands->Prune();
    QCOMPARE(Outline(t), QStringLiteral("A\n A2\n A3\nB\nA21\nA1\n"));
}

// ---------------------------------------------------------------------------
// Align and order

void TestCommands::alignToGrid_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("newLeft");
    QTest::addColumn<int>("newTop");
    QTest::newRow("14 down to 10") << 10 << 14 << 30 << 10 << 30;
    QTest::newRow("16 up to 20") << 10 << 16 << 30 << 20 << 30;
    QTest::newRow("15 down to 10") << 10 << 15 << 35 << 10 << 30;
    QTest::newRow("on the grid") << 10 << 40 << 40 << 40 << 40;
    QTest::newRow("step 8") << 8 << 13 << 3 << 16 << 0;
}

void TestCommands::alignToGrid()
{
    QFETCH(int, step);
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(int, newLeft);
    QFETCH(int, newTop);
    TTestHost host;
    TTree *t = host.Tree();
    t->SetGridStep(step);
    TTreeNodeShape *n = t->AddShape(left, top, nullptr, QStringLiteral("N"));
    n->SetAutoSize(false);
    n->SetX1(left + 30);
    n->SetY1(top + 20);
    TTreeNodeShape *other = t->AddShape(103, 107, nullptr, QStringLiteral("O"));
    SelectNodes(t, {n});
    host.Commands->AlignToGrid();
    QCOMPARE(n->X0(), newLeft);
    QCOMPARE(n->Y0(), newTop);
    QCOMPARE(n->Width(), 30); // the size stays
    QCOMPARE(other->X0(), 103);
}

void TestCommands::alignPage_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<int>>("expected"); // second node: x0, y0, x1, y1
    QTest::newRow("left") << int(akLeft) << QList<int>{10, 100, 50, 140};
    QTest::newRow("right") << int(akRight) << QList<int>{20, 100, 60, 140};
    QTest::newRow("top") << int(akTop) << QList<int>{70, 10, 110, 50};
    QTest::newRow("bottom") << int(akBottom) << QList<int>{70, -20, 110, 20};
    QTest::newRow("min width") << int(akMinWidth) << QList<int>{70, 100, 110, 140};
    QTest::newRow("max width") << int(akMaxWidth) << QList<int>{70, 100, 120, 140};
    QTest::newRow("min height") << int(akMinHeight) << QList<int>{70, 100, 110, 110};
    QTest::newRow("max height") << int(akMaxHeight) << QList<int>{70, 100, 110, 140};
}

void TestCommands::alignPage()
{
    QFETCH(int, kind);
    QFETCH(QList<int>, expected);
    TTestHost host;
    TTree *t = host.Tree();
    auto make = [t](int x0, int y0, int x1, int y1) {
        TTreeNodeShape *n = t->AddShape(x0, y0, nullptr, QStringLiteral("n"));
        n->SetAutoSize(false);
        n->SetX1(x1);
        n->SetY1(y1);
        return n;
    };
    TTreeNodeShape *reference = make(10, 10, 60, 20);
    TTreeNodeShape *second = make(70, 100, 110, 140);
    // One selected node: nothing happens.
    SelectNodes(t, {second});
    host.Commands->Align(TTreeAlignKind(kind));
    QCOMPARE((QList<int>{second->X0(), second->Y0(), second->X1(), second->Y1()}), (QList<int>{70, 100, 110, 140}));
    SelectNodes(t, {reference, second});
    host.Commands->Align(TTreeAlignKind(kind));
    QCOMPARE((QList<int>{second->X0(), second->Y0(), second->X1(), second->Y1()}), expected);
    // The reference keeps its place; the size commands size it too.
    QCOMPARE(reference->X0(), 10);
    if (kind == akMaxHeight)
        QCOMPARE(reference->Height(), 40);
    if (kind == akMinWidth)
        QCOMPARE(reference->Width(), 40);
}

void TestCommands::order()
{
    TTestHost host;
    TTree *t = host.Tree();
    TTreeNodeShape *a = t->AddRoot(QStringLiteral("a"));
    TTreeNodeShape *b = t->AddRoot(QStringLiteral("b"));
    TTreeNodeShape *c = t->AddRoot(QStringLiteral("c"));
    auto order = [t] {
        QStringList texts;
        for (TTreeNodeShape *n : t->Shapes())
            texts << n->SimpleText();
        return texts;
    };
    SelectNodes(t, {a, b});
    host.Commands->BringToFront();
    QCOMPARE(order(), (QStringList{"c", "a", "b"}));
    SelectNodes(t, {b});
    host.Commands->SendToBack();
    QCOMPARE(order(), (QStringList{"b", "c", "a"}));
    Q_UNUSED(c);
}

void TestCommands::search_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("selected");
    QTest::newRow("any mix of case") << "abc" << QStringList{"xABCx", "abc", "Abc\nmore"};
    QTest::newRow("in a later line") << "MORE" << QStringList{"Abc\nmore"};
    QTest::newRow("found nowhere keeps the selection") << "zzz" << QStringList{"plain"};
}

void TestCommands::search()
{
    QFETCH(QString, text);
    QFETCH(QStringList, selected);
    TTestHost host;
    TTree *t = host.Tree();
    TTreeNodeShape *plain = t->AddRoot(QStringLiteral("plain"));
    t->AddRoot(QStringLiteral("xABCx"));
    t->AddRoot(QStringLiteral("abc"));
    TTreeNodeShape *two = t->AddRoot(QStringLiteral("Abc"));
    t->SetElementText(two, {QStringLiteral("Abc"), QStringLiteral("more")});
    SelectNodes(t, {plain});
    TScriptedPromptsGuard prompts;
    prompts->OnInputText = [&](const QString &label, QString &value) {
        value = text;
        return label == QStringLiteral("Text:");
    };
    // The second search starts from the top again and finds the same.
    for (int round = 0; round < 2; ++round) {
        host.Commands->Action(cmSearch)->trigger();
        QStringList got;
        for (TTreeNodeShape *n : t->Selected().Nodes()) {
            QStringList lines;
            for (int i = 0; i < n->LineCount(); ++i)
                lines << n->Line(i);
            got << lines.join(QLatin1Char('\n'));
        }
        QCOMPARE(got, selected);
    }
    QCOMPARE(prompts->CallsOf(QStringLiteral("InputText")).front().Text, QStringLiteral("Search Nodes with..."));
    // A cancelled question searches nothing.
    prompts->OnInputText = [](const QString &, QString &) { return false; };
    SelectNodes(t, {plain});
    host.Commands->Search();
    QCOMPARE(SelectedTexts(t), QStringList{"plain"});
}

// ---------------------------------------------------------------------------
// The clipboard

void TestCommands::cutThenPasteLeavesOneCopyUnderThePointer()
{
    TTestHost host;
    TTree *t = host.Tree();
    TSample s(t);
    s.A2->SetX0(40);
    s.A2->SetY0(50);
    t->View3DOptions()->SetZoom(200);
    SelectNodes(t, {s.A2});
    host.Commands->Cut();
    QCOMPARE(Outline(t), QStringLiteral("A\n A1\n A2\n  A21\n A3\nB\n")); // nothing gone yet
    host.Commands->SetPointerOverride(QPoint(300, 200));
    const TPoint model = t->UnprojectPoint(TPoint(300, 200));
    host.Steps.clear();
    host.Commands->Paste();
    QCOMPARE(host.Steps.size(), 1);
    QCOMPARE(Outline(t), QStringLiteral("A\n A1\n A3\nB\nA2\n A21\n"));
    TTreeNodeShape *copy = NodeNamed(t, QStringLiteral("A2"));
    QCOMPARE(SelectedTexts(t), QStringList{"A2"});
    // At the pointer in diagram units, zoom applied.
    QCOMPARE(copy->X0(), model.X - t->DrawOffset().X);
    QCOMPARE(copy->Y0(), model.Y - t->DrawOffset().Y);
    // The whole copy shows.
    QVERIFY(copy->Visible());
    QVERIFY(copy->Child(0)->Visible());
    // The cut is used up: a second paste copies.
    host.Commands->Paste();
    QCOMPARE(Outline(t), QStringLiteral("A\n A1\n A3\nB\nA2\n A21\nA2\n A21\n"));
}

void TestCommands::cutIsGuarded_data()
{
    QTest::addColumn<int>("meanwhile");
    QTest::addColumn<QString>("outline");
    // A2 (with A21) and A1 are cut; A21 comes along inside A2 only.
    QTest::newRow("a cut node deleted meanwhile") << 0 << "A\n A3\nB\nA2\n A21\nA1\n";
    QTest::newRow("the document replaced") << 1 << "A2\n A21\nA1\n";
    QTest::newRow("the cut nodes' parent deleted") << 3 << "B\nA2\n A21\nA1\n";
    // Only A2 and A21 are cut.
    QTest::newRow("a cut node inside another") << 2 << "A\n A1\n A3\nB\nA2\n A21\n";
}

void TestCommands::cutIsGuarded()
{
    QFETCH(int, meanwhile);
    QFETCH(QString, outline);
    TTestHost host;
    TTree *t = host.Tree();
    TSample s(t);
    if (meanwhile == 2)
        SelectNodes(t, {s.A2, s.A21});
    else
        SelectNodes(t, {s.A2, s.A21, s.A1});
    host.Commands->Cut();
    switch (meanwhile) {
    case 0: t->DeleteShape(s.A1); break;
    case 1: host.Replace(); break;
    case 3: t->DeleteShape(s.A); break;
    default: break;
    }
    host.Commands->Paste();
    QCOMPARE(Outline(host.Tree()), outline);
    QVERIFY(!host.Commands->Clipboard()->IsCut());
}

void TestCommands::pasteOutsideKeepsPosition()
{
    TTestHost host;
    TTree *t = host.Tree();
    TTreeNodeShape *n = t->AddShape(33, 44, nullptr, QStringLiteral("N"));
    SelectNodes(t, {n});
    host.Commands->Copy();
    host.Commands->SetPointerOverride(std::nullopt);
    host.Commands->Paste(); // the pointer is not over the (hidden) diagram
    QCOMPARE(t->Roots().Count(), 2);
    TTreeNodeShape *copy = t->Roots()[1];
    QCOMPARE(copy->X0(), 33);
    QCOMPARE(copy->Y0(), 44);
    QVERIFY(copy->Name() != n->Name());
}

void TestCommands::copyPutsTheOutlineOnTheSystemClipboard()
{
    TTestHost host;
    TTree *t = host.Tree();
    TSample s(t);
    SelectNodes(t, {s.A2, s.B});
    host.Commands->Copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("A2\n A21\nB\n"));
    QVERIFY(QGuiApplication::clipboard()->mimeData()->hasFormat(QString::fromLatin1(TTreeClipboard::kMimeType)));
    // The clipboard is no cut: pasting twice keeps the originals.
    host.Commands->Paste();
    host.Commands->Paste();
    QCOMPARE(t->Shapes().Count(), 6 + 2 * 3);
}

void TestCommands::pastingTextImportsIt()
{
    TTestHost host;
    TTree *t = host.Tree();
    t->AddRoot(QStringLiteral("Old"));
    QGuiApplication::clipboard()->setText(QStringLiteral("Top\r\n First\r\n  Deep\r\n Second\r\n\r\n"));
    host.Commands->UpdateEditMenu();
    QVERIFY(host.Commands->Action(cmPaste)->isEnabled());
    host.Commands->Paste();
    QCOMPARE(Outline(t), QStringLiteral("Old\nTop\n First\n  Deep\n Second\n"));
    QCOMPARE(SelectedTexts(t), QStringList{"Top"});
}

void TestCommands::pastingBytesThatAreNoDiagramIsRefused()
{
    TTestHost host;
    TTree *t = host.Tree();
    TSample s(t);
    SelectNodes(t, {s.B});
    host.Commands->Copy(); // something private to fall back on
    auto *mime = new QMimeData;
    mime->setData(QString::fromLatin1(TTreeClipboard::kMimeType), QByteArray("TPF0 this is no diagram"));
    QGuiApplication::clipboard()->setMimeData(mime);
    TScriptedPromptsGuard prompts;
    const QString before = Outline(t);
    host.Notices = 0;
    host.SetModified(false);
    host.Commands->Paste();
    QCOMPARE(Outline(t), before);
    QCOMPARE(host.Notices, 0);
    QVERIFY(!host.Modified());
    QVERIFY(!prompts->CallsOf(QStringLiteral("Ask")).empty());
    QVERIFY(prompts->Calls().back().Text.startsWith(QStringLiteral("The clipboard holds no diagram")));
    // The private copy is still there.
    QVERIFY(host.Commands->Clipboard()->HasNodes());
}

void TestCommands::pastingAnotherWindowsDiagram()
{
    TTestHost other;
    TSample s(other.Tree());
    SelectNodes(other.Tree(), {s.A2});
    other.Commands->Copy();
    TTestHost host;
    host.Commands->Paste();
    QCOMPARE(Outline(host.Tree()), QStringLiteral("A2\n A21\n"));
}

// ---------------------------------------------------------------------------
// Import

void TestCommands::importText()
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("plan.txt"));
    QVERIFY(WriteText(name, "Plan\n Design\n  Sketch\n Build\nLater\n"));
    TTestHost host;
    host.Tree()->AddRoot(QStringLiteral("Old"));
    TScriptedPromptsGuard prompts;
    prompts->OnOpenFileName = [&](TFileDialogOptions &o) {
        // The text filter is chosen first.
        return o.FilterIndex == 1 && o.Title == QStringLiteral("Import Tree nodes from text file") ? name : QString();
    };
    host.Steps.clear();
    host.SetModified(false);
    host.Commands->Action(cmImport)->trigger();
    QCOMPARE(Outline(host.Tree()), QStringLiteral("Old\nPlan\n Design\n  Sketch\n Build\nLater\n"));
    QCOMPARE(host.Steps.size(), 1);
    QVERIFY(host.Modified());
}

void TestCommands::importTextCancelledLeavesTheDocument()
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("big.txt"));
    QByteArray text;
    for (int i = 0; i < 3000; ++i)
        text += (i % 3 == 0 ? "Root " : (i % 3 == 1 ? " Child " : "  Leaf ")) + QByteArray::number(i) + "\n";
    QVERIFY(WriteText(name, text));
    TTestHost host;
    TSample s(host.Tree());
    const QString before = Outline(host.Tree());
    const int names = host.Owner->ComponentCount();
    host.Notices = 0;
    host.SetModified(false);
    // The user cancels as soon as the progress is there.
    bool seen = false;
    QTimer cancel;
    cancel.setInterval(0);
    connect(&cancel, &QTimer::timeout, &host, [&] {
        if (auto *p = host.findChild<QProgressDialog *>()) {
            seen = true;
            p->cancel();
        }
    });
    cancel.start();
    QVERIFY(!host.Commands->ImportFile(name, true));
    cancel.stop();
    QVERIFY(seen);
    QCOMPARE(Outline(host.Tree()), before);
    QCOMPARE(host.Owner->ComponentCount(), names);
    QCOMPARE(host.Notices, 0);
    QVERIFY(!host.Modified());
    // Without a cancel all of it arrives, exactly as the outline import reads it.
    QVERIFY(host.Commands->ImportFile(name, true));
    TComponent owner;
    TTree reference(&owner);
    reference.ImportOutlineFile(name);
    QCOMPARE(Outline(host.Tree()), before + Outline(&reference));
}

void TestCommands::importDiagramKeepsHierarchyConnectionsAndNames()
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("other.abx"));
    {
        TComponent owner;
        owner.SetName(QStringLiteral("TreeEditor1"));
        auto *t = new TTree(&owner);
        t->SetNoOwnerShapes(false);
        TTreeNodeShape *x = t->AddRoot(QStringLiteral("X"));
        TTreeNodeShape *y = x->AddChild(QStringLiteral("Y"));
        TTreeNodeShape *z = t->AddRoot(QStringLiteral("Z"));
        z->SetName(QStringLiteral("Special"));
        x->SetName(QStringLiteral("TreeNodeShape1")); // clashes below
        y->AddConnection(z)->SetStyle(csCurve);       // across the hierarchy
        x->SetExpanded(true);
        SaveDiagramFile(*t, name);
        delete t;
    }
    TTestHost host;
    TTree *t = host.Tree();
    TTreeNodeShape *mine = t->AddRoot(QStringLiteral("Mine"));
    QCOMPARE(mine->Name(), QStringLiteral("TreeNodeShape1"));
    QVERIFY(host.Commands->ImportFile(name, false));
    QCOMPARE(Outline(t), QStringLiteral("Mine\nother.abx\n X\n  Y\n Z\n"));
    TTreeNodeShape *x = NodeNamed(t, QStringLiteral("X"));
    TTreeNodeShape *y = NodeNamed(t, QStringLiteral("Y"));
    TTreeNodeShape *z = NodeNamed(t, QStringLiteral("Z"));
    QVERIFY(x->Name() != mine->Name());
    QCOMPARE(z->Name(), QStringLiteral("Special"));
    QVERIFY(y->ConnectionTo(z));
    QCOMPARE(y->ConnectionTo(z)->Style(), csCurve);
    QVERIFY(x->ConnectionTo(y));
    QVERIFY(y->Visible() && z->Visible());
    // Written and read again, the hierarchy stays.
    const QString saved = dir.filePath(QStringLiteral("saved.abx"));
    SaveDiagramFile(*t, saved);
    TComponent owner;
    owner.SetName(QStringLiteral("TreeEditor1"));
    auto *back = new TTree(&owner);
    LoadDiagramFile(*back, saved);
    QCOMPARE(Outline(back), Outline(t));
    delete back;
}

void TestCommands::importUnreadableFileIsReported()
{
    TTestHost host;
    TSample s(host.Tree());
    const QString before = Outline(host.Tree());
    TScriptedPromptsGuard prompts;
    QVERIFY(!host.Commands->ImportFile(QStringLiteral("/nonexistent/file.txt"), true));
    QVERIFY(!host.Commands->ImportFile(QStringLiteral("/nonexistent/file.abx"), false));
    QCOMPARE(prompts->CallsOf(QStringLiteral("Ask")).size(), size_t(2));
    QCOMPARE(Outline(host.Tree()), before);
}

// ---------------------------------------------------------------------------
// Palette

void TestCommands::paletteDoubleClickCreatesANode()
{
    TTestHost host;
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    TTreeShapePalette *palette = host.Commands->Palette();
    TTreeSpeedButton *rectangle = palette->FindTool(QStringLiteral("Rectangle"));
    QVERIFY(rectangle);
    QTest::mouseDClick(rectangle, Qt::LeftButton);
    TTree *t = host.Tree();
    QCOMPARE(t->Shapes().Count(), 1);
    TTreeNodeShape *n = t->Shapes()[0];
    QCOMPARE(n->Style(), tssRectangle);
    QCOMPARE(n->SimpleText(), n->Name());
    QCOMPARE(n->ImageIndex(), tiNone);
    QVERIFY(n->Selected());
    QVERIFY(!t->Interaction().RectangleTool());
    QTRY_VERIFY(palette->SelectionPressed());
    // Each triangle gets its text away from its point.
    QTest::mouseDClick(palette->FindTool(QStringLiteral("Triangle Top")), Qt::LeftButton);
    TTreeNodeShape *tri = t->Shapes()[1];
    QCOMPARE(tri->Style(), tssTriangleTop);
    QCOMPARE(tri->Text()->VertAlign(), vtaBottom);
}

void TestCommands::paletteDragCreatesANode()
{
    TTestHost host;
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    TTree *t = host.Tree();
    TTreeShapePalette *palette = host.Commands->Palette();
    TTreeSpeedButton *ellipse = palette->FindTool(QStringLiteral("Ellipse"));
    QTest::mouseClick(ellipse, Qt::LeftButton);
    QVERIFY(ellipse->isChecked());
    QVERIFY(t->Interaction().RectangleTool());
    QTest::mousePress(t, Qt::LeftButton, {}, QPoint(50, 60));
    QTest::mouseMove(t, QPoint(90, 80));
    QTest::mouseMove(t, QPoint(150, 120));
    QTest::mouseRelease(t, Qt::LeftButton, {}, QPoint(150, 120));
    QCOMPARE(t->Shapes().Count(), 1);
    TTreeNodeShape *n = t->Shapes()[0];
    QCOMPARE(n->Style(), tssCircle);
    const TPoint tl = t->UnprojectPoint(TPoint(50, 60));
    QCOMPARE(n->X0(), tl.X);
    QCOMPARE(n->Y0(), tl.Y);
    QVERIFY(!n->AutoSize());
    QVERIFY(palette->SelectionPressed());
    QVERIFY(!t->Interaction().RectangleTool());
}

void TestCommands::palettePages()
{
    TTestHost host;
    TTreeShapePalette *palette = host.Commands->Palette();
    QCOMPARE(palette->tabText(0), QStringLiteral("Standard"));
    const std::vector<TTreeSpeedButton *> standard = palette->PageButtons(0);
    QVERIFY(standard.size() >= 16);
    QCOMPARE(standard[0]->Tool().Name, QStringLiteral("Rectangle"));
    QCOMPARE(standard[11]->Tool().Name, QStringLiteral("Round Rectangle"));
    QCOMPARE(standard[12]->Tool().Name, QStringLiteral("Polygon"));
    QCOMPARE(standard[0]->pos(), QPoint(58, palette->ConnectButton()->y()));
    QCOMPARE(standard[1]->x(), 58 + 29);
    QVERIFY(palette->count() > 1); // the galleries
    // The fixed buttons move to the page shown.
    palette->setCurrentIndex(1);
    QCOMPARE(palette->SelectionButton()->parentWidget(), palette->widget(1));
    QVERIFY(palette->SelectionPressed());
    // A polygon tool starts drawing point by point; Selection ends it.
    palette->setCurrentIndex(0);
    TTreeSpeedButton *polygon = palette->FindTool(QStringLiteral("Polygon"));
    polygon->click();
    QVERIFY(host.Tree()->Interaction().AddingClass());
    QVERIFY(!host.Tree()->Interaction().RectangleTool());
    palette->SelectionButton()->click();
    QVERIFY(!host.Tree()->Interaction().AddingClass());
    // Every face draws, without a diagram of the window's.
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    for (TTreeSpeedButton *b : standard) {
        b->repaint();
        if (b->Tool().Name != QStringLiteral("Text"))
            QVERIFY(b->Sample());
    }
}

// ---------------------------------------------------------------------------
// Context menus

void TestCommands::contextMenus()
{
    TTestHost host;
    TTree *t = host.Tree();
    TSample s(t);
    TTreeCommands *c = host.Commands;
    auto item = [](QMenu *menu, const QString &caption) {
        for (QAction *a : menu->actions())
            if (a->text() == caption)
                return a;
        return static_cast<QAction *>(nullptr);
    };
    // A root: no brother, no prune.
    SelectNodes(t, {s.A});
    QMenu *menu = c->ContextMenuAt(10, 10);
    QCOMPARE(menu, c->NodeMenu());
    QCOMPARE(menu->defaultAction()->text(), QStringLiteral("&Edit..."));
    QVERIFY(item(menu, QStringLiteral("&Add Child"))->isEnabled());
    QVERIFY(!item(menu, QStringLiteral("Add Br&other"))->isEnabled());
    QVERIFY(!item(menu, QStringLiteral("&Prune"))->isEnabled());
    QVERIFY(!item(menu, QStringLiteral("&Paste"))->isEnabled());
    QVERIFY(!item(menu, QStringLiteral("Show Names"))->isVisible());
    // Nothing selected: only a new root.
    t->Selected().Clear();
    c->ContextMenuAt(10, 10);
    QVERIFY(!item(menu, QStringLiteral("C&ut"))->isEnabled());
    QVERIFY(item(menu, QStringLiteral("Add new &Root"))->isEnabled());
    SelectNodes(t, {s.A2});
    c->ContextMenuAt(10, 10, true);
    QVERIFY(item(menu, QStringLiteral("Add Br&other"))->isEnabled());
    QVERIFY(item(menu, QStringLiteral("Show Names"))->isVisible());
    // A selected connection: its menu, its style checked.
    TTreeConnection *link = s.A->ConnectionTo(s.A2);
    link->SetStyle(csSides);
    t->Connections().SetSelected(link);
    QCOMPARE(c->ContextMenuAt(300, 300), c->ConnectionMenu());
    QVERIFY(c->Action(cmConnSides)->isChecked());
    QVERIFY(!c->Action(cmConnCurve)->isChecked());
    c->Action(cmConnCurve)->trigger();
    QCOMPARE(link->Style(), csCurve);
    // Outside design mode nothing opens.
    t->SetDesigning(false);
    QVERIFY(!c->ContextMenuAt(10, 10));
}

// ---------------------------------------------------------------------------
// Format

void TestCommands::colorWithoutSelectionPaintsTheDiagram()
{
    TTestHost host;
    TTree *t = host.Tree();
    t->Gradient()->SetVisible(true);
    TScriptedPromptsGuard prompts;
    prompts->OnPickColor = [](TColor &color) {
        color = clRed;
        return true;
    };
    host.SetModified(false);
    host.Commands->Action(cmColor)->trigger();
    QCOMPARE(t->Color(), clRed);
    QVERIFY(!t->Gradient()->Visible());
    QVERIFY(host.Modified());
    // With nodes the colour goes to every selected node.
    TSample s(t);
    SelectNodes(t, {s.A1, s.B});
    prompts->OnPickColor = [](TColor &color) {
        color = clLime;
        return true;
    };
    host.Commands->FormatColor();
    QCOMPARE(s.A1->Color(), clLime);
    QCOMPARE(s.B->Color(), clLime);
    QVERIFY(s.A->Color() != clLime);
}

void TestCommands::cancelledFontDialogChangesNothing()
{
    TTestHost host;
    TTree *t = host.Tree();
    TSample s(t);
    SelectNodes(t, {s.A1, s.B});
    TScriptedPromptsGuard prompts;
    host.SetModified(false);
    host.Notices = 0;
    host.Commands->FormatFont(); // cancelled: no handler
    QCOMPARE(host.Notices, 0);
    QVERIFY(!host.Modified());
    prompts->OnPickFont = [](QFont &font) {
        font.setPointSize(22);
        font.setBold(true);
        return true;
    };
    host.Commands->FormatFont();
    QCOMPARE(s.A1->Font()->Size(), 22);
    QCOMPARE(s.B->Font()->Size(), 22);
    QVERIFY(s.B->Font()->IsBold());
    QVERIFY(host.Modified());
}

void TestCommands::styleAndToggles()
{
    TTestHost host;
    TTree *t = host.Tree();
    TSample s(t);
    SelectNodes(t, {s.A1, s.A3});
    s.A1->Gradient()->SetVisible(true);
    QVERIFY(!host.Commands->Action(cmStyleDiamond)->isEnabled());
    QCoreApplication::processEvents();
    host.Commands->Action(cmStyleDiamond)->trigger();
    QCOMPARE(s.A1->Style(), tssDiamond);
    QCOMPARE(s.A3->Style(), tssDiamond);
    QCOMPARE(s.A2->Style(), tssRectangle);
    host.Commands->Action(cmTransparent)->setChecked(true);
    host.Commands->SetTransparent(true);
    QVERIFY(s.A1->Transparent() && s.A3->Transparent());
    QVERIFY(!s.A1->Gradient()->Visible()); // a transparent node shows no gradient
    host.Commands->SetClipText(true);
    QVERIFY(s.A3->Text()->ClipText());
    host.Commands->SetShowCross(scNever);
    QCOMPARE(s.A1->ShowCross(), scNever);
    // Nothing selected: the node commands do nothing.
    t->Selected().Clear();
    host.Notices = 0;
    host.Commands->SetStyle(tssCircle);
    host.Commands->SetTransparent(false);
    QCOMPARE(host.Notices, 0);
}

void TestCommands::viewToggles()
{
    TTestHost host;
    TTree *t = host.Tree();
    TTreeCommands *c = host.Commands;
    c->UpdateViewMenu();
    QVERIFY(c->Action(cmShowConnections)->isChecked());
    c->Action(cmShowConnections)->trigger();
    QVERIFY(!t->Connections().Visible());
    c->Action(cmShowText)->trigger();
    QVERIFY(!t->ShowText());
    QVERIFY(host.Modified());
    // Window bands are no edit.
    host.SetModified(false);
    c->Action(cmFontToolbar)->trigger();
    QVERIFY(!host.BandVisible(ebFontToolbar));
    QVERIFY(!host.Modified());
    c->UpdateViewMenu();
    QVERIFY(!c->Action(cmFontToolbar)->isChecked());
    QVERIFY(!c->Action(cmShowConnections)->isChecked());
}

void TestCommands::linkNodesByClicking()
{
    TTestHost host;
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    TTree *t = host.Tree();
    TTreeNodeShape *a = t->AddShape(20, 20, nullptr, QStringLiteral("a"));
    TTreeNodeShape *b = t->AddShape(200, 150, nullptr, QStringLiteral("b"));
    t->repaint();
    auto centre = [t](TTreeNodeShape *n) {
        const TPoint p = t->ProjectPoint(TPoint(n->XCenter(), n->YCenter()));
        return QPoint(p.X, p.Y);
    };
    QString prompt;
    QTimer::singleShot(0, t, [&] {
        prompt = host.Status[1];
        QTest::mouseClick(t, Qt::LeftButton, {}, centre(a));
        QTest::mouseClick(t, Qt::LeftButton, {}, centre(b));
    });
    host.Commands->LinkNodes();
    QCOMPARE(prompt, QStringLiteral("Click two nodes to connect them. Press ESC to cancel."));
    TTreeConnection *c = a->ConnectionTo(b);
    QVERIFY(c);
    QCOMPARE(c->Style(), csLine);
    QCOMPARE(t->Connections().Selected(), c);
    QCOMPARE(t->Selected().Count(), 0);
    QCOMPARE(host.Status[1], QString());
    QVERIFY(host.Commands->Palette()->SelectionPressed());
    // Escape cancels: nothing new.
    QTimer::singleShot(0, t, [&] { QTest::keyClick(t, Qt::Key_Escape); });
    host.Commands->LinkNodes();
    QCOMPARE(t->Connections().Count(), 1);
}

void TestCommands::helpAndAbout()
{
    TTestHost host;
    QList<QUrl> opened;
    host.Commands->OpenUrl = [&](const QUrl &url) {
        opened << url;
        return true;
    };
    host.Commands->Action(cmWebSite)->trigger();
    host.Commands->Action(cmHelpIndex)->trigger();
    QCOMPARE(opened.size(), 2);
    QVERIFY(opened[1].toLocalFile().endsWith(QStringLiteral("Varezido10.html")));
    TScriptedPromptsGuard prompts;
    host.Commands->Action(cmEditorTips)->trigger();
    QVERIFY(prompts->Calls().back().Text.startsWith(QStringLiteral("Arbolix Editor Tips:\n\nRIGHT click")));
    QString caption;
    prompts->OnExec = [&](QDialog &dialog) {
        caption = dialog.windowTitle();
        return int(QDialog::Accepted);
    };
    host.Commands->Action(cmAbout)->trigger();
    QCOMPARE(caption, QStringLiteral("About Arbolix v2.0..."));
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
