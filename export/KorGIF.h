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
    // Starts an animated file: frames of the whole size, each begun with
    // BeginFrame, played once or, with `loop`, over and over.
    struct TFrames
    {
        bool Loop = false;
    };
    TGIFWriter(QIODevice *device, int width, int height, const QVector<QRgb> &palette, TDitherMode dither,
               const TFrames &frames);
    ~TGIFWriter();
    TGIFWriter(const TGIFWriter &) = delete;
    TGIFWriter &operator=(const TGIFWriter &) = delete;

    // An animated file's next frame, shown for `delay` hundredths of a
    // second; the frame before must be complete.
    void BeginFrame(int delay);
    int FrameCount() const { return FFrames; }
    void WriteRows(const QImage &rows);
    // Rows of the image (of the frame) written so far.
    int RowsWritten() const { return FRows; }
    void Finish();

private:
    void Start(const QVector<QRgb> &palette, TDitherMode dither, const TFrames *frames);
    void CheckComplete() const;

    struct TState;
    std::unique_ptr<TState> F;
    int FWidth;
    int FHeight;
    int FRows = 0;
    int FFrames = 0;
    bool FAnimated = false;
    TDitherMode FDither = dmNearest;
};

// ---------------------------------------------------------------------------
// The GIF format and its options page: the compression (always RLE: the
// "LZW" choice snaps back), the dither and the colour reduction.

#include "export/KorExport.h"

#include <QWidget>

class QComboBox;
class QRadioButton;
class TGIFExportFormat;
class TTreeAnimate;

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
    // Writing the whole diagram's animation (--animate) instead of one
    // picture; the player is the caller's.
    bool Animate() const { return FAnimate; }
    void SetAnimate(bool value) { FAnimate = value; }
    void SetAnimation(TTreeAnimate *player) { FAnimation = player; }

private:
    TTreeAnimate *FAnimation = nullptr;
    bool FAnimate = false;
    TDitherMode FDither = dmNearest;
    TColorReduction FReduction = crNone;
    std::unique_ptr<TGIFOptions> FOptions;
};
