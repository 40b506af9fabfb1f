#pragma once
// Message texts of the diagram model.

#include "core/Messages.h"

extern TMessageText SParentInOtherTree; // "The parent node belongs to another diagram"
extern TMessageText SImportReadError;   // "Cannot read file \"%s\". %s"
