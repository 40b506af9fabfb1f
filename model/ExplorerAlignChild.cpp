#include "model/ExplorerAlignChild.h"

#include "canvas/KorCanvas3D.h"
#include "model/TreeConnection.h"
#include "model/TreeCrossBox.h"
#include "model/TreeDocument.h"

#include <algorithm>
#include <climits>

namespace {

int OffsetX(const TTreeNodeShape *node)
{
    return node->Tree() ? node->Tree()->DrawOffset().X : 0;
}

bool ShowsImages(const TTreeNodeShape *node)
{
    return node->Tree() && node->Tree()->ShowImages();
}

// The cross box of the node's diagram when it is visible, else null.
const TTreeNodeCrossBox *VisibleCrossBox(const TTreeNodeShape *node)
{
    const TTreeNodeCrossBox *box = node->Tree() ? node->Tree()->CrossBox() : nullptr;
    return box && box->Visible() ? box : nullptr;
}

} // namespace

// ---------------------------------------------------------------------------
// Positions

int TTreeExplorerAlignChild::LastBottom(const TTreeNodeShape *node)
{
    while (node->Expanded() && node->HasChildren())
        node = node->Child(node->ChildCount() - 1);
    return node->Bounds().Bottom;
}

int TTreeExplorerAlignChild::RootIndex(const TTreeNodeShape *root) const
{
    const TNodeShapeList &roots = root->Tree()->Roots();
    for (int i : {FRootHint, FRootHint + 1})
        if (roots.Items(i) == root) {
            FRootHint = i;
            return i;
        }
    const int index = roots.IndexOf(root);
    FRootHint = std::max(index, 0);
    return index;
}

int TTreeExplorerAlignChild::CalcXPos(TTreeNodeShape *node)
{
    const int imageWidth = node->ImageSize().width();
    if (TTreeNodeShape *parent = node->Parent()) {
        int x = parent->X0() + FChildIndent;
        // A child with an image under a parent without one moves right by
        // the image, so the images stand where the parent's body starts.
        if (ShowsImages(node) && parent->ImageSize().width() == 0 && imageWidth > 0)
            x += imageWidth + kImageGapX;
        return x;
    }
    TTreeDocument *tree = node->Tree();
    if (!tree)
        return node->X0();
    // Automatic roots stand in one column, under the first of them.
    const TNodeShapeList &roots = tree->Roots();
    for (int i = RootIndex(node) - 1; i >= 0; --i)
        if (AutoLeft(roots[i]))
            return roots[i]->X0();
    int x = 2;
    if (tree->ShowImages() && imageWidth > 0)
        x += imageWidth + kImageGapX;
    for (TTreeNodeShape *root : roots)
        if (AutoLeft(root) && root->HasCross()) {
            x += tree->CrossBox()->Size() + FCrossMargin + 2;
            break;
        }
    TRect &extent = tree->ShapeExtent();
    extent.Left = std::min(extent.Left, 0);
    return x;
}

int TTreeExplorerAlignChild::CalcYPos(TTreeNodeShape *node, int index)
{
    if (TTreeNodeShape *parent = node->Parent()) {
        if (index > 0 && index <= parent->ChildCount())
            return LastBottom(parent->Child(index - 1)) + FVertSpacing;
        return parent->Bounds().Bottom + FVertSpacing;
    }
    TTreeDocument *tree = node->Tree();
    if (!tree)
        return node->Y0();
    // A root goes below the last automatic root before it, and below every
    // root the user placed since, so its rows never run into theirs.
    const TNodeShapeList &roots = tree->Roots();
    if (index > 0 && index <= roots.Count()) {
        int bottom = INT_MIN;
        for (int i = index - 1; i >= 0; --i) {
            bottom = std::max(bottom, LastBottom(roots[i]));
            if (AutoTop(roots[i]))
                break;
        }
        return bottom + FVertSpacing;
    }
    TRect &extent = tree->ShapeExtent();
    extent.Top = std::min(extent.Top, 0);
    return FTopMargin;
}

int TTreeExplorerAlignChild::OwnCrossX(const TTreeNodeShape *node) const
{
    const TTreeNodeCrossBox *box = VisibleCrossBox(node);
    return node->Bounds().Left + OffsetX(node) - FCrossMargin - (box ? box->Size() / 2 : 0);
}

TPoint TTreeExplorerAlignChild::GetCrossPos(TTreeNodeShape *node, TTreeNodeShape *parent)
{
    const int y = node->YCenter();
    if (parent) {
        bool onGuide = AutoLeft(node);
        if (!onGuide) {
            const TTreeConnection *c = parent->ConnectionTo(node);
            onGuide = c && c->Style() == csAuto;
        }
        if (onGuide) {
            const int ox = OffsetX(parent);
            const int b = parent->Bounds().Left + ox;
            const int c = parent->X0() + ox;
            // An image on the parent's left: the guide runs down its middle.
            if (c > b)
                return TPoint(b + (c - b - kImageGapX) / 2, y);
            return TPoint(c + 2 * kImageGapX + 1, y);
        }
    } else if (AutoLeft(node) && node->Tree()) {
        // The boxes of all automatic roots stand under the first one's.
        for (TTreeNodeShape *root : node->Tree()->Roots()) {
            if (root == node)
                break;
            if (AutoLeft(root))
                return TPoint(OwnCrossX(root), y);
        }
    }
    return TPoint(OwnCrossX(node), y);
}

