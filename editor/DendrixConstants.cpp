#include "editor/DendrixConstants.h"

TMessageText SDendrixTitle("SDendrixTitle", "Dendrix");
TMessageText SCannotOpen("SCannotOpen", "Cannot open %s: not enough memory");
