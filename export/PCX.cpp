#include "export/PCX.h"

#include "export/ExportFile.h"
#include "export/KorExportConst.h"

#include <QIODevice>
#include <QtEndian>
#include <algorithm>

namespace {

void Put16(uint8_t *p, int v)
{
    qToLittleEndian(static_cast<uint16_t>(v), p);
}

// A 6-bit palette value as the file stores it.
uint8_t Widen(uint8_t v)
{
    return static_cast<uint8_t>(v * 255 / 63);
}

} // namespace

TPCXWriter::TPCXWriter(QIODevice *device, int width, int height, TPCXMode mode, const QVector<QRgb> &palette)
    : FDevice(device), FWidth(width), FHeight(height), FMode(mode)
{
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        throw EWriteError(FormatMessage(SExportPictureTooLarge,
                                        {QString::number(width), QString::number(height), QStringLiteral("PCX"),
                                         FormatMessage(SExportAtMostSide, {QString::number(kMaxSide)})}));
    int bits = 8;
    switch (mode) {
    case pcxMonochrome: bits = 1; FPlanes = 1; FBytesPerLine = (width + 7) / 8; break;
    case pcx16Colors: bits = 1; FPlanes = 4; FBytesPerLine = (width + 7) / 8; break;
    case pcx256Colors: FPlanes = 1; FBytesPerLine = width; break;
    default: FMode = pcxTrueColor; FPlanes = 3; FBytesPerLine = width; break;
    }
    for (int i = 0; i < std::min<int>(256, palette.size()); ++i) {
        FPalette6[3 * i] = static_cast<uint8_t>(qRed(palette[i]) >> 2);
        FPalette6[3 * i + 1] = static_cast<uint8_t>(qGreen(palette[i]) >> 2);
        FPalette6[3 * i + 2] = static_cast<uint8_t>(qBlue(palette[i]) >> 2);
    }
    uint8_t h[128] = {};
    h[0] = 10;
    h[1] = 5;
    h[2] = 1;
    h[3] = static_cast<uint8_t>(bits);
    Put16(h + 8, width - 1);
    Put16(h + 10, height - 1);
    // The resolution fields hold the picture's size in pixels.
    Put16(h + 12, width);
    Put16(h + 14, height);
    for (int i = 0; i < 48; ++i)
        h[16 + i] = Widen(FPalette6[i]);
    h[65] = static_cast<uint8_t>(FPlanes);
    Put16(h + 66, FBytesPerLine);
    Put16(h + 68, 1);
    Write(h, sizeof h);
    FPlane.resize(size_t(FBytesPerLine));
}

void TPCXWriter::Fail(const QString &reason) const
{
    ExportWriteFailed(FDevice, QStringLiteral("PCX"), reason);
}

void TPCXWriter::Write(const uint8_t *data, size_t size)
{
    if (FDevice->write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        Fail(FDevice->errorString());
}

void TPCXWriter::EncodePlane(const uint8_t *codes, int count, std::vector<uint8_t> &out)
{
    int pos = 0;
    while (pos < count) {
        const uint8_t value = codes[pos];
        int run = 1;
        while (pos + run < count && codes[pos + run] == value && run < 63)
            ++run;
        if (run == 1 && value >= 0x80 && value < 0xC0) {
            out.push_back(value);
        } else {
            out.push_back(static_cast<uint8_t>(0xC0 + run));
            out.push_back(value);
        }
        pos += run;
    }
}

void TPCXWriter::WriteRows(const QImage &rows)
{
    if (rows.isNull())
        return;
    if (rows.width() != FWidth)
        Fail(FormatMessage(SExportRowWidth, {QString::number(rows.width()), QString::number(FWidth)}));
    if (rows.height() > FHeight - FRows)
        Fail(SExportTooManyRows);
    QImage src;
    if (FMode == pcxTrueColor)
        src = rows.format() == QImage::Format_RGB32 || rows.format() == QImage::Format_ARGB32
                  ? rows
                  : rows.convertToFormat(QImage::Format_RGB32);
    else
        src = rows.format() == QImage::Format_Indexed8 ? rows : rows.convertToFormat(QImage::Format_Indexed8);
    FOut.clear();
    for (int y = 0; y < src.height(); ++y) {
        if (FMode == pcxTrueColor) {
            const auto *px = reinterpret_cast<const QRgb *>(src.constScanLine(y));
            for (int plane = 0; plane < 3; ++plane) {
                const int shift = 16 - 8 * plane; // red, green, blue
                for (int x = 0; x < FWidth; ++x)
                    FPlane[size_t(x)] = static_cast<uint8_t>(px[x] >> shift);
                EncodePlane(FPlane.data(), FBytesPerLine, FOut);
            }
        } else if (FMode == pcx256Colors) {
            EncodePlane(src.constScanLine(y), FBytesPerLine, FOut);
        } else {
            // Eight pixels per byte, most significant bit first: the lowest
            // bit of each index (monochrome), or bit "plane" of it.
            const uchar *idx = src.constScanLine(y);
            for (int plane = 0; plane < FPlanes; ++plane) {
                std::fill(FPlane.begin(), FPlane.end(), 0);
                for (int x = 0; x < FWidth; ++x)
                    if ((idx[x] >> plane) & 1)
                        FPlane[size_t(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
                EncodePlane(FPlane.data(), FBytesPerLine, FOut);
            }
        }
        if (FOut.size() >= (size_t(1) << 20)) {
            Write(FOut.data(), FOut.size());
            FOut.clear();
        }
    }
    if (!FOut.empty())
        Write(FOut.data(), FOut.size());
    FRows += rows.height();
}

void TPCXWriter::Finish()
{
    if (FRows != FHeight)
        Fail(FormatMessage(SExportRowsMissing, {QString::number(FRows), QString::number(FHeight)}));
    uint8_t trailer[769];
    trailer[0] = 12;
    for (int i = 0; i < 768; ++i)
        trailer[1 + i] = Widen(FPalette6[i]);
    Write(trailer, sizeof trailer);
}
