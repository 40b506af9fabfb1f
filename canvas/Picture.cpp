#include "canvas/Picture.h"

#include <QFile>
#include <QFileInfo>

const TClassInfo &TPicture::StaticClassInfo()
{
    static const TClassInfo info("TPicture", &TGraphicsObject::StaticClassInfo());
    return info;
}

void TPicture::SetImage(const QImage &image, const QString &graphicClass, const QByteArray &originalData)
{
    FImage = image;
    FGraphicClass = image.isNull() ? QString() : graphicClass;
    FOriginalData = image.isNull() ? QByteArray() : originalData;
    FDrawCacheValid = false;
    Changed();
}

void TPicture::Clear()
{
    if (FImage.isNull() && FGraphicClass.isEmpty())
        return;
    SetImage(QImage());
}

bool TPicture::LoadFromFile(const QString &fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = f.readAll();
    QImage image;
    if (!image.loadFromData(bytes))
        return false;
    const QString ext = QFileInfo(fileName).suffix().toLower();
    QString cls = QStringLiteral("TBitmap");
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg"))
        cls = QStringLiteral("TJPEGImage");
    else if (ext == QLatin1String("gif"))
        cls = QStringLiteral("TGIFImage");
    else if (ext == QLatin1String("ico"))
        cls = QStringLiteral("TIcon");
    else if (ext == QLatin1String("emf") || ext == QLatin1String("wmf"))
        cls = QStringLiteral("TMetafile");
    SetImage(image, cls, cls == QLatin1String("TBitmap") ? QByteArray() : bytes);
    return true;
}

void TPicture::SetTransparent(bool value)
{
    if (FTransparent == value)
        return;
    FTransparent = value;
    FDrawCacheValid = false;
    Changed();
}

TColor TPicture::TransparentColor() const
{
    if (FTransparentColor == clDefault && HasGraphic())
        return FromQColor(QColor(FImage.pixel(0, 0)));
    return FTransparentColor;
}

void TPicture::SetTransparentColor(TColor value)
{
    if (FTransparentColor == value)
        return;
    FTransparentColor = value;
    FDrawCacheValid = false;
    Changed();
}

const QImage &TPicture::DrawImage() const
{
    if (!Transparent())
        return FImage;
    if (!FDrawCacheValid) {
        FDrawCache = FImage.convertToFormat(QImage::Format_ARGB32);
        const QRgb key = ToQRgb(TransparentColor()) & 0xFFFFFF;
        for (int y = 0; y < FDrawCache.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(FDrawCache.scanLine(y));
            for (int x = 0; x < FDrawCache.width(); ++x)
                if ((line[x] & 0xFFFFFF) == key)
                    line[x] = 0;
        }
        FDrawCacheValid = true;
    }
    return FDrawCache;
}

void TPicture::Assign(const TPersistent *source)
{
    if (!source) {
        Clear();
        return;
    }
    if (auto *p = dynamic_cast<const TPicture *>(source)) {
        FImage = p->FImage;
        FGraphicClass = p->FGraphicClass;
        FOriginalData = p->FOriginalData;
        FTransparent = p->FTransparent;
        FTransparentColor = p->FTransparentColor;
        FDrawCacheValid = false;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}
