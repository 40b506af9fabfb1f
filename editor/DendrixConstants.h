#pragma once
// Message texts of the editor application.

#include "core/Messages.h"

extern TMessageText SDendrixTitle;     // "Dendrix"
extern TMessageText SCannotOpen;       // "Cannot open %s: not enough memory"
// The shell's verb for diagram files.
extern TMessageText SOpenWithDendrix;  // "Open with &Dendrix"
// After choosing another language.
extern TMessageText SRestartDendrix;   // "Please close and restart Dendrix."
// The desktop's names for the file type and the program.
extern TMessageText SDendrixFileType;  // "Arbolix file"
extern TMessageText SDendrixComment;   // "Diagram editor: trees, organisation charts and flow charts"

// The Edit menu's first items: the verb, then the step's description.
extern TMessageText SUndoCaption;      // "Undo"
extern TMessageText SRedoCaption;      // "Redo"
// Descriptions of steps made by a single change outside any named action.
extern TMessageText SUndoAdd;          // "Add"
extern TMessageText SUndoDelete;       // "Delete"
extern TMessageText SUndoMove;         // "Move"
extern TMessageText SUndoResize;       // "Resize"
extern TMessageText SUndoChange;       // "Change"
extern TMessageText SUndoText;         // "Text"
extern TMessageText SUndoParent;       // "Change Parent"
extern TMessageText SUndoOrder;        // "Order"
extern TMessageText SUndoExpand;       // "Expand or Collapse"
extern TMessageText SUndoPoints;       // "Edit Points"
