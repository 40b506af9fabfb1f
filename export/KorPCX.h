#pragma once
// The PCX format: true colour, no options (an empty page, so the dialog
// shows no options tab).

#include "export/KorExport.h"

#include <QWidget>
#include <memory>

class TPCXExportFormat : public TKorExportFormat
{
public:
    static const char *ClassName() { return "TPCXExportFormat"; }
    TPCXExportFormat();
    ~TPCXExportFormat() override;

    void CopyImageToClipboard() override;
    QString MenuCaption() const override;
    QString DefaultExtension() const override { return QStringLiteral("pcx"); }
    QString DialogFilter() const override;
    void WriteImage(QIODevice &stream) override;
    QWidget *OptionsPanel(bool create) override;

private:
    std::unique_ptr<QWidget> FOptions;
};
