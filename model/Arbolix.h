#pragma once
// The diagram model: elements, nodes, connections, the diagram's lists, the
// layout object and file reading.

#include "model/ChildManager.h"
#include "model/ConnectionGeometry.h"
#include "model/CustomTreeShape.h"
#include "model/ExplorerAlignChild.h"
#include "model/ImageShape.h"
#include "model/PolygonShape.h"
#include "model/ShapePalette.h"
#include "model/TreeConnection.h"
#include "model/TreeConst.h"
#include "model/TreeDocument.h"
#include "model/TreeElement.h"
#include "model/TreeFile.h"
#include "model/TreeImageList.h"
#include "model/TreeImagePool.h"
#include "model/TreeLists.h"
#include "model/TreeNodeShape.h"
#include "model/TreeReader.h"
#include "model/TreeShapeParts.h"
#include "model/TreeTypes.h"

// Registers the model's element classes for files and the palette. Calling
// it again does nothing.
void RegisterModelClasses();
