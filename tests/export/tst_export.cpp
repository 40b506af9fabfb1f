// Headless export: the PNG and BMP writers fed strip by strip, the whole
// diagram rendered in strips, the picture against the window showing the
// same diagram, and the export command's tables and arguments.

#include "../view/ViewTestUtil.h"
#include "ExportTestUtil.h"

#include "core/Exceptions.h"
#include "export/KorExport.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

namespace {

// A picture with a different colour in every pixel of its first rows and
// columns, so a swapped channel or a shifted row shows.
QImage Pattern(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x * 37 + y) & 255, (y * 11) & 255, (x * 5 + y * 3) & 255));
    return img;
}

QImage Rows(const QImage &img, int top, int count)
{
    return img.copy(0, top, img.width(), count);
}

// A small diagram whose picture shows lines, text and colours. Dotted and
// slanted lines that cross the edge of an image are drawn from that edge
// on (as in a scrolled window): their dots and steps may fall one pixel
// apart. `solid` draws solid lines at right angles, so pictures cut
// anywhere compare exactly.
void BuildDiagram(TTree *t, bool solid = false)
{
    TTreeNodeShape *a = t->AddRoot(QStringLiteral("Root"));
    Place(a, 20, 10, 90, 40);
    a->SetColor(clYellow);
    for (int i = 0; i < 3; ++i) {
        TTreeNodeShape *c = a->AddChild(QStringLiteral("Child %1").arg(i));
        Place(c, 40 + 30 * i, 70 + 50 * i, 110 + 30 * i, 95 + 50 * i);
    }
    a->SetExpanded(true);
    for (TTreeConnection *c : t->Connections()) {
        c->SetStyle(solid ? csSides : csLine);
        c->Border()->SetColor(clBlue);
        if (solid) {
            c->Border()->SetSmallDots(false);
            c->Border()->SetStyle(psSolid);
        }
    }
}

} // namespace

class TestExport : public QObject
{
    Q_OBJECT
private slots:
    void pngWrittenRowByRow();
    void pngRefusesWhatDoesNotFit();
    void bmpWrittenBottomUp();
    void bmpLimits();
    void stripsMakeTheSamePicture();
    void exportedPictureEqualsTheWindow();
    void pictureTooWideIsRefusedByName();
    void commandLineArguments();
    void commandTablesAndErrors();
    void outlineToDiagramToPicture();
    void unknownPropertiesAreSkippedWithAWarning();
};

void TestExport::pngWrittenRowByRow()
{
    const QImage img = Pattern(53, 41);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        TPNGWriter png(&buffer, 53, 41, TPNGWriter::DiagramOptions(6));
        png.WriteRows(Rows(img, 0, 10));
        png.WriteRows(Rows(img, 10, 1));
        png.WriteRows(Rows(img, 11, 30).convertToFormat(QImage::Format_RGB888));
        QCOMPARE(png.RowsWritten(), 41);
        png.Finish();
    }
    QVERIFY(buffer.data().startsWith("\x89PNG\r\n\x1a\n"));
    QImage back;
    QVERIFY(back.loadFromData(buffer.data(), "PNG"));
    QCOMPARE(back.convertToFormat(QImage::Format_RGB32), img);

    // The same through the file helper, with the extreme settings.
    QTemporaryDir dir;
    for (int level : {0, 9}) {
        const QString name = dir.filePath(QStringLiteral("p%1.png").arg(level));
        SaveImageAsPNG(img, name, {level, level == 0 ? TPNGWriter::pfSub : TPNGWriter::pfAdaptive});
        QCOMPARE(QImage(name).convertToFormat(QImage::Format_RGB32), img);
    }
}

void TestExport::pngRefusesWhatDoesNotFit()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY_THROWS_EXCEPTION(EWriteError, TPNGWriter(&buffer, 0, 10));
    {
        TPNGWriter png(&buffer, 10, 4);
        QVERIFY_THROWS_EXCEPTION(EWriteError, png.WriteRows(Pattern(11, 2)));
        png.WriteRows(Pattern(10, 3));
        QVERIFY_THROWS_EXCEPTION(EWriteError, png.WriteRows(Pattern(10, 2)));
        QVERIFY_THROWS_EXCEPTION(EWriteError, png.Finish());
    }
    // A device that refuses to write: the library's failure arrives as an
    // exception naming the file, and nothing leaks.
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("ro.png"));
    {
        QFile f(name);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QFile readOnly(name);
    QVERIFY(readOnly.open(QIODevice::ReadOnly));
    try {
        TPNGWriter png(&readOnly, 10, 10);
        QFAIL("a read-only device took the header");
    } catch (const EWriteError &e) {
        QVERIFY2(e.Message().contains(name), qPrintable(e.Message()));
    }
    QVERIFY_THROWS_EXCEPTION(EWriteError, SaveImageAsPNG(Pattern(4, 4), dir.filePath(QStringLiteral("no/such.png"))));
}

