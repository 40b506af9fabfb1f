#pragma once
// Events are handlers with the sender first. A handler vetoes or adjusts an
// operation through reference parameters that arrive holding the value the
// operation would use:
//
//   using TMovingShapeEvent = TEvent<TTreeNodeShape *, int &, int &>;
//   tree->OnMovingShape = [](TTreeNodeShape *node, int &dx, int &dy) { dy = 0; };
//
// An unbound event is empty; Fire calls it only when bound.

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
