// Every picture format: the file written for a small diagram, decoded again
// by an independent reader (Qt's, netpbm's, poppler's, the SVG renderer, a
// walk through the metafile records), against the window showing the same
// diagram; the options of each format; strips; huge pictures; the registry;
// write errors named with the system's reason and leaving nothing behind.

#include "ExportTestUtil.h"
#include "MetafilePlayer.h"

#include "export/ColorReduction.h"
#include "export/KorBmpOptions.h"
#include "export/KorEmfOptions.h"
#include "export/KorGIF.h"
#include "export/KorJPEG.h"
#include "export/KorPCX.h"
#include "export/KorVectorFormats.h"
#include "export/MetafileWriter.h"
#include "export/PCX.h"

#include <QBuffer>
#include <QClipboard>
#include <QMimeData>
#include <QDir>
#include <QPainter>
#include <QSvgRenderer>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

namespace {

// Decodes an exported file with a reader that is not ours.
QImage Decode(const QString &file, const QString &ext, const QSize &size, TMetafilePlayer *player = nullptr)
{
    if (ext == QLatin1String("pcx"))
        return DecodeWithTool(QStringLiteral("pcxtoppm"), {}, file);
    if (ext == QLatin1String("pdf"))
        return DecodeWithTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("96")}, file);
    if (ext == QLatin1String("svg")) {
        QSvgRenderer svg(file);
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        svg.render(&p);
        return svg.isValid() ? image : QImage();
    }
    if (ext == QLatin1String("emf") || ext == QLatin1String("wmf")) {
        TMetafilePlayer local;
        TMetafilePlayer &walk = player ? *player : local;
        const QImage image = walk.Play(ReadFileBytes(file), ext == QLatin1String("emf"), size.width(), size.height());
        return walk.Ok ? image : QImage();
    }
    return QImage(file);
}

// Counts the files of a folder, hidden ones too.
int FilesIn(const QString &dir)
{
    return int(QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System).size());
}

struct TFileSizeLimit
{
    rlimit Saved{};
    explicit TFileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &Saved);
        rlimit l = Saved;
        l.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &l);
    }
    ~TFileSizeLimit() { setrlimit(RLIMIT_FSIZE, &Saved); }
};

} // namespace

class TestExportFormats : public QObject
{
    Q_OBJECT
private slots:
    void picturesDecodeAsDrawn_data();
    void picturesDecodeAsDrawn();
    void registryOrderAndFilters();
    void saveAsFindsTheFormatByExtension();
    void bmpPixelFormats_data();
    void bmpPixelFormats();
    void gifPalettesAndDithers_data();
    void gifPalettesAndDithers();
    void ditherKernelsKeepTheMeanColour();
    void adaptivePalettes();
    void jpegOptions();
    void pcxRunsAndHeader();
    void pcxIndexedModes();
    void metafileRecordsCarryTheDrawing();
    void wmfTooLargeEmbedsABitmap();
    void stripsGiveTheSameFile_data();
    void stripsGiveTheSameFile();
    void hugePicturesAreRefusedByName_data();
    void hugePicturesAreRefusedByName();
    void writeErrorsNameTheReason_data();
    void writeErrorsNameTheReason();
    void copyPutsThePictureOnTheClipboard();
    void pngLibraryIsLoadedByName();
};

void TestExportFormats::picturesDecodeAsDrawn_data()
{
    QTest::addColumn<QString>("ext");
    QTest::addColumn<int>("tolerance");
    QTest::addColumn<double>("agreement");
    // Lossless rasters are the window's pixels exactly.
    QTest::newRow("bmp") << "bmp" << 0 << 1.0;
    QTest::newRow("png") << "png" << 0 << 1.0;
    QTest::newRow("pcx") << "pcx" << 0 << 1.0;
    QTest::newRow("gif") << "gif" << 0 << 1.0;
    // JPEG loses a little around edges.
    QTest::newRow("jpg") << "jpg" << 48 << 0.98;
    // Vector formats are drawn again by another renderer (text and
    // antialiased edges differ).
    QTest::newRow("emf") << "emf" << 16 << 0.97;
    QTest::newRow("wmf") << "wmf" << 16 << 0.97;
    QTest::newRow("pdf") << "pdf" << 96 << 0.93;
    QTest::newRow("svg") << "svg" << 96 << 0.93;
}

