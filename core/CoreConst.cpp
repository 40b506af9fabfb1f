#include "core/CoreConst.h"

TMessageText SDuplicateName("SDuplicateName", "A component named %s already exists");
TMessageText SInvalidName("SInvalidName", "''%s'' is not a valid component name");
TMessageText SAssignError("SAssignError", "Cannot assign a %s to a %s");
TMessageText SUnknownProperty("SUnknownProperty", "Property does not exist");
TMessageText SInvalidPropertyValue("SInvalidPropertyValue", "Invalid property value");
TMessageText SClassNotFound("SClassNotFound", "Class %s not found");
TMessageText SReadError("SReadError", "Stream read error");
TMessageText SWriteError("SWriteError", "Stream write error");
TMessageText SInvalidImage("SInvalidImage", "Invalid stream format");
TMessageText SErrorReading("SErrorReading", "Error reading %s%s%s: %s");
TMessageText SContinue("SContinue", "Continue?");
TMessageText SFOpenError("SFOpenError", "Cannot open file \"%s\". %s");
TMessageText SFCreateError("SFCreateError", "Cannot create file \"%s\". %s");
