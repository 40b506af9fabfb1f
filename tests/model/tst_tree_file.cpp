// Diagram files: the exact bytes of small diagrams, references across owner
// names, every published property of nodes, text, image and gallery shapes
// and connections written and read back (driven by the declarations),
// points of every kind, pictures, the read-only settings of older files, the
// "Continue?" question, the part after the diagram, untrusted input, loads
// that stop part-way and saves that fail.

#include "TreeTestUtil.h"

#include "core/ClassRegistry.h"
#include "core/CoreConst.h"
#include "core/Exceptions.h"
#include "core/PropAccess.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Streams the tests write become the diagram fuzzer's seed corpus.
void Seed(const QString &name, const QByteArray &bytes)
{
#ifdef DENDRIX_FUZZ_SEEDS
    QDir().mkpath(QStringLiteral(DENDRIX_FUZZ_SEEDS));
    QFile f(QStringLiteral(DENDRIX_FUZZ_SEEDS "/%1.abx").arg(name));
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
#else
    Q_UNUSED(name);
    Q_UNUSED(bytes);
#endif
}

QByteArray Save(TTreeDocument &tree)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    SaveDiagram(tree, buffer);
    return buffer.data();
}

void Load(TTreeDocument &tree, const QByteArray &bytes, const TLoadContinuation &continuation = {})
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    LoadDiagram(tree, buffer, continuation);
}

template <class F>
QString ErrorOf(F &&f)
{
    try {
        f();
    } catch (const Exception &e) {
        return e.Message();
    }
    return QStringLiteral("(no error)");
}

QByteArray Short(const QByteArray &s)
{
    return char(s.size()) + s;
}

QByteArray Header(const QByteArray &cls = "TTreeDocument")
{
    return QByteArray("TPF0") + Short(cls) + '\0';
}

// Hand-made records: the writer's value functions and raw bytes.
class TBytes
{
public:
    TBytes()
    {
        FBuffer.open(QIODevice::WriteOnly);
        FWriter = std::make_unique<TWriter>(FBuffer);
    }
    TWriter *operator->() { return FWriter.get(); }
    TBytes &Raw(const QByteArray &bytes)
    {
        FWriter->FlushBuffer();
        FBuffer.write(bytes);
        return *this;
    }
    TBytes &Str(const QString &s)
    {
        FWriter->WriteStr(s);
        return *this;
    }
    TBytes &End() { return Raw(QByteArray(1, '\0')); }
    // A diagram file's start: signature, diagram record, no properties.
    TBytes &Diagram() { return Raw(Header()).End(); }
    TBytes &Element(const QString &cls, const QString &name) { return Str(cls).Str(name); }
    QByteArray Bytes()
    {
        FWriter->FlushBuffer();
        return FBuffer.data();
    }

private:
    QBuffer FBuffer;
    std::unique_ptr<TWriter> FWriter;
};

// Every settable published property below a class, as paths.
void LeafPaths(const TClassInfo &cls, const QString &prefix, QStringList &out, int depth = 0)
{
    for (const TPropInfo &p : cls.Properties()) {
        if (p.Type == TPropType::Event || p.Type == TPropType::Reference)
            continue;
        if (p.Type == TPropType::Object) {
            if (depth < 4 && p.ObjectClass())
                LeafPaths(*p.ObjectClass(), prefix + p.Name + QLatin1Char('.'), out, depth + 1);
            continue;
        }
        if (!p.IsReadOnly())
            out << prefix + p.Name;
    }
}

// Every published value of an element, references by name, sub-objects
// reached by creating them (on both sides alike).
QMap<QString, QString> Dump(TPersistent &obj)
{
    QStringList paths;
    LeafPaths(obj.ClassInfo(), QString(), paths);
    for (const TPropInfo &p : obj.ClassInfo().Properties())
        if (p.Type == TPropType::Reference)
            paths << p.Name;
    QMap<QString, QString> values;
    for (const QString &path : paths)
        values[path] = GetPropText(obj, path);
    return values;
}

// Gives a property a value other than its current one.
void ChangeProperty(TPersistent &obj, const QString &path)
{
    const TPropTarget t = ResolvePropPath(obj, path);
    const TPropInfo &p = *t.Prop;
    switch (p.Type) {
    case TPropType::String:
        p.SetStr(*t.Object, p.GetStr(*t.Object) + QStringLiteral("x"));
        return;
    case TPropType::Float:
        p.SetFloat(*t.Object, p.GetFloat(*t.Object) + 1.25);
        return;
    default:
        break;
    }
    const int64_t v = p.GetOrd(*t.Object);
    int64_t next = v + 7;
    switch (p.Type) {
    case TPropType::Boolean:
        next = !v;
        break;
    case TPropType::Enum:
        next = (v + 1) % p.Enum->Count();
        break;
    case TPropType::Set:
        next = v ^ 1;
        break;
    case TPropType::Color:
        next = v == 0x123456 ? clRed : 0x123456; // a colour without a name
        break;
    case TPropType::Cursor:
        next = v == crHandPoint ? crDefault : crHandPoint;
        break;
    case TPropType::Charset:
        next = v == 2 ? 0 : 2;
        break;
    default:
        break;
    }
    p.SetOrd(*t.Object, next);
}

// A host for a loaded diagram whose owner has another name than the
// editor's.
struct TOtherHost : THost
{
    TOtherHost() { Owner->SetName(QStringLiteral("SomeOtherWindow")); }
    TCustomTreeElement *Element(const QString &name) const
    {
        return dynamic_cast<TCustomTreeElement *>(Owner->FindComponent(name));
    }
};

// Answers every "Continue?" as told and keeps the questions.
struct TAnswers
{
    explicit TAnswers(bool yes) : Scope([this, yes](const QString &q) {
        Asked << q;
        return yes;
    })
    {
    }
    QStringList Asked;
    TScopedContinueQuestion Scope;
};

QString Question(const QString &problem)
{
    return problem + QStringLiteral("\nContinue?");
}

// The object after the diagram in a file: an animation-like component with
// a reference to a node.
class TTestAnimate : public TComponent
{
    DX_OBJECT(TTestAnimate)
public:
    using TComponent::TComponent;
    int Speed() const { return FSpeed; }
    void SetSpeed(int v) { FSpeed = v; }
    TTreeNodeShape *Shape() const { return FShape; }
    void SetShape(TTreeNodeShape *v) { FShape = v; }

private:
    int FSpeed = 0;
    TTreeNodeShape *FShape = nullptr;
};

const TClassInfo &TTestAnimate::StaticClassInfo()
{
    using C = TTestAnimate;
    static const TClassInfo info = TClassBuilder<C>("TTestAnimate", TComponent::StaticClassInfo())
                                       .Integer("Speed", &C::Speed, &C::SetSpeed, 0)
                                       .Reference<TTreeNodeShape>("Shape", &C::Shape, &C::SetShape);
    return info;
}

// A node that notes, when it is loaded, whether its diagram was designing.
class TProbeShape : public TTreeNodeShape
{
    DX_OBJECT(TProbeShape)
public:
    using TTreeNodeShape::TTreeNodeShape;
    static inline int LoadedWhileDesigning = 0;
    void Loaded() override
    {
        TTreeNodeShape::Loaded();
        if (Tree() && Tree()->Designing())
            ++LoadedWhileDesigning;
    }
};

const TClassInfo &TProbeShape::StaticClassInfo()
{
    static const TClassInfo info("TProbeShape", &TTreeNodeShape::StaticClassInfo());
    return info;
}

// A diagram with a control's position and visibility, as the view has them.
class TPlacedDiagram : public TTreeDocument
{
    DX_OBJECT(TPlacedDiagram)
public:
    using TTreeDocument::TTreeDocument;
    int Left() const { return FPlacement.Bounds.Left; }
    void SetLeft(int v) { FPlacement.Bounds.Left = v; }
    TControlPlacement ControlPlacement() const override { return FPlacement; }
    void SetControlPlacement(const TControlPlacement &p) override { FPlacement = p; }
    bool ControlVisible() const override { return FVisible; }
    void SetControlVisible(bool v) override { FVisible = v; }

private:
    TControlPlacement FPlacement;
    bool FVisible = true;
};

