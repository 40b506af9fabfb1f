// The diagram-wide property pages: each control shows and writes its
// setting as one step, the Starting and Updating guards keep them from
// writing what they are only shown, the zoom is no edit, aligning, the
// text editor's key list, the back image button, and smooth drawing that
// never reaches an export.

#include "PanelTestUtil.h"

#include "core/PropAccess.h"
#include "dialogs/KorButtons.h"
#include "editor/TreePropertyPages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <set>

using TP = TTreePropertyPages;

namespace {

void Toggle(QCheckBox *box)
{
    QVERIFY(box);
    QVERIFY(box->isEnabled());
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

qint64 Setting(TTree *tree, const QString &path)
{
    return GetOrdProp(*static_cast<TTreeDocument *>(tree), path);
}

} // namespace

class TestPropertyPages : public QObject
{
    Q_OBJECT
private slots:
    void everyPageIsThere();
    void checkBoxesWriteTheirSetting_data();
    void checkBoxesWriteTheirSetting();
    void listsWriteTheirSetting_data();
    void listsWriteTheirSetting();
    void startingGuardsSizes_data();
    void startingGuardsSizes();
    void fillingWritesNothing();
    void followsTheDiagramsOwnChanges();
    void zoomIsClampedAndNoEdit_data();
    void zoomIsClampedAndNoEdit();
    void selectionColorDefault();
    void animatedEnablesSteps();
    void alignButtons_data();
    void alignButtons();
    void alignNeedsTwoNodes();
    void shortCutList();
    void backImageButton();
    void smoothDrawingStaysOnTheScreen();
    void rulersGoThroughTheWindow();
};

void TestPropertyPages::everyPageIsThere()
{
    TP pages;
    const QStringList expected = {QStringLiteral("General"), QStringLiteral("Cross Box"), QStringLiteral("Panel"),
                                  QStringLiteral("Align"),   QStringLiteral("Mouse"),     QStringLiteral("Selected"),
                                  QStringLiteral("Scroll Bars"), QStringLiteral("Grid"),  QStringLiteral("Handles"),
                                  QStringLiteral("Print"),   QStringLiteral("Text Editor")};
    QStringList tabs;
    for (int i = 0; i < pages.Pages()->count(); ++i)
        tabs << pages.Pages()->tabText(i);
    QCOMPARE(tabs, expected);
    // Without a diagram nothing can be changed.
    QVERIFY(!pages.ControlAs<QCheckBox>(TP::ppMouse, QStringLiteral("Allow &Zoom"))->isEnabled());
    QVERIFY(!pages.ControlAs<QSlider>(TP::ppGeneral, QStringLiteral("Zoom"))->isEnabled());
}

void TestPropertyPages::checkBoxesWriteTheirSetting_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("path");
    QTest::newRow("buffered") << int(TP::ppGeneral) << QStringLiteral("&Buffered display")
                              << QStringLiteral("BufferedDisplay");
    QTest::newRow("allow zoom") << int(TP::ppMouse) << QStringLiteral("Allow &Zoom") << QStringLiteral("Zoom.Allow");
    QTest::newRow("hints") << int(TP::ppMouse) << QStringLiteral("Show &Hints") << QStringLiteral("ShowHintShapes");
    QTest::newRow("hot track") << int(TP::ppMouse) << QStringLiteral("&HotTrack") << QStringLiteral("HotTrack.Active");
    QTest::newRow("scroll to view") << int(TP::ppSelected) << QStringLiteral("&Scroll to view")
                                    << QStringLiteral("Selected.ScrollToView");
    QTest::newRow("single selection") << int(TP::ppSelected) << QStringLiteral("Single selection")
                                      << QStringLiteral("SingleSelection");
    QTest::newRow("allow delete") << int(TP::ppSelected) << QStringLiteral("Allow Delete")
                                  << QStringLiteral("AllowDelete");
    QTest::newRow("snap") << int(TP::ppGrid) << QStringLiteral("&Snap to grid") << QStringLiteral("SnapToGrid");
}

