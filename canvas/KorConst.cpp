#include "canvas/KorConst.h"

TMessageText SPrinterCannotPrint("SPrinterCannotPrint", "The printer could not start printing");
TMessageText SPrinterNotInstalled("SPrinterNotInstalled", "There is no printer installed");
TMessageText SPrinterNoPageSize("SPrinterNoPageSize", "The printer does not tell the size of its page");
TMessageText SPrinterPdfFile("SPrinterPdfFile", "PDF file");