const TClassInfo &TPlacedDiagram::StaticClassInfo()
{
    using D = TPlacedDiagram;
    static const TClassInfo info = TClassBuilder<D>("TPlacedDiagram", TTreeDocument::StaticClassInfo())
                                       .Integer("Left", &D::Left, &D::SetLeft, 0)
                                       .Boolean("Visible", &D::ControlVisible, &D::SetControlVisible, true);
    return info;
}

QImage TestImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 20, y * 30, 90));
    return image;
}

QByteArray Encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray PictureData(const QByteArray &cls, const QByteArray &file, bool counted = true)
{
    QByteArray data = Short(cls);
    if (counted) {
        char count[4];
        qToLittleEndian<quint32>(quint32(file.size()), count);
        data.append(count, 4);
    }
    return data + file;
}

} // namespace

class TestTreeFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void exactBytesOfSmallDiagrams();
    void referencesResolveWhateverTheOwnerName();
    void positionsAndSizes();
    void everyPropertyRoundTrips();
    void pointsOfEveryKind();
    void pictures();
    void readOnlySettingsOfOlderFiles();
    void continueQuestion();
    void partAfterTheDiagram();
    void untrustedValuesAndReferences();
    void valuesBeyondTheCoordinateRange();
    void recordsThatAreNoElements();
    void notADiagramLeavesTheDocument();
    void stoppedLoadKeepsWhatWasRead();
    void savingNeverDestroysTheFile();
    void loadKeepsTheControlAndDesigns();
    void visibilityAndHierarchySurvive();
    void noOwnerModeWritesOwnedElementsOnly();
};

void TestTreeFile::initTestCase()
{
    RegisterModelClasses();
    RegisterClass<TTestAnimate>();
    RegisterClass<TProbeShape>();
}

void TestTreeFile::exactBytesOfSmallDiagrams()
{
    THost host;
    // An empty diagram: its record without name, properties or children.
    const QByteArray empty = Save(*host.Tree);
    QCOMPARE(empty, Header() + QByteArray(2, '\0'));
    Seed(QStringLiteral("empty"), empty);

    // A root made by AddRoot with the text "A": only its lines, written
    // from the element's simple text.
    TTreeNodeShape *a = host.Tree->AddRoot(QStringLiteral("A"));
    QVERIFY(!a->PeekText());
    const QByteArray nodeA = Short("TTreeNodeShape") + Short("TreeNodeShape1") + Short("Text.Strings") +
                             QByteArray::fromHex("01") + QByteArray::fromHex("06") + Short("A") +
                             QByteArray::fromHex("000000");
    QCOMPARE(Save(*host.Tree), Header() + '\0' + nodeA + '\0');

    // "Hi" as its only change: still only the lines.
    a->SetSimpleText(QStringLiteral("Hi"));
    QCOMPARE(Save(*host.Tree), Header() + '\0' + QByteArray(nodeA).replace("\x06\x01" "A", "\x06\x02" "Hi") + '\0');

    // Integers in the smallest tag: 200 in two bytes, -1 in one.
    a->SetTag(200);
    QVERIFY(Save(*host.Tree).contains(Short("Tag") + QByteArray::fromHex("03C800")));
    a->SetTag(-1);
    QVERIFY(Save(*host.Tree).contains(Short("Tag") + QByteArray::fromHex("02FF")));

    // A line of 300 bytes is a long string; colours, cursors and
    // enumerations go by name.
    a->Text()->Add(QString(300, QLatin1Char('w')));
    a->SetColor(clRed);
    a->SetCursor(crHandPoint);
    a->SetStyle(tssDiamond);
    a->Font()->SetCharset(2); // SYMBOL_CHARSET
    const QByteArray bytes = Save(*host.Tree);
    QVERIFY(bytes.contains(QByteArray::fromHex("0C2C010000") + QByteArray(300, 'w')));
    QVERIFY(bytes.contains(Short("Color") + '\x07' + Short("clRed")));
    QVERIFY(bytes.contains(Short("Cursor") + '\x07' + Short("crHandPoint")));
    QVERIFY(bytes.contains(Short("Style") + '\x07' + Short("tssDiamond")));
    QVERIFY(bytes.contains(Short("Font.Charset") + '\x07' + Short("SYMBOL_CHARSET")));
    Seed(QStringLiteral("named-values"), bytes);

    // The diagram's own name is not written, and stays.
    host.Tree->SetName(QStringLiteral("Tree1"));
    QVERIFY(Save(*host.Tree).startsWith(Header()));
    QCOMPARE(host.Tree->Name(), QStringLiteral("Tree1"));
}

void TestTreeFile::referencesResolveWhateverTheOwnerName()
{
    THost host;
    TTreeNodeShape *root = host.Tree->AddRoot(QStringLiteral("root"));
    TTreeNodeShape *child = root->AddChild(QStringLiteral("child"));
    TTreeNodeShape *other = host.Tree->AddRoot(QStringLiteral("other"));
    TTreeConnection *link = other->AddConnection(child);
    link->SetStyle(csLine);
    const QByteArray bytes = Save(*host.Tree);
    QVERIFY(bytes.contains(Short("Parent") + '\x07' + Short("TreeEditor1.TreeNodeShape1")));
    QVERIFY(bytes.contains(Short("FromShape") + '\x07' + Short("TreeEditor1.TreeNodeShape3")));
    Seed(QStringLiteral("references"), bytes);

    TOtherHost loaded;
    Load(*loaded.Tree, bytes);
    auto *root2 = dynamic_cast<TTreeNodeShape *>(loaded.Element(QStringLiteral("TreeNodeShape1")));
    auto *child2 = dynamic_cast<TTreeNodeShape *>(loaded.Element(QStringLiteral("TreeNodeShape2")));
    auto *other2 = dynamic_cast<TTreeNodeShape *>(loaded.Element(QStringLiteral("TreeNodeShape3")));
    QVERIFY(root2 && child2 && other2);
    QCOMPARE(child2->Parent(), root2);
    QCOMPARE(child2->BrotherIndex(), 0);
    QCOMPARE(loaded.Tree->Roots().Count(), 2);
    QCOMPARE(loaded.Tree->Roots()[0], root2);
    QCOMPARE(loaded.Tree->Roots()[1], other2);
    // Nodes and connections in file order, each connection linked to its
    // nodes.
    QCOMPARE(loaded.Tree->Shapes().Count(), 3);
    QCOMPARE(loaded.Tree->Connections().Count(), 2);
    TTreeConnection *auto2 = loaded.Tree->Connections()[0];
    TTreeConnection *link2 = loaded.Tree->Connections()[1];
    QCOMPARE(auto2->Name(), QStringLiteral("TreeNodeShape1_TreeNodeShape2"));
    QCOMPARE(auto2->FromShape(), root2);
    QCOMPARE(link2->FromShape(), other2);
    QCOMPARE(link2->ToShape(), child2);
    QCOMPARE(link2->Style(), csLine);
    QCOMPARE(other2->ConnectionTo(child2), link2);
    QCOMPARE(child2->Parents(), (std::vector<TTreeNodeShape *>{root2, other2}));
    // The lookup lasts as long as the load.
    QCOMPARE(FindGlobalComponent(QStringLiteral("AnyName")), static_cast<TComponent *>(nullptr));

    // The program has a window of the name the file holds, which is not
    // the diagram's owner: the references still find the loaded elements.
    TComponent window;
    window.SetName(QStringLiteral("TreeEditor1"));
    TTreeNodeShape decoy(&window);
    decoy.SetName(QStringLiteral("TreeNodeShape1"));
    {
        TScopedGlobalComponentLookup windows([&window](const QString &name) -> TComponent * {
            return name.compare(window.Name(), Qt::CaseInsensitive) == 0 ? &window : nullptr;
        });
        TOtherHost elsewhere;
        Load(*elsewhere.Tree, bytes);
        auto *child3 = dynamic_cast<TTreeNodeShape *>(elsewhere.Element(QStringLiteral("TreeNodeShape2")));
        QCOMPARE(child3->Parent(), elsewhere.Element(QStringLiteral("TreeNodeShape1")));
        QVERIFY(!decoy.HasChildren());
    }

    // Written again by a host of the editor's name, the file is the same.
    THost same;
    Load(*same.Tree, bytes);
    QCOMPARE(Save(*same.Tree), bytes);

    // An owner without a name: references use the editor's name, and still
    // resolve anywhere.
    THost anonymous;
    anonymous.Owner->SetName(QString());
    Load(*anonymous.Tree, bytes);
    const QByteArray again = Save(*anonymous.Tree);
    QCOMPARE(again, bytes);
}

