#include "export/MetafileWriter.h"

#include "core/Windows1252.h"

#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QtEndian>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <uemf.h>
#include <uwmf.h>

namespace {

constexpr int kDpi = 96;

U_COLORREF ColorRef(const QColor &c)
{
    return colorref3_set(uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue()));
}

// A device-independent bitmap of an image: 24 bits (opaque) or 32 bits of
// premultiplied colour and alpha, rows bottom up.
struct TDib
{
    PU_BITMAPINFO Info = nullptr;
    std::vector<char> Pixels;
    int Width = 0;
    int Height = 0;
    ~TDib() { std::free(Info); }
    TDib() = default;
    TDib(const TDib &) = delete;
    TDib &operator=(const TDib &) = delete;

    void Make(const QImage &source, bool alpha)
    {
        const QImage img = source.convertToFormat(alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
        Width = img.width();
        Height = img.height();
        const int bits = alpha ? 32 : 24;
        const size_t row = ((size_t(Width) * size_t(bits) + 31) / 32) * 4;
        Pixels.assign(row * size_t(Height), 0);
        for (int y = 0; y < Height; ++y) {
            const auto *px = reinterpret_cast<const QRgb *>(img.constScanLine(y));
            char *out = Pixels.data() + row * size_t(Height - 1 - y);
            for (int x = 0; x < Width; ++x) {
                *out++ = char(qBlue(px[x]));
                *out++ = char(qGreen(px[x]));
                *out++ = char(qRed(px[x]));
                if (alpha)
                    *out++ = char(qAlpha(px[x]));
            }
        }
        std::free(Info);
        Info = bitmapinfo_set(bitmapinfoheader_set(Width, Height, 1, uint16_t(bits), U_BI_RGB,
                                                   uint32_t(Pixels.size()), 3780, 3780, 0, 0),
                              nullptr);
    }
};

// The header of a metafile record made by libUEMF, and its size.
uint32_t RecordSize(const char *record, bool enhanced)
{
    if (enhanced)
        return reinterpret_cast<const U_EMR *>(record)->nSize;
    return U_wmr_size(reinterpret_cast<const U_METARECORD *>(record));
}

} // namespace

// ---------------------------------------------------------------------------
// The engine

class TMetafileEngine : public QPaintEngine
{
public:
    TMetafileEngine(bool enhanced, int width, int height)
        : QPaintEngine(QPaintEngine::AllFeatures), FEnhanced(enhanced), FWidth(width), FHeight(height)
    {
        Start();
    }

