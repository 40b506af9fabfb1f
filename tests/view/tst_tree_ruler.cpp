// Rulers bound to a diagram: the labels in every unit at several screen
// resolutions, the ticks and labels at several zooms, the vertical ruler's
// turned labels, the marker that follows the pointer without redrawing the
// ticks, and binding and unbinding.

#include "FrameTestUtil.h"
#include "ViewTestUtil.h"

#include <QLocale>
#include <memory>
#include <QtTest>

Q_DECLARE_METATYPE(TRulerUnits)

namespace {

// A window with a diagram and a ruler above and left of it, as the editor
// places them.
struct TRulerHost
{
    QWidget Window;
    // Freed before the window, which holds it as a child.
    std::unique_ptr<TViewHost> View = std::make_unique<TViewHost>(200, 150);
    TTreeRuler *Top;
    TTreeRuler *Left;
    TTree *Tree;

    TRulerHost()
    {
        Window.resize(300, 250);
        Tree = View->Tree;
        Tree->setParent(&Window);
        Tree->setGeometry(30, 24, 200, 150);
        Top = new TTreeRuler(&Window);
        Top->SetAlign(alTop);
        Top->setGeometry(30, 0, 200, 24);
        Left = new TTreeRuler(&Window);
        Left->SetAlign(alLeft);
        Left->setGeometry(0, 24, 30, 150);
        Top->SetTree(Tree);
        Left->SetTree(Tree);
    }

    QImage PictureOf(TTreeRuler *ruler)
    {
        ruler->grab();
        return ruler->Picture().convertToFormat(QImage::Format_RGB32);
    }
};

QList<int> Labelled(TTreeRuler *ruler, TRulerHost &host)
{
    QList<int> values;
    ruler->OnGetUnit = [&](TTreeRuler *, int v, QString &) { values << v; };
    ruler->Redraw();
    host.PictureOf(ruler);
    ruler->OnGetUnit = nullptr;
    return values;
}

} // namespace

class TestTreeRuler : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void unitLabels_data();
    void unitLabels();
    void labelsAtSeveralZooms_data();
    void labelsAtSeveralZooms();
    void ticks_data();
    void ticks();
    void verticalLabelsAreTurned();
    void markerFollowsThePointer();
    void bindingAndUnbinding();
};

void TestTreeRuler::unitLabels_data()
{
    QTest::addColumn<TRulerUnits>("units");
    QTest::addColumn<int>("ppi");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("cm, 100 at 96 ppi") << ruCentimeters << 96 << 100 << QStringLiteral("2.65");
    QTest::newRow("cm, 0") << ruCentimeters << 96 << 0 << QStringLiteral("0");
    QTest::newRow("cm, 50 at 72 ppi") << ruCentimeters << 72 << 50 << QStringLiteral("1.76");
    QTest::newRow("cm, negative") << ruCentimeters << 96 << -100 << QStringLiteral("-2.65");
    QTest::newRow("inches, one inch") << ruInches << 96 << 96 << QStringLiteral("1");
    QTest::newRow("inches, 100 at 96 ppi") << ruInches << 96 << 100 << QStringLiteral("1.04");
    QTest::newRow("inches, quarter at 120 ppi") << ruInches << 120 << 30 << QStringLiteral("0.25");
    QTest::newRow("inches, half at 120 ppi") << ruInches << 120 << 60 << QStringLiteral("0.5");
    QTest::newRow("pixels") << ruPixels << 96 << -250 << QStringLiteral("-250");
}

void TestTreeRuler::unitLabels()
{
    QFETCH(TRulerUnits, units);
    QFETCH(int, ppi);
    QFETCH(int, value);
    QFETCH(QString, text);
    const TDevicesGuard devices(ppi);
    TTreeRuler ruler;
    ruler.SetUnits(units);
    QCOMPARE(ruler.UnitText(value), text);
    // The handler may say otherwise.
    ruler.OnGetUnit = [](TTreeRuler *, int v, QString &t) { t = QStringLiteral("<%1 %2>").arg(v).arg(t); };
    QCOMPARE(ruler.UnitText(value), QStringLiteral("<%1 %2>").arg(value).arg(text));
}

