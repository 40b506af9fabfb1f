#pragma once
// How a frame is bevelled: the panels' bevels and the bevelled node.

#include "core/ClassInfo.h"

DX_ENUM(TPanelBevel, bvNone, bvLowered, bvRaised, bvSpace)