    bool begin(QPaintDevice *) override
    {
        setActive(true);
        return true;
    }
    bool end() override
    {
        // A clip's saved state is put back before the end.
        if (!FEnhanced && FSaved) {
            Append(U_WMRRESTOREDC_set(-1));
            FSaved = false;
        }
        FClipKnown = false;
        setActive(false);
        return true;
    }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState &state) override
    {
        const DirtyFlags f = state.state();
        if (f & DirtyPen)
            FPen = state.pen();
        if (f & DirtyBrush)
            FBrush = state.brush();
        if (f & DirtyFont)
            FFont = state.font();
        if (f & DirtyBackgroundMode)
            FBgMode = state.backgroundMode();
        if (f & DirtyBackground)
            FBgColor = state.backgroundBrush().color();
        if (f & (DirtyClipPath | DirtyClipRegion | DirtyClipEnabled | DirtyTransform))
            FClipDirty = true;
        if (f & DirtyOpacity)
            FOpacity = state.opacity();
        if (f & DirtyCompositionMode)
            FComposition = state.compositionMode();
    }

    void drawPath(const QPainterPath &path) override
    {
        const QPainterPath dev = Transform().map(path);
        const bool fill = FBrush.style() != Qt::NoBrush;
        const bool stroke = FPen.style() != Qt::NoPen;
        if (!fill && !stroke)
            return;
        Prepare();
        const QList<QPolygonF> subpaths = dev.toSubpathPolygons();
        if (subpaths.isEmpty())
            return;
        SetFillMode(path.fillRule() == Qt::WindingFill);
        if (fill) {
            const QList<QPolygonF> polys = dev.toFillPolygons();
            SelectPen(true);
            SelectBrush(false);
            PolyPolygon(polys);
        }
        if (stroke) {
            SelectPen(false);
            SelectBrush(true);
            for (const QPolygonF &p : subpaths)
                Polyline(p);
        }
    }

    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override
    {
        if (count <= 0)
            return;
        QPolygonF poly;
        poly.reserve(count);
        const QTransform t = Transform();
        for (int i = 0; i < count; ++i)
            poly << t.map(points[i]);
        Prepare();
        if (mode == PolylineMode) {
            if (FPen.style() == Qt::NoPen)
                return;
            SelectPen(false);
            Polyline(poly);
            return;
        }
        if (FPen.style() == Qt::NoPen && FBrush.style() == Qt::NoBrush)
            return;
        SetFillMode(mode == WindingMode);
        SelectPen(false);
        SelectBrush(false);
        Polygon(poly);
    }
    void drawPolygon(const QPoint *points, int count, PolygonDrawMode mode) override
    {
        std::vector<QPointF> f(points, points + count);
        drawPolygon(f.data(), count, mode);
    }

    void drawRects(const QRectF *rects, int count) override
    {
        const QTransform t = Transform();
        if (!t.isAffine() || t.isRotating()) {
            for (int i = 0; i < count; ++i) {
                QPainterPath p;
                p.addRect(rects[i]);
                drawPath(p);
            }
            return;
        }
        if (FPen.style() == Qt::NoPen && FBrush.style() == Qt::NoBrush)
            return;
        Prepare();
        SelectPen(false);
        SelectBrush(false);
        for (int i = 0; i < count; ++i) {
            const QRect r = t.mapRect(rects[i]).toRect();
            // The pixels of a rectangle fill (or its outline) end one before
            // the right and bottom edges the records give.
            Box(FEnhanced ? 0 : 1, r.left(), r.top(), r.left() + r.width() + 1, r.top() + r.height() + 1);
        }
    }
    void drawRects(const QRect *rects, int count) override
    {
        for (int i = 0; i < count; ++i) {
            const QRectF r(rects[i]);
            drawRects(&r, 1);
        }
    }

    void drawEllipse(const QRectF &rect) override
    {
        const QTransform t = Transform();
        if (t.isRotating()) {
            QPainterPath p;
            p.addEllipse(rect);
            drawPath(p);
            return;
        }
        if (FPen.style() == Qt::NoPen && FBrush.style() == Qt::NoBrush)
            return;
        Prepare();
        SelectPen(false);
        SelectBrush(false);
        const QRect r = t.mapRect(rect).toRect();
        Box(2, r.left(), r.top(), r.left() + r.width() + 1, r.top() + r.height() + 1);
    }
    void drawEllipse(const QRect &rect) override { drawEllipse(QRectF(rect)); }

    void drawLines(const QLineF *lines, int count) override
    {
        if (FPen.style() == Qt::NoPen)
            return;
        Prepare();
        SelectPen(false);
        const QTransform t = Transform();
        for (int i = 0; i < count; ++i)
            Polyline(QPolygonF({t.map(lines[i].p1()), t.map(lines[i].p2())}));
    }
    void drawLines(const QLine *lines, int count) override
    {
        for (int i = 0; i < count; ++i) {
            const QLineF l(lines[i]);
            drawLines(&l, 1);
        }
    }

    void drawPoints(const QPointF *points, int count) override
    {
        if (FPen.style() == Qt::NoPen)
            return;
        Prepare();
        SelectPen(false);
        const QTransform t = Transform();
        for (int i = 0; i < count; ++i) {
            const QPointF p = t.map(points[i]);
            Polyline(QPolygonF({p, p + QPointF(1, 0)}));
        }
    }

    void drawPixmap(const QRectF &r, const QPixmap &pm, const QRectF &sr) override
    {
        drawImage(r, pm.toImage(), sr, Qt::AutoColor);
    }

    void drawImage(const QRectF &r, const QImage &image, const QRectF &sr, Qt::ImageConversionFlags) override
    {
        QImage part = image.copy(sr.toAlignedRect());
        if (part.isNull())
            return;
        Prepare();
        const QRect dest = Transform().mapRect(r).toAlignedRect();
        const bool alpha = part.hasAlphaChannel() || FOpacity < 1.0;
        if (alpha && FOpacity < 1.0) {
            part = part.convertToFormat(QImage::Format_ARGB32_Premultiplied);
            QImage faded(part.size(), QImage::Format_ARGB32_Premultiplied);
            faded.fill(Qt::transparent);
            QPainter p(&faded);
            p.setOpacity(FOpacity);
            p.drawImage(0, 0, part);
            p.end();
            part = faded;
        }
        Image(dest, part, alpha);
    }

    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        const QString text = item.text();
        if (text.isEmpty())
            return;
        Prepare();
        const QTransform t = Transform();
        const QPointF at = t.map(p);
        const double scale = std::sqrt(std::fabs(t.determinant()));
        const double angle = std::atan2(t.m12(), t.m11()) * 180.0 / M_PI;
        QFont font = item.font();
        double pixels = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * kDpi / 72.0;
        pixels *= scale;
        SelectFont(font, -std::max(1, int(std::lround(pixels))), int(std::lround(-angle * 10)));
        SetTextColor(FPen.color());
        // Advances of the characters at the size drawn.
        QFont measured = font;
        measured.setPixelSize(std::max(1, int(std::lround(pixels))));
        const QFontMetricsF fm(measured);
        Text(at, text, fm);
    }

