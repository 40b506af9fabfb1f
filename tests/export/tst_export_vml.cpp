// VML pages: each template of the canvas on small drawings, the page
// around them, a diagram of every node style read back as XML and as HTML,
// and node text with mark-up characters or any Unicode arriving as text.

#include "ExportTestUtil.h"

#include "export/KorVMLCanvas.h"

#include <QRegularExpression>
#include <QTextDocument>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

// A canvas in a drawing of 200 x 100 whose output starts after the group
// line.
struct TVML
{
    QStringList Lines;
    TVMLCanvas Canvas{&Lines};
    int Start = 0;
    TVML()
    {
        Canvas.StartDrawing(nullptr, nullptr, TRect(0, 0, 200, 100), false);
        Start = int(Lines.size());
    }
    QStringList Out() const { return Lines.mid(Start); }
};

// Reads a page as XML (VML's prefix is declared by the page's own
// namespace line, not by xmlns): every element, and the text of the font
// elements.
bool ParsesAsXml(const QString &page, QStringList *texts, QString *error)
{
    QXmlStreamReader xml(page);
    xml.setNamespaceProcessing(false);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("font") && texts)
            *texts << xml.readElementText().trimmed();
    }
    *error = xml.errorString();
    return !xml.hasError();
}

} // namespace

class TestExportVML : public QObject
{
    Q_OBJECT
private slots:
    void colours_data();
    void colours();
    void lines_data();
    void lines();
    void rectangles();
    void ovalsPolygonsArcsPies();
    void gradients_data();
    void gradients();
    void textBoxes_data();
    void textBoxes();
    void picturesAndClipsLeaveNoTrace();
    void pageOfEveryNodeStyleParses();
    void nodeTextArrivesAsText_data();
    void nodeTextArrivesAsText();
    void commandWritesThePage();
};

void TestExportVML::colours_data()
{
    QTest::addColumn<int>("color");
    QTest::addColumn<QString>("text");
    QTest::newRow("black") << int(clBlack) << "\"#0\"";
    QTest::newRow("white") << int(clWhite) << "\"#FFFFFF\"";
    QTest::newRow("orange") << int(0x0080FF) << "\"#FF8000\"";
    QTest::newRow("dark blue") << int(0x800000) << "\"#000080\"";
}

void TestExportVML::colours()
{
    QFETCH(int, color);
    QFETCH(QString, text);
    QCOMPARE(TVMLCanvas::ColorText(TColor(color)), text);
}

void TestExportVML::lines_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("dots");
    QTest::addColumn<QStringList>("expected");
    const QString head = QStringLiteral("<v:line from=\"10,20\" to=\"30,40\" strokeweight=\"%1\" strokecolor=\"#FF0000\"");
    QTest::newRow("solid") << 1 << int(psSolid) << false << QStringList{head.arg(1) + "/>"};
    QTest::newRow("wide dashed") << 3 << int(psDash) << false
                                 << QStringList{head.arg(3) + ">", "<v:stroke dashstyle=\"dash\"/>", "</v:line>"};
    QTest::newRow("dot") << 1 << int(psDot) << false
                         << QStringList{head.arg(1) + ">", "<v:stroke dashstyle=\"dot\"/>", "</v:line>"};
    QTest::newRow("dash dot") << 1 << int(psDashDot) << false
                              << QStringList{head.arg(1) + ">", "<v:stroke dashstyle=\"dashdot\"/>", "</v:line>"};
    QTest::newRow("dash dot dot") << 2 << int(psDashDotDot) << false
                                  << QStringList{head.arg(2) + ">", "<v:stroke dashstyle=\"longdashdotdot\"/>",
                                                 "</v:line>"};
    QTest::newRow("small dots") << 1 << int(psSolid) << true
                                << QStringList{head.arg(1) + ">", "<v:stroke dashstyle=\"dot\"/>", "</v:line>"};
    QTest::newRow("inside frame") << 1 << int(psInsideFrame) << false
                                  << QStringList{head.arg(1) + ">", "<v:stroke dashstyle=\"\"/>", "</v:line>"};
}

