#pragma once
// Message texts of the export formats and the command line.

#include "core/Messages.h"

extern TMessageText SExportWriteFailed;     // "Cannot write %s: %s"
extern TMessageText SExportPictureTooLarge; // "The picture of %s x %s pixels is too large to write as %s (%s)"
extern TMessageText SExportAtMostWide;      // "at most %s pixels wide"
extern TMessageText SExportAtMost4GB;       // "at most 4 GB of pixels"
extern TMessageText SExportRowsMissing;     // "the picture ended after %s of its %s rows"
extern TMessageText SExportTooManyRows;     // "more rows than the picture's height"
extern TMessageText SExportRowWidth;        // "a row of %s pixels in a picture %s pixels wide"
extern TMessageText SExportOutOfMemory;     // "not enough memory"
extern TMessageText SExportUnknownFormat;   // "Cannot export to %s: the file name must end in %s"
extern TMessageText SExportFormatPNG;       // "PNG picture of the whole diagram"
extern TMessageText SExportFormatBMP;       // "Windows bitmap of the whole diagram"
extern TMessageText SExportFormatABX;       // "Dendrix diagram"
extern TMessageText SInputUnknownKind;      // "Cannot read %s: the file name must end in %s"
extern TMessageText SInputDiagram;          // "Dendrix diagram"
extern TMessageText SInputOutline;          // "text outline: one node per line, children indented by spaces"
extern TMessageText SInputReadFailed;       // "Cannot read %s: %s"
extern TMessageText SInputSkipped;          // "Warning: %s: %s; skipped"
extern TMessageText SCommandExportArguments; // "--export needs two file names: the file to write and the file to read"
extern TMessageText SCommandUnknownOption;  // "Unknown option %s"
extern TMessageText SCommandSeeHelp;        // "Run \"dendrix --help\" for the usage."
extern TMessageText SCommandHelp;           // usage, %s: the input kinds, %s: the export formats