private:
    // --- Records ----------------------------------------------------------
    void Append(char *record)
    {
        if (!record)
            return;
        const uint32_t size = RecordSize(record, FEnhanced);
        FBytes.append(record, qsizetype(size));
        std::free(record);
        ++FRecords;
        FLargest = std::max(FLargest, size);
    }
    void AppendRaw(const std::vector<uint32_t> &words)
    {
        FBytes.append(reinterpret_cast<const char *>(words.data()), qsizetype(words.size() * 4));
        ++FRecords;
    }

    int16_t C16(double v)
    {
        const long r = std::lround(v);
        if (r < -32768 || r > 32767) {
            FOverflow = true;
            return r < 0 ? int16_t(-32768) : int16_t(32767);
        }
        return int16_t(r);
    }
    static int32_t C32(double v)
    {
        return int32_t(std::clamp<double>(std::round(v), INT_MIN / 2, INT_MAX / 2));
    }

    void Start()
    {
        if (FEnhanced) {
            const U_RECTL bounds = rectl_set(point32_set(0, 0), point32_set(FWidth - 1, FHeight - 1));
            const U_RECTL frame = rectl_set(point32_set(0, 0), point32_set(int32_t(int64_t(FWidth) * 2540 / kDpi),
                                                                           int32_t(int64_t(FHeight) * 2540 / kDpi)));
            // "Dendrix", a null, "diagram", two nulls.
            static const char16_t desc[] = u"Dendrix\0diagram\0";
            std::vector<uint16_t> d(std::begin(desc), std::end(desc));
            const U_SIZEL device = sizel_set(FWidth, FHeight);
            const U_SIZEL mm = sizel_set(std::max(1, int(std::lround(FWidth * 25.4 / kDpi))),
                                         std::max(1, int(std::lround(FHeight * 25.4 / kDpi))));
            Append(U_EMRHEADER_set(bounds, frame, nullptr, U_CBSTR(d.size()), d.data(), device, mm, 0));
            FRecords = 0;
            Append(U_EMRSETBKMODE_set(U_TRANSPARENT));
            Append(U_EMRSETTEXTALIGN_set(U_TA_BASELINE));
            Append(U_EMRSETPOLYFILLMODE_set(U_WINDING));
        } else {
            Append(U_WMRSETWINDOWORG_set(point16_set(0, 0)));
            Append(U_WMRSETWINDOWEXT_set(point16_set(C16(FWidth), C16(FHeight))));
            Append(U_WMRSETBKMODE_set(U_TRANSPARENT));
            Append(U_WMRSETTEXTALIGN_set(U_TA_BASELINE));
            Append(U_WMRSETPOLYFILLMODE_set(U_WINDING));
        }
        FFillWinding = true;
    }

    // Object slots: enhanced metafiles number objects from 1 in the
    // records; old-style ones take the lowest free slot when created.
    uint32_t NewObject()
    {
        for (size_t i = 0; i < FSlots.size(); ++i)
            if (!FSlots[i]) {
                FSlots[i] = true;
                return uint32_t(i) + (FEnhanced ? 1 : 0);
            }
        FSlots.push_back(true);
        return uint32_t(FSlots.size() - 1) + (FEnhanced ? 1 : 0);
    }
    void DeleteObject(uint32_t handle)
    {
        if (handle == kNone)
            return;
        Append(FEnhanced ? U_EMRDELETEOBJECT_set(handle) : U_WMRDELETEOBJECT_set(uint16_t(handle)));
        FSlots[handle - (FEnhanced ? 1 : 0)] = false;
    }
    void Select(uint32_t handle)
    {
        Append(FEnhanced ? U_EMRSELECTOBJECT_set(handle) : U_WMRSELECTOBJECT_set(uint16_t(handle)));
    }

    struct TObject
    {
        QString Key;
        uint32_t Handle = kNone;
    };
    static constexpr uint32_t kNone = 0xFFFFFFFF;

    // Replaces the selected object of a kind when its key changed.
    template <class Make>
    void Use(TObject &current, const QString &key, Make make)
    {
        if (current.Handle != kNone && current.Key == key)
            return;
        const uint32_t handle = NewObject();
        make(handle);
        Select(handle);
        // An object a saved state will select again lives until that state
        // is put back.
        if (FSaved && std::find(FPinned.begin(), FPinned.end(), current.Handle) != FPinned.end())
            ;
        else
            DeleteObject(current.Handle);
        current.Handle = handle;
        current.Key = key;
    }

    double PenWidth() const
    {
        if (FPen.isCosmetic() || FPen.widthF() <= 0)
            return 1;
        return std::max(1.0, FPen.widthF() * std::sqrt(std::fabs(Transform().determinant())));
    }

    void SelectPen(bool none)
    {
        uint32_t style = U_PS_SOLID;
        if (none || FPen.style() == Qt::NoPen) {
            style = U_PS_NULL;
        } else {
            switch (FPen.style()) {
            case Qt::DashLine: style = U_PS_DASH; break;
            case Qt::DotLine:
            case Qt::CustomDashLine: style = U_PS_DOT; break;
            case Qt::DashDotLine: style = U_PS_DASHDOT; break;
            case Qt::DashDotDotLine: style = U_PS_DASHDOTDOT; break;
            default: break;
            }
        }
        const int width = style == U_PS_NULL ? 1 : int(std::lround(PenWidth()));
        const QColor color = FPen.brush().color();
        const QString key = QStringLiteral("%1/%2/%3").arg(style).arg(width).arg(color.rgb());
        Use(FPenObject, key, [&](uint32_t h) {
            if (FEnhanced) {
                U_POINT w;
                w.x = width;
                w.y = 0;
                Append(U_EMRCREATEPEN_set(h, logpen_set(style, w, ColorRef(color))));
            } else {
                Append(U_WMRCREATEPENINDIRECT_set(U_PEN_set(uint16_t(style), uint16_t(std::min(width, 32767)),
                                                            ColorRef(color))));
            }
        });
    }

    void SelectBrush(bool none)
    {
        const Qt::BrushStyle s = none ? Qt::NoBrush : FBrush.style();
        QColor color = FBrush.color();
        if (s == Qt::LinearGradientPattern || s == Qt::RadialGradientPattern || s == Qt::ConicalGradientPattern) {
            const QGradient *g = FBrush.gradient();
            if (g && !g->stops().isEmpty())
                color = g->stops().first().second;
        }
        if (s == Qt::TexturePattern) {
            const QImage tex = FBrush.textureImage();
            const QString key = QStringLiteral("tex/%1").arg(tex.cacheKey());
            Use(FBrushObject, key, [&](uint32_t h) {
                TDib dib;
                dib.Make(tex, false);
                if (FEnhanced)
                    Append(U_EMRCREATEDIBPATTERNBRUSHPT_set(h, U_DIB_RGB_COLORS, dib.Info, uint32_t(dib.Pixels.size()),
                                                            dib.Pixels.data()));
                else
                    Append(U_WMRDIBCREATEPATTERNBRUSH_set(U_BS_DIBPATTERNPT, U_DIB_RGB_COLORS, dib.Info,
                                                          uint32_t(dib.Pixels.size()), dib.Pixels.data(), nullptr));
            });
            return;
        }
        uint32_t style = U_BS_SOLID;
        int hatch = 0;
        switch (s) {
        case Qt::NoBrush: style = U_BS_NULL; break;
        case Qt::HorPattern: style = U_BS_HATCHED; hatch = U_HS_HORIZONTAL; break;
        case Qt::VerPattern: style = U_BS_HATCHED; hatch = U_HS_VERTICAL; break;
        case Qt::CrossPattern: style = U_BS_HATCHED; hatch = U_HS_CROSS; break;
        case Qt::BDiagPattern: style = U_BS_HATCHED; hatch = U_HS_BDIAGONAL; break;
        case Qt::FDiagPattern: style = U_BS_HATCHED; hatch = U_HS_FDIAGONAL; break;
        case Qt::DiagCrossPattern: style = U_BS_HATCHED; hatch = U_HS_DIAGCROSS; break;
        default: break;
        }
        const QString key = QStringLiteral("%1/%2/%3").arg(style).arg(hatch).arg(color.rgb());
        Use(FBrushObject, key, [&](uint32_t h) {
            if (FEnhanced)
                Append(U_EMRCREATEBRUSHINDIRECT_set(h, logbrush_set(style, ColorRef(color), hatch)));
            else
                Append(U_WMRCREATEBRUSHINDIRECT_set(U_WLOGBRUSH_set(uint16_t(style), ColorRef(color), uint16_t(hatch))));
        });
    }

    void SelectFont(const QFont &font, int height, int escapement)
    {
        const int weight = std::clamp(int(font.weight()), 100, 900);
        const QString key = QStringLiteral("%1/%2/%3/%4/%5%6%7")
                                .arg(font.family())
                                .arg(height)
                                .arg(escapement)
                                .arg(weight)
                                .arg(int(font.italic()))
                                .arg(int(font.underline()))
                                .arg(int(font.strikeOut()));
        Use(FFontObject, key, [&](uint32_t h) {
            if (FEnhanced) {
                uint16_t face[32] = {};
                const QString family = font.family().left(31);
                for (int i = 0; i < family.size(); ++i)
                    face[i] = family.at(i).unicode();
                U_LOGFONT lf = logfont_set(height, 0, escapement, escapement, weight, font.italic(), font.underline(),
                                           font.strikeOut(), U_DEFAULT_CHARSET, U_OUT_DEFAULT_PRECIS,
                                           U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY, U_DEFAULT_PITCH, face);
                Append(U_EMREXTCREATEFONTINDIRECTW_set(h, reinterpret_cast<const char *>(&lf), nullptr));
            } else {
                QByteArray face;
                if (!ToWindows1252(font.family().left(31), face))
                    face = font.family().left(31).toLatin1();
                U_FONT *f = U_FONT_set(int16_t(std::clamp(height, -32768, 32767)), 0, int16_t(escapement),
                                       int16_t(escapement), int16_t(weight), font.italic(), font.underline(),
                                       font.strikeOut(), U_ANSI_CHARSET, U_OUT_DEFAULT_PRECIS, U_CLIP_DEFAULT_PRECIS,
                                       U_DEFAULT_QUALITY, U_DEFAULT_PITCH, face.data());
                Append(U_WMRCREATEFONTINDIRECT_set(f));
                std::free(f);
            }
        });
    }

    void SetTextColor(const QColor &c)
    {
        if (FTextColorSet && FTextColor == c.rgb())
            return;
        FTextColor = c.rgb();
        FTextColorSet = true;
        Append(FEnhanced ? U_EMRSETTEXTCOLOR_set(ColorRef(c)) : U_WMRSETTEXTCOLOR_set(ColorRef(c)));
    }

    void SetFillMode(bool winding)
    {
        if (winding == FFillWinding)
            return;
        FFillWinding = winding;
        const uint32_t mode = winding ? U_WINDING : U_ALTERNATE;
        Append(FEnhanced ? U_EMRSETPOLYFILLMODE_set(mode) : U_WMRSETPOLYFILLMODE_set(uint16_t(mode)));
    }

    // Background mode, raster operation and clip, before every drawing.
    void Prepare()
    {
        const bool opaque = FBgMode == Qt::OpaqueMode;
        if (opaque != FOpaqueSet) {
            FOpaqueSet = opaque;
            Append(FEnhanced ? U_EMRSETBKMODE_set(opaque ? U_OPAQUE : U_TRANSPARENT)
                             : U_WMRSETBKMODE_set(opaque ? U_OPAQUE : U_TRANSPARENT));
        }
        if (opaque && (!FBgColorSet || FBgColorRgb != FBgColor.rgb())) {
            FBgColorSet = true;
            FBgColorRgb = FBgColor.rgb();
            Append(FEnhanced ? U_EMRSETBKCOLOR_set(ColorRef(FBgColor)) : U_WMRSETBKCOLOR_set(ColorRef(FBgColor)));
        }
        uint32_t rop = U_R2_COPYPEN;
        switch (FComposition) {
        case QPainter::RasterOp_SourceXorDestination: rop = U_R2_XORPEN; break;
        case QPainter::RasterOp_NotSourceXorDestination: rop = U_R2_NOTXORPEN; break;
        case QPainter::RasterOp_NotDestination: rop = 6; /* R2_NOT */ break;
        case QPainter::RasterOp_NotSource: rop = 4; /* R2_NOTCOPYPEN */ break;
        case QPainter::RasterOp_SourceAndDestination: rop = 9; /* R2_MASKPEN */ break;
        case QPainter::RasterOp_SourceOrDestination: rop = 15; /* R2_MERGEPEN */ break;
        default: break;
        }
        if (rop != FRop) {
            FRop = rop;
            Append(FEnhanced ? U_EMRSETROP2_set(rop) : U_WMRSETROP2_set(uint16_t(rop)));
        }
        if (FClipDirty)
            UpdateClip();
    }

    QTransform Transform() const { return painter() ? painter()->combinedTransform() : QTransform(); }

    void UpdateClip()
    {
        FClipDirty = false;
        QPainter *p = painter();
        const bool clipped = p && p->hasClipping();
        QPainterPath dev;
        if (clipped)
            dev = p->combinedTransform().map(p->clipPath());
        const QRectF bounds = dev.boundingRect();
        QPainterPath asRect;
        asRect.addRect(bounds);
        const QPolygonF devPolygon = dev.toFillPolygon();
        const bool isRect = clipped && devPolygon == asRect.toFillPolygon();
        const QString key = !clipped ? QString()
                                     : QStringLiteral("%1,%2,%3,%4/%5")
                                           .arg(bounds.left())
                                           .arg(bounds.top())
                                           .arg(bounds.width())
                                           .arg(bounds.height())
                                           .arg(isRect ? 0 : qHashBits(devPolygon.constData(), size_t(devPolygon.size()) * sizeof(QPointF)));
        if (key == FClipKey && FClipKnown)
            return;
        FClipKnown = true;
        FClipKey = key;
        const QRect r = bounds.toAlignedRect();
        if (FEnhanced) {
            // Back to no clip, then the new one.
            AppendRaw({75 /* EMR_EXTSELECTCLIPRGN */, 16, 0, U_RGN_COPY});
            if (!clipped)
                return;
            if (isRect) {
                Append(U_EMRINTERSECTCLIPRECT_set(
                    rectl_set(point32_set(r.left(), r.top()), point32_set(r.right() + 1, r.bottom() + 1))));
                return;
            }
            Append(U_EMRBEGINPATH_set());
            const QList<QPolygonF> polys = dev.toFillPolygons();
            PolyPolygon(polys);
            Append(U_EMRENDPATH_set());
            Append(U_EMRSELECTCLIPPATH_set(U_RGN_COPY));
            return;
        }
        // Old-style metafiles have no path clips: a saved state is put back
        // to forget a clip, and a clip is its bounding rectangle. The
        // objects selected when it was saved stay alive until then.
        if (FSaved) {
            Append(U_WMRRESTOREDC_set(-1));
            FSaved = false;
            for (TObject *o : {&FPenObject, &FBrushObject, &FFontObject})
                if (o->Handle != kNone)
                    Select(o->Handle);
            for (uint32_t h : FPinned)
                if (h != FPenObject.Handle && h != FBrushObject.Handle && h != FFontObject.Handle)
                    DeleteObject(h);
            FPinned.clear();
            FTextColorSet = false;
            FOpaqueSet = false;
            FBgColorSet = false;
            FRop = U_R2_COPYPEN;
            Append(U_WMRSETBKMODE_set(U_TRANSPARENT));
            const bool winding = FFillWinding;
            FFillWinding = true;
            SetFillMode(winding);
        }
        if (!clipped)
            return;
        Append(U_WMRSAVEDC_set());
        FSaved = true;
        FPinned = {FPenObject.Handle, FBrushObject.Handle, FFontObject.Handle};
        Append(U_WMRINTERSECTCLIPRECT_set(
            U_RECT16_set(point16_set(C16(r.left()), C16(r.top())), point16_set(C16(r.right() + 1), C16(r.bottom() + 1)))));
    }

    // --- Geometry ---------------------------------------------------------
    U_RECTL Bounds(const QPolygonF &p) const
    {
        const QRect b = p.boundingRect().toAlignedRect();
        return rectl_set(point32_set(b.left(), b.top()), point32_set(b.right(), b.bottom()));
    }

    void Polyline(const QPolygonF &poly)
    {
        if (poly.size() < 2)
            return;
        if (FEnhanced) {
            std::vector<U_POINTL> pts;
            for (const QPointF &q : poly)
                pts.push_back(point32_set(C32(q.x()), C32(q.y())));
            Append(U_EMRPOLYLINE_set(Bounds(poly), uint32_t(pts.size()), pts.data()));
        } else {
            for (qsizetype start = 0; start + 1 < poly.size(); start += 8000) {
                std::vector<U_POINT16> pts;
                for (qsizetype i = start; i < std::min(poly.size(), start + 8001); ++i)
                    pts.push_back(point16_set(C16(poly[i].x()), C16(poly[i].y())));
                Append(U_WMRPOLYLINE_set(uint16_t(pts.size()), pts.data()));
            }
        }
    }

    void Polygon(const QPolygonF &poly)
    {
        if (poly.size() < 2)
            return;
        if (FEnhanced) {
            std::vector<U_POINTL> pts;
            for (const QPointF &q : poly)
                pts.push_back(point32_set(C32(q.x()), C32(q.y())));
            Append(U_EMRPOLYGON_set(Bounds(poly), uint32_t(pts.size()), pts.data()));
        } else {
            std::vector<U_POINT16> pts;
            for (qsizetype i = 0; i < std::min<qsizetype>(poly.size(), 16000); ++i)
                pts.push_back(point16_set(C16(poly[i].x()), C16(poly[i].y())));
            Append(U_WMRPOLYGON_set(uint16_t(pts.size()), pts.data()));
        }
    }

    void PolyPolygon(const QList<QPolygonF> &polys)
    {
        std::vector<uint32_t> counts;
        QPolygonF all;
        for (const QPolygonF &p : polys) {
            if (p.size() < 2)
                continue;
            counts.push_back(uint32_t(p.size()));
            all << p;
        }
        if (counts.empty())
            return;
        if (FEnhanced) {
            std::vector<U_POINTL> pts;
            for (const QPointF &q : all)
                pts.push_back(point32_set(C32(q.x()), C32(q.y())));
            Append(U_EMRPOLYPOLYGON_set(Bounds(all), uint32_t(counts.size()), counts.data(), uint32_t(pts.size()),
                                        pts.data()));
        } else {
            std::vector<uint16_t> c16;
            std::vector<U_POINT16> pts;
            for (uint32_t c : counts)
                c16.push_back(uint16_t(std::min<uint32_t>(c, 16000)));
            qsizetype at = 0;
            for (size_t k = 0; k < counts.size(); ++k) {
                for (uint32_t i = 0; i < c16[k]; ++i)
                    pts.push_back(point16_set(C16(all[at + i].x()), C16(all[at + i].y())));
                at += counts[k];
            }
            Append(U_WMRPOLYPOLYGON_set(uint16_t(c16.size()), c16.data(), pts.data()));
        }
    }

    // kind: 0 rectangle (enhanced), 1 rectangle (old-style), 2 ellipse.
    void Box(int kind, int l, int t, int r, int b)
    {
        if (FEnhanced) {
            const U_RECTL box = rectl_set(point32_set(l, t), point32_set(r, b));
            Append(kind == 2 ? U_EMRELLIPSE_set(box) : U_EMRRECTANGLE_set(box));
        } else {
            const U_RECT16 box = U_RECT16_set(point16_set(C16(l), C16(t)), point16_set(C16(r), C16(b)));
            Append(kind == 2 ? U_WMRELLIPSE_set(box) : U_WMRRECTANGLE_set(box));
        }
    }

    void Image(const QRect &dest, const QImage &image, bool alpha)
    {
        TDib dib;
        if (FEnhanced) {
            dib.Make(image, alpha);
            const U_RECTL bounds = rectl_set(point32_set(dest.left(), dest.top()), point32_set(dest.right(), dest.bottom()));
            const U_POINTL d = point32_set(dest.left(), dest.top());
            const U_POINTL cd = point32_set(dest.width(), dest.height());
            const U_POINTL s = point32_set(0, 0);
            const U_POINTL cs = point32_set(dib.Width, dib.Height);
            if (alpha) {
                U_BLEND blend{0, 0, 255, 1 /* AC_SRC_ALPHA */};
                Append(U_EMRALPHABLEND_set(bounds, d, cd, s, cs, xform_set(1, 0, 0, 1, 0, 0), colorref3_set(255, 255, 255),
                                           U_DIB_RGB_COLORS, blend, dib.Info, uint32_t(dib.Pixels.size()),
                                           dib.Pixels.data()));
            } else {
                Append(U_EMRSTRETCHDIBITS_set(bounds, d, cd, s, cs, U_DIB_RGB_COLORS, U_SRCCOPY, dib.Info,
                                              uint32_t(dib.Pixels.size()), dib.Pixels.data()));
            }
            return;
        }
        // No alpha in old-style metafiles: over white.
        QImage flat = image;
        if (alpha) {
            flat = QImage(image.size(), QImage::Format_RGB32);
            flat.fill(Qt::white);
            QPainter p(&flat);
            p.drawImage(0, 0, image);
        }
        dib.Make(flat, false);
        Append(U_WMRSTRETCHDIB_set(point16_set(C16(dest.left()), C16(dest.top())),
                                   point16_set(C16(dest.width()), C16(dest.height())), point16_set(0, 0),
                                   point16_set(C16(dib.Width), C16(dib.Height)), U_DIB_RGB_COLORS, U_SRCCOPY, dib.Info,
                                   uint32_t(dib.Pixels.size()), dib.Pixels.data()));
    }

    void Text(const QPointF &at, const QString &text, const QFontMetricsF &fm)
    {
        const int x = C32(at.x()), y = C32(at.y());
        if (FEnhanced) {
            std::vector<uint16_t> chars;
            std::vector<uint32_t> dx;
            for (qsizetype i = 0; i < text.size(); ++i) {
                chars.push_back(text.at(i).unicode());
                const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size();
                dx.push_back(uint32_t(std::lround(fm.horizontalAdvance(text.mid(i, pair ? 2 : 1)))));
                if (pair) {
                    chars.push_back(text.at(++i).unicode());
                    dx.push_back(0);
                }
            }
            const int width = int(std::lround(fm.horizontalAdvance(text)));
            const U_RECTL rect = rectl_set(point32_set(0, 0), point32_set(-1, -1));
            char *emrtext = emrtext_set(point32_set(x, y), U_NUM_STR(chars.size()), 2, chars.data(), U_ETO_NONE,
                                        rect, dx.data());
            const U_RECTL bounds = rectl_set(point32_set(x, C32(y - fm.ascent())),
                                             point32_set(x + width, C32(y + fm.descent())));
            Append(U_EMREXTTEXTOUTW_set(bounds, U_GM_COMPATIBLE, 1.0f, 1.0f, reinterpret_cast<PU_EMRTEXT>(emrtext)));
            std::free(emrtext);
            return;
        }
        QByteArray bytes;
        QString plain = text;
        if (!ToWindows1252(plain, bytes)) {
            for (QChar &c : plain) {
                QByteArray one;
                if (!ToWindows1252(QString(c), one))
                    c = QLatin1Char('?');
            }
            ToWindows1252(plain, bytes);
        }
        bytes = bytes.left(32000);
        std::vector<int16_t> dx;
        for (qsizetype i = 0; i < bytes.size(); ++i)
            dx.push_back(int16_t(std::lround(fm.horizontalAdvance(plain.at(std::min(i, plain.size() - 1))))));
        const U_RECT16 none = U_RECT16_set(point16_set(0, 0), point16_set(0, 0));
        Append(U_WMREXTTEXTOUT_set(point16_set(C16(x), C16(y)), int16_t(bytes.size()), U_ETO_NONE, bytes.constData(),
                                   dx.data(), none));
    }

