#pragma once
// TCanvas3D: the abstract 3D layer of the canvas. Every projected operation
// maps its points with ProjectPoint (zoom, scroll offsets and, for 3D
// pictures, rotation and perspective) and then draws in 2D.

#include "canvas/KorCanvasBase.h"
#include "canvas/View3DOptions.h"

class QPainter;

// The rotation centre offset of a 3D picture (real numbers).
struct TRotationCenter
{
    double X = 0.0;
    double Y = 0.0;
    double Z = 0.0;
};

class TCanvas3D : public TKorCanvas
{
public:
    // The options in force for the current drawing (null outside one, or
    // for a canvas drawn without options).
    TView3DOptions *View3DOptions() const { return FView3DOptions; }
    TRotationCenter &RotationCenter() { return FRotationCenter; }
    const TRotationCenter &RotationCenter() const { return FRotationCenter; }

    // --- Slot table, 3D part ----------------------------------------------
    // 40: a pixel at depth z; a pen wider than 1 draws a zero-length line.
    virtual void ProjectedPixel(int x, int y, int z, TColor color) = 0;
    // 41: a screen point at depth z back to model coordinates.
    virtual void UnprojectPoint(int &x, int &y, int z) const = 0;
    // 42: a model point at depth z to screen coordinates.
    virtual TPoint ProjectPoint(int x, int y, int z) const = 0;
    // 43: prepares a drawing pass on `target` for the rectangle userRect
    // and answers the rectangle to draw in (the whole off-screen buffer
    // when buffered, else userRect).
    virtual TRect StartDrawing(QPainter *target, TView3DOptions *options, const TRect &userRect, bool is3D) = 0;
    // 44: copies the monochrome setting.
    virtual void TakeSettingsFrom(const TCanvas3D *other) = 0;
    // 45: the projection centre for a rectangle and a depth.
    virtual void SetupProjection(int depth, const TRect &rect) = 0;
    // 46: finishes the pass: a buffered picture is copied onto `target` at
    // userRect's top-left; then `control` becomes the target again.
    virtual void EndDrawing(QPainter *target, QPainter *control, const TRect &userRect) = 0;
    // 47: a clean buffer is copied onto `target` at (0, 0): True.
    virtual bool ShowBuffer(QPainter *target) = 0;
    // 48: a line with an arrow head at `to`, or a filled arrow.
    virtual void ProjectedArrow(bool filled, const TPoint &from, const TPoint &to, int headWidth, int headLength,
                                int z) = 0;
    // 49: clips to the projected outline of a box.
    virtual void ClipProjectedBox(const TRect &rect, int z0, int z1) = 0;
    // 50: a box with shaded faces; `shade` scales the darkening (100 =
    // side faces darker by 128 and the top by 64).
    virtual void ShadedCube(const TRect &rect, int z0, int shade, int z1, bool darkSides) = 0;
    // 51: the visible faces of a box, shaded when asked.
    virtual void CubeFaces(const TRect &rect, int z0, int z1, bool darkSides) = 0;
    // 52: ShadedCube with the full shade.
    virtual void Cube(const TRect &rect, int z0, int z1, bool darkSides) = 0;
    virtual void ProjectedHorizLine(int x0, int x1, int y, int z) = 0;      // 53
    virtual void ProjectedVertLine(int x, int y0, int y1, int z) = 0;       // 54
    virtual void DepthLine(int x, int y, int z0, int z1) = 0;               // 55
    virtual void ProjectedEllipse(int x1, int y1, int x2, int y2, int z) = 0; // 56
    virtual void SuspendProjection() = 0;                                   // 57
    virtual void ResumeProjection() = 0;                                    // 58
    virtual void ProjectedLine(int x0, int y0, int x1, int y1, int z) = 0;  // 59
    virtual void ProjectedMoveTo(int x, int y, int z) = 0;                  // 60
    virtual void ProjectedLineTo(int x, int y, int z) = 0;                  // 61
    // 62: a pie slice with thickness (z0 to z1); angles in radians.
    virtual void Pie3D(int xc, int yc, int xRadius, int yRadius, int z0, int z1, double startAngle,
                       double endAngle, bool darkSides) = 0;
    // 63: A and B at depth z1, then B and A at depth z0.
    virtual void DepthQuad(const TPoint &a, const TPoint &b, int z0, int z1) = 0;
    virtual void ProjectedQuad(const TPoint &p0, const TPoint &p1, const TPoint &p2, const TPoint &p3, int z) = 0; // 64
    // 65: the first two points at depth z0, the last two at z1.
    virtual void TwoDepthQuad(const TPoint &p0, const TPoint &p1, const TPoint &p2, const TPoint &p3, int z0,
                              int z1) = 0;
    virtual void ProjectedPolygon(const TPointArray &points, int z) = 0;    // 66
    // 67: a pyramid with its apex up (vertical) or to the right.
    virtual void Pyramid(bool vertical, const TRect &rect, int z0, int z1, bool darkSides) = 0;
    // 68: a prism of `sides` planes standing in the ellipse of a rectangle.
    virtual void Prism(const TRect &rect, int z0, int z1, int sides, bool darkSides) = 0;
    virtual void ProjectedRectangle(const TRect &rect, int z) = 0;          // 69
    virtual void FloorQuad(int x0, int x1, int y, int z0, int z1) = 0;      // 70
    virtual void WallQuad(int x, int y0, int y1, int z0, int z1) = 0;       // 71
    virtual void ProjectedRotatedText(int x, int y, int z, double angle, const QString &text) = 0; // 72
    virtual void ProjectedCircle(int xc, int yc, double radius, int z) = 0; // 73
    virtual void ReservedOperation(int a, int b, int c, int d) {}           // 74: does nothing
    virtual void ProjectedTextOut(int x, int y, int z, const QString &text) = 0; // 75
    // 76: a triangle of three 3D points in a colour (the brush colour is
    // set only when the brush is not clear).
    virtual void ProjectedTriangle(const TPoint3D &a, const TPoint3D &b, const TPoint3D &c, TColor color) = 0;
    virtual void FlatTriangleAtDepth(const TPoint &a, const TPoint &b, const TPoint &c, int z) = 0; // 77
    virtual void FillScratchQuad() = 0;                                     // 78
    virtual void FreeBuffer() = 0;                                          // 79
    virtual void CopyBuffer(QPainter *target, int x, int y) = 0;            // 80

    // The four points FillScratchQuad draws.
    TPoint *ScratchQuad() { return FScratchQuad; }

protected:
    TView3DOptions *FView3DOptions = nullptr;
    TRotationCenter FRotationCenter;
    TPoint FScratchQuad[4];
};
