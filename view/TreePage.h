#pragma once
// The printed page over a diagram: its size (from the default printer or
// as set), the page count of the diagram, the current page the view shows,
// and the page outline.

#include "canvas/ChartPen.h"
#include "canvas/CanvasTypes.h"

#include <memory>

class TCustomTree;
class TKorCanvas3D;

// The page outline; Print also draws it on paper.
class TTreePageBorder : public TChartPen
{
    DX_OBJECT(TTreePageBorder)
public:
    explicit TTreePageBorder(TEvent<TGraphicsObject *> onChange = {});
    bool Print() const { return FPrint; }
    void SetPrint(bool v) { Update(FPrint, v); }

protected:
    bool CopyFields(const TPen &source) override;

private:
    bool FPrint = false;
};

class TTreePage : public TGraphicsObject
{
    DX_OBJECT(TTreePage)
public:
    static constexpr int kDefaultWidth = 771;
    static constexpr int kDefaultHeight = 1058;

    explicit TTreePage(TCustomTree *tree = nullptr, TEvent<TGraphicsObject *> onChange = {});
    ~TTreePage() override;

    // The size comes from the default printer; without one this switches
    // itself off and the stored size holds.
    bool UsePrinter() const { return FUsePrinter; }
    void SetUsePrinter(bool v) { Update(FUsePrinter, v); }
    // The stored size in screen pixels; setting either turns UsePrinter
    // off. A size of 0 or less is ignored (a file holding one is refused).
    int Width() const { return FWidth; }
    void SetWidth(int v);
    int Height() const { return FHeight; }
    void SetHeight(int v);
    TTreePageBorder *Border() const { return FBorder.get(); }

    // The page size in screen pixels: the printer's page scaled to the
    // screen's resolution, or the stored size. Always 1 or more.
    int PageWidth() const;
    int PageHeight() const;

    // The pages the diagram takes, as the last drawing counted them.
    int Count() const { return FCount; }
    // Counts the pages of a diagram reaching down to `bottom`.
    void UpdateCount(int bottom);
    // The page the view shows (1 at first). Setting another valid page
    // scrolls the view to it; 0, negative and numbers beyond the count are
    // ignored.
    int PageNumber() const { return FPageNumber; }
    void SetPageNumber(int number);
    // The diagram rectangle of a page.
    TRect PageRect(int number) const;

    // The outline, as the view's drawing asks for it (the canvas projects
    // model coordinates; `imageRect` is where a printed page lies).
    void DrawBorder(TKorCanvas3D *canvas, bool printing, bool designing, bool scrolled, const TRect &visible,
                    const TRect &imageRect) const;

    void Assign(const TPersistent *source) override;

    // File access: a size of 0 or less is an invalid value there.
    void ReadWidth(int v);
    void ReadHeight(int v);
    bool SizeStored() const { return !FUsePrinter; }

private:
    TCustomTree *FTree;
    std::unique_ptr<TTreePageBorder> FBorder;
    mutable bool FUsePrinter = true;
    int FWidth = kDefaultWidth;
    int FHeight = kDefaultHeight;
    int FCount = 1;
    int FPageNumber = 1;
};