public:
    QByteArray Finish() const
    {
        QByteArray out = FBytes;
        if (FEnhanced) {
            // The end record, then the totals in the header.
            const uint32_t eof[5] = {14, 20, 0, 16, 20};
            out.append(reinterpret_cast<const char *>(eof), sizeof eof);
            qToLittleEndian<uint32_t>(uint32_t(out.size()), out.data() + 48);
            qToLittleEndian<uint32_t>(uint32_t(FRecords + 2), out.data() + 52);
            qToLittleEndian<uint16_t>(uint16_t(std::min<size_t>(FSlots.size() + 1, 65535)), out.data() + 56);
            return out;
        }
        // Placeable header (22 bytes), the metafile header, the records
        // and the end record.
        QByteArray body = out;
        const uint16_t eof[3] = {3, 0, 0};
        body.append(reinterpret_cast<const char *>(eof), sizeof eof);
        QByteArray file(22 + 18, '\0');
        char *p = file.data();
        qToLittleEndian<uint32_t>(0x9AC6CDD7u, p);
        qToLittleEndian<int16_t>(0, p + 6);
        qToLittleEndian<int16_t>(0, p + 8);
        qToLittleEndian<int16_t>(int16_t(std::min(FWidth, 32767)), p + 10);
        qToLittleEndian<int16_t>(int16_t(std::min(FHeight, 32767)), p + 12);
        qToLittleEndian<uint16_t>(kDpi, p + 14);
        uint16_t sum = 0;
        for (int i = 0; i < 10; ++i)
            sum ^= qFromLittleEndian<uint16_t>(p + 2 * i);
        qToLittleEndian<uint16_t>(sum, p + 20);
        char *h = p + 22;
        qToLittleEndian<uint16_t>(1, h);      // in a file
        qToLittleEndian<uint16_t>(9, h + 2);  // header words
        qToLittleEndian<uint16_t>(0x300, h + 4);
        qToLittleEndian<uint32_t>(uint32_t((18 + body.size()) / 2), h + 6);
        qToLittleEndian<uint16_t>(uint16_t(std::min<size_t>(FSlots.size(), 65535)), h + 10);
        qToLittleEndian<uint32_t>(std::max<uint32_t>(FLargest, 6) / 2, h + 12);
        qToLittleEndian<uint16_t>(0, h + 16);
        file.append(body);
        return file;
    }

    bool Overflowed() const { return FOverflow; }
    int Records() const { return FRecords; }

