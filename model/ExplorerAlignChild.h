#pragma once
// The layout object every diagram starts with: a file-explorer folder tree.
// Each child goes one indentation step right of its parent and directly
// below the previous row; automatic connections are drawn as vertical guide
// lines with a short horizontal line into each child, and each node's
// expand/collapse box sits on its parent's guide line.

#include "model/ChildManager.h"
#include "model/TreeNodeShape.h"
#include "model/TreeShapeParts.h"

// Whether the automatic layout computes a node's X (Left) or Y (Top): a
// node without auto-position flags is automatic in both.
inline bool AutoLeft(const TTreeNodeShape *node)
{
    const TTreeShapeAutoPosition *a = node->PeekAutoPosition();
    return !a || a->Left();
}
inline bool AutoTop(const TTreeNodeShape *node)
{
    const TTreeShapeAutoPosition *a = node->PeekAutoPosition();
    return !a || a->Top();
}

class TTreeExplorerAlignChild : public TChildManager
{
public:
    // Centre of the node's cross box: the node's vertical centre, on its
    // parent's guide line (the middle of the parent's image when the image
    // is on the parent's left).
    TPoint GetCrossPos(TTreeNodeShape *node, TTreeNodeShape *parent) override;
    // Draws a csAuto connection as guide line plus horizontal line into the
    // child; False when the child's row lies below the visible area and the
    // child is the start node's own child (the rows after it are lower).
    bool DrawConnection(TTreeConnection *connection) override;
    // A child: its parent's X0 plus ChildIndent (plus its image when the
    // parent has none). A root: the X0 of the last automatic root before
    // it, else the left margin with room for the image and the cross box.
    int CalcXPos(TTreeNodeShape *node) override;
    // The row after the previous sibling's last row (after the parent's row
    // for a first child); a root goes below the last rows of the earlier
    // roots back to the last automatic one, the first root at TopMargin.
    int CalcYPos(TTreeNodeShape *node, int index) override;

    // The bottom of a node's last visible row: the last child's, followed
    // down while nodes are expanded, else the node's own Bounds bottom.
    static int LastBottom(const TTreeNodeShape *node);

    // Pixels between a node's left edge and its own guide position.
    int CrossMargin() const { return FCrossMargin; }
    void SetCrossMargin(int value) { Update(FCrossMargin, value); }
    // Pixels from a parent's X0 to its children's X0.
    int ChildIndent() const { return FChildIndent; }
    void SetChildIndent(int value) { Update(FChildIndent, value); }
    // Y0 of the first automatic root.
    int TopMargin() const { return FTopMargin; }
    void SetTopMargin(int value) { Update(FTopMargin, value); }
    // Pixels between the bottom of one row and the top of the next.
    int VertSpacing() const { return FVertSpacing; }
    void SetVertSpacing(int value) { Update(FVertSpacing, value); }
    // Direction of the arrow head at the child end (degrees, 0 points right).
    int ArrowToAngle() const { return FArrowToAngle; }
    void SetArrowToAngle(int value) { Update(FArrowToAngle, value); }

    // Horizontal gap between an image and the body, vertical gap likewise.
    static constexpr int kImageGapX = 3;
    static constexpr int kImageGapY = 2;

private:
    // A root's position in the diagram's roots; the position asked last is
    // tried first, so a pass over the roots costs no search.
    int RootIndex(const TTreeNodeShape *root) const;
    // The guide position of a node without parent (step "every other case").
    int OwnCrossX(const TTreeNodeShape *node) const;

    int FCrossMargin = 5;
    int FChildIndent = 19;
    int FTopMargin = 2;
    int FVertSpacing = 1;
    int FArrowToAngle = 0;
    mutable int FRootHint = 0;
};
