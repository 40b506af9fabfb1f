#include "canvas/KorBlend.h"

#include "canvas/KorCanvasBase.h"

#include <algorithm>

TKorBlend::TKorBlend(TKorCanvas *canvas, const TRect &rect) : FCanvas(canvas)
{
    const TRect r = rect.Normalized();
    FRect = TRect(std::max(0, r.Left), std::max(0, r.Top), std::max(0, r.Right), std::max(0, r.Bottom));
    FValid = !FRect.IsEmpty();
    if (FCanvas && FValid) {
        FCanvas->BeginTransparency(FRect);
        FOpen = true;
    }
}

TKorBlend::~TKorBlend()
{
    if (FOpen)
        FCanvas->EndTransparency(0);
}

void TKorBlend::Apply(int transparency)
{
    if (!FOpen)
        return;
    FOpen = false;
    FCanvas->EndTransparency(transparency);
}
