// The pen, brush and gradient dialogs, the text dialog and the property
// buttons: controls set by the user reach the model through change
// notices, Cancel puts back exactly what was there, and several selected
// nodes are edited as the text dialog says.

#include "DialogTestUtil.h"

#include "dialogs/DialogConst.h"
#include "dialogs/KorBrushDlg.h"
#include "dialogs/KorButtons.h"
#include "dialogs/KorEdiGrad.h"
#include "dialogs/KorPenDlg.h"
#include "dialogs/KorTextDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>

class TestFormatDialogs : public QObject
{
    Q_OBJECT
private slots:
    void penCancelRestores_data();
    void penCancelRestores();
    void penEditsAreNoticesOfOneStep();
    void penSmallDotsDisablesWidth();
    void plainPenHasNoVisibility();
    void brushPatternAndImageButton();
    void brushCancelRestores_data();
    void brushCancelRestores();
    void brushBrowse_data();
    void brushBrowse();
    void brushNoneDisablesColor();
    void gradientMiddleControls_data();
    void gradientMiddleControls();
    void gradientNoMiddleAndBack();
    void gradientSimpleHidesControls();
    void gradientCancelRestores();
    void cancelGoesBackToWhatWasShown();
    void colorButton_data();
    void colorButton();
    void penButtonDrawsAndEdits();
    void textDialogShowsValues();
    void textDialogTargets();
    void textDialogFontAndGradientCopies_data();
    void textDialogFontAndGradientCopies();
    void textDialogSingleConnection();
    void embeddedDialog();
    void editTextRunsModally();
};

namespace {

QPushButton *DialogButton(QDialog &d, const char *text)
{
    return FindByText<QPushButton>(&d, QString::fromLatin1(text));
}

} // namespace

// ---- Pen dialog

void TestFormatDialogs::penCancelRestores_data()
{
    QTest::addColumn<QString>("penClass");
    QTest::addColumn<bool>("visible");
    QTest::newRow("node border") << "TChartPen" << true;
    QTest::newRow("hidden outline") << "TChartHiddenPen" << false;
    QTest::newRow("connection pen") << "TTreeConnectionPen" << true;
}

void TestFormatDialogs::penCancelRestores()
{
    QFETCH(QString, penClass);
    QFETCH(bool, visible);
    std::unique_ptr<TChartPen> pen;
    if (penClass == QLatin1String("TChartHiddenPen"))
        pen = std::make_unique<TChartHiddenPen>();
    else if (penClass == QLatin1String("TTreeConnectionPen"))
        pen = std::make_unique<TTreeConnectionPen>();
    else
        pen = std::make_unique<TChartPen>();
    pen->SetColor(clMaroon);
    QCOMPARE(pen->Visible(), visible);
    const auto before = Snapshot(*pen);

    TDialogScript script;
    script.AnswerColor(clLime);
    bool seen = false;
    script.Handlers[QStringLiteral("TPenDialog")] = [&](QDialog &d) {
        auto &dialog = static_cast<TPenDialog &>(d);
        // A small-dotted pen has no width until another style is chosen.
        dialog.StyleList()->setFocus();
        QTest::keyClick(dialog.StyleList(), Qt::Key_Home);
        QTest::keyClick(dialog.StyleList(), Qt::Key_Down);
        TypeInto(dialog.WidthBox(), QStringLiteral("7"));
        Toggle(dialog.VisibleBox());
        Click(dialog.ColorButton());
        dialog.EndStyleList()->setFocus();
        QTest::keyClick(dialog.EndStyleList(), Qt::Key_Down);
        seen = pen->Width() == 7 && pen->Visible() != visible && pen->Color() == clLime &&
               pen->EndStyle() == esSquare && pen->Style() == psDash && !pen->SmallDots();
        Click(DialogButton(d, "Cancel"));
        return int(QDialog::Rejected);
    };
    QVERIFY(!EditPen(nullptr, pen.get()));
    QVERIFY2(seen, "the controls did not edit the pen live");
    QCOMPARE(Differences(before, Snapshot(*pen)), QStringList());
}

