#include "animation/AnimateConst.h"

TMessageText SAnimationNode("SAnimationNode", "Node");
TMessageText SAnimationEnabled("SAnimationEnabled", "Enabled");
TMessageText SAnimationStart("SAnimationStart", "Start");
TMessageText SAnimationDuration("SAnimationDuration", "Duration");
TMessageText SAnimationLoop("SAnimationLoop", "Loop");
TMessageText SAnimationStartColor("SAnimationStartColor", "Start Color");
TMessageText SAnimationEndColor("SAnimationEndColor", "End Color");
TMessageText SAnimationFromValue("SAnimationFromValue", "From Value");
TMessageText SAnimationToValue("SAnimationToValue", "To Value");
TMessageText SAnimationNodeNumber("SAnimationNodeNumber", "Node %s");
TMessageText SAnimationStepEdit("SAnimationStepEdit", "Animation");
TMessageText SAnimationPreviewText("SAnimationPreviewText", "Hello World !");
