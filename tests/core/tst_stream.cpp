// The component stream: value encoding (tags, the extended float, the
// Windows-1252 table, text outside it), the writer's rules driven by the
// property declarations, the reader (dotted paths, extra properties,
// collections, children, references resolved after reading, the error
// hook) and its behaviour on untrusted input (truncation, huge lengths,
// deep nesting).

#include "StreamTestClasses.h"

#include "core/ClassRegistry.h"
#include "core/CoreConst.h"
#include "core/Exceptions.h"
#include "core/ExtendedFloat.h"
#include "core/Reader.h"
#include "core/Windows1252.h"
#include "core/Writer.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <QtTest>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime (sanitizer/allocator_interface.h).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*onMalloc)(const volatile void *, size_t),
                                                         void (*onFree)(const volatile void *));
#define DX_MALLOC_HOOKS 1
#endif

namespace {

// Streams the tests write become the fuzzer's seed corpus.
void Seed(const char *name, const QByteArray &bytes)
{
#ifdef DENDRIX_FUZZ_SEEDS
    QDir().mkpath(QStringLiteral(DENDRIX_FUZZ_SEEDS));
    QFile f(QStringLiteral(DENDRIX_FUZZ_SEEDS "/%1.dfm").arg(QLatin1String(name)));
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
#else
    Q_UNUSED(name);
    Q_UNUSED(bytes);
#endif
}

QByteArray Hex(const char *hex)
{
    return QByteArray::fromHex(hex);
}

QByteArray Short(const QByteArray &s)
{
    return char(s.size()) + s;
}

// Writes values and raw bytes into one stream.
class TBuilder
{
public:
    TBuilder()
    {
        FBuffer.open(QIODevice::WriteOnly);
        FWriter = std::make_unique<TWriter>(FBuffer);
    }
    TWriter *operator->() { return FWriter.get(); }
    TBuilder &Raw(const QByteArray &bytes)
    {
        FWriter->FlushBuffer();
        FBuffer.write(bytes);
        return *this;
    }
    TBuilder &Byte(int b) { return Raw(QByteArray(1, char(b))); }
    TBuilder &Str(const QString &s)
    {
        FWriter->WriteStr(s);
        return *this;
    }
    TBuilder &Signature()
    {
        FWriter->WriteSignature();
        return *this;
    }
    TBuilder &Header(const QString &cls, const QString &name) { return Str(cls).Str(name); }
    QByteArray Bytes()
    {
        FWriter->FlushBuffer();
        return FBuffer.data();
    }

private:
    QBuffer FBuffer;
    std::unique_ptr<TWriter> FWriter;
};

// A reader that answers its error hook as told and remembers the questions.
class TTestReader : public TReader
{
public:
    TTestReader(QIODevice &stream, bool answer) : TReader(stream), Answer(answer) {}
    bool Error(const QString &message) override
    {
        Asked << message;
        return Answer;
    }
    bool Answer;
    QStringList Asked;
};


QByteArray Record(TComponent &component)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    TWriter writer(buffer);
    writer.WriteComponent(component);
    writer.FlushBuffer();
    return buffer.data();
}

// A host window with a diagram and its nodes, as the editor has them.
struct THost
{
    explicit THost(const QString &ownerName = QStringLiteral("TreeEditor1"))
    {
        Owner = std::make_unique<TComponent>();
        Owner->SetName(ownerName);
        Diagram = new TTestDiagram(Owner.get());
        Diagram->SetName(QStringLiteral("Diagram1"));
    }
    TTreeNodeShape *Add(const QString &name)
    {
        auto *node = new TTreeNodeShape(Owner.get());
        node->SetName(name);
        node->AttachToParent(Diagram);
        return node;
    }
    TTreeNodeShape *Node(const QString &name) const
    {
        return dynamic_cast<TTreeNodeShape *>(Owner->FindComponent(name));
    }
    // Loads a stream (signature included) into the diagram; the error hook
    // answers `answer`. Returns the questions asked.
    QStringList Load(const QByteArray &bytes, bool answer = false)
    {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        TTestReader reader(buffer, answer);
        reader.SetOwner(Owner.get());
        reader.ReadSignature();
        reader.ReadRootComponent(*Diagram);
        return reader.Asked;
    }
    std::unique_ptr<TComponent> Owner;
    TTestDiagram *Diagram;
};

// The names of the property records of one object record.
QStringList PropertyNames(const QByteArray &record)
{
    QBuffer buffer;
    buffer.setData(record);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    reader.ReadStr();
    reader.ReadStr();
    QStringList names;
    while (!reader.EndOfList()) {
        names << reader.ReadStr();
        reader.SkipValue();
    }
    return names;
}

template <class F>
QString ReadErrorOf(F &&f)
{
    try {
        f();
    } catch (const EReadError &e) {
        return e.Message();
    }
    return QStringLiteral("(no read error)");
}

uint64_t Bits(double d)
{
    uint64_t b;
    std::memcpy(&b, &d, sizeof b);
    return b;
}

double FromBits(uint64_t b)
{
    double d;
    std::memcpy(&d, &b, sizeof d);
    return d;
}

void Extended(uint64_t mantissa, uint16_t signExp, uint8_t (&bytes)[kExtendedSize])
{
    for (int i = 0; i < 8; ++i)
        bytes[i] = uint8_t(mantissa >> (8 * i));
    bytes[8] = uint8_t(signExp);
    bytes[9] = uint8_t(signExp >> 8);
}

double FromExtended(uint64_t mantissa, uint16_t signExp)
{
    uint8_t bytes[kExtendedSize];
    Extended(mantissa, signExp, bytes);
    return ExtendedToDouble(bytes);
}

#ifdef DX_MALLOC_HOOKS
size_t gLargestAllocation = 0;
void OnMalloc(const volatile void *, size_t size)
{
    if (size > gLargestAllocation)
        gLargestAllocation = size;
}
void OnFree(const volatile void *) {}
#endif

// A device without a known size, like a pipe.
class TSequentialDevice : public QIODevice
{
public:
    explicit TSequentialDevice(QByteArray data) : FData(std::move(data)) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 n = std::min<qint64>(std::min<qint64>(maxSize, 7), FData.size() - FPos);
        std::memcpy(data, FData.constData() + FPos, n);
        FPos += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray FData;
    qint64 FPos = 0;
};

// A diagram using every kind of value, for round trips and truncation.
void FillRich(THost &host)
{
    TTreeNodeShape *a = host.Add(QStringLiteral("TreeNodeShape1"));
    TTreeNodeShape *b = host.Add(QStringLiteral("TreeNodeShape2"));
    TTreeNodeShape *c = host.Add(QStringLiteral("TreeNodeShape3"));
    host.Diagram->SetColor(clRed);
    host.Diagram->SetZoom(150);
    host.Diagram->SetSelected(b);
    a->SetTag(-1);
    a->SetAutoSize(false);
    a->SetBackColor(0x123456);
    a->Border()->SetColor(clBtnFace);
    a->Border()->SetWidth(200);
    a->SetStyle(tssDiamond);
    a->SetFixedX(true);
    a->SetX0(-70000);
    a->SetCursor(crHandPoint);
    a->Font()->SetCharset(204);
    a->Font()->SetName(QStringLiteral("Times New Roman"));
    a->Font()->SetStyle(SetBit(fsBold) | SetBit(fsUnderline));
    a->Font()->Shadow()->SetHorizSize(3);
    a->Image()->Data = Short("TBitmap") + QByteArray(40, '\x7f');
    a->Text()->Lines = QStringList{QStringLiteral("Grüße €"), QString(300, QLatin1Char('x')),
                                   QStringLiteral("Привет, 世界 😀")};
    a->Text()->SetAngle(90);
    a->Text()->SetHorizAlign(htaRight);
    a->SetHint(QStringLiteral("hint"));
    a->SetScale(-2.5);
    for (int i = 0; i < 3; ++i) {
        auto *p = static_cast<TTestPointItem *>(a->Points()->Add());
        p->SetX(i * 1000);
        p->SetY(-i);
    }
    a->SetTransparency(40);
    b->SetParent(a);
    b->Text()->Lines = QStringList{QStringLiteral("B")};
    c->SetParent(b);
    c->SetCursor(-30);
    c->SetBackColor(clNone);
}

} // namespace

