// The shape editor and the connection editor: controls set on several
// selected nodes (of different classes) or on a connection and its
// siblings reach every element they should, and no other, through the
// diagram's change notices.

#include "DialogTestUtil.h"

#include "core/NameTables.h"
#include "dialogs/DialogConst.h"
#include "dialogs/KorBrushDlg.h"
#include "dialogs/KorButtons.h"
#include "dialogs/KorPenDlg.h"
#include "dialogs/KorTextDlg.h"
#include "dialogs/TreeCoEd.h"
#include "dialogs/TreeShEd.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>

class TestShapeEditors : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { RegisterModelClasses(); }
    void headlessColorChangesOnlyTheColor();
    void headlessButtonsCopyToEveryNode_data();
    void headlessButtonsCopyToEveryNode();
    void moveBarsMoveRelative();
    void leftBoxMovesOnlyTheFirstNode();
    void sizeBarsFollowAutoSize();
    void customStyleHidesStyleList();
    void listsSetEveryNode_data();
    void listsSetEveryNode();
    void centerAlignMakesTransparent();
    void noMiddleClearsEveryMiddleColor();
    void cursorList();
    void imageButton();
    void childrenConnectionsStyle();
    void textPageWorksOnSelection();
    void editShapeRestoresSelection_data();
    void editShapeRestoresSelection();
    void designCaption();
    void connectionAutomatic();
    void connectionStyleButtons_data();
    void connectionStyleButtons();
    void connectionPointList();
    void connectionPointStyles();
    void connectionDeleteToOnePoint();
    void siblingsGetArrowsButNotColors();
    void siblingsPattern_data();
    void siblingsPattern();
    void connectionTextPage();
};

namespace {

struct TMixedSelection
{
    THost Host;
    std::vector<TTreeNodeShape *> Nodes;
    TMixedSelection()
    {
        Nodes = Host.SelectedRoots(2);
        // A text shape among them: another class with other defaults.
        Host.Tree->DefaultFormat().SetShapeClass(&TTextShape::StaticClassInfo());
        TTreeNodeShape *text = Host.Tree->AddRoot(QStringLiteral("Text"));
        Host.Tree->DefaultFormat().SetShapeClass(&TTreeNodeShape::StaticClassInfo());
        text->SetX0(400);
        text->SetY0(10);
        text->SetSelected(true);
        Nodes.push_back(text);
    }
};

} // namespace

void TestShapeEditors::headlessColorChangesOnlyTheColor()
{
    TMixedSelection s;
    QVERIFY(s.Nodes[2]->Is<TTextShape>());
    s.Nodes[1]->SetTransparency(40);
    std::vector<QMap<QString, QString>> before;
    for (TTreeNodeShape *n : s.Nodes)
        before.push_back(Snapshot(*n));
    TNoticeLog log(s.Host.Tree);
    TDialogScript script;
    script.AnswerColor(clRed);
    {
        TNodeTreeEditor editor;
        editor.SetTree(s.Host.Tree);
        editor.ShowStep();
        editor.RunColor();
        QVERIFY(!editor.isVisible());
    }
    for (size_t i = 0; i < s.Nodes.size(); ++i) {
        QCOMPARE(s.Nodes[i]->Color(), clRed);
        QStringList diff = Differences(before[i], Snapshot(*s.Nodes[i]));
        // The brush is made on first use, with its defaults but the colour.
        diff = diff.filter(QRegularExpression(QStringLiteral("^(?!Brush\\.Color|Color:|Brush\\.Style: - -> bsSolid)")));
        // The text shape was transparent: choosing a colour makes it opaque.
        if (i == 2)
            QCOMPARE(diff, QStringList{QStringLiteral("Transparent: True -> False")});
        else
            QCOMPARE(diff, QStringList());
    }
    QCOMPARE(s.Nodes[1]->Transparency(), uint8_t(40));
    QCOMPARE(log.Steps, 1);
}

void TestShapeEditors::headlessButtonsCopyToEveryNode_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("confirm");
    QTest::newRow("border") << "border" << true;
    QTest::newRow("border cancelled") << "border" << false;
    QTest::newRow("pattern") << "pattern" << true;
    QTest::newRow("pattern cancelled") << "pattern" << false;
    QTest::newRow("back colour") << "back" << true;
}

