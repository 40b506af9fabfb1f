#pragma once
// Enhanced (.emf) and old-style (.wmf) metafiles drawn through a QPainter:
// a paint device whose engine turns every line, polygon, path, text run
// and image into metafile records (pens, brushes and fonts as objects,
// text as text). Records are made with libUEMF.
//
//   TMetafileDevice emf(width, height, true);
//   { QPainter p(&emf); ... }
//   const QByteArray bytes = emf.Bytes();
//
// Old-style metafiles hold 16-bit coordinates: Overflowed() tells when a
// drawing reached beyond them (the caller then embeds a bitmap instead).

#include <QByteArray>
#include <QImage>
#include <QPaintDevice>
#include <memory>

class TMetafileEngine;

class TMetafileDevice : public QPaintDevice
{
public:
    TMetafileDevice(int width, int height, bool enhanced);
    ~TMetafileDevice() override;

    bool Enhanced() const { return FEnhanced; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // An old-style metafile was given coordinates beyond 16 bits.
    bool Overflowed() const;
    // The whole file: header, records, end record. Call once painting ended.
    QByteArray Bytes() const;
    // Number of records so far (header and end record excluded).
    int RecordCount() const;

    QPaintEngine *paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    int FWidth;
    int FHeight;
    bool FEnhanced;
    std::unique_ptr<TMetafileEngine> FEngine;
};

// An old-style metafile that shows one bitmap stretched over (0, 0, width,
// height): what a drawing too large for 16-bit coordinates becomes.
QByteArray WmfWithBitmap(const QImage &image, int width, int height);
