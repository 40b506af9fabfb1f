#include "editor/TreePanelsConst.h"

TMessageText SOutlineNameInvalid("SOutlineNameInvalid",
                                 "\"%s\" cannot name a node: a name starts with a letter or \"_\" and holds only "
                                 "letters, digits and \"_\".");
TMessageText SOutlineNameTaken("SOutlineNameTaken", "\"%s\" cannot name a node: another node or connection has that name.");

TMessageText SStepRename("SStepRename", "Rename");
TMessageText SStepMoveNodes("SStepMoveNodes", "Move nodes");
TMessageText SStepFont("SStepFont", "Font");
TMessageText SStepBorder("SStepBorder", "Border");
TMessageText SStepFill("SStepFill", "Fill color");
TMessageText SStepImage("SStepImage", "Image");
TMessageText SStepTransparent("SStepTransparent", "Transparency");
TMessageText SStepSettings("SStepSettings", "Diagram settings");
TMessageText SStepAlign("SStepAlign", "Align");

TMessageText SSmallDots("SSmallDots", "Small Dots");
