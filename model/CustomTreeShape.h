#pragma once
// Node shapes whose outline the class computes itself: the common base of
// every gallery shape and of the user-drawn polygons, and the regular
// polygon.

#include "model/TreeNodeShape.h"

// A node whose outline, while its Style is tssCustom, is the polygon its
// class gives through GetShapePoints; any other style draws and hit-tests
// with the built-in geometry of that style. A class that gives no outline
// (GetShapePoints answers 0) draws no body of its own.
class TCustomTreeShape : public TTreeNodeShape
{
    DX_OBJECT(TCustomTreeShape)
public:
    // Style tssCustom, no image.
    explicit TCustomTreeShape(TComponent *owner = nullptr);

    // tssCustom: a filled, bordered polygon through the points
    // GetShapePoints gives for `r`, when it gives at least one.
    bool DrawOutline(const TRect &r, TKorCanvas3D *canvas, TTreeShapeStyle style) override;
    // Screen position. tssCustom: a visible shape whose bounds meet the
    // visible area is hit inside its outline polygon (inside its rectangle
    // when it has none), or on its image when the image sits beside it.
    bool PointInShape(int x, int y) const override;

protected:
    // The first checks of a hit test: the shape is visible and near the
    // visible area. `pos` receives the position in diagram coordinates.
    bool HitCandidate(int x, int y, TPoint &pos) const;
    // Whether a diagram position lies on the tssCustom outline.
    virtual bool OutlineHit(const TPoint &pos) const;
    // X0, Y0, X1, Y1, brought up to date first.
    TRect BodyRect() const;
    // The body as drawn: BodyRect moved by the diagram's drawing offset.
    TRect DrawingRect() const;
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
