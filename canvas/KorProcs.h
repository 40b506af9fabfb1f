#pragma once
// The panel base: drawing through the canvas with an off-screen buffer,
// zoom and panning, background, event listeners, printing and rendering
// into bitmaps, metafiles and the clipboard.

#include "canvas/KorCanvas.h"
#include "canvas/KorConst.h"
#include "canvas/KorMetafile.h"
#include "canvas/KorPanel.h"
#include "canvas/KorPanelExtended.h"
#include "canvas/KorPrinter.h"
#include "canvas/PanelEvents.h"
#include "canvas/PanelNoCaption.h"
#include "canvas/PanelProperties.h"
#include "canvas/ZoomPanning.h"