class TestStream : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    // Encoding
    void extendedFloatExactValues();
    void extendedFloatRoundingAndRanges();
    void windows1252Table();
    void integersUseTheSmallestTag();
    void stringsChooseTheirTag();
    void everyValueKindRoundTrips();

    // Writing
    void nodeRecordByteExact();
    void emptyDiagramByteExact();
    void writesStoredPropertiesInDeclaredOrder();
    void referenceNamingRule();

    // Reading
    void richDiagramRoundTrips();
    void readerAcceptsEveryTagAndPrefix();
    void collectionsReplaceTheirItems();
    void referencesResolvedAfterLoadedInReadingOrder();
    void unresolvableReferencesStayNone();
    void globalLookupResolvesAnyOwnerName();
    void positionAllowsAFollowingObject();
    void everyBufferSizeReadsTheSame_data();
    void everyBufferSizeReadsTheSame();

    // Errors
    void unknownPropertyAsksOncePerOccurrence();
    void declinedErrorStopsWithContext();
    void invalidValuesGoThroughTheHook();
    void unknownPathsCreateNoSubObjects();
    void signatureCheckedOnItsOwn();
    void unknownClassAndTakenName();
    void truncationAtEveryOffsetFailsCleanly();
    void lengthsBeyondTheStreamRefusedWithoutAllocation();
    void nestingIsCapped();
};

void TestStream::initTestCase()
{
    RegisterStreamTestClasses();
}

// ---------------------------------------------------------------------------
// Encoding

void TestStream::extendedFloatExactValues()
{
    uint8_t bytes[kExtendedSize];
    DoubleToExtended(0.0, bytes);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(bytes), 10), Hex("00000000000000000000"));
    DoubleToExtended(-0.0, bytes);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(bytes), 10), Hex("00000000000000000080"));
    DoubleToExtended(1.0, bytes);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(bytes), 10), Hex("0000000000000080FF3F"));
    DoubleToExtended(-2.5, bytes);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(bytes), 10), Hex("00000000000000A000C0"));

    // Every finite double, denormals included, is held exactly: the
    // mantissa is the significand scaled to 64 bits, the exponent frexp's.
    const double values[] = {1e-300, -1e300, 0.1, 3.0, DBL_MAX, DBL_MIN, -DBL_MIN,
                             FromBits(1), FromBits(0x000FFFFFFFFFFFFFull), -FromBits(0x0000000123456789ull)};
    for (double v : values) {
        DoubleToExtended(v, bytes);
        int e = 0;
        const double m = std::frexp(std::fabs(v), &e);
        uint64_t mantissa = 0;
        for (int i = 0; i < 8; ++i)
            mantissa |= uint64_t(bytes[i]) << (8 * i);
        const int signExp = bytes[8] | (bytes[9] << 8);
        QCOMPARE(mantissa, uint64_t(std::ldexp(m, 64)));
        QCOMPARE(signExp & 0x7FFF, e - 1 + 16383);
        QCOMPARE(bool(signExp & 0x8000), v < 0);
        QCOMPARE(Bits(ExtendedToDouble(bytes)), Bits(v));
    }

    // Infinities keep their sign; NaN stays a (quiet) NaN.
    DoubleToExtended(std::numeric_limits<double>::infinity(), bytes);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(bytes), 10), Hex("0000000000000080FF7F"));
    QCOMPARE(ExtendedToDouble(bytes), std::numeric_limits<double>::infinity());
    DoubleToExtended(-std::numeric_limits<double>::infinity(), bytes);
    QCOMPARE(ExtendedToDouble(bytes), -std::numeric_limits<double>::infinity());
    DoubleToExtended(std::numeric_limits<double>::quiet_NaN(), bytes);
    QCOMPARE(bytes[9] & 0x7F, 0x7F);
    QCOMPARE(bytes[8], uint8_t(0xFF));
    QCOMPARE(bytes[7] & 0xC0, 0xC0);
    QVERIFY(std::isnan(ExtendedToDouble(bytes)));
    const double payloadNaN = FromBits(0x7FF8000000000ABCull);
    DoubleToExtended(payloadNaN, bytes);
    QCOMPARE(Bits(ExtendedToDouble(bytes)), Bits(payloadNaN));
}

void TestStream::extendedFloatRoundingAndRanges()
{
    // Ties round to even, anything above a tie rounds up.
    QCOMPARE(FromExtended(0x8000000000000400ull, 0x3FFF), 1.0);
    QCOMPARE(FromExtended(0x8000000000000401ull, 0x3FFF), 1.0 + std::ldexp(1.0, -52));
    QCOMPARE(FromExtended(0x8000000000000C00ull, 0x3FFF), 1.0 + std::ldexp(1.0, -51));
    // A carry out of the mantissa moves to the next power of two.
    QCOMPARE(FromExtended(0xFFFFFFFFFFFFFFFFull, 0x3FFF), 2.0);
    // Beyond the double range: infinity; below half a denormal: zero.
    QCOMPARE(FromExtended(0x8000000000000000ull, 0x3FFF + 1024), std::numeric_limits<double>::infinity());
    QCOMPARE(FromExtended(0x8000000000000000ull, 0x8000 | (0x3FFF + 5000)), -std::numeric_limits<double>::infinity());
    QCOMPARE(FromExtended(0xFFFFFFFFFFFFFFFFull, 0x3FFF + 1023), std::numeric_limits<double>::infinity());
    QCOMPARE(Bits(FromExtended(0x8000000000000000ull, 0x8000 | 1)), Bits(-0.0));
    // Into the denormal range: 2^-1075 is a tie between 0 and the smallest
    // denormal (even: 0); 1.5 units ties to 2 units; just above 2^-1075 is 1.
    QCOMPARE(Bits(FromExtended(0x8000000000000000ull, 0x3FFF - 1075)), Bits(0.0));
    QCOMPARE(Bits(FromExtended(0xC000000000000000ull, 0x3FFF - 1074)), uint64_t(2));
    QCOMPARE(Bits(FromExtended(0x8000000000000001ull, 0x3FFF - 1075)), uint64_t(1));
    // Rounding up from the largest denormal gives the smallest normal.
    QCOMPARE(FromExtended(0xFFFFFFFFFFFFF800ull, 0x3FFF - 1023), DBL_MIN);
    // Unnormal and denormal extended encodings are read by their value;
    // pseudo-NaNs read as NaN.
    QCOMPARE(FromExtended(0x4000000000000000ull, 0x3FFF), 0.5);
    QCOMPARE(Bits(FromExtended(1, 0)), Bits(0.0));
    QVERIFY(std::isnan(FromExtended(0x4000000000000000ull, 0x7FFF)));
    QVERIFY(std::isnan(FromExtended(0, 0x7FFF)));
}

