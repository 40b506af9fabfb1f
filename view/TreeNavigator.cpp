#include "view/TreeNavigator.h"

#include "view/CustomTree.h"
#include "view/ViewConst.h"
#include "view/ViewDevices.h"

#include "canvas/KorConst.h"
#include "core/Rounding.h"
#include "core/ScopeExit.h"
#include "dialogs/KorPrompts.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>

TTreePageNavigator::TTreePageNavigator(QWidget *parent) : TCustomKorNavigator(parent)
{
    RefreshButtons();
}

TCustomTree *TTreePageNavigator::Tree() const
{
    return dynamic_cast<TCustomTree *>(Panel());
}

void TTreePageNavigator::SetTree(TCustomTree *tree)
{
    SetPanel(tree);
}

void TTreePageNavigator::KorEvent(TKorEvent &event)
{
    if (dynamic_cast<TTreeAfterDrawEvent *>(&event))
        RefreshButtons();
}

void TTreePageNavigator::RefreshButtons()
{
    const TCustomTree *t = Tree();
    if (!t) {
        setEnabled(false);
        for (int i = nbFirst; i <= nbLast; ++i)
            Button(i)->setEnabled(false);
        return;
    }
    const int p = t->Page()->PageNumber();
    const int c = t->Page()->Count();
    setEnabled(c > 0);
    Button(nbFirst)->setEnabled(p > 1);
    Button(nbPrior)->setEnabled(p > 1);
    Button(nbNext)->setEnabled(p < c);
    Button(nbLast)->setEnabled(p < c);
}

void TTreePageNavigator::Navigate(int index)
{
    TCustomTree *t = Tree();
    if (!t)
        return;
    TTreePage *page = t->Page();
    const int p = page->PageNumber();
    const int c = page->Count();
    switch (index) {
    case nbFirst:
        if (p > 1)
            page->SetPageNumber(1);
        break;
    case nbPrior:
        if (p > 1)
            page->SetPageNumber(p - 1);
        break;
    case nbNext:
        if (p < c)
            page->SetPageNumber(p + 1);
        break;
    case nbLast:
        if (p < c)
            page->SetPageNumber(c);
        break;
    default: break;
    }
}

void TTreePageNavigator::Print()
{
    TCustomTree *t = Tree();
    if (!t)
        return;
    const int c = t->Page()->Count();
    if (c < 2)
        return;
    QPrinter printer(QPrinter::HighResolution);
    if (!ViewDevices::DefaultPrinter()) {
        // No printer: the pages go to a PDF file.
        TFileDialogOptions options;
        options.Parent = this;
        options.Title = SPrintToFileTitle;
        options.Filter = SPdfFilter;
        options.DefaultSuffix = QStringLiteral("pdf");
        const QString name = Prompts().SaveFileName(options);
        if (name.isEmpty())
            return;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(name);
    }
    printer.setFromTo(1, c);
    QPrintDialog dialog(&printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(1, c);
    dialog.setPrintRange(QAbstractPrintDialog::PageRange);
    if (Prompts().Exec(dialog) != QDialog::Accepted)
        return;
    // The copies are printed here, one after the other: the printer itself
    // is told to make one, or every copy would come out that many times.
    const int copies = std::max(1, printer.copyCount());
    printer.setCopyCount(1);
    PrintPages(printer, printer.fromPage(), printer.toPage(), copies);
}

void TTreePageNavigator::PrintPages(QPrinter &printer, int from, int to, int copies)
{
    TCustomTree *t = Tree();
    if (!t)
        return;
    TTreePage *page = t->Page();
    const int c = page->Count();
    if (to == 0)
        to = c;
    if (from == 0)
        from = 1;
    from = std::clamp(from, 1, c);
    to = std::clamp(to, 1, c);
    if (from > to)
        std::swap(from, to);
    if (!objectName().isEmpty())
        printer.setDocName(objectName());
    QPainter painter;
    if (!painter.begin(&printer))
        throw EPrinter(SPrinterCannotPrint);
    const int remembered = page->PageNumber();
    TAtExit putBack([page, remembered] { page->SetPageNumber(remembered); });
    // The page as large as the paper allows, in its own proportions.
    const double w = page->PageWidth(), h = page->PageHeight();
    const double scale = std::min(printer.width() / w, printer.height() / h);
    const TRect target(0, 0, std::max(1, dx::RoundEven(w * scale)), std::max(1, dx::RoundEven(h * scale)));
    try {
        bool first = true;
        for (int copy = 0; copy < std::max(1, copies); ++copy)
            for (int n = from; n <= to; ++n) {
                if (!first && !printer.newPage())
                    throw EPrinter(SPrinterCannotPrint);
                first = false;
                page->SetPageNumber(n);
                t->PrintCurrentPage(&painter, target);
            }
    } catch (...) {
        printer.abort();
        if (painter.isActive())
            painter.end();
        throw;
    }
    painter.end();
}