void TestTreeFile::positionsAndSizes()
{
    THost host;
    TTreeNodeShape *moved = host.Tree->AddRoot(QStringLiteral("moved"));
    moved->UserMove(40, 25, false);
    TTreeNodeShape *still = host.Tree->AddRoot(QStringLiteral("still"));
    // Resized by the user while the layout still places it.
    still->MoveRelative(30, 60, false);
    still->Resize(rcRightBottom, 20, 10);
    QVERIFY(!still->AutoSize());
    QVERIFY(still->PeekAutoPosition() == nullptr || still->PeekAutoPosition()->Left());
    const int width = still->Width();
    const int height = still->Height();
    QVERIFY(still->X1() > width); // its right edge is not its width

    const QByteArray bytes = Save(*host.Tree);
    QVERIFY(bytes.contains(Short("X0") + QByteArray::fromHex("0228")));
    QVERIFY(bytes.contains(Short("Y0") + QByteArray::fromHex("0219")));
    Seed(QStringLiteral("positions"), bytes);

    TOtherHost loaded;
    Load(*loaded.Tree, bytes);
    auto *moved2 = dynamic_cast<TTreeNodeShape *>(loaded.Element(QStringLiteral("TreeNodeShape1")));
    auto *still2 = dynamic_cast<TTreeNodeShape *>(loaded.Element(QStringLiteral("TreeNodeShape2")));
    QCOMPARE(moved2->X0(), 40);
    QCOMPARE(moved2->Y0(), 25);
    QVERIFY(!moved2->AutoPosition()->Left());
    QVERIFY(!moved2->AutoPosition()->Top());
    QVERIFY(moved2->AutoSize());
    // The resized node keeps its size and stays automatically placed.
    QVERIFY(!still2->AutoSize());
    QCOMPARE(still2->Width(), width);
    QCOMPARE(still2->Height(), height);
    QVERIFY(!still2->PeekAutoPosition() || (still2->PeekAutoPosition()->Left() && still2->PeekAutoPosition()->Top()));
    QCOMPARE(Save(*loaded.Tree), bytes);
    // Laid out, both diagrams agree: the moved node stays where it was put,
    // the resized one goes where the layout puts it with its size.
    host.Tree->LayoutShapes();
    loaded.Tree->LayoutShapes();
    QCOMPARE(moved2->X0(), 40);
    QCOMPARE(moved2->Y0(), 25);
    for (int i = 0; i < 2; ++i) {
        const TTreeNodeShape *n = host.Tree->Shapes()[i];
        const TTreeNodeShape *m = loaded.Tree->Shapes()[i];
        QCOMPARE(TRect(m->X0(), m->Y0(), m->X1(), m->Y1()), TRect(n->X0(), n->Y0(), n->X1(), n->Y1()));
    }
    QCOMPARE(still2->Width(), width);

    // Fixed in one axis only: that axis by edges, the other by size.
    still2->SetY0(still2->Y0());
    TOtherHost again;
    Load(*again.Tree, Save(*loaded.Tree));
    auto *still3 = dynamic_cast<TTreeNodeShape *>(again.Element(QStringLiteral("TreeNodeShape2")));
    QCOMPARE(still3->Width(), width);
    QCOMPARE(still3->Height(), height);
    QVERIFY(still3->PeekAutoPosition()->Left());
    QVERIFY(!still3->PeekAutoPosition()->Top());
}

void TestTreeFile::everyPropertyRoundTrips()
{
    struct TCase
    {
        const TClassInfo *Class;
        bool Connection;
    };
    const TCase cases[] = {{&TTreeNodeShape::StaticClassInfo(), false},
                           {&TTextShape::StaticClassInfo(), false},
                           {&TImageShape::StaticClassInfo(), false},
                           {&TCustomTreeShape::StaticClassInfo(), false},
                           {&TTreeCustomPolygonShape::StaticClassInfo(), false},
                           {&TTreeConnection::StaticClassInfo(), true}};
    auto makeElement = [](THost &host, const TCase &c) -> TCustomTreeElement * {
        TTreeNodeShape *a = host.Tree->AddRoot(QStringLiteral("a"));
        TTreeNodeShape *b = host.Tree->AddRoot(QStringLiteral("b"));
        if (c.Connection)
            return a->AddConnection(b);
        host.Tree->DefaultFormat().SetShapeClass(c.Class);
        return host.Tree->AddRoot(QStringLiteral("element"));
    };
    auto reloaded = [](const TOtherHost &host, const TCustomTreeElement *original) {
        return host.Element(original->Name());
    };

    int checked = 0;
    for (const TCase &c : cases) {
        QStringList paths;
        LeafPaths(*c.Class, QString(), paths);
        QVERIFY(paths.size() > 20);
        // One property at a time, then all of them together.
        paths << QStringLiteral("*");
        for (const QString &path : paths) {
            THost host;
            TCustomTreeElement *element = makeElement(host, c);
            QCOMPARE(&element->ClassInfo(), c.Class);
            if (path == QLatin1String("*")) {
                for (const QString &p : std::as_const(paths))
                    if (p != QLatin1String("*"))
                        ChangeProperty(*element, p);
            } else {
                ChangeProperty(*element, path);
            }
            element->SetSimpleText(QStringLiteral("text of ") + path);
            const QByteArray bytes = Save(*host.Tree);
            TOtherHost loaded;
            Load(*loaded.Tree, bytes);
            TCustomTreeElement *copy = reloaded(loaded, element);
            QVERIFY2(copy, qPrintable(path));
            QCOMPARE(copy->ClassName(), element->ClassName());
            QCOMPARE(copy->SimpleText(), element->SimpleText());
            const QMap<QString, QString> before = Dump(*element);
            const QMap<QString, QString> after = Dump(*copy);
            for (auto it = before.cbegin(); it != before.cend(); ++it)
                QVERIFY2(after.value(it.key()) == it.value(),
                         qPrintable(QStringLiteral("%1 %2 (changed %3): %4 read back as %5")
                                        .arg(c.Class->Name(), it.key(), path, it.value(), after.value(it.key()))));
            ++checked;
        }
        if (c.Connection)
            Seed(QStringLiteral("connection-all"), [&] {
                THost host;
                TCustomTreeElement *e = makeElement(host, c);
                for (const QString &p : std::as_const(paths))
                    if (p != QLatin1String("*"))
                        ChangeProperty(*e, p);
                return Save(*host.Tree);
            }());
    }
    QVERIFY(checked > 100);
}

void TestTreeFile::pointsOfEveryKind()
{
    THost host;
    TTreeNodeShape *a = host.Tree->AddRoot(QStringLiteral("a"));
    TTreeNodeShape *b = host.Tree->AddRoot(QStringLiteral("b"));
    TTreeConnection *c = a->AddConnection(b);
    c->SetStyle(csCurve);
    std::vector<TConnectionPoint> points;
    const int kinds = EnumInfoOf<TConnectionPointKind>().Count();
    for (int k = 0; k < kinds; ++k) {
        TConnectionPoint p;
        p.XStyle = TConnectionPointKind(k);
        p.YStyle = TConnectionPointKind(kinds - 1 - k);
        p.XValue = k * 1000 - 200;  // 8-, 16- and 32-bit values
        p.YValue = -k * 70000;
        p.X = k;
        p.Y = -k;
        points.push_back(p);
    }
    c->Points().SetItems(points);
    QVERIFY(c->StorePoints());
    const QByteArray bytes = Save(*host.Tree);
    Seed(QStringLiteral("points"), bytes);
    TOtherHost loaded;
    Load(*loaded.Tree, bytes);
    auto *c2 = dynamic_cast<TTreeConnection *>(loaded.Element(c->Name()));
    QVERIFY(c2);
    QCOMPARE(c2->Style(), csCurve);
    QVERIFY(c2->Points().Items() == points);

    // A straight line between its two default edge points stores none.
    c->SetStyle(csLine);
    c->SetDefaultPoints();
    QVERIFY(!Save(*host.Tree).contains(Short("Points")));
    c->MovePoint(1, 5, 0);
    QVERIFY(Save(*host.Tree).contains(Short("Points")));
}

