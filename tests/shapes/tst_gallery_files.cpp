// The galleries as the palette and files see them: the pages and buttons
// in registration order, the older class names files may hold, what a
// shape of each class stores, and a diagram with one node of every class
// read back and written again byte for byte.

#include "GalleryTestUtil.h"
#include "TreeTestUtil.h"

#include "core/ClassRegistry.h"
#include "core/Collection.h"
#include "core/PropAccess.h"
#include "model/ShapePalette.h"
#include "shapes/ShapesConst.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <array>
#include <numeric>

using namespace GalleryTest;

namespace {

// The classes files may name without a palette button.
const QStringList kFileOnly{"TConditionShape", "TTitleShape", "TCardShape", "TManualShape", "TDataShape", "TTapeShape",
                            "TGridCellShape"};

// Every gallery class: the palette's beyond the standard page, then the
// file-only ones a diagram can hold as nodes.
QStringList GalleryClasses()
{
    QStringList names;
    for (const TTreeCustomShapePalette &entry : PaletteShapes())
        if (entry.Page != QLatin1String("Standard"))
            names << entry.ShapeClass->Name();
    for (const QString &name : kFileOnly)
        if (name != QLatin1String("TGridCellShape"))
            names << name;
    return names;
}

// Node i of a diagram, `columns` to a row, so a page or the whole set
// fits the viewer's window.
TTreeNodeShape *AddNode(THost &host, const QString &className, int i, int columns = 5)
{
    auto *node = dynamic_cast<TTreeNodeShape *>(TClassRegistry::Instance().Create(className, host.Owner.get()));
    node->SetName(host.Owner->UniqueName(className));
    node->SetTree(host.Tree);
    const int w = columns > 5 ? 70 : 110, h = w * 8 / 11;
    const int x = 15 + (i % columns) * (w + w / 4), y = 15 + (i / columns) * (h + h / 4);
    Place(node, x, y, x + w, y + h);
    return node;
}

} // namespace

class TestGalleryFiles : public QObject
{
    Q_OBJECT
private slots:
    // A sign that comes with its word ("STOP") keeps a cleared text cleared
    // through a file.
    void clearedSignWordStaysCleared()
    {
        RegisterShapeGalleries();
        for (const char *cls : {"TStopShape", "TYieldShape", "TSlowShape", "TDangerShape"}) {
            TComponent owner;
            TTreeDocument tree(&owner);
            tree.SetNoOwnerShapes(false);
            tree.DefaultFormat().SetShapeClass(TClassRegistry::Instance().GetClass(QString::fromLatin1(cls)));
            TTreeNodeShape *sign = tree.AddRoot();
            QVERIFY2(sign->LineCount() == 1, cls);
            sign->SetSimpleText(QString());
            QBuffer file;
            file.open(QIODevice::ReadWrite);
            SaveDiagram(tree, file);
            file.seek(0);
            TComponent other;
            TTreeDocument copy(&other);
            copy.SetNoOwnerShapes(false);
            LoadDiagram(copy, file);
            QCOMPARE(copy.Roots().Count(), 1);
            QVERIFY2(copy.Roots()[0]->LineCount() == 0, cls);
        }
    }
    void initTestCase() { RegisterShapeGalleries(); }
    void palettePagesInOrder();
    void olderNamesLoadAsTheirBase();
    void classesKeepTheirNameAndParent_data();
    void classesKeepTheirNameAndParent();
    void whatADefaultShapeStores_data();
    void whatADefaultShapeStores();
    void everyClassRoundTrips_data();
    void everyClassRoundTrips();
    void changedPropertiesSurvive();
    void plainDefaultsPutBackSurvive();
};

void TestGalleryFiles::palettePagesInOrder()
{
    // Registering again changes nothing.
    const size_t count = PaletteShapes().size();
    RegisterShapeGalleries();
    QCOMPARE(PaletteShapes().size(), count);

    QStringList pages;
    QMap<QString, QStringList> names;
    for (const TTreeCustomShapePalette &entry : PaletteShapes()) {
        if (pages.isEmpty() || pages.last() != entry.Page)
            pages << entry.Page;
        names[entry.Page] << entry.Name;
        const std::unique_ptr<TTreeNodeShape> shape(entry.CreateShape());
        QVERIFY(shape && shape->InheritsFrom(*entry.ShapeClass));
    }
    QCOMPARE(pages.mid(0, 3), (QStringList{"Standard", "FlowChart", "Other"}));
    QCOMPARE(names["FlowChart"].size(), 17);
    QCOMPARE(names["FlowChart"].first(), QStringLiteral("Decision"));
    QCOMPARE(names["FlowChart"].last(), QStringLiteral("Magnetic Tape"));
    QCOMPARE(names["Other"].size(), 17);
    QCOMPARE(names["Other"].mid(14), (QStringList{"Start", "Grid", "Bevel"}));
    // The captions are texts a language may change.
    QCOMPARE(TMessageText::Find(QStringLiteral("SFlowChartPage")), &SFlowChartPage);
    QCOMPARE(TMessageText::Find(QStringLiteral("SOtherPage")), &SOtherPage);

    for (const QString &name : kFileOnly) {
        const TClassInfo *info = TClassRegistry::Instance().GetClass(name);
        QVERIFY2(info, qPrintable(name));
        QVERIFY(!FindPaletteShape(*info));
    }
}

