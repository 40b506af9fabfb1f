#pragma once
// A shape with one control point of its own besides the eight box handles
// (a slant, a wall height, a flap, a call-out tip): it paints the point's
// handle after the box handles, offers it (handle rcPoint) only where no
// box handle lies, shows the class's cursor over it, and hands a drag of
// it to the class after the diagram's OnResizingShape had its say.

#include "model/CustomTreeShape.h"
#include "model/TreeDocument.h"

#include <cstdlib>

template <class Base>
class TControlPointShape : public Base
{
public:
    using Base::Base;

    void DrawHandles() override
    {
        Base::DrawHandles();
        TTreeDocument *tree = this->Tree();
        if (!tree)
            return;
        const TPoint p = ControlPoint(this->DrawRect());
        bool allow = true;
        this->AllowResize(rcPoint, p.X, p.Y, allow);
        if (allow)
            tree->DrawHandle(p.X, p.Y, clNone, rcPoint);
    }

    TTreeShapeHandle GetResizingCorner(int x, int y) override
    {
        const TTreeShapeHandle corner = Base::GetResizingCorner(x, y);
        if (corner != rcNone)
            return corner;
        const TTreeDocument *tree = this->Tree();
        const long long d = tree ? tree->Selected().HandleSize() : 3;
        const TPoint p = ControlPoint(this->DrawRect());
        if (std::llabs(static_cast<long long>(x) - p.X) > d || std::llabs(static_cast<long long>(y) - p.Y) > d)
            return rcNone;
        bool allow = true;
        this->AllowResize(rcPoint, x, y, allow);
        return allow ? rcPoint : rcNone;
    }

    int GetResizingCursor(int x, int y) override
    {
        return GetResizingCorner(x, y) == rcPoint ? ControlCursor() : Base::GetResizingCursor(x, y);
    }

    void Resize(TTreeShapeHandle corner, int dx, int dy) override
    {
        if (corner != rcPoint) {
            Base::Resize(corner, dx, dy);
            return;
        }
        if (TTreeDocument *tree = this->Tree())
            Fire(tree->OnResizingShape, static_cast<TTreeNodeShape *>(this), corner, dx, dy);
        DragControlPoint(dx, dy);
    }

protected:
    // Where the control point lies for a drawing rectangle.
    virtual TPoint ControlPoint(const TRect &r) const = 0;
    virtual int ControlCursor() const = 0;
    // Applies a drag of the control point by (dx, dy).
    virtual void DragControlPoint(int dx, int dy) = 0;
};
