#pragma once
// Where the node walk of each laid-out subtree can draw, worked out once
// after every position pass, so a repaint passes by the subtrees that lie
// wholly outside the window (above it, in a long diagram) instead of
// walking them node by node.
//
// A subtree's reach holds the rectangle (diagram units) of everything its
// walk may draw: node paint bounds, cross boxes, the courses of outgoing
// connections with their arrow squares; and the widest line it may draw
// there (screen pixels). What cannot be bounded that way (connection text,
// connection classes or layout objects with their own drawing) makes the
// reach unbounded, and such a subtree is always walked.

#include "canvas/CanvasTypes.h"

#include <climits>
#include <cstdint>
#include <vector>

class TTreeDocument;
class TTreeNodeShape;

class TSubtreeReach
{
public:
    struct TReach
    {
        TRect Rect{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        int ScreenMargin = 0;
        bool Unbounded = false;
        // The walk's answer when the whole subtree lies below the visible
        // area: False as soon as a node has a connection into its own child
        // (the explorer answers False for a child row below the area).
        bool AnswerBelow = true;

        bool Empty() const { return !Unbounded && Rect.Left > Rect.Right; }
        // Takes in a rectangle, at least one unit wide and high.
        void Add(const TRect &r);
        void Add(const TReach &other);
    };

    // Works out every subtree the walk can visit: the roots and the
    // children of expanded nodes. Call after the position pass, with the
    // diagram's canvas drawing nothing: each connection is laid on its
    // course as drawing would, so its points are up to date even where
    // the walk passes it by.
    void Compute(TTreeDocument &tree);
    void Clear();

    // The reach worked out for a node's subtree, or null.
    const TReach *Find(const TTreeNodeShape *node) const;
    // The node's drawing changed: its subtree and every subtree holding it
    // are walked from now on.
    void Forget(const TTreeNodeShape *node);
    // True when the walk of the node's subtree draws nothing in `visible`
    // at `zoom` percent and its answer is known: True when nothing lies
    // below the area, AnswerBelow when everything does.
    bool OutOfView(const TTreeNodeShape *node, const TRect &visible, int zoom, bool &answer) const;

private:
    TReach OwnReach(TTreeDocument &tree, TTreeNodeShape *node) const;
    void Insert(const TTreeNodeShape *node, const TReach &reach);
    size_t Slot(const TTreeNodeShape *node) const;

    // Open addressing on the node's address: repaints look up many nodes,
    // and one probe usually finds its entry in one cache line.
    struct TEntry
    {
        const TTreeNodeShape *Node = nullptr;
        TReach Reach;
    };
    std::vector<TEntry> FTable;
    size_t FMask = 0;
};
