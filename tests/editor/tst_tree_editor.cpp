// The main window's document: the modified flag from the document's change
// notices, captions, asking to save on every path that replaces the
// document, Save and Save As with their failures, dropped files, the
// status bar.

#include "EditorTestUtil.h"

#include "editor/TreeEditorConst.h"
#include "editor/TreeStatusBar.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QTabBar>

Q_DECLARE_METATYPE(TPromptAnswer)

namespace {

enum TReplaceAction { raNew, raOpen, raDrop, raClose };
enum TEditKind { ekAdd, ekMove, ekResize, ekText, ekDelete, ekProperty, ekParent, ekOrder, ekExpand, ekSelect, ekCancelledMove };

} // namespace
Q_DECLARE_METATYPE(TReplaceAction)
Q_DECLARE_METATYPE(TEditKind)

class TestTreeEditor : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void modifiedFollowsTheEdits_data();
    void modifiedFollowsTheEdits();
    void captions_data();
    void captions();
    void askToSaveBeforeReplacing_data();
    void askToSaveBeforeReplacing();
    void severalDroppedFilesOpenTheFirst();
    void aDroppedFileThatIsNoDiagramKeepsTheDocument();
    void dropEventsOpenTheFirstLocalFile();
    void unreadableAndPartlyReadFiles();
    void unknownPropertiesAreAskedAbout();
    void saveAsByExtension_data();
    void saveAsByExtension();
    void failedSavesKeepNameAndFile_data();
    void failedSavesKeepNameAndFile();
    void savingUntitledProposesTree1();
    void aMovedNodeIsWhereItWasLeft();
    void statusBarFollowsTheMouse();
    void lockPanelsFollowTheKeyboard();
    void designAndPreviewTabs();

private:
    QString Path(const QString &name) const { return FDir->filePath(name); }
    std::unique_ptr<TTreeEditor1> Editor(const QString &startFile = QString())
    {
        return ShownEditor(Path(QStringLiteral("recovery")), startFile);
    }
    std::unique_ptr<QTemporaryDir> FDir;
    std::unique_ptr<TScriptedPromptsGuard> FPrompts;
    QTemporaryDir FBase;
};

void TestTreeEditor::initTestCase()
{
    InitEditorTests(FBase);
}

void TestTreeEditor::init()
{
    ClearEditorSettings();
    FDir = std::make_unique<QTemporaryDir>();
    FPrompts = std::make_unique<TScriptedPromptsGuard>();
}

void TestTreeEditor::cleanup()
{
    FPrompts.reset();
    FDir.reset();
}

void TestTreeEditor::modifiedFollowsTheEdits_data()
{
    QTest::addColumn<TEditKind>("kind");
    QTest::addColumn<bool>("modified");
    QTest::newRow("add") << ekAdd << true;
    QTest::newRow("move") << ekMove << true;
    QTest::newRow("resize") << ekResize << true;
    QTest::newRow("text") << ekText << true;
    QTest::newRow("delete") << ekDelete << true;
    QTest::newRow("property") << ekProperty << true;
    QTest::newRow("parent") << ekParent << true;
    QTest::newRow("order") << ekOrder << true;
    QTest::newRow("expand") << ekExpand << true;
    QTest::newRow("selection is no edit") << ekSelect << false;
    QTest::newRow("cancelled move") << ekCancelledMove << false;
}

