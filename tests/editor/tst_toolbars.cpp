// The font and format toolbars: they show the selection's values, act on
// every selected node or on the selected connection as one step through
// the change notices, leave the diagram alone while they are only filled,
// and a cancelled dialog changes nothing.

#include "PanelTestUtil.h"

#include "dialogs/KorButtons.h"
#include "dialogs/KorPenDlg.h"
#include "editor/TreeToolbars.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>

class TestToolbars : public QObject
{
    Q_OBJECT
private slots:
    void disabledWithoutSelection();
    void differentFontsShowNoName();
    void typedSizeAppliesToAll_data();
    void typedSizeAppliesToAll();
    void styleButtonsToggleEachNode();
    void connectionTakesTheFontAlone();
    void cancelledColorChangesNothing();
    void pickedColorIsOneStep();
    void outlineCopiedFromTheFirstNode();
    void borderStyleEntries_data();
    void borderStyleEntries();
    void borderStyleShown_data();
    void borderStyleShown();
    void nodeControlsFollowTheFirstNode();
    void textBoxReplacesTheFirstLine_data();
    void textBoxReplacesTheFirstLine();
    void fillingWritesNothing();
};

void TestToolbars::disabledWithoutSelection()
{
    TPanelHost host;
    TTreeNodeShape *a = host.Root(QStringLiteral("a"));
    TTreeFontToolbar font;
    TTreeFormatToolbar format;
    font.SetTree(host.Tree);
    format.SetTree(host.Tree);
    QVERIFY(!font.NameBox()->isEnabled());
    QVERIFY(!font.BoldButton()->isEnabled());
    QVERIFY(!format.BorderStyleList()->isEnabled());
    QVERIFY(!format.TextBox()->isEnabled());
    a->SetSelected(true);
    QVERIFY(font.RefreshPending());
    Settle();
    QVERIFY(font.NameBox()->isEnabled());
    QVERIFY(format.BorderStyleList()->isEnabled());
    QCOMPARE(format.TextBox()->currentText(), QStringLiteral("a"));
    a->SetSelected(false);
    Settle();
    QVERIFY(!font.SizeBox()->isEnabled());
    QVERIFY(format.TextBox()->currentText().isEmpty());
}

void TestToolbars::differentFontsShowNoName()
{
    TPanelHost host;
    TTreeNodeShape *a = host.Root(QStringLiteral("a"));
    TTreeNodeShape *b = host.Root(QStringLiteral("b"));
    TTreeFontToolbar font;
    QVERIFY(font.NameBox()->count() > 0);
    const QString first = font.NameBox()->itemText(0);
    const QString last = font.NameBox()->itemText(font.NameBox()->count() - 1);
    a->Font()->SetName(first);
    a->Font()->SetSize(10);
    b->Font()->SetName(font.NameBox()->count() > 1 ? last : first + QStringLiteral("x"));
    b->Font()->SetSize(12);
    font.SetTree(host.Tree);
    host.Select({a, b});
    font.Refresh();
    QCOMPARE(font.NameBox()->currentIndex(), -1);
    QVERIFY(font.SizeBox()->currentText().isEmpty());
    // Alone, each shows its own.
    host.Select({a});
    font.Refresh();
    QCOMPARE(font.NameBox()->currentText(), first);
    QCOMPARE(font.SizeBox()->currentText(), QStringLiteral("10"));
}

void TestToolbars::typedSizeAppliesToAll_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("expected"); // 0: both keep their sizes
    QTest::newRow("number") << QStringLiteral("14") << 14;
    QTest::newRow("spaces") << QStringLiteral(" 20 ") << 20;
    QTest::newRow("list entry") << QStringLiteral("72") << 72;
    QTest::newRow("not a number") << QStringLiteral("big") << 0;
    QTest::newRow("number and letters") << QStringLiteral("12pt") << 0;
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("zero") << QStringLiteral("0") << 0;
    QTest::newRow("negative") << QStringLiteral("-8") << 0;
    QTest::newRow("huge") << QStringLiteral("100000") << 0;
}

