#include "export/KorExportConst.h"
#include "export/KorJPEG.h"
#include "export/RasterExport.h"

#include <QBuffer>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>

TJPEGOptions::TJPEGOptions(TJPEGExportFormat *format)
{
    setObjectName(QStringLiteral("JPEGOptions"));
    auto *layout = new QVBoxLayout(this);
    auto *group = new QGroupBox(QStringLiteral("&Performance:"), this);
    auto *radios = new QHBoxLayout(group);
    FQualityFirst = new QRadioButton(QStringLiteral("Q&uality"), group);
    FQualityFirst->setObjectName(QStringLiteral("RGQuality"));
    FSpeedFirst = new QRadioButton(QStringLiteral("&Speed"), group);
    FSpeedFirst->setObjectName(QStringLiteral("RGSpeed"));
    radios->addWidget(FQualityFirst);
    radios->addWidget(FSpeedFirst);
    layout->addWidget(group);
    FGray = new QCheckBox(QStringLiteral("&Gray scale"), this);
    FGray->setObjectName(QStringLiteral("CBGray"));
    layout->addWidget(FGray);
    auto *form = new QFormLayout;
    FQuality = new QSpinBox(this);
    FQuality->setObjectName(QStringLiteral("UDQuality"));
    FQuality->setRange(1, 100);
    auto *label = new QLabel(QStringLiteral("% &Quality:"), this);
    label->setBuddy(FQuality);
    form->addRow(label, FQuality);
    layout->addLayout(form);
    layout->addStretch();
    const TJPEGWriter::TOptions &o = format->Options();
    (o.Speed ? FSpeedFirst : FQualityFirst)->setChecked(true);
    FGray->setChecked(o.GrayScale);
    FQuality->setValue(o.Quality);
    connect(FSpeedFirst, &QRadioButton::toggled, this, [format](bool on) { format->Options().Speed = on; });
    connect(FGray, &QCheckBox::toggled, this, [format](bool on) { format->Options().GrayScale = on; });
    connect(FQuality, qOverload<int>(&QSpinBox::valueChanged), this,
            [format](int v) { format->Options().Quality = v; });
}

TJPEGExportFormat::TJPEGExportFormat() = default;
TJPEGExportFormat::~TJPEGExportFormat() = default;

QString TJPEGExportFormat::MenuCaption() const
{
    return SExportAsJPEG;
}

QString TJPEGExportFormat::DialogFilter() const
{
    return SExportFilterJPEG;
}

QWidget *TJPEGExportFormat::OptionsPanel(bool create)
{
    if (!FOptions && create)
        FOptions = std::make_unique<TJPEGOptions>(this);
    return FOptions.get();
}

void TJPEGExportFormat::WriteImage(QIODevice &stream)
{
    const TExportPicture picture = Picture();
    picture.CheckRenderable(QStringLiteral("JPEG"));
    TJPEGWriter jpeg(&stream, picture.Width(), picture.Height(), FSettings);
    picture.Render(false, [&jpeg](const QImage &strip, int) { jpeg.WriteRows(strip); }, Progress());
    jpeg.Finish();
}

void TJPEGExportFormat::CopyImageToClipboard()
{
    const TExportPicture picture = Picture();
    picture.CheckRenderable(QStringLiteral("JPEG"));
    const QImage image = picture.RenderWhole();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    TJPEGWriter jpeg(&buffer, image.width(), image.height(), FSettings);
    jpeg.WriteRows(image);
    jpeg.Finish();
    QImage shown;
    shown.loadFromData(buffer.data(), "JPEG");
    SetClipboard(ImageMimeData(shown, QStringLiteral("image/jpeg"), buffer.data()));
}

std::vector<TExportOption> TJPEGExportFormat::CommandLineOptions() const
{
    return {{QStringLiteral("quality"), QStringLiteral("1..100"), &SOptionQuality},
            {QStringLiteral("grayscale"), QString(), &SOptionGrayscale},
            {QStringLiteral("speed"), QString(), &SOptionSpeed}};
}

QString TJPEGExportFormat::SetCommandLineOption(const QString &name, const QString &value)
{
    if (name == QLatin1String("quality")) {
        bool ok = false;
        const int v = value.toInt(&ok);
        if (!ok || v < 1 || v > 100)
            return BadValue(name, value);
        FSettings.Quality = v;
        return QString();
    }
    if (name == QLatin1String("grayscale")) {
        FSettings.GrayScale = true;
        return QString();
    }
    if (name == QLatin1String("speed")) {
        FSettings.Speed = true;
        return QString();
    }
    return TKorExportFormat::SetCommandLineOption(name, value);
}
