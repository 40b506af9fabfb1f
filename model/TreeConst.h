#pragma once
// Message texts of the diagram model.

#include "core/Messages.h"