void TestTreeFile::pictures()
{
    THost host;
    TTreeNodeShape *node = host.Tree->AddRoot(QStringLiteral("pic"));
    const QImage image = TestImage(5, 3);
    node->Image()->SetImage(image); // made in memory: written as a bitmap
    node->Image()->SetTransparent(true);
    QCOMPARE(node->ImageIndex(), tiNone);
    TTreeNodeShape *brushed = host.Tree->AddRoot(QStringLiteral("brush"));
    const QByteArray jpeg = Encoded(TestImage(8, 8), "JPEG");
    brushed->Brush()->Image()->SetImage(TestImage(8, 8), QStringLiteral("TJPEGImage"), jpeg);

    const QByteArray bytes = Save(*host.Tree);
    // "Image.Data": the class name, a byte count and a complete BMP file.
    const qsizetype at = bytes.indexOf(Short("Image.Data"));
    QVERIFY(at > 0);
    QCOMPARE(bytes.at(at + 11), char(TValueTag::Binary));
    const QByteArray data = bytes.mid(at + 16, qFromLittleEndian<quint32>(bytes.constData() + at + 12));
    QVERIFY(data.startsWith(Short("TBitmap")));
    const quint32 count = qFromLittleEndian<quint32>(data.constData() + 8);
    QCOMPARE(qsizetype(count), data.size() - 12);
    QVERIFY(data.mid(12).startsWith("BM"));
    // The JPEG keeps its own bytes.
    QVERIFY(bytes.contains(Short("Brush.Image.Data")));
    QVERIFY(bytes.contains(PictureData("TJPEGImage", jpeg)));
    Seed(QStringLiteral("pictures"), bytes);

    TOtherHost loaded;
    Load(*loaded.Tree, bytes);
    auto *node2 = dynamic_cast<TTreeNodeShape *>(loaded.Element(node->Name()));
    auto *brushed2 = dynamic_cast<TTreeNodeShape *>(loaded.Element(brushed->Name()));
    QCOMPARE(node2->PeekImage()->GraphicClass(), QStringLiteral("TBitmap"));
    QCOMPARE(node2->PeekImage()->Image().convertToFormat(QImage::Format_RGB32), image);
    QVERIFY(node2->PeekImage()->Transparent());
    QCOMPARE(node2->ImageIndex(), tiNone);
    QCOMPARE(node2->ImageSize(), QSize(5, 3));
    QCOMPARE(brushed2->PeekBrush()->PeekImage()->GraphicClass(), QStringLiteral("TJPEGImage"));
    QCOMPARE(brushed2->PeekBrush()->PeekImage()->OriginalData(), jpeg);
    QCOMPARE(Save(*loaded.Tree), bytes);

    // A picture from the diagram's image list: read while the node is not
    // yet in the diagram, it still takes the list picture's size once it is.
    QImage wide(32, 24, QImage::Format_RGB32);
    wide.fill(Qt::green);
    TImageList list(host.Owner.get());
    list.Add(wide);
    host.Tree->SetImages(&list);
    TTreeNodeShape *listed = host.Tree->AddRoot(QStringLiteral("listed"));
    listed->SetImageListIndex(0);
    QCOMPARE(listed->ImageSize(), QSize(32, 24));
    TOtherHost withList;
    TImageList sameList(withList.Owner.get());
    sameList.Add(wide);
    withList.Tree->SetImages(&sameList);
    Load(*withList.Tree, Save(*host.Tree));
    auto *listed2 = dynamic_cast<TTreeNodeShape *>(withList.Element(listed->Name()));
    QCOMPARE(listed2->ImageListIndex(), 0);
    QCOMPARE(listed2->ImageSize(), QSize(32, 24));
    host.Tree->SetImages(nullptr);

    // Graphics of other writers: a BMP file kept byte for byte, an icon and
    // a GIF without the byte count, each decoded.
    TPicture p;
    const QByteArray bmp = Encoded(image, "BMP");
    QVERIFY(p.SetGraphicData(PictureData("TBitmap", bmp)));
    QCOMPARE(p.GraphicData(), PictureData("TBitmap", bmp));
    QVERIFY(p.SetGraphicData(PictureData("TIcon", Encoded(image, "ICO"), false)));
    QCOMPARE(p.GraphicClass(), QStringLiteral("TIcon"));
    QCOMPARE(p.Width(), 5);
    const QByteArray gif = QByteArray::fromBase64("R0lGODlhAQABAIAAAP///wAAACwAAAAAAQABAAACAkQBADs=");
    QVERIFY(p.SetGraphicData(PictureData("TGIFImage", gif, false)));
    QCOMPARE(p.GraphicClass(), QStringLiteral("TGIFImage"));
    QCOMPARE(p.GraphicData(), PictureData("TGIFImage", gif));
    // A bitmap class holding another format is kept as pixels, written as BMP.
    QVERIFY(p.SetGraphicData(PictureData("TBitmap", Encoded(image, "PNG"))));
    QVERIFY(p.GraphicData().mid(12).startsWith("BM"));

    // What the program cannot decode is an invalid value, and the picture
    // stays as it was.
    const QByteArray before = p.GraphicData();
    QVERIFY(!p.SetGraphicData(PictureData("TMetafile", QByteArray(40, '\1'))));
    QVERIFY(!p.SetGraphicData(PictureData("TBitmap", QByteArray("BM") + QByteArray(60, '\0'))));
    QVERIFY(!p.SetGraphicData(PictureData("TPNGObject", Encoded(image, "PNG"))));
    QVERIFY(!p.SetGraphicData(QByteArray("\x20TBitmap")));
    QVERIFY(!p.SetGraphicData(QByteArray()));
    QCOMPARE(p.GraphicData(), before);
    // A tiny file that claims a giant image is refused before decoding.
    QByteArray giant = bmp;
    qToLittleEndian<qint32>(100000, giant.data() + 18);
    qToLittleEndian<qint32>(100000, giant.data() + 22);
    QVERIFY(!p.SetGraphicData(PictureData("TBitmap", giant)));

    TAnswers yes(true);
    TBytes file;
    file.Diagram().Element(QStringLiteral("TTreeNodeShape"), QStringLiteral("TreeNodeShape1"));
    file.Str(QStringLiteral("Image.Data"))->WriteBinary(PictureData("TMetafile", QByteArray(40, '\1')));
    file.Str(QStringLiteral("Tag"))->WriteInteger(5);
    file.End().End().End();
    TOtherHost bad;
    Load(*bad.Tree, file.Bytes());
    QCOMPARE(yes.Asked, QStringList{Question(SInvalidPropertyValue)});
    QCOMPARE(bad.Element(QStringLiteral("TreeNodeShape1"))->Tag(), 5);
}

