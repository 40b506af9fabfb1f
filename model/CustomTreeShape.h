#pragma once
// Node shapes whose outline the class computes itself: the common base of
// every gallery shape and of the user-drawn polygons, and the regular
// polygon.

#include "model/TreeNodeShape.h"

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
