#pragma once
// Aligning the selected nodes of a diagram: the Align page and the commands.

class TTreeDocument;

// What aligning the selection does; the first selected node is the
// reference.
enum TAlignKind {
    akLeft,      // left edges at the reference's
    akRight,     // right edges at the reference's
    akTop,       // top edges at the reference's
    akBottom,    // bottom edges at the reference's
    akMinWidth,  // every selected node the smallest width among them
    akMaxWidth,
    akMinHeight,
    akMaxHeight,
};
// Aligns the selected nodes of a diagram, keeping sizes when moving; one
// step; nothing with fewer than two selected nodes.
void AlignSelection(TTreeDocument *tree, TAlignKind kind);
