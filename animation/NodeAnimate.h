#pragma once
// A bar of the animation editor's timeline: a node of the timeline diagram
// that stands for one animation of the player, placed at the animation's
// first frame and as long as its duration. Only its left and right handles
// resize it.

#include "model/TreeNodeShape.h"

class TAnimation;

class TNodeAnimate : public TTreeNodeShape
{
    DX_OBJECT(TNodeAnimate)
public:
    // Black, framed in red, without image, with the hand-point cursor.
    explicit TNodeAnimate(TComponent *owner = nullptr);

    // The animation the bar stands for and its place in the player's list.
    TAnimation *Animation() const { return FAnimation; }
    int Index() const { return FIndex; }
    void SetAnimation(TAnimation *animation, int index)
    {
        FAnimation = animation;
        FIndex = index;
    }

    void AllowResize(TTreeShapeHandle corner, int x, int y, bool &allow) override;

private:
    TAnimation *FAnimation = nullptr;
    int FIndex = -1;
};

// Registers the bar's class, so that a timeline can make bars as its
// nodes. Calling it again does nothing.
void RegisterNodeAnimate();
