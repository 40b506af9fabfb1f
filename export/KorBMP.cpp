#include "export/KorBMP.h"

#include "core/Exceptions.h"
#include "export/KorExportConst.h"

#include <QFile>
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

TBMPWriter::TBMPWriter(QIODevice *device, int width, int height) : FDevice(device), FWidth(width), FHeight(height)
{
    if (!Fits(width, height))
        Fail(FormatMessage(SExportPictureTooLarge, {QString::number(width), QString::number(height),
                                                    QStringLiteral("BMP"), QStringLiteral("4 GB")}));
    const uint32_t dataSize = static_cast<uint32_t>(RowBytes(width) * static_cast<uint64_t>(height));
    char header[54] = {};
    // File header.
    header[0] = 'B';
    header[1] = 'M';
    Put32(header + 2, 54 + dataSize);
    Put32(header + 10, 54);
    // Information header: positive height, rows bottom up.
    Put32(header + 14, 40);
    Put32(header + 18, static_cast<uint32_t>(width));
    Put32(header + 22, static_cast<uint32_t>(height));
    Put16(header + 26, 1);
    Put16(header + 28, 24);
    Put32(header + 30, 0);
    Put32(header + 34, dataSize);
    Put32(header + 38, kPixelsPerMeter);
    Put32(header + 42, kPixelsPerMeter);
    Write(header, sizeof header);
}

void TBMPWriter::Fail(const QString &reason) const
{
    QString target = QStringLiteral("BMP");
    if (auto *file = qobject_cast<QFileDevice *>(FDevice))
        target = file->fileName();
    throw EWriteError(FormatMessage(SExportWriteFailed, {target, reason}));
}

void TBMPWriter::Write(const char *data, qint64 size)
{
    if (FDevice->write(data, size) != size)
        Fail(FDevice->errorString());
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
    std::vector<char> line(RowBytes(FWidth), 0);
    for (int y = rgb.height() - 1; y >= 0; --y) {
        const auto *px = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        char *out = line.data();
        for (int x = 0; x < FWidth; ++x) {
            *out++ = static_cast<char>(qBlue(px[x]));
            *out++ = static_cast<char>(qGreen(px[x]));
            *out++ = static_cast<char>(qRed(px[x]));
        }
        Write(line.data(), static_cast<qint64>(line.size()));
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
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw EWriteError(FormatMessage(SExportWriteFailed, {fileName, file.errorString()}));
    TBMPWriter bmp(&file, image.width(), image.height());
    bmp.WriteRowsBottomUp(image);
    bmp.Finish();
    if (!file.flush())
        throw EWriteError(FormatMessage(SExportWriteFailed, {fileName, file.errorString()}));
}
