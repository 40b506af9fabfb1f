// The property inspector: rows from items and from a popup menu, what each
// kind of row shows and does when clicked or typed into, and the keyboard.

#include "DialogTestUtil.h"

#include "dialogs/DialogConst.h"
#include "dialogs/KorInspector.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>

class TestInspector : public QObject
{
    Q_OBJECT
private slots:
    void captions_data();
    void captions();
    void headerAndVisibleItems_data();
    void headerAndVisibleItems();
    void mirrorsMenu();
    void menuOfNothingShown();
    void noMenuDisablesGrid();
    void menuCheckBoxRow();
    void menuSelectionRow();
    void menuRowsKeepTheirObjects();
    void numberCell_data();
    void numberCell();
    void stringCell();
    void textBoxKeys_data();
    void textBoxKeys();
    void colorItem_data();
    void colorItem();
    void colorNames_data();
    void colorNames();
    void disabledItemIgnoresClicks_data();
    void disabledItemIgnoresClicks();
    void selectionItem();
    void spaceActsLikeAClick();
    void penItemRunsPenDialog();
};

namespace {

struct TGrid
{
    TKorInspector Inspector;
    TGrid()
    {
        Inspector.resize(240, 200);
        Inspector.show();
        QVERIFY(QTest::qWaitForWindowExposed(&Inspector));
    }
    // A real mouse press at (x, y) of a row's value cell.
    void Press(int row, int x = 6, int y = 6)
    {
        const QRect cell = Inspector.ValueCellRect(row);
        QTest::mouseClick(Inspector.viewport(), Qt::LeftButton, {}, cell.topLeft() + QPoint(x, y));
    }
    // Pixels of a row's value cell as drawn.
    QImage Cell(int row)
    {
        return Inspector.viewport()->grab(Inspector.ValueCellRect(row)).toImage();
    }
};

// True when some pixel of `image` right of column `from` differs from the
// pixel at (from, 1).
bool InkRightOf(const QImage &image, int from)
{
    const QRgb background = image.pixel(image.width() - 1, 1);
    for (int y = 0; y < image.height() - 1; ++y)
        for (int x = from; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                return true;
    return false;
}

} // namespace

void TestInspector::captions_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("caption");
    QTest::newRow("hotkey") << "&Border..." << "Border";
    QTest::newRow("hotkey inside") << "B&ack Color" << "Back Color";
    QTest::newRow("ampersand kept") << "Drag && Drop" << "Drag & Drop";
    QTest::newRow("trailing dots only") << "E&dit... ." << "Edit... ";
    QTest::newRow("shortcut dropped") << "&Copy\tCtrl+C" << "Copy";
}

void TestInspector::captions()
{
    QFETCH(QString, menu);
    QFETCH(QString, caption);
    QCOMPARE(InspectorCaption(menu), caption);
}

void TestInspector::headerAndVisibleItems_data()
{
    QTest::addColumn<bool>("header");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("fourthRow");
    QTest::newRow("with header") << true << 5 << 4;
    QTest::newRow("without header") << false << 4 << 3;
}

void TestInspector::headerAndVisibleItems()
{
    QFETCH(bool, header);
    QFETCH(int, rows);
    QFETCH(int, fourthRow);
    TGrid grid;
    TKorInspector &in = grid.Inspector;
    in.Header().SetVisible(header);
    std::vector<TInspectorItem *> items;
    for (const char *c : {"Node", "Enabled", "Hidden", "Start", "Duration"})
        items.push_back(in.AddItem(QString::fromLatin1(c), iiInteger));
    items[2]->SetVisible(false);
    QCOMPARE(in.rowCount(), rows);
    QCOMPARE(in.RowOf(items[4]), fourthRow);
    QCOMPARE(in.RowOf(items[2]), -1);
    QCOMPARE(in.item(fourthRow, 0)->text(), QStringLiteral("Duration"));
    // Reachable from the keyboard, value cells only.
    in.setFocus();
    in.setCurrentCell(in.FirstDataRow(), 1);
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(&in, Qt::Key_Down);
    QCOMPARE(in.currentRow(), fourthRow);
    QCOMPARE(in.currentColumn(), 1);
    QTest::keyClick(&in, Qt::Key_Left);
    QCOMPARE(in.currentColumn(), 1);
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(&in, Qt::Key_Up);
    QCOMPARE(in.currentRow(), in.FirstDataRow());
    // Renaming an item rebuilds its caption.
    items[0]->SetCaption(QStringLiteral("Shape"));
    QCOMPARE(in.item(in.FirstDataRow(), 0)->text(), QStringLiteral("Shape"));
    if (header)
        QCOMPARE(in.item(0, 0)->text(), SInspectorProperty.Text());
}

