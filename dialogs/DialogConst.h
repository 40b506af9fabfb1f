#pragma once
// Message texts of the property editors: every text these dialogs make at
// run time (captions that depend on the state, list entries drawn by the
// code, the inspector's cells). Texts of controls designed in English are
// set on the controls and translated with the form.

#include "core/Messages.h"

// Images.
extern TMessageText SBrowseBackImage;  // "&Browse Back Image..."
extern TMessageText SClearBackImage;   // "C&lear Back Image"
extern TMessageText SBrushBrowse;      // "B&rowse..."
extern TMessageText SBrushClear;       // "Clea&r"
extern TMessageText SOpenPictureTitle; // "Open Picture"
extern TMessageText SPictureFilter;    // "All pictures (%s)|%s"
extern TMessageText SCannotLoadPicture; // "Cannot load the picture \"%s\"."

// Captions.
extern TMessageText SEditingNode;       // "Editing node: "
extern TMessageText SEditingConnection; // "Editing %s"
extern TMessageText SConnectionPoint;   // "Point"

// The inspector.
extern TMessageText SInspectorProperty; // "Property"
extern TMessageText SInspectorValue;    // "Value"
extern TMessageText SInspectorYes;      // "Yes"
extern TMessageText SInspectorNo;       // "No"
extern TMessageText SInspectorNone;     // "(none)"
extern TMessageText SInspectorImage;    // "(image)"
extern TMessageText SNotANumber;        // "\"%s\" is not a whole number; the value stays %s."

// The steps the dialogs' changes form.
extern TMessageText SStepFormat;     // "Format"
extern TMessageText SStepText;       // "Text"
extern TMessageText SStepPosition;   // "Position"
extern TMessageText SStepConnection; // "Connection"