void TestExport::bmpWrittenBottomUp()
{
    // Widths with every row padding.
    for (int w : {1, 2, 3, 4, 37}) {
        const QImage img = Pattern(w, 9);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        TBMPWriter bmp(&buffer, w, 9);
        bmp.WriteRowsBottomUp(Rows(img, 5, 4));
        bmp.WriteRowsBottomUp(Rows(img, 0, 5));
        bmp.Finish();
        const QByteArray data = buffer.data();
        QCOMPARE(data.size(), qsizetype(54 + TBMPWriter::RowBytes(w) * 9));
        QCOMPARE(data.left(2), QByteArray("BM"));
        QCOMPARE(qFromLittleEndian<quint32>(data.constData() + 2), quint32(data.size()));
        QCOMPARE(qFromLittleEndian<quint16>(data.constData() + 28), quint16(24));
        QImage back;
        QVERIFY(back.loadFromData(data, "BMP"));
        QCOMPARE(back.convertToFormat(QImage::Format_RGB32), img);
    }
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("b.bmp"));
    SaveImageAsBMP(Pattern(20, 7), name);
    QCOMPARE(QImage(name).convertToFormat(QImage::Format_RGB32), Pattern(20, 7));
}

void TestExport::bmpLimits()
{
    QCOMPARE(TBMPWriter::RowBytes(1), uint64_t(4));
    QCOMPARE(TBMPWriter::RowBytes(4), uint64_t(12));
    QVERIFY(TBMPWriter::Fits(20000, 20000));
    QVERIFY(!TBMPWriter::Fits(40000, 40000));
    QVERIFY(!TBMPWriter::Fits(0, 5));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    try {
        TBMPWriter bmp(&buffer, 40000, 40000);
        QFAIL("a 40000 x 40000 bitmap was accepted");
    } catch (const EWriteError &e) {
        QVERIFY2(e.Message().contains(QStringLiteral("40000 x 40000")), qPrintable(e.Message()));
    }
    TBMPWriter bmp(&buffer, 3, 3);
    QVERIFY_THROWS_EXCEPTION(EWriteError, bmp.WriteRowsBottomUp(Pattern(3, 4)));
    bmp.WriteRowsBottomUp(Pattern(3, 2));
    QVERIFY_THROWS_EXCEPTION(EWriteError, bmp.Finish());
}

void TestExport::stripsMakeTheSamePicture()
{
    for (int zoom : {100, 150, 70}) {
        TViewHost h(200, 150);
        BuildDiagram(h.Tree, true);
        h.Tree->View3DOptions()->SetZoom(zoom);
        h.Tree->View3DOptions()->SetHorizOffset(33);
        const TExportPicture whole = TExportPicture::WholeDiagram(*h.Tree);
        const QImage one = whole.RenderWhole();
        QCOMPARE(one.size(), QSize(whole.Width(), whole.Height()));
        // Strips of 7 rows, top down and bottom up, stitched together.
        TExportPicture strips = TExportPicture::WholeDiagram(*h.Tree);
        strips.SetStripBytes(qint64(whole.Width()) * 4 * 7);
        QCOMPARE(strips.StripHeight(), 7);
        QCOMPARE(strips.StripCount(), (whole.Height() + 6) / 7);
        for (bool bottomUp : {false, true}) {
            QImage stitched(whole.Width(), whole.Height(), QImage::Format_RGB32);
            stitched.fill(Qt::black);
            int expectedTop = bottomUp ? (strips.StripCount() - 1) * 7 : 0;
            strips.Render(bottomUp, [&](const QImage &strip, int top) {
                QCOMPARE(top, expectedTop);
                expectedTop += bottomUp ? -7 : 7;
                QPainter p(&stitched);
                p.drawImage(0, top, strip);
            });
            QCOMPARE(stitched, one.convertToFormat(QImage::Format_RGB32));
        }
        // The view's own scrolling is left as it was.
        QCOMPARE(h.Tree->View3DOptions()->HorizOffset(), 33);
    }
}