namespace {

// A format menu as the main window builds one.
struct TFormatMenu
{
    QMenu Menu;
    QAction *Visible;
    QAction *Color;
    QAction *Border;
    QAction *Style;
    QAction *Edit;
    QActionGroup *Styles;
    QList<QAction *> StyleItems;
    int PopUps = 0;
    QStringList Ran;
    TChartPen Pen;

    TFormatMenu()
    {
        QObject::connect(&Menu, &QMenu::aboutToShow, [this] {
            ++PopUps;
            SetInspectorColor(Color, clRed);
        });
        Visible = Menu.addAction(QStringLiteral("&Visible"));
        Visible->setCheckable(true);
        SetInspectorKind(Visible, ikBoolean);
        Color = Menu.addAction(QStringLiteral("&Color..."));
        SetInspectorKind(Color, ikColor);
        Menu.addSeparator();
        Border = Menu.addAction(QStringLiteral("B&order..."));
        SetInspectorKind(Border, ikPen);
        SetInspectorObject(Border, &Pen);
        QMenu *sub = Menu.addMenu(QStringLiteral("&Style"));
        Style = sub->menuAction();
        Styles = new QActionGroup(&Menu);
        for (const char *s : {"&Rectangle", "&Circle", "&Diamond"}) {
            QAction *a = sub->addAction(QString::fromLatin1(s));
            a->setCheckable(true);
            Styles->addAction(a);
            StyleItems << a;
        }
        StyleItems[1]->setChecked(true);
        QAction *disabled = Menu.addAction(QStringLiteral("&Paste"));
        disabled->setEnabled(false);
        QAction *never = Menu.addAction(QStringLiteral("&Never"));
        SetInspectorKind(never, ikHidden);
        Edit = Menu.addAction(QStringLiteral("&Edit..."));
        for (QAction *a : Menu.actions() + sub->actions())
            QObject::connect(a, &QAction::triggered, [this, a] { Ran << InspectorCaption(a->text()); });
    }
};

} // namespace

void TestInspector::mirrorsMenu()
{
    TGrid grid;
    TFormatMenu menu;
    TKorInspector &in = grid.Inspector;
    in.ShowMenu(&menu.Menu);
    QCOMPARE(menu.PopUps, 1);
    QVERIFY(in.isEnabled());
    // Header, Visible, Color, Border, Style, Edit.
    QCOMPARE(in.rowCount(), 6);
    const QStringList captions = {QStringLiteral("Visible"), QStringLiteral("Color"), QStringLiteral("Border"),
                                  QStringLiteral("Style"), QStringLiteral("Edit")};
    const QList<int> kinds = {ikBoolean, ikColor, ikPen, ikSelection, ikSelection};
    for (int i = 0; i < captions.size(); ++i) {
        TInspectorItem *item = in.ItemAtRow(i + 1);
        QVERIFY(item);
        QCOMPARE(item->Caption(), captions[i]);
        QCOMPARE(item->Kind(), kinds[i]);
        QCOMPARE(in.item(i + 1, 0)->text(), captions[i]);
    }
    QCOMPARE(in.ItemAtRow(3)->Data(), &menu.Pen);
    QCOMPARE(in.ItemAtRow(4)->Style(), iiSelection);
    QCOMPARE(in.currentRow(), 1);
    QCOMPARE(in.currentColumn(), 1);
    // A plain command row runs its command from its button.
    grid.Press(5);
    QCOMPARE(menu.Ran, QStringList{QStringLiteral("Edit")});
    // Outside the button nothing runs.
    grid.Press(5, 60, 6);
    QCOMPARE(menu.Ran.size(), 1);
}

