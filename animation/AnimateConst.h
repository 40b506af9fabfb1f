#pragma once
// The animation editor's message texts.

#include "core/Messages.h"

extern TMessageText SAnimationNode;        // "Node"
extern TMessageText SAnimationEnabled;     // "Enabled"
extern TMessageText SAnimationStart;       // "Start"
extern TMessageText SAnimationDuration;    // "Duration"
extern TMessageText SAnimationLoop;        // "Loop"
extern TMessageText SAnimationStartColor;  // "Start Color"
extern TMessageText SAnimationEndColor;    // "End Color"
extern TMessageText SAnimationFromValue;   // "From Value"
extern TMessageText SAnimationToValue;     // "To Value"
extern TMessageText SAnimationNodeNumber;  // "Node %s"
extern TMessageText SAnimationStepEdit;    // "Animation"
extern TMessageText SAnimationPreviewText; // "Hello World !"