void TestTreeRuler::labelsAtSeveralZooms_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("bigStep");
    QTest::addColumn<QList<int>>("top");
    QTest::addColumn<QList<int>>("left");
    QTest::newRow("100 %") << 100 << 10 << QList<int>{0, 100, 200} << QList<int>{0, 100};
    QTest::newRow("100 %, big every 5") << 100 << 5 << QList<int>{0, 50, 100, 150, 200} << QList<int>{0, 50, 100, 150};
    QTest::newRow("50 %") << 50 << 10 << QList<int>{-100, 0, 100, 200, 300} << QList<int>{0, 100, 200};
    QTest::newRow("200 %") << 200 << 10 << QList<int>{100} << QList<int>{100};
    // 10 units are 2 pixels at 20 %: the ticks come every 20, big ones
    // every 200.
    QTest::newRow("20 %") << 20 << 10 << QList<int>{-400, -200, 0, 200, 400, 600} << QList<int>{-200, 0, 200, 400};
}

void TestTreeRuler::labelsAtSeveralZooms()
{
    QFETCH(int, zoom);
    QFETCH(int, bigStep);
    QFETCH(QList<int>, top);
    QFETCH(QList<int>, left);
    const TDevicesGuard devices;
    TRulerHost host;
    host.Tree->Grid()->SetBigStep(bigStep);
    host.Tree->View3DOptions()->SetZoom(zoom);
    host.Tree->View3DOptions()->SetHorizOffset(0);
    host.Tree->View3DOptions()->SetVertOffset(0);
    host.View->Paint();
    QCOMPARE(Labelled(host.Top, host), top);
    QCOMPARE(Labelled(host.Left, host), left);
    // Without units: ticks only.
    host.Top->SetShowUnits(false);
    QCOMPARE(Labelled(host.Top, host), QList<int>{});
}

void TestTreeRuler::ticks_data()
{
    QTest::addColumn<int>("align");
    QTest::addColumn<QList<QPoint>>("black");
    QTest::addColumn<QList<QPoint>>("gray");
    QTest::addColumn<QList<QPoint>>("clear");
    // Tree and ruler start at the same place: ticks are 2 pixels in. Big
    // ticks run from 2 pixels off the edge, small ones from 10.
    QTest::newRow("top") << int(alTop) << QList<QPoint>{{2, 3}, {3, 3}, {2, 23}, {102, 12}}
                         << QList<QPoint>{{52, 10}, {52, 22}} << QList<QPoint>{{52, 5}, {57, 15}};
    QTest::newRow("bottom") << int(alBottom) << QList<QPoint>{{2, 1}, {102, 20}}
                            << QList<QPoint>{{52, 1}, {52, 13}} << QList<QPoint>{{52, 18}, {57, 5}};
}

