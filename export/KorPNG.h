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

    // How hard the library tries: zlib's level, 0 (none) to 9 (smallest),
    // and the row filters. Pictures of diagrams (large even areas, text)
    // compress nearly as well with the "sub" filter alone, much faster
    // than with the filter chosen row by row.
    struct TOptions
    {
        int CompressionLevel = 9;
        bool SubFilterOnly = false;
    };

    // Starts a PNG of the given size on an open device. Throws EWriteError
    // when the header cannot be written.
    TPNGWriter(QIODevice *device, int width, int height, const TOptions &options);
    TPNGWriter(QIODevice *device, int width, int height) : TPNGWriter(device, width, height, TOptions()) {}
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
void SaveImageAsPNG(const QImage &image, const QString &fileName,
                    const TPNGWriter::TOptions &options = TPNGWriter::TOptions());