void TestFormatDialogs::penEditsAreNoticesOfOneStep()
{
    THost host;
    TTreeNodeShape *node = host.SelectedRoots(1).front();
    node->SetName(QStringLiteral("Node1"));
    TNoticeLog log(host.Tree);
    TDialogScript script;
    script.Handlers[QStringLiteral("TPenDialog")] = [&](QDialog &d) {
        auto &dialog = static_cast<TPenDialog &>(d);
        TypeInto(dialog.WidthBox(), QStringLiteral("3"));
        QTest::keyClick(&d, Qt::Key_Return);
        return int(QDialog::Accepted);
    };
    QVERIFY(EditPen(nullptr, node->Border(), TEditTarget(host.Tree, node, QStringLiteral("Border"))));
    QCOMPARE(node->Border()->Width(), 3);
    QCOMPARE(log.Steps, 1);
    QCOMPARE(log.Lines.first(), QStringLiteral("step ") + SStepFormat.Text());
    QCOMPARE(log.Lines.last(), QStringLiteral("end"));
    QVERIFY(log.Properties().contains(QStringLiteral("property Node1 Border.Width")));
}

void TestFormatDialogs::penSmallDotsDisablesWidth()
{
    TChartPen pen;
    TDialogScript script;
    script.Handlers[QStringLiteral("TPenDialog")] = [&](QDialog &d) {
        auto &dialog = static_cast<TPenDialog &>(d);
        [&] {
            QCOMPARE(dialog.StyleList()->count(), 6);
            QCOMPARE(dialog.StyleList()->itemText(TPenDialog::kSmallDotsEntry), QStringLiteral("Small Dots"));
        }();
        dialog.StyleList()->setFocus();
        QTest::keyClick(dialog.StyleList(), Qt::Key_End);
        [&] {
            QVERIFY(pen.SmallDots());
            QVERIFY(!dialog.WidthBox()->isEnabled());
        }();
        QTest::keyClick(dialog.StyleList(), Qt::Key_Home);
        [&] {
            QVERIFY(!pen.SmallDots());
            QCOMPARE(pen.Style(), psSolid);
            QVERIFY(dialog.WidthBox()->isEnabled());
        }();
        return int(QDialog::Accepted);
    };
    QVERIFY(EditPen(nullptr, &pen));
}

void TestFormatDialogs::plainPenHasNoVisibility()
{
    TPen pen;
    pen.SetStyle(psDot);
    TDialogScript script;
    script.Handlers[QStringLiteral("TPenDialog")] = [&](QDialog &d) {
        auto &dialog = static_cast<TPenDialog &>(d);
        [&] {
            QVERIFY(!dialog.VisibleBox()->isVisible());
            QVERIFY(!dialog.EndStyleList()->isVisible());
            QCOMPARE(dialog.StyleList()->count(), 5);
            QCOMPARE(dialog.StyleList()->currentIndex(), int(psDot));
        }();
        QTest::keyClick(&d, Qt::Key_Escape);
        return int(QDialog::Rejected);
    };
    QVERIFY(!EditPen(nullptr, &pen));
    QCOMPARE(pen.Style(), psDot);
}

// ---- Brush dialog

