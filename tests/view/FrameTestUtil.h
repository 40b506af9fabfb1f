// Shared set-up of the grid, page, scroll-bar and ruler tests: the screen
// resolution and the default printer the view sees, put in place for one
// test and taken back afterwards.

#pragma once

#include "view/ViewDevices.h"

#include <QImage>
#include <optional>

class TDevicesGuard
{
public:
    explicit TDevicesGuard(int screenPpi = 96, std::optional<TPrinterPage> printer = std::nullopt)
    {
        ViewDevices::SetScreenPixelsPerInch(screenPpi);
        ViewDevices::SetPrinterSource([printer] { return printer; });
    }
    ~TDevicesGuard()
    {
        ViewDevices::SetScreenPixelsPerInch(0);
        ViewDevices::SetPrinterSource({});
    }
    TDevicesGuard(const TDevicesGuard &) = delete;
    TDevicesGuard &operator=(const TDevicesGuard &) = delete;
};

inline QRgb Rgb(const QImage &img, int x, int y)
{
    return img.pixel(x, y) & 0xFFFFFF;
}

inline int CountNot(const QImage &img, QRgb background)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += Rgb(img, x, y) != (background & 0xFFFFFF);
    return n;
}
