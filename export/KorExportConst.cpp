#include "export/KorExportConst.h"

TMessageText SExportWriteFailed("SExportWriteFailed", "Cannot write %s: %s");
TMessageText SExportPictureTooLarge("SExportPictureTooLarge",
                                    "The picture of %s x %s pixels is too large to write as %s (%s)");
TMessageText SExportAtMostWide("SExportAtMostWide", "at most %s pixels wide");
TMessageText SExportAtMostSide("SExportAtMostSide", "at most %s pixels wide and high");
TMessageText SExportAtMost4GB("SExportAtMost4GB", "at most 4 GB of pixels");
TMessageText SExportRowsMissing("SExportRowsMissing", "the picture ended after %s of its %s rows");
TMessageText SExportTooManyRows("SExportTooManyRows", "more rows than the picture's height");
TMessageText SExportRowWidth("SExportRowWidth", "a row of %s pixels in a picture %s pixels wide");
TMessageText SExportOutOfMemory("SExportOutOfMemory", "not enough memory");
TMessageText SExportCancelled("SExportCancelled", "The export was cancelled");
TMessageText SExportNoPanel("SExportNoPanel", "Panel property is not set in Export format");
TMessageText SExportNoPNGLibrary("SExportNoPNGLibrary", "the PNG library (libpng16) is not installed");
TMessageText SExportWmfAsBitmap("SExportWmfAsBitmap",
                                "The drawing of %s x %s pixels does not fit in the 16-bit coordinates of a Windows "
                                "metafile: the metafile holds it as a bitmap of %s x %s pixels.");
TMessageText SExportSheetTooLarge("SExportSheetTooLarge",
                                  "The diagram needs %s rows and %s columns; a sheet holds at most %s rows and %s "
                                  "columns");

TMessageText SExportAsBitmap("SExportAsBitmap", "as &Bitmap");
TMessageText SExportAsMetafile("SExportAsMetafile", "as &Metafile");
TMessageText SExportAsVML("SExportAsVML", "as &VML (HTM)");
TMessageText SExportAsPCX("SExportAsPCX", "as PC&X");
TMessageText SExportAsGIF("SExportAsGIF", "as &GIF");
TMessageText SExportAsPNG("SExportAsPNG", "as &PNG");
TMessageText SExportAsJPEG("SExportAsJPEG", "as &JPEG");
TMessageText SExportAsPDF("SExportAsPDF", "as P&DF");
TMessageText SExportAsSVG("SExportAsSVG", "as &SVG");
TMessageText SExportFilterBitmap("SExportFilterBitmap", "Bitmaps (*.bmp)|*.bmp");
TMessageText SExportFilterMetafile("SExportFilterMetafile",
                                   "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf");
TMessageText SExportFilterVML("SExportFilterVML", "VML files (*.htm)|*.htm");
TMessageText SExportFilterPCX("SExportFilterPCX", "PCX files (*.pcx)|*.pcx");
TMessageText SExportFilterGIF("SExportFilterGIF", "GIF files (*.gif)|*.gif");
TMessageText SExportFilterPNG("SExportFilterPNG", "PNG files (*.png)|*.png");
TMessageText SExportFilterJPEG("SExportFilterJPEG", "JPEG files (*.jpg)|*.jpg");
TMessageText SExportFilterPDF("SExportFilterPDF", "PDF documents (*.pdf)|*.pdf");
TMessageText SExportFilterSVG("SExportFilterSVG", "SVG pictures (*.svg)|*.svg");
TMessageText SExportFilterData("SExportFilterData",
                               "Text, indented by spaces (*.txt)|*.txt|Text, indented by tabs (*.txt)|*.txt|"
                               "Text, indented by commas (*.csv)|*.csv|Text, indented by semicolons (*.txt)|*.txt|"
                               "XML files (*.xml)|*.xml|HTML tables (*.html)|*.html|Excel sheets (*.xls)|*.xls");

TMessageText SExportTreeCaption("SExportTreeCaption", "Export Tree");
TMessageText SExportNativeFilter("SExportNativeFilter", "Arbolix v2 files (*.abx)|*.abx");
TMessageText SExportFileSize("SExportFileSize", "%d bytes");
TMessageText SExportNoTempFolder("SExportNoTempFolder", "Can not find Temp folder");
TMessageText SExportMailError("SExportMailError", "Can not email Plovix. Mapi Error: %d");
TMessageText SExportNoMailProgram("SExportNoMailProgram",
                                  "Cannot send mail: the program xdg-email (package xdg-utils) is not installed");
TMessageText SExportMailStartFailed("SExportMailStartFailed", "Cannot start the mail program %s: %s");
TMessageText SExportProgress("SExportProgress", "Exporting... %s%%");
TMessageText SExportNothingSaved("SExportNothingSaved", "Nothing was saved.");
TMessageText SExportReplaceFile("SExportReplaceFile", "%s already exists. Do you want to replace it?");

