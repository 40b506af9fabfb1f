#include "editor/DendrixConstants.h"

TMessageText SDendrixTitle("SDendrixTitle", "Dendrix");
TMessageText SCannotOpen("SCannotOpen", "Cannot open %s: not enough memory");
TMessageText SOpenWithDendrix("SOpenWithDendrix", "Open with &Dendrix");
TMessageText SRestartDendrix("SRestartDendrix", "Please close and restart Dendrix.");
TMessageText SDendrixFileType("SDendrixFileType", "Arbolix file");
TMessageText SDendrixComment("SDendrixComment", "Diagram editor: trees, organisation charts and flow charts");
TMessageText SUndoCaption("SUndoCaption", "Undo");
TMessageText SRedoCaption("SRedoCaption", "Redo");
TMessageText SUndoAdd("SUndoAdd", "Add");
TMessageText SUndoDelete("SUndoDelete", "Delete");
TMessageText SUndoMove("SUndoMove", "Move");
TMessageText SUndoResize("SUndoResize", "Resize");
TMessageText SUndoChange("SUndoChange", "Change");
TMessageText SUndoText("SUndoText", "Text");
TMessageText SUndoParent("SUndoParent", "Change Parent");
TMessageText SUndoOrder("SUndoOrder", "Order");
TMessageText SUndoExpand("SUndoExpand", "Expand or Collapse");
TMessageText SUndoPoints("SUndoPoints", "Edit Points");
