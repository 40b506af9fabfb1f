#include "export/KorExport.h"
