// The position pass: automatic sizes and coordinates of every laid-out node,
// the image beside each body, and the diagram's extent.

#include "model/ChildManager.h"
#include "model/TreeDocument.h"
#include "model/TreeNodeShape.h"

#include <algorithm>
#include <climits>
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

void TTreeDocument::LayoutNode(TTreeNodeShape *node, int index)
{
    if (!node)
        return;
    TChildManager *manager = FDefaultFormat->ChildManager();
    TKorCanvas3D *canvas = nullptr;
    // One node: each later position is computed from the nodes placed
    // before it, so the order (parent first, siblings in order) matters.
    auto place = [&](TTreeNodeShape *n, int i) {
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
    };

    place(node, index);
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
        place(child, i);
        if (child->Expanded() && child->HasChildren())
            stack.emplace_back(child, 0);
    }
}
