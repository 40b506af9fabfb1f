#include "dialogs/KorInspector.h"

#include "canvas/ChartBrush.h"
#include "canvas/ChartPen.h"
#include "canvas/KorGradient.h"
#include "canvas/Picture.h"
#include "dialogs/DialogConst.h"
#include "dialogs/KorBrushDlg.h"
#include "dialogs/KorButtons.h"
#include "dialogs/KorEdiGrad.h"
#include "dialogs/KorPenDlg.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStyledItemDelegate>
#include <QToolTip>

// ---------------------------------------------------------------------------
// What actions carry

namespace {

const char *const kKindKey = "inspectorKind";
const char *const kColorKey = "inspectorColor";
const char *const kObjectKey = "inspectorObject";
const char *const kHintKey = "inspectorHint";

QVariantMap DataOf(const QAction *action)
{
    return action ? action->data().toMap() : QVariantMap();
}

void Put(QAction *action, const char *key, const QVariant &value)
{
    if (!action)
        return;
    QVariantMap map = action->data().toMap();
    map.insert(QLatin1String(key), value);
    action->setData(map);
}

} // namespace

void SetInspectorKind(QAction *action, int kind)
{
    Put(action, kKindKey, kind);
}

int InspectorKind(const QAction *action)
{
    return DataOf(action).value(QLatin1String(kKindKey), 0).toInt();
}

void SetInspectorColor(QAction *action, TColor color)
{
    Put(action, kColorKey, static_cast<int>(color));
}

TColor InspectorColor(const QAction *action)
{
    return static_cast<TColor>(DataOf(action).value(QLatin1String(kColorKey), static_cast<int>(clNone)).toInt());
}

void SetInspectorObject(QAction *action, TPersistent *object)
{
    Put(action, kObjectKey, QVariant::fromValue(reinterpret_cast<quintptr>(object)));
}

TPersistent *InspectorObject(const QAction *action)
{
    return reinterpret_cast<TPersistent *>(DataOf(action).value(QLatin1String(kObjectKey)).value<quintptr>());
}

void SetInspectorHint(QAction *action, const QString &hint)
{
    Put(action, kHintKey, hint);
}

QString InspectorHint(const QAction *action)
{
    return DataOf(action).value(QLatin1String(kHintKey)).toString();
}

QString InspectorCaption(const QString &menuText)
{
    // The shortcut a menu writes after a tab is no part of the caption.
    const QString text = menuText.section(QLatin1Char('\t'), 0, 0);
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('&')) {
            out += text.at(i);
        } else if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('&')) {
            out += QLatin1Char('&'); // "&&" is a plain ampersand
            ++i;
        }
    }
    while (out.endsWith(QLatin1Char('.')))
        out.chop(1);
    return out;
}

namespace {

// The radio sub-items of a menu command.
std::vector<QAction *> RadioItems(const QAction *action)
{
    std::vector<QAction *> out;
    if (!action || !action->menu())
        return out;
    for (QAction *a : action->menu()->actions())
        if (!a->isSeparator() && a->isCheckable() && a->actionGroup() && a->actionGroup()->isExclusive())
            out.push_back(a);
    return out;
}

QAction *CheckedRadio(const QAction *action)
{
    for (QAction *a : RadioItems(action))
        if (a->isChecked())
            return a;
    return nullptr;
}

// A sample of a gradient in a rectangle.
void PaintGradientSample(QPainter &p, const QRect &r, const TCustomKorGradient &g)
{
    const QColor start = ToQColor(g.StartColor());
    const QColor end = ToQColor(g.EndColor());
    const TColor mid = g.MidColor();
    QGradient *grad = nullptr;
    QLinearGradient linear;
    QRadialGradient radial(QPointF(r.center()), std::max(r.width(), r.height()) / 2.0);
    switch (g.Direction()) {
    case gdTopBottom:
        linear = QLinearGradient(r.topLeft(), r.bottomLeft());
        break;
    case gdBottomTop:
        linear = QLinearGradient(r.bottomLeft(), r.topLeft());
        break;
    case gdLeftRight:
        linear = QLinearGradient(r.topLeft(), r.topRight());
        break;
    case gdRightLeft:
        linear = QLinearGradient(r.topRight(), r.topLeft());
        break;
    case gdFromTopLeft:
        linear = QLinearGradient(r.topLeft(), r.bottomRight());
        break;
    case gdFromBottomLeft:
        linear = QLinearGradient(r.bottomLeft(), r.topRight());
        break;
    case gdFromCenter:
        grad = &radial;
        break;
    }
    if (!grad)
        grad = &linear;
    grad->setColorAt(0, start);
    if (mid != clNone)
        grad->setColorAt(0.5, ToQColor(mid));
    grad->setColorAt(1, end);
    p.fillRect(r, QBrush(*grad));
}

} // namespace

