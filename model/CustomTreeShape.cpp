#include "model/CustomTreeShape.h"

#include "core/Rounding.h"
#include "model/ConnectionGeometry.h"
#include "model/TreeDocument.h"

#include <cmath>

namespace {

// cos and sin of angles that are whole fractions of a turn come out a few
// units in the last place off 0, 1/2 or 1 (cos 90 degrees is 6e-17, not 0).
// Those are the only rational values they can take, and only there can a
// vertex fall on a tie, so they are made exact and the rounding of ties to
// even sees the true value.
double ExactTrig(double v)
{
    constexpr double eps = 1e-12;
    for (const double exact : {0.0, 0.5, -0.5, 1.0, -1.0})
        if (std::abs(v - exact) < eps)
            return exact;
    return v;
}

} // namespace

// ---------------------------------------------------------------------------
// TCustomTreeShape

const TClassInfo &TCustomTreeShape::StaticClassInfo()
{
    using N = TCustomTreeShape;
    static const TClassInfo info =
        TClassBuilder<N>("TCustomTreeShape", TTreeNodeShape::StaticClassInfo())
            .Redefault("Style", tssCustom)
            // Every image but the default survives a file, the folder pair
            // included.
            .Redefault("ImageIndex", tiNone)
            .Stored([](const N &n) { return n.ImageIndex() != tiNone; });
    return info;
}

TCustomTreeShape::TCustomTreeShape(TComponent *owner) : TTreeNodeShape(owner)
{
    SetStyle(tssCustom);
    SetImageIndex(tiNone);
    SetImageListIndex(-1);
    SetImageSize(0, 0);
}

bool TCustomTreeShape::DrawOutline(const TRect &r, TKorCanvas3D *canvas, TTreeShapeStyle style)
{
    if (style != tssCustom)
        return TTreeNodeShape::DrawOutline(r, canvas, style);
    TPointArray points;
    if (GetShapePoints(r, points) < 1)
        return false;
    canvas->ProjectedPolygon(points, 0);
    return true;
}

TRect TCustomTreeShape::BodyRect() const
{
    // The far edges first: reading them brings a stale size up to date.
    const int right = X1();
    const int bottom = Y1();
    return TRect(X0(), Y0(), right, bottom);
}

TRect TCustomTreeShape::DrawingRect() const
{
    const TPoint o = FTree ? FTree->DrawOffset() : TPoint();
    return BodyRect().Offset(o.X, o.Y);
}

bool TCustomTreeShape::HitCandidate(int x, int y, TPoint &pos) const
{
    if (!Visible())
        return false;
    if (FTree) {
        // Bounds of a line or of a shape not laid out yet may be empty: the
        // area checked is the body's, with room for the line tolerance.
        TRect area = Bounds().IsEmpty() ? DrawingRect() : Bounds();
        area = area.Normalized().Inflated(TreeLineTolerance, TreeLineTolerance);
        if (!RectsIntersect(area, FTree->VisibleArea()))
            return false;
        pos = FTree->UnprojectPoint(TPoint(x, y));
    } else {
        pos = TPoint(x, y);
    }
    return true;
}

bool TCustomTreeShape::OutlineHit(const TPoint &pos) const
{
    const TRect r = DrawingRect();
    TPointArray points;
    if (GetShapePoints(r, points) > 0)
        return ConnectionGeometry::InPolygon(pos, points);
    return PointInRect(r.Normalized(), pos);
}

bool TCustomTreeShape::PointInShape(int x, int y) const
{
    if (Style() != tssCustom)
        return TTreeNodeShape::PointInShape(x, y);
    TPoint pos;
    if (!HitCandidate(x, y, pos))
        return false;
    if (OutlineHit(pos))
        return true;
    return ImageAlignment() != iaCenter && ImageSize().width() > 0 && PointInRect(ImageBounds(), pos);
}

// ---------------------------------------------------------------------------
// TTreeCustomPolygonShape

const TClassInfo &TTreeCustomPolygonShape::StaticClassInfo()
{
    using N = TTreeCustomPolygonShape;
    static const TClassInfo info =
        TClassBuilder<N>("TTreeCustomPolygonShape", TCustomTreeShape::StaticClassInfo())
            .Float("AngleOffset", &N::AngleOffset, &N::SetAngleOffset)
            .Stored([](const N &) { return true; });
    return info;
}

TTreeCustomPolygonShape::TTreeCustomPolygonShape(TComponent *owner, int sides)
    : TCustomTreeShape(owner), FSides(std::max(sides, 0))
{
}

void TTreeCustomPolygonShape::SetAngleOffset(double value)
{
    if (std::isfinite(value))
        Update(FAngleOffset, value);
}

TPointArray TTreeCustomPolygonShape::RegularPolygon(const TRect &r, int sides, double angleOffset)
{
    const double cx = (static_cast<double>(r.Left) + r.Right) / 2;
    const double cy = (static_cast<double>(r.Top) + r.Bottom) / 2;
    const double rx = (static_cast<double>(r.Right) - r.Left) / 2;
    const double ry = (static_cast<double>(r.Bottom) - r.Top) / 2;
    TPointArray points;
    points.reserve(static_cast<size_t>(std::max(sides, 0)));
    for (int i = 0; i < sides; ++i) {
        const double angle = angleOffset * M_PI / 180 + i * 2 * M_PI / sides;
        points.emplace_back(dx::RoundEven(cx - rx * ExactTrig(std::cos(angle))),
                            dx::RoundEven(cy - ry * ExactTrig(std::sin(angle))));
    }
    return points;
}

int TTreeCustomPolygonShape::GetShapePoints(const TRect &r, TPointArray &points) const
{
    points = RegularPolygon(r, FSides, FAngleOffset);
    return FSides;
}
