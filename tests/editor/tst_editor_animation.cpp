// The main window keeps a document's animation: read after the diagram,
// written after it again byte for byte, dropped with the document that
// had it (a new document, a file without one).

#include "EditorTestUtil.h"

#include "animation/AnimationKinds.h"
#include "animation/TreeAnimateFile.h"
#include "animation/TreeAnimateEditor.h"
#include "editor/UDendrix.h"

#include <QBuffer>
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

class TestEditorAnimation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { InitEditorTests(FBase); }
    void init()
    {
        ClearEditorSettings();
        FPrompts = std::make_unique<TScriptedPromptsGuard>();
    }
    void cleanup() { FPrompts.reset(); }
    void fileKeepsItsAnimation();
    void documentsWithoutAnimation_data();
    void documentsWithoutAnimation();
    void dockedEditorEditsAndPlays();

private:
    QTemporaryDir FBase;
    QTemporaryDir FDir;
    std::unique_ptr<TScriptedPromptsGuard> FPrompts;
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

QTEST_MAIN(TestEditorAnimation)
#include "tst_editor_animation.moc"