void TestToolbars::typedSizeAppliesToAll()
{
    QFETCH(QString, typed);
    QFETCH(int, expected);
    TPanelHost host;
    TTreeNodeShape *a = host.Root(QStringLiteral("a"));
    TTreeNodeShape *b = host.Root(QStringLiteral("b"));
    a->Font()->SetSize(9);
    b->Font()->SetSize(11);
    TTreeFontToolbar font;
    font.SetTree(host.Tree);
    host.Select({a, b});
    font.Refresh();
    font.show();
    TNoticeCounter notices(host.Tree);
    // Typed into the box and confirmed with Enter.
    font.SizeBox()->lineEdit()->setFocus();
    font.SizeBox()->lineEdit()->selectAll();
    QTest::keyClicks(font.SizeBox()->lineEdit(), typed);
    QTest::keyClick(font.SizeBox()->lineEdit(), Qt::Key_Return);
    if (expected == 0) {
        QCOMPARE(a->Font()->Size(), 9);
        QCOMPARE(b->Font()->Size(), 11);
        QCOMPARE(notices.Edits, 0);
    } else {
        QCOMPARE(a->Font()->Size(), expected);
        QCOMPARE(b->Font()->Size(), expected);
        QCOMPARE(notices.Steps, 1);
        QCOMPARE(notices.Edits, 2);
    }
}

void TestToolbars::styleButtonsToggleEachNode()
{
    TPanelHost host;
    TTreeNodeShape *a = host.Root(QStringLiteral("a"));
    TTreeNodeShape *b = host.Root(QStringLiteral("b"));
    b->Font()->SetStyle(SetBit(fsItalic));
    TTreeFontToolbar font;
    font.SetTree(host.Tree);
    host.Select({a, b});
    font.Refresh();
    font.show();
    TNoticeCounter notices(host.Tree);
    QTest::mouseClick(font.BoldButton(), Qt::LeftButton);
    QVERIFY(a->Font()->IsBold());
    QVERIFY(b->Font()->IsBold());
    // The other styles stay as each node had them.
    QVERIFY(!a->Font()->IsItalic());
    QVERIFY(b->Font()->IsItalic());
    QCOMPARE(notices.Steps, 1);
    QTest::mouseClick(font.BoldButton(), Qt::LeftButton);
    QVERIFY(!a->Font()->IsBold());
    QVERIFY(!b->Font()->IsBold());
    QTest::mouseClick(font.RightButton(), Qt::LeftButton);
    QCOMPARE(a->Text()->HorizAlign(), htaRight);
    QCOMPARE(b->Text()->HorizAlign(), htaRight);
    QVERIFY(!font.LeftButton()->isChecked());
    font.InterCharBox()->setValue(-7);
    QCOMPARE(a->Font()->InterCharSize(), -7);
    QCOMPARE(b->Font()->InterCharSize(), -7);
}

void TestToolbars::connectionTakesTheFontAlone()
{
    TPanelHost host;
    TTreeNodeShape *a = host.Root(QStringLiteral("a"));
    TTreeNodeShape *c = a->AddChild(QStringLiteral("c"));
    QCOMPARE(host.Tree->Connections().Count(), 1);
    TTreeConnection *link = host.Tree->Connections().Items(0);
    host.Select({a});
    host.Tree->Connections().SetSelected(link);
    TTreeFontToolbar font;
    TTreeFormatToolbar format;
    font.SetTree(host.Tree);
    format.SetTree(host.Tree);
    font.show();
    format.show();
    QTest::mouseClick(font.UnderlineButton(), Qt::LeftButton);
    QVERIFY(link->Font()->Style() & SetBit(fsUnderline));
    QVERIFY(!(a->EffectiveFont()->Style() & SetBit(fsUnderline)));
    QVERIFY(!(c->EffectiveFont()->Style() & SetBit(fsUnderline)));
    // Node-only controls have nothing to act on.
    QVERIFY(!format.FillColorButton()->isVisible());
    QVERIFY(!format.ImageList()->isEnabled());
    format.BorderWidthSlider()->setValue(4);
    QCOMPARE(link->Border()->Width(), 4);
    QVERIFY(!a->PeekBorder() || a->PeekBorder()->Width() == 1);
}

