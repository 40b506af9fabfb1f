#include "view/SubtreeReach.h"

#include "model/ExplorerAlignChild.h"
#include "model/TreeConnection.h"
#include "model/TreeDocument.h"
#include "model/TreeNodeShape.h"

#include <algorithm>
#include <vector>

void TSubtreeReach::TReach::Add(const TRect &r)
{
    const TRect n = r.Normalized();
    Rect.Left = std::min(Rect.Left, n.Left);
    Rect.Top = std::min(Rect.Top, n.Top);
    Rect.Right = std::max(Rect.Right, std::max(n.Right, n.Left + 1));
    Rect.Bottom = std::max(Rect.Bottom, std::max(n.Bottom, n.Top + 1));
}

void TSubtreeReach::TReach::Add(const TReach &other)
{
    Unbounded = Unbounded || other.Unbounded;
    ScreenMargin = std::max(ScreenMargin, other.ScreenMargin);
    if (!other.Empty() && other.Rect.Left <= other.Rect.Right)
        Add(other.Rect);
}

namespace {

TRect Around(const TPoint &p, int half)
{
    return TRect(p.X - half, p.Y - half, p.X + half + 1, p.Y + half + 1);
}

} // namespace

TSubtreeReach::TReach TSubtreeReach::OwnReach(TTreeDocument &tree, TTreeNodeShape *node) const
{
    TReach r;
    // An invisible node draws nothing of its own (its children may).
    if (!node->Visible())
        return r;
    r.Add(node->PaintBounds());
    TChildManager *layout = tree.DefaultFormat().ChildManager();
    const TTreeNodeCrossBox *box = tree.CrossBox();
    const int boxSize = box->Visible() ? box->Size() : 0;
    if (layout && boxSize > 0 && node->HasCross())
        r.Add(Around(layout->GetCrossPos(node, node->Parent()), boxSize));

    const TNodeConnectionList *links = node->PeekConnections();
    if (!links || !links->Visible() || !tree.Connections().Visible())
        return r;
    const bool explorer = dynamic_cast<TTreeExplorerAlignChild *>(layout) != nullptr;
    for (TTreeConnection *c : *links) {
        if (!c->ShouldDraw())
            continue;
        // Text goes wherever its lines reach; other classes and layout
        // objects draw their own way.
        if (&c->ClassInfo() != &TTreeConnection::StaticClassInfo() || c->LineCount() > 0 ||
            (c->Style() == csAuto && !explorer)) {
            r.Unbounded = true;
            return r;
        }
        if (c->Style() == csAuto && c->ToShape()->Parent() == node)
            r.AnswerBelow = false;
        // The course is worked out as drawing does it (on a canvas that
        // draws nothing): its points hold it afterwards.
        c->Draw();
        TReach course;
        for (int k = 0; k < c->Count(); ++k)
            course.Add(Around(TPoint(c->Points()[k].X, c->Points()[k].Y), 0));
        if (course.Empty())
            continue;
        // The explorer's guide ends beside the child's box, and arrow heads
        // are drawn where their squares meet the area.
        int grow = c->Style() == csAuto ? boxSize : 0;
        for (const TConnectionArrow *a : {c->EffectiveArrowFrom(), c->EffectiveArrowTo()})
            if (a->Style() != casNone) {
                grow = std::max(grow, a->Size() / 2 + 1);
                r.ScreenMargin = std::max(r.ScreenMargin, a->EffectiveBorder()->Width() + 2);
            }
        r.ScreenMargin = std::max(r.ScreenMargin, c->EffectiveBorder()->Width() + 2);
        r.Add(course.Rect.Inflated(grow, grow));
    }
    return r;
}

void TSubtreeReach::Clear()
{
    FTable.clear();
    FMask = 0;
}

size_t TSubtreeReach::Slot(const TTreeNodeShape *node) const
{
    const uint64_t h = (reinterpret_cast<uintptr_t>(node) >> 4) * 0x9E3779B97F4A7C15ull;
    return static_cast<size_t>(h >> 20) & FMask;
}

void TSubtreeReach::Insert(const TTreeNodeShape *node, const TReach &reach)
{
    for (size_t i = Slot(node);; i = (i + 1) & FMask) {
        TEntry &e = FTable[i];
        if (!e.Node || e.Node == node) {
            e.Node = node;
            e.Reach = reach;
            return;
        }
    }
}

void TSubtreeReach::Compute(TTreeDocument &tree)
{
    // At most half full: every node of the diagram fits.
    size_t size = 16;
    while (size < 2 * static_cast<size_t>(tree.Shapes().Count()))
        size *= 2;
    FTable.assign(size, TEntry());
    FMask = size - 1;
    // Depth first without recursion; a finished subtree's reach goes into
    // its parent's.
    struct TFrame
    {
        TTreeNodeShape *Node;
        int Next;
        TReach Reach;
    };
    std::vector<TFrame> stack;
    for (int i = 0; i < tree.Roots().Count(); ++i) {
        TTreeNodeShape *root = tree.Roots()[i];
        stack.push_back({root, 0, OwnReach(tree, root)});
        while (!stack.empty()) {
            TFrame &top = stack.back();
            if (top.Node->Expanded() && top.Next < top.Node->ChildCount()) {
                TTreeNodeShape *child = top.Node->Child(top.Next++);
                TReach own = OwnReach(tree, child);
                stack.push_back({child, 0, own});
                continue;
            }
            const TFrame done = top;
            stack.pop_back();
            Insert(done.Node, done.Reach);
            if (!stack.empty()) {
                TReach &parent = stack.back().Reach;
                parent.Add(done.Reach);
                parent.AnswerBelow = parent.AnswerBelow && done.Reach.AnswerBelow;
            }
        }
    }
}

const TSubtreeReach::TReach *TSubtreeReach::Find(const TTreeNodeShape *node) const
{
    if (FTable.empty())
        return nullptr;
    for (size_t i = Slot(node);; i = (i + 1) & FMask) {
        const TEntry &e = FTable[i];
        if (e.Node == node)
            return &e.Reach;
        if (!e.Node)
            return nullptr;
    }
}

void TSubtreeReach::Forget(const TTreeNodeShape *node)
{
    if (FTable.empty())
        return;
    for (const TTreeNodeShape *n = node; n; n = n->Parent()) {
        TEntry *e = nullptr;
        for (size_t i = Slot(n);; i = (i + 1) & FMask) {
            TEntry &candidate = FTable[i];
            if (candidate.Node == n)
                e = &candidate;
            if (!candidate.Node || candidate.Node == n)
                break;
        }
        if (!e)
            continue;
        // An unbounded subtree's ancestors are unbounded already.
        if (e->Reach.Unbounded)
            return;
        e->Reach.Unbounded = true;
    }
}

bool TSubtreeReach::OutOfView(const TTreeNodeShape *node, const TRect &visible, int zoom, bool &answer) const
{
    const TReach *r = Find(node);
    if (!r || r->Unbounded)
        return false;
    answer = true;
    if (r->Empty())
        return true;
    if (zoom <= 0)
        return false;
    // Lines as wide as the widest pen, in diagram units at this zoom.
    const int m = (r->ScreenMargin * 100 + zoom - 1) / zoom + 1;
    if (RectsIntersect(r->Rect.Inflated(m, m), visible))
        return false;
    // Nothing below the area: no connection of the subtree can answer
    // False (only a row below the visible area does). Everything below:
    // every connection into a child answers False.
    if (r->Rect.Bottom <= visible.Bottom)
        return true;
    if (r->Rect.Top > visible.Bottom) {
        answer = r->AnswerBelow;
        return true;
    }
    return false;
}
