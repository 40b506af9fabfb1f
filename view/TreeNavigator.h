#pragma once
// The page navigator of a diagram: first, prior, next and last page, the
// buttons enabled as the current page and the page count allow, and
// printing a range of pages.

#include "view/KorNavigator.h"

#include "canvas/CanvasTypes.h"

class QPrinter;
class TCustomTree;

class TTreePageNavigator : public TCustomKorNavigator
{
    Q_OBJECT
public:
    explicit TTreePageNavigator(QWidget *parent = nullptr);

    TCustomTree *Tree() const;
    // Binds the navigator to a diagram (none: unbinds) and refreshes it.
    void SetTree(TCustomTree *tree);

    // Without a diagram the navigator is disabled; else enabled when the
    // diagram has pages, First and Prior when not on the first page, Next
    // and Last when not on the last.
    void RefreshButtons() override;
    // Asks for a range of pages and the number of copies (and, without a
    // printer, for a PDF file to print to) and prints them. A diagram of
    // one page prints nothing.
    void Print() override;
    // Prints pages from-to (0: the first, the last) `copies` times in one
    // document on a printer that is set up; the current page is put back
    // afterwards. An error while printing aborts the document and is
    // passed on.
    void PrintPages(QPrinter &printer, int from, int to, int copies);

    void KorEvent(TKorEvent &event) override;

protected:
    void Navigate(int index) override;
    void BindingChanged() override { RefreshButtons(); }
};
