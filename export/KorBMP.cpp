#include "export/KorBMP.h"

#include "core/Exceptions.h"
#include "export/ExportFile.h"
#include "export/KorExportConst.h"

#include <QIODevice>
#include <QtEndian>
#include <vector>

namespace {

void Put16(char *p, uint16_t v)
{
    qToLittleEndian(v, p);
}

void Put32(char *p, uint32_t v)
{
    qToLittleEndian(v, p);
}

// 96 dots per inch.
constexpr uint32_t kPixelsPerMeter = 3780;

} // namespace

TBMPWriter::TBMPWriter(QIODevice *device, int width, int height, int bits, const QVector<QRgb> &palette)
    : FDevice(device), FWidth(width), FHeight(height), FBits(bits)
{
    if (bits != 1 && bits != 4 && bits != 8 && bits != 15 && bits != 16 && bits != 24 && bits != 32)
        bits = FBits = 24;
    const int stored = bits == 15 ? 16 : bits;
    if (!Fits(width, height, stored))
        Fail(FormatMessage(SExportPictureTooLarge, {QString::number(width), QString::number(height),
                                                    QStringLiteral("BMP"), SExportAtMost4GB.Text()}));
    QVector<QRgb> colors;
    if (bits <= 8) {
        colors = palette.mid(0, 1 << bits);
        if (colors.isEmpty())
            colors = bits == 1 ? QVector<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)} : ClassicPalette16();
        FMapper = std::make_unique<TColorMapper>(colors, dmNearest, width);
        FIndices.resize(static_cast<size_t>(width));
    }
    const bool masks = bits == 16;
    const uint32_t paletteBytes = bits <= 8 ? uint32_t(1u << bits) * 4 : 0;
    const uint32_t offset = 54 + (masks ? 12 : 0) + paletteBytes;
    const uint32_t dataSize = static_cast<uint32_t>(RowBytes(width, stored) * static_cast<uint64_t>(height));
    std::vector<char> header(offset, 0);
    char *h = header.data();
    // File header.
    h[0] = 'B';
    h[1] = 'M';
    Put32(h + 2, offset + dataSize);
    Put32(h + 10, offset);
    // Information header: positive height, rows bottom up.
    Put32(h + 14, 40);
    Put32(h + 18, static_cast<uint32_t>(width));
    Put32(h + 22, static_cast<uint32_t>(height));
    Put16(h + 26, 1);
    Put16(h + 28, static_cast<uint16_t>(stored));
    Put32(h + 30, masks ? 3 : 0);
    Put32(h + 34, dataSize);
    Put32(h + 38, kPixelsPerMeter);
    Put32(h + 42, kPixelsPerMeter);
    Put32(h + 46, bits <= 8 ? uint32_t(1u << bits) : 0);
    if (masks) {
        // 5, 6 and 5 bits of red, green and blue.
        Put32(h + 54, 0xF800);
        Put32(h + 58, 0x07E0);
        Put32(h + 62, 0x001F);
    }
    for (int i = 0; i < colors.size(); ++i) {
        char *e = h + 54 + 4 * i;
        e[0] = static_cast<char>(qBlue(colors[i]));
        e[1] = static_cast<char>(qGreen(colors[i]));
        e[2] = static_cast<char>(qRed(colors[i]));
    }
    Write(header.data(), static_cast<qint64>(header.size()));
}

TBMPWriter::~TBMPWriter() = default;

void TBMPWriter::Fail(const QString &reason) const
{
    ExportWriteFailed(FDevice, QStringLiteral("BMP"), reason);
}

void TBMPWriter::Write(const char *data, qint64 size)
{
    if (FDevice->write(data, size) != size)
        Fail(FDevice->errorString());
}

void TBMPWriter::EncodeRow(const QRgb *px, char *out)
{
    switch (FBits) {
    case 1:
    case 4:
    case 8: {
        FMapper->MapRow(px, FIndices.data());
        const int perByte = 8 / FBits;
        for (int x = 0; x < FWidth; x += perByte) {
            unsigned v = 0;
            for (int k = 0; k < perByte; ++k) {
                v <<= FBits;
                if (x + k < FWidth)
                    v |= FIndices[size_t(x + k)];
            }
            *out++ = static_cast<char>(v);
        }
        break;
    }
    case 15:
        for (int x = 0; x < FWidth; ++x) {
            const uint16_t v = uint16_t(((qRed(px[x]) >> 3) << 10) | ((qGreen(px[x]) >> 3) << 5) | (qBlue(px[x]) >> 3));
            Put16(out, v);
            out += 2;
        }
        break;
    case 16:
        for (int x = 0; x < FWidth; ++x) {
            const uint16_t v = uint16_t(((qRed(px[x]) >> 3) << 11) | ((qGreen(px[x]) >> 2) << 5) | (qBlue(px[x]) >> 3));
            Put16(out, v);
            out += 2;
        }
        break;
    case 32:
        for (int x = 0; x < FWidth; ++x) {
            *out++ = static_cast<char>(qBlue(px[x]));
            *out++ = static_cast<char>(qGreen(px[x]));
            *out++ = static_cast<char>(qRed(px[x]));
            *out++ = 0;
        }
        break;
    default:
        for (int x = 0; x < FWidth; ++x) {
            *out++ = static_cast<char>(qBlue(px[x]));
            *out++ = static_cast<char>(qGreen(px[x]));
            *out++ = static_cast<char>(qRed(px[x]));
        }
        break;
    }
}

void TBMPWriter::WriteRowsBottomUp(const QImage &rows)
{
    if (rows.isNull())
        return;
    if (rows.width() != FWidth)
        Fail(FormatMessage(SExportRowWidth, {QString::number(rows.width()), QString::number(FWidth)}));
    if (rows.height() > FHeight - FRows)
        Fail(SExportTooManyRows);
    const QImage rgb = rows.format() == QImage::Format_RGB32 || rows.format() == QImage::Format_ARGB32
                           ? rows
                           : rows.convertToFormat(QImage::Format_RGB32);
    const int stored = FBits == 15 ? 16 : FBits;
    std::vector<char> line(RowBytes(FWidth, stored), 0);
    // Rows go out in batches, so a writer sees few calls.
    const size_t batchRows = std::max<size_t>(1, (size_t(1) << 20) / line.size());
    std::vector<char> batch;
    batch.reserve(std::min<size_t>(batchRows, size_t(rgb.height())) * line.size());
    for (int y = rgb.height() - 1; y >= 0; --y) {
        EncodeRow(reinterpret_cast<const QRgb *>(rgb.constScanLine(y)), line.data());
        batch.insert(batch.end(), line.begin(), line.end());
        if (batch.size() >= batchRows * line.size() || y == 0) {
            Write(batch.data(), static_cast<qint64>(batch.size()));
            batch.clear();
        }
    }
    FRows += rows.height();
}

void TBMPWriter::Finish()
{
    if (FRows != FHeight)
        Fail(FormatMessage(SExportRowsMissing, {QString::number(FRows), QString::number(FHeight)}));
}

void SaveImageAsBMP(const QImage &image, const QString &fileName)
{
    TExportFile file(fileName);
    file.Open();
    TBMPWriter bmp(&file, image.width(), image.height());
    bmp.WriteRowsBottomUp(image);
    bmp.Finish();
    file.Commit();
}