void TestExportFormats::picturesDecodeAsDrawn()
{
    QFETCH(QString, ext);
    QFETCH(int, tolerance);
    QFETCH(double, agreement);
    TViewHost h(260, 240);
    BuildPlainDiagram(h.Tree);
    h.Tree->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.Tree));
    const QImage window = h.Paint();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("d.") + ext);
    QVERIFY(ExportDiagramToFile(*h.Tree, file));
    TMetafilePlayer walk;
    const QImage decoded = Decode(file, ext, window.size(), &walk);
    QVERIFY2(walk.Ok, qPrintable(walk.Problem));
    QVERIFY2(!decoded.isNull(), qPrintable(file));
    QCOMPARE(decoded.size(), window.size());
    const double a = Agreement(decoded, window, tolerance);
    QVERIFY2(a >= agreement, qPrintable(QStringLiteral("%1: %2 of the pixels agree").arg(ext).arg(a)));
    // The picture holds the diagram, not a blank page.
    QVERIFY(Agreement(decoded, QImage(window.size(), QImage::Format_RGB32).convertToFormat(QImage::Format_RGB32), 0) < 1);
}

void TestExportFormats::registryOrderAndFilters()
{
    QStringList captions, extensions;
    int counter = 0;
    std::vector<int> positions;
    for (const TExportFormatClass *c : ExportFormatList()) {
        std::unique_ptr<TKorExportFormat> f = c->Create();
        f->ReserveFilterSlots(counter);
        positions.push_back(f->SaveDialogFilterIndex());
        captions << f->MenuCaption();
        extensions << f->DefaultExtension();
    }
    const QStringList expected = {QStringLiteral("as &Bitmap"), QStringLiteral("as &Metafile"),
                                  QStringLiteral("as &VML (HTM)"), QStringLiteral("as PC&X"),    QStringLiteral("as &GIF"),
                                  QStringLiteral("as &PNG"),    QStringLiteral("as &JPEG"),
                                  QStringLiteral("as P&DF"),    QStringLiteral("as &SVG")};
    QCOMPARE(captions, expected);
    QCOMPARE(extensions, (QStringList{"bmp", "emf", "HTM", "pcx", "gif", "PNG", "jpg", "pdf", "svg"}));
    // The metafile takes two entries of the save dialog's list.
    QCOMPARE(positions, (std::vector<int>{1, 2, 4, 5, 6, 7, 8, 9, 10}));
    TEMFExportFormat emf;
    int c = 1;
    emf.ReserveFilterSlots(c);
    emf.SetEnhanced(false);
    QCOMPARE(emf.DefaultExtension(), QStringLiteral("wmf"));
    QCOMPARE(emf.SaveDialogFilterIndex(), 3);
    // Every entry is a description and a pattern.
    const QStringList parts = ExportSaveFilter(SExportNativeFilter).split(QLatin1Char('|'));
    QCOMPARE(parts.size(), 2 * 11);
    QCOMPARE(parts.at(0), QStringLiteral("Arbolix v2 files (*.abx)"));
    QCOMPARE(parts.at(7), QStringLiteral("*.wmf"));
    // A format can leave and come back.
    const TExportFormatClass &pcx = ExportFormatClassOf<TPCXExportFormat>();
    RemoveExportFormat(pcx);
    QVERIFY(!FindExportFormat(QStringLiteral("pcx")));
    AddExportFormat(pcx);
    QVERIFY(FindExportFormat(QStringLiteral("pcx")));
}