void TestExportVML::lines()
{
    QFETCH(int, width);
    QFETCH(int, style);
    QFETCH(bool, dots);
    QFETCH(QStringList, expected);
    TVML v;
    TChartPen pen;
    pen.SetColor(clRed);
    pen.SetWidth(width);
    pen.SetStyle(TPenStyle(style));
    pen.SetSmallDots(dots);
    v.Canvas.AssignPen(&pen);
    v.Canvas.MoveTo(10, 20);
    v.Canvas.LineTo(30, 40);
    QCOMPARE(v.Out(), expected);
    // The next line starts where this one ended.
    v.Canvas.LineTo(50, 40);
    QVERIFY(v.Out().last().startsWith(QStringLiteral("<v:line from=\"30,40\"")) ||
            v.Out().at(expected.size()).startsWith(QStringLiteral("<v:line from=\"30,40\"")));
}

void TestExportVML::rectangles()
{
    TVML v;
    v.Canvas.Brush().SetStyle(bsClear);
    v.Canvas.Pen().SetStyle(psClear);
    v.Canvas.Rectangle(1, 2, 11, 22);
    QVERIFY(v.Out().isEmpty());
    v.Canvas.Pen().SetStyle(psSolid);
    v.Canvas.Pen().SetColor(clBlack);
    v.Canvas.Rectangle(1, 2, 11, 22);
    v.Canvas.Brush().SetStyle(bsSolid);
    v.Canvas.Brush().SetColor(clWhite);
    v.Canvas.FillRect(TRect(0, 0, 5, 5));
    v.Canvas.RoundRect(3, 4, 13, 24, 5, 5);
    v.Canvas.BevelFrame(TRect(7, 8, 9, 10), clWhite, clBlack, 1);
    QCOMPARE(v.Out(), (QStringList{
                          "<v:rect style=\"position:absolute;left:1;top:2;width:10;height:20\" strokecolor=\"#0\"/>",
                          "<v:rect style=\"position:absolute;left:0;top:0;width:5;height:5\" fillcolor=\"#FFFFFF\" "
                          "stroked=\"f\"/>",
                          "<v:roundrect style=\"position:absolute;left:3;top:4;width:10;height:20\" "
                          "fillcolor=\"#FFFFFF\" strokecolor=\"#0\"/>",
                          "<v:rect style=\"position:absolute;left:7;top:8;width:2;height:2\" strokecolor=\"#0\"/>"}));
}

void TestExportVML::ovalsPolygonsArcsPies()
{
    TVML v;
    v.Canvas.Brush().SetColor(clYellow);
    v.Canvas.Ellipse(10, 20, 50, 40);
    v.Canvas.Polygon({TPoint(1, 2), TPoint(3, 4), TPoint(5, 6)});
    v.Canvas.Arc(0, 0, 10, 10, 10, 5, 0, 5);
    v.Canvas.Brush().SetStyle(bsClear);
    v.Canvas.Pie(0, 0, 11, 21, 10, 5, 0, 5);
    v.Canvas.Pen().SetStyle(psClear);
    v.Canvas.Arc(0, 0, 10, 10, 10, 5, 0, 5);
    v.Canvas.Polygon({TPoint(1, 2), TPoint(3, 4)});
    QCOMPARE(v.Out(),
             (QStringList{"<v:oval style=\"position:absolute;left:10;top:20;height:20;width:40\" fillcolor=\"#FFFF00\"/>",
                          "<v:shape style=\"position:absolute;width:200;height:100\" fillcolor=\"#FFFF00\" "
                          "strokecolor=\"#0\">",
                          " <v:path v=\"m 1,2 l 3,4 5,6  x e\"/>", "</v:shape>",
                          "<v:shape style=\"position:absolute;width:200;height:100\" fillcolor=\"#FFFF00\" "
                          "strokecolor=\"#0\">",
                          " <v:path v=\"ar 0,0 10,10 10,5 0,5 e\"/>", "</v:shape>",
                          "<v:shape style=\"position:absolute;width:200;height:100\" filled=\"f\" strokecolor=\"#0\">",
                          " <v:path v=\"m 5,10 at 0,0 11,21 10,5 0,5 x e\"/>", "</v:shape>"}));
}

void TestExportVML::gradients_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("angle");
    QTest::newRow("top bottom") << int(gdTopBottom) << 180;
    QTest::newRow("left right") << int(gdLeftRight) << 270;
    QTest::newRow("right left") << int(gdRightLeft) << 90;
    QTest::newRow("from top left") << int(gdFromTopLeft) << 315;
    QTest::newRow("from bottom left") << int(gdFromBottomLeft) << 225;
    QTest::newRow("bottom top") << int(gdBottomTop) << 0;
    QTest::newRow("from center") << int(gdFromCenter) << 0;
}