void TestShapeEditors::headlessButtonsCopyToEveryNode()
{
    QFETCH(QString, button);
    QFETCH(bool, confirm);
    TMixedSelection s;
    const auto last = Snapshot(*s.Nodes[2]);
    TDialogScript script;
    script.AnswerColor(clFuchsia, confirm);
    script.Handlers[QStringLiteral("TPenDialog")] = [&](QDialog &d) {
        TypeInto(static_cast<TPenDialog &>(d).WidthBox(), QStringLiteral("5"));
        return int(confirm ? QDialog::Accepted : QDialog::Rejected);
    };
    script.Handlers[QStringLiteral("TBrushDialog")] = [&](QDialog &d) {
        auto &dialog = static_cast<TBrushDialog &>(d);
        dialog.ChooseEntry(bsCross);
        return int(confirm ? QDialog::Accepted : QDialog::Rejected);
    };
    TNodeTreeEditor editor;
    editor.SetTree(s.Host.Tree);
    editor.ShowStep();
    if (button == QLatin1String("border"))
        editor.RunBorder();
    else if (button == QLatin1String("pattern"))
        editor.RunPattern();
    else
        editor.RunBack();
    if (!confirm) {
        QCOMPARE(Differences(last, Snapshot(*s.Nodes[2])), QStringList());
        QCOMPARE(s.Nodes[0]->EffectiveBorder()->Width(), 1);
        return;
    }
    for (TTreeNodeShape *n : s.Nodes) {
        if (button == QLatin1String("border"))
            QCOMPARE(n->EffectiveBorder()->Width(), 5);
        else if (button == QLatin1String("pattern"))
            QCOMPARE(n->EffectiveBrush()->Style(), bsCross);
        else
            QCOMPARE(n->BackColor(), clFuchsia);
    }
}

void TestShapeEditors::moveBarsMoveRelative()
{
    THost host;
    const auto nodes = host.SelectedRoots(3);
    std::vector<int> x0;
    for (TTreeNodeShape *n : nodes)
        x0.push_back(n->X0());
    TNodeTreeEditor editor;
    editor.SetTree(host.Tree);
    editor.ShowStep();
    editor.MoveHorizBar()->setValue(20);
    for (size_t i = 0; i < nodes.size(); ++i)
        QCOMPARE(nodes[i]->X0(), x0[i] + 20);
    editor.MoveHorizBar()->setValue(5);
    for (size_t i = 0; i < nodes.size(); ++i)
        QCOMPARE(nodes[i]->X0(), x0[i] + 5);
    QCOMPARE(editor.LastMoveX(), 5);
    // The position boxes follow the first node.
    QCOMPARE(editor.LeftBox()->value(), nodes[0]->X0());
    const int y0 = nodes[1]->Y0();
    editor.MoveVertBar()->setValue(-7);
    QCOMPARE(nodes[1]->Y0(), y0 - 7);
}

void TestShapeEditors::leftBoxMovesOnlyTheFirstNode()
{
    THost host;
    const auto nodes = host.SelectedRoots(2);
    const int second = nodes[1]->X0();
    const int width = nodes[0]->Width();
    TNoticeLog log(host.Tree);
    TNodeTreeEditor editor;
    editor.SetTree(host.Tree);
    editor.show();
    editor.SetPage(sepPosition);
    TypeInto(editor.LeftBox(), QStringLiteral("50"));
    QCOMPARE(nodes[0]->X0(), 50);
    QCOMPARE(nodes[0]->Width(), width);
    QCOMPARE(nodes[1]->X0(), second);
    QCOMPARE(editor.RightBox()->value(), 50 + width);
    QVERIFY(log.Properties().contains(QStringLiteral("property %1 X0").arg(nodes[0]->Name())));
}

void TestShapeEditors::sizeBarsFollowAutoSize()
{
    THost host;
    const auto nodes = host.SelectedRoots(2);
    TNodeTreeEditor editor;
    editor.SetTree(host.Tree);
    editor.show();
    QVERIFY(editor.AutoSizeBox()->isChecked());
    QVERIFY(!editor.WidthBar()->isEnabled());
    QVERIFY(!editor.RightBox()->isEnabled());
    editor.SetPage(sepPosition);
    Toggle(editor.AutoSizeBox());
    QVERIFY(!nodes[0]->AutoSize());
    QVERIFY(!nodes[1]->AutoSize());
    QVERIFY(editor.WidthBar()->isEnabled());
    editor.WidthBar()->setValue(120);
    for (TTreeNodeShape *n : nodes)
        QCOMPARE(n->Width(), 120);
    // Placed by hand, so not automatic until the box says so.
    QVERIFY(!editor.AutoLeftBox()->isChecked());
    Toggle(editor.AutoLeftBox());
    QVERIFY(nodes[1]->AutoPosition()->Left());
}

