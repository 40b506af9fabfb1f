#pragma once
// Message texts of the component and property core.

#include "core/Messages.h"

extern TMessageText SDuplicateName;       // "A component named %s already exists"
extern TMessageText SInvalidName;         // "''%s'' is not a valid component name"
extern TMessageText SAssignError;         // "Cannot assign a %s to a %s"
extern TMessageText SUnknownProperty;     // "Property does not exist"
extern TMessageText SInvalidPropertyValue;// "Invalid property value"
extern TMessageText SClassNotFound;       // "Class %s not found"
extern TMessageText SReadError;           // "Stream read error"
extern TMessageText SWriteError;          // "Stream write error"
extern TMessageText SInvalidImage;        // "Invalid stream format"
extern TMessageText SErrorReading;        // "Error reading %s%s%s: %s"
extern TMessageText SContinue;            // "Continue?"
extern TMessageText SFOpenError;          // "Cannot open file \"%s\". %s"
extern TMessageText SFCreateError;        // "Cannot create file \"%s\". %s"
