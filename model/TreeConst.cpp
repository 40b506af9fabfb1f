#include "model/TreeConst.h"

TMessageText SParentInOtherTree("SParentInOtherTree", "The parent node belongs to another diagram");
TMessageText SInternalErrorReadingTree("SInternalErrorReadingTree", "Internal Error reading Tree.");
TMessageText SPartlyReadFile("SPartlyReadFile",
                             "The diagram was read from \"%s\" only in part. Save it under another name.");
TMessageText SImportReadError("SImportReadError", "Cannot read file \"%s\". %s");
