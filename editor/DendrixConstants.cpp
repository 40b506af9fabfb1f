#include "editor/DendrixConstants.h"

TMessageText SDendrixTitle("SDendrixTitle", "Dendrix");
