// The resize and point handles of selected elements as the diagram draws
// them by default: squares of the selection's handle size in screen pixels.

#include "model/TreeDocument.h"

void TTreeDocument::BeginDrawHandles()
{
    TKorCanvas3D *canvas = TreeCanvas();
    if (!canvas)
        return;
    canvas->AssignPen(FSelected.HandlePen());
    canvas->SetBrushBitmap(QImage());
    canvas->Brush().SetStyle(bsSolid);
    canvas->Brush().SetColor(FSelected.Count() > 1 ? clGray : FSelected.HandleColor());
    // Drawn over and over without a full redraw, so they must undo
    // themselves.
    canvas->Pen().SetMode(FSelected.FullRedraw() ? pmCopy : pmNotXor);
}

void TTreeDocument::EndDrawHandles()
{
    if (TKorCanvas3D *canvas = TreeCanvas())
        canvas->Pen().SetMode(pmCopy);
}

void TTreeDocument::DrawHandle(int x, int y, TColor color, TTreeShapeHandle code)
{
    TKorCanvas3D *canvas = TreeCanvas();
    if (!canvas)
        return;
    const TColor saved = canvas->Brush().Color();
    if (color != clNone)
        canvas->Brush().SetColor(color);
    // Projected first, so handles keep their size at any zoom.
    const TPoint c = canvas->ProjectPoint(x, y, 0);
    const int s = FSelected.HandleSize();
    canvas->Rectangle(c.X - s, c.Y - s, c.X + s, c.Y + s);
    canvas->Brush().SetColor(saved);
}
