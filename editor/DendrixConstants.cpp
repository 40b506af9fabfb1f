#include "editor/DendrixConstants.h"

TMessageText SDendrixTitle("SDendrixTitle", "Dendrix");
TMessageText SCannotOpen("SCannotOpen", "Cannot open %s: not enough memory");
TMessageText SOpenWithDendrix("SOpenWithDendrix", "Open with &Dendrix");
TMessageText SRestartDendrix("SRestartDendrix", "Please close and restart Dendrix.");
TMessageText SDendrixFileType("SDendrixFileType", "Arbolix file");
TMessageText SDendrixComment("SDendrixComment", "Diagram editor: trees, organisation charts and flow charts");
