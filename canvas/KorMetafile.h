#pragma once
// A metafile made by rendering a panel: the canvas operations in the order
// they were drawn (for the writers of enhanced and plain metafiles) and a
// replayable vector picture of the same drawing.

#include "canvas/RecordingCanvas.h"

#include <QPicture>
#include <vector>

class TKorMetafile
{
public:
    TKorMetafile(bool enhanced, int width, int height) : FEnhanced(enhanced), FWidth(width), FHeight(height) {}

    bool Enhanced() const { return FEnhanced; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // What was drawn, operation by operation.
    const std::vector<TCanvasCall> &Records() const { return FRecords; }
    void SetRecords(std::vector<TCanvasCall> records) { FRecords = std::move(records); }
    // The same drawing as Qt vector commands.
    const QPicture &Picture() const { return FPicture; }
    QPicture &Picture() { return FPicture; }

    // Draws the metafile scaled into a rectangle of a painter.
    void Play(QPainter *painter, const TRect &rect) const;

private:
    bool FEnhanced;
    int FWidth;
    int FHeight;
    std::vector<TCanvasCall> FRecords;
    QPicture FPicture;
};
