#include "shapes/ShapesConst.h"

TMessageText SFlowChartPage("SFlowChartPage", "FlowChart");
TMessageText SOtherPage("SOtherPage", "Other");
TMessageText STransitPage("STransitPage", "Transit");
TMessageText SElectricPage("SElectricPage", "Electric");
TMessageText SUMLPage("SUMLPage", "UML");
