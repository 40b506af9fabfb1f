#pragma once
// Message texts of the editor application.

#include "core/Messages.h"

extern TMessageText SDendrixTitle; // "Dendrix"
extern TMessageText SCannotOpen;   // "Cannot open %s: not enough memory"