void TestStream::windows1252Table()
{
    QByteArray all(256, 0);
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    const QString text = FromWindows1252(all);
    QCOMPARE(text.at(0x80), QChar(0x20AC));
    QCOMPARE(text.at(0x8C), QChar(0x0152));
    QCOMPARE(text.at(0x9F), QChar(0x0178));
    QCOMPARE(text.at(0x81), QChar(0x81));
    QCOMPARE(text.at(0xE9), QChar(0xE9));
    QByteArray back;
    QVERIFY(ToWindows1252(text, back));
    QCOMPARE(back, all);
    QVERIFY(!ToWindows1252(QStringView(u"\u0100"), back));
    QVERIFY(!ToWindows1252(QStringView(u"\u0080"), back)); // 0x80 is the euro sign
    QVERIFY(!ToWindows1252(QStringView(u"\u4E16"), back));
}

void TestStream::integersUseTheSmallestTag()
{
    const struct
    {
        int64_t value;
        const char *hex;
    } cases[] = {
        {200, "03C800"},
        {-1, "02FF"},
        {127, "027F"},
        {-128, "0280"},
        {128, "038000"},
        {-129, "037FFF"},
        {32767, "03FF7F"},
        {-32768, "030080"},
        {32768, "0400800000"},
        {-32769, "04FF7FFFFF"},
        {INT32_MAX, "04FFFFFF7F"},
        {INT32_MIN, "0400000080"},
        {int64_t(INT32_MAX) + 1, "130000008000000000"},
    };
    for (const auto &c : cases) {
        TBuilder b;
        b->WriteInteger(c.value);
        QCOMPARE(b.Bytes().toHex(), QByteArray(c.hex).toLower());
    }

    // The same through a property: X0 = 200 and Tag = -1.
    TTreeNodeShape node;
    node.SetName(QStringLiteral("N"));
    node.SetFixedX(true);
    node.SetX0(200);
    node.SetTag(-1);
    const QByteArray record = Record(node);
    QVERIFY(record.contains(Short("X0") + Hex("03C800")));
    QVERIFY(record.contains(Short("Tag") + Hex("02FF")));
}

void TestStream::stringsChooseTheirTag()
{
    struct Case
    {
        QString text;
        QByteArray start;
    };
    const QString s255(255, QLatin1Char('a'));
    const QString s300(300, QLatin1Char('b'));
    const QString euro = QStringLiteral("10 €");
    const QString russian = QStringLiteral("Привет, 世界 😀");
    QString lone = QStringLiteral("x");
    lone.append(QChar(0xD800)); // an unpaired surrogate: UTF-8 cannot carry it
    const Case cases[] = {
        {QString(), Hex("0600")},
        {s255, Hex("06FF") + s255.toLatin1()},
        {s300, Hex("0C2C010000") + s300.toLatin1()},
        {euro, Hex("0604") + QByteArray("10 \x80")},
        {russian, Hex("14") + QByteArray(1, char(russian.toUtf8().size())) + Hex("000000") + russian.toUtf8()},
        {lone, Hex("12020000007800") + Hex("00D8")},
    };
    for (const Case &c : cases) {
        TBuilder b;
        b->WriteString(c.text);
        const QByteArray bytes = b.Bytes();
        QVERIFY2(bytes.startsWith(c.start.left(std::min<qsizetype>(c.start.size(), 16))), bytes.toHex().constData());
        QBuffer in;
        in.setData(bytes);
        in.open(QIODevice::ReadOnly);
        TReader reader(in);
        QCOMPARE(reader.ReadString(), c.text);
        QVERIFY(reader.AtEnd());
    }
}

void TestStream::everyValueKindRoundTrips()
{
    TBuilder b;
    b->WriteInteger(-5);
    b->WriteInteger(1000);
    b->WriteInteger(-100000);
    b->WriteInt64(int64_t(1) << 40);
    b->WriteBoolean(true);
    b->WriteBoolean(false);
    b->WriteFloat(1e-300);
    b->WriteSingle(0.25f);
    b->WriteCurrency(123456);
    b->WriteDate(45000.5);
    b->WriteString(QStringLiteral("Grüße"));
    b->WriteString(QString(256, QLatin1Char('z')));
    b->WriteWideString(QStringLiteral("wide ✓"));
    b->WriteUtf8String(QStringLiteral("utf8 ✓"));
    b->WriteIdent(QStringLiteral("tssDiamond"));
    b->WriteBinary(QByteArray("\x00\x01\x02", 3));
    b->WriteSet({QStringLiteral("fsBold"), QStringLiteral("fsItalic")});
    b->WriteSet({});
    b->WriteNil();
    b->WriteListBegin();
    b->WriteInteger(1);
    b->WriteListBegin();
    b->WriteString(QStringLiteral("inner"));
    b->WriteListEnd();
    b->WriteListEnd();
    const QByteArray bytes = b.Bytes();
    Seed("values", bytes);

    QBuffer in;
    in.setData(bytes);
    in.open(QIODevice::ReadOnly);
    TReader r(in);
    QCOMPARE(r.ReadInteger(), -5);
    QCOMPARE(r.ReadInteger(), 1000);
    QCOMPARE(r.ReadInteger(), -100000);
    QCOMPARE(r.NextValue(), TValueTag::Int64);
    QCOMPARE(r.ReadInt64(), int64_t(1) << 40);
    QCOMPARE(r.ReadBoolean(), true);
    QCOMPARE(r.ReadBoolean(), false);
    QCOMPARE(r.ReadFloat(), 1e-300);
    QCOMPARE(r.ReadFloat(), 0.25);
    QCOMPARE(r.ReadFloat(), 12.3456);
    QCOMPARE(r.ReadFloat(), 45000.5);
    QCOMPARE(r.ReadString(), QStringLiteral("Grüße"));
    QCOMPARE(r.NextValue(), TValueTag::LongString);
    QCOMPARE(r.ReadString(), QString(256, QLatin1Char('z')));
    QCOMPARE(r.NextValue(), TValueTag::WideString);
    QCOMPARE(r.ReadString(), QStringLiteral("wide ✓"));
    QCOMPARE(r.NextValue(), TValueTag::Utf8String);
    QCOMPARE(r.ReadString(), QStringLiteral("utf8 ✓"));
    QCOMPARE(r.ReadIdent(), QStringLiteral("tssDiamond"));
    QCOMPARE(r.ReadBinary(), QByteArray("\x00\x01\x02", 3));
    QCOMPARE(r.ReadSet(), QStringList({QStringLiteral("fsBold"), QStringLiteral("fsItalic")}));
    QCOMPARE(r.ReadSet(), QStringList());
    QCOMPARE(r.ReadIdent(), QStringLiteral("nil"));
    r.ReadListBegin();
    QCOMPARE(r.ReadInteger(), 1);
    r.ReadListBegin();
    QCOMPARE(r.ReadString(), QStringLiteral("inner"));
    r.ReadListEnd();
    r.ReadListEnd();
    QVERIFY(r.AtEnd());
    QCOMPARE(r.Position(), qint64(bytes.size()));

    // A value of another kind is refused.
    QBuffer wrong;
    wrong.setData(Hex("0603616263"));
    wrong.open(QIODevice::ReadOnly);
    TReader w(wrong);
    QVERIFY_THROWS_EXCEPTION(EPropertyError, w.ReadInteger());
}

// ---------------------------------------------------------------------------
// Writing

void TestStream::nodeRecordByteExact()
{
    THost host;
    TTreeNodeShape *node = host.Add(QStringLiteral("TreeNodeShape1"));
    node->Text()->Lines = QStringList{QStringLiteral("A")};
    const QByteArray expected = Short("TTreeNodeShape") + Short("TreeNodeShape1") + Short("Text.Strings") +
                                Hex("01") + Hex("0601") + "A" + Hex("00") + Hex("00") + Hex("00");
    QCOMPARE(Record(*node).toHex(' '), expected.toHex(' '));
    Seed("node", "TPF0" + expected);

    // A 300-byte line is a long string.
    node->Text()->Lines = QStringList{QString(300, QLatin1Char('x'))};
    QVERIFY(Record(*node).contains(Short("Text.Strings") + Hex("010C2C010000") + QByteArray(300, 'x') + Hex("00")));
}