void TestTreeFile::readOnlySettingsOfOlderFiles()
{
    TBytes file;
    file.Raw(Header());
    file.Str(QStringLiteral("GridColor"))->WriteIdent(QStringLiteral("clRed"));
    file.Str(QStringLiteral("GridStep"))->WriteInteger(25);
    file.End();
    const struct
    {
        const char *Horiz;
        THorizTextAlign H;
        const char *Vert;
        TVertTextAlign V;
    } aligns[] = {{"htaLeft", htaLeft, "vtaTop", vtaTop},
                  {"htaRight", htaRight, "vtaBottom", vtaBottom},
                  {"taLeftJustify", htaCenter, "Middle", vtaCenter}};
    int n = 0;
    for (const auto &a : aligns) {
        file.Element(QStringLiteral("TTreeNodeShape"), QStringLiteral("TreeNodeShape%1").arg(++n));
        file.Str(QStringLiteral("HorizTextAlign"))->WriteIdent(QString::fromLatin1(a.Horiz));
        file.Str(QStringLiteral("VertTextAlign"))->WriteIdent(QString::fromLatin1(a.Vert));
        file.End().End();
    }
    file.End();
    const QByteArray bytes = file.Bytes();
    Seed(QStringLiteral("old-settings"), bytes);

    TOtherHost loaded;
    Load(*loaded.Tree, bytes);
    QCOMPARE(loaded.Tree->GridColor(), clRed);
    QCOMPARE(loaded.Tree->GridStep(), 25);
    n = 0;
    for (const auto &a : aligns) {
        TCustomTreeElement *e = loaded.Element(QStringLiteral("TreeNodeShape%1").arg(++n));
        QCOMPARE(e->Text()->HorizAlign(), a.H);
        QCOMPARE(e->Text()->VertAlign(), a.V);
    }
    // Never written: the alignment goes as the text's own, the grid not at all.
    const QByteArray again = Save(*loaded.Tree);
    QVERIFY(!again.contains("GridColor") && !again.contains("GridStep") && !again.contains("HorizTextAlign"));
    QVERIFY(again.contains(Short("Text.HorizAlign") + '\x07' + Short("htaLeft")));

    // A colour as a number, in an identifier or as an integer; a step of 0
    // is ignored.
    TBytes numbers;
    numbers.Raw(Header());
    numbers.Str(QStringLiteral("GridColor"))->WriteIdent(QStringLiteral("$0000FF00"));
    numbers.Str(QStringLiteral("GridStep"))->WriteInteger(0);
    numbers.End().End();
    Load(*loaded.Tree, numbers.Bytes());
    QCOMPARE(loaded.Tree->GridColor(), clLime);
    QCOMPARE(loaded.Tree->GridStep(), 25);
    TBytes integer;
    integer.Raw(Header());
    integer.Str(QStringLiteral("GridColor"))->WriteInteger(0x123456);
    integer.End().End();
    Load(*loaded.Tree, integer.Bytes());
    QCOMPARE(loaded.Tree->GridColor(), 0x123456);
}

void TestTreeFile::continueQuestion()
{
    // Two unknown properties and an unknown value, then a known one.
    TBytes file;
    file.Diagram().Element(QStringLiteral("TTreeNodeShape"), QStringLiteral("TreeNodeShape1"));
    file.Str(QStringLiteral("Bogus"))->WriteInteger(1);
    file.Str(QStringLiteral("Style"))->WriteIdent(QStringLiteral("tssHexagon"));
    file.Str(QStringLiteral("Tag"))->WriteInteger(3);
    file.End().End();
    file.Element(QStringLiteral("TTreeNodeShape"), QStringLiteral("TreeNodeShape2"));
    file.Str(QStringLiteral("Bogus"))->WriteString(QStringLiteral("again"));
    file.Str(QStringLiteral("Parent"))->WriteIdent(QStringLiteral("Editor.TreeNodeShape1"));
    file.End().End().End();
    const QByteArray bytes = file.Bytes();
    Seed(QStringLiteral("unknown-properties"), bytes);

    {
        TAnswers yes(true);
        TOtherHost loaded;
        Load(*loaded.Tree, bytes);
        QCOMPARE(yes.Asked, QStringList({Question(SUnknownProperty), Question(SInvalidPropertyValue),
                                         Question(SUnknownProperty)}));
        QCOMPARE(loaded.Element(QStringLiteral("TreeNodeShape1"))->Tag(), 3);
        auto *second = dynamic_cast<TTreeNodeShape *>(loaded.Element(QStringLiteral("TreeNodeShape2")));
        QCOMPARE(second->Parent(), loaded.Element(QStringLiteral("TreeNodeShape1")));
        QVERIFY(!loaded.Tree->PartlyRead());
    }
    {
        // No stops with the place of the problem; the first node stays.
        TAnswers no(false);
        TOtherHost loaded;
        QCOMPARE(ErrorOf([&] { Load(*loaded.Tree, bytes); }),
                 QStringLiteral("Error reading TreeNodeShape1.Bogus: Property does not exist"));
        QCOMPARE(no.Asked.size(), 1);
        QVERIFY(loaded.Tree->PartlyRead());
        QCOMPARE(loaded.Tree->Shapes().Count(), 0); // the record being read goes
    }
    {
        // Nobody to ask: a batch load answers No.
        QVERIFY(!ContinueQuestion());
        TOtherHost loaded;
        QCOMPARE(ErrorOf([&] { Load(*loaded.Tree, bytes); }),
                 QStringLiteral("Error reading TreeNodeShape1.Bogus: Property does not exist"));
    }
    {
        // Answerers nest and come back.
        TAnswers outer(false);
        {
            TAnswers inner(true);
            TOtherHost loaded;
            Load(*loaded.Tree, bytes);
            QCOMPARE(inner.Asked.size(), 3);
        }
        QVERIFY(ContinueQuestion()(QString()) == false);
    }
    QVERIFY(!ContinueQuestion());
}

