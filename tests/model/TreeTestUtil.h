// Shared set-up of the model tests: a host component named like the
// editor's window that owns a diagram and, through it, the elements.

#pragma once

#include "model/Arbolix.h"

#include <QStringList>
#include <memory>

struct THost
{
    std::unique_ptr<TComponent> Owner;
    TTreeDocument *Tree;

    // owned: elements are owned by the host and named; otherwise they have
    // no owner and no name.
    explicit THost(bool owned = true) : Owner(std::make_unique<TComponent>())
    {
        Owner->SetName(QStringLiteral("TreeEditor1"));
        Tree = new TTreeDocument(Owner.get());
        Tree->SetNoOwnerShapes(!owned);
    }
};

// The published properties an object would store, in file order.
inline QStringList StoredProps(const TPersistent &obj)
{
    QStringList names;
    for (const TPropInfo &p : obj.ClassInfo().Properties())
        if (p.IsStored(obj))
            names << p.Name;
    return names;
}

// Gives a node a fixed rectangle (fixing both coordinates); answers the
// node.
inline TTreeNodeShape *Place(TTreeNodeShape *node, int left, int top, int right, int bottom)
{
    node->SetX0(left);
    node->SetY0(top);
    node->SetX1(right);
    node->SetY1(bottom);
    return node;
}