void TestStream::emptyDiagramByteExact()
{
    THost host;
    host.Diagram->SetName(QString());
    host.Diagram->SetColor(clRed);
    const QByteArray expected = "TPF0" + Short("TTestDiagram") + Short("") + Short("Color") + Hex("07") +
                                Short("clRed") + Hex("00") + Hex("00");
    QCOMPARE(SaveStream(*host.Diagram).toHex(' '), expected.toHex(' '));
}

void TestStream::writesStoredPropertiesInDeclaredOrder()
{
    THost host;
    FillRich(host);
    TTreeNodeShape *a = host.Node(QStringLiteral("TreeNodeShape1"));
    a->Parent(); // no parent: Parent is not written
    const QByteArray record = Record(*a);
    QCOMPARE(PropertyNames(record),
             QStringList({"Tag", "AutoSize", "BackColor", "Border.Color", "Border.Width", "Style", "X0", "Cursor",
                          "Font.Charset", "Font.Name", "Font.Style", "Font.Shadow.HorizSize", "Image.Data",
                          "Text.Angle", "Text.HorizAlign", "Text.Strings", "Hint", "Scale", "Points",
                          "Transparency"}));
    // Identifiers where the tables have names, integers elsewhere.
    QVERIFY(record.contains(Short("BackColor") + Hex("0456341200")));
    QVERIFY(record.contains(Short("Border.Color") + Hex("07") + Short("clBtnFace")));
    QVERIFY(record.contains(Short("Style") + Hex("07") + Short("tssDiamond")));
    QVERIFY(record.contains(Short("Cursor") + Hex("07") + Short("crHandPoint")));
    QVERIFY(record.contains(Short("Font.Charset") + Hex("07") + Short("RUSSIAN_CHARSET")));
    QVERIFY(record.contains(Short("Font.Style") + Hex("0B") + Short("fsBold") + Short("fsUnderline") + Hex("00")));
    QVERIFY(record.contains(Short("Scale") + Hex("05")));
    QVERIFY(record.contains(Short("Points") + Hex("0E01") + Short("X") + Hex("0200") + Short("Y") + Hex("0200") +
                            Hex("00")));

    // A sub-object that exists but holds only defaults writes nothing; an
    // unknown cursor or charset number is an integer; events never appear.
    TTreeNodeShape plain;
    plain.Border();
    plain.Font()->Shadow();
    plain.Text();
    plain.SetCursor(-30);
    plain.Font()->SetCharset(99);
    QCOMPARE(PropertyNames(Record(plain)), QStringList({"Cursor", "Font.Charset"}));
    QVERIFY(Record(plain).contains(Short("Cursor") + Hex("02E2")));
    QVERIFY(Record(plain).contains(Short("Font.Charset") + Hex("0263")));

    // The root: own properties, then extra ones, then the children in the
    // order GetChildren hands them.
    const QByteArray stream = SaveStream(*host.Diagram);
    Seed("rich", stream);
    QCOMPARE(PropertyNames(stream.mid(4)), QStringList({"Color", "Zoom", "Selected"}));
    const qsizetype first = stream.indexOf(Short("TreeNodeShape1"));
    const qsizetype second = stream.indexOf(Short("TreeNodeShape2"));
    const qsizetype third = stream.indexOf(Short("TreeNodeShape3"));
    QVERIFY(first > 0 && first < second && second < third);
    QVERIFY(stream.endsWith(Hex("0000"))); // last node's children, the root's children

    // A device that takes nothing: the write fails, it does not pass for done.
    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    TWriter writer(readOnly);
    QVERIFY_THROWS_EXCEPTION(EWriteError, writer.WriteRootComponent(*host.Diagram));
}

void TestStream::referenceNamingRule()
{
    // Elements owned by a named owner: owner name + "." + name.
    THost host;
    TTreeNodeShape *a = host.Add(QStringLiteral("A"));
    host.Add(QStringLiteral("B"))->SetParent(a);
    host.Diagram->SetSelected(a);
    const QByteArray stream = SaveStream(*host.Diagram);
    QVERIFY(stream.contains(Short("Parent") + Hex("07") + Short("TreeEditor1.A")));
    QVERIFY(stream.contains(Short("Selected") + Hex("07") + Short("TreeEditor1.A")));

    // Owned by the root: the bare name; the root itself: "Owner"; a named
    // component without owner: name + ".Owner"; one nobody can name is
    // left out (its default, none, is read back).
    TTestDiagram root;
    root.SetName(QStringLiteral("Root1"));
    auto *child = new TTreeNodeShape(&root);
    child->SetName(QStringLiteral("Child"));
    child->AttachToParent(&root);
    TTreeNodeShape free;
    free.SetName(QStringLiteral("Free1"));
    TTreeNodeShape anonymous;
    const int handle = AddGlobalComponentLookup(
        [&free](const QString &name) { return name == QLatin1String("Free1") ? &free : nullptr; });
    const struct
    {
        TComponent *selected;
        const char *written;
    } cases[] = {{child, "Child"}, {&root, "Owner"}, {&free, "Free1.Owner"}, {&anonymous, nullptr}};
    for (const auto &c : cases) {
        root.SetSelected(c.selected);
        const QByteArray bytes = SaveStream(root);
        if (c.written)
            QVERIFY2(bytes.contains(Short("Selected") + Hex("07") + Short(c.written)), c.written);
        else
            QVERIFY(!bytes.contains(Short("Selected")));
        // Read back into a root without owner: its children are its own.
        TTestDiagram copy;
        QBuffer in;
        in.setData(bytes);
        in.open(QIODevice::ReadOnly);
        TReader reader(in);
        reader.ReadSignature();
        reader.ReadRootComponent(copy);
        TComponent *expected = nullptr;
        if (c.selected == child)
            expected = copy.FindComponent(QStringLiteral("Child"));
        else if (c.selected == &root)
            expected = &copy;
        else if (c.selected == &free)
            expected = &free;
        QCOMPARE(copy.Selected(), expected);
    }
    RemoveGlobalComponentLookup(handle);

    // A record written on its own names references relative to itself.
    auto *second = new TTreeNodeShape(&root);
    second->SetName(QStringLiteral("Second"));
    second->SetParent(child);
    QVERIFY(Record(*second).contains(Short("Parent") + Hex("07") + Short("Root1.Child")));
}

// ---------------------------------------------------------------------------
// Reading