void TestTreeEditor::modifiedFollowsTheEdits()
{
    QFETCH(TEditKind, kind);
    QFETCH(bool, modified);
    const QString file = WriteDiagram(Path(QStringLiteral("x.abx")), {QStringLiteral("A"), QStringLiteral("B")});
    auto editor = Editor(file);
    TTree *tree = editor->Tree();
    QCOMPARE(tree->Shapes().Count(), 2);
    QVERIFY(!editor->Modified());
    QCOMPARE(editor->StatusBar()->PanelText(TTreeStatusBar::spModified), QString());
    TTreeNodeShape *a = tree->Shapes().Items(0);
    TTreeNodeShape *b = tree->Shapes().Items(1);
    const QString caption = editor->windowTitle();
    QSignalSpy changes(editor.get(), &TTreeEditor::modifiedChanged);
    switch (kind) {
    case ekAdd:
        tree->AddShape(5, 5, nullptr, QStringLiteral("C"));
        break;
    case ekMove:
        tree->MoveShape(a, 10, 0, false);
        break;
    case ekResize:
        tree->ResizeShape(a, rcRightBottom, 10, 10);
        break;
    case ekText:
        tree->SetElementText(a, {QStringLiteral("changed")});
        break;
    case ekDelete:
        tree->DeleteShape(b);
        break;
    case ekProperty:
        tree->EditElement(a, QStringLiteral("Transparent"), [a] { a->SetTransparent(true); });
        break;
    case ekParent:
        tree->SetShapeParent(b, a);
        break;
    case ekOrder:
        tree->OrderShape(a, true);
        break;
    case ekExpand:
        tree->SetShapeParent(b, a);
        editor->SetModified(false);
        changes.clear();
        tree->SetShapeExpanded(a, !a->Expanded());
        break;
    case ekSelect:
        a->SetSelected(true);
        break;
    case ekCancelledMove:
        tree->OnMovingShape = [](TTreeNodeShape *, int &dx, int &dy) { dx = dy = 0; };
        tree->MoveShape(a, 10, 10, false);
        break;
    }
    QCOMPARE(editor->Modified(), modified);
    QCOMPARE(editor->StatusBar()->PanelText(TTreeStatusBar::spModified), modified ? QStringLiteral("Modified") : QString());
    QCOMPARE(changes.count(), modified ? 1 : 0);
    QCOMPARE(editor->windowTitle(), caption);
    // Saving makes it clean again.
    if (modified) {
        QVERIFY(editor->SaveDocument());
        QVERIFY(!editor->Modified());
        QCOMPARE(editor->StatusBar()->PanelText(TTreeStatusBar::spModified), QString());
    }
}

void TestTreeEditor::captions_data()
{
    QTest::addColumn<bool>("application");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("caption");
    QTest::newRow("untitled") << true << QString() << QStringLiteral("Dendrix - Tree1");
    QTest::newRow("named") << true << QStringLiteral("plan.abx") << QStringLiteral("Dendrix - plan.abx");
    QTest::newRow("named without extension") << true << QStringLiteral("plan") << QStringLiteral("Dendrix - plan.abx");
    QTest::newRow("editor untitled") << false << QString() << QStringLiteral("Editing Tree1");
    QTest::newRow("editor named") << false << QStringLiteral("plan.abx") << QStringLiteral("Editing plan.abx");
}

void TestTreeEditor::captions()
{
    QFETCH(bool, application);
    QFETCH(QString, file);
    QFETCH(QString, caption);
    WriteDiagram(Path(QStringLiteral("plan.abx")), {QStringLiteral("A")});
    std::unique_ptr<TTreeEditor> editor;
    if (application) {
        auto main = std::make_unique<TTreeEditor1>();
        main->SetOffersRecovery(false);
        QCOMPARE(main->windowTitle(), QStringLiteral("Dendrix 2.0"));
        editor = std::move(main);
    } else {
        editor = std::make_unique<TTreeEditor>();
    }
    editor->show();
    if (!file.isEmpty())
        QVERIFY(editor->ReadFile(Path(file)));
    QCOMPARE(editor->windowTitle(), caption);
    // A full path is kept whole, however long.
    if (!file.isEmpty())
        QCOMPARE(editor->FileName(), Path(QStringLiteral("plan.abx")));
}

void TestTreeEditor::askToSaveBeforeReplacing_data()
{
    QTest::addColumn<TReplaceAction>("action");
    QTest::addColumn<TPromptAnswer>("answer");
    const struct
    {
        const char *Name;
        TReplaceAction Action;
    } actions[] = {{"new", raNew}, {"open", raOpen}, {"drop", raDrop}, {"close", raClose}};
    for (const auto &a : actions) {
        QTest::addRow("%s yes", a.Name) << a.Action << paYes;
        QTest::addRow("%s no", a.Name) << a.Action << paNo;
        QTest::addRow("%s cancel", a.Name) << a.Action << paCancel;
    }
}

