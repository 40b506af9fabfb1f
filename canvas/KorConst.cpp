#include "canvas/KorConst.h"

TMessageText SPrinterCannotPrint("SPrinterCannotPrint", "The printer could not start printing");
