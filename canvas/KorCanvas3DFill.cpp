// TKorCanvas3D: the two-colour band fill of gradients and the mixing of
// transparent elements with what lies under them.

#include "canvas/KorCanvas3D.h"

#include "core/Rounding.h"

#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

struct TRgb
{
    int R, G, B;
};

TRgb RgbOf(TColor c)
{
    const TColor rgb = ColorToRGB(c);
    return {GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)};
}

// Band i of n runs from c1 (band 0) to c2 (band n - 1).
QColor BandColor(const TRgb &c1, const TRgb &c2, int i, int n)
{
    if (n <= 1)
        return QColor(c1.R, c1.G, c1.B);
    return QColor(c1.R + dx::MulDiv(i, c2.R - c1.R, n - 1), c1.G + dx::MulDiv(i, c2.G - c1.G, n - 1),
                  c1.B + dx::MulDiv(i, c2.B - c1.B, n - 1));
}

// Fills rectangles in one colour; a new brush only when the colour
// changes.
class TBandPainter
{
public:
    explicit TBandPainter(QPainter &p) : FP(p) {}
    void Fill(int l, int t, int r, int b, const QColor &c)
    {
        if (r <= l || b <= t)
            return;
        if (!FHasColor || c != FColor) {
            FColor = c;
            FHasColor = true;
            FP.setBrush(c);
        }
        FP.drawRect(QRectF(l, t, r - l, b - t));
    }

private:
    QPainter &FP;
    QColor FColor;
    bool FHasColor = false;
};

} // namespace

void TKorCanvas3D::BandFill(const TRect &rect, TColor startColor, TColor endColor, TGradientDirection direction)
{
    const TRect r = rect.Normalized();
    if (r.IsEmpty() || !Prepare(TDrawKind::Image))
        return;
    TRgb c1 = RgbOf(startColor);
    TRgb c2 = RgbOf(endColor);
    if (direction != gdTopBottom && direction != gdLeftRight)
        std::swap(c1, c2);
    const int w = r.Width();
    const int h = r.Height();
    FPainter->setPen(Qt::NoPen);
    TBandPainter bands(*FPainter);
    switch (direction) {
    case gdTopBottom:
    case gdBottomTop: {
        // At most 256 horizontal bands from the bottom up.
        const int n = std::min(h, 256);
        for (int i = 0; i < n; ++i)
            bands.Fill(r.Left, r.Bottom - dx::MulDiv(i + 1, h, n), r.Right, r.Bottom - dx::MulDiv(i, h, n),
                       BandColor(c1, c2, i, n));
        break;
    }
    case gdLeftRight:
    case gdRightLeft: {
        // At most 256 vertical bands from the right edge leftwards.
        const int n = std::min(w, 256);
        for (int i = 0; i < n; ++i)
            bands.Fill(r.Right - dx::MulDiv(i + 1, w, n), r.Top, r.Right - dx::MulDiv(i, w, n), r.Bottom,
                       BandColor(c1, c2, i, n));
        break;
    }
    case gdFromCenter: {
        // Concentric one-pixel rings from the border inwards. Ring k is
        // inset c = min(k, (h - 1) div 2) rows and d = min(k, (w - 1) div 2)
        // columns, so the insets stop at the middle row and column and every
        // pixel is painted, the centre included (a 1 x 1 rectangle is one
        // ring of the border colour). The colour index is c + d; the
        // innermost ring takes the far colour.
        // Example, 5 x 3: ring 0 is the border (index 0, the base colour),
        // ring 1 (c = 1, d = 1) the pixels 1..3 of the middle row (index 2
        // of 3), ring 2 (c = 1, d = 2) the centre pixel (index 3: the far
        // colour).
        const int maxC = (h - 1) / 2;
        const int maxD = (w - 1) / 2;
        const int n = maxC + maxD + 1;
        const int rings = std::max(maxC, maxD);
        for (int k = 0; k <= rings; ++k) {
            const int c = std::min(k, maxC);
            const int d = std::min(k, maxD);
            const QColor col = BandColor(c1, c2, c + d, n);
            const int l = r.Left + d, t = r.Top + c, rr = r.Right - d, b = r.Bottom - c;
            if (rr - l <= 2 || b - t <= 2) {
                bands.Fill(l, t, rr, b, col);
                continue;
            }
            bands.Fill(l, t, rr, t + 1, col);
            bands.Fill(l, b - 1, rr, b, col);
            bands.Fill(l, t + 1, l + 1, b - 1, col);
            bands.Fill(rr - 1, t + 1, rr, b - 1, col);
        }
        break;
    }
    case gdFromTopLeft:
    case gdFromBottomLeft: {
        // L-shaped one-pixel bands from the corner: step k draws column
        // i = min(k, w - 1) from the corner's edge to row j = min(k, h - 1)
        // and row j from the left to column i, so both stop at the far edge
        // and every pixel is painted. The colour index is i + j; the far
        // corner takes the far colour.
        // Example, 3 x 2 from the top-left: step 0 is the corner pixel
        // (index 0), step 1 the column x = 1 over rows 0..1 and row 1 over
        // x = 0..1 (index 2 of 3), step 2 the column x = 2 over rows 0..1
        // (index 3: the far colour).
        const bool fromTop = direction == gdFromTopLeft;
        const int n = (w - 1) + (h - 1) + 1;
        const int steps = std::max(w, h);
        for (int k = 0; k < steps; ++k) {
            const int i = std::min(k, w - 1);
            const int j = std::min(k, h - 1);
            const QColor col = BandColor(c1, c2, i + j, n);
            if (fromTop) {
                bands.Fill(r.Left + i, r.Top, r.Left + i + 1, r.Top + j + 1, col);
                bands.Fill(r.Left, r.Top + j, r.Left + i, r.Top + j + 1, col);
            } else {
                bands.Fill(r.Left + i, r.Bottom - 1 - j, r.Left + i + 1, r.Bottom, col);
                bands.Fill(r.Left, r.Bottom - 1 - j, r.Left + i, r.Bottom - j, col);
            }
        }
        break;
    }
    }
}

