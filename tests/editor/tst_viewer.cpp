// The first viewer: the window shows the diagram of the file it opens,
// with the file's own zoom and scrolling; unreadable files are reported
// and leave an empty diagram; unknown properties are put to the user.

#include "../export/ExportTestUtil.h"

#include "canvas/CanvasResources.h"
#include "editor/UDendrix.h"
#include "export/KorExport.h"
#include "model/ModelResources.h"
#include "model/TreeFile.h"
#include "view/Arbolix.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// Answers the next message box that comes up with `button`, and keeps its
// text.
class TBoxAnswerer : public QObject
{
public:
    QStringList Texts;
    explicit TBoxAnswerer(QMessageBox::StandardButton button) : FButton(button)
    {
        FTimer.setInterval(10);
        connect(&FTimer, &QTimer::timeout, this, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                Texts << box->text();
                if (QAbstractButton *b = box->button(FButton))
                    b->click();
                else
                    box->close();
            }
        });
        FTimer.start();
    }

private:
    QMessageBox::StandardButton FButton;
    QTimer FTimer;
};

} // namespace

class TestViewer : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void showsTheDiagramWithItsZoomAndScrolling();
    void unreadableFilesLeaveAnEmptyDiagram();
    void unknownPropertiesAreAskedAbout();
};

void TestViewer::initTestCase()
{
    InitCanvasResources();
    InitModelResources();
    RegisterDendrixClasses();
}

void TestViewer::showsTheDiagramWithItsZoomAndScrolling()
{
    QTemporaryDir dir;
    // A diagram stored zoomed and scrolled.
    const QString txt = dir.filePath(QStringLiteral("t.txt"));
    QVERIFY(WriteFileBytes(txt, "One\n Two\n Three\nFour\n"));
    const QString abx = dir.filePath(QStringLiteral("t.abx"));
    {
        TComponent host;
        host.SetName(QStringLiteral("TreeEditor1"));
        const auto tree = std::make_unique<TTree>(&host);
        tree->SetNoOwnerShapes(false);
        ReadDiagramInput(*tree, txt);
        tree->View3DOptions()->SetZoom(150);
        // In a window of 800 x 600 these show the model origin near the
        // top-left corner.
        tree->View3DOptions()->SetHorizOffset(190);
        tree->View3DOptions()->SetVertOffset(140);
        SaveDiagramFile(*tree, abx);
    }

    TDendrixMainWindow window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Dendrix"));
    QCOMPARE(window.centralWidget(), static_cast<QWidget *>(window.Tree()));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect before = window.Tree()->geometry();
    QVERIFY(window.OpenFile(abx));
    TTree *t = window.Tree();
    QCOMPARE(t->Shapes().Count(), 4);
    QCOMPARE(t->View3DOptions()->Zoom(), 150);
    QCOMPARE(t->View3DOptions()->HorizOffset(), 190);
    QCOMPARE(t->View3DOptions()->VertOffset(), 140);
    // The stored size of the control does not move it in the window.
    QCOMPARE(t->geometry(), before);
    QVERIFY(t->isVisible());

    // The window shows the nodes where the file's zoom and scrolling put
    // them.
    const QImage shown = t->grab().toImage().convertToFormat(QImage::Format_RGB32);
    TTreeNodeShape *two = t->Roots()[0]->Child(0);
    const TPoint centre = t->ProjectPoint(TPoint((two->X0() + two->X1()) / 2, (two->Y0() + two->Y1()) / 2));
    const TPoint corner = t->ProjectPoint(TPoint(two->X0(), two->Y0()));
    QVERIFY(centre.X > 0 && centre.Y > 0 && centre.X < shown.width() && centre.Y < shown.height());
    // The node's border at its projected corner: ink, not background.
    QVERIFY(shown.pixel(corner.X, corner.Y) != qRgb(255, 255, 255));

    // An outline opens expanded.
    QVERIFY(window.OpenFile(txt));
    QCOMPARE(t->Shapes().Count(), 4);
    QVERIFY(t->Roots()[0]->Expanded());
}

void TestViewer::unreadableFilesLeaveAnEmptyDiagram()
{
    QTemporaryDir dir;
    TDendrixMainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QString txt = dir.filePath(QStringLiteral("ok.txt"));
    QVERIFY(WriteFileBytes(txt, "A\n B\n"));
    QVERIFY(window.OpenFile(txt));
    QCOMPARE(window.Tree()->Shapes().Count(), 2);

    const QString junk = dir.filePath(QStringLiteral("junk.abx"));
    QVERIFY(WriteFileBytes(junk, QByteArray("TPF0\x05TTree\x00\x07Bogus\x01\x02", 17)));
    for (const QString &name : {dir.filePath(QStringLiteral("missing.abx")), junk,
                                dir.filePath(QStringLiteral("picture.jpeg"))}) {
        TBoxAnswerer ok(QMessageBox::Ok);
        QVERIFY(!window.OpenFile(name));
        QCOMPARE(ok.Texts.size(), 1);
        QVERIFY2(ok.Texts[0].contains(QFileInfo(name).fileName()) || name == junk, qPrintable(ok.Texts[0]));
        QCOMPARE(window.Tree()->Shapes().Count(), 0);
        QVERIFY(window.Tree()->isVisible());
    }
}

void TestViewer::unknownPropertiesAreAskedAbout()
{
    QTemporaryDir dir;
    const QString abx = DiagramWithUnknownProperty(dir);
    QVERIFY(!abx.isEmpty());

    TDendrixMainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    {
        // Yes to each question: everything else is read.
        TBoxAnswerer yes(QMessageBox::Yes);
        QVERIFY(window.OpenFile(abx));
        QCOMPARE(yes.Texts.size(), 2);
        QVERIFY(yes.Texts[0].endsWith(QStringLiteral("Continue?")));
        QCOMPARE(window.Tree()->Shapes().Count(), 2);
    }
    {
        // No stops the load: reported, and the diagram is empty.
        TBoxAnswerer no(QMessageBox::No);
        QVERIFY(!window.OpenFile(abx));
        QCOMPARE(window.Tree()->Shapes().Count(), 0);
        QVERIFY(no.Texts.size() >= 2);
    }
}

QTEST_MAIN(TestViewer)
#include "tst_viewer.moc"
