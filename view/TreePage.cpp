#include "view/TreePage.h"

#include "view/CustomTree.h"
#include "view/ViewDevices.h"

#include "canvas/KorCanvas3D.h"
#include "core/CoreConst.h"
#include "core/Exceptions.h"
#include "core/Rounding.h"

#include <QImage>
#include <algorithm>

const TClassInfo &TTreePageBorder::StaticClassInfo()
{
    using B = TTreePageBorder;
    static const TClassInfo info = TClassBuilder<B>("TTreePageBorder", TChartPen::StaticClassInfo())
                                       .Redefault("Color", clGray)
                                       .Boolean("Print", &B::Print, &B::SetPrint, false);
    return info;
}

TTreePageBorder::TTreePageBorder(TEvent<TGraphicsObject *> onChange)
{
    SetColor(clGray);
    OnChange = std::move(onChange);
}

bool TTreePageBorder::CopyFields(const TPen &source)
{
    bool changed = TChartPen::CopyFields(source);
    if (auto *b = dynamic_cast<const TTreePageBorder *>(&source)) {
        changed = changed || FPrint != b->FPrint;
        FPrint = b->FPrint;
    }
    return changed;
}

const TClassInfo &TTreePage::StaticClassInfo()
{
    using P = TTreePage;
    static const TClassInfo info = TClassBuilder<P>("TTreePage", TGraphicsObject::StaticClassInfo())
                                       .Object<TTreePageBorder>("Border", &P::Border, &P::Border)
                                       .Boolean("UsePrinter", &P::UsePrinter, &P::SetUsePrinter, true)
                                       .Integer("Width", &P::Width, &P::ReadWidth, kDefaultWidth)
                                       .Stored(&P::SizeStored)
                                       .Integer("Height", &P::Height, &P::ReadHeight, kDefaultHeight)
                                       .Stored(&P::SizeStored);
    return info;
}

TTreePage::TTreePage(TCustomTree *tree, TEvent<TGraphicsObject *> onChange) : FTree(tree)
{
    FBorder = std::make_unique<TTreePageBorder>([this](TGraphicsObject *) { Changed(); });
    OnChange = std::move(onChange);
}

TTreePage::~TTreePage() = default;

void TTreePage::SetWidth(int v)
{
    if (v <= 0 || (v == FWidth && !FUsePrinter))
        return;
    FWidth = v;
    FUsePrinter = false;
    Changed();
}

void TTreePage::SetHeight(int v)
{
    if (v <= 0 || (v == FHeight && !FUsePrinter))
        return;
    FHeight = v;
    FUsePrinter = false;
    Changed();
}

void TTreePage::ReadWidth(int v)
{
    if (v <= 0)
        throw EPropertyError(SInvalidPropertyValue);
    SetWidth(v);
}

void TTreePage::ReadHeight(int v)
{
    if (v <= 0)
        throw EPropertyError(SInvalidPropertyValue);
    SetHeight(v);
}

int TTreePage::PageWidth() const
{
    if (FUsePrinter) {
        if (const auto printer = ViewDevices::DefaultPrinter()) {
            const int w = dx::RoundEven(static_cast<double>(printer->Width) * ViewDevices::ScreenPixelsPerInch() /
                                        printer->DpiX);
            if (printer->DpiX > 0 && w > 0)
                return w;
        }
        // No printer: the stored size from now on (not a change of the
        // user's, so nobody hears of it).
        FUsePrinter = false;
    }
    return FWidth;
}

int TTreePage::PageHeight() const
{
    if (FUsePrinter) {
        if (const auto printer = ViewDevices::DefaultPrinter()) {
            const int h = dx::RoundEven(static_cast<double>(printer->Height) * ViewDevices::ScreenPixelsPerInch() /
                                        printer->DpiY);
            if (printer->DpiY > 0 && h > 0)
                return h;
        }
        FUsePrinter = false;
    }
    return FHeight;
}

void TTreePage::UpdateCount(int bottom)
{
    FCount = std::max(0, bottom) / PageHeight() + 1;
}

void TTreePage::SetPageNumber(int number)
{
    if (number == FPageNumber || number < 1 || number > FCount)
        return;
    FPageNumber = number;
    if (FTree) {
        TView3DOptions *o = FTree->View3DOptions();
        o->SetHorizOffset(0);
        o->SetVertOffset(dx::Saturate(int64_t(1 - number) * PageHeight()));
        FTree->Invalidate();
    }
}

TRect TTreePage::PageRect(int number) const
{
    const int h = PageHeight();
    const int64_t top = int64_t(std::max(1, number) - 1) * h;
    return TRect(0, dx::Saturate(top), PageWidth(), dx::Saturate(top + h));
}

void TTreePage::DrawBorder(TKorCanvas3D *canvas, bool printing, bool designing, bool scrolled, const TRect &visible,
                           const TRect &imageRect) const
{
    if (!canvas || !FBorder->Visible() || !(designing || FBorder->Print()))
        return;
    if (printing && !FBorder->Print())
        return;
    canvas->AssignPen(FBorder.get());
    canvas->SetBrushBitmap(QImage());
    canvas->Brush().SetStyle(bsClear);
    const int w = PageWidth();
    const int h = PageHeight();
    if (printing) {
        const int pw = FBorder->Width();
        canvas->Rectangle(imageRect.Left, imageRect.Top, imageRect.Left + w - pw, imageRect.Top + h - pw);
        return;
    }
    if (!scrolled) {
        canvas->ProjectedLine(w, 0, w, h, 0);
        canvas->ProjectedLine(0, h, w, h, 0);
        return;
    }
    // Scrolled: the outline of every page in sight.
    const int first = std::max(0, visible.Top) / h + 1;
    const int last = std::min(FCount, std::max(0, visible.Bottom) / h + 1);
    for (int n = first; n <= last; ++n) {
        const TRect r = PageRect(n);
        const TPoint a = canvas->ProjectPoint(r.Left, r.Top, 0);
        const TPoint b = canvas->ProjectPoint(r.Right, r.Bottom, 0);
        // The right and bottom edges on the page's last pixels, as unscrolled.
        canvas->Rectangle(a.X, a.Y, b.X + 1, b.Y + 1);
    }
}

void TTreePage::Assign(const TPersistent *source)
{
    auto *p = dynamic_cast<const TTreePage *>(source);
    if (!p) {
        TGraphicsObject::Assign(source);
        return;
    }
    FBorder->Assign(p->FBorder.get());
    const bool usePrinter = p->FUsePrinter;
    SetWidth(p->FWidth);
    SetHeight(p->FHeight);
    SetUsePrinter(usePrinter);
}
