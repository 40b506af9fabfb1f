// Rounding rules, colours and the name tables of the file format, message
// texts.

#include "core/Colors.h"
#include "core/CoreConst.h"
#include "core/Messages.h"
#include "core/NameTables.h"
#include "core/Rounding.h"

#include <QtTest>

class TestCoreTypes : public QObject
{
    Q_OBJECT
private slots:
    void roundEvenTiesToEven_data();
    void roundEvenTiesToEven();
    void roundEvenSaturates();
    void mulDivHalvesAwayFromZero_data();
    void mulDivHalvesAwayFromZero();
    void halfSumTowardZero();
    void colorNamesBothWays();
    void colorNumbersAndSystemColors();
    void darkenAndGray();
    void cursorNamesBothWays();
    void charsetNamesBothWays();
    void messagesFormatAndReplace();
};

void TestCoreTypes::roundEvenTiesToEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("0.5") << 0.5 << 0;
    QTest::newRow("1.5") << 1.5 << 2;
    QTest::newRow("2.5") << 2.5 << 2;
    QTest::newRow("3.5") << 3.5 << 4;
    QTest::newRow("-0.5") << -0.5 << 0;
    QTest::newRow("-1.5") << -1.5 << -2;
    QTest::newRow("-2.5") << -2.5 << -2;
    QTest::newRow("2.4999") << 2.4999 << 2;
    QTest::newRow("2.5001") << 2.5001 << 3;
    QTest::newRow("-2.6") << -2.6 << -3;
    QTest::newRow("just below half") << 0.49999999999999994 << 0;
    QTest::newRow("large") << 1e9 + 0.5 << 1000000000;
}

void TestCoreTypes::roundEvenTiesToEven()
{
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(dx::RoundEven(value), expected);
}

void TestCoreTypes::roundEvenSaturates()
{
    QCOMPARE(dx::RoundEven(1e300), INT_MAX);
    QCOMPARE(dx::RoundEven(-1e300), INT_MIN);
    QCOMPARE(dx::RoundEven(std::nan("")), 0);
    // The wide form keeps values beyond the int range, ties still to even.
    QCOMPARE(dx::RoundEvenWide(3000000000.5), int64_t(3000000000));
    QCOMPARE(dx::RoundEvenWide(-3000000001.5), int64_t(-3000000002));
    QCOMPARE(dx::RoundEvenWide(1e300), int64_t(1) << 40);
}

void TestCoreTypes::mulDivHalvesAwayFromZero_data()
{
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("c");
    QTest::addColumn<int>("expected");
    QTest::newRow("5*1/2") << 5 << 1 << 2 << 3;
    QTest::newRow("-5*1/2") << -5 << 1 << 2 << -3;
    QTest::newRow("5*1/-2") << 5 << 1 << -2 << -3;
    QTest::newRow("7*1/2") << 7 << 1 << 2 << 4;
    QTest::newRow("8pt at 96dpi") << 8 << 96 << 72 << 11;
    QTest::newRow("10pt at 96dpi") << 10 << 96 << 72 << 13;
    QTest::newRow("below half") << 1 << 1 << 3 << 0;
    QTest::newRow("64-bit product") << 2000000000 << 3 << 4 << 1500000000;
    QTest::newRow("divisor 0") << 3 << 4 << 0 << 0;
    QTest::newRow("saturates") << INT_MAX << INT_MAX << 1 << INT_MAX;
}

void TestCoreTypes::mulDivHalvesAwayFromZero()
{
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, c);
    QFETCH(int, expected);
    QCOMPARE(dx::MulDiv(a, b, c), expected);
}

void TestCoreTypes::halfSumTowardZero()
{
    QCOMPARE(dx::HalfSum(3, 0), 1);
    QCOMPARE(dx::HalfSum(-3, 0), -1);
    QCOMPARE(dx::HalfSum(-1, -2), -1);
    QCOMPARE(dx::HalfSum(INT_MAX, INT_MAX), INT_MAX);
    QCOMPARE(dx::Div(-7, 2), -3);
    QCOMPARE(dx::Div(7, 0), 0);
}

