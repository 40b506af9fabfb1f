#pragma once
// Export formats, the picture writers and the export command.

#include "export/DiagramPicture.h"
#include "export/KorBMP.h"
#include "export/KorExportCommand.h"
#include "export/KorExportConst.h"
#include "export/KorPNG.h"
