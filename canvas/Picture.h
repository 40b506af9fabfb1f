#pragma once
// A picture: holds at most one graphic (a bitmap, icon, metafile, JPEG or
// GIF image as its class name says) as pixels, with optional transparency
// keyed on one colour.

#include "canvas/GraphicsObject.h"
#include "core/Colors.h"

#include <QByteArray>
#include <QImage>

class TPicture : public TGraphicsObject
{
    DX_OBJECT(TPicture)
public:
    TPicture() = default;
    explicit TPicture(TEvent<TGraphicsObject *> onChange) { OnChange = std::move(onChange); }

    // True when the picture holds a graphic of at least one pixel.
    bool HasGraphic() const { return !FImage.isNull(); }
    int Width() const { return FImage.width(); }
    int Height() const { return FImage.height(); }

    // The graphic's class name as files name it: "TBitmap", "TIcon",
    // "TMetafile", "TJPEGImage", "TGIFImage"; empty without a graphic.
    const QString &GraphicClass() const { return FGraphicClass; }
    // The graphic's pixels as loaded (no transparency applied).
    const QImage &Image() const { return FImage; }
    // The graphic's original bytes when it was loaded from a file or stream
    // in its own format (kept so it can be written back unchanged); empty for
    // graphics made in memory.
    const QByteArray &OriginalData() const { return FOriginalData; }

    // Replaces the graphic (a null image clears it).
    void SetImage(const QImage &image, const QString &graphicClass = QStringLiteral("TBitmap"),
                  const QByteArray &originalData = QByteArray());
    void Clear();
    // Loads a picture file (any format Qt reads); false when it cannot.
    bool LoadFromFile(const QString &fileName);

    // Transparency: when set, pixels of the transparent colour are not
    // drawn. The colour clDefault means the colour of the top-left pixel.
    bool Transparent() const { return FTransparent && HasGraphic(); }
    void SetTransparent(bool value);
    TColor TransparentColor() const;
    void SetTransparentColor(TColor value);

    // The pixels to draw: ARGB with the transparent colour keyed out when
    // Transparent, else the image itself. Cached until the picture changes.
    const QImage &DrawImage() const;

    void Assign(const TPersistent *source) override;

    // The graphic in the component stream, as the binary property "Data":
    // a short string with the graphic's class name, then a 32-bit byte
    // count and the graphic's file (a complete BMP file for "TBitmap"). A
    // graphic kept with its original bytes is written with them unchanged;
    // one made in memory is written as a bitmap. Reading accepts the
    // classes whose files the program decodes (bitmaps, icons, JPEG and
    // GIF images), with or without the byte count, and refuses the rest
    // and any image larger than kMaxDataPixels as an invalid value.
    void DefineProperties(TFiler &filer) override;
    static constexpr qint64 kMaxDataPixels = qint64(1) << 25;
    // The "Data" value of this picture, and a picture from one (false when
    // the data is not a graphic the program can read).
    QByteArray GraphicData() const;
    bool SetGraphicData(const QByteArray &data);

private:
    QImage FImage;
    QString FGraphicClass;
    QByteArray FOriginalData;
    bool FTransparent = false;
    TColor FTransparentColor = clDefault;
    mutable QImage FDrawCache;
    mutable bool FDrawCacheValid = false;
};
