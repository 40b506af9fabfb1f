#include "view/CustomTree.h"

bool TCustomTree::StartEditingByMouse(TMouseButton, int, int)
{
    return false;
}

void TCustomTree::BeginShapeDrag(TTreeNodeShape *) {}

bool TCustomTree::StartEditingByKey(int, Qt::KeyboardModifiers)
{
    return false;
}

bool TCustomTree::Editing() const
{
    return false;
}
