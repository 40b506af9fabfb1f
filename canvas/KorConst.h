#pragma once
// Message texts of the drawing foundation and the panel base.

#include "core/Messages.h"

extern TMessageText SPrinterCannotPrint; // "The printer could not start printing"
extern TMessageText SPrinterNotInstalled; // "There is no printer installed"
extern TMessageText SPrinterNoPageSize;   // "The printer does not tell the size of its page"
extern TMessageText SPrinterPdfFile;      // "PDF file"
