#include "editor/TreeAlign.h"

#include "editor/TreePanelsConst.h"
#include "model/Arbolix.h"

#include <algorithm>

void AlignSelection(TTreeDocument *tree, TAlignKind kind)
{
    if (!tree || tree->Selected().Count() < 2)
        return;
    const std::vector<TTreeNodeShape *> nodes = tree->Selected().Nodes();
    TTreeNodeShape *ref = nodes.front();
    int size = 0;
    switch (kind) {
    case akMinWidth:
    case akMaxWidth:
    case akMinHeight:
    case akMaxHeight: {
        const bool width = kind == akMinWidth || kind == akMaxWidth;
        const bool smallest = kind == akMinWidth || kind == akMinHeight;
        size = width ? ref->Width() : ref->Height();
        for (TTreeNodeShape *n : nodes) {
            const int s = width ? n->Width() : n->Height();
            size = smallest ? std::min(size, s) : std::max(size, s);
        }
        break;
    }
    default:
        break;
    }
    TTreeStep step(tree, SStepAlign);
    for (TTreeNodeShape *n : nodes) {
        switch (kind) {
        case akLeft:
            if (n != ref)
                tree->MoveShape(n, ref->X0() - n->X0(), 0, false);
            break;
        case akRight:
            if (n != ref)
                tree->MoveShape(n, ref->X1() - n->X1(), 0, false);
            break;
        case akTop:
            if (n != ref)
                tree->MoveShape(n, 0, ref->Y0() - n->Y0(), false);
            break;
        case akBottom:
            if (n != ref)
                tree->MoveShape(n, 0, ref->Y1() - n->Y1(), false);
            break;
        case akMinWidth:
        case akMaxWidth:
            if (n->Width() != size)
                tree->EditElement(n, QStringLiteral("X1"), [&] {
                    n->SetAutoSize(false);
                    n->SetWidth(size);
                });
            break;
        case akMinHeight:
        case akMaxHeight:
            if (n->Height() != size)
                tree->EditElement(n, QStringLiteral("Y1"), [&] {
                    n->SetAutoSize(false);
                    n->SetHeight(size);
                });
            break;
        }
    }
}
