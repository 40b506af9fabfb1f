#include "export/ExportFile.h"
#include "export/KorAnimatedGIF.h"
#include "export/KorExportConst.h"
#include "export/KorGIF.h"
#include "export/RasterExport.h"

#include <QBuffer>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

TGIFOptions::TGIFOptions(TGIFExportFormat *format)
{
    setObjectName(QStringLiteral("GIFOptions"));
    auto *layout = new QVBoxLayout(this);
    auto *group = new QGroupBox(QStringLiteral("&Compression:"), this);
    auto *radios = new QHBoxLayout(group);
    FLZW = new QRadioButton(QStringLiteral("LZW"), group);
    FLZW->setObjectName(QStringLiteral("RGLZW"));
    FRLE = new QRadioButton(QStringLiteral("RLE"), group);
    FRLE->setObjectName(QStringLiteral("RGRLE"));
    FRLE->setChecked(true);
    radios->addWidget(FLZW);
    radios->addWidget(FRLE);
    layout->addWidget(group);
    auto *form = new QFormLayout;
    FDither = new QComboBox(this);
    FDither->setObjectName(QStringLiteral("CBDither"));
    FDither->addItems(TGIFExportFormat::DitherNames());
    FDither->setCurrentIndex(format->Dither());
    auto *dl = new QLabel(QStringLiteral("&Dither:"), this);
    dl->setBuddy(FDither);
    form->addRow(dl, FDither);
    FReduction = new QComboBox(this);
    FReduction->setObjectName(QStringLiteral("CBReduction"));
    FReduction->addItems(TGIFExportFormat::ReductionNames());
    FReduction->setCurrentIndex(format->Reduction());
    auto *rl = new QLabel(QStringLiteral("&Reduction:"), this);
    rl->setBuddy(FReduction);
    form->addRow(rl, FReduction);
    layout->addLayout(form);
    layout->addStretch();
    // Files are always run-length coded: the other choice snaps back.
    connect(FLZW, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            FRLE->setChecked(true);
    });
    connect(FDither, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [format](int i) { format->SetDither(static_cast<TDitherMode>(std::max(0, i))); });
    connect(FReduction, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [format](int i) { format->SetReduction(static_cast<TColorReduction>(std::max(0, i))); });
}

TGIFExportFormat::TGIFExportFormat() = default;
TGIFExportFormat::~TGIFExportFormat() = default;

QStringList TGIFExportFormat::DitherNames()
{
    return {QStringLiteral("Nearest"), QStringLiteral("Floyd Steinberg"), QStringLiteral("Stucki"),
            QStringLiteral("Sierra"),  QStringLiteral("JaJuNI"),          QStringLiteral("Steve Arche"),
            QStringLiteral("Burkes")};
}

QStringList TGIFExportFormat::ReductionNames()
{
    return {QStringLiteral("None"),       QStringLiteral("Windows 20"), QStringLiteral("Windows 256"),
            QStringLiteral("Windows Gray"), QStringLiteral("Monochrome"), QStringLiteral("Gray Scale"),
            QStringLiteral("Netscape"),   QStringLiteral("Quantize"),   QStringLiteral("Quantize 256")};
}

QString TGIFExportFormat::MenuCaption() const
{
    return SExportAsGIF;
}

QString TGIFExportFormat::DialogFilter() const
{
    return SExportFilterGIF;
}

QWidget *TGIFExportFormat::OptionsPanel(bool create)
{
    if (!FOptions && create)
        FOptions = std::make_unique<TGIFOptions>(this);
    return FOptions.get();
}

void TGIFExportFormat::WriteImage(QIODevice &stream)
{
    if (FAnimate) {
        if (!FAnimation || !WholeDiagram())
            throw EExportError(SExportNoAnimation);
        WriteAnimatedGIF(*WholeDiagram(), *FAnimation, stream, FDither, FReduction);
        return;
    }
    const TExportPicture picture = Picture();
    picture.CheckRenderable(QStringLiteral("GIF"));
    if (picture.Width() > TGIFWriter::kMaxSide || picture.Height() > TGIFWriter::kMaxSide)
        picture.TooLarge(QStringLiteral("GIF"), FormatMessage(SExportAtMostSide, {QString::number(TGIFWriter::kMaxSide)}));
    TColorPass pass;
    const bool adaptive = ReductionNeedsHistogram(FReduction);
    if (adaptive)
        GatherColors(picture, pass, Progress());
    TGIFWriter gif(&stream, picture.Width(), picture.Height(), PaletteFor(FReduction, adaptive ? &pass.Histogram : nullptr),
                   FDither);
    RenderStrips(
        picture, false, adaptive ? &pass : nullptr, [&gif](const QImage &strip, int) { gif.WriteRows(strip); },
        Progress());
    gif.Finish();
}

void TGIFExportFormat::CopyImageToClipboard()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteImage(buffer);
    QImage shown;
    shown.loadFromData(buffer.data(), "GIF");
    SetClipboard(ImageMimeData(shown, QStringLiteral("image/gif"), buffer.data()));
}

std::vector<TExportOption> TGIFExportFormat::CommandLineOptions() const
{
    QStringList dithers, reductions;
    for (const QString &n : DitherNames())
        dithers << CommandLineName(n);
    for (const QString &n : ReductionNames())
        reductions << CommandLineName(n);
    return {{QStringLiteral("dither"), dithers.join(QLatin1Char('|')),
             &SOptionDither},
            {QStringLiteral("reduction"), reductions.join(QLatin1Char('|')),
             &SOptionReduction},
            {QStringLiteral("animate"), QString(), &SOptionAnimate}};
}

QString TGIFExportFormat::SetCommandLineOption(const QString &name, const QString &value)
{
    if (name == QLatin1String("dither")) {
        const int i = NamedIndex(DitherNames(), value);
        if (i < 0)
            return BadValue(name, value);
        FDither = static_cast<TDitherMode>(i);
        return QString();
    }
    if (name == QLatin1String("animate")) {
        FAnimate = true;
        return QString();
    }
    if (name == QLatin1String("reduction")) {
        const int i = NamedIndex(ReductionNames(), value);
        if (i < 0)
            return BadValue(name, value);
        FReduction = static_cast<TColorReduction>(i);
        return QString();
    }
    return TKorExportFormat::SetCommandLineOption(name, value);
}
