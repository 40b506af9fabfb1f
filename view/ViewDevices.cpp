#include "view/ViewDevices.h"

#include <QGuiApplication>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>

namespace {

int gScreenPpi = 0;
std::function<std::optional<TPrinterPage>()> gPrinterSource;

// Asking the print system is slow: its answer is kept for the session.
std::optional<TPrinterPage> QtDefaultPrinter()
{
    static const std::optional<TPrinterPage> page = []() -> std::optional<TPrinterPage> {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            return std::nullopt;
        QPrinter printer(info, QPrinter::PrinterResolution);
        TPrinterPage p{printer.width(), printer.height(), printer.logicalDpiX(), printer.logicalDpiY()};
        if (p.Width <= 0 || p.Height <= 0 || p.DpiX <= 0 || p.DpiY <= 0)
            return std::nullopt;
        return p;
    }();
    return page;
}

} // namespace

namespace ViewDevices {

int ScreenPixelsPerInch()
{
    if (gScreenPpi > 0)
        return gScreenPpi;
    const QScreen *screen = qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
    const int ppi = screen ? qRound(screen->logicalDotsPerInch()) : 0;
    return ppi > 0 ? ppi : 96;
}

void SetScreenPixelsPerInch(int ppi)
{
    gScreenPpi = ppi;
}

std::optional<TPrinterPage> DefaultPrinter()
{
    return gPrinterSource ? gPrinterSource() : QtDefaultPrinter();
}

void SetPrinterSource(std::function<std::optional<TPrinterPage>()> source)
{
    gPrinterSource = std::move(source);
}

} // namespace ViewDevices
