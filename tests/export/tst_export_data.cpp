// The node hierarchy as data: the exact text, XML, HTML table and sheet of
// small diagrams, mark-up in node text arriving as text, the sheet's code
// page and limits, and an outline read, written and read again unchanged.

#include "ExportTestUtil.h"

#include "core/Windows1252.h"
#include "export/TreeData.h"

#include <QBuffer>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

// Root "A" with children "B" (two lines: "B", "b2") and "C", whose child
// is "D"; a second root "E".
void BuildSmallTree(TTree *t)
{
    TTreeNodeShape *a = t->AddRoot(QStringLiteral("A"));
    TTreeNodeShape *b = a->AddChild(QStringLiteral("B"));
    b->Text()->Add(QStringLiteral("b2"));
    a->AddChild(QStringLiteral("C"))->AddChild(QStringLiteral("D"));
    t->AddRoot(QStringLiteral("E"));
}

struct TSheetRecord
{
    uint16_t Type;
    QByteArray Body;
};

std::vector<TSheetRecord> SheetRecords(const QByteArray &bytes)
{
    std::vector<TSheetRecord> out;
    for (qsizetype at = 0; at + 4 <= bytes.size();) {
        const uint16_t type = qFromLittleEndian<uint16_t>(bytes.constData() + at);
        const uint16_t size = qFromLittleEndian<uint16_t>(bytes.constData() + at + 2);
        out.push_back({type, bytes.mid(at + 4, size)});
        at += 4 + size;
    }
    return out;
}

uint16_t Word(const QByteArray &b, int at)
{
    return qFromLittleEndian<uint16_t>(b.constData() + at);
}

const QString kMarkup = QStringLiteral("<script>alert('x')</script> & \"quoted\" \u00e9\u20ac\U0001F600");

} // namespace

class TestExportData : public QObject
{
    Q_OBJECT
private slots:
    void textIndentation_data();
    void textIndentation();
    void xmlAsWritten();
    void htmlAsWritten();
    void markupArrivesAsText_data();
    void markupArrivesAsText();
    void sheetRecords();
    void sheetCodePageAndLongText();
    void sheetTooLargeIsRefused();
    void outlineRoundTrip();
};

void TestExportData::textIndentation_data()
{
    QTest::addColumn<QChar>("indent");
    QTest::newRow("tab") << QChar('\t');
    QTest::newRow("space") << QChar(' ');
    QTest::newRow("colon is a semicolon") << QChar(';');
}

void TestExportData::textIndentation()
{
    QFETCH(QChar, indent);
    TViewHost h;
    BuildSmallTree(h.Tree);
    TTreeDataText text(h.Tree);
    text.SetIndentation(indent);
    const QString i(indent);
    QCOMPARE(text.AsText(), QStringLiteral("A\r\n") + i + "B b2\r\n" + i + "C\r\n" + i + i + "D\r\n\r\nE\r\n\r\n\r\n");
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    text.WriteToStream(b);
    QCOMPARE(QString::fromUtf8(b.data()), text.AsText());
}

void TestExportData::xmlAsWritten()
{
    TViewHost h;
    TTreeDataXML empty(h.Tree);
    QCOMPARE(empty.AsText(), QStringLiteral("<?xml version=\"1.0\" ?>\r\n<tree>\r\n</tree>"));
    h.Tree->AddRoot(QStringLiteral("A"))->AddChild(QStringLiteral("B"));
    TTreeDataXML xml(h.Tree);
    QCOMPARE(xml.AsText(),
             QStringLiteral("<?xml version=\"1.0\" ?>\r\n<tree>\r\n"
                            "<node name=\"TreeNodeShape1\" class=\"TTreeNodeShape\">A\r\n\r\n</node>\r\n\r\n"
                            "<node name=\"TreeNodeShape2\" class=\"TTreeNodeShape\">B\r\n\r\n</node>\r\n\r\n"
                            "</tree>"));
}

void TestExportData::htmlAsWritten()
{
    TViewHost h;
    BuildSmallTree(h.Tree);
    TTreeDataHTML html(h.Tree);
    QCOMPARE(html.AsText(), QStringLiteral("<table border=\"1\">\r\n"
                                           "<tr><td>A</td></tr>\r\n"
                                           "<tr><td></td><td>B b2</td></tr>\r\n"
                                           "<tr><td></td><td>C</td></tr>\r\n"
                                           "<tr><td></td><td></td><td>D</td></tr>\r\n"
                                           "<tr><td>E</td></tr>\r\n"
                                           "\r\n</table>"));
}

void TestExportData::markupArrivesAsText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("mark-up and Unicode") << kMarkup;
    QTest::newRow("entities") << QStringLiteral("&amp; &lt; ]]> <!-- -->");
    QTest::newRow("control characters") << QStringLiteral("bell\x07 and nul") + QChar(0) + QStringLiteral("end");
}

