// TKorCanvas3D: state, realisation of pen, brush and font on a QPainter,
// the 2D primitives, text, clipping and the off-screen buffer.
//
// Qt and the drawing model disagree on pixels: Qt paints both ends of a
// line and puts one-pixel outlines half a pixel to the right of filled
// edges. Each primitive below converts once:
//  - Qt's aliased fills take the pixels whose centres lie inside a shape,
//    so a fill from L to R covers L ... R-1 (ellipses are filled as paths:
//    Qt's own ellipse fill drops a row);
//  - one-pixel outlines are stroked through integer coordinates, which Qt
//    paints on the pixel of that coordinate, so a rectangle's outline goes
//    through L and R-1;
//  - wide outlines are stroked along pixel centres, moved a sixty-fourth of
//    a pixel up-left so no edge falls exactly on a sampling point: odd
//    widths spread evenly, even widths one more pixel right and down;
//  - a one-pixel line stops one pixel short of its end point.
// With antialiasing on, coverage is geometric and outlines run along pixel
// centres.

#include "canvas/KorCanvas3D.h"

#include "core/Rounding.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// Qt draws no pen wider than this (a wider width is refused with a
// warning and the pen keeps its old width); wider pens draw at it.
constexpr int kWidestPen = (1 << 15) - 1;

constexpr double kNudge = 1.0 / 64.0;

// Offset of a stroke path from integer pixel coordinates for a pen width.
double StrokeOffset(int width, bool antialiased)
{
    if (antialiased)
        return (width <= 1 || width % 2) ? 0.5 : 1.0;
    return width <= 1 ? 0.0 : ((width % 2) ? 0.5 : 1.0) - kNudge;
}

QPainter::CompositionMode RasterOpOf(TPenMode mode)
{
    switch (mode) {
    case pmBlack: return QPainter::RasterOp_ClearDestination;
    case pmWhite: return QPainter::RasterOp_SetDestination;
    case pmNot: return QPainter::RasterOp_NotDestination;
    case pmNotCopy: return QPainter::RasterOp_NotSource;
    case pmMergePenNot: return QPainter::RasterOp_SourceOrNotDestination;
    case pmMaskPenNot: return QPainter::RasterOp_SourceAndNotDestination;
    case pmMergeNotPen: return QPainter::RasterOp_NotSourceOrDestination;
    case pmMaskNotPen: return QPainter::RasterOp_NotSourceAndDestination;
    case pmMerge: return QPainter::RasterOp_SourceOrDestination;
    case pmNotMerge: return QPainter::RasterOp_NotSourceAndNotDestination;
    case pmMask: return QPainter::RasterOp_SourceAndDestination;
    case pmNotMask: return QPainter::RasterOp_NotSourceOrNotDestination;
    case pmXor: return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    case pmCopy:
    case pmNop:
        break;
    }
    return QPainter::CompositionMode_SourceOver;
}

// One 8 x 8 hatch cell: true where the hatch line runs.
bool HatchBit(TBrushStyle style, int x, int y)
{
    switch (style) {
    case bsHorizontal: return y == 3;
    case bsVertical: return x == 3;
    case bsFDiagonal: return x == y;
    case bsBDiagonal: return x + y == 7;
    case bsCross: return x == 3 || y == 3;
    case bsDiagCross: return x == y || x + y == 7;
    default: return false;
    }
}

// Gaps of patterns: the background colour, or nothing (transparent).
QRgb GapColor(int backMode, TColor backColor)
{
    return backMode == cbmOpaque ? ToQRgb(backColor) : 0u;
}

// A pattern picture whose pixels are all black or white is a two-colour
// pattern: black takes the foreground colour, white the gap colour.
// Other pictures fill as they are.
QImage PatternTexture(const QImage &pattern, QRgb fore, QRgb gap)
{
    QImage img = pattern.convertToFormat(QImage::Format_ARGB32);
    bool twoTone = true;
    for (int y = 0; y < img.height() && twoTone; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = line[x] | 0xFF000000u;
            if (p != 0xFF000000u && p != 0xFFFFFFFFu) {
                twoTone = false;
                break;
            }
        }
    }
    if (!twoTone)
        return img;
    for (int y = 0; y < img.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            line[x] = ((line[x] & 0xFFFFFFu) == 0) ? fore : gap;
    }
    return img;
}

// A rectangle's size as a real number: exact even where the int range
// cannot hold it (a shape from the far left to the far right).
double SpanX(const TRect &r)
{
    return static_cast<double>(r.Right) - r.Left;
}
double SpanY(const TRect &r)
{
    return static_cast<double>(r.Bottom) - r.Top;
}
QRectF RealRect(const TRect &r)
{
    return QRectF(r.Left, r.Top, SpanX(r), SpanY(r));
}

QPolygonF ToPolygonF(const TPointArray &points, double offset)
{
    QPolygonF poly;
    poly.reserve(static_cast<int>(points.size()));
    for (const TPoint &p : points)
        poly << QPointF(p.X + offset, p.Y + offset);
    return poly;
}

} // namespace

