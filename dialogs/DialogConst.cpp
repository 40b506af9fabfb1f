#include "dialogs/DialogConst.h"

TMessageText SBrowseBackImage("SBrowseBackImage", "&Browse Back Image...");
TMessageText SClearBackImage("SClearBackImage", "C&lear Back Image");
TMessageText SBrushBrowse("SBrushBrowse", "B&rowse...");
TMessageText SBrushClear("SBrushClear", "Clea&r");
TMessageText SOpenPictureTitle("SOpenPictureTitle", "Open Picture");
TMessageText SPictureFilter("SPictureFilter", "All pictures (%s)|%s");
TMessageText SCannotLoadPicture("SCannotLoadPicture", "Cannot load the picture \"%s\".");

TMessageText SEditingNode("SEditingNode", "Editing node: ");
TMessageText SEditingConnection("SEditingConnection", "Editing %s");
TMessageText SConnectionPoint("SConnectionPoint", "Point");

TMessageText SInspectorProperty("SInspectorProperty", "Property");
TMessageText SInspectorValue("SInspectorValue", "Value");
TMessageText SInspectorYes("SInspectorYes", "Yes");
TMessageText SInspectorNo("SInspectorNo", "No");
TMessageText SInspectorNone("SInspectorNone", "(none)");
TMessageText SInspectorImage("SInspectorImage", "(image)");
TMessageText SNotANumber("SNotANumber", "\"%s\" is not a whole number; the value stays %s.");

TMessageText SStepFormat("SStepFormat", "Format");
TMessageText SStepText("SStepText", "Text");
TMessageText SStepPosition("SStepPosition", "Position");
TMessageText SStepConnection("SStepConnection", "Connection");
