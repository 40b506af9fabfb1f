// The main window keeps a document's animation: read after the diagram,
// written after it again byte for byte, dropped with the document that
// had it (a new document, a file without one).

#include "EditorTestUtil.h"

#include "animation/AnimationKinds.h"
#include "animation/TreeAnimateFile.h"
#include "animation/NodeAnimate.h"
#include "animation/TreeAnimateEditor.h"
#include "dialogs/KorInspector.h"
#include "editor/TreeUndo.h"
#include "editor/UDendrix.h"
#include "view/TreeInteraction.h"

#include <QBuffer>
#include <QCheckBox>
#include <QSlider>
#include <QToolButton>
#include <QtTest>

namespace {

// A diagram file with two nodes and, when asked, an animation moving one.
QByteArray DocumentBytes(bool withAnimation)
{
    RegisterAnimationClasses();
    TComponent host;
    host.SetName(QStringLiteral("TreeEditor1"));
    auto tree = std::make_unique<TTree>(&host);
    tree->SetNoOwnerShapes(false);
    TTreeNodeShape *a = tree->AddShape(10, 20, nullptr, QStringLiteral("A"));
    tree->AddShape(110, 20, nullptr, QStringLiteral("B"));
    auto player = std::make_unique<TTreeAnimate>();
    player->SetName(QStringLiteral("TreeAnimate1"));
    player->SetTree(tree.get());
    auto *move = new TMovementAnimation(&host);
    move->SetName(QStringLiteral("MovementAnimation1"));
    move->SetNode(a);
    move->SetEndValue(200);
    player->Animations().Add(move);
    player->SetSpeed(20);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    SaveDocument(*tree, buffer, withAnimation ? player.get() : nullptr);
    player.reset();
    tree.reset();
    return buffer.data();
}

bool WriteBytes(const QString &name, const QByteArray &bytes)
{
    QFile f(name);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class TestEditorAnimation : public TEditorWindowTest
{
    Q_OBJECT

private slots:
    void fileKeepsItsAnimation();
    void documentsWithoutAnimation_data();
    void documentsWithoutAnimation();
    void dockedEditorEditsAndPlays();
    void editorEditsAreUndone_data();
    void editorEditsAreUndone();

private:
    QTemporaryDir FDir;
};

void TestEditorAnimation::fileKeepsItsAnimation()
{
    const QString in = FDir.filePath(QStringLiteral("moving.abx"));
    const QByteArray bytes = DocumentBytes(true);
    QVERIFY(WriteBytes(in, bytes));
    auto editor = ShownEditor(FDir.filePath(QStringLiteral("recovery")));
    QVERIFY(editor->ReadFile(in));
    TTreeAnimate *player = editor->Animation();
    QVERIFY(player);
    QCOMPARE(player->Tree(), static_cast<TTreeDocument *>(editor->Tree()));
    QCOMPARE(player->Animations().Count(), 1);
    auto *move = dynamic_cast<TMovementAnimation *>(player->Animations()[0]);
    QVERIFY(move && move->Node() == editor->Tree()->Shapes()[0]);
    const QString out = FDir.filePath(QStringLiteral("again.abx"));
    QVERIFY(editor->SaveDocumentAs(out));
    const QByteArray part = QByteArray("TPF0\x0c" "TTreeAnimate");
    const QByteArray written = FileBytes(out);
    QVERIFY(written.indexOf(part, 4) > 0);
    QCOMPARE(written.mid(written.indexOf(part, 4)), bytes.mid(bytes.indexOf(part, 4)));
}

void TestEditorAnimation::documentsWithoutAnimation_data()
{
    QTest::addColumn<bool>("openPlainFile"); // else File > New
    QTest::newRow("a file without one") << true;
    QTest::newRow("a new document") << false;
}

void TestEditorAnimation::documentsWithoutAnimation()
{
    QFETCH(bool, openPlainFile);
    const QString moving = FDir.filePath(QStringLiteral("m.abx"));
    const QString plain = FDir.filePath(QStringLiteral("p.abx"));
    QVERIFY(WriteBytes(moving, DocumentBytes(true)));
    QVERIFY(WriteBytes(plain, DocumentBytes(false)));
    auto editor = ShownEditor(FDir.filePath(QStringLiteral("recovery")));
    QVERIFY(editor->ReadFile(moving));
    QVERIFY(editor->Animation());
    if (openPlainFile)
        QVERIFY(editor->ReadFile(plain));
    else
        editor->FileAction(fcNew)->trigger();
    QVERIFY(!editor->Animation());
    const QString out = FDir.filePath(QStringLiteral("out.abx"));
    QVERIFY(editor->SaveDocumentAs(out));
    QCOMPARE(FileBytes(out).count("TPF0"), 1);
}

void TestEditorAnimation::dockedEditorEditsAndPlays()
{
    const QString in = FDir.filePath(QStringLiteral("plain.abx"));
    QVERIFY(WriteBytes(in, DocumentBytes(false)));
    auto editor = ShownEditor(FDir.filePath(QStringLiteral("recovery")));
    QVERIFY(editor->ReadFile(in));
    QVERIFY(!editor->Animation());
    editor->SetBandVisible(ebAnimationEditor, true);
    QVERIFY(editor->BandVisible(ebAnimationEditor));
    // Shown on first use with an animation of its own.
    TTreeAnimate *player = editor->Animation();
    QVERIFY(player);
    QCOMPARE(editor->AnimationEditor()->Player(), player);
    QVERIFY(!editor->Modified());
    auto *move = static_cast<TMovementAnimation *>(
        editor->AnimationEditor()->AddAnimation(*FindAnimationClass(QStringLiteral("TMovementAnimation"))));
    QVERIFY(editor->Modified());
    QCOMPARE(move->Owner(), editor->Tree()->Owner());
    TTreeNodeShape *node = editor->Tree()->Shapes()[0];
    move->SetNode(node);
    move->SetStartValue(500);
    move->SetEndValue(600);
    const int x = node->X0();
    // Saved while it plays: the file holds the node where it was. (The
    // slowest speed: no tick of the timer comes between.)
    player->SetSpeed(1);
    player->Play();
    player->NextFrame();
    QCOMPARE(node->X0(), 500);
    const QString out = FDir.filePath(QStringLiteral("playing.abx"));
    QVERIFY(editor->SaveDocumentAs(out));
    QCOMPARE(node->X0(), 500);
    QVERIFY(editor->ReadFile(out));
    QCOMPARE(editor->Tree()->Shapes()[0]->X0(), x);
    QVERIFY(editor->Animation());
    QCOMPARE(editor->AnimationEditor()->Player(), editor->Animation());
    editor->SetBandVisible(ebAnimationEditor, false);
    QVERIFY(!editor->BandVisible(ebAnimationEditor));
    QVERIFY(!editor->AnimationEditor()->Player());
}

void TestEditorAnimation::editorEditsAreUndone_data()
{
    QTest::addColumn<QString>("edit");
    QTest::newRow("add") << "add";
    QTest::newRow("delete") << "delete";
    QTest::newRow("move down") << "down";
    QTest::newRow("drag a bar") << "drag";
    QTest::newRow("speed") << "speed";
    QTest::newRow("loop") << "loop";
    QTest::newRow("node") << "node";
}

// Every edit made in the docked editor marks the document modified, is one
// step, and taking it back gives the animation exactly as it was (its
// record byte for byte), the editor's views following; making it again
// gives the edited one.
void TestEditorAnimation::editorEditsAreUndone()
{
    QFETCH(QString, edit);
    const QString in = FDir.filePath(QStringLiteral("undo.abx"));
    QVERIFY(WriteBytes(in, DocumentBytes(true)));
    auto editor = ShownEditor(FDir.filePath(QStringLiteral("recovery")));
    QVERIFY(editor->ReadFile(in));
    editor->SetBandVisible(ebAnimationEditor, true);
    TTreeAnimateEditor *e = editor->AnimationEditor();
    QVERIFY(QTest::qWaitForWindowExposed(e));
    TTreeAnimate *player = editor->Animation();
    e->AddAnimation(*FindAnimationClass(QStringLiteral("TFontSizeAnimation")));
    editor->Undo()->SetClean();
    editor->SetModified(false);
    const int steps = editor->Undo()->Count();
    const QByteArray before = player->SaveState();
    e->SelectIndex(0);
    if (edit == QLatin1String("add")) {
        e->AddAnimation(*FindAnimationClass(QStringLiteral("TNodeZoomAnimation")));
    } else if (edit == QLatin1String("delete")) {
        e->DeleteSelected();
    } else if (edit == QLatin1String("down")) {
        QTest::mouseClick(e->MoveDownButton(), Qt::LeftButton);
    } else if (edit == QLatin1String("drag")) {
        TTree *t = e->Timeline();
        t->grab();
        const TNodeAnimate *bar = e->Bar(0);
        const QPoint from = t->ProjectPoint(TPoint(bar->X0() + bar->Width() / 2, bar->Y0() + 4)).ToQPoint();
        QTest::mousePress(t, Qt::LeftButton, Qt::NoModifier, from);
        for (int dx : {12, 24, 36}) {
            QMouseEvent move(QEvent::MouseMove, QPointF(from + QPoint(dx, 0)), t->mapToGlobal(QPointF(from + QPoint(dx, 0))),
                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(t, &move);
        }
        QTest::mouseRelease(t, Qt::LeftButton, Qt::NoModifier, from + QPoint(36, 0));
        QCOMPARE(player->Animations()[0]->StartFrame(), 3);
    } else if (edit == QLatin1String("speed")) {
        e->SpeedBar()->setValue(70);
    } else if (edit == QLatin1String("loop")) {
        e->LoopBox()->click();
    } else if (edit == QLatin1String("node")) {
        e->SelectIndex(1);
        TInspectorItem *row = e->InspectorItem(0);
        row->SetData(editor->Tree()->Shapes()[1]);
        row->OnChange(row);
    }
    const QByteArray after = player->SaveState();
    QVERIFY(after != before);
    QVERIFY(editor->Modified());
    QCOMPARE(editor->Undo()->Count(), steps + 1);
    editor->Undo()->Undo();
    QCOMPARE(player->SaveState(), before);
    QVERIFY(!editor->Modified());
    // The views show the animations as they are now.
    QCOMPARE(e->Timeline()->Shapes().Count(), player->Animations().Count());
    for (int i = 0; i < player->Animations().Count(); ++i) {
        QCOMPARE(e->Bar(i)->Animation(), player->Animations()[i]);
        QCOMPARE(e->Bar(i)->X0(), player->Animations()[i]->StartFrame() * e->PixelsPerFrame());
    }
    // The animations made anew still move their nodes.
    auto *move = dynamic_cast<TMovementAnimation *>(player->Animations()[0]);
    QVERIFY(move && move->Node() == editor->Tree()->Shapes()[0]);
    editor->Undo()->Redo();
    QCOMPARE(player->SaveState(), after);
    QVERIFY(editor->Modified());
    QCOMPARE(e->Timeline()->Shapes().Count(), player->Animations().Count());
}

QTEST_MAIN(TestEditorAnimation)
#include "tst_editor_animation.moc"
