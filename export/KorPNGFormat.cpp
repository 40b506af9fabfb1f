#include "export/KorExportConst.h"
#include "export/KorPNG.h"
#include "export/RasterExport.h"

#include <QBuffer>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>

TPNGOptions::TPNGOptions(TPNGExportFormat *format)
{
    setObjectName(QStringLiteral("PNGOptions"));
    auto *form = new QFormLayout(this);
    FLevel = new QSpinBox(this);
    FLevel->setObjectName(QStringLiteral("UDLevel"));
    FLevel->setRange(0, 9);
    FLevel->setValue(format->CompressionLevel());
    auto *label = new QLabel(QStringLiteral("&Compression level:"), this);
    label->setBuddy(FLevel);
    form->addRow(label, FLevel);
    connect(FLevel, qOverload<int>(&QSpinBox::valueChanged), this,
            [format](int v) { format->SetCompressionLevel(v); });
}

TPNGExportFormat::TPNGExportFormat() = default;
TPNGExportFormat::~TPNGExportFormat() = default;

QString TPNGExportFormat::MenuCaption() const
{
    return SExportAsPNG;
}

QString TPNGExportFormat::DialogFilter() const
{
    return SExportFilterPNG;
}

QWidget *TPNGExportFormat::OptionsPanel(bool create)
{
    if (!FOptions && create)
        FOptions = std::make_unique<TPNGOptions>(this);
    return FOptions.get();
}

void TPNGExportFormat::WriteImage(QIODevice &stream)
{
    const TExportPicture picture = Picture();
    picture.CheckRenderable(QStringLiteral("PNG"));
    TPNGWriter png(&stream, picture.Width(), picture.Height(), TPNGWriter::DiagramOptions(FLevel));
    picture.Render(false, [&png](const QImage &strip, int) { png.WriteRows(strip); }, Progress());
    png.Finish();
}

void TPNGExportFormat::CopyImageToClipboard()
{
    const TExportPicture picture = Picture();
    picture.CheckRenderable(QStringLiteral("PNG"));
    const QImage image = picture.RenderWhole();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    TPNGWriter png(&buffer, image.width(), image.height(), TPNGWriter::DiagramOptions(FLevel));
    png.WriteRows(image);
    png.Finish();
    SetClipboard(ImageMimeData(image, QStringLiteral("image/png"), buffer.data()));
}

std::vector<TExportOption> TPNGExportFormat::CommandLineOptions() const
{
    return {{QStringLiteral("compression"), QStringLiteral("0..9"),
             &SOptionCompression}};
}

QString TPNGExportFormat::SetCommandLineOption(const QString &name, const QString &value)
{
    if (name == QLatin1String("compression")) {
        bool ok = false;
        const int v = value.toInt(&ok);
        if (!ok || v < 0 || v > 9)
            return BadValue(name, value);
        FLevel = v;
        return QString();
    }
    return TKorExportFormat::SetCommandLineOption(name, value);
}
