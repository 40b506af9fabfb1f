#pragma once
// Message texts of the toolbars, the node outline and the property pages.

#include "core/Messages.h"
#include "dialogs/DialogConst.h" // SStepText, SBrowseBackImage, SClearBackImage

// Why the outline refuses a name typed for a node.
extern TMessageText SOutlineNameInvalid; // "\"%s\" cannot name a node: a name starts with a letter or \"_\" and holds only letters, digits and \"_\"."
extern TMessageText SOutlineNameTaken;   // "\"%s\" cannot name a node: another node or connection has that name."

// The descriptions of the steps these parts make.
extern TMessageText SStepRename;     // "Rename"
extern TMessageText SStepMoveNodes;  // "Move nodes"
extern TMessageText SStepFont;       // "Font"
extern TMessageText SStepBorder;     // "Border"
extern TMessageText SStepFill;       // "Fill color"
extern TMessageText SStepImage;      // "Image"
extern TMessageText SStepTransparent;// "Transparency"
extern TMessageText SStepSettings;   // "Diagram settings"
extern TMessageText SStepAlign;      // "Align"

// The border style list's last entry where the platform draws small dots.
extern TMessageText SSmallDots;       // "Small Dots"