void TestExportFormats::saveAsFindsTheFormatByExtension()
{
    std::unique_ptr<TKorExportFormat> wmf = FindExportFormat(QStringLiteral("WMF"));
    QVERIFY(wmf);
    QCOMPARE(wmf->DefaultExtension(), QStringLiteral("wmf"));
    QCOMPARE(FindExportFormat(QStringLiteral(".jpeg"))->MenuCaption(), QStringLiteral("as &JPEG"));
    QVERIFY(!FindExportFormat(QStringLiteral("abx")));
    QVERIFY(!FindExportFormat(QString()));
    // The diagram's view at the diagram's size.
    TViewHost h(123, 77);
    BuildPlainDiagram(h.Tree);
    QTemporaryDir dir;
    QVERIFY(ExportDiagramToFile(*h.Tree, dir.filePath(QStringLiteral("v.Png"))));
    QCOMPARE(QImage(dir.filePath(QStringLiteral("v.Png"))).size(), QSize(123, 77));
    QVERIFY(!ExportDiagramToFile(*h.Tree, dir.filePath(QStringLiteral("v.doc"))));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("v.doc"))));
    // Without a panel a format refuses.
    TBMPExportFormat bmp;
    try {
        bmp.SaveToFile(dir.filePath(QStringLiteral("x.bmp")));
        QFAIL("saved without a panel");
    } catch (const EExportError &e) {
        QCOMPARE(e.Message(), QStringLiteral("Panel property is not set in Export format"));
    }
    QVERIFY_THROWS_EXCEPTION(EExportError, bmp.Copy());
}

void TestExportFormats::bmpPixelFormats_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("mono");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("tolerance");
    QTest::newRow("default") << int(pfDevice) << false << 24 << 0;
    QTest::newRow("1 bit") << int(pf1bit) << false << 1 << -1;
    QTest::newRow("monochrome") << int(pf24bit) << true << 1 << -1;
    QTest::newRow("4 bit") << int(pf4bit) << false << 4 << -2;
    QTest::newRow("8 bit") << int(pf8bit) << false << 8 << 0;
    QTest::newRow("15 bit") << int(pf15bit) << false << 16 << 7;
    QTest::newRow("16 bit") << int(pf16bit) << false << 16 << 7;
    QTest::newRow("24 bit") << int(pf24bit) << false << 24 << 0;
    QTest::newRow("32 bit") << int(pf32bit) << false << 32 << 0;
}

void TestExportFormats::bmpPixelFormats()
{
    QFETCH(int, format);
    QFETCH(bool, mono);
    QFETCH(int, bits);
    QFETCH(int, tolerance);
    TViewHost h(200, 190);
    BuildPlainDiagram(h.Tree);
    const QImage drawn = h.Tree->RenderToBitmap(h.Tree->Color(), TRect(0, 0, 200, 190));
    TBMPExportFormat bmp;
    bmp.SetPanel(h.Tree);
    bmp.SetPixelFormat(TPixelFormat(format));
    bmp.SetMonochrome(mono);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    bmp.WriteImage(buffer);
    QCOMPARE(qFromLittleEndian<quint16>(buffer.data().constData() + 28), quint16(bits));
    QImage back;
    QVERIFY(back.loadFromData(buffer.data(), "BMP"));
    back = back.convertToFormat(QImage::Format_RGB32);
    QCOMPARE(back.size(), drawn.size());
    if (tolerance >= 0) {
        QCOMPARE(Agreement(back, drawn, tolerance), 1.0);
        return;
    }
    // Indexed: every pixel is the nearest colour of the palette.
    const QVector<QRgb> palette =
        tolerance == -1 ? QVector<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)} : ClassicPalette16();
    TColorMapper nearest(palette, dmNearest, 1);
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            QCOMPARE(back.pixel(x, y) & 0xFFFFFF, palette[nearest.Nearest(drawn.pixel(x, y))] & 0xFFFFFF);
}

void TestExportFormats::gifPalettesAndDithers_data()
{
    QTest::addColumn<int>("reduction");
    QTest::addColumn<int>("dither");
    QTest::addColumn<int>("maxColors");
    for (int r = 0; r < kColorReductionCount; ++r)
        QTest::addRow("%s", qPrintable(TGIFExportFormat::ReductionNames()[r]))
            << r << int(r % 2 ? dmFloydSteinberg : dmNearest)
            << int(r == crWindows20 ? 20 : r == crWindowsGray ? 4 : r == crMonochrome ? 2 : r == crNetscape ? 216
                   : r == crQuantize ? 16 : 256);
    for (int d = 0; d < kDitherModeCount; ++d)
        QTest::addRow("%s", qPrintable(TGIFExportFormat::DitherNames()[d])) << int(crWindowsGray) << d << 4;
}

