#include "canvas/KorCanvas3D.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdlib>

TKorCanvas::~TKorCanvas() = default;

TKorCanvas3D::TKorCanvas3D()
{
    const TKorFont defaults;
    FQFont = defaults.ToQFont();
}

TKorCanvas3D::~TKorCanvas3D() = default;

void TKorCanvas3D::Attach(QPainter *painter)
{
    FPainter = painter;
    if (FPainter)
        FPainter->setFont(FQFont);
}

QPaintDevice *TKorCanvas3D::MeasureDevice() const
{
    if (FPainter && FPainter->device())
        return FPainter->device();
    // Screen resolution: a small image whose dots per inch match the
    // fonts' pixels per inch.
    static QImage screen = [] {
        QImage img(1, 1, QImage::Format_RGB32);
        const int dpm = static_cast<int>(TFont::kScreenPixelsPerInch / 0.0254 + 0.5);
        img.setDotsPerMeterX(dpm);
        img.setDotsPerMeterY(dpm);
        return img;
    }();
    return &screen;
}

void TKorCanvas3D::AssignFont(const TKorFont *font)
{
    if (!font)
        return;
    FQFont = font->ToQFont();
    FShadowH = font->ShadowHorizSize();
    FShadowV = font->ShadowVertSize();
    FInterChar = font->InterCharSize();
    if (FInterChar != 0)
        FQFont.setLetterSpacing(QFont::AbsoluteSpacing, FInterChar);
    if (FPainter)
        FPainter->setFont(FQFont);
}

int TKorCanvas3D::TextWidth(const QString &text)
{
    const QFontMetrics fm(FQFont, MeasureDevice());
    return fm.horizontalAdvance(text) + std::abs(FShadowH);
}

int TKorCanvas3D::TextHeight(const QString &text)
{
    // The cell height: ascent and descent each rounded up, as the
    // platform's text metrics report them (Arial 8 pt at 96 dpi: 13).
    const QFontMetricsF fm(FQFont, MeasureDevice());
    Q_UNUSED(text);
    return static_cast<int>(std::ceil(fm.ascent() - 1e-6) + std::ceil(fm.descent() - 1e-6)) + std::abs(FShadowV);
}
