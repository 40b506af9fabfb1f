#pragma once
// Mouse buttons and the shift state of keyboard and mouse events, as the
// event handlers of diagrams, panels and elements receive them.

#include "core/ClassInfo.h"

DX_ENUM(TMouseButton, mbLeft, mbRight, mbMiddle)
DX_ENUM(TShiftStateFlag, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble)
// A set of TShiftStateFlag (SetBit).
using TShiftState = TSetBits;
