#include "model/CustomTreeShape.h"

#include "core/Rounding.h"

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

double ExactCos(double radians)
{
    return ExactTrig(std::cos(radians));
}

double ExactSin(double radians)
{
    return ExactTrig(std::sin(radians));
}

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
        points.emplace_back(dx::RoundEven(cx - rx * ExactCos(angle)), dx::RoundEven(cy - ry * ExactSin(angle)));
    }
    return points;
}

int TTreeCustomPolygonShape::GetShapePoints(const TRect &r, TPointArray &points) const
{
    return CustomOutline(r, points, [this](const TRect &b) { return RegularPolygon(b, FSides, FAngleOffset); });
}
