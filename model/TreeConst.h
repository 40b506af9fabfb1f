#pragma once
// Message texts of the diagram model.

#include "core/Messages.h"

extern TMessageText SParentInOtherTree; // "The parent node belongs to another diagram"
extern TMessageText SInternalErrorReadingTree; // "Internal Error reading Tree."
extern TMessageText SPartlyReadFile;           // "The diagram was read from \"%s\" only in part. Save it under another name."
extern TMessageText SImportReadError;   // "Cannot read file \"%s\". %s"
