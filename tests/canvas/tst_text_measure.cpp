// Text widths measured by the canvas's fast path agree with the shaped
// widths of the platform's metrics, whatever the font and the text.

#include "CanvasTestUtil.h"
#include "canvas/KorFont.h"
#include "canvas/TextMeasure.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QtTest>

namespace {

// A paint device of the screen resolution the canvas measures on.
QImage Device(int dpi)
{
    QImage image(1, 1, QImage::Format_RGB32);
    const int dpm = static_cast<int>(dpi / 0.0254 + 0.5);
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    return image;
}

const QStringList &Texts()
{
    static const QStringList texts = {
        QString(), QStringLiteral("W"), QStringLiteral("Node 12"), QStringLiteral("AVATAR To Wa. Ty"),
        QStringLiteral("office affluent ffi fl"), QStringLiteral("  leading and trailing  "),
        QStringLiteral("LTAVYWvwy.,;:'\"!?"), QStringLiteral("0123456789 +-*/=<>()[]{}"),
        QStringLiteral("Ärger mit Umlauten"), QStringLiteral("tab\there"), QStringLiteral("日本語のノード"),
        QStringLiteral("mixed Ωmega and ASCII"), QStringLiteral("~`@#$%^&|\\_")};
    return texts;
}

} // namespace

class TestTextMeasure : public QObject
{
    Q_OBJECT
private slots:
    void agreesWithShapedWidth_data();
    void agreesWithShapedWidth();
    void fontsTakenInTurnKeepTheirOwnWidths();
    void canvasFollowsEveryFontChange_data();
    void canvasFollowsEveryFontChange();
};

void TestTextMeasure::agreesWithShapedWidth_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("kerning");
    QTest::addColumn<int>("spacing");
    QTest::addColumn<int>("dpi");
    QTest::newRow("sans 8") << "DejaVu Sans" << 8 << false << true << 0 << 96;
    QTest::newRow("sans 8 bold") << "DejaVu Sans" << 8 << true << true << 0 << 96;
    QTest::newRow("serif 11") << "Liberation Serif" << 11 << false << true << 0 << 96;
    QTest::newRow("sans 13 no kerning") << "Liberation Sans" << 13 << false << false << 0 << 96;
    QTest::newRow("letter spacing") << "DejaVu Sans" << 9 << false << true << 2 << 96;
    QTest::newRow("printer resolution") << "DejaVu Serif" << 10 << false << true << 0 << 600;
    QTest::newRow("large") << "Nimbus Sans" << 48 << true << true << 0 << 96;
    QTest::newRow("unknown family") << "No Such Family" << 8 << false << true << 0 << 96;
}

void TestTextMeasure::agreesWithShapedWidth()
{
    QFETCH(QString, family);
    QFETCH(int, points);
    QFETCH(bool, bold);
    QFETCH(bool, kerning);
    QFETCH(int, spacing);
    QFETCH(int, dpi);
    QFont font(family, points, bold ? QFont::Bold : QFont::Normal);
    font.setKerning(kerning);
    if (spacing != 0)
        font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    const QImage device = Device(dpi);
    const QFontMetrics metrics(font, &device);
    TTextMeasure measure;
    // Twice: the second round uses what the first learnt about the pairs.
    for (int round = 0; round < 2; ++round)
        for (const QString &text : Texts())
            QCOMPARE(measure.Width(font, &device, text), metrics.horizontalAdvance(text));
    // The cell metrics kept with the font are the font's on this device.
    const QFontMetricsF exact(font, &device);
    QCOMPARE(measure.Metrics(font, &device).ascent(), exact.ascent());
    QCOMPARE(measure.Metrics(font, &device).descent(), exact.descent());
}

void TestTextMeasure::fontsTakenInTurnKeepTheirOwnWidths()
{
    const QImage device = Device(96);
    QFont small(QStringLiteral("DejaVu Sans"), 8);
    QFont big(QStringLiteral("DejaVu Sans"), 20);
    QFont italic(QStringLiteral("Liberation Serif"), 8);
    italic.setItalic(true);
    TTextMeasure measure;
    const QString text = QStringLiteral("Node 12345 of AVA");
    for (int i = 0; i < 3; ++i)
        for (const QFont &font : {small, big, italic, small})
            QCOMPARE(measure.Width(font, &device, text), QFontMetrics(font, &device).horizontalAdvance(text));
    QVERIFY(measure.Width(big, &device, text) > measure.Width(small, &device, text));
}

void TestTextMeasure::canvasFollowsEveryFontChange_data()
{
    QTest::addColumn<QString>("change");
    for (const char *change : {"name", "height", "bold", "italic", "underline", "fixed pitch", "inter-char"})
        QTest::newRow(change) << QString::fromLatin1(change);
}

void TestTextMeasure::canvasFollowsEveryFontChange()
{
    // Nodes assign fonts one after another; each one the canvas measures
    // with must be the font assigned, also right after an equal one.
    QFETCH(QString, change);
    TKorFont plain;
    plain.SetName(QStringLiteral("DejaVu Sans"));
    plain.SetSize(8);
    TKorFont other;
    other.Assign(&plain);
    if (change == QLatin1String("name"))
        other.SetName(QStringLiteral("DejaVu Serif"));
    else if (change == QLatin1String("height"))
        other.SetSize(14);
    else if (change == QLatin1String("bold"))
        other.SetStyle(SetBit(fsBold));
    else if (change == QLatin1String("italic"))
        other.SetStyle(SetBit(fsItalic));
    else if (change == QLatin1String("underline"))
        other.SetStyle(SetBit(fsUnderline));
    else if (change == QLatin1String("fixed pitch"))
        other.SetPitch(fpFixed);
    else
        other.SetInterCharSize(3);

    TImageCanvas image;
    TKorCanvas3D &canvas = image.Canvas;
    const QString text = QStringLiteral("Node 12 AVATAR");
    canvas.AssignFont(&plain);
    const QFont plainFont = canvas.CurrentQFont();
    const int plainWidth = canvas.TextWidth(text);
    canvas.AssignFont(&other);
    const QFont otherFont = canvas.CurrentQFont();
    QVERIFY(!(otherFont == plainFont));
    QCOMPARE(canvas.TextWidth(text), QFontMetrics(otherFont, &image.Image).horizontalAdvance(text));
    canvas.AssignFont(&plain);
    QVERIFY(canvas.CurrentQFont() == plainFont);
    QCOMPARE(canvas.TextWidth(text), plainWidth);
    // Changed in place while assigned, the canvas's font follows too.
    canvas.Font().SetStyle(SetBit(fsBold) | SetBit(fsItalic));
    QVERIFY(canvas.CurrentQFont().bold() && canvas.CurrentQFont().italic());
}

QTEST_MAIN(TestTextMeasure)
#include "tst_text_measure.moc"
