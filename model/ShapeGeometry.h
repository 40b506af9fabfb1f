#pragma once
// The geometry of the built-in node outlines, free of any diagram state:
// the figure each style draws on a rectangle, the outline points a node
// reports, and whether a point lies on the figure. Drawing and hit testing
// both use these, so a point inside what is drawn hits and one outside
// does not.

#include "model/TreeTypes.h"

namespace ShapeGeometry {

// How far (in diagram pixels) a click may miss a line-style node and still
// hit it.
constexpr int kLineTolerance = 3;

// The kind of figure a style draws.
enum class TFigure { None, Rectangle, Ellipse, Line, Polygon };

// The 16 points of the rounded rectangle, corners cut 3 pixels deep, from
// the bottom of the left edge clockwise.
TPointArray RoundRectPoints(const TRect &r);

// The figure of a built-in style on a rectangle: Rectangle and Ellipse use
// the rectangle itself; Line gives the segment's two end points; Polygon
// the vertices (diamond, triangles on the normalised rectangle, rounded
// rectangle). tssCustom is None: its outline comes from the node.
TFigure Figure(TTreeShapeStyle style, const TRect &r, TPointArray &points);

// The outline points of a style as a node reports them: the ellipse's
// bounding box (L, T), (R + 1, B + 1) for tssCircle, the polygon for the
// diamond, triangles and rounded rectangle; empty for every other style.
TPointArray ShapePoints(TTreeShapeStyle style, const TRect &r);

// Whether a point lies in the ellipse inscribed in a rectangle: the pixel's
// centre inside the ellipse, as the ellipse is filled.
bool InEllipse(const TRect &r, const TPoint &p);

// Hit test of a built-in style's figure (tssCustom and unknown styles: the
// rectangle): lines within kLineTolerance, polygons with their edges, the
// ellipse of the normalised rectangle, rectangles with left and top edges
// included and right and bottom edges excluded.
bool HitFigure(TTreeShapeStyle style, const TRect &r, const TPoint &p);

} // namespace ShapeGeometry