void TestShapeEditors::customStyleHidesStyleList()
{
    THost host;
    const auto nodes = host.SelectedRoots(1);
    TNodeTreeEditor editor;
    editor.SetTree(host.Tree);
    editor.show();
    QVERIFY(editor.StyleList()->isVisible());
    editor.hide();
    nodes[0]->SetStyle(tssCustom);
    editor.show();
    QVERIFY(!editor.StyleList()->isVisible());
    QVERIFY(!editor.StyleLabel()->isVisible());
}

void TestShapeEditors::listsSetEveryNode_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QString>("value");
    QTest::newRow("style") << "style" << 6 << "Style" << "tssDiamond";
    QTest::newRow("cross box") << "cross" << 2 << "ShowCross" << "scNever";
    QTest::newRow("default image") << "image" << 11 << "ImageIndex" << "tiWorld";
    QTest::newRow("image alignment") << "align" << 3 << "ImageAlignment" << "iaLeftBottom";
    QTest::newRow("gradient direction") << "gradient" << 4 << "Gradient.Direction" << "gdFromCenter";
}

void TestShapeEditors::listsSetEveryNode()
{
    QFETCH(QString, list);
    QFETCH(int, entry);
    QFETCH(QString, property);
    QFETCH(QString, value);
    TMixedSelection s;
    TNodeTreeEditor editor;
    editor.SetTree(s.Host.Tree);
    editor.show();
    QComboBox *box = list == QLatin1String("style") ? editor.StyleList()
                     : list == QLatin1String("cross") ? editor.CrossList()
                     : list == QLatin1String("image") ? editor.DefaultImageList()
                     : list == QLatin1String("align") ? editor.ImageAlignList()
                                                      : editor.GradientStyleList();
    editor.Pages()->setCurrentIndex(list == QLatin1String("image") || list == QLatin1String("align") ? sepImage
                                    : list == QLatin1String("gradient")                         ? sepGradient
                                                                                                : sepFormat);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Home);
    for (int i = 0; i < entry; ++i)
        QTest::keyClick(box, Qt::Key_Down);
    for (TTreeNodeShape *n : s.Nodes)
        QCOMPARE(GetPropText(*n, property), value);
    if (list == QLatin1String("style"))
        for (TTreeNodeShape *n : s.Nodes)
            QVERIFY(n->Border()->Visible());
}

void TestShapeEditors::centerAlignMakesTransparent()
{
    THost host;
    const auto nodes = host.SelectedRoots(2);
    TNodeTreeEditor editor;
    editor.SetTree(host.Tree);
    editor.show();
    editor.SetPage(sepImage);
    editor.ImageAlignList()->setFocus();
    QTest::keyClick(editor.ImageAlignList(), Qt::Key_End);
    for (TTreeNodeShape *n : nodes) {
        QCOMPARE(n->ImageAlignment(), iaCenter);
        QVERIFY(n->Transparent());
    }
}

void TestShapeEditors::noMiddleClearsEveryMiddleColor()
{
    THost host;
    const auto nodes = host.SelectedRoots(2);
    for (TTreeNodeShape *n : nodes)
        n->Gradient()->SetMidColor(clGreen);
    TDialogScript script;
    script.AnswerColor(clNavy);
    TNodeTreeEditor editor;
    editor.SetTree(host.Tree);
    editor.show();
    editor.SetPage(sepGradient);
    QVERIFY(editor.NoMiddleBox()->isEnabled());
    Toggle(editor.NoMiddleBox());
    for (TTreeNodeShape *n : nodes)
        QCOMPARE(n->Gradient()->MidColor(), clNone);
    QVERIFY(!editor.NoMiddleBox()->isEnabled());
    Click(editor.GradientMiddleSwatch());
    for (TTreeNodeShape *n : nodes)
        QCOMPARE(n->Gradient()->MidColor(), clNavy);
    QVERIFY(editor.NoMiddleBox()->isEnabled());
    QVERIFY(!editor.NoMiddleBox()->isChecked());
}