void TestCoreTypes::colorNamesBothWays()
{
    struct
    {
        const char *name;
        uint32_t value;
    } table[] = {
        {"clBlack", 0x000000}, {"clMaroon", 0x000080}, {"clGreen", 0x008000}, {"clOlive", 0x008080},
        {"clNavy", 0x800000}, {"clPurple", 0x800080}, {"clTeal", 0x808000}, {"clGray", 0x808080},
        {"clSilver", 0xC0C0C0}, {"clRed", 0x0000FF}, {"clLime", 0x00FF00}, {"clYellow", 0x00FFFF},
        {"clBlue", 0xFF0000}, {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00}, {"clWhite", 0xFFFFFF},
        {"clNone", 0x1FFFFFFF}, {"clScrollBar", 0x80000000}, {"clBackground", 0x80000001},
        {"clActiveCaption", 0x80000002}, {"clInactiveCaption", 0x80000003}, {"clMenu", 0x80000004},
        {"clWindow", 0x80000005}, {"clWindowFrame", 0x80000006}, {"clMenuText", 0x80000007},
        {"clWindowText", 0x80000008}, {"clCaptionText", 0x80000009}, {"clActiveBorder", 0x8000000A},
        {"clInactiveBorder", 0x8000000B}, {"clAppWorkSpace", 0x8000000C}, {"clHighlight", 0x8000000D},
        {"clHighlightText", 0x8000000E}, {"clBtnFace", 0x8000000F}, {"clBtnShadow", 0x80000010},
        {"clGrayText", 0x80000011}, {"clBtnText", 0x80000012}, {"clInactiveCaptionText", 0x80000013},
        {"clBtnHighlight", 0x80000014}, {"cl3DDkShadow", 0x80000015}, {"cl3DLight", 0x80000016},
        {"clInfoText", 0x80000017}, {"clInfoBk", 0x80000018},
    };
    for (const auto &e : table) {
        QString ident;
        QVERIFY2(ColorToIdent(static_cast<TColor>(e.value), ident), e.name);
        QCOMPARE(ident, QString::fromLatin1(e.name));
        TColor c = 0;
        QVERIFY(IdentToColor(QString::fromLatin1(e.name), c));
        QCOMPARE(static_cast<uint32_t>(c), e.value);
    }
    QString ident;
    QVERIFY(!ColorToIdent(0x123456, ident));
    TColor c = 0;
    QVERIFY(!IdentToColor(QStringLiteral("clMauve"), c));
    QCOMPARE(clDefault, 536870912);
    QCOMPARE(clNone, 536870911);
}

void TestCoreTypes::colorNumbersAndSystemColors()
{
    TColor c = 0;
    QCOMPARE(ColorToString(0x123456), QStringLiteral("1193046"));
    QVERIFY(StringToColor(QStringLiteral("1193046"), c));
    QCOMPARE(c, 0x123456);
    QVERIFY(StringToColor(QStringLiteral("$FF"), c));
    QCOMPARE(c, clRed);
    QVERIFY(StringToColor(QStringLiteral("clLime"), c));
    QCOMPARE(c, clLime);
    QVERIFY(!StringToColor(QStringLiteral("red-ish"), c));
    // Without an application object the classic palette answers.
    QVERIFY(IsSystemColor(clBtnFace));
    QVERIFY(!IsSystemColor(clWhite));
    QCOMPARE(ColorToRGB(clWindow), clWhite);
    QCOMPARE(ColorToRGB(clRed), clRed);
    QCOMPARE(ToQColor(clRed), QColor(255, 0, 0));
    QCOMPARE(FromQColor(QColor(0, 0, 255)), clBlue);
}

void TestCoreTypes::darkenAndGray()
{
    QCOMPARE(DarkenColor(RGBColor(100, 20, 200), 50), RGBColor(50, 0, 150));
    QCOMPARE(DarkenColor(clWhite, 255), clBlack);
    QCOMPARE(GrayColor(RGBColor(30, 60, 91)), RGBColor(60, 60, 60));
    QCOMPARE(GrayColor(clYellow), RGBColor(170, 170, 170));
}