TKorCanvas3D::TKorCanvas3D() = default;

TKorCanvas3D::~TKorCanvas3D()
{
    // Layers of unfinished transparency and the buffer's painter end here.
    while (!FBlends.empty())
        EndTransparency(0);
    FreeBuffer();
}

void TKorCanvas3D::Attach(QPainter *painter)
{
    FPainter = painter;
    FQFontValid = false;
}

void TKorCanvas3D::SetTransparentBuffer(bool value)
{
    if (FTransparentBuffer == value)
        return;
    FTransparentBuffer = value;
    FDirty = true;
}

void TKorCanvas3D::SetAntialiased(bool value)
{
    if (FAntialiased == value)
        return;
    FAntialiased = value;
    FQFontValid = false;
}

void TKorCanvas3D::PenChanged()
{
    FQPenValid = false;
}

void TKorCanvas3D::BrushChanged()
{
    FQBrushValid = false;
}

void TKorCanvas3D::FontChanged()
{
    FQFontValid = false;
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

int TKorCanvas3D::FontPixelsPerInch() const
{
    if (FFontResolution > 0)
        return FFontResolution;
    if (!FPainter || !FPainter->device())
        return TFont::kScreenPixelsPerInch;
    // Pixels per logical inch: a mapping that scales logical units up
    // (printing) brings the device's resolution back down.
    const QTransform t = FPainter->combinedTransform();
    const double scale = std::hypot(t.m12(), t.m22());
    const int dpi = FPainter->device()->logicalDpiY();
    if (scale <= 0.0 || dpi <= 0)
        return TFont::kScreenPixelsPerInch;
    return std::max(1, dx::RoundEven(dpi / scale));
}

const QFont &TKorCanvas3D::CurrentQFont()
{
    if (!FQFontValid) {
        // Nodes assign their fonts one after another, mostly the same one:
        // the platform font is made again only when what it is made from
        // (everything TFont::ToQFont reads) has changed.
        const TFont &f = Font();
        const int inter = CurrentKorFont() ? CurrentKorFont()->InterCharSize() : 0;
        const TQFontSource source{f.Name(), f.Height(), f.PixelsPerInch(), f.Style(), f.Pitch(), inter, FAntialiased};
        if (!FQFontSource || !(*FQFontSource == source)) {
            FQFont = f.ToQFont();
            if (inter != 0)
                FQFont.setLetterSpacing(QFont::AbsoluteSpacing, inter);
            FQFont.setStyleStrategy(FAntialiased ? QFont::PreferAntialias : QFont::NoAntialias);
            FQFontSource = source;
        }
        FQFontValid = true;
    }
    return FQFont;
}

// --- Realisation --------------------------------------------------------

const QPen &TKorCanvas3D::RealisedPen()
{
    if (FQPenValid)
        return FQPen;
    const TPen &p = Pen();
    if (p.Style() == psClear) {
        FQPen = QPen(Qt::NoPen);
    } else {
        QPen q(ToQColor(p.Color()));
        q.setJoinStyle(Qt::MiterJoin);
        if (FPenExtras.SmallDots) {
            q.setWidth(1);
            q.setCapStyle(Qt::SquareCap);
            q.setDashPattern({1.0, 1.0});
        } else if (p.Width() < 2) {
            // One-pixel pens: the platform's dash lengths in pixels.
            q.setWidth(1);
            q.setCapStyle(Qt::SquareCap);
            switch (p.Style()) {
            case psDash: q.setDashPattern({18.0, 6.0}); break;
            case psDot: q.setDashPattern({3.0, 3.0}); break;
            case psDashDot: q.setDashPattern({9.0, 6.0, 3.0, 6.0}); break;
            case psDashDotDot: q.setDashPattern({9.0, 3.0, 3.0, 3.0, 3.0, 3.0}); break;
            default: break;
            }
        } else {
            q.setWidth(std::min(p.Width(), kWidestPen));
            switch (p.Style()) {
            case psDash: q.setStyle(Qt::DashLine); break;
            case psDot: q.setStyle(Qt::DotLine); break;
            case psDashDot: q.setStyle(Qt::DashDotLine); break;
            case psDashDotDot: q.setStyle(Qt::DashDotDotLine); break;
            default: break;
            }
            switch (FPenExtras.EndStyle) {
            case esRound:
                q.setCapStyle(Qt::RoundCap);
                q.setJoinStyle(Qt::RoundJoin);
                break;
            case esSquare:
                q.setCapStyle(Qt::SquareCap);
                q.setJoinStyle(Qt::BevelJoin);
                break;
            case esFlat:
                q.setCapStyle(Qt::FlatCap);
                q.setJoinStyle(Qt::MiterJoin);
                break;
            }
        }
        FQPen = q;
    }
    FQPenValid = true;
    return FQPen;
}

const QBrush &TKorCanvas3D::RealisedBrush()
{
    if (FQBrushValid)
        return FQBrush;
    const QRgb gap = GapColor(FBackMode, FBackColor);
    if (!BrushBitmap().isNull()) {
        FQBrush = QBrush(PatternTexture(BrushBitmap(), ToQRgb(TextColor()), gap));
    } else {
        const TBrush &b = Brush();
        switch (b.Style()) {
        case bsSolid: FQBrush = QBrush(ToQColor(b.Color())); break;
        case bsClear: FQBrush = QBrush(Qt::NoBrush); break;
        default: {
            // Hatches as 8 x 8 patterns anchored at the origin, the gaps in
            // the background colour or left transparent.
            QImage cell(8, 8, QImage::Format_ARGB32);
            const QRgb fore = ToQRgb(b.Color());
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x)
                    cell.setPixel(x, y, HatchBit(b.Style(), x, y) ? fore : gap);
            FQBrush = QBrush(cell);
            break;
        }
        }
    }
    FQBrushValid = true;
    return FQBrush;
}

