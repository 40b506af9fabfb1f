#pragma once
// The child-layout object of a diagram: computes the automatic positions of
// nodes and draws the connections of style csAuto.

#include "model/TreeTypes.h"

#include <functional>

class TChildManager
{
public:
    virtual ~TChildManager() = default;

    // Centre of a node's cross box, where its row meets the guide line.
    virtual TPoint GetCrossPos(TTreeNodeShape *node, TTreeNodeShape *parent) = 0;
    // Draws a csAuto connection; False when the rest lies below the visible
    // area (the node walk stops).
    virtual bool DrawConnection(TTreeConnection *connection) = 0;
    // The automatic X0 of a node.
    virtual int CalcXPos(TTreeNodeShape *node) = 0;
    // The automatic Y0 of a node at position `index` among its siblings.
    virtual int CalcYPos(TTreeNodeShape *node, int index) = 0;

    // Called when a setting that moves nodes or changes how the automatic
    // connections look has changed; the diagram that owns this object sets
    // it so that the next repaint lays the nodes out again.
    std::function<void()> OnChange;

protected:
    void Changed()
    {
        if (OnChange)
            OnChange();
    }
    // Sets a setting and reports a real change.
    void Update(int &field, int value)
    {
        if (field != value) {
            field = value;
            Changed();
        }
    }
};
