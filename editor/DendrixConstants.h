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