void TestCoreTypes::cursorNamesBothWays()
{
    const QList<QPair<QString, int>> table = {
        {"crDefault", 0}, {"crArrow", -2}, {"crCross", -3}, {"crIBeam", -4}, {"crSizeNESW", -6},
        {"crSizeNS", -7}, {"crSizeNWSE", -8}, {"crSizeWE", -9}, {"crUpArrow", -10}, {"crHourGlass", -11},
        {"crDrag", -12}, {"crNoDrop", -13}, {"crHSplit", -14}, {"crVSplit", -15}, {"crMultiDrag", -16},
        {"crSQLWait", -17}, {"crNo", -18}, {"crAppStart", -19}, {"crHelp", -20}, {"crHandPoint", -21},
        {"crSizeAll", -22}};
    for (const auto &e : table) {
        QString ident;
        QVERIFY(CursorToIdent(e.second, ident));
        QCOMPARE(ident, e.first);
        int v = 99;
        QVERIFY(IdentToCursor(e.first, v));
        QCOMPARE(v, e.second);
    }
    int v = 0;
    QVERIFY(IdentToCursor(QStringLiteral("crSize"), v));
    QCOMPARE(v, -22);
    QString ident;
    QVERIFY(!CursorToIdent(-5, ident));
    QVERIFY(!CursorToIdent(5, ident));
}

void TestCoreTypes::charsetNamesBothWays()
{
    const QList<QPair<QString, int>> table = {
        {"ANSI_CHARSET", 0}, {"DEFAULT_CHARSET", 1}, {"SYMBOL_CHARSET", 2}, {"MAC_CHARSET", 77},
        {"SHIFTJIS_CHARSET", 128}, {"HANGEUL_CHARSET", 129}, {"JOHAB_CHARSET", 130}, {"GB2312_CHARSET", 134},
        {"CHINESEBIG5_CHARSET", 136}, {"GREEK_CHARSET", 161}, {"TURKISH_CHARSET", 162}, {"HEBREW_CHARSET", 177},
        {"ARABIC_CHARSET", 178}, {"BALTIC_CHARSET", 186}, {"RUSSIAN_CHARSET", 204}, {"THAI_CHARSET", 222},
        {"EASTEUROPE_CHARSET", 238}, {"OEM_CHARSET", 255}};
    for (const auto &e : table) {
        QString ident;
        QVERIFY(CharsetToIdent(e.second, ident));
        QCOMPARE(ident, e.first);
        int v = -1;
        QVERIFY(IdentToCharset(e.first, v));
        QCOMPARE(v, e.second);
    }
    QString ident;
    QVERIFY(!CharsetToIdent(3, ident));
}

void TestCoreTypes::messagesFormatAndReplace()
{
    QCOMPARE(FormatMessage(SDuplicateName, {QStringLiteral("TreeNodeShape1")}),
             QStringLiteral("A component named TreeNodeShape1 already exists"));
    QCOMPARE(FormatMessage(SErrorReading, {QStringLiteral("Node"), QStringLiteral("."), QStringLiteral("Foo"), QStringLiteral("Property does not exist")}),
             QStringLiteral("Error reading Node.Foo: Property does not exist"));
    QCOMPARE(FormatMessage(QStringLiteral("100%% of %d"), {QStringLiteral("7")}), QStringLiteral("100% of 7"));
    QCOMPARE(FormatMessage(QStringLiteral("%s and %s"), {QStringLiteral("a")}), QStringLiteral("a and "));

    QVERIFY(TMessageText::Find(QStringLiteral("SDuplicateName")) == &SDuplicateName);
    QVERIFY(TMessageText::SetById(QStringLiteral("SDuplicateName"), QStringLiteral("Ya existe %s")));
    QCOMPARE(SDuplicateName.Text(), QStringLiteral("Ya existe %s"));
    QVERIFY(!TMessageText::SetById(QStringLiteral("NoSuchMessage"), QStringLiteral("x")));
    TMessageText::ResetAllToEnglish();
    QCOMPARE(SDuplicateName.Text(), QStringLiteral("A component named %s already exists"));
}

QTEST_GUILESS_MAIN(TestCoreTypes)
#include "tst_core_types.moc"
