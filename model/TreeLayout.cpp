// The position pass: automatic sizes and coordinates of every laid-out node,
// the image beside each body, and the diagram's extent.

#include "model/ChildManager.h"
#include "model/TreeDocument.h"
#include "model/TreeNodeShape.h"

#include "model/ExplorerAlignChild.h"

#include <algorithm>
#include <climits>
#include <unordered_set>
#include <utility>
#include <vector>

// ---------------------------------------------------------------------------
// Image placement

void TTreeNodeShape::PlaceImage()
{
    const int x0 = FX0;
    const int y0 = FY0;
    const int x1 = X1();
    const int y1 = Y1();
    const int w = FImageSizeW;
    const int h = FImageSizeH;
    FBounds = TRect(x0, y0, x1, y1);
    if (!FTree || !FTree->ShowImages() || w <= 0) {
        // No image area: nothing left from an earlier layout can be hit.
        FImageBounds = TRect(x0, y0, x0, y0);
        return;
    }
    if (FImageAlignment == iaCenter) {
        FImageBounds = FBounds;
        return;
    }
    constexpr int gapX = 3;
    constexpr int gapY = 2;
    TRect &b = FBounds;
    int left = 0;
    int top = 0;
    auto centreVertically = [&] {
        const int d = (h + y0 - y1) / 2;
        top = y0 - d;
        if (d > 0) {
            b.Top -= d;
            b.Bottom += d;
        }
    };
    auto centreHorizontally = [&] {
        const int d = (w + x0 - x1) / 2;
        left = x0 - d;
        if (d > 0) {
            b.Left -= d;
            b.Right += d;
        }
    };
    switch (FImageAlignment) {
    case iaLeftTop:
        b.Left -= w + gapX;
        b.Top -= h + gapY;
        left = b.Left;
        top = b.Top;
        break;
    case iaLeftBottom:
        b.Left -= w + gapX;
        b.Bottom += h;
        left = b.Left;
        top = y1;
        break;
    case iaRight:
        b.Right += gapX + w;
        left = x1 + gapX;
        centreVertically();
        break;
    case iaRightTop:
        b.Right += gapX + w;
        b.Top -= h + gapY;
        left = x1 + gapX;
        top = b.Top;
        break;
    case iaRightBottom:
        // The image reaches 2 pixels below the bounds.
        b.Right += gapX + w;
        b.Bottom += gapY + h;
        left = x1 + gapX;
        top = y1 + 2 * gapY;
        break;
    case iaTop:
        b.Top -= h + gapY;
        centreHorizontally();
        top = b.Top;
        break;
    case iaBottom:
        b.Bottom += gapY + h;
        centreHorizontally();
        top = y1 + gapY;
        break;
    default: // iaAutomatic, iaLeft
        b.Left -= w + gapX;
        left = b.Left;
        centreVertically();
        break;
    }
    FImageBounds = TRect(left, top, left + w, top + h);
}

// ---------------------------------------------------------------------------
// The pass

namespace {

void Prefetch(const TTreeNodeShape *node)
{
    const char *p = reinterpret_cast<const char *>(node);
    for (size_t line = 0; line < sizeof(TTreeNodeShape); line += 64)
        __builtin_prefetch(p + line);
}

} // namespace

void TTreeDocument::LayoutShapes()
{
    FShapeExtent = TRect(INT_MAX, INT_MAX, 0, 0);
    for (int i = 0; i < FRoots.Count(); ++i)
        LayoutNode(FRoots[i], i);
}

void TTreeDocument::PlaceNode(TTreeNodeShape *n, int i, TChildManager *manager, TKorCanvas3D *&canvas)
{
    if (!n->FSizeValid) {
        if (!canvas)
            canvas = TreeCanvas();
        n->CalcSize(canvas);
    }
    if (manager && !n->PlacedByOwnPoints()) {
        const TTreeShapeAutoPosition *autoPos = n->PeekAutoPosition();
        // Rows far down the range stop at its end instead of wrapping.
        if (!autoPos || autoPos->Left())
            TTreeNodeShape::MoveEdges(n->FX0, n->FX1, manager->CalcXPos(n));
        if (!autoPos || autoPos->Top())
            TTreeNodeShape::MoveEdges(n->FY0, n->FY1, manager->CalcYPos(n, i));
    }
    n->PlaceImage();
    const TRect &b = n->FBounds;
    FShapeExtent.Left = std::min(FShapeExtent.Left, b.Left);
    FShapeExtent.Top = std::min(FShapeExtent.Top, b.Top);
    FShapeExtent.Right = std::max(FShapeExtent.Right, b.Right);
    FShapeExtent.Bottom = std::max(FShapeExtent.Bottom, b.Bottom);
}

void TTreeDocument::LayoutNode(TTreeNodeShape *node, int index)
{
    if (!node)
        return;
    TChildManager *manager = FDefaultFormat->ChildManager();
    TKorCanvas3D *canvas = nullptr;
    // Each later position is computed from the nodes placed before it, so
    // the order (parent first, siblings in order) matters.
    PlaceNode(node, index, manager, canvas);
    if (!node->Expanded() || !node->HasChildren())
        return;
    // Depth first without recursion: (node, next child to lay out).
    std::vector<std::pair<TTreeNodeShape *, int>> stack;
    stack.emplace_back(node, 0);
    while (!stack.empty()) {
        auto &[parent, next] = stack.back();
        if (next >= parent->ChildCount()) {
            stack.pop_back();
            continue;
        }
        const int i = next++;
        TTreeNodeShape *child = parent->Child(i);
        // Large diagrams do not fit the cache: fetch the next sibling while
        // this one is placed.
        if (TTreeNodeShape *following = parent->Child(i + 1))
            Prefetch(following);
        PlaceNode(child, i, manager, canvas);
        if (child->Expanded() && child->HasChildren())
            stack.emplace_back(child, 0);
    }
}

