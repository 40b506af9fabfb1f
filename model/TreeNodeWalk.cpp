// The node walk of a drawing: each node, its outgoing connections and its
// cross box, then its expanded children, parent before children.

#include "model/TreeDocument.h"
#include "model/TreeNodeShape.h"

#include <vector>

namespace {

// One node's own layer: the node itself when it meets the visible area,
// its connections and its cross box. False when a connection says the rest
// lies below the visible area.
bool DrawNodeLayer(TTreeNodeShape *node)
{
    TTreeDocument *tree = node->Tree();
    if (!tree || !node->Visible())
        return true;
    if (RectsIntersect(node->PaintBounds(), tree->VisibleArea()))
        node->Draw();
    bool result = true;
    const TNodeConnectionList *links = node->PeekConnections();
    if (links && links->Visible() && tree->Connections().Visible()) {
        for (int i = 0; i < links->Count(); ++i) {
            TTreeConnection *c = links->Items(i);
            if (!c->ShouldDraw())
                continue;
            if (!c->Draw()) {
                result = false;
                break;
            }
        }
    }
    const TTreeNodeCrossBox *box = tree->CrossBox();
    TChildManager *layout = tree->DefaultFormat().ChildManager();
    if (layout && box->Visible() && box->Size() > 0 && node->HasCross())
        box->Draw(tree->TreeCanvas(), layout->GetCrossPos(node, node->Parent()), node->Expanded(),
                  tree->VisibleArea());
    return result;
}

} // namespace

bool TTreeNodeShape::DrawNodeWalk()
{
    // Without recursion, so any depth is safe. A child answering False
    // stops its remaining siblings and makes its parent answer False; a
    // node's own False (from a connection) still lets its children draw.
    struct TFrame
    {
        TTreeNodeShape *Node;
        int Next;
        bool Result;
        bool Stopped;
    };
    std::vector<TFrame> stack;
    stack.push_back({this, 0, DrawNodeLayer(this), false});
    for (;;) {
        TFrame &top = stack.back();
        if (!top.Stopped && top.Node->Expanded() && top.Next < top.Node->ChildCount()) {
            TTreeNodeShape *child = top.Node->Child(top.Next++);
            bool answer = true;
            if (child->Tree() && child->Tree()->SubtreeOutOfView(child, answer)) {
                if (!answer) {
                    top.Result = false;
                    top.Stopped = true;
                }
                continue;
            }
            stack.push_back({child, 0, DrawNodeLayer(child), false});
            continue;
        }
        const bool result = top.Result;
        stack.pop_back();
        if (stack.empty())
            return result;
        if (!result) {
            stack.back().Result = false;
            stack.back().Stopped = true;
        }
    }
}