QRectF TKorCanvas3D::FillArea(const TRect &r) const
{
    const double o = 0.0;
    return QRectF(r.Left + o, r.Top + o, SpanX(r), SpanY(r));
}

bool TKorCanvas3D::Prepare(TDrawKind kind)
{
    if (!FPainter || !FPainter->isActive())
        return false;
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    if (kind == TDrawKind::Shape) {
        if (Pen().Mode() == pmNop)
            return false;
        const QPaintEngine *engine = FPainter->paintEngine();
        if (engine && engine->hasFeature(QPaintEngine::RasterOpModes))
            mode = RasterOpOf(Pen().Mode());
    }
    FPainter->setCompositionMode(mode);
    FPainter->setRenderHint(QPainter::Antialiasing, FAntialiased);
    FPainter->setRenderHint(QPainter::TextAntialiasing, FAntialiased);
    FPainter->setRenderHint(QPainter::SmoothPixmapTransform, FAntialiased);
    FPainter->setBackgroundMode(Qt::TransparentMode);
    return true;
}

// --- Simple state slots -------------------------------------------------

void TKorCanvas3D::SetBackColor(TColor color)
{
    const TColor rgb = (color == clNone || color == clDefault) ? color : ColorToRGB(color);
    if (FBackColor == rgb)
        return;
    FBackColor = rgb;
    BrushChanged();
}

void TKorCanvas3D::SetBackMode(int mode)
{
    if (FBackMode == mode)
        return;
    FBackMode = mode;
    BrushChanged();
}

void TKorCanvas3D::SetTextAlign(int align)
{
    FTextAlign = align;
}

void TKorCanvas3D::SetMonochrome(bool value)
{
    if (FMonochrome == value)
        return;
    FMonochrome = value;
    FDirty = true;
    // The panel that owns the options repaints on their change callback.
    if (FView3DOptions && FView3DOptions->OnChange)
        FView3DOptions->OnChange(FView3DOptions);
}

void TKorCanvas3D::SetBufferedDisplay(bool value)
{
    if (FBuffered == value)
        return;
    FBuffered = value;
    if (!value) {
        FreeBuffer();
        FDirty = true;
    }
}

void TKorCanvas3D::SetPixel(int x, int y, TColor color)
{
    if (!Prepare(TDrawKind::Image))
        return;
    FPainter->fillRect(QRect(x, y, 1, 1), ToQColor(color));
}

// --- Lines --------------------------------------------------------------

void TKorCanvas3D::StrokeLine(int x0, int y0, int x1, int y1)
{
    if (x0 == x1 && y0 == y1)
        return;
    const QPen &pen = RealisedPen();
    if (pen.style() == Qt::NoPen)
        return;
    FPainter->setPen(pen);
    FPainter->setBrush(Qt::NoBrush);
    if (pen.width() <= 1) {
        // Stop one pixel short: the last pixel drawn is one step before
        // the end point along the line's longer axis.
        const int64_t spanX = static_cast<int64_t>(x1) - x0;
        const int64_t spanY = static_cast<int64_t>(y1) - y0;
        if (std::abs(spanX) > INT_MAX || std::abs(spanY) > INT_MAX) {
            // Ends further apart than the int range: the missing last pixel
            // lies far beyond anything shown.
            FPainter->drawLine(QPointF(x0, y0), QPointF(x1, y1));
            return;
        }
        const int dx = static_cast<int>(spanX);
        const int dy = static_cast<int>(spanY);
        int ex, ey;
        if (std::abs(dx) >= std::abs(dy)) {
            ex = x1 - (dx > 0 ? 1 : -1);
            ey = y0 + dx::MulDiv(dy, ex - x0, dx);
        } else {
            ey = y1 - (dy > 0 ? 1 : -1);
            ex = x0 + dx::MulDiv(dx, ey - y0, dy);
        }
        if (ex == x0 && ey == y0)
            FPainter->drawPoint(QPointF(x0, y0));
        else
            FPainter->drawLine(QPointF(x0, y0), QPointF(ex, ey));
        return;
    }
    const double o = StrokeOffset(pen.width(), FAntialiased);
    FPainter->drawLine(QPointF(x0 + o, y0 + o), QPointF(x1 + o, y1 + o));
}

