#include "export/KorEmfOptions.h"

#include "export/KorExportConst.h"
#include "export/MetafileWriter.h"
#include "export/RasterExport.h"

#include <QCheckBox>
#include <QIODevice>
#include <QPainter>
#include <QVBoxLayout>
#include <cmath>

TEMFOptions::TEMFOptions(TEMFExportFormat *format)
{
    setObjectName(QStringLiteral("EMFOptions"));
    auto *layout = new QVBoxLayout(this);
    FEnhanced = new QCheckBox(QStringLiteral("&Enhanced"), this);
    FEnhanced->setObjectName(QStringLiteral("CBEnhanced"));
    FEnhanced->setChecked(format->Enhanced());
    layout->addWidget(FEnhanced);
    layout->addStretch();
    connect(FEnhanced, &QCheckBox::toggled, this, [format](bool on) { format->SetEnhanced(on); });
}

TEMFExportFormat::TEMFExportFormat() = default;
TEMFExportFormat::~TEMFExportFormat() = default;

int TEMFExportFormat::SaveDialogFilterIndex() const
{
    return FEnhanced ? FirstFilterPosition() : FirstFilterPosition() + 1;
}

void TEMFExportFormat::ReserveFilterSlots(int &counter)
{
    SetFirstFilterPosition(counter + 1);
    counter += 2;
}

QString TEMFExportFormat::MenuCaption() const
{
    return SExportAsMetafile;
}

QString TEMFExportFormat::DefaultExtension() const
{
    return FEnhanced ? QStringLiteral("emf") : QStringLiteral("wmf");
}

QString TEMFExportFormat::DialogFilter() const
{
    return SExportFilterMetafile;
}

void TEMFExportFormat::ChooseExtension(const QString &extension)
{
    FEnhanced = extension.toLower() != QLatin1String("wmf");
}

QWidget *TEMFExportFormat::OptionsPanel(bool create)
{
    if (!FOptions && create)
        FOptions = std::make_unique<TEMFOptions>(this);
    return FOptions.get();
}

QByteArray TEMFExportFormat::Bytes()
{
    ClearNotices();
    const TExportPicture picture = Picture();
    if (Progress() && !Progress()->Step(0, 1))
        throw EExportCancelled();
    TMetafileDevice device(picture.Width(), picture.Height(), FEnhanced);
    {
        QPainter p(&device);
        picture.Draw(&p);
    }
    QByteArray bytes = device.Bytes();
    if (device.Overflowed()) {
        // The drawing as a bitmap, as large as the format and memory allow.
        double scale = std::min({1.0, 32767.0 / picture.Width(), 32767.0 / picture.Height()});
        scale = std::min(scale, std::sqrt(double(kMaxBitmapPixels) / (double(picture.Width()) * picture.Height())));
        const int w = std::max(1, int(picture.Width() * scale));
        const int h = std::max(1, int(picture.Height() * scale));
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(ToQColor(picture.Background()));
        {
            QPainter p(&image);
            p.scale(scale, scale);
            picture.Draw(&p);
        }
        bytes = WmfWithBitmap(image, w, h);
        Notice(FormatMessage(SExportWmfAsBitmap, {QString::number(picture.Width()), QString::number(picture.Height()),
                                                  QString::number(w), QString::number(h)}));
    }
    if (Progress() && !Progress()->Step(1, 1))
        throw EExportCancelled();
    return bytes;
}

void TEMFExportFormat::WriteImage(QIODevice &stream)
{
    const QByteArray bytes = Bytes();
    if (stream.write(bytes) != bytes.size())
        ExportWriteFailed(&stream, DefaultExtension().toUpper(), stream.errorString());
}

void TEMFExportFormat::CopyImageToClipboard()
{
    const QByteArray bytes = Bytes();
    const TExportPicture picture = Picture();
    picture.CheckRenderable(DefaultExtension().toUpper());
    SetClipboard(ImageMimeData(picture.RenderWhole(),
                               FEnhanced ? QStringLiteral("image/x-emf") : QStringLiteral("image/x-wmf"), bytes));
}
