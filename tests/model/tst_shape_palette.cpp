// The shape palette registry (order, first registration wins, removal,
// enumeration, registration for files) and the file form of every shape
// class of the standard page and of the gallery bases.

#include "TreeTestUtil.h"

#include "core/Reader.h"
#include "core/Writer.h"
#include "model/TreeFile.h"

#include <QBuffer>
#include <QtTest>

namespace {

class TTestStar : public TCustomTreeShape
{
    DX_OBJECT(TTestStar)
public:
    using TCustomTreeShape::TCustomTreeShape;
};

const TClassInfo &TTestStar::StaticClassInfo()
{
    static const TClassInfo info("TTestStar", &TCustomTreeShape::StaticClassInfo());
    return info;
}

class TTestMoon : public TCustomTreeShape
{
    DX_OBJECT(TTestMoon)
public:
    using TCustomTreeShape::TCustomTreeShape;
};

const TClassInfo &TTestMoon::StaticClassInfo()
{
    static const TClassInfo info("TTestMoon", &TCustomTreeShape::StaticClassInfo());
    return info;
}

// "page/name/class" of every record, in list order.
QStringList Palette()
{
    QStringList rows;
    for (const TTreeCustomShapePalette &e : PaletteShapes())
        rows << e.Page + QLatin1Char('/') + e.Name + QLatin1Char('/') + e.ShapeClass->Name();
    return rows;
}

QByteArray Write(TComponent &component)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    TWriter writer(buffer);
    writer.WriteRootComponent(component);
    return buffer.data();
}

template <class T>
std::unique_ptr<T> Read(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    reader.ReadSignature();
    std::unique_ptr<TComponent> read = reader.ReadRootComponent();
    if (!dynamic_cast<T *>(read.get()))
        return nullptr;
    return std::unique_ptr<T>(static_cast<T *>(read.release()));
}

template <class T>
std::unique_ptr<T> RoundTrip(T &shape)
{
    return Read<T>(Write(shape));
}

} // namespace

class TestShapePalette : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void standardPageInOrder();
    void firstRegistrationWins();
    void removalAndEnumeration();
    void polygonsThroughFiles();
    void otherShapesThroughFiles();
    void everyClassThroughDiagramFiles();
};

void TestShapePalette::initTestCase()
{
    RegisterModelClasses();
}

void TestShapePalette::standardPageInOrder()
{
    const QStringList standard{
        QStringLiteral("Standard/Polygon/TPolygonShape"),
        QStringLiteral("Standard/PolyLine/TPolyLineShape"),
        QStringLiteral("Standard/Image/TImageShape"),
        QStringLiteral("Standard/Text/TTextShape"),
    };
    QCOMPARE(Palette(), standard);
    // Registering again changes nothing.
    RegisterStandardShapes();
    QCOMPARE(Palette(), standard);

    // Every class of the page can be named by files, and so can the bases
    // of the galleries, which are not on the palette.
    const TClassRegistry &files = TClassRegistry::Instance();
    for (const char *name : {"TPolygonShape", "TPolyLineShape", "TImageShape", "TTextShape", "TCustomTreeShape",
                             "TTreeCustomPolygonShape"})
        QVERIFY2(files.IsRegistered(QLatin1String(name)), name);
    QVERIFY(!FindPaletteShape(TCustomTreeShape::StaticClassInfo()));

    // A record creates shapes of its class.
    const TTreeCustomShapePalette *polyLine = FindPaletteShape(TPolyLineShape::StaticClassInfo());
    QVERIFY(polyLine);
    std::unique_ptr<TTreeNodeShape> made(polyLine->CreateShape());
    QVERIFY(dynamic_cast<TPolyLineShape *>(made.get()));
}

