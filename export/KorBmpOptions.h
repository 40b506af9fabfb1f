#pragma once
// The bitmap format (.bmp) and its options page: the colours (the pixel
// format) and monochrome.

#include "canvas/KorPanel.h"
#include "export/KorExport.h"

#include <QWidget>
#include <memory>

class QCheckBox;
class QComboBox;
class TBMPExportFormat;

class TBMPOptions : public QWidget
{
    Q_OBJECT
public:
    explicit TBMPOptions(TBMPExportFormat *format);
    QComboBox *Colors() const { return FColors; }
    QCheckBox *Monochrome() const { return FMonochrome; }
    // Shows the format's settings.
    void Update();

private:
    TBMPExportFormat *FFormat;
    QComboBox *FColors;
    QCheckBox *FMonochrome;
};

class TBMPExportFormat : public TKorExportFormat
{
public:
    static const char *ClassName() { return "TBMPExportFormat"; }
    TBMPExportFormat();
    ~TBMPExportFormat() override;

    void CopyImageToClipboard() override;
    QString MenuCaption() const override;
    QString DefaultExtension() const override { return QStringLiteral("bmp"); }
    QString DialogFilter() const override;
    void WriteImage(QIODevice &stream) override;
    QWidget *OptionsPanel(bool create) override;
    std::vector<TExportOption> CommandLineOptions() const override;
    QString SetCommandLineOption(const QString &name, const QString &value) override;

    // The captions of the colour choices, in pixel-format order.
    static QStringList ColorNames();
    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat value) { FPixelFormat = value; }
    bool Monochrome() const { return FMonochrome; }
    void SetMonochrome(bool value) { FMonochrome = value; }
    // Bits per pixel the file stores for the settings.
    int Bits() const;

private:
    // The picture in the settings' pixel format.
    QImage Convert(const QImage &image, const QVector<QRgb> &palette) const;
    TPixelFormat FPixelFormat = pfDevice;
    bool FMonochrome = false;
    std::unique_ptr<TBMPOptions> FOptions;
};