void TestGalleryFiles::olderNamesLoadAsTheirBase()
{
    THost host;
    TTreeNodeShape *node = AddNode(host, QStringLiteral("TConditionShape"), 0);
    node->SetSimpleText(QStringLiteral("x > 0?"));
    const QByteArray bytes = Save(*host.Tree);
    THost loaded;
    Load(*loaded.Tree, bytes);
    auto *decision = dynamic_cast<TDecisionShape *>(loaded.Tree->Shapes()[0]);
    QVERIFY(decision);
    QCOMPARE(decision->ClassName(), QStringLiteral("TConditionShape"));
    QCOMPARE(decision->Style(), tssDiamond);
    QCOMPARE(decision->Color(), clRed);
    QCOMPARE(decision->EffectiveFont()->Color(), clWhite);
}

void TestGalleryFiles::classesKeepTheirNameAndParent_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("parent");
    // Classes that differ from their base only in name and a constant share
    // one template: each must still be a class of its own in files.
    const QList<QPair<const char *, const char *>> rows{
        {"TFlowChartCircleShape", "TFlowChartShape"},
        {"TProcessShape", "TFlowChartShape"},
        {"TConnectorShape", "TFlowChartShape"},
        {"TDecisionShape", "TFlowChartShape"},
        {"TPredefinedProcessShape", "TProcessShape"},
        {"TTerminalShape", "TFlowChartShape"},
        {"TManualOperationShape", "TFlowChartShape"},
        {"TSelectShape", "TFlowChartShape"},
        {"TDocumentShape", "TFlowChartShape"},
        {"TPunchTapeShape", "TFlowChartShape"},
        {"TDelayShape", "TFlowChartShape"},
        {"TManualInputShape", "TFlowChartShape"},
        {"TOnlineStorageShape", "TFlowChartShape"},
        {"TAndShape", "TFlowChartCircleShape"},
        {"TOrShape", "TFlowChartCircleShape"},
        {"TMagneticTapeShape", "TFlowChartCircleShape"},
        {"TConditionShape", "TDecisionShape"},
        {"TTitleShape", "TInputOutputShape"},
        {"TCardShape", "TPunchCardShape"},
        {"TManualShape", "TManualInputShape"},
        {"TDataShape", "TOnlineStorageShape"},
        {"TTapeShape", "TMagneticTapeShape"},
        {"TArrowUpShape", "TTreeCustomArrowShape"},
        {"TArrowDownShape", "TTreeCustomArrowShape"},
        {"TArrowLeftShape", "TTreeCustomArrowShape"},
        {"TArrowRightShape", "TTreeCustomArrowShape"},
        {"TTriangleRectShape", "TCustomTreeShape"},
        {"TTriangleRectRightShape", "TTriangleRectShape"},
        {"TTriangleRectLeftShape", "TTriangleRectShape"},
    };
    for (const auto &[name, parent] : rows)
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(parent);
}

void TestGalleryFiles::classesKeepTheirNameAndParent()
{
    QFETCH(QString, className);
    QFETCH(QString, parent);
    const TClassInfo *info = TClassRegistry::Instance().GetClass(className);
    QVERIFY(info);
    QCOMPARE(info->Name(), className);
    QVERIFY(info->Parent());
    QCOMPARE(info->Parent()->Name(), parent);
    // What the registry makes answers with that same class.
    std::unique_ptr<TComponent> shape(TClassRegistry::Instance().Create(className, nullptr));
    QVERIFY(shape);
    QCOMPARE(&shape->ClassInfo(), info);
    QCOMPARE(shape->ClassName(), className);
}