void TestShapePalette::firstRegistrationWins()
{
    const QStringList before = Palette();
    QVERIFY(!AddPaletteShape<TPolygonShape>(QStringLiteral("Other"), QStringLiteral("Another polygon")));
    QCOMPARE(Palette(), before);
    QCOMPARE(FindPaletteShape(TPolygonShape::StaticClassInfo())->Name, QStringLiteral("Polygon"));

    // A new class goes to the end and becomes known to files.
    QVERIFY(!TClassRegistry::Instance().IsRegistered(QStringLiteral("TTestStar")));
    QVERIFY(AddPaletteShape<TTestStar>(QStringLiteral("Sky"), QStringLiteral("Star")));
    QVERIFY(!AddPaletteShape<TTestStar>(QStringLiteral("Other"), QStringLiteral("Twinkle")));
    QCOMPARE(Palette(), before + QStringList{QStringLiteral("Sky/Star/TTestStar")});
    QVERIFY(TClassRegistry::Instance().IsRegistered(QStringLiteral("TTestStar")));
    std::unique_ptr<TComponent> fromFile(TClassRegistry::Instance().Create(QStringLiteral("TTestStar"), nullptr));
    QVERIFY(dynamic_cast<TTestStar *>(fromFile.get()));

    // Only node classes have a place on the palette.
    QVERIFY(!AddPaletteShape(QStringLiteral("Sky"), QStringLiteral("Link"), TTreeConnection::StaticClassInfo(),
                             [](TComponent *owner) -> TComponent * { return new TTreeConnection(owner); }));
    QVERIFY(!AddPaletteShape(QStringLiteral("Sky"), QStringLiteral("Moon"), TTestMoon::StaticClassInfo(), nullptr));
    QCOMPARE(Palette().size(), before.size() + 1);

    RemovePaletteShapes({&TTestStar::StaticClassInfo()});
    QCOMPARE(Palette(), before);
}

void TestShapePalette::removalAndEnumeration()
{
    const QStringList before = Palette();
    QVERIFY(AddPaletteShape<TTestMoon>(QStringLiteral("Sky"), QStringLiteral("Moon")));
    QVERIFY(AddPaletteShape<TTestStar>(QStringLiteral("Sky"), QStringLiteral("Star")));

    // The walk sees the records there were when it began, in order, even
    // when the list changes under it.
    QStringList walked;
    ForEachPaletteShape([&walked](const TTreeCustomShapePalette &e) {
        if (walked.isEmpty())
            RemovePaletteShapes({&TTestStar::StaticClassInfo()});
        walked << e.Name;
    });
    QCOMPARE(walked, (QStringList{QStringLiteral("Polygon"), QStringLiteral("PolyLine"), QStringLiteral("Image"),
                                  QStringLiteral("Text"), QStringLiteral("Moon"), QStringLiteral("Star")}));
    QCOMPARE(Palette(), before + QStringList{QStringLiteral("Sky/Moon/TTestMoon")});

    // Classes without a record are passed over; removed classes stay
    // readable from files and can come back, at the end.
    RemovePaletteShapes({&TTestStar::StaticClassInfo(), &TTestMoon::StaticClassInfo()});
    QCOMPARE(Palette(), before);
    QVERIFY(TClassRegistry::Instance().IsRegistered(QStringLiteral("TTestMoon")));
    QVERIFY(AddPaletteShape<TTestMoon>(QStringLiteral("Night"), QStringLiteral("Moon")));
    QCOMPARE(Palette().last(), QStringLiteral("Night/Moon/TTestMoon"));
    RemovePaletteShapes(std::vector<const TClassInfo *>{&TTestMoon::StaticClassInfo()});
    QCOMPARE(Palette(), before);
}

