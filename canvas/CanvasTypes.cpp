#include "canvas/CanvasTypes.h"

TRect IntersectRects(const TRect &a, const TRect &b)
{
    const TRect r(MaxInteger(a.Left, b.Left), MaxInteger(a.Top, b.Top), MinInteger(a.Right, b.Right),
                  MinInteger(a.Bottom, b.Bottom));
    return r.IsEmpty() ? TRect() : r;
}

bool RectsIntersect(const TRect &a, const TRect &b)
{
    return !IntersectRects(a, b).IsEmpty();
}

TRect UnionRects(const TRect &a, const TRect &b)
{
    if (a.IsEmpty())
        return b;
    if (b.IsEmpty())
        return a;
    return TRect(MinInteger(a.Left, b.Left), MinInteger(a.Top, b.Top), MaxInteger(a.Right, b.Right),
                 MaxInteger(a.Bottom, b.Bottom));
}
