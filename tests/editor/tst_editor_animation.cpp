// The main window keeps a document's animation: read after the diagram,
// written after it again byte for byte, dropped with the document that
// had it (a new document, a file without one).

#include "EditorTestUtil.h"

#include "animation/AnimationKinds.h"
#include "animation/TreeAnimateFile.h"
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

QTEST_MAIN(TestEditorAnimation)
#include "tst_editor_animation.moc"
