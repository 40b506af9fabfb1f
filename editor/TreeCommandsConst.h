#pragma once
// Message texts of the editor's commands, palette, clipboard and import.

#include "core/Messages.h"

// Names of nodes added from the menus ("Root 3", "Child 4").
extern TMessageText SNewRootText;        // "Root"
extern TMessageText SNewChildText;       // "Child"
// Search.
extern TMessageText SSearchTitle;        // "Search Nodes with..."
extern TMessageText SSearchPrompt;       // "Text:"
// Import.
extern TMessageText SImportTitle;        // "Import Tree nodes from text file"
extern TMessageText SImportFilter;       // "Arbolix files (*.abx)|*.abx|Text files (*.txt)|*.txt"
extern TMessageText SImportProgress;     // "Importing %s..."
extern TMessageText SImportCancel;       // "Cancel"
// Connecting two nodes.
extern TMessageText SConnectPrompt;      // "Click two nodes to connect them. Press ESC to cancel."
// The clipboard.
extern TMessageText SPasteNoDiagram;     // "The clipboard holds no diagram that can be pasted: %s"
// Export, mail and print.
extern TMessageText SExportCaption;      // "Export Tree"
extern TMessageText SNativeFilter;       // "Arbolix v2 files (*.abx)|*.abx"
extern TMessageText SMailAttachment;     // "Arbolix"
extern TMessageText SPrintFilter;        // "PDF files (*.pdf)|*.pdf"
extern TMessageText SPrintTitle;         // "Print to file"
// Help.
extern TMessageText SEditorTips;         // the tips text
extern TMessageText SAboutCaption;       // "About %s..."
extern TMessageText SAboutProduct;       // "Arbolix v2.0"
extern TMessageText SAboutBuild;         // "Build"
extern TMessageText SHelpNotFound;       // "Cannot open the help: %s"