void TestPropertyPages::checkBoxesWriteTheirSetting()
{
    QFETCH(int, page);
    QFETCH(QString, caption);
    QFETCH(QString, path);
    TPanelHost host;
    TP pages;
    pages.SetTree(host.Tree);
    pages.Pages()->setCurrentIndex(page);
    pages.show();
    auto *box = pages.ControlAs<QCheckBox>(static_cast<TP::TPage>(page), caption);
    QVERIFY(box);
    const qint64 before = Setting(host.Tree, path);
    QCOMPARE(box->isChecked(), before != 0);
    TNoticeCounter notices(host.Tree);
    Toggle(box);
    QCOMPARE(Setting(host.Tree, path), before ? 0 : 1);
    QCOMPARE(notices.Steps, 1);
    QCOMPARE(notices.Edits, 1);
    QVERIFY(notices.Lines.first().endsWith(path));
    Toggle(box);
    QCOMPARE(Setting(host.Tree, path), before);
}

void TestPropertyPages::listsWriteTheirSetting_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("entry");
    QTest::addColumn<int>("value");
    QTest::newRow("scroll vertical") << int(TP::ppMouse) << QStringLiteral("Allow &Scroll:")
                                     << QStringLiteral("AllowPanning") << 2 << int(pmVertical);
    QTest::newRow("scroll none") << int(TP::ppMouse) << QStringLiteral("Allow &Scroll:")
                                 << QStringLiteral("AllowPanning") << 0 << int(pmNone);
    QTest::newRow("wheel zooms") << int(TP::ppMouse) << QStringLiteral("Mouse &Wheel:")
                                 << QStringLiteral("WheelNavigation") << 3 << int(wnZoom);
    QTest::newRow("bevel inner lowered") << int(TP::ppPanel) << QStringLiteral("Bevel &Inner:")
                                         << QStringLiteral("BevelInner") << 1 << int(bvLowered);
    QTest::newRow("bevel outer space") << int(TP::ppPanel) << QStringLiteral("Bevel &Outer:")
                                       << QStringLiteral("BevelOuter") << 3 << int(bvSpace);
    QTest::newRow("cross box diamond") << int(TP::ppCrossBox) << QStringLiteral("S&tyle:")
                                       << QStringLiteral("CrossBox.Style") << 1 << int(cbsDiamond);
}

void TestPropertyPages::listsWriteTheirSetting()
{
    QFETCH(int, page);
    QFETCH(QString, caption);
    QFETCH(QString, path);
    QFETCH(int, entry);
    QFETCH(int, value);
    TPanelHost host;
    TP pages;
    pages.SetTree(host.Tree);
    pages.Pages()->setCurrentIndex(page);
    pages.show();
    auto *list = pages.ControlAs<QComboBox>(static_cast<TP::TPage>(page), caption);
    QVERIFY(list);
    QVERIFY(list->isEnabled());
    TNoticeCounter notices(host.Tree);
    // The user picks the entry with the keyboard.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < entry; ++i)
        QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(Setting(host.Tree, path), qint64(value));
    QVERIFY(notices.Steps >= 1);
    pages.Refresh();
    QCOMPARE(list->currentIndex(), entry);
}

void TestPropertyPages::startingGuardsSizes_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("starting");
    for (bool starting : {true, false}) {
        const char *when = starting ? "while starting" : "after start";
        QTest::addRow("grid size %s", when) << int(TP::ppGrid) << QStringLiteral("&Size:") << starting;
        QTest::addRow("cross box size %s", when) << int(TP::ppCrossBox) << QStringLiteral("S&ize:") << starting;
        QTest::addRow("handle size %s", when) << int(TP::ppHandles) << QStringLiteral("&Size:") << starting;
        QTest::addRow("zoom steps %s", when) << int(TP::ppMouse) << QStringLiteral("S&teps:") << starting;
    }
}

void TestPropertyPages::startingGuardsSizes()
{
    QFETCH(int, page);
    QFETCH(QString, caption);
    QFETCH(bool, starting);
    TPanelHost host;
    host.Tree->Zoom()->SetAnimated(true);
    TP pages;
    pages.SetTree(host.Tree);
    pages.SetStarting(starting);
    pages.Pages()->setCurrentIndex(page);
    pages.show();
    auto *box = pages.ControlAs<QSpinBox>(static_cast<TP::TPage>(page), caption);
    QVERIFY(box);
    QVERIFY(box->isEnabled());
    const int before = box->value();
    TNoticeCounter notices(host.Tree);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Up);
    QTest::keyClick(box, Qt::Key_Up);
    QCOMPARE(box->value(), before + 2);
    if (starting) {
        QCOMPARE(notices.Edits, 0);
    } else {
        QCOMPARE(notices.Edits, 2);
        QCOMPARE(notices.Steps, 2);
    }
    // What the diagram holds shows again when the pages are filled.
    pages.Refresh();
    QCOMPARE(box->value(), starting ? before : before + 2);
    if (page == TP::ppGrid)
        QCOMPARE(host.Tree->GridStep(), starting ? before : before + 2);
}