void TestShapePalette::polygonsThroughFiles()
{
    TPolygonShape polygon;
    for (const TPoint &p : TPointArray{{10, 20}, {-5, 7}, {0, 0}, {300000, -70000}})
        polygon.AddVertex(p.X, p.Y);
    polygon.SetColor(clRed);
    // The file records a fixed position and an automatic size...
    polygon.SetX0(3);
    polygon.SetY0(4);
    QVERIFY(polygon.AutoSize());
    const QByteArray bytes = Write(polygon);
    QVERIFY(bytes.contains("Points"));

    std::unique_ptr<TPolygonShape> read = Read<TPolygonShape>(bytes);
    QVERIFY(read);
    QCOMPARE(read->ClassName(), QStringLiteral("TPolygonShape"));
    QCOMPARE(read->Points()->Positions(), polygon.Points()->Positions());
    QCOMPARE(read->Color(), clRed);
    // ...which a loaded polygon ignores: its vertices decide.
    QVERIFY(!read->AutoSize());
    QVERIFY(read->AutoPosition()->Left());
    QVERIFY(read->AutoPosition()->Top());
    QVERIFY(!read->SizeValid());
    read->CalcSize(nullptr);
    QCOMPARE(TRect(read->X0(), read->Y0(), read->X1(), read->Y1()), TRect(-5, -70000, 300000, 20));

    // Written again, it reads back the same.
    std::unique_ptr<TPolygonShape> again = RoundTrip(*read);
    QVERIFY(again);
    QCOMPARE(again->Points()->Positions(), polygon.Points()->Positions());

    TPolyLineShape line;
    line.AddVertex(1, 1);
    std::unique_ptr<TPolyLineShape> readLine = RoundTrip(line);
    QVERIFY(readLine);
    QVERIFY(readLine->IsOpen());
    QCOMPARE(readLine->Points()->Positions(), (TPointArray{{1, 1}}));

    // An empty polygon stays empty.
    TPolygonShape empty;
    std::unique_ptr<TPolygonShape> readEmpty = RoundTrip(empty);
    QVERIFY(readEmpty);
    QCOMPARE(readEmpty->PointCount(), 0);
}

void TestShapePalette::otherShapesThroughFiles()
{
    // AngleOffset is written even at 0, and read back.
    TTreeCustomPolygonShape regular;
    QVERIFY(Write(regular).contains("AngleOffset"));
    regular.SetAngleOffset(22.5);
    std::unique_ptr<TTreeCustomPolygonShape> readRegular = RoundTrip(regular);
    QVERIFY(readRegular);
    QCOMPARE(readRegular->AngleOffset(), 22.5);

    // A gallery shape writes its style only when the user changed it.
    TCustomTreeShape custom;
    QVERIFY(!Write(custom).contains("Style"));
    std::unique_ptr<TCustomTreeShape> readCustom = RoundTrip(custom);
    QVERIFY(readCustom);
    QCOMPARE(readCustom->Style(), tssCustom);
    custom.SetStyle(tssDiamond);
    custom.SetImageIndex(tiFolderOpenClose);
    readCustom = RoundTrip(custom);
    QVERIFY(readCustom);
    QCOMPARE(readCustom->Style(), tssDiamond);
    QCOMPARE(readCustom->ImageIndex(), tiFolderOpenClose);

    TImageShape image;
    std::unique_ptr<TImageShape> readImage = RoundTrip(image);
    QVERIFY(readImage);
    QCOMPARE(readImage->ImageIndex(), tiMyPC);
    QCOMPARE(readImage->ImageAlignment(), iaCenter);
    QVERIFY(readImage->Transparent());
    QVERIFY(!readImage->EffectiveBorder()->Visible());
    image.SetImageIndex(tiWorld);
    image.SetImageAlignment(iaLeft);
    image.Border()->SetVisible(true);
    readImage = RoundTrip(image);
    QVERIFY(readImage);
    QCOMPARE(readImage->ImageIndex(), tiWorld);
    QCOMPARE(readImage->ImageAlignment(), iaLeft);
    QVERIFY(readImage->EffectiveBorder()->Visible());

    TTextShape text;
    std::unique_ptr<TTextShape> readText = RoundTrip(text);
    QVERIFY(readText);
    QVERIFY(readText->Transparent());
    QVERIFY(!readText->EffectiveBorder()->Visible());
    text.SetTransparent(false);
    readText = RoundTrip(text);
    QVERIFY(readText);
    QVERIFY(!readText->Transparent());
}