void TestExportData::markupArrivesAsText()
{
    QFETCH(QString, text);
    TViewHost h;
    TTreeNodeShape *n = h.Tree->AddRoot(text);
    n->AddChild(QStringLiteral("child"));
    // XML: one node element per node, each holding the text.
    QXmlStreamReader xml(TTreeDataXML(h.Tree).AsText().toUtf8());
    QStringList texts;
    int elements = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("node")) {
            ++elements;
            texts << xml.readElementText().trimmed();
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(elements, 2);
    QString expected = text;
    for (QChar &c : expected)
        if (c.unicode() < 0x20)
            c = QChar(0xFFFD);
    QCOMPARE(texts.first(), expected);
    // HTML: the cell holds no element, and reads back as the text.
    const QString html = TTreeDataHTML(h.Tree).AsText();
    QVERIFY(!html.contains(QStringLiteral("<script")));
    for (qsizetype i = 0; i < html.size(); ++i)
        QVERIFY(html.at(i).unicode() < 0x80);
    QXmlStreamReader table(html.toUtf8());
    QStringList cells;
    while (!table.atEnd())
        if (table.readNext() == QXmlStreamReader::StartElement && table.name() == QLatin1String("td"))
            cells << table.readElementText();
    QVERIFY2(!table.hasError(), qPrintable(table.errorString()));
    QCOMPARE(cells.first(), expected);
}

void TestExportData::sheetRecords()
{
    TViewHost h;
    BuildSmallTree(h.Tree);
    const std::vector<TSheetRecord> r = SheetRecords(TTreeDataXLS(h.Tree).Bytes());
    QCOMPARE(r.front().Type, uint16_t(0x0809));
    QCOMPARE(r.front().Body, QByteArray("\x00\x00\x10\x00\x00\x00\x00\x00", 8));
    QCOMPARE(r[1].Type, uint16_t(0x0042));
    QCOMPARE(Word(r[1].Body, 0), uint16_t(1252));
    QCOMPARE(r[2].Type, uint16_t(0x0200));
    QCOMPARE(Word(r[2].Body, 2), uint16_t(5)); // rows: nodes
    QCOMPARE(Word(r[2].Body, 6), uint16_t(3)); // columns: deepest level + 1
    QCOMPARE(r.back().Type, uint16_t(0x000A));
    QVERIFY(r.back().Body.isEmpty());
    // Blanks before each label, labels at the node's level.
    QStringList cells;
    for (size_t i = 3; i + 1 < r.size(); ++i) {
        const int row = Word(r[i].Body, 0), col = Word(r[i].Body, 2);
        if (r[i].Type == 0x0001) {
            QCOMPARE(r[i].Body.size(), 7);
            cells << QStringLiteral("%1,%2:").arg(row).arg(col);
        } else {
            QCOMPARE(r[i].Type, uint16_t(0x0004));
            const int n = uchar(r[i].Body[7]);
            QCOMPARE(r[i].Body.size(), 8 + n);
            cells << QStringLiteral("%1,%2:%3").arg(row).arg(col).arg(QString::fromLatin1(r[i].Body.mid(8)));
        }
    }
    QCOMPARE(cells, (QStringList{"0,0:A", "1,0:", "1,1:B b2", "2,0:", "2,1:C", "3,0:", "3,1:", "3,2:D", "4,0:E"}));
}

void TestExportData::sheetCodePageAndLongText()
{
    TViewHost h;
    const QString longText(300, QLatin1Char('x'));
    h.Tree->AddRoot(longText);
    h.Tree->AddRoot(QStringLiteral("caf\u00e9 \u20ac \u4e2d"));
    const std::vector<TSheetRecord> r = SheetRecords(TTreeDataXLS(h.Tree).Bytes());
    QCOMPARE(uchar(r[3].Body[7]), uchar(255));
    QCOMPARE(r[3].Body.mid(8), QByteArray(255, 'x'));
    // Windows-1252 bytes; what it lacks becomes "?".
    QCOMPARE(r[4].Body.mid(8), QByteArray("caf\xE9 \x80 ?"));
    // The other formats keep the text whole.
    QVERIFY(TTreeDataText(h.Tree).AsText().contains(longText));
    QVERIFY(TTreeDataXML(h.Tree).AsText().contains(longText));
    QVERIFY(TTreeDataHTML(h.Tree).AsText().contains(longText));
}

void TestExportData::sheetTooLargeIsRefused()
{
    TViewHost h;
    TTreeNodeShape *n = h.Tree->AddRoot(QStringLiteral("0"));
    for (int i = 1; i <= 256; ++i)
        n = n->AddChild(QString::number(i));
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("deep.xls"));
    try {
        TTreeDataXLS(h.Tree).SaveToFileNamed(name);
        QFAIL("a sheet of 257 columns was written");
    } catch (const EExportError &e) {
        QVERIFY2(e.Message().contains(QStringLiteral("257 columns")), qPrintable(e.Message()));
    }
    QVERIFY(!QFile::exists(name));
}

void TestExportData::outlineRoundTrip()
{
    const QByteArray outline = "Project\n Design\n  Sketches\n  Review\n Build\n  Parts\n   Screws\nNotes\n \u00e9t\u00e9\n";
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.txt"));
    const QString abx = dir.filePath(QStringLiteral("in.abx"));
    const QString out = dir.filePath(QStringLiteral("out.txt"));
    QVERIFY(WriteFileBytes(in, outline));
    QString errors;
    QTextStream err(&errors);
    QCOMPARE(RunExportCommand(abx, in, err), 0);
    QCOMPARE(RunExportCommand(out, abx, err), 0);
    QVERIFY2(errors.isEmpty(), qPrintable(errors));
    QCOMPARE(ReadFileBytes(out), outline);
}

QTEST_MAIN(TestExportData)
#include "tst_export_data.moc"