void TestShapeEditors::cursorList()
{
    THost host;
    const auto nodes = host.SelectedRoots(2);
    nodes[0]->SetCursor(crIBeam);
    TNodeTreeEditor editor;
    editor.SetTree(host.Tree);
    editor.show();
    QComboBox *list = editor.CursorList();
    QCOMPARE(list->count(), CursorIdents().size());
    QVERIFY(list->findText(QStringLiteral("KorHand")) >= 0);
    QCOMPARE(list->currentText(), QStringLiteral("IBeam"));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_End);
    for (TTreeNodeShape *n : nodes)
        QCOMPARE(n->Cursor(), int(crKorHand));
    // A cursor without a name selects nothing.
    editor.hide();
    nodes[0]->SetCursor(77);
    editor.show();
    QCOMPARE(list->currentIndex(), -1);
}

void TestShapeEditors::imageButton()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("picture.png"));
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(Qt::green);
    QVERIFY(image.save(file));
    THost host;
    const auto nodes = host.SelectedRoots(2);
    for (TTreeNodeShape *n : nodes)
        n->SetImageIndex(tiNone);
    TDialogScript script;
    script->FileNames = {file};
    TNodeTreeEditor editor;
    editor.SetTree(host.Tree);
    editor.show();
    editor.SetPage(sepImage);
    QCOMPARE(editor.ImageButton()->text(), SBrowseBackImage.Text());
    QVERIFY(!editor.ImageTransparentBox()->isEnabled());
    Click(editor.ImageButton());
    for (TTreeNodeShape *n : nodes) {
        QVERIFY(n->PeekImage() && n->PeekImage()->HasGraphic());
        QCOMPARE(n->ImageIndex(), tiNone);
        QCOMPARE(n->PeekImage()->Image().size(), QSize(6, 4));
    }
    QCOMPARE(editor.ImageButton()->text(), SClearBackImage.Text());
    QCOMPARE(editor.DefaultImageList()->currentIndex(), int(tiNone));
    QVERIFY(!editor.ImagePreview()->pixmap().isNull());
    QVERIFY(editor.ImageTransparentBox()->isEnabled());
    Toggle(editor.ImageTransparentBox());
    QVERIFY(nodes[1]->PeekImage()->Transparent());
    Click(editor.ImageButton());
    for (TTreeNodeShape *n : nodes)
        QVERIFY(!n->PeekImage());
    QCOMPARE(editor.ImageButton()->text(), SBrowseBackImage.Text());
    // A default image is a picture too: the button offers to clear it.
    editor.DefaultImageList()->setFocus();
    QTest::keyClick(editor.DefaultImageList(), Qt::Key_Down);
    QCOMPARE(nodes[1]->ImageIndex(), tiFolderClose);
    QCOMPARE(editor.ImageButton()->text(), SClearBackImage.Text());
}

void TestShapeEditors::childrenConnectionsStyle()
{
    THost host;
    const auto nodes = host.SelectedRoots(1);
    TTreeNodeShape *a = nodes[0]->AddChild(QStringLiteral("a"));
    TTreeNodeShape *b = nodes[0]->AddChild(QStringLiteral("b"));
    TNodeTreeEditor editor;
    editor.SetTree(host.Tree);
    editor.show();
    QCOMPARE(editor.ConnectionsList()->currentText(), QStringLiteral("Auto"));
    editor.ConnectionsList()->setFocus();
    QTest::keyClick(editor.ConnectionsList(), Qt::Key_End);
    QCOMPARE(nodes[0]->ConnectionTo(a)->Style(), csCurve);
    QCOMPARE(nodes[0]->ConnectionTo(b)->Style(), csCurve);
}

void TestShapeEditors::textPageWorksOnSelection()
{
    THost host;
    const auto nodes = host.SelectedRoots(2);
    TNodeTreeEditor editor;
    editor.SetTree(host.Tree);
    QVERIFY(!editor.TextPanel());
    editor.show();
    editor.SetPage(sepText);
    TFormKorText *panel = editor.TextPanel();
    QVERIFY(panel);
    QVERIFY(panel->Embedded());
    QCOMPARE(panel->Tree(), host.Tree);
    panel->Pages()->setCurrentIndex(1);
    TypeInto(panel->SpacingBox(), QStringLiteral("3"));
    for (TTreeNodeShape *n : nodes)
        QCOMPARE(n->Font()->InterCharSize(), 3);
}