void TestShapePalette::everyClassThroughDiagramFiles()
{
    THost host;
    TTreeDocument &tree = *host.Tree;
    auto add = [&tree](const TClassInfo &cls, const QString &text) {
        tree.DefaultFormat().SetShapeClass(&cls);
        return tree.AddRoot(text);
    };
    TTreeNodeShape *node = add(TTreeNodeShape::StaticClassInfo(), QStringLiteral("node"));
    TTreeNodeShape *image = add(TImageShape::StaticClassInfo(), QString());
    image->SetImageIndex(tiWorld);
    add(TTextShape::StaticClassInfo(), QStringLiteral("note"));
    add(TCustomTreeShape::StaticClassInfo(), QString())->SetStyle(tssDiamond);
    add(TTreeCustomPolygonShape::StaticClassInfo(), QString());

    TPolygonShape *polygon = BeginPolygonDrawing(tree, TPolygonShape::StaticClassInfo(), 10, 10);
    polygon->MoveLastVertex(50, 10);
    polygon->AddVertex(50, 10);
    polygon->MoveLastVertex(30, 40);
    polygon->AddVertex(30, 40);
    EndPolygonDrawing(polygon);
    polygon->UserMove(5, 5, false);
    polygon->SetParent(node);
    TPolygonShape *line = BeginPolygonDrawing(tree, TPolyLineShape::StaticClassInfo(), 100, 0);
    line->MoveLastVertex(100, 80);
    line->AddVertex(100, 80);
    EndPolygonDrawing(line);

    QBuffer out;
    out.open(QIODevice::WriteOnly);
    SaveDiagram(tree, out);

    THost loaded;
    QBuffer in;
    in.setData(out.data());
    in.open(QIODevice::ReadOnly);
    LoadDiagram(*loaded.Tree, in);
    const TTreeShapeList &shapes = loaded.Tree->Shapes();
    QStringList classes;
    for (TTreeNodeShape *s : shapes)
        classes << s->ClassName();
    QCOMPARE(classes, (QStringList{QStringLiteral("TTreeNodeShape"), QStringLiteral("TImageShape"),
                                   QStringLiteral("TTextShape"), QStringLiteral("TCustomTreeShape"),
                                   QStringLiteral("TTreeCustomPolygonShape"), QStringLiteral("TPolygonShape"),
                                   QStringLiteral("TPolyLineShape")}));
    QCOMPARE(shapes[1]->ImageIndex(), tiWorld);
    QCOMPARE(shapes[2]->SimpleText(), QStringLiteral("note"));
    QCOMPARE(shapes[3]->Style(), tssDiamond);
    QCOMPARE(shapes[3]->ImageIndex(), tiNone);

    auto *readPolygon = dynamic_cast<TPolygonShape *>(shapes[5]);
    QVERIFY(readPolygon);
    QCOMPARE(readPolygon->Points()->Positions(), (TPointArray{{15, 15}, {55, 15}, {35, 45}}));
    QCOMPARE(readPolygon->Parent(), shapes[0]);
    QVERIFY(!readPolygon->AutoSize());
    QVERIFY(readPolygon->AutoPosition()->Left());
    QVERIFY(readPolygon->AutoPosition()->Top());
    QVERIFY(!readPolygon->SizeValid());
    QCOMPARE(readPolygon->X1(), 55);
    auto *readLine = dynamic_cast<TPolyLineShape *>(shapes[6]);
    QVERIFY(readLine);
    QCOMPARE(readLine->Points()->Positions(), (TPointArray{{100, 0}, {100, 80}}));
    QVERIFY(readLine->PointInShape(102, 40));
}

QTEST_MAIN(TestShapePalette)
#include "tst_shape_palette.moc"