void TestPropertyPages::fillingWritesNothing()
{
    TPanelHost host;
    TP pages;
    pages.SetTree(host.Tree);
    TTreeDocument *doc = host.Tree;
    // Settings changed behind the pages' back, without notices.
    host.Tree->SetAllowDelete(false);
    host.Tree->SetShowHintShapes(false);
    host.Tree->Zoom()->SetAllow(false);
    host.Tree->SetAllowPanning(pmHorizontal);
    host.Tree->CrossBox()->SetSize(9);
    host.Tree->SetGridStep(25);
    doc->Selected().SetHandleSize(7);
    TNoticeCounter notices(host.Tree);
    pages.Refresh();
    QCOMPARE(notices.Edits, 0);
    QVERIFY(!pages.ControlAs<QCheckBox>(TP::ppSelected, QStringLiteral("Allow Delete"))->isChecked());
    QVERIFY(!pages.ControlAs<QCheckBox>(TP::ppMouse, QStringLiteral("Show Hints"))->isChecked());
    QVERIFY(!pages.ControlAs<QCheckBox>(TP::ppMouse, QStringLiteral("Allow Zoom"))->isChecked());
    QCOMPARE(pages.ControlAs<QComboBox>(TP::ppMouse, QStringLiteral("Allow Scroll"))->currentIndex(), 1);
    QCOMPARE(pages.ControlAs<QSpinBox>(TP::ppCrossBox, QStringLiteral("Size"))->value(), 9);
    QCOMPARE(pages.ControlAs<QSpinBox>(TP::ppGrid, QStringLiteral("Size"))->value(), 25);
    QCOMPARE(pages.ControlAs<QSpinBox>(TP::ppHandles, QStringLiteral("Size"))->value(), 7);
    QVERIFY(!host.Tree->AllowDelete());
    QCOMPARE(host.Tree->GridStep(), 25);
}

void TestPropertyPages::followsTheDiagramsOwnChanges()
{
    TPanelHost host;
    TP pages;
    pages.SetTree(host.Tree);
    auto *box = pages.ControlAs<QCheckBox>(TP::ppMouse, QStringLiteral("Show Hints"));
    QVERIFY(box->isChecked());
    // An edit made elsewhere (the inspector, undo) shows after it.
    host.Tree->EditElement(host.Tree, QStringLiteral("ShowHintShapes"), [&] { host.Tree->SetShowHintShapes(false); });
    QVERIFY(pages.RefreshPending());
    Settle();
    QVERIFY(!box->isChecked());
    // A node's change is none of the pages' business.
    TTreeNodeShape *n = host.Root(QStringLiteral("n"));
    host.Tree->SetElementText(n, {QStringLiteral("m")});
    QVERIFY(!pages.RefreshPending());
}

void TestPropertyPages::zoomIsClampedAndNoEdit_data()
{
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("shown");
    QTest::newRow("75") << 75 << 75;
    QTest::newRow("1") << 1 << 1;
    QTest::newRow("below") << 0 << 1;
    QTest::newRow("beyond") << 5000 << 1000;
}

void TestPropertyPages::zoomIsClampedAndNoEdit()
{
    QFETCH(int, asked);
    QFETCH(int, shown);
    TPanelHost host;
    TP pages;
    pages.SetTree(host.Tree);
    TNoticeCounter notices(host.Tree);
    pages.SetZoom(asked);
    QCOMPARE(host.Tree->View3DOptions()->Zoom(), shown);
    QCOMPARE(pages.ControlAs<QSlider>(TP::ppGeneral, QStringLiteral("Zoom"))->value(), shown);
    QCOMPARE(pages.ControlAs<QSpinBox>(TP::ppGeneral, QStringLiteral("Zoom box"))->value(), shown);
    QCOMPARE(notices.Edits, 0);
    // The up-down and the track bar move each other.
    pages.show();
    pages.ControlAs<QSlider>(TP::ppGeneral, QStringLiteral("Zoom"))->setValue(300);
    QCOMPARE(pages.ControlAs<QSpinBox>(TP::ppGeneral, QStringLiteral("Zoom box"))->value(), 300);
    QCOMPARE(host.Tree->View3DOptions()->Zoom(), 300);
    const QList<QLabel *> labels = pages.Page(TP::ppGeneral)->findChildren<QLabel *>();
    QVERIFY(std::any_of(labels.begin(), labels.end(), [](QLabel *l) { return l->text() == QStringLiteral("300%"); }));
}