void TestInspector::menuOfNothingShown()
{
    TGrid grid;
    QMenu menu;
    menu.addSeparator();
    menu.addAction(QStringLiteral("&Cut"))->setEnabled(false);
    menu.addSeparator();
    grid.Inspector.ShowMenu(&menu);
    QVERIFY(grid.Inspector.isEnabled());
    QCOMPARE(grid.Inspector.rowCount(), 1);
    QCOMPARE(grid.Inspector.ItemCount(), 0);
    grid.Inspector.Header().SetVisible(false);
    QCOMPARE(grid.Inspector.rowCount(), 1);
    QVERIFY(!grid.Inspector.ItemAtRow(0));
}

void TestInspector::noMenuDisablesGrid()
{
    TGrid grid;
    TFormatMenu menu;
    grid.Inspector.ShowMenu(&menu.Menu);
    grid.Inspector.ShowMenu(nullptr);
    QVERIFY(!grid.Inspector.isEnabled());
    QCOMPARE(grid.Inspector.ItemCount(), 0);
    QCOMPARE(grid.Inspector.rowCount(), 1);
}

void TestInspector::menuCheckBoxRow()
{
    TGrid grid;
    TFormatMenu menu;
    grid.Inspector.ShowMenu(&menu.Menu);
    const QImage unchecked = grid.Cell(1);
    grid.Press(1);
    QVERIFY(menu.Visible->isChecked());
    QCOMPARE(menu.Ran, QStringList{QStringLiteral("Visible")});
    // The cell follows the command's checked state.
    QVERIFY(grid.Cell(1) != unchecked);
    grid.Press(1);
    QVERIFY(!menu.Visible->isChecked());
    QCOMPARE(grid.Cell(1), unchecked);
}

void TestInspector::menuSelectionRow()
{
    TGrid grid;
    TFormatMenu menu;
    grid.Inspector.ShowMenu(&menu.Menu);
    grid.Press(4, 40, 6);
    QComboBox *combo = grid.Inspector.ComboBox();
    QVERIFY(combo->isVisible());
    QCOMPARE(combo->objectName(), QStringLiteral("IComboGrid"));
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->itemText(0), QStringLiteral("Rectangle"));
    QCOMPARE(combo->currentIndex(), 1);
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    QVERIFY(menu.StyleItems[2]->isChecked());
    QCOMPARE(menu.Ran, QStringList{QStringLiteral("Diamond")});
    // The combo lies over the value cell.
    const QRect cell = grid.Inspector.ValueCellRect(4);
    QCOMPARE(combo->geometry().left(), cell.left() + 1);
    QCOMPARE(combo->geometry().top(), cell.top() - 1);
}

void TestInspector::menuRowsKeepTheirObjects()
{
    TGrid grid;
    TFormatMenu menu;
    TDialogScript script;
    script.Handlers[QStringLiteral("TPenDialog")] = [](QDialog &) { return int(QDialog::Accepted); };
    grid.Inspector.ShowMenu(&menu.Menu);
    // A pen row made from a menu runs the menu's command (the owner opens
    // its dialog there), not a dialog of its own.
    grid.Press(3);
    QCOMPARE(menu.Ran, QStringList{QStringLiteral("Border")});
    QCOMPARE(script->CallsOf(QStringLiteral("Exec")).size(), size_t(0));
}

void TestInspector::numberCell_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("changes");
    QTest::addColumn<bool>("refused");
    QTest::newRow("number") << "250" << 250 << 3 << false;
    QTest::newRow("negative") << "-4" << -4 << 1 << false;
    QTest::newRow("letters") << "1x" << 1 << 1 << true;
    QTest::newRow("word") << "abc" << 7 << 0 << true;
}

