// A picture's graphic in the component stream (the binary property "Data").

#include "canvas/Picture.h"

#include "core/CoreConst.h"
#include "core/Exceptions.h"
#include "core/Filer.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QtEndian>

namespace {

// The graphic classes files name, with the file format each one holds.
struct TGraphicFormat
{
    const char *ClassName;
    const char *Format; // as Qt names it; null: the program cannot read it
};

constexpr TGraphicFormat kGraphicFormats[] = {
    {"TBitmap", "bmp"},     {"TIcon", "ico"}, {"TJPEGImage", "jpeg"},
    {"TGIFImage", "gif"},   {"TMetafile", nullptr},
};

const TGraphicFormat *FindGraphicFormat(const QString &className)
{
    for (const TGraphicFormat &f : kGraphicFormats)
        if (className.compare(QLatin1String(f.ClassName), Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

// Decodes one image file; a null image when the bytes are not an image of
// a readable format or the image would be too large.
QImage DecodeImage(const QByteArray &bytes, QByteArray &format)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    format = reader.format().toLower();
    if (format.isEmpty())
        return QImage();
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > TPicture::kMaxDataPixels)
        return QImage();
    QImage image = reader.read();
    if (image.isNull() || qint64(image.width()) * image.height() > TPicture::kMaxDataPixels)
        return QImage();
    return image;
}

QByteArray EncodeBitmap(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    writer.write(image);
    return bytes;
}

} // namespace

QByteArray TPicture::GraphicData() const
{
    if (!HasGraphic())
        return QByteArray();
    QString cls = FGraphicClass;
    QByteArray file = FOriginalData;
    if (file.isEmpty() || !FindGraphicFormat(cls)) {
        // Made in memory (or of a class files do not name): a bitmap.
        cls = QStringLiteral("TBitmap");
        file = EncodeBitmap(FImage);
    }
    const QByteArray name = cls.toLatin1();
    QByteArray data;
    data.reserve(1 + name.size() + 4 + file.size());
    data.append(char(name.size()));
    data.append(name);
    char count[4];
    qToLittleEndian<quint32>(static_cast<quint32>(file.size()), count);
    data.append(count, 4);
    data.append(file);
    return data;
}

bool TPicture::SetGraphicData(const QByteArray &data)
{
    if (data.isEmpty())
        return false;
    const int nameLength = static_cast<uint8_t>(data.at(0));
    if (1 + nameLength > data.size())
        return false;
    const TGraphicFormat *kind = FindGraphicFormat(QString::fromLatin1(data.constData() + 1, nameLength));
    if (!kind || !kind->Format)
        return false;
    const QByteArray rest = data.mid(1 + nameLength);

    // The file follows its byte count; data without the count holds the
    // file alone.
    QByteArray file;
    QByteArray format;
    QImage image;
    if (rest.size() >= 4) {
        const quint32 count = qFromLittleEndian<quint32>(rest.constData());
        if (count <= static_cast<quint32>(rest.size() - 4)) {
            file = rest.mid(4, static_cast<qsizetype>(count));
            image = DecodeImage(file, format);
        }
    }
    if (image.isNull()) {
        file = rest;
        image = DecodeImage(file, format);
    }
    if (image.isNull())
        return false;
    // The original bytes are kept when they are what the class says, so the
    // graphic is written back unchanged; anything else is kept as pixels.
    const bool own = format == kind->Format;
    SetImage(image, QString::fromLatin1(own ? kind->ClassName : "TBitmap"), own ? file : QByteArray());
    return true;
}

void TPicture::DefineProperties(TFiler &filer)
{
    filer.DefineBinaryProperty(
        QStringLiteral("Data"),
        [this](const QByteArray &data) {
            if (!SetGraphicData(data))
                throw EPropertyError(SInvalidPropertyValue);
        },
        [this](QByteArray &data) { data = GraphicData(); }, HasGraphic());
}
