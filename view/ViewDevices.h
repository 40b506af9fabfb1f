#pragma once
// What the view asks of the machine: the screen's resolution (rulers in
// centimetres and inches, page sizes) and the default printer's page.
// Both are read from Qt once; tests put values of their own in place.

#include <functional>
#include <optional>

// A printer's page: its printable size in printer pixels and the printer's
// resolution in pixels per inch.
struct TPrinterPage
{
    int Width = 0;
    int Height = 0;
    int DpiX = 0;
    int DpiY = 0;
};

namespace ViewDevices {

// The screen's logical pixels per inch (96 without a screen).
int ScreenPixelsPerInch();
// 0 or less: the screen is asked again.
void SetScreenPixelsPerInch(int ppi);

// The default printer's page, none without a printer.
std::optional<TPrinterPage> DefaultPrinter();
// Replaces the printer the view asks (an empty function: Qt's default
// printer again).
void SetPrinterSource(std::function<std::optional<TPrinterPage>()> source);

} // namespace ViewDevices
