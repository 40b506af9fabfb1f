#pragma once
// The diagram component as a visible control: paint pipeline, mouse and
// keyboard, grid, pages, rulers, scroll bars, page navigator.

#include "view/CustomTree.h"
#include "view/TreeRuler.h"
