// What the view does when the selection changes: it redraws the marks
// (the picture in run mode, only the handles over it in design mode), and
// brings a new selection into view, or to the centre.

#include "core/Rounding.h"
#include "view/CustomTree.h"
#include "view/TreeInteraction.h"

#include <QCoreApplication>
#include <QPointer>

void TCustomTree::RepaintPicture()
{
    TTreeDocument::Invalidate();
    TCustomKorPanel::Invalidate();
}

TRect TCustomTree::CurrentVisibleArea() const
{
    const TRect bounds = FHasVisibleArea ? DrawingBounds() : TRect(0, 0, width(), height());
    return TRect(UnprojectPoint(bounds.TopLeft()), UnprojectPoint(bounds.BottomRight())).Normalized();
}

void TCustomTree::SelectionChanged(TTreeNodeShape *node, bool selected)
{
    // A change of the selection ends the editing, keeping the text.
    if (FEditedShape)
        StopEditing(true);
    // Design mode shows handles over the picture, which stays as it is.
    if (HandlesOverPicture())
        RepaintOverlays();
    else
        RepaintPicture();
    if (!selected || !node->Visible() || Clearing() || IsLoading())
        return;
    if (SelectionLook()->ScrollToCenter() && !Designing()) {
        ScrollToCenter(node);
    } else if (SelectionLook()->ScrollToView()) {
        // Where the node lies is known once the nodes are laid out: at
        // once when nothing changed, else at the next paint.
        if (FLayoutValid)
            ScrollToView();
        else
            FScrollPending = true;
    }
}

void TCustomTree::ScrollToView()
{
    TTreeNodeShape *node = Selected().First();
    if (!node)
        return;
    UpdateLayout();
    const TPoint o = DrawOffset();
    const TRect r = node->Bounds().Offset(o.X, o.Y);
    const TRect v = CurrentVisibleArea();
    const double z = View3DOptions()->Zoom() / 100.0;
    auto pixels = [z](long long units) { return dx::Saturate(dx::RoundEvenWide(static_cast<double>(units) * z)); };
    TView3DOptions *opt = View3DOptions();
    if (r.Bottom > v.Bottom)
        opt->SetVertOffset(dx::Saturate(int64_t(opt->VertOffset()) - pixels(int64_t(r.Bottom) - v.Bottom)));
    else if (r.Top < v.Top)
        opt->SetVertOffset(dx::Saturate(int64_t(opt->VertOffset()) + pixels(int64_t(v.Top) - r.Top)));
    if (r.Right > v.Right)
        opt->SetHorizOffset(dx::Saturate(int64_t(opt->HorizOffset()) - pixels(int64_t(r.Right) - v.Right)));
    else if (r.Left < v.Left)
        opt->SetHorizOffset(dx::Saturate(int64_t(opt->HorizOffset()) + pixels(int64_t(v.Left) - r.Left)));
}

void TCustomTree::ScrollToCenter(TTreeNodeShape *node)
{
    if (!node || Designing())
        return;
    UpdateLayout();
    const TPoint o = DrawOffset();
    const TPoint centre = ProjectPoint(RectCenter(node->Bounds().Offset(o.X, o.Y)));
    const int cx = FHasVisibleArea && DrawingWidth() > 0 ? DrawingCenter().X : width() / 2;
    const int cy = height() / 2;
    const long long dxTotal = int64_t(cx) - centre.X;
    const long long dyTotal = int64_t(cy) - centre.Y;
    if (dxTotal == 0 && dyTotal == 0)
        return;
    TView3DOptions *opt = View3DOptions();
    const int h0 = opt->HorizOffset();
    const int v0 = opt->VertOffset();
    const int steps = Zoom()->AnimatedSteps();
    if (steps <= 0) {
        opt->SetHorizOffset(dx::Saturate(h0 + dxTotal));
        opt->SetVertOffset(dx::Saturate(v0 + dyTotal));
        return;
    }
    // Each step moves to its share of the whole way, so steps that round
    // to nothing on one axis still end where the scroll must. A newer
    // scroll, or the control going, ends this one.
    const int generation = ++FScrollGeneration;
    QPointer<QWidget> alive(this);
    for (int i = 1; i <= steps; ++i) {
        opt->SetHorizOffset(dx::Saturate(h0 + dx::RoundEvenWide(static_cast<double>(dxTotal) * i / steps)));
        opt->SetVertOffset(dx::Saturate(v0 + dx::RoundEvenWide(static_cast<double>(dyTotal) * i / steps)));
        if (i == steps)
            break;
        QCoreApplication::processEvents();
        if (!alive || FScrollGeneration != generation || FDestroying)
            return;
    }
}