void TestToolbars::cancelledColorChangesNothing()
{
    TPanelHost host;
    TTreeNodeShape *a = host.Root(QStringLiteral("a"));
    TTreeFormatToolbar format;
    TTreeFontToolbar font;
    format.SetTree(host.Tree);
    font.SetTree(host.Tree);
    host.Select({a});
    format.Refresh();
    font.Refresh();
    format.show();
    TScriptedPromptsGuard prompts;
    prompts->OnPickColor = [](TColor &c) {
        c = clRed;
        return false;
    };
    TNoticeCounter notices(host.Tree);
    QTest::mouseClick(format.FillColorButton(), Qt::LeftButton);
    QTest::mouseClick(format.BorderColorButton(), Qt::LeftButton);
    QCOMPARE(prompts->CallsOf(QStringLiteral("PickColor")).size(), size_t(2));
    font.show();
    QTest::mouseClick(font.ColorButton(), Qt::LeftButton);
    QCOMPARE(notices.Edits, 0);
    QCOMPARE(notices.Steps, 0);
    QCOMPARE(a->Color(), clWhite);
    QVERIFY(!a->PeekBorder() || a->PeekBorder()->Color() == clBlack);
}

void TestToolbars::pickedColorIsOneStep()
{
    TPanelHost host;
    TTreeNodeShape *a = host.Root(QStringLiteral("a"));
    TTreeNodeShape *b = host.Root(QStringLiteral("b"));
    TTreeNodeShape *c = host.Root(QStringLiteral("c"));
    b->SetColor(clYellow);
    TTreeFormatToolbar format;
    format.SetTree(host.Tree);
    host.Select({a, b});
    format.Refresh();
    format.show();
    TScriptedPromptsGuard prompts;
    prompts->OnPickColor = [](TColor &color) {
        color = clYellow;
        return true;
    };
    TNoticeCounter notices(host.Tree);
    QTest::mouseClick(format.FillColorButton(), Qt::LeftButton);
    QCOMPARE(a->Color(), clYellow);
    QCOMPARE(c->Color(), clWhite);
    // b had the colour already: only a changed.
    QCOMPARE(notices.Steps, 1);
    QCOMPARE(notices.Edits, 1);
    QVERIFY(notices.Lines.first().contains(QStringLiteral("Color")));
}

void TestToolbars::outlineCopiedFromTheFirstNode()
{
    TPanelHost host;
    TTreeNodeShape *a = host.Root(QStringLiteral("a"));
    TTreeNodeShape *b = host.Root(QStringLiteral("b"));
    TTreeFontToolbar font;
    font.SetTree(host.Tree);
    host.Select({a, b});
    font.Refresh();
    font.show();
    TScriptedPromptsGuard prompts;
    bool accept = false;
    prompts->OnExec = [&accept](QDialog &d) {
        auto *pen = qobject_cast<TPenDialog *>(&d);
        if (!pen)
            return int(QDialog::Rejected);
        pen->VisibleBox()->setChecked(true);
        pen->WidthBox()->setValue(3);
        return int(accept ? QDialog::Accepted : QDialog::Rejected);
    };
    QTest::mouseClick(font.OutlineButton(), Qt::LeftButton);
    // Cancelled: the first node's outline is back as it was, the other
    // untouched.
    QVERIFY(!a->Font()->OutLine()->Visible());
    QVERIFY(!b->Font()->PeekOutLine() || !b->Font()->PeekOutLine()->Visible());
    accept = true;
    QTest::mouseClick(font.OutlineButton(), Qt::LeftButton);
    QVERIFY(a->Font()->OutLine()->Visible());
    QCOMPARE(a->Font()->OutLine()->Width(), 3);
    QVERIFY(b->Font()->PeekOutLine() && b->Font()->PeekOutLine()->Visible());
    QCOMPARE(b->Font()->PeekOutLine()->Width(), 3);
}