// ---------------------------------------------------------------------------
// Items

void TInspectorItem::SetCaption(const QString &caption)
{
    if (caption == FCaption)
        return;
    FCaption = caption;
    FInspector->RebuildRows();
}

void TInspectorItem::SetEnabled(bool value)
{
    FEnabled = value;
    FInspector->RefreshItem(this);
}

void TInspectorItem::SetStyle(TInspectorItemStyle style)
{
    FStyle = style;
    FInspector->RefreshItem(this);
}

void TInspectorItem::SetValue(const QVariant &value)
{
    FValue = value;
    FInspector->RefreshItem(this);
}

void TInspectorItem::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    FInspector->RebuildRows();
}

int TInspectorItem::Kind() const
{
    if (FMenuItem)
        return InspectorKind(FMenuItem);
    switch (FStyle) {
    case iiBoolean:
        return ikBoolean;
    case iiString:
    case iiInteger:
        return ikText;
    case iiSelection:
    case iiButton:
        return ikSelection;
    case iiColor:
        return ikColor;
    case iiPen:
        return ikPen;
    case iiGradient:
        return ikGradient;
    case iiBrush:
        return ikPattern;
    case iiFont:
        return ikFont;
    case iiImage:
        return ikImage;
    }
    return ikSelection;
}

TInspectorHeader::TInspectorHeader(TKorInspector *inspector) : FInspector(inspector)
{
    FFont.SetColor(clNavy);
    FFont.OnChange = [this](TGraphicsObject *) {
        if (FInspector)
            FInspector->viewport()->update();
    };
}

void TInspectorHeader::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    FInspector->RebuildRows();
}

// ---------------------------------------------------------------------------
// The grid

class TInspectorDelegate : public QStyledItemDelegate
{
public:
    explicit TInspectorDelegate(TKorInspector *inspector) : QStyledItemDelegate(inspector), FInspector(inspector) {}
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        FInspector->PaintCell(*painter, option.rect, index.row(), index.column(),
                              option.state & QStyle::State_Selected);
    }

private:
    TKorInspector *FInspector;
};

