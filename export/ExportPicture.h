#pragma once
// What a picture format draws: a panel's view in a rectangle of a given
// size (the export dialog, Save As), or a whole diagram at its zoom,
// optionally scaled to a size (the export command). Rasters are rendered in
// horizontal strips small enough for memory, so a picture of any height is
// written without ever being held whole; vector formats draw the picture
// once onto their painter.

#include "canvas/KorProcs.h"

#include <QImage>
#include <functional>

class TCustomTree;

// Reports the progress of a long export; answers false to stop it.
class TExportProgress
{
public:
    virtual ~TExportProgress() = default;
    virtual bool Step(qint64 done, qint64 total) = 0;
};

class TExportPicture
{
public:
    // Memory one strip may take.
    static constexpr qint64 kStripBytes = qint64(8) << 20;
    // Widest raster rendered (a strip is at least one row).
    static constexpr int kMaxWidth = 1 << 22;

    // The panel's view in the rectangle (0, 0, width, height); 0 stands for
    // the panel's own width or height.
    TExportPicture(TCustomKorPanel &panel, int width, int height);
    // The whole diagram at its zoom, with a small margin. A width or height
    // (0: none) scales it to that size keeping its proportions; with both
    // it is scaled to fit and centred in a picture of exactly that size.
    static TExportPicture WholeDiagram(TCustomTree &tree, int width = 0, int height = 0);
    // The diagram at its zoom in a picture of width x height pixels whose
    // top-left shows the diagram point `origin` (the frames of an animation
    // share one such picture).
    static TExportPicture DiagramAt(TCustomTree &tree, const TPoint &origin, int width, int height);

    int Width() const { return FSize.Width(); }
    int Height() const { return FSize.Height(); }
    TColor Background() const;
    TCustomKorPanel &Panel() const { return *FPanel; }

    // Whether a raster of this size can be rendered (its width, and a size
    // the coordinates can hold).
    bool Renderable() const;
    // Throws EWriteError naming the size and the format unless Renderable.
    void CheckRenderable(const QString &format) const;
    // Throws "The picture of W x H pixels is too large to write as F (limit)".
    [[noreturn]] void TooLarge(const QString &format, const QString &limit) const;

    // Strips: their height for the memory allowed, and how many.
    void SetStripBytes(qint64 bytes) { FStripBytes = bytes; }
    int StripHeight() const;
    int StripCount() const;
    // Renders every strip, top down or bottom up, and hands each to `sink`
    // with the picture row it starts at. Each strip is a step of
    // `progress`; EExportCancelled when it says stop.
    void Render(bool bottomUp, const std::function<void(const QImage &strip, int top)> &sink,
                TExportProgress *progress = nullptr) const;
    // The picture in one image (small pictures, the clipboard).
    QImage RenderWhole() const;
    // Draws the picture onto a painter whose device shows (0, 0, Width,
    // Height): the vector formats.
    void Draw(QPainter *painter) const;
    // Runs a drawing of the panel (an export canvas put in its place) with
    // the rectangle the picture is drawn in.
    void DrawWith(const std::function<void(const TRect &rect)> &draw) const;

private:
    TExportPicture() = default;
    // Runs a drawing with the scroll offsets (and zoom) the picture needs.
    void Showing(const std::function<void()> &draw) const;

    TCustomKorPanel *FPanel = nullptr;
    TCustomTree *FTree = nullptr;
    TRect FSize;       // (0, 0, width, height)
    TRect FRect;       // where the panel draws, within FSize
    TPoint FOrigin;    // whole diagram: the diagram point at FRect's top-left
    int FZoom = 0;     // whole diagram: the zoom it is drawn at
    qint64 FStripBytes = kStripBytes;
};