void TestInspector::numberCell()
{
    QFETCH(QString, typed);
    QFETCH(int, value);
    QFETCH(int, changes);
    QFETCH(bool, refused);
    TGrid grid;
    TInspectorItem *item = grid.Inspector.AddItem(QStringLiteral("Duration"), iiInteger);
    item->SetValue(7);
    int heard = 0;
    item->OnChange = [&](TInspectorItem *) { ++heard; };
    grid.Press(1, 40, 6);
    QLineEdit *edit = grid.Inspector.EditBox();
    QVERIFY(edit->isVisible());
    QCOMPARE(edit->text(), QStringLiteral("7"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, typed);
    QCOMPARE(item->Value().toInt(), value);
    // Typing "-" first is refused like any other non-number.
    QCOMPARE(heard, changes);
    QCOMPARE(!grid.Inspector.LastRefusal().isEmpty(), refused);
    if (refused) {
        QVERIFY(grid.Inspector.LastRefusal().contains(typed));
        QCOMPARE(edit->toolTip(), grid.Inspector.LastRefusal());
    }
}

void TestInspector::stringCell()
{
    TGrid grid;
    TInspectorItem *item = grid.Inspector.AddItem(QStringLiteral("Name"), iiString);
    QStringList heard;
    item->OnChange = [&](TInspectorItem *i) { heard << i->Value().toString(); };
    grid.Press(1, 40, 6);
    QTest::keyClicks(grid.Inspector.EditBox(), QStringLiteral("ab"));
    QCOMPARE(heard, (QStringList{QStringLiteral("a"), QStringLiteral("ab")}));
    QCOMPARE(grid.Inspector.EditBox()->objectName(), QStringLiteral("IEditGrid"));
}

void TestInspector::textBoxKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("startRow");
    QTest::addColumn<int>("endRow");
    QTest::newRow("escape stays") << int(Qt::Key_Escape) << 2 << 2;
    QTest::newRow("up moves up") << int(Qt::Key_Up) << 2 << 1;
    QTest::newRow("up stops at the first data row") << int(Qt::Key_Up) << 1 << 1;
    QTest::newRow("down moves down") << int(Qt::Key_Down) << 2 << 3;
    QTest::newRow("down on the last row only hides") << int(Qt::Key_Down) << 3 << 3;
}

void TestInspector::textBoxKeys()
{
    QFETCH(int, key);
    QFETCH(int, startRow);
    QFETCH(int, endRow);
    TGrid grid;
    for (const char *c : {"Start", "Duration", "Loop"})
        grid.Inspector.AddItem(QString::fromLatin1(c), iiInteger);
    grid.Press(startRow, 40, 6);
    QVERIFY(grid.Inspector.EditBox()->isVisible());
    QTest::keyClick(grid.Inspector.EditBox(), Qt::Key(key));
    QVERIFY(!grid.Inspector.EditBox()->isVisible());
    QCOMPARE(grid.Inspector.currentRow(), endRow);
    QVERIFY(grid.Inspector.hasFocus());
}

void TestInspector::colorItem_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("changes");
    QTest::newRow("chosen") << true << int(clRed) << 1;
    QTest::newRow("cancelled") << false << int(clBlue) << 0;
}

void TestInspector::colorItem()
{
    QFETCH(bool, confirm);
    QFETCH(int, value);
    QFETCH(int, changes);
    TGrid grid;
    TInspectorItem *item = grid.Inspector.AddItem(QStringLiteral("Start Color"), iiColor);
    item->SetValue(int(clBlue));
    int heard = 0;
    item->OnChange = [&](TInspectorItem *) { ++heard; };
    TDialogScript script;
    script.AnswerColor(clRed, confirm);
    grid.Press(1);
    QCOMPARE(item->Value().toInt(), value);
    QCOMPARE(heard, changes);
    QCOMPARE(script->CallsOf(QStringLiteral("PickColor")).size(), size_t(1));
}

void TestInspector::colorNames_data()
{
    QTest::addColumn<int>("color");
    QTest::addColumn<bool>("named");
    QTest::newRow("named colour") << int(clRed) << true;
    QTest::newRow("system colour") << int(clBtnFace) << true;
    QTest::newRow("custom colour") << int(RGBColor(12, 34, 56)) << false;
}

