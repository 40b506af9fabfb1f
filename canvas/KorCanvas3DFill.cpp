// TKorCanvas3D: the two-colour band fill of gradients and the mixing of
// transparent elements with what lies under them.

#include "canvas/KorCanvas3D.h"

#include "core/Rounding.h"

#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

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

// a x b / c, halves away from zero, for the 64-bit geometry of gradients
// (a rectangle may span more than the int range). Operands stay far below
// the int64 range: |a|, c <= 2^33 and |b| <= 2^33.
int64_t MulDiv64(int64_t a, int64_t b, int64_t c)
{
    if (c == 0)
        return 0;
    const int64_t p = a * b;
    const int64_t q = ((p < 0 ? -p : p) + c / 2) / c;
    return p < 0 ? -q : q;
}

// Band i of n runs from c1 (band 0) to c2 (band n - 1).
QColor BandColor(const TRgb &c1, const TRgb &c2, int64_t i, int64_t n)
{
    if (n <= 1)
        return QColor(c1.R, c1.G, c1.B);
    auto ch = [i, n](int a, int b) { return static_cast<int>(a + MulDiv64(i, b - a, n - 1)); };
    return QColor(ch(c1.R, c2.R), ch(c1.G, c2.G), ch(c1.B, c2.B));
}

// A rectangle in 64 bits: L ... R - 1 by T ... B - 1.
struct TSpan
{
    int64_t L, T, R, B;
    bool IsEmpty() const { return R <= L || B <= T; }
};

// The part of a rectangle the painter can show: inside its clip and, but
// on pictures (which grow with what is drawn), inside its device; in
// logical units, a pixel wider on every side for rounding.
TSpan VisiblePart(const QPainter &p, const TSpan &r)
{
    QRectF v(QPointF(static_cast<double>(r.L), static_cast<double>(r.T)),
             QPointF(static_cast<double>(r.R), static_cast<double>(r.B)));
    if (p.hasClipping())
        v = v.intersected(p.clipBoundingRect());
    const QPaintDevice *device = p.device();
    if (device && device->devType() != QInternal::Picture) {
        bool invertible = false;
        const QTransform toLogical = p.combinedTransform().inverted(&invertible);
        if (invertible)
            v = v.intersected(toLogical.mapRect(QRectF(0, 0, device->width(), device->height())));
    }
    if (v.isEmpty())
        return {r.L, r.T, r.L, r.T};
    auto low = [](double x, int64_t lo) { return std::max<int64_t>(lo, static_cast<int64_t>(std::floor(x)) - 1); };
    auto high = [](double x, int64_t hi) { return std::min<int64_t>(hi, static_cast<int64_t>(std::ceil(x)) + 1); };
    return {low(v.left(), r.L), low(v.top(), r.T), high(v.right(), r.R), high(v.bottom(), r.B)};
}

// Fills rectangles in one colour within the visible part; a new brush
// only when the colour changes.
class TBandPainter
{
public:
    TBandPainter(QPainter &p, const TSpan &visible) : FP(p), FVisible(visible) {}
    void Fill(int64_t l, int64_t t, int64_t r, int64_t b, const QColor &c)
    {
        l = std::max(l, FVisible.L);
        t = std::max(t, FVisible.T);
        r = std::min(r, FVisible.R);
        b = std::min(b, FVisible.B);
        if (r <= l || b <= t)
            return;
        if (!FHasColor || c != FColor) {
            FColor = c;
            FHasColor = true;
            FP.setBrush(c);
        }
        FP.drawRect(QRectF(static_cast<double>(l), static_cast<double>(t), static_cast<double>(r - l),
                           static_cast<double>(b - t)));
    }

private:
    QPainter &FP;
    TSpan FVisible;
    QColor FColor;
    bool FHasColor = false;
};

} // namespace

