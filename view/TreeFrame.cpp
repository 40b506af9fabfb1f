// What frames the diagram in its window: the grid under the nodes, the page
// outline over them, the scroll bars after every drawing, and the page as
// the picture images and printers take.

#include "view/CustomTree.h"

#include "core/Rounding.h"
#include "core/ScopeExit.h"

#include <QScrollBar>
#include <QStyle>

TGridLattice TCustomTree::GridLattice() const
{
    if (!Drawn())
        return FGrid->Lattice(VisibleArea(), 0, 0);
    return FGrid->Lattice(FVisibleArea, DrawingWidth(), DrawingHeight());
}

void TCustomTree::DrawGrid()
{
    if (FGrid->Visible())
        FGrid->Draw(Canvas(), FVisibleArea, DrawingWidth(), DrawingHeight());
}

void TCustomTree::DrawPage()
{
    FPage->UpdateCount(HasShapeExtent() ? ShapeExtent().Bottom : 0);
    const TView3DOptions *o = View3DOptions();
    FPage->DrawBorder(Canvas(), Printing(), Designing(), o->HorizOffset() != 0 || o->VertOffset() != 0,
                      FVisibleArea, ImageRect());
}

TRect TCustomTree::ImageRect() const
{
    if (FPrintArea)
        return *FPrintArea;
    const TRect page = FPage->PageRect(FPage->PageNumber());
    return TRect(ProjectPoint(page.TopLeft()), ProjectPoint(page.BottomRight())).Normalized();
}

void TCustomTree::PrintCurrentPage(QPainter *painter, const TRect &rect)
{
    const TRect page = FPage->PageRect(FPage->PageNumber());
    const double z = View3DOptions()->Zoom() * 0.01;
    const TRect picture(0, 0, std::max(1, dx::RoundEven(page.Width() * z)),
                        std::max(1, dx::RoundEven(page.Height() * z)));
    ShowingOrigin(page.TopLeft(), picture, [&] {
        FPrintArea = picture;
        TAtExit reset([this] { FPrintArea.reset(); });
        PrintOnCanvas(painter, rect);
    });
}

void TCustomTree::UpdateScrollBars()
{
    // An image or a printer page says nothing about the window.
    if (Canvas()->Exporting())
        return;
    const TView3DOptions *o = View3DOptions();
    for (TKorScrollBar *bar : {FHorzScrollBar.get(), FVertScrollBar.get()})
        if (!bar->Automatic() && bar->Visible())
            bar->Follow(bar->Horizontal() ? o->HorizOffset() : o->VertOffset());
    if (!(FHorzScrollBar->Automatic() || FVertScrollBar->Automatic()) || !HasShapeExtent())
        return;
    const TRect e = ShapeExtent();
    const TPoint a = ProjectPoint(e.TopLeft());
    const TPoint b = ProjectPoint(e.BottomRight());
    // Showing one bar shortens the other's window: a second round settles
    // both.
    for (int round = 0; round < 2; ++round) {
        const bool h = FHorzScrollBar->Visible();
        const bool v = FVertScrollBar->Visible();
        if (FHorzScrollBar->Automatic())
            FHorzScrollBar->UpdateRange(a.X - o->HorizOffset(), b.X - o->HorizOffset(), ScrollViewSize(true),
                                        o->HorizOffset());
        if (FVertScrollBar->Automatic())
            FVertScrollBar->UpdateRange(a.Y - o->VertOffset(), b.Y - o->VertOffset(), ScrollViewSize(false),
                                        o->VertOffset());
        if (h == FHorzScrollBar->Visible() && v == FVertScrollBar->Visible())
            break;
    }
}

void TCustomTree::ScrollBarFollows(bool horizontal)
{
    const TView3DOptions *o = View3DOptions();
    if (horizontal)
        FHorzScrollBar->Follow(o->HorizOffset());
    else
        FVertScrollBar->Follow(o->VertOffset());
}

int TCustomTree::ScrollViewSize(bool horizontal) const
{
    const TKorScrollBar *other = horizontal ? FVertScrollBar.get() : FHorzScrollBar.get();
    const int across = other->Visible() && other->Control() ? style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
    return std::max(0, (horizontal ? width() : height()) - across);
}

void TCustomTree::LayoutScrollBars()
{
    QScrollBar *h = FHorzScrollBar ? FHorzScrollBar->Control() : nullptr;
    QScrollBar *v = FVertScrollBar ? FVertScrollBar->Control() : nullptr;
    if (!h || !v)
        return;
    const int t = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const bool hShown = h->isVisibleTo(this);
    const bool vShown = v->isVisibleTo(this);
    h->setGeometry(0, height() - t, std::max(0, width() - (vShown ? t : 0)), t);
    v->setGeometry(width() - t, 0, t, std::max(0, height() - (hShown ? t : 0)));
}

void TCustomTree::resizeEvent(QResizeEvent *event)
{
    TCustomKorPanelExtended::resizeEvent(event);
    LayoutScrollBars();
}