void TestGalleryFiles::whatADefaultShapeStores_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QStringList>("gallery");
    QTest::addColumn<QStringList>("absent");
    // Properties with no default are always written; a construction value
    // that is the published default is not.
    QTest::newRow("decision") << "TDecisionShape" << QStringList{"Brush", "Color", "Font"} << QStringList{"Style"};
    QTest::newRow("connector") << "TConnectorShape" << QStringList{} << QStringList{"Style", "ImageIndex"};
    QTest::newRow("input/output") << "TInputOutputShape" << QStringList{"Slant"} << QStringList{"Style"};
    QTest::newRow("card") << "TPunchCardShape" << QStringList{} << QStringList{"PercentHoriz", "PercentVert"};
    QTest::newRow("pentagon") << "TPentagonShape" << QStringList{"AngleOffset"} << QStringList{"Style"};
    QTest::newRow("hexagon") << "THexagonShape" << QStringList{"AngleOffset"} << QStringList{};
    QTest::newRow("house") << "THouseShape" << QStringList{"WallSize"} << QStringList{};
    QTest::newRow("envelope") << "TEnvelopeShape" << QStringList{} << QStringList{"OffsetY", "Style"};
    QTest::newRow("ring") << "TRingShape" << QStringList{} << QStringList{"Style"};
    QTest::newRow("arrow") << "TArrowUpShape" << QStringList{} << QStringList{"PercentHoriz", "PercentVert"};
    QTest::newRow("triangle") << "TTriangleRectRightShape" << QStringList{} << QStringList{"Text"};
    QTest::newRow("grid") << "TGridShape" << QStringList{"Columns", "Rows", "GridLines"}
                          << QStringList{"AutoSize", "Transparent"};
    QTest::newRow("bevel") << "TBeveledShape" << QStringList{"Brush"} << QStringList{"Color", "Bevel", "BevelSize"};
    QTest::newRow("class") << "TClassShape" << QStringList{} << QStringList{"ImageIndex", "Style"};
    QTest::newRow("procedure") << "TProcShape" << QStringList{} << QStringList{"Style", "ImageIndex"};
    QTest::newRow("chasis") << "TChasisShape" << QStringList{"Color"} << QStringList{"Style"};
    QTest::newRow("lamp") << "TLampShape" << QStringList{"AngleOffset"} << QStringList{"Color"};
    QTest::newRow("stop") << "TStopShape" << QStringList{"AngleOffset", "Border", "Font"} << QStringList{"Color"};
    QTest::newRow("yield") << "TYieldShape" << QStringList{} << QStringList{"Color", "Style"};
    QTest::newRow("danger") << "TDangerShape" << QStringList{"Font"} << QStringList{"Color", "Style"};
}

void TestGalleryFiles::whatADefaultShapeStores()
{
    QFETCH(QString, className);
    QFETCH(QStringList, gallery);
    QFETCH(QStringList, absent);
    std::unique_ptr<TComponent> shape(TClassRegistry::Instance().Create(className, nullptr));
    const QStringList stored = StoredProps(*shape);
    for (const QString &p : gallery)
        QVERIFY2(stored.contains(p), qPrintable(p + QStringLiteral(" is not stored")));
    for (const QString &p : absent)
        QVERIFY2(!stored.contains(p), qPrintable(p + QStringLiteral(" is stored")));
}

void TestGalleryFiles::everyClassRoundTrips_data()
{
    QTest::addColumn<QStringList>("classes");
    QTest::newRow("all") << GalleryClasses();
    QStringList pages;
    for (const TTreeCustomShapePalette &entry : PaletteShapes())
        if (entry.Page != QLatin1String("Standard") && !pages.contains(entry.Page))
            pages << entry.Page;
    for (const QString &page : pages) {
        QStringList classes;
        for (const TTreeCustomShapePalette &entry : PaletteShapes())
            if (entry.Page == page)
                classes << entry.ShapeClass->Name();
        QTest::newRow(page.toLatin1()) << classes;
    }
}

void TestGalleryFiles::everyClassRoundTrips()
{
    QFETCH(QStringList, classes);
    THost host;
    const int columns = classes.size() > 20 ? 9 : 5;
    for (int i = 0; i < classes.size(); ++i) {
        const TTreeCustomShapePalette *entry = FindPaletteShape(*TClassRegistry::Instance().GetClass(classes[i]));
        AddNode(host, classes[i], i, columns)->SetSimpleText(entry ? entry->Name : classes[i].mid(1));
    }
    const QByteArray first = Save(*host.Tree);

    THost loaded;
    Load(*loaded.Tree, first);
    QCOMPARE(loaded.Tree->Shapes().Count(), classes.size());
    for (int i = 0; i < classes.size(); ++i) {
        TTreeNodeShape *node = loaded.Tree->Shapes()[i];
        QCOMPARE(node->ClassName(), classes[i]);
        QCOMPARE(node->X0(), host.Tree->Shapes()[i]->X0());
        QCOMPARE(node->Width(), host.Tree->Shapes()[i]->Width());
        QCOMPARE(node->Style(), host.Tree->Shapes()[i]->Style());
        QCOMPARE(node->Color(), host.Tree->Shapes()[i]->Color());
    }
    QCOMPARE(Save(*loaded.Tree), first);

    // Seeds for the fuzzers, and pictures to look at.
#ifdef DENDRIX_FUZZ_SEEDS
    QDir().mkpath(QStringLiteral(DENDRIX_FUZZ_SEEDS));
    QFile seed(QStringLiteral(DENDRIX_FUZZ_SEEDS "/galleries-%1.abx").arg(QString::fromLatin1(QTest::currentDataTag())));
    if (seed.open(QIODevice::WriteOnly))
        seed.write(first);
#endif
}