void TestPropertyPages::selectionColorDefault()
{
    TPanelHost host;
    TP pages;
    pages.SetTree(host.Tree);
    pages.Pages()->setCurrentIndex(TP::ppSelected);
    pages.show();
    auto *box = pages.ControlAs<QCheckBox>(TP::ppSelected, QStringLiteral("Color default"));
    QVERIFY(box);
    QVERIFY(box->isChecked());
    TScriptedPromptsGuard prompts;
    prompts->OnPickColor = [](TColor &c) {
        c = clLime;
        return true;
    };
    QTest::mouseClick(pages.ControlAs<TButtonColor>(TP::ppSelected, QStringLiteral("&Color...")), Qt::LeftButton);
    QCOMPARE(host.Tree->SelectionLook()->Color(), clLime);
    Settle();
    QVERIFY(!box->isChecked());
    Toggle(box);
    QCOMPARE(host.Tree->SelectionLook()->Color(), clHighlight);
    // The text colour has its own.
    auto *text = pages.ControlAs<QCheckBox>(TP::ppSelected, QStringLiteral("Text default"));
    QVERIFY(text->isChecked());
    host.Tree->SelectionLook()->SetTextColor(clRed);
    pages.Refresh();
    QVERIFY(!text->isChecked());
    Toggle(text);
    QCOMPARE(host.Tree->SelectionLook()->TextColor(), clHighlightText);
}

void TestPropertyPages::animatedEnablesSteps()
{
    TPanelHost host;
    TP pages;
    pages.SetTree(host.Tree);
    pages.Pages()->setCurrentIndex(TP::ppMouse);
    pages.show();
    auto *steps = pages.ControlAs<QSpinBox>(TP::ppMouse, QStringLiteral("Steps"));
    QVERIFY(!steps->isEnabled());
    Toggle(pages.ControlAs<QCheckBox>(TP::ppMouse, QStringLiteral("Animated")));
    QVERIFY(host.Tree->Zoom()->Animated());
    QVERIFY(steps->isEnabled());
    Settle();
    QVERIFY(steps->isEnabled());
}

void TestPropertyPages::alignButtons_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QList<int>>("lefts");
    QTest::addColumn<QList<int>>("tops");
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<QList<int>>("heights");
    // Nodes (left, top, width, height): (50, 10, 40, 20), (10, 60, 80, 30),
    // (100, 30, 20, 50); the first is the reference.
    QTest::newRow("left") << QStringLiteral("Align to left") << QList<int>{50, 50, 50} << QList<int>{10, 60, 30}
                          << QList<int>{40, 80, 20} << QList<int>{20, 30, 50};
    QTest::newRow("right") << QStringLiteral("Align to right") << QList<int>{50, 10, 70} << QList<int>{10, 60, 30}
                           << QList<int>{40, 80, 20} << QList<int>{20, 30, 50};
    QTest::newRow("top") << QStringLiteral("Align to top") << QList<int>{50, 10, 100} << QList<int>{10, 10, 10}
                         << QList<int>{40, 80, 20} << QList<int>{20, 30, 50};
    QTest::newRow("bottom") << QStringLiteral("Align to bottom") << QList<int>{50, 10, 100} << QList<int>{10, 0, -20}
                            << QList<int>{40, 80, 20} << QList<int>{20, 30, 50};
    QTest::newRow("min width") << QStringLiteral("Min. Width") << QList<int>{50, 10, 100} << QList<int>{10, 60, 30}
                               << QList<int>{20, 20, 20} << QList<int>{20, 30, 50};
    QTest::newRow("max width") << QStringLiteral("Max. Width") << QList<int>{50, 10, 100} << QList<int>{10, 60, 30}
                               << QList<int>{80, 80, 80} << QList<int>{20, 30, 50};
    QTest::newRow("min height") << QStringLiteral("Min. Height") << QList<int>{50, 10, 100} << QList<int>{10, 60, 30}
                                << QList<int>{40, 80, 20} << QList<int>{20, 20, 20};
    QTest::newRow("max height") << QStringLiteral("Max. Height") << QList<int>{50, 10, 100} << QList<int>{10, 60, 30}
                                << QList<int>{40, 80, 20} << QList<int>{50, 50, 50};
}

