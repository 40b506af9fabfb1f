#pragma once
// Vector documents of the drawing: PDF (lines and shapes as paths, text as
// real, selectable text with its fonts) and SVG, drawn through the same
// pipeline as every other picture. No options.

#include "export/KorExport.h"

class TPDFExportFormat : public TKorExportFormat
{
public:
    static const char *ClassName() { return "TPDFExportFormat"; }
    // Pages larger than this many points are not shown by some readers: a
    // larger drawing is written at a finer resolution, keeping the page
    // within it.
    static constexpr int kMaxPagePoints = 14400;

    void CopyImageToClipboard() override;
    QString MenuCaption() const override;
    QString DefaultExtension() const override { return QStringLiteral("pdf"); }
    QString DialogFilter() const override;
    void WriteImage(QIODevice &stream) override;
};

class TSVGExportFormat : public TKorExportFormat
{
public:
    static const char *ClassName() { return "TSVGExportFormat"; }
    void CopyImageToClipboard() override;
    QString MenuCaption() const override;
    QString DefaultExtension() const override { return QStringLiteral("svg"); }
    QString DialogFilter() const override;
    void WriteImage(QIODevice &stream) override;
};