TKorInspector::TKorInspector(QWidget *parent) : QTableWidget(parent), FHeader(this)
{
    setObjectName(QStringLiteral("Inspector"));
    setColumnCount(2);
    setRowCount(1);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(8);
    setColumnWidth(0, 82);
    setColumnWidth(1, 82);
    verticalHeader()->setDefaultSectionSize(19);
    verticalHeader()->setMinimumSectionSize(8);
    setShowGrid(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the grid for the next control of the window.
    setTabKeyNavigation(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setItemDelegate(new TInspectorDelegate(this));
    setMouseTracking(true);
    viewport()->setMouseTracking(true);

    FEdit = new QLineEdit(viewport());
    FEdit->setObjectName(QStringLiteral("IEditGrid"));
    FEdit->setFrame(false);
    FEdit->hide();
    FEdit->installEventFilter(this);
    connect(FEdit, &QLineEdit::textEdited, this, [this](const QString &text) { TextEdited(text); });

    FCombo = new QComboBox(viewport());
    FCombo->setObjectName(QStringLiteral("IComboGrid"));
    FCombo->setEditable(false);
    FCombo->setMaxVisibleItems(8);
    FCombo->hide();
    FCombo->installEventFilter(this);
    connect(FCombo, qOverload<int>(&QComboBox::activated), this, [this](int index) { ComboChosen(index); });
    RebuildRows();
}

TKorInspector::~TKorInspector() = default;

TInspectorItem *TKorInspector::AddItem(const QString &caption, TInspectorItemStyle style)
{
    FItems.push_back(std::make_unique<TInspectorItem>(this));
    TInspectorItem *item = FItems.back().get();
    item->FCaption = caption;
    item->FStyle = style;
    RebuildRows();
    return item;
}

TInspectorItem *TKorInspector::Item(int index) const
{
    return index >= 0 && index < ItemCount() ? FItems[static_cast<size_t>(index)].get() : nullptr;
}

void TKorInspector::ClearItems()
{
    HideEditors();
    FEditing = nullptr;
    FItems.clear();
    RebuildRows();
}

void TKorInspector::RebuildRows()
{
    std::vector<TInspectorItem *> rows;
    for (const auto &item : FItems)
        if (item->Visible())
            rows.push_back(item.get());
    SetRows(rows);
}

void TKorInspector::SetRows(const std::vector<TInspectorItem *> &items)
{
    FRows.clear();
    if (FHeader.Visible())
        FRows.push_back(nullptr);
    FRows.insert(FRows.end(), items.begin(), items.end());
    const int rows = std::max<int>(1, static_cast<int>(FRows.size()));
    setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        TInspectorItem *item = ItemAtRow(r);
        for (int c = 0; c < 2; ++c) {
            auto *cell = new QTableWidgetItem;
            // Only value cells of data rows can be chosen.
            cell->setFlags(item && c == 1 ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags);
            if (item && c == 0)
                cell->setText(item->Caption());
            else if (!item && r == 0 && FHeader.Visible())
                cell->setText(c == 0 ? SInspectorProperty : SInspectorValue);
            setItem(r, c, cell);
        }
    }
    viewport()->update();
}

TInspectorItem *TKorInspector::ItemAtRow(int row) const
{
    return row >= 0 && row < static_cast<int>(FRows.size()) ? FRows[static_cast<size_t>(row)] : nullptr;
}

int TKorInspector::RowOf(const TInspectorItem *item) const
{
    for (size_t i = 0; i < FRows.size(); ++i)
        if (item && FRows[i] == item)
            return static_cast<int>(i);
    return -1;
}

void TKorInspector::SetColor(TColor value)
{
    FColor = value;
    viewport()->update();
}

void TKorInspector::RefreshItem(const TInspectorItem *item)
{
    const int row = RowOf(item);
    if (row >= 0)
        viewport()->update(visualRect(model()->index(row, 1)) | visualRect(model()->index(row, 0)));
}

// ---- Menus

void TKorInspector::ShowMenu(QMenu *menu)
{
    HideEditors();
    FEditing = nullptr;
    FItems.clear();
    FMenu = menu;
    if (menu) {
        // The owner sets the commands' states when the menu pops up.
        emit menu->aboutToShow();
        for (QAction *action : menu->actions()) {
            if (action->isSeparator() || !action->isEnabled() || !action->isVisible() ||
                InspectorKind(action) == ikHidden)
                continue;
            FItems.push_back(std::make_unique<TInspectorItem>(this));
            TInspectorItem *item = FItems.back().get();
            item->FCaption = InspectorCaption(action->text());
            item->FData = InspectorObject(action);
            item->FMenuItem = action;
            if (action->menu())
                item->FStyle = iiSelection;
        }
    }
    RebuildRows();
    setEnabled(menu != nullptr);
    FitValueColumn();
    if (ItemAtRow(FirstDataRow()))
        setCurrentCell(FirstDataRow(), 1);
}

// ---- Clicking

QRect TKorInspector::ValueCellRect(int row) const
{
    return visualRect(model()->index(row, 1));
}

QRect TKorInspector::ButtonArea(const QRect &cell)
{
    // From (left + 2, top + 2) to (left + 18, bottom - 1), bottom exclusive.
    const int bottom = cell.top() + cell.height();
    return QRect(cell.left() + 2, cell.top() + 2, 16, std::max(0, bottom - 1 - (cell.top() + 2)));
}

void TKorInspector::ClickCell(int row, int x, int y)
{
    HideEditors();
    TInspectorItem *item = ItemAtRow(row);
    if (!item)
        return;
    const QRect cell = ValueCellRect(row);
    if (item->Style() == iiString || item->Style() == iiInteger) {
        ShowTextEditor(row);
        return;
    }
    if (item->Style() == iiSelection) {
        ShowCombo(row);
        return;
    }
    const QRect local = ButtonArea(QRect(0, 0, cell.width(), cell.height()));
    if (item->Enabled() && local.contains(x, y))
        ActOnButton(item);
}

void TKorInspector::ActOnButton(TInspectorItem *item)
{
    bool changed = true;
    switch (item->Style()) {
    case iiBoolean:
        item->FValue = !item->FValue.toBool();
        break;
    case iiColor: {
        const TColor old = static_cast<TColor>(item->FValue.toInt());
        const TColor chosen = EditColor(window(), old);
        changed = chosen != old;
        item->FValue = static_cast<int>(chosen);
        break;
    }
    case iiPen:
        changed = EditPen(window(), dynamic_cast<TPen *>(item->Data()));
        break;
    case iiGradient:
        changed = EditGradient(window(), dynamic_cast<TCustomKorGradient *>(item->Data()));
        break;
    case iiBrush:
        changed = EditBrush(window(), dynamic_cast<TChartBrush *>(item->Data()));
        break;
    case iiFont:
        changed = EditFont(window(), dynamic_cast<TFont *>(item->Data()));
        break;
    default:
        break;
    }
    RefreshItem(item);
    // A cancelled picker changed nothing the owner needs to hear of; a
    // menu command always runs, as the menu would run it.
    if (changed)
        Changed(item);
    if (QAction *action = item->MenuItem())
        action->trigger();
    RefreshItem(item);
}

void TKorInspector::Changed(TInspectorItem *item)
{
    if (item->OnChange)
        item->OnChange(item);
}

void TKorInspector::ShowTextEditor(int row)
{
    TInspectorItem *item = ItemAtRow(row);
    FEditing = item;
    FLastRefusal.clear();
    FEdit->setToolTip(QString());
    FEdit->setText(item->Value().toString());
    PlaceEditors();
    FEdit->show();
    FEdit->setFocus();
    FEdit->selectAll();
}

void TKorInspector::ShowCombo(int row)
{
    TInspectorItem *item = ItemAtRow(row);
    FEditing = item;
    FFillingCombo = true;
    FCombo->clear();
    FComboObjects.clear();
    if (QAction *action = item->MenuItem()) {
        int checked = -1;
        for (QAction *a : RadioItems(action)) {
            if (a->isChecked())
                checked = FCombo->count();
            FCombo->addItem(InspectorCaption(a->text()));
        }
        FCombo->setCurrentIndex(checked);
    } else {
        if (item->OnGetItems)
            item->OnGetItems(item, [this](const QString &text, TPersistent *object) {
                FCombo->addItem(text);
                FComboObjects.push_back(object);
            });
        int chosen = -1;
        for (size_t i = 0; i < FComboObjects.size(); ++i)
            if (item->Data() && FComboObjects[i] == item->Data())
                chosen = static_cast<int>(i);
        FCombo->setCurrentIndex(chosen);
    }
    FFillingCombo = false;
    PlaceEditors();
    FCombo->show();
    FCombo->setFocus();
}

void TKorInspector::TextEdited(const QString &text)
{
    TInspectorItem *item = FEditing;
    if (!item || !FEdit->isVisible())
        return;
    if (item->Style() == iiInteger) {
        bool ok = false;
        const int value = text.trimmed().toInt(&ok);
        if (!ok) {
            // A width or a duration of 0 is no stand-in for a mistyped number.
            FLastRefusal = FormatMessage(SNotANumber, {text, item->Value().toString()});
            FEdit->setToolTip(FLastRefusal);
            QToolTip::showText(FEdit->mapToGlobal(QPoint(0, FEdit->height())), FLastRefusal, FEdit);
            return;
        }
        FLastRefusal.clear();
        FEdit->setToolTip(QString());
        QToolTip::hideText();
        item->SetValue(value);
    } else {
        item->SetValue(text);
    }
    Changed(item);
}

void TKorInspector::ComboChosen(int index)
{
    TInspectorItem *item = FEditing;
    if (FFillingCombo || !item || index < 0)
        return;
    if (QAction *action = item->MenuItem()) {
        const auto radios = RadioItems(action);
        if (index < static_cast<int>(radios.size())) {
            QAction *chosen = radios[static_cast<size_t>(index)];
            chosen->setChecked(true);
            chosen->trigger();
        }
    } else {
        item->FValue = FCombo->itemText(index);
        item->FData = index < static_cast<int>(FComboObjects.size()) ? FComboObjects[static_cast<size_t>(index)] : nullptr;
        Changed(item);
    }
    RefreshItem(item);
}

void TKorInspector::HideEditors()
{
    // The grid takes the focus first: an item view that gets it back from
    // a hidden child would move to the next cell.
    if (FEdit->hasFocus() || FCombo->hasFocus())
        setFocus();
    FEdit->hide();
    FCombo->hide();
}

void TKorInspector::PlaceEditors()
{
    const int row = RowOf(FEditing);
    if (row < 0)
        return;
    const QRect cell = ValueCellRect(row);
    FEdit->setGeometry(cell.left() + 1, cell.top(), cell.width() + 1, cell.height() + 1);
    FCombo->setGeometry(cell.left() + 1, cell.top() - 1, cell.width() + 1, std::max(cell.height() + 2, FCombo->sizeHint().height()));
}

void TKorInspector::FitValueColumn()
{
    setColumnWidth(1, std::max(8, viewport()->width() - columnWidth(0)));
}

// ---- Events

void TKorInspector::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->pos());
    QTableWidget::mousePressEvent(event);
    if (!index.isValid() || index.column() != 1 || event->button() != Qt::LeftButton)
        return;
    const QRect cell = visualRect(index);
    ClickCell(index.row(), event->pos().x() - cell.left(), event->pos().y() - cell.top());
}

