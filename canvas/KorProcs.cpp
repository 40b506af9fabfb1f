#include "canvas/KorProcs.h"
