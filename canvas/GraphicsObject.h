#pragma once
// Base of the drawing property objects (pens, brushes, fonts, gradients,
// shadows, pictures, view options): every setter that really changes a
// value ends in Changed, which calls the owner's change callback; the owner
// repaints.

#include "core/Events.h"
#include "core/Object.h"

#include <memory>

using TKorTransparency = uint8_t; // 0 (opaque) .. 100 (invisible), percent

// Setting an owned sub-object that is created on first use: a source is
// copied into it (get() creates it), no source frees it and the freeing is
// reported.
template <class T, class S, class Get, class Report>
void AssignSubObject(std::unique_ptr<T> &slot, const S *source, Get get, Report report)
{
    if (source) {
        get()->Assign(source);
    } else if (slot) {
        slot.reset();
        report();
    }
}

class TGraphicsObject : public TPersistent
{
    DX_OBJECT(TGraphicsObject)
public:
    // Called with the changed object after every real change.
    TEvent<TGraphicsObject *> OnChange;

protected:
    void Changed()
    {
        if (OnChange)
            OnChange(this);
    }
    // Stores a new value and reports it; an unchanged value does nothing.
    template <class T, class V>
    void Update(T &field, const V &value)
    {
        if (field == value)
            return;
        field = value;
        Changed();
    }
};
