#pragma once
// PCX files (version 5, run-length encoded) in four modes: monochrome,
// 16 colours in four bit planes, 256 colours, and true colour in three
// planes of red, green and blue. Rows are written as they come, top down.
//
// Runs: a plane's bytes are encoded in runs of at most 63 equal bytes that
// never cross the end of the plane's line; a single byte 0x80 .. 0xBF is
// written alone, every other run as 0xC0 + length and the byte. After the
// last row a byte 12 and the 256-entry palette follow.

#include <QImage>
#include <QVector>
#include <cstdint>
#include <vector>

class QIODevice;

enum TPCXMode { pcxMonochrome = 1, pcx16Colors = 2, pcx256Colors = 3, pcxTrueColor = 4 };

class TPCXWriter
{
public:
    // Width and height are stored in 16-bit fields.
    static constexpr int kMaxSide = 65535;

    // Writes the 128-byte header; `palette` (up to 256 colours, 8 bits per
    // channel) is kept in 6 bits per channel as the format stores it.
    TPCXWriter(QIODevice *device, int width, int height, TPCXMode mode, const QVector<QRgb> &palette = {});

    // True colour: rows of any format. The other modes: Indexed8 rows.
    void WriteRows(const QImage &rows);
    int RowsWritten() const { return FRows; }
    // Appends the palette trailer once every row is written.
    void Finish();

    int BytesPerLine() const { return FBytesPerLine; }
    int Planes() const { return FPlanes; }
    // The encoding of one plane line of code bytes, appended to `out`.
    static void EncodePlane(const uint8_t *codes, int count, std::vector<uint8_t> &out);

private:
    void Write(const uint8_t *data, size_t size);
    [[noreturn]] void Fail(const QString &reason) const;

    QIODevice *FDevice;
    int FWidth;
    int FHeight;
    TPCXMode FMode;
    int FPlanes;
    int FBytesPerLine;
    uint8_t FPalette6[768] = {};
    std::vector<uint8_t> FPlane;
    std::vector<uint8_t> FOut;
    int FRows = 0;
};
