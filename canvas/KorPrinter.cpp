#include "canvas/KorPrinter.h"

#include "canvas/KorConst.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

std::unique_ptr<TKorPrinter> &Installed()
{
    static std::unique_ptr<TKorPrinter> printer;
    return printer;
}

} // namespace

TKorPrinter::TKorPrinter(bool systemPrinters, bool pdfFile)
    : FSystemPrinters(systemPrinters), FPdfFile(pdfFile), FDevice(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    FDevice->setPageSize(QPageSize(QPageSize::A4));
    FDevice->setPageOrientation(QPageLayout::Portrait);
    Refresh();
}

TKorPrinter::~TKorPrinter() = default;

void TKorPrinter::Refresh()
{
    const QString current = PrinterName();
    const bool wasFile = FIndex >= 0 && PrintsToFile();
    FNames.clear();
    QString preferred;
    if (FSystemPrinters) {
        FNames = QPrinterInfo::availablePrinterNames();
        preferred = QPrinterInfo::defaultPrinterName();
    }
    if (FPdfFile)
        FNames << SPrinterPdfFile.Text();
    int index = -1;
    if (wasFile && FPdfFile)
        index = FNames.size() - 1;
    else if (!current.isEmpty())
        index = FNames.indexOf(current);
    if (index < 0 && !preferred.isEmpty())
        index = FNames.indexOf(preferred);
    if (index < 0 && !FNames.isEmpty())
        index = 0;
    FIndex = index;
    SelectDevice();
}

void TKorPrinter::SetPrinterIndex(int index)
{
    if (index < 0 || index >= FNames.size() || index == FIndex)
        return;
    FIndex = index;
    SelectDevice();
}

bool TKorPrinter::PrintsToFile() const
{
    return FPdfFile && FIndex >= 0 && FIndex == FNames.size() - 1;
}

void TKorPrinter::SelectDevice()
{
    if (FIndex < 0)
        return;
    // The page and orientation chosen so far stay with the next printer.
    const QPageLayout layout = FDevice->pageLayout();
    if (PrintsToFile()) {
        const QString file = FDevice->outputFileName();
        FDevice->setOutputFormat(QPrinter::PdfFormat);
        FDevice->setResolution(kPdfResolution);
        // The whole sheet is the page: a file has no unprintable edge.
        FDevice->setFullPage(true);
        FDevice->setOutputFileName(file);
    } else {
        FDevice->setOutputFormat(QPrinter::NativeFormat);
        FDevice->setFullPage(false);
        FDevice->setPrinterName(FNames.at(FIndex));
    }
    FDevice->setPageSize(layout.pageSize());
    FDevice->setPageOrientation(layout.orientation());
}

QString TKorPrinter::OutputFileName() const
{
    return PrintsToFile() ? FDevice->outputFileName() : QString();
}

void TKorPrinter::SetOutputFileName(const QString &fileName)
{
    if (PrintsToFile())
        FDevice->setOutputFileName(fileName);
}

TPrinterOrientation TKorPrinter::Orientation() const
{
    return FIndex >= 0 && FDevice->pageLayout().orientation() == QPageLayout::Landscape ? poLandscape : poPortrait;
}

void TKorPrinter::SetOrientation(TPrinterOrientation value)
{
    if (FIndex < 0)
        return;
    FDevice->setPageOrientation(value == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

QSize TKorPrinter::PageSize() const
{
    if (FIndex < 0)
        throw EPrinter(SPrinterNotInstalled);
    const int w = FDevice->width();
    const int h = FDevice->height();
    if (w <= 0 || h <= 0)
        throw EPrinter(SPrinterNoPageSize);
    return QSize(w, h);
}

double TKorPrinter::Aspect() const
{
    if (FIndex < 0 || FDevice->logicalDpiY() <= 0)
        return 1.0;
    return static_cast<double>(FDevice->logicalDpiX()) / FDevice->logicalDpiY();
}

QPrinter &TKorPrinter::Device()
{
    if (FIndex < 0)
        throw EPrinter(SPrinterNotInstalled);
    return *FDevice;
}

TKorPrinter &Printer()
{
    std::unique_ptr<TKorPrinter> &p = Installed();
    if (!p)
        p = std::make_unique<TKorPrinter>();
    return *p;
}

std::unique_ptr<TKorPrinter> InstallPrinter(std::unique_ptr<TKorPrinter> printer)
{
    std::unique_ptr<TKorPrinter> &p = Installed();
    std::swap(p, printer);
    return printer;
}
