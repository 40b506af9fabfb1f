#include "editor/TreeCommandsConst.h"

TMessageText SNewRootText("SNewRootText", "Root");
TMessageText SNewChildText("SNewChildText", "Child");
TMessageText SSearchTitle("SSearchTitle", "Search Nodes with...");
TMessageText SSearchPrompt("SSearchPrompt", "Text:");
TMessageText SImportTitle("SImportTitle", "Import Tree nodes from text file");
TMessageText SImportFilter("SImportFilter", "Arbolix files (*.abx)|*.abx|Text files (*.txt)|*.txt");
TMessageText SImportProgress("SImportProgress", "Importing %s...");
TMessageText SImportCancel("SImportCancel", "Cancel");
TMessageText SConnectPrompt("SConnectPrompt", "Click two nodes to connect them. Press ESC to cancel.");
TMessageText SPasteNoDiagram("SPasteNoDiagram", "The clipboard holds no diagram that can be pasted: %s");
TMessageText SExportCaption("SExportCaption", "Export Tree");
TMessageText SNativeFilter("SNativeFilter", "Arbolix v2 files (*.abx)|*.abx");
TMessageText SMailAttachment("SMailAttachment", "Arbolix");
TMessageText SPrintFilter("SPrintFilter", "PDF files (*.pdf)|*.pdf");
TMessageText SPrintTitle("SPrintTitle", "Print to file");
TMessageText SEditorTips("SEditorTips",
                         "Arbolix Editor Tips:\n"
                         "\n"
                         "RIGHT click a shape or connection to show the POPUP MENU\n"
                         "DOUBLE click a shape with LEFT mouse button to EDIT it\n"
                         "\n"
                         "Shape selection:\n"
                         "CLICK a shape to SELECT it\n"
                         " Press SHIFT key and click a shape to MULTISELECT shapes\n"
                         " Press CTRL key and click a shape to multiselect CHILDS too\n"
                         "\n"
                         "RIGHT click the panel and DRAG the mouse to SCROLL\n"
                         "With LEFT mouse, select a RECTANGLE to multi-select shapes\n"
                         "\n"
                         "Use keyboard arrows and CTRL and SHIFT to move / resize shapes\n"
                         "Press DELETE key to DELETE selected shapes\n"
                         "\n"
                         "Click a Connection to SELECT it");
TMessageText SAboutCaption("SAboutCaption", "About %s...");
TMessageText SAboutProduct("SAboutProduct", "Arbolix v2.0");
TMessageText SAboutBuild("SAboutBuild", "Build");
TMessageText SHelpNotFound("SHelpNotFound", "Cannot open the help: %s");
