#pragma once
// Every gallery of node shapes, registered in palette order.

// The model's own classes with the "Standard" page, then the flow-chart
// gallery ("FlowChart", "Other"), the transit, electric and UML galleries.
// The program calls it once at start; calling it again changes nothing.
void RegisterShapeGalleries();
