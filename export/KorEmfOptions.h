#pragma once
// The metafile format: enhanced (.emf) or old-style (.wmf), and its
// options page. An old-style metafile holds 16-bit coordinates: a drawing
// that cannot fit in them is written as an embedded bitmap, and the format
// says so in its notices.

#include "export/KorExport.h"

#include <QWidget>
#include <memory>

class QCheckBox;
class TEMFExportFormat;

class TEMFOptions : public QWidget
{
    Q_OBJECT
public:
    explicit TEMFOptions(TEMFExportFormat *format);
    QCheckBox *Enhanced() const { return FEnhanced; }

private:
    QCheckBox *FEnhanced;
};

class TEMFExportFormat : public TKorExportFormat
{
public:
    static const char *ClassName() { return "TEMFExportFormat"; }
    // The largest embedded bitmap, in pixels, of a drawing too large for an
    // old-style metafile.
    static constexpr qint64 kMaxBitmapPixels = qint64(64) << 20;

    TEMFExportFormat();
    ~TEMFExportFormat() override;

    void CopyImageToClipboard() override;
    // The second of its two entries (".wmf") when Enhanced is off.
    int SaveDialogFilterIndex() const override;
    void ReserveFilterSlots(int &counter) override;
    QString MenuCaption() const override;
    QString DefaultExtension() const override;
    QString DialogFilter() const override;
    void WriteImage(QIODevice &stream) override;
    QWidget *OptionsPanel(bool create) override;
    QStringList Extensions() const override { return {QStringLiteral("emf"), QStringLiteral("wmf")}; }
    void ChooseExtension(const QString &extension) override;

    bool Enhanced() const { return FEnhanced; }
    void SetEnhanced(bool value) { FEnhanced = value; }
    // The file's bytes.
    QByteArray Bytes();

private:
    bool FEnhanced = true;
    std::unique_ptr<TEMFOptions> FOptions;
};
