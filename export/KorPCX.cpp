#include "export/KorPCX.h"

#include "export/KorExportConst.h"
#include "export/PCX.h"
#include "export/RasterExport.h"

TPCXExportFormat::TPCXExportFormat() = default;
TPCXExportFormat::~TPCXExportFormat() = default;

QString TPCXExportFormat::MenuCaption() const
{
    return SExportAsPCX;
}

QString TPCXExportFormat::DialogFilter() const
{
    return SExportFilterPCX;
}

QWidget *TPCXExportFormat::OptionsPanel(bool create)
{
    if (!FOptions && create) {
        FOptions = std::make_unique<QWidget>();
        FOptions->setObjectName(QStringLiteral("PCXOptions"));
    }
    return FOptions.get();
}

void TPCXExportFormat::WriteImage(QIODevice &stream)
{
    const TExportPicture picture = Picture();
    picture.CheckRenderable(QStringLiteral("PCX"));
    if (picture.Width() > TPCXWriter::kMaxSide || picture.Height() > TPCXWriter::kMaxSide)
        picture.TooLarge(QStringLiteral("PCX"), FormatMessage(SExportAtMostSide, {QString::number(TPCXWriter::kMaxSide)}));
    TPCXWriter pcx(&stream, picture.Width(), picture.Height(), pcxTrueColor);
    picture.Render(false, [&pcx](const QImage &strip, int) { pcx.WriteRows(strip); }, Progress());
    pcx.Finish();
}

void TPCXExportFormat::CopyImageToClipboard()
{
    const TExportPicture picture = Picture();
    picture.CheckRenderable(QStringLiteral("PCX"));
    SetClipboard(ImageMimeData(picture.RenderWhole(), QString(), QByteArray()));
}
