#include "canvas/KorMetafile.h"

#include <QPainter>

void TKorMetafile::Play(QPainter *painter, const TRect &rect) const
{
    const TRect r = rect.Normalized();
    if (!painter || r.IsEmpty() || FWidth <= 0 || FHeight <= 0)
        return;
    painter->save();
    painter->translate(r.Left, r.Top);
    painter->scale(static_cast<double>(r.Width()) / FWidth, static_cast<double>(r.Height()) / FHeight);
    painter->drawPicture(0, 0, FPicture);
    painter->restore();
}