private:
    bool FEnhanced;
    int FWidth;
    int FHeight;
    QByteArray FBytes;
    int FRecords = 0;
    uint32_t FLargest = 0;
    bool FOverflow = false;
    std::vector<bool> FSlots;
    TObject FPenObject, FBrushObject, FFontObject;
    std::vector<uint32_t> FPinned;

    QPen FPen;
    QBrush FBrush = QBrush(Qt::NoBrush);
    QFont FFont;
    Qt::BGMode FBgMode = Qt::TransparentMode;
    QColor FBgColor = Qt::white;
    qreal FOpacity = 1.0;
    QPainter::CompositionMode FComposition = QPainter::CompositionMode_SourceOver;
    bool FClipDirty = true;
    bool FClipKnown = false;
    QString FClipKey;
    bool FSaved = false;

    QRgb FTextColor = 0;
    bool FTextColorSet = false;
    bool FOpaqueSet = false;
    QRgb FBgColorRgb = 0;
    bool FBgColorSet = false;
    uint32_t FRop = U_R2_COPYPEN;
    bool FFillWinding = true;
};

// ---------------------------------------------------------------------------
// The device

TMetafileDevice::TMetafileDevice(int width, int height, bool enhanced)
    : FWidth(std::max(1, width)), FHeight(std::max(1, height)), FEnhanced(enhanced),
      FEngine(std::make_unique<TMetafileEngine>(enhanced, std::max(1, width), std::max(1, height)))
{
}

TMetafileDevice::~TMetafileDevice() = default;

bool TMetafileDevice::Overflowed() const
{
    return !FEnhanced && (FEngine->Overflowed() || FWidth > 32767 || FHeight > 32767);
}

QByteArray TMetafileDevice::Bytes() const
{
    return FEngine->Finish();
}

int TMetafileDevice::RecordCount() const
{
    return FEngine->Records();
}

QPaintEngine *TMetafileDevice::paintEngine() const
{
    return FEngine.get();
}

int TMetafileDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth: return FWidth;
    case PdmHeight: return FHeight;
    case PdmWidthMM: return std::max(1, int(std::lround(FWidth * 25.4 / kDpi)));
    case PdmHeightMM: return std::max(1, int(std::lround(FHeight * 25.4 / kDpi)));
    case PdmNumColors: return INT_MAX;
    case PdmDepth: return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return kDpi;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
    }
    return 0;
}

QByteArray WmfWithBitmap(const QImage &image, int width, int height)
{
    TMetafileDevice wmf(width, height, false);
    {
        QPainter p(&wmf);
        p.drawImage(QRect(0, 0, std::min(width, 32767), std::min(height, 32767)), image);
    }
    return wmf.Bytes();
}
