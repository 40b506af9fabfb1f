#pragma once
// Message texts of the editor window and the document's lifecycle.

#include "core/Messages.h"

extern TMessageText SEditingCaption;      // "Editing %s"
extern TMessageText SDendrixCaption;      // "Dendrix - %s"
extern TMessageText SDendrixStartCaption; // "Dendrix 2.0"
// The name of a document that was never saved.
extern TMessageText SUntitledTree;        // "Tree1"
extern TMessageText SWantToSave;          // "Do you want to save %s?"
// Status bar panels.
extern TMessageText SStatusModified;      // "Modified"
extern TMessageText SStatusCaps;          // "CAPS"
extern TMessageText SStatusNum;           // "NUM"
extern TMessageText SStatusScroll;        // "SCR"
// File dialogs.
extern TMessageText SOpenDiagramFilter;   // "Arbolix files (*.abx)|*.abx|Text files (*.txt)|*.txt"
extern TMessageText SSaveDiagramFilter;   // "Arbolix v2 files (*.abx)|*.abx"
// Save As with an extension no format writes.
extern TMessageText SCannotSaveAsType;    // "Cannot save %s: no format writes .%s files."
// The recovery copy of a session that ended without saving.
extern TMessageText SRestoreRecovery;     // "Restore the unsaved changes of %s from %s?"
extern TMessageText SCannotRestore;       // "The unsaved changes of %s could not be restored: %s"
