#pragma once
// PNG files written with libpng: 8-bit RGB, fed row by row, so a picture
// larger than any image in memory is written strip by strip.
//
//   TPNGWriter png(&file, width, height);
//   png.WriteRows(strip);        // as often as needed, top to bottom
//   png.Finish();

#include "core/Exceptions.h"

#include <QImage>
#include <memory>

class QIODevice;

class TPNGWriter
{
public:
    // The largest width and height the format allows.
    static constexpr int kMaxSide = 0x7FFFFFFF;

    // Starts a PNG of the given size on an open device; compression 0
    // (none) to 9 (smallest). Throws EWriteError when the header cannot be
    // written.
    TPNGWriter(QIODevice *device, int width, int height, int compressionLevel = 9);
    ~TPNGWriter();
    TPNGWriter(const TPNGWriter &) = delete;
    TPNGWriter &operator=(const TPNGWriter &) = delete;

    // Appends the rows of an image of the picture's width (any format; the
    // alpha channel is dropped). Throws EWriteError when they cannot be
    // written or would go beyond the picture's height.
    void WriteRows(const QImage &rows);
    int RowsWritten() const { return FRows; }
    // Ends the file once every row is written; throws EWriteError
    // otherwise or when the end cannot be written.
    void Finish();

private:
    struct TState;
    std::unique_ptr<TState> F;
    int FWidth;
    int FHeight;
    int FRows = 0;
};

// Writes one image as a PNG file; throws EWriteError.
void SaveImageAsPNG(const QImage &image, const QString &fileName, int compressionLevel = 9);
