#pragma once
// Helpers of the canvas tests: a canvas drawing on a white image, and pixel
// queries.

#include "canvas/KorCanvas.h"

#include <QImage>
#include <QPainter>
#include <QRect>
#include <memory>

// A canvas attached to a painter on a white RGB32 image.
struct TImageCanvas
{
    QImage Image;
    QPainter Painter;
    TKorCanvas3D Canvas;

    explicit TImageCanvas(int w = 100, int h = 60, QImage::Format format = QImage::Format_RGB32)
        : Image(w, h, format)
    {
        Image.fill(Qt::white);
        Painter.begin(&Image);
        Canvas.Attach(&Painter);
    }
    ~TImageCanvas() { End(); }
    // Ends painting; the image then holds the picture.
    const QImage &End()
    {
        if (Painter.isActive()) {
            Canvas.Attach(nullptr);
            Painter.end();
        }
        return Image;
    }
};

inline TColor PixelAt(const QImage &img, int x, int y)
{
    return FromQColor(QColor(img.pixel(x, y)));
}

// The bounding box of the pixels a predicate picks (empty when none).
template <class Pick>
QRect BoundsWhere(const QImage &img, Pick pick)
{
    int l = img.width(), t = img.height(), r = -1, b = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (pick(img.pixel(x, y) | 0xFF000000u)) {
                l = std::min(l, x);
                t = std::min(t, y);
                r = std::max(r, x);
                b = std::max(b, y);
            }
    return r < 0 ? QRect() : QRect(QPoint(l, t), QPoint(r, b));
}

// The bounding box of the pixels that differ from the background.
inline QRect InkBounds(const QImage &img, QRgb background = 0xFFFFFFFFu)
{
    return BoundsWhere(img, [background](QRgb p) { return p != (background | 0xFF000000u); });
}

// The bounding box of the pixels of one colour.
inline QRect ColorBounds(const QImage &img, TColor color)
{
    const QRgb want = ToQRgb(color) | 0xFF000000u;
    return BoundsWhere(img, [want](QRgb p) { return p == want; });
}

inline int CountColor(const QImage &img, TColor color)
{
    const QRgb want = ToQRgb(color) | 0xFF000000u;
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) | 0xFF000000u) == want)
                ++n;
    return n;
}