void TestExportVML::gradients()
{
    QFETCH(int, direction);
    QFETCH(int, angle);
    TVML v;
    v.Canvas.BandFill(TRect(1, 2, 30, 40), clBlue, clWhite, TGradientDirection(direction));
    QCOMPARE(v.Out(), (QStringList{"<v:shape style=\"position:absolute;width:200;height:100;\" stroked=\"f\">",
                                   " <v:path v=\"M 1,2 L 30,2 30,40 1,40 X E\"/>",
                                   " <v:fill type=\"gradient\" color=\"#0000FF\" color2=\"#FFFFFF\"",
                                   QStringLiteral(" method=\"sigma\" angle=\"%1\" focus=\"100%\"/>").arg(angle),
                                   "</v:shape>"}));
}

void TestExportVML::textBoxes_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("size");
    QTest::newRow("8 points") << 8 << 1;
    QTest::newRow("10 points") << 10 << 2;
    QTest::newRow("14 points") << 14 << 4;
}

void TestExportVML::textBoxes()
{
    QFETCH(int, points);
    QFETCH(int, size);
    TVML v;
    TKorFont font;
    font.SetSize(points);
    font.SetColor(clRed);
    font.SetName(QStringLiteral("Liberation Sans"));
    v.Canvas.AssignFont(&font);
    v.Canvas.TextOut(10, 20, QStringLiteral("Hi"));
    QCOMPARE(v.Out(), (QStringList{"<v:textbox style=\"position:absolute; left:11; top:21; text-color=#FF0000 "
                                   "text-align:left\">",
                                   QStringLiteral("<font color=\"#FF0000\" face=\"Liberation Sans\" size=\"%1\">").arg(size),
                                   "Hi", "</font>", "</v:textbox>"}));
    // Centred and right-aligned text moves left by half or all of its width.
    const int w = v.Canvas.TextWidth(QStringLiteral("Hi"));
    v.Lines.clear();
    v.Start = 0;
    v.Canvas.SetTextAlign(taCenter);
    v.Canvas.TextOut(100, 20, QStringLiteral("Hi"));
    v.Canvas.SetTextAlign(taRight);
    v.Canvas.RotatedText(100, 20, 45, QStringLiteral("Hi"));
    QVERIFY(v.Out().at(0).contains(QStringLiteral("left:%1;").arg(100 - w / 2 + 1)));
    QVERIFY(v.Out().at(5).contains(QStringLiteral("left:%1;").arg(100 - w + 1)));
    // A shadow: the shadow copy first, moved by a positive size; a
    // negative size moves the main copy instead.
    font.Shadow()->SetHorizSize(3);
    font.Shadow()->SetVertSize(-2);
    v.Canvas.AssignFont(&font);
    v.Canvas.SetTextAlign(taLeft);
    v.Lines.clear();
    v.Canvas.TextOut(10, 20, QStringLiteral("S"));
    QCOMPARE(v.Lines.size(), 10);
    QVERIFY2(v.Lines.at(0).contains(QStringLiteral("left:14; top:21;")), qPrintable(v.Lines.at(0)));
    QVERIFY2(v.Lines.at(5).contains(QStringLiteral("left:11; top:23;")), qPrintable(v.Lines.at(5)));
}

void TestExportVML::picturesAndClipsLeaveNoTrace()
{
    TVML v;
    QImage img(4, 4, QImage::Format_RGB32);
    v.Canvas.Draw(1, 1, img);
    v.Canvas.StretchDraw(TRect(0, 0, 9, 9), img);
    v.Canvas.ClipToRect(TRect(0, 0, 5, 5));
    v.Canvas.ClipToEllipse(TRect(0, 0, 5, 5));
    v.Canvas.RemoveClip();
    v.Canvas.Pen().SetStyle(psClear);
    v.Canvas.SetPixel(3, 3, clRed);
    QVERIFY(v.Out().isEmpty());
    QVERIFY(!v.Canvas.Monochrome());
    v.Canvas.SetMonochrome(true);
    QVERIFY(!v.Canvas.Monochrome());
    v.Canvas.EndDrawing(nullptr, nullptr, TRect(0, 0, 200, 100));
    QCOMPARE(v.Lines, (QStringList{"<xml:namespace prefix=\"v\"/>", "<style>v\\:* {behavior=url(#default#VML)}</style>",
                                   "<v:group style=\"width:200;height:100\" coordsize=\"200,100\" coordorigin=\"0,0\">",
                                   "</v:group>"}));
}

