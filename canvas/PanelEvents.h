#pragma once
// Events a panel sends to its listeners (rulers and the like): mouse
// presses, releases and moves, the 3D switch, and whatever subclasses add
// (the diagram's after-draw event). A mouse event stops travelling along the
// list as soon as a listener marks it handled.

#include "core/ClassInfo.h"
#include "core/InputTypes.h"

#include <Qt>
#include <algorithm>
#include <vector>

class TCustomKorPanel;

// The panel's names for a Qt mouse button (anything but right and middle is
// the left one) and for the keys and buttons held down with an event.
TMouseButton ButtonOf(Qt::MouseButton b);
TShiftState ShiftOf(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons = Qt::NoButton);

class TKorEvent
{
public:
    explicit TKorEvent(TCustomKorPanel *sender) : Sender(sender) {}
    virtual ~TKorEvent() = default;
    TCustomKorPanel *Sender;
};

enum class TKorMouseEventKind { Down = 0, Up = 1, Move = 2 };

class TKorMouseEvent : public TKorEvent
{
public:
    TKorMouseEvent(TCustomKorPanel *sender, TKorMouseEventKind kind, TMouseButton button, TShiftState shift, int x,
                   int y)
        : TKorEvent(sender), Kind(kind), Button(button), Shift(shift), X(x), Y(y)
    {
    }
    TKorMouseEventKind Kind;
    TMouseButton Button;
    TShiftState Shift;
    int X;
    int Y;
    bool Handled = false;
};

// The panel's 3D switch changed.
class TKorView3DEvent : public TKorEvent
{
public:
    using TKorEvent::TKorEvent;
};

class TKorEventListener
{
public:
    virtual ~TKorEventListener() = default;
    virtual void KorEvent(TKorEvent &event) = 0;
};

// The listeners of a panel, in the order they were added. Listeners are
// not owned; one that goes away removes itself first.
class TKorEventListeners
{
public:
    void Add(TKorEventListener *listener)
    {
        if (listener && std::find(FItems.begin(), FItems.end(), listener) == FItems.end())
            FItems.push_back(listener);
    }
    void Remove(TKorEventListener *listener)
    {
        FItems.erase(std::remove(FItems.begin(), FItems.end(), listener), FItems.end());
    }
    int Count() const { return static_cast<int>(FItems.size()); }
    bool IsEmpty() const { return FItems.empty(); }
    TKorEventListener *Items(int index) const { return FItems[static_cast<size_t>(index)]; }

    // Sends an event to every listener (a listener may remove itself or
    // others meanwhile); a mouse event stops once one marks it handled.
    void Send(TKorEvent &event)
    {
        const std::vector<TKorEventListener *> items = FItems;
        auto *mouse = dynamic_cast<TKorMouseEvent *>(&event);
        for (TKorEventListener *l : items) {
            if (std::find(FItems.begin(), FItems.end(), l) == FItems.end())
                continue;
            l->KorEvent(event);
            if (mouse && mouse->Handled)
                break;
        }
    }

private:
    std::vector<TKorEventListener *> FItems;
};
