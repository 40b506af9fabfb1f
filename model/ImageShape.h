#pragma once
// A node that shows only its picture.

#include "model/TreeNodeShape.h"

// No border, transparent, the picture stretched over the body; the body
// takes the size of the picture.
class TImageShape : public TTreeNodeShape
{
    DX_OBJECT(TImageShape)
public:
    // The computer image, centred.
    explicit TImageShape(TComponent *owner = nullptr);

    // The inherited size, then, with a picture, the picture's size.
    void CalcSize(TKorCanvas *canvas) override;

protected:
    // A pen that is invisible by default, so a file stores a visible one.
    std::unique_ptr<TChartPen> NewBorder() const override;
};
