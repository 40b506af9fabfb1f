#pragma once
// The geometry of connections, free of any diagram state: where a line
// meets a node of each style, the drawn course of each connection style,
// arrow heads, the angles at both ends, text placement and hit tests.

#include "model/TreeTypes.h"

#include <vector>

namespace ConnectionGeometry {

// Where a connection towards the rectangle `other` meets a node of `style`
// whose rectangle is `own` (both already widened for the border).
TPoint MeetingPoint(TTreeShapeStyle style, const TRect &own, const TRect &other);

// The poly-line a connection of a straight style draws through its points:
// csLine and csAuto pass through them; csSides goes vertically then
// horizontally, csInvertedSides horizontally then vertically.
TPointArray StyledLine(TTreeConnectionStyle style, const TPointArray &points);

// The points of a Bezier poly-curve: more than 4 points are padded with
// the last one to 4 + 3k.
TPointArray CurvePoints(const TPointArray &points);

// A Bezier poly-curve (the first point, then two control points and an end
// point per piece) as a poly-line fine enough to draw.
TPointArray BezierPolyline(const TPointArray &points);

// The angle of the first segment (atan2(dx, dy) in degrees, rounded).
int StartAngle(TTreeConnectionStyle style, const TPointArray &points);
// The angle of the last segment; 0 with fewer than two points.
int EndAngle(TTreeConnectionStyle style, const TPointArray &points);
// The angle of text on the last segment: the end angle turned by -90 and
// flipped so that it never reads upside down.
int TextAngle(int endAngle);

// A point (px, py) turned about (cx, cy) by `degrees` (0 right, 90 down).
TPoint Turn(int px, int py, int cx, int cy, double degrees);
// The three vertices A', C, B' of an arrow head of size `size` at `tip`
// pointing in direction `degrees`.
TPointArray ArrowHead(const TPoint &tip, double degrees, int size);
// The square of side `size` centred on a point (square, circle and diamond
// heads).
TRect ArrowSquare(const TPoint &center, int size);

// Where the first text line of a connection starts, from the last two
// points (P the second-to-last, L the last).
TPoint TextOrigin(const TPoint &p, const TPoint &l, THorizTextAlign horiz, TVertTextAlign vert);

// Hit tests. A straight piece is hit within `tolerance` pixels; a vertical
// or horizontal piece within `tolerance` across and between its ends along.
bool NearSegment(const TPoint &pos, const TPoint &a, const TPoint &b, int tolerance = 3);
// Even-odd rule; vertices and edges count as inside.
bool InPolygon(const TPoint &pos, const TPointArray &polygon);
// The first segment of a straight-style course hit by a position, or -1.
int HitSegment(TTreeConnectionStyle style, const TPointArray &points, const TPoint &pos);

} // namespace ConnectionGeometry

// What drawing one connection involves, in diagram coordinates.
struct TConnectionFigure
{
    TTreeConnectionStyle Style = csAuto;
    TPointArray Points; // the connection's computed points
    TPointArray Lines;  // the poly-line (or Bezier points for csCurve)
    int StartAngle = 0;         // direction of the from-arrow: 270 - start angle
    int EndAngle = 0;           // direction of the to-arrow: 90 - end angle
    int TextAngle = 0;
    TPoint TextOrigin;
};