void TestTreeFile::partAfterTheDiagram()
{
    THost host;
    TTreeNodeShape *node = host.Tree->AddRoot(QStringLiteral("animated"));
    TTestAnimate animate;
    animate.SetName(QStringLiteral("TreeAnimate1"));
    animate.SetSpeed(9);
    animate.SetShape(node);

    QTemporaryDir dir;
    const QString with = dir.filePath(QStringLiteral("with"));
    const QString without = dir.filePath(QStringLiteral("without.abx"));
    SaveDiagramFile(*host.Tree, with, [&](TWriter &w) {
        w.WriteSignature();
        w.WriteComponent(animate);
    });
    SaveDiagramFile(*host.Tree, without);
    QVERIFY(QFile::exists(with + QStringLiteral(".abx")));

    // The editor's continuation: the previous animation goes, a following
    // one is read after the diagram.
    std::unique_ptr<TComponent> current = std::make_unique<TTestAnimate>();
    auto readAnimation = [](void *data, TReader &reader, QIODevice &) {
        auto &slot = *static_cast<std::unique_ptr<TComponent> *>(data);
        slot.reset();
        if (!reader.AtEnd()) {
            reader.ReadSignature();
            std::unique_ptr<TComponent> c = reader.ReadRootComponent();
            if (dynamic_cast<TTestAnimate *>(c.get()))
                slot = std::move(c);
        }
    };
    TOtherHost loaded;
    LoadDiagramFile(*loaded.Tree, with, readAnimation, &current);
    auto *read = dynamic_cast<TTestAnimate *>(current.get());
    QVERIFY(read);
    QCOMPARE(read->Name(), QStringLiteral("TreeAnimate1"));
    QCOMPARE(read->Speed(), 9);
    QCOMPARE(read->Shape(), loaded.Element(QStringLiteral("TreeNodeShape1")));
    QFile f(with + QStringLiteral(".abx"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    Seed(QStringLiteral("with-animation"), f.readAll());

    LoadDiagramFile(*loaded.Tree, without, readAnimation, &current);
    QVERIFY(!current);
    QCOMPARE(loaded.Tree->Shapes().Count(), 1);

    // A missing file.
    QVERIFY(ErrorOf([&] { LoadDiagramFile(*loaded.Tree, dir.filePath(QStringLiteral("none"))); })
                .startsWith(QStringLiteral("Cannot open file \"%1\".").arg(dir.filePath(QStringLiteral("none.abx")))));
    QCOMPARE(loaded.Tree->Shapes().Count(), 1);
}

void TestTreeFile::valuesBeyondTheCoordinateRange()
{
    // Coordinates and the sizes added to them stop at the ends of the
    // coordinate range; values at the ends load and save as they are.
    TAnswers yes(true);
    TBytes file;
    file.Diagram();
    const auto ints = [&](const QList<std::pair<QString, int>> &values) {
        for (const auto &[name, value] : values)
            file.Str(name)->WriteInteger(value);
    };
    file.Element(QStringLiteral("TTreeNodeShape"), QStringLiteral("Far"));
    ints({{QStringLiteral("Border.Width"), INT_MAX},
          {QStringLiteral("ImageHeight"), INT_MIN},
          {QStringLiteral("ImageWidth"), INT_MAX},
          {QStringLiteral("Shadow.HorizSize"), INT_MIN},
          {QStringLiteral("Shadow.VertSize"), INT_MAX},
          {QStringLiteral("X0"), INT_MAX - 10},
          {QStringLiteral("X1"), INT_MIN},
          {QStringLiteral("Y0"), INT_MIN},
          {QStringLiteral("Y1"), INT_MAX},
          {QStringLiteral("Font.Size"), INT_MIN},
          {QStringLiteral("Text.HorizOffset"), INT_MAX},
          {QStringLiteral("Text.VertOffset"), INT_MIN}});
    file.End().End();
    file.Element(QStringLiteral("TTreeNodeShape"), QStringLiteral("Edge"));
    ints({{QStringLiteral("X0"), -kCoordLimit}, {QStringLiteral("X1"), 0}, {QStringLiteral("Y0"), kCoordLimit},
          {QStringLiteral("Y1"), kCoordLimit}, {QStringLiteral("Font.Height"), kCoordLimit}});
    file.End().End();
    file.Element(QStringLiteral("TTreeConnection"), QStringLiteral("Link"));
    file.Str(QStringLiteral("Points"))->WriteListBegin();
    for (int v : {int(cpAbsolute), int(cpPrevOffset), INT_MAX, INT_MIN, INT_MIN, INT_MAX})
        file->WriteInteger(v);
    file->WriteListEnd();
    file.End().End();
    file.End();
    const QByteArray bytes = file.Bytes();
    Seed(QStringLiteral("coordinate-range"), bytes);

    THost loaded;
    Load(*loaded.Tree, bytes);
    QVERIFY(yes.Asked.isEmpty());
    auto *far = dynamic_cast<TTreeNodeShape *>(loaded.Owner->FindComponent(QStringLiteral("Far")));
    QVERIFY(far);
    QCOMPARE(far->Border()->Width(), kCoordLimit);
    QCOMPARE(far->ImageHeight(), -kCoordLimit);
    QCOMPARE(far->ImageWidth(), kCoordLimit);
    QCOMPARE(far->Shadow()->HorizSize(), -kCoordLimit);
    QCOMPARE(far->Shadow()->VertSize(), kCoordLimit);
    // The far edges stay within kCoordLimit of the near ones too, so a
    // stored width reads back the same.
    QCOMPARE(far->X0(), kCoordLimit);
    QCOMPARE(far->X1(), 0);
    QCOMPARE(far->Y0(), -kCoordLimit);
    QCOMPARE(far->Y1(), 0);
    QCOMPARE(far->Font()->Height(), kCoordLimit);
    QCOMPARE(far->Text()->HorizOffset(), kCoordLimit);
    QCOMPARE(far->Text()->VertOffset(), -kCoordLimit);
    const TConnectionPoint &p = loaded.Tree->Connections()[0]->Points()[0];
    QCOMPARE((QList<int>{p.XValue, p.YValue, p.X, p.Y}),
             (QList<int>{kCoordLimit, -kCoordLimit, -kCoordLimit, kCoordLimit}));

    auto *edge = dynamic_cast<TTreeNodeShape *>(loaded.Owner->FindComponent(QStringLiteral("Edge")));
    QCOMPARE((QList<int>{edge->X0(), edge->X1(), edge->Y0(), edge->Y1(), edge->Font()->Height()}),
             (QList<int>{-kCoordLimit, 0, kCoordLimit, kCoordLimit, kCoordLimit}));
    const QByteArray saved = Save(*loaded.Tree);
    THost again;
    Load(*again.Tree, saved);
    QCOMPARE(Save(*again.Tree), saved);
}

void TestTreeFile::untrustedValuesAndReferences()
{
    TAnswers yes(true);
    TBytes file;
    file.Diagram();
    // Parents in a cycle, to a missing node and to a connection.
    file.Element(QStringLiteral("TTreeNodeShape"), QStringLiteral("A"));
    file.Str(QStringLiteral("Parent"))->WriteIdent(QStringLiteral("X.B"));
    file.Str(QStringLiteral("ImageIndex"))->WriteInteger(25);
    file.Str(QStringLiteral("Style"))->WriteInteger(-1);
    file.End().End();
    file.Element(QStringLiteral("TTreeNodeShape"), QStringLiteral("B"));
    file.Str(QStringLiteral("Parent"))->WriteIdent(QStringLiteral("X.A"));
    file.End().End();
    file.Element(QStringLiteral("TTreeNodeShape"), QStringLiteral("C"));
    file.Str(QStringLiteral("Parent"))->WriteIdent(QStringLiteral("X.Missing"));
    file.End().End();
    file.Element(QStringLiteral("TTreeNodeShape"), QStringLiteral("D"));
    file.Str(QStringLiteral("Parent"))->WriteIdent(QStringLiteral("X.L1"));
    file.End().End();
    // Points: five integers, an unknown kind, a string, then a good one.
    const QList<QList<int>> lists = {{0, 0, 1, 2, 3}, {9, 0, 0, 0, 0, 0}, {0, 255, 0, 0, 0, 0}, {0, -1, 0, 0, 0, 0}};
    int n = 0;
    for (const QList<int> &values : lists) {
        file.Element(QStringLiteral("TTreeConnection"), QStringLiteral("L%1").arg(++n));
        file.Str(QStringLiteral("Style"))->WriteIdent(QStringLiteral("csLine"));
        file.Str(QStringLiteral("FromShape"))->WriteIdent(QStringLiteral("X.A"));
        file.Str(QStringLiteral("ToShape"))->WriteIdent(QStringLiteral("X.Nowhere"));
        file.Str(QStringLiteral("Points"))->WriteListBegin();
        for (int v : values)
            file->WriteInteger(v);
        file->WriteListEnd();
        file.End().End();
    }
    file.Element(QStringLiteral("TTreeConnection"), QStringLiteral("L5"));
    file.Str(QStringLiteral("Points"))->WriteListBegin();
    file->WriteString(QStringLiteral("0"));
    file->WriteListEnd();
    file.Str(QStringLiteral("Text.Strings"))->WriteInteger(4);
    file.End().End();
    file.End();
    const QByteArray bytes = file.Bytes();
    Seed(QStringLiteral("untrusted"), bytes);

    // Another diagram of the same owner has a node the file names.
    TOtherHost loaded;
    auto *neighbour = new TTreeDocument(loaded.Owner.get());
    neighbour->SetNoOwnerShapes(false);
    TTreeNodeShape *foreign = neighbour->AddRoot(QStringLiteral("foreign"));
    foreign->SetName(QStringLiteral("Missing"));

    Load(*loaded.Tree, bytes);
    QCOMPARE(yes.Asked.count(Question(SInvalidPropertyValue)), 8);
    QCOMPARE(yes.Asked.size(), 8);
    auto node = [&](const char *name) { return dynamic_cast<TTreeNodeShape *>(loaded.Element(QLatin1String(name))); };
    TTreeNodeShape *a = node("A");
    TTreeNodeShape *b = node("B");
    // The cycle is cut: A went under B, B could not go under its child.
    QCOMPARE(a->Parent(), b);
    QCOMPARE(b->Parent(), static_cast<TTreeNodeShape *>(nullptr));
    QCOMPARE(a->ImageIndex(), tiFolderOpenClose);
    QCOMPARE(a->Style(), tssRectangle);
    // A node of the other diagram and a connection are no parents.
    QCOMPARE(node("C")->Parent(), static_cast<TTreeNodeShape *>(nullptr));
    QCOMPARE(node("D")->Parent(), static_cast<TTreeNodeShape *>(nullptr));
    QVERIFY(!foreign->HasChildren());
    QCOMPARE(neighbour->Shapes().Count(), 1);
    QCOMPARE(loaded.Tree->Shapes().Count(), 4);
    QCOMPARE(loaded.Tree->Roots().Count(), 3);
    QCOMPARE(loaded.Tree->Connections().Count(), 5);
    for (TTreeConnection *c : loaded.Tree->Connections()) {
        QCOMPARE(c->FromShape(), c->Name() == QLatin1String("L5") ? nullptr : a);
        QCOMPARE(c->ToShape(), static_cast<TTreeNodeShape *>(nullptr));
        QCOMPARE(c->Count(), 0);
    }
    QCOMPARE(a->ConnectionCount(), 4);
    // What was read writes and reads back the same.
    const QByteArray again = Save(*loaded.Tree);
    TOtherHost second;
    Load(*second.Tree, again);
    QCOMPARE(Save(*second.Tree), again);
}

void TestTreeFile::recordsThatAreNoElements()
{
    TAnswers yes(true);
    // A component of another registered class among the elements: not kept.
    TBytes stray;
    stray.Diagram();
    stray.Element(QStringLiteral("TTestAnimate"), QStringLiteral("Stray")).End().End();
    stray.Element(QStringLiteral("TTreeNodeShape"), QStringLiteral("TreeNodeShape1")).End().End();
    stray.End();
    TOtherHost loaded;
    const int owned = loaded.Owner->ComponentCount();
    Load(*loaded.Tree, stray.Bytes());
    QVERIFY(!loaded.Owner->FindComponent(QStringLiteral("Stray")));
    QCOMPARE(loaded.Owner->ComponentCount(), owned + 1);
    QCOMPARE(loaded.Tree->Shapes().Count(), 1);

    // An element inside an element's record: the file is malformed.
    TBytes nested;
    nested.Diagram();
    nested.Element(QStringLiteral("TTreeNodeShape"), QStringLiteral("Outer")).End();
    nested.Element(QStringLiteral("TTreeNodeShape"), QStringLiteral("Inner")).End().End();
    nested.End().End();
    Seed(QStringLiteral("nested"), nested.Bytes());
    QCOMPARE(ErrorOf([&] { Load(*loaded.Tree, nested.Bytes()); }), QString(SInvalidImage));
    QCOMPARE(loaded.Owner->ComponentCount(), owned);
    QCOMPARE(loaded.Tree->Shapes().Count(), 0);

    // An unknown class and a name taken twice stop the load.
    TBytes unknown;
    unknown.Diagram().Element(QStringLiteral("TNoSuchShape"), QStringLiteral("N1")).End().End().End();
    QCOMPARE(ErrorOf([&] { Load(*loaded.Tree, unknown.Bytes()); }), QStringLiteral("Class TNoSuchShape not found"));
    TBytes twice;
    twice.Diagram();
    twice.Element(QStringLiteral("TTreeNodeShape"), QStringLiteral("N1")).End().End();
    twice.Element(QStringLiteral("TTextShape"), QStringLiteral("n1")).End().End().End();
    QCOMPARE(ErrorOf([&] { Load(*loaded.Tree, twice.Bytes()); }),
             QStringLiteral("A component named n1 already exists"));
    QCOMPARE(loaded.Tree->Shapes().Count(), 1);
}

void TestTreeFile::notADiagramLeavesTheDocument()
{
    THost host;
    host.Tree->AddRoot(QStringLiteral("keep me"));
    const QByteArray good = Save(*host.Tree);
    auto untouched = [&] {
        return host.Tree->Shapes().Count() == 1 && host.Tree->Shapes()[0]->SimpleText() == QLatin1String("keep me") &&
               !host.Tree->PartlyRead();
    };

    QCOMPARE(ErrorOf([&] { Load(*host.Tree, QByteArray("PK\x03\x04 not a diagram")); }), QString(SInvalidImage));
    QVERIFY(untouched());
    QCOMPARE(ErrorOf([&] { Load(*host.Tree, QByteArray("TP")); }), QString(SReadError));
    QVERIFY(untouched());
    QCOMPARE(ErrorOf([&] { Load(*host.Tree, QByteArray()); }), QString(SReadError));
    QVERIFY(untouched());

    // A stream whose root is a registered class that is no diagram.
    TBytes node;
    node.Raw(QByteArray("TPF0")).Element(QStringLiteral("TTreeNodeShape"), QStringLiteral("X")).End().End();
    QCOMPARE(ErrorOf([&] { Load(*host.Tree, node.Bytes()); }), QStringLiteral("Internal Error reading Tree."));
    QVERIFY(untouched());
    TBytes prefixed;
    prefixed.Raw(QByteArray("TPF0\xF2\x03\x01\x02", 8)).Element(QStringLiteral("TTestAnimate"), QString()).End().End();
    QCOMPARE(ErrorOf([&] { Load(*host.Tree, prefixed.Bytes()); }), QStringLiteral("Internal Error reading Tree."));
    QVERIFY(untouched());

    // A diagram class of another program is read into this diagram.
    QByteArray other = good;
    other.replace(Short("TTreeDocument"), Short("TDBTree"));
    Load(*host.Tree, other);
    QVERIFY(untouched());
}

void TestTreeFile::stoppedLoadKeepsWhatWasRead()
{
    THost host;
    TTreeNodeShape *root = host.Tree->AddRoot(QStringLiteral("root"));
    for (int i = 0; i < 5; ++i)
        root->AddChild(QStringLiteral("child %1").arg(i));
    root->SetExpanded(true);
    const QByteArray good = Save(*host.Tree);
    Seed(QStringLiteral("tree"), good);

    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("tree.abx"));
    SaveDiagramFile(*host.Tree, name);

    // Every truncation fails cleanly; the diagram holds what was read,
    // resolved, and is no longer designing.
    int partlyRead = 0;
    for (qsizetype cut = 4; cut < good.size(); ++cut) {
        TOtherHost loaded;
        QCOMPARE(ErrorOf([&] { Load(*loaded.Tree, good.left(cut)); }), QString(SReadError));
        QVERIFY(loaded.Tree->PartlyRead());
        QVERIFY(!loaded.Tree->Designing());
        QVERIFY(!loaded.Tree->ReadingFile());
        const int count = loaded.Tree->Shapes().Count();
        QVERIFY(count <= 6);
        partlyRead = std::max(partlyRead, count);
        for (TTreeNodeShape *n : loaded.Tree->Shapes())
            QVERIFY(!n->Parent() || n->Parent() == loaded.Tree->Shapes()[0]);
        QCOMPARE(loaded.Tree->Roots().Count(), count > 0 ? 1 : 0);
        for (TTreeConnection *c : loaded.Tree->Connections())
            QVERIFY(c->FromShape() && c->ToShape() && c->ToShape()->Parent() == c->FromShape());
    }
    QCOMPARE(partlyRead, 6); // cut inside the connections

    // Saving the partial diagram over the file it came from is refused, the
    // file stays; another file is fine, and clears the mark.
    QVERIFY(QFile::resize(name, good.size() - 3));
    TOtherHost loaded;
    QCOMPARE(ErrorOf([&] { LoadDiagramFile(*loaded.Tree, name); }), QString(SReadError));
    QCOMPARE(loaded.Tree->PartlyReadFrom(), name);
    QCOMPARE(ErrorOf([&] { SaveDiagramFile(*loaded.Tree, name); }),
             QStringLiteral("The diagram was read from \"%1\" only in part. Save it under another name.").arg(name));
    QCOMPARE(QFileInfo(name).size(), good.size() - 3);
    SaveDiagramFile(*loaded.Tree, dir.filePath(QStringLiteral("rescued")));
    QVERIFY(!loaded.Tree->PartlyRead());
    // A complete load or clearing clears it as well.
    QCOMPARE(ErrorOf([&] { LoadDiagramFile(*loaded.Tree, name); }), QString(SReadError));
    loaded.Tree->Clear();
    QVERIFY(!loaded.Tree->PartlyRead());
    Load(*loaded.Tree, good);
    QVERIFY(!loaded.Tree->PartlyRead());
    QCOMPARE(loaded.Tree->Shapes().Count(), 6);
}

void TestTreeFile::savingNeverDestroysTheFile()
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("doc.abx"));
    THost host;
    host.Tree->AddRoot(QStringLiteral("first version"));
    SaveDiagramFile(*host.Tree, name);
    QFile f(name);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray first = f.readAll();
    f.close();
    QCOMPARE(first, Save(*host.Tree));

    // Writing fails half-way (a name no record can hold): the file stays.
    TTreeNodeShape *bad = host.Tree->AddRoot(QStringLiteral("second"));
    bad->SetName(QStringLiteral("N") + QString(300, QLatin1Char('x')));
    QCOMPARE(ErrorOf([&] { SaveDiagramFile(*host.Tree, name); }), QString(SWriteError));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), first);
    f.close();
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("doc.abx")});
    // So does a failing part after the diagram.
    bad->SetName(QStringLiteral("Second"));
    QCOMPARE(ErrorOf([&] { SaveDiagramFile(*host.Tree, name, [](TWriter &) { throw EWriteError(SWriteError); }); }),
             QString(SWriteError));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), first);
    f.close();
    // A file that cannot be created.
    QVERIFY(ErrorOf([&] { SaveDiagramFile(*host.Tree, dir.filePath(QStringLiteral("no/such/dir/x"))); })
                .startsWith(QStringLiteral("Cannot create file")));
    // A device that fails: the writer's error, the diagram's name kept.
    host.Tree->SetName(QStringLiteral("Tree1"));
    QBuffer closed;
    QCOMPARE(ErrorOf([&] { SaveDiagram(*host.Tree, closed); }), QString(SWriteError));
    QCOMPARE(host.Tree->Name(), QStringLiteral("Tree1"));
    SaveDiagramFile(*host.Tree, name);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), Save(*host.Tree));
}

