// A walk through the records of enhanced and old-style metafiles, written
// from the formats' published record layouts (not from the writer), that
// draws what the records say with QPainter. The tests compare its picture
// with the diagram on the screen and count the records by type.

#pragma once

#include <QFont>
#include <QImage>
#include <QMap>
#include <QPainter>
#include <QPainterPath>
#include <QtEndian>
#include <vector>

class TMetafilePlayer
{
public:
    // Record types met (enhanced: the record type; old-style: the function
    // number), in order.
    std::vector<uint32_t> Types;
    QStringList Texts;
    bool Ok = true;
    QString Problem;

    QImage Play(const QByteArray &file, bool enhanced, int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        FPainter = &p;
        if (enhanced)
            PlayEnhanced(file);
        else
            PlayOld(file);
        p.end();
        return image;
    }

    int Count(uint32_t type) const { return int(std::count(Types.begin(), Types.end(), type)); }

private:
    struct TObj
    {
        int Kind = 0; // 1 pen, 2 brush, 3 font
        QPen Pen;
        QBrush Brush;
        QFont Font;
        int Escapement = 0;
    };

    QPainter *FPainter = nullptr;
    QMap<uint32_t, TObj> FObjects;
    QPen FPen = QPen(Qt::black);
    QBrush FBrush = QBrush(Qt::white);
    TObj FFont;
    QColor FTextColor = Qt::black;
    Qt::FillRule FFill = Qt::OddEvenFill;
    bool FInPath = false;
    QPainterPath FPath;
    std::vector<std::pair<QPen, QBrush>> FSaved;

    void Fail(const QString &why)
    {
        if (Ok)
            Problem = why;
        Ok = false;
    }

    static uint32_t U32(const char *p) { return qFromLittleEndian<uint32_t>(p); }
    static int32_t I32(const char *p) { return qFromLittleEndian<int32_t>(p); }
    static uint16_t U16(const char *p) { return qFromLittleEndian<uint16_t>(p); }
    static int16_t I16(const char *p) { return qFromLittleEndian<int16_t>(p); }
    static QColor Ref(uint32_t c) { return QColor(c & 255, (c >> 8) & 255, (c >> 16) & 255); }