namespace {

void ClickEntry(QListWidget *list, int row)
{
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

} // namespace

void TestFormatDialogs::brushPatternAndImageButton()
{
    TChartBrush brush;
    TDialogScript script;
    script.Handlers[QStringLiteral("TBrushDialog")] = [&](QDialog &d) {
        auto &dialog = static_cast<TBrushDialog &>(d);
        [&] {
            QCOMPARE(dialog.StyleList()->count(), kBrushEntryCount);
            QCOMPARE(dialog.StyleList()->item(10)->text(), QStringLiteral("Fill 40%"));
            QCOMPARE(dialog.ImageButton()->text(), SBrushBrowse.Text());
            ClickEntry(dialog.StyleList(), 10);
            QVERIFY(brush.HasImage());
            TPicture pattern;
            QVERIFY(LoadBrushPattern(3, pattern));
            QCOMPARE(brush.PeekImage()->Image(), pattern.Image());
            QVERIFY(brush.PeekImage()->Transparent());
            QCOMPARE(brush.PeekImage()->TransparentColor(), clWhite);
            QCOMPARE(dialog.ImageButton()->text(), SBrushClear.Text());
            QVERIFY(dialog.Preview()->pixmap().isNull() == false);
            // Clearing goes back to the style's entry and drops the image.
            Click(dialog.ImageButton());
            QVERIFY(!brush.HasImage());
            QCOMPARE(dialog.StyleList()->currentRow(), int(bsSolid));
            QCOMPARE(dialog.ImageButton()->text(), SBrushBrowse.Text());
            ClickEntry(dialog.StyleList(), 6);
            QCOMPARE(brush.Style(), bsCross);
        }();
        return int(QDialog::Accepted);
    };
    QVERIFY(EditBrush(nullptr, &brush));
    QCOMPARE(brush.Style(), bsCross);
}

void TestFormatDialogs::brushCancelRestores_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<bool>("hadImage");
    QTest::newRow("style over plain") << 4 << false;
    QTest::newRow("pattern over plain") << 17 << false;
    QTest::newRow("style over picture") << 2 << true;
    QTest::newRow("pattern over picture") << 8 << true;
}

void TestFormatDialogs::brushCancelRestores()
{
    QFETCH(int, entry);
    QFETCH(bool, hadImage);
    THost host;
    TTreeNodeShape *node = host.SelectedRoots(1).front();
    TTreeShapeBrush *brush = node->Brush();
    brush->SetColor(clTeal);
    brush->SetStyle(bsBDiagonal);
    if (hadImage) {
        QImage image(5, 3, QImage::Format_RGB32);
        image.fill(Qt::red);
        brush->Image()->SetImage(image);
    }
    const auto before = Snapshot(*node);
    TNoticeLog log(host.Tree);
    TDialogScript script;
    script.AnswerColor(clYellow);
    script.Handlers[QStringLiteral("TBrushDialog")] = [&](QDialog &d) {
        auto &dialog = static_cast<TBrushDialog &>(d);
        ClickEntry(dialog.StyleList(), entry);
        Click(dialog.ColorButton());
        QTest::keyClick(&d, Qt::Key_Escape);
        return int(QDialog::Rejected);
    };
    QVERIFY(!EditBrush(nullptr, brush, TEditTarget(host.Tree, node, QStringLiteral("Brush"))));
    QCOMPARE(Differences(before, Snapshot(*node)), QStringList());
    // The edits and the restoring were heard, as one step.
    QCOMPARE(log.Steps, 1);
    QVERIFY(log.Properties().size() >= 3);
}

void TestFormatDialogs::brushBrowse_data()
{
    QTest::addColumn<QString>("answer"); // "good", "bad" or "" (cancelled)
    QTest::newRow("picture loaded") << "good";
    QTest::newRow("file that is no picture") << "bad";
    QTest::newRow("cancelled") << "";
}

void TestFormatDialogs::brushBrowse()
{
    QFETCH(QString, answer);
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("tile.png"));
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QVERIFY(image.save(good));
    const QString bad = dir.filePath(QStringLiteral("tile.bmp"));
    {
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a bitmap");
    }
    TChartBrush brush;
    TDialogScript script;
    if (!answer.isEmpty())
        script->FileNames = {answer == QLatin1String("good") ? good : bad};
    script.Handlers[QStringLiteral("TBrushDialog")] = [&](QDialog &d) {
        auto &dialog = static_cast<TBrushDialog &>(d);
        Click(dialog.ImageButton());
        return int(QDialog::Accepted);
    };
    QVERIFY(EditBrush(nullptr, &brush));
    QCOMPARE(brush.HasImage(), answer == QLatin1String("good"));
    // The open dialog lists the picture formats; a bad file is reported.
    QCOMPARE(script->CallsOf(QStringLiteral("OpenFileName")).size(), size_t(1));
    QCOMPARE(script->CallsOf(QStringLiteral("Ask")).size(), size_t(answer == QLatin1String("bad") ? 1 : 0));
    if (answer == QLatin1String("good"))
        QCOMPARE(brush.PeekImage()->Image().pixel(0, 0), qRgb(0, 0, 255));
}