void TestGalleryFiles::changedPropertiesSurvive()
{
    THost host;
    // Node i gets edit i.
    const QList<std::array<const char *, 3>> edits{
        {"TInputOutputShape", "Slant", "0"},
        {"TPunchCardShape", "PercentHoriz", "40"},
        {"TCrossShape", "PercentVert", "10"},
        {"THouseShape", "WallSize", "33.25"},
        {"TEnvelopeShape", "OffsetY", "60"},
        {"TArrowLeftShape", "PercentHoriz", "50"},
        {"TPentagonShape", "AngleOffset", "0"},
        {"TBeveledShape", "Bevel", "bvLowered"},
        {"TBeveledShape", "BevelSize", "4"},
        {"TGridShape", "Columns", "5"},
        {"TDecisionShape", "Style", "tssRectangle"},
        {"TRingShape", "Style", "tssRectangle"},
        {"TTriangleRectLeftShape", "Text.VertAlign", "vtaCenter"},
    };
    for (const auto &[className, prop, value] : edits) {
        TTreeNodeShape *node = AddNode(host, QString::fromLatin1(className), host.Tree->Shapes().Count());
        SetPropText(*node, QString::fromLatin1(prop), QString::fromLatin1(value));
    }
    host.Tree->Shapes().Last()->SetSimpleText(QStringLiteral("centred"));
    const QByteArray first = Save(*host.Tree);

    THost loaded;
    Load(*loaded.Tree, first);
    QCOMPARE(loaded.Tree->Shapes().Count(), host.Tree->Shapes().Count());
    for (int i = 0; i < edits.size(); ++i) {
        const QString prop = QString::fromLatin1(edits[i][1]);
        QCOMPARE(GetPropText(*loaded.Tree->Shapes()[i], prop), GetPropText(*host.Tree->Shapes()[i], prop));
    }
    QCOMPARE(loaded.Tree->Shapes().Last()->Text()->VertAlign(), vtaCenter);
    QCOMPARE(Save(*loaded.Tree), first);
}

// The values a gallery constructor gives (a stop sign's white border, bold
// font, 22.5-degree turn) put back to the plain defaults stay so through a
// file: the constructor does not bring them back on reading.
void TestGalleryFiles::plainDefaultsPutBackSurvive()
{
    THost host;
    QList<QStringList> changed; // node i: the paths put back
    const QStringList classes = GalleryClasses();
    for (int i = 0; i < classes.size(); ++i) {
        TTreeNodeShape *node = AddNode(host, classes[i], i, 9);
        QStringList paths;
        const auto putBack = [&paths](TPersistent &object, const QString &prefix) {
            for (const TPropInfo &prop : object.ClassInfo().Properties()) {
                if (prop.IsReadOnly() || prop.StoredRule)
                    continue;
                if (prop.Type == TPropType::Float && prop.GetFloat(object) != prop.DefaultFloat)
                    prop.SetFloat(object, prop.DefaultFloat);
                else if (prop.IsOrdinal() && prop.HasDefault && prop.GetOrd(object) != prop.DefaultOrd)
                    prop.SetOrd(object, prop.DefaultOrd);
                else
                    continue;
                paths << prefix + prop.Name;
            }
        };
        putBack(*node, QString());
        for (const TPropInfo &prop : node->ClassInfo().Properties())
            if (prop.Type == TPropType::Object)
                if (TPersistent *sub = prop.PeekObject(*node); sub && !dynamic_cast<TCollection *>(sub))
                    putBack(*sub, prop.Name + QLatin1Char('.'));
        changed << paths;
    }
    QVERIFY2(std::accumulate(changed.begin(), changed.end(), 0,
                             [](int n, const QStringList &paths) { return n + int(paths.size()); }) >= 4,
             "the galleries give their borders and fonts values of their own");

    const QByteArray first = Save(*host.Tree);
    THost loaded;
    Load(*loaded.Tree, first);
    QCOMPARE(loaded.Tree->Shapes().Count(), classes.size());
    for (int i = 0; i < classes.size(); ++i)
        for (const QString &path : changed[i])
            QVERIFY2(GetPropText(*loaded.Tree->Shapes()[i], path) == GetPropText(*host.Tree->Shapes()[i], path),
                     qPrintable(classes[i] + QLatin1Char(' ') + path));
    QCOMPARE(Save(*loaded.Tree), first);
}

QTEST_MAIN(TestGalleryFiles)
#include "tst_gallery_files.moc"
