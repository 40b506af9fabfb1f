#include "shapes/TreeFlow.h"
