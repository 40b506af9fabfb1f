// The shape palette registry (order, first registration wins, removal,
// enumeration, registration for files) and every shape class of the
// standard page and the gallery bases through a diagram file.

#include "TreeTestUtil.h"

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

} // namespace

class TestShapePalette : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void standardPageInOrder();
    void firstRegistrationWins();
    void removalAndEnumeration();
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
    image->SetImageAlignment(iaLeft);
    image->Border()->SetVisible(true);
    add(TTextShape::StaticClassInfo(), QStringLiteral("note"));
    add(TCustomTreeShape::StaticClassInfo(), QString())->SetStyle(tssDiamond);
    add(TCustomTreeShape::StaticClassInfo(), QString());
    auto *regular = static_cast<TTreeCustomPolygonShape *>(add(TTreeCustomPolygonShape::StaticClassInfo(), QString()));

    TPolygonShape *polygon = BeginPolygonDrawing(tree, TPolygonShape::StaticClassInfo(), 10, 10);
    polygon->MoveLastVertex(50, 10);
    polygon->AddVertex(50, 10);
    polygon->MoveLastVertex(30, 40);
    polygon->AddVertex(30, 40);
    EndPolygonDrawing(polygon);
    polygon->AddVertex(300000, -70000);
    // Its position fixed and its size automatic: neither survives a load.
    polygon->UserMove(5, 5, false);
    polygon->SetAutoSize(true);
    polygon->SetParent(node);
    TPolygonShape *line = BeginPolygonDrawing(tree, TPolyLineShape::StaticClassInfo(), 100, 0);
    line->MoveLastVertex(100, 80);
    line->AddVertex(100, 80);
    EndPolygonDrawing(line);

    const auto saveAndLoad = [&tree](THost &loaded) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        SaveDiagram(tree, out);
        QBuffer in;
        in.setData(out.data());
        in.open(QIODevice::ReadOnly);
        LoadDiagram(*loaded.Tree, in);
        return out.data();
    };
    // AngleOffset is written even at 0.
    THost first;
    QVERIFY(saveAndLoad(first).contains("AngleOffset"));
    regular->SetAngleOffset(22.5);

    THost loaded;
    saveAndLoad(loaded);
    const TTreeShapeList &shapes = loaded.Tree->Shapes();
    QStringList classes;
    for (TTreeNodeShape *s : shapes)
        classes << s->ClassName();
    QCOMPARE(classes, (QStringList{QStringLiteral("TTreeNodeShape"), QStringLiteral("TImageShape"),
                                   QStringLiteral("TTextShape"), QStringLiteral("TCustomTreeShape"),
                                   QStringLiteral("TCustomTreeShape"), QStringLiteral("TTreeCustomPolygonShape"),
                                   QStringLiteral("TPolygonShape"), QStringLiteral("TPolyLineShape")}));
    QCOMPARE(shapes[1]->ImageIndex(), tiWorld);
    QCOMPARE(shapes[1]->ImageAlignment(), iaLeft);
    QVERIFY(shapes[1]->EffectiveBorder()->Visible());
    QCOMPARE(shapes[2]->SimpleText(), QStringLiteral("note"));
    QVERIFY(shapes[2]->Transparent());
    QCOMPARE(shapes[3]->Style(), tssDiamond);
    QCOMPARE(shapes[3]->ImageIndex(), tiNone);
    QCOMPARE(shapes[4]->Style(), tssCustom);
    QCOMPARE(static_cast<TTreeCustomPolygonShape *>(shapes[5])->AngleOffset(), 22.5);

    auto *readPolygon = dynamic_cast<TPolygonShape *>(shapes[6]);
    QVERIFY(readPolygon);
    QCOMPARE(readPolygon->Points()->Positions(),
             (TPointArray{{15, 15}, {55, 15}, {35, 45}, {300005, -69995}}));
    QCOMPARE(readPolygon->Parent(), shapes[0]);
    QVERIFY(!readPolygon->AutoSize());
    QVERIFY(readPolygon->AutoPosition()->Left());
    QVERIFY(readPolygon->AutoPosition()->Top());
    QVERIFY(!readPolygon->SizeValid());
    QCOMPARE(readPolygon->X1(), 300005);
    auto *readLine = dynamic_cast<TPolyLineShape *>(shapes[7]);
    QVERIFY(readLine);
    QCOMPARE(readLine->Points()->Positions(), (TPointArray{{100, 0}, {100, 80}}));
    QVERIFY(readLine->PointInShape(102, 40));
}

QTEST_MAIN(TestShapePalette)
#include "tst_shape_palette.moc"
