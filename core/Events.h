#pragma once
// Events are handlers with the sender first. A handler vetoes or adjusts an
// operation through reference parameters that arrive holding the value the
// operation would use:
//
//   using TMovingShapeEvent = TEvent<TTreeNodeShape *, int &, int &>;
//   tree->OnMovingShape = [](TTreeNodeShape *node, int &dx, int &dy) { dy = 0; };
//
// An unbound event is empty; Fire calls it only when bound.
//
// Who listens where. An On* event has one handler, and it belongs to
// whoever uses the component (a program embedding the diagram, a test):
// the program's own parts never bind one. They listen through listener
// lists, which take any number of listeners:
//   - the document's change listeners (model/TreeChanges.h) for every edit
//     and selection change: the main window's modified mark, undo, the node
//     outline, the inspector and the toolbars;
//   - the panel's listeners (TKorEventListeners, canvas/PanelEvents.h) for
//     what the control sees and draws: mouse events, drawings, scrolling,
//     zooming: rulers, the page navigator, the status bar, the animation
//     player's view.
// Sub-objects (pens, brushes, fonts) report to the element that owns them
// through their single OnChange, which is internal plumbing, not an event
// for users.

#include <functional>

class TObject;

template <class... Args>
using TEvent = std::function<void(Args...)>;

using TNotifyEvent = TEvent<TObject *>;

template <class... Params, class... Args>
inline void Fire(const TEvent<Params...> &event, Args &&...args)
{
    if (event)
        event(std::forward<Args>(args)...);
}