void TestToolbars::borderStyleEntries_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("smallDots");
    QTest::addColumn<bool>("widthEnabled");
    QTest::newRow("Clear") << int(TTreeFormatToolbar::bsClear) << false << int(psSolid) << false << false;
    QTest::newRow("Solid") << int(TTreeFormatToolbar::bsSolid) << true << int(psSolid) << false << true;
    QTest::newRow("Dash") << int(TTreeFormatToolbar::bsDash) << true << int(psDash) << false << true;
    QTest::newRow("Dot") << int(TTreeFormatToolbar::bsDot) << true << int(psDot) << false << true;
    QTest::newRow("Dash Dot") << int(TTreeFormatToolbar::bsDashDot) << true << int(psDashDot) << false << true;
    QTest::newRow("Dash Dot Dot") << int(TTreeFormatToolbar::bsDashDotDot) << true << int(psDashDotDot) << false
                                  << true;
    QTest::newRow("Small Dots") << int(TTreeFormatToolbar::bsSmallDots) << true << int(psSolid) << true << false;
}

void TestToolbars::borderStyleEntries()
{
    QFETCH(int, entry);
    QFETCH(bool, visible);
    QFETCH(int, style);
    QFETCH(bool, smallDots);
    QFETCH(bool, widthEnabled);
    TPanelHost host;
    TTreeNodeShape *a = host.Root(QStringLiteral("a"));
    TTreeNodeShape *b = host.Root(QStringLiteral("b"));
    // A node that had small dots loses them with a plain style.
    b->Border()->SetSmallDots(true);
    TTreeFormatToolbar format;
    format.SetTree(host.Tree);
    host.Select({a, b});
    format.Refresh();
    format.show();
    QComboBox *list = format.BorderStyleList();
    QCOMPARE(list->count(), 7);
    list->setFocus();
    list->setCurrentIndex(entry == 0 ? 1 : 0);
    // Chosen with the keyboard, as the user does.
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < entry; ++i)
        QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->currentIndex(), entry);
    for (TTreeNodeShape *n : {a, b}) {
        QCOMPARE(n->Border()->Visible(), visible);
        if (visible)
            QCOMPARE(n->Border()->SmallDots(), smallDots);
        if (visible && !smallDots)
            QCOMPARE(int(n->Border()->Style()), style);
    }
    QCOMPARE(format.BorderWidthSlider()->isEnabled(), widthEnabled);
    Settle();
    QCOMPARE(format.BorderWidthSlider()->isEnabled(), widthEnabled);
    QCOMPARE(list->currentIndex(), entry);
}

void TestToolbars::borderStyleShown_data()
{
    QTest::addColumn<bool>("visible");
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("smallDots");
    QTest::addColumn<int>("entry");
    QTest::newRow("hidden") << false << int(psDash) << false << 0;
    QTest::newRow("solid") << true << int(psSolid) << false << 1;
    QTest::newRow("dash dot dot") << true << int(psDashDotDot) << false << 5;
    QTest::newRow("small dots win") << true << int(psDash) << true << 6;
    QTest::newRow("hidden small dots") << false << int(psSolid) << true << 6;
    QTest::newRow("clear style") << true << int(psClear) << false << 1;
}

void TestToolbars::borderStyleShown()
{
    QFETCH(bool, visible);
    QFETCH(int, style);
    QFETCH(bool, smallDots);
    QFETCH(int, entry);
    TChartPen pen;
    pen.SetVisible(visible);
    pen.SetStyle(static_cast<TPenStyle>(style));
    pen.SetSmallDots(smallDots);
    QCOMPARE(TTreeFormatToolbar::BorderStyleEntry(&pen, true), entry);
}

