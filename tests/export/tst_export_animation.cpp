// Animations on the way out: the animated GIF (its frames as Qt's reader
// decodes them, delays and repetition, one picture size for every frame,
// the diagram untouched afterwards), the command line's --animate, and a
// diagram file's animation kept through the command.

#include "ExportTestUtil.h"

#include "animation/AnimationKinds.h"
#include "animation/TreeAnimateFile.h"
#include "core/Exceptions.h"
#include "export/KorAnimatedGIF.h"
#include "export/KorExportCommand.h"
#include "export/KorGIF.h"

#include <QBuffer>
#include <QImageReader>
#include <QtTest>

namespace {

// A diagram with a node that moves right and one that fades.
struct TAnimatedDiagram
{
    TViewHost View{300, 200};
    std::unique_ptr<TTreeAnimate> Player;
    TTreeNodeShape *Mover;

    explicit TAnimatedDiagram(int duration = 4)
    {
        RegisterAnimationClasses();
        BuildPlainDiagram(View.Tree);
        Mover = View.Tree->Roots()[0];
        Player = std::make_unique<TTreeAnimate>();
        Player->SetName(QStringLiteral("TreeAnimate1"));
        Player->SetTree(View.Tree);
        auto *move = new TMovementAnimation(View.Owner.get());
        move->SetName(QStringLiteral("MovementAnimation1"));
        move->SetNode(Mover);
        move->SetDuration(duration);
        move->SetStartValue(20);
        move->SetEndValue(220);
        Player->Animations().Add(move);
        auto *fade = new TNodeColorAnimation(View.Owner.get());
        fade->SetName(QStringLiteral("NodeColorAnimation2"));
        fade->SetNode(View.Tree->Roots()[0]->Child(1));
        fade->SetDuration(duration);
        fade->SetStartColor(clLime);
        fade->SetEndColor(clRed);
        Player->Animations().Add(fade);
    }
    QByteArray Gif(TColorReduction reduction = crNone)
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        WriteAnimatedGIF(*View.Tree, *Player, buffer, dmNearest, reduction);
        return buffer.data();
    }
    QByteArray Document()
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        SaveDocument(*View.Tree, buffer, Player.get());
        return buffer.data();
    }
};

struct TDecoded
{
    QList<QImage> Frames;
    QList<int> Delays;
    int Loops = 0;
};

TDecoded Decode(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    TDecoded d;
    QImage frame;
    while (reader.read(&frame)) {
        d.Frames << frame;
        d.Delays << reader.nextImageDelay();
    }
    d.Loops = reader.loopCount();
    return d;
}

} // namespace

class TestExportAnimation : public QObject
{
    Q_OBJECT

private slots:
    void framesDecode_data();
    void framesDecode();
    void loopAndDelay_data();
    void loopAndDelay();
    void exportLeavesTheDiagram();
    void commandLineAnimates();
    void commandLineRefuses_data();
    void commandLineRefuses();
    void diagramFileKeepsItsAnimation();
    void writerWantsCompleteFrames();
};

void TestExportAnimation::framesDecode_data()
{
    QTest::addColumn<int>("duration");
    QTest::addColumn<int>("reduction");
    QTest::newRow("4 frames, own colours") << 4 << int(crNone);
    QTest::newRow("9 frames, fixed palette") << 9 << int(crWindows256);
}

void TestExportAnimation::framesDecode()
{
    QFETCH(int, duration);
    QFETCH(int, reduction);
    TAnimatedDiagram d(duration);
    const TDecoded gif = Decode(d.Gif(static_cast<TColorReduction>(reduction)));
    // Frames 0 ... end frame + 1.
    QCOMPARE(gif.Frames.size(), duration + 1);
    for (const QImage &f : gif.Frames)
        QCOMPARE(f.size(), gif.Frames.first().size());
    // The picture covers the node at both ends of its way.
    QVERIFY(gif.Frames.first().width() >= 220 + 90);
    QVERIFY(gif.Frames.first() != gif.Frames.last());
    QVERIFY(gif.Frames.at(1) != gif.Frames.at(2));
}

void TestExportAnimation::loopAndDelay_data()
{
    QTest::addColumn<bool>("loop");
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("delay");
    QTest::newRow("once, speed 10") << false << 10 << 100;
    QTest::newRow("for ever, speed 15") << true << 15 << 40;
    QTest::newRow("fastest is kept visible") << false << 50 << 20;
}

void TestExportAnimation::loopAndDelay()
{
    QFETCH(bool, loop);
    QFETCH(int, speed);
    QFETCH(int, delay);
    TAnimatedDiagram d;
    d.Player->SetLoop(loop);
    d.Player->SetSpeed(speed);
    const TDecoded gif = Decode(d.Gif());
    QCOMPARE(gif.Delays.first(), delay);
    if (loop)
        QCOMPARE(gif.Loops, -1); // Qt's reader: for ever
    else
        QCOMPARE(gif.Loops, 0);
    QCOMPARE(d.Player->Loop(), loop);
}