void TestPropertyPages::alignButtons()
{
    QFETCH(QString, caption);
    QFETCH(QList<int>, lefts);
    QFETCH(QList<int>, tops);
    QFETCH(QList<int>, widths);
    QFETCH(QList<int>, heights);
    TPanelHost host;
    const int geometry[3][4] = {{50, 10, 40, 20}, {10, 60, 80, 30}, {100, 30, 20, 50}};
    std::vector<TTreeNodeShape *> nodes;
    for (const auto &g : geometry) {
        TTreeNodeShape *n = host.Root(QStringLiteral("n"));
        n->SetAutoSize(false);
        n->SetX0(g[0]);
        n->SetY0(g[1]);
        n->SetX1(g[0] + g[2]);
        n->SetY1(g[1] + g[3]);
        nodes.push_back(n);
    }
    host.Select({nodes[0], nodes[1], nodes[2]});
    TP pages;
    pages.SetTree(host.Tree);
    pages.Pages()->setCurrentIndex(TP::ppAlign);
    pages.show();
    auto *button = pages.ControlAs<QPushButton>(TP::ppAlign, caption);
    QVERIFY(button);
    QVERIFY(button->isEnabled());
    TNoticeCounter notices(host.Tree);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(notices.Steps, 1);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(nodes[i]->X0(), lefts[i]);
        QCOMPARE(nodes[i]->Y0(), tops[i]);
        QCOMPARE(nodes[i]->Width(), widths[i]);
        QCOMPARE(nodes[i]->Height(), heights[i]);
    }
}

void TestPropertyPages::alignNeedsTwoNodes()
{
    TPanelHost host;
    TTreeNodeShape *a = host.Root(QStringLiteral("a"));
    TTreeNodeShape *b = host.Root(QStringLiteral("b"));
    a->SetX0(40);
    b->SetX0(90);
    TP pages;
    pages.SetTree(host.Tree);
    pages.Pages()->setCurrentIndex(TP::ppAlign);
    pages.show();
    host.Select({a});
    Settle();
    auto *button = pages.ControlAs<QPushButton>(TP::ppAlign, QStringLiteral("Min. Width"));
    QVERIFY(!button->isEnabled());
    TNoticeCounter notices(host.Tree);
    AlignSelection(host.Tree, akLeft);
    QCOMPARE(notices.Steps, 0);
    host.Select({b, a});
    Settle();
    QVERIFY(button->isEnabled());
    QTest::mouseClick(pages.ControlAs<QPushButton>(TP::ppAlign, QStringLiteral("Align to left")), Qt::LeftButton);
    QCOMPARE(a->X0(), 90);
}

void TestPropertyPages::shortCutList()
{
    const std::vector<int> &codes = TextEditorShortCuts();
    QCOMPARE(codes.size(), size_t(108));
    QCOMPARE(std::set<int>(codes.begin(), codes.end()).size(), size_t(108));
    QCOMPARE(ShortCutText(codes.front()), QKeySequence(Qt::CTRL | Qt::Key_A).toString(QKeySequence::NativeText));
    QCOMPARE(ShortCutText(codes[26]),
             QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_A).toString(QKeySequence::NativeText));
    // F2, the editor's own default, is in the list, and every entry names
    // a key.
    QVERIFY(std::find(codes.begin(), codes.end(), 113) != codes.end());
    for (int code : codes)
        QVERIFY2(!ShortCutText(code).isEmpty(), qPrintable(QString::number(code)));
    QCOMPARE(ShortCutText(codes.back()),
             QKeySequence(Qt::SHIFT | Qt::ALT | Qt::Key_Backspace).toString(QKeySequence::NativeText));
    TP pages;
    auto *list = pages.ControlAs<QComboBox>(TP::ppTextEditor, QStringLiteral("&Key:"));
    QVERIFY(list);
    QCOMPARE(list->count(), 108);
}

