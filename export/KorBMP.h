#pragma once
// Windows bitmap files (.bmp) of 1, 4, 8, 15, 16, 24 or 32 bits per pixel,
// uncompressed, rows stored bottom up. The rows are written as they come,
// last row first, so a picture larger than any image in memory is written
// strip by strip. Indexed formats take each pixel's nearest palette colour.
//
//   TBMPWriter bmp(&file, width, height);      // 24 bits
//   bmp.WriteRowsBottomUp(lastStrip);          // ... up to the first strip
//   bmp.Finish();

#include "export/ColorReduction.h"

#include <QImage>
#include <QString>
#include <QVector>
#include <cstdint>
#include <memory>

class QIODevice;

class TBMPWriter
{
public:
    // The file's sizes are 32-bit: the pixel data may take at most this
    // many bytes.
    static constexpr uint64_t kMaxBytes = 0xFFFFFFFFull - 1078;
    // Bytes of one stored row, padded to a multiple of 4.
    static uint64_t RowBytes(int width, int bits = 24)
    {
        return ((static_cast<uint64_t>(width) * static_cast<uint64_t>(bits) + 31) / 32) * 4;
    }
    // Whether a picture of this size fits in the format.
    static bool Fits(int width, int height, int bits = 24)
    {
        return width > 0 && height > 0 && RowBytes(width, bits) * static_cast<uint64_t>(height) <= kMaxBytes;
    }

    // Writes the headers on an open device; throws EWriteError when the
    // picture does not fit or the device refuses. `bits` is 1, 4, 8, 15,
    // 16, 24 or 32; the indexed formats need a palette of at most 2^bits
    // colours.
    TBMPWriter(QIODevice *device, int width, int height, int bits = 24, const QVector<QRgb> &palette = {});
    ~TBMPWriter();

    // Appends the rows of an image of the picture's width, bottom row
    // first (as the file stores them).
    void WriteRowsBottomUp(const QImage &rows);
    int RowsWritten() const { return FRows; }
    // Throws EWriteError unless every row was written.
    void Finish();

private:
    void Write(const char *data, qint64 size);
    [[noreturn]] void Fail(const QString &reason) const;
    void EncodeRow(const QRgb *px, char *out);

    QIODevice *FDevice;
    int FWidth;
    int FHeight;
    int FBits;
    std::unique_ptr<TColorMapper> FMapper;
    std::vector<uint8_t> FIndices;
    int FRows = 0;
};

// Writes one image as a 24-bit bitmap file; throws EWriteError.
void SaveImageAsBMP(const QImage &image, const QString &fileName);
