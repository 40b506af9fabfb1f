#include "export/KorBmpOptions.h"

#include "export/KorBMP.h"
#include "export/KorExportConst.h"
#include "export/RasterExport.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

TBMPOptions::TBMPOptions(TBMPExportFormat *format) : FFormat(format)
{
    setObjectName(QStringLiteral("BMPOptions"));
    auto *form = new QFormLayout(this);
    FColors = new QComboBox(this);
    FColors->setObjectName(QStringLiteral("CBColors"));
    FColors->addItems(TBMPExportFormat::ColorNames());
    auto *label = new QLabel(QStringLiteral("&Colors:"), this);
    label->setBuddy(FColors);
    form->addRow(label, FColors);
    FMonochrome = new QCheckBox(QStringLiteral("&Monochrome"), this);
    FMonochrome->setObjectName(QStringLiteral("CBMono"));
    form->addRow(FMonochrome);
    Update();
    connect(FColors, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this](int i) { FFormat->SetPixelFormat(static_cast<TPixelFormat>(std::max(0, i))); });
    connect(FMonochrome, &QCheckBox::toggled, this, [this](bool on) {
        FFormat->SetMonochrome(on);
        FColors->setEnabled(!on);
    });
}

void TBMPOptions::Update()
{
    FColors->setCurrentIndex(static_cast<int>(FFormat->PixelFormat()));
    FMonochrome->setChecked(FFormat->Monochrome());
    FColors->setEnabled(!FFormat->Monochrome());
}

TBMPExportFormat::TBMPExportFormat() = default;
TBMPExportFormat::~TBMPExportFormat() = default;

QStringList TBMPExportFormat::ColorNames()
{
    return {QStringLiteral("Default"),        QStringLiteral("2 (1 bit)"),      QStringLiteral("16 (4 bit)"),
            QStringLiteral("256 (8 bit)"),    QStringLiteral("32768 (15 bit)"), QStringLiteral("65536 (16 bit)"),
            QStringLiteral("16M (24 bit)"),   QStringLiteral("16M (32 bit)")};
}

QString TBMPExportFormat::MenuCaption() const
{
    return SExportAsBitmap;
}

QString TBMPExportFormat::DialogFilter() const
{
    return SExportFilterBitmap;
}

QWidget *TBMPExportFormat::OptionsPanel(bool create)
{
    if (!FOptions && create)
        FOptions = std::make_unique<TBMPOptions>(this);
    return FOptions.get();
}

int TBMPExportFormat::Bits() const
{
    if (FMonochrome)
        return 1;
    switch (FPixelFormat) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit: return 15;
    case pf16bit: return 16;
    case pf32bit: return 32;
    default: return 24; // the device's colours, as every reader takes them
    }
}

QImage TBMPExportFormat::Convert(const QImage &image, const QVector<QRgb> &palette) const
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    TBMPWriter w(&buffer, image.width(), image.height(), Bits(), palette);
    w.WriteRowsBottomUp(image);
    QImage back;
    back.loadFromData(buffer.data(), "BMP");
    return back;
}

void TBMPExportFormat::WriteImage(QIODevice &stream)
{
    const TExportPicture picture = Picture();
    picture.CheckRenderable(QStringLiteral("BMP"));
    const int bits = Bits();
    if (!TBMPWriter::Fits(picture.Width(), picture.Height(), bits == 15 ? 16 : bits))
        picture.TooLarge(QStringLiteral("BMP"), SExportAtMost4GB);
    QVector<QRgb> palette;
    TColorPass pass;
    const bool adaptive = bits == 8;
    if (adaptive) {
        GatherColors(picture, pass, Progress());
        palette = pass.Histogram.Palette(256);
    } else if (bits == 4) {
        palette = ClassicPalette16();
    }
    TBMPWriter bmp(&stream, picture.Width(), picture.Height(), bits, palette);
    // The file holds the bottom row first.
    RenderStrips(
        picture, true, adaptive ? &pass : nullptr, [&bmp](const QImage &strip, int) { bmp.WriteRowsBottomUp(strip); },
        Progress());
    bmp.Finish();
}

void TBMPExportFormat::CopyImageToClipboard()
{
    const TExportPicture picture = Picture();
    picture.CheckRenderable(QStringLiteral("BMP"));
    const QImage image = picture.RenderWhole();
    QVector<QRgb> palette;
    if (Bits() == 8) {
        TColorHistogram h;
        h.Add(image);
        palette = h.Palette(256);
    }
    SetClipboard(ImageMimeData(Bits() == 24 ? image : Convert(image, palette), QString(), QByteArray()));
}

std::vector<TExportOption> TBMPExportFormat::CommandLineOptions() const
{
    return {{QStringLiteral("colors"), QStringLiteral("default|2|16|256|32768|65536|16M|16M32"),
             &SOptionColors},
            {QStringLiteral("monochrome"), QString(), &SOptionMonochrome}};
}

QString TBMPExportFormat::SetCommandLineOption(const QString &name, const QString &value)
{
    if (name == QLatin1String("monochrome")) {
        FMonochrome = true;
        return QString();
    }
    if (name == QLatin1String("colors")) {
        static const QStringList values = {QStringLiteral("default"), QStringLiteral("2"),     QStringLiteral("16"),
                                           QStringLiteral("256"),     QStringLiteral("32768"), QStringLiteral("65536"),
                                           QStringLiteral("16m"),     QStringLiteral("16m32")};
        const int i = values.indexOf(value.toLower());
        if (i < 0)
            return BadValue(name, value);
        FPixelFormat = static_cast<TPixelFormat>(i);
        return QString();
    }
    return TKorExportFormat::SetCommandLineOption(name, value);
}