void TestTreeRuler::ticks()
{
    QFETCH(int, align);
    QFETCH(QList<QPoint>, black);
    QFETCH(QList<QPoint>, gray);
    QFETCH(QList<QPoint>, clear);
    const TDevicesGuard devices;
    TRulerHost host;
    host.Top->SetAlign(TAlign(align));
    host.View->Paint();
    const QImage img = host.PictureOf(host.Top);
    for (const QPoint &p : black)
        QVERIFY2(Rgb(img, p.x(), p.y()) == 0, qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    for (const QPoint &p : gray)
        QVERIFY2(Rgb(img, p.x(), p.y()) == 0x808080, qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    for (const QPoint &p : clear)
        QVERIFY2(Rgb(img, p.x(), p.y()) == 0xFFFFFF, qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    // The vertical ruler: the tick at 0 is two pixels wide, across.
    const QImage left = host.PictureOf(host.Left);
    QCOMPARE(Rgb(left, 20, 2), 0u);
    QCOMPARE(Rgb(left, 20, 3), 0u);
    QCOMPARE(Rgb(left, 20, 52), 0x808080u);
    QCOMPARE(Rgb(left, 5, 52), 0xFFFFFFu);
}

void TestTreeRuler::verticalLabelsAreTurned()
{
    const TDevicesGuard devices;
    TRulerHost host;
    host.View->Paint();
    host.Left->OnGetUnit = [](TTreeRuler *, int, QString &t) { t = QStringLiteral("8888"); };
    host.Left->Redraw();
    const QImage img = host.PictureOf(host.Left);
    // The label of 100 below its tick (at 102), left of the small ticks.
    QRect ink;
    for (int y = 104; y < 150; ++y)
        for (int x = 0; x < 10; ++x)
            if (Rgb(img, x, y) != 0xFFFFFF)
                ink |= QRect(x, y, 1, 1);
    QVERIFY(!ink.isEmpty());
    QVERIFY2(ink.height() > 2 * ink.width(), qPrintable(QStringLiteral("%1x%2").arg(ink.width()).arg(ink.height())));
    QVERIFY(ink.top() <= 106);
}

void TestTreeRuler::markerFollowsThePointer()
{
    const TDevicesGuard devices;
    TRulerHost host;
    host.Window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host.Window));
    host.View->Paint();
    const QImage before = host.PictureOf(host.Top);
    const qint64 key = host.Top->Picture().cacheKey();
    QCOMPARE(host.Top->MarkerPosition(), -1);
    // Between ticks on both rulers.
    QTest::mouseMove(host.Tree, QPoint(57, 43));
    QTRY_COMPARE(host.Top->MarkerPosition(), 59);
    QCOMPARE(host.Left->MarkerPosition(), 45);
    // Shown over the ticks, which are not drawn again.
    const QImage shown = host.Top->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(host.Top->Picture().cacheKey(), key);
    QCOMPARE(Rgb(shown, 59, 12), 0xFF0000u);
    QCOMPARE(Rgb(shown, 59, 1), 0xFFFFFFu);
    QCOMPARE(Rgb(shown, 60, 12), Rgb(before, 60, 12));
    const QImage side = host.Left->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(Rgb(side, 15, 45), 0xFF0000u);
    // Moving on: the old line is gone.
    QTest::mouseMove(host.Tree, QPoint(84, 43));
    QTRY_COMPARE(host.Top->MarkerPosition(), 86);
    const QImage moved = host.Top->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(Rgb(moved, 59, 12), Rgb(before, 59, 12));
    QCOMPARE(Rgb(moved, 86, 12), 0xFF0000u);
    // An invisible marker does not follow.
    host.Top->Marker()->SetVisible(false);
    QTest::mouseMove(host.Tree, QPoint(100, 46));
    QTRY_COMPARE(host.Left->MarkerPosition(), 48);
    QCOMPARE(host.Top->MarkerPosition(), 86);
}

void TestTreeRuler::bindingAndUnbinding()
{
    const TDevicesGuard devices;
    TRulerHost host;
    TTree *t = host.Tree;
    QCOMPARE(t->Listeners().Count(), 2);
    QVERIFY(host.Left->Vertical());
    QVERIFY(!host.Top->Vertical());
    host.Top->SetAlign(alRight);
    QVERIFY(host.Top->Vertical());
    host.Top->SetAlign(alTop);
    // Every drawing of the diagram draws the ticks again.
    host.View->Paint();
    const QImage at100 = host.PictureOf(host.Top);
    t->View3DOptions()->SetZoom(50);
    host.View->Paint();
    QVERIFY(host.PictureOf(host.Top) != at100);
    host.Top->SetTree(nullptr);
    QCOMPARE(t->Listeners().Count(), 1);
    QCOMPARE(host.Top->Tree(), nullptr);
    // Without a diagram: a plain strip.
    QCOMPARE(CountNot(host.PictureOf(host.Top), 0xFFFFFF), 0);
    // The diagram going away lets go of the ruler.
    host.View.reset();
    QCOMPARE(host.Left->Tree(), nullptr);
    QCOMPARE(CountNot(host.PictureOf(host.Left), 0xFFFFFF), 0);
}

QTEST_MAIN(TestTreeRuler)
#include "tst_tree_ruler.moc"
