#include "model/TreeConst.h"

TMessageText SParentInOtherTree("SParentInOtherTree", "The parent node belongs to another diagram");
TMessageText SImportReadError("SImportReadError", "Cannot read file \"%s\". %s");
