#pragma once
// What the editor window changes of a diagram while it edits it, taken
// before editing and put back when the window lets the diagram go: the
// handlers of its user, its context menu, its place (bounds, alignment,
// how its parent's layout sizes it, the parent and its slot in that
// parent's layout), the switches editing turns on (zoom, panning, design
// mode, the grid) and whether it is shown.
//
//   TSavedTreeState saved;
//   saved.Remember(tree);          // before the window takes it
//   ...                            // editing
//   saved.Restore(tree);           // the diagram as it was handed over

#include "view/CustomTree.h"

#include <QPointer>
#include <QRect>
#include <QSizePolicy>

class QWidget;

// The handlers a diagram's user may have set.
struct TTreeHandlers
{
    TNotifyEvent AfterDraw;
    TNotifyEvent BeforeDraw;
    TControlMouseEvent MouseDown;
    TControlMouseMoveEvent MouseMove;
    TControlMouseEvent MouseUp;
    TChangingShapeEvent Changing;
    TControlMouseEvent ClickBackground;
    TClickShapeEvent DblClickShape;
    TClickConnectionEvent DblClickConnection;

    static TTreeHandlers Of(const TCustomTree &tree);
    void ApplyTo(TCustomTree &tree) const;
};

struct TSavedTreeState
{
    TTreeHandlers Handlers;
    Qt::ContextMenuPolicy ContextMenu = Qt::DefaultContextMenu;
    QRect Bounds;
    bool AllowZoom = true;
    TPanningMode Panning = pmBoth;
    TAlign Align = alNone;
    // The counterpart of anchors: how the parent's layout stretches it.
    QSizePolicy Anchors;
    QPointer<QWidget> Parent;
    bool HasParent = false;
    // False: the parent (and the place in it) stays as it is at restoring.
    bool RestoreParent = true;
    // Its place in the parent's layout (box: index and stretch; grid: row,
    // column and spans), -1 when it was in none.
    int LayoutIndex = -1;
    int LayoutStretch = 0;
    int Row = -1, Column = -1, RowSpan = 1, ColumnSpan = 1;
    bool Designing = false;
    bool HostDesigning = false;
    bool GridVisible = false;
    // Hidden, and hidden on purpose (a widget never shown is hidden but
    // not on purpose).
    bool Hidden = false;
    bool HiddenExplicitly = false;
    bool Remembered = false;

    void Remember(TCustomTree &tree);
    // Puts everything back, the parent last; re-parenting hides a widget,
    // so its bounds and visibility follow the parent again.
    void Restore(TCustomTree &tree) const;
    // The parent is not to be given back (the window's own place).
    void ForgetParent();
    // Unbinds the handlers that were remembered (the window edits).
    static void ClearHandlers(TCustomTree &tree);
};