void TestStream::richDiagramRoundTrips()
{
    THost source;
    FillRich(source);
    const QByteArray stream = SaveStream(*source.Diagram);

    THost target;
    QCOMPARE(target.Load(stream), QStringList());
    QCOMPARE(int(target.Diagram->Nodes.size()), 3);
    QCOMPARE(target.Diagram->Color(), clRed);
    QCOMPARE(target.Diagram->Zoom(), 150);
    TTreeNodeShape *a = target.Node(QStringLiteral("TreeNodeShape1"));
    TTreeNodeShape *b = target.Node(QStringLiteral("TreeNodeShape2"));
    TTreeNodeShape *c = target.Node(QStringLiteral("TreeNodeShape3"));
    QVERIFY(a && b && c);
    QCOMPARE(target.Diagram->Nodes, (std::vector<TTreeNodeShape *>{a, b, c}));
    QCOMPARE(target.Diagram->Selected(), b);
    QCOMPARE(a->Tag(), -1);
    QCOMPARE(a->AutoSize(), false);
    QCOMPARE(a->BackColor(), 0x123456);
    QCOMPARE(a->PeekBorder()->Color(), clBtnFace);
    QCOMPARE(a->PeekBorder()->Width(), 200);
    QCOMPARE(a->Style(), tssDiamond);
    QCOMPARE(a->X0(), -70000);
    QCOMPARE(a->Cursor(), int(crHandPoint));
    QCOMPARE(a->PeekFont()->Charset(), 204);
    QCOMPARE(a->PeekFont()->Name(), QStringLiteral("Times New Roman"));
    QCOMPARE(a->PeekFont()->Style(), SetBit(fsBold) | SetBit(fsUnderline));
    QCOMPARE(a->PeekFont()->PeekShadow()->HorizSize(), 3);
    QCOMPARE(a->PeekImage()->Data, Short("TBitmap") + QByteArray(40, '\x7f'));
    QCOMPARE(a->PeekText()->Lines, source.Node(QStringLiteral("TreeNodeShape1"))->PeekText()->Lines);
    QCOMPARE(a->PeekText()->Angle(), 90);
    QCOMPARE(a->PeekText()->HorizAlign(), htaRight);
    QCOMPARE(a->Hint(), QStringLiteral("hint"));
    QCOMPARE(a->Scale(), -2.5);
    QCOMPARE(a->PeekPoints()->Count(), 3);
    QCOMPARE(static_cast<TTestPointItem *>(a->PeekPoints()->Items(2))->X(), 2000);
    QCOMPARE(static_cast<TTestPointItem *>(a->PeekPoints()->Items(2))->Y(), -2);
    QCOMPARE(a->Transparency(), 40);
    QCOMPARE(a->Parent(), nullptr);
    QCOMPARE(b->Parent(), a);
    QCOMPARE(c->Parent(), b);
    QCOMPARE(c->Cursor(), -30);
    QCOMPARE(c->BackColor(), clNone);
    // Sub-objects nobody stored are not created.
    QCOMPARE(b->PeekFont(), nullptr);
    QCOMPARE(c->PeekText(), nullptr);
    // Loading is over.
    QVERIFY(!a->IsLoading() && !target.Diagram->IsLoading());
    // Writing again gives the same bytes.
    const QByteArray again = SaveStream(*target.Diagram);
    qsizetype diff = 0;
    while (diff < again.size() && diff < stream.size() && again[diff] == stream[diff])
        ++diff;
    QCOMPARE(again.mid(diff - 20, 60).toHex(' '), stream.mid(diff - 20, 60).toHex(' '));
    QCOMPARE(again, stream);
}

void TestStream::readerAcceptsEveryTagAndPrefix()
{
    TBuilder b;
    b.Signature().Header("TTestDiagram", "").Str("GridStep"); // read, never written
    b->WriteInteger(16);
    b.Byte(0);
    // A child record with a prefix (child position 5, inline).
    b.Byte(0xF6);
    b->WriteInteger(5);
    b.Header("TTreeNodeShape", "N1");
    b.Str("Scale");
    b.Raw(Hex("0F") + Hex("00002040")); // single 2.5
    b.Str("X0");
    b->WriteInt64(-7);
    b.Str("Hint");
    b->WriteWideString(QStringLiteral("wide"));
    b.Str("Text.Strings");
    b->WriteListBegin();
    b->WriteUtf8String(QStringLiteral("ünï"));
    b->WriteWideString(QStringLiteral("w"));
    b.Raw(Hex("0C01000000") + "L");
    b->WriteListEnd();
    b.Str("BackColor");
    b->WriteInteger(255); // a named colour given as a number
    b.Str("Cursor");
    b->WriteIdent(QStringLiteral("crSize"));
    b.Str("Style");
    b->WriteInteger(2); // an enumeration by its ordinal
    b.Str("OnClick");
    b->WriteIdent(QStringLiteral("TreeEditor1.NodeClick")); // handlers are not bound from files
    b.Byte(0).Byte(0);
    // A second child: currency and date as floats, an integer as a float.
    b.Header("TTreeNodeShape", "N2");
    b.Str("Scale");
    b->WriteCurrency(-15000);
    b.Str("Font.Shadow.VertSize");
    b->WriteInteger(-3);
    b.Byte(0).Byte(0);
    b.Header("TTreeNodeShape", "N3");
    b.Str("Scale");
    b->WriteDate(0.125);
    b.Str("Image.Data");
    b->WriteBinary(Short("TIcon"));
    b.Byte(0).Byte(0);
    b.Header("TTreeNodeShape", "N4");
    b.Str("Scale");
    b->WriteInteger(3);
    b.Byte(0).Byte(0);
    b.Byte(0);
    const QByteArray stream = b.Bytes();
    Seed("tags", stream);

    THost host;
    QCOMPARE(host.Load(stream), QStringList());
    TTreeNodeShape *n1 = host.Node(QStringLiteral("N1"));
    QVERIFY(n1);
    QCOMPARE(n1->Scale(), 2.5);
    QCOMPARE(n1->X0(), -7);
    QCOMPARE(n1->Hint(), QStringLiteral("wide"));
    QCOMPARE(n1->PeekText()->Lines, QStringList({QStringLiteral("ünï"), QStringLiteral("w"), QStringLiteral("L")}));
    QCOMPARE(n1->BackColor(), clRed);
    QCOMPARE(n1->Cursor(), int(crSizeAll));
    QCOMPARE(n1->Style(), tssVertLine);
    QCOMPARE(host.Node(QStringLiteral("N2"))->Scale(), -1.5);
    QCOMPARE(host.Node(QStringLiteral("N2"))->PeekFont()->PeekShadow()->VertSize(), -3);
    QCOMPARE(host.Node(QStringLiteral("N3"))->Scale(), 0.125);
    QCOMPARE(host.Node(QStringLiteral("N3"))->PeekImage()->Data, Short("TIcon"));
    QCOMPARE(host.Node(QStringLiteral("N4"))->Scale(), 3.0);
    QCOMPARE(int(host.Diagram->Nodes.size()), 4);
    QCOMPARE(host.Diagram->GridStep(), 16);
    QVERIFY(!SaveStream(*host.Diagram).contains("GridStep"));
}

void TestStream::collectionsReplaceTheirItems()
{
    TTreeNodeShape source;
    source.SetName(QStringLiteral("P"));
    for (int i = 1; i <= 2; ++i) {
        auto *p = static_cast<TTestPointItem *>(source.Points()->Add());
        p->SetX(i);
        p->SetY(10 * i);
    }
    // Item orders before the list tag are accepted.
    TBuilder b;
    b.Signature().Header("TTreeNodeShape", "P").Str("Points").Byte(14);
    b->WriteInteger(0);
    b.Byte(1).Str("X");
    b->WriteInteger(7);
    b.Byte(0);
    b->WriteInteger(1);
    b.Byte(1).Byte(0);
    b.Byte(0).Byte(0).Byte(0);
    Seed("collection", b.Bytes());

    TTreeNodeShape target;
    for (int i = 0; i < 5; ++i)
        target.Points()->Add();
    int changes = 0;
    target.Points()->OnChange = [&changes](TCollection *, TCollectionItem *) { ++changes; };
    QBuffer in;
    in.setData(b.Bytes());
    in.open(QIODevice::ReadOnly);
    TReader reader(in);
    reader.ReadSignature();
    reader.ReadRootComponent(target);
    QCOMPARE(target.PeekPoints()->Count(), 2);
    QCOMPARE(static_cast<TTestPointItem *>(target.PeekPoints()->Items(0))->X(), 7);
    QCOMPARE(static_cast<TTestPointItem *>(target.PeekPoints()->Items(1))->X(), 0);
    QCOMPARE(changes, 1); // reported once, at the end

    // Written and read back.
    const QByteArray stream = SaveStream(source);
    TTreeNodeShape copy;
    QBuffer in2;
    in2.setData(stream);
    in2.open(QIODevice::ReadOnly);
    TReader reader2(in2);
    reader2.ReadSignature();
    reader2.ReadRootComponent(copy);
    QCOMPARE(copy.PeekPoints()->Count(), 2);
    QCOMPARE(static_cast<TTestPointItem *>(copy.PeekPoints()->Items(1))->Y(), 20);
    // Assign copies the items.
    TTreeNodeShape assigned;
    assigned.Points()->Assign(copy.PeekPoints());
    QCOMPARE(static_cast<TTestPointItem *>(assigned.PeekPoints()->Items(1))->X(), 2);
}

