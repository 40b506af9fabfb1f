#include "shapes/ShapeGalleries.h"

#include "model/Arbolix.h"
#include "shapes/TreeElectric.h"
#include "shapes/TreeFlow.h"
#include "shapes/TreeTransit.h"
#include "shapes/TreeUML.h"

void RegisterShapeGalleries()
{
    RegisterModelClasses();
    RegisterFlowShapes();
    RegisterTransitShapes();
    RegisterElectricShapes();
    RegisterUMLShapes();
}