void TestTreeFile::loadKeepsTheControlAndDesigns()
{
    TComponent owner;
    owner.SetName(QStringLiteral("TreeEditor1"));
    auto *source = new TPlacedDiagram(&owner);
    source->SetNoOwnerShapes(false);
    source->SetLeft(50);
    source->SetControlVisible(false);
    source->DefaultFormat().SetShapeClass(&TProbeShape::StaticClassInfo());
    source->AddRoot(QStringLiteral("probe"));
    source->AddRoot(QStringLiteral("probe"));
    const QByteArray bytes = Save(*source);
    // Shown while it is written, hidden again afterwards.
    QVERIFY(!bytes.contains(Short("Visible")));
    QVERIFY(bytes.contains(Short("Left") + QByteArray::fromHex("0232")));
    QVERIFY(bytes.startsWith(Header("TPlacedDiagram")));
    QVERIFY(!source->ControlVisible());

    TComponent otherOwner;
    auto *target = new TPlacedDiagram(&otherOwner);
    target->SetLeft(10);
    target->SetAutoRepaint(true);
    TProbeShape::LoadedWhileDesigning = 0;
    Load(*target, bytes);
    QCOMPARE(TProbeShape::LoadedWhileDesigning, 2);
    QVERIFY(!target->Designing());
    QCOMPARE(target->Left(), 10);
    QVERIFY(target->AutoRepaint());
    QCOMPARE(target->Shapes().Count(), 2);
    // Elements of a diagram without owner's name still load (owned by the
    // diagram's owner).
    QCOMPARE(target->Shapes()[0]->Owner(), &otherOwner);

    // A diagram in its design state stays designing.
    target->TComponent::SetDesigning(true);
    Load(*target, bytes);
    QVERIFY(target->Designing());
}