void TestExportFormats::gifPalettesAndDithers()
{
    QFETCH(int, reduction);
    QFETCH(int, dither);
    QFETCH(int, maxColors);
    TViewHost h(300, 200);
    BuildRichDiagram(h.Tree);
    const QImage drawn = h.Tree->RenderToBitmap(h.Tree->Color(), TRect(0, 0, 300, 200));
    TGIFExportFormat gif;
    gif.SetPanel(h.Tree);
    gif.SetReduction(TColorReduction(reduction));
    gif.SetDither(TDitherMode(dither));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    gif.WriteImage(buffer);
    QVERIFY(buffer.data().startsWith("GIF89a"));
    QImage back;
    QVERIFY(back.loadFromData(buffer.data(), "GIF"));
    QCOMPARE(back.size(), drawn.size());
    QSet<QRgb> colours;
    const QImage rgb = back.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            colours.insert(rgb.pixel(x, y));
    QVERIFY2(colours.size() <= maxColors, qPrintable(QString::number(colours.size())));
    // The picture stays recognisable: most pixels are close to the drawing
    // (the gray palettes only in brightness).
    const QImage reference = reduction == crWindowsGray || reduction == crGrayScale || reduction == crMonochrome
                                 ? drawn.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB32)
                                 : drawn;
    QVERIFY(Agreement(rgb, reference, 128) > 0.8);
    if (reduction == crNone)
        QCOMPARE(Agreement(rgb, drawn, 0), 1.0);
}

void TestExportFormats::ditherKernelsKeepTheMeanColour()
{
    // A flat 40 % gray becomes black and white dots in the right
    // proportion with every kernel; the nearest colour makes it all one.
    const int w = 64;
    std::vector<QRgb> row(w, qRgb(102, 102, 102));
    const QVector<QRgb> bw = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    for (int d = 0; d < kDitherModeCount; ++d) {
        TColorMapper m(bw, TDitherMode(d), w);
        std::vector<uint8_t> idx(w);
        int white = 0;
        for (int y = 0; y < 64; ++y) {
            m.MapRow(row.data(), idx.data());
            for (uint8_t i : idx)
                white += i;
        }
        const double share = white / double(w * 64);
        if (d == dmNearest)
            QCOMPARE(share, 0.0);
        else
            QVERIFY2(std::abs(share - 0.4) < 0.03, qPrintable(QStringLiteral("%1: %2").arg(d).arg(share)));
    }
}

void TestExportFormats::adaptivePalettes()
{
    // Few colours: the colours themselves, the commonest first.
    TColorHistogram few;
    QImage img(40, 10, QImage::Format_RGB32);
    img.fill(qRgb(10, 20, 30));
    for (int x = 0; x < 5; ++x)
        img.setPixel(x, 0, qRgb(200, 0, 0));
    few.Add(img);
    QCOMPARE(few.Palette(256), (QVector<QRgb>{qRgb(10, 20, 30), qRgb(200, 0, 0)}));
    // Many: a median cut that still covers the extremes.
    TColorHistogram many;
    QImage ramp(512, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 512; ++x)
            ramp.setPixel(x, y, qRgb(x & 255, y, (x >> 8) * 128 + (y & 127)));
    many.Add(ramp);
    QVERIFY(!many.Exact());
    const QVector<QRgb> p = many.Palette(64);
    QCOMPARE(p.size(), 64);
    TColorMapper m(p, dmNearest, 1);
    for (QRgb c : {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(255, 0, 128)}) {
        const QRgb got = p[m.Nearest(c)];
        QVERIFY(std::abs(qRed(got) - qRed(c)) + std::abs(qGreen(got) - qGreen(c)) < 80);
    }
}

void TestExportFormats::jpegOptions()
{
    TViewHost h(200, 150);
    BuildPlainDiagram(h.Tree);
    TJPEGExportFormat jpeg;
    jpeg.SetPanel(h.Tree);
    auto write = [&jpeg] {
        QBuffer b;
        b.open(QIODevice::WriteOnly);
        jpeg.WriteImage(b);
        return b.data();
    };
    const QByteArray best = write();
    jpeg.Options().Quality = 10;
    const QByteArray rough = write();
    QVERIFY(rough.size() < best.size());
    jpeg.Options().Quality = 95;
    jpeg.Options().GrayScale = true;
    QImage gray;
    QVERIFY(gray.loadFromData(write(), "JPEG"));
    QVERIFY(gray.isGrayscale());
    jpeg.Options().GrayScale = false;
    jpeg.Options().Speed = true;
    QImage fast;
    QVERIFY(fast.loadFromData(write(), "JPEG"));
    QImage exact;
    QVERIFY(exact.loadFromData(best, "JPEG"));
    QVERIFY(Agreement(fast, exact, 24) > 0.98);
    // Baseline, not progressive: the frame marker is SOF0.
    QVERIFY(best.contains(QByteArray("\xFF\xC0", 2)));
    QVERIFY(!best.contains(QByteArray("\xFF\xC2", 2)));
}