void TKorCanvas3D::MoveTo(int x, int y)
{
    FPenPos = TPoint(x, y);
}

void TKorCanvas3D::LineTo(int x, int y)
{
    const TPoint from = FPenPos;
    FPenPos = TPoint(x, y);
    if (Prepare(TDrawKind::Shape))
        StrokeLine(from.X, from.Y, x, y);
}

void TKorCanvas3D::Segment(int x0, int y0, int x1, int y1)
{
    MoveTo(x0, y0);
    LineTo(x1, y1);
}

void TKorCanvas3D::HorizSegment(int x0, int x1, int y)
{
    MoveTo(x0, y);
    LineTo(x1, y);
}

void TKorCanvas3D::VertSegment(int x, int y0, int y1)
{
    MoveTo(x, y0);
    LineTo(x, y1);
}

// --- Filled shapes ------------------------------------------------------

void TKorCanvas3D::FillAndStrokeRect(const TRect &r)
{
    const QPen &pen = RealisedPen();
    const QBrush &brush = RealisedBrush();
    const bool hasPen = pen.style() != Qt::NoPen;
    const int w = hasPen ? std::max(1, pen.width()) : 0;
    const bool inside = hasPen && Pen().Style() == psInsideFrame;
    // The fill covers what the outline leaves inside, so no pixel is
    // painted twice (which raster modes would show).
    if (brush.style() != Qt::NoBrush) {
        TRect in = r;
        if (hasPen) {
            const int before = inside ? w : w / 2 + 1;
            const int after = inside ? w : (w - 1) / 2 + 1;
            in = TRect(r.Left + before, r.Top + before, r.Right - after, r.Bottom - after);
        }
        if (!in.IsEmpty()) {
            FPainter->setPen(Qt::NoPen);
            FPainter->setBrush(brush);
            FPainter->drawRect(FillArea(in));
        }
    }
    if (!hasPen)
        return;
    FPainter->setPen(pen);
    FPainter->setBrush(Qt::NoBrush);
    if (inside && w > 1) {
        if (r.Width() <= w || r.Height() <= w) {
            // Too small for the frame: the pen covers it all.
            FPainter->setPen(Qt::NoPen);
            FPainter->setBrush(pen.color());
            FPainter->drawRect(FillArea(r));
            return;
        }
        FPainter->drawRect(QRectF(r.Left + w / 2.0, r.Top + w / 2.0, SpanX(r) - w, SpanY(r) - w));
        return;
    }
    const double o = StrokeOffset(w, FAntialiased);
    FPainter->drawRect(QRectF(r.Left + o, r.Top + o, SpanX(r) - 1, SpanY(r) - 1));
}

void TKorCanvas3D::FillAndStrokeEllipse(const TRect &r)
{
    const QPen &pen = RealisedPen();
    const QBrush &brush = RealisedBrush();
    if (brush.style() != Qt::NoBrush) {
        FPainter->setPen(Qt::NoPen);
        FPainter->setBrush(brush);
        QPainterPath fill;
        fill.addEllipse(FillArea(r));
        FPainter->drawPath(fill);
    }
    if (pen.style() == Qt::NoPen)
        return;
    const int w = std::max(1, pen.width());
    FPainter->setPen(pen);
    FPainter->setBrush(Qt::NoBrush);
    if (Pen().Style() == psInsideFrame && w > 1) {
        FPainter->drawEllipse(QRectF(r.Left + w / 2.0, r.Top + w / 2.0, std::max(0.0, SpanX(r) - w),
                                     std::max(0.0, SpanY(r) - w)));
        return;
    }
    const double o = StrokeOffset(w, FAntialiased);
    FPainter->drawEllipse(QRectF(r.Left + o, r.Top + o, SpanX(r) - 1, SpanY(r) - 1));
}

void TKorCanvas3D::FillAndStrokePath(const QPainterPath &fill, const QPainterPath &stroke)
{
    const QPen &pen = RealisedPen();
    const QBrush &brush = RealisedBrush();
    if (brush.style() != Qt::NoBrush && !fill.isEmpty()) {
        FPainter->setPen(Qt::NoPen);
        FPainter->setBrush(brush);
        FPainter->drawPath(fill);
    }
    if (pen.style() != Qt::NoPen && !stroke.isEmpty()) {
        FPainter->setPen(pen);
        FPainter->setBrush(Qt::NoBrush);
        FPainter->drawPath(stroke);
    }
}

void TKorCanvas3D::Rectangle(int x0, int y0, int x1, int y1)
{
    if (Prepare(TDrawKind::Shape))
        FillAndStrokeRect(TRect(x0, y0, x1, y1).Normalized());
}