void TKorInspector::mouseMoveEvent(QMouseEvent *event)
{
    QTableWidget::mouseMoveEvent(event);
    const QModelIndex index = indexAt(event->pos());
    TInspectorItem *item = index.isValid() && index.column() == 1 ? ItemAtRow(index.row()) : nullptr;
    const bool hand = item && item->Enabled() && item->Style() != iiSelection &&
                      ButtonArea(visualRect(index)).contains(event->pos());
    if (hand)
        viewport()->setCursor(Qt::PointingHandCursor);
    else
        viewport()->unsetCursor();
}

void TKorInspector::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && currentRow() >= 0) {
        ClickCell(currentRow(), 4, 4);
        return;
    }
    QTableWidget::keyPressEvent(event);
}

bool TKorInspector::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == FEdit && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const int k = key->key();
        if (k == Qt::Key_Escape || k == Qt::Key_Up || k == Qt::Key_Down) {
            const int row = RowOf(FEditing);
            HideEditors();
            if (k == Qt::Key_Up && row > FirstDataRow())
                setCurrentCell(row - 1, 1);
            else if (k == Qt::Key_Down && row >= 0 && row + 1 < rowCount())
                setCurrentCell(row + 1, 1);
            return true;
        }
    }
    if ((watched == FEdit || watched == FCombo) && event->type() == QEvent::FocusOut) {
        auto *focus = static_cast<QFocusEvent *>(event);
        if (focus->reason() != Qt::PopupFocusReason)
            static_cast<QWidget *>(watched)->hide();
    }
    return QTableWidget::eventFilter(watched, event);
}