void TestPropertyPages::backImageButton()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("back.png"));
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(file));
    TPanelHost host;
    TP pages;
    pages.SetTree(host.Tree);
    pages.Pages()->setCurrentIndex(TP::ppPanel);
    pages.show();
    auto *button = pages.ControlAs<QPushButton>(TP::ppPanel, QStringLiteral("Back image"));
    auto *mode = pages.ControlAs<QComboBox>(TP::ppPanel, QStringLiteral("Mode"));
    QVERIFY(button && mode);
    QCOMPARE(button->text(), QStringLiteral("&Browse Back Image..."));
    QVERIFY(!mode->isEnabled());
    TScriptedPromptsGuard prompts;
    // Cancelled: nothing.
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(!host.Tree->PeekBackImage() || host.Tree->PeekBackImage()->Width() == 0);
    prompts->FileNames << file;
    TNoticeCounter notices(host.Tree);
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(host.Tree->PeekBackImage());
    QCOMPARE(host.Tree->PeekBackImage()->Width(), 8);
    QCOMPARE(notices.Steps, 1);
    QCOMPARE(button->text(), QStringLiteral("C&lear Back Image"));
    QVERIFY(mode->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(!host.Tree->PeekBackImage() || host.Tree->PeekBackImage()->Width() == 0);
    QCOMPARE(button->text(), QStringLiteral("&Browse Back Image..."));
    QVERIFY(!mode->isEnabled());
}

void TestPropertyPages::smoothDrawingStaysOnTheScreen()
{
    TPanelHost host;
    TTreeNodeShape *n = host.Root(QStringLiteral("Smooth"));
    n->SetStyle(tssCircle);
    n->SetX0(20);
    n->SetY0(20);
    TP pages;
    QSignalSpy changed(&pages, &TP::SmoothDrawingChanged);
    pages.SetTree(host.Tree);
    QVERIFY(!pages.SmoothDrawing());
    QVERIFY(!host.Tree->Canvas()->Antialiased());
    const QImage exact = host.Tree->RenderToBitmap(clWhite, TRect(0, 0, 200, 120));
    TNoticeCounter notices(host.Tree);
    pages.SetSmoothDrawing(true);
    QCOMPARE(changed.count(), 1);
    QVERIFY(host.Tree->Canvas()->Antialiased());
    QVERIFY(pages.ControlAs<QCheckBox>(TP::ppGeneral, QStringLiteral("Smooth drawing"))->isChecked());
    // An image of the diagram keeps the exact look; the screen stays smooth.
    const QImage exported = host.Tree->RenderToBitmap(clWhite, TRect(0, 0, 200, 120));
    QCOMPARE(exported, exact);
    QVERIFY(host.Tree->Canvas()->Antialiased());
    // A view option, not a document setting.
    QCOMPARE(notices.Edits, 0);
    // Another diagram takes the option.
    TPanelHost other;
    pages.SetTree(other.Tree);
    QVERIFY(other.Tree->Canvas()->Antialiased());
    pages.SetSmoothDrawing(false);
    QVERIFY(!other.Tree->Canvas()->Antialiased());
    pages.SetTree(nullptr);
}

void TestPropertyPages::rulersGoThroughTheWindow()
{
    TPanelHost host;
    TP pages;
    pages.SetTree(host.Tree);
    auto *visible = pages.ControlAs<QCheckBox>(TP::ppGrid, QStringLiteral("Rulers visible"));
    QVERIFY(!visible->isEnabled());
    bool shown = true;
    int units = 0;
    TP::TRulerLink link;
    link.Visible = [&] { return shown; };
    link.SetVisible = [&](bool v) { shown = v; };
    link.ShowUnits = [] { return true; };
    link.SetShowUnits = [](bool) {};
    link.Units = [&] { return units; };
    link.SetUnits = [&](int u) { units = u; };
    pages.SetRulerLink(link);
    pages.Pages()->setCurrentIndex(TP::ppGrid);
    pages.show();
    QVERIFY(visible->isChecked());
    TNoticeCounter notices(host.Tree);
    Toggle(visible);
    QVERIFY(!shown);
    auto *list = pages.ControlAs<QComboBox>(TP::ppGrid, QStringLiteral("Rulers unit list"));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(units, 1);
    // No edit of the document.
    QCOMPARE(notices.Edits, 0);
}

QTEST_MAIN(TestPropertyPages)
#include "tst_property_pages.moc"