void TestExport::exportedPictureEqualsTheWindow()
{
    TViewHost h(50, 50);
    h.Tree->SetShowImages(true);
    BuildDiagram(h.Tree);
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("d.png"));
    const QString bmp = dir.filePath(QStringLiteral("d.bmp"));
    WriteExport(*h.Tree, png);
    WriteExport(*h.Tree, bmp);
    const QImage exported = QImage(png).convertToFormat(QImage::Format_RGB32);
    QVERIFY(!exported.isNull());
    QCOMPARE(QImage(bmp).convertToFormat(QImage::Format_RGB32), exported);
    // The whole diagram plus its margin.
    h.Tree->UpdateLayout();
    QCOMPARE(exported.width(), h.Tree->ShapeExtent().Right + 10);
    QCOMPARE(exported.height(), h.Tree->ShapeExtent().Bottom + 10);

    // A window of the picture's size shows the same pixels.
    h.Tree->resize(exported.size());
    h.Tree->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.Tree));
    const QImage window = h.Paint();
    QCOMPARE(window, exported);
    // The picture has what the diagram shows: the yellow root, blue lines.
    h.Tree->UpdateLayout();
    const TRect root = h.Tree->Roots()[0]->Bounds();
    QCOMPARE(exported.pixelColor((root.Left + root.Right) / 2, root.Top + 3), QColor(255, 255, 0));
    int blue = 0;
    for (int y = 0; y < exported.height(); ++y)
        for (int x = 0; x < exported.width(); ++x)
            blue += exported.pixelColor(x, y) == QColor(0, 0, 255);
    QVERIFY(blue > 50);
}

void TestExport::pictureTooWideIsRefusedByName()
{
    TViewHost h;
    Place(h.Tree->AddRoot(QStringLiteral("far away")), 5000000, 10, 5000040, 30);
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("wide.png"));
    try {
        WriteExport(*h.Tree, png);
        QFAIL("a picture 5 million pixels wide was written");
    } catch (const EWriteError &e) {
        QVERIFY2(e.Message().contains(QStringLiteral("5000050 x 40")) && e.Message().contains(QStringLiteral("PNG")),
                 qPrintable(e.Message()));
    }
    QVERIFY(!QFile::exists(png));
}

void TestExport::commandLineArguments()
{
    using C = TCommandLine;
    QCOMPARE(ParseCommandLine({}).Action, C::aOpen);
    QVERIFY(ParseCommandLine({}).File.isEmpty());
    const C open = ParseCommandLine({QStringLiteral("a.abx"), QStringLiteral("b.abx")});
    QCOMPARE(open.Action, C::aOpen);
    QCOMPARE(open.File, QStringLiteral("a.abx"));
    QCOMPARE(ParseCommandLine({QStringLiteral("--"), QStringLiteral("-odd.abx")}).File, QStringLiteral("-odd.abx"));
    QCOMPARE(ParseCommandLine({QStringLiteral("--help")}).Action, C::aHelp);
    QCOMPARE(ParseCommandLine({QStringLiteral("x.abx"), QStringLiteral("-h")}).Action, C::aHelp);
    const C exp = ParseCommandLine({QStringLiteral("--export"), QStringLiteral("o.png"), QStringLiteral("i.txt")});
    QCOMPARE(exp.Action, C::aExport);
    QCOMPARE(exp.Output, QStringLiteral("o.png"));
    QCOMPARE(exp.Input, QStringLiteral("i.txt"));
    const C missing = ParseCommandLine({QStringLiteral("--export"), QStringLiteral("o.png")});
    QCOMPARE(missing.Action, C::aError);
    QCOMPARE(missing.Error, SCommandExportArguments.Text());
    QCOMPARE(ParseCommandLine({QStringLiteral("--export"), QStringLiteral("a"), QStringLiteral("b"),
                               QStringLiteral("c")})
                 .Action,
             C::aError);
    // Qt's own options are left to the application object.
    const C qt = ParseCommandLine({QStringLiteral("-platform"), QStringLiteral("xcb"), QStringLiteral("--reverse"),
                                   QStringLiteral("-style=fusion"), QStringLiteral("d.abx")});
    QCOMPARE(qt.Action, C::aOpen);
    QCOMPARE(qt.File, QStringLiteral("d.abx"));
    QCOMPARE(ParseCommandLine({QStringLiteral("--platform"), QStringLiteral("offscreen"), QStringLiteral("--export"),
                               QStringLiteral("o.png"), QStringLiteral("i.txt")})
                 .Action,
             C::aExport);
    const C unknown = ParseCommandLine({QStringLiteral("--frobnicate")});
    QCOMPARE(unknown.Action, C::aError);
    QVERIFY(unknown.Error.contains(QStringLiteral("--frobnicate")));
}

