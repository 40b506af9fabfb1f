#pragma once
// Node shapes whose outline the class computes itself: the common base of
// every gallery shape and of the user-drawn polygons, and the regular
// polygon.

#include "model/TreeNodeShape.h"

// cos and sin for outlines computed from angles: where the true value is
// 0, 1/2 or 1 (or their negatives) it is given exactly, so a product that
// falls on a half is rounded ties-to-even as the true value would be (the
// library's cos 60 degrees is a few units in the last place above 1/2).
double ExactCos(double radians);
double ExactSin(double radians);

// A node whose outline, while its Style is tssCustom, is the polygon its
// class gives through GetShapePoints: the node draws, clips its gradient
// to and hit-tests that polygon (a class that gives none draws no body of
// its own and is hit in its rectangle). Any other style draws and
// hit-tests with the built-in geometry of that style.
class TCustomTreeShape : public TTreeNodeShape
{
    DX_OBJECT(TCustomTreeShape)
public:
    // Style tssCustom, no image.
    explicit TCustomTreeShape(TComponent *owner = nullptr);

protected:
    // GetShapePoints of a class with an outline of its own: `outline(r)`
    // while Style is tssCustom; with any other style the points of that
    // style, so the gradient is clipped to the figure that is drawn.
    template <class F>
    int CustomOutline(const TRect &r, TPointArray &points, F outline) const
    {
        if (Style() != tssCustom)
            return TTreeNodeShape::GetShapePoints(r, points);
        points = outline(r);
        return static_cast<int>(points.size());
    }
};

// A regular polygon inscribed in the node's bounds. Subclasses fix the
// number of vertices; AngleOffset turns the figure (degrees; with 0 the
// first vertex is the middle of the left edge and the others follow
// clockwise on screen).
class TTreeCustomPolygonShape : public TCustomTreeShape
{
    DX_OBJECT(TTreeCustomPolygonShape)
public:
    explicit TTreeCustomPolygonShape(TComponent *owner = nullptr, int sides = 0);

    int Sides() const { return FSides; }
    double AngleOffset() const { return FAngleOffset; }
    // Values that are not finite numbers are ignored.
    void SetAngleOffset(double value);

    int GetShapePoints(const TRect &r, TPointArray &points) const override;

    // The `sides` vertices of a regular polygon in `r`, each coordinate
    // rounded to the nearest integer, ties to even.
    static TPointArray RegularPolygon(const TRect &r, int sides, double angleOffset);

private:
    double FAngleOffset = 0.0;
    int FSides;
};