void TestStream::referencesResolvedAfterLoadedInReadingOrder()
{
    THost source;
    TTreeNodeShape *a = source.Add(QStringLiteral("A"));
    TTreeNodeShape *b = source.Add(QStringLiteral("B"));
    TTreeNodeShape *c = source.Add(QStringLiteral("C"));
    a->SetParent(c); // a reference forward in the file
    b->SetParent(c);
    const QByteArray stream = SaveStream(*source.Diagram);

    THost target;
    QStringList journal;
    TTreeNodeShape::Journal = &journal;
    target.Load(stream);
    TTreeNodeShape::Journal = nullptr;
    QCOMPARE(journal, QStringList({"attached A", "attached B", "attached C", "loaded A", "loaded B", "loaded C",
                                   "parent A=C", "parent B=C"}));
    QCOMPARE(target.Node(QStringLiteral("A"))->Parent(), target.Node(QStringLiteral("C")));
}

void TestStream::unresolvableReferencesStayNone()
{
    TBuilder b;
    b.Signature().Header("TTestDiagram", "").Byte(0);
    const auto node = [&](const char *name, const char *parent) {
        b.Header("TTreeNodeShape", name).Str("Parent");
        b->WriteIdent(QLatin1String(parent));
        b.Byte(0).Byte(0);
    };
    node("N1", "TreeEditor1.Nobody");  // no such node
    node("N2", "Nowhere.N1");          // no such owner
    node("N3", "TreeEditor1.Diagram1"); // not a node
    node("N4", "TreeEditor1.N5");      // a cycle: N4 -> N5 -> N4
    node("N5", "TreeEditor1.N4");
    node("N6", "N1");                  // bare name: owned by the root? no: by the owner
    b.Byte(0);
    const QByteArray stream = b.Bytes();
    Seed("references", stream);

    THost host;
    const QStringList asked = host.Load(stream, true);
    QCOMPARE(host.Node(QStringLiteral("N1"))->Parent(), nullptr);
    QCOMPARE(host.Node(QStringLiteral("N2"))->Parent(), nullptr);
    QCOMPARE(host.Node(QStringLiteral("N3"))->Parent(), nullptr);
    QCOMPARE(host.Node(QStringLiteral("N4"))->Parent(), host.Node(QStringLiteral("N5")));
    QCOMPARE(host.Node(QStringLiteral("N5"))->Parent(), nullptr); // the setter refused the cycle
    QCOMPARE(asked, QStringList({"Invalid property value"}));
    QCOMPARE(host.Node(QStringLiteral("N6"))->Parent(), host.Node(QStringLiteral("N1")));

    // Declining the refused reference stops with the property named.
    THost strict;
    QCOMPARE(ReadErrorOf([&] { strict.Load(stream, false); }),
             QStringLiteral("Error reading N5.Parent: Invalid property value"));
    QVERIFY(!strict.Node(QStringLiteral("N5"))->IsLoading());
}

void TestStream::globalLookupResolvesAnyOwnerName()
{
    THost source(QStringLiteral("TreeEditor1"));
    TTreeNodeShape *a = source.Add(QStringLiteral("A"));
    source.Add(QStringLiteral("B"))->SetParent(a);
    const QByteArray stream = SaveStream(*source.Diagram);

    // Another host name: without help the reference is lost...
    THost other(QStringLiteral("MainForm"));
    other.Load(stream);
    QCOMPARE(other.Node(QStringLiteral("B"))->Parent(), nullptr);

    // ...a lookup that falls back to the loading owner finds it; it is
    // gone with the load, also when the load fails.
    THost hosted(QStringLiteral("MainForm"));
    TComponent *owner = hosted.Owner.get();
    {
        TScopedGlobalComponentLookup lookup([owner](const QString &) { return owner; });
        hosted.Load(stream);
    }
    QCOMPARE(hosted.Node(QStringLiteral("B"))->Parent(), hosted.Node(QStringLiteral("A")));
    QCOMPARE(FindGlobalComponent(QStringLiteral("MainForm")), nullptr);
    THost failing(QStringLiteral("MainForm"));
    try {
        TScopedGlobalComponentLookup lookup([owner](const QString &) { return owner; });
        failing.Load(stream.left(stream.size() - 1));
    } catch (const EReadError &) {
    }
    QCOMPARE(FindGlobalComponent(QStringLiteral("Anything")), nullptr);

    // A lookup for top-level components by name, and "Name.Owner".
    TTreeNodeShape free;
    free.SetName(QStringLiteral("Free1"));
    const int freeHandle = AddGlobalComponentLookup(
        [&free](const QString &name) { return name == QLatin1String("Free1") ? &free : nullptr; });
    TBuilder b;
    b.Signature().Header("TTestDiagram", "").Byte(0).Header("TTreeNodeShape", "N").Str("Parent");
    b->WriteIdent(QStringLiteral("Free1.Owner"));
    b.Byte(0).Byte(0).Byte(0);
    THost third;
    third.Load(b.Bytes());
    RemoveGlobalComponentLookup(freeHandle);
    QCOMPARE(third.Node(QStringLiteral("N"))->Parent(), &free);
}

void TestStream::positionAllowsAFollowingObject()
{
    THost source;
    source.Add(QStringLiteral("A"))->Text()->Lines = QStringList{QStringLiteral("first")};
    const QByteArray first = SaveStream(*source.Diagram);
    TTreeNodeShape trailing;
    trailing.SetName(QStringLiteral("Trailing1"));
    trailing.SetHint(QStringLiteral("after the diagram"));
    const QByteArray second = SaveStream(trailing);
    Seed("two-roots", first + second);

    THost target;
    QBuffer in;
    in.setData(first + second);
    in.open(QIODevice::ReadOnly);
    {
        TReader reader(in, 16); // a small buffer: the device has read ahead
        reader.SetOwner(target.Owner.get());
        reader.ReadSignature();
        reader.ReadRootComponent(*target.Diagram);
        QCOMPARE(reader.Position(), qint64(first.size()));
        QVERIFY(in.pos() >= reader.Position());
        QVERIFY(!reader.AtEnd());
        reader.ReadSignature();
        std::unique_ptr<TComponent> read = reader.ReadRootComponent();
        QVERIFY(reader.AtEnd());
        auto *node = dynamic_cast<TTreeNodeShape *>(read.get());
        QVERIFY(node);
        QCOMPARE(node->Name(), QStringLiteral("Trailing1"));
        QCOMPARE(node->Owner(), nullptr);
        QCOMPARE(node->Hint(), QStringLiteral("after the diagram"));
    }
    // A reader stopped after the first object leaves the device there.
    in.seek(0);
    {
        TReader reader(in);
        reader.ReadSignature();
        THost again;
        reader.SetOwner(again.Owner.get());
        reader.ReadRootComponent(*again.Diagram);
    }
    QCOMPARE(in.pos(), qint64(first.size()));
}