// ---------------------------------------------------------------------------
// Drawing

bool TTreeExplorerAlignChild::DrawConnection(TTreeConnection *connection)
{
    TTreeNodeShape *from = connection->FromShape();
    TTreeNodeShape *to = connection->ToShape();
    TTreeDocument *tree = connection->Tree();
    if (!from || !to || !tree)
        return true;
    TKorCanvas3D *canvas = tree->TreeCanvas();
    if (!canvas)
        return true;
    const TRect visible = tree->VisibleArea();
    const int vt = visible.Top;
    const int vb = visible.Bottom;
    const TTreeNodeCrossBox *box = tree->CrossBox();
    const int boxSize = box && box->Visible() ? box->Size() : 0;
    const bool showImages = tree->ShowImages();

    // Point 0: where the guide starts.
    TPoint p0;
    bool fromSibling = false;
    TTreeNodeShape *previous = to->BrotherIndex() >= 1 ? to->PreviousBrother() : nullptr;
    if (!previous) {
        p0.X = GetCrossPos(to, from).X;
        const int imageHeight = from->ImageSize().height();
        const int half =
            showImages && imageHeight > 0 ? imageHeight / 2 + 2 : (from->Y1() - from->Y0()) / 2 + 1;
        const int fromCenter = from->YCenter();
        p0.Y = to->YCenter() < fromCenter ? fromCenter - half : fromCenter + half;
    } else {
        fromSibling = true;
        p0 = GetCrossPos(previous, to->Parent());
        // The guide starts below the sibling's box.
        if (boxSize > 0 && previous->HasCross())
            p0.Y += boxSize;
    }
    // Point 1: the child's box on the guide; point 2: the child's edge.
    const TPoint p1 = GetCrossPos(to, from);
    const TConnectionArrow *arrowTo = connection->EffectiveArrowTo();
    const bool hasArrowTo = arrowTo->Style() != casNone;
    const int ox = OffsetX(to);
    TPoint p2 = p1;
    if (to->ImageAlignment() == iaRight)
        p2.X = to->Bounds().Right + ox + (hasArrowTo ? 2 : 0);
    else
        p2.X = to->Bounds().Left + ox - (hasArrowTo ? 2 : 0);

    TConnectionPoints &points = connection->Points();
    while (points.Count() > 3)
        points.Delete(points.Count() - 1);
    if (points.Count() < 3) {
        std::vector<TConnectionPoint> three = points.Items(); // in one allocation
        three.resize(3);
        points.SetItems(std::move(three));
    }
    const TPoint course[3] = {p0, p1, p2};
    for (int i = 0; i < 3; ++i) {
        TConnectionPoint &p = points[i];
        p.X = course[i].X;
        p.Y = course[i].Y;
        if (i > 0 || fromSibling) {
            p.XStyle = cpAbsolute;
            p.YStyle = cpAbsolute;
        }
    }

    const TConnectionArrow *arrowFrom = connection->EffectiveArrowFrom();
    if (arrowFrom->Style() != casNone)
        arrowFrom->Draw(canvas, p0, 180, visible);

    bool penSet = false;
    auto pen = [&] {
        if (!penSet) {
            connection->AssignDrawingPen(canvas);
            penSet = true;
        }
    };
    const bool childOfFrom = to->Parent() == from;
    if (boxSize > 0 && to->HasCross() && childOfFrom) {
        // The guide stops at the child's box, drawn over it by the node walk.
        const int end = std::clamp(to->Y1() < from->Y1() ? p1.Y + boxSize : p1.Y - boxSize, vt, vb);
        const int start = std::clamp(p0.Y, vt, vb);
        if (start != end) {
            pen();
            canvas->ProjectedMoveTo(p0.X, start, 0);
            canvas->ProjectedLineTo(p0.X, end, 0);
        }
        if (p1.Y >= vt && p1.Y <= vb) {
            const int side = to->X1() < from->X0() ? p1.X - boxSize : p1.X + boxSize;
            canvas->ProjectedMoveTo(side, p1.Y, 0);
        }
    } else if (p0.Y < vb && p1.Y > vt) {
        pen();
        canvas->ProjectedMoveTo(p0.X, p0.Y, 0);
        canvas->ProjectedLineTo(p0.X, p1.Y, 0);
    } else {
        // Without the guide the line into the child still starts on it.
        canvas->ProjectedMoveTo(p0.X, p1.Y, 0);
    }

    if (p2.Y > vb)
        return !childOfFrom;
    if (p2.Y > vt) {
        pen();
        canvas->ProjectedLineTo(p2.X, p2.Y, 0);
    }
    if (hasArrowTo)
        arrowTo->Draw(canvas, p2, FArrowToAngle, visible);
    connection->DrawText(canvas, 0);
    return true;
}