void TestFormatDialogs::brushNoneDisablesColor()
{
    TChartBrush brush;
    brush.SetStyle(bsClear);
    TDialogScript script;
    script.Handlers[QStringLiteral("TBrushDialog")] = [&](QDialog &d) {
        auto &dialog = static_cast<TBrushDialog &>(d);
        [&] {
            QVERIFY(!dialog.ColorButton()->isEnabled());
            QCOMPARE(dialog.StyleList()->currentRow(), int(bsClear));
            ClickEntry(dialog.StyleList(), bsHorizontal);
            QVERIFY(dialog.ColorButton()->isEnabled());
        }();
        return int(QDialog::Accepted);
    };
    QVERIFY(EditBrush(nullptr, &brush));
    QCOMPARE(brush.Style(), bsHorizontal);
}

// ---- Gradient editor

void TestFormatDialogs::gradientMiddleControls_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("simple");
    QTest::addColumn<bool>("middleEnabled");
    QTest::addColumn<bool>("othersEnabled");
    QTest::newRow("top bottom, visible") << int(gdTopBottom) << true << false << true << true;
    QTest::newRow("from center") << int(gdFromCenter) << true << false << false << true;
    QTest::newRow("from top left") << int(gdFromTopLeft) << true << false << false << true;
    QTest::newRow("from bottom left") << int(gdFromBottomLeft) << true << false << false << true;
    QTest::newRow("right left") << int(gdRightLeft) << true << false << true << true;
    QTest::newRow("invisible") << int(gdTopBottom) << false << false << false << false;
    QTest::newRow("simple from center") << int(gdFromCenter) << false << true << true << true;
}

void TestFormatDialogs::gradientMiddleControls()
{
    QFETCH(int, direction);
    QFETCH(bool, visible);
    QFETCH(bool, simple);
    QFETCH(bool, middleEnabled);
    QFETCH(bool, othersEnabled);
    TKorGradient g;
    // A simple editor has no visibility box: its gradient starts as the row says.
    g.SetVisible(simple ? visible : true);
    g.SetDirection(gdBottomTop);
    TDialogScript script;
    script.Handlers[QStringLiteral("TKorGradientEditor")] = [&](QDialog &d) {
        auto &dialog = static_cast<TKorGradientEditor &>(d);
        // Chosen from the keyboard, as a user would.
        dialog.DirectionList()->setFocus();
        QTest::keyClick(dialog.DirectionList(), Qt::Key_Home);
        for (int i = 0; i < direction; ++i)
            QTest::keyClick(dialog.DirectionList(), Qt::Key_Down);
        if (!visible && !simple)
            Toggle(dialog.VisibleBox());
        [&] {
            QCOMPARE(int(g.Direction()), direction);
            QCOMPARE(g.Visible(), visible);
            QCOMPARE(dialog.NoMiddleBox()->isEnabled(), middleEnabled);
            QCOMPARE(dialog.MiddleButton()->isEnabled(), middleEnabled);
            QCOMPARE(dialog.StartButton()->isEnabled(), othersEnabled);
            QCOMPARE(dialog.DirectionList()->isEnabled(), othersEnabled);
        }();
        return int(QDialog::Accepted);
    };
    QVERIFY(EditGradient(nullptr, &g, simple));
}