// ---------------------------------------------------------------------------
// Errors

void TestStream::unknownPropertyAsksOncePerOccurrence()
{
    TBuilder b;
    b.Signature().Header("TTestDiagram", "").Str("Bogus");
    b->WriteListBegin();
    b->WriteInteger(1);
    b->WriteListEnd();
    b.Str("Zoom");
    b->WriteInteger(75);
    b.Byte(0);
    for (const char *name : {"N1", "N2"}) {
        b.Header("TTreeNodeShape", name).Str("Bogus");
        b->WriteString(QStringLiteral("x"));
        b.Str("Hint");
        b->WriteString(QLatin1String(name));
        b.Byte(0).Byte(0);
    }
    b.Byte(0);
    const QByteArray stream = b.Bytes();
    Seed("unknown", stream);

    THost host;
    QCOMPARE(host.Load(stream, true),
             QStringList({"Property does not exist", "Property does not exist", "Property does not exist"}));
    QCOMPARE(host.Diagram->Zoom(), 75);
    QCOMPARE(host.Diagram->Name(), QStringLiteral("Diagram1")); // written without a name: keeps its own
    QCOMPARE(host.Node(QStringLiteral("N1"))->Hint(), QStringLiteral("N1"));
    QCOMPARE(host.Node(QStringLiteral("N2"))->Hint(), QStringLiteral("N2"));
    QCOMPARE(int(host.Diagram->Nodes.size()), 2);
}

void TestStream::declinedErrorStopsWithContext()
{
    TBuilder b;
    b.Signature().Header("TTestDiagram", "").Byte(0);
    b.Header("TTreeNodeShape", "Good1").Str("Parent");
    b->WriteIdent(QStringLiteral("TreeEditor1.Good2"));
    b.Byte(0).Byte(0);
    b.Header("TTreeNodeShape", "Good2").Byte(0).Byte(0);
    b.Header("TTreeNodeShape", "Bad").Str("Hint");
    b->WriteString(QStringLiteral("half"));
    b.Str("Bogus");
    b->WriteInteger(1);
    b.Byte(0).Byte(0).Byte(0);
    const QByteArray stream = b.Bytes();

    THost host;
    QCOMPARE(ReadErrorOf([&] { host.Load(stream, false); }),
             QStringLiteral("Error reading Bad.Bogus: Property does not exist"));
    // What was read completely stays, loaded and linked; the record being
    // read is gone.
    QCOMPARE(int(host.Diagram->Nodes.size()), 2);
    QCOMPARE(host.Node(QStringLiteral("Bad")), nullptr);
    QCOMPARE(host.Node(QStringLiteral("Good1"))->Parent(), host.Node(QStringLiteral("Good2")));
    QVERIFY(!host.Node(QStringLiteral("Good1"))->IsLoading());
    QVERIFY(!host.Diagram->IsLoading());
    // Loading the same file again after clearing works: no name is left
    // taken by a half-read component.
    QCOMPARE(host.Owner->ComponentCount(), 3);
}

void TestStream::invalidValuesGoThroughTheHook()
{
    TBuilder b;
    b.Signature().Header("TTestDiagram", "").Byte(0).Header("TTreeNodeShape", "N");
    int marker = 0;
    const auto bad = [&](const char *name, const std::function<void()> &value) {
        b.Str(QLatin1String(name));
        value();
        b.Str("Tag"); // a good value after each bad one
        b->WriteInteger(++marker);
    };
    bad("Style", [&] { b->WriteIdent(QStringLiteral("tssBogus")); });
    bad("Style", [&] { b->WriteInteger(99); });
    bad("AutoSize", [&] { b->WriteInteger(1); });
    bad("Font.Style", [&] { b->WriteSet({QStringLiteral("fsBold"), QStringLiteral("fsBogus")}); });
    bad("X0", [&] { b->WriteInt64(int64_t(1) << 40); });
    bad("Transparency", [&] { b->WriteInteger(200); }); // the setter refuses
    bad("Text.Strings", [&] { b->WriteInteger(3); });
    bad("Text.Strings", [&] {
        b->WriteListBegin();
        b->WriteString(QStringLiteral("ok"));
        b->WriteInteger(5);
        b->WriteListEnd();
    });
    bad("Hint", [&] { b->WriteIdent(QStringLiteral("x")); });
    bad("Points", [&] { b->WriteInteger(1); });
    bad("Border", [&] { b->WriteInteger(1); });
    bad("Image.Data", [&] { b->WriteBinary(QByteArray()); }); // the property's reader refuses
    bad("Cursor", [&] { b->WriteInteger(40000); });
    bad("BackColor", [&] { b->WriteIdent(QStringLiteral("clBogus")); });
    bad("Font.Charset", [&] { b->WriteInteger(300); });
    bad("Parent", [&] { b->WriteInteger(1); });
    bad("Scale", [&] { b->WriteString(QStringLiteral("1.5")); });
    b.Byte(0).Byte(0).Byte(0);
    const QByteArray stream = b.Bytes();
    Seed("invalid", stream);

    THost host;
    const QStringList asked = host.Load(stream, true);
    QCOMPARE(asked.size(), marker);
    QVERIFY(std::all_of(asked.begin(), asked.end(), [](const QString &m) { return m == "Invalid property value"; }));
    TTreeNodeShape *n = host.Node(QStringLiteral("N"));
    QCOMPARE(n->Tag(), marker);
    QCOMPARE(n->Style(), tssRectangle);
    QCOMPARE(n->Transparency(), 0);
    // The half-read list did not change the lines.
    QVERIFY(!n->PeekText() || n->PeekText()->Lines.isEmpty());
}

void TestStream::unknownPathsCreateNoSubObjects()
{
    TBuilder b;
    b.Signature().Header("TTestDiagram", "").Byte(0).Header("TTreeNodeShape", "N");
    for (const char *path : {"Font.Bogus.HorizSize", "Bogus.Color", "Font..Name", "Hint.Length", "Font.", ".Hint"}) {
        b.Str(QLatin1String(path));
        b->WriteInteger(1);
    }
    QString deep = QStringLiteral("Font");
    for (int i = 0; i < 40; ++i)
        deep += QStringLiteral(".S");
    b.Str(deep);
    b->WriteInteger(1);
    b.Byte(0).Byte(0).Byte(0);

    THost host;
    QCOMPARE(host.Load(b.Bytes(), true).size(), 7);
    TTreeNodeShape *n = host.Node(QStringLiteral("N"));
    QCOMPARE(n->PeekFont(), nullptr);
    QCOMPARE(n->PeekBorder(), nullptr);
}

void TestStream::signatureCheckedOnItsOwn()
{
    THost source;
    source.Add(QStringLiteral("A"));
    QByteArray stream = SaveStream(*source.Diagram);
    stream[3] = '1';
    THost target;
    target.Add(QStringLiteral("Existing"));
    QCOMPARE(ReadErrorOf([&] { target.Load(stream); }), QStringLiteral("Invalid stream format"));
    QCOMPARE(int(target.Diagram->Nodes.size()), 1);
    QCOMPARE(ReadErrorOf([&] { target.Load("XY"); }), QStringLiteral("Invalid stream format"));
    QCOMPARE(ReadErrorOf([&] { target.Load("TP"); }), QStringLiteral("Stream read error"));
    // A byte that is no value tag cannot be read past.
    TBuilder b;
    b.Signature().Header("TTestDiagram", "").Str("Zoom").Byte(21).Byte(0).Byte(0);
    QCOMPARE(ReadErrorOf([&] { target.Load(b.Bytes(), true); }), QStringLiteral("Invalid stream format"));
}

