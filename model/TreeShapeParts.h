#pragma once
// Small parts of a node: its brush class, its automatic-position flags and
// its picture holder.

#include "canvas/ChartBrush.h"
#include "canvas/Picture.h"
#include "core/Object.h"

class TTreeNodeShape;

// A node's fill: white unless told otherwise.
class TTreeShapeBrush : public TChartBrush
{
    DX_OBJECT(TTreeShapeBrush)
public:
    TTreeShapeBrush() { FColor = clWhite; }
};

// Which coordinates of a node the automatic layout computes. Both flags
// start True; setting a node's X0 (Y0) or moving it turns Left (Top) off.
// Neither flag is ever stored: a file records a fixed coordinate by storing
// the coordinate itself.
class TTreeShapeAutoPosition : public TPersistent
{
    DX_OBJECT(TTreeShapeAutoPosition)
public:
    explicit TTreeShapeAutoPosition(TTreeNodeShape *node = nullptr) : FNode(node) {}

    bool Left() const { return !FFixedLeft; }
    void SetLeft(bool value);
    bool Top() const { return !FFixedTop; }
    void SetTop(bool value);

    void Assign(const TPersistent *source) override;

private:
    void Changed();

    TTreeNodeShape *FNode;
    bool FFixedLeft = false;
    bool FFixedTop = false;
};

// A node's own picture. Transparent reads and writes the transparency of the
// graphic it holds (False without one).
class TTreePicture : public TPicture
{
    DX_OBJECT(TTreePicture)
public:
    using TPicture::TPicture;
};
