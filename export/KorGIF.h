#pragma once
// GIF files (GIF89a) written with giflib: one image of at most 256 colours,
// rows mapped to the palette by nearest colour or error diffusion as they
// come, top down, so a tall picture is written strip by strip.
//
//   TGIFWriter gif(&file, width, height, palette, dmFloydSteinberg);
//   gif.WriteRows(strip);  ...
//   gif.Finish();

#include "export/ColorReduction.h"

#include <QImage>
#include <QVector>
#include <memory>

class QIODevice;

class TGIFWriter
{
public:
    // The largest width and height the format allows.
    static constexpr int kMaxSide = 65535;

    // Starts the file; throws EWriteError when the size does not fit or the
    // header cannot be written.
    TGIFWriter(QIODevice *device, int width, int height, const QVector<QRgb> &palette, TDitherMode dither);
    ~TGIFWriter();
    TGIFWriter(const TGIFWriter &) = delete;
    TGIFWriter &operator=(const TGIFWriter &) = delete;

    void WriteRows(const QImage &rows);
    int RowsWritten() const { return FRows; }
    void Finish();

private:
    struct TState;
    std::unique_ptr<TState> F;
    int FWidth;
    int FHeight;
    int FRows = 0;
};

// ---------------------------------------------------------------------------
// The GIF format and its options page: the compression (always RLE: the
// "LZW" choice snaps back), the dither and the colour reduction.

#include "export/KorExport.h"

#include <QWidget>

class QComboBox;
class QRadioButton;
class TGIFExportFormat;

class TGIFOptions : public QWidget
{
    Q_OBJECT
public:
    explicit TGIFOptions(TGIFExportFormat *format);
    QRadioButton *LZW() const { return FLZW; }
    QRadioButton *RLE() const { return FRLE; }
    QComboBox *Dither() const { return FDither; }
    QComboBox *Reduction() const { return FReduction; }

private:
    QRadioButton *FLZW;
    QRadioButton *FRLE;
    QComboBox *FDither;
    QComboBox *FReduction;
};

class TGIFExportFormat : public TKorExportFormat
{
public:
    static const char *ClassName() { return "TGIFExportFormat"; }
    TGIFExportFormat();
    ~TGIFExportFormat() override;

    void CopyImageToClipboard() override;
    QString MenuCaption() const override;
    QString DefaultExtension() const override { return QStringLiteral("gif"); }
    QString DialogFilter() const override;
    void WriteImage(QIODevice &stream) override;
    QWidget *OptionsPanel(bool create) override;
    std::vector<TExportOption> CommandLineOptions() const override;
    QString SetCommandLineOption(const QString &name, const QString &value) override;

    static QStringList DitherNames();
    static QStringList ReductionNames();
    TDitherMode Dither() const { return FDither; }
    void SetDither(TDitherMode value) { FDither = value; }
    TColorReduction Reduction() const { return FReduction; }
    void SetReduction(TColorReduction value) { FReduction = value; }

private:
    TDitherMode FDither = dmNearest;
    TColorReduction FReduction = crNone;
    std::unique_ptr<TGIFOptions> FOptions;
};
