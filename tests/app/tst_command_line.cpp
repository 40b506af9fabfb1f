// The program's command line as a user runs it: help, exports without any
// display, and the exit status and message of every kind of failure.

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct TRun
{
    int Exit = -1;
    QString Out;
    QString Err;
};

// Runs the program with no display at all: no X or Wayland server named,
// no platform chosen.
TRun Run(const QStringList &arguments)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(DENDRIX_EXECUTABLE), arguments);
    TRun r;
    if (!p.waitForFinished(120000))
        return r;
    r.Exit = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.Out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.Err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT
private slots:
    void helpDescribesTheExport();
    void outlineToDiagramToPictureWithoutADisplay();
    void failuresExitWithAMessage();
    void formatsTakeTheirOptions_data();
    void formatsTakeTheirOptions();
};

void TestCommandLine::helpDescribesTheExport()
{
    const TRun r = Run({QStringLiteral("--help")});
    QCOMPARE(r.Exit, 0);
    for (const char *text : {"--export OUT IN", ".png", ".bmp", ".abx", ".txt", ".gif", ".jpg", ".pcx", ".emf", ".wmf",
                             ".pdf", ".svg", ".xml", ".html", ".xls", "--width N", "--height N", "--quality 1..100",
                             "--colors", "--dither", "--reduction", "--compression 0..9", "--delimiter", "Exit status"})
        QVERIFY2(r.Out.contains(QLatin1String(text)), text);
}

void TestCommandLine::outlineToDiagramToPictureWithoutADisplay()
{
    QTemporaryDir dir;
    const QString txt = dir.filePath(QStringLiteral("tree.txt"));
    {
        QFile f(txt);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Animals\n Birds\n  Owls\n  Finches\n Mammals\n  Bats\nPlants\n Trees\n");
    }
    const QString abx = dir.filePath(QStringLiteral("tree.abx"));
    const QString png = dir.filePath(QStringLiteral("tree.png"));
    const QString bmp = dir.filePath(QStringLiteral("tree.bmp"));
    TRun r = Run({QStringLiteral("--export"), abx, txt});
    QVERIFY2(r.Exit == 0, qPrintable(r.Err));
    QFile diagram(abx);
    QVERIFY(diagram.open(QIODevice::ReadOnly));
    QCOMPARE(diagram.read(4), QByteArray("TPF0"));
    r = Run({QStringLiteral("--export"), png, abx});
    QVERIFY2(r.Exit == 0, qPrintable(r.Err));
    r = Run({QStringLiteral("--export"), bmp, abx});
    QVERIFY2(r.Exit == 0, qPrintable(r.Err));
    const QImage picture(png);
    QVERIFY(!picture.isNull());
    QCOMPARE(QImage(bmp).convertToFormat(QImage::Format_RGB32), picture.convertToFormat(QImage::Format_RGB32));
    // The picture shows the diagram.
    int ink = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            ink += picture.pixel(x, y) != qRgb(255, 255, 255);
    QVERIFY(ink > 100);
}

void TestCommandLine::failuresExitWithAMessage()
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.png"));
    // Missing input.
    TRun r = Run({QStringLiteral("--export"), out, dir.filePath(QStringLiteral("missing.txt"))});
    QCOMPARE(r.Exit, 1);
    QVERIFY2(r.Err.contains(QStringLiteral("missing.txt")), qPrintable(r.Err));
    // Unknown output extension.
    r = Run({QStringLiteral("--export"), dir.filePath(QStringLiteral("out.tiff")), out});
    QCOMPARE(r.Exit, 1);
    QVERIFY2(r.Err.contains(QStringLiteral("out.tiff")) && r.Err.contains(QStringLiteral(".png")), qPrintable(r.Err));
    // Unknown input kind.
    r = Run({QStringLiteral("--export"), out, dir.filePath(QStringLiteral("in.doc"))});
    QCOMPARE(r.Exit, 1);
    QVERIFY2(r.Err.contains(QStringLiteral("in.doc")), qPrintable(r.Err));
    QVERIFY(!QFile::exists(out));
    // Arguments that make no sense: a message, the hint, status 2, and no
    // display is needed to say so.
    r = Run({QStringLiteral("--export"), out});
    QCOMPARE(r.Exit, 2);
    QVERIFY(r.Err.contains(QStringLiteral("--help")));
    r = Run({QStringLiteral("--frobnicate")});
    QCOMPARE(r.Exit, 2);
    QVERIFY(r.Err.contains(QStringLiteral("--frobnicate")));
}

void TestCommandLine::formatsTakeTheirOptions_data()
{
    QTest::addColumn<QString>("ext");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exit");
    QTest::addColumn<QString>("says");
    QTest::newRow("width") << "png" << QStringList{"--width", "300"} << 0 << "";
    QTest::newRow("width=") << "bmp" << QStringList{"--width=300", "--colors", "256"} << 0 << "";
    QTest::newRow("jpeg quality") << "jpg" << QStringList{"--quality", "40", "--grayscale"} << 0 << "";
    QTest::newRow("gif dither") << "gif" << QStringList{"--dither", "Stucki", "--reduction", "netscape"} << 0 << "";
    QTest::newRow("wmf") << "wmf" << QStringList{"--height", "90"} << 0 << "";
    QTest::newRow("not for png") << "png" << QStringList{"--quality", "40"} << 2 << "--quality";
    QTest::newRow("bad value") << "jpg" << QStringList{"--quality", "0"} << 2 << "\"0\"";
    QTest::newRow("no value") << "png" << QStringList{"--width"} << 2 << "--width";
    QTest::newRow("unknown") << "png" << QStringList{"--shiny"} << 2 << "--shiny";
    QTest::newRow("text delimiter") << "txt" << QStringList{"--delimiter", "comma"} << 0 << "";
    QTest::newRow("no size for data") << "xml" << QStringList{"--width", "3"} << 2 << ".xml";
}

void TestCommandLine::formatsTakeTheirOptions()
{
    QFETCH(QString, ext);
    QFETCH(QStringList, options);
    QFETCH(int, exit);
    QFETCH(QString, says);
    QTemporaryDir dir;
    const QString txt = dir.filePath(QStringLiteral("t.txt"));
    {
        QFile f(txt);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Top\n Left\n Right\n  Leaf\n");
    }
    const QString out = dir.filePath(QStringLiteral("o.") + ext);
    // Options go between or after the files.
    const TRun r = options.size() == 1 ? Run(QStringList{QStringLiteral("--export"), out, txt} + options)
                                       : Run(QStringList{QStringLiteral("--export"), out} + options + QStringList{txt});
    QVERIFY2(r.Exit == exit, qPrintable(r.Err));
    if (exit != 0) {
        QVERIFY2(r.Err.contains(says), qPrintable(r.Err));
        QVERIFY(!QFile::exists(out));
        return;
    }
    QVERIFY(QFile::exists(out));
    if (options.contains(QStringLiteral("--width")) || options.contains(QStringLiteral("--width=300")))
        QCOMPARE(QImage(out).width(), 300);
    if (ext == QLatin1String("jpg"))
        QVERIFY(QImage(out).isGrayscale());
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