void TKorInspector::resizeEvent(QResizeEvent *event)
{
    QTableWidget::resizeEvent(event);
    FitValueColumn();
    if (currentRow() == 0 && FirstDataRow() == 1 && ItemAtRow(1))
        setCurrentCell(1, 1);
    PlaceEditors();
}

void TKorInspector::scrollContentsBy(int dx, int dy)
{
    QTableWidget::scrollContentsBy(dx, dy);
    PlaceEditors();
}

// ---- Drawing

void TKorInspector::PaintCell(QPainter &p, const QRect &rect, int row, int column, bool selected) const
{
    p.save();
    const QColor background = selected && hasFocus() ? palette().color(QPalette::Highlight) : ToQColor(FColor);
    p.fillRect(rect, background);
    p.setPen(ToQColor(clGray));
    p.drawLine(rect.bottomLeft(), rect.bottomRight());
    if (column == 0)
        p.drawLine(rect.topRight(), rect.bottomRight());
    const QRect textRect(rect.left() + 2, rect.top() + 1, rect.width() - 2, rect.height() - 1);
    TInspectorItem *item = ItemAtRow(row);
    if (row == 0 && FHeader.Visible()) {
        const TKorFont *font = const_cast<TInspectorHeader &>(FHeader).Font();
        p.setFont(font->ToQFont());
        p.setPen(selected ? palette().color(QPalette::HighlightedText) : ToQColor(font->Color()));
        p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, column == 0 ? SInspectorProperty : SInspectorValue);
    } else if (item && column == 0) {
        p.setPen(palette().color(item->Enabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, item->Caption());
    } else if (item) {
        p.setPen(selected && hasFocus() ? palette().color(QPalette::HighlightedText) : palette().color(QPalette::WindowText));
        PaintValue(p, rect, *item);
    }
    p.restore();
}

