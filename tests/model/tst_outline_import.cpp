// Text outline import: depths from leading spaces (relative, one level at a
// time), empty lines, appending to a diagram, the switches put back however
// the import ends, and reading files with their line ends, encoding and
// errors.

#include "TreeTestUtil.h"

#include "core/Exceptions.h"
#include "model/TreeWalk.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The diagram's hierarchy as text: one line per node in pre-order, its
// level as leading dots, its text in brackets.
QString Outline(const TTreeDocument *tree)
{
    QStringList out;
    for (TTreeNodeShape *root : tree->Roots())
        ForEachInSubtree(root, [&](TTreeNodeShape *n) {
            out << QString(n->Level(), QLatin1Char('.')) + QLatin1Char('[') + n->SimpleText() + QLatin1Char(']');
        });
    return out.join(QLatin1Char(' '));
}

QString WriteFile(const QTemporaryDir &dir, const QString &name, const QByteArray &content)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
        return QString();
    return path;
}

} // namespace

class TestOutlineImport : public QObject
{
    Q_OBJECT
private slots:
    void depths_data();
    void depths();
    void firstNodeAndNames();
    void appendsToTheDiagram();
    void switchesPutBack();
    void switchesPutBackOnFailure();
    void fileLineEnds();
    void fileEncoding();
    void fileErrors();
};

void TestOutlineImport::depths_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("tree");
    QTest::newRow("siblings and a second root")
        << QStringList{"A", " B", "  C", " D", "E"} << QStringLiteral("[A] .[B] ..[C] .[D] [E]");
    // However many spaces, a line goes one level deeper at most.
    QTest::newRow("deep jump makes a chain")
        << QStringList{"A", "    B", "    C"} << QStringLiteral("[A] .[B] ..[C]");
    QTest::newRow("count equal to depth is a brother")
        << QStringList{"A", " B", "   C", "  D"} << QStringLiteral("[A] .[B] ..[C] ..[D]");
    QTest::newRow("climb back two levels")
        << QStringList{"A", " B", "  C", "   D", " E"} << QStringLiteral("[A] .[B] ..[C] ...[D] .[E]");
    QTest::newRow("climb to the depth given")
        << QStringList{"A", " B", "  C", "   D", "  E"} << QStringLiteral("[A] .[B] ..[C] ...[D] ..[E]");
    QTest::newRow("first line keeps its spaces")
        << QStringList{" X", " Y"} << QStringLiteral("[ X] .[Y]");
    QTest::newRow("empty lines are roots")
        << QStringList{"A", "", " B", ""} << QStringLiteral("[A] [] .[B] []");
    QTest::newRow("empty first line")
        << QStringList{"", "A"} << QStringLiteral("[] [A]");
    QTest::newRow("a tab is text")
        << QStringList{"A", "\tB", " \tC"} << QStringLiteral("[A] [\tB] .[\tC]");
    QTest::newRow("only spaces")
        << QStringList{"A", "   "} << QStringLiteral("[A] .[]");
    QTest::newRow("inner and trailing spaces stay")
        << QStringList{"A b ", " c  d "} << QStringLiteral("[A b ] .[c  d ]");
}

void TestOutlineImport::depths()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, tree);
    THost host;
    host.Tree->ImportOutline(lines);
    QCOMPARE(Outline(host.Tree), tree);
    QCOMPARE(host.Tree->Shapes().Count(), lines.size());
}