void TestFormatDialogs::gradientNoMiddleAndBack()
{
    TKorGradient g;
    g.SetVisible(true);
    g.SetMidColor(clRed);
    TDialogScript script;
    script.AnswerColor(clBlue);
    script.Handlers[QStringLiteral("TKorGradientEditor")] = [&](QDialog &d) {
        auto &dialog = static_cast<TKorGradientEditor &>(d);
        [&] {
            QVERIFY(!dialog.NoMiddleBox()->isChecked());
            Toggle(dialog.NoMiddleBox());
            QCOMPARE(g.MidColor(), clNone);
            // Unchecking brings the stored middle colour back.
            Toggle(dialog.NoMiddleBox());
            QCOMPARE(g.MidColor(), clRed);
            Toggle(dialog.NoMiddleBox());
            // Choosing a middle colour unchecks the box.
            Click(dialog.MiddleButton());
            QCOMPARE(g.MidColor(), clBlue);
            QVERIFY(!dialog.NoMiddleBox()->isChecked());
            g.SetStartColor(clWhite);
            g.SetEndColor(clBlack);
            Click(dialog.SwapButton());
            QCOMPARE(g.StartColor(), clBlack);
            QCOMPARE(g.EndColor(), clWhite);
        }();
        return int(QDialog::Accepted);
    };
    QVERIFY(EditGradient(nullptr, &g));
}

void TestFormatDialogs::gradientSimpleHidesControls()
{
    TKorGradient g;
    TDialogScript script;
    script.Handlers[QStringLiteral("TKorGradientEditor")] = [&](QDialog &d) {
        auto &dialog = static_cast<TKorGradientEditor &>(d);
        [&] {
            QVERIFY(!dialog.VisibleBox()->isVisible());
            QVERIFY(!dialog.EndButton()->isVisible());
            QVERIFY(!dialog.SwapButton()->isVisible());
            QVERIFY(dialog.StartButton()->isVisible());
            QVERIFY(dialog.StartButton()->isEnabled());
        }();
        return int(QDialog::Rejected);
    };
    QVERIFY(!EditGradient(nullptr, &g, true));
}

void TestFormatDialogs::gradientCancelRestores()
{
    THost host;
    TTreeNodeShape *node = host.SelectedRoots(1).front();
    node->Gradient()->SetMidColor(clAqua);
    node->Gradient()->SetMidColor(clNone); // a stored middle colour, not shown
    const auto before = Snapshot(*node);
    TDialogScript script;
    script.AnswerColor(clPurple);
    script.Handlers[QStringLiteral("TKorGradientEditor")] = [&](QDialog &d) {
        auto &dialog = static_cast<TKorGradientEditor &>(d);
        Toggle(dialog.VisibleBox());
        Toggle(dialog.NoMiddleBox());
        Click(dialog.StartButton());
        Click(dialog.SwapButton());
        dialog.DirectionList()->setFocus();
        QTest::keyClick(dialog.DirectionList(), Qt::Key_Down);
        Click(DialogButton(d, "Cancel"));
        return int(QDialog::Rejected);
    };
    QVERIFY(!EditGradient(nullptr, node->Gradient(), false, TEditTarget(host.Tree, node, QStringLiteral("Gradient"))));
    QCOMPARE(Differences(before, Snapshot(*node)), QStringList());
    QCOMPARE(node->Gradient()->StoredMidColor(), clAqua);
}

// A dialog made early and shown later takes its copy again when shown:
// Cancel goes back to what the object was then, not at construction.
void TestFormatDialogs::cancelGoesBackToWhatWasShown()
{
    TChartPen pen;
    TPenDialog penDialog(nullptr, &pen);
    pen.SetWidth(3);
    penDialog.show();
    QCOMPARE(penDialog.WidthBox()->value(), 3);
    penDialog.WidthBox()->setValue(9);
    QCOMPARE(pen.Width(), 9);
    penDialog.reject();
    QCOMPARE(pen.Width(), 3);
    QCOMPARE(penDialog.Backup()->Width(), 3);

    TChartBrush brush;
    TBrushDialog brushDialog(nullptr, &brush);
    brush.SetStyle(bsCross);
    brushDialog.show();
    QCOMPARE(brushDialog.StyleList()->currentRow(), int(bsCross));
    brushDialog.ChooseEntry(int(bsHorizontal));
    QCOMPARE(brush.Style(), bsHorizontal);
    brushDialog.reject();
    QCOMPARE(brush.Style(), bsCross);

    TKorGradient gradient;
    TKorGradientEditor gradientDialog(nullptr, &gradient);
    gradient.SetDirection(gdLeftRight);
    gradientDialog.show();
    QCOMPARE(gradientDialog.DirectionList()->currentIndex(), int(gdLeftRight));
    gradientDialog.DirectionList()->setCurrentIndex(int(gdFromCenter));
    QCOMPARE(gradient.Direction(), gdFromCenter);
    gradientDialog.reject();
    QCOMPARE(gradient.Direction(), gdLeftRight);
}

