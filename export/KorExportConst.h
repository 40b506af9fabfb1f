#pragma once
// Message texts of the export formats, the export dialog and the command
// line.

#include "core/Messages.h"

// Writing
extern TMessageText SExportWriteFailed;     // "Cannot write %s: %s"
extern TMessageText SExportPictureTooLarge; // "The picture of %s x %s pixels is too large to write as %s (%s)"
extern TMessageText SExportAtMostWide;      // "at most %s pixels wide"
extern TMessageText SExportAtMostSide;      // "at most %s pixels wide and high"
extern TMessageText SExportAtMost4GB;       // "at most 4 GB of pixels"
extern TMessageText SExportRowsMissing;     // "the picture ended after %s of its %s rows"
extern TMessageText SExportTooManyRows;     // "more rows than the picture's height"
extern TMessageText SExportRowWidth;        // "a row of %s pixels in a picture %s pixels wide"
extern TMessageText SExportOutOfMemory;     // "not enough memory"
extern TMessageText SExportCancelled;       // "The export was cancelled"
extern TMessageText SExportNoPanel;         // "Panel property is not set in Export format"
extern TMessageText SExportNoPNGLibrary;    // "the PNG library (libpng16) is not installed"
extern TMessageText SExportWmfAsBitmap;     // "The drawing of %s x %s pixels ... bitmap of %s x %s pixels."
extern TMessageText SExportSheetTooLarge;   // "The diagram has %s rows and %s columns; ..."

// Formats: captions and save-dialog filters
extern TMessageText SExportAsBitmap;       // "as &Bitmap"
extern TMessageText SExportAsMetafile;     // "as &Metafile"
extern TMessageText SExportAsVML;          // "as &VML (HTM)"
extern TMessageText SExportAsPCX;          // "as PC&X"
extern TMessageText SExportAsGIF;          // "as &GIF"
extern TMessageText SExportAsPNG;          // "as &PNG"
extern TMessageText SExportAsJPEG;         // "as &JPEG"
extern TMessageText SExportAsPDF;          // "as P&DF"
extern TMessageText SExportAsSVG;          // "as &SVG"
extern TMessageText SExportFilterBitmap;   // "Bitmaps (*.bmp)|*.bmp"
extern TMessageText SExportFilterMetafile; // "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf"
extern TMessageText SExportFilterVML;      // "VML files (*.htm)|*.htm"
extern TMessageText SExportFilterPCX;      // "PCX files (*.pcx)|*.pcx"
extern TMessageText SExportFilterGIF;      // "GIF files (*.gif)|*.gif"
extern TMessageText SExportFilterPNG;      // "PNG files (*.png)|*.png"
extern TMessageText SExportFilterJPEG;     // "JPEG files (*.jpg)|*.jpg"
extern TMessageText SExportFilterPDF;      // "PDF documents (*.pdf)|*.pdf"
extern TMessageText SExportFilterSVG;      // "SVG pictures (*.svg)|*.svg"
extern TMessageText SExportFilterData;     // the data formats' filters, in the order of the Data page

// The export dialog and mail
extern TMessageText SExportTreeCaption;    // "Export Tree"
extern TMessageText SExportNativeFilter;   // "Arbolix v2 files (*.abx)|*.abx"
extern TMessageText SExportFileSize;       // "%d bytes"
extern TMessageText SExportNoTempFolder;   // "Can not find Temp folder"
extern TMessageText SExportMailError;      // "Can not email Plovix. Mapi Error: %d"
extern TMessageText SExportNoMailProgram;  // "Cannot send mail: ... xdg-email ..."
extern TMessageText SExportMailStartFailed; // "Cannot start the mail program %s: %s"
extern TMessageText SExportProgress;       // "Exporting... %s%%"
extern TMessageText SExportNothingSaved;   // "Nothing was saved."
extern TMessageText SExportReplaceFile;    // "%s already exists. Do you want to replace it?"

// The command line
extern TMessageText SExportUnknownFormat;   // "Cannot export to %s: the file name must end in %s"
extern TMessageText SExportFormatPicture;   // "%s of the whole diagram"
extern TMessageText SExportFormatText;      // "indented text outline ..."
extern TMessageText SExportFormatXML;       // "XML list of the nodes"
extern TMessageText SExportFormatHTML;      // "HTML table of the nodes"
extern TMessageText SExportFormatXLS;       // "Excel sheet of the nodes"
extern TMessageText SExportFormatABX;       // "Dendrix diagram"
extern TMessageText SInputUnknownKind;      // "Cannot read %s: the file name must end in %s"
extern TMessageText SInputDiagram;          // "Dendrix diagram"
extern TMessageText SInputOutline;          // "text outline: one node per line, children indented by spaces"
extern TMessageText SInputReadFailed;       // "Cannot read %s: %s"
extern TMessageText SInputSkipped;          // "Warning: %s: %s; skipped"
extern TMessageText SCommandExportArguments; // "--export needs two file names: the file to write and the file to read"
extern TMessageText SCommandUnknownOption;  // "Unknown option %s"
extern TMessageText SCommandOptionNotForFormat; // "The option %s does not apply to .%s files"
extern TMessageText SCommandBadValue;       // "\"%s\" is not a value of %s"
extern TMessageText SCommandOptionNeedsValue; // "The option %s needs a value"
extern TMessageText SCommandNotice;         // "Note: %s"
extern TMessageText SCommandSeeHelp;        // "Run \"dendrix --help\" for the usage."
extern TMessageText SCommandHelp;           // usage, %s: the input kinds, the export formats, the options
extern TMessageText SCommandForFormats;     // "(%s)"
extern TMessageText SOptionWidth;           // --width
extern TMessageText SOptionHeight;          // --height
extern TMessageText SOptionColors;          // --colors
extern TMessageText SOptionMonochrome;      // --monochrome
extern TMessageText SOptionQuality;         // --quality
extern TMessageText SOptionGrayscale;       // --grayscale
extern TMessageText SOptionSpeed;           // --speed
extern TMessageText SOptionCompression;     // --compression
extern TMessageText SOptionDither;          // --dither
extern TMessageText SOptionReduction;       // --reduction
extern TMessageText SOptionAnimate;         // --animate
extern TMessageText SExportNoAnimation;
extern TMessageText SExportTooManyFrames;
extern TMessageText SExportAnimateSize;
extern TMessageText SOptionDelimiter;       // --delimiter

// Print preview
extern TMessageText SPreviewPrintToFile; // "Print to a PDF file"