void TKorCanvas3D::BandFill(const TRect &rect, TColor startColor, TColor endColor, TGradientDirection direction)
{
    const TRect nr = rect.Normalized();
    if (nr.IsEmpty() || !Prepare(TDrawKind::Image))
        return;
    TRgb c1 = RgbOf(startColor);
    TRgb c2 = RgbOf(endColor);
    if (direction != gdTopBottom && direction != gdLeftRight)
        std::swap(c1, c2);
    const TSpan r{nr.Left, nr.Top, nr.Right, nr.Bottom};
    const int64_t w = r.R - r.L;
    const int64_t h = r.B - r.T;
    // Only what can show is painted, so a gradient larger than the device
    // (a big node at a high zoom) costs no more than the device's pixels.
    const TSpan visible = VisiblePart(*FPainter, r);
    if (visible.IsEmpty())
        return;
    FPainter->setPen(Qt::NoPen);
    TBandPainter bands(*FPainter, visible);
    switch (direction) {
    case gdTopBottom:
    case gdBottomTop: {
        // At most 256 horizontal bands from the bottom up.
        const int64_t n = std::min<int64_t>(h, 256);
        for (int64_t i = 0; i < n; ++i)
            bands.Fill(r.L, r.B - MulDiv64(i + 1, h, n), r.R, r.B - MulDiv64(i, h, n), BandColor(c1, c2, i, n));
        break;
    }
    case gdLeftRight:
    case gdRightLeft: {
        // At most 256 vertical bands from the right edge leftwards.
        const int64_t n = std::min<int64_t>(w, 256);
        for (int64_t i = 0; i < n; ++i)
            bands.Fill(r.R - MulDiv64(i + 1, w, n), r.T, r.R - MulDiv64(i, w, n), r.B, BandColor(c1, c2, i, n));
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
        const int64_t maxC = (h - 1) / 2;
        const int64_t maxD = (w - 1) / 2;
        const int64_t n = maxC + maxD + 1;
        const int64_t rings = std::max(maxC, maxD);
        // A pixel keeps the colour of the last ring over it: ring
        // min(dx, dy), dx and dy being its distances from the nearest side
        // and the nearest top or bottom edge, where a distance that reaches
        // the middle column or row sets no limit. Only the rings between the
        // least and the greatest of these over the visible pixels are drawn.
        constexpr int64_t kNoLimit = std::numeric_limits<int64_t>::max();
        auto limit = [](int64_t distance, int64_t middle) { return distance < middle ? distance : kNoLimit; };
        // Least and greatest distance from the edges lo and hi (exclusive)
        // of the pixels a ... b, the middle pixel being lo + middle.
        auto distances = [](int64_t lo, int64_t hi, int64_t middle, int64_t a, int64_t b) {
            auto dist = [lo, hi](int64_t x) { return std::min(x - lo, hi - 1 - x); };
            const int64_t least = std::min(dist(a), dist(b));
            const int64_t most =
                std::max(dist(std::clamp(lo + middle, a, b)), dist(std::clamp(hi - 1 - middle, a, b)));
            return std::pair<int64_t, int64_t>(least, most);
        };
        const auto [leastX, mostX] = distances(r.L, r.R, maxD, visible.L, visible.R - 1);
        const auto [leastY, mostY] = distances(r.T, r.B, maxC, visible.T, visible.B - 1);
        const int64_t first = std::min({rings, limit(leastX, maxD), limit(leastY, maxC)});
        const int64_t last = std::min({rings, limit(mostX, maxD), limit(mostY, maxC)});
        for (int64_t k = first; k <= last; ++k) {
            const int64_t c = std::min(k, maxC);
            const int64_t d = std::min(k, maxD);
            const QColor col = BandColor(c1, c2, c + d, n);
            const int64_t l = r.L + d, t = r.T + c, rr = r.R - d, b = r.B - c;
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
        const int64_t n = (w - 1) + (h - 1) + 1;
        const int64_t steps = std::max(w, h);
        auto step = [&](int64_t k) {
            const int64_t i = std::min(k, w - 1);
            const int64_t j = std::min(k, h - 1);
            const QColor col = BandColor(c1, c2, i + j, n);
            if (fromTop) {
                bands.Fill(r.L + i, r.T, r.L + i + 1, r.T + j + 1, col);
                bands.Fill(r.L, r.T + j, r.L + i, r.T + j + 1, col);
            } else {
                bands.Fill(r.L + i, r.B - 1 - j, r.L + i + 1, r.B, col);
                bands.Fill(r.L, r.B - 1 - j, r.L + i, r.B - j, col);
            }
        };
        // A pixel x columns and y rows from the corner keeps the colour of
        // step max(x, y), or of the last step on the far column or row,
        // which the steps after reaching it paint again. Only the steps of
        // the visible pixels are drawn, and the last one.
        const int64_t nearX = visible.L - r.L, farX = visible.R - 1 - r.L;
        const int64_t nearY = fromTop ? visible.T - r.T : r.B - visible.B;
        const int64_t farY = fromTop ? visible.B - 1 - r.T : r.B - 1 - visible.T;
        const int64_t first = std::max(nearX, nearY);
        const int64_t last = std::min(steps - 1, std::max(farX, farY));
        for (int64_t k = first; k <= last; ++k)
            step(k);
        if (last < steps - 1)
            step(steps - 1);
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
