#pragma once
// The whole diagram as a picture at its zoom, rendered by the panel's
// bitmap rendering in horizontal strips small enough for memory: a
// picture of any height is written without ever being held whole.

#include "view/Arbolix.h"

#include <QImage>
#include <functional>

class TDiagramPicture
{
public:
    // Memory one strip may take.
    static constexpr qint64 kStripBytes = qint64(8) << 20;
    // Widest picture rendered (a strip is at least one row).
    static constexpr int kMaxWidth = 1 << 22;

    // Lays the diagram out and measures its picture.
    explicit TDiagramPicture(TCustomTree &tree, qint64 stripBytes = kStripBytes);

    int Width() const { return FWhole.Rect.Width(); }
    int Height() const { return FWhole.Rect.Height(); }
    // Whether the picture can be rendered at all (its width, and a size the
    // zoomed coordinates can hold).
    bool Renderable() const;
    int StripHeight() const { return FStripHeight; }
    int StripCount() const { return (Height() + FStripHeight - 1) / FStripHeight; }

    // Renders every strip, top down or bottom up, and hands each to `sink`
    // with the picture row it starts at.
    void Render(bool bottomUp, const std::function<void(const QImage &strip, int top)> &sink);
    // The picture in one image (small pictures).
    QImage RenderWhole();

private:
    TCustomTree &FTree;
    TCustomTree::TWholePicture FWhole;
    int FStripHeight = 1;
};
