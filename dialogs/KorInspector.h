#pragma once
// The property inspector: a two-column grid of captions and values. It is
// filled either by its owner's items (the animation editor's "Node",
// "Enabled", "Start", ...) or from a popup menu, one row per command, so
// that the inspector and the context menu always do the same thing.
//
// A menu tells the inspector what each command shows through its actions'
// data (SetInspectorKind and the helpers below): the kind of row, the
// colour or object it shows, and a pattern row's background colour.
//   kind 0 with radio sub-items: a selection row over them;
//   kind 1: a check box showing the action's checked state;
//   kind 2: a colour row (SetInspectorColor);
//   kinds 3, 4, 7, 8, 9: pen, gradient, font, image and pattern rows over
//     the object set by SetInspectorObject (a pattern row's background
//     colour by SetInspectorHint, as decimal text);
//   kind 5: never shown; kind 6: plain text after a button.
// Separators and disabled actions are never shown.

#include "canvas/KorFont.h"
#include "core/Colors.h"

#include <QTableWidget>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QComboBox;
class QLineEdit;
class QMenu;
class TPersistent;
class TKorInspector;

enum TInspectorItemStyle {
    iiBoolean,
    iiString,
    iiSelection,
    iiColor,
    iiPen,
    iiGradient,
    iiBrush,
    iiFont,
    iiImage,
    iiButton,
    iiInteger
};

// The kinds of value cells.
enum TInspectorRowKind {
    ikSelection = 0, // also a plain button
    ikBoolean = 1,
    ikColor = 2,
    ikPen = 3,
    ikGradient = 4,
    ikHidden = 5,
    ikButtonText = 6,
    ikFont = 7,
    ikImage = 8,
    ikPattern = 9,
    ikText = 10,
};

// ---- What a menu's actions carry for the inspector (in QAction::data)
void SetInspectorKind(QAction *action, int kind);
int InspectorKind(const QAction *action);
void SetInspectorColor(QAction *action, TColor color);
TColor InspectorColor(const QAction *action);
void SetInspectorObject(QAction *action, TPersistent *object);
TPersistent *InspectorObject(const QAction *action);
void SetInspectorHint(QAction *action, const QString &hint);
QString InspectorHint(const QAction *action);

class TInspectorItem
{
public:
    using TAddProc = std::function<void(const QString &text, TPersistent *object)>;

    explicit TInspectorItem(TKorInspector *inspector) : FInspector(inspector) {}

    const QString &Caption() const { return FCaption; }
    void SetCaption(const QString &caption);
    // A disabled item's value cannot be changed by clicking.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    TInspectorItemStyle Style() const { return FStyle; }
    void SetStyle(TInspectorItemStyle style);
    const QVariant &Value() const { return FValue; }
    void SetValue(const QVariant &value);
    // Invisible items get no row.
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    // The object a pen, gradient, brush, font or image item edits; for a
    // selection item, the object of the chosen entry.
    TPersistent *Data() const { return FData; }
    void SetData(TPersistent *data) { FData = data; }
    // The command a menu row was made from (none for owner's items).
    QAction *MenuItem() const { return FMenuItem; }
    void SetMenuItem(QAction *action) { FMenuItem = action; }

    // The kind of the value cell: the action's kind for a menu row, else
    // from the style.
    int Kind() const;

    // Raised after the user changed the value.
    std::function<void(TInspectorItem *)> OnChange;
    // Fills a selection item's drop-down.
    std::function<void(TInspectorItem *, const TAddProc &add)> OnGetItems;

private:
    friend class TKorInspector;
    TKorInspector *FInspector;
    QString FCaption;
    QVariant FValue;
    TPersistent *FData = nullptr;
    QAction *FMenuItem = nullptr;
    TInspectorItemStyle FStyle = iiBoolean;
    bool FEnabled = true;
    bool FVisible = true;
};

// The header row: its font and whether it is shown.
class TInspectorHeader
{
public:
    explicit TInspectorHeader(TKorInspector *inspector);
    TKorFont *Font() { return &FFont; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);

private:
    TKorInspector *FInspector;
    TKorFont FFont;
    bool FVisible = true;
};

class TKorInspector : public QTableWidget
{
    Q_OBJECT
public:
    explicit TKorInspector(QWidget *parent = nullptr);
    ~TKorInspector() override;

    // ---- Items
    TInspectorItem *AddItem(const QString &caption = QString(), TInspectorItemStyle style = iiBoolean);
    int ItemCount() const { return static_cast<int>(FItems.size()); }
    TInspectorItem *Item(int index) const;
    void ClearItems();
    // One row per visible item in order, after the header row.
    void RebuildRows();
    // The item of a grid row (none for the header and empty rows).
    TInspectorItem *ItemAtRow(int row) const;
    // The grid row of an item; -1 when it has none.
    int RowOf(const TInspectorItem *item) const;
    // The first data row: 1 with the header, else 0.
    int FirstDataRow() const { return FHeader.Visible() ? 1 : 0; }

    TInspectorHeader &Header() { return FHeader; }
    TColor Color() const { return FColor; }
    void SetColor(TColor value);

    // ---- Menus
    // Rebuilds the grid from a popup menu (none: cleared and disabled).
    void ShowMenu(QMenu *menu);
    QMenu *Menu() const { return FMenu; }

    // ---- Acting on a row (what clicks and Space do)
    // A click at (x, y) inside the value cell of `row`, in cell coordinates
    // from its top-left corner.
    void ClickCell(int row, int x, int y);
    // The value cell's rectangle of a row, in viewport coordinates.
    QRect ValueCellRect(int row) const;
    // The button area of a value cell.
    static QRect ButtonArea(const QRect &cell);

    // The in-place editors ("IEditGrid", "IComboGrid").
    QLineEdit *EditBox() const { return FEdit; }
    QComboBox *ComboBox() const { return FCombo; }
    void HideEditors();
    // Why the last text typed into a number cell was not taken (empty when
    // it was).
    const QString &LastRefusal() const { return FLastRefusal; }

    // Repaints one item's row.
    void RefreshItem(const TInspectorItem *item);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class TInspectorDelegate;
    friend class TInspectorItem;
    friend class TInspectorHeader;

    void SetRows(const std::vector<TInspectorItem *> &items);
    void FitValueColumn();
    void PlaceEditors();
    void ShowTextEditor(int row);
    void ShowCombo(int row);
    void TextEdited(const QString &text);
    void ComboChosen(int index);
    void ActOnButton(TInspectorItem *item);
    void Changed(TInspectorItem *item);
    // Draws one cell (the delegate's work).
    void PaintCell(QPainter &painter, const QRect &rect, int row, int column, bool selected) const;
    void PaintValue(QPainter &painter, const QRect &rect, const TInspectorItem &item) const;

    std::vector<std::unique_ptr<TInspectorItem>> FItems;
    std::vector<TInspectorItem *> FRows; // item per grid row (null for the header)
    TInspectorHeader FHeader;
    TColor FColor = clBtnFace;
    QMenu *FMenu = nullptr;
    QLineEdit *FEdit;
    QComboBox *FCombo;
    TInspectorItem *FEditing = nullptr;
    // The entries' objects of an item's drop-down.
    std::vector<TPersistent *> FComboObjects;
    QString FLastRefusal;
    bool FFillingCombo = false;
};

// The caption of a menu command as a row shows it: without the hotkey mark
// and without trailing dots.
QString InspectorCaption(const QString &menuText);
