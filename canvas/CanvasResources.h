#pragma once
// The canvas's compiled-in resources: the twelve extra brush patterns,
// monochrome 8 x 8 bitmaps drawn black on white (white is transparent when a
// brush fills with them), at ":/dendrix/patterns/KORBRUSH<n>.bmp", n = 1..12:
// "Fill 80%", "Fill 60%", "Fill 40%", "Fill 20%", "Fill 10%", "Zig zag",
// "Vertical small", "Horiz. small", "Diag. small", "Back Diag. small",
// "Cross small", "Diag. Cross small".

// Registers the resources of the (static) canvas library. The program calls
// it at start-up, before the first pattern is loaded; until then the paths
// above do not exist. Calling it again does nothing.
void InitCanvasResources();
