#pragma once
// A transparency blend for one element: created before the element is
// drawn, applied after it with the transparency percentage (0 keeps the
// element as drawn, 100 restores what was under it).
//
//   TKorBlend blend(canvas, rect);
//   ... draw the element ...
//   blend.Apply(transparency);
//
// The rectangle's coordinates are clamped to 0 or more; an empty rectangle
// makes the blend inert. The canvas does the mixing (see
// TKorCanvas::BeginTransparency): in its pixels when it can read them back,
// else through a layer drawn with opacity.

#include "canvas/CanvasTypes.h"
#include "canvas/GraphicsObject.h"

class TKorCanvas;

class TKorBlend
{
public:
    TKorBlend(TKorCanvas *canvas, const TRect &rect);
    // A blend never applied keeps the element as drawn.
    ~TKorBlend();
    TKorBlend(const TKorBlend &) = delete;
    TKorBlend &operator=(const TKorBlend &) = delete;

    // Width and height both positive after clamping.
    bool Valid() const { return FValid; }
    const TRect &Rect() const { return FRect; }

    void Apply(int transparency);

private:
    TKorCanvas *FCanvas;
    TRect FRect;
    bool FValid = false;
    bool FOpen = false;
};