void TestExportAnimation::exportLeavesTheDiagram()
{
    TAnimatedDiagram d;
    bool framed = false;
    d.Player->OnFrame = [&](TObject *) { framed = true; };
    // Drawing places the connections' points, which files keep: compare
    // documents drawn as they are.
    const QImage still = TExportPicture::WholeDiagram(*d.View.Tree).RenderWhole();
    const QByteArray before = d.Document();
    d.Gif();
    QCOMPARE(TExportPicture::WholeDiagram(*d.View.Tree).RenderWhole(), still);
    QCOMPARE(d.Document(), before);
    QCOMPARE(d.Player->State(), asStopped);
    // The player's own handler is back and was not called meanwhile.
    QVERIFY(!framed);
    d.Player->Play();
    d.Player->NextFrame();
    QVERIFY(framed);
    d.Player->Stop();
}

void TestExportAnimation::commandLineAnimates()
{
    QTemporaryDir dir;
    TAnimatedDiagram d;
    const QString abx = dir.filePath(QStringLiteral("moving.abx"));
    QVERIFY(WriteFileBytes(abx, d.Document()));
    const QString gif = dir.filePath(QStringLiteral("moving.gif"));
    const TCommandLine cmd =
        ParseCommandLine({QStringLiteral("--export"), gif, abx, QStringLiteral("--animate")});
    QCOMPARE(cmd.Action, TCommandLine::aExport);
    QString errors;
    QTextStream err(&errors);
    QCOMPARE(RunExportCommand(cmd.Output, cmd.Input, err, cmd.Options), 0);
    QVERIFY2(errors.isEmpty(), qPrintable(errors));
    QCOMPARE(Decode(ReadFileBytes(gif)).Frames.size(), 5);
    // Without the switch the same file is one picture.
    QCOMPARE(RunExportCommand(gif, abx, err), 0);
    QCOMPARE(Decode(ReadFileBytes(gif)).Frames.size(), 1);
}

void TestExportAnimation::commandLineRefuses_data()
{
    QTest::addColumn<bool>("withAnimation");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("message");
    QTest::newRow("no animation") << false << QStringList{QStringLiteral("--animate")}
                                  << SExportNoAnimation.Text();
    QTest::newRow("a size") << true << QStringList{QStringLiteral("--animate"), QStringLiteral("--width"),
                                                    QStringLiteral("100")}
                            << SExportAnimateSize.Text();
}

void TestExportAnimation::commandLineRefuses()
{
    QFETCH(bool, withAnimation);
    QFETCH(QStringList, options);
    QFETCH(QString, message);
    QTemporaryDir dir;
    TAnimatedDiagram d;
    const QString abx = dir.filePath(QStringLiteral("in.abx"));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    SaveDocument(*d.View.Tree, buffer, withAnimation ? d.Player.get() : nullptr);
    QVERIFY(WriteFileBytes(abx, buffer.data()));
    const QString gif = dir.filePath(QStringLiteral("out.gif"));
    const TCommandLine cmd = ParseCommandLine(QStringList{QStringLiteral("--export"), gif, abx} + options);
    QCOMPARE(cmd.Action, TCommandLine::aExport);
    QString errors;
    QTextStream err(&errors);
    QCOMPARE(RunExportCommand(cmd.Output, cmd.Input, err, cmd.Options), 1);
    QVERIFY2(errors.contains(message), qPrintable(errors));
    QVERIFY(!QFile::exists(gif));
}

void TestExportAnimation::diagramFileKeepsItsAnimation()
{
    QTemporaryDir dir;
    TAnimatedDiagram d;
    const QByteArray document = d.Document();
    const QString in = dir.filePath(QStringLiteral("in.abx"));
    const QString out = dir.filePath(QStringLiteral("out.abx"));
    QVERIFY(WriteFileBytes(in, document));
    QString errors;
    QTextStream err(&errors);
    QCOMPARE(RunExportCommand(out, in, err), 0);
    // The animation part comes through byte for byte.
    const QByteArray written = ReadFileBytes(out);
    const qsizetype part = document.indexOf(QByteArray("TPF0\x0c" "TTreeAnimate"), 4);
    QVERIFY(part > 0);
    QCOMPARE(written.mid(written.indexOf(QByteArray("TPF0\x0c" "TTreeAnimate"), 4)), document.mid(part));
}

void TestExportAnimation::writerWantsCompleteFrames()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    TGIFWriter gif(&buffer, 4, 2, {qRgb(0, 0, 0), qRgb(255, 255, 255)}, dmNearest, TGIFWriter::TFrames{});
    QImage rows(4, 1, QImage::Format_RGB32);
    rows.fill(Qt::white);
    // Rows before the first frame, and a frame begun before the last one
    // was complete, are refused.
    QVERIFY_THROWS_EXCEPTION(EWriteError, gif.WriteRows(rows));
    gif.BeginFrame(10);
    gif.WriteRows(rows);
    QVERIFY_THROWS_EXCEPTION(EWriteError, gif.BeginFrame(10));
    gif.WriteRows(rows);
    gif.BeginFrame(10);
    gif.WriteRows(rows);
    gif.WriteRows(rows);
    gif.Finish();
    QCOMPARE(gif.FrameCount(), 2);
    QCOMPARE(Decode(buffer.data()).Frames.size(), 2);
}

QTEST_MAIN(TestExportAnimation)
#include "tst_export_animation.moc"
