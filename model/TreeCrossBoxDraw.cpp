// Drawing and hit area of the expand/collapse box.

#include "canvas/KorCanvas3D.h"
#include "core/Rounding.h"
#include "model/TreeCrossBox.h"

namespace {

// A coordinate moved by a distance; sizes read from a file may be anything,
// so the result stops at the ends of the coordinate range.
int At(int c, int64_t d)
{
    return dx::Saturate(c + d);
}

} // namespace

void TTreeNodeCrossBox::Draw(TKorCanvas3D *canvas, const TPoint &center, bool expanded, const TRect &visible) const
{
    const int cx = center.X, cy = center.Y, s = FSize;
    const TRect box(At(cx, -int64_t(s)), At(cy, -int64_t(s)), At(cx, s), At(cy, s));
    if (!canvas || !RectsIntersect(box, visible))
        return;
    // A brush without a colour of its own paints white.
    const TColor color = FBrush->Color() == clDefault ? clWhite : FBrush->Color();
    canvas->AssignBrush(FBrush.get(), color, FBrush->Style() == bsSolid ? color : FBackColor);
    canvas->AssignPen(FBorder.get());
    switch (FStyle) {
    case cbsDiamond:
        canvas->ProjectedPolygon({TPoint(box.Left, cy), TPoint(cx, box.Top), TPoint(box.Right, cy), TPoint(cx, box.Bottom)},
                                 0);
        break;
    case cbsCircle:
        canvas->ProjectedEllipse(box.Left, box.Top, box.Right, box.Bottom, 0);
        break;
    default:
        canvas->ProjectedRectangle(box, 0);
        break;
    }
    // Minus while expanded, plus while collapsed.
    canvas->AssignPen(FSignPen.get());
    const int k = s / 2;
    canvas->ProjectedLine(At(cx, -int64_t(k)), cy, At(cx, int64_t(k) + 1), cy, 0);
    if (!expanded)
        canvas->ProjectedLine(cx, At(cy, -int64_t(k)), cx, At(cy, int64_t(k) + 1), 0);
}

TRect TTreeNodeCrossBox::HitArea(const TPoint &center, double zoom) const
{
    const int k = dx::RoundEven((double(FBorder->Width()) + FSize + FClickTolerance) * zoom);
    return TRect(At(center.X, -int64_t(k)), At(center.Y, -int64_t(k)), At(center.X, k), At(center.Y, k));
}
