#pragma once
// A diagram's animation as an animated GIF: one picture for every frame
// the player plays in one pass (the frame's values applied, as the window
// shows them), all of one size that covers every frame, each shown for the
// player's timer interval (at least 2 hundredths of a second, the shortest
// delay viewers keep), repeating for ever when the player loops.
//
// The player is played on the spot, without its timer; afterwards it is
// stopped and the diagram is as before.

#include "export/ColorReduction.h"

class QIODevice;
class TCustomTree;
class TTreeAnimate;

// The most frames written.
constexpr int kMaxAnimatedGIFFrames = 10000;

// The GIF delay (hundredths of a second) of a player's frame.
int AnimatedGIFDelay(const TTreeAnimate &player);

// Throws EExportError when the player has nothing to play or more than
// kMaxAnimatedGIFFrames frames, EWriteError when writing fails.
void WriteAnimatedGIF(TCustomTree &tree, TTreeAnimate &player, QIODevice &device, TDitherMode dither,
                      TColorReduction reduction);