void TestTreeEditor::askToSaveBeforeReplacing()
{
    QFETCH(TReplaceAction, action);
    QFETCH(TPromptAnswer, answer);
    const QString x = WriteDiagram(Path(QStringLiteral("x.abx")), {QStringLiteral("A")});
    const QString y = WriteDiagram(Path(QStringLiteral("y.abx")), {QStringLiteral("Y1"), QStringLiteral("Y2")});
    auto editor = Editor(x);
    editor->Tree()->AddShape(0, 100, nullptr, QStringLiteral("added"));
    QVERIFY(editor->Modified());
    (*FPrompts)->Answers = {answer};
    (*FPrompts)->FileNames = {y};
    switch (action) {
    case raNew:
        editor->FileNew();
        break;
    case raOpen:
        editor->FileOpen();
        break;
    case raDrop:
        editor->DropFiles({y});
        break;
    case raClose:
        editor->close();
        break;
    }
    QCOMPARE(AskedTexts(**FPrompts), QStringList{QStringLiteral("Do you want to save x.abx?")});
    QCOMPARE((*FPrompts)->CallsOf(QStringLiteral("Ask")).front().Buttons, paYes | paNo | paCancel);
    // Yes saves the document first; No and Cancel leave its file alone.
    const QStringList saved = DiagramTexts(x);
    QCOMPARE(saved, answer == paYes ? QStringList({QStringLiteral("A"), QStringLiteral("added")}) : QStringList{QStringLiteral("A")});
    // Open asks for the file only after the question was answered.
    QCOMPARE((*FPrompts)->CallsOf(QStringLiteral("OpenFileName")).size(), size_t(action == raOpen && answer != paCancel ? 1 : 0));
    if (answer == paCancel) {
        QVERIFY(editor->Modified());
        QCOMPARE(editor->FileName(), x);
        QCOMPARE(TreeTexts(editor->Tree()), QStringList({QStringLiteral("A"), QStringLiteral("added")}));
        QVERIFY(editor->isVisible());
        return;
    }
    QVERIFY(!editor->Modified());
    switch (action) {
    case raNew:
        QCOMPARE(editor->FileName(), QString());
        QCOMPARE(editor->Tree()->Shapes().Count(), 0);
        QCOMPARE(editor->windowTitle(), QStringLiteral("Dendrix - Tree1"));
        break;
    case raOpen:
    case raDrop:
        QCOMPARE(editor->FileName(), y);
        QCOMPARE(TreeTexts(editor->Tree()), QStringList({QStringLiteral("Y1"), QStringLiteral("Y2")}));
        break;
    case raClose:
        QVERIFY(!editor->isVisible());
        break;
    }
}

void TestTreeEditor::severalDroppedFilesOpenTheFirst()
{
    const QString a = WriteDiagram(Path(QStringLiteral("a.abx")), {QStringLiteral("first")});
    const QString b = WriteDiagram(Path(QStringLiteral("b.abx")), {QStringLiteral("second")});
    const QString c = WriteDiagram(Path(QStringLiteral("c.abx")), {QStringLiteral("third")});
    auto editor = Editor();
    QVERIFY(editor->DropFiles({a, b, c}));
    QCOMPARE(editor->FileName(), a);
    QCOMPARE(TreeTexts(editor->Tree()), QStringList{QStringLiteral("first")});
    // A clean document is replaced without a question.
    QVERIFY((*FPrompts)->Calls().empty());
    QVERIFY(editor->Recent()->FileNames().contains(a));
    QVERIFY(!editor->Recent()->FileNames().contains(b));
    // A name longer than 255 characters is taken whole.
    QString folder = FDir->path();
    for (int i = 0; i < 5; ++i)
        folder += QLatin1Char('/') + QString(60, QLatin1Char('a' + i));
    QVERIFY(QDir().mkpath(folder));
    const QString deep = WriteDiagram(folder + QStringLiteral("/deep.abx"), {QStringLiteral("deep")});
    QVERIFY(deep.size() > 300);
    QVERIFY(editor->DropFiles({deep, a}));
    QCOMPARE(editor->FileName(), deep);
    QCOMPARE(TreeTexts(editor->Tree()), QStringList{QStringLiteral("deep")});
}

