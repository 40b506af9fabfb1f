#pragma once
// The program's printer: the installed printers, the one in use, its
// orientation and page, and the device documents are printed on.
//
// There is one for the whole program, as there is one current printer on
// the desktop: an orientation or printer chosen in the print preview holds
// for the next printout of any part of the program. Besides the system's
// printers it offers writing a PDF file (A4 at 300 dpi until the page
// set-up changes it), so a machine without a printer still prints.
//
//   TKorPrinter &p = Printer();
//   if (p.HasPrinters()) p.SetOrientation(poLandscape);
//   panel->PrintWhole(p.Device());

#include "canvas/KorPanel.h"

#include <QSize>
#include <QStringList>
#include <memory>

class QPrinter;

enum TPrinterOrientation { poPortrait, poLandscape };

class TKorPrinter
{
public:
    // systemPrinters: list the desktop's printers; pdfFile: offer the PDF
    // file as the last entry.
    explicit TKorPrinter(bool systemPrinters = true, bool pdfFile = true);
    virtual ~TKorPrinter();
    TKorPrinter(const TKorPrinter &) = delete;
    TKorPrinter &operator=(const TKorPrinter &) = delete;

    // The entries' names, the PDF file last; empty when there is none.
    const QStringList &Printers() const { return FNames; }
    bool HasPrinters() const { return !FNames.isEmpty(); }
    // Reads the list again (after the printer set-up); the current printer
    // stays current while it is listed, else the system's default (or the
    // first entry) becomes current.
    void Refresh();
    // -1 without printers.
    int PrinterIndex() const { return FIndex; }
    // An index outside the list changes nothing.
    void SetPrinterIndex(int index);
    QString PrinterName() const { return FIndex >= 0 ? FNames.at(FIndex) : QString(); }
    // The current entry writes a PDF file.
    bool PrintsToFile() const;
    // The file the PDF entry writes; empty until one is chosen.
    QString OutputFileName() const;
    void SetOutputFileName(const QString &fileName);

    // Portrait without printers.
    TPrinterOrientation Orientation() const;
    void SetOrientation(TPrinterOrientation value);
    // The printable page in device pixels. Throws EPrinter without a
    // printer or when the printer cannot tell.
    QSize PageSize() const;
    // Horizontal over vertical resolution (1 without a printer).
    double Aspect() const;
    // The device of the current printer. Throws EPrinter without one.
    QPrinter &Device();

    static constexpr int kPdfResolution = 300;

private:
    void SelectDevice();

    bool FSystemPrinters;
    bool FPdfFile;
    QStringList FNames;
    int FIndex = -1;
    std::unique_ptr<QPrinter> FDevice;
};

// The printer in use (the system's printers and the PDF file until another
// is installed).
TKorPrinter &Printer();
// Installs another printer (tests) and answers the one it replaces; null
// puts the system's back.
std::unique_ptr<TKorPrinter> InstallPrinter(std::unique_ptr<TKorPrinter> printer);