// ---------------------------------------------------------------------------
// Laying out again after moves and resizes

namespace {

bool AutoLeftOf(const TTreeNodeShape *n)
{
    const TTreeShapeAutoPosition *a = n->PeekAutoPosition();
    return !a || a->Left();
}

bool AutoTopOf(const TTreeNodeShape *n)
{
    const TTreeShapeAutoPosition *a = n->PeekAutoPosition();
    return !a || a->Top();
}

} // namespace

bool TTreeDocument::LayoutAfterGeometryEdits(const std::vector<TTreeNodeShape *> &edited,
                                             std::vector<TTreeNodeShape *> &touched, int cutBelow)
{
    TChildManager *manager = FDefaultFormat->ChildManager();
    // The explorer places a node from its parent (left edge, bottom) and
    // from the last row of the brother before it; roots from the roots
    // before them. Other layout objects may look anywhere.
    if (manager && !dynamic_cast<TTreeExplorerAlignChild *>(manager))
        return false;
    std::unordered_set<const TTreeNodeShape *> edits;
    std::unordered_set<const TTreeNodeShape *> onPath;
    for (const TTreeNodeShape *n : edited) {
        if (!n || n->Tree() != this)
            return false;
        edits.insert(n);
        for (const TTreeNodeShape *p = n->Parent(); p && onPath.insert(p).second; p = p->Parent()) {
        }
    }
    TKorCanvas3D *canvas = nullptr;
    const auto lastBottom = [](const TTreeNodeShape *n) { return TTreeExplorerAlignChild::LastBottom(n); };
    const auto touch = [&](TTreeNodeShape *n) {
        touched.push_back(n);
        // A connection into the node from elsewhere runs another way now.
        const auto source = [&](const TTreeConnection *c) {
            if (c && c->FromShape() && c->FromShape() != n->Parent())
                touched.push_back(c->FromShape());
        };
        source(n->FIncomingOne);
        if (n->FIncomingMore)
            for (const TTreeConnection *c : *n->FIncomingMore)
                source(c);
    };

    // A node is placed again when what its position is computed from
    // changed (`forced`), when it was edited, or when it lies in an edited
    // subtree (whose coordinates the move shifted already). Each frame
    // answers whether the bottom of the subtree's last row changed, which
    // the next brother is placed below.
    struct TFrame
    {
        TTreeNodeShape *Node;
        int Next;
        bool Inside;    // an edited node or inside an edited subtree
        bool Compare;   // its coordinates are those of the last pass
        bool Moved;     // what its children are placed from changed
        bool Previous;  // the brother before the next child ended elsewhere
        bool Cut;       // the row is below the cut: its subtree is left alone
        int OldLast;
    };
    // Set at the first row below the cut: from then on only the edited
    // subtrees and the way to them are visited.
    bool cut = false;
    std::vector<TFrame> stack;
    // Enters a node; answers false when nothing in its subtree can change.
    const auto enter = [&](TTreeNodeShape *n, int index, bool forced, bool inside) {
        const bool self = edits.count(n) != 0;
        if (!forced && !self && !inside && !onPath.count(n))
            return false;
        TFrame f{n, 0, self || inside, !self && !inside, self || inside, false, false, 0};
        const int oldX0 = n->X0();
        const TRect oldBounds = n->Bounds();
        if (f.Compare)
            f.OldLast = lastBottom(n);
        if (forced || f.Inside) {
            PlaceNode(n, index, manager, canvas);
            touch(n);
            f.Moved = f.Moved || n->X0() != oldX0 || n->Bounds() != oldBounds;
            if (!f.Inside && n->Bounds().Top > cutBelow && AutoTopOf(n)) {
                // Everything placed from this row on lies lower still.
                cut = true;
                f.Cut = !onPath.count(n);
            }
        }
        stack.push_back(f);
        return true;
    };
    // Runs the subtree entered last; answers whether its last row moved.
    const auto run = [&]() {
        bool result = false;
        const size_t base = stack.size() - 1;
        for (;;) {
            TFrame &top = stack.back();
            if (!top.Cut && top.Node->Expanded() && top.Next < top.Node->ChildCount()) {
                const int i = top.Next++;
                TTreeNodeShape *child = top.Node->Child(i);
                const bool forced = manager && !cut && (top.Moved || top.Previous);
                const bool inside = top.Inside;
                if (!enter(child, i, forced, inside))
                    top.Previous = false;
                continue;
            }
            const TFrame done = top;
            const bool changed = !done.Cut && (!done.Compare || lastBottom(done.Node) != done.OldLast);
            stack.pop_back();
            if (stack.size() == base) {
                result = changed;
                break;
            }
            stack.back().Previous = changed;
        }
        return result;
    };

    // A root with an automatic top goes below the roots since the last
    // such root; one with an automatic left under the last such root.
    bool yDirty = false;
    bool xDirty = false;
    for (int i = 0; i < FRoots.Count(); ++i) {
        TTreeNodeShape *root = FRoots[i];
        const bool own = root->PlacedByOwnPoints();
        const bool autoTop = manager && !own && AutoTopOf(root);
        const bool autoLeft = manager && !own && AutoLeftOf(root);
        const bool forced = !cut && ((autoTop && yDirty) || (autoLeft && xDirty));
        const int oldX0 = root->X0();
        bool changed = false;
        if (enter(root, i, forced, false))
            changed = run();
        if (autoTop)
            yDirty = changed;
        else
            yDirty = yDirty || changed;
        if (autoLeft)
            xDirty = edits.count(root) != 0 || root->X0() != oldX0;
    }
    return true;
}