// ---- Property buttons

void TestFormatDialogs::colorButton_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("notices");
    QTest::newRow("another colour") << true << int(clRed) << int(clRed) << 1;
    QTest::newRow("the same colour") << true << int(clGreen) << int(clGreen) << 0;
    QTest::newRow("cancelled") << false << int(clRed) << int(clGreen) << 0;
}

void TestFormatDialogs::colorButton()
{
    QFETCH(bool, confirm);
    QFETCH(int, answer);
    QFETCH(int, expected);
    QFETCH(int, notices);
    THost host;
    TTreeNodeShape *node = host.SelectedRoots(1).front();
    node->SetName(QStringLiteral("Node1"));
    node->Brush()->SetColor(clGreen);
    TNoticeLog log(host.Tree);
    TDialogScript script;
    script.AnswerColor(answer, confirm);
    TButtonColor button(QStringLiteral("&Color..."));
    button.LinkProperty(node->Brush(), QStringLiteral("Color"), TEditTarget(host.Tree, node, QStringLiteral("Brush")));
    int clicks = 0;
    connect(&button, &TButtonColor::Edited, [&] { ++clicks; });
    button.resize(100, 24);
    button.show();
    QCOMPARE(button.SymbolColor(), clGreen);
    Click(&button);
    QCOMPARE(node->Brush()->Color(), TColor(expected));
    QCOMPARE(clicks, 1);
    QCOMPARE(log.Properties().size(), notices);
    if (notices)
        QCOMPARE(log.Properties().first(), QStringLiteral("property Node1 Brush.Color"));
    // The swatch at the right edge shows the colour.
    const QImage shot = button.grab().toImage();
    const int y = button.height() / 2;
    QCOMPARE(QColor(shot.pixel(button.width() - 12, y)), ToQColor(expected));
}

void TestFormatDialogs::penButtonDrawsAndEdits()
{
    TChartPen pen;
    pen.SetColor(clRed);
    pen.SetWidth(1);
    TButtonPen button(QStringLiteral("&Border..."));
    button.LinkPen(&pen);
    button.resize(100, 24);
    const QImage shot = button.grab().toImage();
    QCOMPARE(QColor(shot.pixel(button.width() - 10, button.height() / 2)), QColor(Qt::red));
    TDialogScript script;
    script.Handlers[QStringLiteral("TPenDialog")] = [&](QDialog &d) {
        TypeInto(static_cast<TPenDialog &>(d).WidthBox(), QStringLiteral("4"));
        return int(QDialog::Accepted);
    };
    QList<bool> answers;
    connect(&button, &TButtonPen::Edited, [&](bool ok) { answers << ok; });
    button.show();
    Click(&button);
    QCOMPARE(pen.Width(), 4);
    QCOMPARE(answers, QList<bool>{true});
}

// ---- Text dialog