void TKorCanvas3D::RectangleRect(const TRect &rect)
{
    Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom);
}

void TKorCanvas3D::Ellipse(int x1, int y1, int x2, int y2)
{
    if (Prepare(TDrawKind::Shape))
        FillAndStrokeEllipse(TRect(x1, y1, x2, y2).Normalized());
}

void TKorCanvas3D::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    if (!Prepare(TDrawKind::Shape))
        return;
    const TRect r = TRect(x1, y1, x2, y2).Normalized();
    const double rx = std::abs(x3) / 2.0;
    const double ry = std::abs(y3) / 2.0;
    QPainterPath fill;
    fill.addRoundedRect(FillArea(r), rx, ry);
    const int w = std::max(1, RealisedPen().width());
    const double o = StrokeOffset(w, FAntialiased);
    QPainterPath stroke;
    if (Pen().Style() == psInsideFrame && w > 1)
        stroke.addRoundedRect(QRectF(r.Left + w / 2.0, r.Top + w / 2.0, std::max(0.0, SpanX(r) - w),
                                     std::max(0.0, SpanY(r) - w)),
                              rx, ry);
    else
        stroke.addRoundedRect(QRectF(r.Left + o, r.Top + o, SpanX(r) - 1, SpanY(r) - 1), rx, ry);
    FillAndStrokePath(fill, stroke);
}

void TKorCanvas3D::FillRect(const TRect &rect)
{
    if (!Prepare(TDrawKind::Fill))
        return;
    const TRect r = rect.Normalized();
    const QBrush &brush = RealisedBrush();
    if (r.IsEmpty() || brush.style() == Qt::NoBrush)
        return;
    FPainter->setPen(Qt::NoPen);
    FPainter->setBrush(brush);
    FPainter->drawRect(FillArea(r));
}

void TKorCanvas3D::ClearRect(const TRect &rect)
{
    FillRect(rect);
}

void TKorCanvas3D::Polygon(const TPointArray &points)
{
    if (points.empty() || !Prepare(TDrawKind::Shape))
        return;
    QPainterPath fill;
    fill.addPolygon(ToPolygonF(points, 0.0));
    fill.closeSubpath();
    fill.setFillRule(Qt::OddEvenFill);
    QPainterPath stroke;
    stroke.addPolygon(ToPolygonF(points, StrokeOffset(RealisedPen().width(), FAntialiased)));
    stroke.closeSubpath();
    FillAndStrokePath(fill, stroke);
}

namespace {
// Angle in degrees (counter-clockwise, y up) of the ray from the centre of
// a box through a point.
double RayAngle(const QRectF &box, int x, int y)
{
    const QPointF c = box.center();
    if (x == c.x() && y == c.y())
        return 0.0;
    return std::atan2(c.y() - y, x - c.x()) * 180.0 / M_PI;
}

double Sweep(double from, double to)
{
    double s = to - from;
    while (s <= 0.0)
        s += 360.0;
    while (s > 360.0)
        s -= 360.0;
    return s;
}
} // namespace

void TKorCanvas3D::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    if (!Prepare(TDrawKind::Shape))
        return;
    const TRect r = TRect(x1, y1, x2, y2).Normalized();
    const QRectF area = RealRect(r);
    const double a0 = RayAngle(area, x3, y3);
    const double sweep = Sweep(a0, RayAngle(area, x4, y4));
    const double o = StrokeOffset(std::max(1, RealisedPen().width()), FAntialiased);
    const QRectF box(r.Left + o, r.Top + o, SpanX(r) - 1, SpanY(r) - 1);
    QPainterPath stroke;
    stroke.arcMoveTo(box, a0);
    stroke.arcTo(box, a0, sweep);
    FillAndStrokePath(QPainterPath(), stroke);
}

void TKorCanvas3D::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    if (!Prepare(TDrawKind::Shape))
        return;
    const TRect r = TRect(x1, y1, x2, y2).Normalized();
    const QRectF area = RealRect(r);
    const double a0 = RayAngle(area, x3, y3);
    const double sweep = Sweep(a0, RayAngle(area, x4, y4));
    const QRectF fillArea = FillArea(r);
    QPainterPath fill;
    fill.moveTo(fillArea.center());
    fill.arcTo(fillArea, a0, sweep);
    fill.closeSubpath();
    const double o = StrokeOffset(std::max(1, RealisedPen().width()), FAntialiased);
    const QRectF box(r.Left + o, r.Top + o, SpanX(r) - 1, SpanY(r) - 1);
    QPainterPath stroke;
    stroke.moveTo(box.center());
    stroke.arcTo(box, a0, sweep);
    stroke.closeSubpath();
    FillAndStrokePath(fill, stroke);
}