void TestOutlineImport::firstNodeAndNames()
{
    THost host;
    QVERIFY(!host.Tree->ImportOutline({}));
    QCOMPARE(host.Tree->Shapes().Count(), 0);
    TTreeNodeShape *first = host.Tree->ImportOutline({"A", " B", " C"});
    QCOMPARE(first, host.Tree->Roots()[0]);
    QCOMPARE(first->SimpleText(), QStringLiteral("A"));
    // Made like any other node: named, automatic, connected to the parent,
    // hidden under a collapsed parent.
    QCOMPARE(first->Name(), QStringLiteral("TreeNodeShape1"));
    TTreeNodeShape *c = first->Child(1);
    QCOMPARE(c->Name(), QStringLiteral("TreeNodeShape3"));
    QVERIFY(!c->PeekAutoPosition() || (c->AutoPosition()->Left() && c->AutoPosition()->Top()));
    QVERIFY(first->ConnectionTo(c));
    QVERIFY(!c->Visible());
    QCOMPARE(host.Tree->Connections().Count(), 2);
    // Without AutoConnectChildren no connections.
    THost plain;
    plain.Tree->SetAutoConnectChildren(false);
    plain.Tree->ImportOutline({"A", " B"});
    QCOMPARE(plain.Tree->Connections().Count(), 0);
}

void TestOutlineImport::appendsToTheDiagram()
{
    THost host;
    TTreeNodeShape *old = host.Tree->AddRoot(QStringLiteral("old"));
    TTreeNodeShape *kid = old->AddChild(QStringLiteral("kid"));
    // An indented first line is still a root: the import never adds under
    // existing nodes.
    TTreeNodeShape *first = host.Tree->ImportOutline({"  new", " child", "next"});
    QCOMPARE(Outline(host.Tree), QStringLiteral("[old] .[kid] [  new] .[child] [next]"));
    QCOMPARE(host.Tree->Roots()[1], first);
    QCOMPARE(old->ChildCount(), 1);
    QCOMPARE(old->Child(0), kid);
}

void TestOutlineImport::switchesPutBack()
{
    THost host;
    TTreeDocument *tree = host.Tree;
    tree->SetAssignParentFormat(true);
    TTreeNodeShape *styled = tree->AddRoot(QStringLiteral("styled"));
    styled->SetColor(clRed);
    // The imported children do not copy a parent's format, and the
    // diagram repaints once at the end.
    int repaintsDuring = -1;
    tree->OnNewShape = [&](TTreeDocument *, TTreeNodeShape *) {
        QVERIFY(!tree->AssignParentFormat());
        QVERIFY(!tree->AutoRepaint());
        repaintsDuring = tree->InvalidateCount();
    };
    const int before = tree->InvalidateCount();
    TTreeNodeShape *first = tree->ImportOutline({"A", " B"});
    QCOMPARE(repaintsDuring, before);
    QCOMPARE(tree->InvalidateCount(), before + 1);
    QCOMPARE(first->Child(0)->Color(), clWhite);
    QVERIFY(tree->AssignParentFormat());
    QVERIFY(tree->AutoRepaint());
    // Repainting that was off stays off.
    tree->SetAutoRepaint(false);
    tree->ImportOutline({"C"});
    QVERIFY(!tree->AutoRepaint());
}

void TestOutlineImport::switchesPutBackOnFailure()
{
    THost host;
    TTreeDocument *tree = host.Tree;
    tree->SetAssignParentFormat(true);
    int made = 0;
    tree->OnNewShape = [&](TTreeDocument *, TTreeNodeShape *) {
        if (++made == 3)
            throw EComponentError(QStringLiteral("refused"));
    };
    QVERIFY_THROWS_EXCEPTION(EComponentError, tree->ImportOutline({"A", " B", " C", " D"}));
    QVERIFY(tree->AssignParentFormat());
    QVERIFY(tree->AutoRepaint());
    // What was made before the failure stays, consistent.
    QCOMPARE(tree->Shapes().Count(), 3);
    QCOMPARE(tree->Roots().Count(), 1);
    QCOMPARE(tree->Roots()[0]->ChildCount(), 2);
}

