#include "export/KorExport.h"

#include "export/KorBmpOptions.h"
#include "export/KorEmfOptions.h"
#include "export/KorExportConst.h"
#include "export/KorGIF.h"
#include "export/KorJPEG.h"
#include "export/KorPCX.h"
#include "export/KorPNG.h"
#include "export/KorVMLCanvas.h"
#include "export/KorVectorFormats.h"
#include "view/Arbolix.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <algorithm>

// ---------------------------------------------------------------------------
// The base

TKorExportFormat::TKorExportFormat() = default;
TKorExportFormat::~TKorExportFormat() = default;

void TKorExportFormat::ReserveFilterSlots(int &counter)
{
    ++counter;
    FFirstFilterPosition = counter;
}

QWidget *TKorExportFormat::OptionsPanel(bool create)
{
    Q_UNUSED(create);
    return nullptr;
}

QStringList TKorExportFormat::Extensions() const
{
    return {DefaultExtension().toLower()};
}

QString TKorExportFormat::SetCommandLineOption(const QString &name, const QString &value)
{
    Q_UNUSED(value);
    return FormatMessage(SCommandOptionNotForFormat, {QStringLiteral("--") + name, DefaultExtension().toLower()});
}

QString TKorExportFormat::BadValue(const QString &name, const QString &value)
{
    return FormatMessage(SCommandBadValue, {value, QStringLiteral("--") + name});
}

void TKorExportFormat::CheckPanel() const
{
    if (!FPanel)
        throw EExportError(SExportNoPanel);
}

TExportPicture TKorExportFormat::Picture() const
{
    CheckPanel();
    TExportPicture p = FWholeDiagram ? TExportPicture::WholeDiagram(*FWholeDiagram, FWidth, FHeight)
                                     : TExportPicture(*FPanel, FWidth, FHeight);
    p.SetStripBytes(FStripBytes);
    return p;
}

void TKorExportFormat::SetClipboard(QMimeData *data)
{
    QGuiApplication::clipboard()->setMimeData(data);
}

void TKorExportFormat::Copy()
{
    CheckPanel();
    FNotices.clear();
    CopyImageToClipboard();
}

void TKorExportFormat::SaveToFile(const QString &fileName)
{
    CheckPanel();
    FNotices.clear();
    TExportFile file(fileName);
    file.Open();
    WriteImage(file);
    file.Commit();
}

// ---------------------------------------------------------------------------
// The registry

namespace {

std::vector<const TExportFormatClass *> &Formats()
{
    static std::vector<const TExportFormatClass *> formats = [] {
        std::vector<const TExportFormatClass *> f = {
            &ExportFormatClassOf<TBMPExportFormat>(), &ExportFormatClassOf<TEMFExportFormat>(),
            &ExportFormatClassOf<TVMLExportFormat>(), &ExportFormatClassOf<TPCXExportFormat>(),
            &ExportFormatClassOf<TGIFExportFormat>()};
        // PNG only when its library can be loaded.
        if (PNGLibraryPresent())
            f.push_back(&ExportFormatClassOf<TPNGExportFormat>());
        f.push_back(&ExportFormatClassOf<TJPEGExportFormat>());
        f.push_back(&ExportFormatClassOf<TPDFExportFormat>());
        f.push_back(&ExportFormatClassOf<TSVGExportFormat>());
        return f;
    }();
    return formats;
}

} // namespace

const std::vector<const TExportFormatClass *> &ExportFormatList()
{
    return Formats();
}

void AddExportFormat(const TExportFormatClass &format)
{
    auto &f = Formats();
    if (std::find(f.begin(), f.end(), &format) == f.end())
        f.push_back(&format);
}

void RemoveExportFormat(const TExportFormatClass &format)
{
    auto &f = Formats();
    f.erase(std::remove(f.begin(), f.end(), &format), f.end());
}

std::unique_ptr<TKorExportFormat> FindExportFormat(const QString &extension)
{
    const QString ext = extension.trimmed().toLower().remove(0, extension.trimmed().startsWith(QLatin1Char('.')) ? 1 : 0);
    if (ext.isEmpty())
        return nullptr;
    for (const TExportFormatClass *c : ExportFormatList()) {
        std::unique_ptr<TKorExportFormat> f = c->Create();
        if (f->Extensions().contains(ext)) {
            f->ChooseExtension(ext);
            return f;
        }
    }
    return nullptr;
}

bool ExportDiagramToFile(TCustomTree &tree, const QString &fileName, QStringList *notices)
{
    std::unique_ptr<TKorExportFormat> f = FindExportFormat(QFileInfo(fileName).suffix());
    if (!f)
        return false;
    f->SetPanel(&tree);
    f->SaveToFile(fileName);
    if (notices)
        *notices = f->Notices();
    return true;
}

QString ExportSaveFilter(const QString &nativeFilter)
{
    QString filter = nativeFilter;
    for (const TExportFormatClass *c : ExportFormatList()) {
        if (!filter.isEmpty())
            filter += QLatin1Char('|');
        filter += c->Create()->DialogFilter();
    }
    return filter;
}