void TKorCanvas3D::RingSector(int xc, int yc, int xRadius, int yRadius, double startAngle, double endAngle,
                              int holePercent)
{
    const int steps = std::clamp(dx::RoundEven((endAngle - startAngle) * 128.0 / M_PI), 2, 128);
    const double step = (endAngle - startAngle) / steps;
    const double hx = static_cast<double>(xRadius) * holePercent / 100.0;
    const double hy = static_cast<double>(yRadius) * holePercent / 100.0;
    TPointArray points;
    points.reserve(2 * (steps + 1));
    for (int i = 0; i <= steps; ++i) {
        const double a = startAngle + i * step;
        points.emplace_back(xc + dx::RoundEven(xRadius * std::cos(a)), yc - dx::RoundEven(yRadius * std::sin(a)));
    }
    for (int i = steps; i >= 0; --i) {
        const double a = startAngle + i * step;
        points.emplace_back(xc + dx::RoundEven(hx * std::cos(a)), yc - dx::RoundEven(hy * std::sin(a)));
    }
    Polygon(points);
}

void TKorCanvas3D::BevelFrame(const TRect &rect, TColor topColor, TColor bottomColor, int width)
{
    Pen().SetWidth(1);
    Pen().SetStyle(psSolid);
    TRect r = rect;
    --r.Right;
    --r.Bottom;
    for (int i = 0; i < width; ++i) {
        Pen().SetColor(topColor);
        if (Prepare(TDrawKind::Shape)) {
            StrokeLine(r.Left, r.Bottom, r.Left, r.Top);
            StrokeLine(r.Left, r.Top, r.Right, r.Top);
        }
        Pen().SetColor(bottomColor);
        if (Prepare(TDrawKind::Shape)) {
            StrokeLine(r.Right, r.Top, r.Right, r.Bottom);
            StrokeLine(r.Right, r.Bottom, r.Left - 1, r.Bottom);
        }
        r = r.Inflated(-1, -1);
    }
}

// --- Images -------------------------------------------------------------

void TKorCanvas3D::Draw(int x, int y, const QImage &image)
{
    if (image.isNull() || !Prepare(TDrawKind::Image))
        return;
    FPainter->drawImage(QPoint(x, y), image);
}

void TKorCanvas3D::StretchDraw(const TRect &rect, const QImage &image)
{
    if (image.isNull() || !Prepare(TDrawKind::Image))
        return;
    const TRect r = rect.Normalized();
    if (r.IsEmpty())
        return;
    FPainter->drawImage(RealRect(r), image);
}

// --- Text ---------------------------------------------------------------

int TKorCanvas3D::TextWidth(const QString &text)
{
    const TKorFont *k = CurrentKorFont();
    return FTextMeasure.Width(CurrentQFont(), MeasureDevice(), text) + (k ? std::abs(k->ShadowHorizSize()) : 0);
}

namespace {
// The cell height: ascent and descent each rounded up, as the platform's
// text metrics report them (Arial 8 pt at 96 dpi: 13).
int CellAscent(const QFontMetricsF &fm)
{
    return static_cast<int>(std::ceil(fm.ascent() - 1e-6));
}
int CellHeight(const QFontMetricsF &fm)
{
    return CellAscent(fm) + static_cast<int>(std::ceil(fm.descent() - 1e-6));
}
} // namespace

int TKorCanvas3D::TextHeight(const QString &text)
{
    Q_UNUSED(text);
    const QFontMetricsF &fm = FTextMeasure.Metrics(CurrentQFont(), MeasureDevice());
    const TKorFont *k = CurrentKorFont();
    return CellHeight(fm) + (k ? std::abs(k->ShadowVertSize()) : 0);
}

TPoint TKorCanvas3D::AlignedTextOrigin(int x, int y, const QString &text, const QFont &font)
{
    const QFontMetricsF fm(font, MeasureDevice());
    switch (FTextAlign & taHorizontalMask) {
    case taCenter: x -= QFontMetrics(font, MeasureDevice()).horizontalAdvance(text) / 2; break;
    case taRight: x -= QFontMetrics(font, MeasureDevice()).horizontalAdvance(text); break;
    default: break;
    }
    switch (FTextAlign & taVerticalMask) {
    case taBaseline: y -= CellAscent(fm); break;
    case taBottom: y -= CellHeight(fm); break;
    default: break;
    }
    return TPoint(x, y);
}

void TKorCanvas3D::DrawTextAt(int x, int y, const QString &text, const QFont &font)
{
    const QFontMetricsF fm(font, MeasureDevice());
    if (FBackMode == cbmOpaque && FBackColor != clNone) {
        const int w = QFontMetrics(font, MeasureDevice()).horizontalAdvance(text);
        FPainter->fillRect(QRect(x, y, w, CellHeight(fm)), ToQColor(FBackColor));
    }
    FPainter->setFont(font);
    FPainter->drawText(QPointF(x, y + CellAscent(fm)), text);
}

void TKorCanvas3D::PlainText(int x, int y, const QString &text, const QFont &font, TColor color)
{
    if (color == clNone)
        return;
    FPainter->setPen(ToQColor(color));
    FPainter->setBrush(Qt::NoBrush);
    const TPoint o = AlignedTextOrigin(x, y, text, font);
    DrawTextAt(o.X, o.Y, text, font);
}

