#include "export/KorVectorFormats.h"

#include "core/ScopeExit.h"
#include "export/KorExportConst.h"
#include "export/RasterExport.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>

namespace {

// Vector targets have their own resolution: text keeps the size it has
// on the screen relative to the drawing.
template <class F>
void AtScreenFontResolution(TCustomKorPanel &panel, F draw)
{
    TKorCanvas3D *c = panel.Canvas();
    const int saved = c->FontResolution();
    c->SetFontResolution(96);
    TAtExit restore([c, saved] { c->SetFontResolution(saved); });
    draw();
}

void Step(TExportProgress *progress, int done)
{
    if (progress && !progress->Step(done, 1))
        throw EExportCancelled();
}

} // namespace

QString TPDFExportFormat::MenuCaption() const
{
    return SExportAsPDF;
}

QString TPDFExportFormat::DialogFilter() const
{
    return SExportFilterPDF;
}

void TPDFExportFormat::WriteImage(QIODevice &stream)
{
    const TExportPicture picture = Picture();
    Step(Progress(), 0);
    const int side = std::max(picture.Width(), picture.Height());
    const int dpi = std::max(96, int(std::ceil(side * 72.0 / kMaxPagePoints)));
    {
        QPdfWriter pdf(&stream);
        pdf.setCreator(QStringLiteral("Dendrix"));
        pdf.setTitle(picture.Panel().DocumentTitle());
        pdf.setResolution(dpi);
        pdf.setPageLayout(QPageLayout(
            QPageSize(QSizeF(picture.Width() * 72.0 / dpi, picture.Height() * 72.0 / dpi), QPageSize::Point,
                      QString(), QPageSize::ExactMatch),
            QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Point));
        QPainter p;
        if (!p.begin(&pdf))
            ExportWriteFailed(&stream, QStringLiteral("PDF"), stream.errorString());
        AtScreenFontResolution(picture.Panel(), [&] { picture.Draw(&p); });
        p.end();
    }
    Step(Progress(), 1);
}

void TPDFExportFormat::CopyImageToClipboard()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteImage(buffer);
    const TExportPicture picture = Picture();
    picture.CheckRenderable(QStringLiteral("PDF"));
    SetClipboard(ImageMimeData(picture.RenderWhole(), QStringLiteral("application/pdf"), buffer.data()));
}

QString TSVGExportFormat::MenuCaption() const
{
    return SExportAsSVG;
}

QString TSVGExportFormat::DialogFilter() const
{
    return SExportFilterSVG;
}

void TSVGExportFormat::WriteImage(QIODevice &stream)
{
    const TExportPicture picture = Picture();
    Step(Progress(), 0);
    QSvgGenerator svg;
    svg.setOutputDevice(&stream);
    svg.setSize(QSize(picture.Width(), picture.Height()));
    svg.setViewBox(QRect(0, 0, picture.Width(), picture.Height()));
    svg.setResolution(96);
    svg.setTitle(picture.Panel().DocumentTitle());
    svg.setDescription(QStringLiteral("Dendrix diagram"));
    {
        QPainter p;
        if (!p.begin(&svg))
            ExportWriteFailed(&stream, QStringLiteral("SVG"), stream.errorString());
        AtScreenFontResolution(picture.Panel(), [&] { picture.Draw(&p); });
        p.end();
    }
    Step(Progress(), 1);
}

void TSVGExportFormat::CopyImageToClipboard()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteImage(buffer);
    const TExportPicture picture = Picture();
    picture.CheckRenderable(QStringLiteral("SVG"));
    SetClipboard(ImageMimeData(picture.RenderWhole(), QStringLiteral("image/svg+xml"), buffer.data()));
}
