#pragma once
// The view's message texts.

#include "core/Messages.h"

// Hints of the navigator buttons, in button order.
extern TMessageText SNavFirst;  // "First"
extern TMessageText SNavPrior;  // "Prior"
extern TMessageText SNavNext;   // "Next"
extern TMessageText SNavLast;   // "Last"
extern TMessageText SNavInsert; // "Insert"
extern TMessageText SNavDelete; // "Delete"
extern TMessageText SNavEdit;   // "Edit"
extern TMessageText SNavPost;   // "Post"
extern TMessageText SNavCancel; // "Cancel"
// The file a diagram's pages are printed to when there is no printer.
extern TMessageText SPrintToFileTitle; // "Print to File"
extern TMessageText SPdfFilter;        // "PDF files (*.pdf)"