void TestFormatDialogs::textDialogShowsValues()
{
    THost host;
    TTreeNodeShape *node = host.SelectedRoots(1).front();
    node->Font()->Shadow()->SetVertSize(3);
    node->Font()->Shadow()->SetHorizSize(-2);
    node->Font()->SetInterCharSize(4);
    node->Text()->SetTransparency(20);
    node->Text()->SetAngle(90);
    node->Text()->SetHorizAlign(htaRight);
    node->Text()->SetVertAlign(vtaTop);
    node->Text()->SetVertOffset(-7);
    node->Text()->SetClipText(true);
    node->Text()->SetLines({QStringLiteral("one"), QStringLiteral("two")});
    const auto before = Snapshot(*node);
    TFormKorText dialog;
    dialog.SetTree(host.Tree);
    dialog.show();
    QCOMPARE(dialog.ShadowHeightBox()->value(), 3);
    QCOMPARE(dialog.ShadowWidthBox()->value(), -2);
    QCOMPARE(dialog.TransparencyBox()->value(), 20);
    QCOMPARE(dialog.SpacingBox()->value(), 4);
    QCOMPARE(dialog.AngleBox()->value(), 90);
    QCOMPARE(dialog.HorizList()->currentText(), QStringLiteral("Right"));
    QCOMPARE(dialog.VertList()->currentText(), QStringLiteral("Top"));
    QCOMPARE(dialog.VertOffsetBox()->value(), -7);
    QVERIFY(dialog.ClipBox()->isChecked());
    QCOMPARE(dialog.TextBox()->toPlainText(), QStringLiteral("one\ntwo"));
    QCOMPARE(dialog.Pages()->currentIndex(), 0);
    // Filling changed nothing.
    QCOMPARE(Differences(before, Snapshot(*node)), QStringList());
}

