#include "export/KorExportConst.h"

TMessageText SExportWriteFailed("SExportWriteFailed", "Cannot write %s: %s");
TMessageText SExportPictureTooLarge("SExportPictureTooLarge",
                                    "The picture of %s x %s pixels is too large to write as %s (%s)");
TMessageText SExportAtMostWide("SExportAtMostWide", "at most %s pixels wide");
TMessageText SExportAtMost4GB("SExportAtMost4GB", "at most 4 GB of pixels");
TMessageText SExportRowsMissing("SExportRowsMissing", "the picture ended after %s of its %s rows");
TMessageText SExportTooManyRows("SExportTooManyRows", "more rows than the picture's height");
TMessageText SExportRowWidth("SExportRowWidth", "a row of %s pixels in a picture %s pixels wide");
TMessageText SExportOutOfMemory("SExportOutOfMemory", "not enough memory");
TMessageText SExportUnknownFormat("SExportUnknownFormat", "Cannot export to %s: the file name must end in %s");
TMessageText SExportFormatPNG("SExportFormatPNG", "PNG picture of the whole diagram");
TMessageText SExportFormatBMP("SExportFormatBMP", "Windows bitmap of the whole diagram");
TMessageText SExportFormatABX("SExportFormatABX", "Dendrix diagram");
TMessageText SInputUnknownKind("SInputUnknownKind", "Cannot read %s: the file name must end in %s");
TMessageText SInputDiagram("SInputDiagram", "Dendrix diagram");
TMessageText SInputOutline("SInputOutline", "text outline: one node per line, children indented by spaces");
TMessageText SInputReadFailed("SInputReadFailed", "Cannot read %s: %s");
TMessageText SInputSkipped("SInputSkipped", "Warning: %s: %s; skipped");
TMessageText SCommandExportArguments("SCommandExportArguments",
                                     "--export needs two file names: the file to write and the file to read");
TMessageText SCommandUnknownOption("SCommandUnknownOption", "Unknown option %s");
TMessageText SCommandSeeHelp("SCommandSeeHelp", "Run \"dendrix --help\" for the usage.");
TMessageText SCommandHelp("SCommandHelp",
                          "Usage:\n"
                          "  dendrix [FILE]            open FILE in a window\n"
                          "  dendrix --export OUT IN   read IN and write OUT, without any window or display\n"
                          "  dendrix --help            show this text\n"
                          "\n"
                          "Files that can be read (FILE and IN):\n"
                          "%s"
                          "\n"
                          "Files that --export writes, chosen by the extension of OUT:\n"
                          "%s"
                          "\n"
                          "Pictures show the whole diagram at its own zoom.\n"
                          "Exit status: 0 when done, 1 when a file cannot be read or written, 2 for wrong "
                          "arguments.\n");