void TestShapeEditors::editShapeRestoresSelection_data()
{
    QTest::addColumn<bool>("inDiagram");
    QTest::addColumn<bool>("wasSelected");
    QTest::newRow("selected node") << true << true;
    QTest::newRow("unselected node") << true << false;
    QTest::newRow("node of no diagram") << false << false;
}

void TestShapeEditors::editShapeRestoresSelection()
{
    QFETCH(bool, inDiagram);
    QFETCH(bool, wasSelected);
    THost host;
    const auto nodes = host.SelectedRoots(3);
    std::unique_ptr<TTreeNodeShape> alone;
    TTreeNodeShape *node = nodes[1];
    if (!inDiagram) {
        alone = std::make_unique<TTreeNodeShape>();
        node = alone.get();
    } else if (!wasSelected) {
        node->SetSelected(false);
    }
    TDialogScript script;
    script.AnswerColor(clMaroon);
    int page = -1;
    bool positionShown = true;
    bool called = false;
    script.Handlers[QStringLiteral("TNodeTreeEditor")] = [&](QDialog &d) {
        auto &editor = static_cast<TNodeTreeEditor &>(d);
        page = editor.Pages()->currentIndex();
        positionShown = editor.Pages()->count() == 6;
        // The one node edited is the only one selected meanwhile.
        if (editor.Tree()->Selected().Count() == 1 && editor.FirstNode() == node)
            Click(editor.ColorSwatch());
        QTest::keyClick(&d, Qt::Key_Escape);
        return int(QDialog::Accepted);
    };
    EditShape(nullptr, node, sepGradient, [&](void *wizard, TNodeTreeEditor *) { called = wizard == &script; }, &script,
              false);
    QVERIFY(called);
    QCOMPARE(page, int(sepGradient));
    QVERIFY(!positionShown);
    QCOMPARE(node->Color(), clMaroon);
    QCOMPARE(node->Selected(), wasSelected);
    for (TTreeNodeShape *n : nodes)
        if (n != node)
            QCOMPARE(n->Selected(), !inDiagram);
    QCOMPARE(nodes[0]->Color(), clWhite);
}

void TestShapeEditors::designCaption()
{
    THost host;
    const auto nodes = host.SelectedRoots(1);
    host.Tree->SetDesigning(true);
    TNodeTreeEditor editor;
    editor.SetTree(host.Tree);
    editor.ShowStep();
    QCOMPARE(editor.windowTitle(), SEditingNode.Text() + nodes[0]->Name());
}

// ---- Connection editor

namespace {

struct TFan
{
    THost Host;
    TTreeNodeShape *Root;
    std::vector<TTreeConnection *> Connections;
    TFan()
    {
        Root = Host.SelectedRoots(1).front();
        for (int i = 0; i < 3; ++i)
            Connections.push_back(Root->Connections()[Root->AddChild(QStringLiteral("c%1").arg(i)) ? i : 0]);
    }
};

} // namespace

void TestShapeEditors::connectionAutomatic()
{
    TFan fan;
    TTreeConnection *c = fan.Connections[0];
    QCOMPARE(c->Style(), csAuto);
    TConnectionEditor editor;
    editor.SetConnection(c);
    editor.show();
    QVERIFY(editor.AutomaticBox()->isChecked());
    QVERIFY(!editor.StyleGroup()->isEnabled());
    QCOMPARE(editor.StyleButtons()->checkedId(), -1);
    QCOMPARE(editor.windowTitle(), FormatMessage(SEditingConnection, {c->Name()}));
    Toggle(editor.AutomaticBox());
    QCOMPARE(c->Style(), csLine);
    QVERIFY(editor.StyleGroup()->isEnabled());
    QCOMPARE(editor.StyleButtons()->checkedId(), 0);
    QCOMPARE(fan.Connections[1]->Style(), csAuto);
}

void TestShapeEditors::connectionStyleButtons_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("style");
    QTest::newRow("line") << 0 << int(csLine);
    QTest::newRow("sides") << 1 << int(csSides);
    QTest::newRow("inverted sides") << 2 << int(csInvertedSides);
    QTest::newRow("curve") << 3 << int(csCurve);
}

