#pragma once
// The flow-chart gallery: the classic flow-chart symbols (palette page
// "FlowChart") and general figures (page "Other").

#include "shapes/FigureShapes.h"
#include "shapes/FlowChartShapes.h"
#include "shapes/GridShape.h"

// Registers the two pages' classes with the shape palette, in palette
// order, and for files the intermediate classes, the grid's cells and the
// older class names files may hold. Registering again changes nothing.
void RegisterFlowShapes();
