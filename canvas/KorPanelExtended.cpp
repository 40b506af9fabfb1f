#include "canvas/KorPanelExtended.h"

#include "core/Rounding.h"

TCustomKorPanelExtended::TCustomKorPanelExtended(QWidget *parent)
    : TCustomKorPanel(parent), FZoom(std::make_unique<TKorZoom>())
{
    View3DOptions()->OnScrolled = [this](bool) { Fire(OnScroll, SenderObject()); };
}

TCustomKorPanelExtended::~TCustomKorPanelExtended() = default;

void TCustomKorPanelExtended::SetZoom(const TKorZoom *zoom)
{
    if (zoom)
        FZoom->Assign(zoom);
}

TPicture *TCustomKorPanelExtended::BackImage()
{
    if (!FBackImage)
        FBackImage = std::make_unique<TPicture>([this](TGraphicsObject *) { Invalidate(); });
    return FBackImage.get();
}

void TCustomKorPanelExtended::SetBackImage(const TPicture *picture)
{
    AssignSubObject(FBackImage, picture, [this] { return BackImage(); }, [this] { Invalidate(); });
}

void TCustomKorPanelExtended::SetBackImageMode(TBackImageMode value)
{
    if (FBackImageMode == value)
        return;
    FBackImageMode = value;
    Invalidate();
}

void TCustomKorPanelExtended::SetBackImageInside(bool value)
{
    if (FBackImageInside == value)
        return;
    FBackImageInside = value;
    Invalidate();
}

TKorGradient *TCustomKorPanelExtended::Gradient()
{
    if (!FGradient)
        FGradient = std::make_unique<TKorGradient>([this](TGraphicsObject *) { Invalidate(); });
    return FGradient.get();
}

void TCustomKorPanelExtended::SetGradient(const TKorGradient *gradient)
{
    AssignSubObject(FGradient, gradient, [this] { return Gradient(); }, [this] { Invalidate(); });
}

void TCustomKorPanelExtended::UndoZoom()
{
    Fire(OnUndoZoom, SenderObject());
    Invalidate();
    FZoomed = false;
}

// --- Background ---------------------------------------------------------

void TCustomKorPanelExtended::FillOrGradient(const TRect &bounds)
{
    if (FGradient && FGradient->Visible())
        FGradient->PaintGradient(Canvas(), bounds);
    else
        FillBackground(bounds);
}

void TCustomKorPanelExtended::DrawBackground(const TRect &bounds)
{
    FillOrGradient(bounds);
    DrawBackImage(bounds);
    DrawBevels(bounds);
}

void TCustomKorPanelExtended::DrawBackImage(const TRect &bounds)
{
    if (!FBackImage || !FBackImage->HasGraphic())
        return;
    TKorCanvas3D *c = Canvas();
    const TRect area = FBackImageInside ? DrawingRect() : bounds;
    const QImage &image = FBackImage->DrawImage();
    const int iw = image.width();
    const int ih = image.height();
    switch (FBackImageMode) {
    case pbmStretch:
        c->StretchDraw(area, image);
        break;
    case pbmTile:
        if (iw <= 0 || ih <= 0)
            return;
        c->ClipToRect(area);
        for (int y = area.Top; y < area.Bottom; y += ih)
            for (int x = area.Left; x < area.Right; x += iw)
                c->Draw(x, y, image);
        c->RemoveClip();
        break;
    case pbmCenter:
        c->ClipToRect(area);
        FillOrGradient(area);
        c->Draw(area.Left + dx::Div(area.Width() - iw, 2), area.Top + dx::Div(area.Height() - ih, 2), image);
        c->RemoveClip();
        break;
    }
}

// --- Zoom rectangle and panning -----------------------------------------

void TCustomKorPanelExtended::StartZoomRectangle(int x, int y)
{
    FZoom->Activate(x, y);
    update();
}

void TCustomKorPanelExtended::MoveZoomRectangle(int x, int y)
{
    if (!FZoom->Active())
        return;
    FZoom->SetCurrent(x, y);
    update();
}

TRect TCustomKorPanelExtended::EndZoomRectangle()
{
    const bool wasActive = FZoom->Active();
    FZoom->SetActive(false);
    if (wasActive)
        update();
    return FZoom->Rect();
}

bool TCustomKorPanelExtended::HasOverlays() const
{
    return FZoom->Active();
}

void TCustomKorPanelExtended::DrawOverlays(TKorCanvas3D *canvas)
{
    if (FZoom->Active())
        DrawZoomRectangle(canvas);
}

void TCustomKorPanelExtended::DrawZoomRectangle(TKorCanvas3D *canvas)
{
    // Colours XORed with the inverse of the background show in their own
    // colour over the background.
    const TColor back = Color() == clNone ? clWhite : ColorToRGB(Color());
    const TColor inverse = 0xFFFFFF - back;
    const TKorZoomBrush *brush = FZoom->PeekBrush();
    if (brush && brush->Style() != bsClear) {
        TColor color = ColorToRGB(brush->Color()) ^ inverse;
        if (brush->Style() != bsSolid && ColorToRGB(brush->Color()) == back)
            color = back == clBlack ? clWhite : clBlack;
        canvas->AssignBrush(brush, color, clNone);
    } else {
        canvas->SetBrushBitmap(QImage());
        canvas->Brush().SetStyle(bsClear);
        canvas->SetBackMode(cbmTransparent);
    }
    const TKorZoomPen *pen = FZoom->Pen();
    canvas->AssignPen(pen, ColorToRGB(pen->Color()) ^ inverse);
    canvas->Pen().SetMode(pmNotXor);
    canvas->Rectangle(FZoom->X0(), FZoom->Y0(), FZoom->X1(), FZoom->Y1());
    canvas->Pen().SetMode(pmCopy);
}

void TCustomKorPanelExtended::StartPanning(int x, int y)
{
    Panning().Activate(x, y);
}

bool TCustomKorPanelExtended::PanTo(int x, int y)
{
    TZoomPanning &p = Panning();
    if (!p.Active())
        return false;
    const int dx = x - p.X1();
    const int dy = y - p.Y1();
    bool moved = false;
    if ((FAllowPanning == pmHorizontal || FAllowPanning == pmBoth) && dx != 0) {
        View3DOptions()->SetHorizOffset(View3DOptions()->HorizOffset() + dx);
        moved = true;
    }
    if ((FAllowPanning == pmVertical || FAllowPanning == pmBoth) && dy != 0) {
        View3DOptions()->SetVertOffset(View3DOptions()->VertOffset() + dy);
        moved = true;
    }
    p.SetCurrent(x, y);
    return moved;
}

void TCustomKorPanelExtended::StopPanning()
{
    Panning().SetActive(false);
}