// --- Transparency -------------------------------------------------------
//
// On a target whose pixels can be read back (the off-screen buffer, an
// image) the pixels under the element are saved and, once the element is
// drawn, each channel becomes drawn + t x (saved - drawn) / 100 (truncated),
// so 50 % black over white gives 127. Other targets (printers, PDF, widgets
// drawn directly) get the element drawn into an ARGB layer that is then
// painted with opacity (100 - t) / 100.

QImage *TKorCanvas3D::ReadableTarget() const
{
    if (!FPainter || !FPainter->isActive() || !FPainter->device())
        return nullptr;
    if (FPainter->device()->devType() != QInternal::Image)
        return nullptr;
    return static_cast<QImage *>(FPainter->device());
}

void TKorCanvas3D::BeginTransparency(const TRect &rect)
{
    auto state = std::make_unique<TBlendState>();
    TRect r = rect.Normalized();
    r.Left = std::max(0, r.Left);
    r.Top = std::max(0, r.Top);
    r.Right = std::max(0, r.Right);
    r.Bottom = std::max(0, r.Bottom);
    state->Rect = r;
    state->Inert = r.IsEmpty() || !FPainter || !FPainter->isActive();
    if (!state->Inert) {
        QImage *image = ReadableTarget();
        QRect device = FPainter->combinedTransform().mapRect(QRectF(r.ToQRect())).toAlignedRect();
        if (image)
            device = device.intersected(image->rect());
        else if (FPainter->device())
            device = device.intersected(QRect(0, 0, FPainter->device()->width(), FPainter->device()->height()));
        state->DeviceRect = device;
        if (device.isEmpty()) {
            state->Inert = true;
        } else if (image) {
            state->Saved = image->copy(device).convertToFormat(QImage::Format_ARGB32);
        } else {
            // The layer has the device's resolution, at most 16 million
            // pixels (a page-sized element on a high-resolution printer is
            // drawn at a lower one).
            const double area = static_cast<double>(device.width()) * device.height();
            const double scale = area > 16e6 ? std::sqrt(16e6 / area) : 1.0;
            const QSize size(std::max(1, static_cast<int>(device.width() * scale)),
                             std::max(1, static_cast<int>(device.height() * scale)));
            state->Layer = std::make_unique<QImage>(size, QImage::Format_ARGB32_Premultiplied);
            state->Layer->fill(Qt::transparent);
            state->LayerPainter = std::make_unique<QPainter>(state->Layer.get());
            QTransform t = FPainter->combinedTransform();
            t *= QTransform::fromTranslate(-device.x(), -device.y());
            t *= QTransform::fromScale(scale, scale);
            state->LayerPainter->setWorldTransform(t);
            state->Previous = FPainter;
            state->ClipDepth = FClipStack.size();
            FPainter = state->LayerPainter.get();
        }
    }
    FBlends.push_back(std::move(state));
}

void TKorCanvas3D::EndTransparency(int transparency)
{
    if (FBlends.empty())
        return;
    std::unique_ptr<TBlendState> state = std::move(FBlends.back());
    FBlends.pop_back();
    if (state->Inert)
        return;
    const int t = std::clamp(transparency, 0, 100);
    if (state->Layer) {
        while (FClipStack.size() > state->ClipDepth)
            RemoveClip();
        state->LayerPainter->end();
        FPainter = state->Previous;
        if (!FPainter || !FPainter->isActive())
            return;
        FPainter->save();
        FPainter->resetTransform();
        FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
        FPainter->setOpacity((100 - t) / 100.0);
        FPainter->setRenderHint(QPainter::SmoothPixmapTransform, true);
        FPainter->drawImage(QRectF(state->DeviceRect), *state->Layer);
        FPainter->restore();
        return;
    }
    QImage *image = ReadableTarget();
    if (!image)
        return;
    QImage drawn = image->copy(state->DeviceRect).convertToFormat(QImage::Format_ARGB32);
    const QImage &saved = state->Saved;
    const int h = std::min(drawn.height(), saved.height());
    const int w = std::min(drawn.width(), saved.width());
    auto mix = [t](int d, int s) { return d + t * (s - d) / 100; };
    for (int y = 0; y < h; ++y) {
        auto *dl = reinterpret_cast<QRgb *>(drawn.scanLine(y));
        const auto *sl = reinterpret_cast<const QRgb *>(saved.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb d = dl[x], s = sl[x];
            dl[x] = qRgba(mix(qRed(d), qRed(s)), mix(qGreen(d), qGreen(s)), mix(qBlue(d), qBlue(s)),
                          mix(qAlpha(d), qAlpha(s)));
        }
    }
    FPainter->save();
    FPainter->resetTransform();
    FPainter->setClipping(false);
    FPainter->setOpacity(1.0);
    FPainter->setCompositionMode(QPainter::CompositionMode_Source);
    FPainter->drawImage(state->DeviceRect.topLeft(), drawn);
    FPainter->restore();
}