    static QPen PenOf(uint32_t style, int width, QColor color)
    {
        if ((style & 15) == 5)
            return QPen(Qt::NoPen);
        QPen pen(color, std::max(1, width));
        const Qt::PenStyle styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine, Qt::DashDotDotLine};
        pen.setStyle(styles[std::min<uint32_t>(style & 15, 4)]);
        if (width <= 1)
            pen.setCosmetic(true);
        return pen;
    }
    static QBrush BrushOf(uint32_t style, QColor color, uint32_t hatch)
    {
        if (style == 1)
            return QBrush(Qt::NoBrush);
        if (style == 2) {
            const Qt::BrushStyle h[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern, Qt::BDiagPattern,
                                        Qt::CrossPattern, Qt::DiagCrossPattern};
            return QBrush(color, h[std::min<uint32_t>(hatch, 5)]);
        }
        return QBrush(color);
    }

    // A device-independent bitmap: header at `bmi`, pixels at `bits`.
    static QImage Dib(const char *bmi, const char *bits, size_t bitsSize)
    {
        const int w = I32(bmi + 4), h = I32(bmi + 8), bpp = U16(bmi + 14);
        if (w <= 0 || h == 0 || (bpp != 24 && bpp != 32))
            return QImage();
        const int rows = std::abs(h);
        const size_t stride = ((size_t(w) * bpp + 31) / 32) * 4;
        if (stride * rows > bitsSize)
            return QImage();
        QImage img(w, rows, bpp == 32 ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
        for (int y = 0; y < rows; ++y) {
            const uchar *src = reinterpret_cast<const uchar *>(bits) + stride * size_t(h > 0 ? rows - 1 - y : y);
            auto *dst = reinterpret_cast<QRgb *>(img.scanLine(y));
            for (int x = 0; x < w; ++x) {
                const uchar *px = src + x * (bpp / 8);
                dst[x] = bpp == 32 ? qRgba(px[2], px[1], px[0], px[3]) : qRgb(px[2], px[1], px[0]);
            }
        }
        return img;
    }

    void Shape(const QPolygonF &poly, bool closed)
    {
        if (FInPath) {
            if (closed)
                FPath.addPolygon(poly), FPath.closeSubpath();
            return;
        }
        FPainter->setPen(FPen);
        FPainter->setBrush(closed ? FBrush : QBrush(Qt::NoBrush));
        if (closed)
            FPainter->drawPolygon(poly, FFill);
        else
            FPainter->drawPolyline(poly);
    }

    // Rectangles and ellipses leave out the right and bottom edges.
    void Box(int l, int t, int r, int b, bool ellipse)
    {
        FPainter->setPen(FPen);
        FPainter->setBrush(FBrush);
        const QRect rect(l, t, r - l - 1, b - t - 1);
        if (FPen.style() == Qt::NoPen) {
            if (ellipse)
                FPainter->drawEllipse(rect);
            else
                FPainter->fillRect(QRect(l, t, r - l - 1, b - t - 1), FBrush);
            return;
        }
        if (ellipse)
            FPainter->drawEllipse(rect);
        else
            FPainter->drawRect(rect);
    }

    void Text(int x, int y, const QString &text)
    {
        Texts << text;
        FPainter->save();
        FPainter->setPen(FTextColor);
        FPainter->setFont(FFont.Font);
        FPainter->translate(x, y);
        FPainter->rotate(-FFont.Escapement / 10.0);
        FPainter->drawText(QPointF(0, 0), text);
        FPainter->restore();
    }

    void Select(uint32_t ih)
    {
        if (!FObjects.contains(ih))
            return Fail(QStringLiteral("selected object %1 does not exist").arg(ih));
        const TObj &o = FObjects[ih];
        if (o.Kind == 1)
            FPen = o.Pen;
        else if (o.Kind == 2)
            FBrush = o.Brush;
        else
            FFont = o;
    }

    TObj FontOf(int height, int escapement, int weight, bool italic, bool underline, const QString &face)
    {
        TObj f;
        f.Kind = 3;
        f.Font = QFont(face);
        f.Font.setPixelSize(std::max(1, std::abs(height)));
        f.Font.setWeight(QFont::Weight(std::clamp(weight, 100, 900)));
        f.Font.setItalic(italic);
        f.Font.setUnderline(underline);
        f.Font.setStyleStrategy(QFont::NoAntialias);
        f.Escapement = escapement;
        return f;
    }

    void PlayEnhanced(const QByteArray &file)
    {
        const char *d = file.constData();
        size_t at = 0;
        if (file.size() < 88 || U32(d) != 1 || U32(d + 40) != 0x464D4520)
            return Fail(QStringLiteral("no enhanced metafile header"));
        if (U32(d + 48) != uint32_t(file.size()))
            return Fail(QStringLiteral("the header's size is not the file's"));
        const uint32_t records = U32(d + 52);
        uint32_t seen = 0;
        while (at + 8 <= size_t(file.size())) {
            const char *r = d + at;
            const uint32_t type = U32(r), size = U32(r + 4);
            if (size < 8 || size % 4 || at + size > size_t(file.size()))
                return Fail(QStringLiteral("record %1 of type %2 has a bad size").arg(seen).arg(type));
            Types.push_back(type);
            ++seen;
            switch (type) {
            case 3:   // polygon
            case 4: { // polyline
                const uint32_t n = U32(r + 24);
                QPolygonF poly;
                for (uint32_t i = 0; i < n; ++i)
                    poly << QPointF(I32(r + 28 + 8 * i), I32(r + 32 + 8 * i));
                Shape(poly, type == 3);
                break;
            }
            case 8: { // polypolygon
                const uint32_t polys = U32(r + 24);
                const char *pts = r + 32 + 4 * polys;
                for (uint32_t k = 0; k < polys; ++k) {
                    const uint32_t n = U32(r + 32 + 4 * k);
                    QPolygonF poly;
                    for (uint32_t i = 0; i < n; ++i, pts += 8)
                        poly << QPointF(I32(pts), I32(pts + 4));
                    Shape(poly, true);
                }
                break;
            }
            case 42:
            case 43: Box(I32(r + 8), I32(r + 12), I32(r + 16), I32(r + 20), type == 42); break;
            case 37: Select(U32(r + 8)); break;
            case 38: {
                TObj o;
                o.Kind = 1;
                o.Pen = PenOf(U32(r + 12), I32(r + 16), Ref(U32(r + 24)));
                FObjects[U32(r + 8)] = o;
                break;
            }
            case 39: {
                TObj o;
                o.Kind = 2;
                o.Brush = BrushOf(U32(r + 12), Ref(U32(r + 16)), U32(r + 20));
                FObjects[U32(r + 8)] = o;
                break;
            }
            case 94: { // DIB pattern brush
                TObj o;
                o.Kind = 2;
                o.Brush = QBrush(Dib(r + U32(r + 16), r + U32(r + 24), U32(r + 28)));
                FObjects[U32(r + 8)] = o;
                break;
            }
            case 82: {
                QString face;
                for (int i = 0; i < 32 && U16(r + 40 + 2 * i); ++i)
                    face += QChar(U16(r + 40 + 2 * i));
                FObjects[U32(r + 8)] = FontOf(I32(r + 12), I32(r + 20), I32(r + 28), r[32], r[33], face);
                break;
            }
            case 40:
                if (!FObjects.remove(U32(r + 8)))
                    Fail(QStringLiteral("deleted object %1 does not exist").arg(U32(r + 8)));
                break;
            case 19: FFill = U32(r + 8) == 2 ? Qt::WindingFill : Qt::OddEvenFill; break;
            case 24: FTextColor = Ref(U32(r + 8)); break;
            case 30:
                FPainter->setClipRect(QRect(QPoint(I32(r + 8), I32(r + 12)), QPoint(I32(r + 16) - 1, I32(r + 20) - 1)),
                                      FPainter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
                break;
            case 75: FPainter->setClipping(false); break;
            case 59: FInPath = true; FPath = QPainterPath(); break;
            case 60: FInPath = false; break;
            case 67: FPainter->setClipPath(FPath); break;
            case 81: { // stretched bitmap
                const QImage img = Dib(r + U32(r + 48), r + U32(r + 56), U32(r + 60));
                FPainter->drawImage(QRect(I32(r + 24), I32(r + 28), I32(r + 72), I32(r + 76)), img);
                break;
            }
            case 114: { // alpha blend
                const QImage img = Dib(r + U32(r + 84), r + U32(r + 92), U32(r + 96));
                FPainter->drawImage(QRect(I32(r + 24), I32(r + 28), I32(r + 32), I32(r + 36)), img);
                break;
            }
            case 84: { // text
                const uint32_t n = U32(r + 44), off = U32(r + 48);
                QString text;
                for (uint32_t i = 0; i < n; ++i)
                    text += QChar(U16(r + off + 2 * i));
                Text(I32(r + 36), I32(r + 40), text);
                break;
            }
            case 14: // end
                if (seen != records)
                    Fail(QStringLiteral("%1 records, the header says %2").arg(seen).arg(records));
                return;
            default: break;
            }
            at += size;
        }
        Fail(QStringLiteral("no end record"));
    }

    void PlayOld(const QByteArray &file)
    {
        const char *d = file.constData();
        if (file.size() < 40 || U32(d) != 0x9AC6CDD7u)
            return Fail(QStringLiteral("no placeable header"));
        uint16_t sum = 0;
        for (int i = 0; i < 10; ++i)
            sum ^= U16(d + 2 * i);
        if (sum != U16(d + 20))
            return Fail(QStringLiteral("bad checksum"));
        const char *h = d + 22;
        if (U16(h + 2) != 9 || size_t(U32(h + 6)) * 2 != size_t(file.size()) - 22)
            return Fail(QStringLiteral("the header's size is not the file's"));
        const int objectSlots = U16(h + 10);
        std::vector<bool> used(size_t(objectSlots), false);
        size_t at = 22 + 18;
        while (at + 6 <= size_t(file.size())) {
            const char *r = d + at;
            const size_t size = size_t(U32(r)) * 2;
            const uint16_t fn = U16(r + 4);
            if (size < 6 || at + size > size_t(file.size()))
                return Fail(QStringLiteral("record %1 has a bad size").arg(fn, 0, 16));
            Types.push_back(fn);
            const char *a = r + 6;
            auto create = [&](const TObj &o) {
                for (int i = 0; i < objectSlots; ++i)
                    if (!used[size_t(i)]) {
                        used[size_t(i)] = true;
                        FObjects[uint32_t(i)] = o;
                        return;
                    }
                Fail(QStringLiteral("more objects than the header's %1").arg(objectSlots));
            };
            switch (fn) {
            case 0x0000: return;
            case 0x0324:
            case 0x0325: {
                const int n = I16(a);
                QPolygonF poly;
                for (int i = 0; i < n; ++i)
                    poly << QPointF(I16(a + 2 + 4 * i), I16(a + 4 + 4 * i));
                Shape(poly, fn == 0x0324);
                break;
            }
            case 0x0538: {
                const int polys = I16(a);
                const char *pts = a + 2 + 2 * polys;
                for (int k = 0; k < polys; ++k) {
                    QPolygonF poly;
                    for (int i = 0; i < I16(a + 2 + 2 * k); ++i, pts += 4)
                        poly << QPointF(I16(pts), I16(pts + 2));
                    Shape(poly, true);
                }
                break;
            }
            case 0x041B:
            case 0x0418: Box(I16(a + 6), I16(a + 4), I16(a + 2), I16(a), fn == 0x0418); break;
            case 0x02FA: {
                TObj o;
                o.Kind = 1;
                o.Pen = PenOf(U16(a), I16(a + 2), Ref(U32(a + 6)));
                create(o);
                break;
            }
            case 0x02FC: {
                TObj o;
                o.Kind = 2;
                o.Brush = BrushOf(U16(a), Ref(U32(a + 2)), U16(a + 6));
                create(o);
                break;
            }
            case 0x0142: {
                TObj o;
                o.Kind = 2;
                o.Brush = QBrush(Dib(a + 4, a + 4 + U32(a + 4) + 0, size - 10 - U32(a + 4)));
                create(o);
                break;
            }
            case 0x02FB: {
                QString face = QString::fromLatin1(a + 18);
                create(FontOf(I16(a), I16(a + 4), I16(a + 8), a[10], a[11], face));
                break;
            }
            case 0x012D: Select(U16(a)); break;
            case 0x01F0: {
                const uint16_t i = U16(a);
                if (i >= used.size() || !used[i])
                    Fail(QStringLiteral("deleted object %1 does not exist").arg(i));
                else
                    used[i] = false, FObjects.remove(i);
                break;
            }
            case 0x0106: FFill = U16(a) == 2 ? Qt::WindingFill : Qt::OddEvenFill; break;
            case 0x0209: FTextColor = Ref(U32(a)); break;
            case 0x001E:
                FPainter->save();
                FSaved.emplace_back(FPen, FBrush);
                break;
            case 0x0127:
                FPainter->restore();
                if (!FSaved.empty()) {
                    FPen = FSaved.back().first;
                    FBrush = FSaved.back().second;
                    FSaved.pop_back();
                }
                break;
            case 0x0416:
                FPainter->setClipRect(QRect(QPoint(I16(a + 6), I16(a + 4)), QPoint(I16(a + 2) - 1, I16(a) - 1)),
                                      FPainter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
                break;
            case 0x0F43: {
                const QImage img = Dib(a + 22, a + 22 + U32(a + 22), size - 28 - U32(a + 22));
                FPainter->drawImage(QRect(I16(a + 20), I16(a + 18), I16(a + 16), I16(a + 14)), img);
                break;
            }
            case 0x0A32: {
                const int y = I16(a), x = I16(a + 2), n = I16(a + 4), opts = U16(a + 6);
                const char *s = a + 8 + ((opts & 6) ? 8 : 0);
                QString text;
                for (int i = 0; i < n; ++i)
                    text += QChar(uchar(s[i])); // the tests' texts are ASCII
                Text(x, y, text);
                break;
            }
            default: break;
            }
            at += size;
        }
        Fail(QStringLiteral("no end record"));
    }
};
