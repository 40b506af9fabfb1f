#include "view/ViewConst.h"

TMessageText SNavFirst("SNavFirst", "First");
TMessageText SNavPrior("SNavPrior", "Prior");
TMessageText SNavNext("SNavNext", "Next");
TMessageText SNavLast("SNavLast", "Last");
TMessageText SNavInsert("SNavInsert", "Insert");
TMessageText SNavDelete("SNavDelete", "Delete");
TMessageText SNavEdit("SNavEdit", "Edit");
TMessageText SNavPost("SNavPost", "Post");
TMessageText SNavCancel("SNavCancel", "Cancel");
TMessageText SPrintToFileTitle("SPrintToFileTitle", "Print to File");
TMessageText SPdfFilter("SPdfFilter", "PDF files (*.pdf)|*.pdf");