void TestToolbars::nodeControlsFollowTheFirstNode()
{
    TPanelHost host;
    TTreeNodeShape *a = host.Root(QStringLiteral("a"));
    TTreeNodeShape *b = host.Root(QStringLiteral("b"));
    a->SetTransparent(true);
    a->SetImageIndex(tiWorld);
    TTreeFormatToolbar format;
    format.SetTree(host.Tree);
    host.Select({a, b});
    format.Refresh();
    format.show();
    QVERIFY(format.TransparentBox()->isChecked());
    QCOMPARE(format.ImageList()->currentIndex(), int(tiWorld));
    QCOMPARE(format.ImageList()->count(), 21);
    // Both take what the first shows.
    QTest::mouseClick(format.TransparentBox(), Qt::LeftButton, {}, QPoint(6, format.TransparentBox()->height() / 2));
    QVERIFY(!a->Transparent());
    QVERIFY(!b->Transparent());
    format.ApplyImage(tiDesktop);
    QCOMPARE(a->ImageIndex(), tiDesktop);
    QCOMPARE(b->ImageIndex(), tiDesktop);
    format.ApplyImage(99);
    QCOMPARE(a->ImageIndex(), tiDesktop);
}

void TestToolbars::textBoxReplacesTheFirstLine_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("one line") << QStringList{QStringLiteral("old")} << QStringLiteral("new")
                              << QStringList{QStringLiteral("new")};
    QTest::newRow("keeps the others")
        << QStringList{QStringLiteral("one"), QStringLiteral("two")} << QStringLiteral("first")
        << QStringList{QStringLiteral("first"), QStringLiteral("two")};
    QTest::newRow("adds to an empty text") << QStringList{} << QStringLiteral("added")
                                           << QStringList{QStringLiteral("added")};
}

void TestToolbars::textBoxReplacesTheFirstLine()
{
    QFETCH(QStringList, before);
    QFETCH(QString, typed);
    QFETCH(QStringList, after);
    TPanelHost host;
    TTreeNodeShape *a = host.Root(QString());
    host.Tree->SetElementText(a, before);
    TTreeNodeShape *b = host.Root(QStringLiteral("b"));
    TTreeFormatToolbar format;
    format.SetTree(host.Tree);
    host.Select({a, b});
    format.Refresh();
    format.show();
    QLineEdit *edit = format.TextBox()->lineEdit();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, typed);
    QTest::keyClick(edit, Qt::Key_Return);
    QStringList lines;
    for (int i = 0; i < a->LineCount(); ++i)
        lines << a->Line(i);
    QCOMPARE(lines, after);
    // The first node only.
    QCOMPARE(b->SimpleText(), QStringLiteral("b"));
}

void TestToolbars::fillingWritesNothing()
{
    TPanelHost host;
    TTreeNodeShape *a = host.Root(QStringLiteral("a"));
    TTreeNodeShape *b = host.Root(QStringLiteral("b"));
    a->Font()->SetStyle(SetBit(fsBold) | SetBit(fsStrikeOut));
    a->Font()->SetInterCharSize(5);
    a->Border()->SetWidth(6);
    a->Border()->SetStyle(psDot);
    a->SetTransparent(true);
    a->Text()->SetHorizAlign(htaLeft);
    TTreeFontToolbar font;
    TTreeFormatToolbar format;
    font.SetTree(host.Tree);
    format.SetTree(host.Tree);
    TNoticeCounter notices(host.Tree);
    host.Select({a, b});
    Settle();
    QVERIFY(font.BoldButton()->isChecked());
    QVERIFY(font.StrikeOutButton()->isChecked());
    QVERIFY(font.LeftButton()->isChecked());
    QCOMPARE(font.InterCharBox()->value(), 5);
    QCOMPARE(format.BorderWidthSlider()->value(), 6);
    QCOMPARE(format.BorderStyleList()->currentIndex(), 3);
    QCOMPARE(notices.Edits, 0);
    QVERIFY(!b->Font()->IsBold());
    QVERIFY(!b->Transparent());
}

QTEST_MAIN(TestToolbars)
#include "tst_toolbars.moc"
