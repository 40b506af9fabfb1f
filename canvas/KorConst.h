#pragma once
// Message texts of the drawing foundation and the panel base.

#include "core/Messages.h"

extern TMessageText SPrinterCannotPrint; // "The printer could not start printing"