void TestExportFormats::pcxRunsAndHeader()
{
    struct TCase
    {
        std::vector<uint8_t> In, Out;
    };
    std::vector<uint8_t> hundred(100, 7);
    const TCase cases[] = {
        {{0x41}, {0xC1, 0x41}},
        {{0x90}, {0x90}},
        {{0xC5}, {0xC1, 0xC5}},
        {{0x90, 0x90}, {0xC2, 0x90}},
        {hundred, {0xC0 + 63, 7, 0xC0 + 37, 7}},
        {{1, 2, 2, 3}, {0xC1, 1, 0xC2, 2, 0xC1, 3}},
    };
    for (const TCase &c : cases) {
        std::vector<uint8_t> out;
        TPCXWriter::EncodePlane(c.In.data(), int(c.In.size()), out);
        QCOMPARE(out, c.Out);
    }
    // A true-colour file: header, one plane line per colour, the trailer.
    QImage img(3, 2, QImage::Format_RGB32);
    img.fill(qRgb(0x90, 0x10, 0xFF));
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    TPCXWriter pcx(&b, 3, 2, pcxTrueColor);
    pcx.WriteRows(img);
    pcx.Finish();
    const QByteArray d = b.data();
    QCOMPARE(uchar(d[0]), uchar(10));
    QCOMPARE(uchar(d[1]), uchar(5));
    QCOMPARE(uchar(d[2]), uchar(1));
    QCOMPARE(uchar(d[3]), uchar(8));
    QCOMPARE(qFromLittleEndian<quint16>(d.constData() + 8), quint16(2));
    QCOMPARE(qFromLittleEndian<quint16>(d.constData() + 12), quint16(3));
    QCOMPARE(uchar(d[65]), uchar(3));
    QCOMPARE(qFromLittleEndian<quint16>(d.constData() + 66), quint16(3));
    // Each plane line is one run of three.
    QCOMPARE(d.mid(128, 6), QByteArray("\xC3\x90\xC3\x10\xC3\xFF", 6));
    QCOMPARE(d.size(), 128 + 2 * 6 + 769);
    QCOMPARE(uchar(d[128 + 12]), uchar(12));
    QVERIFY_THROWS_EXCEPTION(EWriteError, TPCXWriter(&b, 70000, 2, pcxTrueColor));
}

void TestExportFormats::pcxIndexedModes()
{
    // Every mode decodes by an independent reader to the same pixels.
    QImage idx(19, 5, QImage::Format_Indexed8);
    idx.setColorTable(ClassicPalette16());
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 19; ++x)
            idx.setPixel(x, y, (x * 3 + y) % 16);
    QTemporaryDir dir;
    for (TPCXMode mode : {pcxMonochrome, pcx16Colors, pcx256Colors}) {
        QImage src = idx;
        if (mode == pcxMonochrome) {
            src.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 19; ++x)
                    src.setPixel(x, y, (x + y) % 2);
        }
        const QString name = dir.filePath(QStringLiteral("m%1.pcx").arg(mode));
        TExportFile f(name);
        f.Open();
        TPCXWriter pcx(&f, 19, 5, mode, src.colorTable());
        pcx.WriteRows(src);
        pcx.Finish();
        f.Commit();
        const QImage back = DecodeWithTool(QStringLiteral("pcxtoppm"), {}, name);
        QVERIFY2(!back.isNull(), qPrintable(name));
        // The file keeps 6 bits per channel.
        QVERIFY2(Agreement(back, src.convertToFormat(QImage::Format_RGB32), 4) == 1.0, qPrintable(name));
    }
}

