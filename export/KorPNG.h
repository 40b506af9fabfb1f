#pragma once
// PNG files written with libpng: 8-bit RGB, fed row by row, so a picture
// larger than any image in memory is written strip by strip. The library is
// looked for when the program starts and loaded on first use; without it
// the PNG format is not offered.
//
//   TPNGWriter png(&file, width, height);
//   png.WriteRows(strip);        // as often as needed, top to bottom
//   png.Finish();

#include "core/Exceptions.h"

#include <QImage>
#include <QString>
#include <algorithm>
#include <memory>

class QIODevice;

// Whether the PNG library can be loaded (looked for once).
bool PNGLibraryPresent();
// The version of the library loaded ("1.6.39"), empty without one.
QString PNGLibraryVersion();

class TPNGWriter
{
public:
    // The largest width and height the format allows.
    static constexpr int kMaxSide = 0x7FFFFFFF;

    // How hard the library tries: zlib's level, 0 (none) to 9 (smallest),
    // the row filters, and zlib's strategy.
    enum TFilters { pfAdaptive, pfSub, pfUp, pfNone };
    enum TStrategy { psDefault, psRunLength, psFiltered };
    struct TOptions
    {
        int CompressionLevel = 9;
        TFilters Filters = pfAdaptive;
        TStrategy Strategy = psDefault;
    };
    // The settings for pictures of diagrams at a compression level: large
    // even areas and thin lines, where the "up" filter and zlib's
    // run-length strategy give files about as small as the slow settings
    // at a fraction of the time (measured by bench_export).
    static TOptions DiagramOptions(int level);

    // Starts a PNG of the given size on an open device. Throws EWriteError
    // when the header cannot be written or the library is missing.
    TPNGWriter(QIODevice *device, int width, int height, const TOptions &options);
    TPNGWriter(QIODevice *device, int width, int height) : TPNGWriter(device, width, height, TOptions()) {}
    ~TPNGWriter();
    TPNGWriter(const TPNGWriter &) = delete;
    TPNGWriter &operator=(const TPNGWriter &) = delete;

    // Appends the rows of an image of the picture's width (any format; the
    // alpha channel is dropped). Throws EWriteError when they cannot be
    // written or would go beyond the picture's height.
    void WriteRows(const QImage &rows);
    int RowsWritten() const { return FRows; }
    // Ends the file once every row is written; throws EWriteError
    // otherwise or when the end cannot be written.
    void Finish();

private:
    struct TState;
    std::unique_ptr<TState> F;
    int FWidth;
    int FHeight;
    int FRows = 0;
};

// Writes one image as a PNG file; throws EWriteError.
void SaveImageAsPNG(const QImage &image, const QString &fileName,
                    const TPNGWriter::TOptions &options = TPNGWriter::TOptions());

// ---------------------------------------------------------------------------
// The PNG format and its options page: the compression level.

#include "export/KorExport.h"

#include <QWidget>

class QSpinBox;
class TPNGExportFormat;

class TPNGOptions : public QWidget
{
    Q_OBJECT
public:
    explicit TPNGOptions(TPNGExportFormat *format);
    QSpinBox *Level() const { return FLevel; }

private:
    QSpinBox *FLevel;
};

class TPNGExportFormat : public TKorExportFormat
{
public:
    static const char *ClassName() { return "TPNGExportFormat"; }
    TPNGExportFormat();
    ~TPNGExportFormat() override;

    void CopyImageToClipboard() override;
    QString MenuCaption() const override;
    QString DefaultExtension() const override { return QStringLiteral("PNG"); }
    QString DialogFilter() const override;
    void WriteImage(QIODevice &stream) override;
    QWidget *OptionsPanel(bool create) override;
    std::vector<TExportOption> CommandLineOptions() const override;
    QString SetCommandLineOption(const QString &name, const QString &value) override;

    int CompressionLevel() const { return FLevel; }
    void SetCompressionLevel(int value) { FLevel = std::clamp(value, 0, 9); }

private:
    int FLevel = 9;
    std::unique_ptr<TPNGOptions> FOptions;
};