void TestFormatDialogs::textDialogTargets()
{
    THost host;
    const auto nodes = host.SelectedRoots(3);
    TNoticeLog log(host.Tree);
    TFormKorText dialog;
    dialog.SetTree(host.Tree);
    dialog.show();
    QTest::keyClick(dialog.TextBox(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(dialog.TextBox(), QStringLiteral("!"));
    QCOMPARE(nodes[0]->SimpleText(), QStringLiteral("Node 0!"));
    QCOMPARE(nodes[1]->SimpleText(), QStringLiteral("Node 1"));
    QCOMPARE(nodes[2]->SimpleText(), QStringLiteral("Node 2"));
    log.Clear();
    dialog.Pages()->setCurrentIndex(1);
    TypeInto(dialog.AngleBox(), QStringLiteral("45"));
    for (TTreeNodeShape *n : nodes)
        QCOMPARE(n->Text()->Angle(), 45);
    dialog.HorizList()->setFocus();
    QTest::keyClick(dialog.HorizList(), Qt::Key_Home);
    for (TTreeNodeShape *n : nodes)
        QCOMPARE(n->Text()->HorizAlign(), htaLeft);
    TypeInto(dialog.ShadowHeightBox(), QStringLiteral("-5"));
    for (TTreeNodeShape *n : nodes)
        QCOMPARE(n->Font()->ShadowVertSize(), -5);
    // Each change is one step over the three nodes.
    QVERIFY(log.Steps >= 3);
    QVERIFY(log.Properties().contains(QStringLiteral("property %1 Text.Angle").arg(nodes[2]->Name())));
    QVERIFY(log.Properties().contains(QStringLiteral("property %1 Font.Shadow.VertSize").arg(nodes[1]->Name())));
}

void TestFormatDialogs::textDialogFontAndGradientCopies_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("confirm");
    QTest::newRow("font confirmed") << "font" << true;
    QTest::newRow("font cancelled") << "font" << false;
    QTest::newRow("gradient confirmed") << "gradient" << true;
    QTest::newRow("gradient cancelled") << "gradient" << false;
    QTest::newRow("outline confirmed") << "outline" << true;
    QTest::newRow("outline cancelled") << "outline" << false;
}

void TestFormatDialogs::textDialogFontAndGradientCopies()
{
    QFETCH(QString, button);
    QFETCH(bool, confirm);
    THost host;
    const auto nodes = host.SelectedRoots(2);
    nodes[1]->Font()->SetName(QStringLiteral("Courier New"));
    nodes[1]->Font()->OutLine()->SetColor(clGreen);
    const auto second = Snapshot(*nodes[1]);
    TDialogScript script;
    script->OnPickFont = [&](QFont &f) {
        f.setFamily(QStringLiteral("Times New Roman"));
        f.setBold(true);
        f.setPointSize(14);
        return confirm;
    };
    script.Handlers[QStringLiteral("TKorGradientEditor")] = [&](QDialog &d) {
        Toggle(static_cast<TKorGradientEditor &>(d).VisibleBox());
        return int(confirm ? QDialog::Accepted : QDialog::Rejected);
    };
    script.Handlers[QStringLiteral("TPenDialog")] = [&](QDialog &d) {
        TypeInto(static_cast<TPenDialog &>(d).WidthBox(), QStringLiteral("6"));
        return int(confirm ? QDialog::Accepted : QDialog::Rejected);
    };
    TFormKorText dialog;
    dialog.SetTree(host.Tree);
    dialog.show();
    dialog.Pages()->setCurrentIndex(button == QLatin1String("font") ? 0 : 1);
    if (button == QLatin1String("font"))
        Click(dialog.FontButton());
    else if (button == QLatin1String("gradient"))
        Click(dialog.GradientButton());
    else
        Click(dialog.OutlineButton());
    if (!confirm) {
        QCOMPARE(Differences(second, Snapshot(*nodes[1])), QStringList());
        return;
    }
    if (button == QLatin1String("font")) {
        for (TTreeNodeShape *n : nodes) {
            QCOMPARE(n->Font()->Name(), QStringLiteral("Times New Roman"));
            QVERIFY(n->Font()->IsBold());
            QCOMPARE(n->Font()->Size(), 14);
        }
    } else if (button == QLatin1String("gradient")) {
        QVERIFY(nodes[0]->Font()->Gradient()->Visible());
        QVERIFY(nodes[1]->Font()->Gradient()->Visible());
    } else {
        QCOMPARE(nodes[0]->Font()->OutLine()->Width(), 6);
        QCOMPARE(nodes[1]->Font()->OutLine()->Width(), 6);
    }
}

void TestFormatDialogs::textDialogSingleConnection()
{
    THost host;
    const auto nodes = host.SelectedRoots(2);
    TTreeConnection *c = nodes[0]->AddConnection(nodes[1]);
    c->SetSimpleText(QStringLiteral("link"));
    TFormKorText dialog;
    dialog.SetElement(c);
    dialog.show();
    QVERIFY(dialog.Single());
    QCOMPARE(dialog.Tree(), host.Tree);
    QVERIFY(!dialog.ClipBox()->isVisible());
    QCOMPARE(dialog.TextBox()->toPlainText(), QStringLiteral("link"));
    dialog.Pages()->setCurrentIndex(1);
    TypeInto(dialog.TransparencyBox(), QStringLiteral("30"));
    QCOMPARE(int(c->Text()->Transparency()), 30);
    QVERIFY(!nodes[0]->PeekText() || nodes[0]->Text()->Transparency() == 0);
}

void TestFormatDialogs::embeddedDialog()
{
    QWidget page;
    page.resize(400, 300);
    auto *dialog = new TFormKorText;
    page.show();
    dialog->EmbedIn(&page);
    QVERIFY(dialog->Embedded());
    QCOMPARE(dialog->parentWidget(), &page);
    QVERIFY(!dialog->isWindow());
    QVERIFY(dialog->isVisible());
    QPushButton *close = FindByText<QPushButton>(dialog, QStringLiteral("Close"));
    QVERIFY(close);
    QVERIFY(!close->isVisible());
}

void TestFormatDialogs::editTextRunsModally()
{
    THost host;
    TTreeNodeShape *node = host.SelectedRoots(1).front();
    TDialogScript script;
    bool sizeable = false;
    script.Handlers[QStringLiteral("TFormKorText")] = [&](QDialog &d) {
        auto &dialog = static_cast<TFormKorText &>(d);
        sizeable = d.isSizeGripEnabled() && d.width() >= 320 && d.height() >= 200;
        QTest::keyClicks(dialog.TextBox(), QStringLiteral("New "));
        QTest::keyClick(&d, Qt::Key_Escape);
        return int(QDialog::Rejected);
    };
    EditText(nullptr, node);
    QVERIFY(sizeable);
    // Live, without cancel: the text stays.
    QCOMPARE(node->SimpleText(), QStringLiteral("New Node 0"));
}

QTEST_MAIN(TestFormatDialogs)
#include "tst_format_dialogs.moc"