void TestShapeEditors::connectionStyleButtons()
{
    QFETCH(int, button);
    QFETCH(int, style);
    TFan fan;
    TTreeConnection *c = fan.Connections[1];
    c->SetStyle(csLine);
    TNoticeLog log(fan.Host.Tree);
    TConnectionEditor editor;
    editor.SetConnection(c);
    editor.show();
    QTest::mouseClick(editor.StyleButtons()->button(button), Qt::LeftButton, {}, QPoint(8, 8));
    QCOMPARE(int(c->Style()), style);
    if (style != csLine)
        QCOMPARE(log.Properties(), QStringList{QStringLiteral("property %1 Style").arg(c->Name())});
}

void TestShapeEditors::connectionPointList()
{
    TFan fan;
    TTreeConnection *c = fan.Connections[0];
    c->SetStyle(csLine);
    c->Points().Clear();
    c->AddPoint(1, 2);
    c->AddPoint(30, 40);
    c->AddPoint(50, 60);
    TConnectionEditor editor;
    editor.SetConnection(c);
    editor.show();
    editor.SetPage(cepPoints);
    QListWidget *list = editor.PointList();
    QCOMPARE(list->count(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(list->item(i)->text(), QStringLiteral("Point %1").arg(i));
    const QList<bool> enabled = {true, false, true};
    for (int i = 0; i < 3; ++i) {
        list->setCurrentRow(i);
        QCOMPARE(editor.PointAutomaticBox()->isEnabled(), enabled[i]);
        QVERIFY(editor.XGroup()->isEnabled());
        QCOMPARE(editor.XStyles()->checkedId(), 0);
    }
    QCOMPARE(editor.XValueBox()->value(), 50);
    Click(editor.AddPointButton());
    QCOMPARE(c->Count(), 4);
    QCOMPARE(list->count(), 4);
    QCOMPARE(list->currentRow(), 3);
    QCOMPARE(c->Points()[3].XValue, 0);
}

void TestShapeEditors::connectionPointStyles()
{
    TFan fan;
    TTreeConnection *c = fan.Connections[0];
    c->SetStyle(csLine);
    c->Points().Clear();
    c->AddPoint(10, 20);
    c->AddPoint(30, 40);
    TNoticeLog log(fan.Host.Tree);
    TConnectionEditor editor;
    editor.SetConnection(c);
    editor.show();
    editor.SetPage(cepPoints);
    editor.PointList()->setCurrentRow(1);
    TypeInto(editor.YValueBox(), QStringLiteral("45"));
    QCOMPARE(c->Points()[1].YValue, 45);
    QTest::mouseClick(editor.XStyles()->button(3), Qt::LeftButton, {}, QPoint(8, 8));
    QCOMPARE(c->Points()[1].XStyle, cpPrevOffset);
    QCOMPARE(editor.XStyles()->checkedId(), 3);
    Toggle(editor.PointAutomaticBox());
    QCOMPARE(c->Points()[1].XStyle, cpToEdge);
    QCOMPARE(c->Points()[1].YStyle, cpToEdge);
    QVERIFY(!editor.XGroup()->isEnabled());
    QVERIFY(!editor.YGroup()->isEnabled());
    Toggle(editor.PointAutomaticBox());
    QCOMPARE(c->Points()[1].XStyle, cpToOffset);
    QCOMPARE(editor.XStyles()->checkedId(), 2);
    QVERIFY(log.Lines.filter(QStringLiteral("points ")).size() >= 4);
}

void TestShapeEditors::connectionDeleteToOnePoint()
{
    TFan fan;
    TTreeConnection *c = fan.Connections[0];
    c->SetStyle(csLine);
    c->Points().Clear();
    for (int i = 0; i < 3; ++i)
        c->AddPoint(i, i);
    TConnectionEditor editor;
    editor.SetConnection(c);
    editor.show();
    editor.SetPage(cepPoints);
    QVERIFY(editor.DeletePointButton()->isEnabled());
    Click(editor.DeletePointButton());
    Click(editor.DeletePointButton());
    QCOMPARE(c->Count(), 1);
    QCOMPARE(editor.PointList()->count(), 1);
    QVERIFY(!editor.DeletePointButton()->isEnabled());
}

void TestShapeEditors::siblingsGetArrowsButNotColors()
{
    TFan fan;
    TDialogScript script;
    script.AnswerColor(clRed);
    script.Handlers[QStringLiteral("TConnectionEditor")] = [&](QDialog &d) {
        auto &editor = static_cast<TConnectionEditor &>(d);
        editor.Pages()->setCurrentIndex(cepArrowTo);
        TypeInto(editor.ArrowTo().Size, QStringLiteral("10"));
        QTest::mouseClick(editor.ArrowTo().Styles->button(casDiamond), Qt::LeftButton, {}, QPoint(8, 8));
        editor.Pages()->setCurrentIndex(cepArrowFrom);
        Click(editor.ArrowFrom().Color);
        return int(QDialog::Accepted);
    };
    EditConnection(nullptr, fan.Connections[1], true);
    for (TTreeConnection *c : fan.Connections) {
        QCOMPARE(c->ArrowTo()->Size(), 10);
        QCOMPARE(c->ArrowTo()->Style(), casDiamond);
    }
    QCOMPARE(fan.Connections[1]->ArrowFrom()->BackColor(), clRed);
    QCOMPARE(fan.Connections[0]->ArrowFrom()->BackColor(), clNone);
    QCOMPARE(fan.Connections[2]->ArrowFrom()->BackColor(), clNone);
    // Without siblings only the edited one changes.
    script.Handlers[QStringLiteral("TConnectionEditor")] = [&](QDialog &d) {
        TypeInto(static_cast<TConnectionEditor &>(d).ArrowTo().Size, QStringLiteral("3"));
        return int(QDialog::Accepted);
    };
    EditConnection(nullptr, fan.Connections[0], false);
    QCOMPARE(fan.Connections[0]->ArrowTo()->Size(), 3);
    QCOMPARE(fan.Connections[2]->ArrowTo()->Size(), 10);
}

void TestShapeEditors::siblingsPattern_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::newRow("confirmed") << true;
    QTest::newRow("cancelled") << false;
}

void TestShapeEditors::siblingsPattern()
{
    QFETCH(bool, confirm);
    TFan fan;
    fan.Connections[2]->ArrowFrom()->Brush()->SetStyle(bsVertical);
    const auto sibling = Snapshot(*fan.Connections[2]);
    TDialogScript script;
    script.Handlers[QStringLiteral("TBrushDialog")] = [&](QDialog &d) {
        static_cast<TBrushDialog &>(d).ChooseEntry(bsDiagCross);
        return int(confirm ? QDialog::Accepted : QDialog::Rejected);
    };
    script.Handlers[QStringLiteral("TConnectionEditor")] = [&](QDialog &d) {
        auto &editor = static_cast<TConnectionEditor &>(d);
        editor.Pages()->setCurrentIndex(cepArrowFrom);
        Click(editor.ArrowFrom().Pattern);
        return int(QDialog::Accepted);
    };
    EditConnection(nullptr, fan.Connections[0], true);
    if (confirm) {
        QCOMPARE(fan.Connections[0]->ArrowFrom()->Brush()->Style(), bsDiagCross);
        QCOMPARE(fan.Connections[2]->ArrowFrom()->Brush()->Style(), bsDiagCross);
    } else {
        QCOMPARE(fan.Connections[0]->ArrowFrom()->Brush()->Style(), bsSolid);
        QCOMPARE(Differences(sibling, Snapshot(*fan.Connections[2])), QStringList());
    }
}

void TestShapeEditors::connectionTextPage()
{
    TFan fan;
    TTreeConnection *c = fan.Connections[0];
    c->SetSimpleText(QStringLiteral("yes"));
    TDialogScript script;
    script.Handlers[QStringLiteral("TConnectionEditor")] = [&](QDialog &d) {
        auto &editor = static_cast<TConnectionEditor &>(d);
        [&] {
            QCOMPARE(editor.Pages()->currentIndex(), int(cepText));
            QVERIFY(editor.TextPanel());
            QCOMPARE(editor.TextPanel()->Element(), static_cast<TCustomTreeElement *>(c));
            QCOMPARE(editor.TextPanel()->TextBox()->toPlainText(), QStringLiteral("yes"));
        }();
        QTest::keyClick(editor.TextPanel()->TextBox(), Qt::Key_End);
        QTest::keyClicks(editor.TextPanel()->TextBox(), QStringLiteral("!"));
        return int(QDialog::Accepted);
    };
    EditConnectionPage(nullptr, c, cepText);
    QCOMPARE(c->SimpleText(), QStringLiteral("yes!"));
    QCOMPARE(fan.Root->SimpleText(), QStringLiteral("Node 0"));
}

QTEST_MAIN(TestShapeEditors)
#include "tst_shape_editors.moc"
