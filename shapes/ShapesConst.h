#pragma once
// Message texts of the shape galleries: the captions of their palette
// pages.

#include "core/Messages.h"

extern TMessageText SFlowChartPage; // "FlowChart"
extern TMessageText SOtherPage;     // "Other"
extern TMessageText STransitPage;   // "Transit"
extern TMessageText SElectricPage;  // "Electric"
extern TMessageText SUMLPage;       // "UML"