TMessageText SExportUnknownFormat("SExportUnknownFormat", "Cannot export to %s: the file name must end in %s");
TMessageText SExportFormatPicture("SExportFormatPicture", "%s of the whole diagram");
TMessageText SExportFormatText("SExportFormatText",
                               "text outline, one node per line, children indented by one space (read back as "
                               "a diagram)");
TMessageText SExportFormatXML("SExportFormatXML", "XML list of the nodes");
TMessageText SExportFormatHTML("SExportFormatHTML", "HTML table of the nodes");
TMessageText SExportFormatXLS("SExportFormatXLS", "Excel sheet of the nodes");
TMessageText SExportFormatABX("SExportFormatABX", "Dendrix diagram");
TMessageText SInputUnknownKind("SInputUnknownKind", "Cannot read %s: the file name must end in %s");
TMessageText SInputDiagram("SInputDiagram", "Dendrix diagram");
TMessageText SInputOutline("SInputOutline", "text outline: one node per line, children indented by spaces");
TMessageText SInputReadFailed("SInputReadFailed", "Cannot read %s: %s");
TMessageText SInputSkipped("SInputSkipped", "Warning: %s: %s; skipped");
TMessageText SCommandExportArguments("SCommandExportArguments",
                                     "--export needs two file names: the file to write and the file to read");
TMessageText SCommandUnknownOption("SCommandUnknownOption", "Unknown option %s");
TMessageText SCommandOptionNotForFormat("SCommandOptionNotForFormat", "The option %s does not apply to .%s files");
TMessageText SCommandBadValue("SCommandBadValue", "\"%s\" is not a value of %s");
TMessageText SCommandOptionNeedsValue("SCommandOptionNeedsValue", "The option %s needs a value");
TMessageText SCommandNotice("SCommandNotice", "Note: %s");
TMessageText SCommandSeeHelp("SCommandSeeHelp", "Run \"dendrix --help\" for the usage.");
TMessageText SCommandHelp("SCommandHelp",
                          "Usage:\n"
                          "  dendrix [FILE]                      open FILE in a window\n"
                          "  dendrix --export OUT IN [OPTION...]  read IN and write OUT, without any window or "
                          "display\n"
                          "  dendrix --help                      show this text\n"
                          "\n"
                          "Files that can be read (FILE and IN):\n"
                          "%s"
                          "\n"
                          "Files that --export writes, chosen by the extension of OUT:\n"
                          "%s"
                          "\n"
                          "Options of --export (as --name VALUE or --name=VALUE):\n"
                          "%s"
                          "\n"
                          "Pictures show the whole diagram at its own zoom unless --width or --height scale it.\n"
                          "Exit status: 0 when done, 1 when a file cannot be read or written, 2 for wrong "
                          "arguments.\n");
TMessageText SCommandForFormats("SCommandForFormats", "(%s)");
TMessageText SOptionWidth("SOptionWidth",
                          "width of the picture in pixels: the diagram is scaled to it, keeping its proportions");
TMessageText SOptionHeight("SOptionHeight",
                           "height of the picture in pixels; with --width too, the diagram is scaled to fit and "
                           "centred");
TMessageText SOptionColors("SOptionColors", "colours of the bitmap, given by their number (default: 16M, 24 bits)");
TMessageText SOptionMonochrome("SOptionMonochrome", "black and white (1 bit per pixel)");
TMessageText SOptionQuality("SOptionQuality", "quality in percent (default 95)");
TMessageText SOptionGrayscale("SOptionGrayscale", "shades of gray only");
TMessageText SOptionSpeed("SOptionSpeed", "favour speed over quality");
TMessageText SOptionCompression("SOptionCompression", "compression level, 0 (none) to 9 (smallest, default)");
TMessageText SOptionDither("SOptionDither", "how colours outside the palette are mixed (default nearest)");
TMessageText SOptionReduction("SOptionReduction", "the palette (default none: the picture's own colours)");
TMessageText SOptionAnimate("SOptionAnimate", "writes the diagram's animation, one picture per frame");
TMessageText SExportNoAnimation("SExportNoAnimation", "The diagram has no animation to write");
TMessageText SExportTooManyFrames("SExportTooManyFrames",
                                  "The animation has %s frames; an animated picture holds at most %s");
TMessageText SExportAnimateSize("SExportAnimateSize",
                                "An animation is written at the diagram's own size: --width and --height do not "
                                "go with --animate");
TMessageText SOptionDelimiter("SOptionDelimiter",
                              "indentation of a table-like text: space, tab, comma, colon (a semicolon) or one "
                              "character; without it, the outline");

TMessageText SPreviewPrintToFile("SPreviewPrintToFile", "Print to a PDF file");
