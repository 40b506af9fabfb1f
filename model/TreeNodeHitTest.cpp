// Hit tests of a node: its drawn figure (or image) and its cross box, at
// screen positions.

#include "canvas/KorCanvas3D.h"
#include "model/ConnectionGeometry.h"
#include "model/ShapeGeometry.h"
#include "model/TreeDocument.h"
#include "model/TreeNodeShape.h"

bool TTreeNodeShape::PointInShape(int x, int y) const
{
    if (!FVisible)
        return false;
    if (FTree && !RectsIntersect(PaintBounds(), FTree->VisibleArea()))
        return false;
    const TPoint p = FTree ? FTree->UnprojectPoint(TPoint(x, y)) : TPoint(x, y);
    const TRect r = DrawRect();
    bool hit;
    if (FStyle == tssCustom) {
        const TPointArray points = OutlinePoints(r);
        if (!points.empty()) {
            hit = ConnectionGeometry::InPolygon(p, points);
        } else {
            hit = PointInRect(r.Normalized(), p);
        }
    } else {
        hit = ShapeGeometry::HitFigure(FStyle, r, p);
    }
    if (hit)
        return true;
    // The image beside the body counts too, while images are shown.
    if (FImageAlignment == iaCenter || ImageSize().width() <= 0 || (FTree && !FTree->ShowImages()))
        return false;
    const TPoint o = FTree ? FTree->DrawOffset() : TPoint();
    return PointInRect(FImageBounds.Offset(o.X, o.Y), p);
}

bool TTreeNodeShape::PointInCross(int x, int y)
{
    if (!FTree || !FVisible || !HasCross())
        return false;
    const TTreeNodeCrossBox *box = FTree->CrossBox();
    TChildManager *layout = FTree->DefaultFormat().ChildManager();
    if (!box->Visible() || !layout)
        return false;
    // The box is where the last picture put it, at that picture's zoom.
    const TPoint center = FTree->ProjectPoint(layout->GetCrossPos(this, FParent));
    const TKorCanvas3D *canvas = FTree->TreeCanvas();
    return PointInRect(box->HitArea(center, canvas ? canvas->ZoomFactor() : 1.0), x, y);
}
