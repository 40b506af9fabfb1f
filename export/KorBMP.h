#pragma once
// Windows bitmap files (.bmp): 24 bits per pixel, uncompressed, rows
// stored bottom up. The rows are written as they come, last row first, so
// a picture larger than any image in memory is written strip by strip.
//
//   TBMPWriter bmp(&file, width, height);
//   bmp.WriteRowsBottomUp(lastStrip);   // ... up to the first strip
//   bmp.Finish();

#include <QImage>
#include <QString>
#include <cstdint>

class QIODevice;

class TBMPWriter
{
public:
    // The file's sizes are 32-bit: the pixel data may take at most this
    // many bytes.
    static constexpr uint64_t kMaxBytes = 0xFFFFFFFFull - 54;
    // Bytes of one stored row: 3 per pixel, padded to a multiple of 4.
    static uint64_t RowBytes(int width) { return (static_cast<uint64_t>(width) * 3 + 3) & ~uint64_t(3); }
    // Whether a picture of this size fits in the format.
    static bool Fits(int width, int height)
    {
        return width > 0 && height > 0 && RowBytes(width) * static_cast<uint64_t>(height) <= kMaxBytes;
    }

    // Writes the headers on an open device; throws EWriteError when the
    // picture does not fit or the device refuses.
    TBMPWriter(QIODevice *device, int width, int height);

    // Appends the rows of an image of the picture's width, bottom row
    // first (as the file stores them).
    void WriteRowsBottomUp(const QImage &rows);
    int RowsWritten() const { return FRows; }
    // Throws EWriteError unless every row was written.
    void Finish();

private:
    void Write(const char *data, qint64 size);
    [[noreturn]] void Fail(const QString &reason) const;

    QIODevice *FDevice;
    int FWidth;
    int FHeight;
    int FRows = 0;
};

// Writes one image as a bitmap file; throws EWriteError.
void SaveImageAsBMP(const QImage &image, const QString &fileName);