void TestStream::unknownClassAndTakenName()
{
    TBuilder b;
    b.Signature().Header("TTestDiagram", "").Byte(0);
    b.Header("TTreeNodeShape", "A").Byte(0).Byte(0);
    b.Header("TBogusShape", "B").Byte(0).Byte(0);
    b.Byte(0);
    THost host;
    try {
        host.Load(b.Bytes());
        QFAIL("no error");
    } catch (const EClassNotFound &e) {
        QCOMPARE(e.Message(), QStringLiteral("Class TBogusShape not found"));
    }
    QCOMPARE(int(host.Diagram->Nodes.size()), 1); // A stays

    THost taken;
    taken.Add(QStringLiteral("A"));
    try {
        taken.Load(b.Bytes());
        QFAIL("no error");
    } catch (const EComponentError &e) {
        QCOMPARE(e.Message(), QStringLiteral("A component named A already exists"));
    }
    QCOMPARE(taken.Owner->ComponentCount(), 2); // the diagram and the first A
}

void TestStream::everyBufferSizeReadsTheSame_data()
{
    QTest::addColumn<int>("bufferSize");
    QTest::addColumn<bool>("file");
    // Names and values cross the end of small buffers; a file answers its
    // size, a buffer in memory too.
    for (int size : {1, 2, 5, 13, 64, 4096}) {
        QTest::addRow("buffer %d", size) << size << false;
        QTest::addRow("file %d", size) << size << true;
    }
}

void TestStream::everyBufferSizeReadsTheSame()
{
    QFETCH(int, bufferSize);
    QFETCH(bool, file);
    THost source;
    FillRich(source);
    const QByteArray stream = SaveStream(*source.Diagram);
    // Twice in one stream: the second record repeats every name of the first.
    const QByteArray twice = stream + stream.mid(4);

    QTemporaryFile temp;
    QBuffer buffer;
    QIODevice *device = &buffer;
    if (file) {
        QVERIFY(temp.open());
        QCOMPARE(temp.write(twice), twice.size());
        QVERIFY(temp.seek(0));
        device = &temp;
    } else {
        buffer.setData(twice);
        buffer.open(QIODevice::ReadOnly);
    }
    THost first, second;
    {
        TReader reader(*device, bufferSize);
        reader.SetOwner(first.Owner.get());
        reader.ReadSignature();
        reader.ReadRootComponent(*first.Diagram);
        reader.SetOwner(second.Owner.get());
        reader.ReadRootComponent(*second.Diagram);
        QVERIFY(reader.AtEnd());
    }
    QCOMPARE(SaveStream(*first.Diagram), stream);
    QCOMPARE(SaveStream(*second.Diagram), stream);
}

void TestStream::truncationAtEveryOffsetFailsCleanly()
{
    THost source;
    FillRich(source);
    const QByteArray stream = SaveStream(*source.Diagram);
    for (qsizetype n = 0; n < stream.size(); ++n) {
        THost host;
        QString message;
        try {
            host.Load(stream.left(n));
        } catch (const EReadError &e) {
            message = e.Message();
        }
        QVERIFY2(message == QLatin1String("Stream read error"), qPrintable(QStringLiteral("offset %1: %2").arg(n).arg(message)));
        // Every node still owned is one the diagram holds: nothing half-read
        // is left behind.
        QCOMPARE(host.Owner->ComponentCount(), int(host.Diagram->Nodes.size()) + 1);
        // Reading as a new root: everything made is destroyed again.
        QBuffer in;
        in.setData(stream.left(n));
        in.open(QIODevice::ReadOnly);
        TReader reader(in);
        QVERIFY_THROWS_EXCEPTION(EReadError, (reader.ReadSignature(), reader.ReadRootComponent()));
    }
}

void TestStream::lengthsBeyondTheStreamRefusedWithoutAllocation()
{
    const QByteArray head = QByteArray("TPF0") + Short("TTestDiagram") + Short("") + Short("Zoom");
    const QByteArray values[] = {Hex("0CFFFFFFFF") + "abc", Hex("0AF0FFFFFF") + "abc", Hex("12FFFFFF7F") + "abc",
                                 Hex("14FFFFFFFF") + "abc"};
    for (const QByteArray &value : values) {
        const QByteArray stream = head + value;
#ifdef DX_MALLOC_HOOKS
        gLargestAllocation = 0;
        __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree);
#endif
        THost host;
        const QString known = ReadErrorOf([&] { host.Load(stream, true); });
        QString sequential;
        {
            TSequentialDevice device(stream);
            TReader reader(device);
            THost other;
            sequential = ReadErrorOf([&] {
                reader.ReadSignature();
                reader.ReadRootComponent(*other.Diagram);
            });
        }
#ifdef DX_MALLOC_HOOKS
        __sanitizer_install_malloc_and_free_hooks(nullptr, nullptr);
        QVERIFY2(gLargestAllocation < 1024 * 1024, qPrintable(QString::number(gLargestAllocation)));
#endif
        QCOMPARE(known, QStringLiteral("Stream read error"));
        QCOMPARE(sequential, QStringLiteral("Stream read error"));
    }
}

void TestStream::nestingIsCapped()
{
    // Lists nested deeper than the limit inside an extra property.
    const auto listStream = [](int depth) {
        TBuilder b;
        b.Signature().Header("TTestDiagram", "").Byte(0).Header("TTreeNodeShape", "N").Str("Text.Strings");
        b.Raw(QByteArray(depth, 1) + QByteArray(depth, 0));
        b.Byte(0).Byte(0).Byte(0);
        return b.Bytes();
    };
    THost shallow;
    QCOMPARE(shallow.Load(listStream(kMaxStreamNesting), true), QStringList({"Invalid property value"}));
    THost deep;
    QCOMPARE(ReadErrorOf([&] { deep.Load(listStream(kMaxStreamNesting + 1), true); }),
             QStringLiteral("Invalid stream format"));

    // Child records nested as deep as the limit are written and read back;
    // deeper ones are neither.
    const auto nest = [](THost &host, int depth) {
        TTreeNodeShape *container = host.Add(QStringLiteral("N0"));
        for (int i = 1; i < depth; ++i) {
            auto *node = new TTreeNodeShape(host.Owner.get());
            node->SetName(QStringLiteral("N%1").arg(i));
            node->AttachToParent(container);
            container = node;
        }
    };
    THost source;
    nest(source, kMaxStreamNesting);
    const QByteArray fits = SaveStream(*source.Diagram);
    Seed("nested", fits);
    THost target;
    target.Load(fits);
    QCOMPARE(target.Owner->ComponentCount(), kMaxStreamNesting + 1);
    QCOMPARE(SaveStream(*target.Diagram), fits);
    THost tooDeepSource;
    nest(tooDeepSource, kMaxStreamNesting + 1);
    QVERIFY_THROWS_EXCEPTION(EWriteError, SaveStream(*tooDeepSource.Diagram));

    TBuilder b;
    b.Signature().Header("TTestDiagram", "").Byte(0);
    for (int i = 0; i <= kMaxStreamNesting; ++i)
        b.Header("TTreeNodeShape", QStringLiteral("N%1").arg(i)).Byte(0);
    for (int i = 0; i <= kMaxStreamNesting + 1; ++i)
        b.Byte(0);
    THost tooDeep;
    QCOMPARE(ReadErrorOf([&] { tooDeep.Load(b.Bytes()); }), QStringLiteral("Invalid stream format"));
    QCOMPARE(tooDeep.Owner->ComponentCount(), 1);
}

QTEST_GUILESS_MAIN(TestStream)
#include "tst_stream.moc"
