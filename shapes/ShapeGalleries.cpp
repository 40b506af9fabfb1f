#include "shapes/ShapeGalleries.h"

#include "model/Arbolix.h"
#include "shapes/TreeFlow.h"

void RegisterShapeGalleries()
{
    RegisterModelClasses();
    RegisterFlowShapes();
}