void TestExport::commandTablesAndErrors()
{
    TExportCommandFormat f;
    QVERIFY(FindExportCommandFormat(QStringLiteral("/tmp/x.PNG"), &f));
    QCOMPARE(f.Extension, QStringLiteral("png"));
    QVERIFY(FindExportCommandFormat(QStringLiteral("x.Bmp"), &f));
    QCOMPARE(f.Extension, QStringLiteral("bmp"));
    QVERIFY(!FindExportCommandFormat(QStringLiteral("x.tiff")));
    QVERIFY(!FindExportCommandFormat(QStringLiteral("png")));
    // The help names every format of the table.
    const QString help = CommandLineHelp();
    for (const TExportCommandFormat &f : ExportCommandFormats())
        QVERIFY2(help.contains(QLatin1Char('.') + f.Extension), qPrintable(f.Extension));
    QVERIFY(help.contains(QStringLiteral("--export OUT IN")));

    QTemporaryDir dir;
    QString text;
    QTextStream err(&text);
    // An unknown extension is refused before anything is read.
    QCOMPARE(RunExportCommand(dir.filePath(QStringLiteral("out.tiff")), QStringLiteral("/no/such/file.txt"), err), 1);
    QVERIFY2(text.contains(QStringLiteral("out.tiff")) && text.contains(QStringLiteral(".png")), qPrintable(text));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("out.tiff"))));
    // An input of no known kind.
    text.clear();
    QCOMPARE(RunExportCommand(dir.filePath(QStringLiteral("out.png")), QStringLiteral("picture.jpeg"), err), 1);
    QVERIFY2(text.contains(QStringLiteral("picture.jpeg")), qPrintable(text));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("out.png"))));
}

void TestExport::outlineToDiagramToPicture()
{
    QTemporaryDir dir;
    const QString txt = dir.filePath(QStringLiteral("plan.txt"));
    QVERIFY(WriteFileBytes(txt, "Project\n Design\n  Sketches\n  Review\n Build\n  Parts\n   Screws\nNotes\n"));
    QString errors;
    QTextStream err(&errors);
    const QString abx = dir.filePath(QStringLiteral("plan.abx"));
    QCOMPARE(RunExportCommand(abx, txt, err), 0);
    const QString fromAbx = dir.filePath(QStringLiteral("from-abx.png"));
    const QString fromTxt = dir.filePath(QStringLiteral("from-txt.png"));
    QCOMPARE(RunExportCommand(fromAbx, abx, err), 0);
    QCOMPARE(RunExportCommand(fromTxt, txt, err), 0);
    QVERIFY2(errors.isEmpty(), qPrintable(errors));

    // The diagram file holds the outline, expanded, as a diagram of the
    // editor's host; its picture is the outline's.
    TViewHost h;
    h.Tree->SetShowImages(true);
    ReadDiagramInput(*h.Tree, abx);
    QCOMPARE(h.Tree->Shapes().Count(), 8);
    QCOMPARE(h.Tree->Roots().Count(), 2);
    QCOMPARE(h.Tree->Roots()[0]->SimpleText(), QStringLiteral("Project"));
    QCOMPARE(h.Tree->Roots()[0]->Child(1)->Child(0)->Child(0)->SimpleText(), QStringLiteral("Screws"));
    QVERIFY(h.Tree->Roots()[0]->Child(1)->Child(0)->Expanded());
    const QImage a(fromAbx), b(fromTxt);
    QVERIFY(!a.isNull());
    QCOMPARE(a, b);
    // Eight rows of text, one below the other.
    h.Tree->UpdateLayout();
    QCOMPARE(a.height(), h.Tree->ShapeExtent().Bottom + 10);
    QVERIFY(a.height() > 8 * 12);

    // A name without extension is read as a diagram.
    TViewHost again;
    ReadDiagramInput(*again.Tree, dir.filePath(QStringLiteral("plan")));
    QCOMPARE(again.Tree->Shapes().Count(), 8);
    // Missing and unreadable inputs name the file; nothing is written.
    errors.clear();
    const QString out = dir.filePath(QStringLiteral("never.png"));
    QCOMPARE(RunExportCommand(out, dir.filePath(QStringLiteral("missing.abx")), err), 1);
    QVERIFY2(errors.contains(QStringLiteral("missing.abx")), qPrintable(errors));
    errors.clear();
    const QString junk = dir.filePath(QStringLiteral("junk.abx"));
    QVERIFY(WriteFileBytes(junk, "not a diagram"));
    QCOMPARE(RunExportCommand(out, junk, err), 1);
    QVERIFY2(errors.contains(QStringLiteral("junk.abx")), qPrintable(errors));
    QVERIFY(!QFile::exists(out));
    // An output that cannot be created.
    errors.clear();
    QCOMPARE(RunExportCommand(dir.filePath(QStringLiteral("no/such/dir/x.png")), txt, err), 1);
    QVERIFY2(errors.contains(QStringLiteral("x.png")), qPrintable(errors));
}

void TestExport::unknownPropertiesAreSkippedWithAWarning()
{
    QTemporaryDir dir;
    const QString abx = DiagramWithUnknownProperty(dir);
    QVERIFY(!abx.isEmpty());
    QString errors;
    QTextStream err(&errors);
    const QString png = dir.filePath(QStringLiteral("a.png"));
    QCOMPARE(RunExportCommand(png, abx, err), 0);
    QVERIFY2(errors.contains(QStringLiteral("Warning")) && errors.contains(QStringLiteral("a.abx")),
             qPrintable(errors));
    QVERIFY(!QImage(png).isNull());
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
