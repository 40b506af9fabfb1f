#pragma once
// The events the diagram control fires while the user works with the
// mouse and the keyboard. They belong to whoever uses the control (the
// program's own parts listen through the listener lists, core/Events.h).
// Mouse positions are client pixels of the press.

#include "core/Events.h"
#include "core/InputTypes.h"
#include "model/TreeNodeShape.h"

#include <QString>

class TTreeConnection;

using TClickConnectionEvent = TEvent<TTreeConnection *, TMouseButton, TShiftState, int, int>;
// Sender: the diagram control.
using TControlMouseEvent = TEvent<TObject *, TMouseButton, TShiftState, int, int>;
using TControlMouseMoveEvent = TEvent<TObject *, TShiftState, int, int>;
using TStartEditingEvent = TEvent<TTreeNodeShape *, bool &>;
using TShowHintEvent = TEvent<TObject *, TTreeNodeShape *, QString &>;
using TDragDropShapeEvent = TEvent<TObject *, TTreeNodeShape *, TTreeNodeShape *>;

class TTreeInputEvents
{
public:
    // A press on a node (then the node's own OnClick) and a double press.
    TClickShapeEvent OnClickShape;
    TClickShapeEvent OnDblClickShape;
    TClickConnectionEvent OnClickConnection;
    TClickConnectionEvent OnDblClickConnection;
    // A press that no node or connection took.
    TControlMouseEvent OnClickBackground;
    // The control's own mouse events, before the diagram looks at them.
    TControlMouseEvent OnMouseDown;
    TControlMouseEvent OnMouseUp;
    TControlMouseMoveEvent OnMouseMove;
    // The pointer entered or left a node.
    TMouseShapeEvent OnMouseEnterShape;
    TMouseShapeEvent OnMouseLeaveShape;
    // In-place editing may be refused; its end is told.
    TStartEditingEvent OnStartEditing;
    TNodeShapeNotifyEvent OnStopEditing;
    // The text of a node's hint may be changed (empty: no hint).
    TShowHintEvent OnShowHint;
    // A node was dropped on another (Parent) or as a root (null).
    TDragDropShapeEvent OnDragDropShape;
};
