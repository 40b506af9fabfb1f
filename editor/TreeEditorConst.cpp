#include "editor/TreeEditorConst.h"

TMessageText SEditingCaption("SEditingCaption", "Editing %s");
TMessageText SDendrixCaption("SDendrixCaption", "Dendrix - %s");
TMessageText SDendrixStartCaption("SDendrixStartCaption", "Dendrix 2.0");
TMessageText SUntitledTree("SUntitledTree", "Tree1");
TMessageText SWantToSave("SWantToSave", "Do you want to save %s?");
TMessageText SStatusModified("SStatusModified", "Modified");
TMessageText SStatusCaps("SStatusCaps", "CAPS");
TMessageText SStatusNum("SStatusNum", "NUM");
TMessageText SStatusScroll("SStatusScroll", "SCR");
TMessageText SOpenDiagramFilter("SOpenDiagramFilter", "Arbolix files (*.abx)|*.abx|Text files (*.txt)|*.txt");
TMessageText SSaveDiagramFilter("SSaveDiagramFilter", "Arbolix v2 files (*.abx)|*.abx");
TMessageText SCannotSaveAsType("SCannotSaveAsType", "Cannot save %s: no format writes .%s files.");
TMessageText SRestoreRecovery("SRestoreRecovery", "Restore the unsaved changes of %s from %s?");
TMessageText SCannotRestore("SCannotRestore", "The unsaved changes of %s could not be restored: %s");
