#pragma once
// JPEG files written with libjpeg, baseline (not progressive), fed row by
// row so a tall picture is written strip by strip.
//
//   TJPEGWriter jpeg(&file, width, height, {95, false, false});
//   jpeg.WriteRows(strip);  ...
//   jpeg.Finish();

#include <QImage>
#include <memory>

class QIODevice;

class TJPEGWriter
{
public:
    // The largest width and height the format allows.
    static constexpr int kMaxSide = 65500;

    struct TOptions
    {
        int Quality = 95;       // 1 .. 100
        bool GrayScale = false; // one gray channel
        bool Speed = false;     // the fast integer transform instead of the exact one
    };

    // Starts a JPEG of the given size on an open device; throws EWriteError
    // when the size does not fit or the header cannot be written.
    TJPEGWriter(QIODevice *device, int width, int height, const TOptions &options);
    ~TJPEGWriter();
    TJPEGWriter(const TJPEGWriter &) = delete;
    TJPEGWriter &operator=(const TJPEGWriter &) = delete;

    // Appends rows (top to bottom) of an image of the picture's width.
    void WriteRows(const QImage &rows);
    int RowsWritten() const { return FRows; }
    // Ends the file once every row is written.
    void Finish();

private:
    struct TState;
    std::unique_ptr<TState> F;
    int FWidth;
    int FHeight;
    int FRows = 0;
};

// ---------------------------------------------------------------------------
// The JPEG format and its options page: quality or speed, gray scale and
// the quality percentage.

#include "export/KorExport.h"

#include <QWidget>

class QCheckBox;
class QRadioButton;
class QSpinBox;
class TJPEGExportFormat;

class TJPEGOptions : public QWidget
{
    Q_OBJECT
public:
    explicit TJPEGOptions(TJPEGExportFormat *format);
    QRadioButton *BestQuality() const { return FQualityFirst; }
    QRadioButton *BestSpeed() const { return FSpeedFirst; }
    QCheckBox *GrayScale() const { return FGray; }
    QSpinBox *Quality() const { return FQuality; }

private:
    QRadioButton *FQualityFirst;
    QRadioButton *FSpeedFirst;
    QCheckBox *FGray;
    QSpinBox *FQuality;
};

class TJPEGExportFormat : public TKorExportFormat
{
public:
    static const char *ClassName() { return "TJPEGExportFormat"; }
    TJPEGExportFormat();
    ~TJPEGExportFormat() override;

    void CopyImageToClipboard() override;
    QString MenuCaption() const override;
    QString DefaultExtension() const override { return QStringLiteral("jpg"); }
    QString DialogFilter() const override;
    void WriteImage(QIODevice &stream) override;
    QWidget *OptionsPanel(bool create) override;
    QStringList Extensions() const override { return {QStringLiteral("jpg"), QStringLiteral("jpeg")}; }
    std::vector<TExportOption> CommandLineOptions() const override;
    QString SetCommandLineOption(const QString &name, const QString &value) override;

    TJPEGWriter::TOptions &Options() { return FSettings; }
    const TJPEGWriter::TOptions &Options() const { return FSettings; }

private:
    TJPEGWriter::TOptions FSettings;
    std::unique_ptr<TJPEGOptions> FOptions;
};