void TestTreeFile::visibilityAndHierarchySurvive()
{
    THost host;
    TTreeNodeShape *root = host.Tree->AddRoot(QStringLiteral("root"));
    TTreeNodeShape *open = root->AddChild(QStringLiteral("open"));
    TTreeNodeShape *closed = root->AddChild(QStringLiteral("closed"));
    open->AddChild(QStringLiteral("a"));
    TTreeNodeShape *hidden = open->AddChild(QStringLiteral("hidden"));
    closed->AddChild(QStringLiteral("b"));
    root->SetExpanded(true);
    open->SetExpanded(true);
    hidden->SetVisible(false); // hidden under an expanded parent
    open->BringToFront();     // after its own children in the file
    QCOMPARE(root->Child(1), open);
    const QByteArray bytes = Save(*host.Tree);
    Seed(QStringLiteral("hierarchy"), bytes);

    THost loaded;
    Load(*loaded.Tree, bytes);
    QCOMPARE(loaded.Tree->Shapes().Count(), host.Tree->Shapes().Count());
    for (int i = 0; i < host.Tree->Shapes().Count(); ++i) {
        TTreeNodeShape *n = host.Tree->Shapes()[i];
        TTreeNodeShape *m = loaded.Tree->Shapes()[i];
        QCOMPARE(m->Name(), n->Name());
        QCOMPARE(m->Visible(), n->Visible());
        QCOMPARE(m->Expanded(), n->Expanded());
        QCOMPARE(m->BrotherIndex(), n->BrotherIndex());
        QCOMPARE(m->Parent() ? m->Parent()->Name() : QString(), n->Parent() ? n->Parent()->Name() : QString());
        QCOMPARE(m->ChildCount(), n->ChildCount());
        for (int k = 0; k < n->ChildCount(); ++k)
            QCOMPARE(m->Child(k)->Name(), n->Child(k)->Name());
    }
    QCOMPARE(Save(*loaded.Tree), bytes);

    // A node given another parent goes last among its new brothers, and a
    // node made a root last among the roots, wherever it stands among all
    // the nodes; the file keeps both orders.
    const auto outline = [](const TTreeDocument &tree) {
        QStringList lines;
        std::function<void(const TTreeNodeShape *, int)> walk = [&](const TTreeNodeShape *n, int depth) {
            lines << QString(depth, QLatin1Char(' ')) + n->SimpleText();
            for (int k = 0; k < n->ChildCount(); ++k)
                walk(n->Child(k), depth + 1);
        };
        for (int i = 0; i < tree.Roots().Count(); ++i)
            walk(tree.Roots()[i], 0);
        return lines;
    };
    THost moved;
    TTreeNodeShape *a = moved.Tree->AddRoot(QStringLiteral("a"));
    TTreeNodeShape *first = a->AddChild(QStringLiteral("first"));
    TTreeNodeShape *x = moved.Tree->AddRoot(QStringLiteral("x"));
    TTreeNodeShape *early = x->AddChild(QStringLiteral("early"));
    a->AddChild(QStringLiteral("late"));
    early->SetParent(a);
    first->SetParent(nullptr);
    const QStringList expected{QStringLiteral("a"), QStringLiteral(" late"), QStringLiteral(" early"),
                               QStringLiteral("x"), QStringLiteral("first")};
    QCOMPARE(outline(*moved.Tree), expected);
    THost movedLoaded;
    Load(*movedLoaded.Tree, Save(*moved.Tree));
    QCOMPARE(outline(*movedLoaded.Tree), expected);
    // Nodes of one parent only trade places among themselves in the file.
    QStringList order;
    for (int i = 0; i < movedLoaded.Tree->Shapes().Count(); ++i)
        order << movedLoaded.Tree->Shapes()[i]->SimpleText();
    QCOMPARE(order, (QStringList{QStringLiteral("a"), QStringLiteral("x"), QStringLiteral("first"),
                                 QStringLiteral("late"), QStringLiteral("early")}));
}

void TestTreeFile::noOwnerModeWritesOwnedElementsOnly()
{
    THost host;
    TTreeNodeShape *a = host.Tree->AddRoot(QStringLiteral("owned a"));
    TTreeNodeShape *b = host.Tree->AddRoot(QStringLiteral("owned b"));
    host.Tree->SetNoOwnerShapes(true);
    TTreeNodeShape *free1 = host.Tree->AddRoot(QStringLiteral("free"));
    QVERIFY(!free1->Owner());
    TTreeConnection *ab = a->AddConnection(b); // without owner, between owned nodes
    a->AddConnection(free1);
    free1->AddConnection(b);
    QVERIFY(!ab->Owner());

    TOtherHost loaded;
    Load(*loaded.Tree, Save(*host.Tree));
    QCOMPARE(loaded.Tree->Shapes().Count(), 2);
    QCOMPARE(loaded.Tree->Connections().Count(), 1);
    TTreeConnection *c = loaded.Tree->Connections()[0];
    QCOMPARE(c->FromShape()->SimpleText(), QStringLiteral("owned a"));
    QCOMPARE(c->ToShape()->SimpleText(), QStringLiteral("owned b"));
}

QTEST_MAIN(TestTreeFile)
#include "tst_tree_file.moc"
