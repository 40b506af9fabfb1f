#pragma once
// The editor window, its commands and undo.

#include "editor/TreeEditor.h"