void TestExportFormats::metafileRecordsCarryTheDrawing()
{
    TViewHost h(600, 200);
    BuildRichDiagram(h.Tree);
    for (bool enhanced : {true, false}) {
        TEMFExportFormat f;
        f.SetPanel(h.Tree);
        f.SetEnhanced(enhanced);
        const QByteArray bytes = f.Bytes();
        TMetafilePlayer walk;
        walk.Play(bytes, enhanced, 600, 200);
        QVERIFY2(walk.Ok, qPrintable(walk.Problem));
        // Text is text, and every node's text is there.
        for (const QString &t : {QStringLiteral("Root"), QStringLiteral("Child 2"), QStringLiteral("Gradient")})
            QVERIFY2(walk.Texts.contains(t), qPrintable(walk.Texts.join(QLatin1Char(','))));
        if (enhanced) {
            QVERIFY(walk.Count(38) > 0); // pens
            QVERIFY(walk.Count(39) > 0); // brushes
            QVERIFY(walk.Count(84) >= 16); // texts
            QCOMPARE(walk.Count(1), 1);
            QCOMPARE(walk.Types.back(), 14u);
            // Created objects are deleted again, so the table stays small.
            QVERIFY(qFromLittleEndian<quint16>(bytes.constData() + 56) < 16);
        } else {
            QVERIFY(walk.Count(0x0A32) >= 16);
            QVERIFY(walk.Count(0x02FA) > 0);
            QVERIFY(walk.Count(0x0324) + walk.Count(0x0538) > 0); // polygons
        }
        QVERIFY(f.Notices().isEmpty());
    }
}

void TestExportFormats::wmfTooLargeEmbedsABitmap()
{
    TViewHost h;
    BuildPlainDiagram(h.Tree);
    Place(h.Tree->AddRoot(QStringLiteral("far")), 40000, 10, 40060, 30);
    TEMFExportFormat f;
    f.SetPanel(h.Tree);
    f.SetWholeDiagram(h.Tree);
    f.SetEnhanced(false);
    const QByteArray wmf = f.Bytes();
    QCOMPARE(f.Notices().size(), 1);
    QVERIFY2(f.Notices().first().contains(QStringLiteral("40070 x")), qPrintable(f.Notices().first()));
    TMetafilePlayer walk;
    const QImage shown = walk.Play(wmf, false, 32767 / 8, 40);
    QVERIFY2(walk.Ok, qPrintable(walk.Problem));
    QCOMPARE(walk.Count(0x0F43), 1);
    QVERIFY(walk.Texts.isEmpty());
    // The enhanced metafile has the room: vectors and text.
    f.SetEnhanced(true);
    TMetafilePlayer emf;
    emf.Play(f.Bytes(), true, 100, 100);
    QVERIFY(emf.Ok);
    QVERIFY(f.Notices().isEmpty());
    QVERIFY(emf.Texts.contains(QStringLiteral("far")));
}

void TestExportFormats::stripsGiveTheSameFile_data()
{
    QTest::addColumn<QString>("ext");
    for (const char *e : {"bmp", "png", "jpg", "gif", "pcx"})
        QTest::newRow(e) << e;
}

void TestExportFormats::stripsGiveTheSameFile()
{
    QFETCH(QString, ext);
    TViewHost h;
    BuildRichDiagram(h.Tree);
    std::unique_ptr<TKorExportFormat> f = FindExportFormat(ext);
    f->SetPanel(h.Tree);
    f->SetWholeDiagram(h.Tree);
    if (auto *bmp = dynamic_cast<TBMPExportFormat *>(f.get()))
        bmp->SetPixelFormat(pf8bit); // two passes: the palette first
    auto write = [&f] {
        QBuffer b;
        b.open(QIODevice::WriteOnly);
        f->WriteImage(b);
        return b.data();
    };
    const QByteArray one = write();
    // Strips of 5 rows: the same picture, the same bytes.
    f->SetStripBytes(qint64(4) * 600 * 5);
    QCOMPARE(write(), one);
}

void TestExportFormats::hugePicturesAreRefusedByName_data()
{
    QTest::addColumn<QString>("ext");
    QTest::addColumn<int>("x");
    QTest::addColumn<QString>("size");
    QTest::newRow("gif") << "gif" << 70000 << "70070 x";
    QTest::newRow("pcx") << "pcx" << 70000 << "70070 x";
    QTest::newRow("jpg") << "jpg" << 70000 << "70070 x";
    QTest::newRow("png") << "png" << 5000000 << "5000070 x";
    QTest::newRow("bmp") << "bmp" << 5000000 << "5000070 x";
}

