#include "editor/SavedTreeState.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QWidget>

TTreeHandlers TTreeHandlers::Of(const TCustomTree &tree)
{
    return {tree.OnAfterDraw, tree.OnBeforeDraw,       tree.OnMouseDown,     tree.OnMouseMove,          tree.OnMouseUp,
            tree.OnChanging,  tree.OnClickBackground, tree.OnDblClickShape, tree.OnDblClickConnection};
}

void TTreeHandlers::ApplyTo(TCustomTree &tree) const
{
    tree.OnAfterDraw = AfterDraw;
    tree.OnBeforeDraw = BeforeDraw;
    tree.OnMouseDown = MouseDown;
    tree.OnMouseMove = MouseMove;
    tree.OnMouseUp = MouseUp;
    tree.OnChanging = Changing;
    tree.OnClickBackground = ClickBackground;
    tree.OnDblClickShape = DblClickShape;
    tree.OnDblClickConnection = DblClickConnection;
}

void TSavedTreeState::Remember(TCustomTree &tree)
{
    Handlers = TTreeHandlers::Of(tree);
    ContextMenu = tree.contextMenuPolicy();
    Bounds = tree.geometry();
    AllowZoom = tree.AllowZoom();
    Panning = tree.AllowPanning();
    Align = tree.Align();
    Anchors = tree.sizePolicy();
    Parent = tree.parentWidget();
    HasParent = Parent != nullptr;
    RestoreParent = true;
    LayoutIndex = -1;
    Row = Column = -1;
    if (QLayout *layout = Parent ? Parent->layout() : nullptr) {
        const int index = layout->indexOf(&tree);
        if (auto *box = qobject_cast<QBoxLayout *>(layout); box && index >= 0) {
            LayoutIndex = index;
            LayoutStretch = box->stretch(index);
        } else if (auto *grid = qobject_cast<QGridLayout *>(layout); grid && index >= 0) {
            LayoutIndex = index;
            grid->getItemPosition(index, &Row, &Column, &RowSpan, &ColumnSpan);
        } else if (index >= 0) {
            LayoutIndex = index;
        }
    }
    Designing = tree.Designing();
    HostDesigning = static_cast<const TComponent &>(tree).IsDesigning();
    GridVisible = tree.Grid()->Visible();
    Hidden = tree.isHidden();
    HiddenExplicitly = tree.testAttribute(Qt::WA_WState_ExplicitShowHide);
    Remembered = true;
}

void TSavedTreeState::ForgetParent()
{
    RestoreParent = false;
}

void TSavedTreeState::ClearHandlers(TCustomTree &tree)
{
    TTreeHandlers().ApplyTo(tree);
}

namespace {

void RestoreVisibility(QWidget &widget, bool hidden, bool explicitly)
{
    if (!hidden) {
        widget.show();
        // Shown with its parent, never on purpose.
        if (!explicitly)
            widget.setAttribute(Qt::WA_WState_ExplicitShowHide, false);
    } else if (explicitly)
        widget.hide();
    else if (widget.isHidden())
        // Never shown: hidden, yet not on purpose.
        widget.setAttribute(Qt::WA_WState_ExplicitShowHide, false);
}

} // namespace

void TSavedTreeState::Restore(TCustomTree &tree) const
{
    if (!Remembered)
        return;
    // With no parent to go back to, showing it would make it a window of
    // its own: that waits until it has its parent again.
    const bool reparent = RestoreParent && HasParent && Parent && tree.parentWidget() != Parent;
    if (!reparent && tree.parentWidget())
        RestoreVisibility(tree, Hidden, HiddenExplicitly);
    tree.SetAlign(Align);
    tree.setSizePolicy(Anchors);
    tree.Grid()->SetVisible(GridVisible);
    tree.SetDesigning(Designing);
    auto &component = static_cast<TComponent &>(tree);
    if (component.IsDesigning() != HostDesigning)
        component.SetDesigning(HostDesigning);
    tree.SetAllowZoom(AllowZoom);
    tree.SetAllowPanning(Panning);
    tree.setGeometry(Bounds);
    tree.setContextMenuPolicy(ContextMenu);
    Handlers.ApplyTo(tree);
    if (!RestoreParent || (HasParent && !Parent))
        return; // its parent stays (or went away meanwhile)
    if (!HasParent) {
        if (tree.parentWidget())
            tree.setParent(nullptr);
        tree.setGeometry(Bounds);
        RestoreVisibility(tree, Hidden, HiddenExplicitly);
        return;
    }
    if (!reparent)
        return;
    QLayout *layout = Parent->layout();
    if (auto *box = qobject_cast<QBoxLayout *>(layout); box && LayoutIndex >= 0)
        box->insertWidget(qMin(LayoutIndex, box->count()), &tree, LayoutStretch);
    else if (auto *grid = qobject_cast<QGridLayout *>(layout); grid && Row >= 0)
        grid->addWidget(&tree, Row, Column, RowSpan, ColumnSpan);
    else if (layout && LayoutIndex >= 0)
        layout->addWidget(&tree);
    else
        tree.setParent(Parent);
    tree.setGeometry(Bounds);
    RestoreVisibility(tree, Hidden, HiddenExplicitly);
}
