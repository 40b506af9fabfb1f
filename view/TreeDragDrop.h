#pragma once
// Dragging nodes to another parent, to the roots, or into another diagram:
// the settings published as the diagram's DragAndDrop. The decisions and
// the drop itself are TCustomTree::CanDropShape and DropShape, so they run
// without the platform's drag loop too.

#include "canvas/GraphicsObject.h"

#include <QString>

class TTreeDragDrop : public TGraphicsObject
{
    DX_OBJECT(TTreeDragDrop)
public:
    // A run-mode press on a node starts dragging it.
    bool Automatic() const { return FAutomatic; }
    void SetAutomatic(bool v) { Update(FAutomatic, v); }
    // Roots may be dragged too.
    bool DragRoots() const { return FDragRoots; }
    void SetDragRoots(bool v) { Update(FDragRoots, v); }
    // A drop on the background makes the node a root.
    bool DragToRoot() const { return FDragToRoot; }
    void SetDragToRoot(bool v) { Update(FDragToRoot, v); }
    // Nodes may come from another diagram, and go to one.
    bool FromOtherTree() const { return FFromOtherTree; }
    void SetFromOtherTree(bool v) { Update(FFromOtherTree, v); }
    bool ToOtherTree() const { return FToOtherTree; }
    void SetToOtherTree(bool v) { Update(FToOtherTree, v); }
    // A node dropped into another diagram leaves this one (off: a copy goes).
    bool RemoveNodes() const { return FRemoveNodes; }
    void SetRemoveNodes(bool v) { Update(FRemoveNodes, v); }

    void Assign(const TPersistent *source) override;

    // The type of the platform's drag data that names a dragged node.
    static QString MimeType();

private:
    bool FAutomatic = false;
    bool FDragRoots = true;
    bool FDragToRoot = true;
    bool FFromOtherTree = true;
    bool FToOtherTree = true;
    bool FRemoveNodes = true;
};