void TestTreeEditor::aDroppedFileThatIsNoDiagramKeepsTheDocument()
{
    const QString x = WriteDiagram(Path(QStringLiteral("x.abx")), {QStringLiteral("A")});
    const QString notes = Path(QStringLiteral("notes.abx"));
    {
        QFile f(notes);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("just some words\n");
    }
    auto editor = Editor(x);
    editor->Tree()->AddShape(0, 100, nullptr, QStringLiteral("unsaved"));
    TTree *before = editor->Tree();
    QVERIFY(!editor->DropFiles({notes}));
    // One error, and no question to save: nothing was going to replace it.
    const auto asks = (*FPrompts)->CallsOf(QStringLiteral("Ask"));
    QCOMPARE(asks.size(), size_t(1));
    QCOMPARE(asks.front().Kind, pkError);
    QCOMPARE(editor->Tree(), before);
    QCOMPARE(editor->FileName(), x);
    QVERIFY(editor->Modified());
    QCOMPARE(TreeTexts(editor->Tree()), QStringList({QStringLiteral("A"), QStringLiteral("unsaved")}));
}

void TestTreeEditor::dropEventsOpenTheFirstLocalFile()
{
    const QString a = WriteDiagram(Path(QStringLiteral("a.abx")), {QStringLiteral("first")});
    const QString b = WriteDiagram(Path(QStringLiteral("b.abx")), {QStringLiteral("second")});
    auto editor = Editor();
    QVERIFY(editor->acceptDrops());
    QMimeData web;
    web.setUrls({QUrl(QStringLiteral("https://example.org/a.abx"))});
    QDragEnterEvent refused(QPoint(50, 50), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor.get(), &refused);
    QVERIFY(!refused.isAccepted());
    QMimeData files;
    files.setUrls({QUrl(QStringLiteral("https://example.org/x.abx")), QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor.get(), &drop);
    QTRY_COMPARE(editor->FileName(), a);
    QCOMPARE(TreeTexts(editor->Tree()), QStringList{QStringLiteral("first")});
}

void TestTreeEditor::unreadableAndPartlyReadFiles()
{
    const QString x = WriteDiagram(Path(QStringLiteral("x.abx")), {QStringLiteral("A")});
    auto editor = Editor(x);
    // A file that is not there: reported, the document stays.
    QVERIFY(!editor->ReadFile(Path(QStringLiteral("missing.abx"))));
    QCOMPARE(editor->FileName(), x);
    QCOMPARE(editor->Tree()->Shapes().Count(), 1);
    // A file cut short: what was read stays, untitled, so that saving it
    // cannot replace the file by accident.
    const QString big = WriteDiagram(Path(QStringLiteral("big.abx")),
                                     {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")});
    QByteArray bytes = FileBytes(big);
    const QString cut = Path(QStringLiteral("cut.abx"));
    {
        QFile f(cut);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes.left(bytes.size() * 2 / 3));
    }
    (*FPrompts)->ClearCalls();
    QVERIFY(!editor->ReadFile(cut));
    QCOMPARE((*FPrompts)->CallsOf(QStringLiteral("Ask")).size(), size_t(1));
    QCOMPARE(editor->FileName(), QString());
    QVERIFY(editor->Tree()->PartlyRead());
    QVERIFY(editor->Tree()->Shapes().Count() >= 1);
    QVERIFY(editor->Tree()->Shapes().Count() < 3);
    QCOMPARE(editor->windowTitle(), QStringLiteral("Dendrix - Tree1"));
}

void TestTreeEditor::unknownPropertiesAreAskedAbout()
{
    const QString x = WriteDiagram(Path(QStringLiteral("x.abx")), {QStringLiteral("Alpha")});
    QByteArray bytes = FileBytes(x);
    QVERIFY(bytes.contains("Text.Strings"));
    bytes.replace("Text.Strings", "Text.Strongs");
    {
        QFile f(x);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    auto editor = Editor();
    (*FPrompts)->Answers = {paYes};
    QVERIFY(editor->ReadFile(x));
    const QStringList asked = AskedTexts(**FPrompts);
    QCOMPARE(asked.size(), 1);
    QVERIFY2(asked.front().endsWith(QStringLiteral("Continue?")), qPrintable(asked.front()));
    QCOMPARE(editor->Tree()->Shapes().Count(), 1);
    QVERIFY(!editor->Modified());
}

void TestTreeEditor::saveAsByExtension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("renamed");
    QTest::addColumn<QByteArray>("magic");
    QTest::addColumn<bool>("error");
    QTest::newRow("diagram") << QStringLiteral("copy.abx") << QStringLiteral("copy.abx") << true << QByteArray("TPF0") << false;
    QTest::newRow("no extension") << QStringLiteral("copy") << QStringLiteral("copy.abx") << true << QByteArray("TPF0") << false;
    QTest::newRow("upper case") << QStringLiteral("COPY.ABX") << QStringLiteral("COPY.ABX") << true << QByteArray("TPF0") << false;
    QTest::newRow("bitmap") << QStringLiteral("picture.bmp") << QStringLiteral("picture.bmp") << false << QByteArray("BM") << false;
    QTest::newRow("png") << QStringLiteral("picture.png") << QStringLiteral("picture.png") << false << QByteArray("\x89PNG") << false;
    QTest::newRow("unknown") << QStringLiteral("notes.xyz") << QString() << false << QByteArray() << true;
}

void TestTreeEditor::saveAsByExtension()
{
    QFETCH(QString, name);
    QFETCH(QString, written);
    QFETCH(bool, renamed);
    QFETCH(QByteArray, magic);
    QFETCH(bool, error);
    const QString x = WriteDiagram(Path(QStringLiteral("x.abx")), {QStringLiteral("A")});
    auto editor = Editor(x);
    editor->Tree()->AddShape(0, 100, nullptr, QStringLiteral("B"));
    (*FPrompts)->FileNames = {Path(name)};
    TFileDialogOptions asked;
    (*FPrompts)->OnSaveFileName = [&](TFileDialogOptions &o) {
        asked = o;
        return Path(name);
    };
    QCOMPARE(editor->FileSaveAs(), !error);
    QCOMPARE(asked.InitialName, x);
    QCOMPARE(asked.DefaultSuffix, QStringLiteral("abx"));
    QVERIFY(asked.Filter.startsWith(QStringLiteral("Arbolix v2 files (*.abx)|*.abx|")));
    QVERIFY(asked.Filter.contains(QStringLiteral("*.bmp")));
    if (written.isEmpty()) {
        QCOMPARE(QDir(FDir->path()).entryList({QStringLiteral("notes*")}, QDir::Files), QStringList());
    } else {
        QVERIFY(FileBytes(Path(written)).startsWith(magic));
    }
    const auto errors = (*FPrompts)->CallsOf(QStringLiteral("Ask"));
    QCOMPARE(errors.size(), size_t(error ? 1 : 0));
    if (error)
        QVERIFY2(errors.front().Text.contains(QStringLiteral(".xyz")), qPrintable(errors.front().Text));
    QCOMPARE(editor->FileName(), renamed ? Path(written) : x);
    QCOMPARE(editor->Modified(), !renamed);
    QCOMPARE(editor->windowTitle(), QStringLiteral("Dendrix - ") + (renamed ? written : QStringLiteral("x.abx")));
    QCOMPARE(editor->StatusBar()->PanelText(TTreeStatusBar::spModified), renamed ? QString() : QStringLiteral("Modified"));
}

void TestTreeEditor::failedSavesKeepNameAndFile_data()
{
    QTest::addColumn<bool>("saveAs");
    QTest::newRow("save as") << true;
    QTest::newRow("save") << false;
}

void TestTreeEditor::failedSavesKeepNameAndFile()
{
    QFETCH(bool, saveAs);
    const QString x = WriteDiagram(Path(QStringLiteral("x.abx")), {QStringLiteral("A")});
    const QByteArray original = FileBytes(x);
    auto editor = Editor(x);
    editor->Tree()->AddShape(0, 100, nullptr, QStringLiteral("B"));
    // A folder where the file should be: nothing can be written there.
    const QString blocked = Path(QStringLiteral("blocked.abx"));
    QVERIFY(QDir().mkpath(blocked));
    if (saveAs) {
        (*FPrompts)->FileNames = {blocked};
        QVERIFY(!editor->FileSaveAs());
        QCOMPARE(editor->FileName(), x);
    } else {
        // The document's own file turned into a folder meanwhile.
        QVERIFY(QFile::remove(x));
        QVERIFY(QDir().mkpath(x));
        QVERIFY(!editor->FileSave());
        QCOMPARE(editor->FileName(), x);
        QVERIFY(QFileInfo(x).isDir());
    }
    QCOMPARE((*FPrompts)->CallsOf(QStringLiteral("Ask")).size(), size_t(1));
    QCOMPARE((*FPrompts)->CallsOf(QStringLiteral("Ask")).front().Kind, pkError);
    QVERIFY(editor->Modified());
    QCOMPARE(editor->windowTitle(), QStringLiteral("Dendrix - x.abx"));
    if (saveAs)
        QCOMPARE(FileBytes(x), original);
    // A failed save is no save: closing still asks.
    (*FPrompts)->ClearCalls();
    (*FPrompts)->Answers = {paCancel};
    QVERIFY(!editor->close());
    QCOMPARE(AskedTexts(**FPrompts), QStringList{QStringLiteral("Do you want to save x.abx?")});
}

void TestTreeEditor::savingUntitledProposesTree1()
{
    auto editor = Editor();
    editor->Tree()->AddShape(0, 0, nullptr, QStringLiteral("new"));
    QString proposed;
    (*FPrompts)->OnSaveFileName = [&](TFileDialogOptions &o) {
        proposed = o.InitialName;
        return Path(o.InitialName);
    };
    QVERIFY(editor->FileSave());
    QCOMPARE(proposed, QStringLiteral("Tree1"));
    QCOMPARE(editor->FileName(), Path(QStringLiteral("Tree1.abx")));
    QCOMPARE(DiagramTexts(Path(QStringLiteral("Tree1.abx"))), QStringList{QStringLiteral("new")});
    QCOMPARE(editor->windowTitle(), QStringLiteral("Dendrix - Tree1.abx"));
    // A named document saves without a dialog.
    editor->Tree()->AddShape(0, 50, nullptr, QStringLiteral("more"));
    QVERIFY(editor->FileSave());
    QCOMPARE((*FPrompts)->CallsOf(QStringLiteral("SaveFileName")).size(), size_t(1));
    // The save dialog cancelled: nothing saved, still modified.
    editor->FileNew();
    editor->Tree()->AddShape(0, 0, nullptr, QStringLiteral("again"));
    (*FPrompts)->OnSaveFileName = [](TFileDialogOptions &) { return QString(); };
    QVERIFY(!editor->FileSave());
    QVERIFY(editor->Modified());
    // Yes to the question with the dialog cancelled keeps the window open.
    (*FPrompts)->Answers = {paYes};
    QVERIFY(!editor->close());
    QVERIFY(editor->isVisible());
}

void TestTreeEditor::aMovedNodeIsWhereItWasLeft()
{
    const QString x = WriteDiagram(Path(QStringLiteral("x.abx")), {QStringLiteral("A"), QStringLiteral("B")});
    int left = 0;
    int top = 0;
    {
        auto editor = Editor(x);
        TTreeNodeShape *a = editor->Tree()->Shapes().Items(0);
        editor->Tree()->MoveShape(a, 37, 41, false);
        left = a->X0();
        top = a->Y0();
        QVERIFY(editor->Modified());
        QVERIFY(editor->FileAction(fcSave)->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_S));
        editor->FileAction(fcSave)->trigger();
        QVERIFY(!editor->Modified());
        QVERIFY(editor->close());
    }
    auto again = Editor(x);
    QCOMPARE(again->Tree()->Shapes().Count(), 2);
    QCOMPARE(again->Tree()->Shapes().Items(0)->X0(), left);
    QCOMPARE(again->Tree()->Shapes().Items(0)->Y0(), top);
    QVERIFY(again->Recent()->FileNames().contains(x));
}

void TestTreeEditor::statusBarFollowsTheMouse()
{
    const QString x = WriteDiagram(Path(QStringLiteral("x.abx")), {QStringLiteral("Alpha")});
    auto editor = Editor(x);
    editor->resize(800, 600);
    QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
    TTree *tree = editor->Tree();
    tree->repaint();
    QTRY_VERIFY(tree->Drawn());
    TTreeNodeShape *node = tree->Shapes().Items(0);
    const TPoint centre = tree->ProjectPoint(TPoint((node->X0() + node->X1()) / 2, (node->Y0() + node->Y1()) / 2));
    QTest::mouseMove(tree, QPoint(centre.X, centre.Y));
    TTreeStatusBar *bar = editor->StatusBar();
    QTRY_COMPARE(bar->PanelText(TTreeStatusBar::spName), node->Name());
    QCOMPARE(bar->PanelText(TTreeStatusBar::spText), QStringLiteral("Alpha"));
    QCOMPARE(bar->PanelText(TTreeStatusBar::spPosition),
             QStringLiteral("%1,%2 %3,%4").arg(node->X0()).arg(node->Y0()).arg(node->Width()).arg(node->Height()));
    // Over empty space: the position in diagram units.
    const QPoint empty(tree->width() - 5, tree->height() - 5);
    QTest::mouseMove(tree, empty);
    const TPoint model = tree->UnprojectPoint(TPoint(empty.x(), empty.y()));
    QTRY_COMPARE(bar->PanelText(TTreeStatusBar::spPosition), QStringLiteral("%1,%2").arg(model.X).arg(model.Y));
    QCOMPARE(bar->PanelText(TTreeStatusBar::spName), QString());
    QCOMPARE(bar->PanelText(TTreeStatusBar::spText), QString());
    // The text panel takes what the others leave of the window's width.
    editor->resize(900, 600);
    QCOMPARE(bar->Panel(TTreeStatusBar::spText)->maximumWidth(), 900 - TTreeStatusBar::kTextPanelMargin);
    QVERIFY(bar->Panel(TTreeStatusBar::spText)->width() <= 900 - TTreeStatusBar::kTextPanelMargin);
}

void TestTreeEditor::lockPanelsFollowTheKeyboard()
{
    auto editor = Editor();
    TTreeStatusBar *bar = editor->StatusBar();
    QCOMPARE(bar->KeyTimer().interval(), 1000);
    QVERIFY(bar->KeyTimer().isActive());
    TKeyLockStates states;
    bar->SetKeyStateSource([&states] { return states; });
    states.Caps = true;
    states.Scroll = true;
    // The timer's next tick shows them.
    QTRY_COMPARE_WITH_TIMEOUT(bar->PanelText(TTreeStatusBar::spCaps), QStringLiteral("CAPS"), 3000);
    QCOMPARE(bar->PanelText(TTreeStatusBar::spNum), QString());
    QCOMPARE(bar->PanelText(TTreeStatusBar::spScroll), QStringLiteral("SCR"));
    states = TKeyLockStates();
    states.Num = true;
    bar->RefreshKeyStates();
    QCOMPARE(bar->PanelText(TTreeStatusBar::spCaps), QString());
    QCOMPARE(bar->PanelText(TTreeStatusBar::spNum), QStringLiteral("NUM"));
    // Closing stops the timer.
    QVERIFY(editor->close());
    QVERIFY(!bar->KeyTimer().isActive());
}

void TestTreeEditor::designAndPreviewTabs()
{
    const QString x = WriteDiagram(Path(QStringLiteral("x.abx")), {QStringLiteral("A")});
    auto editor = Editor(x);
    QTabBar *tabs = editor->TabControl();
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->tabText(0), QStringLiteral("Design"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("Preview"));
    QVERIFY(editor->Tree()->Designing());
    QVERIFY(editor->Tree()->Grid()->Visible());
    tabs->setCurrentIndex(1);
    QVERIFY(!editor->Tree()->Designing());
    QVERIFY(!editor->Tree()->Grid()->Visible());
    QVERIFY(!editor->Modified());
    // Opening a file goes back to design, grid shown, even when the file
    // was saved without it.
    editor->Tree()->Grid()->SetVisible(false);
    QVERIFY(editor->SaveDocument());
    QVERIFY(editor->ReadFile(x));
    QCOMPARE(tabs->currentIndex(), 0);
    QVERIFY(editor->Tree()->Designing());
    QVERIFY(editor->Tree()->Grid()->Visible());
    QVERIFY(!editor->Modified());
}

QTEST_MAIN(TestTreeEditor)
#include "tst_tree_editor.moc"
