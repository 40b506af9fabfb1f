#pragma once
// Walking a node's subtree without recursion, so any depth is safe.

#include "model/TreeNodeShape.h"

#include <utility>
#include <vector>

// Visits `top` and its descendants depth first, children in order:
// pre(node) answers whether to go into the node's children, post(node) runs
// after them. The callbacks must not change the hierarchy.
template <class Pre, class Post>
void WalkSubtree(TTreeNodeShape *top, Pre pre, Post post)
{
    std::vector<std::pair<TTreeNodeShape *, int>> stack;
    if (!pre(top)) {
        post(top);
        return;
    }
    stack.emplace_back(top, 0);
    while (!stack.empty()) {
        auto &[node, next] = stack.back();
        if (next >= node->ChildCount()) {
            TTreeNodeShape *done = node;
            stack.pop_back();
            post(done);
            continue;
        }
        TTreeNodeShape *child = node->Child(next++);
        if (pre(child))
            stack.emplace_back(child, 0);
        else
            post(child);
    }
}

// Visits `top` and its descendants in pre-order (a node before its
// children, children in order).
template <class Fn>
void ForEachInSubtree(TTreeNodeShape *top, Fn fn)
{
    WalkSubtree(
        top,
        [&fn](TTreeNodeShape *node) {
            fn(node);
            return true;
        },
        [](TTreeNodeShape *) {});
}
