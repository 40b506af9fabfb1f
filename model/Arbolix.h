#pragma once
// The diagram model: elements, nodes, connections, the diagram's lists, the
// layout object and file reading.

#include "model/TreeConst.h"

// Registers the model's element classes for files and the palette.
void RegisterModelClasses();