void TKorCanvas3D::TextOut(int x, int y, const QString &text)
{
    if (text.isEmpty() || !Prepare(TDrawKind::Text))
        return;
    const QFont font = CurrentQFont();
    const TKorFont *k = CurrentKorFont();
    int tx = x;
    int ty = y;
    // The shadow lies on the side its sign says; the text never moves left
    // of or above the given point.
    if (k && k->PeekShadow() && k->PeekShadow()->HasSize()) {
        const TKorShadow *s = k->PeekShadow();
        int sx = x;
        int sy = y;
        if (s->HorizSize() > 0)
            sx = x + s->HorizSize();
        else
            tx = x - s->HorizSize();
        if (s->VertSize() > 0)
            sy = y + s->VertSize();
        else
            ty = y - s->VertSize();
        PlainText(sx, sy, text, font, s->Color());
    }
    SetTextColor(Font().Color());
    const TChartHiddenPen *outline = k ? k->PeekOutLine() : nullptr;
    const TKorFontGradient *gradient = k ? k->PeekGradient() : nullptr;
    const bool hasOutline = outline && outline->Visible();
    const bool hasGradient = gradient && gradient->Visible();
    const bool scalable = QFontDatabase::isSmoothlyScalable(QFontInfo(font).family());
    if (!(hasOutline || hasGradient) || !scalable) {
        PlainText(tx, ty, text, font, Font().Color());
        return;
    }
    const TPoint o = AlignedTextOrigin(tx, ty, text, font);
    const QFontMetricsF fm(font, MeasureDevice());
    QPainterPath path;
    path.addText(QPointF(o.X, o.Y + CellAscent(fm)), font, text);
    QPen outlinePen(Qt::NoPen);
    if (hasOutline) {
        outlinePen = QPen(ToQColor(outline->Color()), std::clamp(outline->Width(), 1, kWidestPen));
        outlinePen.setJoinStyle(Qt::RoundJoin);
    }
    bool fillGlyphs = Font().Color() != clNone;
    if (hasGradient) {
        QPainterPath clip = path;
        if (gradient->Outline()) {
            QPainterPathStroker stroker;
            stroker.setWidth(std::clamp(hasOutline ? outline->Width() : 1, 1, kWidestPen));
            clip = stroker.createStroke(path);
        }
        PushClip();
        FPainter->setClipPath(clip, FPainter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        const TRect area(o.X, o.Y, o.X + TextWidth(text), o.Y + TextHeight(text));
        gradient->PaintGradient(this, area);
        RemoveClip();
        if (gradient->Outline() || !hasOutline)
            return;
        fillGlyphs = false;
        Prepare(TDrawKind::Text);
    }
    FPainter->setRenderHint(QPainter::Antialiasing, FAntialiased);
    FPainter->setPen(outlinePen);
    FPainter->setBrush(fillGlyphs ? QBrush(ToQColor(Font().Color())) : QBrush(Qt::NoBrush));
    FPainter->drawPath(path);
}

QFont TKorCanvas3D::ZoomedFont(const QFont &font) const
{
    if (!FZoomText || FZoomFactor == 1.0)
        return font;
    const int size = Font().Size();
    const int zoomed = ZoomedFontSize(size, FZoomFactor);
    if (zoomed == size)
        return font;
    QFont f = font;
    f.setPixelSize(std::max(1, dx::MulDiv(zoomed, Font().PixelsPerInch(), 72)));
    return f;
}

int TKorCanvas3D::ZoomedFontSize(int points, double zoom)
{
    return std::max(1, dx::RoundEven(points * zoom));
}

void TKorCanvas3D::RotatedText(int x, int y, double angle, const QString &text)
{
    if (text.isEmpty() || !FPainter || !FPainter->isActive())
        return;
    angle = NormalizedTextAngle(angle);
    QFont font = ZoomedFont(CurrentQFont());
    font.setStyleStrategy(QFont::PreferAntialias);
    const QFont saved = FQFont;
    const bool savedValid = FQFontValid;
    FQFont = font;
    FQFontValid = true;
    FQFontSource.reset(); // FQFont is no longer what the font makes
    const QTransform t = FPainter->worldTransform();
    FPainter->translate(x, y);
    FPainter->rotate(-angle);
    const bool aa = FAntialiased;
    FAntialiased = true; // turned text is drawn smooth
    TKorCanvas3D::TextOut(0, 0, text);
    FAntialiased = aa;
    FPainter->setWorldTransform(t);
    FQFont = saved;
    FQFontValid = savedValid;
}

// --- Clipping -----------------------------------------------------------

void TKorCanvas3D::PushClip()
{
    if (FPainter && FPainter->isActive())
        FPainter->save();
    FClipStack.push_back(FPainter);
}

void TKorCanvas3D::ClipToRect(const TRect &rect)
{
    PushClip();
    if (FPainter && FPainter->isActive())
        FPainter->setClipRect(RealRect(rect.Normalized()),
                              FPainter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void TKorCanvas3D::ClipToEllipse(const TRect &rect)
{
    PushClip();
    if (FPainter && FPainter->isActive()) {
        QPainterPath p;
        p.addEllipse(FillArea(rect.Normalized()));
        FPainter->setClipPath(p, FPainter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    }
}

void TKorCanvas3D::ClipToRoundRect(const TRect &rect, int ellipseWidth, int ellipseHeight)
{
    PushClip();
    if (FPainter && FPainter->isActive()) {
        QPainterPath p;
        p.addRoundedRect(FillArea(rect.Normalized()), std::abs(ellipseWidth) / 2.0,
                         std::abs(ellipseHeight) / 2.0);
        FPainter->setClipPath(p, FPainter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    }
}

void TKorCanvas3D::ClipToPolygon(const TPointArray &points)
{
    PushClip();
    if (FPainter && FPainter->isActive()) {
        QPainterPath p;
        p.addPolygon(ToPolygonF(points, 0.0));
        p.closeSubpath();
        p.setFillRule(Qt::OddEvenFill);
        FPainter->setClipPath(p, FPainter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    }
}

void TKorCanvas3D::RemoveClip()
{
    if (FClipStack.empty()) {
        if (FPainter && FPainter->isActive())
            FPainter->setClipping(false);
        return;
    }
    QPainter *p = FClipStack.back();
    FClipStack.pop_back();
    // Only the painter that is still the target is touched; a clip made on
    // an earlier target ended with it.
    if (p && p == FPainter && p->isActive())
        p->restore();
}

// --- Drawing passes and the off-screen buffer ---------------------------

TRect TKorCanvas3D::StartDrawing(QPainter *target, TView3DOptions *options, const TRect &userRect, bool is3D)
{
    FView3DOptions = options;
    FIs3D = is3D;
    FIsOrthogonal = is3D && options && options->Orthogonal();
    FOrthoSlope = 1.0;
    if (options) {
        const double a = options->OrthoAngle() * M_PI / 180.0;
        if (std::cos(a) >= 0.01)
            FOrthoSlope = std::tan(a);
        FZoomFactor = options->Zoom() * 0.01;
        FZoomText = options->ZoomText();
    } else {
        FZoomFactor = 1.0;
        FZoomText = true;
    }
    ComputeRotation();
    FPerspective = 0.0;
    if (!FBuffered) {
        Attach(target);
        return userRect;
    }
    const TRect r = userRect.Normalized();
    const int w = std::max(1, r.Width());
    const int h = std::max(1, r.Height());
    if (FBufferPainter)
        FBufferPainter->end();
    FBufferPainter.reset();
    const QImage::Format format = FTransparentBuffer ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (!FBuffer || FBuffer->width() != w || FBuffer->height() != h || FBuffer->format() != format) {
        FBuffer = std::make_unique<QImage>(w, h, format);
        FBuffer->fill(Qt::white);
    }
    if (FTransparentBuffer)
        FBuffer->fill(Qt::transparent);
    FBufferPainter = std::make_unique<QPainter>(FBuffer.get());
    Attach(FBufferPainter.get());
    return TRect(0, 0, w, h);
}

void TKorCanvas3D::EndDrawing(QPainter *target, QPainter *control, const TRect &userRect)
{
    if (FBuffered && FBufferPainter) {
        // Clips and layers left open on the buffer end with it.
        while (!FBlends.empty())
            EndTransparency(0);
        while (!FClipStack.empty() && FClipStack.back() == FBufferPainter.get())
            RemoveClip();
        FBufferPainter->end();
        FBufferPainter.reset();
        if (target && target->isActive() && FBuffer) {
            target->save();
            target->setCompositionMode(QPainter::CompositionMode_SourceOver);
            target->drawImage(QPoint(userRect.Left, userRect.Top), *FBuffer);
            target->restore();
        }
        FDirty = false;
    }
    Attach(control);
}

bool TKorCanvas3D::ShowBuffer(QPainter *target)
{
    if (FDirty || !FBuffered || !FBuffer || FBufferPainter)
        return false;
    CopyBuffer(target, 0, 0);
    return true;
}

void TKorCanvas3D::CopyBuffer(QPainter *target, int x, int y)
{
    if (!FBuffer || !target || !target->isActive())
        return;
    target->save();
    target->setCompositionMode(QPainter::CompositionMode_SourceOver);
    target->drawImage(QPoint(x, y), *FBuffer);
    target->restore();
}

void TKorCanvas3D::FreeBuffer()
{
    if (FBufferPainter) {
        if (FPainter == FBufferPainter.get())
            FPainter = nullptr;
        FBufferPainter->end();
        FBufferPainter.reset();
    }
    FBuffer.reset();
}

void TKorCanvas3D::TakeSettingsFrom(const TCanvas3D *other)
{
    if (other)
        SetMonochrome(other->Monochrome());
}