void TestExportVML::pageOfEveryNodeStyleParses()
{
    TViewHost h(600, 200);
    BuildRichDiagram(h.Tree);
    TVMLExportFormat vml;
    vml.SetPanel(h.Tree);
    const QStringList lines = vml.Lines();
    QCOMPARE(lines.mid(0, 2), (QStringList{"<html>", "<body>"}));
    QCOMPARE(lines.mid(lines.size() - 2), (QStringList{"</body>", "</html>"}));
    const QString page = lines.join(QStringLiteral("\r\n"));
    QStringList texts;
    QString error;
    QVERIFY2(ParsesAsXml(page, &texts, &error), qPrintable(error));
    for (const QString &t : {QStringLiteral("Root"), QStringLiteral("Child 1"), QStringLiteral("Gradient"),
                             QStringLiteral("Half")})
        QVERIFY2(texts.contains(t), qPrintable(texts.join(QLatin1Char(','))));
    // Every kind of element of the templates is there.
    for (const char *e : {"<v:line ", "<v:rect ", "<v:shape ", "<v:fill type=\"gradient\"", "<v:textbox "})
        QVERIFY2(page.contains(QLatin1String(e)), e);
    // No element repeats an attribute (the XML reader says so too).
    QVERIFY(!page.contains(QRegularExpression(QStringLiteral("strokeweight=\"[0-9]+\"[^>]*strokeweight"))));
    // As HTML: the texts, and no stray mark-up.
    QTextDocument html;
    html.setHtml(page);
    QVERIFY(html.toPlainText().contains(QStringLiteral("Child 2")));
    QVERIFY(!html.toPlainText().contains(QLatin1Char('<')));
    // The panel draws on its own canvas again.
    QVERIFY(!dynamic_cast<TVMLCanvas *>(h.Tree->Canvas()));
}

void TestExportVML::nodeTextArrivesAsText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("mark-up") << QStringLiteral("<b>bold</b> & <script>x()</script>");
    QTest::newRow("quotes") << QStringLiteral("say \"hi\" it's");
    QTest::newRow("unicode") << QStringLiteral("\u00e9\u00e8 \u4e2d\u6587 \u05e2\u05d1 \U0001F600");
    QTest::newRow("entity-like") << QStringLiteral("&amp; &#60; ]]>");
}

void TestExportVML::nodeTextArrivesAsText()
{
    QFETCH(QString, text);
    TViewHost h(400, 100);
    Place(h.Tree->AddRoot(text), 10, 10, 390, 40);
    TVMLExportFormat vml;
    vml.SetPanel(h.Tree);
    const QString page = vml.Lines().join(QStringLiteral("\r\n"));
    QStringList texts;
    QString error;
    QVERIFY2(ParsesAsXml(page, &texts, &error), qPrintable(error));
    QVERIFY2(texts.contains(text), qPrintable(texts.join(QLatin1Char('|'))));
    QTextDocument html;
    html.setHtml(page);
    QVERIFY2(html.toPlainText().contains(text), qPrintable(html.toPlainText()));
}

void TestExportVML::commandWritesThePage()
{
    QTemporaryDir dir;
    const QString txt = dir.filePath(QStringLiteral("t.txt"));
    QVERIFY(WriteFileBytes(txt, "Top <1>\n Leaf & co\n"));
    QString errors;
    QTextStream err(&errors);
    const QString htm = dir.filePath(QStringLiteral("t.htm"));
    QCOMPARE(RunExportCommand(htm, txt, err), 0);
    const QString page = QString::fromUtf8(ReadFileBytes(htm));
    QVERIFY(page.startsWith(QStringLiteral("<html>\r\n<body>\r\n")));
    QVERIFY(page.endsWith(QStringLiteral("</body>\r\n</html>\r\n")));
    QVERIFY(page.contains(QStringLiteral("Top &lt;1&gt;")));
    QVERIFY(page.contains(QStringLiteral("Leaf &amp; co")));
    // The whole diagram: the group is the picture's size.
    QVERIFY(page.contains(QStringLiteral("<v:group style=\"width:")));
}

QTEST_MAIN(TestExportVML)
#include "tst_export_vml.moc"