void TKorInspector::PaintValue(QPainter &p, const QRect &rect, const TInspectorItem &item) const
{
    const QRect button = ButtonArea(rect);
    const int swatchRight = rect.left() + 18;
    const int bottom = rect.top() + rect.height();
    const QRect after(swatchRight + 2, rect.top(), std::max(0, rect.left() + rect.width() - swatchRight - 2), rect.height());
    const auto text = [&](const QRect &r, const QString &s) { p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, s); };
    const QRect atLeft(rect.left() + 2, rect.top(), rect.width() - 2, rect.height());
    const QAction *action = item.MenuItem();
    const int kind = item.Kind();

    if (kind == ikColor) {
        const TColor c = action ? InspectorColor(action) : static_cast<TColor>(item.Value().toInt());
        if (c != clNone)
            p.fillRect(button.adjusted(0, 0, -1, -1), ToQColor(c == clDefault ? clBlack : c));
        QString name;
        if (ColorToIdent(c, name))
            text(after, name.startsWith(QLatin1String("cl")) ? name.mid(2) : name);
        return;
    }
    if (kind == ikText && item.Style() != iiSelection) {
        text(atLeft, item.Value().toString());
        return;
    }
    if (kind == ikBoolean) {
        const bool checked = action ? action->isChecked() : item.Value().toBool();
        p.fillRect(button, ToQColor(item.Enabled() ? FColor : clSilver));
        QStyleOptionButton option;
        option.rect = button;
        option.state = (checked ? QStyle::State_On : QStyle::State_Off) |
                       (item.Enabled() ? QStyle::State_Enabled : QStyle::State_None);
        style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &p, this);
        text(after, InspectorCaption(checked ? SInspectorYes : SInspectorNo));
        return;
    }
    const bool selection = item.Style() == iiSelection;
    if (selection || item.Style() == iiString || item.Style() == iiInteger) {
        if (selection) {
            const QAction *radio = CheckedRadio(action);
            text(atLeft, radio ? InspectorCaption(radio->text()) : item.Value().toString());
        }
        return;
    }
    // A flat push button, then what the kind shows beside it.
    QStyleOptionButton option;
    option.rect = button.adjusted(0, 0, -2, -1);
    option.state = QStyle::State_Raised | (item.Enabled() ? QStyle::State_Enabled : QStyle::State_None);
    option.features = QStyleOptionButton::Flat;
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &p, this);
    const auto mark = [&] {
        p.save();
        p.setPen(Qt::black);
        p.drawLine(rect.left() + 4, bottom - 6, rect.left() + 10, bottom - 6);
        p.restore();
    };
    const int middle = rect.top() + rect.height() / 2;
    switch (kind) {
    case ikSelection:
        mark();
        break;
    case ikPen:
        mark();
        if (auto *pen = dynamic_cast<const TPen *>(item.Data()))
            DrawPenSample(p, *pen, QPoint(swatchRight + 1 + pen->Width(), middle), QPoint(swatchRight + 30, middle));
        break;
    case ikGradient:
        mark();
        if (auto *g = dynamic_cast<const TCustomKorGradient *>(item.Data()); g && g->Visible())
            PaintGradientSample(p, QRect(QPoint(swatchRight + 2, rect.top() + 2), QPoint(swatchRight + 39, bottom - 3)), *g);
        else
            text(after, SInspectorNone);
        break;
    case ikButtonText:
        text(after, item.Value().toString());
        break;
    case ikFont:
        mark();
        if (auto *f = dynamic_cast<const TFont *>(item.Data())) {
            p.save();
            QFont q = f->ToQFont();
            q.setPixelSize(std::min(q.pixelSize(), std::max(6, rect.height() - 4)));
            p.setFont(q);
            p.setPen(ToQColor(f->Color()));
            text(after, f->Name());
            p.restore();
        }
        break;
    case ikImage: {
        mark();
        auto *picture = dynamic_cast<const TPicture *>(item.Data());
        text(after, picture && picture->HasGraphic() ? SInspectorImage : SInspectorNone);
        break;
    }
    case ikPattern:
        mark();
        if (auto *b = dynamic_cast<const TBrush *>(item.Data())) {
            const QRect swatch(QPoint(swatchRight + 2, rect.top() + 2), QPoint(swatchRight + 39, bottom - 3));
            TColor back = clWhite;
            bool ok = false;
            const int hinted = action ? InspectorHint(action).toInt(&ok) : 0;
            if (ok)
                back = hinted;
            p.fillRect(swatch, ToQColor(back));
            const auto *chart = dynamic_cast<const TChartBrush *>(b);
            const TColor color = b->Color() == clDefault ? clBlack : b->Color();
            if (chart && chart->HasImage()) {
                p.fillRect(swatch, QBrush(chart->PeekImage()->DrawImage()));
            } else if (b->Style() != bsClear) {
                static const Qt::BrushStyle hatches[] = {Qt::SolidPattern, Qt::NoBrush,  Qt::HorPattern,
                                                         Qt::VerPattern,   Qt::FDiagPattern, Qt::BDiagPattern,
                                                         Qt::CrossPattern, Qt::DiagCrossPattern};
                p.fillRect(swatch, QBrush(ToQColor(color), hatches[b->Style() < 8 ? b->Style() : 0]));
            }
        }
        break;
    default:
        break;
    }
}