void TestExportFormats::hugePicturesAreRefusedByName()
{
    QFETCH(QString, ext);
    QFETCH(int, x);
    QFETCH(QString, size);
    TViewHost h;
    Place(h.Tree->AddRoot(QStringLiteral("far")), x, 10, x + 60, 30);
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("huge.") + ext);
    try {
        WriteExport(*h.Tree, out);
        QFAIL("a huge picture was written");
    } catch (const EWriteError &e) {
        QVERIFY2(e.Message().contains(size), qPrintable(e.Message()));
    }
    QCOMPARE(FilesIn(dir.path()), 0);
}

void TestExportFormats::writeErrorsNameTheReason_data()
{
    QTest::addColumn<QString>("ext");
    for (const char *e : {"bmp", "emf", "wmf", "pcx", "gif", "png", "jpg", "pdf", "svg", "txt", "xml", "html", "xls"})
        QTest::newRow(e) << e;
}

void TestExportFormats::writeErrorsNameTheReason()
{
    QFETCH(QString, ext);
    TViewHost h(300, 300);
    BuildRichDiagram(h.Tree);
    for (int i = 0; i < 40; ++i)
        h.Tree->Roots()[0]->AddChild(QStringLiteral("Line %1 with some text to fill the file").arg(i));
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("old.") + ext);
    QVERIFY(WriteFileBytes(out, "the previous file"));
    // A file system that takes only a few bytes.
    {
        TFileSizeLimit limit(64);
        try {
            WriteExport(*h.Tree, out);
            QFAIL("written beyond the file size limit");
        } catch (const EWriteError &e) {
            QVERIFY2(e.Message().contains(out) && e.Message().contains(QStringLiteral("File too large")),
                     qPrintable(e.Message()));
        }
    }
    // The old file is whole, and nothing else is left behind.
    QCOMPARE(ReadFileBytes(out), QByteArray("the previous file"));
    QCOMPARE(FilesIn(dir.path()), 1);
    // A folder that is a file.
    const QString bad = out + QStringLiteral("/x.") + ext;
    try {
        WriteExport(*h.Tree, bad);
        QFAIL("written below a file");
    } catch (const EWriteError &e) {
        QVERIFY2(e.Message().contains(QStringLiteral("Not a directory")), qPrintable(e.Message()));
    }
    // And without trouble the file is replaced.
    WriteExport(*h.Tree, out);
    QVERIFY(ReadFileBytes(out) != QByteArray("the previous file"));
    QCOMPARE(FilesIn(dir.path()), 1);
}

void TestExportFormats::copyPutsThePictureOnTheClipboard()
{
    TViewHost h(150, 120);
    BuildPlainDiagram(h.Tree);
    const QImage drawn = h.Tree->RenderToBitmap(h.Tree->Color(), TRect(0, 0, 150, 120));
    struct TCase
    {
        const char *Ext;
        const char *Mime;
    };
    for (const TCase &c : {TCase{"bmp", ""}, TCase{"png", "image/png"}, TCase{"gif", "image/gif"},
                           TCase{"emf", "image/x-emf"}, TCase{"svg", "image/svg+xml"}, TCase{"pdf", "application/pdf"}}) {
        std::unique_ptr<TKorExportFormat> f = FindExportFormat(QLatin1String(c.Ext));
        f->SetPanel(h.Tree);
        f->Copy();
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data);
        QCOMPARE(qvariant_cast<QImage>(data->imageData()).convertToFormat(QImage::Format_RGB32), drawn);
        if (*c.Mime)
            QVERIFY2(!data->data(QLatin1String(c.Mime)).isEmpty(), c.Ext);
    }
}

void TestExportFormats::pngLibraryIsLoadedByName()
{
    QVERIFY(PNGLibraryPresent());
    QVERIFY2(PNGLibraryVersion().startsWith(QStringLiteral("1.6.")), qPrintable(PNGLibraryVersion()));
}

QTEST_MAIN(TestExportFormats)
#include "tst_export_formats.moc"