void TestOutlineImport::fileLineEnds()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString lf = WriteFile(dir, "lf.txt", "A\n B\n  C\n D\nE\n");
    const QString crlf = WriteFile(dir, "crlf.txt", "A\r\n B\r\n  C\r\n D\r\nE\r\n");
    const QString cr = WriteFile(dir, "cr.txt", "A\r B\r  C\r D\rE");
    const QString mixed = WriteFile(dir, "mixed.txt", "A\r\n B\n  C\r D\nE");
    const QString expected = QStringLiteral("[A] .[B] ..[C] .[D] [E]");
    for (const QString &path : {lf, crlf, cr, mixed}) {
        QVERIFY(!path.isEmpty());
        THost host;
        TTreeNodeShape *first = host.Tree->ImportOutlineFile(path);
        QVERIFY(first);
        QCOMPARE(Outline(host.Tree), expected);
    }
    // Empty lines inside the file are roots; a final line break adds none.
    THost host;
    host.Tree->ImportOutlineFile(WriteFile(dir, "gaps.txt", "A\r\n\r\n B\r\n"));
    QCOMPARE(Outline(host.Tree), QStringLiteral("[A] [] .[B]"));
    // An empty file makes nothing.
    THost empty;
    QVERIFY(!empty.Tree->ImportOutlineFile(WriteFile(dir, "empty.txt", "")));
    QCOMPARE(empty.Tree->Shapes().Count(), 0);
}

void TestOutlineImport::fileEncoding()
{
    QTemporaryDir dir;
    const QString text = QStringLiteral("Grüße\n Überschrift ✓\n  日本語");
    THost host;
    host.Tree->ImportOutlineFile(WriteFile(dir, "utf8.txt", text.toUtf8()));
    QCOMPARE(Outline(host.Tree), QStringLiteral("[Grüße] .[Überschrift ✓] ..[日本語]"));
    // A byte-order mark is not part of the first line.
    THost bom;
    bom.Tree->ImportOutlineFile(WriteFile(dir, "bom.txt", "\xEF\xBB\xBF" "A\n B"));
    QCOMPARE(Outline(bom.Tree), QStringLiteral("[A] .[B]"));
    // A file that is not UTF-8 is an 8-bit Windows text: every character
    // arrives, none becomes a replacement mark.
    THost ansi;
    ansi.Tree->ImportOutlineFile(WriteFile(dir, "ansi.txt", "Caf\xE9\n na\xEFve \x80 \x93q\x94\n  \xFF\xFE\x81"));
    QCOMPARE(Outline(ansi.Tree), QStringLiteral("[Café] .[naïve € “q”] ..[ÿþ\u0081]"));
    // One stray byte is enough to read the whole file that way.
    THost mixed;
    mixed.Tree->ImportOutlineFile(WriteFile(dir, "mixed.txt", "Gr\xC3\xBC\xDF"));
    QCOMPARE(Outline(mixed.Tree), QStringLiteral("[GrÃ¼ß]"));
}

void TestOutlineImport::fileErrors()
{
    QTemporaryDir dir;
    THost host;
    host.Tree->AddRoot(QStringLiteral("kept"));
    const QString missing = dir.filePath("no such file.txt");
    try {
        host.Tree->ImportOutlineFile(missing);
        QFAIL("a missing file was imported");
    } catch (const EFileError &e) {
        QVERIFY2(e.Message().contains(QStringLiteral("Cannot open file \"%1\"").arg(missing)), qPrintable(e.Message()));
        // The reason follows the name.
        QVERIFY(e.Message().size() > QStringLiteral("Cannot open file \"%1\". ").arg(missing).size());
    }
    // A folder is not a text file.
    QVERIFY_THROWS_EXCEPTION(EFileError, host.Tree->ImportOutlineFile(dir.path()));
    // Unreadable for this user (skipped when running with rights to read it).
    const QString locked = WriteFile(dir, "locked.txt", "A\n B\n");
    QFile::setPermissions(locked, QFileDevice::Permissions());
    QFile probe(locked);
    if (!probe.open(QIODevice::ReadOnly))
        QVERIFY_THROWS_EXCEPTION(EFileError, host.Tree->ImportOutlineFile(locked));
    // The diagram is as it was.
    QCOMPARE(Outline(host.Tree), QStringLiteral("[kept]"));
    QVERIFY(host.Tree->AutoRepaint());
}

QTEST_MAIN(TestOutlineImport)
#include "tst_outline_import.moc"
