#include "canvas/KorCanvasBase.h"

#include "canvas/Picture.h"

TKorCanvas::TKorCanvas()
    : FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()), FFont(std::make_unique<TFont>())
{
    // A change made directly to the pen gives a plain platform pen again.
    FPen->OnChange = [this](TGraphicsObject *) {
        if (!FAssigning)
            FPenExtras = TPenExtras();
        PenChanged();
    };
    FBrush->OnChange = [this](TGraphicsObject *) { BrushChanged(); };
    FFont->OnChange = [this](TGraphicsObject *) { FontChanged(); };
    const TKorFont defaults;
    FFont->Assign(&defaults);
}

TKorCanvas::~TKorCanvas() = default;

void TKorCanvas::SetBrushBitmap(const QImage &pattern)
{
    if (pattern.isNull() && FBrushBitmap.isNull())
        return;
    FBrushBitmap = pattern;
    BrushChanged();
}

void TKorCanvas::SetTextColor(TColor color)
{
    if (FTextColor == color)
        return;
    FTextColor = color;
    BrushChanged(); // the foreground of pattern brushes
}

void TKorCanvas::Reset()
{
    FAssigning = true;
    FPen->SetColor(clBlack);
    FPen->SetWidth(1);
    FPen->SetStyle(psSolid);
    FPen->SetMode(pmCopy);
    FAssigning = false;
    FPenExtras = TPenExtras();
    PenChanged();
    SetBrushBitmap(QImage());
    FBrush->SetColor(clWhite);
    FBrush->SetStyle(bsSolid);
    FFont->SetColor(clBlack);
    FFont->SetSize(10);
    FKorFont.reset();
    FontChanged();
    SetBackColor(clWhite);
    SetBackMode(cbmTransparent);
    SetTextAlign(taLeft | taTop);
}

void TKorCanvas::AssignPen(const TPen *pen)
{
    if (pen)
        AssignPen(pen, pen->Color());
}

void TKorCanvas::AssignPen(const TPen *pen, TColor color)
{
    if (!pen)
        return;
    if (Monochrome())
        color = clBlack;
    const auto *chart = dynamic_cast<const TChartPen *>(pen);
    if (chart && !chart->Visible()) {
        FPen->SetStyle(psClear);
        return;
    }
    FAssigning = true;
    TPenExtras extras;
    if (chart && chart->SmallDots()) {
        // One-pixel alternate dots whatever the width and style.
        FPen->SetWidth(1);
        FPen->SetStyle(psSolid);
        extras.SmallDots = true;
    } else {
        FPen->SetWidth(pen->Width());
        FPen->SetStyle(pen->Style());
        if (chart && pen->Width() >= 2)
            extras.EndStyle = chart->EndStyle();
    }
    FPen->SetColor(color);
    FPen->SetMode(pen->Mode());
    FAssigning = false;
    if (extras.SmallDots != FPenExtras.SmallDots || extras.EndStyle != FPenExtras.EndStyle) {
        FPenExtras = extras;
        PenChanged();
    }
}

void TKorCanvas::AssignBrush(const TChartBrush *brush, TColor color)
{
    if (brush)
        AssignBrush(brush, color, brush->Color());
}

void TKorCanvas::AssignBrush(const TChartBrush *brush, TColor color, TColor backColor)
{
    if (!brush)
        return;
    if (Monochrome())
        color = clWhite;
    // "Take the colour from the owner" has no owner here: like clNone it
    // leaves the gaps transparent.
    const bool noBack = backColor == clNone || backColor == clDefault;
    if (brush->HasImage()) {
        FBrush->SetStyle(bsClear);
        SetBrushBitmap(brush->PeekImage()->Image());
        SetTextColor(color);
        if (noBack) {
            SetBackMode(cbmTransparent);
        } else {
            SetBackMode(cbmOpaque);
            SetBackColor(backColor);
        }
        return;
    }
    SetBrushBitmap(QImage());
    // Each only when different, so no needless platform brush is made.
    if (FBrush->Color() != color)
        FBrush->SetColor(color);
    if (FBrush->Style() != brush->Style())
        FBrush->SetStyle(brush->Style());
    if (noBack) {
        SetBackMode(cbmTransparent);
    } else {
        SetBackMode(cbmOpaque);
        SetBackColor(backColor);
    }
}

void TKorCanvas::AssignDarkBrush(TColor color, int quantity)
{
    const TColor dark = DarkenColor(color, quantity);
    if (FBrush->Style() != bsSolid)
        SetBackColor(dark);
    else
        FBrush->SetColor(dark);
}

void TKorCanvas::AssignFont(const TKorFont *font)
{
    if (!font)
        return;
    if (!FKorFont)
        FKorFont = std::make_unique<TKorFont>();
    FKorFont->Assign(font);
    FFont->OnChange = nullptr;
    FFont->SetPixelsPerInch(FontPixelsPerInch());
    FFont->Assign(font);
    if (Monochrome())
        FFont->SetColor(clBlack);
    FFont->OnChange = [this](TGraphicsObject *) { FontChanged(); };
    FontChanged();
}

void TKorCanvas::DrawPicture(int x, int y, const TPicture *picture)
{
    if (picture && picture->HasGraphic())
        Draw(x, y, picture->DrawImage());
}

void TKorCanvas::StretchDrawPicture(const TRect &rect, const TPicture *picture)
{
    if (picture && picture->HasGraphic())
        StretchDraw(rect, picture->DrawImage());
}