void TestInspector::colorNames()
{
    QFETCH(int, color);
    QFETCH(bool, named);
    TGrid grid;
    TInspectorItem *item = grid.Inspector.AddItem(QStringLiteral("Color"), iiColor);
    item->SetValue(color);
    const QImage cell = grid.Cell(1);
    // The swatch holds the colour; a name, when there is one, follows it.
    QCOMPARE(QColor(cell.pixel(8, 8)), ToQColor(color));
    QCOMPARE(InkRightOf(cell, 21), named);
}

void TestInspector::disabledItemIgnoresClicks_data()
{
    QTest::addColumn<int>("style");
    QTest::newRow("boolean") << int(iiBoolean);
    QTest::newRow("colour") << int(iiColor);
    QTest::newRow("pen") << int(iiPen);
}

void TestInspector::disabledItemIgnoresClicks()
{
    QFETCH(int, style);
    TGrid grid;
    TChartPen pen;
    TInspectorItem *item = grid.Inspector.AddItem(QStringLiteral("Loop"), TInspectorItemStyle(style));
    item->SetData(&pen);
    item->SetValue(false);
    item->SetEnabled(false);
    int heard = 0;
    item->OnChange = [&](TInspectorItem *) { ++heard; };
    TDialogScript script;
    grid.Press(1);
    QTest::keyClick(&grid.Inspector, Qt::Key_Space);
    QCOMPARE(heard, 0);
    QCOMPARE(item->Value().toBool(), false);
    QVERIFY(script->Calls().empty());
}

void TestInspector::selectionItem()
{
    TGrid grid;
    TChartPen a, b;
    TInspectorItem *item = grid.Inspector.AddItem(QStringLiteral("Node"), iiSelection);
    item->SetData(&b);
    item->OnGetItems = [&](TInspectorItem *, const TInspectorItem::TAddProc &add) {
        add(QStringLiteral("First"), &a);
        add(QStringLiteral("Second"), &b);
    };
    int heard = 0;
    item->OnChange = [&](TInspectorItem *) { ++heard; };
    grid.Press(1, 40, 6);
    QComboBox *combo = grid.Inspector.ComboBox();
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->currentIndex(), 1);
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Up);
    QCOMPARE(item->Value().toString(), QStringLiteral("First"));
    QCOMPARE(item->Data(), static_cast<TPersistent *>(&a));
    QCOMPARE(heard, 1);
}

void TestInspector::spaceActsLikeAClick()
{
    TGrid grid;
    grid.Inspector.AddItem(QStringLiteral("Enabled"), iiBoolean)->SetValue(false);
    TInspectorItem *loop = grid.Inspector.AddItem(QStringLiteral("Loop"), iiBoolean);
    loop->SetValue(true);
    QList<bool> heard;
    loop->OnChange = [&](TInspectorItem *i) { heard << i->Value().toBool(); };
    grid.Inspector.setFocus();
    grid.Inspector.setCurrentCell(1, 1);
    QTest::keyClick(&grid.Inspector, Qt::Key_Down);
    QTest::keyClick(&grid.Inspector, Qt::Key_Space);
    QTest::keyClick(&grid.Inspector, Qt::Key_Space);
    QCOMPARE(heard, (QList<bool>{false, true}));
    QCOMPARE(grid.Inspector.Item(0)->Value().toBool(), false);
}

void TestInspector::penItemRunsPenDialog()
{
    TGrid grid;
    TChartPen pen;
    TInspectorItem *item = grid.Inspector.AddItem(QStringLiteral("Border"), iiPen);
    item->SetData(&pen);
    int heard = 0;
    item->OnChange = [&](TInspectorItem *) { ++heard; };
    TDialogScript script;
    script.Handlers[QStringLiteral("TPenDialog")] = [](QDialog &) { return int(QDialog::Accepted); };
    grid.Press(1);
    QCOMPARE(script->CallsOf(QStringLiteral("Exec")).size(), size_t(1));
    QCOMPARE(heard, 1);
    script.Handlers[QStringLiteral("TPenDialog")] = [](QDialog &) { return int(QDialog::Rejected); };
    grid.Press(1);
    QCOMPARE(heard, 1);
}

QTEST_MAIN(TestInspector)
#include "tst_inspector.moc"
